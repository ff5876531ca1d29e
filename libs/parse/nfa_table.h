#ifndef NFA_TABLE_H
#define NFA_TABLE_H

// One NFA transition: on `terminal`, move with code `action` (an ActionType)
// to `next_state`. A next_state at or above the table's state count names a
// production (production = next_state - states) instead of a row state.
struct nfa_state_action {
    int terminal;
    short action;
    int next_state;
};

// The run of rows of one state; {0, -1} marks a state without rows.
struct nfa_state_index {
    int starts;
    short len;

    nfa_state_index() : starts(0), len(-1) {}
};

// The NFA transitions of an FSA grammar. Rows are grouped by state, states
// ascending; within a state the rows ascend by terminal and several rows may
// share one terminal (every one applies: that is the nondeterminism). append
// enforces the state order; the terminal order is the filler's duty, and the
// lookups bisect on it.
class nfa_table {
public:
    nfa_state_action* table;
    nfa_state_index* index;
    int size;
    int states;

    // A count below 1 is stored as 0; a table with either count 0 gets no
    // arrays and answers every lookup with -1.
    nfa_table(int in_size, int in_states);
    virtual ~nfa_table();
    virtual void fill() {}

    void append(int state, int terminal, int action, int next_state);
    // The rows of state: their count (-1 for none) and first and last position.
    int actions_array(const int& state, int& actions_start, int& actions_end) const;
    // The run of rows of state labelled terminal; answers the state's row
    // count, or -1 when the state has no such row.
    int actions_array(const int& state, const int& terminal, int& actions_start,
                      int& actions_end) const;

protected:
    int posOfKey(const int& state, const int& terminal) const;

private:
    int last_state;
    int next_offset;

    nfa_table(const nfa_table&) = delete;
    nfa_table& operator=(const nfa_table&) = delete;
};

#endif
