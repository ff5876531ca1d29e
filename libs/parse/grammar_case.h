#ifndef PARSING_GRAMMAR_CASE_H
#define PARSING_GRAMMAR_CASE_H

#include "_I_Scanner.h"

namespace parsing {

// Sets a parser's scanner to fold as the grammar's tables ask: to lower case,
// else to upper case, else not at all. Table is a ParsingTable or an
// FSAParsingTable.
template <class Table> void fold_as_grammar(Table& table, capi::interfaces::_I_Scanner& scanner) {
    if (table.LowerCase())
        scanner.setLower();
    else if (table.UpperCase())
        scanner.setUpper();
    else
        scanner.setCaseSensitive();
}

} // namespace parsing

#endif
