// FSAParsingTable and FSAParsingTable2: the grammar questions of the engine,
// the NFA action lookup and the two follow checks.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "FSAParsingTable2.h"
#include "fsa_grammar.h"

using fsa_test::fault_of;
using fsa_test::Grammar;
using namespace parsing;

namespace {

// Symbols by row: 3, 5, 6, 7 (plain terminals), 40 "digit" (the class of the
// characters 48..57), 48 "zero" (a character with a row of its own, inside
// the range), 65 "A" (a word, level 3), 66 "B" (equivalents 3, 6, 7),
// 65536 "Expr" (level 2), 65537 "Start".
enum Row { r3, r5, r6, r7, rDigit, rZero, rA, rB, rExpr, rStart, rows };

class QueryGrammar : public Grammar {
public:
    QueryGrammar() {
        set(
            terminals,
            [](Terminals& t) {
                t.append(3, 0, 0, false, L"three");
                t.append(5, 0, 0, false, L"five");
                t.append(6, 0, 0, false, L"six");
                t.append(7, 0, 0, false, L"seven");
                t.append(40, 0, 1, false, L"digit");
                t.append(48, 0, 0, false, L"zero");
                t.append(65, 10, 3, true, L"A");
                t.append(66, 0, 0, false, L"B");
                t.append(65536, 0, 2, false, L"Expr");
                t.append(65537, 0, 0, false, L"Start");
            },
            rows);
        set(
            ranges, [](Ranges& r) { r.append(40, 48, 57); }, 1);
        set(
            eqstable,
            [](eqs_table& e) {
                for (int t : {3, 5, 6, 7})
                    e.append(0, t, t);
                e.append(0, 40, 5);
                e.append(0, 66, 3);
                e.append(0, 66, 6);
                e.append(0, 66, 7);
                e.append(0, 65536, 65536);
            },
            9, 7, 0);
        // State 1: terminals 3, 5, 6, 6, 7; state 2 has no rows; 4 states, so
        // states from 4 up are reductive.
        set(
            nfatable,
            [](nfa_table& n) {
                n.append(0, 65536, _GOTO, 3);
                n.append(1, 3, _SHIFT, 2);
                n.append(1, 5, _Push, 3);
                n.append(1, 6, _LSHIFT, 4);
                n.append(1, 6, _GoBack, 5);
                n.append(1, 7, _FINISH, 1);
                n.append(3, 5, _SHIFT, 1);
            },
            7, 4);
        set(
            occurs, [](Occurs& o) { o.append(65, 2, 5, 9); }, 1);
        set(
            error_msgs,
            [](ErrorsTable& e) {
                e.append(1, L"state one");
                e.append(2, L"bad five");
                e.append(3, L"bad pair");
            },
            3);
        set(
            state_errors, [](KeyValueFixedTable& t) { t.append(1, 1); }, 1);
        set(
            term_errors, [](KeyValueFixedTable& t) { t.append(5, 2); }, 1);
        set(
            productions_errors, [](KeyValueFixedTable& t) { t.append(65536, 3); }, 1);
        set(
            specialized_errors, [](KeyKeyValueFixedTable& t) { t.append(1, 5, 3); }, 1);
        set(
            reductions,
            [](ReductionsTable& r) {
                r.append(nullptr, 3, 2, 65536, 11, 65);
                r.append(nullptr, 1, 1, 65537, 0, 0);
            },
            2);
        startId = 65537;
    }
};

std::vector<ParseAction> moves(const FSAParsingTable& t, int state, int token, int index = -1) {
    ActionsVector v(1);
    int n = t.actions(state, token, index, v);
    std::vector<ParseAction> out;
    for (int i = 0; i < v.filled(); ++i)
        out.push_back(v.action(i));
    EXPECT_EQ(n, static_cast<int>(out.size()));
    return out;
}

} // namespace

