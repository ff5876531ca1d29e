#ifndef GENERATOR_LEX_LEXREADER_H
#define GENERATOR_LEX_LEXREADER_H

#include "../Source.h"
#include "LexModel.h"

namespace gen {
namespace lex {

// Reads a "%kind lexical" source into the plain model and checks what can be
// checked line by line (names, numbers, references); faults name the line.
//
//   %grammar NAME                      the class name of the grammar
//   %case N                            input_case: 0 as read, 1 upper, 2 lower
//   %functions FILE                    the header declaring the lexer actions
//   %minimise                          merge the states that behave alike
//   %set NAME = SET                    a named set of symbols
//   %define NAME = PATTERN             a named pattern
//   %class ID "NAME" [category N] [level N] = SET
//                                      a character class: its members are
//                                      looked up as ID
//   %symbol ID ["NAME"] [category N] [level N] [reserved | unreserved]
//                                      a terminal row, or an override of one;
//                                      ID may be a bracketed set of ids; a new
//                                      character without NAME is named by itself
//   %ignore ID, %sma ID                rows of the ignorables and sma tables
//   %pin N SAMPLE                      the state SAMPLE reaches is numbered N
//   production N ID NAME [action FUNCTION] [params N]
//                                      reductions row N: delivers ID
//   keyword SPELLING ID [before SET]   a production and its token at once; with
//                                      "before", a right context of one symbol
//   token PRODUCTION = PATTERN [/ CONTEXT] [except PREFIX] [not WORDS]
//   state N : ITEM ; ITEM ...          a declared automaton, state by state:
//                                      SET -> N | accept P | accept-before P |
//                                      backtrack
//   alternatives STATE : P ...         conflicts rows; STATE is "state N" or a
//                                      SAMPLE; P a production or "finish"
//
// Symbols are written 'c' (one character, UTF-8), U+XXXX, #id (decimal or
// 0x hexadecimal) or "text" (its characters in a row); TAB, LF, CR and SP are
// predefined sets. A SAMPLE is a sequence of single symbols. Productions are
// named by number or by a unique name.
//
// Token definitions make a deterministic automaton that keeps every state
// the definitions reach (unless %minimise): where two definitions end in one
// state, the earlier one takes the row. A definition with a right context
// accepts on the backtrack mark where its own text ends, and the states
// where its context is complete back up on the end mark. An "except" prefix
// bars its definition from every state that a text beginning with it reaches;
// a "not" word only from the state that exactly that text reaches. States
// are numbered breadth first from the start state, keys ascending, except
// pinned ones.
LexModel read_lexical(const Source& src);

} // namespace lex
} // namespace gen

#endif
