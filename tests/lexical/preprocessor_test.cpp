// The preprocessor stage over single lines as the reader hands them on.

#include <gtest/gtest.h>

#include "Translator.h"
#include "lbasic_include.h"
#include "preprocessor_include.h"
#include "symbol_source.h"

namespace {

const Syms CRLF = chars(L"\r\n");

Sym tok(int id, const std::wstring& text) {
    return Sym{id, text};
}

// The run's host as the preprocessor's lexer actions see it: the dialect and
// whether the file's last stage folds to upper case.
class Host {
public:
    Host(bool uk101, bool folds) : last_(lbasic_, Syms{}) {
        translator.is_uk101 = uk101;
        last_.lex().input_case = folds ? Input_ToUpper : Input_Sensitive;
        translator.LexAn = &last_.lex();
    }
    Translator translator;

private:
    lbasic lbasic_;
    Stage last_;
};

struct Case {
    std::wstring line;
    Syms tokens; // before the CR LF, which pass through as characters
};

void expect_cases(const std::vector<Case>& cases, Host& host) {
    static preprocessor grammar;
    for (const Case& c : cases) {
        Stage stage(grammar, line(c.line), &host.translator);
        Syms want = c.tokens + CRLF;
        EXPECT_EQ(show(stage.all()), show(want)) << "line «" << show(chars(c.line)) << "»";
    }
}

TEST(Preprocessor, StringsCommentsAndDataStatements) {
    Host host(false, false);
    expect_cases(
        {
            {L"10 DATA 1, \"A,B\", XYZ: REM HELLO",
             chars(L"10") + tok(DATA_STMT, L"DATA 1, \"A,B\", XYZ") + chars(L":") +
                 tok(LINE_COMMENT, L"REM HELLO")},
            {L"PRINT \"HI", chars(L"PRINT") + tok(CLC2, L"\"HI")},
            {L"\"CAF\u00E9 X\"", Syms{tok(CLC2, L"\"CAF")} + chars(L"\u00E9X") + tok(CLC2, L"\"")},
            {L"\"A\"\t\"B\"", Syms{tok(CLC2, L"\"A\""), tok(CLC2, L"\"B\"")}},
            {L"DATA \"A\" ,1", Syms{tok(DATA_STMT, L"DATA \"A\"")} + chars(L",1")},
            {L"DATA 1,\"A\" ,2", Syms{tok(DATA_STMT, L"DATA 1,\"A\" ,2")}},
            {L"DATA \"AB\" X", Syms{tok(DATA_STMT, L"DATA \"AB\"")} + chars(L"X")},
            {L"DATA \"A,B\" X", Syms{tok(DATA_STMT, L"DATA \"A,B\" X")}},
            {L"DATA \"X:Y", Syms{tok(DATA_STMT, L"DATA \"X:Y")}},
            {L"DATA AB\"C:D", Syms{tok(DATA_STMT, L"DATA AB\"C")} + chars(L":D")},
            {L"D A T A 1", Syms{tok(DATA_STMT, L"D A T A 1")}},
            {L"data,,", Syms{tok(DATA_STMT, L"data,,")}},
            {L"DATA", Syms{tok(DATA_STMT, L"DATA")}},
            {L"DATA 1\u00E92", Syms{tok(DATA_STMT, L"DATA 1")} + chars(L"\u00E92")},
            {L"R E M X", Syms{tok(LINE_COMMENT, L"R E M X")}},
            {L"rem X", chars(L"remX")},
            {L"REM \u2019OK\u2019 \u2013\u201C\u00E9",
             Syms{tok(LINE_COMMENT, L"REM \u2019OK\u2019 \u2013\u201C")} + chars(L"\u00E9")},
            {L"RE X", chars(L"REX")},
            {L"DAT X", chars(L"D") + tok(MARK_A, L"A") + chars(L"TX")},
            {std::wstring(1, L'\0') + L"\u0080\u00BA",
             chars(std::wstring(1, L'\0') + L"\u0080\u00BA")},
        },
        host);
}

TEST(Preprocessor, MarksTheAOfAT) {
    Host host(false, false);
    expect_cases(
        {
            {L"AT 5", Syms{tok(MARK_A, L"A")} + chars(L"T5")},
            {L"AT5", Syms{tok(MARK_A, L"A")} + chars(L"T5")},
            {L"A T N", Syms{tok(MARK_A, L"A")} + chars(L"TN")},
            {L"ATn", Syms{tok(MARK_A, L"A")} + chars(L"Tn")},
            {L"At 5", Syms{tok(MARK_A, L"A")} + chars(L"t5")},
            {L"At", Syms{tok(MARK_A, L"A")} + chars(L"t")},
            {L"ATN(1)", chars(L"ATN(1)")},
            {L"A TO B", chars(L"ATOB")},
            {L"AtN", chars(L"AtN")},
            {L"Ato", chars(L"Ato")},
            {L"A", chars(L"A")},
            {L"AT\u00E9", chars(L"AT\u00E9")},
            // Without folding a lower-case a stays a character.
            {L"at 1", chars(L"at1")},
        },
        host);
}

TEST(Preprocessor, LowerCaseMarkFollowsTheDialectAndTheFolding) {
    Host folding(false, true);
    expect_cases({{L"at 1", Syms{tok(MARK_a, L"a")} + chars(L"t1")},
                  {L"aT", Syms{tok(MARK_a, L"a")} + chars(L"T")},
                  {L"AT 5", Syms{tok(MARK_A, L"A")} + chars(L"T5")}},
                 folding);
    Host uk101(true, false);
    expect_cases({{L"AT 5", chars(L"AT5")}, {L"at 1", chars(L"at1")}}, uk101);
}

} // namespace
