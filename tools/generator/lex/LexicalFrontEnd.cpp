#include "../frontends.h"

#include "Construction.h"
#include "LexReader.h"
#include "Listing.h"
#include "Tables.h"

namespace gen {

// A lexical grammar is either token definitions, from which the automaton is
// constructed, or an automaton declared state by state; both end in the same
// tables.
TableSet build_lexical(const Source& src, std::ostream* listing,
                       std::map<std::string, long>& counts) {
    lex::LexModel m = lex::read_lexical(src);
    lex::KeyMap keys(m.classes);
    lex::Automaton a;
    if (!m.tokens.empty()) {
        lex::Nfa nfa(m, keys, src);
        a = lex::subset_automaton(nfa, m, src);
        counts["dfa_states"] = static_cast<long>(a.states.size());
        if (m.minimise)
            a = lex::minimal_automaton(a);
        a = lex::numbered_automaton(a, m, keys, src);
    } else {
        a = lex::declared_automaton(m, keys, src);
        counts["dfa_states"] = static_cast<long>(a.states.size());
    }
    std::vector<ActionRow> conflicts = lex::conflict_rows(a, m, keys, src);
    TableSet t = lex::lexical_tables(m, a, std::move(conflicts), src);

    long accepts = 0, lookahead_accepts = 0;
    for (const ActionRow& r : t.srs)
        if (r.action == lex::act_reduce)
            ++(r.terminal == lex::backtrack_mark ? lookahead_accepts : accepts);
    counts["accept_rows"] = accepts;
    counts["lookahead_accept_rows"] = lookahead_accepts;
    counts["conflict_states"] = t.conflict_states;
    counts["classes"] = static_cast<long>(m.classes.size());

    if (listing)
        lex::write_listing(*listing, m, a, t);
    return t;
}

} // namespace gen
