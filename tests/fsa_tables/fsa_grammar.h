#ifndef FSA_TABLES_FSA_GRAMMAR_H
#define FSA_TABLES_FSA_GRAMMAR_H

// FSA grammars written out inside a test: each table is the runtime's own
// class, filled by a lambda in place of a generated fill() body.

#include "FSAParseData.h"
#include "table_rows.h"

namespace fsa_test {

using test_support::fault_of;
using test_support::Rows;
using test_support::wout_of;

// Every table the query layer needs, empty until a test sets it; the data
// object owns and deletes them.
class Grammar : public FSAParseData {
public:
    Grammar() {
        set(terminals, nullptr, 0);
        set(ranges, nullptr, 0);
        set(occurs, nullptr, 0);
        set(error_msgs, nullptr, 0);
        set(eqstable, nullptr, 0, 0, 0);
        set(slr_follows_table, nullptr, 0, 0, 0);
        set(followstable, nullptr, 0, 0);
        set(statefollows, nullptr, 0);
        set(nfatable, nullptr, 0, 0);
        set(state_errors, nullptr, 0);
        set(term_errors, nullptr, 0);
        set(productions_errors, nullptr, 0);
        set(specialized_errors, nullptr, 0);
        set(reductions, nullptr, 0);
        startId = 0;
    }

    // Replaces the table in `member` by one of `sizes` filled by `rows`.
    template <class Table, class... Sizes>
    void set(Table*& member, const typename Rows<Table>::Filler& rows, Sizes... sizes) {
        delete member;
        member = nullptr;
        member = new Rows<Table>(rows, sizes...);
    }
};

} // namespace fsa_test

#endif
