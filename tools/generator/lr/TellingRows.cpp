#include <cstdlib>

#include "Construction.h"

namespace gen {
namespace lr {

namespace {

std::string narrow(const Text& t) {
    std::string out;
    for (char16_t u : t)
        if (u < 0x80)
            out += static_cast<char>(u);
        else
            out += "\\u" + std::to_string(static_cast<unsigned>(u));
    return out;
}

class Checker {
public:
    explicit Checker(const Construction& c) : c(c), g(c.grammar) {}

    void run() {
        std::map<int, int> declared_defaults;
        int defaults_line = 0;
        for (const Expectation& e : g.expectations) {
            line = e.line;
            const std::vector<std::string>& w = e.words;
            const std::string& d = w[0];
            if (d == "%expect-row")
                row(w);
            else if (d == "%expect-default")
                one_default(w);
            else if (d == "%expect-defaults") {
                defaults_line = line;
                for (std::size_t i = 1; i < w.size(); ++i) {
                    std::size_t colon = w[i].find(':');
                    if (colon == std::string::npos)
                        g.fault(line, "a default is written <state>:<row>");
                    declared_defaults[num(w[i].substr(0, colon))] = num(w[i].substr(colon + 1));
                }
            } else if (d == "%expect-goto")
                one_goto(w);
            else if (d == "%expect-message")
                message(w);
            else if (d == "%expect-state-message")
                state_message(w);
            else if (d == "%expect-recovery")
                recovery(w);
            else
                g.fault(line, "unknown directive " + d);
        }
        if (defaults_line) {
            line = defaults_line;
            for (std::size_t s = 0; s < c.defaults.size(); ++s) {
                auto it = declared_defaults.find(static_cast<int>(s));
                int want = it == declared_defaults.end() ? -1 : it->second;
                if (want != c.defaults[s])
                    differ("the default of state " + std::to_string(s), show_row(want),
                           show_row(c.defaults[s]));
            }
            for (const auto& d : declared_defaults)
                if (d.first < 0 || d.first >= static_cast<int>(c.defaults.size()))
                    g.fault(line, "no state " + std::to_string(d.first));
        }
    }

private:
    const Construction& c;
    const Grammar& g;
    int line = 0;

    int num(const std::string& w) const {
        char* end = nullptr;
        long v = std::strtol(w.c_str(), &end, 10);
        if (w.empty() || *end)
            g.fault(line, "'" + w + "' is not a number");
        return static_cast<int>(v);
    }

    int sym(const std::string& w) const {
        bool q = w.size() >= 2 && w.front() == '"' && w.back() == '"';
        return g.lookup(q ? w.substr(1, w.size() - 2) : w, line);
    }

    int state(const std::string& w) const {
        int s = num(w);
        if (s < 0 || s >= static_cast<int>(c.automaton.states.size()))
            g.fault(line, "no state " + w + " (the construction gives " +
                              std::to_string(c.automaton.states.size()) + " states)");
        return s;
    }

    static std::string show_row(int p) { return p < 0 ? "none" : "row " + std::to_string(p); }

    [[noreturn]] void differ(const std::string& what, const std::string& want,
                             const std::string& got) const {
        g.fault(line, "expected " + what + " to be " + want + ", the construction gives " + got);
    }

    static std::string show_action(const ActionRow* r) {
        if (!r)
            return "none";
        if (r->action == 1)
            return "shift " + std::to_string(r->next_state);
        if (r->action == 2)
            return "reduce " + std::to_string(r->next_state);
        if (r->action == 3)
            return "finish";
        return "action " + std::to_string(r->action);
    }

    // %expect-row <state> <terminal> shift <n> | reduce <row> | finish | none
    void row(const std::vector<std::string>& w) {
        if (w.size() < 4)
            g.fault(line, "%expect-row takes a state, a terminal and an action");
        int s = state(w[1]);
        int t = sym(w[2]);
        std::string want = w[3];
        for (std::size_t i = 4; i < w.size(); ++i)
            want += " " + w[i];
        const ActionRow* found = nullptr;
        for (const ActionRow& r : c.srs)
            if (r.state == s && r.terminal == t)
                found = &r;
        std::string got = show_action(found);
        if (got != want)
            differ("the row of state " + w[1] + " on '" + g.label(t) + "'", want, got);
    }

    // %expect-default <state> <row> | none
    void one_default(const std::vector<std::string>& w) {
        if (w.size() != 3)
            g.fault(line, "%expect-default takes a state and a row or 'none'");
        int s = state(w[1]);
        int want = w[2] == "none" ? -1 : num(w[2]);
        if (want != c.defaults[s])
            differ("the default of state " + w[1], show_row(want), show_row(c.defaults[s]));
    }

    // %expect-goto <state> <nonterminal> <target>
    void one_goto(const std::vector<std::string>& w) {
        if (w.size() != 4)
            g.fault(line, "%expect-goto takes a state, a nonterminal and a target");
        int s = state(w[1]);
        int n = sym(w[2]);
        int got = -1;
        for (const GotoRow& r : c.gotos)
            if (r.state == s && r.nonterminal == n)
                got = r.next_state;
        std::string want = w[3];
        std::string shown = got < 0 ? "none" : std::to_string(got);
        if (shown != want)
            differ("the goto of state " + w[1] + " on '" + w[2] + "'", want, shown);
    }

    // %expect-message <id> "<text>"
    void message(const std::vector<std::string>& w) {
        if (w.size() != 3 || w[2].size() < 2 || w[2].front() != '"')
            g.fault(line, "%expect-message takes an id and a quoted text");
        int id = num(w[1]);
        Text want = utf16(w[2].substr(1, w[2].size() - 2));
        const Text* got = nullptr;
        for (const MessageRow& m : g.settings.fixed_messages)
            if (m.id == id)
                got = &m.text;
        for (const MessageRow& m : c.messages.texts)
            if (m.id == id)
                got = &m.text;
        if (!got)
            differ("message " + w[1], "\"" + narrow(want) + "\"", "no such message");
        if (*got != want)
            differ("message " + w[1], "\"" + narrow(want) + "\"", "\"" + narrow(*got) + "\"");
    }

    // %expect-state-message <state> <id> | none
    void state_message(const std::vector<std::string>& w) {
        if (w.size() != 3)
            g.fault(line, "%expect-state-message takes a state and an id or 'none'");
        int s = state(w[1]);
        int got = -1;
        for (const PairRow& r : c.messages.by_state)
            if (r.key == s)
                got = r.value;
        std::string shown = got < 0 ? "none" : std::to_string(got);
        if (shown != w[2])
            differ("the message of state " + w[1], w[2], shown);
    }

    // %expect-recovery <state>...: exactly the states that shift the error mark
    void recovery(const std::vector<std::string>& w) {
        std::set<int> want, got;
        for (std::size_t i = 1; i < w.size(); ++i)
            want.insert(state(w[i]));
        for (const ActionRow& r : c.srs)
            if (r.terminal == error_mark && r.action == 1)
                got.insert(r.state);
        auto show = [](const std::set<int>& s) {
            std::string out = "{";
            for (int x : s)
                out += (out.size() > 1 ? ", " : "") + std::to_string(x);
            return out + "}";
        };
        if (want != got)
            differ("the recovery states", show(want), show(got));
    }
};

} // namespace

void check_telling_rows(const Construction& c) {
    Checker(c).run();
}

} // namespace lr
} // namespace gen
