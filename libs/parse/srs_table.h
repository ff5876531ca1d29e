#ifndef SRS_TABLE_H
#define SRS_TABLE_H

#include "table_records.h"

// The shift/reduce/finish/backtrack action of each (state, terminal) pair.
// Rows are grouped by state in ascending order, ascending by terminal within
// a state; index[state] gives the state's run of rows.
class srs_table {
public:
    srs_state_action* table;
    srs_state_index* index;
    int size;
    int states;

    srs_table(int size, int states);
    virtual ~srs_table();
    virtual void fill() {}

    void append(int state, int terminal, int action, int next_state);
    int posOfKey(const int& state, const int& terminal) const;

protected:
    int last_state;
    int next_offset;

    // Gives every state after the last appended one an empty run, so that a
    // lookup there finds no row and falls to the state's default.
    void close_trailing_states();

private:
    srs_table(const srs_table&) = delete;
    srs_table& operator=(const srs_table&) = delete;
};

#endif
