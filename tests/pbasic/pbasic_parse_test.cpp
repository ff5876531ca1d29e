// Token streams fed straight into a Parser over the statement grammar: which
// programs are accepted, which state reports an error (by its message) and
// the exact diagnostic, and what the semantic actions report.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Parser.h"
#include "ReplayScanner.h"
#include "SimpleParsingTable.h"
#include "Translator.h"
#include "pbasic_include.h"
#include "pbasic_suite.h"

namespace {

struct Diagnostic {
    int code;
    int type;
    int line;
    std::wstring text;
};

struct Outcome {
    bool successful;
    std::vector<Diagnostic> diagnostics;
};

enum class Dialect { fixed, uk101, free };

std::string show(const std::string& program) {
    std::string out;
    for (char c : program)
        out += c == '\n' ? std::string("<CR>") : std::string(1, c);
    return out.empty() ? "<nothing>" : out;
}

std::string narrow(const std::wstring& w) {
    std::string out;
    for (wchar_t c : w)
        out += c == L'\r' ? std::string("\\r") : std::string(1, static_cast<char>(c));
    return out;
}

class PbasicParse : public PbasicSuite {
protected:
    static Outcome run(const std::string& program, Dialect dialect = Dialect::fixed) {
        ReplayScanner scanner(tokenize(program));
        Translator host;
        parsing::Parser parser(scanner, *view, &host);
        host.Parser = &parser;
        host.set_uk101(dialect == Dialect::uk101);
        host.set_free_mode(dialect == Dialect::free);
        host.nextFile();
        Outcome o;
        o.successful = parser.parse();
        for (const parsing::ParseError& e : parser.getErrors())
            o.diagnostics.push_back(Diagnostic{e.code(), e.type(), e.line(), e.describe()});
        host.Parser = nullptr;
        return o;
    }

