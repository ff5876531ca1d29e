#include "Occurs.h"

#include "halving_search.h"
#include "table_fault.h"

Occurs::Occurs(int in_size) : table(nullptr), size(in_size < 1 ? 0 : in_size), elements(0) {
    if (size > 0)
        table = new occurs_value[size];
}

Occurs::~Occurs() {
    delete[] table;
    table = nullptr;
    size = 0;
}

void Occurs::append(int id, int from, int to, int Until) {
    if (elements >= size)
        table_fault(L"buffer overflow during append in Occurs table.");
    table[elements] = occurs_value{id, -1, from, to, Until};
    ++elements;
}

int Occurs::posOfKey(const int& key) const {
    return halving_search(0, elements - 1, [&](int mid) { return key_order(key, table[mid].id); });
}
