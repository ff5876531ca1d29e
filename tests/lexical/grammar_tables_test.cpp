// The generated tables of the four fixed-form lexical grammars: the sizes the
// stages' numbers depend on, and rows that tell the construction apart.

#include <gtest/gtest.h>

#include <memory>

#include "SimpleParsingTable.h"
#include "lbasic_include.h"
#include "lkeys_include.h"
#include "lkeys_uk101_include.h"
#include "preprocessor_include.h"

namespace {

struct Sizes {
    const char* grammar;
    std::shared_ptr<ParseData> data;
    int states, rows, alternatives, alternative_states, productions, class_rows;
};

TEST(LexicalTables, Sizes) {
    const Sizes cases[] = {
        {"preprocessor", std::make_shared<preprocessor>(), 29, 613, 2, 2, 6, 100},
        {"lkeys", std::make_shared<lkeys>(), 288, 407, 0, 0, 99, 0},
        {"lkeys_uk101", std::make_shared<lkeys_uk101>(), 172, 234, 0, 0, 63, 0},
        {"lbasic", std::make_shared<lbasic>(), 41, 223, 5, 4, 23, 98},
    };
    for (const Sizes& c : cases) {
        ParseData& d = *c.data;
        SCOPED_TRACE(c.grammar);
        EXPECT_EQ(d.srstable->states, c.states);
        EXPECT_EQ(d.srstable->size, c.rows);
        EXPECT_EQ(d.gotostable->states, c.states);
        EXPECT_EQ(d.conflictstable->size, c.alternatives);
        EXPECT_EQ(d.conflictstable->states, c.alternative_states);
        EXPECT_EQ(d.reductions->size, c.productions);
        EXPECT_EQ(d.eqstable->size, c.class_rows);
        EXPECT_EQ(d.srsdefaults, nullptr);
        EXPECT_EQ(d.input_case, Input_Sensitive);
        parsing::SimpleParsingTable t(d);
        EXPECT_TRUE(t.ignore(65540)) << "spaces is ignorable";
        EXPECT_FALSE(t.sma(65540));
    }
    EXPECT_EQ(lkeys_uk101().terminals->size, 90);
}

TEST(LexicalTables, ProductionsDeliverTheirIds) {
    lkeys keys;
    parsing::SimpleParsingTable t(keys);
    struct Row {
        int production, id, parameters;
    };
    // The productions follow the spellings: ABS AND ASC AT ATN ... XPLOT XDRAW.
    const Row rows[] = {{0, 0xD4, 1},  {3, 0xC5, 1},  {8, 0xA0, 3},  {61, 0xBA, 1},
                        {62, 0x8A, 1}, {86, 0xC0, 3}, {97, 0xEB, 1}, {98, 0x95, 1}};
    for (const Row& r : rows) {
        ::reduction rd;
        t.reduction(r.production, rd);
        EXPECT_EQ(rd.state, r.id) << "lkeys production " << r.production;
        EXPECT_EQ(rd.NumberOfParameters, r.parameters) << "lkeys production " << r.production;
        EXPECT_EQ(keys.reductions->table[r.production].ProductionLine, r.production + 1);
    }
    preprocessor pre;
    const int ids[] = {65540, 65593, 65548, 65545, 65649, 65650};
    for (int p = 0; p < 6; ++p) {
        EXPECT_EQ(pre.reductions->table[p].state, ids[p]) << "preprocessor production " << p;
        bool has_action = p == 1 || p == 4 || p == 5;
        EXPECT_EQ(pre.reductions->table[p].semanticAction != nullptr, has_action)
            << "preprocessor production " << p;
    }
}

TEST(LexicalTables, TokenStageAlternativesInOrder) {
    lbasic g;
    parsing::SimpleParsingTable t(g);
    struct Alt {
        int state, order, production;
    };
    // 0xC9 -> add-op; "=" -> rel-op; integer -> linenum, real; OK -> name.
    const Alt alts[] = {{1, 1, 15}, {2, 1, 14}, {3, 1, 20}, {3, 2, 21}, {4, 1, 2}};
    for (const Alt& a : alts) {
        parsing::ParseAction out;
        t.getConflict(a.state, -1, a.order, out);
        EXPECT_EQ(out.Do, parsing::_REDUCE) << "state " << a.state << " order " << a.order;
        EXPECT_EQ(out.value.ReduceId, a.production) << "state " << a.state;
    }
    parsing::ParseAction out;
    EXPECT_EQ(t.getConflict(3, -1, 3, out).Do, parsing::_ERROR);
}

TEST(LexicalTables, TellingRows) {
    lbasic tokens;
    parsing::SimpleParsingTable t(tokens);
    struct Shift {
        int state, symbol, next;
    };
    // O begins OK; K after O; a class member shifts like its class; the
    // closing quote of a stage's own string.
    const Shift shifts[] = {{0, 'O', 23}, {23, 'K', 4}, {0, 'B', 22}, {0, '7', 3}, {37, '"', 25}};
    for (const Shift& s : shifts) {
        parsing::ParseAction out;
        t.action(s.state, s.symbol, out);
        EXPECT_EQ(out.Do, parsing::_SHIFT) << "lbasic state " << s.state << " on " << s.symbol;
        EXPECT_EQ(out.value.NextState, s.next) << "lbasic state " << s.state;
        EXPECT_EQ(out.onToken, s.symbol);
    }
    parsing::ParseAction out;
    EXPECT_EQ(t.action(0, -1, out).Do, parsing::_ERROR) << "the start state accepts nothing";
    EXPECT_EQ(t.action(38, -1, out).Do, parsing::_ERROR) << "a bare exponent sign accepts nothing";

    preprocessor pre;
    parsing::SimpleParsingTable p(pre);
    EXPECT_EQ(p.action(0, -1, out).Do, parsing::_ERROR);
    int after_a = p.action(0, 'A', out).value.NextState;
    EXPECT_EQ(p.action(after_a, -34, out).Do, parsing::_REDUCE) << "the A accepts on the back-up";
    EXPECT_EQ(out.value.ReduceId, 4);
    EXPECT_EQ(p.action(after_a, -1, out).Do, parsing::_ERROR) << "the A alone accepts nothing";
    EXPECT_EQ(p.action(0, 0x2013, out).Do, parsing::_ERROR) << "a dash begins no token";
}

} // namespace
