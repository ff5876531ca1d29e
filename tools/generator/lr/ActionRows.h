#ifndef GENERATOR_LR_ACTIONROWS_H
#define GENERATOR_LR_ACTIONROWS_H

#include <set>
#include <vector>

#include "Conflicts.h"

namespace gen {
namespace lr {

// The shift/reduce/finish rows, ascending by state and, within a state, by
// terminal id as a signed integer: the surviving shifts, the finish row on
// the end mark where the start production is complete, and a reduce row on
// every terminal of the reduce set of each completed row that is not the
// state's default.
std::vector<ActionRow> action_rows(const Grammar& g, const Resolution& r,
                                   const std::vector<std::set<int>>& reduce,
                                   const std::vector<int>& defaults);

// The goto rows: the transitions on nonterminals, ascending by state and
// then by nonterminal id.
std::vector<GotoRow> goto_rows(const Grammar& g, const Automaton& a);

} // namespace lr
} // namespace gen

#endif
