#ifndef GENERATOR_LEX_AUTOMATON_H
#define GENERATOR_LEX_AUTOMATON_H

#include <map>
#include <string>
#include <vector>

namespace gen {
namespace lex {

// The marks that key a lexical grammar's accepting and back-up rows.
const int end_mark = -1;
const int backtrack_mark = -34;

// Row actions as the runtime stores them.
const int act_shift = 1;
const int act_reduce = 2;
const int act_finish = 3;
const int act_backtrack = 20;

// What the generator writes as the unread next state of finish and backtrack
// rows.
const int finish_next = -1000;
const int backtrack_next = -1001;

struct AutoRow {
    int action;
    int value; // shift: target state; reduce: production
};

struct AutoState {
    std::map<int, AutoRow> rows; // by key, in the order the table needs them
    std::vector<int> tokens;     // token definitions still alive here (listing)
    std::vector<std::string> notes;
};

// A deterministic lexical automaton; state 0 is the start state.
struct Automaton {
    std::vector<AutoState> states;

    // The state reached from the start state by the keys, or -1.
    int walk(const std::vector<int>& keys) const;
    // The same automaton with state s renamed to number[s].
    Automaton renumbered(const std::vector<int>& number) const;
    // One shortest key sequence from the start state to every state.
    std::vector<std::vector<int>> shortest_paths() const;
};

} // namespace lex
} // namespace gen

#endif
