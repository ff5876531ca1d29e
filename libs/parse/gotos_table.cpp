#include "gotos_table.h"

#include "halving_search.h"
#include "owned_array.h"
#include "state_runs.h"
#include "table_fault.h"

gotos_table::gotos_table(int size_, int states_)
    : table(nullptr), index(nullptr), size(size_), states(states_), last_state(-1), next_offset(0) {
    state_runs::allocate(table, index, size, states);
}

gotos_table::~gotos_table() {
    drop_array(table, size);
    drop_array(index, states);
}

void gotos_table::append(int state, int production, int next_state) {
    if (state < last_state)
        table_fault(L"sort violation during append in gotos table.");
    if (next_offset >= size || !table)
        table_fault(L"buffer overflow during append in gotos table.");
    if (state < 0 || state >= states)
        table_fault(L"index overflow during append in gotos table..");
    if (state > last_state)
        index[state] = gotos_state_index{next_offset, 0};
    index[state].len += 1;
    table[next_offset] = gotos_state_action{production, next_state};
    last_state = state;
    ++next_offset;
}

int gotos_table::posOfKey(const int& state, const int& production) const {
    if (state < 0 || state >= states || !table)
        return -1;
    const gotos_state_index& run = index[state];
    return halving_search(run.starts, run.starts + run.len - 1,
                          [&](int mid) { return key_order(production, table[mid].production); });
}
