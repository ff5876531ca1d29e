#include "LrGrammar.h"

#include <algorithm>
#include <cstdlib>

namespace gen {
namespace lr {

namespace {

bool quoted(const std::string& w) {
    return w.size() >= 2 && w.front() == '"' && w.back() == '"';
}

std::string unquote(const std::string& w) {
    return quoted(w) ? w.substr(1, w.size() - 2) : w;
}

long number(const Source& src, int line, const std::string& w) {
    char* end = nullptr;
    long v = std::strtol(w.c_str(), &end, 10);
    if (w.empty() || *end != '\0')
        src.fault(line, "'" + w + "' is not a number");
    return v;
}

// One directive or production line as words, with the braces of groups
// standing as words of their own.
std::vector<std::string> words_of(const std::string& text) {
    std::vector<std::string> out;
    for (std::string w : split_words(text)) {
        if (quoted(w)) {
            out.push_back(w);
            continue;
        }
        std::size_t open = 0;
        while (open < w.size() && w[open] == '{')
            ++open;
        for (std::size_t i = 0; i < open; ++i)
            out.push_back("{");
        w = w.substr(open);
        std::size_t close = 0;
        while (close < w.size() && w[w.size() - 1 - close] == '}')
            ++close;
        std::string core = w.substr(0, w.size() - close);
        if (!core.empty())
            out.push_back(core);
        for (std::size_t i = 0; i < close; ++i)
            out.push_back("}");
    }
    return out;
}

class Reader {
public:
    Reader(const Source& src, Grammar& g) : src(src), g(g) {}

    void run() {
        read_symbols();
        for (const SourceLine& l : src.lines) {
            std::vector<std::string> w = words_of(l.text);
            if (w.empty() || w[0] == "%symbol" || w[0] == "%kind")
                continue;
            if (w[0][0] == '%')
                directive(l.number, w);
            else
                production(l.number, w);
        }
        finish();
    }

private:
    const Source& src;
    Grammar& g;
    struct Level {
        int line;
        int level;
        Assoc assoc;
        std::vector<int> rows;
    };
    std::vector<Level> levels;
    std::vector<Production> rows;
    std::vector<Production> units;
    bool have_start = false;
    bool have_first_message = false;
    std::vector<int> name_lines;

    // Symbols first: every other line refers to them by label.
    void read_symbols() {
        for (const SourceLine& l : src.lines) {
            std::vector<std::string> w = split_words(l.text);
            if (w.empty() || w[0] != "%symbol")
                continue;
            // %symbol <id> <name> <category> <level> reserved|- [as <label>]
            if (w.size() != 6 && !(w.size() == 8 && w[6] == "as"))
                src.fault(l.number, "%symbol takes an id, a name, a category, a level, "
                                    "'reserved' or '-', and optionally 'as <label>'");
            Symbol s;
            s.id = static_cast<int>(number(src, l.number, w[1]));
            std::string name = unquote(w[2]);
            if (name.empty())
                src.fault(l.number, "a symbol needs a name (a blank one is \" \")");
            s.name = utf16(name);
            s.label = w.size() == 8 ? w[7] : name;
            s.category = static_cast<short>(number(src, l.number, w[3]));
            s.level = static_cast<int>(number(src, l.number, w[4]));
            if (w[5] != "reserved" && w[5] != "-")
                src.fault(l.number, "'" + w[5] + "' must be 'reserved' or '-'");
            s.reserved = w[5] == "reserved";
            s.line = l.number;
            if (!g.symbols.empty() && g.symbols.back().id >= s.id)
                src.fault(l.number, "symbol ids must ascend; " + std::to_string(s.id) +
                                        " follows " + std::to_string(g.symbols.back().id));
            if (g.by_label.count(s.label))
                g.ambiguous.insert(s.label);
            g.by_label[s.label] = s.id;
            g.symbols.push_back(s);
        }
        if (g.symbols.empty())
            throw GrammarFault(src.path + ": no %symbol lines");
    }

    int sym(int line, const std::string& w) { return g.lookup(unquote(w), line); }

    const std::string& line_text(int number) const {
        for (const SourceLine& l : src.lines)
            if (l.number == number)
                return l.text;
        return src.lines.front().text;
    }

    std::set<int> symbol_set(int line, const std::vector<std::string>& w, std::size_t from) {
        std::set<int> out;
        for (std::size_t i = from; i < w.size(); ++i)
            out.insert(sym(line, w[i]));
        return out;
    }

