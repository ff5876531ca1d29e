#include "Nfa.h"

namespace gen {
namespace lex {

Nfa::Nfa(const LexModel& m, const KeyMap& keys, const Source& src) : keys_(keys), src_(src) {
    start = node();
    for (std::size_t t = 0; t < m.tokens.size(); ++t) {
        const TokenDecl& d = m.tokens[t];
        line_ = d.line;
        token_ = static_cast<int>(t);
        int in, out;
        fragment(d.pattern, in, out);
        nodes[start].eps.push_back(in);
        if (d.has_except) {
            token_ = -1;
            int ein, eout;
            fragment(d.except, ein, eout);
            nodes[start].eps.push_back(ein);
            int veto = node();
            nodes[eout].eps.push_back(veto);
            nodes[veto].role = NfaNode::veto;
            nodes[veto].token = static_cast<int>(t);
            token_ = static_cast<int>(t);
        }
        if (d.has_not) {
            token_ = -1;
            int win, wout;
            fragment(d.not_words, win, wout);
            nodes[start].eps.push_back(win);
            int veto = node();
            nodes[wout].eps.push_back(veto);
            nodes[veto].role = NfaNode::veto_word;
            nodes[veto].token = static_cast<int>(t);
            token_ = static_cast<int>(t);
        }
        int end = node();
        nodes[out].eps.push_back(end);
        nodes[end].token = token_;
        if (!d.has_context) {
            nodes[end].role = NfaNode::accept;
            continue;
        }
        nodes[end].role = NfaNode::lookahead_accept;
        int cin, cout;
        fragment(d.context, cin, cout);
        nodes[end].eps.push_back(cin);
        int cend = node();
        nodes[cout].eps.push_back(cend);
        nodes[cend].role = NfaNode::context_end;
        nodes[cend].token = token_;
    }
}

int Nfa::node() {
    nodes.emplace_back();
    nodes.back().token = token_;
    return static_cast<int>(nodes.size()) - 1;
}

void Nfa::fragment(const Pattern& p, int& in, int& out) {
    in = node();
    out = node();
    switch (p.kind) {
    case Pattern::set: {
        std::set<int> k = keys_.keys_of(p.symbols, src_, line_);
        nodes[in].keys.assign(k.begin(), k.end());
        nodes[in].next = out;
        break;
    }
    case Pattern::seq: {
        int at = in;
        for (const Pattern& part : p.parts) {
            int a, b;
            fragment(part, a, b);
            nodes[at].eps.push_back(a);
            at = b;
        }
        nodes[at].eps.push_back(out);
        break;
    }
    case Pattern::alt:
        for (const Pattern& part : p.parts) {
            int a, b;
            fragment(part, a, b);
            nodes[in].eps.push_back(a);
            nodes[b].eps.push_back(out);
        }
        break;
    case Pattern::star:
    case Pattern::plus:
    case Pattern::opt: {
        int a, b;
        fragment(p.parts[0], a, b);
        nodes[in].eps.push_back(a);
        nodes[b].eps.push_back(out);
        if (p.kind != Pattern::plus)
            nodes[in].eps.push_back(out);
        if (p.kind != Pattern::opt)
            nodes[b].eps.push_back(a);
        break;
    }
    }
}

} // namespace lex
} // namespace gen
