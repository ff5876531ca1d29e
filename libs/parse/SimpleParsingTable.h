#ifndef PARSING_SIMPLEPARSINGTABLE_H
#define PARSING_SIMPLEPARSINGTABLE_H

#include <cstdint>
#include <vector>

#include "ParseData.h"
#include "ParsingTable.h"

namespace parsing {

// The table view over one grammar object. It does not own the grammar, which
// must outlive it, and reads it as filled when the view is made. Besides the
// last getConflicts query it keeps cells worked out from the tables once,
// which answer the lookups of every step (action, GOTO, ignore and a lexical
// stage's step) by indexing, as the tables' searches would.
class SimpleParsingTable final : public ParsingTable {
public:
    ParseData& data;

    explicit SimpleParsingTable(ParseData& data);
    ~SimpleParsingTable() override;

    int GOTO(int state, int symbol) override { return GOTO(state, symbol, goto_cell(symbol)); }
    // Inline for the ids of the direct index, which is every id that the
    // stages and the parser read: a lookup per character must cost little.
    ParseAction& action(int state, int token, ParseAction& out) override {
        const direct_id* d = find_direct(token);
        if (!d || d->ambiguous || static_cast<unsigned>(state) >= cell_states)
            return searched_action(state, token, out);
        const std::int32_t r = cells[static_cast<std::size_t>(state) * stride + d->cell];
        out.onToken = token;
        out.onState = state;
        if ((r & 63) != 0) {
            out.Do = static_cast<ActionType>(r & 63);
            out.value.NextState = r >> 8;
        } else {
            out.Do = d->ignorable ? _IGNORE : _ERROR;
        }
        return out;
    }
    // action() in two halves, for a parser that keeps a token's half while
    // the state changes under it: the token's cell, or -1 where action()
    // searches (an id without a direct entry, or with more than one
    // equivalent) or may answer _IGNORE (an ignorable id); then the packed
    // cell of a state, as action() reads it (kind 0: the token's error), or
    // false for a state without cells.
    int action_cell(int token) const {
        const unsigned i = direct_index(token);
        return i < direct_count ? direct[i].action_cell : -1;
    }
    bool packed_action(int state, int cell, std::int32_t& r) const {
        if (static_cast<unsigned>(state) >= cell_states)
            return false;
        r = cells[static_cast<std::size_t>(state) * stride + static_cast<unsigned>(cell)];
        return true;
    }
    // GOTO() in two halves in the same way: the symbol's goto cell (-1 for
    // an id without a direct entry), then GOTO(state, symbol) from it.
    int goto_cell(int symbol) const {
        const direct_id* d = find_direct(symbol);
        return d ? d->goto_cell : -1;
    }
    int GOTO(int state, int symbol, int cell) {
        if (cell >= 0 && static_cast<unsigned>(state) < goto_states) {
            const int next = goto_cells[static_cast<std::size_t>(state) * goto_stride +
                                        static_cast<unsigned>(cell)];
            if (next != no_goto)
                return next;
        }
        return searched_goto(state, symbol);
    }
    // The lookup of a lexical stage's step, as a view of cells that the
    // table keeps (valid as long as the table), so that a stage takes the
    // view once and then looks a symbol up without passing through the
    // table object. lookup(state, token, out) answers as action(state,
    // token) and, when that gives _ERROR, action(state, AnyMark()) and then,
    // when that too gives _ERROR, action(state, EndMark()); an _ERROR that
    // remains carries the state and token asked for. out.value is set by
    // every answer (0 for _ERROR and _IGNORE, which carry none). It answers
    // false, with out untouched, where the cells do not hold the answer: for
    // the end mark, an ignorable token, an id without a direct entry or a
    // state without cells.
    struct marks_view {
        const std::int32_t* cells = nullptr; // see marked below
        std::size_t stride = 0;
        unsigned states = 0;
        const int* cell_of = nullptr; // by direct index: the id's cell, or -1
        unsigned ids = 0;
        int any_id = 0;
        int end_id = 0;
        // By state, action(state, EndMark()) and action(state,
        // BacktrackMark()), packed as the cells are.
        const std::int32_t* end_cells = nullptr;
        const std::int32_t* back_cells = nullptr;
        int back_id = 0;

