// libFuzzer target: every input is written to a file and checked as a
// program file in each pass of one dialect (VORPAK_FUZZ_DIALECT = fixed,
// free or uk101) or of all three. A pass that prints anything outside the
// system's diagnostic form, or reports an exception, aborts the run; crashes,
// hangs, leaks and sanitizer reports are libFuzzer's to catch.

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
    const char* dir = std::getenv("TMPDIR");
    path = std::string(dir && *dir ? dir : "/tmp") + "/vorpak_fuzz_" +
           std::to_string(static_cast<long>(getpid())) + ".bas";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string fault = vorpak_fuzz::check_bytes(bytes, path, passes);
    if (!fault.empty()) {
        std::fprintf(stderr, "vorpak_fuzz: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
