#ifndef PARSING_LEXAN_H
#define PARSING_LEXAN_H

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "ParseAction.h"
#include "ParsingTable.h"
#include "RunScanner.h"
#include "SimpleParsingTable.h"
#include "_I_Scanner.h"
#include "symbol_text.h"

namespace parsing {

// A lexer action: called when the stage reduces a production whose row names
// it, with the reduce action (value = the id the production emits), the token
// text (which it may change) and the stage's context. It returns the id to
// deliver. Productions keep it as untyped_action; the stage casts it back to
// this exact type before calling it.
typedef int (*lexer_action_fn)(ParseAction& action, std::wstring& text, void* context);

// One symbol on the stage's automaton stack or push-back stack: the state
// reached after it, its id and its text. The start entry is {0, 0, empty}.
struct stack_entry {
    int state;
    int token;
    std::wstring value;
};

// One table-driven lexical stage: runs the automaton of a lexical grammar over
// the symbols of its upstream scanner and delivers the longest accepted prefix
// as one token. What begins no token is passed on unchanged. The stage keeps
// enough of the last token to offer the parser alternative ids and shorter
// matches. It refers to its upstream, table and context without owning them;
// they must outlive the stage.
class LexAn final : public capi::interfaces::_I_Scanner {
public:
    // 0: ids read are taken as they are; 1: folded to upper case; 2: to
    // lower case (the_input_case). Only ids 1..0xFFFE are ever folded.
    int input_case;

    LexAn(capi::interfaces::_I_Scanner& upstream, ParsingTable& table, void* context);
    ~LexAn() override;

    // The next token's id, its text in *word. The stage keeps word: shorter
    // matches and rollbacks write into the same string, which must stay valid
    // until the next call.
    int next(std::wstring* word) override;
    bool eof() override { return !proceed && reversed.empty(); }
    bool available() override;
    std::wstring& source() override;
    int line() override;
    int equivalent(int order) override;
    int shorter_match() override;
    int shorter_match(int returned_id) override;
    int sma_rollback(int savepoint) override;
    int sma_savepoint() override;
    // The stage folds by input_case only: these leave _upper and _lower clear.
    void setUpper() override {}
    void setLower() override {}
    void setCaseSensitive() override {}
    using capi::interfaces::_I_Scanner::Case;

    virtual void reset();
    virtual void shift(int token, int next_state, std::wstring* text);
    virtual int reduce(ParseAction& pa);
    virtual int sma_reduce(ParseAction& pa);
    virtual int getState() {
        if (consumed.empty())
            reset();
        return consumed.back().state;
    }
    virtual bool failure(ParseAction& pa, int in_state, int in_token);
    virtual bool backtrack(ParseAction& pa, int in_state, int in_token);
    virtual int error(int state, int token);
    virtual void CharsCase();
    virtual int Case(int id);
    virtual void read();

    // Starts over on an upstream that begins a new input: both stacks empty,
    // nothing pending, the end not yet seen and no token delivered, as a
    // stage just built on it. The owner's settings (input_case, sma, debug,
    // copy_unmatched) and the table stay.
    void restart();

    void setCopyUnMatched(bool on) { copy_unmatched = on; }
    bool getCopyUnMatched() const { return copy_unmatched; }
    void switch_ptable(ParsingTable& table);
    // Writes the automaton stack, bottom to top, to the wide standard output.
    void debug_stack();

    // Shorter-match mode: the entries of the delivered token stay on the
    // automaton stack until the next call, so that shorter matches can be made.
    bool sma;
    int sma_state;
    bool sma_shorted; // a shorter match was made since the last next()
    int sma_id;
    bool debug;

private:
    capi::interfaces::_I_Scanner& scanner;
    ParsingTable* ptable;
    std::wstring* buffer;  // where the upstream writes the current symbol's text
    std::wstring* pbuffer; // the caller's text string of the current next()
    std::wstring wstr;     // the storage behind buffer
    int state;
    bool do_read; // false: the current symbol is still unconsumed
    bool proceed; // false once the upstream has reported its end
    int token;    // the current input symbol; its text is in *buffer
    ParseAction action;
    bool _hasErrors;
    // A stack whose slots outlive their entries: a popped entry's text keeps
    // its storage for the next entry pushed there, so that steady scanning
    // allocates nothing. Texts move between stacks by move assignment, which
    // copies a short text and hands a long one's storage over.
    class entry_stack {
    public:
        bool empty() const { return n == 0; }
        std::size_t size() const { return n; }
        stack_entry& back() { return slots[n - 1]; }
        // A new top entry with an empty text.
        stack_entry& push(int state, int token) {
            if (n == slots.size())
                slots.emplace_back();
            stack_entry& e = slots[n++];
            e.state = state;
            e.token = token;
            e.value.clear();
            return e;
        }
        void pop() { --n; }
        void clear() { n = 0; }
        void release() {
            slots.clear();
            n = 0;
        }

