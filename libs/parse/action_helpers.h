#ifndef PARSING_ACTION_HELPERS_H
#define PARSING_ACTION_HELPERS_H

#include <deque>
#include <iostream>

#include "ParseError.h"
#include "p_entry.h"

// What the grammars' action modules share: the accessor of a production's
// entries and the routines that would pass texts up the stack. Each module
// keeps its own names for the routines and forwards to these.

// The report of a parameter out of range, kept out of line so that the
// accessor below, called for every parameter an action reads, stays small
// enough to inline.
[[noreturn, gnu::noinline, gnu::cold]] inline void invalid_parameter(int childs, int i) {
    std::wcerr << L"Requested on $$(i) Invalid I== " << i << std::endl;
    std::wcerr << L"Children are: " << childs << std::endl;
    throw parsing::ParseError(0, L"Requested invalid parameter", parsing::SemAction, false, false);
}

// Parameter i of the production being reduced: 0 is the new parent entry
// ($$), 1 to childs the right-hand entries from the left ($1, $2, ...), which
// are still the top childs entries of the stack. Any other i is reported on
// the wide error stream and thrown as a SemAction diagnostic.
template <class T> T& getParameter(std::deque<T>& the_queue, T& Father, int childs, int i) {
    if (i > childs || i < 0)
        invalid_parameter(childs, i);
    if (i == 0)
        return Father;
    // A stack shorter than childs gives a negative position, which wraps to a
    // huge index that at() rejects.
    long pos = static_cast<long>(the_queue.size()) - childs - 1 + i;
    return the_queue.at(static_cast<typename std::deque<T>::size_type>(pos));
}

namespace parsing {

// text and a blank on standard output
inline void emit_text(const char* text) {
    std::cout << text << ' ';
}

// text and a blank on wide standard output
inline void emit_text(const wchar_t* text) {
    std::wcout << text << L' ';
}

// Moves Child's value to Father (which owns it from then on).
inline void synthesize(p_entry& Father, p_entry& Child) {
    // Father owns what it holds: a value it held before would otherwise leak.
    if (Father.synthesized != Child.synthesized)
        delete Father.synthesized;
    Father.synthesized = Child.synthesized;
    Child.synthesized = nullptr;
}

// Appends s to Father's value when both are present.
inline void syncat(p_entry& Father, const wchar_t* s) {
    if (Father.synthesized && s)
        Father.synthesized->append(s);
}

} // namespace parsing

#endif
