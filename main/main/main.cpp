// vorpak: a syntax checker for Applesoft and UK-101 BASIC program files.

#include <exception>
#include <iostream>
#include <memory>
#include <string>

#include "BasicFixedReader.h"
#include "BasicFreeReader.h"
#include "LexAn.h"
#include "ParseData.h"
#include "ParseError.h"
#include "Parser.h"
#include "SimpleParsingTable.h"
#include "Translator.h"
#include "cmd_arguments.h"
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
using parsing::SimpleParsingTable;

int g_rc = 0;
const wchar_t* pruned_msg = nullptr;

namespace {

// One grammar of the run and its table view, built when a file first needs
// them and kept to the end of the run.
struct Grammar {
    std::unique_ptr<ParseData> data;
    std::unique_ptr<SimpleParsingTable> table;

    template <class G> SimpleParsingTable& need() {
        if (!data)
            data.reset(new G());
        if (!table)
            table.reset(new SimpleParsingTable(*data));
        return *table;
    }
    void release() {
        table.reset();
        data.reset();
    }
};

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
        buffer += L'\n';
        if (buffer.size() >= 1 << 16)
            flush();
    }
    void flush() {
        if (!buffer.empty())
            out << buffer;
        buffer.clear();
    }

private:
    std::wostream& out;
    std::wstring buffer;

    line_gatherer(const line_gatherer&) = delete;
    line_gatherer& operator=(const line_gatherer&) = delete;
};

} // namespace

// The usage of an argument vector without even the program name.
int usage(int rc) {
    std::wcout << L"Usage is: kelvar [ {-|/}fixed|{-|/}free] <fname>.<ext>" << std::endl;
    std::wcout << L"ext .bas is assumed to be fixed form" << std::endl;
    std::wcout << L"ext .free is assumed to be free form" << std::endl;
    std::wcout << L"other ext is assumed to be free form" << std::endl;
    return rc;
}

// Checks every file of the command line in order; 0 when none failed, else -1.
int mmain(int argc, char** argv, char** argvp, arguments& args) {
    (void)argv;
    (void)argvp;
    // Before any output: the wide console streams get their own buffers, and
    // the conversion that never fails, so that a character outside ASCII in a
    // diagnostic cannot put a stream into a failed state and silence the rest.
    std::ios::sync_with_stdio(false);
    std::wcout.imbue(BasicFreeReader::get_locale());
    std::wcerr.imbue(BasicFreeReader::get_locale());
    if (argc <= 1)
        return usage(-1);

    Translator translator;
    Grammar preprocessor, lkeys, lkeys_uk101, lbasic, lbasic_free, pbasic;
    int rc = 0;

    for (const file_rec* file : args.files) {
        const int form = file->form;
        translator.nextFile();

        std::unique_ptr<BasicFreeReader> reader;
        if (form == free_form)
            reader.reset(new BasicFreeReader(file->fname));
        else
            reader.reset(new parsing::BasicFixedReader(file->fname));
        if (!reader->ifs || !reader->ifs->good() || !reader->ifs->is_open()) {
            print_line(std::wcerr, L"File not found: " + widen_signed(file->fname));
            return -1;
        }
        reader->setWarnings(args.warnings);

        std::unique_ptr<LexAn> prescanner, keys, scanner;
        std::unique_ptr<Parser> parser;
        try {
            // A fault in a grammar's tables shows while they are built here.
            if (form == free_form) {
                scanner.reset(new LexAn(*reader, lbasic_free.need<::lbasic_free>(), &translator));
                if (file->_case >= 0)
                    scanner->input_case = file->_case;
            } else {
                prescanner.reset(
                    new LexAn(*reader, preprocessor.need<::preprocessor>(), &translator));
                if (form == uk101_form)
                    keys.reset(
                        new LexAn(*prescanner, lkeys_uk101.need<::lkeys_uk101>(), &translator));
                else
                    keys.reset(new LexAn(*prescanner, lkeys.need<::lkeys>(), &translator));
                scanner.reset(new LexAn(*keys, lbasic.need<::lbasic>(), &translator));
                // The case option never reaches the preprocessor, nor a UK-101 chain.
                if (form == fixed_form && file->_case >= 0) {
                    keys->input_case = file->_case;
                    scanner->input_case = file->_case;
                }
            }
            parser.reset(new Parser(*scanner, pbasic.need<::pbasic>(), &translator));
        } catch (const ParseError& e) {
            print_line(std::wcerr, L"exception:" + e.describe());
            return -1;
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
        translator.setDebug(args.debug_mode);
        scanner->debug = true;
        parser->setDebug(args.debug_mode);

        try {
            try {
                parser->parse();
                std::wstring text;
                line_gatherer lines(std::wcerr);
                // One diagnostic at a time: the parser keeps each text once,
                // however many diagnostics repeat it.
                const std::size_t count = parser->errorCount();
                // A kept diagnostic formats itself whatever holds its text;
                // a copy is made only where the UK-101 pruning changes it.
                if (parser->successful()) {
                    for (std::size_t i = 0; i < count; ++i)
                        lines.add(parser->errors[i].format(text));
                } else {
                    rc = -1;
                    for (std::size_t i = 0; i < count; ++i) {
                        const ParseError& kept = parser->errors[i];
                        pruned_msg = dialect_msg(form, kept.describe().c_str());
                        if (pruned_msg == kept.describe().c_str()) {
                            lines.add(kept.format(text));
                            continue;
                        }
                        ParseError e = parser->errorAt(i);
                        e.txt = pruned_msg;
                        lines.add(e.format(text));
                    }
                    lines.add(L"\nParsed with Errors: " + widen_signed(file->fname));
                }
            } catch (const ParseError& e) {
                print_line(std::wcerr, L"exception:" + e.describe());
                rc = -1;
            } catch (const std::exception& e) {
                std::cerr << "exception:" << e.what();
                rc = -1;
            }
        } catch (const std::exception& e) {
            std::cerr << e.what() << "\n";
            return -1;
        }
    }

    pbasic.release();
    lbasic.release();
    lbasic_free.release();
    lkeys.release();
    lkeys_uk101.release();
    preprocessor.release();
    return rc;
}

int main(int argc, char** argv, char** argvp) {
    arguments args;
    int status;
    switch (args.cmd_select(argc, argv)) {
    case 0:
        args.usage();
        status = 0;
        break;
    case 1:
        args.version();
        status = 0;
        break;
    case 2:
        try {
            g_rc = mmain(argc, argv, argvp, args);
        } catch (const std::exception& e) {
            print_line(std::wcerr, widen_signed(e.what()));
            g_rc = -1;
        }
        status = g_rc;
        break;
    default:
        args.usage();
        status = -1;
        break;
    }
    return status;
}
