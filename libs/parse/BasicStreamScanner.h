#ifndef PARSING_BASICSTREAMSCANNER_H
#define PARSING_BASICSTREAMSCANNER_H

#include <istream>
#include <string>

#include "_I_Scanner.h"
#include "signed_widening.h"

namespace parsing {

// Delivers the characters of a stream of CharT, one 16-bit unit per call,
// folded by the case flags. A NUL character ends the input. The stream is not
// owned and must outlive the scanner.
template <class CharT> class BasicStreamScanner : public capi::interfaces::_I_Scanner {
public:
    std::wstring _source; // nothing sets it
    int _line;            // line feeds read
    std::basic_istream<CharT>& str;
    int ch;  // the last id delivered; -1 at the end
    int pos; // reads made before the end was known
    int length;
    bool _eof;

    explicit BasicStreamScanner(std::basic_istream<CharT>& in)
        : _line(0), str(in), ch(-1), pos(0), length(0), _eof(false) {}

    int next(std::wstring* text) override {
        if (!eof()) {
            CharT c = 0;
            str.get(c);
            ch = Case(unit(c)) & 0xFFFF;
            if (ch == 0 || eof()) {
                ch = -1;
                _eof = true;
            }
            ++pos;
            if (ch == 10)
                ++_line;
        } else {
            ch = -1;
            _eof = true;
        }
        if (text)
            text->assign(1, static_cast<wchar_t>(ch == -1 ? 0xFFFF : ch));
        return ch;
    }

    bool eof() override {
        if (str.eof())
            _eof = true;
        return _eof;
    }
    bool available() override { return true; }
    std::wstring& source() override { return _source; }
    int line() override { return _line; }
    int equivalent(int) override { return -1; }

private:
    static wchar_t unit(char c) { return widened_unit(c); }
    static wchar_t unit(wchar_t c) { return c; }
};

} // namespace parsing

#endif