    private:
        std::vector<stack_entry> slots;
        std::size_t n = 0;
    };

    // The automaton stack. The texts of its entries, which a token joins,
    // are kept joined already: one string holds them bottom to top, and an
    // entry records where its text ends in it. A shift appends a symbol's
    // text and a reduction takes the whole string, so a token's text is
    // built once, as its symbols arrive, without a string per symbol.
    class consumed_stack {
    public:
        struct entry {
            int state;
            int token;
            std::size_t end; // the end of the entry's text in text()
        };
        bool empty() const { return n == 0; }
        std::size_t size() const { return n; }
        const entry& back() const { return slots[n - 1]; }
        const entry* begin() const { return slots.data(); }
        const entry* end() const { return slots.data() + n; }
        // The texts of the entries, joined.
        std::wstring& text() { return joined; }
        // The text of entry i.
        std::wstring text_of(std::size_t i) const {
            const std::size_t from = i == 0 ? 0 : slots[i - 1].end;
            return joined.substr(from, slots[i].end - from);
        }
        // Only the start entry. Its text is empty, so with it alone the
        // joined texts are too.
        void start() {
            if (n == 1)
                return;
            joined.clear();
            if (room == 0)
                grow();
            slots[0] = entry{0, 0, 0};
            n = 1;
        }
        void push(int state, int token, const std::wstring& t) {
            if (t.size() == 1)
                joined.push_back(t[0]);
            else
                joined += t;
            push_entry(state, token);
        }
        // The same for a symbol whose text is the one character c.
        void push(int state, int token, wchar_t c) {
            joined.push_back(c);
            push_entry(state, token);
        }
        // Entries and text gone; the slots stay.
        void clear() {
            n = 0;
            joined.clear();
        }
        void release() {
            std::vector<entry>().swap(slots);
            std::wstring().swap(joined);
            n = 0;
            room = 0;
        }
        // Moves the top entry, with its text, onto the top of `to`.
        void move_top(entry_stack& to) {
            const entry& e = back();
            const std::size_t from = n > 1 ? slots[n - 2].end : 0;
            std::wstring& value = to.push(e.state, e.token).value;
            if (e.end - from == 1)
                set_symbol_text(value, joined[from]);
            else
                value.assign(joined, from, e.end - from);
            joined.erase(from);
            --n;
        }
        // The state of entry i.
        int state_at(std::size_t i) const { return slots[i].state; }
        // Puts the text of entry i (above the start entry) into to.
        void text_into(std::size_t i, std::wstring& to) const {
            const std::size_t from = slots[i - 1].end;
            if (slots[i].end - from == 1)
                set_symbol_text(to, joined[from]);
            else
                to.assign(joined, from, slots[i].end - from);
        }
        // Keeps entries 0 .. i, with their texts.
        void keep_up_to(std::size_t i) {
            n = i + 1;
            joined.erase(slots[i].end);
        }
        // Moves the entries above entry i onto `to`, the top one first, and
        // keeps entries 0 .. i.
        void give_back_above(std::size_t i, entry_stack& to) {
            for (std::size_t k = n - 1; k > i; --k)
                text_into(k, to.push(slots[k].state, slots[k].token).value);
            keep_up_to(i);
        }
        // Moves the top entry of `from`, with its text, onto this stack.
        void take_top(entry_stack& from) {
            stack_entry& e = from.back();
            push(e.state, e.token, e.value);
            from.pop();
        }

    private:
        std::vector<entry> slots;
        std::size_t n = 0;
        std::size_t room = 0; // slots.size(), at hand for every push
        std::wstring joined;

        void grow() {
            slots.emplace_back();
            room = slots.size();
        }
        void push_entry(int state, int token) {
            if (n == room)
                grow();
            slots[n++] = entry{state, token, joined.size()};
        }
    };

