#ifndef TABLE_RECORDS_H
#define TABLE_RECORDS_H

// Row and index records shared by the per-state tables. An index entry with
// len -1 or 0 stands for a state (bucket, terminal) without rows; a run of
// rows is the positions starts .. starts + len - 1.

struct srs_state_action {
    int terminal;
    short action;
    int next_state;
};

struct srs_state_index {
    int starts = 0;
    short len = -1;
};

struct gotos_state_action {
    int production;
    int next_state;
};

struct gotos_state_index {
    int starts = 0;
    short len = -1;
};

struct token_index {
    int terminal;
    int starts = 0;
    short len = -1;
};

struct eqs_index {
    int starts = 0;
    int len = -1;
};

#endif
