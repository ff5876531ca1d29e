#ifndef FSA_TABLES_FSA_GRAMMAR_H
#define FSA_TABLES_FSA_GRAMMAR_H

// FSA grammars written out inside a test: each table is the runtime's own
// class, filled by a lambda in place of a generated fill() body.

#include <functional>
#include <sstream>
#include <string>
#include <utility>

#include "FSAParseData.h"
#include "ParseError.h"

namespace fsa_test {

// A table of class Table whose rows come from `rows`, appended once the base
// has been constructed with `sizes` (as a generated subclass appends them
// from its own fill()).
template <class Table> class Rows : public Table {
public:
    using Filler = std::function<void(Table&)>;

    template <class... Sizes> explicit Rows(const Filler& rows, Sizes... sizes) : Table(sizes...) {
        if (rows)
            rows(*this);
    }
    void fill() override {}
};

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

// Runs f and answers the text of the ParseError it throws ("" when none).
template <class F> std::wstring fault_of(F f) {
    try {
        f();
    } catch (parsing::ParseError& e) {
        return e.describe();
    }
    return L"";
}

// Runs f and answers what it wrote to the wide standard output.
template <class F> std::wstring wout_of(F f) {
    std::wostringstream captured;
    std::wstreambuf* saved = std::wcout.rdbuf(captured.rdbuf());
    try {
        f();
    } catch (...) {
        std::wcout.rdbuf(saved);
        throw;
    }
    std::wcout.rdbuf(saved);
    return captured.str();
}

} // namespace fsa_test

#endif
