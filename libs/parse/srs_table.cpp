#include "srs_table.h"

#include "halving_search.h"
#include "owned_array.h"
#include "state_runs.h"
#include "table_fault.h"

srs_table::srs_table(int size_, int states_)
    : table(nullptr), index(nullptr), size(size_ < 1 ? 0 : size_),
      states(states_ < 1 ? 0 : states_), last_state(-1), next_offset(0) {
    state_runs::allocate(table, index, size, states);
}

srs_table::~srs_table() {
    drop_array(table, size);
    drop_array(index, states);
}

void srs_table::append(int state, int terminal, int action, int next_state) {
    if (state < last_state)
        table_fault(L"sort violation during append in srs table.");
    if (next_offset >= size || !table)
        table_fault(L"buffer overflow during append in srs table.");
    if (state < 0 || state >= states)
        table_fault(L"index overflow during append in srs table.");
    for (int j = last_state + 1; j <= state; ++j)
        if (j >= 0)
            index[j] = srs_state_index{next_offset, 0};
    index[state].len += 1;
    table[next_offset] = srs_state_action{terminal, static_cast<short>(action), next_state};
    last_state = state;
    ++next_offset;
}

int srs_table::posOfKey(const int& state, const int& terminal) const {
    if (state < 0 || state >= states || !table)
        return -1;
    const srs_state_index& run = index[state];
    return halving_search(run.starts, run.starts + run.len - 1,
                          [&](int mid) { return key_order(terminal, table[mid].terminal); });
}

void srs_table::close_trailing_states() {
    for (int j = last_state + 1; j < states; ++j)
        if (j >= 0)
            index[j] = srs_state_index{next_offset, 0};
}
