#ifndef OWNED_ARRAY_H
#define OWNED_ARRAY_H

// Frees an array that a table owns and leaves the table empty: no storage
// and a count of 0, so that nothing reads the freed rows.
template <class T> void drop_array(T*& array, int& count) {
    delete[] array;
    array = nullptr;
    count = 0;
}

#endif
