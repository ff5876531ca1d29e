#include "LineTokens.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace gen {
namespace lex {

namespace {

bool word_start(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '%';
}

bool word_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '$' ||
           c == '#' || c == '%' || c == '.';
}

bool is_hex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

} // namespace

LineTokens::LineTokens(const Source& src, const SourceLine& line) : src_(src), line_(line.number) {
    scan(line.text);
}

void LineTokens::fault(const std::string& message) const {
    src_.fault(line_, message);
}

void LineTokens::scan(const std::string& t) {
    std::size_t i = 0;
    // Numbers name symbols, states and productions: all of them fit an int.
    auto parse = [&](const std::string& digits, int base) {
        errno = 0;
        long v = std::strtol(digits.c_str(), nullptr, base);
        if (errno == ERANGE || v > 0x7FFFFFFF)
            fault("the number " + digits + " is too large");
        return v;
    };
    auto number_at = [&](std::size_t& k, long& v) {
        std::size_t start = k;
        if (t.compare(k, 2, "0x") == 0 || t.compare(k, 2, "0X") == 0) {
            k += 2;
            std::size_t digits = k;
            while (k < t.size() && is_hex(t[k]))
                ++k;
            if (k == digits)
                fault("hexadecimal number without digits");
            v = parse(t.substr(digits, k - digits), 16);
        } else {
            while (k < t.size() && std::isdigit(static_cast<unsigned char>(t[k])))
                ++k;
            if (k == start)
                fault("number expected");
            v = parse(t.substr(start, k - start), 10);
        }
    };
    std::string raw;
    auto quoted = [&](char close) {
        raw.clear();
        ++i;
        while (i < t.size() && t[i] != close) {
            if (t[i] == '\\' && i + 1 < t.size())
                ++i;
            raw += t[i++];
        }
        if (i >= t.size())
            fault(std::string("unclosed ") + close);
        ++i;
        return utf16(raw);
    };
    while (i < t.size()) {
        char c = t[i];
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        LineToken tok;
        if (c == '\'') {
            Text u = quoted('\'');
            if (u.size() != 1)
                fault("a quoted character must be exactly one character");
            tok.kind = LineToken::symbol;
            tok.value = u[0];
            tok.text = "'";
        } else if (c == '"') {
            tok.kind = LineToken::string;
            tok.units = quoted('"');
            tok.text = raw;
        } else if (c == 'U' && i + 2 < t.size() && t[i + 1] == '+' && is_hex(t[i + 2])) {
            std::size_t k = i + 2;
            while (k < t.size() && is_hex(t[k]))
                ++k;
            tok.kind = LineToken::symbol;
            tok.value = parse(t.substr(i + 2, k - i - 2), 16);
            if (tok.value > 0xFFFF)
                fault("a character is one 16-bit unit: " + t.substr(i, k - i));
            tok.text = t.substr(i, k - i);
            i = k;
        } else if (c == '#') {
            std::size_t k = i + 1;
            tok.kind = LineToken::symbol;
            number_at(k, tok.value);
            tok.text = t.substr(i, k - i);
            i = k;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            std::size_t k = i;
            tok.kind = LineToken::number;
            number_at(k, tok.value);
            tok.text = t.substr(i, k - i);
            i = k;
        } else if (word_start(c)) {
            std::size_t k = i;
            // A "-" before ">" or a blank, and a "." before ".", end the word.
            auto ends_word = [&](std::size_t at) {
                char after = at + 1 < t.size() ? t[at + 1] : ' ';
                return (t[at] == '-' && (after == '>' || after == ' ')) ||
                       (t[at] == '.' && (after == '.' || after == ' '));
            };
            while (k < t.size() && word_char(t[k]) && !ends_word(k))
                ++k;
            tok.kind = LineToken::word;
            tok.text = t.substr(i, k - i);
            i = k;
        } else if (t.compare(i, 2, "->") == 0 || t.compare(i, 2, "..") == 0) {
            tok.kind = LineToken::punct;
            tok.text = t.substr(i, 2);
            i += 2;
        } else if (std::strchr("[]()|*+?/=;:,-", c)) {
            tok.kind = LineToken::punct;
            tok.text = std::string(1, c);
            ++i;
        } else {
            fault(std::string("unexpected character '") + c + "'");
        }
        tokens_.push_back(tok);
    }
    LineToken end;
    end.kind = LineToken::end;
    end.text = "end of line";
    tokens_.push_back(end);
}

const LineToken& LineTokens::peek(std::size_t ahead) const {
    std::size_t p = pos_ + ahead;
    return p < tokens_.size() ? tokens_[p] : tokens_.back();
}

LineToken LineTokens::take() {
    LineToken t = peek();
    if (pos_ + 1 < tokens_.size())
        ++pos_;
    return t;
}

bool LineTokens::is_punct(const char* p, std::size_t ahead) const {
    const LineToken& t = peek(ahead);
    return t.kind == LineToken::punct && t.text == p;
}

bool LineTokens::is_word(const char* w, std::size_t ahead) const {
    const LineToken& t = peek(ahead);
    return t.kind == LineToken::word && t.text == w;
}

void LineTokens::expect(const char* p) {
    if (!is_punct(p))
        fault(std::string("expected '") + p + "' before '" + peek().text + "'");
    take();
}

void LineTokens::expect_end() {
    if (!at_end())
        fault("unexpected '" + peek().text + "' at the end of the line");
}

} // namespace lex
} // namespace gen
