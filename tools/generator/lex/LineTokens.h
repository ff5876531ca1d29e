#ifndef GENERATOR_LEX_LINETOKENS_H
#define GENERATOR_LEX_LINETOKENS_H

#include <string>
#include <vector>

#include "../Source.h"

namespace gen {
namespace lex {

// One token of a line of a lexical grammar source.
struct LineToken {
    enum Kind {
        word,   // a name: letters, digits, "_", "-", ".", "$", "#", "%"; not a digit first
        number, // decimal, or hexadecimal after "0x"
        symbol, // one symbol: 'c', U+XXXX or #id
        string, // "text": a sequence of characters
        punct,  // [ ] ( ) | * + ? / = ; : , -> .. -
        end
    };
    Kind kind;
    std::string text; // as written (the word, the punctuation)
    long value = 0;   // number, symbol
    Text units;       // string
};

// The tokens of one source line, with a cursor. Faults name the line.
class LineTokens {
public:
    LineTokens(const Source& src, const SourceLine& line);

    const LineToken& peek(std::size_t ahead = 0) const;
    LineToken take();
    bool at_end() const { return peek().kind == LineToken::end; }
    bool is_punct(const char* p, std::size_t ahead = 0) const;
    bool is_word(const char* w, std::size_t ahead = 0) const;
    // Takes the punctuation p or faults with "expected p".
    void expect(const char* p);
    void expect_end();

    [[noreturn]] void fault(const std::string& message) const;
    int line() const { return line_; }

private:
    const Source& src_;
    int line_;
    std::vector<LineToken> tokens_;
    std::size_t pos_ = 0;

    void scan(const std::string& text);
};

} // namespace lex
} // namespace gen

#endif
