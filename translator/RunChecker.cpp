#include "RunChecker.h"

#include <exception>
#include <iostream>
#include <string>

#include "BasicFixedReader.h"
#include "BasicFreeReader.h"
#include "LexAn.h"
#include "ParseError.h"
#include "Parser.h"
#include "Translator.h"
#include "dialect_msg.h"
#include "source_form_selector.h"

#include "lbasic_free_include.h"
#include "lbasic_include.h"
#include "lkeys_include.h"
#include "lkeys_uk101_include.h"
#include "pbasic_include.h"
#include "preprocessor_include.h"

using parsing::BasicFreeReader;
using parsing::LexAn;
using parsing::ParseError;
using parsing::Parser;

const wchar_t* pruned_msg = nullptr;

namespace {

void print_line(std::wostream& out, std::wstring text) {
    text += L'\n';
    out << text;
}

// Gathers the diagnostic lines of one file and writes them in large pieces:
// the wide error stream is unit-buffered, so a line written by itself costs
// a conversion and a write of its own. What is gathered is written when the
// gatherer goes out of scope, also when an exception passes, so the stream
// receives the same bytes in the same order as line by line.
class line_gatherer {
public:
    explicit line_gatherer(std::wostream& out_) : out(out_) {}
    ~line_gatherer() { flush(); }
    void add(const std::wstring& text) {
        buffer += text;
        end_line();
    }
    // A diagnostic's line, formatted straight into the gathered text.
    void add(const ParseError& e) {
        e.append_format(buffer);
        end_line();
    }
    void flush() {
        if (!buffer.empty())
            out << buffer;
        buffer.clear();
    }

private:
    std::wostream& out;
    std::wstring buffer;

    void end_line() {
        buffer += L'\n';
        if (buffer.size() >= 1 << 16)
            flush();
    }

    line_gatherer(const line_gatherer&) = delete;
    line_gatherer& operator=(const line_gatherer&) = delete;
};

// Prints the kept diagnostics of a finished parse; a failed file's messages
// lose the keywords that the UK-101 dialect lacks and end with the trailer.
RunChecker::Result report(Parser& parser, int form, const char* fname) {
    line_gatherer lines(std::wcerr);
    // One diagnostic at a time: the parser keeps each text once, however
    // many diagnostics repeat it; a copy is made only where the pruning
    // changes a text.
    const std::size_t count = parser.errorCount();
    if (parser.successful()) {
        for (std::size_t i = 0; i < count; ++i)
            lines.add(parser.errors[i]);
        return RunChecker::passed;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const ParseError& kept = parser.errors[i];
        pruned_msg = dialect_msg(form, kept.describe().c_str());
        if (pruned_msg == kept.describe().c_str()) {
            lines.add(kept);
            continue;
        }
        ParseError e = parser.errorAt(i);
        e.txt = pruned_msg;
        lines.add(e);
    }
    lines.add(L"\nParsed with Errors: " + widen_signed(fname));
    return RunChecker::failed;
}

} // namespace

RunChecker::RunChecker(Translator& translator_) : translator(translator_) {}

RunChecker::~RunChecker() {
    // The table views first: each refers to its grammar.
    for (Grammar* g : {&pbasic, &lbasic, &lbasic_free, &lkeys, &lkeys_uk101, &preprocessor})
        g->table.reset();
    for (Grammar* g : {&pbasic, &lbasic, &lbasic_free, &lkeys, &lkeys_uk101, &preprocessor})
        g->release();
}

RunChecker::Result RunChecker::check(const char* fname, int form, int case_option, int debug_mode,
                                     bool warnings) {
    translator.nextFile();

    std::unique_ptr<BasicFreeReader> reader;
    if (form == free_form)
        reader.reset(new BasicFreeReader(fname));
    else
        reader.reset(new parsing::BasicFixedReader(fname));
    if (!reader->ifs || !reader->ifs->good() || !reader->ifs->is_open()) {
        print_line(std::wcerr, L"File not found: " + widen_signed(fname));
        return end_run;
    }
    reader->setWarnings(warnings);

    std::unique_ptr<LexAn> prescanner, keys, scanner;
    std::unique_ptr<Parser> parser;
    try {
        // A fault in a grammar's tables shows while they are built here.
        if (form == free_form) {
            scanner.reset(new LexAn(*reader, lbasic_free.need<::lbasic_free>(), &translator));
            if (case_option >= 0)
                scanner->input_case = case_option;
        } else {
            prescanner.reset(new LexAn(*reader, preprocessor.need<::preprocessor>(), &translator));
            if (form == uk101_form)
                keys.reset(new LexAn(*prescanner, lkeys_uk101.need<::lkeys_uk101>(), &translator));
            else
                keys.reset(new LexAn(*prescanner, lkeys.need<::lkeys>(), &translator));
            scanner.reset(new LexAn(*keys, lbasic.need<::lbasic>(), &translator));
            // The case option never reaches the preprocessor, nor a UK-101 chain.
            if (form == fixed_form && case_option >= 0) {
                keys->input_case = case_option;
                scanner->input_case = case_option;
            }
        }
        parser.reset(new Parser(*scanner, pbasic.need<::pbasic>(), &translator));
    } catch (const ParseError& e) {
        print_line(std::wcerr, L"exception:" + e.describe());
        return end_run;
    }

    translator.set_free_mode(form == free_form);
    translator.set_uk101(form == uk101_form);
    translator.set_file_reader(reader.get());
    translator.Parser = parser.get();
    translator.LexAn = scanner.get();
    translator.source_form = form;
    reader->setPreprocessor(prescanner.get(), preprocessor.table.get());
    reader->Parser = parser.get();
    scanner->sma = form != free_form;
    parser->shorter_match = form != free_form;
    translator.setDebug(debug_mode);
    scanner->debug = true;
    parser->setDebug(debug_mode);

    try {
        try {
            parser->parse();
            return report(*parser, form, fname);
        } catch (const ParseError& e) {
            print_line(std::wcerr, L"exception:" + e.describe());
        } catch (const std::exception& e) {
            std::cerr << "exception:" << e.what();
        }
        return failed;
    } catch (const std::exception& e) {
        // A fault while the handlers above report ends the run.
        std::cerr << e.what() << "\n";
        return end_run;
    }
}
