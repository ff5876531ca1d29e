#include "KeyKeyValueFixedTable.h"

#include "halving_search.h"
#include "table_fault.h"

KeyKeyValueFixedTable::KeyKeyValueFixedTable(int size_)
    : table(nullptr), size(size_ < 1 ? 0 : size_), elements(0) {
    if (size > 0)
        table = new key_key_value[size];
}

KeyKeyValueFixedTable::~KeyKeyValueFixedTable() {
    delete[] table;
    table = nullptr;
    size = 0;
}

void KeyKeyValueFixedTable::append(int key, int keyb, int value) {
    if (elements >= size)
        table_fault(L"buffer overflow during append in pairs table.");
    if (posOfKey(key, keyb) >= 0)
        table_fault(L"duplicate key pair during append in pairs table.");
    table[elements].key = key;
    table[elements].keyb = keyb;
    table[elements].value = value;
    ++elements;
}

int KeyKeyValueFixedTable::posOfKey(const int& key, const int& keyb) const {
    return halving_search(0, elements - 1, [&](int mid) {
        int c = key_order(key, table[mid].key);
        return c != 0 ? c : key_order(keyb, table[mid].keyb);
    });
}
