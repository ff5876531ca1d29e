#ifndef GENERATOR_LR_LRGRAMMAR_H
#define GENERATOR_LR_LRGRAMMAR_H

#include <map>
#include <set>
#include <string>
#include <vector>

#include "Source.h"
#include "TableSet.h"

// The plain model of an LR grammar source: its symbols, its productions and
// its settings, as read and checked from the source. The construction passes
// read only this model, never the source text.
//
// An "%kind lr" source holds, one per line ("#" lines are comments):
//   %grammar <name>                 class name and file prefix
//   %functions <header>             declares the semantic actions (optional)
//   %input-case sensitive|upper|lower
//   %start <symbol>                 its one production is a row, never reduced
//   %symbol <id> <name> <category> <level> reserved|- [as <label>]
//                                   the vocabulary, ascending by id; names with
//                                   blanks or punctuation stand in double quotes
//   <row> <left> <alt> : <right side> [| <right side>]... [!before <t>...]
//                                   [!action <function>] [!category <n>]
//   - <left> [<alt>] : <symbol> [| <symbol>]...       unit alternatives
//                                   a right-hand position { a b } is a group
//   %level <n> left|right|nonassoc|prefix [<token>] : <row>...
//   %message <id> "<text>"          messages below the state messages
//   %production-error <symbol> <message id>
//   %state-messages-from <id>       first id of the "Expected" messages
//   %message-name <terminal> "<name>"|none
//   %alternatives <terminal>...     offered by the scanner for other tokens
//   %sma <terminal>...              open to a shorter match
//   %ignore <terminal>...
//   %expect <count> <value>         checked by the common driver
//   %expect-row <state> <terminal> shift <n>|reduce <row>|finish|none
//   %expect-default <state> <row>|none
//   %expect-defaults <state>:<row>... (together: exactly the default states)
//   %expect-goto <state> <nonterminal> <target>|none
//   %expect-message <id> "<text>"
//   %expect-state-message <state> <id>|none
//   %expect-recovery <state>...     exactly the states that shift the error mark
namespace gen {
namespace lr {

// The marks every LR grammar of the system shares.
const int end_mark = -1;
const int error_mark = -4;

struct Symbol {
    int id = 0;
    Text name;          // as the symbol table stores it
    std::string label;  // how productions and directives refer to it
    short category = 0; // stored, never read by the construction
    int level = 0;      // stored, never read by the construction
    bool reserved = false;
    int line = 0;
};

enum class Assoc { none, left, right, nonassoc };

// One right-hand position: the symbols it accepts. A group {a, b} has
// several members; a plain position has one.
typedef std::vector<int> Position;
typedef std::vector<Position> RightSide;

// A production of the source: a row of the reductions table (row >= 0), or a
// unit alternative (row -1: one right-hand symbol, no action, no restriction),
// which never becomes a row.
struct Production {
    int row = -1;
    int left = 0;
    int alt = 0;
    // A row may have several right sides of one length; reducing any of them
    // reduces the row. A unit alternative has exactly one.
    std::vector<RightSide> sides;
    bool restricted = false;
    std::set<int> only_before; // terminals, when restricted
    std::string action;        // semantic action function, empty for none
    short category = 0;
    int level = 0; // precedence level, 0 for none
    Assoc assoc = Assoc::none;
    int line = 0;

    bool unit() const { return row < 0; }
    int length() const { return static_cast<int>(sides.front().size()); }
};

// Telling rows declared in the source; checked once the tables stand.
struct Expectation {
    int line = 0;
    std::vector<std::string> words; // the directive's words, head first
};

struct Settings {
    std::string grammar;
    int input_case = 0;
    std::string functions_header;
    int start = 0; // the start symbol
    // How "Expected" messages name a terminal. A terminal without an entry is
    // named by its symbol-table name; an entry without text names it not at all.
    std::map<int, std::pair<bool, Text>> message_names;
    std::vector<MessageRow> fixed_messages; // ids below the state messages
    int first_state_message = 0;
    std::vector<PairRow> production_errors; // symbol -> fixed message id
    // Terminals that the last lexical stage offers as alternatives of other
    // tokens: a state that shifts one of them keeps its reductions as rows,
    // so that it answers the other token with an error and the parser goes
    // on to try the alternative.
    std::set<int> alternatives;
    std::set<int> sma;
    std::set<int> ignorables;
};

struct Grammar {
    std::string path;
    std::vector<Symbol> symbols;         // ascending by id
    std::vector<Production> productions; // rows first in row order, then units
    int rows = 0;                        // productions[0 .. rows-1] are the rows
    Settings settings;
    // Token precedence: the level and associativity of a terminal, when any.
    std::map<int, std::pair<int, Assoc>> token_levels;
    std::vector<Expectation> expectations;

    std::set<int> nonterminals;     // left sides of any production
    std::set<int> row_nonterminals; // left sides of at least one row
    std::set<int> terminals;        // symbols used in productions or restrictions, not left sides
    std::map<int, std::vector<int>> by_left; // production indexes of each left side

    const Symbol& symbol(int id) const;
    bool is_terminal(int id) const { return terminals.count(id) != 0; }
    // The symbol a label names; faults at the given source line when none.
    int lookup(const std::string& label, int line) const;
    // A readable name for listings and faults.
    std::string label(int id) const;
    int start_production() const;

    [[noreturn]] void fault(int line, const std::string& message) const;

    std::map<std::string, int> by_label;
    std::set<std::string> ambiguous; // labels that name more than one symbol
};

// Reads and checks an "%kind lr" source.
Grammar read_grammar(const Source& src);

} // namespace lr
} // namespace gen

#endif
