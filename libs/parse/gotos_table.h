#ifndef GOTOS_TABLE_H
#define GOTOS_TABLE_H

#include "table_records.h"

// The state entered after a reduction: (state, nonterminal) to next state.
// Rows grouped by state, ascending by nonterminal within a state.
class gotos_table {
public:
    gotos_state_action* table;
    gotos_state_index* index;
    int size;
    int states;

    // With size or states below 1 no storage is made; the other number keeps
    // its value (the lexical grammars pass 0 rows and their state count).
    gotos_table(int size, int states);
    virtual ~gotos_table();
    virtual void fill() = 0;

    void append(int state, int production, int next_state);
    int posOfKey(const int& state, const int& production) const;

protected:
    int last_state;
    int next_offset;

private:
    gotos_table(const gotos_table&) = delete;
    gotos_table& operator=(const gotos_table&) = delete;
};

#endif
