#ifndef TEST_SUPPORT_ENGINE_GRAMMAR_H
#define TEST_SUPPORT_ENGINE_GRAMMAR_H

// Small FSA grammars written out in a test as plain lists, turned into the
// runtime's own table classes; a look-ahead source over a fixed token list;
// and an engine whose inner operations a test may call.

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "FSAParseData.h"
#include "FSAParsingTable.h"
#include "FSAProxy.h"
#include "FSAState.h"
#include "_I_Scanner.h"
#include "table_rows.h"

namespace fsa_engine_test {

using test_support::fault_of;
using test_support::Rows;
using test_support::werr_of;
using test_support::wout_of;

struct Symbol {
    int id;
    const wchar_t* name;
    short category;
    int level;
};

struct NfaRow {
    int state;
    int terminal;
    int action; // an ActionType
    int next;
};

struct Production {
    int lhs;
    short line;
    short category;
    int dependsOn;
    untyped_action action;
};

struct Rule {
    int set;
    bool result;
    int GoTo;
    int type; // follow_type
};

// A grammar as lists. Every symbol lists itself as its own equivalent, so
// rows labelled with a symbol match it; `eqs` adds further equivalents.
struct GrammarRows {
    std::vector<Symbol> symbols; // ascending ids
    std::map<int, std::vector<int>> eqs;
    int states = 1;
    std::vector<NfaRow> nfa; // by state, then terminal
    std::vector<Production> productions;
    std::vector<std::tuple<int, int, int>> occurs;       // symbol, from, to
    std::map<int, Rule> rules;                           // by state, from 1
    std::map<int, std::vector<int>> followSets;          // symbol -> set ids, ascending
    std::map<int, std::vector<std::pair<int, int>>> slr; // symbol -> ranges that may follow
    std::vector<std::pair<int, const wchar_t*>> messages;
    std::vector<std::pair<int, int>> stateErrors;
    std::vector<std::pair<int, int>> termErrors;
    std::vector<std::pair<int, int>> productionErrors;
    std::vector<std::tuple<int, int, int>> specificErrors;
    std::vector<int> ignorables;
    std::vector<int> recovery;
    int start = 0;
    bool disambiguate = true;
    bool unambiguous = true;
    bool slr_follows = true;
};

// An action of kind Do whose value is the state next.
inline parsing::ParseAction act(int Do, int next) {
    parsing::ParseAction pa{};
    pa.Do = static_cast<parsing::ActionType>(Do);
    pa.value.NextState = next;
    return pa;
}

// The state number that stands for production p of a grammar's rows.
inline int reductive(const GrammarRows& s, int p) {
    return s.states + p;
}

// The entries of all the lists of a map: the rows a table of them takes.
template <class Map> int rows_in(const Map& lists) {
    int rows = 0;
    for (auto& e : lists)
        rows += static_cast<int>(e.second.size());
    return rows;
}

class Grammar : public FSAParseData {
public:
    explicit Grammar(const GrammarRows& s) {
        int n = static_cast<int>(s.symbols.size());
        terminals = new Rows<Terminals>(
            [&](Terminals& t) {
                for (const Symbol& y : s.symbols)
                    t.append(y.id, y.category, y.level, false, y.name);
            },
            n);
        ranges = new Rows<Ranges>(nullptr, 0);
        occurs = new Rows<Occurs>(
            [&](Occurs& t) {
                for (auto& o : s.occurs)
                    t.append(std::get<0>(o), std::get<1>(o), std::get<2>(o), 0);
            },
            static_cast<int>(s.occurs.size()));
        error_msgs = new Rows<ErrorsTable>(
            [&](ErrorsTable& t) {
                for (auto& m : s.messages)
                    t.append(m.first, m.second);
            },
            static_cast<int>(s.messages.size()));
        int eq_rows = 0;
        for (const Symbol& y : s.symbols)
            eq_rows += 1 + (s.eqs.count(y.id) ? static_cast<int>(s.eqs.at(y.id).size()) : 0);
        eqstable = new Rows<eqs_table>(
            [&](eqs_table& t) {
                for (const Symbol& y : s.symbols) {
                    std::vector<int> all{y.id};
                    if (s.eqs.count(y.id))
                        all.insert(all.end(), s.eqs.at(y.id).begin(), s.eqs.at(y.id).end());
                    std::sort(all.begin(), all.end());
                    for (int e : all)
                        t.append(0, y.id, e);
                }
            },
            eq_rows, n, 0);
        slr_follows_table = new Rows<slr_table>(
            [&](slr_table& t) {
                for (auto& e : s.slr)
                    for (auto& r : e.second)
                        t.append(0, e.first, r.first, r.second);
            },
            rows_in(s.slr), static_cast<int>(s.slr.size()), 0);
        followstable = new Rows<follows_table>(
            [&](follows_table& t) {
                for (auto& e : s.followSets)
                    for (int set : e.second)
                        t.append(e.first, set);
            },
            rows_in(s.followSets), static_cast<int>(s.followSets.size()));
        int rule_states = s.rules.empty() ? 0 : s.rules.rbegin()->first;
        statefollows = new Rows<state_follows>(
            [&](state_follows& t) {
                for (int k = 1; k <= rule_states; ++k) {
                    auto it = s.rules.find(k);
                    if (it == s.rules.end())
                        t.append(k, -1, true, composite, k);
                    else
                        t.append(k, it->second.set, it->second.result, it->second.type,
                                 it->second.GoTo);
                }
            },
            rule_states);
        nfatable = new Rows<nfa_table>(
            [&](nfa_table& t) {
                for (const NfaRow& r : s.nfa)
                    t.append(r.state, r.terminal, r.action, r.next);
            },
            static_cast<int>(s.nfa.size()), s.states);
        state_errors = keys(s.stateErrors);
        term_errors = keys(s.termErrors);
        productions_errors = keys(s.productionErrors);
        specialized_errors = new Rows<KeyKeyValueFixedTable>(
            [&](KeyKeyValueFixedTable& t) {
                for (auto& e : s.specificErrors)
                    t.append(std::get<0>(e), std::get<1>(e), std::get<2>(e));
            },
            static_cast<int>(s.specificErrors.size()));
        reductions = new Rows<ReductionsTable>(
            [&](ReductionsTable& t) {
                for (const Production& p : s.productions)
                    t.append(p.action, 0, p.line, p.lhs, p.category, p.dependsOn);
            },
            static_cast<int>(s.productions.size()));
        if (!s.ignorables.empty())
            ignorables = keys(pairs(s.ignorables));
        if (!s.recovery.empty())
            recovery_states = keys(pairs(s.recovery));
        startId = s.start;
        disambiguate = s.disambiguate;
        unambiguous = s.unambiguous;
        slr_follows = s.slr_follows;
        build_indexes();
    }

private:
    static std::vector<std::pair<int, int>> pairs(const std::vector<int>& ids) {
        std::vector<std::pair<int, int>> out;
        for (int id : ids)
            out.push_back({id, 0});
        return out;
    }
    static KeyValueFixedTable* keys(const std::vector<std::pair<int, int>>& rows) {
        return new Rows<KeyValueFixedTable>(
            [&](KeyValueFixedTable& t) {
                for (auto& r : rows)
                    t.append(r.first, r.second);
            },
            static_cast<int>(rows.size()));
    }
};

// The engine's look-ahead over a fixed list of token ids: the token after
// index k is entry k + 1; past the end, the end mark -1.
class TokenList : public parsing::FSAProxy {
public:
    std::vector<int> tokens;
    bool more = true; // what available() answers
    int asked = 0;    // calls of peek

