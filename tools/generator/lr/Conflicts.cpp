#include "Conflicts.h"

namespace gen {
namespace lr {

Resolution resolve_conflicts(const Grammar& g, const Automaton& a, const Lookahead& la) {
    Resolution r;
    std::size_t n = a.states.size();
    r.shifts.resize(n);
    r.dropped.resize(n);
    r.completes.resize(n);
    r.accepts.assign(n, false);
    r.lost.resize(g.rows);
    int start = g.start_production();
    for (std::size_t s = 0; s < n; ++s) {
        const State& st = a.states[s];
        for (const auto& t : st.transitions)
            if (g.is_terminal(t.first))
                r.shifts[s][t.first] = t.second;
        for (const Item& item : st.items) {
            if (!completed(g, item) || g.productions[item.prod].unit())
                continue;
            if (item.prod == start)
                r.accepts[s] = true;
            else
                r.completes[s].push_back(item.prod);
        }
        const std::vector<int>& done = r.completes[s];
        for (std::size_t i = 0; i < done.size(); ++i)
            for (std::size_t k = i + 1; k < done.size(); ++k)
                for (int t : la.of_row[done[i]])
                    if (la.of_row[done[k]].count(t))
                        g.fault(g.productions[done[k]].line,
                                "state " + std::to_string(s) + " reduces rows " +
                                    std::to_string(done[i]) + " and " + std::to_string(done[k]) +
                                    " on '" + g.label(t) + "'");
        for (int p : done) {
            const Production& prod = g.productions[p];
            for (int t : la.of_row[p]) {
                auto shift = r.shifts[s].find(t);
                if (shift == r.shifts[s].end())
                    continue;
                auto tl = g.token_levels.find(t);
                if (!prod.level || tl == g.token_levels.end()) {
                    r.lost[p].insert(t);
                    continue;
                }
                int token_level = tl->second.first;
                bool reduce = prod.level > token_level ||
                              (prod.level == token_level && prod.assoc == Assoc::left);
                bool neither = prod.level == token_level && prod.assoc == Assoc::nonassoc;
                if (reduce || neither) {
                    r.dropped[s].insert(t);
                    r.shifts[s].erase(shift);
                }
                if (!reduce)
                    r.lost[p].insert(t);
            }
        }
    }
    return r;
}

std::vector<std::set<int>> reduce_sets(const Grammar& g, const Lookahead& la, const Resolution& r) {
    std::vector<std::set<int>> sets(g.rows);
    for (int p = 0; p < g.rows; ++p)
        for (int t : la.of_row[p])
            if (!r.lost[p].count(t))
                sets[p].insert(t);
    return sets;
}

} // namespace lr
} // namespace gen
