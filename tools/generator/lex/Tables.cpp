#include "Tables.h"

#include <algorithm>
#include <map>
#include <set>

namespace gen {
namespace lex {

std::vector<TerminalRow> terminal_rows(const LexModel& m, const Automaton& a, const Source& src) {
    std::map<int, TerminalRow> rows;
    bool backtrack_rows = false;
    for (const AutoState& s : a.states)
        backtrack_rows = backtrack_rows || s.rows.count(backtrack_mark) != 0;
    if (backtrack_rows)
        rows[backtrack_mark] = TerminalRow{backtrack_mark, 0, 2, true, u"+:"};
    rows[-12] = TerminalRow{-12, 0, 0, true, u"ANY"};
    rows[end_mark] = TerminalRow{end_mark, 0, 2, false, u"EOF"};
    std::map<int, const SymbolDecl*> declared;
    for (const SymbolDecl& d : m.symbols)
        declared[d.id] = &d;
    for (int s : m.inputs) {
        Text name;
        if (s < 65536)
            name = Text(1, static_cast<char16_t>(s));
        rows[s] = TerminalRow{s, 0, 3, true, name};
    }
    for (const ProductionDecl& p : m.productions)
        if (!rows.count(p.id))
            rows[p.id] = TerminalRow{p.id, 0, 2, false, utf16(p.name)};
    // An input id from 65536 up that is also delivered carries the name of
    // its production unless "%symbol" names it.
    for (const ProductionDecl& p : m.productions) {
        TerminalRow& r = rows[p.id];
        if (r.name.empty())
            r.name = utf16(p.name);
    }
    for (const ClassDecl& c : m.classes)
        rows[c.id] = TerminalRow{c.id, static_cast<short>(c.category), c.level, true, c.name};
    for (const SymbolDecl& d : m.symbols) {
        auto it = rows.find(d.id);
        if (it == rows.end()) {
            // A character that no row reads (CR, LF) is still named by itself.
            Text name = d.name;
            if (!d.has_name && d.id > 0 && d.id < 65536)
                name = Text(1, static_cast<char16_t>(d.id));
            if (name.empty())
                src.fault(d.line, "a new symbol needs a name");
            it = rows.emplace(d.id, TerminalRow{d.id, 0, 2, false, name}).first;
        }
        TerminalRow& r = it->second;
        if (d.has_name)
            r.name = d.name;
        if (d.category >= 0)
            r.category = static_cast<short>(d.category);
        if (d.level >= 0)
            r.level = d.level;
        if (d.reserved >= 0)
            r.reserved = d.reserved != 0;
    }
    std::vector<TerminalRow> out;
    for (auto& r : rows) {
        if (r.second.name.empty())
            throw GrammarFault(src.path + ": symbol " + std::to_string(r.first) +
                               " is read but has no name: give it a %symbol line");
        out.push_back(r.second);
    }
    return out;
}

std::vector<EqsRow> class_rows(const LexModel& m) {
    std::vector<EqsRow> rows;
    for (const ClassDecl& c : m.classes)
        for (int member : c.members)
            rows.push_back(EqsRow{member % 256, member, c.id});
    std::sort(rows.begin(), rows.end(), [](const EqsRow& x, const EqsRow& y) {
        return x.hash != y.hash ? x.hash < y.hash : x.terminal < y.terminal;
    });
    return rows;
}

std::vector<ReductionRow> reduction_rows(const LexModel& m) {
    std::vector<ReductionRow> rows;
    for (std::size_t i = 0; i < m.productions.size(); ++i) {
        const ProductionDecl& p = m.productions[i];
        rows.push_back(ReductionRow{p.action, static_cast<short>(p.parameters),
                                    static_cast<short>(i + 1), p.id, 0, 0});
    }
    return rows;
}

std::vector<ActionRow> srs_rows(const Automaton& a) {
    std::vector<ActionRow> rows;
    for (std::size_t s = 0; s < a.states.size(); ++s)
        for (const auto& r : a.states[s].rows)
            rows.push_back(
                ActionRow{static_cast<int>(s), r.first, r.second.action, r.second.value});
    return rows;
}

TableSet lexical_tables(const LexModel& m, const Automaton& a, std::vector<ActionRow> conflicts,
                        const Source& src) {
    TableSet t;
    t.grammar = m.grammar;
    t.input_case = m.input_case;
    t.action_kind = ActionKind::lexer;
    t.functions_header = m.functions_header;
    t.terminals = terminal_rows(m, a, src);
    t.eqs = class_rows(m);
    t.eqs_terms = static_cast<int>(t.eqs.size()); // every member is its own terminal
    t.srs = srs_rows(a);
    t.states = static_cast<int>(a.states.size());
    t.goto_states = t.states;
    std::set<int> conflict_states;
    for (const ActionRow& r : conflicts)
        conflict_states.insert(r.state);
    t.conflicts = std::move(conflicts);
    t.conflict_states = static_cast<int>(conflict_states.size());
    t.reductions = reduction_rows(m);
    for (int id : std::set<int>(m.ignorables.begin(), m.ignorables.end()))
        t.ignorables.push_back(PairRow{id, 0});
    for (int id : std::set<int>(m.sma.begin(), m.sma.end()))
        t.sma.push_back(PairRow{id, 0});
    for (const ProductionDecl& p : m.productions)
        if (!p.action.empty() && m.functions_header.empty())
            src.fault(p.line, "a lexer action needs a %functions header");
    return t;
}

} // namespace lex
} // namespace gen
