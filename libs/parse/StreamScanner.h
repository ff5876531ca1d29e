#ifndef PARSING_STREAMSCANNER_H
#define PARSING_STREAMSCANNER_H

#include <istream>

#include "BasicStreamScanner.h"

namespace parsing {

// Delivers the characters of a narrow stream, one per call. Each byte is
// widened with its sign to a 16-bit unit: 0x80..0xFF become U+FF80..U+FFFF.
// A NUL byte ends the input. The stream is not owned and must outlive it.
class StreamScanner : public BasicStreamScanner<char> {
public:
    explicit StreamScanner(std::istream& in) : BasicStreamScanner(in) {}
};

} // namespace parsing

#endif
