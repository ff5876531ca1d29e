#ifndef TEST_SUPPORT_GENERATOR_BUILD_H
#define TEST_SUPPORT_GENERATOR_BUILD_H

// Grammar sources written by a test and built by a front end of the
// generator.

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "Source.h"
#include "frontends.h"

namespace test_support {

// Writes text to the grammar file `stem`<process id>.grammar in the test's
// temporary directory and answers its path. One file per test process:
// ctest may run tests side by side.
inline std::string temp_grammar(const std::string& stem, const std::string& text) {
    std::string path = ::testing::TempDir() + stem + std::to_string(getpid()) + ".grammar";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Builds the source at path as the generator's main does: the front end,
// then the "%expect" counts. Returns the tables, or throws the fault; counts
// and listing, when not null, receive what the construction reported.
inline gen::TableSet build_grammar(gen::FrontEnd front, const std::string& path,
                                   std::map<std::string, long>* counts = nullptr,
                                   std::string* listing = nullptr) {
    gen::Source src = gen::Source::read(path);
    std::map<std::string, long> c;
    std::ostringstream l;
    gen::TableSet t = front(src, &l, c);
    for (const auto& s : gen::standard_counts(t))
        c.emplace(s.first, s.second);
    gen::check_expectations(src, c);
    if (counts)
        *counts = c;
    if (listing)
        *listing = l.str();
    return t;
}

} // namespace test_support

#endif
