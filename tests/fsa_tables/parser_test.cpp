// FSAParser: case set-up, token reading and look-ahead, the error list, and
// whole parses over a small hand-filled FSA grammar (accepted input, failed
// steps, the retry without the SLR check, panic-mode recovery).

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "FSAParser.h"
#include "FSAState.h"
#include "fsa_grammar.h"

using fsa_test::Grammar;
using fsa_test::wout_of;
using namespace parsing;

namespace {

struct Tok {
    int id;
    std::wstring text;
};

// Tokens from a list. From call number `throw_from` of next() on (counted
// from 0) every read throws a standard exception.
class ListScanner : public capi::interfaces::_I_Scanner {
public:
    std::vector<Tok> tokens;
    std::size_t pos = 0;
    int reads = 0;
    int throw_from = -1;
    std::wstring name = L"list";

    explicit ListScanner(std::vector<Tok> in) : tokens(std::move(in)) {}

    int next(std::wstring* text) override {
        if (throw_from >= 0 && reads >= throw_from) {
            ++reads;
            throw std::runtime_error("scanner fault");
        }
        ++reads;
        const Tok& t = tokens.at(pos++);
        *text = t.text;
        return t.id;
    }
    bool eof() override { return pos >= tokens.size(); }
    bool available() override { return !eof(); }
    std::wstring& source() override { return name; }
    int line() override { return 0; }
    int equivalent(int) override { return -1; }
};

const int a = 97, b = 98, c = 99, d = 100, Start = 65536, X = 65537;

// Start -> a b (production 0) | error b (1) | X c (3); X -> d (2).
// NFA states 0..4; states 5..8 stand for productions 0..3.
class ParseGrammar : public Grammar {
public:
    explicit ParseGrammar(bool x_followed_by_b_only = false, bool with_recovery = false) {
        set(
            terminals,
            [](Terminals& t) {
                t.append(-4, 0, 0, false, L"error");
                t.append(-1, 0, 0, false, L"EOF");
                t.append(a, 0, 0, false, L"a");
                t.append(b, 0, 0, false, L"b");
                t.append(c, 0, 0, false, L"c");
                t.append(d, 0, 0, false, L"d");
                t.append(Start, 0, 1, false, L"Start");
                t.append(X, 0, 2, false, L"X");
            },
            8);
        set(
            eqstable,
            [](eqs_table& e) {
                for (int t : {-4, a, b, c, d, X})
                    e.append(0, t, t);
            },
            6, 6, 0);
        set(
            nfatable,
            [](nfa_table& n) {
                n.append(0, -4, _SHIFTDOWN, 3);
                n.append(0, a, _SHIFTDOWN, 1);
                n.append(0, d, _SHIFTDOWN, 7);
                n.append(0, X, _SHIFTDOWN, 4);
                n.append(1, b, _SHIFT, 5);
                n.append(3, b, _SHIFT, 6);
                n.append(4, c, _SHIFT, 8);
            },
            7, 5);
        set(
            reductions,
            [](ReductionsTable& r) {
                r.append(nullptr, 2, 1, Start, 0, 0);
                r.append(nullptr, 2, 2, Start, 0, 0);
                r.append(nullptr, 1, 1, X, 0, 0);
                r.append(nullptr, 2, 3, Start, 0, 0);
            },
            4);
        if (x_followed_by_b_only)
            set(
                slr_follows_table, [](slr_table& s) { s.append(0, X, b, b); }, 1, 1, 0);
        if (with_recovery)
            set(
                recovery_states, [](KeyValueFixedTable& k) { k.append(0, 0); }, 1);
        startId = Start;
        build_indexes();
    }
};

// The driver with its protected state in reach of the tests.
class OpenParser : public FSAParser {
public:
    using FSAParser::_get_next;
    using FSAParser::BufferedElements;
    using FSAParser::errors;
    using FSAParser::FSAParser;
    using FSAParser::reset;
    using FSAParser::State;
    using FSAParser::step;
    using FSAParser::token;
    using FSAParser::word;
};

struct Rig {
    ParseGrammar grammar;
    FSAParsingTable table;
    ListScanner scanner;
    OpenParser parser;

