#ifndef TEST_SUPPORT_CFG_GRAMMAR_H
#define TEST_SUPPORT_CFG_GRAMMAR_H

// Context-free grammars compiled into FSA tables as a grammar compiler makes
// them without an added start production, and a reference recognizer for
// the same grammars, so that what the engine accepts can be checked against
// the language itself.
//
// The tables: state 0 holds a down row (_SHIFTDOWN on a terminal, _GODOWN on
// a nonterminal) for the first symbol of every production of the start
// symbol and of its left corners. Each later position of a production has a
// state holding the continue row (_SHIFT or _GOTO) of its next symbol and,
// where that symbol is a nonterminal Y, down rows for the productions of Y's
// left corners. A production's last symbol leads to its reductive state.

#include <algorithm>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "engine_grammar.h"

namespace fsa_engine_test {

// Terminal k is id 97 + k ('a', 'b', ...), nonterminal k is id 65536 + k
// ('S', 'A', ...); nonterminal 0 is the start symbol.
struct Cfg {
    int terminals = 1;
    int nonterminals = 1;
    std::vector<std::pair<int, std::vector<int>>> productions; // lhs, non-empty rhs
    short category = 0;                                        // of every production row

    static int terminal(int k) { return 97 + k; }
    static int nonterminal(int k) { return 65536 + k; }
    static bool is_terminal(int id) { return id < 65536; }
    int start() const { return nonterminal(0); }
};

namespace cfg_detail {

// The nonterminals that can stand first in a derivation of y, y included.
inline std::set<int> left_corners(const Cfg& g, int y) {
    std::set<int> out{y};
    for (bool grew = true; grew;) {
        grew = false;
        for (auto& p : g.productions)
            if (out.count(p.first) && !Cfg::is_terminal(p.second[0]))
                grew = out.insert(p.second[0]).second || grew;
    }
    return out;
}

// The terminals that may follow each nonterminal (the end of input is
// implied for the start symbol: the engine lets every reduction pass there).
inline std::map<int, std::set<int>> follow_sets(const Cfg& g) {
    std::map<int, std::set<int>> first;
    for (int k = 0; k < g.terminals; ++k)
        first[Cfg::terminal(k)] = {Cfg::terminal(k)};
    for (bool grew = true; grew;) {
        grew = false;
        for (auto& p : g.productions)
            for (int t : std::set<int>(first[p.second[0]]))
                grew = first[p.first].insert(t).second || grew;
    }
    std::map<int, std::set<int>> follow;
    for (bool grew = true; grew;) {
        grew = false;
        for (auto& p : g.productions) {
            const std::vector<int>& rhs = p.second;
            for (std::size_t i = 0; i < rhs.size(); ++i) {
                if (Cfg::is_terminal(rhs[i]))
                    continue;
                const std::set<int>& after =
                    i + 1 < rhs.size() ? first[rhs[i + 1]] : follow[p.first];
                for (int t : std::set<int>(after))
                    grew = follow[rhs[i]].insert(t).second || grew;
            }
        }
    }
    return follow;
}

} // namespace cfg_detail

// The FSA tables of g, with the SLR follow rows of every nonterminal taken
// from the grammar's follow sets.
inline GrammarRows compile(const Cfg& g) {
    static const wchar_t* const terminal_names[] = {L"a", L"b", L"c", L"d"};
    static const wchar_t* const nonterminal_names[] = {L"S", L"A", L"B", L"C"};
    GrammarRows s;
    s.symbols.push_back({-4, L"error", 0, 0});
    s.symbols.push_back({-1, L"EOF", 0, 0});
    for (int k = 0; k < g.terminals; ++k)
        s.symbols.push_back({Cfg::terminal(k), terminal_names[k % 4], 0, 0});
    for (int k = 0; k < g.nonterminals; ++k)
        s.symbols.push_back({Cfg::nonterminal(k), nonterminal_names[k % 4], 0, 0});

    // State 0, then one state per inner position of each production.
    std::vector<int> first_position;
    s.states = 1;
    for (auto& p : g.productions) {
        first_position.push_back(s.states);
        s.states += static_cast<int>(p.second.size()) - 1;
    }
    auto after = [&](std::size_t q, std::size_t i) { // the state once i symbols are read
        return i == g.productions[q].second.size() ? reductive(s, static_cast<int>(q))
                                                   : first_position[q] + static_cast<int>(i) - 1;
    };
    auto moves = [](int id, bool down) -> int {
        using namespace parsing;
        bool t = Cfg::is_terminal(id);
        return down ? (t ? _SHIFTDOWN : _GODOWN) : (t ? _SHIFT : _GOTO);
    };
    auto down_rows = [&](int state, int y) {
        for (int x : cfg_detail::left_corners(g, y))
            for (std::size_t q = 0; q < g.productions.size(); ++q)
                if (g.productions[q].first == x) {
                    int first = g.productions[q].second[0];
                    s.nfa.push_back({state, first, moves(first, true), after(q, 1)});
                }
    };
    down_rows(0, g.start());
    for (std::size_t q = 0; q < g.productions.size(); ++q) {
        const std::vector<int>& rhs = g.productions[q].second;
        for (std::size_t i = 1; i < rhs.size(); ++i) {
            int state = after(q, i);
            s.nfa.push_back({state, rhs[i], moves(rhs[i], false), after(q, i + 1)});
            if (!Cfg::is_terminal(rhs[i]))
                down_rows(state, rhs[i]);
        }
        s.productions.push_back(
            {g.productions[q].first, static_cast<short>(q + 1), g.category, 0, nullptr});
    }
    std::stable_sort(s.nfa.begin(), s.nfa.end(), [](const NfaRow& x, const NfaRow& y) {
        return x.state != y.state ? x.state < y.state : x.terminal < y.terminal;
    });
    for (auto& f : cfg_detail::follow_sets(g))
        for (int t : f.second)
            s.slr[f.first].push_back({t, t});
    s.start = g.start();
    return s;
}

// Whether g derives the terminal string w from its start symbol.
inline bool derives(const Cfg& g, const std::vector<int>& w) {
    std::size_t n = w.size();
    if (n == 0)
        return false;
    // at[i][j]: the symbols that derive w[i .. j).
    std::vector<std::vector<std::set<int>>> at(n + 1, std::vector<std::set<int>>(n + 1));
    for (std::size_t i = 0; i < n; ++i)
        at[i][i + 1].insert(w[i]);
    // Whether rhs[k ..] derives w[i .. j), each symbol taking at least one
    // token; every span it reads is shorter than j - i unless the rest of the
    // production is one symbol, whose span is read as it stands.
    auto splits = [&](auto&& self, const std::vector<int>& rhs, std::size_t k, std::size_t i,
                      std::size_t j) -> bool {
        if (k + 1 == rhs.size())
            return at[i][j].count(rhs[k]) > 0;
        for (std::size_t m = i + 1; m + (rhs.size() - k - 1) <= j; ++m)
            if (at[i][m].count(rhs[k]) && self(self, rhs, k + 1, m, j))
                return true;
        return false;
    };
    for (std::size_t len = 1; len <= n; ++len)
        for (std::size_t i = 0; i + len <= n; ++i)
            for (bool grew = true; grew;) { // unit productions chain within one span
                grew = false;
                for (auto& p : g.productions)
                    if (!at[i][i + len].count(p.first) && p.second.size() <= len &&
                        splits(splits, p.second, 0, i, i + len))
                        grew = at[i][i + len].insert(p.first).second || grew;
            }
    return at[0][n].count(g.start()) > 0;
}

} // namespace fsa_engine_test

#endif
