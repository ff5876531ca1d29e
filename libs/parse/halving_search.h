#ifndef HALVING_SEARCH_H
#define HALVING_SEARCH_H

// The binary search of every sorted table: positions first..last, midpoint
// first + (last - first) / 2. compare(mid) answers below 0 when the key lies
// below row mid, above 0 when above it and 0 when the row matches. Returns
// the matching position or -1.
template <class Compare> inline int halving_search(int first, int last, Compare compare) {
    while (first <= last) {
        int mid = first + (last - first) / 2;
        int c = compare(mid);
        if (c < 0)
            last = mid - 1;
        else if (c > 0)
            first = mid + 1;
        else
            return mid;
    }
    return -1;
}

// compare() for a plain key against a row key.
inline int key_order(int key, int row_key) {
    return key < row_key ? -1 : (key > row_key ? 1 : 0);
}

#endif
