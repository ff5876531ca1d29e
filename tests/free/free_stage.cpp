#include "free_stage.h"

#include <cstdio>

#include "LexAn.h"
#include "SimpleParsingTable.h"
#include "lbasic_free_include.h"

namespace {

std::string shown(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c == L'\r')
            out += "\\r";
        else if (c == L'\t')
            out += "\\t";
        else if (c >= 0x20 && c < 0x7F)
            out += static_cast<char>(c);
        else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
            out += buf;
        }
    }
    return out;
}

} // namespace

LineSource::LineSource(const std::vector<std::wstring>& lines) {
    for (const std::wstring& l : lines)
        text_ += l + L"\r\n";
}

int LineSource::next(std::wstring* text) {
    if (pos_ >= text_.size()) {
        text->clear();
        return -1;
    }
    *text = std::wstring(1, text_[pos_]);
    return static_cast<int>(text_[pos_++]);
}

ParseData& free_grammar() {
    static lbasic_free grammar;
    return grammar;
}

std::string token_name(int id) {
    switch (id) {
    case 65540:
        return "spaces";
    case 65548:
        return "rem";
    case 65550:
        return ":";
    case 65551:
        return "str";
    case 65554:
        return "int";
    case 65557:
        return "name";
    case 65558:
        return ";";
    case 65559:
        return ",";
    case 65561:
        return "(";
    case 65562:
        return ")";
    case 65563:
        return "rel";
    case 65564:
        return "add";
    case 65565:
        return "mult";
    case 65566:
        return "pow";
    case 65568:
        return "CR";
    case 65569:
        return "real";
    case 65590:
        return "OK";
    case 65593:
        return "data";
    case 65598:
        return "linenum";
    case 0xC9:
        return "minus";
    }
    if (id >= 0x80 && id <= 0xEB) {
        static parsing::SimpleParsingTable table(free_grammar());
        if (const wchar_t* name = table.token(id))
            return shown(name);
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, id < 0x10000 ? "U+%04X" : "#%d", id);
    return buf;
}

std::string scan(const std::vector<std::wstring>& lines, int input_case, bool alternatives) {
    parsing::SimpleParsingTable table(free_grammar());
    LineSource source(lines);
    parsing::LexAn stage(source, table, nullptr);
    stage.input_case = input_case;
    std::string out;
    std::wstring text;
    for (int guard = 0; guard < 10000; ++guard) {
        int id = stage.next(&text);
        if (!out.empty())
            out += ' ';
        if (id == -1) {
            out += text.empty() ? "EOF" : "EOF[" + shown(text) + "]";
            break;
        }
        if (id > 0 && id < 0x80 && text == std::wstring(1, static_cast<wchar_t>(id)))
            out += "'" + shown(text) + "'";
        else
            out += token_name(id) + "[" + shown(text) + "]";
        if (!alternatives)
            continue;
        std::string alts;
        for (int k = 1; k < 10; ++k) {
            int alt = stage.equivalent(k);
            if (alt == -1)
                break;
            alts += (alts.empty() ? "" : " ") + token_name(alt);
        }
        if (!alts.empty())
            out += "{" + alts + "}";
    }
    return out;
}
