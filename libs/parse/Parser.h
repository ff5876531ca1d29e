#ifndef PARSING_PARSER_H
#define PARSING_PARSER_H

#include <deque>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ParseAction.h"
#include "ParseError.h"
#include "ParsingTable.h"
#include "SimpleParsingTable.h"
#include "_I_Errno.h"
#include "_I_Scanner.h"
#include "p_entry.h"

namespace parsing {

class LexAn;

// A semantic action: called when the parser reduces a production whose row
// names it, before the right-hand side leaves the stack. stack is the parse
// stack (its top `childs` entries are the right-hand symbols, the last on
// top); parent is the new left-hand entry. The result is ignored.
// Productions keep it as untyped_action; the parser casts it back to this
// exact type before calling it.
typedef int (*semantic_action_fn)(int phase, std::deque<p_entry>& stack, p_entry& parent,
                                  int childs, void* context);

enum ParsePhase { _BottomUp = 1, _SemChecks = 2, _TopDown = 3, _BottomUp2 = 4 };

// The table-driven LR parser. It pulls tokens from its scanner, asks the
// scanner for alternative readings of a token without an action, recovers
// from syntax errors in panic mode with the grammar's error token and keeps
// every diagnostic of its input. It refers to its scanner, table and context
// without owning them; it owns the values on its stack.
class Parser final {
public:
    std::wstring word;     // the current token's text; the scanner's text buffer
    std::wstring fmt_word; // the current token's text as quoted in messages
    capi::interfaces::_I_Scanner& scanner;
    ParsingTable& ptable;
    bool _finished;
    bool _has_errors;
    bool _get_next; // false: the current token is looked at again
    ParseAction action;
    void* context;
    std::wstring std_msg;         // for a standard exception without text
    std::wstring exe_msg;         // for any other exception of a semantic action
    std::deque<p_entry> consumed; // the parse stack; the back is the top
    std::deque<ParseError> errors;
    int token;
    p_entry* Father; // the entry being built; valid while its action runs
    int debug;       // trace level: 1 or 2, anything else no trace
    bool switch_equivalent;
    bool clearOnPop;
    bool shorter_match; // allow shorter matches for every token

    Parser(capi::interfaces::_I_Scanner& scanner, ParsingTable& table, void* context);
    virtual ~Parser();

    virtual void CharsCase();
    virtual void onParse();
    virtual void shift(int token, int next_state, std::wstring* text);
    virtual int reduce(ParseAction& pa);
    virtual int getState() { return consumed.empty() ? 0 : consumed.back().state; }
    virtual void execute(semantic_action_fn fn, int phase);
    virtual void call(semantic_action_fn fn, int phase);
    virtual int error(int state, int token);
    virtual int error_production(int symbol);
    virtual ParseAction& getAction(int state, int token, ParseAction& out);

    bool parse();
    void read();
    bool recover();
    void reset();
    void clear();
    void clear_queue();
    bool pop() {
        if (consumed.empty())
            return false;
        if (clearOnPop)
            release_values(consumed.back());
        consumed.pop_back();
        return true;
    }
    bool pop(p_entry& out);
    void finish() { _finished = true; }
    bool finished() const { return _finished; }
    bool hasErrors() const { return _has_errors; }
    bool successful() const { return _finished && !_has_errors; }

    // Keeps a copy of e; any type but warning and info makes the parse fail.
    void put_error(const ParseError& e);
    // The same, taking e's text instead of copying it.
    void put_error(ParseError&& e);
    // A diagnostic stamped with the scanner's source and line.
    void put_error(int code, const wchar_t* text, int type);
    void put_error(const capi::interfaces::_I_Errno& e);
    void put_error(const std::exception& e);
    // The kept diagnostics, each with its text in txt again: those that
    // share their text with others get a copy of it first.
    std::deque<ParseError>& getErrors();
    // The number of kept diagnostics, and a full copy of one (its text in
    // txt): a driver that prints diagnostics one at a time through these
    // never holds more than one copy of a text.
    std::size_t errorCount() const { return errors.size(); }
    ParseError errorAt(std::size_t i) const;
    void setDebug(int level) { debug = level; }
    bool onSwitchEquivalent(int, int) { return true; }

    // The form of a token text in messages: quoted literals lose their
    // quotes and are shown in single quotes, one character is quoted.
    void msg_word(const std::wstring& word, std::wstring& fmt_word);

private:
    // Trace field buffers; each fmt fills one and returns it.
    std::wstring wname;
    std::wstring wkey;
    std::wstring wstr;
    std::wstring wline;
    // Strings released by pop(), reused by shift() so that a shifted token
    // costs no allocation once the stack has been that deep.
    std::vector<std::wstring*> spare;