    explicit TokenList(std::vector<int> t = {}) : tokens(std::move(t)) {}
    int peek(int from_step) override {
        ++asked;
        std::size_t i = static_cast<std::size_t>(from_step + 1);
        return from_step + 1 >= 0 && i < tokens.size() ? tokens[i] : -1;
    }
    bool available() override { return more; }
};

// A scanner over a fixed list of (id, text) tokens.
class ListScanner : public capi::interfaces::_I_Scanner {
public:
    std::vector<std::pair<int, std::wstring>> tokens;
    std::size_t pos = 0;
    std::wstring name = L"list";

    explicit ListScanner(std::vector<std::pair<int, std::wstring>> t) : tokens(std::move(t)) {}
    int next(std::wstring* text) override {
        if (pos >= tokens.size())
            return -1;
        *text = tokens[pos].second;
        return tokens[pos++].first;
    }
    bool eof() override { return pos >= tokens.size(); }
    bool available() override { return pos < tokens.size(); }
    std::wstring& source() override { return name; }
    int line() override { return 1; }
    int equivalent(int) override { return -1; }
};

// The engine with its inner operations open to the tests.
class OpenState : public parsing::FSAState {
public:
    using FSAState::_BottomUp;
    using FSAState::_BottomUp2;
    using FSAState::_errors;
    using FSAState::_finished;
    using FSAState::_semCheck;
    using FSAState::_TopDown;
    using FSAState::addExWaiting;
    using FSAState::addIfWord;
    using FSAState::addReducted;
    using FSAState::addWord;
    using FSAState::aIsActive;
    using FSAState::aVector;
    using FSAState::bVector;
    using FSAState::clear;
    using FSAState::clearMarked;
    using FSAState::clearTokensBuffer;
    using FSAState::cndCounter;
    using FSAState::collect;
    using FSAState::conds;
    using FSAState::createFinishNode;
    using FSAState::createFSACondition;
    using FSAState::createStateNode;
    using FSAState::createToken;
    using FSAState::createTokenNode;
    using FSAState::debug;
    using FSAState::disambiguate;
    using FSAState::error_production;
    using FSAState::errors;
    using FSAState::exe_msg;
    using FSAState::executedOnStep;
    using FSAState::exWaiting;
    using FSAState::findOTN;
    using FSAState::FSAState;
    using FSAState::getInstantiatedCondition;
    using FSAState::ignore;
    using FSAState::increase;
    using FSAState::issue_errors;
    using FSAState::LoopTo;
    using FSAState::mark;
    using FSAState::moveTo;
    using FSAState::newState;
    using FSAState::newWords;
    using FSAState::onBottomUp;
    using FSAState::onNext;
    using FSAState::onSemanticCheck;
    using FSAState::onTopDown;
    using FSAState::peek;
    using FSAState::prdReducted;
    using FSAState::production;
    using FSAState::put_error;
    using FSAState::putReducted;
    using FSAState::rds;
    using FSAState::reductedOnStep;
    using FSAState::releaseOne;
    using FSAState::removeNotNULLTokenNode;
    using FSAState::root;
    using FSAState::snCounter;
    using FSAState::snDelete;
    using FSAState::snMarked;
    using FSAState::std_msg;
    using FSAState::step;
    using FSAState::stReducted;
    using FSAState::SwapValue;
    using FSAState::switchActiveVector;
    using FSAState::tkCounter;
    using FSAState::tnCounter;
    using FSAState::tnDelete;
    using FSAState::tnMarked;
    using FSAState::vState;
    using FSAState::WordReduced;
    using FSAState::Words;
};

// A grammar, its query layer, a look-ahead source and an engine over them,
// made and destroyed in that order.
struct Engine {
    Grammar grammar;
    parsing::FSAParsingTable table;
    TokenList proxy;
    OpenState state;

    Engine(const GrammarRows& s, std::vector<int> tokens)
        : grammar(s), table(grammar), proxy(std::move(tokens)), state(table, &proxy, nullptr) {}

    // Feeds the tokens from `first` on, one step each, while steps succeed;
    // the index of the token whose step failed, or the token count.
    std::size_t run(std::size_t first = 0) {
        for (std::size_t i = first; i < proxy.tokens.size(); ++i) {
            int t = proxy.tokens[i];
            std::wstring word(1, static_cast<wchar_t>(t < 0x10000 && t > 0 ? t : L'?'));
            if (!state.actions(t, word))
                return i;
        }
        return proxy.tokens.size();
    }
};

} // namespace fsa_engine_test

#endif
