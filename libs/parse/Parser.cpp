#include "Parser.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <iterator>

#include "LexAn.h"
#include "grammar_case.h"
#include "signed_widening.h"

namespace parsing {

namespace {

// Fills the first "'%s'" of a message, or failing that its first "\"%s\"",
// with text: the two characters between the quotes are replaced and the
// quotes stay. A message without either marker is used unchanged.
std::wstring fill_marker(const wchar_t* msg, const std::wstring& text) {
    std::wstring out = msg ? msg : L"";
    std::size_t at = out.find(L"'%s'");
    if (at == std::wstring::npos)
        at = out.find(L"\"%s\"");
    if (at != std::wstring::npos)
        out.replace(at + 1, 2, text);
    return out;
}

} // namespace

Parser::Parser(capi::interfaces::_I_Scanner& scanner_, ParsingTable& table, void* context_)
    : scanner(scanner_), ptable(table), _finished(false), _has_errors(false), _get_next(true),
      action(), context(context_), std_msg(L"Parser Error"),
      exe_msg(L"Exception on Semantic Action"), token(0), Father(nullptr), debug(0),
      switch_equivalent(true), clearOnPop(true), shorter_match(false),
      simple(dynamic_cast<SimpleParsingTable*>(&table)), stage(dynamic_cast<LexAn*>(&scanner_)) {
    CharsCase();
    if (simple)
        productions = simple->per_reduction<production>([this](const ::reduction& rd) {
            production p{!rd.semanticAction && !rd.ErrorProduction(),
                         rd.NumberOfParameters == 1 && !rd.isOriginal(),
                         false,
                         rd.state,
                         rd.NumberOfParameters,
                         simple->goto_cell(rd.state)};
            p.replaces = p.plain && !p.pass_through && p.children >= 1;
            return p;
        });
    production_count = static_cast<unsigned>(productions.size());
}

Parser::~Parser() {
    clear();
    for (std::wstring* s : spare)
        delete s;
}

void Parser::CharsCase() {
    fold_as_grammar(ptable, scanner);
}

void Parser::onParse() {
    reset();
}

void Parser::reset() {
    clear();
    consumed.push_back(p_entry());
    _finished = false;
    _has_errors = false;
    _get_next = true;
    cycle_guard.clear();
}

void Parser::clear() {
    clear_queue();
    errors.clear();
    texts.clear();
    made_errors.clear();
}

void Parser::clear_queue() {
    while (pop()) {
    }
}

bool Parser::pop(p_entry& out) {
    if (consumed.empty())
        return false;
    out.copyFrom(consumed.back());
    consumed.pop_back();
    return true;
}

void Parser::shift(int token_, int next_state, std::wstring* text) {
    push_token(token_, next_state, text);
}

// read() once a token is due; inline in the parse loop.
inline void Parser::read_token() {
    if (stage && !stage->eof()) {
        // A lexical stage writes every token's text.
        token = stage->next(&word);
    } else {
        word.clear();
        if (stage ? stage->eof() : scanner.eof())
            token = ptable.EndMark();
        else
            token = scanner.next(&word);
    }
    // A new token: the parser has moved on since any earlier error.
    if (!cycle_guard.empty())
        cycle_guard.clear();
    if (debug == 2)
        trace(token, L"] ");
}

void Parser::read() {
    if (_get_next)
        read_token();
}

bool Parser::parse() {
    onParse();
    while (!finished()) {
        if (_get_next)
            read_token();
        if (simple && debug != 1)
            plain_steps();
        // getAction, with the lookup that answers most tokens made here.
        const int state = getState();
        table_action(state, token, action);
        if (action.Do == _ERROR)
            alternatives(state, action);
        switch (action.Do) {
        case _SHIFT:
            if (debug == 1)
                trace(token, L"] ");
            push_token(token, action.value.NextState, &word);
            break;
        case _REDUCE:
            reduce(action);
            break;
        case _FINISH:
            if (debug == 1)
                trace(token, L"] ");
            finish();
            return successful();
        case _IGNORE:
            if (token != ptable.EndMark()) {
                int id = ptable.term_error(token);
                if (id >= 0)
                    put_error(1, fill_marker(ptable.msg_error(id), word).c_str(), warning);
                _get_next = true;
                break;
            }
            // The end of input cannot be dropped: it is an error like any
            // other token without an action, so that the parse ends.
            [[fallthrough]];
        default:
            // _ERROR, and any kind a parser table should not hold.
            if (debug == 1)
                trace(token, L"] ");
            if (seen_before())
                recover(true);
            else {
                error(getState(), token);
                recover(false);
            }
            break;
        }
    }
    return successful();
}

// True when the parser stands in this configuration (stack states and
// token) for the second time without having read a token since: then it
// would repeat the same errors and recoveries forever.
bool Parser::seen_before() {
    std::vector<int> now;
    now.reserve(consumed.size() + 1);
    for (const p_entry& e : consumed)
        now.push_back(e.state);
    now.push_back(token);
    if (std::find(cycle_guard.begin(), cycle_guard.end(), now) != cycle_guard.end())
        return true;
    cycle_guard.push_back(std::move(now));
    return false;
}

// The entry of the first of the n children on top of the stack becomes
// made, as if the children were popped and made pushed in their place: the
// stack is not shortened and lengthened again for every reduction. The
// stack holds more than n entries (n at least 1): the pops need no test.
inline int Parser::replace_children(int n, const p_entry& made, int goto_cell) {
    for (int i = 1; i < n; ++i) {
        if (clearOnPop)
            release_values(consumed.back());
        consumed.pop_back();
    }
    const auto first = std::prev(consumed.end());
    int next_state;
    try {
        const int below = std::prev(first)->state;
        next_state = goto_cell >= 0 ? simple->GOTO(below, made.token, goto_cell)
                                    : table_goto(below, made.token);
    } catch (...) {
        // As the general path of reduce() leaves it: the children gone, and
        // the new entry's values released.
        pop();
        release_values(made);
        throw;
    }
    p_entry& top = *first;
    if (clearOnPop)
        release_values(top);
    top = made;
    top.state = next_state;
    _get_next = false;
    return next_state;
}

// The steps of the parse loop that shift the current token or reduce a
// production without a semantic action or a diagnostic, as the loop would
// do them, taken from the table's cells: the token's cell is found once for
// all the reductions it leads to, and the stack's top state and depth are
// followed here rather than read back from the deque (the scanner, which a
// shift calls for the next token, leaves the stack alone; semantic actions,
// which may not, run only outside). A shift reads the next token. Returns
// at the first step that needs more (any other action, a token or state
// without cells, a reduction near the stack's bottom), with that step not
// begun: the loop then does it, with the current token as it stands.
void Parser::plain_steps() {
    std::size_t depth = consumed.size();
    int top = depth ? consumed.back().state : 0;
    int cell = simple->action_cell(token);
    for (;;) {
        std::int32_t r;
        if (cell < 0 || !simple->packed_action(top, cell, r))
            return;
        int kind = r & 63;
        if (kind == 0 && switch_equivalent && stage && debug != 2) {
            // The first alternative that alternatives() tries, taken here
            // when it shifts or reduces. (Asking for it again there, as
            // any other case does, changes nothing.)
            const int first = stage->equivalent(1);
            const int first_cell = first != -1 && first != token ? simple->action_cell(first) : -1;
            if (first_cell < 0 || !simple->packed_action(top, first_cell, r))
                return;
            kind = r & 63;
            if (kind != _SHIFT && kind != _REDUCE)
                return;
            token = first;
            cell = first_cell;
        }
        if (kind == _SHIFT) {
            top = r >> 8;
            push_token(token, top, &word);
            ++depth;
            read_token();
            cell = simple->action_cell(token);
            continue;
        }
        if (kind != _REDUCE)
            return;
        const unsigned id = static_cast<unsigned>(r >> 8);
        if (id >= production_count)
            return;
        const production& p = productions[id];
        if (!p.replaces || depth <= static_cast<std::size_t>(p.children))
            return;
        p_entry made;
        made.token = p.symbol;
        made.childs = p.children;
        top = replace_children(p.children, made, p.goto_cell);
        depth -= static_cast<std::size_t>(p.children - 1);
    }
}

int Parser::reduce(ParseAction& pa) {
    p_entry pe;
    // An auxiliary symbol or an error production over one symbol passes the
    // child through: its token and value stay on the stack.
    bool pass_through;
    int n;
    const unsigned id = static_cast<unsigned>(pa.value.ReduceId);
    if (id < production_count && productions[id].plain) {
        // Most productions: nothing to run before the children go.
        const production& p = productions[id];
        pe.token = p.symbol;
        n = p.children;
        pe.childs = n;
        pass_through = p.pass_through;
    } else {
        ::reduction rd;
        table_reduction(pa.value.ReduceId, rd);
        pe.token = rd.state;
        n = rd.NumberOfParameters;
        pass_through = n == 1 && !rd.isOriginal();
        pe.childs = n;
        Father = &pe;
        if (rd.ErrorProduction())
            error_production(pe.token);
        if (rd.semanticAction)
            call(reinterpret_cast<semantic_action_fn>(rd.semanticAction), _BottomUp);
        Father = nullptr;
    }
    if (pass_through && consumed.size() >= 2) {
        // The child stays where it is and takes the state of the symbol it
        // stands for, reached from the entry below it.
        const int below = consumed[consumed.size() - 2].state;
        int next_state;
        try {
            next_state = table_goto(below, pe.token);
        } catch (...) {
            // As the general path below leaves it: the child gone, and
            // every value released.
            p_entry child;
            pop(child);
            release_values(pe);
            release_values(child);
            throw;
        }
        release_values(pe);
        consumed.back().state = next_state;
        _get_next = false;
        return 0;
    }
    if (!pass_through && n >= 1 && consumed.size() > static_cast<std::size_t>(n)) {
        replace_children(n, pe);
        return 0;
    }
    p_entry child;
    try {
        for (int i = 0; i < n; ++i) {
            if (consumed.empty())
                throw ParseError(0, L"Internal; Empty Stack on Reduction", Syntax, false, true);
            if (pass_through)
                pop(child);
            else
                pop();
        }
        if (consumed.empty())
            throw ParseError(0, L"Internal; Empty Stack on Reduction", Syntax, false, true);
        int next_state = table_goto(getState(), pe.token);
        if (pass_through) {
            release_values(pe);
            child.state = next_state;
            consumed.push_back(child);
        } else {
            p_entry& top = consumed.emplace_back(pe);
            top.state = next_state;
        }
    } catch (...) {
        release_values(pe);
        release_values(child);
        throw;
    }
    _get_next = false;
    return 0;
}

void Parser::execute(semantic_action_fn fn, int phase) {
    fn(phase, consumed, *Father, Father->childs, context);
}

void Parser::call(semantic_action_fn fn, int phase) {
    try {
        execute(fn, phase);
    } catch (ParseError& e) {
        put_error(e);
        _finished = e.stop();
    } catch (capi::interfaces::_I_Errno& e) {
        put_error(e);
        finish();
    } catch (std::exception& e) {
        put_error(e);
        finish();
    } catch (...) {
        put_error(0, exe_msg.c_str(), Semantic);
        finish();
    }
}

bool Parser::recover(bool drop_token) {
    _has_errors = true;
    const int error_token = ptable.ErrorMark();
    const int end = ptable.EndMark();
    ParseAction pa{};
    while (!consumed.empty()) {
        ptable.action(getState(), error_token, pa);
        if (pa.Do != _SHIFT) {
            pop();
            continue;
        }
        std::wstring text(L"ERROR");
        shift(error_token, pa.value.NextState, &text);
        if (drop_token) {
            // A repeated configuration: the token that keeps failing goes.
            if (token == end)
                break;
            read();
        }
        for (;;) {
            ptable.action(getState(), token, pa);
            if (pa.Do != _ERROR && pa.Do != _IGNORE)
                break;
            if (token == end) {
                finish();
                _get_next = false;
                return false;
            }
            read();
        }
        _get_next = false;
        return true;
    }
    finish();
    _get_next = false;
    return false;
}

bool Parser::recover() {
    return recover(false);
}

void Parser::put_error(const ParseError& e) {
    if (e.type() != warning && e.type() != info)
        _has_errors = true;
    errors.push_back(e);
    share_text(errors.back());
}

void Parser::put_error(ParseError&& e) {
    if (e.type() != warning && e.type() != info)
        _has_errors = true;
    errors.push_back(std::move(e));
    share_text(errors.back());
}

// Moves the text of a kept diagnostic into the store: a text met before is
// dropped for the stored copy, a new one becomes the stored copy.
void Parser::share_text(ParseError& kept) {
    if (kept.shared_txt || kept.txt.empty())
        return;
    auto found = texts.find(std::wstring_view(kept.txt));
    if (found != texts.end()) {
        kept.shared_txt = found->second;
    } else {
        auto text = std::make_shared<const std::wstring>(std::move(kept.txt));
        texts.emplace(std::wstring_view(*text), text);
        kept.shared_txt = std::move(text);
    }
    std::wstring().swap(kept.txt);
}

std::deque<ParseError>& Parser::getErrors() {
    for (ParseError& e : errors) {
        if (e.shared_txt) {
            e.txt = *e.shared_txt;
            e.shared_txt.reset();
        }
    }
    return errors;
}

ParseError Parser::errorAt(std::size_t i) const {
    ParseError e = errors.at(i);
    if (e.shared_txt) {
        e.txt = *e.shared_txt;
        e.shared_txt.reset();
    }
    return e;
}

void Parser::put_error(int code, const wchar_t* text, int type) {
    ParseError e(code, text, type, false, true);
    e._source = scanner.source();
    e._line = scanner.line();
    put_error(std::move(e));
}

void Parser::put_error(const capi::interfaces::_I_Errno& e) {
    ParseError pe(0, nullptr, Semantic, false, true);
    pe.txt = e.describe();
    put_error(pe);
}

void Parser::put_error(const std::exception& e) {
    ParseError pe(0, nullptr, Semantic, false, true);
    pe.txt = exception_text(e, std_msg);
    put_error(pe);
}

ParseAction& Parser::getAction(int, int token_, ParseAction& out) {
    token = token_;
    const int state = getState();
    table_action(state, token, out);
    if (out.Do != _ERROR)
        return out;
    return alternatives(state, out);
}

// getAction for a token without an action in state: its alternative ids,
// then its shorter readings, until one has an action.
ParseAction& Parser::alternatives(int state, ParseAction& out) {
    // The first alternative answers most of these tokens (a number that is
    // a line's label): it is tried before the search below is set up, which
    // then goes on from it.
    bool first_tried = false;
    int first = -1;
    if (switch_equivalent) {
        first_tried = true;
        first = stage ? stage->equivalent(1) : scanner.equivalent(1);
        if (first != -1) {
            if (debug == 2)
                trace(first, L"] (ALT)");
            if (first != token) {
                table_action(state, first, out);
                if (out.Do != _ERROR) {
                    token = first;
                    return out;
                }
            }
        }
    }
    bool may_shorten = shorter_match || ptable.sma(token);
    rejected.assign(1, token);
    auto is_rejected = [this](int id) {
        return std::find(rejected.begin(), rejected.end(), id) != rejected.end();
    };
    int k = 1;
    int savepoint = scanner.sma_savepoint();
    int saved_at = -1;
    int to_shorten = token;
    for (;;) {
        if (switch_equivalent) {
            for (k = 1;; ++k) {
                int e;
                if (first_tried) {
                    // Asked, shown and looked up already.
                    first_tried = false;
                    e = first;
                    if (e == -1)
                        break;
                    if (e != token) {
                        rejected.push_back(e);
                        may_shorten = may_shorten || ptable.sma(e);
                    }
                    continue;
                }
                e = stage ? stage->equivalent(k) : scanner.equivalent(k);
                if (e == -1)
                    break;
                if (debug == 2)
                    trace(e, L"] (ALT)");
                if (is_rejected(e))
                    continue;
                table_action(state, e, out);
                if (out.Do != _ERROR) {
                    token = e;
                    return out;
                }
                rejected.push_back(e);
                may_shorten = may_shorten || ptable.sma(e);
            }
        }
        if (!may_shorten)
            return out;
        if (k > saved_at && word.size() > 1) {
            savepoint = scanner.sma_savepoint();
            saved_at = k;
        }
        int s = scanner.shorter_match(to_shorten);
        if (s == -1) {
            token = scanner.sma_rollback(savepoint);
            if (debug == 2)
                trace(token, L"] (SMA Final)", true);
            return out;
        }
        if (debug == 2)
            trace(s, L"] (SMA)");
        if (!is_rejected(s)) {
            table_action(state, s, out);
            if (out.Do != _ERROR) {
                token = s;
                return out;
            }
            rejected.push_back(s);
        }
        to_shorten = s;
    }
}

void Parser::msg_word(const std::wstring& w, std::wstring& fmt_w) {
    fmt_w.clear();
    const long n = static_cast<long>(w.size());
    if (n == 0)
        return;
    if (n == 1) {
        if (w[0] == L'\'') {
            fmt_w = L"\"'\"";
        } else {
            fmt_w += L'\'';
            fmt_w += w[0];
            fmt_w += L'\'';
        }
        return;
    }
    long e = std::min(n - 1, 33L);
    const wchar_t q = w[e];
    if (q != L'"' && q != L'\'') {
        fmt_w = w;
        return;
    }
    e -= 1;
    long s;
    if (e <= 0)
        s = -1;
    else if (w[0] == q)
        s = 1;
    else if (w[0] >= L'A' && w[0] <= L'Z' && w[1] == q)
        s = 2;
    else
        s = -1;
    if (s < 0 || s >= e) {
        fmt_w = w;
        return;
    }
    fmt_w += L'\'';
    fmt_w.append(w, static_cast<std::size_t>(s), static_cast<std::size_t>(e - s + 1));
    fmt_w += L'\'';
}

int Parser::error(int state, int token_) {
    _has_errors = true;
    error_key key{state, token_, scanner.isCaseSensitive(), word};
    auto found = made_errors.find(key);
    if (found != made_errors.end()) {
        // Made before: the same code and text, and the same quoted word.
        const made_error& made = found->second;
        if (made.quotes_word)
            msg_word(word, fmt_word);
        ParseError e(made.code, nullptr, Syntax, false, true);
        e.shared_txt = made.text;
        e._source = scanner.source();
        e._line = scanner.line();
        put_error(std::move(e));
        return made.code;
    }
    bool quotes_word = false;
    std::wstring m;
    int code = ptable.specific_error(state, token_);
    if (code >= 0) {
        if (const wchar_t* t = ptable.msg_error(code))
            m = t;
    } else {
        int t = ptable.term_error(token_);
        if (t >= 0) {
            const wchar_t* msg = ptable.msg_error(t);
            if (msg && *msg) {
                m += fill_marker(msg, word);
                m += L' ';
            }
        } else {
            quotes_word = unexpected(token_, m);
        }
        code = ptable.state_error(state);
        if (code >= 0) {
            if (const wchar_t* msg = ptable.msg_error(code)) {
                m += msg;
                m += L' ';
            }
        }
    }
    report(code, std::move(m));
    // The text as the kept diagnostic shares it (none when it is empty).
    made_errors.emplace(std::move(key), made_error{code, errors.back().shared_txt, quotes_word});
    return code;
}

// Keeps a syntax diagnostic with the given code and text, at the scanner's
// source and line; returns the code.
int Parser::report(int code, std::wstring&& m) {
    ParseError e(code, nullptr, Syntax, false, true);
    e.txt = std::move(m);
    e._source = scanner.source();
    e._line = scanner.line();
    put_error(std::move(e));
    return code;
}

// The sentence about a token without an action: its name, unless its text
// says the same, and its text as quoted in messages.
bool Parser::unexpected(int token_, std::wstring& m) {
    std::wstring name;
    bool char_name = false;
    if (const wchar_t* n = ptable.token(token_)) {
        name = n;
    } else if (token_ > 0 && token_ <= 0xFFFE) {
        name.assign(1, static_cast<wchar_t>(token_));
        char_name = true;
    } else {
        return false;
    }
    msg_word(word, fmt_word);
    bool same = scanner.isCaseSensitive() ? word == name || word == fmt_word
                                          : word == name || fmt_word == name;
    m += L"Unexpected: ";
    if (!same && !char_name)
        m += name;
    if (!fmt_word.empty()) {
        if (!same && !char_name)
            m += L" with value ";
        m += fmt_word;
    }
    m += L". ";
    return true;
}

int Parser::error_production(int symbol) {
    _has_errors = true;
    int code = ptable.production_error(symbol);
    std::wstring m;
    if (code < 0) {
        code = -1;
        if (const wchar_t* name = ptable.token(symbol)) {
            m = L"Reduced Error Production: ";
            m += name;
            m += L". ";
        }
    } else if (const wchar_t* t = ptable.msg_error(code)) {
        if (!*t)
            return -1;
        m = t;
        m += L' ';
    }
    return report(code, std::move(m));
}

// Trace fields. Texts show a line feed as \n and a carriage return as \r;
// the buffers grow with what they hold.
void Parser::fmt(std::wstring& buffer, int width, const wchar_t* text, std::size_t length) {
    buffer.clear();
    if (!text) {
        buffer = L"NULL";
    } else {
        std::size_t n = std::min(length, static_cast<std::size_t>(std::max(width, 0)));
        for (std::size_t i = 0; i < n; ++i) {
            if (text[i] == L'\n')
                buffer += L"\\n";
            else if (text[i] == L'\r')
                buffer += L"\\r";
            else
                buffer += text[i];
        }
    }
    const std::size_t pad = static_cast<std::size_t>(std::min(std::max(width, 0), 255));
    if (buffer.size() < pad)
        buffer.append(pad - buffer.size(), L' ');
}

void Parser::fmt(std::wstring& buffer, int width, int value) {
    width = std::min(std::max(width, 0), 64);
    char digits[96];
    std::snprintf(digits, sizeof digits, "%.*d", value < 0 ? width - 1 : width, value);
    buffer.assign(digits, digits + std::char_traits<char>::length(digits));
}

const std::wstring& Parser::fmt(int width, const wchar_t* text) {
    fmt(wname, width, text, text ? std::char_traits<wchar_t>::length(text) : 0);
    return wname;
}

const std::wstring& Parser::fmt(int width, int value) {
    fmt(wkey, width, value);
    return wkey;
}

const std::wstring& Parser::fmt(int value) {
    fmt(wline, 5, value);
    return wline;
}

const std::wstring& Parser::fmt(const std::wstring& text) {
    int width = static_cast<int>(std::min<std::size_t>(text.size(), 254));
    fmt(wstr, width, text.data(), text.size());
    return wstr;
}

void Parser::trace(int id, const wchar_t* ending, bool raw_word) {
    std::wstring out(L"  Line=");
    out += fmt(scanner.line());
    out += L',';
    out += fmt(5, id);
    out += L"  ";
    out += fmt(25, ptable.token(id));
    out += L" buffer=[";
    if (raw_word)
        out += word;
    else
        out += fmt(word);
    out += ending;
    std::wcout << out << std::endl;
}

} // namespace parsing
