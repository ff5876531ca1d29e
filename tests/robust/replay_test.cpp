#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "file_check.h"

namespace fs = std::filesystem;

namespace {

// The regular files below dir, in name order.
std::vector<fs::path> files_under(const fs::path& dir) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file() && it->path().filename().string()[0] != '.')
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string read_bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// A scratch file private to this test process.
std::string scratch_path() {
    return (fs::temp_directory_path() / ("vorpak_replay_" + std::to_string(getpid()) + ".bas"))
        .string();
}

// Feeds every file below dir to every pass; each fault names the file.
void replay(const fs::path& dir, std::size_t at_least) {
    const std::vector<fs::path> files = files_under(dir);
    ASSERT_GE(files.size(), at_least) << "inputs under " << dir;
    const std::string path = scratch_path();
    for (const fs::path& file : files) {
        const std::string fault =
            vorpak_fuzz::check_bytes(read_bytes(file), path, vorpak_fuzz::all_passes());
        EXPECT_EQ(fault, "") << "input " << file.string();
    }
    fs::remove(path);
}

TEST(FuzzFindings, EveryFindingChecksSoundlyInEveryPass) {
    replay(VORPAK_FINDINGS_DIR, 1);
}

// Hand-made inputs at the edges of the readers and stages: byte order marks,
// NUL, stray and over-long bytes, units 0xFFFF and 0xFFFE, every keyword code
// as a character, long lines, quote runs in DATA, lines without numbers.
TEST(EdgeInputs, EveryInputChecksSoundlyInEveryPass) {
    replay(VORPAK_EDGE_DIR, 10);
}

TEST(Corpus, EveryListingChecksSoundlyInEveryPass) {
    replay(VORPAK_CORPUS_DIR, 200);
}

// The fuzz target runs one pass per input, picked by its first byte: the 256
// first bytes reach every pass of each dialect.
TEST(FuzzPass, TheFirstByteReachesEveryPassOfEachDialect) {
    for (const char* dialect : {"fixed", "free", "uk101", ""}) {
        const std::vector<vorpak_fuzz::Pass> passes = vorpak_fuzz::passes_of(dialect);
        std::vector<bool> reached(passes.size(), false);
        for (int first = 0; first < 256; ++first) {
            const std::string input = std::string(1, static_cast<char>(first)) + "0 END\n";
            const vorpak_fuzz::Pass& pass = vorpak_fuzz::pass_of_input(input, passes);
            reached[static_cast<std::size_t>(&pass - passes.data())] = true;
        }
        for (std::size_t i = 0; i < passes.size(); ++i)
            EXPECT_TRUE(reached[i]) << "dialect \"" << dialect << "\": no first byte picks "
                                    << vorpak_fuzz::describe(passes[i]);
        EXPECT_EQ(&passes[0], &vorpak_fuzz::pass_of_input("", passes))
            << "dialect \"" << dialect << "\": an empty input";
    }
}

// The judge itself: output that breaks the form is caught, with the line.
TEST(Judge, RejectsOutputOutsideTheDiagnosticForm) {
    struct Row {
        int status;
        const wchar_t* wide;
        const char* fault; // a part of the expected fault, or "" for none
    };
    const Row rows[] = {
        {0, L"", ""},
        {0, L"f.bas:2: warning: Long Line exceeds 255 columns.\n", ""},
        {-1, L"f.bas:1: error: syntax:Expected :\":\".\n\nParsed with Errors: f.bas\n", ""},
        {-1, L"f.bas:1: error: semantic:x\n\nParsed with Errors: f.bas\n", ""},
        {-1, L"f.bas:3: error: syntax:x\n\nParsed with Errors: f.bas\n", "names line 3"},
        {-1, L"f.bas:0: error: syntax:x\n\nParsed with Errors: f.bas\n", "names line 0"},
        {-1, L" error: syntax:x\n\nParsed with Errors: f.bas\n", "file name"},
        {-1, L"f.bas:1: oops\n\nParsed with Errors: f.bas\n", "diagnostic kind"},
        {-1, L"exception:Lexical Analysis Error\n", "exception"},
        {-1, L"f.bas:1: error: syntax:x\nParsed with Errors: f.bas\n", "without the empty line"},
        {-1, L"f.bas:1: error: syntax:x\n", "without the trailer"},
        {0, L"f.bas:1: error: syntax:x\n", "passed but errors"},
        {-1, L"f.bas:1: error: syntax:x\n\nParsed with Errors: f.bas\nf.bas:1: info:y\n",
         "follows the trailer"},
        {0, L"f.bas:1: warning: x", "line end"},
    };
    for (const Row& row : rows) {
        vorpak_fuzz::Outcome outcome;
        outcome.status = row.status;
        outcome.wide = row.wide;
        const std::string fault = vorpak_fuzz::judge(outcome, "f.bas", 2);
        if (*row.fault == 0)
            EXPECT_EQ(fault, "") << "status " << row.status;
        else
            EXPECT_NE(fault.find(row.fault), std::string::npos)
                << "status " << row.status << ": got \"" << fault << "\", expected a fault with \""
                << row.fault << "\"";
    }
    vorpak_fuzz::Outcome c_error;
    c_error.c_error = "Internal Error While Restoring the Stack on SMA.\n";
    EXPECT_NE(vorpak_fuzz::judge(c_error, "f.bas", 1).find("C standard error"), std::string::npos);
}

// Lines are counted in the decoded text, where the reader counts them.
TEST(Judge, CountsTheLinesTheReaderSees) {
    struct Row {
        const char* bytes;
        long lines;
    };
    const Row rows[] = {
        {"", 0},
        {"10 END", 1},
        {"10 END\n20 END\n", 2},
        {"10 PRINT\xc0\x8a"
         "20 END\n",
         2},                 // an over-long LF ends a line
        {"1\xe0\n2\n", 1},   // a lead byte takes the LF after it
        {"\xef\xbb\xbf", 0}, // a byte order mark alone is no text
    };
    for (const Row& row : rows)
        EXPECT_EQ(vorpak_fuzz::count_lines(row.bytes), row.lines)
            << "bytes \"" << row.bytes << "\"";
}

} // namespace
