#ifndef GENERATOR_LR_CONFLICTS_H
#define GENERATOR_LR_CONFLICTS_H

#include <map>
#include <set>
#include <vector>

#include "Automaton.h"
#include "Lookahead.h"

namespace gen {
namespace lr {

struct Resolution {
    // Per state: the shifts that survive, terminal -> target.
    std::vector<std::map<int, int>> shifts;
    // Per state: the shifts that precedence dropped, for the listing.
    std::vector<std::set<int>> dropped;
    // Per state: the rows it completes, the start production left out.
    std::vector<std::vector<int>> completes;
    // Per state: it completes the start production and accepts on the end mark.
    std::vector<bool> accepts;
    // Per row: the terminals it loses in some state, to a shift or to a
    // non-associative operator.
    std::vector<std::set<int>> lost;
};

// Where a state both shifts t and completes a row p whose look-ahead set holds
// t: when both have a precedence level, the higher wins, and at equal levels
// a left-associative row reduces, a right-associative one shifts and a
// non-associative one does neither; without levels the shift wins. Two rows
// completed in one state with a common look-ahead terminal are a fault.
Resolution resolve_conflicts(const Grammar& g, const Automaton& a, const Lookahead& la);

// A row's reduce set: its look-ahead set minus every terminal it loses in
// any state. It is the same in every state that reduces the row by rows.
std::vector<std::set<int>> reduce_sets(const Grammar& g, const Lookahead& la, const Resolution& r);

} // namespace lr
} // namespace gen

#endif
