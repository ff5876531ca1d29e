#include "file_check.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <locale>
#include <memory>
#include <sstream>

#include "BasicFreeReader.h"
#include "RunChecker.h"
#include "Translator.h"
#include "source_form_selector.h"

using parsing::BasicFreeReader;

namespace vorpak_fuzz {

namespace {

// What a run of the driver keeps from file to file.
struct Run {
    Translator translator;
    RunChecker checker{translator};
};

Run& run() {
    static Run* the_run = new Run(); // lives to the end of the process, like the driver's
    return *the_run;
}

// The driver writes its wide streams through the UTF-8 facet. This buffer
// does the same with what it receives and drops the bytes: the conversion of
// every character runs, without keeping a trace that may run to megabytes.
class converting_sink : public std::wstreambuf {
public:
    converting_sink() : facet(std::use_facet<facet_type>(BasicFreeReader::get_locale())) {
        setp(units, units + unit_room);
    }

protected:
    int_type overflow(int_type c) override {
        convert_pending();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override {
        convert_pending();
        return 0;
    }

private:
    typedef std::codecvt<wchar_t, char, std::mbstate_t> facet_type;
    static const int unit_room = 4096;

    void convert_pending() {
        const wchar_t* from = pbase();
        while (from < pptr()) {
            std::mbstate_t state{};
            const wchar_t* from_next = from;
            char* to_next = bytes;
            facet.out(state, from, pptr(), from_next, bytes, bytes + sizeof bytes, to_next);
            from = from_next;
        }
        setp(units, units + unit_room);
    }

    const facet_type& facet;
    wchar_t units[unit_room];
    char bytes[3 * unit_room]; // at most three bytes a unit
};

// Everything the standard streams receive while it lives; restored after.
// Standard output (the traces) only goes through the conversion.
class Capture {
public:
    Capture()
        : werr(std::wcerr.rdbuf(&werr_buf)), wout(std::wcout.rdbuf(&wout_sink)),
          err(std::cerr.rdbuf(&err_buf)), out(std::cout.rdbuf(&out_buf)), c_err(stderr) {
        mem = open_memstream(&mem_text, &mem_size);
        if (mem)
            stderr = mem;
    }
    ~Capture() { restore(); }

    void restore() {
        if (restored)
            return;
        restored = true;
        std::wcerr.rdbuf(werr);
        std::wcout.rdbuf(wout);
        std::cerr.rdbuf(err);
        std::cout.rdbuf(out);
        if (mem) {
            stderr = c_err;
            std::fclose(mem);
            if (mem_text)
                c_error.assign(mem_text, mem_size);
            std::free(mem_text);
            mem = nullptr;
        }
    }

