#ifndef GENERATOR_EMITTER_H
#define GENERATOR_EMITTER_H

#include <string>
#include <vector>

#include "TableSet.h"

namespace gen {

// Writes the generated C++ of one grammar into dir: <g>_include.h (the
// grammar class and its table classes), <g>_include.cpp (the grammar's
// constructor) and one source per table class. Returns the files written.
std::vector<std::string> emit(const TableSet& t, const std::string& dir);

// The names of the files emit() writes for a grammar, for the build.
std::vector<std::string> emitted_files(const std::string& grammar);

// A C++ wide string literal for 16-bit text; every unit outside printable
// ASCII is written as a hexadecimal escape in a literal of its own.
std::string wide_literal(const Text& text);

} // namespace gen

#endif
