// Reductions of the engine: local disambiguation, include/exclude and word
// productions, semantic phases with their failures, loops, diagnostics.

#include <gtest/gtest.h>

#include <stdexcept>

#include "abc_grammar.h"

using namespace parsing;
using namespace fsa_engine_test;

namespace {

reduction row(int lhs, short line, short category, int dependsOn = 0,
              untyped_action action = nullptr) {
    return reduction{action, 0, line, lhs, -1, category, dependsOn};
}

// An engine in the middle of its first step, with the root as the only head.
struct InStep : ::testing::Test {
    Engine e{abc_grammar(), {a, b, c}};
    OpenState& st = e.state;
    int posA = 6; // row of A in abc_grammar's symbol table

    void SetUp() override {
        st.step = 0;
        st.onNext();
    }
    FSATokenNode* node(int symbol, const wchar_t* text, reduction* red, int error = 0) {
        FSATokenNode& n = st.createTokenNode(symbol, symbol == A ? posA : 1, text);
        n.red = red;
        n._error = error;
        return &n;
    }
    FSAStateNode* origin() {
        ParseAction down = act(_SHIFTDOWN, 1);
        return &st.createStateNode(st.root, nullptr, down);
    }
    bool marked(FSATokenNode* n) {
        for (int i = 0; i < st.tnMarked.filled(); ++i)
            if (st.tnMarked.at(i) == n)
                return true;
        return false;
    }
};

} // namespace

TEST_F(InStep, RepeatedReductionsAreSettledByErrorsThenLinesOrPacked) {
    reduction line1 = row(A, 1, 0), line3 = row(A, 3, 0), line5 = row(A, 5, 0);
    enum Outcome { Drop, Replace, Pack };
    struct Case {
        int otn_error, tn_error;
        bool unambiguous;
        reduction *otn_red, *tn_red;
        Outcome outcome;
    };
    const Case cases[] = {
        {0, 1, true, &line1, &line1, Drop},  {1, 0, true, &line1, &line1, Replace},
        {2, 2, true, &line5, &line3, Drop},  {0, 0, true, &line5, &line3, Replace},
        {0, 0, true, &line3, &line5, Drop},  {0, 0, true, &line3, &line3, Drop},
        {0, 0, false, &line3, &line5, Pack}, {-1, -1, false, &line3, &line3, Pack},
    };
    for (const Case& k : cases) {
        st.unambiguous = k.unambiguous;
        st.step += 1; // a fresh memo for each case
        FSAStateNode* P = origin();
        FSATokenNode* otn = node(A, L"old", k.otn_red, k.otn_error);
        FSATokenNode* child = node(b, L"b", nullptr);
        otn->addChild(child);
        FSATokenNode* tn = node(A, L"new", k.tn_red, k.tn_error);
        std::string what = "errors " + std::to_string(k.otn_error) + "/" +
                           std::to_string(k.tn_error) + " lines " +
                           std::to_string(k.otn_red->ProductionLine) + "/" +
                           std::to_string(k.tn_red->ProductionLine) +
                           (k.unambiguous ? " unambiguous" : " ambiguous");
        st.prdReducted.clear();
        st.stReducted.clear();
        EXPECT_EQ(st.putReducted(P, otn), 0);
        EXPECT_EQ(st.putReducted(P, tn), 0);
        EXPECT_EQ(st.prdReducted.filled(), 1) << what << ": the second node is never queued";
        switch (k.outcome) {
        case Drop:
            EXPECT_TRUE(marked(tn)) << what;
            EXPECT_EQ(otn->_value, L"old") << what;
            EXPECT_EQ(otn->children(), 1) << what;
            break;
        case Replace:
            EXPECT_TRUE(marked(tn)) << what;
            EXPECT_EQ(otn->_value, L"new") << what;
            EXPECT_EQ(otn->_error, k.tn_error) << what;
            EXPECT_EQ(otn->children(), 0) << what << ": otn takes tn's children";
            EXPECT_EQ(tn->children(), 1) << what;
            break;
        case Pack:
            EXPECT_FALSE(marked(tn)) << what;
            EXPECT_TRUE(otn->_ambiguous) << what;
            ASSERT_EQ(otn->children(), 2) << what;
            EXPECT_EQ(otn->childAt(0)->_value, L"old") << what;
            EXPECT_EQ(otn->childAt(0)->childAt(0), child) << what;
            EXPECT_EQ(otn->childAt(1), tn) << what;
            EXPECT_EQ(tn->_referenced, 1) << what;
            FSATokenNode* third = node(A, L"third", k.tn_red, k.tn_error);
            st.putReducted(P, third);
            EXPECT_EQ(otn->children(), 3) << what << ": a third tie is one more alternative";
            break;
        }
        st.tnMarked.clear();
    }
}

