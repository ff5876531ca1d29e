// Grammars whose start symbol also stands on a right-hand side, compiled
// without an added start production: a parse ends with a tree only when a
// node of the start symbol spans the input from its first token, and such a
// node is still fed on where its production began. Every string up to a
// length is parsed and judged against the grammar's language.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FSAParser.h"
#include "cfg_grammar.h"

using namespace parsing;
using namespace fsa_engine_test;

namespace {

const int S = Cfg::nonterminal(0), A = Cfg::nonterminal(1);
const int a = Cfg::terminal(0), b = Cfg::terminal(1), c = Cfg::terminal(2), d = Cfg::terminal(3);

struct Case {
    const char* grammar;
    Cfg cfg;
};

std::vector<Case> grammars() {
    return {
        {"S -> a S a | a", {1, 1, {{S, {a, S, a}}, {S, {a}}}}},
        {"S -> c S d | b", {4, 1, {{S, {c, S, d}}, {S, {b}}}}},
        {"S -> b | S a", {2, 1, {{S, {b}}, {S, {S, a}}}}},
        {"S -> S S | a", {1, 1, {{S, {S, S}}, {S, {a}}}}},
        {"S -> A | b, A -> S a", {2, 2, {{S, {A}}, {S, {b}}, {A, {S, a}}}}},
        {"S -> a A, A -> S b | b", {2, 2, {{S, {a, A}}, {A, {S, b}}, {A, {b}}}}},
    };
}

// Every string over the grammar's terminals of 1 to `longest` tokens.
std::vector<std::vector<int>> strings(int terminals, std::size_t longest) {
    std::vector<std::vector<int>> out, last{{}};
    for (std::size_t n = 1; n <= longest; ++n) {
        std::vector<std::vector<int>> next;
        for (auto& w : last)
            for (int k = 0; k < terminals; ++k) {
                next.push_back(w);
                next.back().push_back(Cfg::terminal(k));
            }
        out.insert(out.end(), next.begin(), next.end());
        last.swap(next);
    }
    return out;
}

std::string text(const std::vector<int>& w) {
    std::string out;
    for (int t : w)
        out += static_cast<char>(t);
    return out;
}

} // namespace

TEST(FSAStartSymbol, AcceptsExactlyTheLanguageWithTreesSpanningTheInput) {
    for (const Case& g : grammars()) {
        for (int flags = 0; flags < 16; ++flags) {
            GrammarRows rows = compile(g.cfg);
            rows.disambiguate = flags & 1;
            rows.slr_follows = flags & 2;
            bool keep = flags & 4;
            rows.unambiguous = flags & 8;
            std::size_t longest = g.cfg.terminals > 2 ? 4 : 6;
            for (const std::vector<int>& w : strings(g.cfg.terminals, longest)) {
                std::vector<std::pair<int, std::wstring>> tokens;
                for (int t : w)
                    tokens.push_back({t, std::wstring(1, static_cast<wchar_t>(t))});
                Grammar grammar(rows);
                FSAParsingTable table(grammar);
                ListScanner scanner(tokens);
                FSAParser parser(scanner, table, nullptr);
                FSAState& engine = *parser.getState();
                engine.setKeepTree(keep);
                int trees = parser.parse();
                std::string where = std::string(g.grammar) + ", input " + text(w) +
                                    ", disambiguate " + std::to_string(flags & 1) + ", slr " +
                                    std::to_string((flags >> 1) & 1) + ", keep " +
                                    std::to_string(keep) + ", unambiguous " +
                                    std::to_string((flags >> 3) & 1);
                bool member = derives(g.cfg, w);
                EXPECT_EQ(engine.parsed(), member) << where;
                EXPECT_EQ(trees > 0, member) << where;
                EXPECT_EQ(parser.successful(), member) << where;
                for (int i = 0; i < trees; ++i) {
                    FSATokenNode* tree = engine.parseTree(i);
                    ASSERT_NE(tree, nullptr) << where;
                    EXPECT_EQ(tree->_symbol, S) << where;
                    EXPECT_EQ(tree->_from, 1) << where << ", tree " << i;
                    EXPECT_EQ(tree->_to, static_cast<int>(w.size())) << where << ", tree " << i;
                }
            }
        }
    }
}

// With the start symbol on no right-hand side nothing is fed from the root:
// two readings of it in one step are two trees, as before.
TEST(FSAStartSymbol, ReadingsOfAStartSymbolOnNoRightHandSideStayApart) {
    Cfg cfg{2, 2, {{S, {A}}, {S, {a, b}}, {A, {a, b}}}};
    GrammarRows rows = compile(cfg);
    ListScanner scanner({{a, L"a"}, {b, L"b"}});
    Grammar grammar(rows);
    FSAParsingTable table(grammar);
    FSAParser parser(scanner, table, nullptr);
    EXPECT_EQ(parser.parse(), 2);
}
