// libFuzzer target for the FSA engine: every input is a small grammar, a
// token string and the engine's switches (see fsa_case.h). A run that finds
// the engine out of step aborts; crashes, hangs, leaks and sanitizer reports
// are libFuzzer's to catch.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fsa_case.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string fault = fsa_fuzz::run_case(data, size);
    if (!fault.empty()) {
        std::fprintf(stderr, "vorpak_fsa_fuzz: %s\n", fault.c_str());
        std::abort();
    }
    return 0;
}
