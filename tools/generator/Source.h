#ifndef GENERATOR_SOURCE_H
#define GENERATOR_SOURCE_H

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "TableSet.h"

namespace gen {

// A fault in a grammar source, already worded as "file:line: message".
struct GrammarFault : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct SourceLine {
    int number; // from 1
    std::string text;
};

// A grammar source as lines, with blank lines and "#" comment lines dropped.
// Directives are lines beginning with "%".
class Source {
public:
    std::string path;
    std::vector<SourceLine> lines;

    static Source read(const std::string& path);

    [[noreturn]] void fault(int line, const std::string& message) const;

    // The words of "%name word..." lines, by name; the first line for each.
    const SourceLine* directive(const std::string& name) const;
    // The value of "%kind": which front end reads the rest.
    std::string kind() const;
};

// Splits a line into blank-separated words; a word in double quotes may
// hold blanks, and \" and \\ inside it stand for the characters.
std::vector<std::string> split_words(const std::string& text);

// Decodes UTF-8 into 16-bit units (a code point above U+FFFF keeps its low 16
// bits, as the readers of the system do).
Text utf16(const std::string& utf8);

// The counts of a built table set under the names "%expect" lines use:
// states, srs_rows, shift_rows, reduce_rows, finish_rows, backtrack_rows,
// goto_rows, goto_states, goto_rows_states (states with goto rows), defaults,
// state_messages, messages, reductions, terminals, eqs_rows, conflict_rows,
// recovery_states.
std::map<std::string, long> standard_counts(const TableSet& t);

// Checks every "%expect name value" line of the source against counts; a
// difference or an unknown name stops the build with both numbers.
void check_expectations(const Source& src, const std::map<std::string, long>& counts);

} // namespace gen

#endif