TEST(FSAParsingTableTest, SymbolQueries) {
    QueryGrammar g;
    FSAParsingTable t(g);
    EXPECT_EQ(t.Reduction(4), 0);
    EXPECT_EQ(t.Reduction(9), 5);
    EXPECT_EQ(t.Reduction(3), -1);
    EXPECT_EQ(t.Reduction(-1), -5);
    EXPECT_EQ(t.getId(-1), 0);
    EXPECT_EQ(t.getId(rows), 0);
    EXPECT_EQ(t.getId(rA), 65);
    EXPECT_EQ(t.IndexedLevel(-1), -1);
    EXPECT_EQ(t.IndexedLevel(rA), 3);
    EXPECT_EQ(t.Level(65536), 2);
    EXPECT_EQ(t.Level(99), -1);
    EXPECT_TRUE(t.isWordIndexed(rA));
    EXPECT_FALSE(t.isWordIndexed(rB));
    EXPECT_FALSE(t.isWordIndexed(rows));
    EXPECT_TRUE(t.isWord(65));
    EXPECT_FALSE(t.isWord(64));
    EXPECT_EQ(t.TokenIndex(49), -1) << "a character in a range without a row of its own";
    EXPECT_EQ(t.RangedIndex(49), rDigit);
    EXPECT_EQ(t.RangedIndex(48), rDigit) << "the range wins over the character's own row";
    EXPECT_EQ(t.TokenIndex(48), rZero);
    EXPECT_EQ(t.RangedIndex(65537), rStart);
    EXPECT_EQ(t.RangedIndex(58), -1);
    EXPECT_EQ(std::wstring(t.token(65536)), L"Expr");
    EXPECT_EQ(t.token(4), nullptr);
    EXPECT_TRUE(t.StartSymbol(65537));
    EXPECT_FALSE(t.StartSymbol(65536));
    EXPECT_EQ(t.EndMark(), -1);
    EXPECT_EQ(t.ErrorMark(), -4);
    EXPECT_EQ(t.AnyMark(), -12);
}

TEST(FSAParsingTableTest, RangedIndexOnceIndexed) {
    QueryGrammar g;
    g.build_indexes();
    FSAParsingTable t(g);
    EXPECT_EQ(t.RangedIndex(50), rDigit);
    g.ranges->table[0].id_pos = rB; // the stored value itself is answered
    EXPECT_EQ(t.RangedIndex(50), rB);
}

TEST(FSAParsingTableTest, LoopBoundsAndProductions) {
    QueryGrammar g;
    g.build_indexes();
    FSAParsingTable t(g);
    occurs_value r{65, 17, 0, 0, 99};
    EXPECT_EQ(t.OccursOf(65, r), 0);
    EXPECT_EQ(r.from, 2);
    EXPECT_EQ(r.to, 5);
    EXPECT_EQ(r.id, 65);
    EXPECT_EQ(r.id_pos, 17);
    EXPECT_EQ(r.Until, 99) << "only from and to are handed out";
    occurs_value untouched{1, 2, 3, 4, 5};
    EXPECT_EQ(t.OccursOf(66, untouched), -1);
    EXPECT_EQ(untouched.from, 3);

    ::reduction red{};
    t.reduction(0, red);
    EXPECT_EQ(red.NumberOfParameters, 3);
    EXPECT_EQ(red.ProductionLine, 2);
    EXPECT_EQ(red.state, 65536);
    EXPECT_EQ(red.id_pos, rExpr);
    EXPECT_EQ(red.category, 11);
    EXPECT_EQ(red.dependsOn, 65);
    for (int id : {-1, 2}) {
        ::reduction& empty = t.reduction(id, red);
        EXPECT_EQ(&empty, &red);
        EXPECT_EQ(red.semanticAction, nullptr);
        EXPECT_EQ(red.NumberOfParameters, -1) << "production " << id;
        EXPECT_EQ(red.ProductionLine, 0);
        EXPECT_EQ(red.state, -1);
        EXPECT_EQ(red.id_pos, -1);
        EXPECT_EQ(red.category, -1);
        EXPECT_EQ(red.dependsOn, 0);
    }
}

TEST(FSAParsingTableTest, ErrorLookups) {
    QueryGrammar g;
    FSAParsingTable t(g);
    EXPECT_EQ(t.state_error(1), 1);
    EXPECT_EQ(t.state_error(2), -1);
    EXPECT_EQ(t.term_error(5), 2);
    EXPECT_EQ(t.term_error(6), -1);
    EXPECT_EQ(t.production_error(65536), 3);
    EXPECT_EQ(t.production_error(65537), -1);
    EXPECT_EQ(t.specific_error(1, 5), 3);
    EXPECT_EQ(t.specific_error(5, 1), -1);
    EXPECT_EQ(std::wstring(t.msg_error(2)), L"bad five");
    EXPECT_EQ(t.msg_error(4), nullptr);
}

