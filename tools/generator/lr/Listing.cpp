#include "Construction.h"

namespace gen {
namespace lr {

namespace {

std::string narrow(const Text& t) {
    std::string out;
    for (char16_t u : t)
        out += u < 0x80 ? static_cast<char>(u) : '?';
    return out;
}

std::string names(const Grammar& g, const std::set<int>& ids) {
    std::string out;
    for (int id : ids)
        out += (out.empty() ? "" : " ") + g.label(id);
    return out;
}

} // namespace

void write_listing(const Construction& c, std::ostream& out) {
    const Grammar& g = c.grammar;
    out << "Grammar " << g.settings.grammar << ": " << c.automaton.states.size() << " states, "
        << g.rows << " rows, " << g.productions.size() - g.rows << " unit alternatives\n\n";
    out << "Look-ahead and reduce sets of the rows:\n";
    for (int p = 0; p < g.rows; ++p) {
        out << "  row " << p << " " << g.label(g.productions[p].left)
            << (g.productions[p].restricted ? " (restricted)" : "")
            << "\n    look-ahead: " << names(g, c.lookahead.of_row[p]) << "\n";
        if (!c.resolution.lost[p].empty())
            out << "    lost: " << names(g, c.resolution.lost[p]) << "\n";
    }
    std::map<int, std::string> message_text;
    for (const MessageRow& m : c.messages.texts)
        message_text[m.id] = narrow(m.text);
    for (std::size_t s = 0; s < c.automaton.states.size(); ++s) {
        const State& st = c.automaton.states[s];
        out << "\nState " << s << "\n";
        for (const Item& item : st.items) {
            bool kernel = false;
            for (const Item& k : st.kernel)
                kernel = kernel || k == item;
            out << (kernel ? "  * " : "    ") << describe(g, item) << "\n";
        }
        for (const ActionRow& r : c.srs) {
            if (r.state != static_cast<int>(s))
                continue;
            out << "    on " << g.label(r.terminal) << ": ";
            if (r.action == 1)
                out << "shift " << r.next_state;
            else if (r.action == 2)
                out << "reduce " << r.next_state;
            else
                out << "finish";
            out << "\n";
        }
        for (int t : c.resolution.dropped[s])
            out << "    on " << g.label(t) << ": shift dropped by precedence\n";
        if (c.defaults[s] >= 0)
            out << "    default: reduce " << c.defaults[s] << "\n";
        for (const auto& t : st.transitions)
            if (!g.is_terminal(t.first))
                out << "    goto on " << g.label(t.first) << ": " << t.second << "\n";
        for (const PairRow& m : c.messages.by_state)
            if (m.key == static_cast<int>(s))
                out << "    message " << m.value << ": " << message_text[m.value] << "\n";
    }
}

} // namespace lr
} // namespace gen
