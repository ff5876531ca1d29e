// The lexical front end of the grammar generator: what it builds from small
// sources, and the faults it reports with the source line.

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "generator_build.h"

namespace {

const char* head = "%kind lexical\n%grammar g\n";

gen::TableSet build(const std::string& text, std::map<std::string, long>* counts = nullptr,
                    std::string* listing = nullptr) {
    std::string path = test_support::temp_grammar("lexical_generator_test_", head + text);
    return test_support::build_grammar(gen::build_lexical, path, counts, listing);
}

// The fault message after "file:", i.e. "line: message".
std::string fault_of(const std::string& text) {
    try {
        build(text);
    } catch (const gen::GrammarFault& f) {
        std::string w = f.what();
        std::size_t colon = w.find(".grammar:");
        std::string rest = colon == std::string::npos ? w : w.substr(colon + 9);
        return rest.substr(rest.find_first_not_of(' '));
    }
    return "no fault";
}

// The row of a state on a key, as "action value", or "none".
std::string row(const gen::TableSet& t, int state, int key) {
    for (const gen::ActionRow& r : t.srs)
        if (r.state == state && r.terminal == key)
            return std::to_string(r.action) + " " + std::to_string(r.next_state);
    return "none";
}

int shift_target(const gen::TableSet& t, int state, int key) {
    for (const gen::ActionRow& r : t.srs)
        if (r.state == state && r.terminal == key && r.action == 1)
            return r.next_state;
    return -1;
}

TEST(LexicalGenerator, Faults) {
    struct Case {
        std::string source;
        std::string fault;
    };
    const std::string p = "production 0 65557 name\n";
    const std::vector<Case> cases = {
        {p + "token name = letter+\n", "4: unknown name 'letter' in a pattern"},
        {p + "production 2 65558 x\n", "4: production 2 out of order: the next is 1"},
        {p + "%class 65600 \"A....B\" = ['A'..'B']\ntoken name = 'A'\n",
         "5: the set holds 65 but not 66 of the same class 65600"},
        {p + "token name = 'A'*\n", "4: the token matches the empty input"},
        {p + "token nam = 'A'\n", "4: no production is named 'nam'"},
        {p + "token name = ['A' - 'A']\n", "4: the set is empty"},
        {p + "token name = 'A'\nalternatives \"B\" : name\n",
         "5: the sample input leaves the automaton"},
        {p + "token name = 'A'\nalternatives 'A' : name\nalternatives 'A' : finish\n",
         "6: the alternatives of state 1 are given twice"},
        {p + "token name = 'A' #70000\n",
         "symbol 70000 is read but has no name: give it a %symbol line"},
        {p + "state 0 : 'A' -> 1 ; ['A' 'B'] -> 0\n", "4: state 1 is not declared"},
        {p + "state 0 : 'A' -> 0 ; ['A' 'B'] -> 0\n", "4: state 0 has two rows on 65"},
        {p + "state 1 : accept name\n", "4: state 1 out of order: the next is 0"},
        {p + "state 0 : accept name\ntoken name = 'A'\n",
         "a grammar has either token definitions or state lines"},
        {p + "token name = 'A'\n%pin 0 'A'\n", "5: only the start state is state 0"},
        {p + "token name = 'A'\n%expect states 3\n",
         "5: expected states 3, the construction gives 2"},
        {p + "token name = 'A' (\n", "4: expected ')' before 'end of line'"},
        {p + "token name = #99999999999\n", "4: the number 99999999999 is too large"},
        {p + "production 1 65558 x action f\ntoken x = 'A'\n",
         "4: a lexer action needs a %functions header"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fault_of(c.source), c.fault) << "source:\n" << c.source;
}

TEST(LexicalGenerator, LongestMatchRowsAndPriority) {
    // Two definitions end on "IF": the earlier one wins the end-mark row.
    gen::TableSet t = build("production 0 200 IF\nproduction 1 65557 name\n"
                            "token IF = \"IF\"\ntoken name = ['A'..'Z']+\n");
    int i = shift_target(t, 0, 'I');
    int f = shift_target(t, i, 'F');
    EXPECT_EQ(row(t, i, -1), "2 1") << "I alone is a name";
    EXPECT_EQ(row(t, f, -1), "2 0") << "IF is the keyword";
    EXPECT_EQ(row(t, 0, -1), "none") << "the start state accepts nothing";
    EXPECT_EQ(t.states, 4); // start, I, IF, other names
}

TEST(LexicalGenerator, RightContextBacksUp) {
    gen::TableSet t = build("production 0 160 COLOR params 3\ntoken COLOR = \"CO\" / '='\n");
    int c = shift_target(t, 0, 'C');
    int o = shift_target(t, c, 'O');
    int eq = shift_target(t, o, '=');
    EXPECT_EQ(row(t, o, -34), "2 0") << "the keyword accepts on the backtrack mark";
    EXPECT_EQ(row(t, o, -1), "none");
    EXPECT_EQ(row(t, eq, -1), "20 -1001") << "after the look-ahead the stage backs up";
    EXPECT_EQ(t.reductions[0].parameters, 3);
    EXPECT_EQ(t.terminals.front().id, -34) << "the backtrack mark has a symbol row";
}

TEST(LexicalGenerator, MinimisingMergesStatesThatBehaveAlike) {
    const std::string src = "production 0 65557 w\ntoken w = 'A' 'X' 'Y' | 'B' 'X' 'Y'\n";
    std::map<std::string, long> counts;
    gen::TableSet plain = build(src, &counts);
    // The ends of both branches are one state: nothing distinguishes them.
    EXPECT_EQ(plain.states, 6);
    gen::TableSet small = build("%minimise\n" + src, &counts);
    EXPECT_EQ(small.states, 4) << "start, after A or B, after X, after Y";
    EXPECT_EQ(counts["dfa_states"], 6);
    EXPECT_EQ(shift_target(small, 0, 'A'), shift_target(small, 0, 'B'));
}

TEST(LexicalGenerator, NumberingPinsAndAlternatives) {
    gen::TableSet t = build("production 0 65554 int\nproduction 1 65598 linenum\n"
                            "production 2 65557 name\n"
                            "token int = ['0'..'9']+\ntoken name = ['A'..'Z']+\n"
                            "%pin 2 'A'\nalternatives \"12\" : linenum finish\n"
                            "alternatives 'A' : int\n");
    // Breadth first, keys ascending: digits before letters; 'A' is pinned.
    EXPECT_EQ(shift_target(t, 0, '0'), 1);
    EXPECT_EQ(shift_target(t, 0, 'A'), 2);
    ASSERT_EQ(t.conflicts.size(), 3u);
    EXPECT_EQ(t.conflicts[0].state, 1);
    EXPECT_EQ(t.conflicts[0].next_state, 1);
    EXPECT_EQ(t.conflicts[1].action, 3) << "finish";
    EXPECT_EQ(t.conflicts[2].state, 2);
    EXPECT_EQ(t.conflict_states, 2);
}

TEST(LexicalGenerator, ClassesAndSymbols) {
    gen::TableSet t = build("production 0 65557 name\n"
                            "%class 65600 \"A....B\" category 1 = ['A'..'B']\n"
                            "%symbol 65601 \"inner\" level 4\n"
                            "%symbol ['C' 'D'] \" \" level 0\n"
                            "token name = ['A' 'B'] 'C'\n");
    ASSERT_EQ(t.eqs.size(), 2u);
    EXPECT_EQ(t.eqs[0].hash, 'A');
    EXPECT_EQ(t.eqs[1].equivalent, 65600);
    EXPECT_EQ(t.eqs_terms, 2);
    EXPECT_EQ(shift_target(t, 0, 65600), 1) << "rows are keyed by the class";
    EXPECT_EQ(row(t, 0, 'A'), "none");
    std::map<int, gen::TerminalRow> rows;
    for (const gen::TerminalRow& r : t.terminals)
        rows[r.id] = r;
    EXPECT_EQ(rows.count(-34), 0u) << "no backtrack rows, no backtrack mark";
    EXPECT_EQ(rows[65600].category, 1);
    EXPECT_EQ(rows[65601].level, 4);
    EXPECT_EQ(rows[65557].name, u"name");
    EXPECT_TRUE(rows['C'].reserved) << "an input character";
    EXPECT_EQ(rows['C'].name, u" ") << "renamed by a set";
    EXPECT_EQ(rows['D'].level, 0) << "added by a set";
    EXPECT_EQ(rows.count(65536), 0u) << "the start symbol is declared, never implied";
}

TEST(LexicalGenerator, ExceptBarsWordsThatBeginWithAPrefix) {
    // A name ends before a blank, but never one that begins with PRINT.
    gen::TableSet t = build("production 0 186 PRINT\nproduction 1 65557 name\n"
                            "token PRINT = \"PRINT\"\n"
                            "token name = ['A'..'Z']+ ['$' '%']? / SP except \"PRINT\"\n");
    auto walk = [&](const std::string& input) {
        int s = 0;
        for (char c : input)
            s = shift_target(t, s, c);
        return s;
    };
    int prin = walk("PRIN");
    EXPECT_EQ(row(t, prin, -34), "2 1") << "PRIN is a name before a blank";
    EXPECT_NE(shift_target(t, prin, ' '), -1);
    int print = walk("PRINT");
    EXPECT_EQ(row(t, print, -1), "2 0");
    EXPECT_EQ(row(t, print, -34), "none") << "PRINT is no name";
    EXPECT_EQ(shift_target(t, print, ' '), -1);
    int printx = walk("PRINTX");
    ASSERT_NE(printx, -1) << "the barred word still reads on";
    EXPECT_EQ(row(t, printx, -34), "none");
    EXPECT_EQ(row(t, printx, -1), "none");
    EXPECT_EQ(shift_target(t, printx, 'Y'), printx);
    int suffix = walk("PRINTX$");
    ASSERT_NE(suffix, -1);
    int rows_there = 0;
    for (const gen::ActionRow& r : t.srs)
        rows_there += r.state == suffix;
    EXPECT_EQ(rows_there, 0) << "nothing continues or ends a barred name after its suffix";
    EXPECT_EQ(row(t, walk("XPRINT"), -34), "2 1") << "only a word that begins with PRINT";
}

} // namespace
