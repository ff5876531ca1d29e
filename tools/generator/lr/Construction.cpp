#include "Construction.h"

#include "ActionRows.h"
#include "DefaultReductions.h"

namespace gen {
namespace lr {

Construction construct(Grammar g) {
    Construction c;
    c.grammar = std::move(g);
    const Grammar& gr = c.grammar;
    c.automaton = number_states(gr);
    c.lookahead = lookahead_sets(gr);
    c.resolution = resolve_conflicts(gr, c.automaton, c.lookahead);
    c.reduce = reduce_sets(gr, c.lookahead, c.resolution);
    c.defaults = default_reductions(gr, c.lookahead, c.resolution, c.reduce);
    c.srs = action_rows(gr, c.resolution, c.reduce, c.defaults);
    c.gotos = goto_rows(gr, c.automaton);
    c.messages = state_messages(gr, c.srs, static_cast<int>(c.automaton.states.size()));
    for (std::size_t s = 0; s < c.automaton.states.size(); ++s) {
        bool rows = false;
        for (const ActionRow& r : c.srs)
            rows = rows || r.state == static_cast<int>(s);
        if (!rows && c.defaults[s] < 0)
            throw GrammarFault(gr.path + ": state " + std::to_string(s) +
                               " has neither rows nor a default reduction");
    }
    return c;
}

std::map<std::string, long> extra_counts(const Construction& c) {
    std::map<std::string, long> n;
    std::size_t states = c.automaton.states.size();
    std::vector<int> rows(states, 0), shifts(states, 0), reduces(states, 0);
    std::vector<std::set<int>> reduced(states);
    for (const ActionRow& r : c.srs) {
        ++rows[r.state];
        if (r.action == 1)
            ++shifts[r.state];
        if (r.action == 2) {
            ++reduces[r.state];
            reduced[r.state].insert(r.next_state);
        }
    }
    long shift_states = 0, reduce_states = 0, two_reduce = 0, max_rows = 0;
    long defaults_with_rows = 0, defaults_alone = 0;
    for (std::size_t s = 0; s < states; ++s) {
        shift_states += shifts[s] > 0;
        reduce_states += reduces[s] > 0;
        two_reduce += reduced[s].size() >= 2;
        max_rows = std::max<long>(max_rows, rows[s]);
        if (c.defaults[s] >= 0) {
            defaults_with_rows += rows[s] > 0;
            defaults_alone += rows[s] == 0;
        }
    }
    n["shift_row_states"] = shift_states;
    n["reduce_row_states"] = reduce_states;
    n["states_reducing_two_rows"] = two_reduce;
    n["most_rows_in_a_state"] = max_rows;
    n["defaults_with_rows"] = defaults_with_rows;
    n["defaults_without_rows"] = defaults_alone;
    std::set<int> goto_symbols;
    for (const GotoRow& r : c.gotos)
        goto_symbols.insert(r.nonterminal);
    n["goto_nonterminals"] = static_cast<long>(goto_symbols.size());
    n["left_sides"] = static_cast<long>(c.grammar.row_nonterminals.size());
    n["unit_alternatives"] = static_cast<long>(c.grammar.productions.size()) - c.grammar.rows;
    std::set<int> with_rows;
    for (const ActionRow& r : c.srs)
        with_rows.insert(r.terminal);
    n["terminals_with_rows"] = static_cast<long>(with_rows.size());
    return n;
}

} // namespace lr
} // namespace gen
