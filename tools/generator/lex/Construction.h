#ifndef GENERATOR_LEX_CONSTRUCTION_H
#define GENERATOR_LEX_CONSTRUCTION_H

#include <vector>

#include "../TableSet.h"
#include "Automaton.h"
#include "KeyMap.h"
#include "LexModel.h"
#include "Nfa.h"

// The passes that build a lexical automaton. Each takes what the passes
// before it produced and returns its own result.
namespace gen {
namespace lex {

// The deterministic automaton of the token definitions (subset construction).
// A state's end-mark row is the accept or back-up of the first definition,
// in source order, that ends there; its backtrack-mark row the accept of the
// first definition whose own text ends there before a right context.
Automaton subset_automaton(const Nfa& nfa, const LexModel& m, const Source& src);

// The automaton that "state" lines declare, row by row.
Automaton declared_automaton(const LexModel& m, const KeyMap& keys, const Source& src);

// Merges the states that have the same rows and lead to merged states on
// every key. The start state stays apart: the stage tells it by its number.
Automaton minimal_automaton(const Automaton& a);

// The state a reference names: a declared number, or the state a sample
// input reaches from the start state.
int referenced_state(const StateRef& r, const Automaton& a, const KeyMap& keys, const Source& src);

// Numbers the states breadth first from the start state, keys in ascending
// order, except the states that "%pin" lines number.
Automaton numbered_automaton(const Automaton& a, const LexModel& m, const KeyMap& keys,
                             const Source& src);

// The conflicts rows of the "alternatives" lines: each keyed by the end mark,
// ordered by state and, within a state, as written.
std::vector<ActionRow> conflict_rows(const Automaton& a, const LexModel& m, const KeyMap& keys,
                                     const Source& src);

} // namespace lex
} // namespace gen

#endif
