#include "Automaton.h"

#include <deque>

namespace gen {
namespace lex {

int Automaton::walk(const std::vector<int>& keys) const {
    int s = 0;
    for (int k : keys) {
        auto it = states[s].rows.find(k);
        if (it == states[s].rows.end() || it->second.action != act_shift)
            return -1;
        s = it->second.value;
    }
    return s;
}

Automaton Automaton::renumbered(const std::vector<int>& number) const {
    Automaton out;
    out.states.resize(states.size());
    for (std::size_t s = 0; s < states.size(); ++s) {
        AutoState st = states[s];
        for (auto& r : st.rows)
            if (r.second.action == act_shift)
                r.second.value = number[r.second.value];
        out.states[number[s]] = std::move(st);
    }
    return out;
}

std::vector<std::vector<int>> Automaton::shortest_paths() const {
    std::vector<std::vector<int>> path(states.size());
    std::vector<bool> seen(states.size(), false);
    std::deque<int> queue{0};
    seen[0] = true;
    while (!queue.empty()) {
        int s = queue.front();
        queue.pop_front();
        for (const auto& r : states[s].rows) {
            if (r.second.action != act_shift || seen[r.second.value])
                continue;
            seen[r.second.value] = true;
            path[r.second.value] = path[s];
            path[r.second.value].push_back(r.first);
            queue.push_back(r.second.value);
        }
    }
    return path;
}

} // namespace lex
} // namespace gen
