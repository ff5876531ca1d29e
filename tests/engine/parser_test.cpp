#include <gtest/gtest.h>

#include <deque>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "LexAn.h"
#include "Parser.h"
#include "SimpleParsingTable.h"
#include "hand_grammar.h"

using parsing::p_entry;
using parsing::ParseError;
using parsing::Parser;

namespace {

// Token ids of the lexical grammar below, which the LR grammar reads.
const int NAME = 65649, NUM = 65650, KEY = 65651, COMMENT = 65653, EQ1 = 65654;
const int SPACES = 65540;
// Nonterminals of the LR grammar.
const int GOAL = 65698, LIST = 65700, STMT = 65701;

// Tokens: "n" NAME, "k" KEY (with the alternative NAME), "1" NUM, "#"
// COMMENT, "=1" EQ1, blanks (ignorable); every other character is passed on.
hand::Rows lexer_rows() {
    hand::Rows r;
    r.states = 8;
    r.srs = {{0, 'n', 1, 1}, {0, 'k', 1, 2}, {0, '1', 1, 3}, {0, '=', 1, 4}, {0, '#', 1, 5},
             {0, ' ', 1, 6}, {1, -1, 2, 0},  {2, -1, 2, 1},  {3, -1, 2, 2},  {4, '1', 1, 7},
             {5, -1, 2, 3},  {6, ' ', 1, 6}, {6, -1, 2, 4},  {7, -1, 2, 5}};
    r.conflicts = {{2, -1, 2, 0}};
    r.productions = {{nullptr, 1, NAME, 0},    {nullptr, 1, KEY, 0},    {nullptr, 1, NUM, 0},
                     {nullptr, 1, COMMENT, 0}, {nullptr, 1, SPACES, 0}, {nullptr, 2, EQ1, 0}};
    r.ignorables = {SPACES};
    return r;
}

struct Log {
    std::vector<std::wstring> events;
    int throw_kind = 0;
};

std::wstring text_of(const p_entry& e) {
    return e.synthesized ? *e.synthesized : std::wstring(L"null");
}

struct ErrnoObject : capi::interfaces::_I_Errno {
    std::wstring text = L"errno text";
    Int4 code() const override { return 9; }
    const std::wstring& describe() const override { return text; }
    const std::wstring& describe(capi::interfaces::_I_Language&) const override { return text; }
};

// stmt ::= name "=" num ";". Records what it sees of the stack, then throws
// what the test asks for.
int on_assign(int phase, std::deque<p_entry>& stack, p_entry& parent, int childs, void* context) {
    Log& log = *static_cast<Log*>(context);
    std::size_t base = stack.size() - childs - 1;
    log.events.push_back(L"assign phase=" + std::to_wstring(phase) + L" childs=" +
                         std::to_wstring(childs) + L" parent=" + std::to_wstring(parent.token) +
                         L" $1=" + text_of(stack[base + 1]) + L" $3=" + text_of(stack[base + 3]));
    switch (log.throw_kind) {
    case 1:
        throw ParseError(7, L"custom", parsing::Semantic, false, true);
    case 2:
        throw std::runtime_error("");
    case 3:
        throw 42;
    case 4:
        throw ParseError(7, L"stop here", parsing::Semantic, true, true);
    case 5:
        throw std::runtime_error("bad \xE9");
    case 6:
        throw ErrnoObject();
    case 7:
        throw ParseError(0, L"just saying", parsing::warning, false, true);
    }
    return 0;
}

// list ::= list stmt | stmt. Records the token and text of its last child.
int on_list(int, std::deque<p_entry>& stack, p_entry&, int childs, void* context) {
    Log& log = *static_cast<Log*>(context);
    const p_entry& last = stack.back();
    log.events.push_back(L"list childs=" + std::to_wstring(childs) + L" last=" +
                         std::to_wstring(last.token) + L":" + text_of(last));
    return 0;
}

untyped_action untyped(parsing::semantic_action_fn fn) {
    return reinterpret_cast<untyped_action>(fn);
}

// goal ::= list (accepted on EOF in state 1)
// list ::= list stmt (1) | stmt (2)
// stmt ::= name "=" num ";" (3) | error ";" (4) | comment (5, error production)
hand::Rows parser_rows() {
    hand::Rows r;
    r.states = 11;
    r.names = {{-1, L"EOF"},     {-4, L"error"},  {NAME, L"name"},
               {NUM, L"num"},    {KEY, L"key"},   {COMMENT, L"comment"},
               {EQ1, L"eq-one"}, {LIST, L"list"}, {STMT, L"stmt"}};
    r.srs = {{0, -4, 1, 4},     {0, NAME, 1, 3}, {0, COMMENT, 1, 5}, {1, -4, 1, 4},
             {1, -1, 3, -1000}, {1, NAME, 1, 3}, {1, COMMENT, 1, 5}, {3, '=', 1, 7},
             {4, ';', 1, 8},    {7, NUM, 1, 9},  {9, ';', 1, 10}};
    r.defaults = {{2, 2, 2}, {5, 2, 5}, {6, 2, 1}, {8, 2, 4}, {10, 2, 3}};
    r.gotos = {{0, LIST, 1}, {0, STMT, 2}, {1, STMT, 6}};
    r.productions = {{nullptr, 1, GOAL, 0},           {untyped(&on_list), 2, LIST, 0},
                     {untyped(&on_list), 1, LIST, 0}, {untyped(&on_assign), 4, STMT, 0},
                     {nullptr, 2, STMT, 0},           {nullptr, 1, STMT, 11}};
    r.messages = {{1, L"Expected :\"num\"."},
                  {2, L"Expected :\"=\"."},
                  {3, L"Expected :\"comment\", or \"name\"."},
                  {4, L"Expected :\";\"."},
                  {5, L"Comment without a statement."}};
    r.state_errors = {{0, 3}, {1, 3}, {3, 2}, {4, 4}, {7, 1}, {9, 4}};
    r.production_errors = {{STMT, 5}};
    r.recovery = {0, 1};
    return r;
}

// Captures what the parser writes to the wide standard output.
struct WideCapture {
    std::wstringbuf buf;
    std::wstreambuf* old;
    WideCapture() : old(std::wcout.rdbuf(&buf)) {}
    ~WideCapture() { std::wcout.rdbuf(old); }
    std::vector<std::wstring> lines() {
        std::vector<std::wstring> out;
        std::wistringstream in(buf.str());
        for (std::wstring l; std::getline(in, l);)
            out.push_back(l);
        return out;
    }
};

// The chain of a fixed-form file in miniature: characters, one lexical
// stage in shorter-match mode, the parser with shorter matches allowed.
struct Chain {
    Log log;
    hand::Grammar lexer_grammar;
    parsing::SimpleParsingTable lexer_table;
    hand::Grammar parser_grammar;
    parsing::SimpleParsingTable parser_table;
    hand::ScriptScanner input;
    parsing::LexAn lex;
    Parser parser;

