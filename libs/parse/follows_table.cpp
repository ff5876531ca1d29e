#include "follows_table.h"

#include <climits>

#include "halving_search.h"
#include "table_fault.h"

follows_table::follows_table(int in_size, int in_terms)
    : table(nullptr), term_index(nullptr), size(in_size < 1 ? 0 : in_size), terms(in_terms),
      last_term(-1), term_offset(-1), next_offset(0) {
    table = new int[size];
    init_term_index(terms);
    fill();
}

follows_table::~follows_table() {
    if (table) {
        delete[] table;
        table = nullptr;
        size = 0;
    }
    if (term_index) {
        delete[] term_index;
        term_index = nullptr;
        terms = 0;
    }
}

int follows_table::init_term_index(int index_size) {
    if (index_size < 1)
        return index_size;
    term_index = new token_index[index_size];
    for (int i = 0; i < index_size; ++i) {
        term_index[i].starts = 0;
        term_index[i].len = -1;
    }
    return index_size;
}

void follows_table::append(int terminal, int equivalent) {
    if (term_offset >= 0 && terminal < last_term)
        table_fault(L"Sort violation during append in follows table.");
    bool opens = terminal != last_term || term_offset == -1;
    // Beyond the declared terminals there is no index entry to open, and a
    // terminal's 16-bit row count must not wrap: both are a full table.
    if (next_offset >= size || (opens && term_offset + 1 >= terms) ||
        (!opens && term_index[term_offset].len == SHRT_MAX))
        table_fault(L"Buffer overflow during append in follows table.");
    if (opens) {
        ++term_offset;
        term_index[term_offset].terminal = terminal;
        term_index[term_offset].starts = next_offset;
        term_index[term_offset].len = 0;
    }
    term_index[term_offset].len = static_cast<short>(term_index[term_offset].len + 1);
    last_term = terminal;
    table[next_offset] = equivalent;
    ++next_offset;
}

int follows_table::eqs_array(const int& terminal, int& start, int& end) const {
    start = 0;
    end = -1;
    // Only the entries opened so far carry a terminal; a table given fewer
    // terminals than declared must not bisect the unset ones.
    int pos = halving_search(
        0, term_offset, [&](int mid) { return key_order(terminal, term_index[mid].terminal); });
    if (pos < 0)
        return -1;
    start = term_index[pos].starts;
    end = term_index[pos].starts + term_index[pos].len - 1;
    return term_index[pos].len;
}

int follows_table::terminalAt(const int& pos) const {
    // Positions past the rows appended hold no id yet.
    if (pos < 0 || pos >= next_offset)
        table_fault(L"Index Out of Bounds in Follows Set.");
    return table[pos];
}
