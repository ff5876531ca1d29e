#include "Automaton.h"

#include <set>

namespace gen {
namespace lr {

namespace {

void move_over(const Grammar& g, const ItemSet& items, int symbol, std::set<int>& units_done,
               std::set<Item>& out) {
    for (const Item& item : items) {
        const Position* next = next_position(g, item);
        if (!next)
            continue;
        bool accepts = false;
        for (int member : *next)
            accepts = accepts || member == symbol;
        if (!accepts)
            continue;
        const Production& p = g.productions[item.prod];
        if (p.unit()) {
            // Completed by this move: what its left side would reach stands in.
            if (units_done.insert(p.left).second)
                move_over(g, items, p.left, units_done, out);
            continue;
        }
        out.insert(make_item(g, item.prod, item.side, item.pos + 1));
    }
}

} // namespace

ItemSet transition(const Grammar& g, const ItemSet& items, int symbol) {
    std::set<int> units_done;
    std::set<Item> out;
    move_over(g, items, symbol, units_done, out);
    return ItemSet(out.begin(), out.end());
}

Automaton number_states(const Grammar& g) {
    Automaton a;
    std::map<ItemSet, int> known;
    State start;
    start.kernel = {make_item(g, g.start_production(), 0, 0)};
    known[start.kernel] = 0;
    a.states.push_back(start);
    for (std::size_t s = 0; s < a.states.size(); ++s) {
        a.states[s].items = closure(g, a.states[s].kernel);
        // Only terminals and left sides of rows move the automaton: a
        // nonterminal with unit alternatives alone never reaches the stack.
        std::set<int> symbols;
        for (const Item& item : a.states[s].items)
            if (const Position* next = next_position(g, item))
                for (int x : *next)
                    if (g.is_terminal(x) || g.row_nonterminals.count(x))
                        symbols.insert(x);
        for (int x : symbols) {
            ItemSet target = transition(g, a.states[s].items, x);
            if (target.empty())
                continue;
            auto found = known.find(target);
            int number;
            if (found == known.end()) {
                number = static_cast<int>(a.states.size());
                known[target] = number;
                State fresh;
                fresh.kernel = target;
                a.states.push_back(fresh);
            } else {
                number = found->second;
            }
            a.states[s].transitions[x] = number;
        }
    }
    return a;
}

} // namespace lr
} // namespace gen
