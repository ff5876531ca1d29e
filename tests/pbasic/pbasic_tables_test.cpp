// The generated tables of the statement grammar, read back through the
// runtime's own lookups: sizes, the default reductions, the telling rows,
// the gotos of the start state and the state messages.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "ParseError.h"
#include "SimpleParsingTable.h"
#include "pbasic_include.h"
#include "pbasic_suite.h"

using parsing::ParseAction;

namespace {

const int EOF_ = -1, ERROR_ = -4, NONE_ = -2;

class PbasicTables : public PbasicSuite {
protected:
    // The action of a state on a token, in the notation of the tables.
    static std::string act(int state, int token) {
        ParseAction a;
        a.value.NextState = 0;
        view->action(state, token, a);
        switch (a.Do) {
        case parsing::_SHIFT:
            return "shift " + std::to_string(a.value.NextState);
        case parsing::_REDUCE:
            return "reduce " + std::to_string(a.value.ReduceId);
        case parsing::_FINISH:
            return "finish";
        case parsing::_ERROR:
            return "error";
        default:
            return "action " + std::to_string(a.Do);
        }
    }

    static std::wstring message_of_state(int state) {
        int id = view->state_error(state);
        const wchar_t* text = id < 0 ? nullptr : view->msg_error(id);
        return text ? text : L"<none>";
    }
};

TEST_F(PbasicTables, SizesOfTheTables) {
    EXPECT_EQ(grammar->srstable->size, 4754);
    EXPECT_EQ(grammar->srstable->states, 341);
    EXPECT_EQ(grammar->gotostable->size, 1339);
    EXPECT_EQ(grammar->gotostable->states, 340);
    EXPECT_EQ(grammar->srsdefaults->states, 341);
    EXPECT_EQ(grammar->reductions->size, 123);
    EXPECT_EQ(grammar->error_msgs->size, 63);
    EXPECT_EQ(grammar->state_errors->size, 294);
    EXPECT_EQ(grammar->terminals->size, 273);
    EXPECT_EQ(grammar->recovery_states->size, 2);
    EXPECT_EQ(grammar->sma->size, 1);
    EXPECT_EQ(grammar->productions_errors->size, 1);
    EXPECT_EQ(grammar->ignorables->size, 0);
    EXPECT_EQ(grammar->term_errors->size, 0);
    EXPECT_EQ(grammar->specialized_errors->size, 0);
    EXPECT_EQ(grammar->input_case, Input_ToUpper);
}

TEST_F(PbasicTables, RowsByActionAndLastStateIsClosed) {
    std::map<int, int> by_action;
    std::set<int> states_with_rows;
    for (int s = 0; s < 341; ++s) {
        const srs_state_index& ix = grammar->srstable->index[s];
        for (int k = 0; k < ix.len; ++k)
            ++by_action[grammar->srstable->table[ix.starts + k].action];
        if (ix.len > 0)
            states_with_rows.insert(s);
    }
    EXPECT_EQ(by_action[1], 3968) << "shift rows";
    EXPECT_EQ(by_action[2], 785) << "reduce rows";
    EXPECT_EQ(by_action[3], 1) << "finish rows";
    EXPECT_EQ(states_with_rows.size(), 294u);
    EXPECT_EQ(grammar->srstable->index[340].starts, 4754);
    EXPECT_EQ(grammar->srstable->index[340].len, 0);
}

// A token without a row of its own (NONE has none anywhere) shows the state's
// default: exactly the 70 states listed, each with its row.
TEST_F(PbasicTables, DefaultReductions) {
    const std::map<int, int> defaults = {
        {49, 84},   {66, 65},  {73, 96},   {78, 24},   {80, 31},   {81, 31},   {82, 39},
        {83, 39},   {124, 89}, {163, 73},  {179, 21},  {180, 21},  {240, 70},  {241, 71},
        {257, 25},  {263, 18}, {264, 18},  {265, 19},  {266, 19},  {268, 20},  {270, 38},
        {285, 48},  {310, 35}, {2, 76},    {5, 122},   {8, 2},     {9, 109},   {10, 4},
        {48, 40},   {71, 7},   {98, 36},   {108, 104}, {112, 98},  {113, 86},  {116, 108},
        {125, 105}, {126, 57}, {127, 0},   {130, 41},  {131, 85},  {132, 82},  {160, 64},
        {196, 120}, {201, 45}, {212, 114}, {214, 112}, {215, 116}, {218, 75},  {242, 72},
        {243, 46},  {250, 44}, {260, 23},  {267, 20},  {269, 94},  {271, 38},  {292, 90},
        {293, 91},  {295, 30}, {296, 93},  {297, 81},  {298, 83},  {299, 100}, {300, 58},
        {301, 99},  {302, 80}, {303, 77},  {325, 42},  {330, 49},  {333, 78},  {340, 79}};
    ASSERT_EQ(defaults.size(), 70u);
    for (int s = 0; s < 341; ++s) {
        auto d = defaults.find(s);
        std::string want = d == defaults.end() ? "error" : "reduce " + std::to_string(d->second);
        EXPECT_EQ(act(s, NONE_), want) << "state " << s << " on a token without a row";
    }
}

TEST_F(PbasicTables, TellingRows) {
    struct Row {
        int state;
        int token;
        const char* action;
    };
    const int colon = 65550, CR = 65568, OK = 65590, linenum = 65598, line_comment = 65548;
    const int rel = 65563, add = 65564, mult = 65565, power = 65566;
    const Row rows[] = {
        {0, ERROR_, "shift 1"},    {0, line_comment, "shift 2"}, {0, CR, "shift 3"},
        {0, OK, "shift 4"},        {0, linenum, "shift 5"},      {0, EOF_, "error"},
        {3, ERROR_, "shift 1"},    {3, EOF_, "finish"},          {3, CR, "shift 9"},
        {3, linenum, "shift 5"},   {1, CR, "shift 8"},           {12, EOF_, "reduce 9"},
        {12, colon, "shift 71"},   {12, CR, "reduce 8"},         {49, 36, "shift 131"},
        {49, 37, "shift 131"},     {49, 65553, "shift 132"},     {49, 65603, "shift 132"},
        {138, EOF_, "reduce 113"}, {138, colon, "shift 214"},    {138, CR, "reduce 113"},
        {251, 171, "reduce 15"},   {251, 206, "reduce 15"},      {251, 205, "reduce 15"},
        {251, 65562, "reduce 15"}, {251, rel, "shift 175"},      {251, add, "shift 176"},
        {251, mult, "shift 177"},  {251, power, "shift 178"},    {253, 205, "shift 171"},
        {253, 206, "reduce 14"},   {261, rel, "error"},          {261, CR, "reduce 17"},
        {261, add, "shift 176"},   {263, mult, "shift 177"},     {263, power, "shift 178"},
        {263, add, "reduce 18"},   {69, add, "error"},           {245, add, "error"},
        {247, add, "error"},       {340, CR, "reduce 79"},       {124, 201, "shift 205"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(act(r.state, r.token), r.action)
            << "state " << r.state << " on token " << r.token;
}

TEST_F(PbasicTables, GotosOfTheStartState) {
    EXPECT_EQ(view->GOTO(0, 65654), 3) << "line";
    EXPECT_EQ(view->GOTO(0, 65717), 6) << "unlabeled-line-comment";
    EXPECT_EQ(view->GOTO(0, 65766), 3) << "lines";
    EXPECT_EQ(view->GOTO(0, 65819), 7) << "label-definition";
    EXPECT_THROW(view->GOTO(0, 65655), parsing::ParseError) << "no goto on stmt in state 0";
}

TEST_F(PbasicTables, StateMessages) {
    EXPECT_EQ(message_of_state(0), L"Expected :\":\", \"REM\", or \"linenum\".");
    EXPECT_EQ(view->state_error(0), 1);
    EXPECT_EQ(view->state_error(1), 2);
    EXPECT_EQ(view->state_error(3), 1);
    EXPECT_EQ(view->state_error(7), 3);
    EXPECT_EQ(view->state_error(11), 4);
    EXPECT_EQ(view->state_error(2), -1) << "a state with nothing but its default";
    EXPECT_EQ(view->state_error(340), -1);
    EXPECT_EQ(message_of_state(50), L"Expected :\":\".");
    EXPECT_EQ(message_of_state(35), L"Expected :\"linenum\".");
    EXPECT_EQ(message_of_state(47), L"Expected :\"(\", or \"=\".");
    ASSERT_NE(view->msg_error(0), nullptr);
    EXPECT_EQ(std::wstring(view->msg_error(0)), L"");
    EXPECT_EQ(view->msg_error(63), nullptr);
    // Every id from 1 to 62 serves some state.
    std::set<int> used;
    for (int s = 0; s < 341; ++s)
        if (view->state_error(s) >= 0)
            used.insert(view->state_error(s));
    EXPECT_EQ(used.size(), 62u);
    EXPECT_EQ(*used.begin(), 1);
    EXPECT_EQ(*used.rbegin(), 62);
}

TEST_F(PbasicTables, SmallTables) {
    EXPECT_TRUE(view->recovery(0));
    EXPECT_TRUE(view->recovery(3));
    EXPECT_FALSE(view->recovery(1));
    EXPECT_TRUE(view->sma(65569)) << "real-literal-constant";
    EXPECT_FALSE(view->sma(65554));
    EXPECT_EQ(view->production_error(65717), 0) << "unlabeled-line-comment";
    EXPECT_EQ(view->production_error(65654), -1);
    EXPECT_FALSE(view->ignore(65568));
    EXPECT_EQ(view->ErrorMark(), ERROR_);
    EXPECT_EQ(view->EndMark(), EOF_);
}

TEST_F(PbasicTables, SymbolNames) {
    struct Name {
        int id;
        const wchar_t* name;
    };
    const Name names[] = {{-12, L"ANY"},   {-4, L"ERROR"},    {-2, L"NONE"},
                          {-1, L"EOF"},    {63, L"?"},        {138, L"PR#"},
                          {186, L"PRINT"}, {201, L"-"},       {234, L"MID$"},
                          {65550, L":"},   {65568, L"CR"},    {65598, L"linenum"},
                          {65697, L"grm"}, {65708, L"PRINT"}, {65819, L"label-definition"},
                          {65826, L" "},   {65870, L" "}};
    for (const Name& n : names) {
        const wchar_t* got = view->token(n.id);
        ASSERT_NE(got, nullptr) << "symbol " << n.id;
        EXPECT_EQ(std::wstring(got), n.name) << "symbol " << n.id;
    }
    for (int absent : {131, 175, 178, 235, 65649})
        EXPECT_EQ(view->token(absent), nullptr) << "symbol " << absent;
}

TEST_F(PbasicTables, ProductionRows) {
    struct Prod {
        int id;
        short params;
        int left;
        short category;
        bool action;
    };
    const Prod prods[] = {{0, 3, 65654, 0, false},  {4, 2, 65654, 0, true},
                          {56, 1, 65697, 0, false}, {76, 1, 65717, 11, true},
                          {79, 8, 65720, 0, false}, {112, 2, 65768, 0, false},
                          {47, 0, 65691, 0, false}, {122, 1, 65819, 0, true}};
    for (const Prod& p : prods) {
        reduction r;
        view->reduction(p.id, r);
        EXPECT_EQ(r.NumberOfParameters, p.params) << "row " << p.id;
        EXPECT_EQ(r.state, p.left) << "row " << p.id;
        EXPECT_EQ(r.category, p.category) << "row " << p.id;
        EXPECT_EQ(r.semanticAction != nullptr, p.action) << "row " << p.id;
    }
    EXPECT_EQ(grammar->reductions->table[55].ProductionLine, 4);
    EXPECT_EQ(grammar->reductions->table[118].ProductionLine, 6);
}

} // namespace
