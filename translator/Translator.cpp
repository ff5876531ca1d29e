#include "Translator.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <iostream>

#include "BasicFreeReader.h"
#include "DataStringScanner.h"
#include "LexAn.h"
#include "ParseData.h"
#include "ParseError.h"
#include "Parser.h"
#include "SimpleParsingTable.h"

#include "data_parser_include.h"
#include "data_scanner_include.h"

using parsing::p_entry;

namespace {

bool is_blank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// A number as atoi reads it from a text without its blanks and tabs, each
// unit taken by its low byte: leading white space, a sign, then decimal
// digits. The digits are kept without their leading zeros, so that texts of
// one value read alike, whatever their length.
struct decimal_number {
    bool negative = false;
    std::string digits;

    // The value, saturated at the limits of int.
    int saturated() const {
        const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
        long long value = 0;
        for (char d : digits) {
            value = std::min(limit, value * 10 + (d - '0'));
            if (value == limit)
                break;
        }
        return static_cast<int>(negative ? -value : value);
    }
    // Equal for equal values.
    std::string key() const { return negative && !digits.empty() ? "-" + digits : digits; }
};

decimal_number read_decimal(const wchar_t* text) {
    decimal_number number;
    if (!text)
        return number;
    const wchar_t* p = text;
    auto next_byte = [&p]() -> int {
        while (*p && is_blank(*p))
            ++p;
        return *p ? static_cast<unsigned char>(*p & 0xFF) : 0;
    };
    int c = next_byte();
    while (c == '\n' || c == '\v' || c == '\f' || c == '\r') {
        ++p;
        c = next_byte();
    }
    if (c == '+' || c == '-') {
        number.negative = c == '-';
        ++p;
        c = next_byte();
    }
    while (c >= '0' && c <= '9') {
        if (c != '0' || !number.digits.empty())
            number.digits += static_cast<char>(c);
        ++p;
        c = next_byte();
    }
    return number;
}

// The value of a text of 1 to most plain ASCII digits and nothing else, as
// read_decimal reads it; -1 for any other text, which read_decimal then
// reads. Most texts read as numbers, line numbers, are such digits.
int plain_number(const wchar_t* text, int most) {
    int value = 0;
    const wchar_t* d = text;
    while (d - text < most && *d >= L'0' && *d <= L'9')
        value = value * 10 + static_cast<int>(*d++ - L'0');
    return d != text && *d == L'\0' ? value : -1;
}

// msg with val in place of the %s of its first '%s' (or "%s"), or with a
// blank and val appended when it has neither.
std::wstring substitute(const wchar_t* msg, const wchar_t* val) {
    std::wstring text = msg ? msg : L"";
    if (!val)
        return text;
    std::size_t at = text.find(L"'%s'");
    if (at == std::wstring::npos)
        at = text.find(L"\"%s\"");
    if (at == std::wstring::npos)
        text.append(L" ").append(val);
    else
        text.replace(at + 1, 2, val);
    return text;
}

} // namespace

Translator::Translator()
    : pdata(nullptr), Parser(nullptr), LexAn(nullptr), is_free_mode(false), is_uk101(false),
      has_errors(false), input_case(0), debug(false), data_ltable(nullptr), data_ptable(nullptr),
      r(nullptr), source_form(0) {
    data_null();
}

Translator::~Translator() {
    data_free();
}

static const int label_bits = 1 << 24;

void Translator::nextFile() {
    labels.clear();
    other_labels.clear();
}

bool Translator::set_free_mode(bool mode) {
    return is_free_mode = mode;
}

bool Translator::set_uk101(bool mode) {
    return is_uk101 = mode;
}

bool Translator::set_file_reader(parsing::BasicFreeReader* reader) {
    r = reader;
    return true;
}

void Translator::setDebug(int level) {
    debug = level > 0;
}

bool Translator::isUpper() const {
    return LexAn && LexAn->input_case == Input_ToUpper;
}

