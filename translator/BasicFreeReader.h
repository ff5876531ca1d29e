#ifndef BASICFREEREADER_H
#define BASICFREEREADER_H

#include <fstream>
#include <locale>
#include <memory>
#include <string>

#include "ParseAction.h"
#include "RunScanner.h"

namespace parsing {

class Parser;
class LexAn;
class SimpleParsingTable;

// The first stage of every chain: reads one program file through the shared
// UTF-8 locale and hands it on one character per call, line by line. Every
// physical line loses its LF, is cut to 255 characters, loses one CR at its
// end and the blanks, tabs and CRs in front of a "!" that opens it, and is
// followed by CR LF (the last line too). Lines are numbered from 1. It shows
// the stage after it the characters of the current line up to the next double
// quote that it keeps track of (a RunScanner run): those have no effect but
// their delivery.
class BasicFreeReader : public RunScanner {
public:
    // The file's parser; the long-line warning goes there. Set by the driver.
    parsing::Parser* Parser;
    // The open file, owned. The driver tests it right after construction.
    std::unique_ptr<std::wifstream> ifs;
    int LITERAL_DOUBLE_QUOTE;
    bool closed_quotes;
    bool closed_dquotes; // flipped by every double quote outside REM lines
    bool incomment;      // the line being delivered is a REM line
    // Index of the line's first character other than blank, tab, CR and LF,
    // or -1; only characters within the first 255 are looked at.
    int pos_non_space;

    explicit BasicFreeReader(const char* name);
    explicit BasicFreeReader(const std::wstring& name);
    ~BasicFreeReader() override;

    int next(std::wstring* text) override;
    bool eof() override { return _eof; }
    bool available() override { return true; }
    std::wstring& source() override { return mySource; }
    int line() override { return myLine; }
    int equivalent(int) override { return -1; }
    wchar_t Case(wchar_t c) override { return _I_Scanner::Case(c); }

    virtual bool isFixed() { return false; }

    void setWarnings(bool on) { warnings = on; }
    // Stored for the chain's sake; the reader does not use them.
    void setPreprocessor(LexAn* stage, SimpleParsingTable* table) {
        preprocessor = stage;
        pre_spt = table;
    }
    // The preprocessor has scanned a whole DATA statement: quotes are closed.
    int ScannedDataStmt();
    int ParsedUnterminatedDQuoted();
    int ParsedUnterminatedQuoted();

    // The one locale of the run that carries my_codecvt_utf8; built on the
    // first call, never freed.
    static const std::locale& get_locale();

protected:
    static const std::locale* loc;
    bool warnings;
    std::string narrow_name; // the name exactly as given, for opening
    std::wstring _source_;
    std::wstring mySource;
    int _line_; // one more than the number of physical lines read so far
    int myLine; // the line being delivered
    int _long;  // the last line that drew the long-line warning
    int ch;     // the last character read into a line or delivered by next()
    bool _eof;
    // index in extended_line of the next character to deliver, as far as
    // next() knows: characters taken from the run have moved run_at on
    int pos_line;
    int line_end; // length of extended_line
    // index in extended_line of the double quote that ends the run shown
    // (line_end when none does); -1 when no run of the line is shown yet
    int run_stop;
    std::wstring extended_line;
    int get_line_rc; // once negative, no further line is read
    bool comment_line;
    // Of the physical line last read: its length without the LF, and
    // whether it ended (before the LF) with a CR.
    long full_length;
    bool ends_with_cr;
    const int d255;
    LexAn* preprocessor;
    SimpleParsingTable* pre_spt;

    // The per-line checks: the long-line warning and the REM test.
    virtual int validate();
    // Reads the next physical line into line, without its LF and keeping only
    // its first 255 characters; 0 when a line was read, -1 at the end of the
    // input (also when the stream fails, e.g. on a truncated last sequence).
    int get_line(std::wstring& line, bool expand);
    int fopen();
    static const std::locale* create_locale();
    void next_line();
    // Shows the characters from pos_line on as the run, up to a double quote
    // that next() must see.
    void show_run();

private:
    void init();

    BasicFreeReader(const BasicFreeReader&) = delete;
    BasicFreeReader& operator=(const BasicFreeReader&) = delete;
};

} // namespace parsing

#endif
