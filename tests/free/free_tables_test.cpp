// The generated tables of lbasic_free: the grammar object, its productions
// beside those of the fixed chain, and the automaton states whose numbers
// the alternatives and the back-ups rely on.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "SimpleParsingTable.h"
#include "free_stage.h"
#include "lbasic_free_include.h"
#include "lbasic_include.h"
#include "lkeys_include.h"

namespace {

const int END = -1, BACKTRACK_MARK = -34;

// The state reached from state 0 by the characters of a sample, or -1.
int walk(parsing::SimpleParsingTable& t, const std::wstring& sample) {
    int state = 0;
    for (wchar_t c : sample) {
        parsing::ParseAction a{};
        t.action(state, static_cast<int>(c), a);
        if (a.Do != parsing::_SHIFT)
            return -1;
        state = a.value.NextState;
    }
    return state;
}

std::string narrow(const std::wstring& s) {
    return std::string(s.begin(), s.end());
}

TEST(FreeTables, GrammarObject) {
    ParseData& d = free_grammar();
    EXPECT_EQ(d.input_case, Input_ToUpper);
    EXPECT_EQ(d.srsdefaults, nullptr);
    EXPECT_EQ(d.gotostable->size, 0);
    EXPECT_EQ(d.gotostable->states, d.srstable->states);
    EXPECT_EQ(d.ranges->size, 0);
    EXPECT_EQ(d.error_msgs->size, 0);
    EXPECT_EQ(d.state_errors->size, 0);
    EXPECT_EQ(d.term_errors->size, 0);
    EXPECT_EQ(d.productions_errors->size, 0);
    EXPECT_EQ(d.specialized_errors->size, 0);
    EXPECT_EQ(d.recovery_states->size, 0);
    EXPECT_EQ(d.sma->size, 0);
    EXPECT_EQ(d.reductions->size, 123);
    EXPECT_EQ(d.eqstable->size, 76);
    EXPECT_EQ(d.conflictstable->size, 9);
    EXPECT_EQ(d.conflictstable->states, 8);
    EXPECT_EQ(d.terminals->size, 497);
    parsing::SimpleParsingTable t(d);
    EXPECT_TRUE(t.ignore(65540)) << "spaces is dropped by the stage";
    for (int id = -40; id < 70000; ++id) {
        if (id != 65540) {
            ASSERT_FALSE(t.ignore(id)) << "only spaces is ignorable, not " << id;
        }
    }
    EXPECT_EQ(t.EndMark(), -1);
    EXPECT_EQ(t.AnyMark(), -12);
    EXPECT_EQ(t.BacktrackMark(), -34);
}

TEST(FreeTables, ProductionsAreThoseOfTheFixedChain) {
    ParseData& d = free_grammar();
    const reduction* p = d.reductions->table;
    const std::set<int> lookahead{0xA0, 0x92, 0xA3, 0xA4, 0x98, 0x99, 0xD7, 0xC3, 0xA9, 0xC0};
    std::set<int> delivered;
    for (int i = 0; i < 123; ++i) {
        SCOPED_TRACE("production " + std::to_string(i));
        EXPECT_EQ(p[i].semanticAction, nullptr);
        EXPECT_EQ(p[i].ProductionLine, i + 1);
        EXPECT_EQ(p[i].category, 0);
        EXPECT_EQ(p[i].dependsOn, 0);
        EXPECT_EQ(p[i].NumberOfParameters,
                  i >= 3 && i <= 101 && lookahead.count(p[i].state) ? 3 : 1);
        EXPECT_TRUE(delivered.insert(p[i].state).second) << "delivers " << p[i].state << " twice";
    }
    EXPECT_EQ(p[0].state, 65540);
    EXPECT_EQ(p[1].state, 65548);
    EXPECT_EQ(p[2].state, 65593);
    // The 99 keywords in the keyword stage's order, with its codes.
    lkeys keys;
    ASSERT_EQ(keys.reductions->size, 99);
    for (int i = 0; i < 99; ++i) {
        EXPECT_EQ(p[3 + i].state, keys.reductions->table[i].state) << "keyword " << i;
        EXPECT_EQ(p[3 + i].NumberOfParameters, keys.reductions->table[i].NumberOfParameters);
    }
    // The token stage's productions 1 to 22, without its AT mark (10).
    lbasic tokens;
    int at = 102;
    for (int i = 1; i <= 22; ++i) {
        if (i != 10) {
            EXPECT_EQ(p[at++].state, tokens.reductions->table[i].state)
                << "lbasic production " << i;
        }
    }
    EXPECT_EQ(p[111].state, 0xC9);
    EXPECT_EQ(p[120].state, 65598);
}

TEST(FreeTables, PinnedStates) {
    parsing::SimpleParsingTable t(free_grammar());
    struct Pin {
        const wchar_t* sample;
        int state;
        int production; // the end-mark accept; -1: the state backs up
    };
    const Pin pins[] = {
        {L"-", 1, 111},       {L"7", 2, 119},      {L"=", 3, 106},      {L"A ", 4, -1},
        {L"OK", 5, 102},      {L"IN#", 6, 38},     {L"PR#", 7, 65},     {L"REM", 8, 1},
        {L"DATA", 9, 2},      {L"SPEED=", 10, -1}, {L"SCALE=", 11, -1}, {L"ROT=", 12, -1},
        {L"HCOLOR=", 13, -1}, {L"COLOR=", 14, -1}, {L"LOMEM:", 15, -1}, {L"HIMEM:", 16, -1},
        {L"TAB(", 17, -1},    {L"SPC(", 18, -1},   {L"SCRN(", 19, -1},  {L"Q*", 4, -1},
        {L"HIM\x1F", 4, -1},  {L"12345", 2, 119},
    };
    for (const Pin& p : pins) {
        SCOPED_TRACE("after '" + narrow(p.sample) + "'");
        ASSERT_EQ(walk(t, p.sample), p.state);
        parsing::ParseAction a{};
        t.action(p.state, END, a);
        if (p.production < 0) {
            EXPECT_EQ(a.Do, parsing::_BACKTRACK);
            EXPECT_EQ(free_grammar().srstable->index[p.state].len, 1)
                << "a back-up state's only row";
        } else {
            EXPECT_EQ(a.Do, parsing::_REDUCE);
            EXPECT_EQ(a.value.ReduceId, p.production);
        }
    }
    // The look-ahead keywords accept on the backtrack mark, and their
    // letters alone on the end mark as a name.
    const int color = walk(t, L"COLOR");
    parsing::ParseAction a{};
    t.action(color, BACKTRACK_MARK, a);
    EXPECT_EQ(a.Do, parsing::_REDUCE);
    EXPECT_EQ(a.value.ReduceId, 11);
    t.action(color, END, a);
    EXPECT_EQ(a.Do, parsing::_REDUCE);
    EXPECT_EQ(a.value.ReduceId, 103);
    t.action(color, ' ', a);
    EXPECT_EQ(a.Do, parsing::_ERROR) << "a blank after COLOR ends the name, not via state 4";
}

TEST(FreeTables, AlternativeRows) {
    parsing::SimpleParsingTable t(free_grammar());
    struct Alternatives {
        int state;
        std::vector<int> values; // productions; -1000 for a finish row
    };
    const Alternatives rows[] = {{1, {115}},   {2, {120, 121}}, {3, {114}}, {5, {103}},
                                 {6, {-1000}}, {7, {-1000}},    {8, {68}},  {9, {14}}};
    for (const Alternatives& r : rows) {
        SCOPED_TRACE("state " + std::to_string(r.state));
        ASSERT_EQ(t.getConflicts(r.state, END), static_cast<int>(r.values.size()));
        for (std::size_t k = 0; k < r.values.size(); ++k) {
            parsing::ParseAction a{};
            t.getConflict(r.state, END, static_cast<int>(k) + 1, a);
            EXPECT_EQ(a.Do, r.values[k] == -1000 ? parsing::_FINISH : parsing::_REDUCE);
            if (r.values[k] != -1000) {
                EXPECT_EQ(a.value.ReduceId, r.values[k]);
            }
        }
    }
}

// Properties of every row: sorted, keyed only by the grammar's input
// symbols, reduces only under the two marks, back-ups only on the end mark,
// and no row reduces the three productions that are only alternatives.
TEST(FreeTables, AutomatonRows) {
    const srs_table& srs = *free_grammar().srstable;
    std::set<int> keys;
    for (int c = 1; c < 128; ++c)
        keys.insert(c);
    for (int k : {0x2013, 0x2019, 0x201C, 65545, 65589, 65647, END, BACKTRACK_MARK})
        keys.insert(k);
    for (int i = 0; i < free_grammar().eqstable->size; ++i)
        keys.insert(free_grammar().eqstable->table[i]);
    int empty_states = 0;
    for (int s = 0; s < srs.states; ++s)
        if (srs.index[s].len <= 0)
            ++empty_states;
    EXPECT_EQ(empty_states, 1) << "only the tail state after a keyword's suffix has no rows";
    for (int i = 0; i < srs.size; ++i) {
        const srs_state_action& r = srs.table[i];
        if (r.action == parsing::_SHIFT) {
            EXPECT_TRUE(keys.count(r.terminal)) << "row " << i << " key " << r.terminal;
            EXPECT_NE(r.terminal, END);
            EXPECT_NE(r.terminal, BACKTRACK_MARK);
        } else if (r.action == parsing::_REDUCE) {
            EXPECT_TRUE(r.terminal == END || r.terminal == BACKTRACK_MARK) << "row " << i;
            EXPECT_NE(r.next_state, 14);
            EXPECT_NE(r.next_state, 68);
            EXPECT_NE(r.next_state, 120);
        } else {
            EXPECT_EQ(r.action, parsing::_BACKTRACK) << "row " << i;
            EXPECT_EQ(r.terminal, END);
        }
    }
}

} // namespace