    entry_stack reversed;    // push-back stack; the top is read first
    consumed_stack consumed; // automaton stack; the start entry at the bottom
    void* context;
    std::wstring std_msg;
    int conflict_state;
    int conflict_token;
    int reduced_state; // state and lookup symbol of the last reduction or pass-on
    int reduced_token;
    int returned_id;
    bool copy_unmatched;
    std::vector<int> equivalents;
    // equivalents holds the list for the pair of key (as equivalent() makes
    // it) read with sma_shorted as it stood then.
    bool equivalents_listed = false;
    std::uint64_t equivalents_key = 0;
    bool equivalents_shorted = false;
    // The alternatives of each (state, lookup symbol) pair asked for so far,
    // as equivalent() lists them before it leaves out the shorter-match ids.
    struct alternative {
        int id;
        bool sma; // listed in the grammar's sma table
    };
    std::unordered_map<std::uint64_t, std::vector<alternative>> alternatives_of;
    // By reduction id, what reduce() needs of the production: the id it
    // emits, its lexer action, and whether the id is ignorable (worked out
    // here only for a production without an action, whose id is final).
    // Empty when the table is not a SimpleParsingTable.
    struct production {
        untyped_action action;
        int emits;
        bool ignorable;
    };
    std::vector<production> productions;
    unsigned production_count = 0; // productions.size(), at hand for every token
    // By state, whether the state ends a token that the stage drops (its
    // end-mark answer reduces an ignorable production without an action):
    // where the first symbol of a run leads, for passes_from_run to follow
    // the token to its end. Empty when the table has no cells.
    std::vector<bool> ends_dropped;

    // Direct views of the hot collaborators, so that a lookup per character
    // is a plain call: the table when it is a SimpleParsingTable, the
    // upstream when it is another stage, or one that shows its next
    // characters. Null otherwise.
    SimpleParsingTable* simple;
    LexAn* upstream_stage;
    RunScanner* run_source;
    // The table's cells of a step's lookup (empty when the table is not a
    // SimpleParsingTable), read without passing through the table object.
    SimpleParsingTable::marks_view marks;
    // The marks of the table, read once: tables never change after filling.
    int endmark;
    int anymark;
    int backtrackmark;

