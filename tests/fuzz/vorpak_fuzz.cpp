// libFuzzer target: every input is written to a file and checked as a
// program file in one pass of one dialect (VORPAK_FUZZ_DIALECT = fixed, free
// or uk101) or of all three; the input's first byte picks the pass, so each
// execution pays for one check while a run still reaches every pass. A pass
// that prints anything outside the system's diagnostic form, or reports an
// exception, aborts the run; crashes, hangs, leaks and sanitizer reports are
// libFuzzer's to catch.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "file_check.h"

namespace {

std::vector<vorpak_fuzz::Pass> passes;
std::string path;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* dialect = std::getenv("VORPAK_FUZZ_DIALECT");
    passes = vorpak_fuzz::passes_of(dialect ? dialect : "");
    // Every execution rewrites the file: on a memory file system that costs
    // no disk write (a file cut to nothing and written again is flushed to
    // disk at close by ext4, for one).
    const char* dir = std::getenv("TMPDIR");
    std::string where = dir && *dir ? dir : "";
    if (where.empty())
        where = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    path = where + "/vorpak_fuzz_" + std::to_string(static_cast<long>(getpid())) + ".bas";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string fault =
        vorpak_fuzz::check_bytes(bytes, path, {vorpak_fuzz::pass_of_input(bytes, passes)});
    if (!fault.empty()) {
        std::fprintf(stderr, "vorpak_fuzz: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
