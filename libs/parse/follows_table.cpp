#include "follows_table.h"

#include "owned_array.h"
#include "table_fault.h"

follows_table::follows_table(int in_size, int in_terms)
    : table(nullptr), term_index(nullptr), size(in_size < 1 ? 0 : in_size), terms(in_terms) {
    table = new int[size];
    term_index = term_runs::new_term_index(terms);
    fill();
}

follows_table::~follows_table() {
    drop_array(table, size);
    drop_array(term_index, terms);
}

void follows_table::append(int terminal, int equivalent) {
    if (runs.term_offset >= 0 && terminal < runs.last_term)
        table_fault(L"Sort violation during append in follows table.");
    runs.count_row(term_index, terms, size, terminal,
                   L"Buffer overflow during append in follows table.");
    table[runs.next_offset] = equivalent;
    ++runs.next_offset;
}

int follows_table::eqs_array(const int& terminal, int& start, int& end) const {
    return runs.rows_of(term_index, nullptr, 0, terminal, start, end);
}

int follows_table::terminalAt(const int& pos) const {
    runs.check_row(pos, L"Index Out of Bounds in Follows Set.");
    return table[pos];
}
