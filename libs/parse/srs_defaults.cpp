#include "srs_defaults.h"

#include "table_fault.h"

srs_defaults::srs_defaults(int size, int states_) : table(nullptr), states(states_) {
    if (size <= 0 || states <= 0 || size != states) {
        states = 0;
        return;
    }
    // Every entry starts as "no default", so a state the fill skips has none.
    table = new srs_default[states]();
}

srs_defaults::~srs_defaults() {
    delete[] table;
    table = nullptr;
}

void srs_defaults::append(int state, int action, int next_state) {
    if (state < 0 || state >= states)
        table_fault(L"index overflow during append in srs table.");
    table[state] = srs_default{static_cast<short>(action), next_state};
}

int srs_defaults::posOfKey(const int& state) const {
    if (state < 0 || state >= states || table[state].action == 0)
        return -1;
    return state;
}
