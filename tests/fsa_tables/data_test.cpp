// FSAParseData: defaults, ownership and the indexes it builds.

#include <gtest/gtest.h>

#include "fsa_grammar.h"

using fsa_test::Grammar;
using fsa_test::Rows;
using fsa_test::wout_of;

namespace {

// Symbols 7 (row 0), 40 "digit" (row 1), 48 (row 2), 65536 (row 3); the
// characters 48..57 stand for digit.
void symbols(Terminals& t) {
    t.append(7, 0, 0, false, L"seven");
    t.append(40, 0, 1, false, L"digit");
    t.append(48, 0, 0, false, L"zero");
    t.append(65536, 0, 2, false, L"Number");
}

class IndexedGrammar : public Grammar {
public:
    explicit IndexedGrammar(int range_class = 40, int produced = 65536) {
        set(terminals, symbols, 4);
        set(
            ranges, [=](Ranges& r) { r.append(range_class, 48, 57); }, 1);
        set(
            eqstable,
            [](eqs_table& e) {
                e.append(0, 40, 40);
                e.append(0, 65536, 65536);
                e.append(0, 65536, 65537);
            },
            3, 2, 0);
        set(
            slr_follows_table, [](slr_table& s) { s.append(0, 65536, -1, -1); }, 1, 1, 0);
        set(
            reductions,
            [=](ReductionsTable& r) {
                r.append(nullptr, 1, 1, 65536, 0, 0);
                r.append(nullptr, 2, 2, produced, 0, 0);
            },
            2);
    }
};

} // namespace

TEST(FSAParseDataTest, FreshObject) {
    FSAParseData d;
    EXPECT_EQ(d.terminals, nullptr);
    EXPECT_EQ(d.nfatable, nullptr);
    EXPECT_EQ(d.ignorables, nullptr);
    EXPECT_FALSE(d.indexed || d.init_error || d.built_eqs_index || d.built_srs_follows_index ||
                 d.built_ranged_id_index || d.built_reductions_index || d.built_tokens_index);
    EXPECT_EQ(d.input_case, 0);
    EXPECT_TRUE(d.disambiguate && d.unambiguous && d.slr_follows);
    EXPECT_EQ(d.TokensIndex, nullptr);
    EXPECT_EQ(d.max_terminal, -1000000);
}

namespace {
int occurs_deleted = 0;
struct CountedOccurs : Occurs {
    CountedOccurs() : Occurs(1) {}
    ~CountedOccurs() override { ++occurs_deleted; }
    void fill() override {}
};
} // namespace

TEST(FSAParseDataTest, DeletesTheTablesItWasGiven) {
    occurs_deleted = 0;
    {
        FSAParseData d;
        d.occurs = new CountedOccurs;
    }
    EXPECT_EQ(occurs_deleted, 1);
    { FSAParseData d; }
    EXPECT_EQ(occurs_deleted, 1);
}

TEST(FSAParseDataTest, IndexesByTerminalPosition) {
    IndexedGrammar g;
    EXPECT_EQ(wout_of([&] { g.build_indexes(); }), L"");
    EXPECT_TRUE(g.indexed);
    EXPECT_TRUE(g.built_eqs_index && g.built_srs_follows_index && g.built_ranged_id_index &&
                g.built_reductions_index);
    EXPECT_EQ(g.ranges->table[0].id_pos, 1);
    EXPECT_EQ(g.reductions->table[0].id_pos, 3);
    struct Run {
        int starts, len;
    } eqs[] = {{0, -1}, {0, 1}, {0, -1}, {1, 2}}, slr[] = {{0, -1}, {0, -1}, {0, -1}, {0, 1}};
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(g.terminals->eqs_index[p].starts, eqs[p].starts) << "equivalents of row " << p;
        EXPECT_EQ(g.terminals->eqs_index[p].len, eqs[p].len) << "equivalents of row " << p;
        EXPECT_EQ(g.terminals->slr_follows_index[p].starts, slr[p].starts) << "SLR of row " << p;
        EXPECT_EQ(g.terminals->slr_follows_index[p].len, slr[p].len) << "SLR of row " << p;
    }
}

TEST(FSAParseDataTest, MissingSymbolsAreReportedNotThrown) {
    IndexedGrammar range_fault(99);
    EXPECT_EQ(wout_of([&] { range_fault.build_indexes(); }),
              L"Initialization Error on Range Id 99\n");
    EXPECT_EQ(range_fault.ranges->table[0].id_pos, -1);
    EXPECT_TRUE(range_fault.init_error);
    EXPECT_FALSE(range_fault.indexed || range_fault.built_eqs_index ||
                 range_fault.built_srs_follows_index || range_fault.built_ranged_id_index ||
                 range_fault.built_reductions_index);
    EXPECT_NE(range_fault.terminals->eqs_index, nullptr) << "the arrays are built all the same";
    EXPECT_NE(range_fault.terminals->slr_follows_index, nullptr);

    IndexedGrammar reduction_fault(40, 70000);
    EXPECT_EQ(wout_of([&] { reduction_fault.build_indexes(); }),
              L"Initialization Error on Reduction Id 70000\n")
        << "the produced symbol's id, not the row number";
    EXPECT_EQ(reduction_fault.reductions->table[1].id_pos, -1);
    EXPECT_EQ(reduction_fault.reductions->table[0].id_pos, 3);
    EXPECT_FALSE(reduction_fault.indexed);
}

TEST(FSAParseDataTest, BuildersWithoutTheirTables) {
    Grammar g;
    delete g.ranges;
    g.ranges = nullptr;
    delete g.reductions;
    g.reductions = nullptr;
    g.build_indexes();
    EXPECT_TRUE(g.built_ranged_id_index);
    EXPECT_TRUE(g.built_reductions_index);
    EXPECT_FALSE(g.built_eqs_index) << "a symbol table of size 0 gets no per-symbol arrays";
    EXPECT_FALSE(g.built_srs_follows_index);
    EXPECT_EQ(g.terminals->eqs_index, nullptr);
    EXPECT_TRUE(g.indexed);
}

TEST(FSAParseDataTest, DirectTokenIndex) {
    for (bool indexed_first : {true, false}) {
        IndexedGrammar g;
        if (indexed_first)
            g.build_indexes();
        g.build_tokens_index();
        EXPECT_TRUE(g.built_tokens_index);
        struct Case {
            int id, pos;
        } cases[] = {{7, 0}, {40, 1}, {48, 1}, {57, 1}, {58, -1}, {0, -1}, {65535, -1}};
        for (const Case& c : cases)
            EXPECT_EQ(g.TokensIndex[c.id], c.pos)
                << "id " << c.id << (indexed_first ? " after" : " without") << " build_indexes";
        EXPECT_EQ(g.max_terminal, 57);
        int* first = g.TokensIndex;
        g.max_terminal = 3;
        g.build_tokens_index();
        EXPECT_EQ(g.TokensIndex, first);
        EXPECT_EQ(g.max_terminal, 3) << "a second build changes nothing";
    }
}

TEST(FSAParseDataTest, NoIdAboveRowZero) {
    Grammar g;
    g.set(
        g.terminals,
        [](Terminals& t) {
            t.append(9, 0, 0, false, L"nine");
            t.append(65540, 0, 0, false, L"Big");
        },
        2);
    g.build_tokens_index();
    EXPECT_EQ(g.max_terminal, -1) << "id 9 sits at row 0, which does not raise the bound";
    EXPECT_EQ(g.TokensIndex[9], 0);
}
