// The pointer vector, the parse-stack and forest nodes and the
// include/exclude condition.

#include <gtest/gtest.h>

#include "FSACondition.h"
#include "FSAStateKeep2.h"
#include "FSAStateNode.h"
#include "SimpleVector.h"
#include "engine_grammar.h"

using namespace parsing;
using fsa_engine_test::act;
using fsa_engine_test::fault_of;
using fsa_engine_test::wout_of;

namespace {

const wchar_t* kBounds = L"Index Out of Bounds on Actions Vector.";

} // namespace

TEST(SimpleVector, StackAndIndexedUseWithBoundsFaults) {
    int a = 1, b = 2, c = 3;
    SimpleVector<int*, 128> v(128);
    EXPECT_TRUE(v.empty());
    EXPECT_EQ(fault_of([&] { v.at(0); }), kBounds);
    EXPECT_EQ(fault_of([&] { v.remove(); }), kBounds);
    EXPECT_EQ(v.append(&a), 1);
    EXPECT_EQ(v.append(&b), 2);
    EXPECT_EQ(v.append(&c), 3);
    EXPECT_EQ(v.at(0), &a);
    EXPECT_EQ(v.at(2), &c);
    EXPECT_EQ(fault_of([&] { v.at(-1); }), kBounds);
    EXPECT_EQ(fault_of([&] { v.at(3); }), kBounds);
    EXPECT_EQ(v.remove(), &c);
    EXPECT_EQ(v.remove(), &b);
    EXPECT_EQ(fault_of([&] { v.at(1); }), kBounds) << "a slot beyond filled() is out of bounds";
    EXPECT_EQ(v.remove(), &a);
    EXPECT_EQ(fault_of([&] { v.remove(); }), kBounds);
    EXPECT_EQ(v.filled(), 0);
    v.append(nullptr);
    EXPECT_EQ(v.at(0), nullptr);
    EXPECT_EQ(v.clear(), 0);
    EXPECT_EQ(v.filled(), 0);
    EXPECT_EQ(v.size, 128);
}

TEST(SimpleVector, GrowsByDoublingAndKeepsOrder) {
    std::vector<int> values(300);
    SimpleVector<int*, 128> v(128);
    for (int i = 0; i < 128; ++i)
        v.append(&values[static_cast<size_t>(i)]);
    EXPECT_EQ(v.size, 128);
    v.append(&values[128]);
    EXPECT_EQ(v.size, 256);
    for (int i = 0; i < 129; ++i)
        ASSERT_EQ(v.at(i), &values[static_cast<size_t>(i)]) << "entry " << i;

    SimpleVector<int*, 32> z(0);
    EXPECT_EQ(z.buffer, nullptr);
    std::vector<int> expected{1, 2, 4, 4, 8};
    for (size_t i = 0; i < expected.size(); ++i) {
        z.append(&values[i]);
        EXPECT_EQ(z.size, expected[i]) << "after append " << i + 1;
    }
}

TEST(FSAStateNode, LeftBrotherByMoveCodeAndReferenceCounts) {
    struct Row {
        int code;
        bool lBrother;
    };
    const Row rows[] = {{_SHIFT, true},      {_GOTO, true},      {_Push, true},
                        {_LSHIFT, true},     {_LGOTO, true},     {_LBack, true},
                        {_ShiftBack, true},  {_GoBack, true},    {_SHIFTDOWN, false},
                        {_GODOWN, false},    {_LGO_DOWN, false}, {_LSHIFT_DOWN, false},
                        {_LDownBack, false}, {_FINISH, false},   {15, false},
                        {_BACKTRACK, false}, {0, false},         {-3, false}};
    for (const Row& r : rows) {
        ParseAction pa = act(r.code, 7);
        FSAStateNode parent(nullptr, nullptr, pa, 0);
        FSATokenNode tok(97, 1, L"a", 1);
        FSAStateNode n(&tok, &parent, pa, 1);
        EXPECT_EQ(n._lBrother, r.lBrother) << "move code " << r.code;
        EXPECT_EQ(n._state, 7);
        EXPECT_EQ(parent._referenced, 1);
        EXPECT_EQ(tok._referenced, 1);
        FSAStateNode orphan(nullptr, nullptr, pa, 1);
        EXPECT_FALSE(orphan._lBrother) << "no parent, move code " << r.code;
        EXPECT_FALSE(orphan.symbolDefined());
    }
}

