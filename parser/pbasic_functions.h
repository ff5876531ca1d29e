#ifndef PBASIC_FUNCTIONS_H
#define PBASIC_FUNCTIONS_H

#include <deque>
#include <iostream>

#include "ParseError.h"
#include "p_entry.h"

// The semantic actions of the statement grammar. Each is named after the
// production it serves and has the exact type the parser casts the
// production's untyped action back to. They compute no values: each reports
// one fact about the current line to the run's Translator, the context.

// Parameter i of the production being reduced: 0 is the new parent entry
// ($$), 1 to childs the right-hand entries from the left ($1, $2, ...), which
// are still the top childs entries of the stack. Any other i is reported on
// the wide error stream and thrown as a SemAction diagnostic.
template <class T> T& getParameter(std::deque<T>& the_queue, T& Father, int childs, int i) {
    if (i > childs || i < 0) {
        std::wcerr << L"Requested on $$(i) Invalid I== " << i << std::endl;
        std::wcerr << L"Children are: " << childs << std::endl;
        throw parsing::ParseError(0, L"Requested invalid parameter", parsing::SemAction, false,
                                  false);
    }
    if (i == 0)
        return Father;
    // A stack shorter than childs gives a negative position, which wraps to a
    // huge index that at() rejects.
    long pos = static_cast<long>(the_queue.size()) - childs - 1 + i;
    return the_queue.at(static_cast<typename std::deque<T>::size_type>(pos));
}

typedef std::deque<parsing::p_entry> pbasic_stack;

int pbasic_4(int phase, pbasic_stack& the_queue, parsing::p_entry& Father, int childs,
             void* context);
int pbasic_5(int phase, pbasic_stack& the_queue, parsing::p_entry& Father, int childs,
             void* context);
int pbasic_40(int phase, pbasic_stack& the_queue, parsing::p_entry& Father, int childs,
              void* context);
int pbasic_76(int phase, pbasic_stack& the_queue, parsing::p_entry& Father, int childs,
              void* context);
int pbasic_88(int phase, pbasic_stack& the_queue, parsing::p_entry& Father, int childs,
              void* context);
int pbasic_89(int phase, pbasic_stack& the_queue, parsing::p_entry& Father, int childs,
              void* context);
int pbasic_90(int phase, pbasic_stack& the_queue, parsing::p_entry& Father, int childs,
              void* context);
int pbasic_91(int phase, pbasic_stack& the_queue, parsing::p_entry& Father, int childs,
              void* context);
int pbasic_116(int phase, pbasic_stack& the_queue, parsing::p_entry& Father, int childs,
               void* context);
int pbasic_117(int phase, pbasic_stack& the_queue, parsing::p_entry& Father, int childs,
               void* context);
int pbasic_122(int phase, pbasic_stack& the_queue, parsing::p_entry& Father, int childs,
               void* context);

// Helpers of the action module that no action calls.
void pbasic_emit(const char* text);    // text and a blank on standard output
void pbasic_emit(const wchar_t* text); // text and a blank on wide standard output
// Moves Child's value to Father (which owns it from then on).
void pbasic_synthesize(parsing::p_entry& Father, parsing::p_entry& Child);
// Appends s to Father's value when both are present.
void pbasic_syncat(parsing::p_entry& Father, const wchar_t* s);

#endif
