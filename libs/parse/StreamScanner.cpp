#include "StreamScanner.h"

namespace parsing {

StreamScanner::StreamScanner(std::istream& in)
    : _line(0), str(in), ch(-1), pos(0), length(0), _eof(false) {}

bool StreamScanner::eof() {
    if (str.eof())
        _eof = true;
    return _eof;
}

int StreamScanner::next(std::wstring* text) {
    if (!eof()) {
        char c = 0;
        str.get(c);
        const unsigned char byte = static_cast<unsigned char>(c);
        const wchar_t wide = static_cast<wchar_t>(byte < 0x80 ? byte : 0xFF00 | byte);
        ch = Case(wide) & 0xFFFF;
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

} // namespace parsing
