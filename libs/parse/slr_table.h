#ifndef SLR_TABLE_H
#define SLR_TABLE_H

#include "table_records.h"
#include "term_runs.h"

// The SLR follow sets of an FSA grammar: for every restricted symbol, the
// ascending, disjoint ranges [table[r], tableUp[r]] of the look-ahead ids
// that may follow it. Each symbol's rows are one run described by a
// term_index entry. With buckets (hashing > 0) the symbols are filed under
// |symbol| mod hashing, buckets ascending, and a lookup bisects only the
// symbols of one bucket; without buckets the symbols ascend over the whole
// index.
class slr_table {
public:
    int* table;   // lower bounds
    int* tableUp; // upper bounds
    eqs_index* hash_index;
    token_index* term_index;
    int size;
    int terms;
    int hashing; // 0: no buckets

    slr_table(int in_size, int in_terms, int in_hashing);
    virtual ~slr_table();
    virtual void fill() {}

    int hashed(int terminal) const;
    void append(int hash, int terminal, int equivalent, int up);
    // The ranges of terminal: their count (-1 for none) and the positions of
    // the first and last row.
    int eqs_array(const int& terminal, int& start, int& end) const;
    // The row among _first.._last whose range holds the id terminal, or -1.
    int search(const int& terminal, int _first, int _last) const;
    int terminalAt(const int& pos) const;

private:
    term_runs runs;

    slr_table(const slr_table&) = delete;
    slr_table& operator=(const slr_table&) = delete;
};

#endif
