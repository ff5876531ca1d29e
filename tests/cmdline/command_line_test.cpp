#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "cmd_arguments.h"
#include "source_form_selector.h"

TEST(SourceForm, FileNameImpliesTheDialect) {
    struct Case {
        const char* name;
        int form;
    } cases[] = {
        {"prog.bas", fixed_form},
        {"prog.BASIC", fixed_form},
        {"prog.basic.txt", fixed_form},
        {"./prog", fixed_form},
        {"dir.d/prog", fixed_form},
        {"prog.", fixed_form},
        {"prog", free_form},
        {".basic", uk101_form},
        {"c.basic", uk101_form},
        {"/x/y.z/prog.basic", uk101_form},
    };
    for (const Case& c : cases)
        EXPECT_EQ(source_form_selector::get_ext_form(c.name), c.form) << c.name;
    EXPECT_EQ(source_form_selector::get_ext_form(static_cast<const char*>(nullptr)), free_form);
    EXPECT_EQ(source_form_selector::get_ext_case("prog.bas"), -1);
}

TEST(SourceForm, DialectWords) {
    int rc = 77;
    EXPECT_EQ(source_form_selector::forced_form(&rc, "FREE"), free_form);
    EXPECT_EQ(rc, free_form);
    EXPECT_EQ(source_form_selector::forced_form(&rc, "Uk101"), uk101_form);
    EXPECT_EQ(source_form_selector::forced_form(&rc, "fixed"), fixed_form);
    EXPECT_EQ(rc, fixed_form);
    EXPECT_EQ(source_form_selector::forced_form(&rc, "fix"), -1);
    EXPECT_EQ(rc, fixed_form);
}

TEST(SourceForm, SignedWideningOfBytes) {
    EXPECT_EQ(widen_signed('A'), L'A');
    EXPECT_EQ(widen_signed(static_cast<char>(0xE9)), static_cast<wchar_t>(0xFFE9));
    EXPECT_EQ(widen_signed(static_cast<char>(0x80)), static_cast<wchar_t>(0xFF80));
}

// Under a POSIX working directory the prefix is "-".
class CmdSelect : public ::testing::Test {
protected:
    void SetUp() override { setenv("PWD", "/tmp", 1); }
};

TEST_F(CmdSelect, DialectAndCaseOptionsApplyToLaterFiles) {
    char* argv[] = {(char*)"vorpak",  (char*)"a.bas", (char*)"-no-case", (char*)"-free", (char*)"b",
                    (char*)"c.basic", (char*)"-case", (char*)"-UK101",   (char*)"d"};
    arguments args;
    ASSERT_EQ(args.cmd_select(9, argv), 2);
    ASSERT_EQ(args.files.size(), 4u);
    struct {
        const char* name;
        int form, _case;
    } expected[] = {{"a.bas", fixed_form, -1},
                    {"b", free_form, case_no},
                    {"c.basic", free_form, case_no},
                    {"d", uk101_form, case_yes}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_STREQ(args.files[i]->fname, expected[i].name);
        EXPECT_EQ(args.files[i]->form, expected[i].form) << expected[i].name;
        EXPECT_EQ(args.files[i]->_case, expected[i]._case) << expected[i].name;
    }
}

TEST_F(CmdSelect, RunWideSwitches) {
    struct Case {
        const char* option;
        int debug;
        bool warnings;
    } cases[] = {
        {"-debug", 1, false},     {"-debug=1", 1, false}, {"-debug=9", 1, false},
        {"-debugX", 1, false},    {"-dEBUG", 1, false},   {"-debug=2", 2, false},
        {"-debug=8", 2, false},   {"-DEBUG", 0, false},   {"-Debug", 0, false},
        {"-Ifoo", 0, false},      {"-I", 0, false},       {"-W", 0, true},
        {"-Dname=1=2", 0, false},
    };
    for (const Case& c : cases) {
        char* argv[] = {(char*)"vorpak", (char*)c.option, (char*)"x.bas"};
        arguments args;
        EXPECT_EQ(args.cmd_select(3, argv), 2) << c.option;
        EXPECT_EQ(args.debug_mode, c.debug) << c.option;
        EXPECT_EQ(args.warnings, c.warnings) << c.option;
        EXPECT_EQ(args.files.size(), 1u) << c.option;
    }
    char* none[] = {nullptr};
    arguments empty;
    EXPECT_EQ(empty.cmd_select(0, none), 2);
    EXPECT_TRUE(empty.files.empty());
}

TEST(VersionText, FirstLineHasTheBuildDateInColumn63) {
    std::ostringstream captured;
    std::streambuf* saved = std::cout.rdbuf(captured.rdbuf());
    arguments args;
    args.version();
    std::cout.rdbuf(saved);
    std::string first = captured.str().substr(0, captured.str().find('\n'));
    EXPECT_EQ(first.rfind("  Tessaric 0.8 ", 0), 0u) << first;
    ASSERT_GE(first.size(), 63u) << first;
    EXPECT_EQ(first.find('['), 62u) << first;
    EXPECT_EQ(first.substr(63), std::string(__DATE__) + "]");
    EXPECT_NE(captured.str().find("libstdc++"), std::string::npos);
}