    explicit Chain(const std::wstring& text, const hand::Rows& prows = parser_rows())
        : lexer_grammar(lexer_rows()), lexer_table(lexer_grammar), parser_grammar(prows),
          parser_table(parser_grammar), input(text), lex(input, lexer_table, &log),
          parser(lex, parser_table, &log) {
        lex.sma = true;
        parser.shorter_match = true;
    }
    std::vector<std::wstring> diagnostics() {
        std::vector<std::wstring> out;
        std::wstring line;
        for (const ParseError& e : parser.getErrors())
            out.push_back(e.format(line));
        return out;
    }
};

std::string narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w)
        s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

std::string narrow(const std::vector<std::wstring>& ws) {
    std::string s;
    for (const std::wstring& w : ws)
        s += "[" + narrow(w) + "] ";
    return s;
}

const std::wstring P = L"t.bas:1: error: syntax:";

} // namespace

TEST(Parser, ParsesAndReportsAsExpected) {
    struct Case {
        std::wstring input;
        bool successful;
        std::vector<std::wstring> diagnostics;
        std::vector<std::wstring> events;
    } cases[] = {
        // EQ1 "=1" has no action after a name: its first symbol "=" is the
        // shorter match, and "1" is read again as a number.
        {L"n=1;",
         true,
         {},
         {L"assign phase=1 childs=4 parent=65701 $1=n $3=1", L"list childs=1 last=65701:null"}},
        // "k" is a key, whose alternative is a name.
        {L"n= 1;k=1 ;",
         true,
         {},
         {L"assign phase=1 childs=4 parent=65701 $1=n $3=1", L"list childs=1 last=65701:null",
          L"assign phase=1 childs=4 parent=65701 $1=k $3=1", L"list childs=2 last=65701:null"}},
        // An error, panic-mode recovery on the error token, and the next
        // statement parses again.
        {L"n=;n= 1;",
         false,
         {P + L"Unexpected: ';'. Expected :\"num\". "},
         {L"list childs=1 last=65701:null", L"assign phase=1 childs=4 parent=65701 $1=n $3=1",
          L"list childs=2 last=65701:null"}},
        {L"", false, {P + L"Unexpected: EOF. Expected :\"comment\", or \"name\". "}, {}},
        // A name where "=" belongs: name and value both shown.
        {L"nn= 1;",
         false,
         {P + L"Unexpected: name with value 'n'. Expected :\"=\". "},
         {L"list childs=1 last=65701:null"}},
        // The error production keeps its single child (pass-through): the
        // list action sees the comment token with its text.
        {L"#", false, {P + L"Comment without a statement. "}, {L"list childs=1 last=65653:#"}},
        // Shortening exhausted: "=" stays, and is reported.
        {L"n==", false, {P + L"Unexpected: '='. Expected :\"num\". "}, {}},
    };
    for (const Case& c : cases) {
        Chain ch(c.input);
        bool ok = ch.parser.parse();
        SCOPED_TRACE("input \"" + narrow(c.input) + "\"");
        EXPECT_EQ(c.successful, ok);
        EXPECT_EQ(c.successful, ch.parser.successful());
        EXPECT_TRUE(ch.parser.finished());
        EXPECT_EQ(c.diagnostics, ch.diagnostics()) << narrow(ch.diagnostics());
        EXPECT_EQ(c.events, ch.log.events) << narrow(ch.log.events);
    }
}

