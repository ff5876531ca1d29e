// Every input that fuzzing the FSA engine found at fault, replayed: each
// must now run to its end soundly (a run that does not end fails by the
// test's time limit).

#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fsa_case.h"

namespace {

std::vector<std::string> findings() {
    std::vector<std::string> names;
    if (DIR* dir = opendir(FSA_FINDINGS_DIR)) {
        while (dirent* e = readdir(dir))
            if (e->d_name[0] != '.')
                names.push_back(e->d_name);
        closedir(dir);
    }
    return names;
}

} // namespace

TEST(FsaFuzzFindings, EveryFindingRunsSoundly) {
    std::vector<std::string> names = findings();
    ASSERT_FALSE(names.empty()) << "no findings in " << FSA_FINDINGS_DIR;
    for (const std::string& name : names) {
        std::ifstream file(std::string(FSA_FINDINGS_DIR) + "/" + name, std::ios::binary);
        std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
        EXPECT_EQ(fsa_fuzz::run_case(bytes.data(), bytes.size()), "") << "finding " << name;
    }
}
