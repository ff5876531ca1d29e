#ifndef FUZZ_FSA_FSA_CASE_H
#define FUZZ_FSA_FSA_CASE_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace fsa_fuzz {

// Decodes bytes into a small FSA grammar (symbols, NFA rows with any move
// code, productions of every category with semantic actions that may throw,
// loop bounds, follow rules and sets, SLR rows, recovery states,
// ignorables), a token string and the engine's switches; builds the grammar
// through the runtime's table classes as a generated grammar does, parses
// the tokens with FSAParser and walks the trees it keeps. Answers "" when
// the run was sound, or what was wrong: a parse tree that contains itself,
// an exception that the library does not document, or a trace line that
// shows the engine's bookkeeping out of step. Crashes, leaks and runs that
// do not end are for the caller (libFuzzer, the sanitizers) to catch.
// An input that begins with the bytes "CF" decodes instead to a small
// context-free grammar, compiled into the engine's tables as a grammar
// compiler does, with a token string and switches; there the engine must
// also accept exactly the strings of the grammar's language, with every
// tree it keeps spanning the whole input.
std::string run_case(const std::uint8_t* data, std::size_t size);

} // namespace fsa_fuzz

#endif
