// The engine object over small grammars: construction and teardown, the
// per-token step, follow rules, the SLR check, the end of a parse, rewind.

#include <gtest/gtest.h>

#include "abc_grammar.h"

using namespace parsing;
using namespace fsa_engine_test;

namespace {

std::vector<std::wstring> texts(std::deque<ParseError>& errors) {
    std::vector<std::wstring> out;
    for (ParseError& e : errors)
        out.push_back(std::to_wstring(e.id) + L":" + e.txt);
    return out;
}

} // namespace

TEST(FSAStateLifecycle, FreshEngine) {
    GrammarRows s = abc_grammar();
    s.slr_follows = false;
    s.unambiguous = false;
    Engine e(s, {});
    OpenState& st = e.state;
    EXPECT_EQ(st.tid(), 0);
    EXPECT_EQ(st.step, -1);
    EXPECT_EQ(st.executedOnStep, -1);
    EXPECT_EQ(st.reductedOnStep, -1);
    EXPECT_TRUE(st.vState().empty());
    ASSERT_EQ(st.newState().filled(), 1);
    EXPECT_EQ(&st.newState(), &st.bVector);
    FSAStateNode* root = st.newState().at(0);
    EXPECT_EQ(root, st.root);
    EXPECT_EQ(root->_state, 0);
    EXPECT_EQ(root->_parent, nullptr);
    EXPECT_EQ(root->_token, nullptr);
    EXPECT_EQ(root->_step, 0);
    EXPECT_EQ(st.snCounter, 1);
    EXPECT_EQ(st.tnCounter + st.tkCounter + st.cndCounter + st.conds, 0);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(st.rds[i].step, -1);
    EXPECT_EQ(std::wstring(st.std_msg), L"Parser Error");
    EXPECT_EQ(std::wstring(st.exe_msg), L"Exception on Semantic Action");
    EXPECT_TRUE(st.getSwapValue());
    EXPECT_TRUE(st.getBottomUp());
    EXPECT_FALSE(st.getSemCheck());
    EXPECT_FALSE(st.getKeepTree());
    EXPECT_TRUE(st.disambiguate);
    EXPECT_FALSE(st.unambiguous);
    EXPECT_FALSE(st.slr_follows);
    e.grammar.slr_follows = true;
    EXPECT_FALSE(st.slr_follows) << "the engine keeps its own copy of the grammar's flags";
    EXPECT_EQ(st.actions_time, 0);
    EXPECT_EQ(st.slr_search_time, 0);
}

TEST(FSAStateLifecycle, TeardownReportWithDebug) {
    Grammar g(abc_grammar());
    FSAParsingTable table(g);
    TokenList proxy;
    std::wstring report = werr_of([&] {
        OpenState st(table, &proxy, nullptr);
        st.setDebug(true);
    });
    long long sn = static_cast<long long>(sizeof(FSAStateNode));
    std::wstring expected = L"CREATED STATE NODES 1 Bytes:" + std::to_wstring(sn) +
                            L"\n"
                            L"CREATED TOKEN NODES 0 Bytes:0\n"
                            L"CREATED      TOKENS 0 Bytes:0\n"
                            L"ALL                   3 Bytes:" +
                            std::to_wstring(sn) +
                            L"\n"
                            L"UNCLEARED STATE NODES 0 Bytes:0\n"
                            L"UNCLEARED CONDITIONS  0 Bytes:0\n"
                            L"UNCLEARED TOKEN NODES 0 Bytes:0\n"
                            L"UNCLEARED      TOKENS 0 Bytes:0\n"
                            L"ALL                   3 Bytes:0\n";
    EXPECT_EQ(report, expected);
    EXPECT_EQ(werr_of([&] { OpenState st(table, &proxy, nullptr); }), L"")
        << "without debug the teardown writes nothing";
}

