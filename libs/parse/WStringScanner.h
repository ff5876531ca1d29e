#ifndef PARSING_WSTRINGSCANNER_H
#define PARSING_WSTRINGSCANNER_H

#include <string>

#include "_I_Scanner.h"

namespace parsing {

// Delivers the characters of a wide string up to its first NUL, one 16-bit
// unit per call; past the end it delivers 0xFFFF. The string is not owned
// and must outlive the scanner.
class WStringScanner : public capi::interfaces::_I_Scanner {
public:
    std::wstring _source; // nothing sets it
    int _line;            // nothing changes it
    std::wstring* str;
    wchar_t ch; // the last id delivered; 0xFFFF at the start and the end
    int pos;    // index of the next character
    int length; // characters before the first NUL

    explicit WStringScanner(std::wstring& s);
    void swapString(std::wstring& s);

    int next(std::wstring* text) override;
    bool eof() override;
    bool available() override { return !eof(); }
    std::wstring& source() override { return _source; }
    int line() override { return _line; }
    int equivalent(int) override { return -1; }
};

} // namespace parsing

#endif
