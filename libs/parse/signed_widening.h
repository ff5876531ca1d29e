#ifndef PARSING_SIGNED_WIDENING_H
#define PARSING_SIGNED_WIDENING_H

#include <exception>
#include <string>

namespace parsing {

// A narrow byte as a 16-bit unit, widened with its sign as the readers do:
// 0x80..0xFF become U+FF80..U+FFFF.
inline wchar_t widened_unit(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    return static_cast<wchar_t>(byte < 0x80 ? byte : 0xFF00 | byte);
}

// The text of a standard exception as a diagnostic carries it: each byte of
// what() one widened unit; fallback when what() is null or empty.
inline std::wstring exception_text(const std::exception& e, const std::wstring& fallback) {
    std::wstring text;
    if (const char* what = e.what())
        for (const char* p = what; *p; ++p)
            text += widened_unit(*p);
    return text.empty() ? fallback : text;
}

} // namespace parsing

#endif