TEST(FSAStateNode, ReuseForgetsEverything) {
    ParseAction pa = act(_SHIFT, 3);
    FSAStateNode parent(nullptr, nullptr, pa, 0);
    FSAStateNode n(nullptr, &parent, pa, 1);
    n._protect = true;
    n._looped = 4;
    n.occurs = occurs_value{9, 2, 1, 5, 6};
    n._referenced = 7;
    ParseAction down = act(_SHIFTDOWN, 5);
    n.setUP(nullptr, nullptr, down, 3);
    EXPECT_FALSE(n._protect);
    EXPECT_EQ(n._looped, 0);
    EXPECT_EQ(n.occurs.id, 0);
    EXPECT_EQ(n.occurs.id_pos, -1);
    EXPECT_EQ(n._referenced, 0);
    EXPECT_EQ(n._state, 5);
    EXPECT_EQ(n._step, 3);
    EXPECT_EQ(n._condition, nullptr);
    EXPECT_FALSE(n._lBrother);
}

TEST(FSATokenNode, ChildrenCopyAndTexts) {
    FSATokenNode p(65536, 4, L"", 1);
    FSATokenNode a(97, 1, L"a", 1), b(98, 2, L"b", 2), e(101, 3, L"e", 3);
    p.insertChild(&a);
    p.insertChild(&b);
    p.addChild(&e);
    ASSERT_EQ(p.children(), 3);
    EXPECT_EQ(p.childAt(0), &b);
    EXPECT_EQ(p.childAt(1), &a);
    EXPECT_EQ(p.childAt(2), &e);
    EXPECT_EQ(p.childAt(-1), nullptr);
    EXPECT_EQ(p.childAt(3), nullptr);
    EXPECT_EQ(p.removeChild(), &e);
    EXPECT_EQ(e._referenced, 0);
    EXPECT_EQ(a._referenced, 1);

    EXPECT_EQ(p.prd_line(), -1);
    EXPECT_EQ(p.semanticAction(), nullptr);
    EXPECT_FALSE(p.error());
    EXPECT_EQ(p.addError(-2), -2);
    EXPECT_FALSE(p.error()) << "a negative weight counts as no error";

    FSATokenNode withNul(97, 1, std::wstring(L"ab\0cd", 5), 1);
    EXPECT_EQ(withNul._value, L"ab") << "text is copied up to its first null";
    FSAToken tok(97, 1, std::wstring(L"xy\0z", 4));
    EXPECT_EQ(tok.value(), L"xy");

    FSATokenNode c(99, 5, L"copy", 4);
    c._error = 3;
    c.original = false;
    p.CopyFrom(&c);
    EXPECT_EQ(p._symbol, 99);
    EXPECT_EQ(p._value, L"copy");
    EXPECT_EQ(p._error, 3);
    EXPECT_FALSE(p.original);
    EXPECT_EQ(p.children(), 2) << "CopyFrom keeps the node's own children";
    p.CopyFrom(nullptr);
    EXPECT_EQ(p._symbol, 99);

    c.setUp(7, 8, L"new", 9);
    EXPECT_EQ(c.step, -1);
    EXPECT_TRUE(c.original);
    EXPECT_EQ(c._error, 0);
    EXPECT_EQ(c.red, nullptr);
    EXPECT_EQ(c._from, 9);
    EXPECT_EQ(c._to, 9);
}

TEST(FSATokenNode, TraceFormat) {
    FSATokenNode p(65536, 4, L"ab", 1);
    FSATokenNode a(97, 1, L"a", 1);
    EXPECT_EQ(wout_of([&] { p.print(); }), L"(1-1)[ 65536, ab ] -> ");
    p.addChild(&a);
    EXPECT_EQ(wout_of([&] { p.println(L"H:"); }), L"H:(1-1)[ 65536, ab ] -> (1-1)[ 97, a ]\n");
}

