#include "SimpleParsingTable.h"

#include <algorithm>

#include "ParseError.h"

namespace parsing {

int SimpleParsingTable::searched_goto(int state, int symbol) {
    int pos = data.gotostable->posOfKey(state, symbol);
    if (pos < 0)
        throw ParseError(-1, L"GOTO return -1", Syntax, false, true);
    return data.gotostable->table[pos].next_state;
}

// Sets out from a stored action code. A code that is not an action leaves
// out as it is and answers false.
static bool set_from_row(ParseAction& out, short code, int next_state) {
    switch (code) {
    case _SHIFT:
    case _REDUCE:
        out.Do = static_cast<ActionType>(code);
        out.value.NextState = next_state;
        return true;
    case _FINISH:
    case _BACKTRACK:
        out.Do = static_cast<ActionType>(code);
        out.value.NextState = -1;
        return true;
    default:
        return false;
    }
}

// action() for an id or a state without direct cells: every table is searched.
ParseAction& SimpleParsingTable::searched_action(int state, int token, ParseAction& out) {
    int start, end;
    int n = data.eqstable->eqs_array(token, start, end);
    if (n > 1)
        throw ParseError(-1, L"More than one Equivalence entries for token -1", Syntax, false,
                         true);
    int sym = n > 0 ? data.eqstable->table[end] : token;
    int range = data.ranges->posOfRange(sym);
    if (range >= 0)
        sym = data.ranges->table[range].id;
    out.onToken = token;
    out.onState = state;
    int pos = data.srstable->posOfKey(state, sym);
    if (pos >= 0) {
        const srs_state_action& row = data.srstable->table[pos];
        if (set_from_row(out, row.action, row.next_state))
            return out;
    } else if (data.srsdefaults) {
        int d = data.srsdefaults->posOfKey(state);
        if (d >= 0) {
            const srs_default& row = data.srsdefaults->table[d];
            if (set_from_row(out, row.action, row.next_state))
                return out;
        }
    }
    out.Do = searched_ignore(token) ? _IGNORE : _ERROR;
    return out;
}

SimpleParsingTable::SimpleParsingTable(ParseData& data_)
    : data(data_), direct_count(0), stride(1), cell_states(0), goto_stride(1), goto_states(0),
      marked_tried(false), any_id(0), end_id(0), conflict_known(false), conflict_state(0),
      conflict_token(0), conflict_from(-1), conflict_to(-1), conflicts_size(0) {
    build_direct();
}

SimpleParsingTable::~SimpleParsingTable() {}

// The most cells kept (8 bytes each); a grammar that needs more is searched.
static const std::size_t max_cells = 1u << 20;
// The most states given dense rows for the characters (512 bytes each): every
// lexical grammar of the chains (at most some hundreds of states, under 200
// kilobytes of rows) reads a character with one load; a grammar beyond that
// keeps its characters in its cells.
static const unsigned max_ascii_states = 512;
// The grammar symbols from 65536 up given a direct entry, at most.
static const int max_high_ids = 4096;
// The grammar symbols from 65536 up given a direct entry, at least: the named
// tokens that the stages of a chain hand on (strings, comments, whole DATA
// statements) lie just above 65535, and a stage whose grammar does not name
// them still reads them.
static const int min_high_ids = 256;

// The cell of a symbol in a run of cells: 1 + its place among symbols, or 0.
static int cell_of(const std::vector<int>& symbols, int symbol) {
    auto at = std::lower_bound(symbols.begin(), symbols.end(), symbol);
    return at != symbols.end() && *at == symbol ? static_cast<int>(at - symbols.begin()) + 1 : 0;
}

// The key of a row of the action or of the goto table.
static int row_key(const srs_state_action& row) {
    return row.terminal;
}
static int row_key(const gotos_state_action& row) {
    return row.production;
}

// Calls found(pos, cell) for each row of a state's run whose key is one of
// symbols, cell being 1 + its place there, as a search of the run for each
// of them would find it: the run and symbols are walked side by side. A run
// whose keys do not ascend is searched after all, by search(cell) for every
// cell.
template <class Row, class Found, class Search>
static void each_row_of(const Row* rows, int starts, int len, const std::vector<int>& symbols,
                        Found found, Search search) {
    for (int p = starts + 1; p < starts + len; ++p) {
        if (row_key(rows[p - 1]) >= row_key(rows[p])) {
            for (std::size_t c = 1; c <= symbols.size(); ++c)
                search(c);
            return;
        }
    }
    std::size_t c = 0;
    for (int p = starts; p < starts + len; ++p) {
        const int key = row_key(rows[p]);
        while (c < symbols.size() && symbols[c] < key)
            ++c;
        if (c < symbols.size() && symbols[c] == key)
            found(p, c + 1);
    }
}

void SimpleParsingTable::build_direct() {
    if (!data.eqstable || !data.ranges || !data.srstable || !data.terminals)
        return;
    any_id = data.terminals->anymark;
    end_id = data.terminals->endmark;
    const srs_table& srs = *data.srstable;
    // The rows repeat a few symbols many times over: each is collected once
    // (those of the direct ids as they are first met), and only the few
    // distinct ones are sorted.
    std::vector<bool> met;
    auto collect = [&met](std::vector<int>& into, int id) {
        const unsigned i = direct_index(id);
        if (i >= low_ids + max_high_ids) {
            into.push_back(id);
            return;
        }
        if (i >= met.size())
            met.resize(i + 1);
        if (!met[i]) {
            met[i] = true;
            into.push_back(id);
        }
    };
    std::vector<int> symbols;
    for (int s = 0; s < srs.states && srs.table; ++s)
        for (int p = srs.index[s].starts; p < srs.index[s].starts + srs.index[s].len; ++p)
            collect(symbols, srs.table[p].terminal);
    met.clear();
    std::vector<int> goto_symbols;
    if (const gotos_table* g = data.gotostable)
        for (int s = 0; s < g->states && g->table; ++s)
            for (int p = g->index[s].starts; p < g->index[s].starts + g->index[s].len; ++p)
                collect(goto_symbols, g->table[p].production);
    int highest = 65535;
    for (int id : symbols)
        highest = std::max(highest, id);
    for (int id : goto_symbols)
        highest = std::max(highest, id);
    for (int i = 0; i < data.terminals->size; ++i)
        highest = std::max(highest, data.terminals->table[i].id);
    highest = std::max(highest, 65535 + min_high_ids);
    highest = std::min(highest, 65535 + max_high_ids);
    for (std::vector<int>* v : {&symbols, &goto_symbols}) {
        std::sort(v->begin(), v->end());
        v->erase(std::unique(v->begin(), v->end()), v->end());
    }

    // The same mapping as searched_action's, done once per id.
    auto describe = [&](int token) {
        direct_id d{0, cell_of(goto_symbols, token), -1, false, searched_ignore(token)};
        int start, end;
        int n = data.eqstable->eqs_array(token, start, end);
        d.ambiguous = n > 1;
        int sym = n == 1 ? data.eqstable->table[end] : token;
        int range = data.ranges->posOfRange(sym);
        if (range >= 0)
            sym = data.ranges->table[range].id;
        d.cell = cell_of(symbols, sym);
        d.action_cell = d.ambiguous || d.ignorable ? -1 : d.cell;
        return d;
    };
    direct.reserve(low_ids + (highest - 65535));
    for (int id = direct_low; id < 256; ++id)
        direct.push_back(describe(id));
    for (int id = 65536; id <= highest; ++id)
        direct.push_back(describe(id));
    direct_count = static_cast<unsigned>(direct.size());

    // Each cell holds what the searches answer, so that both agree on any
    // table.
    stride = symbols.size() + 1;
    if (static_cast<std::size_t>(srs.states) * stride <= max_cells) {
        // A value beyond 24 bits leaves the grammar without cells.
        bool fits = true;
        auto resolve = [&fits](short code, int next_state) {
            ParseAction a{};
            if (!set_from_row(a, code, next_state))
                return std::int32_t{0};
            if (a.value.NextState < -(1 << 23) || a.value.NextState >= (1 << 23))
                fits = false;
            return static_cast<std::int32_t>(static_cast<std::uint32_t>(a.value.NextState) << 8 |
                                             static_cast<std::uint32_t>(a.Do));
        };
        cells.resize(static_cast<std::size_t>(srs.states) * stride);
        for (int s = 0; s < srs.states; ++s) {
            std::int32_t* run = &cells[static_cast<std::size_t>(s) * stride];
            run[0] = 0;
            if (data.srsdefaults) {
                int d = data.srsdefaults->posOfKey(s);
                if (d >= 0)
                    run[0] = resolve(data.srsdefaults->table[d].action,
                                     data.srsdefaults->table[d].next_state);
            }
            for (std::size_t c = 1; c < stride; ++c)
                run[c] = run[0];
            each_row_of(
                srs.table, srs.index[s].starts, srs.index[s].len, symbols,
                [&](int pos, std::size_t c) {
                    run[c] = resolve(srs.table[pos].action, srs.table[pos].next_state);
                },
                [&](std::size_t c) {
                    int pos = srs.posOfKey(s, symbols[c - 1]);
                    if (pos >= 0)
                        run[c] = resolve(srs.table[pos].action, srs.table[pos].next_state);
                });
        }
        if (fits)
            cell_states = static_cast<unsigned>(srs.states);
        else
            std::vector<std::int32_t>().swap(cells);
    }

    goto_stride = goto_symbols.size() + 1;
    const gotos_table* g = data.gotostable;
    if (g && g->table && static_cast<std::size_t>(g->states) * goto_stride <= max_cells) {
        goto_cells.assign(static_cast<std::size_t>(g->states) * goto_stride, no_goto);
        for (int s = 0; s < g->states; ++s) {
            int* run = &goto_cells[static_cast<std::size_t>(s) * goto_stride];
            each_row_of(
                g->table, g->index[s].starts, g->index[s].len, goto_symbols,
                [&](int pos, std::size_t c) { run[c] = g->table[pos].next_state; },
                [&](std::size_t c) {
                    const int pos = g->posOfKey(s, goto_symbols[c - 1]);
                    if (pos >= 0)
                        run[c] = g->table[pos].next_state;
                });
        }
        goto_states = static_cast<unsigned>(g->states);
    }
}

bool SimpleParsingTable::build_marked() {
    marked_tried = true;
    if (cells.empty())
        return false;
    std::vector<std::int32_t> built(cells.size());
    for (unsigned s = 0; s < cell_states; ++s) {
        for (std::size_t c = 0; c < stride; ++c) {
            // The token's lookup first; when it gives _ERROR (the token is
            // not ignorable) the marks are looked up in turn.
            const std::int32_t r = cells[s * stride + c];
            ParseAction a{};
            int key = 0;
            if ((r & 63) != 0) {
                a.Do = static_cast<ActionType>(r & 63);
                a.value.NextState = r >> 8;
            } else {
                key = 1;
                action(static_cast<int>(s), any_id, a);
                if (a.Do == _ERROR) {
                    key = 2;
                    action(static_cast<int>(s), end_id, a);
                }
            }
            const bool sets_value = a.Do != _ERROR && a.Do != _IGNORE;
            const int value = sets_value ? a.value.NextState : 0;
            if (a.Do == _ERROR)
                key = 0; // the error carries what was asked
            if (a.Do < 0 || a.Do > 63 || value < -(1 << 23) || value >= (1 << 23))
                return false;
            built[s * stride + c] = static_cast<std::int32_t>(
                static_cast<std::uint32_t>(value) << 8 | static_cast<std::uint32_t>(key) << 6 |
                static_cast<std::uint32_t>(a.Do));
        }
    }
    std::vector<std::int32_t> ends(cell_states), backs(cell_states);
    const int back_id = data.terminals->backtrackmark;
    for (unsigned s = 0; s < cell_states; ++s) {
        for (int k = 0; k < 2; ++k) {
            ParseAction a{};
            action(static_cast<int>(s), k == 0 ? end_id : back_id, a);
            const int value = a.Do != _ERROR && a.Do != _IGNORE ? a.value.NextState : 0;
            if (a.Do < 0 || a.Do > 63 || value < -(1 << 23) || value >= (1 << 23))
                return false;
            (k == 0 ? ends : backs)[s] = static_cast<std::int32_t>(
                static_cast<std::uint32_t>(value) << 8 | static_cast<std::uint32_t>(a.Do));
        }
    }
    marked.swap(built);
    marked_end.swap(ends);
    marked_back.swap(backs);
    marked_cell_of.resize(direct.size());
    for (std::size_t i = 0; i < direct.size(); ++i) {
        const direct_id& d = direct[i];
        const int id =
            i < low_ids ? static_cast<int>(i) + direct_low : static_cast<int>(i - low_ids) + 65536;
        marked_cell_of[i] = d.ambiguous || d.ignorable || id == end_id ? -1 : d.cell;
    }
    // A packed answer is never 0: its action code is not.
    const unsigned ascii_states = cell_states <= max_ascii_states ? cell_states : 0;
    marked_ascii.assign(static_cast<std::size_t>(ascii_states) * marks_view::ascii_ids, 0);
    for (unsigned s = 0; s < ascii_states; ++s) {
        for (unsigned c = 0; c < marks_view::ascii_ids; ++c) {
            const int cell = marked_cell_of[c - direct_low];
            if (cell >= 0)
                marked_ascii[s * marks_view::ascii_ids + c] = marked[s * stride + cell];
        }
    }
    marks.cells = marked.data();
    marks.ascii = marked_ascii.data();
    marks.ascii_states = ascii_states;
    marks.stride = stride;
    marks.states = cell_states;
    marks.cell_of = marked_cell_of.data();
    marks.ids = static_cast<unsigned>(marked_cell_of.size());
    marks.any_id = any_id;
    marks.end_id = end_id;
    marks.end_cells = marked_end.data();
    marks.back_cells = marked_back.data();
    marks.back_id = back_id;
    return true;
}

int SimpleParsingTable::getConflicts(int state, int token) {
    if (conflict_known && state == conflict_state && token == conflict_token)
        return conflicts_size;
    conflict_known = true;
    conflict_state = state;
    conflict_token = token;
    conflict_from = data.conflictstable->starts(state, token);
    conflict_to = data.conflictstable->ends(state, token);
    conflicts_size = conflict_from >= 0 && conflict_to >= 0 && conflict_from <= conflict_to
                         ? conflict_to - conflict_from + 1
                         : 0;
    return conflicts_size;
}

ParseAction& SimpleParsingTable::getConflict(int state, int token, int order, ParseAction& out) {
    // The run of the pair as getConflicts keeps it: a stage asks for the
    // alternatives of one pair in turn, order 1, 2, ...
    getConflicts(state, token);
    int pos = -1;
    if (conflict_from >= 0 && conflict_to >= 0) {
        const long p = static_cast<long>(conflict_from) + order - 1;
        if (conflict_from <= p && p <= conflict_to)
            pos = static_cast<int>(p);
    }
    if (pos < 0) {
        out.Do = _ERROR;
        return out;
    }
    const srs_state_action& row = data.conflictstable->table[pos];
    if (row.action == _SHIFT || row.action == _REDUCE || row.action == _FINISH)
        set_from_row(out, row.action, row.next_state);
    else
        out.Do = _ERROR;
    return out;
}

wchar_t* SimpleParsingTable::token(int id) {
    int pos = data.terminals->posOfKey(id);
    return pos < 0 ? nullptr : data.terminals->table[pos].str;
}

// The value of a key's row in a pair table, or -1.
static int value_of(const KeyValueFixedTable* t, int key) {
    if (!t)
        return -1;
    int pos = t->posOfKey(key);
    return pos < 0 ? -1 : t->table[pos].value;
}

int SimpleParsingTable::state_error(int state) {
    return value_of(data.state_errors, state);
}

int SimpleParsingTable::term_error(int token) {
    return value_of(data.term_errors, token);
}

int SimpleParsingTable::production_error(int symbol) {
    return value_of(data.productions_errors, symbol);
}

int SimpleParsingTable::specific_error(int state, int token) {
    int pos = data.specialized_errors->posOfKey(state, token);
    return pos < 0 ? -1 : data.specialized_errors->table[pos].value;
}

wchar_t* SimpleParsingTable::msg_error(int id) {
    int pos = data.error_msgs->posOfKey(id);
    return pos < 0 ? nullptr : data.error_msgs->table[pos].msg;
}

static bool holds(const KeyValueFixedTable* t, int key) {
    return t && t->posOfKey(key) >= 0;
}

bool SimpleParsingTable::recovery(int state) {
    return holds(data.recovery_states, state);
}

bool SimpleParsingTable::searched_ignore(int token) const {
    return holds(data.ignorables, token);
}

bool SimpleParsingTable::sma(int token) {
    return holds(data.sma, token);
}

} // namespace parsing