    static std::wstring message(int id) {
        const wchar_t* text = view->msg_error(id);
        return text ? text : L"<no message>";
    }
};

TEST_F(PbasicParse, AcceptedPrograms) {
    const char* programs[] = {
        "\n",
        "10\n",
        "10",
        "10 :\n",
        "10 : PRINT\n",
        "10 PRINT : : PRINT\n",
        "10 PRINT",
        "10 PRINT\n20 END\n30 REM X\n",
        "10 HPLOT 1 , 2 TO 3 , 4 TO 5 , 6\n",
        "10 HPLOT TO 1 , 2\n",
        "10 OK = 1\n",
        "10 IF X GOTO 100 : PRINT\n",
        "10 IF X THEN GOTO 100\n",
        "10 IF X THEN 100\n",
        "10 IF X THEN 100",
        "10 IF X THEN 100 : PRINT\n",
        "10 IF A THEN IF B THEN PRINT\n",
        "10 IF X THEN REM Y",
        "10 LIST\n",
        "10 LIST 10\n",
        "10 LIST 10 - 20\n",
        "10 LIST 10 , 20\n",
        "10 RUN 10 : RUN\n",
        "10 DEL 10 , 20\n",
        "10 INPUT\n",
        "10 INPUT A ,\n",
        "10 INPUT \"A\" ; A , B\n",
        "10 PRINT A B\n",
        "10 PRINT ; ;\n",
        "10 ? A\n",
        "10 PRINT A - 1\n",
        "10 PRINT A ( 1 )\n",
        "10 PRINT A ( 1 ) ( 2 )\n",
        "10 PRINT 1 ( 2 )\n",
        "10 PRINT A OR B NOT D\n",
        "10 HIMEM : 100\n",
        "10 LET A ( 1 ) = 2\n",
        "10 DIM A ( 1 ) , B\n",
        "10 READ A , B ( 1 , 2 )\n",
        "10 ON X GOTO 10 , 20\n",
        "10 ON X GOSUB 10\n",
        "10 ONERR GOTO 100\n",
        "10 PR# X = 1\n",
        "10 A = B = D\n",
        "10 IF A OR B AND D THEN 10\n",
        "10 IF NOT A = B THEN 10\n",
        "10 IF A < NOT B < D THEN 10\n",
        "10 X = - 2 ^ 2\n",
        "10 X = 2 ^ - 2\n",
        "10 X = 2 * - 3\n",
        "10 X = 2 ^ 3 ^ 2\n",
        "10 X = - - A + NOT NOT B\n",
        "10 PRINT TAB ( 5 ) ; A\n",
        "10 PRINT TAB ( 5 ) + 1\n",
        "10 X = MID$ ( A$ , 1 )\n",
        "10 X = MID$ ( A$ , 1 , 2 )\n",
        "10 X = FN A ( 3 )\n",
        "10 DEF FN A ( 1 + 2 ) = 3\n",
        "10 X = A ( B ( 1 ) , 2 )\n",
        "10 X = ( ( A ) )\n",
        "10 X = \"A\" * 2\n",
        "10 X = A$ + 1\n",
        "10 X = 1.5E3 + PEEK ( 1 ) + USR ( 2 ) + FRE ( 0 ) + POS ( 0 ) + SCRN ( 1 ) + PDL ( 0 )\n",
        "10 FOR I = 1 TO 9 STEP 2 : NEXT I , J : NEXT\n",
        "10 GET A : RECALL B : STORE C\n",
        "10 COLOR = 1 : HCOLOR = 2 : PLOT 1 , 2 : HLIN 1 , 2 AT 3 : VLIN 1 , 2 AT 3\n",
        "10 DRAW 1 : XDRAW 1 AT 2 , 3 : ROT = 1 : SCALE = 2 : SPEED = 3\n",
        "10 HTAB 1 : VTAB 2 : IN# 1 : CALL 768 : POKE 1 , 2 : WAIT 1 , 2 , 3\n",
        "10 GR : TEXT : HGR : HGR2 : HOME : SHLOAD : TRACE : NOTRACE : NORMAL\n",
        "10 INVERSE : FLASH : POP : RESUME : RESTORE : RETURN : STOP : LOAD\n",
        "10 SAVE : CONT : CLEAR : NEW : RUN : END\n",
    };
    for (const char* program : programs) {
        Outcome o = run(program);
        EXPECT_TRUE(o.successful) << "program: " << show(program);
        for (const Diagnostic& d : o.diagnostics)
            ADD_FAILURE() << "program: " << show(program) << " gave: " << narrow(d.text);
    }
}

// The worked examples: the first part names the token, the message tells the
// state that found the error, and the code is the message id.
TEST_F(PbasicParse, SyntaxDiagnostics) {
    struct Case {
        const char* program;
        const wchar_t* first_part;
        int message;
    };
    const Case cases[] = {
        {"", L"Unexpected: EOF. ", 1},
        {"PRINT 1\n", L"Unexpected: PRINT. ", 1},
        {"print 1\n", L"Unexpected: PRINT with value print. ", 1},
        {"10 END X\n", L"Unexpected: name with value 'X'. ", 2},
        {"10 NEXT X Y\n", L"Unexpected: name with value 'Y'. ", 2},
        {"10 GOTO X\n", L"Unexpected: name with value 'X'. ", 8},
        {"10 DEF X\n", L"Unexpected: name with value 'X'. ", 14},
        {"10 FOR I 1 TO 9\n", L"Unexpected: integer-literal-constant with value '1'. ", 10},
        {"10 IF X PRINT 1\n", L"Unexpected: PRINT. ", 33},
        {"10 IF X GOSUB 100\n", L"Unexpected: GOSUB. ", 33},
        {"10 PRINT )\n", L"Unexpected: ')'. ", 4},
        {"10 X\n", L"Unexpected: CR with value '\r'. ", 15},
        {"10 END PRINT\n", L"Unexpected: PRINT. ", 2},
        {"10 LOAD X\n", L"Unexpected: name with value 'X'. ", 2},
        {"10 HPLOT TO 1 , 2 TO 3 , 4\n", L"Unexpected: TO. ", 2},
        {"10 IF X THEN 100 PRINT\n", L"Unexpected: PRINT. ", 2},
        {"10 IF X THEN : PRINT\n", L"Unexpected: ':'. ", 37},
        {"10 IF X THEN PRINT", L"Unexpected: EOF. ", 2},
        {"10 LIST - 20\n", L"Unexpected: '-'. ", 13},
        {"10 DEL 10 - 20\n", L"Unexpected: '-'. ", 22},
        {"10 INPUT , A\n", L"Unexpected: ','. ", 7},
        {"10 INPUT A , , B\n", L"Unexpected: ','. ", 7},
        {"10 HIMEM 100\n", L"Unexpected: integer-literal-constant with value 100. ", 2},
        {"10 GET A ( 1 )\n", L"Unexpected: '('. ", 2},
        {"10 FOR A ( 1 ) = 1 TO 2\n", L"Unexpected: '('. ", 10},
        {"10 GOSUB\n", L"Unexpected: CR with value '\r'. ", 8},
        {"10 DIM A B\n", L"Unexpected: name with value 'B'. ", 2},
        {"10 LIST 10 X\n", L"Unexpected: name with value 'X'. ", 2},
        {"10 IF A < B < D THEN 10\n", L"Unexpected: rel-op with value '<'. ", 54},
        {"10 IF A = B = D THEN 10\n", L"Unexpected: '='. ", 54},
        {"10 IF A NOT B THEN 10\n", L"Unexpected: NOT. ", 33},
        {"10 X = TAB ( 5 )\n", L"Unexpected: TAB. ", 9},
        {"10 PRINT ( TAB ( 5 ) )\n", L"Unexpected: TAB. ", 9},
        {"10 PRINT LEN ( TAB ( 1 ) )\n", L"Unexpected: TAB. ", 9},
        {"10 PRINT A ( TAB ( 1 ) )\n", L"Unexpected: TAB. ", 9},
        {"10 X = A ( )\n", L"Unexpected: ')'. ", 9},
        {"10 X = ( )\n", L"Unexpected: ')'. ", 9},
        {"10 X = SCRN ( 1 , 2 )\n", L"Unexpected: ','. ", 38},
        {"10 X = LEFT$ ( A$ , 1 , 2 )\n", L"Unexpected: ','. ", 38},
        {"10 X = LEFT$ ( A$ )\n", L"Unexpected: ')'. ", 29},
        {"10 X = LEN ( A$ , 1 )\n", L"Unexpected: ','. ", 39},
        {"10 X = FN A\n", L"Unexpected: CR with value '\r'. ", 18},
        {"10 XPLOT\n", L"Unexpected: XPLOT. ", 3},
    };
    for (const Case& c : cases) {
        Outcome o = run(c.program);
        std::wstring want = c.first_part + message(c.message) + L" ";
        EXPECT_FALSE(o.successful) << "program: " << show(c.program);
        ASSERT_EQ(o.diagnostics.size(), 1u) << "program: " << show(c.program);
        const Diagnostic& d = o.diagnostics[0];
        EXPECT_EQ(d.type, parsing::Syntax) << "program: " << show(c.program);
        EXPECT_EQ(d.code, c.message)
            << "program: " << show(c.program) << " reported: " << narrow(d.text);
        EXPECT_EQ(d.text, want) << "program: " << show(c.program);
    }
}

TEST_F(PbasicParse, ExactTextsOfTheWorkedExamples) {
    Outcome start = run("PRINT 1\n");
    ASSERT_EQ(start.diagnostics.size(), 1u);
    EXPECT_EQ(start.diagnostics[0].text,
              L"Unexpected: PRINT. Expected :\":\", \"REM\", or \"linenum\". ");
    Outcome go = run("10 GOTO X\n");
    ASSERT_EQ(go.diagnostics.size(), 1u);
    EXPECT_EQ(go.diagnostics[0].text, L"Unexpected: name with value 'X'. Expected :\"linenum\". ");
    Outcome cond = run("10 IF X PRINT 1\n");
    ASSERT_EQ(cond.diagnostics.size(), 1u);
    EXPECT_EQ(cond.diagnostics[0].text,
              L"Unexpected: PRINT. Expected :\"(\", \"AND\", \"GOTO\", \"OR\", \"THEN\", "
              L"\"add-op\", \"mult-op\", \"power-op\", or \"rel-op\". ");
    Outcome dim = run("10 DIM A B\n");
    ASSERT_EQ(dim.diagnostics.size(), 1u);
    EXPECT_EQ(dim.diagnostics[0].text, L"Unexpected: name with value 'B'. Expected :\":\". ");
}

// One diagnostic per failing line; the next line is parsed normally, and
// diagnostics carry the line where they were found.
TEST_F(PbasicParse, RecoverySkipsTheRestOfAFailingLine) {
    Outcome o = run("10 PRINT\nPRINT 1 ) (\n20 END X : GOTO\n30 END\n");
    EXPECT_FALSE(o.successful);
    ASSERT_EQ(o.diagnostics.size(), 2u);
    EXPECT_EQ(o.diagnostics[0].line, 2);
    EXPECT_EQ(o.diagnostics[0].code, 1);
    EXPECT_EQ(o.diagnostics[1].line, 3);
    EXPECT_EQ(o.diagnostics[1].code, 2);
    // A stream that ends inside the skipped line ends the parse, failed.
    Outcome cut = run("10 PRINT\nPRINT 1");
    EXPECT_FALSE(cut.successful);
    EXPECT_EQ(cut.diagnostics.size(), 1u);
}

TEST_F(PbasicParse, DiagnosticsOfTheActions) {
    struct Case {
        const char* program;
        Dialect dialect;
        bool successful;
        int type;
        int line;
        const wchar_t* text; // null: no diagnostic
    };
    const int Sem = parsing::Semantic, Warn = parsing::warning;
    const Dialect fixed = Dialect::fixed, uk = Dialect::uk101, free_ = Dialect::free;
    const Case cases[] = {
        {"REM HELLO\n", fixed, false, Sem, 1, L"Line Comment should begin with Line Number."},
        {"10 PRINT\nREM HELLO", fixed, false, Sem, 2,
         L"Line Comment should begin with Line Number."},
        {"10 REM X\n", fixed, true, 0, 0, nullptr},
        {"OK\n", fixed, false, Sem, 1, L"OK could be a prompt, not a statement!"},
        {"10 END\nOK", fixed, false, Sem, 2, L"OK could be a prompt, not a statement!"},
        {"10 LIST 10 , 20\n", uk, false, Sem, 1, L"Unexpected ',' in LIST (UK101). Expected: '-'."},
        {"10 LIST 10 , 20\n", fixed, true, 0, 0, nullptr},
        {"10 LIST 10 - 20 : LIST 10 : LIST\n", uk, true, 0, 0, nullptr},
        {"10 IF A THEN DATA 1,2\n", fixed, true, Warn, 1,
         L"DATA Statement as Instruction in IF statement."},
        {"10 IF A THEN DATA 1,2\n", uk, true, Warn, 1,
         L"DATA Statement as Instruction in IF statement."},
        {"10 IF A THEN DATA 1,2\n", free_, false, Sem, 1,
         L"Unexpected: DATA Statement as Instruction in IF statement."},
        {"10 IF A THEN DATA 1 : PRINT\n", fixed, true, Warn, 1,
         L"DATA Statement as Instruction in IF statement."},
        {"10 DATA 1,2 : PRINT\n", free_, true, 0, 0, nullptr},
        {"10 PRINT\n20 PRINT\n10 PRINT\n", fixed, true, Warn, 3, L"Label '10' redefined."},
        {"10 PRINT\n5 PRINT\n10", fixed, true, Warn, 3, L"Label '10' redefined."},
    };
    for (const Case& c : cases) {
        Outcome o = run(c.program, c.dialect);
        EXPECT_EQ(o.successful, c.successful) << "program: " << show(c.program);
        if (!c.text) {
            EXPECT_TRUE(o.diagnostics.empty()) << "program: " << show(c.program);
            continue;
        }
        ASSERT_EQ(o.diagnostics.size(), 1u) << "program: " << show(c.program);
        const Diagnostic& d = o.diagnostics[0];
        EXPECT_EQ(d.text, c.text) << "program: " << show(c.program);
        EXPECT_EQ(d.type, c.type) << "program: " << show(c.program);
        EXPECT_EQ(d.code, 1) << "program: " << show(c.program);
        EXPECT_EQ(d.line, c.line) << "program: " << show(c.program);
    }
}

} // namespace