TEST(FSAStateKeep2, StartsEmpty) {
    FSAStateKeep2 k;
    EXPECT_EQ(k.step, -1);
    EXPECT_EQ(k.sn, nullptr);
    EXPECT_EQ(k.tn, nullptr);
    EXPECT_FALSE(k.dirty);
}

namespace {

struct ConditionFixture : ::testing::Test {
    FSATokenNode a1{65540, 1, L"", 1};
    FSATokenNode a2{65540, 1, L"", 1};
    FSATokenNode b{65540, 1, L"", 1};
    FSATokenNode t{65541, 2, L"", 1};
    FSACondition c;
};

} // namespace

TEST_F(ConditionFixture, ExcludeInBothOrders) {
    EXPECT_EQ(c.add_HasEx(&a1), FSA_WAIT);
    EXPECT_EQ(c.add_HasEx(&t), FSA_WAIT);
    EXPECT_EQ(c.add__IsEx(&b), FSA_BLOCKED);
    ASSERT_EQ(c.blocked(), 1);
    EXPECT_EQ(c._blocked.front(), &a1);
    EXPECT_EQ(c.hasEx.count(65540), 0u);
    EXPECT_EQ(c.hasEx.count(65541), 1u) << "candidates of another symbol stay";
    EXPECT_EQ(c.add_HasEx(&a2), FSA_BLOCKED) << "a candidate after its exclusion is blocked";
    EXPECT_EQ(c.blocked(), 1) << "and stored nowhere";
    EXPECT_EQ(c.remBlocked(), &a1);
    EXPECT_EQ(c.remBlocked(), nullptr);

    FSACondition d;
    EXPECT_EQ(d.add__IsEx(&b), FSA_WAIT) << "a deciding side with no candidate waiting";
    EXPECT_EQ(d.isEx.count(65540), 1u);
    EXPECT_EQ(d.add_HasEx(nullptr), FSA_WAIT);
}

TEST_F(ConditionFixture, IncludeReleasesInArrivalOrderTakenLastFirst) {
    EXPECT_EQ(c.add_HasIn(&a1), FSA_WAIT);
    EXPECT_EQ(c.add_HasIn(&a2), FSA_WAIT);
    EXPECT_EQ(c.add__IsIn(&b), FSA_RELEASED);
    EXPECT_EQ(c.released(), 2);
    EXPECT_EQ(c.remReleased(), &a2);
    EXPECT_EQ(c.remReleased(), &a1);
    EXPECT_EQ(c.remReleased(), nullptr);
    EXPECT_EQ(c.add_HasIn(&t), FSA_WAIT);
    FSATokenNode later{65540, 1, L"", 1};
    EXPECT_EQ(c.add_HasIn(&later), FSA_RELEASED) << "the inclusion came first";
    EXPECT_EQ(c.released(), 0);
}

TEST_F(ConditionFixture, RemHasExAndClear) {
    c.add_HasEx(&a1);
    c.add_HasEx(&a2);
    std::deque<FSATokenNode*>* list = c.remHasEx(65540);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->size(), 2u);
    EXPECT_EQ(list->front(), &a1);
    EXPECT_EQ(c.remHasEx(65540), nullptr);
    c.add_HasEx(&b);
    EXPECT_EQ(c._created.size(), 2u);
    c.clear();
    EXPECT_TRUE(c._clear);
    EXPECT_TRUE(c._created.empty());
    EXPECT_TRUE(c.hasEx.empty());
    EXPECT_TRUE(c.isEx.empty());
    EXPECT_EQ(a1._referenced, 0) << "token nodes are not touched";
}

TEST_F(ConditionFixture, AddReducedKeepsTheFirstNode) {
    a1._error = 3;
    b._error = 1;
    EXPECT_EQ(c.add_Reduced(&a1), FSA_RELEASED);
    EXPECT_EQ(c.add_Reduced(&b), FSA_BLOCKED);
    EXPECT_EQ(c._reduced[65540], &a1);
}
