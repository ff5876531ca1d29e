// The LR front end of the generator on small grammar sources: the DATA
// statement parser built row by row, and faults of a source reported as
// "file:line: message".
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "generator_build.h"

namespace {

// The DATA statement parser's own grammar source, as the build generates it.
const std::string data_parser_source = DATA_PARSER_GRAMMAR;

std::string read_file(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

gen::TableSet build(const std::string& path) {
    return test_support::build_grammar(gen::build_lr, path);
}

std::string temp_grammar(const std::string& text) {
    return test_support::temp_grammar("lr_fault_", text);
}

std::string row_text(const gen::ActionRow& r) {
    return "(" + std::to_string(r.state) + ", " + std::to_string(r.terminal) + ", " +
           std::to_string(r.action) + ", " + std::to_string(r.next_state) + ")";
}

TEST(LrFrontEnd, DataStatementParser) {
    gen::TableSet t = build(data_parser_source);
    EXPECT_EQ(t.grammar, "data_parser");
    EXPECT_EQ(t.input_case, 0);
    EXPECT_EQ(t.states, 6);
    EXPECT_EQ(t.terminals.size(), 16u);

    const std::vector<gen::ActionRow> srs = {
        {0, 131, 1, 1},   {1, -1, 2, 1},    {1, 65551, 1, 3},  {1, 65554, 1, 3}, {1, 65559, 2, 1},
        {1, 65569, 1, 3}, {1, 65594, 1, 3}, {2, -1, 3, -1000}, {3, 65559, 1, 4}, {4, -1, 2, 1},
        {4, 65551, 1, 5}, {4, 65554, 1, 5}, {4, 65559, 2, 1},  {4, 65569, 1, 5}, {4, 65594, 1, 5}};
    ASSERT_EQ(t.srs.size(), srs.size());
    for (std::size_t i = 0; i < srs.size(); ++i)
        EXPECT_EQ(row_text(t.srs[i]), row_text(srs[i])) << "shift/reduce row " << i;

    const std::vector<std::pair<int, int>> defaults = {{0, -1}, {0, -1}, {0, -1},
                                                       {2, 2},  {0, -1}, {2, 0}};
    ASSERT_EQ(t.defaults.size(), defaults.size());
    for (std::size_t s = 0; s < defaults.size(); ++s) {
        EXPECT_EQ(t.defaults[s].action, defaults[s].first) << "default of state " << s;
        EXPECT_EQ(t.defaults[s].next_state, defaults[s].second) << "default of state " << s;
    }

    const std::vector<gen::GotoRow> gotos = {
        {0, 65681, 2}, {1, 65645, 3}, {1, 65646, 3}, {4, 65646, 5}};
    ASSERT_EQ(t.gotos.size(), gotos.size());
    for (std::size_t i = 0; i < gotos.size(); ++i) {
        EXPECT_EQ(t.gotos[i].state, gotos[i].state) << "goto row " << i;
        EXPECT_EQ(t.gotos[i].nonterminal, gotos[i].nonterminal) << "goto row " << i;
        EXPECT_EQ(t.gotos[i].next_state, gotos[i].next_state) << "goto row " << i;
    }
    EXPECT_EQ(t.goto_states, 5);

    const std::vector<std::pair<int, int>> state_errors = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 1}};
    ASSERT_EQ(t.state_errors.size(), state_errors.size());
    for (std::size_t i = 0; i < state_errors.size(); ++i) {
        EXPECT_EQ(t.state_errors[i].key, state_errors[i].first);
        EXPECT_EQ(t.state_errors[i].value, state_errors[i].second);
    }
    ASSERT_EQ(t.error_msgs.size(), 4u);
    EXPECT_TRUE(t.error_msgs[2].text == u"Expected :\"EOF\".");

    struct Prod {
        short params, line;
        int left;
    };
    const Prod prods[] = {{3, 1, 65645}, {0, 5, 65646}, {2, 1, 65681}, {1, 1, 65697}};
    ASSERT_EQ(t.reductions.size(), 4u);
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(t.reductions[p].parameters, prods[p].params) << "production " << p;
        EXPECT_EQ(t.reductions[p].production_line, prods[p].line) << "production " << p;
        EXPECT_EQ(t.reductions[p].state, prods[p].left) << "production " << p;
        EXPECT_TRUE(t.reductions[p].action.empty()) << "production " << p;
        EXPECT_EQ(t.reductions[p].category, 0) << "production " << p;
    }
    ASSERT_EQ(t.sma.size(), 1u);
    EXPECT_EQ(t.sma[0].key, 65594);
    EXPECT_TRUE(t.recovery_states.empty());
    EXPECT_TRUE(t.productions_errors.empty());
    EXPECT_TRUE(t.ignorables.empty());
    EXPECT_TRUE(t.conflicts.empty());
    EXPECT_TRUE(t.eqs.empty());
}

