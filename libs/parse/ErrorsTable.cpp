#include "ErrorsTable.h"

#include "halving_search.h"
#include "owned_array.h"
#include "table_fault.h"
#include "text_buffer.h"

static const wchar_t* const rebuff_fault =
    L"Memory Allocation Error; During rebuff() on ErrorsTable.";

ErrorsTable::ErrorsTable(int size_)
    : table(nullptr), size(size_ < 1 ? 0 : size_), Buffer(nullptr), bsize(0), bpos(0), elements(0) {
    text_buffer::allocate(table, size, Buffer, bsize);
}

ErrorsTable::~ErrorsTable() {
    drop_array(table, size);
    drop_array(Buffer, bsize);
}

void ErrorsTable::append(int id, const wchar_t* msg) {
    if (!msg)
        table_fault(L"Null String; During append in Errors Table.");
    if (posOfKey(id) >= 0)
        table_fault(L"Dublicate Error Key not Allowed; During append in Errors Table.");
    if (elements >= size)
        table_fault(L"Elements Overflow; During append in Errors Table.");
    int start =
        text_buffer::copy(Buffer, bsize, bpos, table, elements, &error_msg::msg, msg, rebuff_fault);
    table[elements] = error_msg{id, Buffer + start};
    ++elements;
}

int ErrorsTable::posOfKey(const int& id) const {
    return halving_search(0, elements - 1, [&](int mid) { return key_order(id, table[mid].id); });
}

void ErrorsTable::FixwhenFilled() {
    rebuff(bpos);
}

void ErrorsTable::rebuff(int n) {
    text_buffer::rebuff(Buffer, bsize, table, elements, &error_msg::msg, n, rebuff_fault);
}
