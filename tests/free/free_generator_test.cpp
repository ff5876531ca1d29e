// The "not" clause of the lexical front end, which the free-form grammar
// uses for the words that are a name only when nothing continues them: a
// text that is exactly a "not" word is never the token, a longer one may be.

#include <gtest/gtest.h>

#include <string>

#include "generator_build.h"

namespace {

gen::TableSet build(const std::string& text) {
    std::string path =
        test_support::temp_grammar("free_generator_test_", "%kind lexical\n%grammar g\n" + text);
    return test_support::build_grammar(gen::build_lexical, path);
}

// The row of the state that a sample reaches, on a key: "action value",
// "none", or "no state" when the sample leaves the automaton.
std::string row_after(const gen::TableSet& t, const std::string& sample, int key) {
    int state = 0;
    for (char c : sample) {
        int next = -1;
        for (const gen::ActionRow& r : t.srs)
            if (r.state == state && r.terminal == c && r.action == 1)
                next = r.next_state;
        if (next < 0)
            return "no state";
        state = next;
    }
    for (const gen::ActionRow& r : t.srs)
        if (r.state == state && r.terminal == key)
            return std::to_string(r.action) + " " + std::to_string(r.next_state);
    return "none";
}

const std::string words = "production 0 65557 name\n"
                          "production 1 65590 OK\n"
                          "token OK = \"OK\"\n";

TEST(FreeGenerator, NotBarsOnlyTheExactWord) {
    gen::TableSet t = build(words + "token name = ['A'..'Z']+ / ' ' not \"OK\" | \"NO\"\n");
    struct Case {
        std::string sample;
        int key;
        std::string row;
    };
    const Case cases[] = {
        {"OK", -34, "none"},                   // no accept of the name before its context
        {"OK", ' ', "none"},                   // so no shift into the context either
        {"OK", -1, "2 1"},                     // the OK token is untouched
        {"NO", -34, "none"},                   // the second word of the alternation
        {"OKA", -34, "2 0"},                   // a longer word is a name again
        {"OKAY", ' ', row_after(t, "A", ' ')}, // into the same context as any name
        {"O", -34, "2 0"},                     // a shorter one too
        {"N", -34, "2 0"},
        {"NOT", -34, "2 0"},
    };
    ASSERT_EQ(row_after(t, "A", ' ').substr(0, 2), "1 ");
    for (const Case& c : cases)
        EXPECT_EQ(row_after(t, c.sample, c.key), c.row)
            << "after '" << c.sample << "' on key " << c.key;
}

TEST(FreeGenerator, ExceptBarsEveryLongerWordToo) {
    gen::TableSet t = build(words + "token name = ['A'..'Z']+ / ' ' except \"OK\"\n");
    EXPECT_EQ(row_after(t, "OK", -34), "none");
    EXPECT_EQ(row_after(t, "OKA", -34), "none");
    EXPECT_EQ(row_after(t, "O", -34), "2 0");
}

TEST(FreeGenerator, NotWordMayNotBeEmpty) {
    try {
        build(words + "token name = ['A'..'Z']+ not 'A'?\n");
        FAIL() << "a not pattern that matches the empty input is accepted";
    } catch (const gen::GrammarFault& f) {
        EXPECT_NE(std::string(f.what()).find(":6: the not pattern matches the empty input"),
                  std::string::npos)
            << f.what();
    }
}

} // namespace
