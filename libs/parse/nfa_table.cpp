#include "nfa_table.h"

#include <climits>

#include "halving_search.h"
#include "owned_array.h"
#include "state_runs.h"
#include "table_fault.h"

nfa_table::nfa_table(int in_size, int in_states)
    : table(nullptr), index(nullptr), size(in_size < 1 ? 0 : in_size),
      states(in_states < 1 ? 0 : in_states), last_state(-1), next_offset(0) {
    state_runs::allocate(table, index, size, states);
    if (table)
        fill();
}

nfa_table::~nfa_table() {
    drop_array(table, size);
    drop_array(index, states);
}

void nfa_table::append(int state, int terminal, int action, int next_state) {
    if (state < last_state)
        table_fault(L"Sort violation during append in NFA table.");
    // A table built without arrays keeps the count it was given for the
    // other dimension, so both arrays are tested, not only the counts.
    if (next_offset >= size || !table)
        table_fault(L"Buffer overflow during append in nfa table.");
    if (state >= states || state < 0 || !index)
        table_fault(L"Index overflow during append in NFA table.");
    // A state's row count is 16 bits wide: one more row would wrap it.
    if (state == last_state && index[state].len == SHRT_MAX)
        table_fault(L"Buffer overflow during append in nfa table.");
    if (state > last_state) {
        index[state].starts = next_offset;
        index[state].len = 0;
    }
    index[state].len = static_cast<short>(index[state].len + 1);
    table[next_offset].terminal = terminal;
    table[next_offset].action = static_cast<short>(action);
    table[next_offset].next_state = next_state;
    last_state = state;
    ++next_offset;
}

int nfa_table::actions_array(const int& state, int& actions_start, int& actions_end) const {
    if (state < 0 || state >= states || !index)
        return -1;
    actions_start = index[state].starts;
    actions_end = index[state].starts + index[state].len - 1;
    return index[state].len;
}

int nfa_table::actions_array(const int& state, const int& terminal, int& actions_start,
                             int& actions_end) const {
    actions_start = 0;
    actions_end = -1;
    if (state < 0 || state >= states || !index)
        return -1;
    const int first = index[state].starts;
    const int last = index[state].starts + index[state].len - 1;
    int hit = posOfKey(state, terminal);
    if (hit < 0)
        return -1;
    actions_start = hit;
    while (actions_start > first && table[actions_start - 1].terminal == terminal)
        --actions_start;
    actions_end = hit;
    while (actions_end < last && table[actions_end + 1].terminal == terminal)
        ++actions_end;
    return index[state].len;
}

int nfa_table::posOfKey(const int& state, const int& terminal) const {
    if (state < 0 || state >= states || !index)
        return -1;
    return halving_search(index[state].starts, index[state].starts + index[state].len - 1,
                          [&](int mid) { return key_order(terminal, table[mid].terminal); });
}
