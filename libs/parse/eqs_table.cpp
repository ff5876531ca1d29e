#include "eqs_table.h"

#include "halving_search.h"
#include "table_fault.h"

eqs_table::eqs_table(int size_, int terms_, int hashing_)
    : table(nullptr), hash_index(nullptr), term_index(nullptr), size(size_ < 1 ? 0 : size_),
      terms(terms_ < 1 ? 0 : terms_), hashing(hashing_ < 1 ? 0 : hashing_), last_hashed(-1),
      last_term(-1), term_offset(-1), next_offset(0) {
    table = new int[size > 0 ? size : 0];
    init_hash_index(hashing);
    init_term_index(terms);
}

eqs_table::~eqs_table() {
    delete[] table;
    table = nullptr;
    size = 0;
    delete[] hash_index;
    hash_index = nullptr;
    hashing = 0;
    delete[] term_index;
    term_index = nullptr;
    terms = 0;
}

int eqs_table::init_hash_index(int n) {
    if (n > 0)
        hash_index = new eqs_index[n];
    return n;
}

int eqs_table::init_term_index(int n) {
    if (n > 0)
        term_index = new token_index[n];
    return n;
}

void eqs_table::append(int hash, int terminal, int equivalent) {
    if (hashing != 0) {
        if (hash < last_hashed)
            table_fault(L"Sort violation during append in eqs table.");
        if (hash < 0 || hash >= hashing)
            table_fault(L"Index overflow during append in eqs table.");
    }
    bool new_terminal = terminal != last_term || term_offset == -1;
    // One index entry per distinct terminal: more terminals than terms (or
    // more rows than size) would write past the arrays.
    if (next_offset >= size || (new_terminal && term_offset + 1 >= terms))
        table_fault(L"Buffer overflow during append in eqs table.");
    if (new_terminal) {
        ++term_offset;
        term_index[term_offset].terminal = terminal;
        term_index[term_offset].starts = next_offset;
        term_index[term_offset].len = 0;
    }
    term_index[term_offset].len += 1;
    last_term = terminal;
    if (hashing != 0) {
        if (hash > last_hashed)
            hash_index[hash] = eqs_index{term_offset, 0};
        if (new_terminal)
            hash_index[hash].len += 1;
        last_hashed = hash;
    }
    table[next_offset] = equivalent;
    ++next_offset;
}

int eqs_table::hashed(int terminal) const {
    if (hashing == 0)
        return 0;
    long t = terminal < 0 ? -static_cast<long>(terminal) : terminal;
    return static_cast<int>(t % hashing);
}

int eqs_table::eqs_array(const int& terminal, int& start, int& end) const {
    start = 0;
    end = -1;
    int first = 0;
    int last = term_offset; // without hashing only the entries written count
    if (hashing != 0) {
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

int eqs_table::search(const int& value, int first, int last) const {
    if (first < 0 || last >= next_offset)
        return -1;
    return halving_search(first, last, [&](int mid) { return key_order(value, table[mid]); });
}

int eqs_table::terminalAt(const int& pos) const {
    if (pos < 0 || pos >= next_offset)
        table_fault(L"Index Out of Bounds in EQS Set.");
    return table[pos];
}
