#include <gtest/gtest.h>

#include "ParseError.h"

using parsing::ParseError;

namespace {

struct FormatCase {
    const wchar_t* source;
    int line;
    int type;
    const wchar_t* expected;
};

ParseError stamped(const FormatCase& c) {
    ParseError e(3, L"msg", c.type, false, true);
    e._source = c.source;
    e._line = c.line;
    return e;
}

} // namespace

TEST(ParseErrorFormat, LocationAndPrefixByType) {
    const FormatCase cases[] = {
        {L"t.bas", 12, parsing::Syntax, L"t.bas:12: error: syntax:msg"},
        {L"t.bas", 12, parsing::Semantic, L"t.bas:12: error: semantic:msg"},
        {L"t.bas", 12, parsing::Type, L"t.bas:12: error: type:msg"},
        {L"t.bas", 12, parsing::Link, L"t.bas:12: error: link:msg"},
        {L"t.bas", 12, parsing::warning, L"t.bas:12: warning: msg"},
        {L"t.bas", 12, parsing::info, L"t.bas:12: info:msg"},
        {L"t.bas", 1, parsing::Success, L"t.bas:1: error: syntax:msg"},
        {L"t.bas", 1, parsing::Init, L"t.bas:1: error: syntax:msg"},
        {L"t.bas", 1, parsing::SemAction, L"t.bas:1: error: syntax:msg"},
        {L"t.bas", 1, 9, L"t.bas:1: error: syntax:msg"},
        {L"t.bas", 1, -3, L"t.bas:1: error: syntax:msg"},
        // No location unless the source is set and the line is above 0.
        {L"", 12, parsing::warning, L" warning: msg"},
        {L"t.bas", 0, parsing::Syntax, L" error: syntax:msg"},
        {L"t.bas", -5, parsing::Semantic, L" error: semantic:msg"},
    };
    for (const FormatCase& c : cases) {
        std::wstring out = L"previous contents";
        stamped(c).format(out);
        EXPECT_EQ(out, c.expected) << "type " << c.type << ", line " << c.line;
    }
}

TEST(ParseErrorFormat, UnstampedPrintsNoLocation) {
    ParseError e(-1, L"GOTO return -1", parsing::Syntax, false, true);
    std::wstring out;
    EXPECT_EQ(e.format(out), L" error: syntax:GOTO return -1");
}

TEST(ParseError, NullTextIsEmptyAndCopiesKeepEveryField) {
    ParseError e(7, nullptr, parsing::warning, true, false);
    EXPECT_EQ(e.describe(), L"");
    e._source = L"a.bas";
    e._line = 4;
    ParseError copy(e);
    EXPECT_EQ(copy.code(), 7);
    EXPECT_EQ(copy.type(), parsing::warning);
    EXPECT_TRUE(copy.stop());
    EXPECT_FALSE(copy.reject());
    EXPECT_EQ(copy._source, L"a.bas");
    EXPECT_EQ(copy._line, 4);
}

TEST(ParseError, WhatIsANarrowCopyOfTheText) {
    ParseError e(0, L"Parser Error", parsing::Semantic, false, true);
    EXPECT_STREQ(e.what(), "Parser Error");
}
