#include "RunChecker.h"

#include <algorithm>
#include <cwchar>
#include <exception>
#include <iostream>
#include <locale>
#include <string>
#include <unordered_map>
#include <vector>

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
//
// Given a byte buffer that writes where the wide stream does, the lines are
// encoded as bytes straight away, by the conversion of the wide stream's
// locale, and written into that buffer: no wide copy of each line, and a
// text shared by many diagnostics is encoded once.
class line_gatherer {
public:
    line_gatherer(std::wostream& out_, std::streambuf* bytes_) : out(out_), bytes(bytes_) {}
    ~line_gatherer() { flush(); }
    void add(const std::wstring& text) {
        if (bytes)
            encode(narrow, text.data(), text.size());
        else
            buffer += text;
        end_line();
    }
    // A diagnostic's line, formatted straight into the gathered text.
    void add(const ParseError& e) {
        if (!bytes) {
            e.append_format(buffer);
            end_line();
            return;
        }
        if (e.located()) {
            // As append_location writes it, with the source encoded once.
            if (e._source != source) {
                source = e._source;
                source_bytes.clear();
                encode(source_bytes, source.data(), source.size());
            }
            append(narrow, source_bytes);
            narrow.push_back(':');
            char digits[20];
            narrow.insert(narrow.end(),
                          parsing::decimal_digits(digits + 20, static_cast<unsigned long>(e._line)),
                          digits + 20);
            narrow.push_back(':');
        }
        append(narrow, encoded_once(e.kind_text(), nullptr));
        if (e.shared_txt)
            append(narrow, encoded_once(e.shared_txt->c_str(), e.shared_txt.get()));
        else
            encode(narrow, e.txt.data(), e.txt.size());
        end_line();
    }
    void flush() {
        if (!bytes) {
            if (!buffer.empty())
                out << buffer;
            buffer.clear();
            return;
        }
        if (narrow.empty())
            return;
        // As the wide stream would: its tied stream first, nothing once it
        // has failed, and a failed write fails it.
        if (out.good()) {
            if (std::wostream* tied = out.tie())
                tied->flush();
            // A unit-buffered stream holds nothing: it wrote all it was given.
            if (!(out.flags() & std::ios::unitbuf))
                out.flush();
            const auto n = static_cast<std::streamsize>(narrow.size());
            if (bytes->sputn(narrow.data(), n) != n || bytes->pubsync() != 0 || failed)
                out.setstate(std::ios::badbit);
        }
        narrow.clear();
    }

private:
    std::wostream& out;
    std::streambuf* bytes;
    // The wide stream's conversion; looked up at the first text encoded.
    const std::codecvt<wchar_t, char, std::mbstate_t>* facet = nullptr;
    std::wstring buffer; // the wide lines (without bytes)
    // The byte strings are vectors: their code is all in this program, as a
    // run with a few diagnostics needs no more library code than before.
    using bytes_t = std::vector<char>;
    bytes_t narrow; // the encoded lines
    // The encoded kinds and shared diagnostic texts, by their address.
    std::unordered_map<const void*, bytes_t> encoded;
    std::wstring source;  // the source of the last located line
    bytes_t source_bytes; // and its encoding
    bool failed = false;  // the conversion failed: the stream is failed at the flush

    // The encoding of a text that stays in place while the gatherer lives:
    // a kind's literal, or a shared diagnostic text (then given as well).
    static void append(bytes_t& to, const bytes_t& from) {
        to.insert(to.end(), from.begin(), from.end());
    }
    const bytes_t& encoded_once(const wchar_t* text, const std::wstring* shared) {
        bytes_t& bytes_ = encoded[text];
        if (bytes_.empty()) {
            if (shared)
                encode(bytes_, shared->data(), shared->size());
            else
                encode(bytes_, text, std::char_traits<wchar_t>::length(text));
        }
        return bytes_;
    }
    // Appends text[0, n) to `to` as the conversion writes it; the
    // conversion copies runs of ASCII, nearly all of every text, as they are.
    void encode(bytes_t& to, const wchar_t* text, std::size_t n) {
        if (n == 0 || failed)
            return;
        if (!facet)
            facet = &std::use_facet<std::codecvt<wchar_t, char, std::mbstate_t>>(out.getloc());
        const std::size_t most = static_cast<std::size_t>(std::max(facet->max_length(), 4));
        const std::size_t at = to.size();
        to.resize(at + n * most);
        std::mbstate_t state{};
        const wchar_t* from_next = text;
        char* to_next = nullptr;
        const auto r = facet->out(state, text, text + n, from_next, to.data() + at,
                                  to.data() + to.size(), to_next);
        if (r != std::codecvt_base::ok || from_next != text + n) {
            // The wide stream would fail at such a text and write no more:
            // so does this.
            failed = true;
            to.resize(at);
            return;
        }
        to.resize(static_cast<std::size_t>(to_next - to.data()));
    }

    void end_line() {
        if (bytes) {
            narrow.push_back('\n');
            if (narrow.size() >= 1 << 16)
                flush();
            return;
        }
        buffer += L'\n';
        if (buffer.size() >= 1 << 16)
            flush();
    }

    line_gatherer(const line_gatherer&) = delete;
    line_gatherer& operator=(const line_gatherer&) = delete;
};

// Prints the kept diagnostics of a finished parse; a failed file's messages
// lose the keywords that the UK-101 dialect lacks and end with the trailer.
RunChecker::Result report(Parser& parser, int form, const char* fname,
                          std::streambuf* error_bytes) {
    line_gatherer lines(std::wcerr, error_bytes);
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
            return report(*parser, form, fname, error_bytes);
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