TEST(FSAParsingTableTest, CaseModes) {
    struct Case {
        int input_case;
        bool upper, lower;
    } cases[] = {{0, false, false}, {1, true, false}, {2, false, true}, {3, false, false}};
    for (const Case& c : cases) {
        QueryGrammar g;
        g.input_case = c.input_case;
        FSAParsingTable t(g);
        EXPECT_EQ(t.UpperCase(), c.upper) << "input_case " << c.input_case;
        EXPECT_EQ(t.LowerCase(), c.lower) << "input_case " << c.input_case;
    }
}

TEST(FSAParsingTableTest, RecoveryStatesAndIgnorables) {
    QueryGrammar g;
    FSAParsingTable t(g);
    EXPECT_FALSE(t.recovery(1)) << "no recovery table";
    EXPECT_FALSE(t.ignore(5)) << "no ignorables table";
    g.set(
        g.recovery_states,
        [](KeyValueFixedTable& k) {
            k.append(2, 0);
            k.append(8, 0);
        },
        2);
    EXPECT_TRUE(t.recovery(2)) << "the state of the first row";
    EXPECT_TRUE(t.recovery(8));
    EXPECT_FALSE(t.recovery(3));
    g.set(g.ignorables, nullptr, 0);
    EXPECT_FALSE(t.ignore(5));
    g.set(
        g.ignorables,
        [](KeyValueFixedTable& k) {
            k.append(7, 0);
            k.append(40, 0);
        },
        2);
    EXPECT_TRUE(t.ignore(7));
    EXPECT_TRUE(t.ignore(52)) << "a character whose range class is ignorable";
    EXPECT_FALSE(t.ignore(5));
    EXPECT_FALSE(t.ignore(99)) << "an id the grammar does not know";
}

TEST(FSAParsingTableTest, ActionsOverEquivalents) {
    QueryGrammar g;
    for (bool indexed : {false, true}) {
        if (indexed)
            g.build_indexes();
        FSAParsingTable t(g);
        // B stands for 3, 6 and 7; state 1's rows carry 3, 5, 6, 6, 7.
        std::vector<ParseAction> m = moves(t, 1, 66, indexed ? rB : -1);
        ASSERT_EQ(m.size(), 4u) << (indexed ? "indexed" : "searched");
        struct Expected {
            ActionType Do;
            int value, onToken;
        } expected[] = {{_SHIFT, 2, 3}, {_LSHIFT, 4, 6}, {_GoBack, 5, 6}, {_FINISH, -1, 7}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(m[i].Do, expected[i].Do) << "move " << i;
            EXPECT_EQ(m[i].value.NextState, expected[i].value) << "move " << i;
            EXPECT_EQ(m[i].onToken, expected[i].onToken) << "move " << i;
            EXPECT_EQ(m[i].onState, 1) << "move " << i;
        }
        // A character in the range moves by the class symbol's equivalents,
        // whatever position is given.
        std::vector<ParseAction> digit = moves(t, 1, 51, rA);
        ASSERT_EQ(digit.size(), 1u);
        EXPECT_EQ(digit[0].Do, _Push);
        EXPECT_EQ(digit[0].onToken, 5);
        EXPECT_EQ(moves(t, 0, 65536, indexed ? rExpr : -1).size(), 1u) << "a nonterminal";
        EXPECT_TRUE(moves(t, 1, 65).empty()) << "A has no equivalents, not even itself";
        for (int state : {-1, 2, 4, 7})
            EXPECT_TRUE(moves(t, state, 66).empty()) << "state " << state;
    }
}

TEST(FSAParsingTableTest, ActionsKeepTheVectorEmptyWhenNothingMatches) {
    QueryGrammar g;
    FSAParsingTable t(g);
    ActionsVector v(4);
    t.actions(1, 66, -1, v);
    EXPECT_EQ(t.actions(2, 66, -1, v), 0);
    EXPECT_EQ(v.filled(), 0) << "the previous lookup's moves are cleared";
}