    explicit Rig(std::vector<Tok> input, bool x_followed_by_b_only = false,
                 bool with_recovery = false)
        : grammar(x_followed_by_b_only, with_recovery), table(grammar), scanner(std::move(input)),
          parser(scanner, table, nullptr) {}
};

std::wstring texts(const std::deque<ParseError>& errors) {
    std::wstring all;
    for (const ParseError& e : errors)
        all += L"[" + e.txt + L"]";
    return all;
}

std::string narrow(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

} // namespace

TEST(FSAParserTest, GivesTheScannerTheGrammarsCase) {
    struct Case {
        int input_case;
        bool upper, lower;
    } cases[] = {{0, false, false}, {1, true, false}, {2, false, true}};
    for (const Case& k : cases) {
        ParseGrammar g;
        g.input_case = k.input_case;
        FSAParsingTable t(g);
        ListScanner s({});
        s.setUpper();
        OpenParser p(s, t, nullptr);
        EXPECT_EQ(s.isUpper(), k.upper) << "input_case " << k.input_case;
        EXPECT_EQ(s.isLower(), k.lower) << "input_case " << k.input_case;
        EXPECT_EQ(p.step, -1);
        EXPECT_FALSE(p.finished());
    }
}

TEST(FSAParserTest, EndMarkFromTheScannerEndsTheInput) {
    Rig s({{a, L"a"}, {-1, L"eof text"}, {b, L"b"}});
    EXPECT_TRUE(s.parser.next());
    EXPECT_EQ(s.parser.token, a);
    EXPECT_EQ(s.parser.word, L"a");
    EXPECT_FALSE(s.parser.next());
    EXPECT_TRUE(s.parser.finished());
    EXPECT_EQ(s.parser.word, L"") << "the end mark's text is dropped";
    EXPECT_FALSE(s.parser.next());
    EXPECT_EQ(s.scanner.reads, 2) << "the scanner is not asked again after the end mark";
}

TEST(FSAParserTest, LookAheadReadsOnlyAsFarAsAsked) {
    Rig s({{a, L"a"}, {b, L"bb"}, {c, L"ccc"}, {d, L"d"}});
    ASSERT_TRUE(s.parser.next());
    EXPECT_EQ(s.parser.peek(0), b) << "peek(step) is the token after the current one";
    EXPECT_EQ(s.scanner.reads, 2);
    EXPECT_EQ(s.parser.peek(2), d);
    EXPECT_EQ(s.scanner.reads, 4);
    EXPECT_EQ(s.parser.peek(1), c);
    EXPECT_EQ(s.scanner.reads, 4) << "a buffered position reads nothing";
    EXPECT_EQ(s.parser.peek(7), -1) << "beyond the end: the end mark";
    EXPECT_EQ(s.parser.token, a) << "reading ahead leaves the current token";
    EXPECT_EQ(s.parser.word, L"a");
    EXPECT_EQ(wout_of([&] { EXPECT_EQ(s.parser.peek(-1), -1); }), L"invalid peek\n");
    EXPECT_EQ(s.parser.BufferedElements(), 3);
    for (const Tok& t : std::vector<Tok>{{b, L"bb"}, {c, L"ccc"}, {d, L"d"}}) {
        ASSERT_TRUE(s.parser.next());
        EXPECT_EQ(s.parser.token, t.id);
        EXPECT_EQ(s.parser.word, t.text);
    }
    EXPECT_EQ(s.parser.step, 3);
    EXPECT_FALSE(s.parser.next());
    EXPECT_TRUE(s.parser.finished());
    EXPECT_FALSE(s.parser.available());
}

TEST(FSAParserTest, ScannerFaultWhileReadingAheadEndsTheLookAhead) {
    Rig s({{a, L"a"}, {b, L"b"}, {c, L"c"}});
    s.scanner.throw_from = 2;
    ASSERT_TRUE(s.parser.next());
    EXPECT_EQ(s.parser.peek(2), -1);
    EXPECT_EQ(s.parser.peek(0), b) << "the token read before the fault stays buffered";
    EXPECT_EQ(s.parser.token, a);
    EXPECT_EQ(s.parser.word, L"a");
}

TEST(FSAParserTest, ResetDropsTheBuffer) {
    Rig s({{a, L"a"}, {b, L"b"}, {c, L"c"}});
    ASSERT_TRUE(s.parser.next());
    s.parser.peek(1);
    s.parser.reset();
    EXPECT_EQ(s.parser.BufferedElements(), 0);
    EXPECT_EQ(s.parser.token, c) << "the last buffered token";
    EXPECT_EQ(s.parser.word, L"");
    EXPECT_TRUE(s.parser._get_next);
}

TEST(FSAParserTest, SyntaxErrorMessage) {
    struct Case {
        int state, token;
        const wchar_t* text;
        int code;
    } cases[] = {
        {1, 5, L"bad pair", 3},                    // the specific error alone
        {2, 5, L"bad five ", -1},                  // term error, no state error
        {1, 6, L"Unexpected: six. state one ", 1}, // named token, state error
        {2, 4, L"", -1},                           // nothing at all
    };
    for (const Case& k : cases) {
        Grammar g;
        g.set(
            g.terminals, [](Terminals& t) { t.append(6, 0, 0, false, L"six"); }, 1);
        g.set(
            g.error_msgs,
            [](ErrorsTable& e) {
                e.append(1, L"state one");
                e.append(2, L"bad five");
                e.append(3, L"bad pair");
            },
            3);
        g.set(
            g.state_errors, [](KeyValueFixedTable& t) { t.append(1, 1); }, 1);
        g.set(
            g.term_errors, [](KeyValueFixedTable& t) { t.append(5, 2); }, 1);
        g.set(
            g.specialized_errors, [](KeyKeyValueFixedTable& t) { t.append(1, 5, 3); }, 1);
        FSAParsingTable t(g);
        ListScanner sc({});
        OpenParser p(sc, t, nullptr);
        EXPECT_EQ(p.error(k.state, k.token), k.code)
            << "state " << k.state << ", token " << k.token;
        ASSERT_EQ(p.errors.size(), 1u);
        EXPECT_EQ(p.errors[0].txt, k.text) << "state " << k.state << ", token " << k.token;
        EXPECT_EQ(p.errors[0].id, k.code);
        EXPECT_EQ(p.errors[0]._type, Syntax);
        EXPECT_TRUE(p.errors[0]._source.empty());
        EXPECT_TRUE(p.hasErrors());
    }
}

TEST(FSAParserTest, ErrorRecords) {
    Rig s({});
    ParseError warn(3, L"just a warning", warning, false, true);
    s.parser.put_error(warn);
    EXPECT_TRUE(s.parser.hasErrors()) << "a warning counts as an error here";
    ParseError as_errno(42, L"described", Type, true, false);
    s.parser.put_error(static_cast<capi::interfaces::_I_Errno&>(as_errno));
    std::runtime_error empty("");
    s.parser.put_error(empty);
    std::runtime_error high("caf\xE9");
    s.parser.put_error(high);
    s.parser.put_error(7, nullptr, Syntax);
    const std::deque<ParseError>& e = s.parser.errors;
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(e[0].txt, L"just a warning");
    EXPECT_EQ(e[0]._type, warning);
    EXPECT_EQ(e[1].txt, L"described");
    EXPECT_EQ(e[1].id, 0) << "the code of an _I_Errno is not kept";
    EXPECT_EQ(e[1]._type, Semantic);
    EXPECT_FALSE(e[1]._stop);
    EXPECT_EQ(e[2].txt, L"Parser Error");
    EXPECT_EQ(e[3].txt, std::wstring(L"caf") + wchar_t(0xFFE9)) << "bytes widen with their sign";
    EXPECT_EQ(e[3]._type, Semantic);
    EXPECT_EQ(e[4].txt, L"");
    EXPECT_EQ(e[4].id, 7);
}

TEST(FSAParserTest, EngineErrorsMoveOnlyWhenTheEngineHasErrors) {
    Rig s({});
    ParseError stray(1, L"stray", Syntax, false, true);
    s.parser.State->getErrors().push_back(stray);
    struct Peek : FSAParser {
        static bool swap(FSAParser& p) { return (p.*(&Peek::swapFSAStateErrors))(); }
    };
    EXPECT_FALSE(Peek::swap(s.parser));
    EXPECT_TRUE(s.parser.State->getErrors().empty());
    EXPECT_TRUE(s.parser.errors.empty());
    EXPECT_FALSE(s.parser.hasErrors());
}

TEST(FSAParserTest, AcceptedInputGivesOneTree) {
    Rig s({{a, L"a"}, {b, L"b"}});
    EXPECT_EQ(s.parser.parse(), 1);
    EXPECT_TRUE(s.parser.successful()) << narrow(texts(s.parser.errors));
    EXPECT_TRUE(s.parser.parsed());
    EXPECT_TRUE(s.parser.errors.empty());
    FSATokenNode* tree = s.parser.State->parseTree(0);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->symbol(), Start);
    ASSERT_EQ(tree->children(), 2);
    EXPECT_EQ(tree->childs()[0]->symbol(), a);
    EXPECT_EQ(tree->childs()[1]->symbol(), b);
    EXPECT_EQ(tree->wstr(), L"ab");
}

