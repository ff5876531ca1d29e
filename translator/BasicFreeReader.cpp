#include "BasicFreeReader.h"

#include <algorithm>
#include <cwchar>
#include <exception>
#include <filesystem>
#include <iostream>

#include "ParseError.h"
#include "Parser.h"
#include "my_codecvt_utf8.h"
#include "source_form_selector.h"
#include "symbol_text.h"

namespace parsing {

const std::locale* BasicFreeReader::loc = nullptr;

namespace {

bool is_blank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// The first c in [from, to), or to: the C library's search, which takes
// many characters a step.
const wchar_t* find_unit(const wchar_t* from, const wchar_t* to, wchar_t c) {
    const wchar_t* at = std::wmemchr(from, c, static_cast<std::size_t>(to - from));
    return at ? at : to;
}

// The get area of a stream buffer, which only the buffer's own class and
// those derived from it may read: taken through pointers to its protected
// members, formed in a derived class.
struct buffer_access : std::wstreambuf {
    static const wchar_t* next_char(std::wstreambuf& b) { return (b.*&buffer_access::gptr)(); }
    static const wchar_t* buffer_end(std::wstreambuf& b) { return (b.*&buffer_access::egptr)(); }
    // Consumes n characters of the get area, which holds at least that many.
    static void skip(std::wstreambuf& b, long n) {
        (b.*&buffer_access::gbump)(static_cast<int>(n));
    }
};

// The narrow bytes of a name widened with widen_signed: the low byte of each unit.
std::string narrow_low_bytes(const std::wstring& name) {
    std::string out;
    out.reserve(name.size());
    for (wchar_t c : name)
        out += static_cast<char>(c & 0xFF);
    return out;
}

} // namespace

BasicFreeReader::BasicFreeReader(const char* name)
    : narrow_name(name ? name : ""), _source_(widen_signed(narrow_name.c_str())), d255(255) {
    init();
}

BasicFreeReader::BasicFreeReader(const std::wstring& name)
    : narrow_name(narrow_low_bytes(name)), _source_(name), d255(255) {
    init();
}

void BasicFreeReader::init() {
    Parser = nullptr;
    LITERAL_DOUBLE_QUOTE = 65605;
    closed_quotes = true;
    closed_dquotes = true;
    incomment = false;
    pos_non_space = -1;
    warnings = false;
    mySource = _source_;
    _line_ = 1;
    myLine = 1;
    _long = 0;
    ch = -1;
    _eof = false;
    pos_line = 0;
    line_end = 0;
    run_stop = 0;
    get_line_rc = 0;
    comment_line = false;
    full_length = 0;
    ends_with_cr = false;
    preprocessor = nullptr;
    pre_spt = nullptr;
    if (fopen() != 0)
        _eof = true;
}

BasicFreeReader::~BasicFreeReader() {
    if (ifs && ifs->is_open())
        ifs->close();
}

const std::locale& BasicFreeReader::get_locale() {
    if (!loc)
        loc = create_locale();
    return *loc;
}

const std::locale* BasicFreeReader::create_locale() {
    // The locale owns the facet (reference count 0); both live to the end of
    // the process.
    return new std::locale(std::locale::classic(), new my_codecvt_utf8(0));
}

int BasicFreeReader::fopen() {
    try {
        ifs.reset(new std::wifstream());
        // The locale goes on before the open so that not a byte is read
        // through another conversion.
        ifs->imbue(get_locale());
        // A directory opens like a file on POSIX but cannot be read.
        std::error_code ec;
        if (!std::filesystem::is_directory(narrow_name, ec))
            ifs->open(narrow_name, std::ios::in);
        if (!ifs->good() || !ifs->is_open()) {
            if (Parser) {
                std::wstring text = L"Cannot include file " + _source_;
                ParseError e(1, text.c_str(), Semantic, false, true);
                Parser->put_error(e);
            }
            return -1;
        }
        return 0;
    } catch (const std::exception& e) {
        std::cout << "Exception: " << e.what() << "\n";
        throw;
    }
}

int BasicFreeReader::get_line(std::wstring& line, bool expand) {
    (void)expand;
    pos_non_space = -1;
    line.clear();
    line_end = 0;
    full_length = 0;
    ends_with_cr = false;
    // A stream that has failed (a read error, or a truncated sequence at the
    // very end of the file) delivers nothing more: it ends the input like the
    // end of the file, instead of being asked again for ever.
    if (!ifs || !ifs->good()) {
        _eof = true;
        return -1;
    }
    bool got = false;
    wchar_t last = 0;
    wchar_t kept[256];
    // The characters come from the stream's buffer directly: a formatted
    // get() per character would cost a sentry each. What the buffer holds
    // is taken a run at a time, up to the line feed; only an empty buffer
    // is refilled, by one sbumpc as before, so a failing conversion shows
    // at the same character. The stream's state is kept as get() would
    // leave it.
    std::wstreambuf& in = *ifs->rdbuf();
    // Counts a run of the line's characters, keeping what lies within the
    // first 255.
    auto take = [&](const wchar_t* from, const wchar_t* to) {
        if (from == to)
            return;
        got = true;
        last = to[-1];
        if (full_length < d255) {
            const long n = std::min<long>(to - from, d255 - full_length);
            for (long i = 0; pos_non_space < 0 && i < n; ++i)
                if (!is_blank(from[i]) && from[i] != L'\r')
                    pos_non_space = static_cast<int>(full_length + i);
            std::copy(from, from + n, kept + full_length);
        }
        full_length += to - from;
    };
    for (;;) {
        const wchar_t* at = buffer_access::next_char(in);
        const wchar_t* end = buffer_access::buffer_end(in);
        if (at != end) {
            const wchar_t* lf = find_unit(at, end, L'\n');
            take(at, lf);
            if (lf != end) {
                got = true;
                buffer_access::skip(in, lf + 1 - at);
                break;
            }
            buffer_access::skip(in, end - at);
            continue;
        }
        std::wstreambuf::int_type next;
        try {
            next = in.sbumpc();
        } catch (...) {
            // The buffer's conversion failed (a truncated sequence at the
            // end of the file): the stream is bad from here on.
            ifs->setstate(std::ios::badbit);
            break;
        }
        if (std::wstreambuf::traits_type::eq_int_type(next, std::wstreambuf::traits_type::eof())) {
            ifs->setstate(std::ios::eofbit | std::ios::failbit);
            break;
        }
        const wchar_t c = std::wstreambuf::traits_type::to_char_type(next);
        if (c == L'\n') {
            got = true;
            break;
        }
        take(&c, &c + 1);
    }
    if (!got) {
        _eof = true;
        return -1;
    }
    line.append(kept, static_cast<std::size_t>(full_length < d255 ? full_length : d255));
    // The last character read, as the per-character Case of the reading
    // loop would leave it.
    if (full_length > 0)
        ch = Case(last);
    ends_with_cr = full_length > 0 && last == L'\r';
    ++_line_;
    line_end = static_cast<int>(line.size());
    return 0;
}

int BasicFreeReader::next(std::wstring* text) {
    if (run_at)
        pos_line = static_cast<int>(run_at - extended_line.data());
    if (pos_line >= line_end && !_eof)
        next_line();
    if (_eof) {
        run_at = run_end = nullptr;
        return -1;
    }
    const wchar_t c = extended_line[pos_line];
    if (c == L'"' && !incomment && closed_quotes)
        closed_dquotes = !closed_dquotes;
    ++pos_line;
    ch = c;
    if (text)
        set_symbol_text(*text, c);
    show_run();
    return static_cast<int>(c);
}

void BasicFreeReader::show_run() {
    const wchar_t* line = extended_line.data();
    if (pos_line > run_stop) {
        // The quote that ended the last run is delivered: the next run
        // ends at the next one.
        run_stop = incomment
                       ? line_end
                       : static_cast<int>(find_unit(line + pos_line, line + line_end, L'"') - line);
    }
    run_at = line + pos_line;
    run_end = line + run_stop;
}

// Reads the next line and prepares it for delivery, or sets _eof.
void BasicFreeReader::next_line() {
    extended_line.clear();
    incomment = false;
    if (get_line_rc >= 0)
        get_line_rc = get_line(extended_line, true);
    if (get_line_rc < 0) {
        _eof = true;
        return;
    }
    if (static_cast<int>(extended_line.size()) > d255)
        extended_line.resize(d255);
    if (!extended_line.empty() && extended_line.back() == L'\r')
        extended_line.pop_back();
    extended_line += L"\r\n";
    line_end = static_cast<int>(extended_line.size());
    myLine = _line_ - 1;
    pos_line = 0;
    if (pos_non_space > 0 && pos_non_space < line_end && extended_line[pos_non_space] == L'!')
        pos_line = pos_non_space;
    comment_line = false;
    validate();
    incomment = comment_line;
    // Where the runs shown from this line end: none has been shown yet.
    run_stop = -1;
}

int BasicFreeReader::validate() {
    const long text_length = full_length - (ends_with_cr ? 1 : 0);
    if (warnings && text_length > d255 && _long != myLine) {
        _long = myLine;
        if (Parser) {
            ParseError e(1, L"Long Line exceeds 255 columns.", warning, false, true);
            e._source = _source_;
            e._line = myLine;
            Parser->put_error(e);
        }
    }
    if (pos_non_space >= 0) {
        // Digits, blanks and tabs in any mix, then R, E, M in upper case,
        // each after any number of blanks or tabs. The appended CR stops it.
        int p = pos_non_space;
        while (p < line_end && (is_blank(extended_line[p]) ||
                                (extended_line[p] >= L'0' && extended_line[p] <= L'9')))
            ++p;
        static const wchar_t REM[] = L"REM";
        int k = 0;
        for (; k < 3; ++k) {
            while (p < line_end && is_blank(extended_line[p]))
                ++p;
            if (p >= line_end || extended_line[p] != REM[k])
                break;
            ++p;
        }
        comment_line = k == 3;
    }
    return 0;
}

int BasicFreeReader::ScannedDataStmt() {
    closed_quotes = true;
    closed_dquotes = true;
    return 0;
}

int BasicFreeReader::ParsedUnterminatedDQuoted() {
    closed_dquotes = true;
    return 0;
}

int BasicFreeReader::ParsedUnterminatedQuoted() {
    closed_quotes = true;
    return 0;
}

} // namespace parsing
