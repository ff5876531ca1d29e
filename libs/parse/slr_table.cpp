#include "slr_table.h"

#include <climits>

#include "halving_search.h"
#include "table_fault.h"

// A negative bucket count is taken as none: there is no bucket array to
// file rows under.
slr_table::slr_table(int in_size, int in_terms, int in_hashing)
    : table(nullptr), tableUp(nullptr), hash_index(nullptr), term_index(nullptr),
      size(in_size < 1 ? 0 : in_size), terms(in_terms), hashing(in_hashing < 1 ? 0 : in_hashing),
      last_hashed(-1), last_term(-1), term_offset(-1), next_offset(0) {
    table = new int[size];
    tableUp = new int[size];
    init_hash_index(hashing);
    init_term_index(terms);
    fill();
}

slr_table::~slr_table() {
    if (table) {
        delete[] table;
        table = nullptr;
        size = 0;
    }
    if (tableUp) {
        delete[] tableUp;
        tableUp = nullptr;
        size = 0;
    }
    if (hash_index) {
        delete[] hash_index;
        hash_index = nullptr;
        hashing = 0;
    }
    if (term_index) {
        delete[] term_index;
        term_index = nullptr;
        terms = 0;
    }
}

int slr_table::init_hash_index(int index_size) {
    if (index_size < 1)
        return index_size;
    hash_index = new eqs_index[index_size];
    for (int i = 0; i < index_size; ++i)
        hash_index[i] = eqs_index{0, -1};
    return index_size;
}

int slr_table::init_term_index(int index_size) {
    if (index_size < 1)
        return index_size;
    term_index = new token_index[index_size];
    for (int i = 0; i < index_size; ++i) {
        term_index[i].starts = 0;
        term_index[i].len = -1;
    }
    return index_size;
}

int slr_table::hashed(int terminal) const {
    if (hashing < 1)
        return 0;
    // Widened first: the absolute value of INT_MIN does not fit an int.
    long long t = terminal;
    return static_cast<int>((t < 0 ? -t : t) % hashing);
}

void slr_table::append(int hash, int terminal, int equivalent, int up) {
    if (hashing > 0) {
        if (hash < last_hashed)
            table_fault(L"Sort violation during append in eqs table.");
        if (hash >= hashing || hash < 0)
            table_fault(L"Index overflow during append in eqs table.");
    }
    bool opens = terminal != last_term || term_offset == -1;
    // Beyond the declared symbols there is no index entry to open, and a
    // symbol's 16-bit row count must not wrap: both are a full table.
    if (next_offset >= size || (opens && term_offset + 1 >= terms) ||
        (!opens && term_index[term_offset].len == SHRT_MAX))
        table_fault(L"Buffer overflow during append in eqs table.");
    if (opens) {
        ++term_offset;
        term_index[term_offset].terminal = terminal;
        term_index[term_offset].starts = next_offset;
        term_index[term_offset].len = 0;
    }
    term_index[term_offset].len = static_cast<short>(term_index[term_offset].len + 1);
    last_term = terminal;
    if (hashing > 0) {
        if (hash > last_hashed)
            hash_index[hash] = eqs_index{term_offset, 0};
        if (opens)
            hash_index[hash].len += 1;
        last_hashed = hash;
    }
    table[next_offset] = equivalent;
    tableUp[next_offset] = up;
    ++next_offset;
}

int slr_table::eqs_array(const int& terminal, int& start, int& end) const {
    start = 0;
    end = -1;
    // Without buckets only the entries opened so far carry a symbol.
    int first = 0;
    int last = term_offset;
    if (hashing > 0) {
        const eqs_index& bucket = hash_index[hashed(terminal)];
        first = bucket.starts;
        last = bucket.starts + bucket.len - 1;
    }
    int pos = halving_search(
        first, last, [&](int mid) { return key_order(terminal, term_index[mid].terminal); });
    if (pos < 0)
        return -1;
    start = term_index[pos].starts;
    end = term_index[pos].starts + term_index[pos].len - 1;
    return term_index[pos].len;
}

int slr_table::search(const int& terminal, int _first, int _last) const {
    // Positions past the rows appended hold no range yet.
    if (_first < 0 || _last >= next_offset)
        return -1;
    return halving_search(_first, _last, [&](int mid) {
        return terminal < table[mid] ? -1 : (terminal > tableUp[mid] ? 1 : 0);
    });
}

int slr_table::terminalAt(const int& pos) const {
    if (pos < 0 || pos >= next_offset)
        table_fault(L"Index Out of Bounds in EQS Set.");
    return table[pos];
}
