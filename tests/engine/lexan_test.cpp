#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "LexAn.h"
#include "ParseError.h"
#include "SimpleParsingTable.h"
#include "hand_grammar.h"

using parsing::LexAn;
using parsing::ParseAction;
using Token = std::pair<int, std::wstring>;
using Tokens = std::vector<Token>;

namespace {

const int P = 'P', Q = 'Q', R = 'R', S = 'S', X = 'X', Y = 'Y';
const int T1 = 65649;      // PQ
const int T2 = 65650;      // PQRS
const int ALT = 65651;     // listed as an alternative of T1
const int RENAMED = 65652; // what the lexer action below turns T1 into
const int SPACES = 65540;  // ignorable

// The automaton of the tokens PQ and PQRS: 0 -P- 1 -Q- 2 -R- 3 -S- 4, where
// 2 and 4 accept through their end-mark rows; blanks make an ignorable token.
hand::Rows pq_rows() {
    hand::Rows r;
    r.states = 6;
    r.names = {{-1, L"EOF"}, {T1, L"T1"}, {T2, L"T2"}};
    r.srs = {{0, P, 1, 1},  {1, Q, 1, 2},   {2, R, 1, 3},   {2, -1, 2, 0}, {3, S, 1, 4},
             {4, -1, 2, 1}, {0, ' ', 1, 5}, {5, ' ', 1, 5}, {5, -1, 2, 2}};
    r.productions = {{nullptr, 2, T1, 0}, {nullptr, 4, T2, 0}, {nullptr, 1, SPACES, 0}};
    r.ignorables = {SPACES};
    return r;
}

struct Stage {
    hand::Grammar grammar;
    parsing::SimpleParsingTable table;
    hand::ScriptScanner input;
    LexAn lex;
    std::wstring word;

    Stage(const hand::Rows& rows, const std::wstring& chars, void* context = nullptr)
        : grammar(rows), table(grammar), input(chars), lex(input, table, context) {}

    Token next() {
        int id = lex.next(&word);
        return {id, word};
    }
    // Every token up to the first -1; then the stage must stay at its end.
    Tokens drain() {
        Tokens out;
        for (int i = 0; i < 100; ++i) {
            Token t = next();
            if (t.first == -1) {
                EXPECT_EQ(L"", t.second);
                EXPECT_TRUE(lex.eof());
                EXPECT_EQ(Token(-1, L""), next()) << "a second call past the end";
                return out;
            }
            out.push_back(t);
        }
        ADD_FAILURE() << "no end after 100 tokens";
        return out;
    }
};

// Tokens up to the first -1. A downstream stage receives its upstream's
// end mark as a symbol and only then sees the upstream's eof.
Tokens collect(LexAn& lex) {
    Tokens out;
    std::wstring w;
    for (int i = 0; i < 100; ++i) {
        int id = lex.next(&w);
        if (id == -1)
            break;
        out.push_back({id, w});
    }
    return out;
}

std::string show(const Tokens& ts) {
    std::string s;
    for (const Token& t : ts) {
        s += "(" + std::to_string(t.first) + ", \"";
        for (wchar_t c : t.second)
            s += c < 128 ? static_cast<char>(c) : '?';
        s += "\") ";
    }
    return s;
}

} // namespace

TEST(LexAn, LongestMatchAndPassOn) {
    struct Case {
        std::wstring input;
        Tokens expected;
    } cases[] = {
        {L"", {}},
        {L"PQRS", {{T2, L"PQRS"}}},
        {L"PQ", {{T1, L"PQ"}}},
        {L"PQRX", {{T1, L"PQ"}, {R, L"R"}, {X, L"X"}}},
        {L"PQR", {{T1, L"PQ"}, {R, L"R"}}},
        {L"PX", {{P, L"P"}, {X, L"X"}}},
        {L"XPQRSPQ", {{X, L"X"}, {T2, L"PQRS"}, {T1, L"PQ"}}},
        {L"PQRSR", {{T2, L"PQRS"}, {R, L"R"}}},
        // A token that fails some symbols past its accepting state: those
        // symbols are read again, and may begin tokens of their own.
        {L"PQRPQRS", {{T1, L"PQ"}, {R, L"R"}, {T2, L"PQRS"}}},
        {L"PQRPX", {{T1, L"PQ"}, {R, L"R"}, {P, L"P"}, {X, L"X"}}},
        {L"PQRQ", {{T1, L"PQ"}, {R, L"R"}, {Q, L"Q"}}},
        {L"PPQRS", {{P, L"P"}, {T2, L"PQRS"}}},
        // Blanks form an ignorable token: dropped, the next token follows.
        {L"  PQ   PQRS ", {{T1, L"PQ"}, {T2, L"PQRS"}}},
    };
    for (const Case& c : cases) {
        Stage st(pq_rows(), c.input);
        Tokens got = st.drain();
        EXPECT_EQ(c.expected, got)
            << "input \"" << std::string(c.input.begin(), c.input.end()) << "\" gave " << show(got);
    }
}

