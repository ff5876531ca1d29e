// Every grammar and every input ends, and no diagnostic is lost: recovery
// past a token whose step throws, cyclic grammars, conditions after an
// exception cut a step short, a head that stays on an ignorable token, and
// a semantic action that stops the parse.

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <unordered_set>

#include "FSAParser.h"
#include "abc_grammar.h"

using namespace parsing;
using namespace fsa_engine_test;

namespace {

const int error_token = -4, C2 = 65539;

std::vector<std::pair<int, std::wstring>> tokens(const std::wstring& text) {
    std::vector<std::pair<int, std::wstring>> out;
    for (wchar_t ch : text)
        out.push_back({static_cast<int>(ch), std::wstring(1, ch)});
    return out;
}

std::string narrow(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

std::wstring texts(const std::deque<ParseError>& errors) {
    std::wstring all;
    for (const ParseError& e : errors)
        all += L"[" + e.txt + L"]";
    return all;
}

// A grammar, its query layer, a scanner over a text and the driver.
struct Parse {
    Grammar grammar;
    FSAParsingTable table;
    ListScanner scanner;
    FSAParser parser;

    Parse(const GrammarRows& rows, const std::wstring& input)
        : grammar(rows), table(grammar), scanner(tokens(input)), parser(scanner, table, nullptr) {}
    std::deque<ParseError>& engine_errors() { return parser.getState()->getErrors(); }
};

// True when some node of the tree is its own descendant.
bool contains_itself(FSATokenNode* n, std::unordered_set<FSATokenNode*>& path) {
    if (!path.insert(n).second)
        return true;
    for (FSATokenNode* c : n->childs())
        if (c && contains_itself(c, path))
            return true;
    path.erase(n);
    return false;
}

bool contains_itself(FSATokenNode* tree) {
    std::unordered_set<FSATokenNode*> path;
    return contains_itself(tree, path);
}

} // namespace

TEST(FSAEndings, RecoverySkipsATokenWhoseStepThrows) {
    // The error token takes the root to state 1, whose only row on b is
    // faulty. Offered again after each new error token, b would throw
    // forever; once it threw it is skipped.
    struct Case {
        int code, next;
        std::wstring fault;
    } cases[] = {{_REDUCE, 0, L"Unexpected Action"},
                 {_SHIFT, 9, L"Reductive state without a production."}};
    for (const Case& k : cases) {
        for (const std::wstring& input : {std::wstring(L"b"), std::wstring(L"bbc")}) {
            GrammarRows s = abc_grammar();
            s.recovery = {0};
            s.symbols.insert(s.symbols.begin(), {error_token, L"error", 0, 0});
            s.nfa = {{0, error_token, _SHIFTDOWN, 1}, {1, b, k.code, k.next}};
            Parse p(s, input);
            EXPECT_EQ(p.parser.parse(), 0);
            EXPECT_TRUE(p.parser.finished());
            std::wstring expected = L"[Unexpected: b. ][Expected a or b]";
            for (wchar_t ch : input)
                if (ch == L'b')
                    expected += L"[" + k.fault + L"]";
            EXPECT_EQ(texts(p.parser.getErrors()), expected)
                << "input " << narrow(input) << ", row code " << k.code;
        }
    }
}

TEST(FSAEndings, StepCutShortByAnExceptionLeavesNothingOfItself) {
    // On a, A -> a is a left include (it attaches a condition to the root)
    // and B -> a is fed to the root, whose row on B is faulty.
    GrammarRows s = abc_grammar();
    s.symbols.push_back({B, L"B", 0, 1});
    s.productions = {{S, 1, 0, 0, nullptr}, {A, 1, 4, 0, nullptr}, {B, 1, 0, 0, nullptr}};
    s.nfa = {{0, a, _SHIFTDOWN, reductive(s, 1)},
             {0, a, _SHIFTDOWN, reductive(s, 2)},
             {0, B, _REDUCE, 1}};
    Engine e(s, {a});
    OpenState& st = e.state;
    EXPECT_EQ(fault_of([&] { st.actions(a, L"a"); }), L"Unexpected Action");
    EXPECT_EQ(st.conds, 0) << "the condition of the cut step is gone";
    EXPECT_TRUE(st.snMarked.empty());
    EXPECT_TRUE(st.newState().empty());
    ASSERT_EQ(st.vState().filled(), 1);
    EXPECT_EQ(st.vState().at(0), st.root);
    EXPECT_TRUE(st.root->Protected()) << "a recovery starts from the heads of the cut step";
    ASSERT_TRUE(st.StateToNewState());
    EXPECT_EQ(wout_of([&] { st.actions(c, L"c"); }), L"") << "no condition line on the next step";
}

TEST(FSAEndings, RewindDropsTheConditionOfAMarkedNodeItMakesAHead) {
    Engine e(abc_grammar(), {a, b, d});
    OpenState& st = e.state;
    EXPECT_EQ(e.run(), 2u);
    FSAStateNode* head = st.vState().at(0);
    FSAStateNode* parent = head->_parent;
    // As an exception cutting a step short may leave it: the parent marked,
    // with a condition attached in that step.
    st.getInstantiatedCondition(parent);
    st.mark(parent);
    ASSERT_EQ(st.conds, 1);
    EXPECT_TRUE(st.rewind());
    EXPECT_EQ(st.vState().at(0), parent);
    EXPECT_NE(parent->_referenced, -1) << "a new head is not reclaimed";
    EXPECT_EQ(parent->condition(), nullptr);
    EXPECT_EQ(st.conds, 0);
    ASSERT_TRUE(st.StateToNewState());
    EXPECT_EQ(wout_of([&] { st.actions(b, L"b"); }), L"");
}

TEST(FSAEndings, RewindKeepsAParentThatAnotherNewHeadHangsFrom) {
    Engine e(abc_grammar(), {});
    OpenState& st = e.state;
    ParseAction shift = act(_SHIFT, 1);
    auto on = [&](FSAStateNode* parent) {
        return &st.createStateNode(parent, &st.createTokenNode(a, 1, L"a"), shift);
    };
    // Two heads at different depths of one stack: root, p1, h1 and root,
    // p1, p2, h2. Rewound, p1 and p2 are the heads, and p2 hangs from p1.
    FSAStateNode* p1 = on(st.root);
    FSAStateNode* p2 = on(p1);
    FSAStateNode* h1 = on(p1);
    FSAStateNode* h2 = on(p2);
    st.vState().append(h1);
    st.vState().append(h2);
    ASSERT_TRUE(st.rewind());
    EXPECT_EQ(h1->_referenced, -1);
    EXPECT_EQ(h2->_referenced, -1);
    ASSERT_EQ(p2->_parent, p1);
    EXPECT_EQ(p1->_referenced, 1) << "p2 still holds it";
    // p1 failing as a head leaves it to p2, as the stack goes on through it.
    st.mark(p1);
    st.clearMarked();
    EXPECT_NE(p1->_referenced, -1) << "pooled while still a parent";
}

TEST(FSAEndings, CyclicGrammarsGiveFiniteTrees) {
    // S -> X d, X -> A c, A -> a (line 2), A -> B (line 1), B -> A: the A of
    // A -> B -> A derives itself. Settled by production line it would take
    // its own reduction in as a child; unsettled it would be reduced again
    // and again within the step.
    GrammarRows s;
    const int X = C2;
    s.symbols = {{a, L"a", 0, 0}, {c, L"c", 0, 0}, {d, L"d", 0, 0}, {S, L"S", 0, 4},
                 {A, L"A", 0, 2}, {B, L"B", 0, 1}, {X, L"X", 0, 3}};
    s.states = 3;
    s.productions = {{S, 1, 0, 0, nullptr},
                     {X, 1, 0, 0, nullptr},
                     {A, 2, 0, 0, nullptr},
                     {A, 1, 0, 0, nullptr},
                     {B, 1, 0, 0, nullptr}};
    s.nfa = {{0, a, _SHIFTDOWN, reductive(s, 2)},
             {0, A, _SHIFTDOWN, 2},
             {0, A, _SHIFTDOWN, reductive(s, 4)},
             {0, B, _SHIFTDOWN, reductive(s, 3)},
             {0, X, _SHIFTDOWN, 1},
             {1, d, _SHIFT, reductive(s, 0)},
             {2, c, _SHIFT, reductive(s, 1)}};
    s.start = S;
    for (bool disambiguate : {true, false}) {
        for (bool unambiguous : {true, false}) {
            s.disambiguate = disambiguate;
            s.unambiguous = unambiguous;
            Parse p(s, L"acd");
            p.parser.getState()->setKeepTree(true);
            ASSERT_EQ(p.parser.parse(), 1)
                << "disambiguate " << disambiguate << ", unambiguous " << unambiguous;
            FSATokenNode* tree = p.parser.getState()->parseTree(0);
            ASSERT_FALSE(contains_itself(tree));
            FSATokenNode* A_node = tree->childAt(0)->childAt(0);
            EXPECT_EQ(A_node->symbol(), A);
            ASSERT_EQ(A_node->children(), 1);
            EXPECT_EQ(A_node->childAt(0)->symbol(), a) << "A -> a, no detour through B";
        }
    }
}

TEST(FSAEndings, CyclicRightChildrenEnd) {
    // S -> R; R -> a, R2 -> R and R -> R2 as right children, which keep no
    // children: nothing in the trees shows the cycle R -> R2 -> R.
    GrammarRows s;
    const int R = A, R2 = B;
    s.symbols = {{a, L"a", 0, 0}, {S, L"S", 0, 2}, {R, L"R", 0, 1}, {R2, L"R2", 0, 1}};
    s.states = 1;
    s.productions = {{S, 1, 0, 0, nullptr},
                     {R, 1, 6, 0, nullptr},
                     {R2, 1, 6, 0, nullptr},
                     {R, 2, 6, 0, nullptr}};
    s.nfa = {{0, a, _SHIFTDOWN, reductive(s, 1)},
             {0, R, _SHIFTDOWN, reductive(s, 0)},
             {0, R, _SHIFTDOWN, reductive(s, 2)},
             {0, R2, _SHIFTDOWN, reductive(s, 3)}};
    s.start = S;
    for (bool disambiguate : {true, false}) {
        s.disambiguate = disambiguate;
        Parse p(s, L"a");
        EXPECT_EQ(p.parser.parse(), 1) << "disambiguate " << disambiguate;
    }
}

TEST(FSAEndings, HeadStayingOnAnIgnorableTokenOutlivesItsFailedMoves) {
    // On the blank the head after a tries A -> blank, which the SLR check
    // refuses (only c may follow A): the head stays, while the node of the
    // refused move goes. The head must not go with it.
    GrammarRows s = abc_grammar();
    s.ignorables = {blank};
    s.productions.push_back({A, 2, 0, 0, nullptr});
    s.nfa.insert(s.nfa.begin() + 1, {1, blank, _SHIFTDOWN, reductive(s, 2)});
    s.slr = {{A, {{c, c}}}};
    Parse p(s, L"a bc");
    p.parser.getState()->setKeepTree(true);
    ASSERT_EQ(p.parser.parse(), 1) << narrow(texts(p.parser.getErrors()));
    FSATokenNode* tree = p.parser.getState()->parseTree(0);
    EXPECT_EQ(tree->_value, L"abc");
    EXPECT_TRUE(p.parser.successful());
}

TEST(FSAEndings, ActionThatStopsTheParseKeepsItsDiagnostic) {
    // A -> b has an action that throws in the check phase. The retry without
    // the SLR check and the recovery would only fail again, and drop it.
    struct Case {
        std::function<void()> thrower;
        std::wstring text;
    } cases[] = {
        {[] { throw 7; }, L"Exception on Semantic Action"},
        {[] { throw std::runtime_error("failed"); }, L"failed"},
        {[] { throw ParseError(4, L"stop", Semantic, true, true); }, L"stop"},
    };
    static std::function<void()> thrower;
    for (const Case& k : cases) {
        for (bool recovery : {false, true}) {
            thrower = k.thrower;
            GrammarRows s = abc_grammar();
            s.productions[1].action = reinterpret_cast<untyped_action>(
                +[](int phase, std::deque<FSATokenNode*>&, FSATokenNode&, int, void*) -> int {
                    if (phase == 2)
                        thrower();
                    return 0;
                });
            if (recovery) {
                s.symbols.insert(s.symbols.begin(), {error_token, L"error", 0, 0});
                s.recovery = {0};
            }
            Parse p(s, L"abc");
            p.parser.getState()->setSemCheck(true);
            EXPECT_EQ(p.parser.parse(), 0);
            EXPECT_TRUE(p.parser.hasErrors());
            EXPECT_FALSE(p.parser.successful());
            EXPECT_EQ(texts(p.engine_errors()), L"[" + k.text + L"]") << "recovery " << recovery;
            EXPECT_TRUE(p.parser.getErrors().empty());
        }
    }
}