// Each case replaces one line of the DATA grammar (or appends one) and names
// the fault the build must stop with; "{line}" stands for the number of the
// changed line.
TEST(LrFrontEnd, FaultsOfTheSource) {
    const std::string base = read_file(data_parser_source);
    struct Case {
        const char* from; // a line of the base source, or "" to append
        const char* to;
        const char* fault; // follows "<path>:"
    };
    const Case cases[] = {
        {"3 grm 1 : data-stmt", "3 grm 1 : data-stmt FOO", "{line}: unknown symbol 'FOO'"},
        {"2 data-stmt 1 : DATA data-element-list", "2 data-stmt 1 : DATA { data-element-list",
         "{line}: unclosed group"},
        {"3 grm 1 : data-stmt", "3 data-element 6 :",
         "{line}: row 3 is out of order: rows ascend by the id of their left side"},
        {"1 data-element 5 :", "4 data-element 5 :", "row 2 leaves a gap"},
        {"1 data-element 5 :", "1 data-element 5 : !before data-stmt",
         "{line}: 'data-stmt' in !before is no terminal"},
        {"- data-element : real-literal-constant | literal",
         "- data-element : real-literal-constant literal",
         "{line}: a unit alternative has exactly one right-hand symbol"},
        {"", "%symbol 100 X 0 0 -", "{line}: symbol ids must ascend; 100 follows 65799"},
        {"3 grm 1 : data-stmt", "3 grm 1 : \" \"",
         "{line}: ' ' names several symbols; give one of them 'as <label>'"},
        {"0 data-element-list 1 : data-element-list \",\" data-element",
         "0 data-element-list 1 :", "state 1 reduces rows 0 and 1 on 'EOF'"},
        {"%expect states 6", "%expect states 7",
         "{line}: expected states 7, the construction gives 6"},
        {"%expect-recovery", "%expect-recovery 1",
         "{line}: expected the recovery states to be {1}, the construction gives {}"},
        {"", "%expect-row 3 EOF reduce 2",
         "{line}: expected the row of state 3 on 'EOF' to be reduce 2, the construction gives "
         "none"},
        {"", "%expect-default 4 1",
         "{line}: expected the default of state 4 to be row 1, the construction gives none"},
        {"", "%expect-goto 1 data-element 4",
         "{line}: expected the goto of state 1 on 'data-element' to be 4, the construction "
         "gives 3"},
        {"%expect-message 2 \"Expected :\\\"EOF\\\".\"",
         "%expect-message 2 \"Expected :\\\"EOF\\\"\"",
         "{line}: expected message 2 to be \"Expected :\"EOF\"\", the construction gives "
         "\"Expected :\"EOF\".\""},
        {"%grammar data_parser", "%grammer data_parser", "{line}: unknown directive %grammer"},
    };
    for (const Case& c : cases) {
        std::string text = base;
        std::size_t at = text.size();
        if (*c.from) {
            at = text.find(c.from);
            ASSERT_NE(at, std::string::npos) << "the base source lacks: " << c.from;
            text.replace(at, std::string(c.from).size(), c.to);
        } else {
            text += std::string(c.to) + "\n";
        }
        int line = 1;
        for (std::size_t i = 0; i < at; ++i)
            line += text[i] == '\n';
        std::string fault = c.fault;
        std::size_t mark = fault.find("{line}");
        if (mark != std::string::npos)
            fault.replace(mark, 6, std::to_string(line));
        std::string path = temp_grammar(text);
        try {
            build(path);
            ADD_FAILURE() << "no fault for the line: " << c.to;
        } catch (const gen::GrammarFault& e) {
            std::string what = e.what();
            EXPECT_EQ(what.compare(0, path.size() + 1, path + ":"), 0) << what;
            EXPECT_NE(what.find(fault), std::string::npos)
                << "for the line: " << c.to << "\n  fault:  " << what << "\n  wanted: " << fault;
        }
    }
}

} // namespace
