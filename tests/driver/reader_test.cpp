#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "BasicFixedReader.h"
#include "BasicFreeReader.h"
#include "ParseError.h"
#include "Parser.h"
#include "parser_fixture.h"

namespace {

using parsing::BasicFixedReader;
using parsing::BasicFreeReader;

// Shows delivered units readably in failure messages: CR and LF as \r \n,
// anything outside printable ASCII as <hex>.
std::string show(const std::wstring& units) {
    std::string out;
    char buf[16];
    for (wchar_t c : units) {
        if (c == L'\r')
            out += "\\r";
        else if (c == L'\n')
            out += "\\n";
        else if (c >= 0x20 && c < 0x7F)
            out += static_cast<char>(c);
        else {
            snprintf(buf, sizeof buf, "<%X>", static_cast<unsigned>(c));
            out += buf;
        }
    }
    return out;
}

class ReaderTest : public ::testing::Test {
protected:
    std::string path;

    void SetUp() override {
        path = ::testing::TempDir() + "vorpak_reader_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bas";
    }
    void TearDown() override { std::remove(path.c_str()); }

    void write(const std::string& bytes) {
        std::ofstream out(path, std::ios::binary);
        out << bytes;
    }

    // Everything the reader delivers up to its end, and the line of each unit.
    static std::wstring drain(BasicFreeReader& reader, std::vector<int>* lines = nullptr) {
        std::wstring units;
        std::wstring text;
        while (!reader.eof()) {
            const int c = reader.next(&text);
            if (c < 0)
                break;
            EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(c)), text);
            units += static_cast<wchar_t>(c);
            if (lines)
                lines->push_back(reader.line());
        }
        return units;
    }

    std::wstring read_file(const std::string& bytes) {
        write(bytes);
        BasicFixedReader reader(path.c_str());
        return drain(reader);
    }
};

