#ifndef TESTS_PBASIC_REPLAYSCANNER_H
#define TESTS_PBASIC_REPLAYSCANNER_H

#include <string>
#include <vector>

#include "_I_Scanner.h"

// A token source for the statement grammar that replays a list of ids and
// texts, and offers for each token the alternatives that the last lexical
// stage offers: linenum and real-literal-constant for an integer constant,
// rel-op for "=", add-op for the minus token, name for OK. It has no shorter
// matches. Its line is 1 plus the line ends delivered before the current
// token.
class ReplayScanner : public capi::interfaces::_I_Scanner {
public:
    struct Token {
        int id;
        std::wstring text;
    };

    explicit ReplayScanner(std::vector<Token> tokens);

    int next(std::wstring* text) override;
    bool eof() override { return pos >= tokens.size(); }
    bool available() override { return !eof(); }
    std::wstring& source() override { return name; }
    int line() override { return current_line; }
    int equivalent(int order) override;
    int sma_savepoint() override { return 0; }
    int sma_rollback(int) override { return last; }

private:
    std::vector<Token> tokens;
    std::size_t pos = 0;
    int last = -1;
    int current_line = 1;
    int lines_ended = 0;
    std::wstring name = L"test.bas";
};

// Token ids of the statement grammar.
namespace pb {
const int CR = 65568;
const int colon = 65550;
const int name = 65557;
const int integer = 65554;
const int real = 65569;
const int string = 65551;
const int linenum = 65598;
const int line_comment = 65548;
const int whole_data = 65593;
const int OK = 65590;
const int rel_op = 65563;
const int add_op = 65564;
const int mult_op = 65565;
const int power_op = 65566;
const int minus = 201;
const int equals = 61;
} // namespace pb

// Turns a test program into the tokens the last lexical stage would deliver.
// Words are separated by blanks; "\n" is a line end (CR) and text after the
// last "\n" is a last line without one. Keywords (upper case, or lower case
// for a keyword whose text is then kept) become keyword codes, numbers
// integer or real constants, other words names; "REM..." up to the line end
// is one line-comment, "DATA..." up to the line end or ":" one
// whole-data-stmt; "=" is 61, "-" the
// minus token, "+" add-op, "*" and "/" mult-op, "^" power-op, "<" and ">"
// rel-op; a word in double quotes is a string constant.
std::vector<ReplayScanner::Token> tokenize(const std::string& program);

#endif
