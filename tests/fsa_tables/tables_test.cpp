// The grammar table classes of the FSA engine: filling, fill faults and the
// lookups the query layer relies on.

#include <gtest/gtest.h>

#include "ActionsVector.h"
#include "fsa_grammar.h"

using fsa_test::fault_of;
using fsa_test::Rows;

namespace {

struct NfaRow {
    int state, terminal, action, next;
};

class Nfa : public nfa_table {
public:
    Nfa(int size, int states, std::initializer_list<NfaRow> rows) : nfa_table(size, states) {
        for (const NfaRow& r : rows)
            append(r.state, r.terminal, r.action, r.next);
    }
    using nfa_table::posOfKey;
};

struct RowRun {
    int result, start, end;
};

RowRun run_of(const nfa_table& t, int state) {
    RowRun r{0, 0, -1};
    r.result = t.actions_array(state, r.start, r.end);
    return r;
}

RowRun run_of(const nfa_table& t, int state, int terminal) {
    RowRun r{0, 7, 7};
    r.result = t.actions_array(state, terminal, r.start, r.end);
    return r;
}

} // namespace

TEST(NfaTable, RowsOfAStateByIndex) {
    Nfa t(4, 3, {{0, 10, 1, 1}, {0, 12, 1, 2}, {2, 10, 3, 0}});
    struct Case {
        int state, result, start, end;
    } cases[] = {{0, 2, 0, 1}, {2, 1, 2, 2}};
    for (const Case& c : cases) {
        RowRun r = run_of(t, c.state);
        EXPECT_EQ(r.result, c.result) << "state " << c.state;
        EXPECT_EQ(r.start, c.start) << "state " << c.state;
        EXPECT_EQ(r.end, c.end) << "state " << c.state;
    }
    for (int state : {1, -1, 3})
        EXPECT_EQ(run_of(t, state).result, -1) << "state " << state << " has no rows";
}

TEST(NfaTable, RunOfOneTerminalWithinAState) {
    // State 1's rows sit at positions 10 to 14 with terminals 5, 7, 7, 7, 9.
    Nfa t(15, 2, {});
    for (int i = 0; i < 10; ++i)
        t.append(0, i, 1, 1);
    for (int terminal : {5, 7, 7, 7, 9})
        t.append(1, terminal, 1, 0);
    RowRun seven = run_of(t, 1, 7);
    EXPECT_EQ(seven.result, 5) << "the state's row count, not the run's length";
    EXPECT_EQ(seven.start, 11);
    EXPECT_EQ(seven.end, 13);
    RowRun eight = run_of(t, 1, 8);
    EXPECT_EQ(eight.result, -1);
    EXPECT_EQ(eight.start, 0);
    EXPECT_EQ(eight.end, -1);
    EXPECT_EQ(run_of(t, 2, 7).result, -1);
    EXPECT_EQ(t.posOfKey(1, 7), 12) << "the row the bisection meets first";
    EXPECT_EQ(t.posOfKey(1, 9), 14);
    EXPECT_EQ(t.posOfKey(1, 6), -1);
    EXPECT_EQ(t.posOfKey(-1, 5), -1);
}

TEST(NfaTable, AppendFaultsInTestOrder) {
    auto full = [] { return Nfa(4, 3, {{0, 1, 1, 0}, {1, 1, 1, 0}, {2, 1, 1, 0}, {2, 2, 1, 0}}); };
    EXPECT_EQ(fault_of([] {
                  Nfa(4, 3, {{2, 1, 1, 0}, {1, 1, 1, 0}});
              }),
              L"Sort violation during append in NFA table.");
    EXPECT_EQ(fault_of([&] { full().append(5, 3, 1, 0); }),
              L"Buffer overflow during append in nfa table.")
        << "capacity is tested before the state bound";
    EXPECT_EQ(fault_of([] {
                  Nfa(4, 3, {{3, 1, 1, 0}});
              }),
              L"Index overflow during append in NFA table.");
    EXPECT_EQ(fault_of([] {
                  Nfa(4, 3, {{-1, 1, 1, 0}});
              }),
              L"Index overflow during append in NFA table.")
        << "a negative state has no index entry";
    try {
        full().append(2, 9, 1, 0);
        FAIL() << "a fifth row into a table of 4 rows must throw";
    } catch (parsing::ParseError& e) {
        EXPECT_EQ(e.code(), -1);
        EXPECT_EQ(e.type(), parsing::Init);
        EXPECT_FALSE(e.stop());
        EXPECT_TRUE(e.reject());
    }
}

