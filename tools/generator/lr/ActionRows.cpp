#include "ActionRows.h"

#include <map>

namespace gen {
namespace lr {

namespace {
// The finish row's next state: the runtime never reads it.
const int finish_target = -1000;
} // namespace

std::vector<ActionRow> action_rows(const Grammar& g, const Resolution& r,
                                   const std::vector<std::set<int>>& reduce,
                                   const std::vector<int>& defaults) {
    std::vector<ActionRow> rows;
    for (std::size_t s = 0; s < r.shifts.size(); ++s) {
        int state = static_cast<int>(s);
        std::map<int, ActionRow> by_terminal;
        auto put = [&](int t, int action, int next) {
            if (!by_terminal.emplace(t, ActionRow{state, t, action, next}).second)
                throw GrammarFault(g.path + ": state " + std::to_string(s) +
                                   " has two actions on '" + g.label(t) + "'");
        };
        for (const auto& shift : r.shifts[s])
            put(shift.first, 1, shift.second);
        if (r.accepts[s])
            put(end_mark, 3, finish_target);
        for (int p : r.completes[s])
            if (defaults[s] != p)
                for (int t : reduce[p])
                    put(t, 2, p);
        for (const auto& row : by_terminal)
            rows.push_back(row.second);
    }
    return rows;
}

std::vector<GotoRow> goto_rows(const Grammar& g, const Automaton& a) {
    std::vector<GotoRow> rows;
    for (std::size_t s = 0; s < a.states.size(); ++s)
        for (const auto& t : a.states[s].transitions)
            if (!g.is_terminal(t.first))
                rows.push_back(GotoRow{static_cast<int>(s), t.first, t.second});
    return rows;
}

} // namespace lr
} // namespace gen