TEST(FSAParserTest, EmptyInput) {
    Rig s({});
    EXPECT_EQ(s.parser.parse(), 0);
    EXPECT_TRUE(s.parser.finished());
    EXPECT_TRUE(s.parser.hasErrors());
    EXPECT_FALSE(s.parser.successful());
    EXPECT_FALSE(s.parser.parsed());
    // The end of input without a tree is reported in the engine's list,
    // where a caller of the engine reads it; the parser's list stays empty.
    EXPECT_EQ(texts(s.parser.State->getErrors()), L"[Unexpected: EOF. ]");
    EXPECT_TRUE(s.parser.errors.empty());
}

TEST(FSAParserTest, FailedStepWithoutRecoveryEndsTheParse) {
    Rig s({{a, L"a"}, {a, L"a"}, {b, L"b"}});
    EXPECT_EQ(s.parser.parse(), 0);
    EXPECT_TRUE(s.parser.finished());
    EXPECT_TRUE(s.parser.hasErrors());
    EXPECT_EQ(texts(s.parser.errors), L"[Unexpected: a. ]")
        << "once: the retry's errors replace the first attempt's";
    EXPECT_EQ(s.parser.step, 1) << "the parse stops at the second token";
    EXPECT_EQ(s.scanner.reads, 2);
}