TEST(NfaTable, FailedAppendLeavesTheTableUnchanged) {
    Nfa t(2, 3, {{1, 4, 1, 0}});
    EXPECT_NE(fault_of([&] { t.append(0, 4, 1, 0); }), L"");
    EXPECT_EQ(run_of(t, 0).result, -1);
    t.append(1, 5, 1, 0);
    RowRun r = run_of(t, 1);
    EXPECT_EQ(r.result, 2);
    EXPECT_EQ(r.end, 1);
}

TEST(NfaTable, ActionCodeKeepsItsLow16Bits) {
    Nfa t(2, 1, {{0, 3, 65537, 9}, {0, 4, -1, 9}});
    EXPECT_EQ(t.table[0].action, 1);
    EXPECT_EQ(t.table[1].action, -1);
    EXPECT_EQ(t.table[0].next_state, 9);
}

TEST(NfaTable, TableWithoutArrays) {
    struct Case {
        int size, states;
    } cases[] = {{0, 3}, {4, 0}, {-2, -5}};
    for (const Case& c : cases) {
        Nfa t(c.size, c.states, {});
        EXPECT_EQ(t.table, nullptr);
        EXPECT_EQ(t.index, nullptr);
        EXPECT_EQ(run_of(t, 0).result, -1) << c.size << " rows, " << c.states << " states";
        EXPECT_EQ(run_of(t, 0, 1).result, -1);
        EXPECT_NE(fault_of([&] { t.append(0, 1, 1, 0); }), L"")
            << "append into a table of " << c.size << " rows and " << c.states << " states";
    }
}

TEST(NfaTable, StateRowCountDoesNotWrap) {
    Nfa t(32768, 1, {});
    for (int i = 0; i < 32767; ++i)
        t.append(0, i, 1, 0);
    EXPECT_EQ(fault_of([&] { t.append(0, 40000, 1, 0); }),
              L"Buffer overflow during append in nfa table.");
    EXPECT_EQ(run_of(t, 0).result, 32767);
}

namespace {
using OccursRows = Rows<Occurs>;
}