TEST(FSAStateLifecycle, PoolsReuseLastReleasedFirst) {
    Engine e(abc_grammar(), {});
    OpenState& st = e.state;
    FSATokenNode& t1 = st.createTokenNode(a, 1, L"a");
    EXPECT_EQ(st.tnCounter, 1);
    t1.step = 5;
    t1.original = false;
    EXPECT_EQ(st.collect(&t1), 1);
    EXPECT_EQ(t1._referenced, -1);
    EXPECT_EQ(st.collect(&t1), 1) << "a pooled node is not pooled twice";
    FSATokenNode& again = st.createTokenNode(b, 2, L"b");
    EXPECT_EQ(&again, &t1);
    EXPECT_EQ(st.tnCounter, 1);
    EXPECT_EQ(again._referenced, 0);
    EXPECT_EQ(again.step, -1);
    EXPECT_TRUE(again.original);

    // A pooled node keeps its children until it is taken again.
    FSATokenNode& parent = st.createTokenNode(S, 5, L"");
    FSATokenNode& c1 = st.createTokenNode(a, 1, L"a");
    FSATokenNode& c2 = st.createTokenNode(b, 2, L"b");
    parent.addChild(&c1);
    parent.addChild(&c2);
    st.collect(&parent);
    EXPECT_EQ(c1._referenced, 1);
    EXPECT_EQ(st.removeNotNULLTokenNode(), &parent);
    EXPECT_EQ(parent.children(), 0);
    ASSERT_EQ(st.tnDelete.filled(), 2);
    EXPECT_EQ(st.tnDelete.at(0), &c2);
    EXPECT_EQ(st.tnDelete.at(1), &c1);
    EXPECT_EQ(c1._referenced, -1);

    st.tnDelete.append(nullptr);
    st.clearTokensBuffer(0);
    EXPECT_TRUE(st.tnDelete.empty());
    EXPECT_EQ(st.tnCounter, 2) << "t1/again and parent are still in use";
    st.tnDelete.append(nullptr);
    EXPECT_EQ(st.removeNotNULLTokenNode(), nullptr);
    EXPECT_TRUE(st.tnDelete.empty());
}

TEST(FSAStateLifecycle, TokenRecordsAndConditionsComeFromTheirPools) {
    Engine e(abc_grammar(), {});
    OpenState& st = e.state;
    FSAToken& k = st.createToken(a, 1, std::wstring(L"ab\0c", 4));
    EXPECT_EQ(k.value(), L"ab");
    EXPECT_EQ(st.tkCounter, 1);
    FSACondition* c1 = st.createFSACondition();
    FSACondition* c2 = st.createFSACondition();
    EXPECT_NE(c1, c2);
    EXPECT_EQ(st.cndCounter, 2);
    FSATokenNode& t = st.createTokenNode(a, 1, L"a");
    c1->add_HasEx(&t);
    EXPECT_EQ(st.collect(c1), 1);
    EXPECT_EQ(st.createFSACondition(), c1) << "a pooled condition is reused, emptied";
    EXPECT_TRUE(c1->_clear);
    EXPECT_EQ(st.cndCounter, 2);
    delete c1;
    delete c2;
    ParseAction down = act(_SHIFTDOWN, 1);
    EXPECT_EQ(st.getInstantiatedCondition(nullptr), nullptr);
    FSAStateNode& n = st.createStateNode(st.root, nullptr, down);
    FSACondition* attached = st.getInstantiatedCondition(&n);
    EXPECT_EQ(st.getInstantiatedCondition(&n), attached);
    EXPECT_EQ(st.conds, 1);
}

TEST(FSAStateLifecycle, ClearTokensBufferTrimsToBelowKeepSize) {
    Engine e(abc_grammar(), {});
    OpenState& st = e.state;
    std::vector<FSATokenNode*> nodes;
    for (int i = 0; i < 40; ++i)
        nodes.push_back(&st.createTokenNode(a, 1, L"a"));
    for (FSATokenNode* n : nodes)
        st.collect(n);
    st.clearTokensBuffer(32);
    EXPECT_EQ(st.tnDelete.filled(), 31);
    EXPECT_EQ(st.tnCounter, 31);
    st.clearTokensBuffer(32);
    EXPECT_EQ(st.tnDelete.filled(), 31);
}

