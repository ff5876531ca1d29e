#include "Translator.h"

#include <climits>

Translator::Translator()
    : pdata(nullptr), Parser(nullptr), LexAn(nullptr), is_free_mode(false), is_uk101(false),
      has_errors(false), input_case(0), debug(false), data_ltable(nullptr), data_ptable(nullptr),
      r(nullptr), source_form(0) {
    data_null();
}

Translator::~Translator() {
    data_free();
}

void Translator::nextFile() {
    labels.clear();
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
    return false;
}

int Translator::line() {
    return 0;
}

std::wstring& Translator::source() {
    static std::wstring none;
    return none;
}

void Translator::put(int type, const wchar_t* text) {
    (void)type;
    (void)text;
}

void Translator::error(const wchar_t* msg) {
    has_errors = true;
    put(2, msg);
}

void Translator::error(const wchar_t* msg, const wchar_t* val) {
    (void)val;
    put(2, msg);
}

void Translator::warning(const wchar_t* msg) {
    put(7, msg);
}

void Translator::warning(const wchar_t* msg, const wchar_t* val) {
    (void)val;
    put(7, msg);
}

int Translator::ScannedDataStmt() {
    return 0;
}

int Translator::A_onUpperAT(int id, std::wstring& value) {
    (void)value;
    return id;
}

int Translator::a_onLowerAT(int id, std::wstring& value) {
    (void)value;
    return id;
}

int Translator::ValidateDataCase(int id, std::wstring& value) {
    (void)value;
    return id;
}

int Translator::SpacedToLiteral(int id, int literal, std::wstring& value, bool isReal) {
    (void)literal;
    (void)value;
    (void)isReal;
    return id;
}

int Translator::onDataStmt(parsing::p_entry&, parsing::p_entry&) {
    return 0;
}

int Translator::onDataStmtAsInstruction(parsing::p_entry&, parsing::p_entry&) {
    return 0;
}

int Translator::onLabelDefinition(parsing::p_entry&, parsing::p_entry&) {
    return 0;
}

int Translator::onList(parsing::p_entry&, parsing::p_entry&, parsing::p_entry&, char, char) {
    return 0;
}

int Translator::onFor(parsing::p_entry&, parsing::p_entry&, parsing::p_entry&, parsing::p_entry&,
                      parsing::p_entry&, char) {
    return 0;
}

int Translator::onIndexList(parsing::p_entry&, parsing::p_entry&, parsing::p_entry&, char) {
    return 0;
}

int Translator::onLine(parsing::p_entry&, parsing::p_entry&, parsing::p_entry&) {
    return 0;
}

int Translator::onNext(parsing::p_entry&, parsing::p_entry&, char) {
    return 0;
}

int Translator::ValidateData(const wchar_t* text, char mode) {
    (void)text;
    (void)mode;
    return 0;
}

int Translator::watoi(const wchar_t* text) {
    (void)text;
    return 0;
}

int Translator::UnterminatedLiteral(int code, std::wstring& value, char omitted) {
    value += static_cast<wchar_t>(omitted);
    return strip_char_constant(code, value);
}

int Translator::strip_char_constant(int code, std::wstring& value) {
    return strip_char_constant_simple(code, value);
}

int Translator::strip_char_constant_simple(int code, std::wstring& value) {
    (void)value;
    return code;
}

int Translator::strip_quoted_literal(int code, std::wstring& value) {
    (void)value;
    return code;
}

int Translator::strip_dquoted_literal(int code, std::wstring& value) {
    (void)value;
    return code;
}

int Translator::data_init(const wchar_t* text) {
    (void)text;
    return 0;
}

void Translator::data_null() {
    data_ltable = nullptr;
    data_ptable = nullptr;
    data_scanner = nullptr;
    data_string = nullptr;
    data_sptl = nullptr;
    data_sptp = nullptr;
    data_lexer = nullptr;
    data_parser = nullptr;
}

void Translator::data_free() {}
