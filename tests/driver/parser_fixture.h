#ifndef DRIVER_PARSER_FIXTURE_H
#define DRIVER_PARSER_FIXTURE_H

#include <memory>
#include <string>

#include "LexAn.h"
#include "ParseAction.h"
#include "Parser.h"
#include "ParsingTable.h"
#include "_I_Scanner.h"

namespace test_support {

// A grammar with no rows at all: enough to hold a Parser or a LexAn whose
// only use in a test is to collect diagnostics or to carry a case mode.
class EmptyTable : public parsing::ParsingTable {
public:
    bool upper = false;

    int GOTO(int, int) override { return -1; }
    parsing::ParseAction& action(int state, int token, parsing::ParseAction& out) override {
        out.Do = parsing::_ERROR;
        out.value.ErrorId = -1;
        out.onState = state;
        out.onToken = token;
        return out;
    }
    int getConflicts(int, int) override { return 0; }
    parsing::ParseAction& getConflict(int s, int t, int, parsing::ParseAction& out) override {
        return action(s, t, out);
    }
    int BacktrackMark() override { return -34; }
    int EndMark() override { return -1; }
    int AnyMark() override { return -12; }
    int ErrorMark() override { return -4; }
    wchar_t* token(int) override { return nullptr; }
    int state_error(int) override { return -1; }
    int term_error(int) override { return -1; }
    int production_error(int) override { return -1; }
    int specific_error(int, int) override { return -1; }
    wchar_t* msg_error(int) override { return nullptr; }
    ::reduction& reduction(int, ::reduction& out) override {
        out = ::reduction{nullptr, 0, 0, -1, -1, 0, 0};
        return out;
    }
    bool recovery(int) override { return false; }
    bool ignore(int) override { return false; }
    bool sma(int) override { return false; }
    bool UpperCase() override { return upper; }
    bool LowerCase() override { return false; }
};

// A source that has nothing to read and stands at a fixed place, so that
// stamped diagnostics show a known file name and line.
class FixedPlace : public capi::interfaces::_I_Scanner {
public:
    std::wstring name = L"prog.bas";
    int at = 7;

    int next(std::wstring* text) override {
        if (text)
            text->clear();
        return -1;
    }
    bool eof() override { return true; }
    bool available() override { return false; }
    std::wstring& source() override { return name; }
    int line() override { return at; }
    int equivalent(int) override { return -1; }
};

// A main Parser reading a last lexical stage that stands at prog.bas, line 7.
class ParserFixture {
public:
    EmptyTable table;
    FixedPlace place;

    parsing::LexAn& stage() {
        if (!stage_)
            stage_.reset(new parsing::LexAn(place, table, nullptr));
        return *stage_;
    }
    parsing::Parser& parser() {
        if (!parser_)
            parser_.reset(new parsing::Parser(stage(), table, nullptr));
        return *parser_;
    }

private:
    std::unique_ptr<parsing::LexAn> stage_;
    std::unique_ptr<parsing::Parser> parser_;
};

} // namespace test_support

#endif
