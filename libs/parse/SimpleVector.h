#ifndef SIMPLEVECTOR_H
#define SIMPLEVECTOR_H

#include <algorithm>
#include <climits>
#include <new>

#include "ParseError.h"

// A growable array of object pointers, used by the FSA engine both as a stack
// (append, remove, empty) and as an indexed list (filled, at). It owns its
// slot array and nothing else: the pointed-to objects belong to the engine's
// pools. N is part of the type only; it is not the initial capacity.
template <class T, int N> class SimpleVector {
public:
    int size;    // capacity in slots
    int _filled; // slots 0 .. _filled - 1 hold the elements, oldest first
    T* buffer;   // null until a slot is allocated
    int increase;
    int sizeOfT;

    explicit SimpleVector(int in_size)
        : size(in_size < 0 ? 0 : in_size), _filled(0), buffer(nullptr), increase(32),
          sizeOfT(static_cast<int>(sizeof(T))) {
        if (size > 0)
            buffer = new T[size];
    }
    virtual ~SimpleVector() { delete[] buffer; }

    bool empty() const { return _filled == 0; }
    int filled() const { return _filled; }
    int clear() {
        _filled = 0;
        return 0;
    }

    T at(int index) const {
        if (index < 0 || index >= _filled)
            bounds_fault();
        return buffer[index];
    }

    T remove() {
        if (_filled <= 0)
            bounds_fault();
        --_filled;
        return buffer[_filled];
    }

    int append(T r) {
        if (_filled >= size) {
            if (size > INT_MAX / 2)
                throw std::bad_alloc();
            resize(size * 2);
        }
        buffer[_filled] = r;
        ++_filled;
        return _filled;
    }

    // Never drops elements: a request below the count keeps room for them all.
    int resize(int new_size) {
        if (new_size < 1)
            new_size = 1;
        if (new_size < _filled)
            new_size = _filled;
        T* fresh = new T[new_size];
        if (_filled > 0)
            std::copy(buffer, buffer + _filled, fresh);
        delete[] buffer;
        buffer = fresh;
        size = new_size;
        return 0;
    }

private:
    [[noreturn]] static void bounds_fault() {
        throw parsing::ParseError(-1, L"Index Out of Bounds on Actions Vector.", parsing::Init,
                                  false, true);
    }

    SimpleVector(const SimpleVector&) = delete;
    SimpleVector& operator=(const SimpleVector&) = delete;
};

#endif
