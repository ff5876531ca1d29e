#ifndef GENERATOR_LR_LOOKAHEAD_H
#define GENERATOR_LR_LOOKAHEAD_H

#include <map>
#include <set>
#include <vector>

#include "LrGrammar.h"

namespace gen {
namespace lr {

struct Lookahead {
    std::set<int> nullable;
    std::map<int, std::set<int>> first;  // by nonterminal
    std::map<int, std::set<int>> follow; // by nonterminal
    // By row: the terminals that may follow the row's left side, or the
    // row's restriction when it has one.
    std::vector<std::set<int>> of_row;
};

// FOLLOW over all productions (rows, every right side, every group member,
// unit alternatives) with the end mark after the start symbol. A restricted
// row passes its restriction, not the follow set of its left side, to what
// ends its right side.
Lookahead lookahead_sets(const Grammar& g);

} // namespace lr
} // namespace gen

#endif
