#ifndef GENERATOR_LEX_PATTERN_H
#define GENERATOR_LEX_PATTERN_H

#include <map>
#include <set>
#include <string>
#include <vector>

namespace gen {
namespace lex {

class LineTokens;

// A regular pattern over input symbols (characters and symbol ids), before
// character classes are applied.
struct Pattern {
    enum Kind { set, seq, alt, star, plus, opt };
    Kind kind = seq;            // an empty seq matches the empty input
    std::set<int> symbols;      // set: the symbols any one of which it matches
    std::vector<Pattern> parts; // seq, alt: the parts; star, plus, opt: one part

    static Pattern of_set(std::set<int> s);
    // Every symbol the pattern can read.
    void collect(std::set<int>& out) const;
    // True when the pattern is a plain sequence of single symbols; fills it.
    bool as_sample(std::vector<int>& out) const;
};

// Parses patterns and sets from a line's tokens, resolving the names that
// "%set" and "%define" lines gave:
//
//   pattern := seq ("|" seq)*         seq  := post+ (or nothing at all)
//   post    := atom ("*" | "+" | "?")*
//   atom    := "(" pattern ")" | set | 'c' | U+XXXX | #id | "text" | name
//   set     := "[" item* ("-" item*)? "]"   the second part is taken away
//   item    := symbol (".." symbol)? | "text" (its characters) | set name
class PatternParser {
public:
    std::map<std::string, std::set<int>> sets;
    std::map<std::string, Pattern> defines;

    PatternParser();

    // Stops before "/", ";", ":", "->", "except", "not" or the end of the line.
    Pattern pattern(LineTokens& in) const;
    // A bracketed set, a single symbol, a string or the name of a set.
    std::set<int> set(LineTokens& in) const;
    bool at_pattern_end(const LineTokens& in) const;

private:
    Pattern seq(LineTokens& in) const;
    Pattern post(LineTokens& in) const;
    Pattern atom(LineTokens& in) const;
    std::set<int> bracket(LineTokens& in) const;
    void items(LineTokens& in, std::set<int>& into) const;
};

} // namespace lex
} // namespace gen

#endif
