#include "DataStringScanner.h"

#include "symbol_text.h"

namespace parsing {

DataStringScanner::DataStringScanner(std::wstring& text) : _line(0), hwrap(L'"') {
    restart(text);
}

DataStringScanner::~DataStringScanner() {}

void DataStringScanner::swapString(std::wstring& text) {
    restart(text);
}

void DataStringScanner::restart(std::wstring& text) {
    str = &text;
    pos = 0;
    ch = static_cast<wchar_t>(0xFFFF);
    const std::size_t nul = text.find(L'\0');
    length = static_cast<int>(nul == std::wstring::npos ? text.size() : nul);
    closed_quotes = true;
    closed_dquotes = true;
}

wchar_t DataStringScanner::Case(wchar_t c) {
    // Only ASCII letters move, like every case mapping of the system.
    if (_upper && c >= L'a' && c <= L'z')
        return static_cast<wchar_t>(c - L'a' + L'A');
    if (!_upper && _lower && c >= L'A' && c <= L'Z')
        return static_cast<wchar_t>(c - L'A' + L'a');
    return c;
}

int DataStringScanner::next(std::wstring* text) {
    if (eof()) {
        ch = static_cast<wchar_t>(0xFFFF);
        if (text)
            text->assign(1, ch);
        return -1;
    }
    const std::wstring& s = *str;
    ch = Case(s.at(pos));
    if (pos > 0 && pos < length) {
        const wchar_t c = s[pos];
        const bool doubled = pos + 1 < length && s[pos + 1] == c;
        if (c == L'\'')
            closed_quotes = closed_quotes ? false : !doubled;
        else if (c == L'"')
            closed_dquotes = closed_dquotes ? false : !doubled;
    }
    ++pos;
    if (text)
        set_symbol_text(*text, ch);
    return static_cast<int>(static_cast<unsigned>(ch) & 0xFFFFu);
}

} // namespace parsing
