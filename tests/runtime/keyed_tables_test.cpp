#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ErrorsTable.h"
#include "KeyKeyValueFixedTable.h"
#include "KeyValueFixedTable.h"
#include "ParseError.h"
#include "Ranges.h"
#include "ReductionsTable.h"
#include "Terminals.h"
#include "srs_defaults.h"

namespace {

// Test tables: the rows come from the test, not from a fill().
struct Pairs : KeyValueFixedTable {
    using KeyValueFixedTable::KeyValueFixedTable;
    void fill() override {}
};
struct PairPairs : KeyKeyValueFixedTable {
    using KeyKeyValueFixedTable::KeyKeyValueFixedTable;
    void fill() override {}
};
struct RangeRows : Ranges {
    using Ranges::Ranges;
    void fill() override {}
};
struct Symbols : Terminals {
    using Terminals::FixwhenFilled;
    using Terminals::Terminals;
    void fill() override {}
};
struct Messages : ErrorsTable {
    using ErrorsTable::ErrorsTable;
    using ErrorsTable::FixwhenFilled;
    void fill() override {}
};
struct Productions : ReductionsTable {
    using ReductionsTable::ReductionsTable;
    void fill() override {}
};

// Runs f and returns the text of the Init fault it throws; fails otherwise.
std::wstring fault_of(const std::function<void()>& f) {
    try {
        f();
    } catch (const parsing::ParseError& e) {
        EXPECT_EQ(e.code(), -1);
        EXPECT_EQ(e.type(), parsing::Init);
        EXPECT_FALSE(e.stop());
        EXPECT_TRUE(e.reject());
        return e.describe();
    }
    ADD_FAILURE() << "no fault thrown";
    return L"";
}

} // namespace

TEST(KeyedTables, AppendFaultsInTheOrderTheyAreChecked) {
    struct Case {
        const char* what;
        std::function<void()> append;
        const wchar_t* message;
    };
    const Case cases[] = {
        {"pair table full, key also a duplicate",
         [] {
             Pairs t(1);
             t.append(1, 0);
             t.append(1, 0);
         },
         L"buffer overflow during append in pairs table."},
        {"pair-pair table full, pair also a duplicate",
         [] {
             PairPairs t(1);
             t.append(1, 2, 0);
             t.append(1, 2, 0);
         },
         L"buffer overflow during append in pairs table."},
        {"range table full",
         [] {
             RangeRows t(0);
             t.append(65, 1, 2);
         },
         L"buffer overflow during append in range table."},
        {"terminal with a null name",
         [] {
             Symbols t(2);
             t.append(1, 0, 0, false, nullptr);
         },
         L"Null String; During append."},
        {"terminal with an empty name",
         [] {
             Symbols t(2);
             t.append(1, 0, 0, false, L"");
         },
         L"Invalid Terminal; During append."},
        {"terminal table full, id also a duplicate",
         [] {
             Symbols t(1);
             t.append(1, 0, 0, false, L"A");
             t.append(1, 0, 0, false, L"A");
         },
         L"Dublicate Key During append in Terminals."},
        {"terminal table full",
         [] {
             Symbols t(1);
             t.append(1, 0, 0, false, L"A");
             t.append(2, 0, 0, false, L"B");
         },
         L"Elements Overflow; During append."},
        {"message with a null text",
         [] {
             Messages t(1);
             t.append(1, nullptr);
         },
         L"Null String; During append in Errors Table."},
        {"messages full, id also a duplicate",
         [] {
             Messages t(1);
             t.append(1, L"x");
             t.append(1, L"y");
         },
         L"Dublicate Error Key not Allowed; During append in Errors Table."},
        {"messages full",
         [] {
             Messages t(1);
             t.append(1, L"x");
             t.append(2, L"y");
         },
         L"Elements Overflow; During append in Errors Table."},
        {"productions full",
         [] {
             Productions t(0);
             t.append(nullptr, 1, 1, 65540, 0, 0);
         },
         L"Buffer overflow during append in Reductions table."},
        {"default beyond the states",
         [] {
             srs_defaults t(2, 2);
             t.append(2, 2, 0);
         },
         L"index overflow during append in srs table."},
        {"default for a negative state",
         [] {
             srs_defaults t(2, 2);
             t.append(-1, 2, 0);
         },
         L"index overflow during append in srs table."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fault_of(c.append), c.message) << c.what;
}

TEST(KeyedTables, DuplicateKeysInPairTablesAreRefused) {
    Pairs p(3);
    p.append(4, 1);
    EXPECT_NE(fault_of([&] { p.append(4, 2); }), L"");
    PairPairs pp(3);
    pp.append(4, 1, 1);
    EXPECT_NE(fault_of([&] { pp.append(4, 1, 2); }), L"");
    pp.append(4, 2, 2); // same key, other keyb: a new pair
    EXPECT_EQ(pp.posOfKey(4, 2), 1);
}

TEST(KeyedTables, EmptyTablesAnswerMinusOne) {
    for (int capacity : {0, -3}) {
        Pairs p(capacity);
        PairPairs pp(capacity);
        RangeRows r(capacity);
        Symbols s(capacity);
        Messages m(capacity);
        EXPECT_EQ(p.table, nullptr);
        EXPECT_EQ(p.posOfKey(0), -1);
        EXPECT_EQ(pp.posOfKey(0, 0), -1);
        EXPECT_EQ(r.posOfRange(0), -1);
        EXPECT_EQ(s.posOfKey(-1), -1);
        EXPECT_EQ(m.posOfKey(0), -1);
        s.FixwhenFilled(); // no rows: nothing changes
        EXPECT_EQ(s.size, 0);
    }
}

TEST(KeyedTables, LookupsHalveOverSortedRows) {
    PairPairs pp(3);
    pp.append(3, 5, 10);
    pp.append(3, 7, 11);
    pp.append(4, 0, 12);
    EXPECT_EQ(pp.posOfKey(3, 7), 1);
    EXPECT_EQ(pp.posOfKey(3, 6), -1);
    EXPECT_EQ(pp.posOfKey(4, 0), 2);

    RangeRows r(2);
    r.append(65600, 10, 20);
    r.append(65601, 30, 40);
    EXPECT_EQ(r.posOfRange(10), 0);
    EXPECT_EQ(r.posOfRange(20), 0);
    EXPECT_EQ(r.posOfRange(40), 1);
    EXPECT_EQ(r.posOfRange(25), -1);
    EXPECT_EQ(r.table[1].id_pos, -1);
}

TEST(Terminals, MarksAndNamesSurviveBufferGrowth) {
    Symbols one(1);
    EXPECT_EQ(one.endmark, -1);
    EXPECT_EQ(one.backtrackmark, -34);
    EXPECT_EQ(one.errormark, -4);
    EXPECT_EQ(one.anymark, -12);
    // Five letters fill the 5-character buffer; the null doubles it to 10,
    // and FixwhenFilled shrinks it to the 6 characters used.
    one.append(-4, 0, 0, true, L"ERROR");
    one.FixwhenFilled();
    EXPECT_STREQ(one.table[0].str, L"ERROR");

    Symbols many(4);
    const wchar_t* names[] = {L"a-rather-long-name", L"x", L"another long name", L"$"};
    for (int i = 0; i < 4; ++i)
        many.append(i * 10, 1, 2, i % 2 == 0, names[i]);
    many.FixwhenFilled();
    for (int i = 0; i < 4; ++i) {
        int pos = many.posOfKey(i * 10);
        ASSERT_EQ(pos, i);
        EXPECT_STREQ(many.table[pos].str, names[i]) << "row " << i;
        EXPECT_EQ(many.table[pos].reserved, i % 2 == 0);
    }
    EXPECT_EQ(many.posOfKey(15), -1);
}

TEST(Terminals, FsaIndexRunsWithoutAnIndexAreEmpty) {
    Symbols s(2);
    s.append(1, 10, 0, false, L"w");
    EXPECT_TRUE(s.table[0].isWord());
    int start = 7, end = 7;
    EXPECT_EQ(s.eq_index(0, start, end), -1);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, -1);
    s.eqs_index = new eqs_index[2];
    s.eqs_index[0] = eqs_index{4, 3};
    EXPECT_EQ(s.eq_index(0, start, end), 3);
    EXPECT_EQ(start, 4);
    EXPECT_EQ(end, 6);
    EXPECT_EQ(s.eq_index(1, start, end), -1); // len -1
    EXPECT_EQ(s.slr_follow_index(0, start, end), -1);
}

