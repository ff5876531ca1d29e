#include "Source.h"

#include <fstream>
#include <set>
#include <sstream>

namespace gen {

Source Source::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw GrammarFault(path + ": cannot open grammar source");
    Source src;
    src.path = path;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        src.lines.push_back(SourceLine{number, line});
    }
    return src;
}

void Source::fault(int line, const std::string& message) const {
    throw GrammarFault(path + ":" + std::to_string(line) + ": " + message);
}

const SourceLine* Source::directive(const std::string& name) const {
    std::string head = "%" + name;
    for (const SourceLine& l : lines) {
        std::vector<std::string> w = split_words(l.text);
        if (!w.empty() && w[0] == head)
            return &l;
    }
    return nullptr;
}

std::string Source::kind() const {
    const SourceLine* l = directive("kind");
    if (!l)
        throw GrammarFault(path + ": no %kind line");
    std::vector<std::string> w = split_words(l->text);
    if (w.size() != 2)
        fault(l->number, "%kind takes one word");
    return w[1];
}

std::vector<std::string> split_words(const std::string& text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (text[i] == '"') {
            word += '"';
            ++i;
            while (i < text.size() && text[i] != '"') {
                if (text[i] == '\\' && i + 1 < text.size())
                    ++i;
                word += text[i++];
            }
            word += '"';
            ++i;
        } else {
            while (i < text.size() && text[i] != ' ' && text[i] != '\t')
                word += text[i++];
        }
        words.push_back(word);
    }
    return words;
}

Text utf16(const std::string& s) {
    Text out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        unsigned cp;
        int more;
        if (c < 0x80) {
            cp = c;
            more = 0;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            more = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            more = 2;
        } else {
            cp = c & 0x07;
            more = 3;
        }
        ++i;
        for (int k = 0; k < more && i < s.size(); ++k, ++i)
            cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
        out += static_cast<char16_t>(cp & 0xFFFF);
    }
    return out;
}

std::map<std::string, long> standard_counts(const TableSet& t) {
    std::map<std::string, long> c;
    c["states"] = t.states;
    c["srs_rows"] = static_cast<long>(t.srs.size());
    long by_action[21] = {0};
    std::set<int> srs_states;
    for (const ActionRow& r : t.srs) {
        if (r.action >= 0 && r.action <= 20)
            ++by_action[r.action];
        srs_states.insert(r.state);
    }
    c["shift_rows"] = by_action[1];
    c["reduce_rows"] = by_action[2];
    c["finish_rows"] = by_action[3];
    c["backtrack_rows"] = by_action[20];
    c["srs_row_states"] = static_cast<long>(srs_states.size());
    c["goto_rows"] = static_cast<long>(t.gotos.size());
    c["goto_states"] = t.goto_states;
    std::set<int> goto_row_states;
    for (const GotoRow& r : t.gotos)
        goto_row_states.insert(r.state);
    c["goto_rows_states"] = static_cast<long>(goto_row_states.size());
    long defaults = 0;
    for (const DefaultRow& d : t.defaults)
        defaults += d.action != 0;
    c["defaults"] = defaults;
    c["state_messages"] = static_cast<long>(t.state_errors.size());
    c["messages"] = static_cast<long>(t.error_msgs.size());
    c["reductions"] = static_cast<long>(t.reductions.size());
    c["terminals"] = static_cast<long>(t.terminals.size());
    c["eqs_rows"] = static_cast<long>(t.eqs.size());
    c["conflict_rows"] = static_cast<long>(t.conflicts.size());
    c["recovery_states"] = static_cast<long>(t.recovery_states.size());
    return c;
}

void check_expectations(const Source& src, const std::map<std::string, long>& counts) {
    for (const SourceLine& l : src.lines) {
        std::vector<std::string> w = split_words(l.text);
        if (w.empty() || w[0] != "%expect")
            continue;
        if (w.size() != 3)
            src.fault(l.number, "%expect takes a name and a number");
        auto it = counts.find(w[1]);
        if (it == counts.end())
            src.fault(l.number, "unknown count '" + w[1] + "'");
        long expected = std::stol(w[2]);
        if (it->second != expected)
            src.fault(l.number, "expected " + w[1] + " " + std::to_string(expected) +
                                    ", the construction gives " + std::to_string(it->second));
    }
}

} // namespace gen
