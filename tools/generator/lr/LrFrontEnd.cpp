#include "frontends.h"

#include <algorithm>

#include "lr/Construction.h"

namespace gen {

TableSet build_lr(const Source& src, std::ostream* listing, std::map<std::string, long>& counts) {
    lr::Construction c = lr::construct(lr::read_grammar(src));
    if (listing)
        lr::write_listing(c, *listing);
    const lr::Grammar& g = c.grammar;
    const lr::Settings& s = g.settings;

    TableSet t;
    t.grammar = s.grammar;
    t.lr = true;
    t.has_defaults = true;
    t.input_case = s.input_case;
    t.action_kind = ActionKind::semantic;
    t.functions_header = s.functions_header;
    for (const lr::Symbol& sym : g.symbols)
        t.terminals.push_back(TerminalRow{sym.id, sym.category, sym.level, sym.reserved, sym.name});
    t.error_msgs = s.fixed_messages;
    t.error_msgs.insert(t.error_msgs.end(), c.messages.texts.begin(), c.messages.texts.end());
    t.gotos = c.gotos;
    // The goto table indexes states up to the last one with a goto row.
    t.goto_states = c.gotos.empty() ? 0 : c.gotos.back().state + 1;
    t.srs = c.srs;
    t.states = static_cast<int>(c.automaton.states.size());
    for (int d : c.defaults)
        t.defaults.push_back(d < 0 ? DefaultRow{0, -1} : DefaultRow{2, d});
    t.state_errors = c.messages.by_state;
    t.productions_errors = s.production_errors;
    for (int p = 0; p < g.rows; ++p) {
        const lr::Production& prod = g.productions[p];
        t.reductions.push_back(ReductionRow{prod.action, static_cast<short>(prod.length()),
                                            static_cast<short>(prod.alt), prod.left, prod.category,
                                            0});
    }
    // The states in which panic-mode recovery can shift the error mark.
    for (const ActionRow& r : c.srs)
        if (r.terminal == lr::error_mark && r.action == 1)
            t.recovery_states.push_back(PairRow{r.state, 0});
    for (int id : s.ignorables)
        t.ignorables.push_back(PairRow{id, 0});
    for (int id : s.sma)
        t.sma.push_back(PairRow{id, 0});

    counts = lr::extra_counts(c);
    lr::check_telling_rows(c);
    return t;
}

} // namespace gen
