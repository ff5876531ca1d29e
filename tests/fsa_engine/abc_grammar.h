#ifndef FSA_ENGINE_ABC_GRAMMAR_H
#define FSA_ENGINE_ABC_GRAMMAR_H

#include "engine_grammar.h"

namespace fsa_engine_test {

using namespace parsing;

// Symbol ids of the small grammars.
enum : int {
    a = 97,
    b = 98,
    c = 99,
    d = 100,
    blank = 32,
    S = 65536,
    A = 65537,
    B = 65538,
};

// S -> a A c (production 0), A -> b (production 1): the NFA starts each
// production with a _SHIFTDOWN and continues it with _SHIFT; a reduced A
// is fed back to state 1, where the production of S began. Message 1 is
// the state message of states 0 and 1, message 2 that of state 2.
inline GrammarRows abc_grammar() {
    GrammarRows s;
    s.symbols = {{blank, L"blank", 0, 0}, {a, L"a", 0, 0}, {b, L"b", 0, 0}, {c, L"c", 0, 0},
                 {d, L"d", 0, 0},         {S, L"S", 0, 2}, {A, L"A", 0, 1}};
    s.states = 3;
    s.nfa = {{0, a, _SHIFTDOWN, 1},
             {1, b, _SHIFTDOWN, reductive(s, 1)},
             {1, A, _SHIFT, 2},
             {2, c, _SHIFT, reductive(s, 0)}};
    s.productions = {{S, 1, 0, 0, nullptr}, {A, 1, 0, 0, nullptr}};
    s.messages = {{1, L"Expected a or b"}, {2, L"Expected c"}};
    s.stateErrors = {{0, 1}, {1, 1}, {2, 2}};
    s.start = S;
    return s;
}

} // namespace fsa_engine_test

#endif
