#ifndef GENERATOR_LEX_LEXMODEL_H
#define GENERATOR_LEX_LEXMODEL_H

#include <map>
#include <set>
#include <string>
#include <vector>

#include "../TableSet.h"
#include "Pattern.h"

// The plain model of a lexical grammar source, as LexReader reads it. Nothing
// here is computed: the construction passes take it as their input.
namespace gen {
namespace lex {

// A terminal row declared by "%symbol", adding a symbol or overriding the
// name, category, level or reserved flag the tables would give it.
struct SymbolDecl {
    int line;
    int id;
    Text name;
    bool has_name = false;
    int category = -1; // -1: keep the derived value
    int level = -1;
    int reserved = -1;
};

// "%class": a character class. Its members are looked up as the class id.
struct ClassDecl {
    int line;
    int id;
    Text name;
    int category = 0;
    int level = 5;
    std::set<int> members;
};

// One row of the reductions table; its position is its number.
struct ProductionDecl {
    int line;
    int id; // the id the stage delivers
    std::string name;
    std::string action; // lexer action function, empty for none
    int parameters = 1;
};

// "token": a pattern that the automaton accepts as a production. With a right
// context, the token is accepted only when the context follows; the context
// is read again as the start of the next token. With "except", a text that
// begins with a match of that pattern is never this token. With "not", a
// text that is exactly a match of that pattern is never this token, while a
// longer text that begins with one may be.
struct TokenDecl {
    int line;
    int production;
    Pattern pattern;
    bool has_context = false;
    Pattern context;
    bool has_except = false;
    Pattern except;
    bool has_not = false;
    Pattern not_words;
};

// One item of a "state" line of a declared automaton.
struct StateItem {
    enum Kind { shift, accept, lookahead_accept, backtrack };
    Kind kind;
    std::set<int> symbols; // shift: the symbols (before classes) it is keyed by
    int value = 0;         // shift: target state; accepts: production
};

struct StateDecl {
    int line;
    int number;
    std::vector<StateItem> items;
};

// A place in the automaton: a declared state number, or the state reached
// from the start state by a sample input.
struct StateRef {
    int line;
    int number = -1; // >= 0: a declared state
    std::vector<int> sample;
};

// "alternatives": the conflicts rows of one state, in order. A production
// number, or -1 for a finish row.
struct AlternativesDecl {
    StateRef where;
    std::vector<int> productions;
};

// "%pin": the number a state of a generated automaton must carry.
struct PinDecl {
    StateRef where;
    int number;
};

struct LexModel {
    std::string grammar;
    int input_case = 0;
    std::string functions_header;
    bool minimise = false;

    std::vector<SymbolDecl> symbols;
    std::vector<ClassDecl> classes;
    std::vector<ProductionDecl> productions;
    std::vector<TokenDecl> tokens;
    std::vector<StateDecl> states;
    std::vector<AlternativesDecl> alternatives;
    std::vector<PinDecl> pins;
    std::vector<int> ignorables;
    std::vector<int> sma;
    // Every symbol the patterns or state lines read, before classes: these
    // are the grammar's input symbols.
    std::set<int> inputs;
};

} // namespace lex
} // namespace gen

#endif