TEST_F(InStep, MemoIsPerStepAndPerOrigin) {
    reduction r = row(A, 1, 0);
    FSAStateNode* P = origin();
    FSAStateNode* Q = origin();
    FSATokenNode* n1 = node(A, L"1", &r);
    FSATokenNode* n2 = node(A, L"2", &r);
    FSATokenNode* n3 = node(A, L"3", &r);
    st.putReducted(P, n1);
    st.putReducted(Q, n2);
    EXPECT_EQ(st.prdReducted.filled(), 2) << "another origin node: queued too";
    EXPECT_NE(Q->_condition, nullptr) << "recorded in Q's condition";
    st.putReducted(Q, n3);
    EXPECT_EQ(st.prdReducted.filled(), 2) << "settled against n2";
    EXPECT_EQ(st.putReducted(nullptr, n3), -1);

    st.step += 1;
    FSATokenNode* n4 = node(A, L"4", &r);
    st.putReducted(P, n4);
    EXPECT_EQ(st.prdReducted.filled(), 3) << "the next step starts a fresh memo";

    st.disambiguate = false;
    st.putReducted(P, node(A, L"5", &r));
    EXPECT_EQ(st.prdReducted.filled(), 4);
}

TEST(FSAStateReduce, AmbiguousGrammarKeepsBothDerivations) {
    // A -> b twice (productions 1 and 2, lines 1 and 2) from one state.
    GrammarRows s = abc_grammar();
    s.nfa = {{0, a, _SHIFTDOWN, 1},
             {1, b, _SHIFTDOWN, reductive(s, 1)},
             {1, b, _SHIFTDOWN, reductive(s, 2)},
             {1, A, _SHIFT, 2},
             {2, c, _SHIFT, reductive(s, 0)}};
    s.productions.push_back({A, 2, 0, 0, nullptr});
    for (bool unambiguous : {true, false}) {
        s.unambiguous = unambiguous;
        Engine e(s, {a, b, c});
        e.state.setKeepTree(true);
        ASSERT_EQ(e.run(), 3u);
        ASSERT_EQ(e.state.onEOF(), 1) << "one tree either way";
        FSATokenNode* A_node = e.state.parseTree(0)->childAt(1);
        if (unambiguous) {
            EXPECT_FALSE(A_node->_ambiguous);
            EXPECT_EQ(A_node->prd_line(), 1) << "the lower production line stays";
        } else {
            EXPECT_TRUE(A_node->_ambiguous);
            ASSERT_EQ(A_node->children(), 2);
            EXPECT_EQ(A_node->childAt(0)->children(), 1);
            EXPECT_EQ(A_node->childAt(1)->children(), 1);
        }
    }
}

TEST_F(InStep, ExcludePairsMeetAtTheOrigin) {
    reduction left = row(A, 1, 2), right = row(A, 2, 3);
    // Left side alone: parked, released when the queue runs dry.
    FSAStateNode* P = origin();
    FSATokenNode* l1 = node(A, L"l1", &left);
    EXPECT_EQ(st.addReducted(left, P, l1), 0);
    EXPECT_EQ(st.exWaiting.size(), 1u);
    EXPECT_EQ(st.conds, 1);
    EXPECT_TRUE(st.prdReducted.empty());
    EXPECT_TRUE(st.releaseOne());
    ASSERT_EQ(st.prdReducted.filled(), 1);
    EXPECT_EQ(st.prdReducted.at(0), l1);
    EXPECT_FALSE(st.releaseOne());

    // Right side while the left waits: the left is blocked for good.
    st.step += 1;
    st.prdReducted.clear();
    st.stReducted.clear();
    FSAStateNode* Q = origin();
    FSATokenNode* l2 = node(A, L"l2", &left);
    st.addReducted(left, Q, l2);
    st.addReducted(right, Q, node(A, L"r", &right));
    EXPECT_TRUE(marked(l2));
    EXPECT_FALSE(st.releaseOne()) << "the group is gone";
    EXPECT_TRUE(st.exWaiting.empty());
    EXPECT_TRUE(st.prdReducted.empty());

    // Right side first: the left is dropped on arrival.
    FSATokenNode* l3 = node(A, L"l3", &left);
    st.addReducted(left, Q, l3);
    EXPECT_TRUE(st.exWaiting.empty());
    EXPECT_TRUE(st.prdReducted.empty());

    // Without an origin a conditional node is dropped.
    FSATokenNode* l4 = node(A, L"l4", &left);
    EXPECT_EQ(st.addReducted(left, nullptr, l4), 0);
    EXPECT_TRUE(marked(l4));
}

