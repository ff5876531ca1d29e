#ifndef PARSING_WSTREAMSCANNER_H
#define PARSING_WSTREAMSCANNER_H

#include <istream>

#include "BasicStreamScanner.h"

namespace parsing {

// Delivers the characters of a wide stream, one 16-bit unit per call. A NUL
// character ends the input. The stream is not owned and must outlive it.
class WStreamScanner : public BasicStreamScanner<wchar_t> {
public:
    explicit WStreamScanner(std::wistream& in) : BasicStreamScanner(in) {}
};

} // namespace parsing

#endif
