#include <gtest/gtest.h>

#include <string>

#include "DataStringScanner.h"

namespace {

using parsing::DataStringScanner;

std::wstring drain(DataStringScanner& s) {
    std::wstring out;
    std::wstring text;
    while (!s.eof()) {
        const int c = s.next(&text);
        EXPECT_GE(c, 0);
        EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(c)), text);
        out += static_cast<wchar_t>(c);
    }
    return out;
}

TEST(DataStringScanner, DeliversTheTextUpToItsFirstNul) {
    const std::wstring cases[][2] = {
        {L"DATA 1,\"A,B\",'x'", L"DATA 1,\"A,B\",'x'"},
        {L"DATA \u00E9\uFFE9", L"DATA \u00E9\uFFE9"},
        {std::wstring(L"DATA 1\0 2", 9), L"DATA 1"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        std::wstring text = c[0];
        DataStringScanner s(text);
        s.setLine(40);
        EXPECT_EQ(c[1], drain(s)) << "text of " << c[0].size() << " characters";
        EXPECT_TRUE(s.eof());
        EXPECT_FALSE(s.available());
        std::wstring after = L"unchanged";
        EXPECT_EQ(-1, s.next(&after));
        EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(0xFFFF)), after);
        EXPECT_EQ(40, s.line());
        EXPECT_TRUE(s.source().empty());
    }
}

TEST(DataStringScanner, SwapStringStartsAgainAndKeepsTheLine) {
    std::wstring first = L"DATA 1";
    DataStringScanner s(first);
    s.setLine(10);
    s.next(nullptr);
    std::wstring second = L"DATA 22";
    s.swapString(second);
    EXPECT_EQ(10, s.line());
    EXPECT_EQ(L"DATA 22", drain(s));
    s.setLine(20);
    EXPECT_EQ(20, s.line());
    EXPECT_EQ(-1, s.equivalent(0));
    EXPECT_EQ(-1, s.equivalent(3));
}

} // namespace
