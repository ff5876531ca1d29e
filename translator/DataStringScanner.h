#ifndef DATASTRINGSCANNER_H
#define DATASTRINGSCANNER_H

#include <string>

#include "_I_Scanner.h"

namespace parsing {

// The character source of the DATA check: the text of one DATA statement,
// read in place from a string that the owner keeps alive and unchanged while
// it is read. The text ends at its first NUL. It has no name; its line is the
// one the owner gives with setLine.
class DataStringScanner final : public capi::interfaces::_I_Scanner {
public:
    explicit DataStringScanner(std::wstring& text);
    ~DataStringScanner() override;

    // Starts again at the beginning of a new text; the line stays.
    void swapString(std::wstring& text);
    void setLine(int line) { _line = line; }

    int next(std::wstring* text) override;
    bool eof() override { return pos >= length; }
    bool available() override { return !eof(); }
    std::wstring& source() override { return _source; }
    int line() override { return _line; }
    int equivalent(int) override { return -1; }
    wchar_t Case(wchar_t c) override;

private:
    std::wstring _source;
    int _line;
    std::wstring* str;
    wchar_t ch;
    // The double quote, kept for the record: nothing reads it.
    [[maybe_unused]] wchar_t hwrap;
    int pos;
    int length;
    // Quote states kept while reading; nothing decides on them.
    bool closed_quotes;
    bool closed_dquotes;

    void restart(std::wstring& text);

    DataStringScanner(const DataStringScanner&) = delete;
    DataStringScanner& operator=(const DataStringScanner&) = delete;
};

} // namespace parsing

#endif