    const std::wstring& fmt(int width, const wchar_t* text);
    const std::wstring& fmt(int width, int value);
    const std::wstring& fmt(int value);
    const std::wstring& fmt(const std::wstring& text);
    static void fmt(std::wstring& buffer, int width, const wchar_t* text, std::size_t length);
    static void fmt(std::wstring& buffer, int width, int value);
    // A trace line for id; raw_word prints word without escapes or cut.
    void trace(int id, const wchar_t* ending, bool raw_word = false);
    // Hands a popped value to the spare strings (null is ignored).
    void release(std::wstring* value) {
        if (value)
            spare.push_back(value);
    }
    // Hands both values of an entry to the spare strings.
    void release_values(const p_entry& e) {
        release(e.synthesized);
        release(e.inherited);
    }
    // shift(), inline for the parse loop.
    void push_token(int token_, int next_state, std::wstring* text) {
        // A string released by an earlier pop keeps its storage: reusing it
        // makes the copy free of allocation once the stack has been this
        // deep. The text is moved: *text is the current token's, which the
        // next read replaces (a long text's storage changes places with the
        // spare's).
        std::wstring* value;
        if (spare.empty()) {
            value = new std::wstring(std::move(*text));
        } else {
            value = spare.back();
            spare.pop_back();
            *value = std::move(*text);
        }
        // The entry is made in place: a copy of an entry assembled field by
        // field on the machine stack would wait for those stores to land.
        p_entry& e = consumed.emplace_back();
        e.state = next_state;
        e.token = token_;
        e.synthesized = value;
        _get_next = true;
    }
    // Adds the sentence about a token without an action to m; true when it
    // quoted the word into fmt_word.
    bool unexpected(int token, std::wstring& m);
    int report(int code, std::wstring&& m);
    ParseAction& alternatives(int state, ParseAction& out);
    void read_token();
    bool seen_before();
    bool recover(bool drop_token);

    // ptable when it is a SimpleParsingTable, else null: the lookups of every
    // step are then plain calls that the compiler can inline.
    SimpleParsingTable* simple;
    ParseAction& table_action(int state, int token, ParseAction& out) {
        return simple ? simple->action(state, token, out) : ptable.action(state, token, out);
    }
    int table_goto(int state, int symbol) {
        return simple ? simple->GOTO(state, symbol) : ptable.GOTO(state, symbol);
    }
    ::reduction& table_reduction(int id, ::reduction& out) {
        return simple ? simple->reduction(id, out) : ptable.reduction(id, out);
    }
    // scanner when it is a lexical stage, else null: the token of every
    // step is then read by a direct call.
    LexAn* stage;

    // By reduction id, what reduce() needs of a production, read once from a
    // SimpleParsingTable, whose table never changes. Only a plain
    // production's record serves: the others, with a semantic action or a
    // diagnostic to give, are read from the table when they are reduced.
    struct production {
        bool plain;
        bool pass_through; // one child, standing for an auxiliary symbol
        // plain, not passed through and with children: what plain_steps
        // reduces when the stack is deep enough.
        bool replaces;
        int symbol;
        int children;
        int goto_cell; // the symbol's, for SimpleParsingTable::GOTO
    };
    std::vector<production> productions;
    unsigned production_count = 0; // productions.size(), at hand for every reduction
    // The state the entry made there reaches.
    [[gnu::always_inline]] int replace_children(int n, const p_entry& made, int goto_cell = -1);
    // Shifts and plain reductions, the steps of nearly every token, done
    // from the table's cells until a step needs more.
    void plain_steps();

    // The texts of the kept diagnostics, one copy of each: a file with many
    // syntax errors repeats a few long "Expected" texts many times over.
    // The key of a text is hashed from its length and some of its
    // characters, spread over it: a long text costs no more to file than a
    // short one, and the texts filed differ early or in length.
    struct text_hash {
        std::size_t operator()(std::wstring_view t) const {
            std::size_t h = t.size();
            const std::size_t step = t.size() / 32 + 1;
            for (std::size_t i = 0; i < t.size(); i += step)
                h = h * 1000003u ^ static_cast<std::size_t>(t[i]);
            return h;
        }
    };
    std::unordered_map<std::wstring_view, std::shared_ptr<const std::wstring>, text_hash> texts;
    void share_text(ParseError& kept);

    // The syntax diagnostics that error() has made, by what decides their
    // code and text: the state, the token, its text and the scanner's case
    // mode. A file with many syntax errors repeats a few of them: a repeated
    // one takes the kept text instead of building and filing it again.
    struct error_key {
        int state;
        int token;
        bool case_sensitive;
        std::wstring word;
        bool operator==(const error_key& o) const {
            return state == o.state && token == o.token && case_sensitive == o.case_sensitive &&
                   word == o.word;
        }
    };
    struct error_key_hash {
        std::size_t operator()(const error_key& k) const {
            return (static_cast<std::size_t>(k.state) * 1000003u ^
                    static_cast<std::size_t>(k.token)) *
                       1000003u ^
                   std::hash<std::wstring>()(k.word);
        }
    };
    struct made_error {
        int code;
        std::shared_ptr<const std::wstring> text; // null for an empty text
        bool quotes_word;                         // unexpected() set fmt_word from the word
    };
    std::unordered_map<error_key, made_error, error_key_hash> made_errors;

    // The ids tried for the current token by getAction; kept between calls
    // so that the search allocates nothing once it has run.
    std::vector<int> rejected;
    // The configurations (stack states, then the token) met at syntax errors
    // since the last token was read; a repeat means the parse is cycling.
    std::vector<std::vector<int>> cycle_guard;

    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;
};

} // namespace parsing

#endif