int Translator::line() {
    return Parser ? Parser->scanner.line() : 0;
}

std::wstring& Translator::source() {
    static std::wstring none;
    return Parser ? Parser->scanner.source() : none;
}

// Every diagnostic of the host: code 1, stop false, reject true, stamped with
// the place the main parser's scanner has reached.
void Translator::put(int type, const wchar_t* text) {
    if (!Parser)
        return;
    parsing::ParseError e(1, text, type, false, true);
    e._source = source();
    e._line = line();
    Parser->put_error(std::move(e));
}

void Translator::error(const wchar_t* msg) {
    has_errors = true;
    put(parsing::Semantic, msg);
}

void Translator::error(const wchar_t* msg, const wchar_t* val) {
    put(parsing::Semantic, substitute(msg, val).c_str());
}

void Translator::warning(const wchar_t* msg) {
    put(parsing::warning, msg);
}

void Translator::warning(const wchar_t* msg, const wchar_t* val) {
    put(parsing::warning, substitute(msg, val).c_str());
}

int Translator::ScannedDataStmt() {
    if (r && r->ScannedDataStmt() != 0)
        warning(L"Found false flags on ScannedDataStmt()");
    return 0;
}

// The preprocessor marks an A or a that begins the keyword AT (65649, 65650);
// only the Applesoft keyword stage understands the marks, so the UK-101
// dialect turns them back into characters, and a lower-case a stays a plain
// character wherever the keyword stage does not fold.
int Translator::A_onUpperAT(int id, std::wstring&) {
    if (is_free_mode || is_uk101)
        return L'A';
    return id;
}

int Translator::a_onLowerAT(int id, std::wstring& value) {
    const bool folds = isUpper();
    if (is_free_mode || is_uk101) {
        if (folds)
            return L'A';
        return value.empty() ? L'a' : static_cast<int>(value[0]);
    }
    return folds ? id : L'a';
}

int Translator::ValidateDataCase(int id, std::wstring& value) {
    if (!is_uk101 && isUpper())
        return id;
    if (value.find_first_of(L"adt") == std::wstring::npos)
        return id;
    // At most the first 253 characters are quoted, counted before the blanks go.
    std::wstring strip;
    for (wchar_t c : value.substr(0, 253))
        if (!is_blank(c))
            strip += c;
    wmsg = L"Unexpected '" + strip + L"'. Expected: 'DATA'";
    error(wmsg.c_str());
    return id;
}

int Translator::SpacedToLiteral(int id, int literal, std::wstring& value, bool isReal) {
    const bool folds = isUpper();
    if (is_free_mode) {
        // Only the last run of non-blanks may make the number; anything in
        // front of it means the digits were spaced apart.
        long p = static_cast<long>(value.size()) - 1;
        while (p >= 0 && is_blank(value[p]))
            --p;
        while (p >= 0 && !is_blank(value[p])) {
            if (isReal && !folds && value[p] == L'e')
                return literal;
            --p;
        }
        return p >= 0 ? literal : id;
    }
    if (isReal && !folds && value.find(L'e') != std::wstring::npos)
        return literal;
    return id;
}

int Translator::onDataStmt(p_entry&, p_entry& child) {
    const std::wstring* text = child.Synthesized();
    if (!text)
        return 0;
    return ValidateData(text->c_str(), 'O');
}

int Translator::onDataStmtAsInstruction(p_entry&, p_entry&) {
    if (is_free_mode)
        error(L"Unexpected: DATA Statement as Instruction in IF statement.");
    else
        warning(L"DATA Statement as Instruction in IF statement.");
    return 0;
}

