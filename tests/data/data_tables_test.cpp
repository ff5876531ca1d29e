// The generated tables of the two DATA grammars, read through the runtime:
// the DATA scanner's symbols, character classes, automaton and alternatives,
// and the DATA parser's rows as the parser looks them up.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ParseAction.h"
#include "SimpleParsingTable.h"
#include "data_parser_include.h"
#include "data_scanner_include.h"

namespace {

using parsing::ParseAction;
using parsing::SimpleParsingTable;

const int DATA = 131, INTEGER = 65554, REAL = 65569, STRING = 65551, LITERAL = 65594, COMMA = 65559,
          SPACES = 65540;

std::string shown(int c) {
    if (c >= 32 && c < 127)
        return std::string("'") + static_cast<char>(c) + "'";
    return "#" + std::to_string(c);
}

TEST(DataScannerTables, Sizes) {
    data_scanner g;
    EXPECT_EQ(g.terminals->size, 244);
    EXPECT_EQ(g.terminals->endmark, -1);
    EXPECT_EQ(g.terminals->anymark, -12);
    EXPECT_EQ(g.eqstable->size, 107);
    EXPECT_EQ(g.eqstable->terms, 107);
    EXPECT_EQ(g.eqstable->hashing, 256);
    EXPECT_EQ(g.srstable->size, 706);
    EXPECT_EQ(g.srstable->states, 27);
    EXPECT_EQ(g.gotostable->size, 0);
    EXPECT_EQ(g.gotostable->states, 27);
    EXPECT_EQ(g.conflictstable->size, 15);
    EXPECT_EQ(g.conflictstable->states, 14);
    EXPECT_EQ(g.reductions->size, 7);
    EXPECT_EQ(g.error_msgs->size, 0);
    EXPECT_EQ(g.state_errors->size, 0);
    EXPECT_EQ(g.recovery_states->size, 0);
    EXPECT_EQ(g.sma->size, 0);
    EXPECT_EQ(g.srsdefaults, nullptr);
    EXPECT_EQ(g.input_case, Input_Sensitive);
    SimpleParsingTable t(g);
    EXPECT_TRUE(t.ignore(SPACES));
    EXPECT_FALSE(t.ignore(LITERAL));
}

// Every character 1 to 127 has a reserved row of category 0: its level
// groups it as the generator's grammar reads it, and it is named by itself
// unless it belongs to the run of unnamed characters.
TEST(DataScannerTables, CharacterSymbols) {
    data_scanner g;
    SimpleParsingTable t(g);
    const std::wstring level4 = L"\t \"ADTadt", level3 = L",.", level5 = L"!+-/Ee";
    auto unnamed = [](int c) {
        return (c >= 2 && c <= 8) || (c >= 14 && c <= 32) || c == 39 || c == 64 || c == 74 ||
               c == 89 || c == 92 || c == 95 || c == 96 || c == 98 || (c >= 102 && c <= 109) ||
               (c >= 112 && c <= 115) || (c >= 117 && c <= 121) || c == 126;
    };
    for (int c = 1; c <= 127; ++c) {
        int pos = g.terminals->posOfKey(c);
        ASSERT_GE(pos, 0) << "no symbol row for " << shown(c);
        const pg_keyword& row = g.terminals->table[pos];
        int level = 0;
        if (level4.find(static_cast<wchar_t>(c)) != std::wstring::npos)
            level = 4;
        else if (level3.find(static_cast<wchar_t>(c)) != std::wstring::npos)
            level = 3;
        else if (level5.find(static_cast<wchar_t>(c)) != std::wstring::npos)
            level = 5;
        else if (c == ':')
            level = 8;
        EXPECT_EQ(row.level, level) << "level of " << shown(c);
        EXPECT_EQ(row.category, 0) << shown(c);
        EXPECT_TRUE(row.reserved) << shown(c);
        std::wstring name = unnamed(c) ? L" " : std::wstring(1, static_cast<wchar_t>(c));
        EXPECT_EQ(std::wstring(row.str), name) << "name of " << shown(c);
    }
    EXPECT_LT(g.terminals->posOfKey(0), 0);
    EXPECT_LT(g.terminals->posOfKey(128), 0);
    EXPECT_LT(g.terminals->posOfKey(65536), 0) << "no start symbol 'token' in this grammar";
}

TEST(DataScannerTables, NamedSymbols) {
    data_scanner g;
    struct Row {
        int id;
        short category;
        int level;
        bool reserved;
        const wchar_t* name;
    };
    const Row rows[] = {
        {-12, 0, 0, true, L"ANY"},
        {-1, 0, 2, false, L"EOF"},
        {DATA, 0, 2, false, L"DATA"},
        {SPACES, 0, 2, false, L"spaces"},
        {LITERAL, 0, 2, false, L"literal"},
        {COMMA, 0, 2, false, L","},
        {65577, 0, 6, false, L"digit-string"},
        {65646, 0, 1, false, L"data-element"},
        {65669, 0, 3, false, L"digit-first"},
        {65672, 1, 4, true, L" "},
        {65673, 1, 0, false, L" "},
        {65675, 0, 5, true, L"u000B....x000C"},
        {65684, 0, 5, true, L"117....u007f"},
        {65685, 1, 4, false, L" "},
        {65698, 1, 8, false, L" "},
        {65737, 1, 3, false, L" "},
        {65739, 1, 7, false, L" "},
        {65741, 1, 4, false, L" "},
        {65756, 0, 5, false, L"_ 0....9_$65756"},
        {65765, 0, 6, false, L"[__65697__[__65698__]]$65765"},
        {65770, 0, 6, false, L"_65700_$65770"},
    };
    for (const Row& r : rows) {
        int pos = g.terminals->posOfKey(r.id);
        ASSERT_GE(pos, 0) << "no symbol row " << r.id;
        const pg_keyword& k = g.terminals->table[pos];
        EXPECT_EQ(k.category, r.category) << "symbol " << r.id;
        EXPECT_EQ(k.level, r.level) << "symbol " << r.id;
        EXPECT_EQ(k.reserved, r.reserved) << "symbol " << r.id;
        EXPECT_EQ(std::wstring(k.str), r.name) << "symbol " << r.id;
    }
    EXPECT_LT(g.terminals->posOfKey(65738), 0) << "65738 has no row";
    EXPECT_EQ(g.terminals->table[g.terminals->size - 1].id, 65770);
}

TEST(DataScannerTables, ProductionsAndActions) {
    data_scanner g;
    const int ids[] = {DATA, INTEGER, REAL, STRING, LITERAL, COMMA, SPACES};
    for (int p = 0; p < 7; ++p) {
        const ::reduction& rd = g.reductions->table[p];
        EXPECT_EQ(rd.state, ids[p]) << "production " << p;
        EXPECT_EQ(rd.NumberOfParameters, 1) << "production " << p;
        EXPECT_EQ(rd.ProductionLine, p + 1) << "production " << p;
        EXPECT_EQ(rd.category, 0) << "production " << p;
        EXPECT_EQ(rd.semanticAction != nullptr, p < 3) << "production " << p;
    }
}

// The automaton as a table of targets: one column per group of input
// characters that the rows treat alike, -1 for no row; the last column is
// the production of the state's default accept, -1 for none.
TEST(DataScannerTables, Automaton) {
    const std::vector<std::wstring> columns = {
        L"\t ",                                           // blank
        L"0123456789",                                    // digit
        L".",                                             // '.'
        L"+-",                                            // sign
        L"Ee",                                            // E
        L"Dd",                                            // D
        L"Aa",                                            // A
        L"Tt",                                            // T
        L"\"",                                            // Q
        L",",                                             // ','
        L":",                                             // ':'
        L"!/\x01\x08\x0B\x0C\x0E\x1F#*;@BCFSU`bcfsu\x7F", // other
    };
    const int X = -1;
    const int automaton[27][13] = {
        {15, 2, 1, 18, 16, 20, 16, 16, 17, 19, X, 16, X},
        {1, 1, 16, 16, 3, 16, 16, 16, 16, X, X, 16, 2},
        {2, 2, 4, 16, 5, 16, 16, 16, 16, X, X, 16, 1},
        {3, 6, 16, 23, 16, 16, 16, 16, 16, X, X, 16, 2},
        {7, 7, 16, 16, 3, 16, 16, 16, 16, X, X, 16, 2},
        {5, 8, 16, 25, 16, 16, 16, 16, 16, X, X, 16, 2},
        {6, 6, 16, 16, 16, 16, 16, 16, 16, X, X, 16, 2},
        {7, 7, 16, 16, 11, 16, 16, 16, 16, X, X, 16, 2},
        {8, 8, 16, 16, 16, 16, 16, 16, 16, X, X, 16, 2},
        {9, 6, 16, 16, 16, 16, 16, 16, 16, X, X, 16, 2},
        {16, 16, 16, 16, 16, 16, 16, 16, 16, X, X, 16, 0},
        {11, 13, 16, 26, 16, 16, 16, 16, 16, X, X, 16, 2},
        {12, 8, 16, 16, 16, 16, 16, 16, 16, X, X, 16, 2},
        {13, 13, 16, 16, 16, 16, 16, 16, 16, X, X, 16, 2},
        {14, 13, 16, 16, 16, 16, 16, 16, 16, X, X, 16, 2},
        {15, X, X, X, X, X, X, X, X, 19, X, X, 6},
        {16, 16, 16, 16, 16, 16, 16, 16, 16, X, X, 16, 4},
        {17, 17, 17, 17, 17, 17, 17, 17, 21, 17, 17, 17, 3},
        {18, 2, 1, 16, 16, 16, 16, 16, 16, X, X, 16, 4},
        {19, X, X, X, X, X, X, X, X, X, X, X, 5},
        {20, 16, 16, 16, 16, 16, 22, 16, 16, X, X, 16, 4},
        {X, X, X, X, X, X, X, X, X, X, X, X, 3},
        {22, 16, 16, 16, 16, 16, 16, 24, 16, X, X, 16, 4},
        {9, 6, 16, 16, 16, 16, 16, 16, 16, X, X, 16, 4},
        {24, 16, 16, 16, 16, 16, 10, 16, 16, X, X, 16, 4},
        {12, 8, 16, 16, 16, 16, 16, 16, 16, X, X, 16, 4},
        {14, 13, 16, 16, 16, 16, 16, 16, 16, X, X, 16, 4},
    };
    data_scanner g;
    SimpleParsingTable t(g);
    ParseAction a;
    for (int s = 0; s < 27; ++s) {
        for (std::size_t col = 0; col < columns.size(); ++col) {
            for (wchar_t c : columns[col]) {
                t.action(s, c, a);
                int want = automaton[s][col];
                if (want < 0) {
                    EXPECT_EQ(a.Do, parsing::_ERROR) << "state " << s << " on " << shown(c);
                } else {
                    EXPECT_EQ(a.Do, parsing::_SHIFT) << "state " << s << " on " << shown(c);
                    EXPECT_EQ(a.value.NextState, want) << "state " << s << " on " << shown(c);
                }
            }
        }
        for (int c : {0, 10, 13, 128, 0xE9})
            EXPECT_EQ(t.action(s, c, a).Do, parsing::_ERROR) << "state " << s << " on " << c;
        t.action(s, -1, a);
        if (automaton[s][12] < 0) {
            EXPECT_EQ(a.Do, parsing::_ERROR) << "state " << s << " accepts nothing";
        } else {
            EXPECT_EQ(a.Do, parsing::_REDUCE) << "default accept of state " << s;
            EXPECT_EQ(a.value.ReduceId, automaton[s][12]) << "default accept of state " << s;
        }
    }
}

// Alternatives, in order, of the states that have them: a real is also a
// literal, an integer a real and then a literal, the keyword a literal.
TEST(DataScannerTables, Alternatives) {
    data_scanner g;
    SimpleParsingTable t(g);
    ParseAction a;
    for (int s = 0; s < 27; ++s) {
        std::vector<int> want;
        if (s == 2)
            want = {2, 4};
        else if (s >= 1 && s <= 14)
            want = {4};
        std::vector<int> got;
        for (int k = 1; k <= 3; ++k) {
            t.getConflict(s, -1, k, a);
            if (a.Do == parsing::_ERROR)
                break;
            EXPECT_EQ(a.Do, parsing::_REDUCE) << "state " << s << " alternative " << k;
            got.push_back(a.value.ReduceId);
        }
        EXPECT_EQ(got, want) << "alternatives of state " << s;
    }
}

TEST(DataParserTables, RowsAsTheParserReadsThem) {
    data_parser g;
    SimpleParsingTable t(g);
    EXPECT_EQ(g.terminals->size, 16);
    EXPECT_EQ(g.terminals->errormark, -4);
    EXPECT_EQ(g.srstable->size, 15);
    EXPECT_EQ(g.srstable->states, 6);
    EXPECT_EQ(g.gotostable->states, 5);
    EXPECT_EQ(g.input_case, Input_Sensitive);
    EXPECT_EQ(t.ErrorMark(), -4);
    ParseAction a;
    // States 1 and 4 reject DATA, so that its alternative literal is tried;
    // 3 and 5 reduce before anything.
    struct Row {
        int state, token;
        parsing::ActionType what;
        int value;
    };
    const Row rows[] = {
        {0, DATA, parsing::_SHIFT, 1},     {0, LITERAL, parsing::_ERROR, 0},
        {1, DATA, parsing::_ERROR, 0},     {1, -1, parsing::_REDUCE, 1},
        {1, COMMA, parsing::_REDUCE, 1},   {1, REAL, parsing::_SHIFT, 3},
        {2, -1, parsing::_FINISH, 0},      {2, LITERAL, parsing::_ERROR, 0},
        {3, LITERAL, parsing::_REDUCE, 2}, {3, COMMA, parsing::_SHIFT, 4},
        {4, DATA, parsing::_ERROR, 0},     {4, STRING, parsing::_SHIFT, 5},
        {5, 58, parsing::_REDUCE, 0},      {5, -1, parsing::_REDUCE, 0},
    };
    for (const Row& r : rows) {
        t.action(r.state, r.token, a);
        EXPECT_EQ(a.Do, r.what) << "state " << r.state << " on " << r.token;
        if (r.what == parsing::_SHIFT || r.what == parsing::_REDUCE) {
            EXPECT_EQ(a.value.ReduceId, r.value) << "state " << r.state << " on " << r.token;
        }
    }
    EXPECT_EQ(t.GOTO(1, 65645), 3);
    EXPECT_EQ(t.GOTO(4, 65646), 5);
    EXPECT_TRUE(t.sma(LITERAL));
    EXPECT_FALSE(t.sma(DATA));
    EXPECT_EQ(std::wstring(t.msg_error(t.state_error(2))), L"Expected :\"EOF\".");
    EXPECT_EQ(t.state_error(4), 1);
    EXPECT_LT(t.state_error(5), 0);
    EXPECT_EQ(std::wstring(t.token(INTEGER)), L"integer-literal-constant");
    EXPECT_EQ(t.token(58), nullptr);
}

} // namespace
