#ifndef STATE_RUNS_H
#define STATE_RUNS_H

// The storage of the tables whose rows come in runs by state (srs_table,
// gotos_table, conflicts_table, nfa_table): the rows and one index entry per
// state. Both arrays are made together, and only when both counts are at
// least 1: a table without either holds nothing and refuses every append.
// drop_array frees them.
namespace state_runs {

template <class Row, class Index> void allocate(Row*& table, Index*& index, int size, int states) {
    if (size < 1 || states < 1)
        return;
    table = new Row[size];
    index = new Index[states];
}

} // namespace state_runs

#endif
