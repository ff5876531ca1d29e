// A Parser keeps one copy of each diagnostic text, however many diagnostics
// repeat it, and still hands every diagnostic out whole: through getErrors,
// through errorAt, and through describe and format of what it keeps.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DataStringScanner.h"
#include "ParseError.h"
#include "Parser.h"
#include "SimpleParsingTable.h"
#include "data_parser_include.h"

using parsing::ParseError;

namespace {

struct KeptDiagnostics : ::testing::Test {
    std::wstring input = L"";
    parsing::DataStringScanner scanner{input};
    data_parser grammar;
    parsing::SimpleParsingTable table{grammar};
    parsing::Parser parser{scanner, table, nullptr};

    // The diagnostics as the driver gets them: (type, text, line).
    struct row {
        int type;
        std::wstring text;
        int line;
    };
    std::vector<row> rows = {
        {parsing::Syntax, L"Unexpected: CR. Expected :\"(\", \"ABS\", or \"name\". ", 3},
        {parsing::warning, L"Label '10' redefined.", 4},
        {parsing::Syntax, L"Unexpected: CR. Expected :\"(\", \"ABS\", or \"name\". ", 9},
        {parsing::Semantic, L"", 12},
        {parsing::Syntax, L"Unexpected: CR. Expected :\"(\", \"ABS\", or \"name\". ", 15},
    };

    void keep_all() {
        for (const row& r : rows) {
            ParseError e(1, r.text.c_str(), r.type, false, true);
            e._source = L"prog.bas";
            e._line = r.line;
            parser.put_error(e);
        }
    }
    static std::wstring formatted(const ParseError& e) {
        std::wstring out;
        return e.format(out);
    }
};

TEST_F(KeptDiagnostics, RepeatedTextsAreKeptOnce) {
    keep_all();
    ASSERT_EQ(parser.errorCount(), rows.size());
    const auto& kept = parser.errors;
    EXPECT_TRUE(kept[0].txt.empty()) << "the first text went to the store";
    ASSERT_TRUE(kept[0].shared_txt);
    EXPECT_EQ(kept[0].shared_txt, kept[2].shared_txt) << "diagnostics 1 and 3 repeat one text";
    EXPECT_EQ(kept[0].shared_txt, kept[4].shared_txt) << "diagnostics 1 and 5 repeat one text";
    EXPECT_NE(kept[0].shared_txt, kept[1].shared_txt) << "diagnostic 2 has a text of its own";
    EXPECT_EQ(kept[0].shared_txt.use_count(), 4) << "three diagnostics and the store";
}

TEST_F(KeptDiagnostics, EveryWayOutGivesTheWholeDiagnostic) {
    keep_all();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        ParseError plain(1, rows[i].text.c_str(), rows[i].type, false, true);
        plain._source = L"prog.bas";
        plain._line = rows[i].line;
        const ParseError& kept = parser.errors[i];
        EXPECT_EQ(kept.describe(), rows[i].text) << "describe of diagnostic " << i + 1;
        EXPECT_EQ(formatted(kept), formatted(plain)) << "format of diagnostic " << i + 1;
        ParseError copy = parser.errorAt(i);
        EXPECT_EQ(copy.txt, rows[i].text) << "errorAt gives the text in txt, diagnostic " << i + 1;
        EXPECT_FALSE(copy.shared_txt);
        EXPECT_EQ(copy._line, rows[i].line);
        EXPECT_EQ(copy.type(), rows[i].type);
    }
    std::deque<ParseError>& all = parser.getErrors();
    ASSERT_EQ(all.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(all[i].txt, rows[i].text)
            << "getErrors gives the text in txt, diagnostic " << i + 1;
        EXPECT_FALSE(all[i].shared_txt);
    }
    // Kept after getErrors: shared again, and still whole.
    ParseError more(1, rows[0].text.c_str(), parsing::Syntax, false, true);
    parser.put_error(more);
    EXPECT_TRUE(parser.errors.back().txt.empty());
    EXPECT_EQ(parser.errorAt(rows.size()).txt, rows[0].text);
    EXPECT_TRUE(parser.hasErrors());
}

// The syntax diagnostics that the parser makes itself: one made again (the
// same state, token and token text) comes out as a parser that makes it for
// the first time makes it, code, text and quoted word alike, and shares the
// text kept for the first.
TEST_F(KeptDiagnostics, RepeatedSyntaxErrorsComeOutAsTheFirst) {
    struct Case {
        int state;
        int token;
        std::wstring word;
    };
    const int literal = 65594;
    const std::vector<Case> cases = {
        {0, literal, L"X 1"}, {0, literal, L"X 1"}, {0, literal, L"Y"},
        {0, literal, L"X 1"}, {1, ':', L":"},       {4, ':', L":"},
        {1, ':', L":"},       {0, -1, L""},         {0, -1, L""},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        parser.word = c.word;
        const int code = parser.error(c.state, c.token);
        parsing::Parser fresh{scanner, table, nullptr};
        fresh.word = c.word;
        EXPECT_EQ(code, fresh.error(c.state, c.token)) << "case " << i + 1;
        EXPECT_EQ(parser.errors.back().describe(), fresh.errors.back().describe())
            << "case " << i + 1;
        EXPECT_EQ(parser.fmt_word, fresh.fmt_word) << "case " << i + 1;
        EXPECT_EQ(parser.errors.back()._line, fresh.errors.back()._line) << "case " << i + 1;
    }
    const auto& kept = parser.errors;
    ASSERT_EQ(kept.size(), cases.size());
    EXPECT_EQ(kept[0].shared_txt, kept[1].shared_txt);
    EXPECT_EQ(kept[0].shared_txt, kept[3].shared_txt);
    EXPECT_NE(kept[0].shared_txt, kept[2].shared_txt) << "another word, another text";
    EXPECT_EQ(kept[4].shared_txt, kept[6].shared_txt);
    EXPECT_TRUE(parser.hasErrors());
}

} // namespace
