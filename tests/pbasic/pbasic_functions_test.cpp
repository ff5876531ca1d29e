// getParameter: $$ and $1..$childs of the production being reduced, and the
// report and throw for any other parameter number.
#include <gtest/gtest.h>

#include <sstream>

#include "pbasic_functions.h"

using parsing::p_entry;

namespace {

// The stack as the parser holds it while reducing a production of three
// symbols: an unrelated entry below, the three children on top.
std::deque<p_entry> stack_of(std::initializer_list<int> tokens) {
    std::deque<p_entry> q;
    for (int t : tokens) {
        p_entry e;
        e.token = t;
        q.push_back(e);
    }
    return q;
}

TEST(GetParameter, ParentAndChildrenFromTheLeft) {
    std::deque<p_entry> q = stack_of({100, 1, 2, 3});
    p_entry father;
    father.token = 99;
    EXPECT_EQ(&getParameter(q, father, 3, 0), &father);
    EXPECT_EQ(getParameter(q, father, 3, 1).token, 1);
    EXPECT_EQ(getParameter(q, father, 3, 2).token, 2);
    EXPECT_EQ(getParameter(q, father, 3, 3).token, 3) << "$childs is the top of the stack";
    std::deque<p_entry> empty;
    EXPECT_EQ(&getParameter(empty, father, 0, 0), &father) << "$$ with no children";
}

TEST(GetParameter, InvalidNumberIsReportedAndThrown) {
    std::deque<p_entry> q = stack_of({100, 1, 2, 3});
    p_entry father;
    for (int i : {4, -1}) {
        std::wostringstream captured;
        std::wstreambuf* old = std::wcerr.rdbuf(captured.rdbuf());
        bool thrown = false;
        try {
            getParameter(q, father, 3, i);
        } catch (const parsing::ParseError& e) {
            thrown = true;
            EXPECT_EQ(e.code(), 0);
            EXPECT_EQ(e.describe(), L"Requested invalid parameter");
            EXPECT_EQ(e.type(), parsing::SemAction);
            EXPECT_FALSE(e.stop());
            EXPECT_FALSE(e.reject());
            EXPECT_EQ(e.line(), 0);
        }
        std::wcerr.rdbuf(old);
        EXPECT_TRUE(thrown) << "parameter " << i << " of 3";
        EXPECT_EQ(captured.str(),
                  L"Requested on $$(i) Invalid I== " + std::to_wstring(i) + L"\nChildren are: 3\n");
    }
}

TEST(GetParameter, StackShorterThanTheChildrenIsOutOfRange) {
    std::deque<p_entry> q = stack_of({1});
    p_entry father;
    EXPECT_THROW(getParameter(q, father, 3, 1), std::out_of_range);
}

// The helpers hand a value up the stack: Father owns what it receives and
// drops what it held; a text is appended only where there is a value.
TEST(ActionHelpers, SynthesizeMovesTheValueAndSyncatAppends) {
    p_entry father, child;
    child.synthesized = new std::wstring(L"10");
    pbasic_synthesize(father, child);
    ASSERT_NE(father.synthesized, nullptr);
    EXPECT_EQ(*father.synthesized, L"10");
    EXPECT_EQ(child.synthesized, nullptr) << "the child no longer owns the value";
    pbasic_syncat(father, L" PRINT");
    pbasic_syncat(father, nullptr);
    EXPECT_EQ(*father.synthesized, L"10 PRINT");
    pbasic_syncat(child, L"lost");
    EXPECT_EQ(child.synthesized, nullptr) << "no value to append to";
    child.synthesized = new std::wstring(L"20");
    pbasic_synthesize(father, child); // the value held before is released
    EXPECT_EQ(*father.synthesized, L"20");
    child.synthesized = father.synthesized;
    pbasic_synthesize(father, child); // the same value is kept, not released
    EXPECT_EQ(*father.synthesized, L"20");
    delete father.synthesized;
}

} // namespace