TEST_F(InStep, WaitingExcludesReleaseLatestOriginAndHighestLevelFirst) {
    reduction leftA = row(A, 1, 2), leftS = row(S, 1, 2);
    FSAStateNode* early = origin();
    early->_step = 4;
    FSAStateNode* late = origin();
    late->_step = 7;
    FSATokenNode* fromEarly = node(S, L"e", &leftS);
    fromEarly->_TokenIndex = 5;                     // S, level 2
    FSATokenNode* lowLevel = node(A, L"l", &leftA); // A, level 1
    FSATokenNode* highLevel = node(S, L"h", &leftS);
    highLevel->_TokenIndex = 5;
    st.addReducted(leftS, early, fromEarly);
    st.addReducted(leftA, late, lowLevel);
    st.addReducted(leftS, late, highLevel);
    std::vector<FSATokenNode*> order;
    while (st.releaseOne())
        order.push_back(st.prdReducted.at(st.prdReducted.filled() - 1));
    EXPECT_EQ(order, (std::vector<FSATokenNode*>{highLevel, lowLevel, fromEarly}));
}

TEST_F(InStep, IncludePairsAndWordRules) {
    reduction left = row(A, 1, 4), right = row(A, 2, 5);
    FSAStateNode* P = origin();
    FSATokenNode* l1 = node(A, L"1", &left);
    FSATokenNode* l2 = node(A, L"2", &left);
    st.addReducted(left, P, l1);
    st.addReducted(left, P, l2);
    EXPECT_TRUE(st.prdReducted.empty()) << "include candidates wait";
    st.disambiguate = false;
    st.addReducted(right, P, node(A, L"r", &right));
    ASSERT_EQ(st.prdReducted.filled(), 2);
    EXPECT_EQ(st.prdReducted.at(0), l2) << "the last parked goes first";
    EXPECT_EQ(st.prdReducted.at(1), l1);
    FSATokenNode* l3 = node(A, L"3", &left);
    st.addReducted(left, P, l3);
    EXPECT_EQ(st.prdReducted.at(2), l3) << "after the inclusion a candidate goes on at once";

    // Words recorded in the previous step decide categories 8 and 9.
    reduction word = row(B, 1, 10), exclude = row(A, 1, 8, B), include = row(A, 1, 9, B);
    st.prdReducted.clear();
    st.stReducted.clear();
    st.addReducted(word, P, node(B, L"w", &word));
    EXPECT_EQ(st.newWords(), (std::set<int>{B}));
    EXPECT_EQ(st.prdReducted.filled(), 1) << "a word rule goes on like any reduction";
    FSATokenNode* ex = node(A, L"x", &exclude);
    FSATokenNode* in = node(A, L"i", &include);
    st.addReducted(exclude, P, ex);
    st.addReducted(include, P, in);
    EXPECT_EQ(st.prdReducted.at(1), ex) << "the word is not seen in its own step";
    EXPECT_TRUE(marked(in));
    st.newState().append(st.root);
    st.onNext();
    FSAStateNode* P2 = origin();
    FSATokenNode* ex2 = node(A, L"x2", &exclude);
    FSATokenNode* in2 = node(A, L"i2", &include);
    st.addReducted(exclude, P2, ex2);
    st.addReducted(include, P2, in2);
    EXPECT_TRUE(marked(ex2));
    ASSERT_EQ(st.prdReducted.filled(), 1);
    EXPECT_EQ(st.prdReducted.at(0), in2);
}