TEST(Parser, SyntaxErrorCodesAndTexts) {
    struct Case {
        std::wstring input;
        hand::Rows rows;
        int code;
        std::wstring text;
    };
    hand::Rows term = parser_rows();
    term.messages.push_back({6, L"Stray '%s' here"});
    term.term_errors = {{';', 6}};
    hand::Rows specific = parser_rows();
    specific.messages.push_back({7, L"A number must come first."});
    specific.specific_errors = {{7, ';', 7}};
    hand::Rows keyword = parser_rows();
    keyword.names[4].name = L"k"; // the key's text equals its name
    hand::Rows no_state_text = parser_rows();
    no_state_text.state_errors.clear();
    Case cases[] = {
        {L"n=;", term, 1, L"Stray ';' here Expected :\"num\". "},
        {L"n=;", specific, 7, L"A number must come first."},
        {L"nk", keyword, 2, L"Unexpected: 'k'. Expected :\"=\". "},
        {L"nn", no_state_text, -1, L"Unexpected: name with value 'n'. "},
    };
    for (const Case& c : cases) {
        Chain ch(c.input, c.rows);
        ch.parser.parse();
        SCOPED_TRACE("input \"" + narrow(c.input) + "\"");
        ASSERT_FALSE(ch.parser.getErrors().empty());
        const ParseError& e = ch.parser.getErrors().front();
        EXPECT_EQ(c.code, e.code());
        EXPECT_EQ(parsing::Syntax, e.type());
        EXPECT_EQ(c.text, e.describe()) << narrow(e.describe());
        EXPECT_EQ(L"t.bas", e._source);
        EXPECT_EQ(1, e._line);
    }
}

TEST(Parser, TokenWithoutNameOutsideCharactersGivesNoSentence) {
    hand::ScriptScanner in;
    in.add(NAME, L"n").add(70000, L"zz");
    hand::Grammar g(parser_rows());
    parsing::SimpleParsingTable t(g);
    Log log;
    Parser p(in, t, &log);
    p.parse();
    ASSERT_FALSE(p.getErrors().empty());
    EXPECT_EQ(L"Expected :\"=\". ", p.getErrors().front().describe());
}

