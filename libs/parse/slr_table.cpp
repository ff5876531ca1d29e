#include "slr_table.h"

#include "halving_search.h"
#include "owned_array.h"

// A negative bucket count is taken as none: there is no bucket array to
// file rows under.
slr_table::slr_table(int in_size, int in_terms, int in_hashing)
    : table(nullptr), tableUp(nullptr), hash_index(nullptr), term_index(nullptr),
      size(in_size < 1 ? 0 : in_size), terms(in_terms), hashing(in_hashing < 1 ? 0 : in_hashing) {
    table = new int[size];
    tableUp = new int[size];
    hash_index = term_runs::new_hash_index(hashing);
    term_index = term_runs::new_term_index(terms);
    fill();
}

slr_table::~slr_table() {
    drop_array(table, size);
    drop_array(tableUp, size);
    drop_array(hash_index, hashing);
    drop_array(term_index, terms);
}

int slr_table::hashed(int terminal) const {
    return term_runs::bucket(terminal, hashing);
}

void slr_table::append(int hash, int terminal, int equivalent, int up) {
    if (hashing > 0)
        runs.check_bucket(hash, hashing, L"Sort violation during append in eqs table.",
                          L"Index overflow during append in eqs table.");
    bool opens = runs.count_row(term_index, terms, size, terminal,
                                L"Buffer overflow during append in eqs table.");
    if (hashing > 0)
        runs.count_in_bucket(hash_index, hash, opens);
    table[runs.next_offset] = equivalent;
    tableUp[runs.next_offset] = up;
    ++runs.next_offset;
}

int slr_table::eqs_array(const int& terminal, int& start, int& end) const {
    return runs.rows_of(term_index, hash_index, hashing, terminal, start, end);
}

int slr_table::search(const int& terminal, int _first, int _last) const {
    // Positions past the rows appended hold no range yet.
    if (_first < 0 || _last >= runs.next_offset)
        return -1;
    return halving_search(_first, _last, [&](int mid) {
        return terminal < table[mid] ? -1 : (terminal > tableUp[mid] ? 1 : 0);
    });
}

int slr_table::terminalAt(const int& pos) const {
    runs.check_row(pos, L"Index Out of Bounds in EQS Set.");
    return table[pos];
}
