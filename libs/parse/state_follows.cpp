#include "state_follows.h"

#include "table_fault.h"

state_follows::state_follows(int in_size)
    : table(nullptr), size(in_size < 1 ? 0 : in_size), elements(0), next_offset(0) {
    if (size > 0)
        table = new follows_rule[size];
    FixwhenFilled();
    fill();
}

state_follows::~state_follows() {
    delete[] table;
    table = nullptr;
    size = 0;
    elements = 0;
}

void state_follows::append(int state, int token, bool result, int type, int GoTo) {
    if (next_offset >= size)
        table_fault(L"Buffer overflow during append in state follows table.");
    table[next_offset] = follows_rule{state, token, result, type, GoTo};
    ++next_offset;
}

int state_follows::posOfKey(const int& state) const {
    return state >= 1 && state <= next_offset ? state - 1 : -1;
}

// The query layer reads rules by position up to the capacity, so a row that
// a filler left out must still say something: a composite rule is never
// tested and keeps the head in the state its move gave it.
void state_follows::FixwhenFilled() {
    for (int k = next_offset; k < size; ++k)
        table[k] = follows_rule{k + 1, -1, true, composite, k + 1};
}