    std::wstringbuf werr_buf;
    converting_sink wout_sink;
    std::stringbuf err_buf, out_buf;
    std::string c_error;

private:
    std::wstreambuf* werr;
    std::wstreambuf* wout;
    std::streambuf* err;
    std::streambuf* out;
    FILE* c_err;
    FILE* mem = nullptr;
    char* mem_text = nullptr;
    std::size_t mem_size = 0;
    bool restored = false;
};

// The driver's check of one file, writing where the driver does.
int check_one(const std::string& path, const Pass& pass) {
    RunChecker::Result result =
        run().checker.check(path.c_str(), pass.form, pass.case_option, pass.debug, pass.warnings);
    return result == RunChecker::passed ? 0 : -1;
}

bool starts_with(const std::wstring& s, const std::wstring& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

std::string narrow(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s)
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    return out;
}

// The diagnostic kinds as format() writes them after "<file>:<line>:".
const wchar_t* const kinds[] = {L" error: syntax:", L" error: semantic:", L" error: type:",
                                L" error: link:",   L" warning: ",        L" info:"};

// Empty when line is a diagnostic of path at a line from 1 to max_line.
std::string judge_diagnostic(const std::wstring& line, const std::wstring& path, long max_line) {
    if (!starts_with(line, path + L":"))
        return "does not begin with the file name and a colon";
    std::size_t p = path.size() + 1;
    long number = 0;
    std::size_t digits = 0;
    while (p < line.size() && line[p] >= L'0' && line[p] <= L'9' && digits < 10) {
        number = number * 10 + (line[p] - L'0');
        ++p;
        ++digits;
    }
    if (digits == 0 || p >= line.size() || line[p] != L':')
        return "has no line number after the file name";
    if (number < 1 || number > max_line)
        return "names line " + std::to_string(number) + " of a file of " +
               std::to_string(max_line) + " line(s)";
    const std::wstring rest = line.substr(p + 1);
    for (const wchar_t* kind : kinds)
        if (starts_with(rest, kind))
            return "";
    return "has no diagnostic kind after the line number";
}

} // namespace

const std::vector<Pass>& all_passes() {
    static const std::vector<Pass> passes = {
        {fixed_form, -1, 0, false}, {fixed_form, case_yes, 1, true}, {fixed_form, case_no, 2, true},
        {free_form, -1, 0, false},  {free_form, case_yes, 1, true},  {free_form, case_no, 2, true},
        {uk101_form, -1, 0, false}, {uk101_form, case_no, 2, true},
    };
    return passes;
}

std::vector<Pass> passes_of(const std::string& dialect) {
    int form = -1;
    if (dialect == "fixed")
        form = fixed_form;
    else if (dialect == "free")
        form = free_form;
    else if (dialect == "uk101")
        form = uk101_form;
    std::vector<Pass> out;
    for (const Pass& p : all_passes())
        if (form < 0 || p.form == form)
            out.push_back(p);
    return out;
}

std::string describe(const Pass& pass) {
    std::string s = pass.form == free_form    ? "-free"
                    : pass.form == uk101_form ? "-uk101"
                                              : "-fixed";
    if (pass.case_option == case_yes)
        s += " -case";
    else if (pass.case_option == case_no)
        s += " -no-case";
    if (pass.debug == 1)
        s += " -debug";
    else if (pass.debug > 1)
        s += " -debug=" + std::to_string(pass.debug);
    if (pass.warnings)
        s += " -w";
    return s;
}

Outcome check_file(const std::string& path, const Pass& pass) {
    Outcome outcome;
    Capture capture;
    outcome.status = check_one(path, pass);
    std::wcerr.flush();
    std::wcout.flush();
    std::cerr.flush();
    capture.restore();
    outcome.wide = capture.werr_buf.str();
    outcome.narrow = capture.err_buf.str();
    outcome.c_error = capture.c_error;
    // Standard error goes through the conversion too.
    capture.wout_sink.sputn(outcome.wide.data(), static_cast<std::streamsize>(outcome.wide.size()));
    capture.wout_sink.pubsync();
    return outcome;
}

std::string judge(const Outcome& outcome, const std::string& path, long lines) {
    if (!outcome.c_error.empty())
        return "the C standard error stream got: " + outcome.c_error;
    if (!outcome.narrow.empty())
        return "the narrow standard error stream got: " + outcome.narrow;
    const std::wstring& text = outcome.wide;
    if (!text.empty() && text.back() != L'\n')
        return "standard error does not end with a line end";
    const std::wstring wpath = widen_signed(path.c_str());
    const std::wstring trailer = L"Parsed with Errors: " + wpath;
    const long max_line = lines > 0 ? lines : 1;
    bool errors = false;
    bool trailer_seen = false;
    bool after_empty = false;
    std::size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(L'\n', start);
        const std::wstring line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        // Built only for a fault: most lines pass.
        auto where = [&line, number]() {
            return "standard error line " + std::to_string(number) + " \"" +
                   narrow(line.substr(0, 200)) + "\" ";
        };
        if (trailer_seen)
            return where() + "follows the trailer";
        if (line.empty()) {
            // Only the empty line before the trailer.
            const std::size_t next = text.find(L'\n', start);
            if (next == std::wstring::npos || text.compare(start, next - start, trailer) != 0)
                return where() + "is empty but not followed by the trailer";
            after_empty = true;
            continue;
        }
        if (line == trailer) {
            if (!after_empty)
                return where() + "is the trailer without the empty line before it";
            trailer_seen = true;
            continue;
        }
        if (starts_with(line, L"exception:"))
            return where() + "reports an exception";
        const std::string fault = judge_diagnostic(line, wpath, max_line);
        if (!fault.empty())
            return where() + fault;
        if (line.find(L": error:", wpath.size()) != std::wstring::npos)
            errors = true;
    }
    if (outcome.status == 0 && (errors || trailer_seen))
        return "the file passed but errors were printed";
    if (outcome.status != 0 && !trailer_seen)
        return "the file failed without the trailer";
    return "";
}

long count_lines(const std::string& bytes) {
    // Lines end where the decoded text has a LF: a lead byte takes the bytes
    // after it whatever they are, so a LF byte may vanish into a sequence and
    // an over-long sequence may decode to a LF.
    typedef std::codecvt<wchar_t, char, std::mbstate_t> facet_type;
    const facet_type& facet = std::use_facet<facet_type>(BasicFreeReader::get_locale());
    std::mbstate_t state{};
    std::wstring units(bytes.size(), L'\0');
    const char* from_next = bytes.data();
    wchar_t* to_next = &units[0];
    facet.in(state, bytes.data(), bytes.data() + bytes.size(), from_next, &units[0],
             &units[0] + units.size(), to_next);
    units.resize(static_cast<std::size_t>(to_next - &units[0]));
    long lines = 0;
    for (wchar_t c : units)
        if (c == L'\n')
            ++lines;
    if (!units.empty() && units.back() != L'\n')
        ++lines;
    return lines;
}

std::string check_bytes(const std::string& bytes, const std::string& path,
                        const std::vector<Pass>& passes) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            return "cannot write " + path;
    }
    const long lines = count_lines(bytes);
    for (const Pass& pass : passes) {
        const Outcome outcome = check_file(path, pass);
        const std::string fault = judge(outcome, path, lines);
        if (!fault.empty())
            return describe(pass) + ": " + fault;
    }
    return "";
}

const Pass& pass_of_input(const std::string& bytes, const std::vector<Pass>& passes) {
    const std::size_t pick = bytes.empty() ? 0 : static_cast<unsigned char>(bytes[0]);
    return passes[pick % passes.size()];
}

} // namespace vorpak_fuzz
