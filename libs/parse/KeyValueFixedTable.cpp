#include "KeyValueFixedTable.h"

#include "halving_search.h"
#include "table_fault.h"

KeyValueFixedTable::KeyValueFixedTable(int size_)
    : table(nullptr), size(size_ < 1 ? 0 : size_), elements(0) {
    if (size > 0)
        table = new key_value[size];
}

KeyValueFixedTable::~KeyValueFixedTable() {
    delete[] table;
    table = nullptr;
    size = 0;
}

void KeyValueFixedTable::append(int key, int value) {
    if (elements >= size)
        table_fault(L"buffer overflow during append in pairs table.");
    if (posOfKey(key) >= 0)
        table_fault(L"duplicate key during append in pairs table.");
    table[elements].key = key;
    table[elements].value = value;
    ++elements;
}

int KeyValueFixedTable::posOfKey(const int& key) const {
    return halving_search(0, elements - 1, [&](int mid) { return key_order(key, table[mid].key); });
}
