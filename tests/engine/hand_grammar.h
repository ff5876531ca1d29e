#ifndef ENGINE_TESTS_HAND_GRAMMAR_H
#define ENGINE_TESTS_HAND_GRAMMAR_H

// Grammars written out row by row inside a test: the same table classes the
// generator emits, filled from plain lists instead of generated fill() bodies.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "ParseData.h"
#include "_I_Scanner.h"

namespace hand {

struct Row {
    int state, terminal, action, next;
};
struct Goto {
    int state, symbol, next;
};
struct Default {
    int state, action, next;
};
struct Eq {
    int terminal, equivalent;
};
struct Prod {
    untyped_action fn;
    short length;
    int lhs; // in a lexical grammar: the id the production delivers
    short category;
};
struct Name {
    int id;
    std::wstring name;
};
struct Msg {
    int id;
    std::wstring text;
};
struct Pair {
    int key, value;
};
struct Triple {
    int key, keyb, value;
};

struct Rows {
    int states = 0;
    std::vector<Name> names;
    std::vector<Msg> messages;
    std::vector<Row> srs;
    std::vector<Goto> gotos;
    std::vector<Default> defaults; // empty: the grammar has no defaults table
    std::vector<Row> conflicts;
    std::vector<Eq> eqs;
    std::vector<Prod> productions;
    std::vector<Pair> state_errors, term_errors, production_errors;
    std::vector<Triple> specific_errors;
    std::vector<int> recovery, ignorables, sma;
    int input_case = 0;
};

struct HandTerminals : Terminals {
    explicit HandTerminals(std::vector<Name> rows) : Terminals(static_cast<int>(rows.size())) {
        std::sort(rows.begin(), rows.end(),
                  [](const Name& a, const Name& b) { return a.id < b.id; });
        for (const Name& r : rows)
            append(r.id, 0, 0, false, r.name.c_str());
        FixwhenFilled();
    }
    void fill() override {}
};

struct HandRanges : Ranges {
    HandRanges() : Ranges(0) {}
    void fill() override {}
};

struct HandMessages : ErrorsTable {
    explicit HandMessages(std::vector<Msg> rows) : ErrorsTable(static_cast<int>(rows.size())) {
        std::sort(rows.begin(), rows.end(), [](const Msg& a, const Msg& b) { return a.id < b.id; });
        for (const Msg& r : rows)
            append(r.id, r.text.c_str());
        FixwhenFilled();
    }
    void fill() override {}
};

struct HandPairs : KeyValueFixedTable {
    explicit HandPairs(std::vector<Pair> rows) : KeyValueFixedTable(static_cast<int>(rows.size())) {
        std::sort(rows.begin(), rows.end(),
                  [](const Pair& a, const Pair& b) { return a.key < b.key; });
        for (const Pair& r : rows)
            append(r.key, r.value);
    }
    static std::vector<Pair> keys(const std::vector<int>& ks) {
        std::vector<Pair> out;
        for (int k : ks)
            out.push_back({k, 0});
        return out;
    }
    void fill() override {}
};

struct HandTriples : KeyKeyValueFixedTable {
    explicit HandTriples(std::vector<Triple> rows)
        : KeyKeyValueFixedTable(static_cast<int>(rows.size())) {
        std::sort(rows.begin(), rows.end(), [](const Triple& a, const Triple& b) {
            return a.key != b.key ? a.key < b.key : a.keyb < b.keyb;
        });
        for (const Triple& r : rows)
            append(r.key, r.keyb, r.value);
    }
    void fill() override {}
};

struct HandSrs : srs_table {
    HandSrs(std::vector<Row> rows, int states) : srs_table(static_cast<int>(rows.size()), states) {
        std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
            return a.state != b.state ? a.state < b.state : a.terminal < b.terminal;
        });
        for (const Row& r : rows)
            append(r.state, r.terminal, r.action, r.next);
        close_trailing_states();
    }
};

struct HandGotos : gotos_table {
    HandGotos(std::vector<Goto> rows, int states)
        : gotos_table(static_cast<int>(rows.size()), states) {
        std::sort(rows.begin(), rows.end(), [](const Goto& a, const Goto& b) {
            return a.state != b.state ? a.state < b.state : a.symbol < b.symbol;
        });
        for (const Goto& r : rows)
            append(r.state, r.symbol, r.next);
    }
    void fill() override {}
};

