#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "ParseError.h"
#include "Translator.h"
#include "p_entry.h"
#include "host_fixture.h"

namespace {

using parsing::p_entry;

std::string narrow(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

// A parse-stack entry of a shifted token: its text in synthesized.
struct Token {
    std::wstring text;
    p_entry entry;

    explicit Token(const wchar_t* t) : text(t) { entry.synthesized = &text; }
};

// The host of one file, its last lexical stage folding nothing.
class TranslatorTest : public test_support::HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        fx.stage().input_case = 0;
    }

    std::vector<std::string> diagnostics() {
        std::vector<std::string> out;
        std::wstring text;
        for (const parsing::ParseError& e : fx.parser().getErrors())
            out.push_back(narrow(e.format(text)));
        fx.parser().getErrors().clear();
        return out;
    }
};

TEST_F(TranslatorTest, DiagnosticsAreStampedWithTheScannersPlace) {
    t.error(L"OK could be a prompt, not a statement!");
    t.warning(L"DATA Statement as Instruction in IF statement.");
    t.warning(L"Label '%s' redefined.", L"100");
    t.warning(L"Say \"%s\" here", L"x");
    t.warning(L"No placeholder", L"val");
    t.warning(L"Only '%s' the first '%s'", L"1");
    t.error(L"Two texts", nullptr);
    t.error(nullptr);
    EXPECT_EQ((std::vector<std::string>{
                  "prog.bas:7: error: semantic:OK could be a prompt, not a statement!",
                  "prog.bas:7: warning: DATA Statement as Instruction in IF statement.",
                  "prog.bas:7: warning: Label '100' redefined.",
                  "prog.bas:7: warning: Say \"x\" here",
                  "prog.bas:7: warning: No placeholder val",
                  "prog.bas:7: warning: Only '1' the first '%s'",
                  "prog.bas:7: error: semantic:Two texts",
                  "prog.bas:7: error: semantic:",
              }),
              diagnostics());
    EXPECT_TRUE(t.has_errors);
    fx.place.at = 12;
    EXPECT_EQ(12, t.line());
    EXPECT_EQ(L"prog.bas", t.source());
}

TEST_F(TranslatorTest, WarningsDoNotFailTheParse) {
    t.warning(L"just a warning");
    EXPECT_FALSE(fx.parser().hasErrors());
    t.error(L"an error");
    EXPECT_TRUE(fx.parser().hasErrors());
}

TEST_F(TranslatorTest, WatoiReadsLeadingDigitsOfAnyText) {
    const std::vector<std::pair<std::wstring, int>> cases = {
        {L"10", 10},
        {L" 1 0 \t0", 100},
        {L"00042", 42},
        {L"12AB3", 12},
        {L"", 0},
        {L"ABC", 0},
        {L"-5", -5},
        {L"2147483647", INT_MAX},
        {L"2147483648", INT_MAX},
        {L"99999999999999999999999999", INT_MAX},
        {L"-99999999999999999999", INT_MIN},
        {std::wstring(10000, L'9'), INT_MAX},
        {std::wstring(5000, L' ') + L"7" + std::wstring(5000, L'0'), INT_MAX},
        {std::wstring(300, L'0') + L"65", 65},
        {L"123456789", 123456789},
        {L"1234567890", 1234567890},
        {L"7\u0130", 70},
        {L"7 ", 7},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, t.watoi(c.first.c_str()))
            << "text of " << c.first.size() << " characters: " << narrow(c.first.substr(0, 40));
    EXPECT_EQ(0, t.watoi(nullptr));
}

TEST_F(TranslatorTest, RedefinedLabelsOfTheCurrentFile) {
    struct Run {
        std::vector<const wchar_t*> labels;
        std::vector<std::string> expected;
    };
    const std::vector<Run> runs = {
        {{L"10", L"20", L"10"}, {"prog.bas:7: warning: Label '10' redefined."}},
        {{L"30", L"10", L"30"}, {"prog.bas:7: warning: Label '30' redefined."}},
        {{L"10", L"20", L"30"}, {}},
        {{L"5", L"5", L"5"},
         {"prog.bas:7: warning: Label '5' redefined.",
          "prog.bas:7: warning: Label '5' redefined."}},
        {{L"1 0", L"10"}, {"prog.bas:7: warning: Label '10' redefined."}},
        {{L"10", L"1 0"}, {"prog.bas:7: warning: Label '1 0' redefined."}},
        {{L"70000", L"65535", L"70000"}, {"prog.bas:7: warning: Label '70000' redefined."}},
        {{L"16777215", L"16777216", L"16777216", L"16777215"},
         {"prog.bas:7: warning: Label '16777216' redefined.",
          "prog.bas:7: warning: Label '16777215' redefined."}},
        // Numbers beyond int compare by value, whatever their length.
        {{L"0", L"99999999999", L"0", L"2147483647"},
         {"prog.bas:7: warning: Label '0' redefined."}},
        {{L"4294967296", L"2147483647", L"2147483648"}, {}},
        {{L"4294967296", L"04294967296", L"4 294 967 296"},
         {"prog.bas:7: warning: Label '04294967296' redefined.",
          "prog.bas:7: warning: Label '4 294 967 296' redefined."}},
        {{L"99999999999999999999999", L"99999999999999999999998", L"099999999999999999999999"},
         {"prog.bas:7: warning: Label '099999999999999999999999' redefined."}},
        {{L"16777216", L"016777216"}, {"prog.bas:7: warning: Label '016777216' redefined."}},
    };
    for (const Run& run : runs) {
        t.nextFile();
        Token father(L"");
        for (const wchar_t* label : run.labels) {
            Token token(label);
            t.onLabelDefinition(father.entry, token.entry);
        }
        EXPECT_EQ(run.expected, diagnostics()) << "labels starting " << narrow(run.labels[0]);
    }
    // The same number in the next file is no redefinition.
    t.nextFile();
    Token father(L""), ten(L"10");
    t.onLabelDefinition(father.entry, ten.entry);
    EXPECT_TRUE(diagnostics().empty());
}

