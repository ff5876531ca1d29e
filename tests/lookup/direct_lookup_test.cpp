// The direct cells of SimpleParsingTable answer every lookup exactly as the
// searches of the grammar's tables do: action, GOTO, ignore and the lexical
// step's lookup with its any-mark and end-mark retries, for every state of
// every grammar and every id a stage or the parser can read, and for tables
// with the features the grammars of the system do not use.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ParseError.h"
#include "SimpleParsingTable.h"

#include "data_parser_include.h"
#include "data_scanner_include.h"
#include "lbasic_free_include.h"
#include "lbasic_include.h"
#include "lkeys_include.h"
#include "lkeys_uk101_include.h"
#include "pbasic_include.h"
#include "preprocessor_include.h"

using parsing::_ERROR;
using parsing::_IGNORE;
using parsing::ParseAction;
using parsing::ParseError;
using parsing::SimpleParsingTable;

namespace {

// What a lookup answers: the action, or the text of the ParseError it threw.
struct answer {
    ParseAction a{};
    std::wstring thrown;
};

bool same(const answer& x, const answer& y) {
    return x.thrown == y.thrown && x.a.Do == y.a.Do && x.a.value.NextState == y.a.value.NextState &&
           x.a.onToken == y.a.onToken && x.a.onState == y.a.onState;
}

std::string show(const answer& x) {
    if (!x.thrown.empty())
        return "throws \"" + std::string(x.thrown.begin(), x.thrown.end()) + "\"";
    return "{Do " + std::to_string(x.a.Do) + ", value " + std::to_string(x.a.value.NextState) +
           ", onToken " + std::to_string(x.a.onToken) + ", onState " + std::to_string(x.a.onState) +
           "}";
}

// Seeds out with a value no table holds, so that a lookup that leaves a
// field alone shows it.
answer ask(const std::function<void(ParseAction&)>& lookup) {
    answer r;
    r.a = ParseAction{static_cast<parsing::ActionType>(99), {-777}, -555, -333};
    try {
        lookup(r.a);
    } catch (const ParseError& e) {
        r.thrown = e.describe();
    }
    return r;
}

// The lookups written from the tables' own searches, as the table view made
// them before it had cells.
bool reference_ignore(const ParseData& g, int token) {
    return g.ignorables && g.ignorables->posOfKey(token) >= 0;
}

void reference_action(const ParseData& g, int state, int token, ParseAction& out) {
    int start, end;
    int n = g.eqstable->eqs_array(token, start, end);
    if (n > 1)
        throw ParseError(-1, L"More than one Equivalence entries for token -1", parsing::Syntax,
                         false, true);
    int sym = n > 0 ? g.eqstable->table[end] : token;
    int range = g.ranges->posOfRange(sym);
    if (range >= 0)
        sym = g.ranges->table[range].id;
    out.onToken = token;
    out.onState = state;
    auto from_row = [&out](int code, int next) {
        if (code == parsing::_SHIFT || code == parsing::_REDUCE) {
            out.Do = static_cast<parsing::ActionType>(code);
            out.value.NextState = next;
            return true;
        }
        if (code == parsing::_FINISH || code == parsing::_BACKTRACK) {
            out.Do = static_cast<parsing::ActionType>(code);
            out.value.NextState = -1;
            return true;
        }
        return false;
    };
    int pos = g.srstable->posOfKey(state, sym);
    if (pos >= 0) {
        if (from_row(g.srstable->table[pos].action, g.srstable->table[pos].next_state))
            return;
    } else if (g.srsdefaults) {
        int d = g.srsdefaults->posOfKey(state);
        if (d >= 0 && from_row(g.srsdefaults->table[d].action, g.srsdefaults->table[d].next_state))
            return;
    }
    out.Do = reference_ignore(g, token) ? _IGNORE : _ERROR;
}

int reference_goto(const ParseData& g, int state, int symbol) {
    int pos = g.gotostable->posOfKey(state, symbol);
    if (pos < 0)
        throw ParseError(-1, L"GOTO return -1", parsing::Syntax, false, true);
    return g.gotostable->table[pos].next_state;
}

// The ids to try: marks, characters and keyword codes, the grammar's own
// symbols and their neighbours, and ids far outside every range.
std::vector<int> ids_of(const ParseData& g) {
    std::vector<int> ids = {-2147483647 - 1, -70000, -65536, -100,      256, 300, 1000,
                            65534,           65535,  70000,  2147483647};
    for (int id = -70; id < 260; ++id)
        ids.push_back(id);
    int highest = 65536;
    for (int i = 0; i < g.terminals->size; ++i)
        highest = std::max(highest, g.terminals->table[i].id);
    if (g.gotostable)
        for (int i = 0; i < g.gotostable->size; ++i)
            highest = std::max(highest, g.gotostable->table[i].production);
    for (int id = 65536; id <= highest + 3; ++id)
        ids.push_back(id);
    return ids;
}

int states_of(const ParseData& g) {
    int n = g.srstable->states;
    if (g.gotostable)
        n = std::max(n, g.gotostable->states);
    return n;
}

// Compares every lookup of the view with the reference; stops at the first
// few differences so that a broken cell does not flood the log.
void check_grammar(const char* name, ParseData& g) {
    SimpleParsingTable table(g);
    const SimpleParsingTable::marks_view& marks = table.view_marks();
    const std::vector<int> ids = ids_of(g);
    const int any = g.terminals->anymark;
    const int end = g.terminals->endmark;
    int failures = 0;
    auto report = [&](const std::string& what, int state, int id, const answer& got,
                      const answer& want) {
        ADD_FAILURE() << name << ": " << what << " in state " << state << " for id " << id
                      << " answers " << show(got) << ", the tables say " << show(want);
        return ++failures < 5;
    };
    for (int state = -2; state <= states_of(g) + 1; ++state) {
        // A walk back's lookups of the end and backtrack marks.
        for (bool back : {false, true}) {
            const int mark = back ? g.terminals->backtrackmark : end;
            ParseAction m{};
            if (!marks.mark_lookup(state, back, m))
                continue;
            answer got_mark;
            got_mark.a = m;
            answer want_mark = ask([&](ParseAction& a) { reference_action(g, state, mark, a); });
            if (want_mark.a.Do == _ERROR || want_mark.a.Do == _IGNORE)
                got_mark.a.value = want_mark.a.value; // carries no value
            if (!same(got_mark, want_mark) && !report("mark", state, mark, got_mark, want_mark))
                return;
        }
        for (int id : ids) {
            answer got = ask([&](ParseAction& a) { table.action(state, id, a); });
            answer want = ask([&](ParseAction& a) { reference_action(g, state, id, a); });
            if (!same(got, want) && !report("action", state, id, got, want))
                return;
            if (table.ignore(id) != reference_ignore(g, id) &&
                !report("ignore", state, id, answer{}, answer{}))
                return;
            if (g.gotostable && g.gotostable->table) {
                answer got_goto =
                    ask([&](ParseAction& a) { a.value.NextState = table.GOTO(state, id); });
                answer want_goto =
                    ask([&](ParseAction& a) { a.value.NextState = reference_goto(g, state, id); });
                if (!same(got_goto, want_goto) && !report("GOTO", state, id, got_goto, want_goto))
                    return;
            }
            // The step's lookup: where the view answers, it answers as the
            // three lookups of a lexical stage, an error stamped with what
            // was asked; it keeps out of the end mark and ignorable ids.
            ParseAction step{};
            if (!marks.lookup(state, id, step)) {
                ParseAction untouched{};
                if (step.Do != untouched.Do || step.onToken != untouched.onToken)
                    return void(ADD_FAILURE() << name << ": a declined lookup changed out");
                continue;
            }
            if (id == end || reference_ignore(g, id))
                return void(ADD_FAILURE() << name << ": the view answered for id " << id);
            answer want_step = ask([&](ParseAction& a) {
                reference_action(g, state, id, a);
                if (a.Do == _ERROR) {
                    reference_action(g, state, any, a);
                    if (a.Do == _ERROR)
                        reference_action(g, state, end, a);
                }
                if (a.Do == _ERROR) {
                    a.onState = state;
                    a.onToken = id;
                }
            });
            answer got_step;
            got_step.a = step;
            if (want_step.a.Do == _ERROR || want_step.a.Do == _IGNORE)
                got_step.a.value = want_step.a.value; // carries no value
            if (!same(got_step, want_step) && !report("step", state, id, got_step, want_step))
                return;
        }
    }
}

TEST(DirectLookup, EveryGrammarAnswersAsItsTables) {
    check_grammar("preprocessor", *std::make_unique<preprocessor>());
    check_grammar("lkeys", *std::make_unique<lkeys>());
    check_grammar("lkeys_uk101", *std::make_unique<lkeys_uk101>());
    check_grammar("lbasic", *std::make_unique<lbasic>());
    check_grammar("lbasic_free", *std::make_unique<lbasic_free>());
    check_grammar("pbasic", *std::make_unique<pbasic>());
    check_grammar("data_scanner", *std::make_unique<data_scanner>());
    check_grammar("data_parser", *std::make_unique<data_parser>());
}

// A table of any runtime class whose rows the test gives.
template <class Base> struct Rows : Base {
    template <class... Caps>
    Rows(const std::function<void(Base&)>& rows, Caps... caps) : Base(caps...) {
        rows(*this);
    }
    void fill() override {}
};

// The features the system's grammars leave out: a token with two
// equivalents, a range, a row whose code is no action, a default that is no
// action, ignorable ids among characters and symbols, an ignorable any mark,
// gotos of a symbol far above the terminals, states past the tables, and a
// state whose action and goto rows are out of key order, one key twice.
struct Odd : ParseData {
    Odd() {
        terminals = new Rows<Terminals>(
            [](Terminals& t) {
                t.append(-34, 0, 0, true, L"BACKTRACK");
                t.append(-12, 0, 0, true, L"ANY");
                t.append(-4, 0, 0, true, L"ERROR");
                t.append(-1, 0, 0, true, L"EOF");
                t.append(65, 0, 0, true, L"A");
                t.append(65540, 0, 0, false, L"spaces");
                t.append(65700, 0, 0, false, L"class");
            },
            7);
        terminals->endmark = -1;
        terminals->anymark = -12;
        terminals->backtrackmark = -34;
        terminals->errormark = -4;
        ranges = new Rows<Ranges>([](Ranges& r) { r.append(65701, 48, 57); }, 1);
        eqstable = new Rows<eqs_table>(
            [](eqs_table& t) {
                t.append(65, 65, 65700);
                t.append(66, 66, 65700);
                t.append(67, 67, 65700);
                t.append(67, 67, 65701);
            },
            4, 3, 256);
        srstable = new Rows<srs_table>(
            [](srs_table& t) {
                t.append(0, -12, 6, 0);
                t.append(0, 65700, 1, 1);
                t.append(0, 65701, 1, 2);
                t.append(1, -1, 2, 5);
                t.append(1, 65700, 4, 9);
                t.append(2, -34, 20, 0);
                t.append(2, 65701, 3, 0);
                t.append(3, -1, 4, 0);
                t.append(4, 65701, 1, 3);
                t.append(4, 65700, 1, 2);
                t.append(4, 65700, 2, 4);
            },
            11, 5);
        srsdefaults = new Rows<srs_defaults>(
            [](srs_defaults& t) {
                t.append(0, 0, 0);
                t.append(1, 0, 0);
                t.append(2, 0, 0);
                t.append(3, 2, 7);
                t.append(4, 4, 1);
            },
            5, 5);
        gotostable = new Rows<gotos_table>(
            [](gotos_table& t) {
                t.append(0, 65800, 2);
                t.append(0, 70000, 3);
                t.append(3, 65800, 1);
                t.append(4, 70000, 1);
                t.append(4, 65800, 4);
            },
            5, 5);
        ignorables = new Rows<KeyValueFixedTable>(
            [](KeyValueFixedTable& t) {
                t.append(-12, 0);
                t.append(32, 0);
                t.append(65540, 0);
            },
            3);
    }
};

TEST(DirectLookup, TablesWithFeaturesTheGrammarsLeaveOut) {
    Odd odd;
    check_grammar("odd", odd);
    SimpleParsingTable table(odd);
    // The ambiguous id still throws through the cells.
    ParseAction a{};
    EXPECT_THROW(table.action(0, 67, a), ParseError) << "id 67 has two equivalents";
    // A symbol far above the terminals has its gotos searched.
    EXPECT_EQ(table.GOTO(0, 70000), 3) << "goto of 70000 in state 0";
    EXPECT_THROW(table.GOTO(1, 70000), ParseError) << "no goto of 70000 in state 1";
}

} // namespace