TEST(OccursTable, BoundsBySymbol) {
    OccursRows t(
        [](Occurs& o) {
            o.append(3, 0, 1, 11);
            o.append(7, 2, 5, 12);
            o.append(9, 1, 1, 13);
        },
        3);
    struct Case {
        int key, pos;
    } cases[] = {{7, 1}, {8, -1}, {3, 0}, {9, 2}, {-1, -1}, {10, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(t.posOfKey(c.key), c.pos) << "loop symbol " << c.key;
    const occurs_value& row = t.table[1];
    EXPECT_EQ(row.id, 7);
    EXPECT_EQ(row.id_pos, -1);
    EXPECT_EQ(row.from, 2);
    EXPECT_EQ(row.to, 5);
    EXPECT_EQ(row.Until, 12);
    EXPECT_EQ(fault_of([&] { t.append(10, 0, 0, 0); }),
              L"buffer overflow during append in Occurs table.");
    EXPECT_EQ(t.posOfKey(9), 2) << "rows appended before the fault stay readable";
}

TEST(OccursTable, NoCapacity) {
    for (int size : {0, -3}) {
        OccursRows t(nullptr, size);
        EXPECT_EQ(t.size, 0);
        EXPECT_EQ(t.table, nullptr);
        EXPECT_EQ(t.posOfKey(0), -1);
        EXPECT_EQ(fault_of([&] { t.append(1, 0, 1, 0); }),
                  L"buffer overflow during append in Occurs table.");
    }
}

TEST(StateFollows, RulesByPosition) {
    Rows<state_follows> t(
        [](state_follows& f) {
            f.append(1, 4, true, simple, 5);
            f.append(2, 6, false, simple, 7);
            f.append(3, 8, true, composite, 9);
        },
        3);
    EXPECT_EQ(t.table[1].state, 2);
    EXPECT_EQ(t.table[1].id, 6);
    EXPECT_FALSE(t.table[1].result);
    EXPECT_EQ(t.table[1].GoTo, 7);
    EXPECT_TRUE(t.table[0].isSimple());
    EXPECT_TRUE(t.table[0].is_follows());
    EXPECT_TRUE(t.table[1].is_not_follows());
    EXPECT_FALSE(t.table[2].isSimple());
    EXPECT_EQ(t.posOfKey(2), 1);
    EXPECT_EQ(t.posOfKey(0), -1);
    EXPECT_EQ(t.posOfKey(4), -1);
    EXPECT_EQ(fault_of([&] { t.append(4, 1, true, simple, 1); }),
              L"Buffer overflow during append in state follows table.");
    for (int size : {0, -1})
        EXPECT_EQ(fault_of([&] { Rows<state_follows>(nullptr, size).append(1, 1, true, 0, 1); }),
                  L"Buffer overflow during append in state follows table.");
}

TEST(StateFollows, RowsLeftOutRestrictNothing) {
    Rows<state_follows> t([](state_follows& f) { f.append(1, 4, true, simple, 5); }, 3);
    for (int k : {1, 2}) {
        EXPECT_FALSE(t.table[k].isSimple()) << "the rule of state " << k + 1 << " was not appended";
        EXPECT_EQ(t.table[k].GoTo, k + 1);
    }
    EXPECT_EQ(t.posOfKey(2), -1);
}

namespace {

using Follows = Rows<follows_table>;

// (terminal, id) rows (-1, 2), (7, 1), (7, 4), (7, 9), (65536, 3).
Follows full_follows() {
    return Follows(
        [](follows_table& t) {
            t.append(-1, 2);
            t.append(7, 1);
            t.append(7, 4);
            t.append(7, 9);
            t.append(65536, 3);
        },
        5, 3);
}

} // namespace

TEST(FollowsTable, IdsOfATerminal) {
    Follows t = full_follows();
    struct Case {
        int terminal, result, start, end;
    } cases[] = {{7, 3, 1, 3}, {-1, 1, 0, 0}, {65536, 1, 4, 4}, {8, -1, 0, -1}, {-2, -1, 0, -1}};
    for (const Case& c : cases) {
        int start = 9, end = 9;
        EXPECT_EQ(t.eqs_array(c.terminal, start, end), c.result) << "terminal " << c.terminal;
        EXPECT_EQ(start, c.start) << "terminal " << c.terminal;
        EXPECT_EQ(end, c.end) << "terminal " << c.terminal;
    }
    EXPECT_EQ(t.terminalAt(2), 4);
    for (int pos : {5, -1})
        EXPECT_EQ(fault_of([&] { t.terminalAt(pos); }), L"Index Out of Bounds in Follows Set.")
            << "position " << pos;
}

TEST(FollowsTable, AppendFaults) {
    struct Case {
        int terminal, id;
        const wchar_t* fault;
    } cases[] = {{6, 1, L"Sort violation during append in follows table."},
                 {65536, 8, L"Buffer overflow during append in follows table."},
                 {7, 8, L"Sort violation during append in follows table."}};
    for (const Case& c : cases) {
        Follows t = full_follows();
        EXPECT_EQ(fault_of([&] { t.append(c.terminal, c.id); }), c.fault)
            << "sixth row (" << c.terminal << ", " << c.id << ")";
    }
    // A terminal does not reopen once another has followed it.
    EXPECT_EQ(fault_of([] {
                  Follows(
                      [](follows_table& t) {
                          t.append(7, 1);
                          t.append(8, 1);
                          t.append(7, 10);
                      },
                      5, 3);
              }),
              L"Sort violation during append in follows table.");
    EXPECT_EQ(fault_of([] { Follows([](follows_table& t) { t.append(1, 1); }, 0, 1); }),
              L"Buffer overflow during append in follows table.");
}

TEST(FollowsTable, MoreTerminalsThanDeclared) {
    Follows t([](follows_table& f) { f.append(1, 1); }, 4, 1);
    EXPECT_EQ(fault_of([&] { t.append(2, 1); }), L"Buffer overflow during append in follows table.")
        << "a second terminal has no index entry in a table of 1 terminal";
    t.append(1, 2);
    int start, end;
    EXPECT_EQ(t.eqs_array(1, start, end), 2);
}

TEST(FollowsTable, FewerTerminalsThanDeclaredAndNone) {
    Follows few([](follows_table& f) { f.append(5, 1); }, 4, 4);
    int start, end;
    for (int terminal : {5, 4, 6, 0})
        EXPECT_EQ(few.eqs_array(terminal, start, end), terminal == 5 ? 1 : -1)
            << "terminal " << terminal << " of a table that received one of four terminals";
    EXPECT_EQ(fault_of([&] { few.terminalAt(1); }), L"Index Out of Bounds in Follows Set.")
        << "no id was stored at position 1";
    Follows none(nullptr, 3, 0);
    EXPECT_EQ(none.eqs_array(5, start, end), -1);
    EXPECT_EQ(none.term_index, nullptr);
}

namespace {

using Slr = Rows<slr_table>;

// Without buckets: (65540, 10..20), (65540, 30..30), (65540, 40..90), (65541, -1..-1).
Slr flat_slr() {
    return Slr(
        [](slr_table& t) {
            t.append(0, 65540, 10, 20);
            t.append(0, 65540, 30, 30);
            t.append(0, 65540, 40, 90);
            t.append(0, 65541, -1, -1);
        },
        4, 2, 0);
}

} // namespace

TEST(SlrTable, RangesOfASymbolWithoutBuckets) {
    Slr t = flat_slr();
    struct Case {
        int symbol, result, start, end;
    } cases[] = {{65540, 3, 0, 2}, {65541, 1, 3, 3}, {65542, -1, 0, -1}};
    for (const Case& c : cases) {
        int start = 9, end = 9;
        EXPECT_EQ(t.eqs_array(c.symbol, start, end), c.result) << "symbol " << c.symbol;
        EXPECT_EQ(start, c.start) << "symbol " << c.symbol;
        EXPECT_EQ(end, c.end) << "symbol " << c.symbol;
    }
    struct Search {
        int id, first, last, row;
    } searches[] = {{10, 0, 2, 0}, {15, 0, 2, 0},   {20, 0, 2, 0},   {30, 0, 2, 1},
                    {90, 0, 2, 2}, {25, 0, 2, -1},  {9, 0, 2, -1},   {91, 0, 2, -1},
                    {-1, 3, 3, 3}, {15, 0, -1, -1}, {15, -1, 2, -1}, {15, 0, 4, -1}};
    for (const Search& s : searches)
        EXPECT_EQ(t.search(s.id, s.first, s.last), s.row)
            << "look-ahead " << s.id << " over rows " << s.first << ".." << s.last;
    EXPECT_EQ(t.terminalAt(2), 40);
    for (int pos : {4, -1})
        EXPECT_EQ(fault_of([&] { t.terminalAt(pos); }), L"Index Out of Bounds in EQS Set.");
}

TEST(SlrTable, Buckets) {
    Slr t(
        [](slr_table& s) {
            s.append(s.hashed(8), 8, 1, 1);
            s.append(s.hashed(65536), 65536, 2, 2);
            s.append(s.hashed(5), 5, 3, 3);
            s.append(s.hashed(-3), -3, 4, 4);
        },
        4, 4, 4);
    struct Bucket {
        int starts, len;
    } buckets[] = {{0, 2}, {2, 1}, {0, -1}, {3, 1}};
    for (int b = 0; b < 4; ++b) {
        EXPECT_EQ(t.hash_index[b].starts, buckets[b].starts) << "bucket " << b;
        EXPECT_EQ(t.hash_index[b].len, buckets[b].len) << "bucket " << b;
    }
    int start, end;
    EXPECT_EQ(t.eqs_array(-3, start, end), 1);
    EXPECT_EQ(start, 3);
    EXPECT_EQ(t.eqs_array(65536, start, end), 1);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(t.eqs_array(4, start, end), -1) << "bucket 0 holds 8 and 65536 only";
    EXPECT_EQ(t.eqs_array(6, start, end), -1) << "bucket 2 is empty";
    EXPECT_EQ(t.hashed(-2147483647 - 1), 0) << "the largest negative id has a bucket too";
}

TEST(SlrTable, AppendFaults) {
    auto two_buckets = [](int capacity) {
        return Slr([](slr_table& s) { s.append(1, 1, 0, 0); }, capacity, 4, 4);
    };
    struct Case {
        int capacity, bucket;
        const wchar_t* fault;
    } cases[] = {{4, 0, L"Sort violation during append in eqs table."},
                 {4, 4, L"Index overflow during append in eqs table."},
                 {4, -1, L"Sort violation during append in eqs table."},
                 {1, 0, L"Sort violation during append in eqs table."},
                 {1, 4, L"Index overflow during append in eqs table."},
                 {1, 2, L"Buffer overflow during append in eqs table."}};
    for (const Case& c : cases) {
        Slr t = two_buckets(c.capacity);
        EXPECT_EQ(fault_of([&] { t.append(c.bucket, 6, 0, 0); }), c.fault)
            << "a row of bucket " << c.bucket << " after bucket 1, capacity " << c.capacity;
    }
    EXPECT_EQ(fault_of([] { Slr([](slr_table& s) { s.append(-1, 1, 0, 0); }, 2, 1, 4); }),
              L"Index overflow during append in eqs table.")
        << "no bucket -1 exists";
    EXPECT_EQ(fault_of([] {
                  Slr(
                      [](slr_table& s) {
                          s.append(0, 1, 0, 0);
                          s.append(0, 2, 0, 0);
                      },
                      4, 1, 0);
              }),
              L"Buffer overflow during append in eqs table.")
        << "a second symbol in a table of one symbol";
}

TEST(SlrTable, WithoutBucketsTheBucketIsNotExamined) {
    Slr t(
        [](slr_table& s) {
            s.append(7, 1, 5, 6);
            s.append(3, 2, 1, 9);
            s.append(-9, 3, 0, 0);
        },
        3, 3, 0);
    int start, end;
    EXPECT_EQ(t.eqs_array(2, start, end), 1);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(t.hash_index, nullptr);
    Slr negative(nullptr, 2, 2, -4);
    EXPECT_EQ(negative.hashing, 0) << "a negative bucket count means no buckets";
    negative.append(5, 1, 0, 3);
    EXPECT_EQ(negative.eqs_array(1, start, end), 1);
}

TEST(SlrTable, FewerSymbolsThanDeclared) {
    Slr t([](slr_table& s) { s.append(0, 9, 1, 2); }, 4, 4, 0);
    int start, end;
    for (int symbol : {9, 8, 10, 0})
        EXPECT_EQ(t.eqs_array(symbol, start, end), symbol == 9 ? 1 : -1) << "symbol " << symbol;
    EXPECT_EQ(t.search(1, 0, 2), -1) << "rows 1 and 2 hold no range";
}

// A terminal's run counts its rows in 16 bits: the row that would wrap the
// count is refused as a full table, in each table's own words.
TEST(TermRunTables, RunCountDoesNotWrap) {
    const int most = 32767;
    Rows<eqs_table> eqs(nullptr, most + 1, 1, 0);
    Follows follows(nullptr, most + 1, 1);
    Slr slr(nullptr, most + 1, 1, 0);
    for (int i = 0; i < most; ++i) {
        eqs.append(0, 7, i);
        follows.append(7, i);
        slr.append(0, 7, i, i);
    }
    struct Case {
        const char* table;
        std::function<void()> append;
        const wchar_t* fault;
    } cases[] = {
        {"eqs", [&] { eqs.append(0, 7, most); }, L"Buffer overflow during append in eqs table."},
        {"follows", [&] { follows.append(7, most); },
         L"Buffer overflow during append in follows table."},
        {"slr", [&] { slr.append(0, 7, most, most); },
         L"Buffer overflow during append in eqs table."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fault_of(c.append), c.fault)
            << "row " << most + 1 << " of terminal 7 in the " << c.table << " table";
    int start, end;
    EXPECT_EQ(eqs.eqs_array(7, start, end), most);
    EXPECT_EQ(follows.eqs_array(7, start, end), most);
    EXPECT_EQ(slr.eqs_array(7, start, end), most);
}

TEST(ActionsVectorTest, GrowsByDoubling) {
    parsing::ActionsVector v(32);
    for (int i = 0; i < 33; ++i)
        EXPECT_EQ(v.append(parsing::_SHIFT, parsing::Action{i}, 100 + i, 200 + i), 0);
    EXPECT_EQ(v.size, 64);
    EXPECT_EQ(v.filled(), 33);
    for (int i = 0; i < 33; ++i)
        EXPECT_EQ(v.action(i).value.NextState, i) << "entry " << i << " after growing";
    parsing::ActionsVector empty(0);
    EXPECT_EQ(empty.buffer, nullptr);
    int expected[] = {1, 2, 4, 4, 8};
    for (int capacity : expected) {
        empty.append(parsing::_GOTO, parsing::Action{0}, 0, 0);
        EXPECT_EQ(empty.size, capacity) << "after " << empty.filled() << " appends";
    }
}

TEST(ActionsVectorTest, ClearKeepsTheStorage) {
    parsing::ActionsVector v(2);
    parsing::ParseAction a{parsing::_LBack, parsing::Action{7}, 8, 9};
    v.append(a);
    v.append(a);
    v.append(a);
    EXPECT_EQ(v.size, 4);
    EXPECT_EQ(v.clear(), 0);
    EXPECT_EQ(v.filled(), 0);
    EXPECT_EQ(v.size, 4);
    v.append(parsing::_FINISH, parsing::Action{-1}, 3, 4);
    const parsing::ParseAction& first = v.action(0);
    EXPECT_EQ(first.Do, parsing::_FINISH);
    EXPECT_EQ(first.value.NextState, -1);
    EXPECT_EQ(first.onToken, 3);
    EXPECT_EQ(first.onState, 4);
    v.append(v.action(0)); // appending an entry of the vector itself
    EXPECT_EQ(v.action(1).onToken, 3);
    for (int index : {-1, 2})
        EXPECT_EQ(fault_of([&] { v.action(index); }), L"Index Out of Bounds on Actions Vector.")
            << "entry " << index << " of 2";
}