TEST(FSAParserTest, StepFailingOnlyTheSlrCheckSucceedsOnTheRetry) {
    Rig s({{d, L"d"}, {c, L"c"}}, true);
    EXPECT_EQ(s.parser.parse(), 1);
    EXPECT_TRUE(s.parser.successful()) << narrow(texts(s.parser.errors));
    EXPECT_TRUE(s.parser.errors.empty());
    EXPECT_TRUE(s.parser.State->slr_follows) << "the check is on again after the retry";
    FSATokenNode* tree = s.parser.State->parseTree(0);
    ASSERT_NE(tree, nullptr);
    ASSERT_EQ(tree->children(), 2);
    EXPECT_EQ(tree->childs()[0]->symbol(), X);
}

TEST(FSAParserTest, RecoverySkipsToAnAcceptedToken) {
    Rig s({{c, L"c"}, {c, L"c"}, {b, L"b"}}, false, true);
    EXPECT_EQ(s.parser.parse(), 1);
    EXPECT_TRUE(s.parser.hasErrors());
    EXPECT_FALSE(s.parser.successful());
    EXPECT_EQ(texts(s.parser.errors), L"[Unexpected: c. ]");
    EXPECT_EQ(s.parser.step, 3);
}

TEST(FSAParserTest, RecoveryWithoutAnyHeadTakingTheErrorToken) {
    Rig s({{b, L"b"}, {b, L"b"}}, false, true);
    // Relabelling the only row on the error token leaves no head to take it.
    s.grammar.nfatable->table[0].terminal = -5;
    EXPECT_EQ(s.parser.parse(), 0);
    EXPECT_TRUE(s.parser.finished());
    ASSERT_EQ(s.parser.errors.size(), 2u) << narrow(texts(s.parser.errors));
    EXPECT_EQ(s.parser.errors[1].txt, L"Failed to recover; State Empty");
    EXPECT_EQ(s.parser.errors[1].id, 100);
    EXPECT_EQ(s.parser.errors[1]._type, Syntax);
}

TEST(FSAParserTest, InputEndingWhileSkipping) {
    Rig s({{c, L"c"}, {c, L"c"}}, false, true);
    EXPECT_EQ(s.parser.parse(), 0);
    EXPECT_TRUE(s.parser.finished());
    EXPECT_FALSE(s.parser._get_next);
    for (const ParseError& e : s.parser.errors)
        EXPECT_NE(e.id, 100) << "the end of input ends the recovery without a record";
}

TEST(FSAParserTest, ScannerFailingForGoodWhileSkippingEndsTheRecovery) {
    Rig s({{c, L"c"}, {c, L"c"}}, false, true);
    s.scanner.throw_from = 1; // every read after the first token fails
    EXPECT_EQ(s.parser.parse(), 0);
    EXPECT_TRUE(s.parser.finished());
    EXPECT_FALSE(s.parser._get_next);
    EXPECT_EQ(texts(s.parser.errors), L"[Unexpected: c. ][scanner fault][scanner fault]");
}
