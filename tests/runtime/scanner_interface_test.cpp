#include <gtest/gtest.h>

#include "_I_Scanner.h"

namespace {

// A source that only delivers characters keeps every default.
struct CharSource : capi::interfaces::_I_Scanner {
    std::wstring name;
    int next(std::wstring* text) override {
        *text = L"x";
        return 'x';
    }
    bool eof() override { return true; }
    bool available() override { return false; }
    std::wstring& source() override { return name; }
    int line() override { return 0; }
    int equivalent(int) override { return -1; }
};

} // namespace

TEST(ScannerInterface, CaseFlagsAndFolding) {
    CharSource s;
    EXPECT_FALSE(s.isUpper());
    EXPECT_FALSE(s.isLower());
    EXPECT_FALSE(s.isCaseSensitive());
    s.setUpper();
    EXPECT_EQ(s.Case(L'a'), L'A');
    EXPECT_EQ(s.Case(L'A'), L'A');
    EXPECT_EQ(s.Case(L'5'), L'5');
    EXPECT_EQ(s.Case(0xE9), 0xE9); // only ASCII letters fold: 0xE9 is a keyword code
    EXPECT_FALSE(s.isCaseSensitive());
    s.setLower();
    EXPECT_EQ(s.Case(L'A'), L'a');
    EXPECT_EQ(s.Case(0xC9), 0xC9);
    EXPECT_FALSE(s.isCaseSensitive());
    s.setCaseSensitive();
    EXPECT_EQ(s.Case(L'a'), L'a');
    EXPECT_EQ(s.Case(L'A'), L'A');
    EXPECT_FALSE(s.isCaseSensitive());
}

TEST(ScannerInterface, NoShorterMatchByDefault) {
    CharSource s;
    EXPECT_EQ(s.shorter_match(), -1);
    EXPECT_EQ(s.shorter_match(65569), -1);
    EXPECT_EQ(s.sma_savepoint(), -1);
    EXPECT_EQ(s.sma_rollback(0), -1);
}