TEST(FSAParsingTableTest, MoveCodes) {
    int listed[] = {1, 3, 5, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18};
    for (int code : listed) {
        Grammar g;
        g.set(
            g.eqstable, [](eqs_table& e) { e.append(0, 9, 9); }, 1, 1, 0);
        g.set(
            g.nfatable, [=](nfa_table& n) { n.append(0, 9, code, 12); }, 1, 2);
        FSAParsingTable t(g);
        std::vector<ParseAction> m = moves(t, 0, 9);
        ASSERT_EQ(m.size(), 1u) << "code " << code;
        EXPECT_EQ(m[0].Do, code);
        EXPECT_EQ(m[0].value.NextState, code == _FINISH ? -1 : 12)
            << "code " << code << " to the reductive state 12";
    }
    for (int code : {0, 2, 4, 6, 15, 19, -1, 55}) {
        Grammar g;
        g.set(
            g.eqstable,
            [](eqs_table& e) {
                e.append(0, 9, 8);
                e.append(0, 9, 9);
            },
            2, 1, 0);
        g.set(
            g.nfatable,
            [=](nfa_table& n) {
                n.append(0, 8, _SHIFT, 1);
                n.append(0, 9, code, 1);
            },
            2, 2);
        FSAParsingTable t(g);
        ActionsVector v(2);
        EXPECT_EQ(fault_of([&] { t.actions(0, 9, -1, v); }), L"Unexpected Action")
            << "code " << code;
        EXPECT_EQ(v.filled(), 1) << "the move before the faulty row stays";
    }
}

// The merge bisects whichever run is longer; against a plain filter over
// many shapes of runs (duplicates on either side included) it must give
// every matching row once, in row order.
TEST(FSAParsingTableTest, ActionsMergeAgreesWithAPlainFilter) {
    std::mt19937 random(20240611);
    for (int trial = 0; trial < 400; ++trial) {
        std::uniform_int_distribution<int> length(1, 12), terminal(1, 15);
        std::vector<int> eqs(length(random)), rows(length(random));
        for (int& e : eqs)
            e = terminal(random);
        for (int& r : rows)
            r = terminal(random);
        std::sort(eqs.begin(), eqs.end());
        std::sort(rows.begin(), rows.end());
        Grammar g;
        g.set(
            g.eqstable,
            [&](eqs_table& e) {
                for (int x : eqs)
                    e.append(0, 100, x);
            },
            static_cast<int>(eqs.size()), 1, 0);
        g.set(
            g.nfatable,
            [&](nfa_table& n) {
                for (std::size_t i = 0; i < rows.size(); ++i)
                    n.append(0, rows[i], _SHIFT, static_cast<int>(i));
            },
            static_cast<int>(rows.size()), 1);
        FSAParsingTable t(g);
        std::vector<int> expected;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (std::binary_search(eqs.begin(), eqs.end(), rows[i]))
                expected.push_back(static_cast<int>(i));
        std::vector<int> got;
        for (const ParseAction& a : moves(t, 0, 100))
            got.push_back(a.value.NextState);
        std::wstring e_text, r_text;
        for (int x : eqs)
            e_text += std::to_wstring(x) + L" ";
        for (int x : rows)
            r_text += std::to_wstring(x) + L" ";
        EXPECT_EQ(got, expected) << "equivalents " << std::string(e_text.begin(), e_text.end())
                                 << "against rows " << std::string(r_text.begin(), r_text.end());
    }
}

namespace {

// Follow sets: 3 is in sets 1 and 4; the digit class in set 4; 5 in none.
// Rules: state 1 {set 4, follows}, state 2 {set 4, not follows}, state 3
// composite. SLR: Expr may be followed by 3..5 and 40..40.
class FollowGrammar : public QueryGrammar {
public:
    FollowGrammar() {
        set(
            followstable,
            [](follows_table& f) {
                f.append(3, 1);
                f.append(3, 4);
                f.append(40, 4);
            },
            3, 2);
        set(
            statefollows,
            [](state_follows& s) {
                s.append(1, 4, true, simple, 7);
                s.append(2, 4, false, simple, 8);
                s.append(3, 4, true, composite, 9);
            },
            3);
        set(
            slr_follows_table,
            [](slr_table& s) {
                s.append(0, 65536, 3, 5);
                s.append(0, 65536, 40, 40);
            },
            2, 1, 0);
    }
};

} // namespace

