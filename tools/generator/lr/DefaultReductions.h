#ifndef GENERATOR_LR_DEFAULTREDUCTIONS_H
#define GENERATOR_LR_DEFAULTREDUCTIONS_H

#include <set>
#include <vector>

#include "Conflicts.h"

namespace gen {
namespace lr {

// Per state: the row reduced by default, or -1. A state reduces row p by
// default, and then has no reduce rows, when
//   1. it completes exactly one row, p, and not the start production;
//   2. p has no look-ahead restriction;
//   3. it shifts none of the grammar's alternative terminals: the parser
//      tries an alternative only where a state answers with an error, which
//      a state with a default never does;
//   4. every terminal of p's look-ahead set is shifted by it or is in p's
//      reduce set, so the default reduces on no token that a reduce row
//      would refuse.
// Conditions 3 and 4 see the shifts that survive conflict resolution.
std::vector<int> default_reductions(const Grammar& g, const Lookahead& la, const Resolution& r,
                                    const std::vector<std::set<int>>& reduce);

} // namespace lr
} // namespace gen

#endif
