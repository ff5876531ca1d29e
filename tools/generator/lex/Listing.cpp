#include "Listing.h"

#include <cstdio>
#include <map>

namespace gen {
namespace lex {

namespace {

std::string utf8(const Text& t) {
    std::string s;
    for (char16_t u : t) {
        unsigned c = u;
        if (c < 0x80) {
            s += static_cast<char>(c);
        } else if (c < 0x800) {
            s += static_cast<char>(0xC0 | (c >> 6));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            s += static_cast<char>(0xE0 | (c >> 12));
            s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return s;
}

class Names {
public:
    explicit Names(const TableSet& t) {
        for (const TerminalRow& r : t.terminals)
            names_[r.id] = r.name;
    }

    std::string key(int k) const {
        char buf[32];
        if (k == end_mark)
            return "end";
        if (k == backtrack_mark)
            return "backtrack-mark";
        if (k > 32 && k < 127) {
            std::snprintf(buf, sizeof buf, "'%c'", static_cast<char>(k));
            return buf;
        }
        if (k < 65536) {
            std::snprintf(buf, sizeof buf, "U+%04X", static_cast<unsigned>(k));
            return buf;
        }
        auto it = names_.find(k);
        std::string name = it == names_.end() ? "" : utf8(it->second);
        return "#" + std::to_string(k) + (name.empty() ? "" : " \"" + name + "\"");
    }

private:
    std::map<int, Text> names_;
};

std::string production(const LexModel& m, int p) {
    if (p < 0 || p >= static_cast<int>(m.productions.size()))
        return std::to_string(p);
    return std::to_string(p) + " " + m.productions[p].name;
}

} // namespace

void write_listing(std::ostream& out, const LexModel& m, const Automaton& a, const TableSet& t) {
    Names names(t);
    out << "grammar " << m.grammar << ": " << a.states.size() << " states, " << t.srs.size()
        << " rows, " << t.conflicts.size() << " alternatives\n\n";
    std::vector<std::vector<int>> paths = a.shortest_paths();
    std::map<int, std::vector<const ActionRow*>> alternatives;
    for (const ActionRow& r : t.conflicts)
        alternatives[r.state].push_back(&r);
    for (std::size_t s = 0; s < a.states.size(); ++s) {
        const AutoState& st = a.states[s];
        out << "state " << s << "  after:";
        if (paths[s].empty())
            out << " (nothing)";
        for (int k : paths[s])
            out << " " << names.key(k);
        out << "\n";
        if (!st.tokens.empty()) {
            out << "  tokens:";
            for (int tok : st.tokens)
                out << " " << m.productions[m.tokens[tok].production].name << "@"
                    << m.tokens[tok].line;
            out << "\n";
        }
        for (const auto& r : st.rows) {
            out << "  " << names.key(r.first) << " -> ";
            switch (r.second.action) {
            case act_shift:
                out << "shift " << r.second.value;
                break;
            case act_reduce:
                out << "reduce " << production(m, r.second.value);
                break;
            case act_backtrack:
                out << "backtrack";
                break;
            default:
                out << "action " << r.second.action << " " << r.second.value;
            }
            out << "\n";
        }
        for (const ActionRow* r : alternatives[static_cast<int>(s)])
            out << "  alternative: "
                << (r->action == act_finish ? std::string("finish")
                                            : "reduce " + production(m, r->next_state))
                << "\n";
        for (const std::string& n : st.notes)
            out << "  note: " << n << "\n";
    }
}

} // namespace lex
} // namespace gen
