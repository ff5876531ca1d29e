#include "WStreamScanner.h"

namespace parsing {

WStreamScanner::WStreamScanner(std::wistream& in)
    : _line(0), str(in), ch(-1), pos(0), length(0), _eof(false) {}

bool WStreamScanner::eof() {
    if (str.eof())
        _eof = true;
    return _eof;
}

int WStreamScanner::next(std::wstring* text) {
    if (!eof()) {
        wchar_t c = 0;
        str.get(c);
        ch = Case(c) & 0xFFFF;
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
