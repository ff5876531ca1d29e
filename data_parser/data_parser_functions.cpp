#include "data_parser_functions.h"

#include <iostream>

using parsing::p_entry;

void data_parser_emit(const char* text) {
    std::cout << text << ' ';
}

void data_parser_emit(const wchar_t* text) {
    std::wcout << text << L' ';
}

void data_parser_synthesize(p_entry& Father, p_entry& Child) {
    // Father owns what it holds: a value it held before would otherwise leak.
    if (Father.synthesized != Child.synthesized)
        delete Father.synthesized;
    Father.synthesized = Child.synthesized;
    Child.synthesized = nullptr;
}

void data_parser_syncat(p_entry& Father, const wchar_t* s) {
    if (Father.synthesized && s)
        Father.synthesized->append(s);
}