int Translator::onLabelDefinition(p_entry&, p_entry& c1) {
    const std::wstring* text = c1.Synthesized();
    if (!text)
        return 0;
    // Seven digits stay below label_bits: a label beyond them is kept by its
    // digits.
    int number = plain_number(text->c_str(), 7);
    decimal_number label;
    if (number < 0) {
        label = read_decimal(text->c_str());
        number = label.saturated();
    }
    bool seen;
    if (number >= 0 && number < label_bits) {
        const std::size_t word = static_cast<std::size_t>(number) / 64;
        const std::uint64_t bit = std::uint64_t(1) << (number % 64);
        if (word >= labels.size())
            labels.resize(word + 1, 0);
        seen = (labels[word] & bit) != 0;
        labels[word] |= bit;
    } else {
        seen = !other_labels.insert(label.key()).second;
    }
    if (seen)
        warning(L"Label '%s' redefined.", text->c_str());
    return 0;
}

int Translator::onList(p_entry&, p_entry&, p_entry&, char, char comma) {
    if (comma == ',' && is_uk101)
        error(L"Unexpected ',' in LIST (UK101). Expected: '-'.");
    return 0;
}

int Translator::onFor(p_entry&, p_entry&, p_entry&, p_entry&, p_entry&, char) {
    return 0;
}

int Translator::onIndexList(p_entry&, p_entry&, p_entry&, char) {
    return 0;
}

int Translator::onLine(p_entry&, p_entry&, p_entry&) {
    return 0;
}

int Translator::onNext(p_entry&, p_entry&, char) {
    return 0;
}

int Translator::watoi(const wchar_t* text) {
    if (!text)
        return 0;
    // Nine digits stay below the limit of int.
    const int plain = plain_number(text, 9);
    return plain >= 0 ? plain : read_decimal(text).saturated();
}

// The DATA check's answer for the common statement, found by one pass over
// its text instead of the DATA scanner and parser: true when the check would
// accept the text without a diagnostic. The scanner reads a text as follows:
// the keyword D A T A (blanks and tabs between the letters, either case);
// then, from the start state, blanks are dropped, a comma with the blanks
// around it is the separator, a quote opens a string that runs to the next
// quote (or the end) over every character of codes 1 to 127 but CR and LF,
// and any other character of that range but CR, LF, ',' and ':' begins a
// value that runs to the first ',', ':', CR, LF, character above 127 or the
// end, whatever it holds. Every value token (string, integer, real, literal)
// may stand where the parser expects an element, and an element may be
// empty, so the text is accepted when no two values meet without a comma
// between them. A keyword followed by a character that continues a value is
// first read as one literal with it and then shortened to the keyword by the
// parser, which leaves the same tokens to follow.
// False for anything else, which the full check then decides: a character
// that begins no token (':', CR, LF, above 127), two values in a row, a value
// spelled as the keyword (the scanner gives DATA there, which the parser
// takes as a literal only after the case check), and a keyword with a lower
// case letter when its case check would report it.
bool Translator::passes_data_check(const wchar_t* p, bool lower_case_keyword) {
    auto skip_blanks = [&p]() {
        while (is_blank(*p))
            ++p;
    };
    // In a value: codes 1 to 127 but CR, LF, ',' and ':'.
    auto in_value = [](wchar_t c) {
        return c >= 1 && c <= 127 && c != L'\r' && c != L'\n' && c != L',' && c != L':';
    };
    // The text of [from, to) is the keyword, which the scanner gives as DATA.
    auto spells_keyword = [](const wchar_t* from, const wchar_t* to) {
        static const wchar_t letters[] = L"DATA";
        for (int k = 0; k < 4; ++k) {
            while (k > 0 && from < to && is_blank(*from))
                ++from;
            if (from == to || (*from != letters[k] && *from != letters[k] + (L'a' - L'A')))
                return false;
            ++from;
        }
        return from == to;
    };
    static const wchar_t keyword[] = L"DATA";
    for (int k = 0; k < 4; ++k) {
        if (k > 0)
            skip_blanks();
        if (*p != keyword[k] && !(lower_case_keyword && *p == keyword[k] + (L'a' - L'A')))
            return false;
        ++p;
    }
    bool element_expected = true; // after the keyword and after each comma
    for (;;) {
        skip_blanks();
        const wchar_t c = *p;
        if (c == L'\0')
            return true;
        if (c == L',') {
            ++p;
            element_expected = true;
            continue;
        }
        if (!element_expected)
            return false;
        element_expected = false;
        if (c == L'"') {
            for (++p; *p != L'"'; ++p) {
                if (*p == L'\0')
                    return true;
                if (*p > 127 || *p == L'\r' || *p == L'\n')
                    return false;
            }
            ++p;
            continue;
        }
        if (!in_value(c))
            return false;
        const wchar_t* start = p;
        while (in_value(*p))
            ++p;
        if (spells_keyword(start, p))
            return false;
    }
}

