#include <gtest/gtest.h>

#include <functional>

#include "ParseError.h"
#include "SimpleParsingTable.h"

using parsing::_ERROR;
using parsing::_FINISH;
using parsing::_IGNORE;
using parsing::_REDUCE;
using parsing::_SHIFT;
using parsing::ParseAction;
using parsing::SimpleParsingTable;

namespace {

int live_tables = 0; // tables alive; each test table counts itself

// A table of any runtime class whose rows are given by the test.
template <class Base> struct TestTable : Base {
    template <class... Caps>
    TestTable(std::function<void(Base&)> rows, Caps... caps) : Base(caps...) {
        ++live_tables;
        if (rows)
            rows(*this);
    }
    ~TestTable() override { --live_tables; }
    void fill() override {}
};

template <class Base, class... Caps> Base* table(std::function<void(Base&)> rows, Caps... caps) {
    return new TestTable<Base>(rows, caps...);
}

enum : int { A = 65, B = 66, CLASS = 65700, IGN = 65540, RED = 1 };

// A small lexical-style grammar: A and B stand for the class CLASS; state 0
// shifts CLASS to 1; state 1 reduces on the end mark; state 2 has a default
// reduction; IGN is ignorable; state 5 has two alternatives on the end mark.
struct Mini : ParseData {
    explicit Mini(bool with_defaults = true, int fail_at = -1) {
        int k = 0;
        auto step = [&] {
            if (k++ == fail_at)
                throw parsing::ParseError(-1, L"fault", parsing::Init, false, true);
        };
        step();
        terminals = table<Terminals>(
            [](Terminals& t) {
                t.append(-1, 0, 0, true, L"EOF");
                t.append(A, 0, 0, true, L"A");
                t.append(IGN, 0, 0, false, L"spaces");
            },
            3);
        step();
        ranges = table<Ranges>(nullptr, 0);
        step();
        error_msgs =
            table<ErrorsTable>([](ErrorsTable& t) { t.append(3, L"Expected :\"A\"."); }, 1);
        step();
        eqstable = table<eqs_table>(
            [](eqs_table& t) {
                t.append(A, A, CLASS);
                t.append(B, B, CLASS);
            },
            2, 2, 256);
        gotostable = table<gotos_table>([](gotos_table& t) { t.append(1, 65800, 4); }, 1, 2);
        srstable = table<srs_table>(
            [](srs_table& t) {
                t.append(0, CLASS, 1, 1);
                t.append(1, -1, 2, RED);
                t.append(3, 90, 3, -1000);
                t.append(4, -1, 20, -1001);
            },
            4, 6);
        srsdefaults = with_defaults ? table<srs_defaults>(
                                          [](srs_defaults& t) {
                                              for (int s = 0; s < 6; ++s)
                                                  t.append(s, s == 2 ? 2 : 0, s == 2 ? 0 : -1);
                                          },
                                          6, 6)
                                    : nullptr;
        conflictstable = table<conflicts_table>(
            [](conflicts_table& t) {
                t.append(5, -1, 3, -1000);
                t.append(5, -1, 2, 0);
            },
            2, 1);
        state_errors = table<KeyValueFixedTable>([](KeyValueFixedTable& t) { t.append(0, 3); }, 1);
        term_errors = table<KeyValueFixedTable>(nullptr, 0);
        productions_errors =
            table<KeyValueFixedTable>([](KeyValueFixedTable& t) { t.append(65717, 0); }, 1);
        specialized_errors =
            table<KeyKeyValueFixedTable>([](KeyKeyValueFixedTable& t) { t.append(1, B, 3); }, 1);
        reductions = table<ReductionsTable>(
            [](ReductionsTable& t) {
                t.append(nullptr, 1, 1, IGN, 0, 0);
                t.append(nullptr, 2, 2, 65548, 11, 0);
            },
            2);
        recovery_states =
            table<KeyValueFixedTable>([](KeyValueFixedTable& t) { t.append(0, 0); }, 1);
        ignorables = table<KeyValueFixedTable>([](KeyValueFixedTable& t) { t.append(IGN, 0); }, 1);
        sma = table<KeyValueFixedTable>(nullptr, 0);
        input_case = Input_ToUpper;
    }
};

ParseAction fresh() {
    ParseAction a;
    a.Do = _SHIFT;
    a.value.NextState = 42;
    a.onToken = a.onState = 99;
    return a;
}

} // namespace

TEST(SimpleParsingTable, ActionDecisionOrder) {
    Mini g;
    SimpleParsingTable t(g);
    struct Case {
        const char* what;
        int state, token;
        parsing::ActionType Do;
        int value;
    };
    const Case cases[] = {
        {"a character shifts through its class", 0, A, _SHIFT, 1},
        {"another member of the class", 0, B, _SHIFT, 1},
        {"a row keyed by the end mark reduces", 1, -1, _REDUCE, RED},
        {"a finish row answers -1", 3, 90, _FINISH, -1},
        {"a backtrack row answers -1", 4, -1, parsing::_BACKTRACK, -1},
        {"no row: the state's default", 2, 77, _REDUCE, 0},
        {"no row, no default: ignorable token", 1, IGN, _IGNORE, 42},
        {"no row, no default: error", 1, 77, _ERROR, 42},
        {"a state beyond the table", 50, A, _ERROR, 42},
    };
    for (const Case& c : cases) {
        ParseAction a = fresh();
        t.action(c.state, c.token, a);
        EXPECT_EQ(a.Do, c.Do) << c.what;
        EXPECT_EQ(a.value.NextState, c.value) << c.what;
        EXPECT_EQ(a.onToken, c.token) << c.what << ": onToken is the token, not its class";
        EXPECT_EQ(a.onState, c.state) << c.what;
    }
}

