#include "WStringScanner.h"

namespace parsing {

static int length_to_nul(const std::wstring& s) {
    std::size_t n = s.find(L'\0');
    return static_cast<int>(n == std::wstring::npos ? s.size() : n);
}

WStringScanner::WStringScanner(std::wstring& s)
    : _line(0), str(&s), ch(0xFFFF), pos(0), length(length_to_nul(s)) {}

void WStringScanner::swapString(std::wstring& s) {
    str = &s;
    pos = 0;
    ch = 0xFFFF;
    length = length_to_nul(s);
}

// The string may have been shortened since its length was taken; its end
// then ends the input too.
bool WStringScanner::eof() {
    return pos >= length || static_cast<std::size_t>(pos) >= str->size();
}

int WStringScanner::next(std::wstring* text) {
    if (!eof()) {
        ch = static_cast<wchar_t>(Case((*str)[pos]) & 0xFFFF);
        ++pos;
    } else {
        ch = 0xFFFF;
    }
    if (text)
        text->assign(1, ch);
    return static_cast<int>(ch);
}

} // namespace parsing
