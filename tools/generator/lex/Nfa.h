#ifndef GENERATOR_LEX_NFA_H
#define GENERATOR_LEX_NFA_H

#include <vector>

#include "KeyMap.h"
#include "LexModel.h"

namespace gen {
namespace lex {

// The nondeterministic automaton of all token definitions, one branch per
// definition from a common start node (Thompson's construction over keys).
struct NfaNode {
    enum Role {
        plain,
        accept,           // the end of a token without right context
        lookahead_accept, // the end of a token's own text, before its context
        context_end,      // the end of a right context: back up to the token
        veto,             // the end of an "except" prefix: the token may not end
        veto_word         // the end of a "not" word: the token may not end here
    };
    std::vector<int> keys; // a symbol edge on any of these keys ...
    int next = -1;         // ... to this node
    std::vector<int> eps;
    Role role = plain;
    // The definition the node belongs to (its priority); for a veto, the
    // definition it bars. The nodes of an "except" prefix belong to none.
    int token = -1;
};

class Nfa {
public:
    std::vector<NfaNode> nodes;
    int start = 0;

    Nfa(const LexModel& m, const KeyMap& keys, const Source& src);

    // A node that the subset construction keeps in a state: one with a symbol
    // edge or a role. Nodes with only empty edges are left out, so that paths
    // which differ only in such nodes reach one state.
    bool significant(int n) const {
        return !nodes[n].keys.empty() || nodes[n].role != NfaNode::plain;
    }

private:
    const KeyMap& keys_;
    const Source& src_;
    int line_ = 0;
    int token_ = -1;

    int node();
    // Builds the pattern between a new entry node and a new exit node.
    void fragment(const Pattern& p, int& in, int& out);
};

} // namespace lex
} // namespace gen

#endif