    void directive(int line, const std::vector<std::string>& w) {
        const std::string& d = w[0];
        Settings& s = g.settings;
        auto need = [&](std::size_t n) {
            if (w.size() != n)
                src.fault(line, d + " takes " + std::to_string(n - 1) + " word(s)");
        };
        if (d == "%grammar") {
            need(2);
            s.grammar = w[1];
        } else if (d == "%input-case") {
            need(2);
            if (w[1] == "sensitive")
                s.input_case = 0;
            else if (w[1] == "upper")
                s.input_case = 1;
            else if (w[1] == "lower")
                s.input_case = 2;
            else
                src.fault(line, "%input-case is sensitive, upper or lower");
        } else if (d == "%functions") {
            need(2);
            s.functions_header = w[1];
        } else if (d == "%start") {
            need(2);
            s.start = sym(line, w[1]);
            have_start = true;
        } else if (d == "%message") {
            need(3);
            if (!quoted(w[2]))
                src.fault(line, "a message text stands in double quotes");
            s.fixed_messages.push_back(
                MessageRow{static_cast<int>(number(src, line, w[1])), utf16(unquote(w[2]))});
        } else if (d == "%state-messages-from") {
            need(2);
            s.first_state_message = static_cast<int>(number(src, line, w[1]));
            have_first_message = true;
        } else if (d == "%production-error") {
            need(3);
            s.production_errors.push_back(
                PairRow{sym(line, w[1]), static_cast<int>(number(src, line, w[2]))});
        } else if (d == "%message-name") {
            need(3);
            name_lines.push_back(line);
            int t = sym(line, w[1]);
            if (w[2] == "none")
                s.message_names[t] = {false, Text()};
            else if (quoted(w[2]))
                s.message_names[t] = {true, utf16(unquote(w[2]))};
            else
                src.fault(line, "a message name stands in double quotes, or is 'none'");
        } else if (d == "%alternatives") {
            std::set<int> a = symbol_set(line, w, 1);
            s.alternatives.insert(a.begin(), a.end());
        } else if (d == "%sma") {
            std::set<int> a = symbol_set(line, w, 1);
            s.sma.insert(a.begin(), a.end());
        } else if (d == "%ignore") {
            std::set<int> a = symbol_set(line, w, 1);
            s.ignorables.insert(a.begin(), a.end());
        } else if (d == "%level") {
            level(line, w);
        } else if (d == "%expect") {
            // counts, checked by the common driver
        } else if (d.compare(0, 8, "%expect-") == 0) {
            g.expectations.push_back(Expectation{line, w});
        } else {
            src.fault(line, "unknown directive " + d);
        }
    }

    // %level <n> left|right|nonassoc|prefix [<token>] : <row>...
    void level(int line, const std::vector<std::string>& w) {
        auto colon = std::find(w.begin(), w.end(), ":");
        if (w.size() < 4 || colon == w.end() || colon - w.begin() > 4)
            src.fault(line, "%level takes a level, an associativity, an optional token, "
                            "':' and the rows");
        Level lv;
        lv.line = line;
        lv.level = static_cast<int>(number(src, line, w[1]));
        if (lv.level <= 0)
            src.fault(line, "precedence levels begin at 1");
        if (w[2] == "left")
            lv.assoc = Assoc::left;
        else if (w[2] == "right" || w[2] == "prefix")
            lv.assoc = Assoc::right;
        else if (w[2] == "nonassoc")
            lv.assoc = Assoc::nonassoc;
        else
            src.fault(line, "associativity is left, right, nonassoc or prefix");
        if (colon - w.begin() == 4) {
            int t = sym(line, w[3]);
            if (g.token_levels.count(t))
                src.fault(line, "token '" + g.label(t) + "' has a level already");
            g.token_levels[t] = {lv.level, lv.assoc};
        }
        for (auto it = colon + 1; it != w.end(); ++it)
            lv.rows.push_back(static_cast<int>(number(src, line, *it)));
        levels.push_back(lv);
    }

