#ifndef PARSING_WSTREAMSCANNER_H
#define PARSING_WSTREAMSCANNER_H

#include <istream>
#include <string>

#include "_I_Scanner.h"

namespace parsing {

// Delivers the characters of a wide stream, one 16-bit unit per call. A NUL
// character ends the input. The stream is not owned and must outlive it.
class WStreamScanner : public capi::interfaces::_I_Scanner {
public:
    std::wstring _source; // nothing sets it
    int _line;            // line feeds read
    std::wistream& str;
    int ch;  // the last id delivered; -1 at the end
    int pos; // reads made before the end was known
    int length;
    bool _eof;

    explicit WStreamScanner(std::wistream& in);

    int next(std::wstring* text) override;
    bool eof() override;
    bool available() override { return true; }
    std::wstring& source() override { return _source; }
    int line() override { return _line; }
    int equivalent(int) override { return -1; }
};

} // namespace parsing

#endif