TEST(LexAn, PassedOnSymbolIsTheDeliveredIdAndHasNoAlternatives) {
    Stage st(pq_rows(), L"XPQ");
    EXPECT_EQ(Token(X, L"X"), st.next());
    EXPECT_EQ(-1, st.lex.equivalent(1)) << "a pass-on has no alternatives";
    EXPECT_EQ(X, st.lex.equivalent(0));
    EXPECT_EQ(-1, st.lex.shorter_match()) << "with sma off nothing is shortened";
}

TEST(LexAn, EmptyInputDeliversEndMarkAtOnce) {
    Stage st(pq_rows(), L"");
    EXPECT_FALSE(st.lex.eof());
    EXPECT_EQ(Token(-1, L""), st.next());
    EXPECT_TRUE(st.lex.eof());
    EXPECT_FALSE(st.lex.available());
}

TEST(LexAn, SourceAndLineComeFromUpstream) {
    Stage st(pq_rows(), L"PQ\nPQ\n\nX");
    for (int i = 0; i < 5; ++i) {
        st.next();
        EXPECT_EQ(st.input.lines, st.lex.line()) << "after token " << i;
        EXPECT_EQ(L"t.bas", st.lex.source());
    }
    EXPECT_EQ(4, st.lex.line());
}

namespace {

struct ActionLog {
    int calls = 0;
    ParseAction seen{};
    std::wstring text;
    int result = RENAMED;
};

// Renames T1, marks its text, and reports what it was called with.
int rename_action(ParseAction& a, std::wstring& text, void* context) {
    ActionLog& log = *static_cast<ActionLog*>(context);
    ++log.calls;
    log.seen = a;
    log.text = text;
    text += L"!";
    return log.result;
}

hand::Rows pq_rows_with_action() {
    hand::Rows r = pq_rows();
    r.productions[0].fn = reinterpret_cast<untyped_action>(&rename_action);
    return r;
}

} // namespace

TEST(LexAn, LexerActionReplacesIdAndText) {
    ActionLog log;
    Stage st(pq_rows_with_action(), L"PQ PQRS", &log);
    EXPECT_EQ((Tokens{{RENAMED, L"PQ!"}, {T2, L"PQRS"}}), st.drain());
    EXPECT_EQ(1, log.calls);
    EXPECT_EQ(parsing::_REDUCE, log.seen.Do);
    EXPECT_EQ(T1, log.seen.value.ReduceId) << "the action sees the id the production emits";
    EXPECT_EQ(2, log.seen.onState);
    EXPECT_EQ(-1, log.seen.onToken) << "state 2 accepted through its end-mark row";
    EXPECT_EQ(L"PQ", log.text);
}

TEST(LexAn, LexerActionReturningIgnorableIdDropsTheToken) {
    ActionLog log;
    log.result = SPACES;
    Stage st(pq_rows_with_action(), L"PQPQRS", &log);
    EXPECT_EQ((Tokens{{T2, L"PQRS"}}), st.drain());
    EXPECT_EQ(1, log.calls);
}

TEST(LexAn, CaseFoldingTouchesAsciiIdsOnlyNeverTheText) {
    hand::Rows rows = pq_rows();
    rows.input_case = Input_ToUpper;
    hand::Grammar g(rows);
    parsing::SimpleParsingTable table(g);
    hand::ScriptScanner in(L"pqrs");
    in.add(L'a', L"a").add(0xE9, L"\u00e9").add(0xFFFF, L"?").add(65536 + 'a', L"k");
    in.add(0, L"z").add(-5, L"m");
    LexAn lex(in, table, nullptr);
    EXPECT_EQ(Input_ToUpper, lex.input_case) << "taken from the grammar";
    Tokens got = collect(lex);
    Tokens expected = {{T2, L"pqrs"},       {'A', L"a"}, {0xE9, L"\u00e9"}, {0xFFFF, L"?"},
                       {65536 + 'a', L"k"}, {0, L"z"},   {-5, L"m"}};
    EXPECT_EQ(expected, got) << show(got);

    hand::Rows lower = pq_rows();
    lower.input_case = Input_ToLower;
    hand::Grammar gl(lower);
    parsing::SimpleParsingTable tl(gl);
    hand::ScriptScanner in2(L"PQa");
    LexAn lex2(in2, tl, nullptr);
    EXPECT_EQ(Input_ToLower, lex2.input_case);
    std::wstring w;
    EXPECT_EQ('p', lex2.next(&w)) << "folded to p, which begins no token";
    EXPECT_EQ(L"P", w);
}

