#include "Ranges.h"

#include "halving_search.h"
#include "table_fault.h"

Ranges::Ranges(int size_) : table(nullptr), size(size_ < 1 ? 0 : size_), elements(0) {
    if (size > 0)
        table = new range_value[size];
}

Ranges::~Ranges() {
    delete[] table;
    table = nullptr;
    size = 0;
}

void Ranges::append(int id, int from, int to) {
    if (elements >= size)
        table_fault(L"buffer overflow during append in range table.");
    table[elements] = range_value{id, -1, from, to};
    ++elements;
}

int Ranges::posOfRange(const int& c) const {
    return halving_search(0, elements - 1, [&](int mid) {
        return c < table[mid].from ? -1 : (c > table[mid].to ? 1 : 0);
    });
}
