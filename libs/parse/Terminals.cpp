#include "Terminals.h"

#include "halving_search.h"
#include "owned_array.h"
#include "table_fault.h"
#include "text_buffer.h"

static const wchar_t* const rebuff_fault =
    L"Memory Allocation Error; During rebuff() on Terminals.";

Terminals::Terminals(int size_)
    : table(nullptr), eqs_index(nullptr), slr_follows_index(nullptr), size(size_ < 1 ? 0 : size_),
      endmark(-1), backtrackmark(-34), errormark(-4), anymark(-12), Buffer(nullptr), bsize(0),
      bpos(0), elements(0) {
    text_buffer::allocate(table, size, Buffer, bsize);
}

Terminals::~Terminals() {
    drop_array(table, size);
    drop_array(Buffer, bsize);
    delete[] eqs_index;
    eqs_index = nullptr;
    delete[] slr_follows_index;
    slr_follows_index = nullptr;
}

void Terminals::append(int id, short category, int level, bool reserved, const wchar_t* name) {
    if (!name)
        table_fault(L"Null String; During append.");
    if (name[0] == L'\0')
        table_fault(L"Invalid Terminal; During append.");
    if (posOfKey(id) >= 0)
        table_fault(L"Dublicate Key During append in Terminals.");
    if (elements >= size)
        table_fault(L"Elements Overflow; During append.");
    int start = text_buffer::copy(Buffer, bsize, bpos, table, elements, &pg_keyword::str, name,
                                  rebuff_fault);
    table[elements] = pg_keyword{id, Buffer + start, reserved, category, level};
    ++elements;
}

int Terminals::posOfKey(const int& id) const {
    return halving_search(0, elements - 1, [&](int mid) { return key_order(id, table[mid].id); });
}

static int index_run(const eqs_index* index, int size, int pos, int& start, int& end) {
    start = 0;
    end = -1;
    if (!index || pos < 0 || pos >= size || index[pos].len <= 0)
        return -1;
    start = index[pos].starts;
    end = index[pos].starts + index[pos].len - 1;
    return index[pos].len;
}

int Terminals::eq_index(const int& pos, int& start, int& end) const {
    return index_run(eqs_index, size, pos, start, end);
}

int Terminals::slr_follow_index(const int& pos, int& start, int& end) const {
    return index_run(slr_follows_index, size, pos, start, end);
}

void Terminals::FixwhenFilled() {
    rebuff(bpos);
}

void Terminals::rebuff(int n) {
    text_buffer::rebuff(Buffer, bsize, table, elements, &pg_keyword::str, n, rebuff_fault);
}