TEST(FSAStateLifecycle, CollectWalksTowardTheRoot) {
    Engine e(abc_grammar(), {});
    OpenState& st = e.state;
    ParseAction down = act(_SHIFTDOWN, 1);
    FSAStateNode& p = st.createStateNode(st.root, nullptr, down);
    FSAStateNode& x = st.createStateNode(&p, nullptr, down);
    FSAStateNode& y = st.createStateNode(&p, nullptr, down);
    FSATokenNode& t = st.createTokenNode(a, 1, L"a");
    FSAStateNode& z = st.createStateNode(&x, &t, down);
    EXPECT_EQ(st.snCounter, 5);
    st.getInstantiatedCondition(&z);
    EXPECT_EQ(st.conds, 1);

    z.Protect();
    st.collect(&z);
    EXPECT_EQ(z._referenced, 0) << "a protected node stays";
    EXPECT_NE(z._condition, nullptr);
    z.UnProtect();
    st.collect(&z);
    EXPECT_EQ(z._referenced, -1);
    EXPECT_EQ(z._token, nullptr);
    EXPECT_EQ(z._condition, nullptr);
    EXPECT_EQ(z._parent, &x) << "a collected node keeps its parent pointer";
    EXPECT_EQ(st.conds, 0);
    EXPECT_EQ(t._referenced, -1) << "its token node lost its last holder";
    EXPECT_EQ(x._referenced, -1) << "x had no other child";
    EXPECT_EQ(p._referenced, 1) << "p still holds y";
    ASSERT_EQ(st.snDelete.filled(), 2);

    // createStateNode takes the last pooled node, passing over nulls.
    st.snDelete.append(nullptr);
    FSAStateNode& reused = st.createStateNode(&y, nullptr, down);
    EXPECT_EQ(&reused, &x);
    EXPECT_EQ(st.snCounter, 5);
    EXPECT_EQ(reused._referenced, 0);
    EXPECT_EQ(y._referenced, 1);
}

TEST(FSAStateLifecycle, ClearMarkedReleasesConditionsAndUnprotectedNodes) {
    Engine e(abc_grammar(), {});
    OpenState& st = e.state;
    ParseAction down = act(_SHIFTDOWN, 1);
    FSAStateNode& kept = st.createStateNode(st.root, nullptr, down);
    FSAStateNode& gone = st.createStateNode(st.root, nullptr, down);
    st.getInstantiatedCondition(&kept);
    st.getInstantiatedCondition(&gone);
    kept.Protect();
    st.mark(&kept);
    st.mark(&gone);
    st.mark(&gone);
    FSATokenNode& t = st.createTokenNode(a, 1, L"a");
    st.mark(&t);
    st.clearMarked();
    EXPECT_EQ(st.conds, 0) << "every marked node loses its condition";
    EXPECT_EQ(kept._condition, nullptr);
    EXPECT_EQ(kept._referenced, 0);
    EXPECT_EQ(gone._referenced, -1);
    EXPECT_EQ(t._referenced, -1);
    EXPECT_TRUE(st.snMarked.empty());
    EXPECT_TRUE(st.tnMarked.empty());

    SimpleVector<FSAStateNode*, 128> v(128);
    FSAStateNode& n1 = st.createStateNode(st.root, nullptr, down);
    FSAStateNode& n2 = st.createStateNode(st.root, nullptr, down);
    v.append(&n1);
    v.append(&n2);
    st.mark(v);
    EXPECT_TRUE(v.empty());
    ASSERT_EQ(st.snMarked.filled(), 2);
    EXPECT_EQ(st.snMarked.at(0), &n2);
}

TEST(FSAStateStep, ParsesAbcIntoOneTree) {
    Engine e(abc_grammar(), {a, b, c});
    OpenState& st = e.state;
    st.setKeepTree(true);
    ASSERT_EQ(e.run(), 3u);
    EXPECT_EQ(st.step, 2);
    EXPECT_EQ(st.onEOF(), 1);
    EXPECT_TRUE(st.parsed());
    ASSERT_EQ(st.parseTrees(), 1);
    EXPECT_EQ(st.errorTrees(), 0);
    EXPECT_EQ(st.parseTree(1), nullptr);
    FSATokenNode* tree = st.parseTree(0);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->_symbol, S);
    EXPECT_EQ(tree->_value, L"abc");
    EXPECT_EQ(tree->_from, 1);
    EXPECT_EQ(tree->_to, 3);
    ASSERT_EQ(tree->children(), 3);
    EXPECT_EQ(tree->childAt(0)->_symbol, a);
    FSATokenNode* A_node = tree->childAt(1);
    EXPECT_EQ(A_node->_symbol, A);
    EXPECT_EQ(A_node->_from, 2);
    EXPECT_EQ(A_node->_to, 2);
    ASSERT_EQ(A_node->children(), 1);
    EXPECT_EQ(A_node->childAt(0)->_value, L"b");
    EXPECT_EQ(tree->childAt(2)->_symbol, c);
    EXPECT_TRUE(st.getErrors().empty());
    EXPECT_FALSE(st.hasErrors());
}

