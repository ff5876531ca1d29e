#ifndef PBASIC_FUNCTIONS_H
#define PBASIC_FUNCTIONS_H

#include <deque>

#include "action_helpers.h"
#include "p_entry.h"

// The semantic actions of the statement grammar. Each is named after the
// production it serves and has the exact type the parser casts the
// production's untyped action back to. They compute no values: each reports
// one fact about the current line to the run's Translator, the context, and
// fetches its entries with getParameter (action_helpers.h).

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
