#ifndef GENERATOR_FRONTENDS_H
#define GENERATOR_FRONTENDS_H

#include <map>
#include <ostream>
#include <string>

#include "Source.h"
#include "TableSet.h"

namespace gen {

// A front end reads a grammar source of its kind and builds the tables.
// listing, when not null, receives a readable dump of the automaton; counts
// receives any counts of its own beyond standard_counts() for "%expect".
typedef TableSet (*FrontEnd)(const Source& src, std::ostream* listing,
                             std::map<std::string, long>& counts);

// "%kind lr": an LR grammar (productions, precedence, look-ahead limits).
TableSet build_lr(const Source& src, std::ostream* listing, std::map<std::string, long>& counts);
// "%kind lexical": a lexical grammar (token definitions, character classes).
TableSet build_lexical(const Source& src, std::ostream* listing,
                       std::map<std::string, long>& counts);

} // namespace gen

#endif