TEST_F(ReaderTest, LineRules) {
    const std::string l300(300, 'x');
    const std::vector<std::pair<std::string, std::wstring>> cases = {
        {"", L""},
        {"10 PRINT\n", L"10 PRINT\r\n"},
        {"A\n", L"A\r\n"},
        {"A\r\n", L"A\r\n"},
        {"A", L"A\r\n"},
        {"A\r\r\n", L"A\r\r\n"},
        {"\n", L"\r\n"},
        {"\n\n", L"\r\n\r\n"},
        {"A\nB", L"A\r\nB\r\n"},
        {l300 + "\n", std::wstring(255, L'x') + L"\r\n"},
        {std::string(254, 'y') + "\n", std::wstring(254, L'y') + L"\r\n"},
        {std::string(255, 'y') + "\r\n", std::wstring(255, L'y') + L"\r\n"},
        // The cut comes before the CR rule: a CR at column 255 goes too.
        {std::string(254, 'y') + "\r\r\n", std::wstring(254, L'y') + L"\r\n"},
        {"   !X\n", L"!X\r\n"},
        {" \t\r!X\n", L"!X\r\n"},
        {" X!\n", L" X!\r\n"},
        {"   \n", L"   \r\n"},
        {"!X\n", L"!X\r\n"},
        // Byte order marks vanish wherever they stand.
        {"\xEF\xBB\xBF"
         "10 REM\n",
         L"10 REM\r\n"},
        {"1\xEF\xBB\xBF"
         "0 \"A\xEF\xBB\xBF\"\n",
         L"10 \"A\"\r\n"},
        {std::string("A\0B\n", 4), std::wstring(L"A\0B\r\n", 5)},
        {"\xC3\xA9\xE2\x82\xAC\n", L"\u00E9\u20AC\r\n"},
        {"\x80\xFF\n", L"\xFF80\xFFFF\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(show(c.second), show(read_file(c.first)))
            << "file bytes: " << show(std::wstring(c.first.begin(), c.first.end()));
}

TEST_F(ReaderTest, LinesAreNumberedFromOnePerPhysicalLine) {
    write("\nA\r\nBC\nD");
    BasicFreeReader reader(path.c_str());
    EXPECT_EQ(1, reader.line());
    std::vector<int> lines;
    EXPECT_EQ("\\r\\nA\\r\\nBC\\r\\nD\\r\\n", show(drain(reader, &lines)));
    EXPECT_EQ((std::vector<int>{1, 1, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4}), lines);
    EXPECT_TRUE(reader.eof());
    EXPECT_EQ(4, reader.line());
    EXPECT_EQ(-1, reader.next(nullptr)) << "a reader past its end keeps answering -1";
}

TEST_F(ReaderTest, EmptyFileEndsAtOnce) {
    write("");
    BasicFixedReader reader(path.c_str());
    EXPECT_TRUE(reader.ifs->good());
    EXPECT_FALSE(reader.eof());
    EXPECT_EQ(-1, reader.next(nullptr));
    EXPECT_TRUE(reader.eof());
    EXPECT_EQ(1, reader.line());
}

TEST_F(ReaderTest, MissingFileOrDirectoryIsNotOpen) {
    BasicFixedReader missing((path + ".none").c_str());
    EXPECT_FALSE(missing.ifs->good() && missing.ifs->is_open());
    EXPECT_TRUE(missing.eof());

    const std::string dir = path + ".dir";
    ASSERT_EQ(0, mkdir(dir.c_str(), 0700));
    BasicFixedReader directory(dir.c_str());
    EXPECT_FALSE(directory.ifs->good() && directory.ifs->is_open())
        << "a directory must be reported as a file that cannot be opened";
    EXPECT_TRUE(directory.eof());
    rmdir(dir.c_str());
}

TEST_F(ReaderTest, TruncatedLastSequenceEndsTheFile) {
    // The stream fails on the incomplete sequence; the reader must end there
    // instead of asking the failed stream again for ever.
    for (const std::string tail : {"\xC3", "\xE2\x82", "\xF0\x9F\x98"}) {
        const std::wstring got = read_file("AB\nCD" + tail);
        EXPECT_EQ("AB\\r\\nCD\\r\\n", show(got))
            << "file ending in " << show(std::wstring(tail.begin(), tail.end()));
    }
    EXPECT_EQ("", show(read_file("\xC3")));
}

TEST_F(ReaderTest, MegabyteLineIsCutAndTheNextLineFollows) {
    const std::wstring got = read_file(std::string(1 << 20, 'Z') + "\n10 END\n");
    EXPECT_EQ(show(std::wstring(255, L'Z') + L"\r\n10 END\r\n"), show(got));
}

TEST_F(ReaderTest, BinaryBytesAreDeliveredAsUnits) {
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    const std::wstring got = read_file(bytes + bytes);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(L"\r\n", got.substr(got.size() - 2));
}

TEST_F(ReaderTest, NameIsUsedWholeAndWidenedWithItsSign) {
    // A path of more than 254 bytes, with a byte above 0x7F in it.
    const std::string dir =
        ::testing::TempDir() + "vorpak_" + std::to_string(getpid()) + "_" + std::string(150, 'd');
    ASSERT_TRUE(mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST);
    const std::string name = dir + "/\xC3\xA9" + std::string(150, 'n') + ".bas";
    ASSERT_GT(name.size(), 254u);
    {
        std::ofstream out(name, std::ios::binary);
        ASSERT_TRUE(out.good()) << "cannot create " << name;
        out << "1\n";
    }
    BasicFixedReader reader(name.c_str());
    EXPECT_TRUE(reader.ifs->good() && reader.ifs->is_open())
        << "a name of " << name.size() << " bytes must open whole";
    EXPECT_EQ("1\\r\\n", show(drain(reader)));
    const std::wstring& source = reader.source();
    ASSERT_EQ(name.size(), source.size());
    EXPECT_EQ(static_cast<wchar_t>(0xFFC3), source[dir.size() + 1]);
    EXPECT_EQ(static_cast<wchar_t>(0xFFA9), source[dir.size() + 2]);
    std::remove(name.c_str());
    rmdir(dir.c_str());
}

TEST_F(ReaderTest, AnswersOfTheScannerInterface) {
    write("A\n");
    BasicFreeReader free_reader(path.c_str());
    BasicFixedReader fixed_reader(path.c_str());
    EXPECT_FALSE(free_reader.isFixed());
    EXPECT_TRUE(fixed_reader.isFixed());
    EXPECT_EQ(-1, fixed_reader.equivalent(0));
    EXPECT_EQ(-1, fixed_reader.equivalent(5));
    EXPECT_TRUE(fixed_reader.available());
    EXPECT_EQ(std::wstring(path.begin(), path.end()), fixed_reader.source());
}

TEST_F(ReaderTest, RemLinesAndDoubleQuotes) {
    struct Row {
        const char* line;
        bool rem;
        bool dquotes_closed_after; // after the whole line
    };
    const std::vector<Row> rows = {
        {"10 REM \"", true, true},       {"10REM", true, true},    {"10 R E M", true, true},
        {"REMARK", true, true},          {"  10 REM", true, true}, {"10 rem \"", false, false},
        {"10 PRINT:REM", false, true},   {"10 ?", false, true},    {"10 PRINT \"", false, false},
        {"10 PRINT \"A\"", false, true},
    };
    for (const Row& row : rows) {
        write(std::string(row.line) + "\n");
        BasicFixedReader reader(path.c_str());
        reader.next(nullptr);
        EXPECT_EQ(row.rem, reader.incomment) << "line " << row.line;
        drain(reader);
        EXPECT_EQ(row.dquotes_closed_after, reader.closed_dquotes) << "line " << row.line;
    }
    write("10 PRINT \"\n");
    BasicFixedReader reader(path.c_str());
    drain(reader);
    EXPECT_FALSE(reader.closed_dquotes);
    EXPECT_EQ(0, reader.ScannedDataStmt());
    EXPECT_TRUE(reader.closed_dquotes);
}

// A stage may take the characters that the reader shows as its run instead
// of calling next(): it then reads the same units on the same lines, and the
// double quotes that the reader tracks still pass through next().
TEST_F(ReaderTest, TheRunHoldsWhatNextWouldDeliver) {
    const std::vector<std::string> files = {
        "",
        "10 PRINT \"A\";B\n20 REM \"X\" Y\n\n30 DATA \"1\",2",
        "  !X \"\n10 PRINT \"\n" + std::string(300, 'z') + "\n",
        std::string("A\0B\"\r\n\"\"\n", 10),
    };
    for (const std::string& bytes : files) {
        write(bytes);
        BasicFixedReader by_next(path.c_str());
        std::vector<int> next_lines;
        const std::wstring units = drain(by_next, &next_lines);

        BasicFixedReader by_run(path.c_str());
        std::wstring taken;
        std::vector<int> run_lines;
        std::size_t from_run = 0;
        std::wstring text;
        while (!by_run.eof()) {
            if (by_run.run_at != by_run.run_end) {
                EXPECT_TRUE(*by_run.run_at != L'"' || by_run.incomment)
                    << "a tracked double quote in the run, file " << show(units);
                taken += *by_run.run_at++;
                ++from_run;
            } else {
                const int c = by_run.next(&text);
                if (c < 0)
                    break;
                taken += static_cast<wchar_t>(c);
            }
            run_lines.push_back(by_run.line());
        }
        EXPECT_EQ(show(units), show(taken));
        EXPECT_EQ(next_lines, run_lines) << "file " << show(units);
        EXPECT_EQ(by_next.closed_dquotes, by_run.closed_dquotes) << "file " << show(units);
        if (!units.empty()) {
            EXPECT_GT(from_run, units.size() / 2) << "file " << show(units);
        }
    }
}

class LongLineTest : public ReaderTest {
protected:
    test_support::ParserFixture fx;

    std::vector<std::wstring> warnings_for(const std::string& bytes, bool on) {
        write(bytes);
        BasicFixedReader reader(path.c_str());
        reader.setWarnings(on);
        reader.Parser = &fx.parser();
        fx.parser().getErrors().clear();
        drain(reader);
        std::vector<std::wstring> out;
        std::wstring text;
        for (const parsing::ParseError& e : fx.parser().getErrors()) {
            EXPECT_EQ(1, e.code());
            EXPECT_EQ(parsing::warning, e.type());
            out.push_back(e.format(text));
        }
        return out;
    }
};

TEST_F(LongLineTest, WarnsOncePerLineLongerThan255) {
    const std::wstring name(path.begin(), path.end());
    const std::wstring warn = L" warning: Long Line exceeds 255 columns.";
    const std::string l300(300, 'x');
    EXPECT_EQ(std::vector<std::wstring>{name + L":2:" + warn},
              warnings_for("10 END\n" + l300 + "\n20 END\n", true));
    EXPECT_TRUE(warnings_for("10 END\n" + l300 + "\n", false).empty());
    EXPECT_TRUE(warnings_for(std::string(255, 'x') + "\n" + std::string(254, 'x'), true).empty());
    EXPECT_TRUE(warnings_for(std::string(255, 'x') + "\r\n", true).empty());
    EXPECT_EQ(1u, warnings_for(std::string(256, 'x') + "\n", true).size());
    EXPECT_EQ(1u, warnings_for(std::string(256, 'x'), true).size());
    EXPECT_EQ(2u, warnings_for(l300 + "\n" + l300 + "\n", true).size());
    EXPECT_FALSE(fx.parser().hasErrors()) << "a warning must not make the parse fail";
}

} // namespace