    ParseAction& getAction(int state, int token, ParseAction& out);
    ParseAction& table_action(int state, int token, ParseAction& out) {
        return simple ? simple->action(state, token, out) : ptable->action(state, token, out);
    }
    void take_pushed_back();
    // A symbol that begins no token: passed on as failure() would, without
    // the round trip through the push-back stack.
    int pass_on(std::wstring* word) {
        // Most symbols are one character: copied, that costs less than
        // handing a string over.
        if (buffer->size() == 1)
            set_symbol_text(*word, (*buffer)[0]);
        else
            *word = std::move(*buffer);
        return pass_on_in_place();
    }
    // The same for a symbol whose text is in the caller's string already.
    // (The step's action, which failure() would leave as the accept of the
    // symbol, is not kept: every step writes it before reading it.)
    int pass_on_in_place() {
        reduced_state = -1;
        reduced_token = token;
        do_read = true;
        returned_id = token;
        return token;
    }
    // The next character of the upstream's run into token and *text, or
    // false when the run is empty.
    bool take_from_run(std::wstring* text) {
        if (!run_source || run_source->run_at == run_source->run_end)
            return false;
        const wchar_t c = *run_source->run_at++;
        token = static_cast<int>(c);
        set_symbol_text(*text, c);
        return true;
    }
    // What next() delivers when nothing is pending and it would pass on a
    // character of the upstream's run at once (one that begins no token, or
    // one after a dropped token, or one that begins a token only with a
    // character that does not follow), done without the call: the
    // character, passed on, into *text and its id into id. False, with
    // nothing done, in any other case, which next() then serves.
    //
    // Nothing is pending when the next symbol is to be read and none was
    // given back. The automaton stack need not be looked at: a stage that
    // does not keep its tokens' symbols (sma off) holds at most its start
    // entry between calls, and none only after a token ended, when the
    // symbol after it is still to be taken (do_read false).
    bool pass_on_from_run(int& id, std::wstring* text) {
        if (!run_source || sma || !copy_unmatched || !do_read || !reversed.empty() ||
            run_source->run_at == run_source->run_end)
            return false;
        wchar_t c = *run_source->run_at;
        int t = static_cast<int>(c);
        if (input_case != Input_Sensitive)
            t = Case(t);
        std::int32_t m;
        const bool in_cells = marks.packed(0, t, m);
        if ((!in_cells || (m & 63) != _ERROR) &&
            (!in_cells || (m & 63) != _SHIFT || !passes_from_run(m >> 8, c, t)))
            return false;
        ++run_source->run_at;
        set_symbol_text(*text, c);
        pbuffer = text;
        token = t;
        id = pass_on_in_place();
        return true;
    }
    bool passes_from_run(int first_state, wchar_t& c, int& t);
    bool falls_back_alone(int first_state);
    bool ends_dropped_at(int state) const {
        return static_cast<unsigned>(state) < ends_dropped.size() &&
               ends_dropped[static_cast<unsigned>(state)];
    }
    // What next() delivers when nothing is pending and the upstream stage
    // passes its next symbol on from its own upstream's run: that symbol is
    // taken from there without a call to either stage. Passed on here too
    // (at once, or alone after a fall-back that falls_back_alone foresees),
    // it goes into *text and its id into id, and the answer is true. Shifted
    // or ending a token here, it becomes this stage's current symbol, read
    // already, and next() goes on from it; the answer is then false, as in
    // every other case, where nothing is done.
    bool pass_on_through(int& id, std::wstring* text) {
        // Nothing pending: as pass_on_from_run tests it.
        if (!upstream_stage || sma || !copy_unmatched || !do_read || !reversed.empty())
            return false;
        int t;
        if (!upstream_stage->pass_on_from_run(t, text))
            return false;
        if (input_case != Input_Sensitive)
            t = Case(t);
        token = t;
        std::int32_t m;
        if (marks.packed(0, t, m) &&
            ((m & 63) == _ERROR || ((m & 63) == _SHIFT && falls_back_alone(m >> 8)))) {
            pbuffer = text;
            id = pass_on_in_place();
            return true;
        }
        set_symbol_text(*buffer, (*text)[0]);
        do_read = false;
        return false;
    }
    // The next symbol of the upstream into token and *text; false, with
    // nothing read, when the upstream is at its end. Kept inline in the
    // step loop by force: the compiler would otherwise make a call of it,
    // which costs more than the calls to the upstream that it saves.
    [[gnu::always_inline]] bool read_upstream(std::wstring* text) {
        if (take_from_run(text))
            return true;
        if (upstream_stage) {
            if (upstream_stage->pass_on_from_run(token, text) ||
                upstream_stage->pass_on_through(token, text))
                return true;
            if (upstream_stage->eof())
                return false;
            token = upstream_stage->next(text);
            return true;
        }
        if (scanner.eof())
            return false;
        token = scanner.next(text);
        return true;
    }
    // read(), inline for the step loop.
    void take_symbol() {
        if (!do_read)
            return;
        if (!reversed.empty()) {
            // Folded when it was first read.
            take_pushed_back();
            return;
        }
        if (read_upstream(buffer)) {
            if (token != endmark) {
                if (input_case != Input_Sensitive)
                    token = Case(token);
                return;
            }
            // An upstream stage delivers the end mark once before its eof
            // turns true: taken as the end here too, so that this stage's
            // eof follows.
        }
        take_end();
    }
    // The upstream's end as the current symbol, as read() takes it.
    void take_end() {
        buffer->clear();
        token = endmark;
        proceed = false;
        do_read = false;
    }
    int reduce_token(ParseAction& pa, bool keep);
    void list_equivalents(std::uint64_t key);
    bool fall_back(ParseAction& pa, int in_state, std::wstring* word, bool& passed_on);
    // reduce(), inline for the step loop where the production has no lexer
    // action. An ignorable token is dropped by the loop, which then reads
    // on and gives the caller's string the text of a later token: its own
    // text is not written there.
    void end_token(ParseAction& pa) {
        const unsigned id = static_cast<unsigned>(pa.value.ReduceId);
        if (id >= production_count || productions[id].action) {
            reduce(pa);
            return;
        }
        const production& p = productions[id];
        reduced_state = pa.onState;
        reduced_token = pa.onToken;
        do_read = false;
        pa.value.ReduceId = p.emits;
        if (p.ignorable) {
            pa.Do = _IGNORE;
            if (!sma)
                consumed.clear();
            return;
        }
        pa.Do = _REDUCE;
        std::wstring& joined = consumed.text();
        if (joined.size() == 1) {
            set_symbol_text(*pbuffer, joined[0]);
        } else if (sma) {
            *pbuffer = joined;
        } else {
            // The joined texts become the token's; the stack takes the
            // caller's old string as its storage, as a move hands it over.
            *pbuffer = std::move(joined);
        }
        if (!sma)
            consumed.clear();
    }
    bool give_back(ParseAction& pa, int in_state, int in_token, bool backtracking);

    LexAn(const LexAn&) = delete;
    LexAn& operator=(const LexAn&) = delete;
};

} // namespace parsing

#endif