// A number of thousands of digits costs its digits, not a bit per value, and
// still meets its equal written with leading zeros.
TEST_F(TranslatorTest, HugeLabelsCompareByValueInMemoryOfTheirDigits) {
    const std::wstring huge = L"1" + std::wstring(5000, L'0');
    const std::wstring labels[] = {huge, L"000" + huge, huge + L"1", huge};
    t.nextFile();
    Token father(L"");
    for (const std::wstring& label : labels) {
        Token token(label.c_str());
        t.onLabelDefinition(father.entry, token.entry);
    }
    const std::vector<std::string> warnings = diagnostics();
    ASSERT_EQ(2u, warnings.size());
    EXPECT_EQ("prog.bas:7: warning: Label '0001" + std::string(5000, '0') + "' redefined.",
              warnings[0]);
    EXPECT_EQ("prog.bas:7: warning: Label '1" + std::string(5000, '0') + "' redefined.",
              warnings[1]);
    EXPECT_TRUE(t.labels.empty()) << "the bitmap grew to " << t.labels.size() << " words";
    std::size_t kept = 0;
    for (const std::string& key : t.other_labels)
        kept += key.size();
    EXPECT_EQ(2u, t.other_labels.size());
    EXPECT_EQ(huge.size() + huge.size() + 1, kept);
}

TEST_F(TranslatorTest, ListRangeWithACommaOnlyInUk101) {
    Token e(L"");
    for (int form : {0, 1, 2}) {
        dialect(form, 0);
        t.onList(e.entry, e.entry, e.entry, '2', ',');
        t.onList(e.entry, e.entry, e.entry, '2', 0);
        t.onList(e.entry, e.entry, e.entry, '0', 0);
        std::vector<std::string> expected;
        if (form == 2)
            expected.push_back("prog.bas:7: error: semantic:Unexpected ',' in LIST (UK101). "
                               "Expected: '-'.");
        EXPECT_EQ(expected, diagnostics()) << "dialect " << form;
    }
}

TEST_F(TranslatorTest, DataStatementAsInstruction) {
    Token e(L"");
    const std::vector<std::string> expected[] = {
        {"prog.bas:7: warning: DATA Statement as Instruction in IF statement."},
        {"prog.bas:7: error: semantic:Unexpected: DATA Statement as Instruction in IF statement."},
        {"prog.bas:7: warning: DATA Statement as Instruction in IF statement."},
    };
    for (int form : {0, 1, 2}) {
        dialect(form, 0);
        t.onDataStmtAsInstruction(e.entry, e.entry);
        EXPECT_EQ(expected[form], diagnostics()) << "dialect " << form;
    }
}

TEST_F(TranslatorTest, AtMarks) {
    struct Row {
        int form;
        int input_case;
        const wchar_t* a_text;
        int upper_result;
        int lower_result;
    };
    const std::vector<Row> rows = {
        {0, 0, L"a", 65649, 'a'}, {0, 1, L"a", 65649, 65650}, {2, 0, L"a", 'A', 'a'},
        {2, 1, L"a", 'A', 'A'},   {1, 1, L"a", 'A', 'A'},     {1, 0, L"a", 'A', 'a'},
    };
    for (const Row& row : rows) {
        dialect(row.form, row.input_case);
        std::wstring upper = L"A", lower = row.a_text;
        EXPECT_EQ(row.upper_result, t.A_onUpperAT(65649, upper))
            << "dialect " << row.form << ", case mode " << row.input_case;
        EXPECT_EQ(row.lower_result, t.a_onLowerAT(65650, lower))
            << "dialect " << row.form << ", case mode " << row.input_case;
    }
    t.LexAn = nullptr;
    EXPECT_FALSE(t.isUpper());
}

