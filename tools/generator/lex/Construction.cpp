#include "Construction.h"

#include <algorithm>
#include <deque>
#include <map>
#include <set>

namespace gen {
namespace lex {

namespace {

typedef std::vector<int> NodeSet; // sorted significant NFA nodes

// The nodes reachable by empty edges; the ends of the barred definitions are
// not entered, so that they neither accept nor start their right context.
NodeSet closure(const Nfa& nfa, const std::set<int>& seeds, const std::set<int>& barred) {
    auto blocked = [&](int n) {
        const NfaNode& node = nfa.nodes[n];
        return (node.role == NfaNode::accept || node.role == NfaNode::lookahead_accept) &&
               barred.count(node.token) != 0;
    };
    std::vector<bool> seen(nfa.nodes.size(), false);
    std::vector<int> stack;
    for (int s : seeds)
        if (!blocked(s)) {
            seen[s] = true;
            stack.push_back(s);
        }
    NodeSet out;
    while (!stack.empty()) {
        int n = stack.back();
        stack.pop_back();
        if (nfa.significant(n))
            out.push_back(n);
        for (int e : nfa.nodes[n].eps)
            if (!seen[e] && !blocked(e)) {
                seen[e] = true;
                stack.push_back(e);
            }
    }
    std::sort(out.begin(), out.end());
    return out;
}

// A state's nodes: the closure, with every definition barred whose "except"
// prefix has been read or whose "not" word is exactly what has been read (its
// veto node is among the nodes).
NodeSet state_nodes(const Nfa& nfa, const std::set<int>& seeds) {
    NodeSet all = closure(nfa, seeds, {});
    std::set<int> barred;
    for (int n : all)
        if (nfa.nodes[n].role == NfaNode::veto || nfa.nodes[n].role == NfaNode::veto_word)
            barred.insert(nfa.nodes[n].token);
    return barred.empty() ? all : closure(nfa, seeds, barred);
}

std::string token_name(const LexModel& m, int token) {
    const TokenDecl& t = m.tokens[token];
    return "'" + m.productions[t.production].name + "' (line " + std::to_string(t.line) + ")";
}

// The first definition in source order takes a mark's row; the listing notes
// the definitions that give way to it.
void take_first(int& winner, int candidate, const char* mark, const LexModel& m, AutoState& st) {
    if (candidate == winner)
        return;
    if (winner < 0) {
        winner = candidate;
        return;
    }
    int first = std::min(winner, candidate), other = std::max(winner, candidate);
    st.notes.push_back(std::string(mark) + ": " + token_name(m, other) + " gives way to " +
                       token_name(m, first));
    winner = first;
}

// The accepting rows of one state of the subset construction.
void accepting_rows(const Nfa& nfa, const NodeSet& set, const LexModel& m, AutoState& st) {
    int end_token = -1, look_token = -1;
    for (int n : set) {
        const NfaNode& node = nfa.nodes[n];
        if (node.role == NfaNode::accept || node.role == NfaNode::context_end)
            take_first(end_token, node.token, "end mark", m, st);
        else if (node.role == NfaNode::lookahead_accept)
            take_first(look_token, node.token, "backtrack mark", m, st);
    }
    if (end_token >= 0) {
        bool back = m.tokens[end_token].has_context;
        st.rows[end_mark] = back ? AutoRow{act_backtrack, backtrack_next}
                                 : AutoRow{act_reduce, m.tokens[end_token].production};
    }
    if (look_token >= 0)
        st.rows[backtrack_mark] = AutoRow{act_reduce, m.tokens[look_token].production};
}

} // namespace

Automaton subset_automaton(const Nfa& nfa, const LexModel& m, const Source& src) {
    Automaton a;
    std::map<NodeSet, int> index;
    std::vector<NodeSet> sets;
    auto state_of = [&](const NodeSet& s) {
        auto it = index.find(s);
        if (it != index.end())
            return it->second;
        int n = static_cast<int>(sets.size());
        index.emplace(s, n);
        sets.push_back(s);
        a.states.emplace_back();
        return n;
    };
    state_of(state_nodes(nfa, {nfa.start}));
    for (std::size_t s = 0; s < sets.size(); ++s) {
        NodeSet set = sets[s]; // sets grows below
        std::map<int, std::set<int>> moves;
        std::set<int> tokens;
        for (int n : set) {
            const NfaNode& node = nfa.nodes[n];
            for (int k : node.keys)
                moves[k].insert(node.next);
            if (node.token >= 0)
                tokens.insert(node.token);
        }
        for (auto& mv : moves) {
            // A veto lasts while its definition reads on; a "not" word bars
            // only the state where it ends, so its veto is not carried.
            for (int n : set) {
                const NfaNode& veto = nfa.nodes[n];
                if (veto.role != NfaNode::veto)
                    continue;
                for (int next : std::set<int>(mv.second))
                    if (nfa.nodes[next].token == veto.token) {
                        mv.second.insert(n);
                        break;
                    }
            }
            int target = state_of(state_nodes(nfa, mv.second));
            a.states[s].rows[mv.first] = AutoRow{act_shift, target};
        }
        accepting_rows(nfa, set, m, a.states[s]);
        a.states[s].tokens.assign(tokens.begin(), tokens.end());
        if (s == 0)
            for (int n : set)
                if (nfa.nodes[n].role != NfaNode::plain)
                    src.fault(m.tokens[nfa.nodes[n].token].line,
                              nfa.nodes[n].role == NfaNode::veto
                                  ? "the except pattern matches the empty input"
                              : nfa.nodes[n].role == NfaNode::veto_word
                                  ? "the not pattern matches the empty input"
                                  : "the token matches the empty input");
    }
    return a;
}

Automaton declared_automaton(const LexModel& m, const KeyMap& keys, const Source& src) {
    Automaton a;
    int count = static_cast<int>(m.states.size());
    a.states.resize(count);
    for (const StateDecl& d : m.states) {
        AutoState& st = a.states[d.number];
        auto put = [&](int key, AutoRow row) {
            if (!st.rows.emplace(key, row).second)
                src.fault(d.line, "state " + std::to_string(d.number) + " has two rows on " +
                                      std::to_string(key));
        };
        for (const StateItem& item : d.items) {
            switch (item.kind) {
            case StateItem::shift:
                if (item.value < 0 || item.value >= count)
                    src.fault(d.line, "state " + std::to_string(item.value) + " is not declared");
                for (int k : keys.keys_of(item.symbols, src, d.line))
                    put(k, AutoRow{act_shift, item.value});
                break;
            case StateItem::accept:
                put(end_mark, AutoRow{act_reduce, item.value});
                break;
            case StateItem::lookahead_accept:
                put(backtrack_mark, AutoRow{act_reduce, item.value});
                break;
            case StateItem::backtrack:
                put(end_mark, AutoRow{act_backtrack, backtrack_next});
                break;
            }
        }
    }
    return a;
}

Automaton minimal_automaton(const Automaton& a) {
    std::size_t n = a.states.size();
    // Blocks start from the rows that are not shifts; the start state is a
    // block of its own.
    std::vector<int> block(n);
    {
        std::map<std::vector<std::pair<int, std::pair<int, int>>>, int> first;
        for (std::size_t s = 1; s < n; ++s) {
            std::vector<std::pair<int, std::pair<int, int>>> sig;
            for (const auto& r : a.states[s].rows)
                if (r.second.action != act_shift)
                    sig.push_back({r.first, {r.second.action, r.second.value}});
            auto it = first.emplace(sig, static_cast<int>(first.size()) + 1).first;
            block[s] = it->second;
        }
        block[0] = 0;
    }
    for (;;) {
        std::map<std::pair<int, std::vector<std::pair<int, int>>>, int> next;
        std::vector<int> refined(n);
        for (std::size_t s = 0; s < n; ++s) {
            std::vector<std::pair<int, int>> moves;
            for (const auto& r : a.states[s].rows)
                if (r.second.action == act_shift)
                    moves.push_back({r.first, block[r.second.value]});
            auto key = std::make_pair(block[s], moves);
            auto it = next.emplace(key, static_cast<int>(next.size())).first;
            refined[s] = it->second;
        }
        bool stable = next.size() == std::set<int>(block.begin(), block.end()).size();
        block = refined;
        if (stable)
            break;
    }
    // Number the merged states in the order of their first member.
    std::map<int, int> number;
    for (std::size_t s = 0; s < n; ++s)
        number.emplace(block[s], static_cast<int>(number.size()));
    Automaton out;
    out.states.resize(number.size());
    std::vector<bool> done(number.size(), false);
    for (std::size_t s = 0; s < n; ++s) {
        int t = number[block[s]];
        AutoState& st = out.states[t];
        std::set<int> tokens(st.tokens.begin(), st.tokens.end());
        tokens.insert(a.states[s].tokens.begin(), a.states[s].tokens.end());
        st.tokens.assign(tokens.begin(), tokens.end());
        if (done[t])
            continue;
        done[t] = true;
        st.rows = a.states[s].rows;
        for (auto& r : st.rows)
            if (r.second.action == act_shift)
                r.second.value = number[block[r.second.value]];
        st.notes = a.states[s].notes;
    }
    return out;
}

int referenced_state(const StateRef& r, const Automaton& a, const KeyMap& keys, const Source& src) {
    if (r.number >= 0) {
        if (r.number >= static_cast<int>(a.states.size()))
            src.fault(r.line, "state " + std::to_string(r.number) + " does not exist");
        return r.number;
    }
    std::vector<int> path;
    for (int s : r.sample)
        path.push_back(keys.key_of(s));
    int s = a.walk(path);
    if (s < 0)
        src.fault(r.line, "the sample input leaves the automaton");
    return s;
}

Automaton numbered_automaton(const Automaton& a, const LexModel& m, const KeyMap& keys,
                             const Source& src) {
    std::size_t n = a.states.size();
    std::vector<int> number(n, -1);
    std::vector<bool> taken(n, false);
    for (const PinDecl& p : m.pins) {
        int s = referenced_state(p.where, a, keys, src);
        if (p.number < 0 || p.number >= static_cast<int>(n))
            src.fault(p.where.line, "the automaton has no state " + std::to_string(p.number));
        if ((s == 0) != (p.number == 0))
            src.fault(p.where.line, "only the start state is state 0");
        if (number[s] >= 0 && number[s] != p.number)
            src.fault(p.where.line,
                      "the state is pinned to " + std::to_string(number[s]) + " already");
        if (taken[p.number] && number[s] != p.number)
            src.fault(p.where.line, "another state is pinned to " + std::to_string(p.number));
        number[s] = p.number;
        taken[p.number] = true;
    }
    number[0] = 0;
    taken[0] = true;
    std::vector<bool> seen(n, false);
    std::deque<int> queue{0};
    seen[0] = true;
    int free = 0;
    while (!queue.empty()) {
        int s = queue.front();
        queue.pop_front();
        if (number[s] < 0) {
            while (taken[free])
                ++free;
            number[s] = free;
            taken[free] = true;
        }
        for (const auto& r : a.states[s].rows)
            if (r.second.action == act_shift && !seen[r.second.value]) {
                seen[r.second.value] = true;
                queue.push_back(r.second.value);
            }
    }
    return a.renumbered(number);
}

std::vector<ActionRow> conflict_rows(const Automaton& a, const LexModel& m, const KeyMap& keys,
                                     const Source& src) {
    std::vector<std::pair<int, ActionRow>> rows;
    std::set<int> seen;
    for (const AlternativesDecl& d : m.alternatives) {
        int s = referenced_state(d.where, a, keys, src);
        if (!seen.insert(s).second)
            src.fault(d.where.line,
                      "the alternatives of state " + std::to_string(s) + " are given twice");
        for (int p : d.productions) {
            ActionRow r{s, end_mark, p < 0 ? act_finish : act_reduce, p < 0 ? finish_next : p};
            rows.push_back({s, r});
        }
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<ActionRow> out;
    for (const auto& r : rows)
        out.push_back(r.second);
    return out;
}

} // namespace lex
} // namespace gen
