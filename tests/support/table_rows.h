#ifndef TEST_SUPPORT_TABLE_ROWS_H
#define TEST_SUPPORT_TABLE_ROWS_H

// Grammar tables written out inside a test, and the faults and output that a
// test reads back from the runtime.

#include <functional>
#include <iostream>
#include <sstream>
#include <string>

#include "ParseError.h"

namespace test_support {

// A table of class Table whose rows come from `rows`, appended once the base
// has been constructed with `sizes`, as a generated subclass appends them
// from its own fill().
template <class Table> class Rows : public Table {
public:
    using Filler = std::function<void(Table&)>;

    template <class... Sizes> explicit Rows(const Filler& rows, Sizes... sizes) : Table(sizes...) {
        if (rows)
            rows(*this);
    }
    void fill() override {}
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

// Runs f and answers what it wrote to stream, whose buffer is restored
// whatever f does.
template <class F> std::wstring written_to(std::wostream& stream, F f) {
    std::wostringstream captured;
    std::wstreambuf* saved = stream.rdbuf(captured.rdbuf());
    try {
        f();
    } catch (...) {
        stream.rdbuf(saved);
        throw;
    }
    stream.rdbuf(saved);
    return captured.str();
}

// What f wrote to the wide standard output.
template <class F> std::wstring wout_of(F f) {
    return written_to(std::wcout, f);
}

// What f wrote to the wide standard error.
template <class F> std::wstring werr_of(F f) {
    return written_to(std::wcerr, f);
}

} // namespace test_support

#endif
