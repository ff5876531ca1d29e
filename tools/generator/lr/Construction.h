#ifndef GENERATOR_LR_CONSTRUCTION_H
#define GENERATOR_LR_CONSTRUCTION_H

#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "Automaton.h"
#include "Conflicts.h"
#include "Lookahead.h"
#include "StateMessages.h"

namespace gen {
namespace lr {

// Everything the passes produced for one grammar, kept together for the
// table set, the listing and the checks of the source's expectations.
struct Construction {
    Grammar grammar;
    Automaton automaton;
    Lookahead lookahead;
    Resolution resolution;
    std::vector<std::set<int>> reduce;
    std::vector<int> defaults; // per state: default row or -1
    std::vector<ActionRow> srs;
    std::vector<GotoRow> gotos;
    StateMessages messages;
};

// Runs the passes in order over a read grammar.
Construction construct(Grammar g);

// Counts beyond the standard ones, for "%expect".
std::map<std::string, long> extra_counts(const Construction& c);

// Checks the "%expect-..." lines: telling rows, gotos, defaults, messages.
void check_telling_rows(const Construction& c);

// States with their items, rows, default, gotos and message.
void write_listing(const Construction& c, std::ostream& out);

} // namespace lr
} // namespace gen

#endif