TEST(ErrorsTable, EmptyTextIsStoredAsEmptyString) {
    Messages m(3);
    m.append(0, L"");
    m.append(1, L"Expected :\":\".");
    m.append(2, L"second");
    m.FixwhenFilled();
    ASSERT_NE(m.table[0].msg, nullptr);
    EXPECT_STREQ(m.table[0].msg, L"");
    EXPECT_STREQ(m.table[m.posOfKey(1)].msg, L"Expected :\":\".");
    EXPECT_STREQ(m.table[m.posOfKey(2)].msg, L"second");
}

TEST(ReductionsTable, AppendOrderIsTheReductionIdAndCategoriesClassify) {
    Productions p(3);
    p.append(nullptr, 1, 1, 65540, 0, 0);
    p.append(nullptr, 3, 2, 65649, 11, 0);
    EXPECT_EQ(p.table[1].state, 65649);
    EXPECT_EQ(p.table[1].id_pos, -1);
    EXPECT_TRUE(p.table[0].isOriginal());
    EXPECT_TRUE(p.table[1].ErrorProduction());
    struct {
        short category;
        bool normal, right_side;
    } rows[] = {{0, true, false}, {1, true, false},  {3, false, true}, {5, false, true},
                {6, true, true},  {7, false, false}, {11, true, false}};
    for (auto r : rows) {
        reduction red{};
        red.category = r.category;
        EXPECT_EQ(red.normalReduction(), r.normal) << "category " << r.category;
        EXPECT_EQ(red.isRightSide(), r.right_side) << "category " << r.category;
    }
}

TEST(SrsDefaults, OnlyEqualPositiveSizesMakeATable) {
    srs_defaults bad(5, 6);
    EXPECT_EQ(bad.states, 0);
    EXPECT_EQ(bad.posOfKey(0), -1);
    EXPECT_EQ(fault_of([&] { bad.append(0, 2, 1); }),
              L"index overflow during append in srs table.");

    srs_defaults d(3, 3);
    EXPECT_EQ(d.posOfKey(1), -1); // every entry starts without a default
    d.append(1, 2, 17);
    d.append(2, 0, -1);
    EXPECT_EQ(d.posOfKey(1), 1);
    EXPECT_EQ(d.table[1].next_state, 17);
    EXPECT_EQ(d.posOfKey(2), -1);
    EXPECT_EQ(d.posOfKey(3), -1);
    EXPECT_EQ(d.posOfKey(-1), -1);
}