        // By state, the answers for the ids 0 to 127 (ascii_ids of them), as
        // the cells give them, so that a character takes one load; 0 where
        // the cells do not answer. Only for the states below ascii_states:
        // a grammar with very many states keeps its characters in its cells,
        // whose rows are shorter.
        const std::int32_t* ascii = nullptr;
        unsigned ascii_states = 0;
        static const unsigned ascii_ids = 128;

        bool lookup(int state, int token, ParseAction& out) const {
            std::int32_t m;
            if (!packed(state, token, m))
                return false;
            unpack(m, state, token, out);
            return true;
        }
        // lookup() in two halves, so that a stage can act on the packed
        // answer (bits 0..5 the kind, bits 8..31 the value) before it
        // spells it out.
        bool packed(int state, int token, std::int32_t& m) const {
            // ascii_states is 0 or states: the first test bounds the state.
            if (static_cast<unsigned>(token) < ascii_ids &&
                static_cast<unsigned>(state) < ascii_states) {
                m = ascii[static_cast<std::size_t>(state) * ascii_ids +
                          static_cast<unsigned>(token)];
                return m != 0;
            }
            if (static_cast<unsigned>(state) >= states)
                return false;
            const unsigned i = direct_index(token);
            if (i >= ids)
                return false;
            const int cell = cell_of[i];
            if (cell < 0)
                return false;
            m = cells[static_cast<std::size_t>(state) * stride + cell];
            return true;
        }
        // The fields are written in one assignment: a reader that loads two
        // of them at once then finds them in one store.
        void unpack(std::int32_t m, int state, int token, ParseAction& out) const {
            const int key = (m >> 6) & 3;
            Action value;
            value.NextState = m >> 8;
            out = ParseAction{static_cast<ActionType>(m & 63), value,
                              key == 0 ? token : (key == 1 ? any_id : end_id), state};
        }
        // Whether a packed answer is the end mark's, as mark_lookup gives it
        // for the same state.
        static bool answers_end_mark(std::int32_t m) { return ((m >> 6) & 3) == 2; }
        // action(state, BacktrackMark() or EndMark()), with out.value set by
        // every answer; false, with out untouched, for a state without cells.
        bool mark_lookup(int state, bool backtrack, ParseAction& out) const {
            if (static_cast<unsigned>(state) >= states)
                return false;
            const std::int32_t m = (backtrack ? back_cells : end_cells)[state];
            Action value;
            value.NextState = m >> 8;
            out = ParseAction{static_cast<ActionType>(m & 63), value, backtrack ? back_id : end_id,
                              state};
            return true;
        }
    };
    // The view, its cells made at the first call; empty (every lookup
    // answers false) for a grammar without cells.
    const marks_view& view_marks() {
        if (!marked_tried)
            build_marked();
        return marks;
    }
    int getConflicts(int state, int token) override;
    ParseAction& getConflict(int state, int token, int order, ParseAction& out) override;
    int BacktrackMark() override { return data.terminals->backtrackmark; }
    int EndMark() override { return data.terminals->endmark; }
    int AnyMark() override { return data.terminals->anymark; }
    int ErrorMark() override { return data.terminals->errormark; }
    wchar_t* token(int id) override;
    int state_error(int state) override;
    int term_error(int token) override;
    int production_error(int symbol) override;
    int specific_error(int state, int token) override;
    wchar_t* msg_error(int id) override;
    ::reduction& reduction(int id, ::reduction& out) override {
        const ReductionsTable& r = *data.reductions;
        if (id < 0 || id >= r.size) {
            out.semanticAction = nullptr;
            out.NumberOfParameters = -1;
            out.state = -1;
            out.category = -1;
            return out;
        }
        out.semanticAction = r.table[id].semanticAction;
        out.NumberOfParameters = r.table[id].NumberOfParameters;
        out.state = r.table[id].state;
        out.category = r.table[id].category;
        return out;
    }
    bool recovery(int state) override;
    // By reduction id, make(row) of each production's row: what a parser or
    // a stage keeps at hand of every production, read once.
    template <class Record, class Make> std::vector<Record> per_reduction(Make make) {
        std::vector<Record> out;
        const int n = data.reductions ? data.reductions->size : 0;
        out.reserve(n > 0 ? static_cast<std::size_t>(n) : 0);
        ::reduction rd;
        for (int id = 0; id < n; ++id)
            out.push_back(make(reduction(id, rd)));
        return out;
    }
    bool ignore(int token) override {
        const direct_id* d = find_direct(token);
        return d ? d->ignorable : searched_ignore(token);
    }
    bool sma(int token) override;
    bool UpperCase() override { return data.input_case == Input_ToUpper; }
    bool LowerCase() override { return data.input_case == Input_ToLower; }

private:
    // What action() needs of one id besides the state, worked out once for
    // every id from direct_low to 255 and from 65536 to the grammar's last
    // symbol: characters, keyword codes, marks and the grammar's symbols.
    struct direct_id {
        int cell;        // the cell of the id's symbol in a state's run of cells
        int goto_cell;   // the same in a state's run of goto cells
        int action_cell; // what action_cell() answers: cell, or -1
        bool ambiguous;  // more than one equivalent: action() throws
        bool ignorable;
    };
    static const int direct_low = -64;
    // The entries of ids direct_low .. 255, then those of 65536 and up.
    std::vector<direct_id> direct;
    unsigned direct_count; // direct.size(), at hand for every lookup
    static const unsigned low_ids = 256 - direct_low;
    // stride cells per state, for the states below cell_states (0 when the
    // grammar is too large for them): cell 0 holds the state's default,
    // cell k the action for the k-th symbol, ascending, that some state has
    // a row for. An id whose symbol no state has a row for reads cell 0.
    // A cell holds the action that the state's row for the symbol, or
    // failing that the state's default, gives, packed in four bytes so that
    // the parser's cells stay near in the cache: bits 0..5 Do, bits 8..31
    // the value, as action() sets them; Do 0 when neither gives one (the
    // token's error or ignore then).
    std::vector<std::int32_t> cells;
    std::size_t stride;
    unsigned cell_states;
    // The answers of marks_view::lookup, laid out as cells, four bytes each
    // so that a stage's cells stay in the nearest cache: bits 0..5 Do, bits
    // 6 and 7 the key the answer carries (0 the token, 1 the any mark, 2 the
    // end mark), bits 8..31 the value. Empty until view_marks is first
    // called, and for good when a value does not fit.
    // The next state of the row of (state, symbol) in gotostable, by state
    // and goto cell as above (cell 0 and symbols without rows: no_goto,
    // which the search then answers), for the states below goto_states.
    std::vector<int> goto_cells;
    static constexpr int no_goto = -2147483647 - 1;
    std::size_t goto_stride;
    unsigned goto_states;
    std::vector<std::int32_t> marked;
    std::vector<int> marked_cell_of;        // the view's cell_of
    std::vector<std::int32_t> marked_end;   // the view's end_cells
    std::vector<std::int32_t> marked_back;  // the view's back_cells
    std::vector<std::int32_t> marked_ascii; // the view's ascii
    bool marked_tried;
    marks_view marks;
    int any_id;
    int end_id;

    bool build_marked();

    void build_direct();
    // Characters and symbols alternate in a stage's input: the index is
    // chosen by a select rather than a branch. ~0u for an id outside both
    // ranges.
    static unsigned direct_index(int token) {
        const unsigned low = static_cast<unsigned>(token) - static_cast<unsigned>(direct_low);
        const unsigned high = static_cast<unsigned>(token) - 65536u + low_ids;
        return low < low_ids ? low : (high >= low_ids ? high : ~0u);
    }
    const direct_id* find_direct(int token) const {
        const unsigned i = direct_index(token);
        return i < direct_count ? &direct[i] : nullptr;
    }
    ParseAction& searched_action(int state, int token, ParseAction& out);
    bool searched_ignore(int token) const;
    int searched_goto(int state, int symbol);
    void build_gotos(std::vector<int>& symbols, int& highest);

    bool conflict_known; // false until the first getConflicts query
    int conflict_state;
    int conflict_token;
    int conflict_from;
    int conflict_to;
    int conflicts_size;
};

} // namespace parsing

#endif
