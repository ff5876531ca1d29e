#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BasicFreeReader.h"
#include "my_codecvt_utf8.h"

namespace {

typedef std::codecvt<wchar_t, char, std::mbstate_t> Facet;

const Facet& facet() {
    return std::use_facet<Facet>(parsing::BasicFreeReader::get_locale());
}

std::string hex(const std::string& bytes) {
    std::string out;
    char buf[4];
    for (unsigned char b : bytes) {
        snprintf(buf, sizeof buf, "%02X ", b);
        out += buf;
    }
    return out;
}

struct InCase {
    std::string bytes;
    std::vector<unsigned> units;
    std::size_t consumed;
    std::codecvt_base::result result;
};

TEST(Utf8Facet, DecodesEveryByteSequence) {
    const std::vector<InCase> cases = {
        {"AB", {0x41, 0x42}, 2, std::codecvt_base::ok},
        {"\xC3\xA9", {0xE9}, 2, std::codecvt_base::ok},
        {"\xE2\x82\xAC", {0x20AC}, 3, std::codecvt_base::ok},
        {"\xEF\xBB\xBF"
         "A",
         {0x41},
         4,
         std::codecvt_base::ok},
        {"A\xEF\xBB\xBF"
         "B",
         {0x41, 0x42},
         5,
         std::codecvt_base::ok},
        {"\xEF\xBB\xBF", {}, 3, std::codecvt_base::ok},
        {"\xF0\x9F\x98\x80", {0xF600}, 4, std::codecvt_base::ok},
        {"\x80", {0xFF80}, 1, std::codecvt_base::ok},
        {"\xFF", {0xFFFF}, 1, std::codecvt_base::ok},
        {"\xF8", {0xFFF8}, 1, std::codecvt_base::ok},
        {"\xC3"
         "A",
         {0xC1},
         2,
         std::codecvt_base::ok},
        {"\xC0\x80", {0x0000}, 2, std::codecvt_base::ok},
        {"\xED\xA0\xBD", {0xD83D}, 3, std::codecvt_base::ok},
        {std::string("\0", 1), {0}, 1, std::codecvt_base::ok},
        // A sequence cut by the end of the range waits for more bytes.
        {"A\xC3", {0x41}, 1, std::codecvt_base::partial},
        {"\xE2\x82", {}, 0, std::codecvt_base::partial},
        {"\xEF\xBB", {}, 0, std::codecvt_base::partial},
        {"\xF0\x9F\x98", {}, 0, std::codecvt_base::partial},
    };
    for (const InCase& c : cases) {
        std::mbstate_t state{};
        wchar_t out[16];
        const char* from_next = nullptr;
        wchar_t* to_next = nullptr;
        const auto result = facet().in(state, c.bytes.data(), c.bytes.data() + c.bytes.size(),
                                       from_next, out, out + 16, to_next);
        std::vector<unsigned> units(out, to_next);
        EXPECT_EQ(c.units, units) << "bytes " << hex(c.bytes);
        EXPECT_EQ(c.consumed, static_cast<std::size_t>(from_next - c.bytes.data()))
            << "bytes " << hex(c.bytes);
        EXPECT_EQ(c.result, result) << "bytes " << hex(c.bytes);
    }
}

TEST(Utf8Facet, StopsWhenTheOutputIsFull) {
    const std::string bytes = "AB";
    std::mbstate_t state{};
    wchar_t out[1];
    const char* from_next = nullptr;
    wchar_t* to_next = nullptr;
    EXPECT_EQ(std::codecvt_base::partial,
              facet().in(state, bytes.data(), bytes.data() + 2, from_next, out, out + 1, to_next));
    EXPECT_EQ(bytes.data() + 1, from_next);
    EXPECT_EQ(L'A', out[0]);
}

TEST(Utf8Facet, EncodesEveryUnitInOneToThreeBytes) {
    const std::vector<std::pair<unsigned, std::string>> cases = {
        {0x41, "A"},
        {0xE9, "\xC3\xA9"},
        {0x7FF, "\xDF\xBF"},
        {0x20AC, "\xE2\x82\xAC"},
        {0xFEFF, "\xEF\xBB\xBF"},
        {0xD83D, "\xED\xA0\xBD"},
        {0xFFE9, "\xEF\xBF\xA9"},
        // Only 16 bits of a unit count, whatever the width of wchar_t.
        {0xFFFFFFFFu, "\xEF\xBF\xBF"},
    };
    for (const auto& c : cases) {
        std::mbstate_t state{};
        const wchar_t unit = static_cast<wchar_t>(c.first);
        char out[8];
        const wchar_t* from_next = nullptr;
        char* to_next = nullptr;
        EXPECT_EQ(std::codecvt_base::ok,
                  facet().out(state, &unit, &unit + 1, from_next, out, out + 8, to_next))
            << "unit " << std::hex << c.first;
        EXPECT_EQ(hex(c.second), hex(std::string(out, to_next))) << "unit " << std::hex << c.first;
    }
}

TEST(Utf8Facet, WritesNothingOfAUnitThatDoesNotFit) {
    std::mbstate_t state{};
    const wchar_t unit = 0x20AC;
    char out[2];
    const wchar_t* from_next = nullptr;
    char* to_next = nullptr;
    EXPECT_EQ(std::codecvt_base::partial,
              facet().out(state, &unit, &unit + 1, from_next, out, out + 2, to_next));
    EXPECT_EQ(&unit, from_next);
    EXPECT_EQ(out, to_next);
}

TEST(Utf8Facet, OneSharedLocaleThatAlwaysConverts) {
    const std::locale& a = parsing::BasicFreeReader::get_locale();
    const std::locale& b = parsing::BasicFreeReader::get_locale();
    EXPECT_EQ(&a, &b);
    EXPECT_TRUE(std::has_facet<Facet>(a));
    EXPECT_NE(nullptr, dynamic_cast<const my_codecvt_utf8*>(&facet()));
    EXPECT_FALSE(facet().always_noconv());
    EXPECT_EQ(4, facet().max_length());
}

} // namespace
