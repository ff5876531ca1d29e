#ifndef PARSEDATA_H
#define PARSEDATA_H

#include "ErrorsTable.h"
#include "KeyKeyValueFixedTable.h"
#include "KeyValueFixedTable.h"
#include "ParseAction.h"
#include "Ranges.h"
#include "ReductionsTable.h"
#include "Terminals.h"
#include "conflicts_table.h"
#include "eqs_table.h"
#include "gotos_table.h"
#include "srs_defaults.h"
#include "srs_table.h"

// The base of every generated grammar: owns one object of each table class.
// A generated constructor fills the members it uses and leaves the others
// null; the destructor deletes every table that is present.
class ParseData {
public:
    Terminals* terminals;
    Ranges* ranges;
    ErrorsTable* error_msgs;
    gotos_table* gotostable;
    eqs_table* eqstable;
    srs_table* srstable;
    srs_defaults* srsdefaults;
    conflicts_table* conflictstable;
    KeyValueFixedTable* state_errors;
    KeyValueFixedTable* term_errors;
    KeyValueFixedTable* productions_errors;
    KeyKeyValueFixedTable* specialized_errors;
    ReductionsTable* reductions;
    KeyValueFixedTable* recovery_states;
    KeyValueFixedTable* ignorables;
    KeyValueFixedTable* sma;
    int input_case;

    ParseData();
    virtual ~ParseData();

protected:
    // Deletes the tables made so far; a generated constructor calls it when a
    // table's construction throws, before passing the exception on.
    void release();

private:
    ParseData(const ParseData&) = delete;
    ParseData& operator=(const ParseData&) = delete;
};

#endif
