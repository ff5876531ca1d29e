#ifndef PARSING_RUNSCANNER_H
#define PARSING_RUNSCANNER_H

#include "_I_Scanner.h"

namespace parsing {

// A scanner that shows the characters it is about to deliver: those from
// run_at up to run_end are what next() would return next, one per call,
// each as its code unit with a one-character text, and a reader of the
// scanner may take them there instead, by advancing run_at, to the same
// effect. A lexical stage over such a scanner thus reads most characters
// without a call; where the run ends (empty when both are equal, as at the
// start) it calls next() and eof() as over any scanner, and next() shows the
// following run. The scanner keeps the characters of a run unchanged until
// its next call.
class RunScanner : public capi::interfaces::_I_Scanner {
public:
    const wchar_t* run_at = nullptr;
    const wchar_t* run_end = nullptr;
};

} // namespace parsing

#endif
