#ifndef RUNCHECKER_H
#define RUNCHECKER_H

#include <memory>
#include <streambuf>

#include "ParseData.h"
#include "SimpleParsingTable.h"

class Translator;

// The result of the last UK-101 pruning of a message (dialect_msg).
extern const wchar_t* pruned_msg;

// Checks the files of one run: builds each file's chain of reader, lexical
// stages and parser, runs the parse and prints the file's diagnostics on the
// wide standard error stream. The grammars and their table views are built
// when a file first needs them and kept until the checker is destroyed; the
// reader, the stages and the parser live for one file.
class RunChecker {
public:
    enum Result {
        passed = 0,   // the file parsed without errors (warnings may be printed)
        failed = -1,  // the file failed; the run goes on with the next file
        end_run = -2, // the run must end at once (file not found, a broken chain)
    };

    explicit RunChecker(Translator& translator);
    // Deletes the table views of pbasic, lbasic, lbasic_free, lkeys,
    // lkeys_uk101 and preprocessor, then the grammars in the same order.
    ~RunChecker();

    // form is a source_form value; case_option a case_sensitive value or -1.
    Result check(const char* fname, int form, int case_option, int debug_mode, bool warnings);

    // A byte buffer that writes where the wide error stream writes, so that
    // the diagnostics of a file go into it as the bytes that the stream's
    // conversion makes of them, without the wide stream's conversion per
    // piece. Null (the default): they go through the wide error stream.
    void set_error_bytes(std::streambuf* bytes) { error_bytes = bytes; }

private:
    // One grammar and its table view, built on first use.
    struct Grammar {
        std::unique_ptr<ParseData> data;
        std::unique_ptr<parsing::SimpleParsingTable> table;

        template <class G> parsing::SimpleParsingTable& need() {
            if (!data)
                data.reset(new G());
            if (!table)
                table.reset(new parsing::SimpleParsingTable(*data));
            return *table;
        }
        void release() {
            table.reset();
            data.reset();
        }
    };

    Translator& translator;
    std::streambuf* error_bytes = nullptr;
    Grammar preprocessor, lkeys, lkeys_uk101, lbasic, lbasic_free, pbasic;

    RunChecker(const RunChecker&) = delete;
    RunChecker& operator=(const RunChecker&) = delete;
};

#endif
