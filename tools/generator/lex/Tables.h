#ifndef GENERATOR_LEX_TABLES_H
#define GENERATOR_LEX_TABLES_H

#include "../TableSet.h"
#include "Automaton.h"
#include "KeyMap.h"
#include "LexModel.h"

namespace gen {
namespace lex {

// The symbol table: the marks, every input symbol, every delivered id, the
// classes, then the "%symbol" rows and overrides (the start symbol among them).
std::vector<TerminalRow> terminal_rows(const LexModel& m, const Automaton& a, const Source& src);

// One row per member of a class, ascending by bucket (code mod 256) and code.
std::vector<EqsRow> class_rows(const LexModel& m);

std::vector<ReductionRow> reduction_rows(const LexModel& m);

// The automaton's rows, by state and key.
std::vector<ActionRow> srs_rows(const Automaton& a);

// The whole table set of a lexical grammar.
TableSet lexical_tables(const LexModel& m, const Automaton& a, std::vector<ActionRow> conflicts,
                        const Source& src);

} // namespace lex
} // namespace gen

#endif