TEST(FSAStateStep, NotKeepingTheTreeStripsOriginalInnerNodes) {
    // A is fed back while it is the only pending reduction and no head has
    // moved yet: the early bottom-up pass releases its children. S is a
    // start symbol and is never fed back, so no later pass runs over it.
    Engine e(abc_grammar(), {a, b, c});
    ASSERT_EQ(e.run(), 3u);
    EXPECT_EQ(e.state.executedOnStep, 1);
    EXPECT_EQ(e.state.reductedOnStep, 1);
    EXPECT_EQ(e.state.onEOF(), 1);
    FSATokenNode* tree = e.state.parseTree(0);
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->children(), 3);
    EXPECT_EQ(tree->childAt(1)->children(), 0) << "A gave up its child b";
    EXPECT_TRUE(tree->childAt(1)->release);
    EXPECT_EQ(tree->childAt(1)->step, -1) << "an inner node without an action keeps its stamp";
    EXPECT_EQ(tree->_value, L"abc");
}

TEST(FSAStateStep, FirstTokenWithoutTakerReportsAndKeepsHeads) {
    Engine e(abc_grammar(), {c});
    OpenState& st = e.state;
    EXPECT_EQ(e.run(), 0u);
    EXPECT_EQ(texts(st.getErrors()),
              (std::vector<std::wstring>{L"-1:Unexpected: c. ", L"1:Expected a or b"}));
    EXPECT_EQ(st.getErrors().front()._type, Syntax);
    EXPECT_TRUE(st.hasErrors());
    ASSERT_EQ(st.vState().filled(), 1);
    EXPECT_TRUE(st.vState().at(0)->Protected()) << "heads of a failed step stay for a retry";
    EXPECT_TRUE(st.newState().empty());

    st.issue_errors = false;
    ASSERT_TRUE(st.StateToNewState());
    EXPECT_FALSE(st.actions(c, L"c", false, false, false, false));
    EXPECT_TRUE(st.getErrors().empty()) << "a wrapped step without errors reports none";
    EXPECT_EQ(st.step, 0) << "nor counts a step";
    EXPECT_FALSE(st.ignore);
    EXPECT_TRUE(st.increase);
    EXPECT_TRUE(st.issue_errors);
    EXPECT_TRUE(st.getBottomUp()) << "the wrapper restores the phase switches";
}

TEST(FSAStateStep, IgnorableTokenPassesHeadsOver) {
    GrammarRows s = abc_grammar();
    s.ignorables = {blank};
    Engine e(s, {a, blank, b, blank, c});
    e.state.setKeepTree(true);
    ASSERT_EQ(e.run(), 5u);
    EXPECT_EQ(e.state.onEOF(), 1);
    FSATokenNode* tree = e.state.parseTree(0);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->children(), 3);
    EXPECT_EQ(tree->_value, L"abc");
}

TEST(FSAStateStep, EndOfInputWithoutTree) {
    Engine e(abc_grammar(), {a, b});
    ASSERT_EQ(e.run(), 2u);
    EXPECT_EQ(e.state.onEOF(), 0);
    EXPECT_FALSE(e.state.parsed());
    EXPECT_EQ(texts(e.state.getErrors()), (std::vector<std::wstring>{L"-1:", L"2:Expected c"}))
        << "the end mark has no name; the head waits in state 2";
    EXPECT_EQ(e.state.newState().filled(), 1) << "the incomplete head";

    Engine empty(abc_grammar(), {});
    EXPECT_EQ(empty.state.onEOF(), 0);
    EXPECT_FALSE(empty.state.parsed());
    EXPECT_EQ(texts(empty.state.getErrors()), (std::vector<std::wstring>{L"-1:"}))
        << "the root has no token node and is no tree";
    EXPECT_EQ(empty.state.parseTree(0), nullptr);
    EXPECT_EQ(fault_of([&] { empty.state.parseTree(-1); }),
              L"Index Out of Bounds on Actions Vector.");
}

