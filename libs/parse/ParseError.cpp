#include "ParseError.h"

namespace parsing {

ParseError::ParseError(int code, const wchar_t* text, int type, bool stop, bool reject)
    : txt(text ? text : L""), id(code), _type(static_cast<Int1>(type)), _line(0), _stop(stop),
      _reject(reject) {}

ParseError::~ParseError() {}

std::wstring& ParseError::format(std::wstring& out) const {
    out.clear();
    if (!_source.empty() && _line > 0) {
        out += _source;
        out += L':';
        out += std::to_wstring(_line);
        out += L':';
    }
    switch (_type) {
    case Semantic:
        out += L" error: semantic:";
        break;
    case Type:
        out += L" error: type:";
        break;
    case Link:
        out += L" error: link:";
        break;
    case warning:
        out += L" warning: ";
        break;
    case info:
        out += L" info:";
        break;
    default:
        out += L" error: syntax:";
        break;
    }
    out += describe();
    return out;
}

} // namespace parsing
