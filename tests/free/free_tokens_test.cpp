// The tokens that the free-form stage delivers from source lines: words,
// numbers, strings, comments, DATA statements, the line-end runs, the
// characters that begin no token, the case option and the alternatives.

#include <gtest/gtest.h>

#include "LexAn.h"
#include "SimpleParsingTable.h"
#include "free_stage.h"

namespace {

struct Case {
    std::vector<std::wstring> lines;
    std::string tokens;
};

void expect_cases(const std::vector<Case>& cases, int input_case = 1, bool alternatives = false) {
    for (const Case& c : cases) {
        std::string input;
        for (const std::wstring& l : c.lines)
            input += (input.empty() ? "" : " / ") + std::string(l.begin(), l.end());
        EXPECT_EQ(scan(c.lines, input_case, alternatives), c.tokens)
            << "source lines: " << input << (input_case ? "" : " (not folded)");
    }
}

TEST(FreeTokens, KeywordsWhereverATokenBegins) {
    expect_cases({
        {{L"10 FOR I = 1 TO 10: PRINT \"HI\";I: NEXT"},
         "int[10] FOR[FOR] name[I] '=' int[1] TO[TO] int[10] :[: ] PRINT[PRINT] str[\"HI\"] ;[;] "
         "name[I] :[: ] NEXT[NEXT] CR[\\r] EOF"},
        {{L"print chr$(65)"}, "PRINT[print] CHR$[chr$] ([(] int[65] )[)] CR[\\r] EOF"},
        {{L"PRINTX$"}, "PRINT[PRINT] name[X$] CR[\\r] EOF"},
        {{L"GR$"}, "GR[GR] '$' CR[\\r] EOF"},
        {{L"TOTAL"}, "TO[TO] name[TAL] CR[\\r] EOF"},
        {{L"XTO"}, "name[XTO] CR[\\r] EOF"},
        {{L"ATO"}, "AT[AT] name[O] CR[\\r] EOF"},
        {{L"ATN(1)"}, "ATN[ATN] ([(] int[1] )[)] CR[\\r] EOF"},
        {{L"HGR2"}, "HGR2[HGR2] CR[\\r] EOF"},
        {{L"HGR3"}, "HGR[HGR] int[3] CR[\\r] EOF"},
        {{L"ONERR GOTO100"}, "ONERR[ONERR] GOTO[GOTO] int[100] CR[\\r] EOF"},
        {{L"ONE"}, "ON[ON] name[E] CR[\\r] EOF"},
        {{L"NOTR"}, "NOT[NOT] name[R] CR[\\r] EOF"},
        {{L"NOTRACE"}, "NOTRACE[NOTRACE] CR[\\r] EOF"},
        {{L"IN#6"}, "IN#[IN#] int[6] CR[\\r] EOF"},
        {{L"FNA"}, "FN[FN] name[A] CR[\\r] EOF"},
        {{L"PRINT$"}, "PRINT[PRINT] '$' CR[\\r] EOF"},
        {{L"XPLOT 1"}, "XPLOT[XPLOT] int[1] CR[\\r] EOF"},
        {{L"DEF FNA(X) = X*X/2^3"},
         "DEF[DEF] FN[FN] name[A] ([(] name[X] )[)] '=' name[X] mult[*] name[X] mult[/] int[2] "
         "pow[^] int[3] CR[\\r] EOF"},
    });
}

TEST(FreeTokens, LookAheadKeywordsNeedTheirCharacter) {
    expect_cases({
        {{L"COLOR=3"}, "COLOR[COLOR] '=' int[3] CR[\\r] EOF"},
        {{L"COLOR = 3"}, "name[COLOR] '=' int[3] CR[\\r] EOF"},
        {{L"COLORX = 1"}, "name[COLORX] '=' int[1] CR[\\r] EOF"},
        {{L"COLOR$=1"}, "name[COLOR$] '=' int[1] CR[\\r] EOF"},
        {{L"HCOLOR=3: ROT=0: SCALE= 1"},
         "HCOLOR[HCOLOR] '=' int[3] :[: ] ROT[ROT] '=' int[0] :[: ] SCALE[SCALE] '=' int[1] "
         "CR[\\r] EOF"},
        {{L"SPEED=9:ROT =1"}, "SPEED[SPEED] '=' int[9] :[:] name[ROT] '=' int[1] CR[\\r] EOF"},
        {{L"HIMEM: 16384"}, "HIMEM[HIMEM] :[: ] int[16384] CR[\\r] EOF"},
        {{L"LOMEM:1"}, "LOMEM[LOMEM] :[:] int[1] CR[\\r] EOF"},
        {{L"SPC (5)"}, "name[SPC] ([(] int[5] )[)] CR[\\r] EOF"},
        {{L"TAB(X)"}, "TAB[TAB] ([(] name[X] )[)] CR[\\r] EOF"},
        {{L"SCRN(1,2)"}, "SCRN[SCRN] ([(] int[1] ,[,] int[2] )[)] CR[\\r] EOF"},
        // Not followed by its character, the word is a name whatever follows.
        {{L"COLOR\u20AC"}, "name[COLOR] U+20AC[\\u20AC] CR[\\r] EOF"},
        {{L"COLORX\u20AC"}, "name[COLOR] 'X' U+20AC[\\u20AC] CR[\\r] EOF"},
    });
}

TEST(FreeTokens, NamesNeedASeparator) {
    expect_cases({
        {{L"OK"}, "OK[OK] CR[\\r] EOF"},
        {{L"OKAY"}, "name[OKAY] CR[\\r] EOF"},
        {{L"OK1 OK$"}, "name[OK1] name[OK$] CR[\\r] EOF"},
        {{L"OKX\u20AC"}, "OK[OK] 'X' U+20AC[\\u20AC] CR[\\r] EOF"},
        {{L"A% = -B1"}, "name[A%] '=' minus[-] name[B1] CR[\\r] EOF"},
        {{L"A$ = \"HI\" + B$(2)"},
         "name[A$] '=' str[\"HI\"] add[+] name[B$] ([(] int[2] )[)] CR[\\r] EOF"},
        {{L"X$Y"}, "'X' '$' name[Y] CR[\\r] EOF"},
        {{L"A&B"}, "name[A] '&' name[B] CR[\\r] EOF"},
        {{L"AB\u20AC"}, "'A' 'B' U+20AC[\\u20AC] CR[\\r] EOF"},
        {{std::wstring(L"A") + L'\0' + L"B"}, "'A' U+0000[\\u0000] name[B] CR[\\r] EOF"},
        {{L"Z9.A@"}, "name[Z9] real[.] name[A] '@' CR[\\r] EOF"},
    });
}

TEST(FreeTokens, NumbersAndOperators) {
    expect_cases({
        {{L"X = 1.5E+3 + .5"}, "name[X] '=' real[1.5E+3] add[+] real[.5] CR[\\r] EOF"},
        {{L"Y = 2.5E-3*1E"}, "name[Y] '=' real[2.5E-3] mult[*] real[1E] CR[\\r] EOF"},
        {{L"1E+X"}, "real[1E] add[+] name[X] CR[\\r] EOF"},
        {{L"1.2.3"}, "real[1.2] real[.3] CR[\\r] EOF"},
        {{L"."}, "real[.] CR[\\r] EOF"},
        {{L"1. 1.E 1e5"}, "real[1.] real[1.E] real[1e5] CR[\\r] EOF"},
        {{L"2X"}, "int[2] name[X] CR[\\r] EOF"},
        {{L"10PRINT"}, "int[10] PRINT[PRINT] CR[\\r] EOF"},
        {{L"PRINT 1;2,3?"}, "PRINT[PRINT] int[1] ;[;] int[2] ,[,] int[3] '?' CR[\\r] EOF"},
        {{L"PRINT 5 % 2"}, "PRINT[PRINT] int[5] '%' int[2] CR[\\r] EOF"},
        {{L"IF A <> B THEN 10"}, "IF[IF] name[A] rel[<>] name[B] THEN[THEN] int[10] CR[\\r] EOF"},
        {{L"A=<B"}, "name[A] '=' rel[<] name[B] CR[\\r] EOF"},
        {{L"<=>=><>"}, "rel[<=] rel[>=] rel[><] rel[>] CR[\\r] EOF"},
    });
    // An exponent letter may be written in lower case when nothing folds.
    expect_cases({{{L"1e5 2E"}, "real[1e5] real[2E] CR[\\r] EOF"}}, 0);
}

TEST(FreeTokens, StringsAndComments) {
    expect_cases({
        {{L"\"ABC"}, "str[\"ABC] CR[\\r] EOF"},
        {{L"\"A\"\"B\""}, "str[\"A\"] str[\"B\"] CR[\\r] EOF"},
        // A character from 0x80 up reaches the parser as the keyword code of
        // its number: 0xE9 is RIGHT$.
        {{L"PRINT \"caf\u00E9\""}, "PRINT[PRINT] str[\"caf] RIGHT$[\\u00E9] str[\"] CR[\\r] EOF"},
        {{L"10 REM HELLO: WORLD"}, "int[10] rem[REM HELLO: WORLD] CR[\\r] EOF"},
        {{L"REM"}, "rem[REM] CR[\\r] EOF"},
        {{L"REMARK"}, "rem[REMARK] CR[\\r] EOF"},
        {{L"REM caf\u00E9"}, "rem[REM caf] RIGHT$[\\u00E9] CR[\\r] EOF"},
        {{L"REM \u2013\u2019\u201C \u201D X"},
         "rem[REM \\u2013\\u2019\\u201C ] U+201D[\\u201D] name[X] CR[\\r] EOF"},
        {{L"\u201C"}, "U+201C[\\u201C] CR[\\r] EOF"},
    });
}

TEST(FreeTokens, WholeDataStatements) {
    expect_cases({
        {{L"DATA 1,\"A:B\",C D : PRINT"},
         "data[DATA 1,\"A:B\",C D ] :[: ] PRINT[PRINT] CR[\\r] EOF"},
        {{L"DATA \"A\" ,\"B\""}, "data[DATA \"A\"] ,[,] str[\"B\"] CR[\\r] EOF"},
        {{L"DATA \"A\", \"B\" , C"}, "data[DATA \"A\", \"B\" , C] CR[\\r] EOF"},
        {{L"DATA \"A,B:C"}, "data[DATA \"A,B:C] CR[\\r] EOF"},
        {{L"DATA"}, "data[DATA] CR[\\r] EOF"},
        {{L"DATAX"}, "data[DATAX] CR[\\r] EOF"},
        {{L"DATA:"}, "data[DATA] :[:] CR[\\r] EOF"},
        {{L"DATA \"A\"X"}, "data[DATA \"A\"] name[X] CR[\\r] EOF"},
        {{L"DATA 1, \"A\" X"}, "data[DATA 1, \"A\" ] name[X] CR[\\r] EOF"},
        {{L"DATA A\u20ACB"}, "data[DATA A] U+20AC[\\u20AC] name[B] CR[\\r] EOF"},
        {{L"data 1,2"}, "data[data 1,2] CR[\\r] EOF"},
    });
}

TEST(FreeTokens, LineEndsSpacesAndColons) {
    expect_cases({
        // The empty line, the "!" line and the leading colon vanish in the
        // run that the line feed begins.
        {{L"PRINT", L"", L"  ! NOTE", L":END"}, "PRINT[PRINT] CR[\\r] END[END] CR[\\r] EOF"},
        {{L"PRINT", L"   ", L":::", L"!A:B", L"  :  END"},
         "PRINT[PRINT] CR[\\r] END[END] CR[\\r] EOF"},
        {{L""}, "CR[\\r] EOF"},
        {{L"", L"", L""}, "CR[\\r] EOF"},
        {{L"!X"}, "'!' name[X] CR[\\r] EOF"},
        {{L": : PRINT"}, ":[: : ] PRINT[PRINT] CR[\\r] EOF"},
        {{L"A:  :B"}, "name[A] :[:  :] name[B] CR[\\r] EOF"},
        {{L"\tEND\t"}, "END[END] CR[\\r] EOF"},
        // A character that is not plain ends the run and the rest of its
        // line is program text.
        {{L"PRINT", L"!A\u20ACB"}, "PRINT[PRINT] CR[\\r] U+20AC[\\u20AC] name[B] CR[\\r] EOF"},
    });
}

TEST(FreeTokens, CharactersThatBeginNoToken) {
    expect_cases({
        {{L"#&'@[\\]_`{|}~\x7F"},
         "'#' '&' ''' '@' '[' '\\' ']' '_' '`' '{' '|' '}' '~' '\\u007F' CR[\\r] EOF"},
        {{L"\x01\x0B"}, "'\\u0001' '\\u000B' CR[\\r] EOF"},
        {{L"IN #"}, "name[IN] '#' CR[\\r] EOF"},
    });
}

TEST(FreeTokens, CaseOptionTurnsFoldingOff) {
    expect_cases({{{L"10 print x"}, "int[10] PRINT[print] name[x] CR[\\r] EOF"}});
    expect_cases(
        {
            {{L"10 print x"}, "int[10] 'p' 'r' 'i' 'n' 't' 'x' CR[\\r] EOF"},
            {{L"PRINT x"}, "PRINT[PRINT] 'x' CR[\\r] EOF"},
            {{L"Xy = 1"}, "'X' 'y' '=' int[1] CR[\\r] EOF"},
            {{L"rem x"}, "'r' 'e' 'm' 'x' CR[\\r] EOF"},
            {{L"ok"}, "'o' 'k' CR[\\r] EOF"},
        },
        0);
}

TEST(FreeTokens, Alternatives) {
    expect_cases(
        {
            {{L"-5"}, "minus[-]{add} int[5]{linenum real} CR[\\r] EOF"},
            {{L"+5"}, "add[+] int[5]{linenum real} CR[\\r] EOF"},
            {{L"A=1"}, "name[A] '='{rel} int[1]{linenum real} CR[\\r] EOF"},
            {{L"A<>1"}, "name[A] rel[<>] int[1]{linenum real} CR[\\r] EOF"},
            {{L"OK"}, "OK[OK]{name} CR[\\r] EOF"},
            {{L"OKAY"}, "name[OKAY] CR[\\r] EOF"},
            {{L"IN#1:PR#3"},
             "IN#[IN#] int[1]{linenum real} :[:] PR#[PR#] int[3]{linenum real} "
             "CR[\\r] EOF"},
            {{L"REM"}, "rem[REM]{REM} CR[\\r] EOF"},
            {{L"REM X"}, "rem[REM X] CR[\\r] EOF"},
            {{L"REMARK"}, "rem[REMARK] CR[\\r] EOF"},
            {{L"REM$"}, "rem[REM$] CR[\\r] EOF"},
            {{L"DATA"}, "data[DATA]{DATA} CR[\\r] EOF"},
            {{L"DATA:X"}, "data[DATA]{DATA} :[:] name[X] CR[\\r] EOF"},
            {{L"DATA "}, "data[DATA ] CR[\\r] EOF"},
            {{L"DATAX"}, "data[DATAX] CR[\\r] EOF"},
            // Tokens accepted by a back-up have none.
            {{L"COLOR=1"}, "COLOR[COLOR] '='{rel} int[1]{linenum real} CR[\\r] EOF"},
            {{L"X=1.5"}, "name[X] '='{rel} real[1.5] CR[\\r] EOF"},
        },
        1, true);
}

// The stage folds unless told otherwise, and after the last line it keeps
// answering the end mark with an empty text.
TEST(FreeTokens, StartsFoldingAndStaysAtTheEnd) {
    parsing::SimpleParsingTable table(free_grammar());
    LineSource source({L"end"});
    parsing::LexAn stage(source, table, nullptr);
    EXPECT_EQ(stage.input_case, Input_ToUpper);
    std::wstring text;
    EXPECT_EQ(stage.next(&text), 0x80) << "END in lower case";
    EXPECT_EQ(stage.next(&text), 65568) << "CR";
    for (int i = 0; i < 3; ++i) {
        text = L"x";
        EXPECT_EQ(stage.next(&text), -1) << "request " << i << " after the last line";
        EXPECT_EQ(text, L"");
        EXPECT_TRUE(stage.eof());
    }
}

} // namespace
