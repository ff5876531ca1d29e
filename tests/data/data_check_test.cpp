// The DATA check from end to end inside the semantic host: the text of one
// DATA statement runs through the DATA scanner and the DATA parser, and what
// the main parser of the file ends up holding (and which tokens the DATA
// parser took) is compared, in each dialect and case situation.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ParseError.h"
#include "Translator.h"
#include "host_fixture.h"

namespace {

std::string narrow(const std::wstring& w) {
    std::string out;
    for (wchar_t c : w)
        out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

// The five situations that decide the DATA check's answers: the dialect and
// whether the file's last lexical stage folds to upper case.
enum Situation { fixed, fixed_no_case, uk101, free_folding, free_case };
const char* const situation_names[] = {"fixed", "fixed with no-case", "uk101", "free, folding",
                                       "free with case"};
const Situation all[] = {fixed, fixed_no_case, uk101, free_folding, free_case};

class DataCheck : public test_support::HostFixture {
protected:
    void situation(Situation s) {
        const bool free_form = s == free_folding || s == free_case;
        dialect(s == uk101 ? 2 : free_form ? 1 : 0, s == fixed_no_case || s == free_folding);
    }

    // Checks one statement; returns the main parser's diagnostics, formatted,
    // and empties them together with the parser's failed flag.
    std::vector<std::string> check(const std::wstring& text, int& result) {
        result = t.ValidateData(text.c_str(), 'O');
        std::vector<std::string> out;
        std::wstring line;
        for (const parsing::ParseError& e : fx.parser().getErrors())
            out.push_back(narrow(e.format(line)));
        fx.parser().getErrors().clear();
        fx.parser()._has_errors = false;
        return out;
    }

    // The tokens the DATA parser took, as "id text" lines, from its trace.
    std::vector<std::string> tokens(const std::wstring& text) {
        std::wstringstream trace;
        std::wstreambuf* old = std::wcout.rdbuf(trace.rdbuf());
        t.setDebug(1);
        t.ValidateData(text.c_str(), 'O');
        t.setDebug(0);
        std::wcout.rdbuf(old);
        fx.parser().getErrors().clear();
        fx.parser()._has_errors = false;
        std::vector<std::string> out;
        std::wstring l;
        while (std::getline(trace, l)) {
            // "  Line=    7,   131  DATA ... buffer=[DATA] "
            std::size_t comma = l.find(L',');
            std::size_t open = l.find(L"buffer=[");
            std::size_t close = l.rfind(L"] ");
            if (comma == std::wstring::npos || open == std::wstring::npos || close < open)
                continue;
            int id = std::stoi(l.substr(comma + 1, 6));
            out.push_back(std::to_string(id) + " " + narrow(l.substr(open + 8, close - open - 8)));
        }
        return out;
    }
};

const std::string at = "prog.bas:7: error: ";
const std::string case_error = at + "semantic:Unexpected '";
const std::string msg0 = "Expected :\"DATA\". ";
const std::string msg1 = "Expected :\",\", \"EOF\", \"char-literal-constant\", "
                         "\"integer-literal-constant\", \"literal\", or "
                         "\"real-literal-constant\". ";
const std::string msg2 = "Expected :\"EOF\". ";

// Statements of one DATA parse each: accepted, or one syntax diagnostic with
// the main file's place. The case diagnostic of a lower-case keyword comes
// where case matters: fixed without folding, UK-101 and free with "case".
TEST_F(DataCheck, Statements) {
    struct Row {
        std::wstring text;
        std::vector<std::string> diagnostics; // where case does not matter
        std::vector<std::string> with_case;   // where it does; same as above if empty
    };
    const std::string syntax = at + "syntax:Unexpected: ";
    const std::string data_case = case_error + "data'. Expected: 'DATA'";
    const std::vector<Row> rows = {
        {L"DATA 1,2", {}, {}},
        {L"DATA", {}, {}},
        {L"DATA ,", {}, {}},
        {L"DATA ,,", {}, {}},
        {L"DATA 1,", {}, {}},
        {L"DATA 1 2", {}, {}},
        {L"DATA -", {}, {}},
        {L"DATA 1.5.5", {}, {}},
        {L"D A T A 1", {}, {}},
        {L"DATA1,2", {}, {}},
        {L"DATAX", {}, {}},
        {L"DATA \"open", {}, {}},
        {L"DATA \"A,B\",X", {}, {}},
        {L"DATA \"A\" , \"B\"", {}, {}},
        {L"DATA 1,DATA", {}, {}},
        {L"DATA DATA", {}, {}},
        {L"data 1", {}, {data_case}},
        {L"DATA 1,data", {}, {data_case}},
        {L"D a T\tA", {}, {case_error + "DaTA'. Expected: 'DATA'"}},
        {L"DATA \"A\" B", {syntax + "literal with value 'B'. " + msg2}, {}},
        {L"DATA \"A\" B,1", {syntax + "literal with value 'B'. " + msg2}, {}},
        {L"DATA \"A\" B Y", {syntax + "literal with value B Y. " + msg2}, {}},
        {L"DATA \"A,B\"Z", {syntax + "literal with value 'Z'. " + msg2}, {}},
        {L"DATA \"A\"1", {syntax + "integer-literal-constant with value '1'. " + msg2}, {}},
        {L"DATA \"A\"\"B\"", {syntax + "char-literal-constant with value \"B\". " + msg2}, {}},
        {L"DATA \"A\"\"BC\"", {syntax + "char-literal-constant with value 'BC'. " + msg2}, {}},
        {L"DATA \"A\" DATA", {syntax + "DATA. " + msg2}, {}},
        // Scanned once, restored once after every shorter reading failed:
        // the keyword's case is reported twice, before the syntax error.
        {L"DATA \"A\" data",
         {syntax + "DATA with value data. " + msg2},
         {data_case, data_case, syntax + "DATA with value data. " + msg2}},
        {L"", {syntax + "EOF. " + msg0}, {}},
        {L"X 1", {syntax + "literal with value X 1. " + msg0}, {}},
        {L"DA", {syntax + "literal with value DA. " + msg0}, {}},
        {L"DATA:1", {syntax + "':'. " + msg1}, {}},
        {L"DATA 1,\u00E9", {syntax + "'?'. " + msg1}, {}},
        {L"DATA 1\u00E9", {syntax + "'?'. " + msg2}, {}},
    };
    for (Situation s : all) {
        situation(s);
        const bool case_matters = s == fixed || s == uk101 || s == free_case;
        for (const Row& r : rows) {
            const std::vector<std::string>& want =
                case_matters && !r.with_case.empty() ? r.with_case : r.diagnostics;
            int result = 0;
            std::vector<std::string> got = check(r.text, result);
            EXPECT_EQ(got, want) << "DATA statement text '" << narrow(r.text) << "', "
                                 << situation_names[s];
            // Only a syntax error makes the nested parse fail; a case error
            // fails the file through the main parser alone.
            bool syntax_error = !r.diagnostics.empty();
            EXPECT_EQ(result, syntax_error ? -1 : 0)
                << "result for '" << narrow(r.text) << "', " << situation_names[s];
        }
    }
}

// The statements whose check one pass over the text settles, and those left
// to the nested parse: anything that draws a diagnostic there, or might.
TEST_F(DataCheck, StatementsSettledWithoutParsing) {
    struct Row {
        std::wstring text;
        bool lower_case_keyword; // a lower-case keyword draws no diagnostic
        bool settled;
    };
    const std::vector<Row> rows = {
        {L"DATA 1,2", false, true},
        {L"DATA", false, true},
        {L"DATA ,,", false, true},
        {L"D A T\tA 1", false, true},
        {L"DATA1,2", false, true},
        {L"DATA \"open", false, true},
        {L"DATA \"A,B:C\" , X Y ,1.5E3", false, true},
        {L"DATA 1.2.3,--1,1-2,12A,1\"", false, true},
        {L"DATA DATA1,DATA ", false, true},
        {L"data 1", true, true},
        {L"data 1", false, false},
        {L"DATA 1,DATA", false, false},
        {L"DATA 1,d a t a", true, false},
        {L"DATA \"A\" B", false, false},
        {L"DATA \"A\"\"B\"", false, false},
        {L"DATA:1", false, false},
        {L"DATA 1:", false, false},
        {L"DATA \"A\rB\"", false, false},
        {L"DATA 1\u00E9", false, false},
        {L"DAT 1", false, false},
        {L" DATA 1", false, false},
        {L"", false, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Translator::passes_data_check(r.text.c_str(), r.lower_case_keyword), r.settled)
            << "DATA statement text '" << narrow(r.text) << "'"
            << (r.lower_case_keyword ? ", lower-case keyword allowed" : "");
}

// Every statement that one pass settles draws the same answer from the
// nested parse, which runs whenever the run traces: the texts made of the
// keyword's spellings and up to three characters that matter to the DATA
// scanner, in each dialect and case situation.
TEST_F(DataCheck, SettledStatementsParseAlike) {
    const std::vector<std::wstring> keywords = {L"DATA", L"data", L"D a T\tA", L"DAT", L""};
    const std::wstring alphabet = L" ,\"1.E-XDAta:\r\u00E9";
    std::vector<std::wstring> tails = {L""};
    for (std::size_t from = 0, length = 0; length < 3; ++length) {
        const std::size_t to = tails.size();
        for (std::size_t i = from; i < to; ++i)
            for (wchar_t c : alphabet)
                tails.push_back(tails[i] + c);
        from = to;
    }
    std::wstringstream trace;
    std::wstreambuf* old = std::wcout.rdbuf(trace.rdbuf());
    int settled = 0;
    for (Situation s : all) {
        situation(s);
        const bool lower_case_keyword = s == fixed_no_case || s == free_folding;
        for (const std::wstring& keyword : keywords) {
            for (const std::wstring& tail : tails) {
                const std::wstring text = keyword + tail;
                const bool quick = Translator::passes_data_check(text.c_str(), lower_case_keyword);
                int result = 0, traced_result = 0;
                const std::vector<std::string> got = check(text, result);
                t.setDebug(1);
                const std::vector<std::string> parsed = check(text, traced_result);
                t.setDebug(0);
                trace.str(L"");
                EXPECT_EQ(got, parsed)
                    << "DATA statement text '" << narrow(text) << "', " << situation_names[s];
                EXPECT_EQ(result, traced_result)
                    << "result for '" << narrow(text) << "', " << situation_names[s];
                if (quick) {
                    ++settled;
                    EXPECT_TRUE(parsed.empty() && traced_result == 0)
                        << "settled without parsing but not accepted: '" << narrow(text) << "', "
                        << situation_names[s];
                }
            }
        }
    }
    std::wcout.rdbuf(old);
    EXPECT_GT(settled, 1000) << "the pass settles the common statements";
}

// A failed DATA parse, and a case error, fail the file's main parse; the
// diagnostics carry the main file's name and line.
TEST_F(DataCheck, FailuresReachTheMainParser) {
    situation(fixed);
    EXPECT_EQ(t.ValidateData(L"DATA \"A\" B", 'O'), -1);
    EXPECT_TRUE(fx.parser().hasErrors());
    ASSERT_EQ(fx.parser().getErrors().size(), 1u);
    const parsing::ParseError& e = fx.parser().getErrors().front();
    EXPECT_EQ(e._line, 7);
    EXPECT_EQ(e._source, L"prog.bas");
    EXPECT_EQ(e._type, parsing::Syntax);
    EXPECT_EQ(e.code(), 2) << "the code is the message id";
    fx.parser().getErrors().clear();
    fx.parser()._has_errors = false;

    EXPECT_EQ(t.ValidateData(L"data", 'O'), 0);
    EXPECT_TRUE(fx.parser().hasErrors()) << "the case error fails the file";
}

// The grammars and their tables are built at the first DATA statement and
// serve every later one; each statement gets a parser of its own.
TEST_F(DataCheck, GrammarsAreBuiltOnce) {
    situation(fixed);
    EXPECT_EQ(t.data_ltable, nullptr);
    EXPECT_EQ(t.data_ptable, nullptr);
    int result = 0;
    check(L"DATA 1", result);
    ParseData* scanner = t.data_ltable;
    ParseData* parser = t.data_ptable;
    ASSERT_NE(scanner, nullptr);
    ASSERT_NE(parser, nullptr);
    EXPECT_TRUE(check(L"DATA \"A\" B", result).size() == 1);
    EXPECT_TRUE(check(L"DATA 2", result).empty()) << "a new statement starts afresh";
    EXPECT_EQ(t.data_ltable, scanner);
    EXPECT_EQ(t.data_ptable, parser);
}

// The tokens the DATA parser ends up with: shortened keywords, dropped
// blanks, and numbers that become literals by the dialect's rules.
TEST_F(DataCheck, TokensTheParserTakes) {
    const std::string D = "131 DATA", I = "65554 ", R = "65569 ", S = "65551 ", L = "65594 ",
                      C = "65559 ", E = "-1 ";
    struct Row {
        std::wstring text;
        std::vector<Situation> where; // empty: all
        std::vector<std::string> tokens;
    };
    const std::vector<Row> rows = {
        {L"DATA 1, 2.5E3, \"A,B\", XYZ",
         {},
         {D, I + "1", C + ", ", R + "2.5E3", C + ", ", S + "\"A,B\"", C + ", ", L + "XYZ", E}},
        {L"data 1", {}, {"131 data", I + "1", E}},
        {L"DATA -1 . 5", {fixed, fixed_no_case, uk101}, {D, R + "-1 . 5", E}},
        {L"DATA -1 . 5", {free_folding, free_case}, {D, L + "-1 . 5", E}},
        {L"DATA \"open", {}, {D, S + "\"open", E}},
        {L"DATA ,,", {}, {D, C + " ,", C + ",", E}},
        {L"DATA 1 2", {fixed, fixed_no_case, uk101}, {D, I + "1 2", E}},
        {L"DATA 1 2", {free_folding, free_case}, {D, L + "1 2", E}},
        {L"DATA 1.5e3", {fixed_no_case, free_folding}, {D, R + "1.5e3", E}},
        {L"DATA 1.5e3", {fixed, uk101, free_case}, {D, L + "1.5e3", E}},
        {L"DATA 1E5", {}, {D, R + "1E5", E}},
        {L"DATA1,2", {}, {D, I + "1", C + ",", I + "2", E}},
        {L"DATA 1 ,2", {}, {D, I + "1 ", C + ",", I + "2", E}},
        {L"DATA 1,DATA", {}, {D, I + "1", C + ",", L + "DATA", E}},
        {L"D A T A 1", {}, {"131 D A T A", I + "1", E}},
        {L"DATA", {}, {D, E}},
        {L"DATA .", {}, {D, R + ".", E}},
        {L"DATA -.", {}, {D, R + "-.", E}},
        {L"DATA + ", {}, {D, L + "+ ", E}},
        {L"DATA 1E", {}, {D, R + "1E", E}},
        {L"DATA 1E+", {}, {D, L + "1E+", E}},
        {L"DATA 1E+ ", {}, {D, R + "1E+ ", E}},
        {L"DATA 1 E 5", {fixed, fixed_no_case, uk101}, {D, R + "1 E 5", E}},
        {L"DATA 1 E 5", {free_folding, free_case}, {D, L + "1 E 5", E}},
        {L"DATA 1.2.3,--1,1-2,12A,1\"",
         {},
         {D, L + "1.2.3", C + ",", L + "--1", C + ",", L + "1-2", C + ",", L + "12A", C + ",",
          L + "1\"", E}},
        {L"DATA \"\",\"A:B\"", {}, {D, S + "\"\"", C + ",", S + "\"A:B\"", E}},
        {L"DATA \"A\" , \"B\"", {}, {D, S + "\"A\"", C + " , ", S + "\"B\"", E}},
        {L"DATA X ,Y", {}, {D, L + "X ", C + ",", L + "Y", E}},
    };
    for (Situation s : all) {
        situation(s);
        for (const Row& r : rows) {
            bool applies = r.where.empty();
            for (Situation w : r.where)
                applies = applies || w == s;
            if (!applies)
                continue;
            EXPECT_EQ(tokens(r.text), r.tokens)
                << "DATA statement text '" << narrow(r.text) << "', " << situation_names[s];
        }
    }
}

} // namespace
