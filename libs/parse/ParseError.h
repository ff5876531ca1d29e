#ifndef PARSING_PARSEERROR_H
#define PARSING_PARSEERROR_H

#include <memory>
#include <string>

#include "_I_Errno.h"

namespace parsing {

enum ParseErrorType {
    Success = 0,
    Syntax = 1,
    Semantic = 2,
    Type = 3,
    Link = 4,
    Init = 5,
    SemAction = 6,
    warning = 7,
    info = 8
};

// One diagnostic: a finding about a program file (collected by the file's
// Parser) or an internal fault of the runtime (thrown by value). The fields
// are public because the makers stamp _source and _line directly.
class ParseError : public capi::interfaces::_I_Errno {
public:
    std::wstring txt;
    Int4 id;
    Int1 _type;
    std::wstring _source;
    Int4 _line;
    bool _stop;
    bool _reject;
    // The text when it is kept in a store shared by diagnostics with the same
    // text (a Parser keeps its diagnostics so); txt is then empty. describe()
    // and format() read whichever holds the text.
    std::shared_ptr<const std::wstring> shared_txt;

    // A null text makes an empty message. The diagnostic is unstamped:
    // _source stays empty, so format() prints no location.
    ParseError(int code, const wchar_t* text, int type, bool stop, bool reject);
    ParseError(const ParseError&) = default;
    ParseError& operator=(const ParseError&) = default;
    // A diagnostic handed to a parser's store moves its strings there.
    ParseError(ParseError&&) = default;
    ParseError& operator=(ParseError&&) = default;
    ~ParseError() override;

    Int4 code() const override { return id; }
    Int1 type() const { return _type; }
    bool stop() const { return _stop; }
    bool reject() const { return _reject; }
    const std::wstring& describe() const override { return shared_txt ? *shared_txt : txt; }
    const std::wstring& describe(capi::interfaces::_I_Language&) const override {
        return describe();
    }
    const std::wstring& source() const { return _source; }
    Int4 line() const { return _line; }

    // The one-line text of the diagnostic, gcc style: "src:line: error: syntax:msg".
    std::wstring& format(std::wstring& out) const;
    // The same text appended to out.
    void append_format(std::wstring& out) const;
    // The pieces of that text: "src:line:" (nothing for an unstamped
    // diagnostic) appended to out, and the kind, " error: syntax:" and the
    // like; the message, describe(), follows them.
    void append_location(std::wstring& out) const;
    // Whether the text has that location: the diagnostic is stamped.
    bool located() const { return !_source.empty() && _line > 0; }
    const wchar_t* kind_text() const;
};

// Writes the decimal digits of n into the characters before end and returns
// where they begin: a line number without a string of its own, for wide and
// narrow text alike. 20 characters hold any value.
template <class Char> Char* decimal_digits(Char* end, unsigned long n) {
    do {
        *--end = static_cast<Char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    return end;
}

} // namespace parsing

#endif
