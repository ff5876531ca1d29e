#ifndef SYMBOL_TEXT_H
#define SYMBOL_TEXT_H

#include <string>

// The texts that travel with symbols are mostly one character long; these
// set them without the library calls that assigning a string makes.

// text = the one character c. A one-character string takes it in place.
inline void set_symbol_text(std::wstring& text, wchar_t c) {
    if (text.size() == 1) {
        text[0] = c;
    } else {
        text.clear();
        text.push_back(c);
    }
}

// to = from.
inline void copy_symbol_text(std::wstring& to, const std::wstring& from) {
    if (from.size() == 1)
        set_symbol_text(to, from[0]);
    else
        to = from;
}

#endif