TEST(FSAStateStep, StepWithoutHeadsThrows) {
    Engine e(abc_grammar(), {});
    e.state.onNext();
    EXPECT_EQ(fault_of([&] { e.state.onNext(); }), L"Incosistency: State Vector Empty.");
    EXPECT_TRUE(e.state.vState().empty());
    EXPECT_TRUE(e.state.newState().empty());
}

TEST(FSAStateStep, WordsAreSeenInTheFollowingStepOnly) {
    GrammarRows s = abc_grammar();
    s.symbols[4].category = 10; // d is a word
    Engine e(s, {});
    OpenState& st = e.state;
    st.onNext(); // step 0
    FSATokenNode& dn = st.createTokenNode(d, 4, L"d");
    EXPECT_FALSE(st.addIfWord(&dn));
    EXPECT_FALSE(st.addIfWord(static_cast<FSATokenNode*>(nullptr)));
    FSATokenNode& outside = st.createTokenNode(d, 7, L"d");
    st.addIfWord(&outside);
    EXPECT_EQ(st.newWords(), (std::set<int>{d}));
    EXPECT_FALSE(st.WordReduced(d)) << "not in the step that recorded it";
    st.newState().append(st.root);
    st.onNext();
    EXPECT_TRUE(st.WordReduced(d));
    st.newState().append(st.root);
    st.onNext();
    EXPECT_FALSE(st.WordReduced(d)) << "two steps later it is gone";
    st.newState().append(st.root);
}

TEST(FSAStateStep, SimpleFollowRuleDecidesOnTheNextToken) {
    // State 1 keeps a head only when the next token is in follow set 7,
    // which holds b; the rule sends it to state 3, which takes b.
    GrammarRows s = abc_grammar();
    s.states = 4;
    s.nfa = {
        {0, a, _SHIFTDOWN, 1},           {1, b, _SHIFTDOWN, reductive(s, 1)}, {1, A, _SHIFT, 2},
        {2, c, _SHIFT, reductive(s, 0)}, {3, b, _SHIFTDOWN, reductive(s, 1)}, {3, A, _SHIFT, 2}};
    s.rules = {{1, Rule{7, true, 3, simple}}};
    s.followSets = {{b, {7}}};
    s.ignorables = {blank};
    {
        Engine e(s, {a, blank, b, c});
        ASSERT_EQ(e.run(), 4u) << "the blank is passed over by the rule";
        EXPECT_EQ(e.state.onEOF(), 1);
    }
    {
        Engine e(s, {a, c});
        EXPECT_EQ(e.run(), 0u) << "c is not in set 7: the move is dropped";
        EXPECT_EQ(e.state.getErrors().front().txt, L"Unexpected: a. ");
    }
    s.rules = {{1, Rule{7, true, 3, composite}}};
    {
        Engine e(s, {a, c});
        EXPECT_EQ(e.run(), 1u) << "a composite rule is not examined";
    }
    s.rules = {{1, Rule{7, false, 3, simple}}};
    {
        Engine e(s, {a});
        EXPECT_EQ(e.run(), 1u) << "the end mark is outside set 7: a not-follows rule holds";
        ASSERT_EQ(e.state.newState().filled(), 1);
        EXPECT_EQ(e.state.newState().at(0)->_state, 3);
    }
    s.rules = {{1, Rule{7, true, 3, simple}}};
    s.ignorables = {blank, -1};
    {
        Engine e(s, {a});
        EXPECT_EQ(e.run(), 0u) << "the end mark decides even when listed as ignorable";
    }
}

TEST(FSAStateStep, SlrCheckRefusesAReductionAndIsSkippedWhenOff) {
    GrammarRows s = abc_grammar();
    s.slr = {{A, {{c, c}}}}; // only c may follow A
    {
        Engine e(s, {a, b, d});
        EXPECT_EQ(e.run(), 1u) << "A -> b is refused before d";
        EXPECT_FALSE(e.state.getErrors().empty());
        e.state.slr_follows = false;
        ASSERT_TRUE(e.state.StateToNewState());
        EXPECT_TRUE(e.state.actions(b, L"b", false, false, true, false))
            << "the retry without the check reduces A";
        EXPECT_EQ(e.state.step, 1);
    }
    {
        Engine e(s, {a, b, c});
        EXPECT_EQ(e.run(), 3u);
    }
    {
        Engine e(s, {a, b, d});
        e.proxy.more = false;
        EXPECT_EQ(e.run(), 2u) << "without further input the check passes";
    }
}