TEST(LexAn, CopyUnmatchedOffThrowsLexicalError) {
    Stage st(pq_rows(), L"PQX");
    st.lex.setCopyUnMatched(false);
    EXPECT_EQ(Token(T1, L"PQ"), st.next());
    try {
        st.next();
        FAIL() << "X begins no token: expected a ParseError";
    } catch (parsing::ParseError& e) {
        EXPECT_EQ(L"Lexical Analysis Error", e.describe());
        EXPECT_EQ(parsing::Syntax, e.type());
        EXPECT_EQ(-1, e.code());
    }
}

// An ignorable input symbol without a row must neither hang the stage (when
// it is pending after a token) nor lose the text read before it.
TEST(LexAn, IgnorableInputSymbolIsDroppedAtTokenStartAndEndsATokenInside) {
    hand::Rows rows = pq_rows();
    rows.ignorables = {'\t', SPACES};
    struct Case {
        std::wstring input;
        Tokens expected;
    } cases[] = {
        {L"\tPQ\tPQ\t", {{T1, L"PQ"}, {T1, L"PQ"}}},
        {L"P\tQ", {{P, L"P"}, {Q, L"Q"}}},
        {L"PQR\tS", {{T1, L"PQ"}, {R, L"R"}, {S, L"S"}}},
    };
    for (const Case& c : cases) {
        Stage st(rows, c.input);
        Tokens got = st.drain();
        EXPECT_EQ(c.expected, got) << show(got);
    }
}

namespace {

// 0 -A- 1 -B- 2 -C- 3 -D- 4: AB is accepted only through the backtrack mark,
// from state 3 which backs up on anything but D; ABCD accepts in 4.
hand::Rows backtrack_rows() {
    hand::Rows r;
    r.states = 5;
    r.srs = {{0, 'A', 1, 1}, {1, 'B', 1, 2},  {2, 'C', 1, 3}, {2, -34, 2, 0},
             {3, 'D', 1, 4}, {3, -1, 20, -1}, {4, -1, 2, 1}};
    r.productions = {{nullptr, 2, T1, 0}, {nullptr, 4, T2, 0}};
    return r;
}

} // namespace

TEST(LexAn, BacktrackRowsBackUpToTheBacktrackAccept) {
    struct Case {
        std::wstring input;
        Tokens expected;
    } cases[] = {
        {L"ABCD", {{T2, L"ABCD"}}},
        {L"ABCX", {{T1, L"AB"}, {'C', L"C"}, {X, L"X"}}},
        {L"ABX", {{'A', L"A"}, {'B', L"B"}, {X, L"X"}}},
        {L"ABC", {{T1, L"AB"}, {'C', L"C"}}},
    };
    for (const Case& c : cases) {
        Stage st(backtrack_rows(), c.input);
        Tokens got = st.drain();
        EXPECT_EQ(c.expected, got) << show(got);
    }
}

TEST(LexAn, AlternativesComeFromTheConflictRowsInOrder) {
    hand::Rows rows = pq_rows();
    rows.productions.push_back({nullptr, 2, ALT, 0}); // production 3
    rows.conflicts = {{2, -1, 2, 3}, {2, -1, 3, -1}, {2, -1, 2, 0}};
    Stage st(rows, L"PQX");
    ASSERT_EQ(Token(T1, L"PQ"), st.next());
    EXPECT_EQ(ALT, st.lex.equivalent(1));
    EXPECT_EQ(-1, st.lex.equivalent(2)) << "a finish row lists -1 at its place";
    EXPECT_EQ(T1, st.lex.equivalent(3));
    EXPECT_EQ(-1, st.lex.equivalent(4));
    EXPECT_EQ(-1, st.lex.equivalent(-3));
    EXPECT_EQ(X, st.lex.equivalent(0)) << "the symbol that ended the token";
    EXPECT_EQ(T1, st.lex.equivalent(3)) << "higher orders read the list of the last order 1";
    ASSERT_EQ(Token(X, L"X"), st.next());
    EXPECT_EQ(-1, st.lex.equivalent(1));
}