namespace {

struct Log {
    std::vector<std::wstring> lines;
    std::function<void(FSATokenNode&)> then;
};

int record(int phase, std::deque<FSATokenNode*>& children, FSATokenNode& parent, int count,
           void* context) {
    Log* log = static_cast<Log*>(context);
    std::wstring line =
        std::to_wstring(phase) + L":" + parent._value + L"/" + std::to_wstring(count);
    for (FSATokenNode* c : children)
        line += L" " + c->_value + L"(" + std::to_wstring(c->children()) + L")";
    log->lines.push_back(line);
    if (log->then)
        log->then(parent);
    return 0;
}

untyped_action recorder() {
    return reinterpret_cast<untyped_action>(&record);
}

struct Custom : capi::interfaces::_I_Errno {
    std::wstring text = L"custom";
    Int4 code() const override { return 9; }
    const std::wstring& describe(capi::interfaces::_I_Language&) const override { return text; }
    const std::wstring& describe() const override { return text; }
};

struct Semantics : ::testing::Test {
    Log log;
    Grammar grammar{abc_grammar()};
    FSAParsingTable table{grammar};
    TokenList proxy;
    OpenState st{table, &proxy, &log};
    reduction acting = row(A, 1, 0, 0, recorder());

    FSATokenNode* inner(const wchar_t* text, std::vector<FSATokenNode*> children) {
        FSATokenNode& n = st.createTokenNode(A, 6, text);
        n.red = &acting;
        for (FSATokenNode* c : children)
            n.addChild(c);
        return &n;
    }
    FSATokenNode* leaf(const wchar_t* text) { return &st.createTokenNode(a, 1, text); }
};

} // namespace

TEST_F(Semantics, BottomUpRunsChildrenFirstAndReleasesAsItGoes) {
    FSATokenNode* a1 = inner(L"a1", {leaf(L"x")});
    FSATokenNode* a2 = inner(L"a2", {leaf(L"y")});
    FSATokenNode* b1 = inner(L"b1", {leaf(L"z")});
    FSATokenNode* root = inner(L"root", {inner(L"A", {a1, a2}), inner(L"B", {b1})});
    EXPECT_TRUE(st.BottomUp(root, false, 1));
    EXPECT_EQ(log.lines,
              (std::vector<std::wstring>{L"1:a1/1 x(0)", L"1:a2/1 y(0)", L"1:A/2 a1(0) a2(0)",
                                         L"1:b1/1 z(0)", L"1:B/1 b1(0)", L"1:root/2 A(0) B(0)"}));
    EXPECT_EQ(root->children(), 0);
    EXPECT_EQ(st.tnMarked.filled(), 8);
    EXPECT_EQ(a1->step, 1);

    log.lines.clear();
    FSATokenNode* kept = inner(L"k", {leaf(L"x")});
    st.BottomUp(kept, true, 2);
    EXPECT_EQ(kept->children(), 1);
    EXPECT_FALSE(kept->release);
    EXPECT_TRUE(st.BottomUp(nullptr, false, 1));
}

TEST_F(Semantics, TopDownRunsParentsFirst) {
    FSATokenNode* root = inner(L"root", {inner(L"A", {leaf(L"x")}), inner(L"B", {})});
    EXPECT_TRUE(st.TopDown(root, true));
    EXPECT_EQ(log.lines,
              (std::vector<std::wstring>{L"3:root/2 A(1) B(0)", L"3:A/1 x(0)", L"3:B/0"}));
    EXPECT_EQ(root->children(), 2);
    log.lines.clear();
    EXPECT_TRUE(st.TopDown(root, false));
    EXPECT_EQ(log.lines.size(), 3u);
    EXPECT_EQ(root->children(), 0);
    EXPECT_EQ(root->_referenced, -1) << "taken apart and pooled";
    EXPECT_TRUE(st.TopDown(nullptr, false));
}