    // <row> <left> <alt> : <side> [| <side>]... [!before <t>...] [!action <f>] [!category <n>]
    // -     <left> [<alt>] : <symbol> [| <symbol>]...
    void production(int line, const std::vector<std::string>& w) {
        auto colon = std::find(w.begin(), w.end(), ":");
        if (colon == w.end() || colon - w.begin() < 2 || colon - w.begin() > 3)
            src.fault(line, "a production is '<row> <left> <alt> : <right side>', "
                            "or '- <left> [<alt>] : <symbol>' for a unit alternative");
        Production p;
        p.line = line;
        bool unit = w[0] == "-";
        p.row = unit ? -1 : static_cast<int>(number(src, line, w[0]));
        if (!unit && p.row < 0)
            src.fault(line, "row ids begin at 0");
        p.left = sym(line, w[1]);
        if (colon - w.begin() == 3)
            p.alt = static_cast<int>(number(src, line, w[2]));
        else if (!unit)
            src.fault(line, "a row needs its alternative number");
        RightSide side;
        bool in_group = false;
        auto it = colon + 1;
        for (; it != w.end() && (*it)[0] != '!'; ++it) {
            const std::string& x = *it;
            if (x == "|") {
                if (in_group)
                    src.fault(line, "'|' inside a group");
                p.sides.push_back(side);
                side.clear();
            } else if (x == "{") {
                if (in_group)
                    src.fault(line, "groups do not nest");
                in_group = true;
                side.push_back(Position());
            } else if (x == "}") {
                if (!in_group || side.back().empty())
                    src.fault(line, "'}' without a group, or an empty group");
                in_group = false;
            } else if (in_group) {
                side.back().push_back(sym(line, x));
            } else {
                side.push_back(Position{sym(line, x)});
            }
        }
        if (in_group)
            src.fault(line, "unclosed group");
        p.sides.push_back(side);
        for (; it != w.end();) {
            std::string opt = *it++;
            std::vector<std::string> args;
            while (it != w.end() && (*it)[0] != '!')
                args.push_back(*it++);
            if (opt == "!before") {
                if (args.empty())
                    src.fault(line, "!before names at least one terminal");
                p.restricted = true;
                for (const std::string& a : args)
                    p.only_before.insert(sym(line, a));
            } else if (opt == "!action" && args.size() == 1) {
                p.action = args[0];
            } else if (opt == "!category" && args.size() == 1) {
                p.category = static_cast<short>(number(src, line, args[0]));
            } else {
                src.fault(line, "unknown or malformed option " + opt);
            }
        }
        if (unit) {
            if (p.restricted || !p.action.empty() || p.category != 0)
                src.fault(line, "a unit alternative has no restriction, action or category");
            // Each side of a unit line is a unit alternative of its own.
            for (const RightSide& s : p.sides) {
                if (s.size() != 1 || s[0].size() != 1)
                    src.fault(line, "a unit alternative has exactly one right-hand symbol");
                Production u = p;
                u.sides = {s};
                units.push_back(u);
            }
            return;
        }
        for (const RightSide& s : p.sides)
            if (s.size() != p.sides.front().size())
                src.fault(line, "the right sides of one row must have one length");
        rows.push_back(p);
    }

    void finish() {
        Settings& s = g.settings;
        if (s.grammar.empty())
            throw GrammarFault(src.path + ": no %grammar line");
        if (!have_start)
            throw GrammarFault(src.path + ": no %start line");
        if (rows.empty())
            throw GrammarFault(src.path + ": no productions");

        std::sort(rows.begin(), rows.end(),
                  [](const Production& a, const Production& b) { return a.row < b.row; });
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].row != static_cast<int>(i))
                src.fault(rows[i].line, "row " + std::to_string(rows[i].row) +
                                            (i > 0 && rows[i].row == rows[i - 1].row
                                                 ? " is given twice"
                                                 : " leaves a gap: rows are numbered from 0"));
        // Row ids follow the left side's id, then the alternative number: the
        // runtime names productions by these ids, so the source must agree.
        for (std::size_t i = 1; i < rows.size(); ++i) {
            const Production& a = rows[i - 1];
            const Production& b = rows[i];
            if (a.left > b.left || (a.left == b.left && a.alt >= b.alt))
                src.fault(b.line, "row " + std::to_string(b.row) +
                                      " is out of order: rows ascend by the id of their "
                                      "left side, then by alternative number");
        }

        for (const Production& p : rows) {
            g.nonterminals.insert(p.left);
            g.row_nonterminals.insert(p.left);
        }
        for (const Production& u : units)
            g.nonterminals.insert(u.left);
        auto use = [&](int id) {
            if (!g.nonterminals.count(id))
                g.terminals.insert(id);
        };
        for (const std::vector<Production>* list : {&rows, &units})
            for (const Production& p : *list) {
                for (const RightSide& side : p.sides)
                    for (const Position& pos : side)
                        for (int id : pos)
                            use(id);
                for (int t : p.only_before)
                    use(t);
            }
        use(end_mark);
        for (const std::vector<Production>* list : {&rows, &units})
            for (const Production& p : *list)
                for (int t : p.only_before)
                    if (!g.is_terminal(t))
                        src.fault(p.line, "'" + g.label(t) + "' in !before is no terminal");

