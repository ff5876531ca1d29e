#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ParseError.h"
#include "conflicts_table.h"
#include "eqs_table.h"
#include "gotos_table.h"
#include "srs_table.h"

namespace {

struct Srs : srs_table {
    using srs_table::close_trailing_states;
    using srs_table::srs_table;
};
struct Gotos : gotos_table {
    using gotos_table::gotos_table;
    void fill() override {}
};

std::wstring fault_of(const std::function<void()>& f) {
    try {
        f();
    } catch (const parsing::ParseError& e) {
        EXPECT_EQ(e.code(), -1);
        EXPECT_EQ(e.type(), parsing::Init);
        return e.describe();
    }
    ADD_FAILURE() << "no fault thrown";
    return L"";
}

} // namespace

TEST(ActionTables, AppendFaultsInTheOrderTheyAreChecked) {
    struct Case {
        const char* what;
        std::function<void()> append;
        const wchar_t* message;
    };
    const Case cases[] = {
        {"srs: state below the last, table also full",
         [] {
             Srs t(1, 6);
             t.append(5, 1, 1, 0);
             t.append(4, 1, 1, 0);
         },
         L"sort violation during append in srs table."},
        {"srs: full, state also beyond the states",
         [] {
             Srs t(1, 2);
             t.append(0, 1, 1, 0);
             t.append(9, 1, 1, 0);
         },
         L"buffer overflow during append in srs table."},
        {"srs: state beyond the states",
         [] {
             Srs t(2, 2);
             t.append(2, 1, 1, 0);
         },
         L"index overflow during append in srs table."},
        {"srs: negative state",
         [] {
             Srs t(2, 2);
             t.append(-1, 1, 1, 0);
         },
         L"index overflow during append in srs table."},
        {"srs: no rows at all",
         [] {
             Srs t(0, 2);
             t.append(0, 1, 1, 0);
         },
         L"buffer overflow during append in srs table."},
        {"gotos: state below the last",
         [] {
             Gotos t(3, 6);
             t.append(5, 65700, 1);
             t.append(4, 65700, 1);
         },
         L"sort violation during append in gotos table."},
        {"gotos: full",
         [] {
             Gotos t(1, 6);
             t.append(0, 65700, 1);
             t.append(1, 65700, 1);
         },
         L"buffer overflow during append in gotos table."},
        {"gotos: state equal to the states",
         [] {
             Gotos t(2, 2);
             t.append(2, 65700, 1);
         },
         L"index overflow during append in gotos table.."},
        {"conflicts: state below the last",
         [] {
             conflicts_table t(3, 2);
             t.append(4, -1, 3, -1000);
             t.append(3, -1, 3, -1000);
         },
         L"sort violation during append in conflicts table."},
        {"conflicts: full",
         [] {
             conflicts_table t(1, 2);
             t.append(3, -1, 3, -1000);
             t.append(3, -1, 3, -1000);
         },
         L"buffer overflow during append in conflicts table."},
        {"conflicts: more states than declared",
         [] {
             conflicts_table t(3, 1);
             t.append(3, -1, 3, -1000);
             t.append(4, -1, 3, -1000);
         },
         L"index overflow during append in conflicts table."},
        {"eqs: bucket below the last",
         [] {
             eqs_table t(3, 3, 256);
             t.append(66, 66, 1);
             t.append(65, 65, 1);
         },
         L"Sort violation during append in eqs table."},
        {"eqs: bucket beyond the buckets",
         [] {
             eqs_table t(3, 3, 256);
             t.append(256, 256, 1);
         },
         L"Index overflow during append in eqs table."},
        {"eqs: full",
         [] {
             eqs_table t(1, 1, 256);
             t.append(65, 65, 1);
             t.append(66, 66, 1);
         },
         L"Buffer overflow during append in eqs table."},
        {"eqs: position outside the rows",
         [] {
             eqs_table t(0, 0, 256);
             t.terminalAt(0);
         },
         L"Index Out of Bounds in EQS Set."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fault_of(c.append), c.message) << c.what;
}

TEST(SrsTable, RunsPerStateAndEmptyStates) {
    Srs t(5, 6);
    t.append(0, 10, 1, 1);
    t.append(0, 20, 2, 7);
    t.append(2, 5, 1, 3); // state 1 is skipped: an empty run
    t.append(2, 30, 3, -1000);
    t.close_trailing_states();
    EXPECT_EQ(t.posOfKey(0, 10), 0);
    EXPECT_EQ(t.posOfKey(0, 20), 1);
    EXPECT_EQ(t.posOfKey(0, 15), -1);
    EXPECT_EQ(t.posOfKey(1, 10), -1);
    EXPECT_EQ(t.posOfKey(2, 30), 3);
    EXPECT_EQ(t.index[1].len, 0);
    EXPECT_EQ(t.index[5].starts, 4); // closed after the last row
    EXPECT_EQ(t.index[5].len, 0);
    for (int state : {3, 5, 6, 100, -1})
        EXPECT_EQ(t.posOfKey(state, 10), -1) << "state " << state;

    Srs none(0, 4);
    EXPECT_EQ(none.posOfKey(0, 10), -1);
}

TEST(GotosTable, ZeroRowsKeepTheStateCount) {
    Gotos lexical(0, 81);
    EXPECT_EQ(lexical.states, 81);
    EXPECT_EQ(lexical.table, nullptr);
    EXPECT_EQ(lexical.posOfKey(3, 65700), -1);

    Gotos g(3, 4);
    g.append(1, 65700, 5);
    g.append(1, 65710, 6);
    g.append(3, 65700, 7);
    EXPECT_EQ(g.posOfKey(1, 65710), 1);
    EXPECT_EQ(g.posOfKey(2, 65700), -1); // skipped state keeps {0, -1}
    EXPECT_EQ(g.posOfKey(3, 65700), 2);
    EXPECT_EQ(g.posOfKey(-2, 65700), -1);
}

TEST(ConflictsTable, StatesAreMappedInOrderOfAppearance) {
    conflicts_table t(3, 2);
    t.append(3, -1, 3, -1000);
    t.append(3, -1, 2, 4);
    t.append(4, -1, 3, -1000);
    EXPECT_EQ(t.posOfKey(3, -1, 1), 0);
    EXPECT_EQ(t.posOfKey(3, -1, 2), 1);
    EXPECT_EQ(t.posOfKey(3, -1, 3), -1);
    EXPECT_EQ(t.posOfKey(3, -1, 0), -1);
    EXPECT_EQ(t.posOfKey(4, -1, 1), 2);
    EXPECT_EQ(t.starts(5, -1), -1);
    EXPECT_EQ(t.ends(5, -1), -2);
}

TEST(ConflictsTable, ScanStopsAtASmallerTerminal) {
    conflicts_table t(3, 1);
    t.append(0, 7, 1, 1);
    t.append(0, 7, 1, 2);
    t.append(0, 2, 1, 3);
    EXPECT_EQ(t.starts(0, 7), 0);
    EXPECT_EQ(t.ends(0, 7), 1);
    EXPECT_EQ(t.starts(0, 5), -1);
    EXPECT_EQ(t.starts(0, 2), 2);
    EXPECT_EQ(t.ends(0, 2), 2);
}

TEST(EqsTable, BucketsAndTerminals) {
    eqs_table t(2, 2, 256);
    t.append(65, 65, 65659);
    t.append(66, 66, 65659);
    int start = 9, end = 9;
    EXPECT_EQ(t.eqs_array(65, start, end), 1);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 0);
    EXPECT_EQ(t.eqs_array(66, start, end), 1);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(t.eqs_array(321, start, end), -1); // bucket 65, not present
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, -1);
    EXPECT_EQ(t.eqs_array(-65, start, end), -1);
    EXPECT_EQ(t.terminalAt(1), 65659);
    EXPECT_EQ(t.search(65659, 0, 1), 0);
    EXPECT_EQ(t.search(65659, 0, 5), -1);
}

TEST(EqsTable, SeveralEquivalentsAndNoHashing) {
    eqs_table t(3, 3, 0);
    t.append(999, 40, 1); // the bucket is ignored without hashing
    t.append(0, 40, 2);
    t.append(0, 50, 3);
    int start, end;
    EXPECT_EQ(t.eqs_array(40, start, end), 2);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 1);
    EXPECT_EQ(t.eqs_array(50, start, end), 1);
    // Only the entries written are searched: the third index entry is unset.
    EXPECT_EQ(t.eqs_array(60, start, end), -1);

    eqs_table empty(0, 0, 256);
    EXPECT_EQ(empty.eqs_array(65, start, end), -1);
}
