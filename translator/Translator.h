#ifndef TRANSLATOR_H
#define TRANSLATOR_H

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

class ParseData;

namespace parsing {
class Parser;
class LexAn;
class SimpleParsingTable;
class BasicFreeReader;
class DataStringScanner;
struct p_entry;
} // namespace parsing

// The semantic host of a run: the one context object that every lexer action
// and semantic action reaches. It knows the current file (dialect flags, main
// parser, last lexical stage, reader, labels seen so far), answers the lexer
// actions with the id to deliver, runs the checks the statement grammar asks
// for, checks every DATA statement on its own, and puts every finding into
// the file's main parser, stamped with the current source and line.
//
// Handlers may only be called while a file's main Parser runs: the driver sets
// Parser, LexAn, the reader and the dialect flags before it starts the parse.
class Translator {
public:
    ParseData* pdata;
    // The current file's main parser; receives every diagnostic of the host.
    parsing::Parser* Parser;
    // The current file's last lexical stage (the one the main parser reads).
    parsing::LexAn* LexAn;
    bool is_free_mode;
    bool is_uk101;
    bool has_errors;
    int input_case;
    // The run's debug level is above 0; every DATA parser traces at level 1 then.
    bool debug;
    // The objects of the DATA check; null until the first DATA statement of the
    // run, then kept until the host is destroyed.
    ParseData* data_ltable; // the data_scanner grammar
    ParseData* data_ptable; // the data_parser grammar

    // The current file's reader; set by set_file_reader, not owned.
    parsing::BasicFreeReader* r;
    // The current file's dialect (a source_form value).
    int source_form;
    // The line numbers defined so far in the current file: a bit per number
    // up to the largest seen, below 2^24 (at most 2 MB, and a few kilobytes
    // for a program's numbers, however long the file); a number beyond that
    // goes into the set as its digits without leading zeros, so numbers of
    // any length compare by value and the set holds no more than the text of
    // the labels it was given. A lookup takes no longer than reading the
    // number.
    std::vector<std::uint64_t> labels;
    std::unordered_set<std::string> other_labels;

    Translator();
    ~Translator();

    // Per-file setting, called by the driver before each parse.
    void nextFile();
    bool set_free_mode(bool mode);
    bool set_uk101(bool mode);
    bool set_file_reader(parsing::BasicFreeReader* reader);
    void setDebug(int level);

    bool free_mode() const { return is_free_mode; }
    bool uk101() const { return is_uk101; }
    // The current file's last lexical stage folds what it reads to upper case.
    bool isUpper() const;
    // Line and source name that the main parser's scanner reports right now.
    int line();
    std::wstring& source();

    // Diagnostics into the main parser, stamped with source() and line().
    // error(msg) sets has_errors; the two-text forms fill val into the first
    // '%s' (or "%s") of msg, or append a blank and val when there is none.
    void error(const wchar_t* msg);
    void error(const wchar_t* msg, const wchar_t* val);
    void warning(const wchar_t* msg);
    void warning(const wchar_t* msg, const wchar_t* val);

    // Lexer side: id is the token id of the rule just reduced, value its text;
    // the result is the id the stage delivers.
    int ScannedDataStmt();
    int A_onUpperAT(int id, std::wstring& value);
    int a_onLowerAT(int id, std::wstring& value);
    int ValidateDataCase(int id, std::wstring& value);
    int SpacedToLiteral(int id, int literal, std::wstring& value, bool isReal);

    // Parser side: Father is $$, the others the entries of the right side.
    // Results are ignored by the callers.
    int onDataStmt(parsing::p_entry& Father, parsing::p_entry& child);
    int onDataStmtAsInstruction(parsing::p_entry& Father, parsing::p_entry& child);
    int onLabelDefinition(parsing::p_entry& Father, parsing::p_entry& c1);
    // childs is the count of line numbers as a digit; comma is ',' or 0.
    int onList(parsing::p_entry& Father, parsing::p_entry& c1, parsing::p_entry& c2, char childs,
               char comma);
    int onFor(parsing::p_entry& Father, parsing::p_entry& c1, parsing::p_entry& c2,
              parsing::p_entry& c3, parsing::p_entry& c4, char childs);
    int onIndexList(parsing::p_entry& Father, parsing::p_entry& c1, parsing::p_entry& c2,
                    char childs);
    int onLine(parsing::p_entry& Father, parsing::p_entry& c1, parsing::p_entry& c2);
    int onNext(parsing::p_entry& Father, parsing::p_entry& c1, char childs);

    // Re-parses the text of one DATA statement and moves its diagnostics into
    // the main parser; 0 when the nested parse succeeded, -1 otherwise. A
    // text that passes_data_check settles is not parsed (unless the run
    // traces). mode is a tag that the check does not look at.
    int ValidateData(const wchar_t* text, char mode);
    // True when the check of a DATA statement's text is known to pass
    // without a diagnostic, from one pass over the text; false when only
    // the nested parse can tell. lower_case_keyword: a keyword in lower
    // case draws no case diagnostic.
    static bool passes_data_check(const wchar_t* text, bool lower_case_keyword);

    // The value of the leading decimal digits of text, blanks and tabs
    // skipped anywhere; saturates at the limits of int.
    int watoi(const wchar_t* text);

private:
    std::unique_ptr<parsing::DataStringScanner> data_scanner;
    std::unique_ptr<std::wstring> data_string; // the DataStringScanner reads it in place
    std::unique_ptr<parsing::SimpleParsingTable> data_sptl;
    std::unique_ptr<parsing::SimpleParsingTable> data_sptp;
    std::unique_ptr<parsing::LexAn> data_lexer;   // made at the first DATA statement parsed,
    std::unique_ptr<parsing::Parser> data_parser; // then restarted for each one
    std::wstring wmsg;

    int data_init(const wchar_t* text);
    void data_grammars();
    void data_null();
    void data_free();
    void put(int type, const wchar_t* text);

    Translator(const Translator&) = delete;
    Translator& operator=(const Translator&) = delete;
};

#endif
