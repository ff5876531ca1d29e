#ifndef FOLLOWS_TABLE_H
#define FOLLOWS_TABLE_H

#include "table_records.h"
#include "term_runs.h"

// For every terminal, the ids of the follow sets that contain it. Rows are
// grouped by terminal, terminals ascending (append enforces it), and within
// a terminal the ids ascend (the filler's duty: the follow test bisects them).
// The array holds only the ids; each terminal's run is one term_index entry.
class follows_table {
public:
    int* table;
    token_index* term_index;
    int size;
    int terms;

    follows_table(int in_size, int in_terms);
    virtual ~follows_table();
    virtual void fill() {}

    void append(int terminal, int equivalent);
    // The follow-set ids of terminal: their count (-1 for none) and the
    // positions of the first and last in `table`.
    int eqs_array(const int& terminal, int& start, int& end) const;
    int terminalAt(const int& pos) const;

private:
    term_runs runs;

    follows_table(const follows_table&) = delete;
    follows_table& operator=(const follows_table&) = delete;
};

#endif