TEST(FSAStateStep, PeekMapsAndCachesPositiveSteps) {
    Engine e(abc_grammar(), {a, b, c, d});
    OpenState& st = e.state;
    EXPECT_EQ(st.peek(0), b);
    EXPECT_EQ(st.peek(0), b);
    EXPECT_EQ(e.proxy.asked, 2) << "step 0 is never served from the cache";
    EXPECT_EQ(st.peek(1), c);
    EXPECT_EQ(st.peek(1), c);
    EXPECT_EQ(e.proxy.asked, 3);
    EXPECT_EQ(st.peek(2), d);
    EXPECT_EQ(st.peek(5), -1) << "past the end: the end mark";
    e.proxy.tokens = {a, 70000};
    EXPECT_EQ(st.peek(0), 70000) << "an id without a row comes back unchanged";
}

TEST(FSAStateStep, RewindMakesParentsTheHeads) {
    Engine e(abc_grammar(), {a, b, d});
    OpenState& st = e.state;
    EXPECT_EQ(e.run(), 2u);
    // The head in state 2 (holding A) failed on d.
    ASSERT_EQ(st.vState().filled(), 1);
    FSAStateNode* head = st.vState().at(0);
    FSAStateNode* parent = head->_parent;
    ASSERT_NE(parent, nullptr);
    int pooled = st.snDelete.filled();
    EXPECT_TRUE(st.rewind());
    ASSERT_EQ(st.vState().filled(), 1);
    EXPECT_EQ(st.vState().at(0), parent);
    EXPECT_EQ(head->_referenced, -1) << "the dropped head went back to the pool";
    EXPECT_EQ(st.snDelete.filled(), pooled + 1);
    EXPECT_EQ(parent->_referenced, 0);
    EXPECT_TRUE(st.newState().empty());
    EXPECT_TRUE(st.snMarked.empty());
    EXPECT_TRUE(st.rewind()) << "once more, to the root";
    EXPECT_EQ(st.vState().at(0), st.root);
    EXPECT_FALSE(st.rewind()) << "the root has no parent to give";

    Engine none(abc_grammar(), {});
    EXPECT_FALSE(none.state.rewind());
}

TEST(FSAStateStep, StateToNewStateCopiesNonNullHeads) {
    Engine e(abc_grammar(), {});
    OpenState& st = e.state;
    st.onNext();
    ParseAction down = act(_SHIFTDOWN, 1);
    FSAStateNode& x = st.createStateNode(st.root, nullptr, down);
    st.vState().append(nullptr);
    st.vState().append(&x);
    FSAStateNode& old = st.createStateNode(st.root, nullptr, down);
    st.newState().append(&old);
    EXPECT_TRUE(st.StateToNewState());
    ASSERT_EQ(st.newState().filled(), 2);
    EXPECT_EQ(st.newState().at(0), st.root);
    EXPECT_EQ(st.newState().at(1), &x);
    EXPECT_EQ(st.vState().filled(), 3);
    ASSERT_EQ(st.snMarked.filled(), 1);
    EXPECT_EQ(st.snMarked.at(0), &old);
}

TEST(FSAStateStep, RepeatedPassDoesNotSettleAgainstTheEarlierPass) {
    // Step 1 reduces A from the node of a; running the same token again
    // from the same heads without a new step number must reduce and feed A
    // again instead of taking it for a repeat of the earlier pass's A.
    Engine retry(abc_grammar(), {a, b, c});
    OpenState& rs = retry.state;
    ASSERT_TRUE(rs.actions(a, L"a"));
    ASSERT_TRUE(rs.actions(b, L"b"));
    ASSERT_TRUE(rs.StateToNewState());
    EXPECT_TRUE(rs.actions(b, L"b", false, false, true, false)) << "token b, step 1 again";
    EXPECT_EQ(rs.step, 1);
    ASSERT_TRUE(rs.actions(c, L"c"));
    EXPECT_EQ(rs.onEOF(), 1);
}
