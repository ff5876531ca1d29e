#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "StreamScanner.h"
#include "WStreamScanner.h"
#include "WStringScanner.h"

namespace {

struct Read {
    int id;
    std::wstring text;
    int line;
    bool operator==(const Read& o) const { return id == o.id && text == o.text && line == o.line; }
};

std::ostream& operator<<(std::ostream& os, const Read& r) {
    os << "{" << r.id << ", [";
    for (wchar_t c : r.text)
        os << std::hex << static_cast<unsigned>(c) << std::dec << " ";
    return os << "], line " << r.line << "}";
}

// Reads n symbols regardless of eof, as a consumer that overruns would.
std::vector<Read> read_n(capi::interfaces::_I_Scanner& s, int n) {
    std::vector<Read> out;
    std::wstring text;
    for (int i = 0; i < n; ++i) {
        int id = s.next(&text);
        out.push_back({id, text, s.line()});
    }
    return out;
}

const std::wstring END(1, static_cast<wchar_t>(0xFFFF));

} // namespace

TEST(StreamScanner, DeliversBytesWidenedWithTheirSign) {
    struct Case {
        std::string bytes;
        std::vector<Read> expected;
    } cases[] = {
        {"", {{-1, END, 0}}},
        {"A\nB", {{65, L"A", 0}, {10, L"\n", 1}, {66, L"B", 1}, {-1, END, 1}}},
        {"\xE9", {{0xFFE9, std::wstring(1, static_cast<wchar_t>(0xFFE9)), 0}, {-1, END, 0}}},
        {std::string("A\0B", 3), {{65, L"A", 0}, {-1, END, 0}, {-1, END, 0}}},
    };
    for (const Case& c : cases) {
        std::istringstream in(c.bytes);
        parsing::StreamScanner s(in);
        EXPECT_EQ(c.expected, read_n(s, static_cast<int>(c.expected.size())))
            << "bytes \"" << c.bytes << "\"";
        EXPECT_TRUE(s.eof());
        EXPECT_TRUE(s.available());
        EXPECT_EQ(-1, s.equivalent(1));
    }
}

TEST(StreamScanner, FoldsThroughTheCaseFlags) {
    std::istringstream in("a\xE9");
    parsing::StreamScanner s(in);
    s.setUpper();
    EXPECT_EQ((std::vector<Read>{{65, L"A", 0},
                                 {0xFFE9, std::wstring(1, static_cast<wchar_t>(0xFFE9)), 0}}),
              read_n(s, 2));
}

TEST(WStreamScanner, DeliversWideCharactersUntilEndOrNul) {
    struct Case {
        std::wstring chars;
        std::vector<Read> expected;
    } cases[] = {
        {L"", {{-1, END, 0}}},
        {L"A\nB", {{65, L"A", 0}, {10, L"\n", 1}, {66, L"B", 1}, {-1, END, 1}}},
        {std::wstring(L"A\0B", 3), {{65, L"A", 0}, {-1, END, 0}}},
        {L"\u00e9", {{0xE9, L"\u00e9", 0}, {-1, END, 0}}},
    };
    for (const Case& c : cases) {
        std::wistringstream in(c.chars);
        parsing::WStreamScanner s(in);
        EXPECT_EQ(c.expected, read_n(s, static_cast<int>(c.expected.size())));
        EXPECT_TRUE(s.eof());
    }
}

TEST(WStringScanner, DeliversUpToTheFirstNulThen0xFFFF) {
    struct Case {
        std::wstring chars;
        std::vector<Read> expected;
    } cases[] = {
        {L"AB", {{65, L"A", 0}, {66, L"B", 0}, {0xFFFF, END, 0}}},
        {L"A\nB", {{65, L"A", 0}, {10, L"\n", 0}, {66, L"B", 0}}},
        {std::wstring(L"A\0B", 3), {{65, L"A", 0}, {0xFFFF, END, 0}}},
        {L"", {{0xFFFF, END, 0}}},
    };
    for (const Case& c : cases) {
        std::wstring str = c.chars;
        parsing::WStringScanner s(str);
        EXPECT_EQ(c.expected, read_n(s, static_cast<int>(c.expected.size())));
    }
    std::wstring ab = L"ab";
    parsing::WStringScanner s(ab);
    EXPECT_FALSE(s.eof());
    s.setUpper();
    EXPECT_EQ((std::vector<Read>{{65, L"A", 0}, {66, L"B", 0}}), read_n(s, 2));
    EXPECT_TRUE(s.eof());
    EXPECT_FALSE(s.available());
    std::wstring other = L"z";
    s.swapString(other);
    EXPECT_FALSE(s.eof());
    EXPECT_EQ((std::vector<Read>{{90, L"Z", 0}}), read_n(s, 1));
}