TEST_F(TranslatorTest, SpacedNumbersInData) {
    struct Row {
        int form;
        int input_case;
        const wchar_t* text;
        bool isReal;
        int expected;
    };
    const int I = 65554, R = 65569, L = 65594;
    const std::vector<Row> rows = {
        {1, 1, L"1 2", false, L}, {1, 1, L"12", false, I},  {1, 1, L"12  ", false, I},
        {1, 1, L"  ", false, I},  {1, 1, L"1e5", true, R},  {1, 0, L"1e5", true, L},
        {1, 0, L"1E5", true, R},  {1, 1, L"1 E5", true, L}, {0, 0, L"1 2", false, I},
        {0, 0, L"1e5", true, L},  {0, 1, L"1e5", true, R},  {0, 0, L"1E 5", true, R},
        {2, 0, L"1e5", true, L},  {0, 0, L"1e5", false, I},
    };
    for (const Row& row : rows) {
        dialect(row.form, row.input_case);
        std::wstring text = row.text;
        const int id = row.isReal ? R : I;
        EXPECT_EQ(row.expected, t.SpacedToLiteral(id, L, text, row.isReal))
            << "'" << narrow(row.text) << "' in dialect " << row.form << ", case mode "
            << row.input_case;
    }
}

TEST_F(TranslatorTest, LowerCaseDataKeyword) {
    struct Row {
        int form;
        int input_case;
        std::wstring text;
        std::vector<std::string> expected;
    };
    const std::string bad = "prog.bas:7: error: semantic:Unexpected '";
    const std::vector<Row> rows = {
        {0, 0, L"data", {bad + "data'. Expected: 'DATA'"}},
        {0, 0, L"D a T\tA", {bad + "DaTA'. Expected: 'DATA'"}},
        {0, 0, L"DATA", {}},
        {0, 1, L"data", {}},
        {1, 1, L"data", {}},
        {1, 0, L"Data", {bad + "Data'. Expected: 'DATA'"}},
        {2, 1, L"data", {bad + "data'. Expected: 'DATA'"}},
        {0,
         0,
         L"d" + std::wstring(300, L'A'),
         {bad + "d" + std::string(252, 'A') + "'. Expected: 'DATA'"}},
    };
    for (const Row& row : rows) {
        dialect(row.form, row.input_case);
        std::wstring text = row.text;
        EXPECT_EQ(131, t.ValidateDataCase(131, text));
        EXPECT_EQ(row.expected, diagnostics())
            << "keyword '" << narrow(row.text.substr(0, 20)) << "' in dialect " << row.form
            << ", case mode " << row.input_case;
    }
}

TEST_F(TranslatorTest, SettersAndFlags) {
    EXPECT_TRUE(t.set_free_mode(true));
    EXPECT_TRUE(t.free_mode());
    EXPECT_FALSE(t.set_uk101(false));
    EXPECT_FALSE(t.uk101());
    t.setDebug(2);
    EXPECT_TRUE(t.debug);
    t.setDebug(0);
    EXPECT_FALSE(t.debug);
    EXPECT_TRUE(t.set_file_reader(nullptr));
    EXPECT_EQ(0, t.ScannedDataStmt()) << "without a reader it does nothing";
    fx.stage().input_case = 1;
    EXPECT_TRUE(t.isUpper());
    fx.stage().input_case = 2;
    EXPECT_FALSE(t.isUpper());
}

} // namespace

namespace {

TEST_F(TranslatorTest, DataCheckOfAStatementsValues) {
    dialect(0, 0);
    EXPECT_EQ(0, t.ValidateData(L"DATA 1,\"A\",,1 2,1e5,HELLO", 'O'));
    EXPECT_TRUE(diagnostics().empty());
    EXPECT_FALSE(fx.parser().hasErrors());
    ParseData* const scanner_grammar = t.data_ltable;
    ParseData* const parser_grammar = t.data_ptable;
    ASSERT_NE(nullptr, scanner_grammar);
    ASSERT_NE(nullptr, parser_grammar);

    // The lower-case keyword is reported into the main parser; the values
    // are still checked and pass.
    fx.place.at = 30;
    EXPECT_EQ(0, t.ValidateData(L"data 1", 'O'));
    EXPECT_EQ(
        std::vector<std::string>{
            "prog.bas:30: error: semantic:Unexpected 'data'. Expected: 'DATA'"},
        diagnostics());
    EXPECT_EQ(scanner_grammar, t.data_ltable) << "the DATA grammars are built once per run";
    EXPECT_EQ(parser_grammar, t.data_ptable);
}

TEST_F(TranslatorTest, RejectedDataStatementFailsTheFile) {
    // A character outside ASCII begins no DATA token: the nested parser
    // rejects it, and its diagnostic moves to the main file's place.
    dialect(0, 0);
    fx.place.at = 40;
    EXPECT_EQ(-1, t.ValidateData(L"DATA 1 \u20AC", 'O'));
    EXPECT_TRUE(fx.parser().hasErrors());
    const std::vector<std::string> found = diagnostics();
    ASSERT_FALSE(found.empty());
    for (const std::string& line : found)
        EXPECT_EQ(0u, line.find("prog.bas:40: error: syntax:")) << line;
}

} // namespace