TEST_F(Semantics, ActionFailuresBecomeDiagnostics) {
    struct Case {
        std::function<void(FSATokenNode&)> thrower;
        std::wstring text;
        int code;
        int type;
        bool finished;
        bool accepted; // the check phase's answer
    };
    const Case cases[] = {
        {[](FSATokenNode&) { throw ParseError(4, L"rejected", Syntax, false, true); }, L"rejected",
         4, Syntax, false, false},
        {[](FSATokenNode&) { throw ParseError(4, L"kept", Syntax, false, false); }, L"kept", 4,
         Syntax, false, true},
        {[](FSATokenNode&) { throw ParseError(5, L"stop", Semantic, true, true); }, L"stop", 5,
         Semantic, true, false},
        {[](FSATokenNode&) { throw Custom(); }, L"custom", 0, Semantic, true, true},
        {[](FSATokenNode&) { throw std::runtime_error("abc\xE9"); }, L"abc\xFFE9", 0, Semantic,
         true, true},
        {[](FSATokenNode&) { throw std::runtime_error(""); }, L"Parser Error", 0, Semantic, true,
         true},
        {[](FSATokenNode&) { throw 7; }, L"Exception on Semantic Action", 0, Semantic, true, true},
        {[](FSATokenNode& n) {
             n.release = true;
             throw 7;
         },
         L"Exception on Semantic Action", 0, Semantic, true, false},
    };
    st.setSemCheck(true);
    for (const Case& k : cases) {
        st._errors.clear();
        st._finished = false;
        log.then = k.thrower;
        FSATokenNode* n = inner(L"n", {});
        bool accepted = st.onSemanticCheck(*n);
        ASSERT_EQ(st._errors.size(), 1u) << "text " << k.text;
        EXPECT_EQ(st._errors[0].txt, k.text);
        EXPECT_EQ(st._errors[0].id, k.code) << "text " << k.text;
        EXPECT_EQ(st._errors[0]._type, k.type) << "text " << k.text;
        EXPECT_EQ(st._finished, k.finished) << "text " << k.text;
        EXPECT_EQ(accepted, k.accepted) << "text " << k.text;
        EXPECT_FALSE(st.hasErrors()) << "action failures are no syntax errors";
    }
    log.then = nullptr;
    st.setSemCheck(false);
    log.lines.clear();
    EXPECT_TRUE(st.onSemanticCheck(*inner(L"n", {})));
    EXPECT_TRUE(log.lines.empty()) << "the check phase is off";
}

TEST_F(Semantics, ErrorProductionIsReportedOnceByTheBottomUpPhase) {
    FSATokenNode* n = inner(L"n", {leaf(L"x")});
    n->_issue_error = true;
    st.setBottomUp(false);
    st.BottomUp(n, true, 1);
    EXPECT_TRUE(n->_issue_error) << "the phase is off: the flag stays";
    st.setBottomUp(true);
    st.BottomUp(n, true, 1);
    st.BottomUp(n, true, 0);
    ASSERT_EQ(st._errors.size(), 1u);
    EXPECT_EQ(st._errors[0].txt, L"Reduced Error Production: A. ");
    EXPECT_EQ(st._errors[0].id, -1);
    EXPECT_TRUE(st.hasErrors());
}

TEST(FSAStateDiagnostics, MessagesOfAFailedStep) {
    GrammarRows s = abc_grammar();
    s.termErrors = {{d, 3}};
    s.messages.push_back({3, L"No d here"});
    s.specificErrors = {{2, d, 2}};
    s.productionErrors = {{A, 3}};
    Engine e(s, {});
    OpenState& st = e.state;
    SimpleVector<FSAStateNode*, 128> heads(128);
    ParseAction pa{};
    pa.Do = _SHIFTDOWN;
    for (int state : {2, 0, 1, 0}) {
        pa.value.NextState = state;
        heads.append(&st.createStateNode(st.root, nullptr, pa));
    }
    heads.append(nullptr);
    st.errors(heads, c);
    std::vector<std::wstring> got;
    for (ParseError& p : st._errors)
        got.push_back(std::to_wstring(p.id) + L":" + p.txt);
    EXPECT_EQ(got, (std::vector<std::wstring>{L"-1:Unexpected: c. ", L"1:Expected a or b",
                                              L"2:Expected c"}))
        << "the token's message, then each message id once, ascending";
    st._errors.clear();
    st.errors(heads, d);
    got.clear();
    for (ParseError& p : st._errors)
        got.push_back(std::to_wstring(p.id) + L":" + p.txt);
    EXPECT_EQ(got,
              (std::vector<std::wstring>{L"3:No d here ", L"1:Expected a or b", L"2:Expected c"}));
    st._errors.clear();
    EXPECT_EQ(st.error_production(A), 3);
    EXPECT_EQ(st._errors[0].txt, L"No d here ");
    st._errors.clear();
    SimpleVector<FSAStateNode*, 128> none(128);
    st.errors(none, 70000);
    ASSERT_EQ(st._errors.size(), 1u);
    EXPECT_EQ(st._errors[0].txt, L"") << "a token without a name or a message";
}

