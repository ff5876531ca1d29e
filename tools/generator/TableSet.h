#ifndef GENERATOR_TABLESET_H
#define GENERATOR_TABLESET_H

#include <string>
#include <vector>

// The plain model of one generated grammar: the rows of its sixteen tables,
// in the order the runtime's append calls need them. Every front end of the
// generator (LR, lexical) builds one; the emitter turns it into C++.
namespace gen {

// Wide text as 16-bit code units, as the runtime stores it.
typedef std::u16string Text;

struct TerminalRow {
    int id;
    short category;
    int level;
    bool reserved;
    Text name;
};

struct MessageRow {
    int id;
    Text text;
};

struct EqsRow {
    int hash;
    int terminal;
    int equivalent;
};

struct GotoRow {
    int state;
    int nonterminal;
    int next_state;
};

struct ActionRow {
    int state;
    int terminal;
    int action; // 1 shift, 2 reduce, 3 finish, 20 backtrack
    int next_state;
};

struct DefaultRow {
    int action; // 0: no default
    int next_state;
};

struct PairRow {
    int key;
    int value;
};

struct TripleRow {
    int key;
    int keyb;
    int value;
};

struct ReductionRow {
    std::string action; // name of the action function, empty for none
    short parameters;
    short production_line;
    int state;
    short category;
    int depends_on;
};

enum class ActionKind { lexer, semantic };

struct TableSet {
    std::string grammar;       // class name and file prefix
    bool lr = false;           // LR grammar: error mark set, srs index closed at the end
    bool has_defaults = false; // srs_defaults table present
    int input_case = 0;
    ActionKind action_kind = ActionKind::lexer;
    std::string functions_header; // declares the action functions; empty for none

    std::vector<TerminalRow> terminals;
    std::vector<MessageRow> error_msgs;
    std::vector<EqsRow> eqs;
    int eqs_terms = 0; // distinct terminals of eqs
    int eqs_hashing = 256;
    std::vector<GotoRow> gotos;
    int goto_states = 0;
    std::vector<ActionRow> srs;
    int states = 0;
    std::vector<DefaultRow> defaults; // one per state when has_defaults
    std::vector<ActionRow> conflicts;
    int conflict_states = 0;
    std::vector<PairRow> state_errors;
    std::vector<PairRow> term_errors;
    std::vector<PairRow> productions_errors;
    std::vector<TripleRow> specialized_errors;
    std::vector<ReductionRow> reductions;
    std::vector<PairRow> recovery_states;
    std::vector<PairRow> ignorables;
    std::vector<PairRow> sma;
};

} // namespace gen

#endif