TEST(FSAParsingTableTest, StateFollowRules) {
    FollowGrammar g;
    FSAParsingTable t(g);
    EXPECT_EQ(t.getStateFollowRestriction(0), nullptr);
    EXPECT_EQ(t.getStateFollowRestriction(4), nullptr);
    EXPECT_EQ(t.getStateFollowRestriction(-1), nullptr);
    ASSERT_NE(t.getStateFollowRestriction(3), nullptr);
    EXPECT_EQ(t.getStateFollowRestriction(3)->GoTo, 9) << "the last rule";
    follows_rule* follows = t.getStateFollowRestriction(1);
    follows_rule* not_follows = t.getStateFollowRestriction(2);
    struct Case {
        int token;
        bool in_set4;
    } cases[] = {{3, true}, {52, true}, {40, true}, {5, false}, {65536, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(t.isSimpleFollowValid(follows, c.token), c.in_set4) << "look-ahead " << c.token;
        EXPECT_EQ(t.isSimpleFollowValid(not_follows, c.token), !c.in_set4)
            << "look-ahead " << c.token;
        EXPECT_FALSE(t.isSimpleFollowValid(t.getStateFollowRestriction(3), c.token))
            << "a composite rule, look-ahead " << c.token;
        EXPECT_TRUE(t.isSimpleFollowValid(nullptr, c.token));
        EXPECT_TRUE(t.isSimpleFollowValid(1, c.token));
    }
    EXPECT_TRUE(t.isSimpleFollowMapped(3, 1, false));
    EXPECT_FALSE(t.isSimpleFollowMapped(52, 4, false)) << "without the range mapping";
    EXPECT_TRUE(t.isSimpleFollowMapped(52, 4, true));
}

TEST(FSAParsingTableTest, SlrFollowCheck) {
    for (bool indexed : {false, true}) {
        FollowGrammar g;
        if (indexed)
            g.build_indexes();
        FSAParsingTable t(g);
        struct Case {
            int position, follows;
            bool valid;
        } cases[] = {{rExpr, 3, true},  {rExpr, 5, true},   {rExpr, 4, true},   {rExpr, 40, true},
                     {rExpr, 2, false}, {rExpr, 6, false},  {rExpr, 41, false}, {rStart, 2, true},
                     {-1, 2, true},     {rows + 3, 2, true}};
        for (const Case& c : cases)
            EXPECT_EQ(t.slr_follows_valid(c.position, c.follows), c.valid)
                << "symbol at row " << c.position << " followed by " << c.follows
                << (indexed ? " (indexed)" : " (searched)");
        g.slr_follows = false;
        EXPECT_TRUE(t.slr_follows_valid(rExpr, 2)) << "the grammar's check switched off";
    }
}

TEST(FSAParsingTable2Test, SameAnswersAsTheSearches) {
    for (bool indexed : {false, true}) {
        QueryGrammar g;
        if (indexed)
            g.build_indexes();
        FSAParsingTable plain(g);
        FSAParsingTable2 direct(g);
        EXPECT_TRUE(g.built_tokens_index);
        EXPECT_EQ(g.max_terminal, 66);
        for (int id = -40; id < 66000; ++id)
            ASSERT_EQ(direct.RangedIndex(id), plain.RangedIndex(id)) << "id " << id;
    }
}

TEST(FSAParsingTable2Test, IndexIsBuiltOnceAndOutlivesTheTable) {
    QueryGrammar g;
    g.build_indexes();
    const int* index = nullptr;
    {
        FSAParsingTable2 first(g);
        index = g.TokensIndex;
    }
    EXPECT_EQ(g.TokensIndex, index) << "destroying the table leaves the data's index";
    g.TokensIndex[51] = rStart; // a marker only the index can answer
    FSAParsingTable2 second(g);
    EXPECT_EQ(g.TokensIndex, index);
    EXPECT_EQ(second.RangedIndex(51), rStart);
    g.max_terminal = -1; // no id is answered from the index any more
    EXPECT_EQ(second.RangedIndex(51), rDigit);
}