namespace {

struct SmaStage : Stage {
    explicit SmaStage(const std::wstring& chars, hand::Rows rows = pq_rows()) : Stage(rows, chars) {
        lex.sma = true;
    }
    Token shorter(int rejected) {
        int id = lex.shorter_match(rejected);
        return {id, word};
    }
    Token rollback(int savepoint) {
        int id = lex.sma_rollback(savepoint);
        return {id, word};
    }
};

} // namespace

// The walk of shorter matches over PQRS followed by Y: each call offers the
// next shorter reading, and a rollback restores the token it started from.
TEST(LexAnShorterMatch, WalkDownToOneSymbolThenRollBack) {
    SmaStage st(L"PQRSY");
    ASSERT_EQ(Token(T2, L"PQRS"), st.next());
    int savepoint = st.lex.sma_savepoint();
    EXPECT_EQ(5, savepoint) << "start entry and four symbols";
    EXPECT_FALSE(st.lex.sma_shorted);
    EXPECT_EQ(Token(T1, L"PQ"), st.shorter(T2));
    EXPECT_TRUE(st.lex.sma_shorted);
    EXPECT_EQ(Token(P, L"P"), st.shorter(T1)) << "the first symbol by itself";
    EXPECT_EQ(-1, st.lex.shorter_match(P));
    EXPECT_EQ(Token(T2, L"PQRS"), st.rollback(savepoint));
    EXPECT_EQ((Tokens{{Y, L"Y"}}), st.drain()) << "the symbols after the token, in order";
}

TEST(LexAnShorterMatch, TakingAShorterTokenReadsTheRestAgain) {
    SmaStage st(L"PQRSY");
    ASSERT_EQ(Token(T2, L"PQRS"), st.next());
    st.lex.sma_savepoint();
    ASSERT_EQ(Token(T1, L"PQ"), st.shorter(T2));
    EXPECT_EQ((Tokens{{R, L"R"}, {S, L"S"}, {Y, L"Y"}}), st.drain());
}

TEST(LexAnShorterMatch, SkipsReadingsThatEmitRejectedOrDeliveredOrSmaIds) {
    // The prefix PQ emits T1. Rejected as T1, delivered as T1 (a one-symbol
    // continuation), or listed in the grammar's sma table: never offered.
    {
        SmaStage st(L"PQRS");
        st.next();
        EXPECT_EQ(Token(P, L"P"), st.shorter(T1)) << "PQ emits the rejected id";
    }
    {
        hand::Rows rows = pq_rows();
        rows.sma = {T1};
        SmaStage st(L"PQRS", rows);
        st.next();
        EXPECT_EQ(Token(P, L"P"), st.shorter(T2)) << "T1 is in the sma table";
    }
    {
        hand::Rows rows = pq_rows();
        rows.sma = {P};
        SmaStage st(L"PQRS", rows);
        st.next();
        EXPECT_EQ(Token(T1, L"PQ"), st.shorter(T2));
        EXPECT_EQ(-1, st.lex.shorter_match(T1)) << "P itself is in the sma table";
    }
}

TEST(LexAnShorterMatch, OneSymbolTokenHasNoShorterMatch) {
    hand::Rows rows = pq_rows();
    rows.srs.push_back({0, 'Z', 1, 5});
    rows.srs.push_back({5, -1, 2, 3});
    rows.srs.erase(rows.srs.begin() + 6, rows.srs.begin() + 9); // no blanks: state 5 is Z's
    rows.productions.push_back({nullptr, 1, ALT, 0});
    SmaStage st(L"ZP", rows);
    ASSERT_EQ(Token(ALT, L"Z"), st.next());
    int sp = st.lex.sma_savepoint();
    EXPECT_EQ(-1, st.lex.shorter_match(ALT));
    EXPECT_EQ(Token(ALT, L"Z"), st.rollback(sp));
    EXPECT_EQ((Tokens{{P, L"P"}}), st.drain());
}

TEST(LexAnShorterMatch, RollbackToUnchangedSavepointChangesNothing) {
    SmaStage st(L"PQRSY");
    ASSERT_EQ(Token(T2, L"PQRS"), st.next());
    int sp = st.lex.sma_savepoint();
    st.word = L"untouched";
    EXPECT_EQ(Token(T2, L"untouched"), st.rollback(sp));
    EXPECT_EQ((Tokens{{Y, L"Y"}}), st.drain());
}

