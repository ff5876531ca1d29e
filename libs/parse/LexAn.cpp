#include "LexAn.h"

#include <cstdio>
#include <iostream>

#include "ParseError.h"
#include "SimpleParsingTable.h"
#include "symbol_text.h"

namespace parsing {

LexAn::LexAn(capi::interfaces::_I_Scanner& upstream, ParsingTable& table, void* context_)
    : input_case(0), sma(false), sma_state(0), sma_shorted(false), sma_id(0), debug(false),
      scanner(upstream), ptable(&table), buffer(&wstr), pbuffer(nullptr), state(0), do_read(true),
      proceed(true), token(0), action(), _hasErrors(false), context(context_),
      std_msg(L"Lexical Analysis Error"), conflict_state(-1), conflict_token(-1), reduced_state(-1),
      reduced_token(-1), returned_id(-1), copy_unmatched(true), simple(nullptr),
      upstream_stage(dynamic_cast<LexAn*>(&upstream)),
      run_source(dynamic_cast<RunScanner*>(&upstream)), endmark(-1), anymark(-12),
      backtrackmark(-34) {
    switch_ptable(table);
    reset();
    CharsCase();
}

LexAn::~LexAn() {
    consumed.release();
    reversed.release();
    _hasErrors = false;
}

void LexAn::restart() {
    reversed.clear();
    reset();
    buffer->clear();
    state = 0;
    do_read = true;
    proceed = true;
    token = 0;
    _hasErrors = false;
    conflict_state = -1;
    conflict_token = -1;
    reduced_state = -1;
    reduced_token = -1;
    returned_id = -1;
    sma_state = 0;
    sma_shorted = false;
    sma_id = 0;
    equivalents.clear();
    equivalents_listed = false;
}

void LexAn::switch_ptable(ParsingTable& table) {
    ptable = &table;
    alternatives_of.clear();
    equivalents_listed = false;
    simple = dynamic_cast<SimpleParsingTable*>(&table);
    // What a reduction needs of each production, read once: the table never
    // changes.
    productions.clear();
    if (simple)
        productions = simple->per_reduction<production>([this](const ::reduction& rd) {
            return production{rd.semanticAction, rd.state,
                              !rd.semanticAction && simple->ignore(rd.state)};
        });
    production_count = static_cast<unsigned>(productions.size());
    marks = simple ? simple->view_marks() : SimpleParsingTable::marks_view();
    ends_dropped.assign(marks.states, false);
    for (unsigned s = 0; s < marks.states; ++s) {
        ParseAction end{};
        marks.mark_lookup(static_cast<int>(s), false, end);
        const unsigned id = static_cast<unsigned>(end.value.ReduceId);
        ends_dropped[s] = end.Do == _REDUCE && id < production_count && productions[id].ignorable;
    }
    endmark = table.EndMark();
    anymark = table.AnyMark();
    backtrackmark = table.BacktrackMark();
}

bool LexAn::available() {
    return !eof();
}

std::wstring& LexAn::source() {
    return scanner.source();
}

int LexAn::line() {
    return scanner.line();
}

void LexAn::reset() {
    consumed.start();
}

void LexAn::CharsCase() {
    if (ptable->LowerCase())
        input_case = Input_ToLower;
    else if (ptable->UpperCase())
        input_case = Input_ToUpper;
    else
        input_case = Input_Sensitive;
}

// Ids from 65536 up are grammar symbols and 0x80..0xFF may be keyword codes
// of an earlier stage, so folding is ASCII only and limited to 1..0xFFFE.
int LexAn::Case(int id) {
    if (input_case == Input_Sensitive || id < 1 || id > 0xFFFE)
        return id;
    if (input_case == Input_ToUpper)
        return id >= 'a' && id <= 'z' ? id - 'a' + 'A' : id;
    return id >= 'A' && id <= 'Z' ? id - 'A' + 'a' : id;
}

void LexAn::take_pushed_back() {
    stack_entry& top = reversed.back();
    token = top.token;
    *buffer = std::move(top.value);
    reversed.pop();
}

void LexAn::read() {
    take_symbol();
}

ParseAction& LexAn::getAction(int in_state, int in_token, ParseAction& out) {
    int s = getState();
    table_action(s, in_token, out);
    // An ignorable symbol inside a lexeme cannot be dropped without losing
    // the text read so far: it ends the lexeme like any symbol without a row.
    if (out.Do == _IGNORE && s != 0)
        out.Do = _ERROR;
    if (out.Do == _ERROR) {
        if (in_token == endmark) {
            if (s == 0) {
                // Nothing consumed at the end of input: reducing id -1 finds
                // no production and delivers the end mark.
                out.Do = _REDUCE;
                out.value.ReduceId = endmark;
            }
        } else {
            table_action(s, anymark, out);
            if (out.Do == _ERROR)
                table_action(s, endmark, out);
        }
    }
    if (out.Do == _ERROR) {
        out.onState = in_state;
        out.onToken = in_token;
    }
    return out;
}

void LexAn::shift(int token_, int next_state, std::wstring* text) {
    // The text joins those of the entries below it: a token's text is
    // complete when its last symbol is shifted.
    consumed.push(next_state, token_, *text);
    do_read = true;
}

int LexAn::reduce_token(ParseAction& pa, bool keep) {
    reduced_state = pa.onState;
    reduced_token = pa.onToken;
    do_read = false;
    production p;
    if (static_cast<unsigned>(pa.value.ReduceId) < production_count) {
        p = productions[static_cast<unsigned>(pa.value.ReduceId)];
    } else {
        ::reduction rd;
        ptable->reduction(pa.value.ReduceId, rd);
        p = production{rd.semanticAction, rd.state, false};
        p.ignorable = !p.action && (simple ? simple->ignore(p.emits) : ptable->ignore(p.emits));
    }
    std::wstring& out = *pbuffer;
    if (keep) {
        copy_symbol_text(out, consumed.text());
    } else {
        // The joined texts become the token's; the stack takes the
        // caller's old string as its storage, as a move hands it over. One
        // character is cheaper copied.
        std::wstring& joined = consumed.text();
        if (joined.size() == 1)
            set_symbol_text(out, joined[0]);
        else
            out = std::move(joined);
        consumed.clear();
    }
    pa.Do = _REDUCE;
    pa.value.ReduceId = p.emits;
    if (p.action) {
        pa.value.ReduceId = reinterpret_cast<lexer_action_fn>(p.action)(pa, out, context);
        p.ignorable =
            simple ? simple->ignore(pa.value.ReduceId) : ptable->ignore(pa.value.ReduceId);
    }
    if (p.ignorable)
        pa.Do = _IGNORE;
    return pa.value.ReduceId;
}

int LexAn::reduce(ParseAction& pa) {
    return reduce_token(pa, sma);
}

int LexAn::sma_reduce(ParseAction& pa) {
    return reduce_token(pa, true);
}

int LexAn::error(int s, int t) {
    _hasErrors = true;
    int id = ptable->specific_error(s, t);
    if (id >= 0)
        return id;
    id = ptable->state_error(s);
    if (id >= 0)
        return id;
    return ptable->term_error(t);
}

// Gives back the failed symbol and then the consumed symbols, last first,
// until a state accepts through the end mark (failure) or the backtrack mark
// (backtrack); the symbol after the accepted prefix becomes current again.
// At state 0 the first symbol of the attempt is passed on by itself, or
// reported when copy_unmatched is off.
bool LexAn::give_back(ParseAction& pa, int in_state, int in_token, bool backtracking) {
    const int mark = backtracking ? backtrackmark : endmark;
    // Most tokens end here: the state reached accepts through the mark, and
    // the current symbol stays current as it is.
    if (in_token == token && getState() != 0 && marks.mark_lookup(getState(), backtracking, pa) &&
        pa.Do == _REDUCE)
        return false;
    // The current text is moved out: the walk ends by replacing it.
    reversed.push(in_state, in_token).value = std::move(*buffer);
    for (;;) {
        if (getState() == 0) {
            if (backtracking)
                do_read = true;
            else
                reduced_state = -1;
            if (copy_unmatched) {
                pa.Do = _ACCEPT;
                pa.value.ReduceId = reversed.back().token;
                if (!backtracking)
                    reduced_token = reversed.back().token;
                return false;
            }
            pa.Do = _ERROR;
            pa.value.ErrorId = error(in_state, in_token);
            if (!backtracking)
                reduced_token = -1;
            return true;
        }
        if (!marks.mark_lookup(getState(), backtracking, pa))
            table_action(getState(), mark, pa);
        if (pa.Do == _REDUCE) {
            take_pushed_back();
            return false;
        }
        consumed.move_top(reversed);
    }
}

// failure() from the step loop, done in one walk: the states of the
// automaton stack are looked at from the top down to one that accepts
// through the end mark (or to the start), and only then are the symbols
// above it given back, as failure() gives them back one by one. The first of
// them becomes the current symbol again, for a token that ends at that state
// (pa its reduction); at the start it is passed on at once into *word, with
// what next() does for failure()'s _ACCEPT (passed_on). False, with nothing
// changed, where a state has no cells or the start passes nothing on:
// failure() then serves.
bool LexAn::fall_back(ParseAction& pa, int in_state, std::wstring* word, bool& passed_on) {
    std::size_t k = consumed.size() - 1;
    ParseAction found{};
    for (;; --k) {
        const int state = consumed.state_at(k);
        if (state == 0) {
            if (!copy_unmatched || k + 1 == consumed.size())
                return false;
            break;
        }
        if (!marks.mark_lookup(state, false, found))
            return false;
        if (found.Do == _REDUCE)
            break;
    }
    // One symbol passed on, the commonest fall-back: the current symbol
    // stays current, unread, instead of going back and being read again.
    const bool keeps_current =
        consumed.state_at(k) == 0 && k + 2 == consumed.size() && proceed && token != endmark;
    if (!keeps_current) {
        // The current symbol, then the symbols above entry k + 1, go back;
        // the symbol of entry k + 1 is read again first.
        reversed.push(in_state, token).value = std::move(*buffer);
        consumed.give_back_above(k + 1, reversed);
    }
    const int first = consumed.back().token;
    passed_on = consumed.state_at(k) == 0;
    consumed.text_into(k + 1, passed_on ? *word : *buffer);
    consumed.keep_up_to(k);
    if (!keeps_current)
        token = first;
    if (!passed_on) {
        pa = found;
        return true;
    }
    reduced_state = -1;
    reduced_token = first;
    pa.Do = _ACCEPT;
    pa.value.ReduceId = first;
    do_read = !keeps_current;
    returned_id = first;
    return true;
}

// For pass_on_from_run, where the run's first character c (t once folded)
// begins a token, leading to first_state: true when next() would still pass
// a character of the run on at once, which is then c (t). That is so when c
// begins a token that the stage drops, ended by a character in the run that
// does not go on with it, and that character begins none: the dropped token
// is skipped, as next() drops it, and that character is then c (t); the
// token is skipped also when the character after it begins a token, and the
// answer is then false. It is so too when the characters after c lead
// through states that end no token to one that the next character cannot
// follow, so that next() falls back and passes c on alone (the characters
// after it, which next() would read again, stay in the run). False, with
// nothing done, otherwise. Only short tokens are followed: a long one is
// most likely one that is kept.
[[gnu::noinline]] bool LexAn::passes_from_run(int first_state, wchar_t& c, int& t) {
    const wchar_t* at = run_source->run_at + 1;
    const wchar_t* const end = run_source->run_end;
    if (at == end)
        return false;
    std::int32_t m;
    int s = first_state;
    const bool dropped = ends_dropped_at(first_state);
    ParseAction ending;
    for (int shifted = 1; at != end && shifted < 32; ++shifted) {
        // A fall-back passes c on alone only past states that end no token.
        if (!dropped && (!marks.mark_lookup(s, false, ending) || ending.Do == _REDUCE))
            return false;
        int u = static_cast<int>(*at);
        if (input_case != Input_Sensitive)
            u = Case(u);
        if (!marks.packed(s, u, m))
            return false;
        const int kind = m & 63;
        if (kind == _SHIFT) {
            s = m >> 8;
            ++at;
            continue;
        }
        // A character that the state cannot take: next() falls back.
        if (!dropped)
            return kind == _ERROR;
        // The end mark's reduction, as next() ends a token on a symbol that
        // does not go on.
        if (kind != _REDUCE || s == 0 || !marks.answers_end_mark(m))
            return false;
        const unsigned id = static_cast<unsigned>(m >> 8);
        if (id >= production_count || !productions[id].ignorable)
            return false;
        // Dropped, leaving what the token's end leaves.
        run_source->run_at = at;
        reduced_state = s;
        reduced_token = marks.end_id;
        if (!marks.packed(0, u, m) || (m & 63) != _ERROR)
            return false;
        c = *at;
        t = u;
        return true;
    }
    return false;
}

// For pass_on_through, where the symbol just taken from the upstream stage
// begins a token here, leading to first_state: true when the symbol after
// it, which the upstream would pass on at once from its run, makes no token
// of it, so that next() would fall back and pass it on alone. The symbol
// after it, which next() would keep as its current symbol, stays in the
// run. False, with nothing done, otherwise.
[[gnu::noinline]] bool LexAn::falls_back_alone(int first_state) {
    LexAn& up = *upstream_stage;
    const RunScanner* run = up.run_source;
    if (!run || run->run_at == run->run_end)
        return false;
    int t = static_cast<int>(*run->run_at);
    if (up.input_case != Input_Sensitive)
        t = up.Case(t);
    std::int32_t m;
    if (!up.marks.packed(0, t, m) || (m & 63) != _ERROR)
        return false;
    if (input_case != Input_Sensitive)
        t = Case(t);
    ParseAction end;
    return marks.packed(first_state, t, m) && (m & 63) == _ERROR &&
           marks.mark_lookup(first_state, false, end) && end.Do != _REDUCE;
}

bool LexAn::failure(ParseAction& pa, int in_state, int in_token) {
    return give_back(pa, in_state, in_token, false);
}

bool LexAn::backtrack(ParseAction& pa, int in_state, int in_token) {
    return give_back(pa, in_state, in_token, true);
}

int LexAn::next(std::wstring* word) {
    if (sma) {
        sma_state = 0;
        sma_id = 0;
        sma_shorted = false;
    }
    pbuffer = word;
    reset();
    // The state on top of the automaton stack, kept at hand: only a shift
    // changes it within the loop, and reset() makes it 0 again.
    int s = 0;
    // The current symbol has been taken already: the loop does not read.
    bool taken = false;
    if (do_read && reversed.empty() && read_upstream(word)) {
        // The first symbol of the call is read straight into the caller's
        // string: a symbol passed on, as most are, then stands there
        // already, and one shifted is copied from there.
        if (token != endmark) {
            if (input_case != Input_Sensitive)
                token = Case(token);
            std::int32_t m;
            bool shifted = false;
            if (marks.packed(0, token, m)) {
                const int kind = m & 63;
                if (kind == _ERROR && copy_unmatched)
                    return pass_on_in_place();
                if (kind == _SHIFT) {
                    s = m >> 8;
                    consumed.push(s, token, *word);
                    word->clear();
                    // do_read stays true: the next symbol is read.
                    shifted = true;
                }
            }
            if (!shifted) {
                // Looked at again by the loop, from buffer, as read()
                // leaves it.
                *buffer = std::move(*word);
                word->clear();
                taken = true;
            }
        } else {
            word->clear();
            take_end();
            taken = true;
        }
    } else {
        word->clear();
    }
    for (;;) {
        // The three lookups of getAction in one where the table's cells
        // answer; a shift, the most common step, and a pass-on are taken
        // from the packed answer at once.
        std::int32_t m;
        bool in_cells;
        if (!taken && do_read && reversed.empty() && run_source &&
            run_source->run_at != run_source->run_end) {
            // The upstream's run, read as take_symbol() reads it, shifted in
            // a loop of its own while its characters shift: only the texts
            // of the shifted characters are kept, as shift() keeps them.
            const wchar_t* at = run_source->run_at;
            const wchar_t* const end = run_source->run_end;
            wchar_t c;
            do {
                c = *at++;
                token = input_case != Input_Sensitive ? Case(static_cast<int>(c)) : c;
                in_cells = marks.packed(s, token, m);
                if (!in_cells || (m & 63) != _SHIFT)
                    break;
                s = m >> 8;
                consumed.push(s, token, c);
            } while (at != end);
            run_source->run_at = at;
            if (in_cells && (m & 63) == _SHIFT)
                continue; // the run is over; do_read stays true
            // The character that does not shift is the current symbol.
            set_symbol_text(*buffer, c);
        } else {
            if (!taken)
                take_symbol();
            in_cells = marks.packed(s, token, m);
        }
        taken = false;
        bool ends = false;
        if (in_cells) {
            const int kind = m & 63;
            if (kind == _SHIFT) {
                s = m >> 8;
                consumed.push(s, token, *buffer);
                do_read = true;
                continue;
            }
            if (kind == _ERROR && s == 0 && copy_unmatched)
                return pass_on(word);
            // The end mark's reduction, which a state that accepts gives a
            // symbol that does not go on: the token ends here, with the
            // very answer that the default case below looks up.
            ends = kind == _REDUCE && s != 0 && marks.answers_end_mark(m);
            if (ends) {
                action.Do = _REDUCE;
                action.value.ReduceId = m >> 8;
                action.onToken = marks.end_id;
                action.onState = s;
            } else {
                marks.unpack(m, s, token, action);
            }
        } else {
            getAction(s, token, action);
        }
        if (!ends) {
            switch (action.Do) {
            case _SHIFT:
                shift(token, action.value.NextState, buffer);
                s = action.value.NextState;
                continue;
            case _IGNORE:
                // An ignorable symbol at the start of a token: consumed and dropped.
                do_read = true;
                continue;
            case _BACKTRACK:
                backtrack(action, s, token);
                break;
            default:
                // _ERROR, and any kind a lexical grammar should not hold: handled
                // as a symbol without a row, so that the input always advances.
                if (s == 0 && copy_unmatched)
                    return pass_on(word);
                // Most tokens end here, as failure() would begin: the state
                // reached accepts through the end mark, and the current symbol
                // stays current.
                if (s != 0 && marks.mark_lookup(s, false, action) && action.Do == _REDUCE)
                    break;
                bool passed_on;
                if (fall_back(action, s, word, passed_on)) {
                    if (passed_on)
                        return returned_id;
                    break;
                }
                failure(action, s, token);
                break;
            }
        }
        switch (action.Do) {
        case _ACCEPT:
            token = reversed.back().token;
            *word = std::move(reversed.back().value);
            reversed.pop();
            do_read = true;
            returned_id = token;
            return token;
        case _REDUCE:
            end_token(action);
            if (action.Do == _REDUCE) {
                returned_id = action.value.ReduceId;
                return returned_id;
            }
            // The token was ignorable: dropped, and *word takes the next one.
            reset();
            s = 0;
            continue;
        default: {
            const wchar_t* msg = ptable->msg_error(action.value.ErrorId);
            throw ParseError(action.value.ErrorId, msg ? msg : std_msg.c_str(), Syntax, false,
                             true);
        }
        }
    }
}

int LexAn::equivalent(int order) {
    if (order == 0)
        return token;
    if (order < 0)
        return -1;
    if (order == 1) {
        const std::uint64_t key =
            static_cast<std::uint64_t>(static_cast<std::uint32_t>(reduced_state)) << 32 |
            static_cast<std::uint32_t>(reduced_token);
        conflict_state = reduced_state;
        conflict_token = reduced_token;
        // The list of the last call still stands for the same pair, read the
        // same way.
        if (!equivalents_listed || key != equivalents_key || sma_shorted != equivalents_shorted)
            list_equivalents(key);
    }
    return static_cast<std::size_t>(order) <= equivalents.size() ? equivalents[order - 1] : -1;
}

// Lists into equivalents the alternatives of the pair of key, as
// equivalent() gives them: the table never changes, so the alternatives of a
// pair are listed from its conflict rows once, each with whether the grammar
// lists it as a shorter-match id, and those are left out after a shorter
// match.
void LexAn::list_equivalents(std::uint64_t key) {
    auto found = alternatives_of.find(key);
    if (found == alternatives_of.end()) {
        std::vector<alternative> listed;
        ParseAction alt{};
        ::reduction rd;
        for (int k = 1;; ++k) {
            ptable->getConflict(reduced_state, reduced_token, k, alt);
            if (alt.Do == _ERROR)
                break;
            if (alt.Do != _REDUCE && alt.Do != _FINISH)
                continue;
            // A finish row's value -1 is no production: it lists the end mark.
            int id = ptable->reduction(alt.value.ReduceId, rd).state;
            listed.push_back(alternative{id, ptable->sma(id)});
        }
        found = alternatives_of.emplace(key, std::move(listed)).first;
    }
    equivalents.clear();
    for (const alternative& a : found->second)
        if (!(sma_shorted && a.sma))
            equivalents.push_back(a.id);
    equivalents_listed = true;
    equivalents_key = key;
    equivalents_shorted = sma_shorted;
}

int LexAn::shorter_match() {
    return shorter_match(returned_id);
}

int LexAn::shorter_match(int rejected_id) {
    if (!do_read) {
        // The symbol that ended the token goes back to the input first, so
        // that it is read after whatever the walk below gives back.
        reversed.push(0, token).value = *buffer;
        do_read = true;
    }
    if (!sma)
        return -1;
    ParseAction pa{};
    ::reduction rd;
    while (consumed.size() > 1) {
        const consumed_stack::entry e = consumed.back();
        if (e.state != reduced_state) {
            getAction(e.state, endmark, pa);
            if (pa.Do == _REDUCE) {
                int id = ptable->reduction(pa.value.ReduceId, rd).state;
                if (id != rejected_id && id != returned_id && !ptable->sma(id)) {
                    sma_reduce(pa);
                    if (pa.Do == _REDUCE) {
                        do_read = true;
                        sma_shorted = true;
                        return pa.value.ReduceId;
                    }
                }
            }
        }
        if (consumed.size() == 2 && !(e.state == reduced_state && reduced_token == endmark) &&
            !ptable->sma(e.token)) {
            // The first symbol by itself is the shortest reading.
            *pbuffer = consumed.text();
            sma_shorted = true;
            reduced_state = e.state;
            reduced_token = endmark;
            return e.token;
        }
        consumed.move_top(reversed);
        sma_shorted = true;
    }
    return -1;
}

int LexAn::sma_savepoint() {
    return static_cast<int>(consumed.size());
}

int LexAn::sma_rollback(int savepoint) {
    const std::size_t target = static_cast<unsigned>(savepoint);
    bool moved = false;
    while (consumed.size() < target && !reversed.empty()) {
        consumed.take_top(reversed);
        moved = true;
    }
    if (!moved)
        return returned_id;
    if (consumed.size() == target) {
        getAction(getState(), endmark, action);
        if (action.Do == _REDUCE) {
            sma_reduce(action);
            if (action.Do == _REDUCE) {
                do_read = true;
                return action.value.ReduceId;
            }
        }
    }
    std::fputs("Internal Error While Restoring the Stack on SMA.\n", stderr);
    _hasErrors = true;
    return endmark;
}

void LexAn::debug_stack() {
    for (std::size_t i = 0; i < consumed.size(); ++i) {
        const consumed_stack::entry& e = consumed.begin()[i];
        const std::wstring text = consumed.text_of(i);
        std::wcout << L"(" << e.state << L", " << e.token << L", ";
        if (text.empty())
            std::wcout << L"NULL";
        else
            std::wcout << text;
        std::wcout << L")" << std::endl;
    }
}

} // namespace parsing
