#ifndef TEXT_BUFFER_H
#define TEXT_BUFFER_H

#include <new>

#include "table_fault.h"

// The shared text buffer of Terminals and ErrorsTable: the names (messages)
// of all rows follow each other in one wide buffer, each with its null; every
// row points into it. Growing or shrinking the buffer moves the pointers.
namespace text_buffer {

// Rows for size entries and a buffer of five characters a row to start with
// (copy grows it as needed); nothing for size < 1. drop_array frees them.
template <class Row> void allocate(Row*& rows, int size, wchar_t*& Buffer, int& bsize) {
    if (size < 1)
        return;
    bsize = 5 * size;
    rows = new Row[size];
    Buffer = new wchar_t[bsize];
}

// Moves the texts into a new buffer of n characters. A row whose text starts
// at or beyond n loses its pointer.
template <class Row>
void rebuff(wchar_t*& Buffer, int& bsize, Row* rows, int elements, wchar_t* Row::*text, int n,
            const wchar_t* fault) {
    if (n < 1)
        return;
    wchar_t* fresh = new (std::nothrow) wchar_t[n];
    if (!fresh)
        table_fault(fault);
    int keep = bsize < n ? bsize : n;
    for (int i = 0; i < keep; ++i)
        fresh[i] = Buffer[i];
    for (int i = keep; i < n; ++i)
        fresh[i] = L'\0';
    for (int r = 0; r < elements; ++r) {
        if (!(rows[r].*text))
            continue;
        long offset = rows[r].*text - Buffer;
        rows[r].*text = offset < n ? fresh + offset : nullptr;
    }
    delete[] Buffer;
    Buffer = fresh;
    bsize = n;
}

// Copies s and its null to the end of the buffer, doubling it when full, and
// returns the offset of the copy.
template <class Row>
int copy(wchar_t*& Buffer, int& bsize, int& bpos, Row* rows, int elements, wchar_t* Row::*text,
         const wchar_t* s, const wchar_t* fault) {
    int start = bpos;
    for (const wchar_t* p = s;; ++p) {
        if (bpos == bsize)
            rebuff(Buffer, bsize, rows, elements, text, bsize > 0 ? 2 * bsize : 1, fault);
        Buffer[bpos++] = *p;
        if (*p == L'\0')
            break;
    }
    return start;
}

} // namespace text_buffer

#endif