TEST(LexAnShorterMatch, WithSmaOffOnlyThePendingSymbolGoesBack) {
    Stage st(pq_rows(), L"PQRX");
    ASSERT_EQ(Token(T1, L"PQ"), st.next());
    EXPECT_EQ(-1, st.lex.shorter_match(T1));
    EXPECT_EQ((Tokens{{R, L"R"}, {X, L"X"}}), st.drain());
}

TEST(LexAnShorterMatch, RollbackThatCannotReachTheSavepointReportsInternalError) {
    SmaStage st(L"PQRS");
    ASSERT_EQ(Token(T2, L"PQRS"), st.next());
    ASSERT_EQ(Token(T1, L"PQ"), st.shorter(T2));
    testing::internal::CaptureStderr();
    int id = st.lex.sma_rollback(9);
    EXPECT_EQ("Internal Error While Restoring the Stack on SMA.\n",
              testing::internal::GetCapturedStderr());
    EXPECT_EQ(-1, id);
}

TEST(LexAnShorterMatch, AlternativesAfterAShorterMatchLeaveOutSmaIds) {
    hand::Rows rows = pq_rows();
    rows.productions.push_back({nullptr, 2, ALT, 0}); // production 3
    rows.conflicts = {{2, -1, 2, 3}, {2, -1, 2, 0}};
    rows.sma = {ALT};
    SmaStage st(L"PQRS", rows);
    ASSERT_EQ(Token(T2, L"PQRS"), st.next());
    ASSERT_EQ(Token(T1, L"PQ"), st.shorter(T2));
    EXPECT_EQ(T1, st.lex.equivalent(1)) << "ALT is in the sma table and left out";
    EXPECT_EQ(-1, st.lex.equivalent(2));
}

// A second stage over the tokens of the first: its tokens carry the texts of
// the upstream tokens joined, and it passes on what it cannot use.
// A stage restarted on a new input reads it as a stage just built on it
// would, wherever the first input was left: mid-token, after a shorter
// match, with symbols pushed back, or at its end.
TEST(LexAnShorterMatch, RestartReadsTheNewInputAsANewStage) {
    struct Case {
        const char* left;
        std::wstring first;
        int tokens;   // tokens taken from the first input
        bool shorten; // then a shorter match of the last one
    } cases[] = {
        {"untouched", L"PQRSY", 0, false},
        {"after a token, its entries kept", L"PQRSY", 1, false},
        {"after a shorter match, symbols pushed back", L"PQRSY", 1, true},
        {"after a pass-on", L"XPQ", 1, false},
        {"at its end", L"PQ", 3, false},
    };
    const std::wstring second = L"PQRX PQRS";
    SmaStage fresh(second);
    const Tokens expected = fresh.drain();
    for (const Case& c : cases) {
        SmaStage st(c.first);
        for (int i = 0; i < c.tokens; ++i)
            st.next();
        if (c.shorten)
            st.shorter(T2);
        st.input.symbols.clear();
        st.input.at = 0;
        st.input.add(second);
        st.lex.restart();
        EXPECT_FALSE(st.lex.eof()) << c.left;
        EXPECT_FALSE(st.lex.sma_shorted) << c.left;
        EXPECT_EQ(-1, st.lex.equivalent(1)) << c.left << ": nothing delivered yet";
        Tokens got = st.drain();
        EXPECT_EQ(expected, got) << c.left << ": restarted on \"PQRX PQRS\" gave " << show(got);
    }
}

TEST(LexAn, StagesChain) {
    const int DOUBLE = 65660;
    hand::Grammar first(pq_rows());
    parsing::SimpleParsingTable first_table(first);
    hand::Rows second_rows;
    second_rows.states = 3;
    second_rows.srs = {{0, T1, 1, 1}, {1, T1, 1, 2}, {2, -1, 2, 0}};
    second_rows.productions = {{nullptr, 2, DOUBLE, 0}};
    hand::Grammar second(second_rows);
    parsing::SimpleParsingTable second_table(second);

    hand::ScriptScanner chars(L"PQPQ PQX");
    std::wstring w;
    LexAn one(chars, first_table, nullptr);
    LexAn two(one, second_table, nullptr);
    Tokens got = collect(two);
    EXPECT_EQ((Tokens{{DOUBLE, L"PQPQ"}, {T1, L"PQ"}, {X, L"X"}}), got) << show(got);
    EXPECT_TRUE(two.eof()) << "the end mark from upstream ends this stage too";
    EXPECT_EQ(-1, two.next(&w));
}
