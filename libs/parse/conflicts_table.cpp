#include "conflicts_table.h"

#include "owned_array.h"
#include "state_runs.h"
#include "table_fault.h"

conflicts_table::conflicts_table(int size_, int states_)
    : table(nullptr), index(nullptr), size(size_ < 1 ? 0 : size_),
      states(states_ < 1 ? 0 : states_), last_state(-1), next_offset(0), mapped_state(-1) {
    state_runs::allocate(table, index, size, states);
}

conflicts_table::~conflicts_table() {
    drop_array(table, size);
    drop_array(index, states);
    states_map.clear();
}

void conflicts_table::append(int state, int terminal, int action, int next_state) {
    if (state < last_state)
        table_fault(L"sort violation during append in conflicts table.");
    if (next_offset >= size || !table)
        table_fault(L"buffer overflow during append in conflicts table.");
    mapped_state = getMappedState(state);
    if (mapped_state == -1) {
        mapped_state = static_cast<int>(states_map.size());
        states_map.emplace(state, mapped_state);
    }
    if (mapped_state >= states)
        table_fault(L"index overflow during append in conflicts table.");
    if (state > last_state)
        index[mapped_state] = srs_state_index{next_offset, 0};
    index[mapped_state].len += 1;
    table[next_offset] = srs_state_action{terminal, static_cast<short>(action), next_state};
    last_state = state;
    ++next_offset;
}

int conflicts_table::getMappedState(const int& state) const {
    auto it = states_map.find(state);
    return it == states_map.end() ? -1 : it->second;
}

int conflicts_table::starts(const int& state, const int& terminal) const {
    int m = getMappedState(state);
    if (m < 0 || m >= states)
        return -1;
    const srs_state_index& run = index[m];
    for (int i = run.starts; i < run.starts + run.len; ++i) {
        if (table[i].terminal == terminal)
            return i;
        if (table[i].terminal < terminal)
            return -1;
    }
    return -1;
}

int conflicts_table::ends(const int& state, const int& terminal) const {
    int s = starts(state, terminal);
    if (s < 0)
        return -2;
    const srs_state_index& run = index[getMappedState(state)];
    int last = s;
    while (last + 1 < run.starts + run.len && table[last + 1].terminal == terminal)
        ++last;
    return last;
}

int conflicts_table::posOfKey(const int& state, const int& terminal, const int& order) const {
    if (getMappedState(state) >= states)
        return -1;
    int first = starts(state, terminal);
    int last = ends(state, terminal);
    if (first < 0 || last < 0)
        return -1;
    int p = first + order - 1;
    return first <= p && p <= last ? p : -1;
}
