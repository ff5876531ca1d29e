#ifndef TERM_RUNS_H
#define TERM_RUNS_H

#include <climits>

#include "halving_search.h"
#include "table_fault.h"
#include "table_records.h"

// The append and lookup bookkeeping of a table whose rows come in runs, one
// run per terminal, each run described by one term_index entry; with buckets
// the entries of one bucket (|terminal| mod hashing) are consecutive too and
// described by the bucket's hash_index entry. The arrays belong to the table;
// this only counts into them, and each table passes its own fault texts.
struct term_runs {
    int last_hashed = -1;
    int last_term = -1;
    int term_offset = -1; // the last term_index entry opened
    int next_offset = 0;  // the row the next append writes

    // term_index[0..n-1] as runs without rows (len -1); none for n < 1.
    static token_index* new_term_index(int n) { return n < 1 ? nullptr : new token_index[n]; }
    // hash_index[0..n-1] as empty buckets (len -1); none for n < 1.
    static eqs_index* new_hash_index(int n) { return n < 1 ? nullptr : new eqs_index[n]; }

    static int bucket(int terminal, int hashing) {
        if (hashing < 1)
            return 0;
        // Widened first: the absolute value of INT_MIN does not fit an int.
        long long t = terminal;
        return static_cast<int>((t < 0 ? -t : t) % hashing);
    }

    // Buckets are filled in ascending order and must exist.
    void check_bucket(int hash, int hashing, const wchar_t* sort_fault,
                      const wchar_t* index_fault) const {
        if (hash < last_hashed)
            table_fault(sort_fault);
        if (hash < 0 || hash >= hashing)
            table_fault(index_fault);
    }

    // Counts the row at next_offset into the run of terminal, opening the
    // next term_index entry where terminal is not the last one's. Beyond
    // size rows or terms entries, or with a run's 16-bit count at its top,
    // the table is full: overflow_fault. Returns whether a run was opened.
    bool count_row(token_index* term_index, int terms, int size, int terminal,
                   const wchar_t* overflow_fault) {
        bool opens = terminal != last_term || term_offset == -1;
        if (next_offset >= size || (opens && term_offset + 1 >= terms) ||
            (!opens && term_index[term_offset].len == SHRT_MAX))
            table_fault(overflow_fault);
        if (opens) {
            ++term_offset;
            term_index[term_offset].terminal = terminal;
            term_index[term_offset].starts = next_offset;
            term_index[term_offset].len = 0;
        }
        term_index[term_offset].len = static_cast<short>(term_index[term_offset].len + 1);
        last_term = terminal;
        return opens;
    }

    // Files the run last counted under bucket hash: a bucket met for the
    // first time starts at that run, and each run opened widens it by one.
    void count_in_bucket(eqs_index* hash_index, int hash, bool opened) {
        if (hash > last_hashed)
            hash_index[hash] = eqs_index{term_offset, 0};
        if (opened)
            hash_index[hash].len += 1;
        last_hashed = hash;
    }

    // The rows of terminal: their count (-1 for none) and the positions of
    // the first and last. Only the bucket of terminal is bisected; without
    // buckets (hashing < 1) only the entries opened so far, since a table
    // given fewer terminals than declared leaves the rest unset.
    int rows_of(const token_index* term_index, const eqs_index* hash_index, int hashing,
                int terminal, int& start, int& end) const {
        start = 0;
        end = -1;
        int first = 0;
        int last = term_offset;
        if (hashing > 0) {
            const eqs_index& b = hash_index[bucket(terminal, hashing)];
            first = b.starts;
            last = b.starts + b.len - 1;
        }
        int pos = halving_search(
            first, last, [&](int mid) { return key_order(terminal, term_index[mid].terminal); });
        if (pos < 0)
            return -1;
        start = term_index[pos].starts;
        end = term_index[pos].starts + term_index[pos].len - 1;
        return term_index[pos].len;
    }

    // Positions past the rows appended hold nothing yet.
    void check_row(int pos, const wchar_t* bounds_fault) const {
        if (pos < 0 || pos >= next_offset)
            table_fault(bounds_fault);
    }
};

#endif
