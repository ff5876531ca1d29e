#include "symbol_source.h"

#include <cstdio>

Syms chars(const std::wstring& s) {
    Syms out;
    for (wchar_t c : s)
        out.push_back(Sym{static_cast<int>(c), std::wstring(1, c)});
    return out;
}

Syms line(const std::wstring& s) {
    return chars(s + L"\r\n");
}

Syms operator+(Syms a, const Syms& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Syms operator+(Syms a, const Sym& b) {
    a.push_back(b);
    return a;
}

std::string show(const Syms& s) {
    std::string out;
    for (const Sym& x : s) {
        out += (out.empty() ? "" : ", ") + std::to_string(x.id) + " '";
        for (wchar_t c : x.text) {
            if (c >= 0x20 && c < 0x7F) {
                out += static_cast<char>(c);
            } else {
                char buf[16];
                std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
                out += buf;
            }
        }
        out += "'";
    }
    return "[" + out + "]";
}

int SymbolSource::next(std::wstring* text) {
    const Sym& s = symbols_[pos_++];
    *text = s.text;
    return s.id;
}

Stage::Stage(ParseData& grammar, Syms input, void* context)
    : table_(grammar), source_(std::move(input)),
      lex_(new parsing::LexAn(source_, table_, context)) {}

Sym Stage::next() {
    if (lex_->eof())
        return Sym{-1, L""};
    int id = lex_->next(&text_);
    return Sym{id, text_};
}

Syms Stage::all() {
    Syms out;
    for (Sym s = next(); s.id != -1; s = next())
        out.push_back(s);
    return out;
}
