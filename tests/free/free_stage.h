#ifndef TESTS_FREE_FREE_STAGE_H
#define TESTS_FREE_FREE_STAGE_H

#include <string>
#include <vector>

#include "ParseData.h"
#include "_I_Scanner.h"

// Characters one per call, as BasicFreeReader hands them on: every line
// followed by CR LF, then the end mark with an empty text.
class LineSource : public capi::interfaces::_I_Scanner {
public:
    explicit LineSource(const std::vector<std::wstring>& lines);
    int next(std::wstring* text) override;
    bool eof() override { return pos_ >= text_.size(); }
    bool available() override { return !eof(); }
    std::wstring& source() override { return name_; }
    int line() override { return 1; }
    int equivalent(int) override { return -1; }

private:
    std::wstring text_;
    std::size_t pos_ = 0;
    std::wstring name_ = L"test";
};

// The shared lbasic_free grammar of the tests, built once.
ParseData& free_grammar();

// Runs a free-form stage over source lines, each handed on with CR LF as the
// reader does, and describes every token it delivers up to the end mark:
//
//   int[10] FOR[FOR] name[I] '=' minus[-] U+20AC[\u20AC] CR[\r]
//
// A named token shows a short name (int, real, name, str, rem, data, OK, CR,
// rel, add, mult, pow, ":", ";", ",", "(", ")"), a keyword code its
// keyword, minus the code 0xC9, any other id from 128 up its number; the
// token's text follows in brackets. An id below 128 whose text is that one
// character shows as the quoted character alone. With alternatives, the ids
// that equivalent(1), equivalent(2) ... give before the first -1 follow in
// braces: int[10]{linenum real}.
std::string scan(const std::vector<std::wstring>& lines, int input_case = 1,
                 bool alternatives = false);

// The short name of a delivered id, as scan() shows it.
std::string token_name(int id);

#endif
