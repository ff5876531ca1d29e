#ifndef GENERATOR_LR_AUTOMATON_H
#define GENERATOR_LR_AUTOMATON_H

#include <map>
#include <vector>

#include "Items.h"

namespace gen {
namespace lr {

struct State {
    ItemSet kernel;
    ItemSet items; // the closure of the kernel
    // Target state by symbol, for every terminal and every nonterminal that
    // is the left side of a row; ascending by symbol id.
    std::map<int, int> transitions;
};

// The LR(0) collection with unit alternatives eliminated, numbered in the
// order in which states are first reached.
struct Automaton {
    std::vector<State> states;
};

// The items a state reaches on a symbol. A moved item that completes a unit
// alternative A ::= X is replaced by the items of the same state's transition
// on A, so a chain of unit alternatives is followed to its end and the unit
// alternative's left side never reaches the stack.
ItemSet transition(const Grammar& g, const ItemSet& items, int symbol);

// State 0 holds the start production at position 0. States are taken in the
// order of their numbers and their transitions in ascending symbol id (as
// signed integers); a target not yet seen takes the next number.
Automaton number_states(const Grammar& g);

} // namespace lr
} // namespace gen

#endif