TEST(SimpleParsingTable, WithoutDefaultsNoDefaultApplies) {
    Mini g(false);
    SimpleParsingTable t(g);
    ParseAction a = fresh();
    EXPECT_EQ(t.action(2, 77, a).Do, _ERROR);
}

TEST(SimpleParsingTable, TwoEquivalentsAreAFault) {
    Mini g;
    delete g.eqstable;
    g.eqstable = table<eqs_table>(
        [](eqs_table& e) {
            e.append(A, A, CLASS);
            e.append(A, A, CLASS + 1);
        },
        2, 1, 256);
    SimpleParsingTable t(g);
    ParseAction a = fresh();
    try {
        t.action(0, A, a);
        FAIL() << "no fault for a token with two equivalents";
    } catch (const parsing::ParseError& e) {
        EXPECT_EQ(e.describe(), L"More than one Equivalence entries for token -1");
        EXPECT_EQ(e.type(), parsing::Syntax);
    }
    EXPECT_EQ(a.onToken, 99); // nothing of out changed
}

TEST(SimpleParsingTable, GotoAndConflicts) {
    Mini g;
    SimpleParsingTable t(g);
    EXPECT_EQ(t.GOTO(1, 65800), 4);
    try {
        t.GOTO(1, 65801);
        FAIL() << "no fault for a missing goto";
    } catch (const parsing::ParseError& e) {
        EXPECT_EQ(e.describe(), L"GOTO return -1");
        EXPECT_EQ(e.type(), parsing::Syntax);
        EXPECT_EQ(e.code(), -1);
    }
    EXPECT_EQ(t.getConflicts(5, -1), 2);
    EXPECT_EQ(t.getConflicts(5, -1), 2);
    EXPECT_EQ(t.getConflicts(0, -1), 0);
    ParseAction a = fresh();
    EXPECT_EQ(t.getConflict(5, -1, 1, a).Do, _FINISH);
    EXPECT_EQ(a.value.NextState, -1);
    EXPECT_EQ(a.onToken, 99); // onToken and onState are not touched
    EXPECT_EQ(t.getConflict(5, -1, 2, a).Do, _REDUCE);
    EXPECT_EQ(a.value.ReduceId, 0);
    for (int order : {0, 3, -1})
        EXPECT_EQ(t.getConflict(5, -1, order, a).Do, _ERROR) << "order " << order;
    EXPECT_EQ(t.getConflict(0, -1, 1, a).Do, _ERROR);
}

TEST(SimpleParsingTable, NamesMessagesErrorIdsAndFlags) {
    Mini g;
    SimpleParsingTable t(g);
    EXPECT_STREQ(t.token(A), L"A");
    EXPECT_EQ(t.token(B), nullptr);
    EXPECT_STREQ(t.msg_error(3), L"Expected :\"A\".");
    EXPECT_EQ(t.msg_error(4), nullptr);
    EXPECT_EQ(t.state_error(0), 3);
    EXPECT_EQ(t.state_error(1), -1);
    EXPECT_EQ(t.term_error(A), -1);
    EXPECT_EQ(t.production_error(65717), 0);
    EXPECT_EQ(t.specific_error(1, B), 3);
    EXPECT_EQ(t.specific_error(1, A), -1);
    EXPECT_TRUE(t.recovery(0));
    EXPECT_FALSE(t.recovery(1));
    EXPECT_TRUE(t.ignore(IGN));
    EXPECT_FALSE(t.sma(IGN));
    EXPECT_TRUE(t.UpperCase());
    EXPECT_FALSE(t.LowerCase());
    EXPECT_EQ(t.EndMark(), -1);
    EXPECT_EQ(t.ErrorMark(), -4);
    EXPECT_EQ(t.AnyMark(), -12);
    EXPECT_EQ(t.BacktrackMark(), -34);
    g.input_case = Input_Sensitive;
    EXPECT_FALSE(t.UpperCase());
    EXPECT_FALSE(t.LowerCase());
}

TEST(SimpleParsingTable, ReductionOutsideTheTableIsNotFound) {
    Mini g;
    SimpleParsingTable t(g);
    reduction r{};
    r.ProductionLine = 7;
    t.reduction(1, r);
    EXPECT_EQ(r.state, 65548);
    EXPECT_EQ(r.NumberOfParameters, 2);
    EXPECT_EQ(r.category, 11);
    for (int id : {-1, 2}) {
        t.reduction(id, r);
        EXPECT_EQ(r.semanticAction, nullptr) << "id " << id;
        EXPECT_EQ(r.NumberOfParameters, -1) << "id " << id;
        EXPECT_EQ(r.state, -1) << "id " << id;
        EXPECT_EQ(r.category, -1) << "id " << id;
        EXPECT_EQ(r.ProductionLine, 7) << "other fields stay";
    }
}

TEST(ParseData, DeletesEveryTableOnceAndCleansUpAFailedConstruction) {
    live_tables = 0;
    { Mini g; }
    EXPECT_EQ(live_tables, 0);
    // A fault at the k-th step leaves no table behind.
    for (int k = 0; k < 4; ++k) {
        EXPECT_THROW(Mini(true, k), parsing::ParseError) << "fault at step " << k;
        EXPECT_EQ(live_tables, 0) << "fault at step " << k;
    }
}
