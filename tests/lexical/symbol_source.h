#ifndef TESTS_LEXICAL_SYMBOL_SOURCE_H
#define TESTS_LEXICAL_SYMBOL_SOURCE_H

#include <memory>
#include <string>
#include <vector>

#include "LexAn.h"
#include "ParseData.h"
#include "SimpleParsingTable.h"
#include "_I_Scanner.h"

// Symbol ids the fixed-form stages deliver.
enum : int {
    SPACES = 65540,
    CLC2 = 65545, // char-literal-constant2
    LINE_COMMENT = 65548,
    COLON = 65550,
    CLC = 65551, // char-literal-constant
    INT = 65554,
    NAME = 65557,
    SEMI = 65558,
    COMMA = 65559,
    LPAR = 65561,
    RPAR = 65562,
    RELOP = 65563,
    ADDOP = 65564,
    MULTOP = 65565,
    POWOP = 65566,
    CRTOK = 65568,
    REAL = 65569,
    OK = 65590,
    DATA_STMT = 65593, // whole-data-stmt
    LINENUM = 65598,
    MARK_A = 65649,
    MARK_a = 65650,
    MINUS = 0xC9,
};

// One symbol of a stage's input or output: its id and its text.
struct Sym {
    int id;
    std::wstring text;
    bool operator==(const Sym& o) const { return id == o.id && text == o.text; }
};

typedef std::vector<Sym> Syms;

// Each character of s as a symbol of its own.
Syms chars(const std::wstring& s);
// A line as the reader hands it on: its characters, then CR and LF.
Syms line(const std::wstring& s);
Syms operator+(Syms a, const Syms& b);
Syms operator+(Syms a, const Sym& b);

// "id 'text'" for every symbol, for failure messages.
std::string show(const Syms& s);

// What a test's upstream answers besides its symbols: one line of a source
// named "test", and no alternatives. Scanner is the interface it implements.
template <class Scanner> class TestSource : public Scanner {
public:
    bool available() override { return !this->eof(); }
    std::wstring& source() override { return name_; }
    int line() override { return 1; }
    int equivalent(int) override { return -1; }

private:
    std::wstring name_ = L"test";
};

// An upstream that delivers a fixed list of symbols.
class SymbolSource : public TestSource<capi::interfaces::_I_Scanner> {
public:
    explicit SymbolSource(Syms symbols) : symbols_(std::move(symbols)) {}
    int next(std::wstring* text) override;
    bool eof() override { return pos_ >= symbols_.size(); }

private:
    Syms symbols_;
    std::size_t pos_ = 0;
};

// One stage of a grammar over a list of symbols.
class Stage {
public:
    Stage(ParseData& grammar, Syms input, void* context = nullptr);
    parsing::LexAn& lex() { return *lex_; }
    // Every token up to the end of the input.
    Syms all();
    // The next token, or {-1, ""} at the end.
    Sym next();
    // The text string the stage writes into (shorter matches too).
    const std::wstring& text() const { return text_; }

private:
    parsing::SimpleParsingTable table_;
    SymbolSource source_;
    std::unique_ptr<parsing::LexAn> lex_;
    std::wstring text_;
};

#endif
