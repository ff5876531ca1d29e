#include "FSAParser.h"

#include <cwchar>
#include <iostream>

#include "FSAState.h"
#include "grammar_case.h"
#include "signed_widening.h"

namespace parsing {

using capi::interfaces::_I_Errno;
using capi::interfaces::_I_Scanner;

FSAParser::FSAParser(_I_Scanner& in_scanner, FSAParsingTable& in_PTable, void* in_context)
    : _semCheck(false), _BottomUp(false), _TopDown(false), _BottomUp2(false), debug(false),
      pread(L"Parser Read()"), State(nullptr), scanner(in_scanner), ptable(in_PTable),
      _finished(false), _has_errors(false), _get_next(true), action(), state(0),
      context(in_context), token(0), Father(nullptr), step(-1), swaped_errors(false) {
    std::wcsncpy(std_msg, L"Parser Error", 32);
    State = new FSAState(ptable, this, in_context);
    // Called from the constructor, so this class's own version runs.
    FSAParser::CharsCase();
}

FSAParser::~FSAParser() {
    if (State) {
        delete State;
        State = nullptr;
    }
    clear();
}

void FSAParser::CharsCase() {
    fold_as_grammar(ptable, scanner);
}

bool FSAParser::next() {
    ++step;
    if (!BufferedT.empty())
        return getFromBuffered();
    bool r = read();
    _finished = !r;
    return r;
}

bool FSAParser::read() {
    word.clear();
    if (_get_next && !scanner.eof())
        token = scanner.next(&word);
    else
        token = ptable.EndMark();
    if (token == ptable.EndMark()) {
        word.clear();
        _get_next = false;
    }
    pread.clear();
    if (debug)
        std::wcout << L"Parser read()" << token << L" Buffer= " << word << std::endl;
    return _get_next;
}

int FSAParser::peek(int from_step) {
    if (from_step < step) {
        std::wcout << L"invalid peek\n";
        return -1;
    }
    int requested = from_step - step + 1;
    if (requested - BufferedElements() > 0)
        do_buffer(requested - BufferedElements());
    return bufferedT(requested);
}

bool FSAParser::do_buffer(int forward) {
    if (token == ptable.EndMark() || scanner.eof())
        return false;
    // The engine holds token and word by reference while it peeks: reading
    // ahead must leave them as it found them, also when the scanner throws.
    struct Restore {
        int& token;
        std::wstring& word;
        int saved_token;
        std::wstring saved_word;
        ~Restore() {
            token = saved_token;
            word.swap(saved_word);
        }
    } restore{token, word, token, word};
    bool ok = true;
    for (int i = 0; i < forward && ok; ++i) {
        try {
            ok = read();
        } catch (std::exception&) {
            ok = false;
        }
        if (ok) {
            // Deleted by getFromBuffered(), when next() takes the token.
            BufferedN.push_back(new std::wstring(std::move(word)));
            BufferedT.push_back(token);
        }
    }
    return ok;
}

int FSAParser::bufferedT(int requested) {
    std::size_t pos = static_cast<std::size_t>(requested - 1);
    if (pos >= BufferedT.size())
        return ptable.EndMark();
    return BufferedT[pos];
}

bool FSAParser::getFromBuffered() {
    if (BufferedT.empty())
        return false;
    token = BufferedT.front();
    word.clear();
    std::wstring* text = BufferedN.front();
    if (text) {
        word = std::move(*text);
        delete text;
    }
    BufferedT.pop_front();
    BufferedN.pop_front();
    return true;
}

bool FSAParser::available() {
    if (BufferedElements() > 0)
        return true;
    return scanner.available();
}

void FSAParser::clear() {
    while (getFromBuffered()) {
    }
    word.clear();
}

void FSAParser::reset() {
    clear();
    _finished = false;
    _has_errors = false;
    _get_next = true;
}

void FSAParser::onParse() {
    reset();
}

int FSAParser::confirm() {
    std::wcout << L"Confirm\n";
    return 0;
}

int FSAParser::error(int state, int token) {
    _has_errors = true;
    std::wstring message;
    int id = ptable.specific_error(state, token);
    if (id >= 0) {
        if (const wchar_t* text = ptable.msg_error(id))
            message = text;
    } else {
        int term = ptable.term_error(token);
        if (term < 0) {
            if (const wchar_t* name = ptable.token(token)) {
                message += L"Unexpected: ";
                message += name;
                message += L". ";
            }
        } else if (const wchar_t* text = ptable.msg_error(term)) {
            message += text;
            message += L" ";
        }
        id = ptable.state_error(state);
        if (id >= 0) {
            if (const wchar_t* text = ptable.msg_error(id)) {
                message += text;
                message += L" ";
            }
        }
    }
    put_error(id, message.c_str(), Syntax);
    return id;
}

void FSAParser::put_error(ParseError& e) {
    _has_errors = true;
    errors.push_back(e);
}

void FSAParser::put_error(_I_Errno& e) {
    put_error(0, e.describe().c_str(), Semantic);
}

void FSAParser::put_error(std::exception& e) {
    put_error(0, exception_text(e, std_msg).c_str(), Semantic);
}

void FSAParser::put_error(int code, const wchar_t* s, int type) {
    ParseError e(code, s, type, false, true);
    put_error(e);
}

bool FSAParser::swapFSAStateErrors() {
    bool moved = false;
    std::deque<ParseError>& engine_errors = State->getErrors();
    if (State->hasErrors()) {
        for (ParseError& e : engine_errors) {
            moved = true;
            put_error(e);
        }
    }
    engine_errors.clear();
    return moved;
}

bool FSAParser::parsed() {
    return State->parsed();
}

void FSAParser::setDebug(bool on) {
    debug = on;
    State->setDebug(on);
}

void FSAParser::traverseTopDown(int tree, bool keep) {
    if (tree < 0)
        return;
    if (FSATokenNode* tn = State->parseTree(tree))
        State->TopDown(tn, keep);
}

void FSAParser::traverseBottomUp(int tree, bool keep) {
    if (tree < 0)
        return;
    if (FSATokenNode* tn = State->parseTree(tree))
        State->BottomUp(tn, keep, step);
}

bool FSAParser::actions(const int& t, const std::wstring& w) {
    return State->actions(t, w);
}

void FSAParser::clear_queue() {
    clear();
}

int FSAParser::parse() {
    onParse();
    while (next_step()) {
    }
    onParseFinish();
    if (!State->parsed())
        onParseError();
    return State->parseTrees();
}

int FSAParser::onParseFinish() {
    int r;
    if (token == ptable.EndMark()) {
        State->onEOF();
        r = State->parseTrees();
    } else {
        State->onParseIncomplete();
        r = -1;
    }
    if (r == 0)
        _has_errors = true;
    _finished = true;
    return r;
}

int FSAParser::onParseError() {
    return 0;
}

bool FSAParser::next_step() {
    if (!next())
        return false;
    swaped_errors = false;
    bool moved = State->actions(token, word);
    // After a semantic action stopped the parse every step fails: a retry
    // or a recovery would only drop the diagnostics of the stop.
    if (!moved && State->slr_follows && !State->stopped()) {
        // The retry runs without the SLR follow check; the check is back on
        // afterwards even when the retry throws.
        struct SlrOn {
            FSAState& engine;
            ~SlrOn() { engine.slr_follows = true; }
        } slr_on{*State};
        State->slr_follows = false;
        bool sem = State->getSemCheck();
        if (State->StateToNewState()) {
            State->getErrors().clear();
            moved = State->actions(token, word, false, false, true, sem);
        }
    }
    swaped_errors = false;
    if (State->hasErrors())
        swaped_errors = swapFSAStateErrors();
    if (!moved) {
        _has_errors = true;
        const KeyValueFixedTable* recovery = ptable.data.recovery_states;
        if (recovery && recovery->size > 0 && !State->stopped())
            moved = ErrorRecovery();
    }
    if (!moved) {
        _get_next = false;
        _finished = true;
    }
    return !finished();
}

bool FSAParser::ErrorRecovery() {
    return PanicModeRecovery(swaped_errors);
}

bool FSAParser::PanicModeRecovery(bool swaped_errors) {
    const int E = ptable.ErrorMark();
    const int F = ptable.EndMark();
    const std::wstring error_text = L"Error";
    static const wchar_t* const state_empty = L"Failed to recover; State Empty";
    bool moved = false;
    bool pass = true;
    // A scanner that throws on every read would make the passes feed the
    // error token and skip forever; a second scanner fault with no token
    // read since the first ends the recovery as the end of input does.
    bool scanner_failed = false;

    // Runs f, keeping what it throws as a diagnostic; true when it threw.
    auto guarded = [this](auto&& f) {
        try {
            f();
            return false;
        } catch (ParseError& e) {
            put_error(e);
        } catch (_I_Errno& e) {
            put_error(e);
            _finished = true;
        } catch (std::exception& e) {
            put_error(e);
            _finished = true;
        } catch (...) {
            put_error(0, L"Unknown Exception During Panic Mode Recovery.", Semantic);
            _finished = true;
        }
        return true;
    };

    while (pass) {
        if (!swaped_errors)
            swaped_errors = swapFSAStateErrors();
        moved = false;
        bool no_heads = false;
        guarded([&] {
            no_heads = !State->StateToNewState();
            if (!no_heads)
                moved = State->actions(E, error_text, false, false, false, false);
        });
        if (no_heads) {
            put_error(100, state_empty, Syntax);
            return false;
        }
        if (!moved) {
            pass = State->rewind();
            continue;
        }

        bool increase = false;
        for (;;) {
            bool accepted = false;
            // A token whose step threw is skipped like one that no head
            // took: offered again it would throw again, without end.
            if (token != F)
                guarded(
                    [&] { accepted = State->actions(token, word, false, increase, false, false); });
            if (accepted) {
                pass = false;
                break;
            }
            if (token == F) {
                _finished = true;
                _get_next = false;
                return false;
            }
            bool more = false;
            if (guarded([&] { more = next(); })) {
                if (scanner_failed) {
                    _finished = true;
                    _get_next = false;
                    return false;
                }
                scanner_failed = true;
                break;
            }
            scanner_failed = false;
            increase = true;
            bool heads = false;
            if (guarded([&] { heads = State->StateToNewState(); }))
                break;
            if (!heads) {
                _finished = true;
                _get_next = false;
                return false;
            }
            if (!more)
                break;
        }
    }
    if (!moved)
        put_error(100, state_empty, Syntax);
    return moved;
}

} // namespace parsing
