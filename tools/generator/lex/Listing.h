#ifndef GENERATOR_LEX_LISTING_H
#define GENERATOR_LEX_LISTING_H

#include <ostream>

#include "../TableSet.h"
#include "Automaton.h"
#include "LexModel.h"

namespace gen {
namespace lex {

// A readable dump of the built automaton: per state a shortest input that
// reaches it, the token definitions alive there, its rows and alternatives.
void write_listing(std::ostream& out, const LexModel& m, const Automaton& a, const TableSet& t);

} // namespace lex
} // namespace gen

#endif