TEST(FSAStateMoves, LoopBoundsAndPacking) {
    const int L = 65539;
    GrammarRows s = abc_grammar();
    s.symbols.push_back({L, L"L", 0, 0});
    s.occurs = {{L, 2, 4}};
    Engine e(s, {});
    OpenState& st = e.state;
    FSATokenNode& tn = st.createTokenNode(a, 1, L"a");
    auto head = [&](int looped, int loopSymbol) {
        ParseAction pa = act(_SHIFTDOWN, 1);
        FSAStateNode& h = st.createStateNode(st.root, &tn, pa);
        h._looped = looped;
        h.occurs.id = loopSymbol;
        return &h;
    };
    auto move = [&](FSAStateNode* h, int code, int loopSymbol) {
        ParseAction pa{};
        pa.Do = static_cast<ActionType>(code);
        pa.value.NextState = 2;
        pa.onToken = loopSymbol;
        return st.moveTo(h, &tn, pa);
    };
    struct Case {
        int code, looped, onSymbol, loopSymbol;
        int expected; // the new node's loop count, or 0 when refused
    };
    const Case cases[] = {
        {_LSHIFT, 0, 0, L, 0}, {_LSHIFT, 1, L, L, 2},  {_LSHIFT, 3, L, L, 4}, {_LSHIFT, 4, L, L, 0},
        {_LSHIFT, 2, B, L, 0}, {_LBack, 0, 0, L, 1},   {_LBack, 2, L, L, 3},  {_LBack, 3, L, L, 0},
        {_LSHIFT, 7, c, c, 8}, {_GoBack, 9, L, L, 10}, {_GoBack, 4, B, L, 1},
    };
    for (const Case& k : cases) {
        FSAStateNode* n = move(head(k.looped, k.onSymbol), k.code, k.loopSymbol);
        std::string what =
            "code " + std::to_string(k.code) + " from _looped " + std::to_string(k.looped);
        if (k.expected == 0) {
            EXPECT_EQ(n, nullptr) << what;
            continue;
        }
        ASSERT_NE(n, nullptr) << what;
        EXPECT_EQ(n->_looped, k.expected) << what;
        EXPECT_EQ(n->occurs.id, k.loopSymbol) << what;
    }
    EXPECT_EQ(move(nullptr, _SHIFT, 0), nullptr);
    FSAStateNode* gb = move(head(0, 0), _GoBack, c);
    EXPECT_EQ(gb->occurs.id_pos, 1);

    // The third iteration over an empty token node replaces the head.
    FSATokenNode& empty = st.createTokenNode(L, 7, L"");
    ParseAction pa = act(_SHIFTDOWN, 1);
    FSAStateNode& base = st.createStateNode(st.root, &tn, pa);
    FSAStateNode& h = st.createStateNode(&base, &empty, pa);
    h._looped = 2;
    h.occurs.id = c;
    int before = base._referenced;
    FSAStateNode* packed = move(&h, _LBack, c);
    ASSERT_NE(packed, nullptr);
    EXPECT_EQ(packed->_parent, &base);
    EXPECT_EQ(base._referenced, before + 1);
    EXPECT_EQ(h._referenced, 0);
    EXPECT_EQ(st.snMarked.at(st.snMarked.filled() - 1), &h);
    empty._value = L"x";
    FSAStateNode* stacked = move(&h, _LBack, c);
    EXPECT_EQ(stacked->_parent, &h) << "a head whose token node has a text is stacked on";
}

TEST(FSAStateReduce, FaultsOfTheGrammarAndReductionsWithoutOrigin) {
    // A reductive state beyond the productions is a fault of the tables.
    GrammarRows broken = abc_grammar();
    broken.nfa[0] = {0, a, _SHIFTDOWN, reductive(broken, 5)};
    Engine e(broken, {a});
    EXPECT_EQ(fault_of([&] { e.run(); }), L"Reductive state without a production.");

    // A production that continues the root's own move has no origin node to
    // be fed to: its node is left to the end-of-step reclamation.
    GrammarRows rootless = abc_grammar();
    rootless.nfa = {{0, b, _SHIFT, reductive(rootless, 1)}};
    Engine r(rootless, {b});
    EXPECT_EQ(r.run(), 0u);
    bool pooled = false;
    for (int i = 0; i < r.state.tnDelete.filled(); ++i)
        pooled = pooled || r.state.tnDelete.at(i)->_symbol == A;
    EXPECT_TRUE(pooled) << "the node of A went back to the pool";
}
