#ifndef PARSING_STREAMSCANNER_H
#define PARSING_STREAMSCANNER_H

#include <istream>
#include <string>

#include "_I_Scanner.h"

namespace parsing {

// Delivers the characters of a narrow stream, one per call. Each byte is
// widened with its sign to a 16-bit unit: 0x80..0xFF become U+FF80..U+FFFF.
// A NUL byte ends the input. The stream is not owned and must outlive it.
class StreamScanner : public capi::interfaces::_I_Scanner {
public:
    std::wstring _source; // nothing sets it
    int _line;            // line feeds read
    std::istream& str;
    int ch;  // the last id delivered; -1 at the end
    int pos; // reads made before the end was known
    int length;
    bool _eof;

    explicit StreamScanner(std::istream& in);

    int next(std::wstring* text) override;
    bool eof() override;
    bool available() override { return true; }
    std::wstring& source() override { return _source; }
    int line() override { return _line; }
    int equivalent(int) override { return -1; }
};

} // namespace parsing

#endif