TEST(Parser, MessageFormOfTokenTexts) {
    const std::wstring long_plain(40, L'x');
    std::wstring quote_at_33 = L"\"" + std::wstring(32, L'a') + L"\"" + L"tail";
    struct Case {
        std::wstring word, shown;
    } cases[] = {
        {L"", L""},
        {L"a", L"'a'"},
        {L"'", L"\"'\""},
        {L"\"AB\"", L"'AB'"},
        {L"'AB'", L"'AB'"},
        {L"\"A\"", L"\"A\""},
        {L"\"\"", L"\"\""},
        {L"a\"", L"a\""},
        {L"R\"AB\"", L"'AB'"},
        {L"r\"AB\"", L"r\"AB\""},
        {L"\"AB'", L"\"AB'"},
        {L"PRINT", L"PRINT"},
        {long_plain, long_plain},
        {quote_at_33, L"'" + std::wstring(32, L'a') + L"'"},
    };
    hand::ScriptScanner in(L"");
    hand::Grammar g(parser_rows());
    parsing::SimpleParsingTable t(g);
    Parser p(in, t, nullptr);
    for (const Case& c : cases) {
        std::wstring shown = L"stale";
        p.msg_word(c.word, shown);
        EXPECT_EQ(c.shown, shown) << "word [" << narrow(c.word) << "]";
    }
}

TEST(Parser, IgnoredTokenWithTerminalTextIsAWarning) {
    hand::Rows rows = parser_rows();
    rows.ignorables = {COMMENT};
    rows.messages.push_back({6, L"Ignored \"%s\" comment."});
    rows.term_errors = {{COMMENT, 6}};
    Chain ch(L"n#= 1;", rows);
    EXPECT_TRUE(ch.parser.parse());
    EXPECT_EQ(std::vector<std::wstring>{L"t.bas:1: warning: Ignored \"#\" comment."},
              ch.diagnostics());
    EXPECT_EQ(1, ch.parser.getErrors().front().code());
}

TEST(Parser, ExceptionsOfSemanticActions) {
    struct Case {
        int kind;
        bool successful;
        std::vector<std::wstring> diagnostics;
        std::size_t events; // the parse goes on (4 events) or ends (1)
    } cases[] = {
        {1, false, {L" error: semantic:custom", L" error: semantic:custom"}, 4},
        {7, true, {L" warning: just saying", L" warning: just saying"}, 4},
        {4, false, {L" error: semantic:stop here"}, 1},
        {2, false, {L" error: semantic:Parser Error"}, 1},
        {5, false, {L" error: semantic:bad \xFFE9"}, 1},
        {6, false, {L" error: semantic:errno text"}, 1},
        {3, false, {L"t.bas:1: error: semantic:Exception on Semantic Action"}, 1},
    };
    for (const Case& c : cases) {
        Chain ch(L"n= 1;n= 1;");
        ch.log.throw_kind = c.kind;
        SCOPED_TRACE("throw kind " + std::to_string(c.kind));
        EXPECT_EQ(c.successful, ch.parser.parse());
        EXPECT_TRUE(ch.parser.finished());
        EXPECT_EQ(c.diagnostics, ch.diagnostics()) << narrow(ch.diagnostics());
        EXPECT_EQ(c.events, ch.log.events.size()) << narrow(ch.log.events);
    }
}

// Tables in which recovery would resume with the same token in the same
// configuration forever: stmt ::= error is reduced by default right after
// the error token, and the token that failed fails again.
TEST(Parser, RecoveryAlwaysMakesProgress) {
    hand::Rows rows = parser_rows();
    rows.productions.push_back({nullptr, 1, STMT, 0}); // 6: stmt ::= error
    rows.defaults.push_back({4, 2, 6});
    Chain ch(L"==n= 1;", rows);
    EXPECT_FALSE(ch.parser.parse());
    const std::wstring expected = P + L"Unexpected: '='. Expected :\"comment\", or \"name\". ";
    EXPECT_EQ((std::vector<std::wstring>{expected, expected, expected}), ch.diagnostics())
        << narrow(ch.diagnostics());
    EXPECT_EQ(L"assign phase=1 childs=4 parent=65701 $1=n $3=1", ch.log.events.at(5))
        << narrow(ch.log.events);
}

TEST(Parser, RecoveryWithoutErrorStateEmptiesTheStackAndFinishes) {
    hand::Rows rows = parser_rows();
    rows.srs.erase(rows.srs.begin() + 3); // state 1 on error
    rows.srs.erase(rows.srs.begin());     // state 0 on error
    Chain ch(L"n=;n= 1;", rows);
    EXPECT_FALSE(ch.parser.parse());
    EXPECT_TRUE(ch.parser.finished());
    EXPECT_EQ(1u, ch.diagnostics().size());
    EXPECT_TRUE(ch.parser.consumed.empty());
    EXPECT_TRUE(ch.log.events.empty());
}

