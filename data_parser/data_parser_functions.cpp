#include "data_parser_functions.h"

#include "action_helpers.h"

using parsing::p_entry;

void data_parser_emit(const char* text) {
    parsing::emit_text(text);
}

void data_parser_emit(const wchar_t* text) {
    parsing::emit_text(text);
}

void data_parser_synthesize(p_entry& Father, p_entry& Child) {
    parsing::synthesize(Father, Child);
}

void data_parser_syncat(p_entry& Father, const wchar_t* s) {
    parsing::syncat(Father, s);
}
