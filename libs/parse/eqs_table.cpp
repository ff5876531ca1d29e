#include "eqs_table.h"

#include "halving_search.h"
#include "owned_array.h"
#include "table_fault.h"

eqs_table::eqs_table(int size_, int terms_, int hashing_)
    : table(nullptr), hash_index(nullptr), term_index(nullptr), size(size_ < 1 ? 0 : size_),
      terms(terms_ < 1 ? 0 : terms_), hashing(hashing_ < 1 ? 0 : hashing_) {
    table = new int[size];
    hash_index = term_runs::new_hash_index(hashing);
    term_index = term_runs::new_term_index(terms);
}

eqs_table::~eqs_table() {
    drop_array(table, size);
    drop_array(hash_index, hashing);
    drop_array(term_index, terms);
}

void eqs_table::append(int hash, int terminal, int equivalent) {
    if (hashing != 0)
        runs.check_bucket(hash, hashing, L"Sort violation during append in eqs table.",
                          L"Index overflow during append in eqs table.");
    bool opens = runs.count_row(term_index, terms, size, terminal,
                                L"Buffer overflow during append in eqs table.");
    if (hashing != 0)
        runs.count_in_bucket(hash_index, hash, opens);
    table[runs.next_offset] = equivalent;
    ++runs.next_offset;
}

int eqs_table::hashed(int terminal) const {
    return term_runs::bucket(terminal, hashing);
}

int eqs_table::eqs_array(const int& terminal, int& start, int& end) const {
    return runs.rows_of(term_index, hash_index, hashing, terminal, start, end);
}

int eqs_table::search(const int& value, int first, int last) const {
    if (first < 0 || last >= runs.next_offset)
        return -1;
    return halving_search(first, last, [&](int mid) { return key_order(value, table[mid]); });
}

int eqs_table::terminalAt(const int& pos) const {
    runs.check_row(pos, L"Index Out of Bounds in EQS Set.");
    return table[pos];
}