struct HandDefaults : srs_defaults {
    HandDefaults(const std::vector<Default>& rows, int states) : srs_defaults(states, states) {
        for (int s = 0; s < states; ++s)
            append(s, 0, -1);
        for (const Default& r : rows)
            append(r.state, r.action, r.next);
    }
};

// Rows keep their given order within a (state, terminal) pair: that order is
// the order of the alternatives.
struct HandConflicts : conflicts_table {
    HandConflicts(std::vector<Row> rows)
        : conflicts_table(static_cast<int>(rows.size()), distinct_states(rows)) {
        std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
            return a.state != b.state ? a.state < b.state : a.terminal > b.terminal;
        });
        for (const Row& r : rows)
            append(r.state, r.terminal, r.action, r.next);
    }
    static int distinct_states(const std::vector<Row>& rows) {
        std::vector<int> s;
        for (const Row& r : rows)
            if (std::find(s.begin(), s.end(), r.state) == s.end())
                s.push_back(r.state);
        return static_cast<int>(s.size());
    }
};

struct HandEqs : eqs_table {
    explicit HandEqs(std::vector<Eq> rows)
        : eqs_table(static_cast<int>(rows.size()), static_cast<int>(rows.size()), 256) {
        std::stable_sort(rows.begin(), rows.end(), [](const Eq& a, const Eq& b) {
            int ha = std::abs(a.terminal) % 256, hb = std::abs(b.terminal) % 256;
            return ha != hb ? ha < hb : a.terminal < b.terminal;
        });
        for (const Eq& r : rows)
            append(std::abs(r.terminal) % 256, r.terminal, r.equivalent);
    }
};

struct HandReductions : ReductionsTable {
    explicit HandReductions(const std::vector<Prod>& rows)
        : ReductionsTable(static_cast<int>(rows.size())) {
        short line = 0;
        for (const Prod& r : rows)
            append(r.fn, r.length, line++, r.lhs, r.category, 0);
    }
    void fill() override {}
};

class Grammar : public ParseData {
public:
    explicit Grammar(const Rows& r) {
        terminals = new HandTerminals(r.names);
        ranges = new HandRanges();
        error_msgs = new HandMessages(r.messages);
        eqstable = new HandEqs(r.eqs);
        gotostable = new HandGotos(r.gotos, r.states);
        srstable = new HandSrs(r.srs, r.states);
        srsdefaults = r.defaults.empty() ? nullptr : new HandDefaults(r.defaults, r.states);
        conflictstable = new HandConflicts(r.conflicts);
        state_errors = new HandPairs(r.state_errors);
        term_errors = new HandPairs(r.term_errors);
        productions_errors = new HandPairs(r.production_errors);
        specialized_errors = new HandTriples(r.specific_errors);
        reductions = new HandReductions(r.productions);
        recovery_states = new HandPairs(HandPairs::keys(r.recovery));
        ignorables = new HandPairs(HandPairs::keys(r.ignorables));
        sma = new HandPairs(HandPairs::keys(r.sma));
        input_case = r.input_case;
    }
};

// An upstream of scripted symbols: each an id with its text. Characters of a
// string become one symbol each. The line is 1 plus the line feeds delivered.
class ScriptScanner : public capi::interfaces::_I_Scanner {
public:
    std::vector<std::pair<int, std::wstring>> symbols;
    std::size_t at = 0;
    int lines = 1;
    std::wstring name = L"t.bas";

    ScriptScanner() {}
    explicit ScriptScanner(const std::wstring& chars) { add(chars); }
    ScriptScanner& add(const std::wstring& chars) {
        for (wchar_t c : chars)
            symbols.push_back({static_cast<int>(c), std::wstring(1, c)});
        return *this;
    }
    ScriptScanner& add(int id, const std::wstring& text) {
        symbols.push_back({id, text});
        return *this;
    }
    int next(std::wstring* text) override {
        const auto& s = symbols[at++];
        *text = s.second;
        if (s.first == L'\n')
            ++lines;
        return s.first;
    }
    bool eof() override { return at >= symbols.size(); }
    bool available() override { return !eof(); }
    std::wstring& source() override { return name; }
    int line() override { return lines; }
    int equivalent(int) override { return -1; }
};

} // namespace hand

#endif
