#ifndef VORPAK_FILE_CHECK_H
#define VORPAK_FILE_CHECK_H

#include <string>
#include <vector>

// Checks one program file the way the vorpak driver does (reader, lexical
// stages, parser, DATA check, message pruning, printing) and judges what it
// printed. The grammars, their tables and the semantic host are built once
// per process and kept, as the driver keeps them for a run; everything per
// file is built and freed per call. Used by the fuzz target and by the tests
// that replay its findings.

namespace vorpak_fuzz {

// One way of checking a file: its dialect (a source_form value), its case
// option (-1 none, 0 "case", 1 "no-case"), the debug level and the long-line
// warning switch.
struct Pass {
    int form;
    int case_option;
    int debug;
    bool warnings;
};

// The passes that every input runs through: each dialect, each case option
// where the dialect takes one, the traces and the long-line warning.
const std::vector<Pass>& all_passes();
// The passes of one dialect, by its option word ("fixed", "free", "uk101");
// every pass for an unknown or empty word.
std::vector<Pass> passes_of(const std::string& dialect);

// Describes a pass as its command-line options, for messages.
std::string describe(const Pass& pass);

struct Outcome {
    int status = 0;      // 0 the file passed, -1 it failed
    std::wstring wide;   // what went to the wide standard error stream
    std::string narrow;  // what went to the narrow standard error stream
    std::string c_error; // what went to the C standard error stream
};

// Checks the file at path (its name as diagnostics print it) in one pass.
// The standard streams are redirected for the time of the call; trace output
// is discarded after it went through the UTF-8 conversion.
Outcome check_file(const std::string& path, const Pass& pass);

// An empty string when every line of the outcome is in the system's form, a
// description of the first fault otherwise. lines is the number of physical
// lines of the file.
std::string judge(const Outcome& outcome, const std::string& path, long lines);

// Writes bytes to path and checks it in every pass given; an empty string when
// every pass passed judgement, else what went wrong and in which pass.
std::string check_bytes(const std::string& bytes, const std::string& path,
                        const std::vector<Pass>& passes);

// The one pass of passes (not empty) that an input of the fuzz target runs:
// its first byte, modulo the number of passes, picks it; an empty input runs
// the first. The whole input is still the file, so a finding replays as it is.
const Pass& pass_of_input(const std::string& bytes, const std::vector<Pass>& passes);

// The number of physical lines the reader sees in bytes, after decoding.
long count_lines(const std::string& bytes);

} // namespace vorpak_fuzz

#endif