TEST(Parser, EndOfInputWhileSkippingEndsTheParse) {
    Chain ch(L"n=1 1 1");
    EXPECT_FALSE(ch.parser.parse());
    EXPECT_EQ(1u, ch.diagnostics().size()) << narrow(ch.diagnostics());
    EXPECT_EQ(P + L"Unexpected: num with value '1'. Expected :\";\". ", ch.diagnostics()[0]);
}

TEST(ParserTrace, LevelOneShowsShiftsFinishAndErrors) {
    Chain ch(L"n= 1;=");
    ch.parser.setDebug(1);
    WideCapture out;
    ch.parser.parse();
    std::vector<std::wstring> expected = {
        L"  Line=00001,65649  name                      buffer=[n] ",
        L"  Line=00001,00061  NULL                      buffer=[=] ",
        L"  Line=00001,65650  num                       buffer=[1] ",
        L"  Line=00001,00059  NULL                      buffer=[;] ",
        L"  Line=00001,00061  NULL                      buffer=[=] ",
    };
    EXPECT_EQ(expected, out.lines()) << narrow(out.lines());
}

TEST(ParserTrace, LevelTwoShowsReadsAlternativesAndShorterMatches) {
    Chain ch(L"k=1;n==");
    ch.parser.setDebug(2);
    WideCapture out;
    ch.parser.parse();
    std::vector<std::wstring> expected = {
        L"  Line=00001,65651  key                       buffer=[k] ",
        L"  Line=00001,65649  name                      buffer=[k] (ALT)",
        L"  Line=00001,65654  eq-one                    buffer=[=1] ",
        L"  Line=00001,00061  NULL                      buffer=[=] (SMA)",
        L"  Line=00001,65650  num                       buffer=[1] ",
        L"  Line=00001,00059  NULL                      buffer=[;] ",
        L"  Line=00001,65649  name                      buffer=[n] ",
        L"  Line=00001,00061  NULL                      buffer=[=] ",
        L"  Line=00001,00061  NULL                      buffer=[=] ",
        L"  Line=00001,00061  NULL                      buffer=[=] (SMA Final)",
        L"  Line=00001,-0001  EOF                       buffer=[] ",
    };
    EXPECT_EQ(expected, out.lines()) << narrow(out.lines());
}

TEST(ParserTrace, FieldsAreCutPaddedAndEscaped) {
    const int LONG = 70001;
    hand::Rows rows = parser_rows();
    rows.names.push_back({LONG, L"a-very-long-symbol-name-of-thirty"});
    hand::Grammar g(rows);
    parsing::SimpleParsingTable t(g);
    hand::ScriptScanner in;
    std::wstring text = L"\r\n" + std::wstring(300, L'a');
    in.add(LONG, text);
    Parser p(in, t, nullptr);
    p.setDebug(1);
    WideCapture out;
    p.parse();
    std::vector<std::wstring> lines = out.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(L"  Line=00001,70001  a-very-long-symbol-name-o buffer=[\\r\\n" +
                  std::wstring(252, L'a') + L"] ",
              lines[0]);
}

TEST(Parser, PutErrorFormsAndWarnings) {
    hand::ScriptScanner in(L"");
    hand::Grammar g(parser_rows());
    parsing::SimpleParsingTable t(g);
    Parser p(in, t, nullptr);
    p.put_error(1, L"Long Line exceeds 255 columns.", parsing::warning);
    p.put_error(ParseError(0, L"fyi", parsing::info, false, true));
    EXPECT_FALSE(p.hasErrors());
    p.put_error(1, L"bad", parsing::Semantic);
    EXPECT_TRUE(p.hasErrors());
    std::wstring line;
    ASSERT_EQ(3u, p.getErrors().size());
    EXPECT_EQ(L"t.bas:1: warning: Long Line exceeds 255 columns.", p.getErrors()[0].format(line));
    EXPECT_EQ(L" info:fyi", p.getErrors()[1].format(line));
    EXPECT_EQ(L"t.bas:1: error: semantic:bad", p.getErrors()[2].format(line));
}
