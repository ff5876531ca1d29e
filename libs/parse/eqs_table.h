#ifndef EQS_TABLE_H
#define EQS_TABLE_H

#include "table_records.h"
#include "term_runs.h"

// The equivalents of a terminal (in the lexical grammars: the character class
// that stands for a character). The rows of a terminal are consecutive and
// described by a term_index entry; the entries of one hash bucket (|t| mod
// hashing) are consecutive, ascending by terminal, and described by the
// bucket's hash_index entry.
class eqs_table {
public:
    int* table;
    eqs_index* hash_index;
    token_index* term_index;
    int size;
    int terms;
    int hashing; // number of buckets; 0: no hashing

    eqs_table(int size, int terms, int hashing);
    virtual ~eqs_table();
    virtual void fill() {}

    void append(int hash, int terminal, int equivalent);
    int hashed(int terminal) const;
    int eqs_array(const int& terminal, int& start, int& end) const;
    int search(const int& value, int first, int last) const;
    int terminalAt(const int& pos) const;

protected:
    term_runs runs;

private:
    eqs_table(const eqs_table&) = delete;
    eqs_table& operator=(const eqs_table&) = delete;
};

#endif
