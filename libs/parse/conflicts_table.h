#ifndef CONFLICTS_TABLE_H
#define CONFLICTS_TABLE_H

#include <map>

#include "table_records.h"

// Ordered alternative actions of some (state, terminal) pairs. States are
// numbered densely in order of first appearance; within a state the rows of
// one terminal are consecutive, terminals descending, and the rows of one
// terminal are in the order of the alternatives.
class conflicts_table {
public:
    srs_state_action* table;
    srs_state_index* index;
    int size;
    int states;

    conflicts_table(int size, int states);
    virtual ~conflicts_table();
    virtual void fill() {}

    void append(int state, int terminal, int action, int next_state);
    int starts(const int& state, const int& terminal) const;
    // Position of the last row of the pair; -2 when the pair has no row.
    int ends(const int& state, const int& terminal) const;
    // Position of the order-th row of the pair, order counted from 1.
    int posOfKey(const int& state, const int& terminal, const int& order) const;

protected:
    int last_state;
    int next_offset;
    std::map<int, int> states_map;
    int mapped_state;

private:
    int getMappedState(const int& state) const;

    conflicts_table(const conflicts_table&) = delete;
    conflicts_table& operator=(const conflicts_table&) = delete;
};

#endif
