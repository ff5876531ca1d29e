// The keyword stages: the Applesoft keywords (lkeys) and the UK-101 ones
// (lkeys_uk101) over the preprocessor's output.

#include <gtest/gtest.h>

#include "lkeys_include.h"
#include "lkeys_uk101_include.h"
#include "symbol_source.h"

namespace {

Sym kw(int code, const std::wstring& text) {
    return Sym{code, text};
}

struct Case {
    Syms input;
    Syms tokens;
};

void expect_cases(ParseData& grammar, const std::vector<Case>& cases, int input_case = 0) {
    for (const Case& c : cases) {
        Stage stage(grammar, c.input);
        stage.lex().input_case = input_case;
        EXPECT_EQ(show(stage.all()), show(c.tokens)) << "input " << show(c.input);
    }
}

TEST(Keywords, LongestSpellingWinsAndFailedAttemptsFallBack) {
    lkeys g;
    expect_cases(g, {
                        {chars(L"PRINTX"), Syms{kw(0xBA, L"PRINT")} + chars(L"X")},
                        {chars(L"SCORE"), chars(L"SC") + kw(0xCE, L"OR") + chars(L"E")},
                        {chars(L"FORM"), Syms{kw(0x81, L"FOR")} + chars(L"M")},
                        {chars(L"ONERR"), Syms{kw(0xA5, L"ONERR")}},
                        {chars(L"ONEX"), Syms{kw(0xB4, L"ON")} + chars(L"EX")},
                        {chars(L"NOTRAX"), Syms{kw(0xC6, L"NOT")} + chars(L"RAX")},
                        {chars(L"NOTRACE"), Syms{kw(0x9C, L"NOTRACE")}},
                        {chars(L"HGR2"), Syms{kw(0x90, L"HGR2")}},
                        {chars(L"HGR3"), Syms{kw(0x91, L"HGR")} + chars(L"3")},
                        {chars(L"ATN"), Syms{kw(0xE1, L"ATN")}},
                        {chars(L"ATO"), chars(L"A") + kw(0xC1, L"TO")},
                        {chars(L"XPLOT"), Syms{kw(0xEB, L"XPLOT")}},
                        {chars(L"IN#6"), Syms{kw(0x8B, L"IN#")} + chars(L"6")},
                        {chars(L"CHR$(65)"), Syms{kw(0xE7, L"CHR$")} + chars(L"(65)")},
                        {chars(L"J Y Z"), chars(L"J Y Z")},
                    });
}

TEST(Keywords, LookAheadKeywordsNeedTheirCharacter) {
    lkeys g;
    expect_cases(g, {
                        {chars(L"COLOR=3"), Syms{kw(0xA0, L"COLOR")} + chars(L"=3")},
                        {chars(L"COLOR\r"), chars(L"COL") + kw(0xCE, L"OR") + chars(L"\r")},
                        {chars(L"HIMEM:"), Syms{kw(0xA3, L"HIMEM")} + chars(L":")},
                        {chars(L"SCRN("), Syms{kw(0xD7, L"SCRN")} + chars(L"(")},
                        {chars(L"TAB("), Syms{kw(0xC0, L"TAB")} + chars(L"(")},
                        {chars(L"SPC5"), chars(L"SPC5")},
                        {chars(L"ROT"), chars(L"ROT")},
                        {chars(L"HCOLOR=1"), Syms{kw(0x92, L"HCOLOR")} + chars(L"=1")},
                    });
}

TEST(Keywords, AtComesOnlyFromAMarkedLetter) {
    lkeys g;
    const Sym A{65649, L"A"}, a{65650, L"a"};
    expect_cases(
        g, {
               {Syms{A} + chars(L"T5"), Syms{kw(0xC5, L"AT")} + chars(L"5")},
               {Syms{a} + chars(L"T"), Syms{kw(0xC5, L"aT")}},
               {Syms{A} + chars(L"t"), Syms{A} + chars(L"t")},
               {Syms{A}, Syms{A}},
               // 65652 is made by no stage; its rule still stands.
               {Syms{Sym{65652, L"@"}, Sym{65541, L"c"}}, Syms{kw(0xC5, L"@")} + Sym{65541, L"c"}},
               {Syms{Sym{65652, L"@"}} + chars(L" \tn"), Syms{kw(0xC5, L"@")} + chars(L" \tn")},
               {Syms{Sym{65652, L"@"}} + chars(L"X"), Syms{Sym{65652, L"@"}} + chars(L"X")},
           });
}

TEST(Keywords, CaseFoldingAndCodesThatPassThrough) {
    lkeys g;
    const Syms passing =
        Syms{Sym{CLC2, L"\"HI\""}, Sym{LINE_COMMENT, L"REM X"}, Sym{DATA_STMT, L"DATA 1"}} +
        chars(L"\u00BA");
    expect_cases(g, {{chars(L"print"), chars(L"print")}, {passing, passing}});
    expect_cases(g,
                 {{chars(L"print"), Syms{kw(0xBA, L"print")}},
                  {chars(L"rem"), Syms{kw(0xB2, L"rem")}},
                  {Syms{Sym{65649, L"A"}} + chars(L"t"), Syms{kw(0xC5, L"At")}}},
                 Input_ToUpper);
}

TEST(Uk101Keywords, TheSmallerSetWithoutLookAhead) {
    lkeys_uk101 g;
    expect_cases(g, {
                        {chars(L"SPC"), Syms{kw(0xC3, L"SPC")}},
                        {chars(L"SPC("), Syms{kw(0xC3, L"SPC")} + chars(L"(")},
                        {chars(L"COLOR=3"), chars(L"COL") + kw(0xCE, L"OR") + chars(L"=3")},
                        {chars(L"HGR"), chars(L"HGR")},
                        {chars(L"GET"), chars(L"GET")},
                        {chars(L"TAB("), chars(L"TAB(")},
                        {chars(L"DRAW"), chars(L"DRAW")},
                        {chars(L"INVERSE"), chars(L"INVERSE")},
                        {chars(L"IN#"), chars(L"IN#")},
                        {chars(L"AT"), chars(L"AT")},
                        {chars(L"ATN"), Syms{kw(0xE1, L"ATN")}},
                        {chars(L"NORMAL"), Syms{kw(0x9D, L"NORMAL")}},
                        {chars(L"STORE"), Syms{kw(0xA8, L"STORE")}},
                        {chars(L"SHLOAD"), Syms{kw(0x9A, L"SHLOAD")}},
                        {chars(L"ONERR"), Syms{kw(0xA5, L"ONERR")}},
                        {chars(L"print"), chars(L"print")},
                        {chars(L"SCORE"), chars(L"SC") + kw(0xCE, L"OR") + chars(L"E")},
                    });
}

} // namespace
