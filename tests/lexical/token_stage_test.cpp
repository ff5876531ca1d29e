// The token stage lbasic: tokens, the alternatives it offers the parser, and
// shorter matches.

#include <gtest/gtest.h>

#include "lbasic_include.h"
#include "symbol_source.h"

namespace {

Sym t(int id, const std::wstring& text) {
    return Sym{id, text};
}

const Sym CR{CRTOK, L"\r"};

struct Case {
    Syms input;
    Syms tokens;
};

void expect_cases(const std::vector<Case>& cases, int input_case = 0) {
    static lbasic grammar;
    for (const Case& c : cases) {
        Stage stage(grammar, c.input);
        stage.lex().input_case = input_case;
        EXPECT_EQ(show(stage.all()), show(c.tokens)) << "input " << show(c.input);
    }
}

TEST(TokenStage, LineEndsCommentLinesAndColons) {
    expect_cases({
        {line(L"10") + line(L"!ANY TEXT") + line(L"20"),
         Syms{t(INT, L"10"), CR, t(INT, L"20"), CR}},
        {line(L"10") + line(L"") + line(L"  : :") + line(L"20"),
         Syms{t(INT, L"10"), CR, t(INT, L"20"), CR}},
        {line(L"!X"), Syms{t('!', L"!"), t(NAME, L"X"), CR}},
        {chars(L"\n!A") + Sym{0xBA, L"PRINT"} + chars(L"B\r"),
         Syms{t(0xBA, L"PRINT"), t(NAME, L"B"), CR}},
        {chars(L"::X"), Syms{t(COLON, L"::"), t(NAME, L"X")}},
    });
}

TEST(TokenStage, NumbersNamesAndOperators) {
    expect_cases({
        {chars(L"1.5E+X"), Syms{t(REAL, L"1.5E"), t(ADDOP, L"+"), t(NAME, L"X")}},
        {chars(L"1E-"), Syms{t(REAL, L"1E"), t(MINUS, L"-")}},
        {chars(L"1E+5"), Syms{t(REAL, L"1E+5")}},
        {chars(L".E5"), Syms{t(REAL, L".E5")}},
        {chars(L"1.E"), Syms{t(REAL, L"1.E")}},
        {chars(L"."), Syms{t(REAL, L".")}},
        {chars(L"1e5"), Syms{t(REAL, L"1e5")}},
        {chars(L"12"), Syms{t(INT, L"12")}},
        {chars(L"OK"), Syms{t(OK, L"OK")}},
        {chars(L"OK1"), Syms{t(NAME, L"OK1")}},
        {chars(L"OKA"), Syms{t(NAME, L"OKA")}},
        {chars(L"A$B%"), Syms{t(NAME, L"A$"), t(NAME, L"B%")}},
        {chars(L"<>=<"), Syms{t(RELOP, L"<>"), t('=', L"="), t(RELOP, L"<")}},
        {chars(L"=<"), Syms{t('=', L"="), t(RELOP, L"<")}},
        {chars(L"$%?;,()*/^"),
         Syms{t('$', L"$"), t('%', L"%"), t('?', L"?"), t(SEMI, L";"), t(COMMA, L","),
              t(LPAR, L"("), t(RPAR, L")"), t(MULTOP, L"*"), t(MULTOP, L"/"), t(POWOP, L"^")}},
        {chars(L"abc"), chars(L"abc")},
        {chars(L"#&@"), chars(L"#&@")},
    });
    expect_cases({{chars(L"abc"), Syms{t(NAME, L"abc")}}}, Input_ToUpper);
}

TEST(TokenStage, PreprocessorTokensAndKeywordCodes) {
    const Syms passing{t(LINE_COMMENT, L"REM X"), t(DATA_STMT, L"DATA 1"), t(MARK_a, L"a"),
                       t(0xBA, L"PRINT"), t(0xE9, L"\u00E9")};
    expect_cases({
        {Syms{t(CLC2, L"\"HI")}, Syms{t(CLC, L"\"HI")}},
        {Syms{t(MARK_A, L"A")}, Syms{t(MARK_A, L"A")}},
        {passing, passing},
        // A string of the stage's own must close on its line.
        {chars(L"\"AB\""), Syms{t(CLC, L"\"AB\"")}},
        {chars(L"\"AB\r"), Syms{t('"', L"\""), t(NAME, L"AB"), CR}},
    });
}

TEST(TokenStage, AlternativesOfTheAcceptingState) {
    static lbasic grammar;
    struct Alt {
        std::wstring input;
        std::vector<int> alternatives;
    };
    const std::vector<Alt> cases = {
        {L"10\r", {LINENUM, REAL}},
        {L"-", {ADDOP}},
        {L"=", {RELOP}},
        {L"OK", {NAME}},
        {L"OKA", {}},
        {L"X", {}},
        {L"+", {}},
        {L"#", {}},
    };
    for (const Alt& c : cases) {
        Stage stage(grammar, chars(c.input));
        stage.next();
        std::vector<int> got;
        for (int k = 1; stage.lex().equivalent(k) != -1; ++k)
            got.push_back(stage.lex().equivalent(k));
        EXPECT_EQ(got, c.alternatives) << "first token of " << show(chars(c.input));
    }
}

TEST(TokenStage, ShorterMatchesOfARejectedToken) {
    static lbasic grammar;
    struct Shorter {
        std::wstring input;
        Sym first;
        Sym shorter;
        Sym after; // the next token once the shorter one is taken
    };
    const std::vector<Shorter> cases = {
        {L"OK\r", t(OK, L"OK"), t(NAME, L"O"), t(NAME, L"K")},
        {L"OKX\r", t(NAME, L"OKX"), t(OK, L"OK"), t(NAME, L"X")},
        {L"12.5\r", t(REAL, L"12.5"), t(INT, L"12"), t(REAL, L".5")},
    };
    for (const Shorter& c : cases) {
        Stage stage(grammar, chars(c.input));
        stage.lex().sma = true;
        Sym first = stage.next();
        EXPECT_EQ(show({first}), show({c.first})) << "input " << show(chars(c.input));
        // The shorter token's text goes into the text string of the last next().
        int id = stage.lex().shorter_match(first.id);
        EXPECT_EQ(show({Sym{id, stage.text()}}), show({c.shorter}))
            << "shorter match of " << show({first});
        Sym after = stage.next();
        EXPECT_EQ(show({after}), show({c.after}))
            << "token after the shorter match of " << show({first});
    }
}

} // namespace
