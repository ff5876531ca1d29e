#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialect_msg.h"
#include "source_form_selector.h"

namespace {

std::string narrow(const std::wstring& w) {
    return std::string(w.begin(), w.end());
}

TEST(DialectMsg, PrunesKeywordsTheUk101Lacks) {
    const std::vector<std::pair<std::wstring, std::wstring>> cases = {
        {L"Expected :\"AND\", \"AT\", \"OR\", \"add-op\", \"mult-op\", \"power-op\", or "
         L"\"rel-op\".",
         L"Expected :\"AND\", \"OR\", \"add-op\", \"mult-op\", \"power-op\", or \"rel-op\"."},
        {L"Expected :\"(\", \"ABS\", \"PDL\", \"PEEK\".", L"Expected :\"(\", \"ABS\", \"PEEK\"."},
        {L"Expected :\"AT\".", L"Expected :."},
        {L"Expected :\"AT\", \"OR\".", L"Expected :\"OR\"."},
        {L"Expected :\"CALL\", \"CLEAR\", \"COLOR\", \"CONT\".", L"Expected :\"CLEAR\", \"CONT\"."},
        {L"Expected :\"CALL\", \"COLOR\", \"DEL\", or \"END\".", L"Expected :\"END\"."},
        {L"Expected :\":\", \"REM\", or \"linenum\".",
         L"Expected :\":\", \"REM\", or \"linenum\"."},
        {L"Expected :\"IN#\", \"INPUT\", \"PR#\", \"PRINT\".", L"Expected :\"INPUT\", \"PRINT\"."},
        {L"Expected :\"HGR\", \"HGR2\", \"HIMEM\", \"HOME\".", L"Expected :\"HOME\"."},
        // The last item of a list goes with its ", or"; nothing else changes.
        {L"Expected :\"GOTO\", \"HOME\", or \"XDRAW\".", L"Expected :\"GOTO\", \"HOME\"."},
        {L"Expected :\"GOTO\", or \"XDRAW\".", L"Expected :\"GOTO\"."},
        {L"Expected :\"AT\", or \"XDRAW\".", L"Expected :."},
        {L"Syntax here. Expected :\"NORMAL\", \"NOT\".", L"Syntax here. Expected :\"NOT\"."},
        // The user's text reads like a list whose last item goes; the
        // grammar's list after it stays as it was.
        {L"Unexpected: line-comment with value REMExpected :, or 'AT'. Expected :\":\", "
         L"\"AND\", \"OR\", \"add-op\", \"mult-op\", \"power-op\", or \"rel-op\".",
         L"Unexpected: line-comment with value REMExpected :. Expected :\":\", \"AND\", \"OR\", "
         L"\"add-op\", \"mult-op\", \"power-op\", or \"rel-op\"."},
    };
    for (const auto& c : cases) {
        const wchar_t* got = dialect_msg(uk101_form, c.first.c_str());
        EXPECT_EQ(narrow(c.second), narrow(got)) << "message: " << narrow(c.first);
    }
}

TEST(DialectMsg, LeavesOtherMessagesAlone) {
    const std::wstring list = L"Expected :\"AT\", \"OR\".";
    EXPECT_EQ(list.c_str(), dialect_msg(fixed_form, list.c_str()));
    EXPECT_EQ(list.c_str(), dialect_msg(free_form, list.c_str()));
    for (const wchar_t* same : {L"Unexpected ',' in LIST (UK101). Expected: '-'.",
                                L"Label '10' redefined.", L"Expected", L"Expected ", L""}) {
        EXPECT_EQ(same, dialect_msg(uk101_form, same)) << "message: " << narrow(same);
    }
    const std::wstring nothing = L"Expected :\"END\", \"GOTO\".";
    const wchar_t* copy = dialect_msg(uk101_form, nothing.c_str());
    EXPECT_NE(nothing.c_str(), copy);
    EXPECT_EQ(narrow(nothing), narrow(copy));
}

TEST(DialectMsg, MessagesOfAnyLengthAndContent) {
    // The user's own text can hold "Expected" and quotes, at any length.
    std::wstring user = L"Unexpected 'data " + std::wstring(5000, L'x') + L"'. Expected : '";
    for (int i = 0; i < 2000; ++i)
        user += L"\"AT\", \"" + std::wstring(40, L'Q') + L"\", ";
    user += L"'.";
    const std::wstring got = dialect_msg(uk101_form, user.c_str());
    // Only the first "AT" goes: the list is merged with the sorted table, and
    // every later "AT" stands after a larger item.
    EXPECT_EQ(user.size() - 4, got.size());
    EXPECT_EQ(std::wstring::npos, got.find(L"'\"AT\""));
    EXPECT_EQ(0u, got.find(L"Unexpected 'data xxx"));

    const std::wstring item(60, L'A');
    const std::wstring long_item = L"Expected :\"" + item + L"\", \"AT\".";
    EXPECT_EQ(narrow(L"Expected :\"" + item + L"\"."),
              narrow(dialect_msg(uk101_form, long_item.c_str())));
}

} // namespace
