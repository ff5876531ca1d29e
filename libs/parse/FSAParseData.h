#ifndef FSAPARSEDATA_H
#define FSAPARSEDATA_H

#include "ErrorsTable.h"
#include "KeyKeyValueFixedTable.h"
#include "KeyValueFixedTable.h"
#include "Occurs.h"
#include "Ranges.h"
#include "ReductionsTable.h"
#include "Terminals.h"
#include "conflicts_table.h"
#include "eqs_table.h"
#include "follows_table.h"
#include "nfa_table.h"
#include "slr_table.h"
#include "state_follows.h"

// One grammar of the FSA engine. A grammar class derives from it, creates
// every table with new (a subclass whose fill() appends the rows), sets the
// settings and calls build_indexes() once; this object then owns the tables
// and deletes them. Positions ("terminal positions") are row indexes of
// `terminals`, whose rows ascend by id.
class FSAParseData {
public:
    Terminals* terminals;
    Ranges* ranges;
    Occurs* occurs;
    ErrorsTable* error_msgs;
    eqs_table* eqstable;
    slr_table* slr_follows_table;
    follows_table* followstable;
    state_follows* statefollows;
    nfa_table* nfatable;
    conflicts_table* conflictstable;
    KeyValueFixedTable* state_errors;
    KeyValueFixedTable* term_errors;
    KeyValueFixedTable* productions_errors;
    KeyKeyValueFixedTable* specialized_errors;
    ReductionsTable* reductions;
    KeyValueFixedTable* recovery_states; // keys only; may stay null
    KeyValueFixedTable* ignorables;      // keys only; may stay null
    int startId;
    bool indexed;    // the cached positions and index arrays may be used
    bool init_error; // a range or reduction row names a symbol terminals lacks
    bool built_eqs_index;
    bool built_srs_follows_index;
    bool built_ranged_id_index;
    bool built_reductions_index;
    int input_case; // a the_input_case value
    bool disambiguate;
    bool unambiguous;
    bool slr_follows;
    bool built_tokens_index;
    int* TokensIndex; // 65536 terminal positions (or -1), by id
    int max_terminal; // highest id whose TokensIndex entry is above 0; -1: none

    FSAParseData();
    virtual ~FSAParseData();

    // The four table builders, in this order; `indexed` ends true unless one
    // of them met a symbol that terminals lacks.
    void build_indexes();
    void build_ranged_id_index();
    void build_eqs_index();
    void build_srs_follows_index();
    void build_reductions_index();
    // The direct id -> position index; built once, by the first
    // FSAParsingTable2 over this data.
    void build_tokens_index();

private:
    FSAParseData(const FSAParseData&) = delete;
    FSAParseData& operator=(const FSAParseData&) = delete;
};

#endif