int Translator::ValidateData(const wchar_t* text, char mode) {
    (void)mode;
    if (!Parser || !text)
        return -1;
    try {
        data_grammars();
        // Most statements are plain lists of values: their check is known
        // without running it, unless the run traces the DATA parser. The
        // keyword's case is reported unless the file folds to upper case
        // outside the UK-101 dialect.
        if (!debug && passes_data_check(text, !is_uk101 && isUpper()))
            return 0;
        data_init(text);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return -1;
    }
    try {
        data_parser->setDebug(debug ? 1 : 0);
        data_parser->parse();
        const bool ok = data_parser->successful();
        if (!ok && data_parser->hasErrors())
            Parser->_has_errors = true;
        // The nested diagnostics belong to the main file, at the line of the
        // DATA statement, not to the nameless DATA source.
        for (const parsing::ParseError& found : data_parser->getErrors()) {
            parsing::ParseError e(found);
            e._line = line();
            e._source = source();
            Parser->put_error(std::move(e));
        }
        return ok ? 0 : -1;
    } catch (const parsing::ParseError& e) {
        std::wcerr << L"exception:" << e.describe() << std::endl;
    } catch (const std::exception& e) {
        std::cerr << "exception:" << e.what();
    }
    // An internal fault leaves the statement unchecked: the file must not
    // pass as checked.
    Parser->_has_errors = true;
    return -1;
}

int Translator::data_init(const wchar_t* text) {
    if (!data_string)
        data_string.reset(new std::wstring(text));
    else
        data_string->assign(text);
    if (!data_scanner)
        data_scanner.reset(new parsing::DataStringScanner(*data_string));
    else
        data_scanner->swapString(*data_string);
    data_scanner->setLine(line());
    data_grammars();
    // The stage and the parser are made at the first DATA statement that is
    // parsed and then start over for each one: the stage is restarted on the
    // new text, and the parser resets itself when its parse begins.
    if (!data_lexer) {
        data_lexer.reset(new parsing::LexAn(*data_scanner, *data_sptl, this));
        data_lexer->sma = true;
    } else {
        data_lexer->restart();
    }
    if (!data_parser)
        data_parser.reset(new parsing::Parser(*data_lexer, *data_sptp, this));
    return 0;
}

void Translator::data_grammars() {
    // The grammars fill large tables: built at the first DATA statement of
    // the run and kept.
    if (!data_ltable)
        data_ltable = new ::data_scanner();
    if (!data_sptl)
        data_sptl.reset(new parsing::SimpleParsingTable(*data_ltable));
    if (!data_ptable)
        data_ptable = new ::data_parser();
    if (!data_sptp)
        data_sptp.reset(new parsing::SimpleParsingTable(*data_ptable));
}

void Translator::data_null() {
    data_ltable = nullptr;
    data_ptable = nullptr;
}

void Translator::data_free() {
    // Users before what they refer to: parser, stage, source, table views,
    // grammars, and the text last.
    data_parser.reset();
    data_lexer.reset();
    data_scanner.reset();
    data_sptp.reset();
    data_sptl.reset();
    delete data_ptable;
    data_ptable = nullptr;
    delete data_ltable;
    data_ltable = nullptr;
    data_string.reset();
}