        g.rows = static_cast<int>(rows.size());
        g.productions = rows;
        g.productions.insert(g.productions.end(), units.begin(), units.end());
        for (std::size_t i = 0; i < g.productions.size(); ++i)
            g.by_left[g.productions[i].left].push_back(static_cast<int>(i));

        int starts = 0;
        for (const Production& p : g.productions)
            if (p.left == s.start) {
                ++starts;
                if (p.unit())
                    src.fault(p.line, "the start production must be a row");
            }
        if (starts != 1)
            throw GrammarFault(src.path + ": the start symbol needs exactly one production");
        for (const Production& p : g.productions)
            for (const RightSide& side : p.sides)
                for (const Position& pos : side)
                    for (int id : pos)
                        if (id == s.start)
                            src.fault(p.line, "the start symbol may not stand on a right side");

        for (const Level& lv : levels)
            for (int r : lv.rows) {
                if (r < 0 || r >= g.rows)
                    src.fault(lv.line, "no row " + std::to_string(r));
                Production& p = g.productions[r];
                if (p.level)
                    src.fault(lv.line, "row " + std::to_string(r) + " has a level already");
                p.level = lv.level;
                p.assoc = lv.assoc;
            }

        for (int line : name_lines) {
            int t = sym(line, words_of(line_text(line))[1]);
            if (!g.is_terminal(t))
                src.fault(line, "'" + g.label(t) + "' is no terminal of a production");
        }
        for (const std::set<int>* set : {&s.alternatives, &s.sma, &s.ignorables})
            for (int t : *set)
                if (!g.is_terminal(t))
                    throw GrammarFault(src.path + ": '" + g.label(t) +
                                       "' in %alternatives, %sma or %ignore is no terminal");

        std::sort(s.fixed_messages.begin(), s.fixed_messages.end(),
                  [](const MessageRow& a, const MessageRow& b) { return a.id < b.id; });
        for (std::size_t i = 1; i < s.fixed_messages.size(); ++i)
            if (s.fixed_messages[i].id == s.fixed_messages[i - 1].id)
                throw GrammarFault(src.path + ": message " +
                                   std::to_string(s.fixed_messages[i].id) + " is given twice");
        if (!have_first_message)
            s.first_state_message = s.fixed_messages.empty() ? 0 : s.fixed_messages.back().id + 1;
        if (!s.fixed_messages.empty() && s.fixed_messages.back().id >= s.first_state_message)
            throw GrammarFault(src.path + ": %message ids must stay below %state-messages-from");
        for (const PairRow& pe : s.production_errors) {
            bool known = false;
            for (const MessageRow& m : s.fixed_messages)
                known = known || m.id == pe.value;
            if (!known)
                throw GrammarFault(src.path + ": %production-error names message " +
                                   std::to_string(pe.value) + ", which no %message gives");
        }
        std::sort(s.production_errors.begin(), s.production_errors.end(),
                  [](const PairRow& a, const PairRow& b) { return a.key < b.key; });
    }
};

} // namespace

const Symbol& Grammar::symbol(int id) const {
    auto it = std::lower_bound(symbols.begin(), symbols.end(), id,
                               [](const Symbol& s, int v) { return s.id < v; });
    if (it == symbols.end() || it->id != id)
        throw GrammarFault(path + ": no symbol " + std::to_string(id));
    return *it;
}

int Grammar::lookup(const std::string& label, int line) const {
    if (ambiguous.count(label))
        fault(line, "'" + label + "' names several symbols; give one of them 'as <label>'");
    auto it = by_label.find(label);
    if (it == by_label.end())
        fault(line, "unknown symbol '" + label + "'");
    return it->second;
}

std::string Grammar::label(int id) const {
    for (const Symbol& s : symbols)
        if (s.id == id)
            return s.label;
    return std::to_string(id);
}

int Grammar::start_production() const {
    for (int p = 0; p < rows; ++p)
        if (productions[p].left == settings.start)
            return p;
    return -1;
}

void Grammar::fault(int line, const std::string& message) const {
    throw GrammarFault(path + ":" + std::to_string(line) + ": " + message);
}

Grammar read_grammar(const Source& src) {
    Grammar g;
    g.path = src.path;
    Reader(src, g).run();
    return g;
}

} // namespace lr
} // namespace gen
