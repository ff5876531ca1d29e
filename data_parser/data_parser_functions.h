#ifndef DATA_PARSER_FUNCTIONS_H
#define DATA_PARSER_FUNCTIONS_H

#include "p_entry.h"

// The action module of the DATA statement parser. The grammar builds no value
// and names no semantic action: these helpers are here for actions that would
// pass texts up the stack, and nothing calls them.

void data_parser_emit(const char* text);    // text and a blank on standard output
void data_parser_emit(const wchar_t* text); // text and a blank on wide standard output
// Moves Child's value to Father (which owns it from then on).
void data_parser_synthesize(parsing::p_entry& Father, parsing::p_entry& Child);
// Appends s to Father's value when both are present.
void data_parser_syncat(parsing::p_entry& Father, const wchar_t* s);

#endif
