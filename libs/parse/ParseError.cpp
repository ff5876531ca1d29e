#include "ParseError.h"

namespace parsing {

ParseError::ParseError(int code, const wchar_t* text, int type, bool stop, bool reject)
    : txt(text ? text : L""), id(code), _type(static_cast<Int1>(type)), _line(0), _stop(stop),
      _reject(reject) {}

ParseError::~ParseError() {}

std::wstring& ParseError::format(std::wstring& out) const {
    out.clear();
    append_format(out);
    return out;
}

void ParseError::append_format(std::wstring& out) const {
    append_location(out);
    out += kind_text();
    out += describe();
}

void ParseError::append_location(std::wstring& out) const {
    if (!located())
        return;
    out += _source;
    out += L':';
    wchar_t digits[20];
    out.append(decimal_digits(digits + 20, static_cast<unsigned long>(_line)), digits + 20);
    out += L':';
}

const wchar_t* ParseError::kind_text() const {
    switch (_type) {
    case Semantic:
        return L" error: semantic:";
    case Type:
        return L" error: type:";
    case Link:
        return L" error: link:";
    case warning:
        return L" warning: ";
    case info:
        return L" info:";
    default:
        return L" error: syntax:";
    }
}

} // namespace parsing
