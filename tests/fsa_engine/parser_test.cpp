// Whole parses through the driver FSAParser over the small abc grammar, with
// semantic actions attached to its productions.

#include <gtest/gtest.h>

#include "FSAParser.h"
#include "abc_grammar.h"

using namespace parsing;
using namespace fsa_engine_test;

namespace {

int note(int phase, std::deque<FSATokenNode*>& children, FSATokenNode& parent, int count,
         void* context) {
    auto* seen = static_cast<std::vector<std::wstring>*>(context);
    std::wstring line =
        std::to_wstring(phase) + L":" + parent._value + L"/" + std::to_wstring(count);
    for (FSATokenNode* c : children)
        line += L" " + c->_value;
    seen->push_back(line);
    return 0;
}

GrammarRows acting_abc() {
    GrammarRows s = abc_grammar();
    for (Production& p : s.productions)
        p.action = reinterpret_cast<untyped_action>(&note);
    return s;
}

std::vector<std::pair<int, std::wstring>> tokens(const std::wstring& text) {
    std::vector<std::pair<int, std::wstring>> out;
    for (wchar_t ch : text)
        out.push_back({static_cast<int>(ch), std::wstring(1, ch)});
    return out;
}

} // namespace

TEST(FSAParserWithEngine, AcceptedInputRunsTheActionsOfItsTree) {
    std::vector<std::wstring> seen;
    Grammar g(acting_abc());
    FSAParsingTable table(g);
    ListScanner scanner(tokens(L"abc"));
    FSAParser parser(scanner, table, &seen);
    parser.getState()->setKeepTree(true);
    EXPECT_EQ(parser.parse(), 1) << "input abc";
    EXPECT_TRUE(parser.successful());
    EXPECT_TRUE(parser.getErrors().empty());
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"1:b/1 b"}))
        << "A -> b runs bottom-up when it is fed back as the only reduction";
    seen.clear();
    parser.traverseTopDown(0, true);
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"3:abc/3 a b c", L"3:b/1 b"}));
    FSATokenNode* tree = parser.getState()->parseTree(0);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->_from, 1);
    EXPECT_EQ(tree->_to, 3);
}

TEST(FSAParserWithEngine, RejectedTokenEndsTheParseWithItsMessages) {
    std::vector<std::wstring> seen;
    Grammar g(abc_grammar());
    FSAParsingTable table(g);
    ListScanner scanner(tokens(L"acb"));
    FSAParser parser(scanner, table, &seen);
    EXPECT_EQ(parser.parse(), 0) << "input acb";
    EXPECT_TRUE(parser.finished());
    EXPECT_TRUE(parser.hasErrors());
    std::vector<std::wstring> got;
    for (ParseError& e : parser.getErrors())
        got.push_back(std::to_wstring(e.id) + L":" + e.txt);
    EXPECT_EQ(got, (std::vector<std::wstring>{L"-1:Unexpected: c. ", L"1:Expected a or b"}))
        << "the retry without the SLR check drops the first attempt's messages";
    EXPECT_FALSE(parser.getState()->parsed());
    EXPECT_EQ(parser.getState()->parseTrees(), 0);
}
