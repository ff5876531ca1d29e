#include "Lookahead.h"

namespace gen {
namespace lr {

namespace {

bool add_all(std::set<int>& to, const std::set<int>& from) {
    std::size_t before = to.size();
    to.insert(from.begin(), from.end());
    return to.size() != before;
}

struct Sets {
    const Grammar& g;
    Lookahead& la;

    bool nullable(int symbol) const { return la.nullable.count(symbol) != 0; }

    bool nullable(const Position& pos) const {
        for (int x : pos)
            if (nullable(x))
                return true;
        return false;
    }

    void first_of(int symbol, std::set<int>& out) const {
        if (g.is_terminal(symbol)) {
            out.insert(symbol);
            return;
        }
        auto it = la.first.find(symbol);
        if (it != la.first.end())
            out.insert(it->second.begin(), it->second.end());
    }

    // FIRST of side[from..]; true when all of it is nullable.
    bool first_of(const RightSide& side, std::size_t from, std::set<int>& out) const {
        for (std::size_t i = from; i < side.size(); ++i) {
            for (int x : side[i])
                first_of(x, out);
            if (!nullable(side[i]))
                return false;
        }
        return true;
    }
};

} // namespace

Lookahead lookahead_sets(const Grammar& g) {
    Lookahead la;
    Sets sets{g, la};
    for (bool changed = true; changed;) {
        changed = false;
        for (const Production& p : g.productions)
            for (const RightSide& side : p.sides) {
                std::set<int> f;
                bool all = sets.first_of(side, 0, f);
                changed = add_all(la.first[p.left], f) || changed;
                if (all && la.nullable.insert(p.left).second)
                    changed = true;
            }
    }
    la.follow[g.settings.start].insert(end_mark);
    for (bool changed = true; changed;) {
        changed = false;
        for (const Production& p : g.productions) {
            const std::set<int>& after_left = p.restricted ? p.only_before : la.follow[p.left];
            for (const RightSide& side : p.sides)
                for (std::size_t i = 0; i < side.size(); ++i) {
                    std::set<int> f;
                    bool rest_nullable = sets.first_of(side, i + 1, f);
                    if (rest_nullable)
                        f.insert(after_left.begin(), after_left.end());
                    for (int x : side[i])
                        if (g.nonterminals.count(x))
                            changed = add_all(la.follow[x], f) || changed;
                }
        }
    }
    for (int r = 0; r < g.rows; ++r) {
        const Production& p = g.productions[r];
        la.of_row.push_back(p.restricted ? p.only_before : la.follow[p.left]);
    }
    return la;
}

} // namespace lr
} // namespace gen
