#include "SimpleParsingTable.h"

#include <algorithm>

#include "ParseError.h"

namespace parsing {

SimpleParsingTable::SimpleParsingTable(ParseData& data_)
    : data(data_), columns(0), conflict_known(false), conflict_state(0), conflict_token(0),
      conflict_from(-1), conflict_to(-1), conflicts_size(0) {
    build_direct();
}

SimpleParsingTable::~SimpleParsingTable() {}

// The largest dense row index kept (cells of 4 bytes); beyond it a lookup
// searches the state's run instead.
static const std::size_t max_row_cells = 1u << 20;
// The grammar symbols from 65536 up given a direct entry, at most.
static const int max_high_ids = 4096;

void SimpleParsingTable::build_direct() {
    if (!data.eqstable || !data.ranges || !data.srstable)
        return;
    const srs_table& srs = *data.srstable;
    // The columns: every symbol that some state has a row for, ascending.
    std::vector<int> symbols;
    int highest = 65535;
    for (int s = 0; s < srs.states && srs.table; ++s) {
        const srs_state_index& run = srs.index[s];
        for (int p = run.starts; p < run.starts + run.len; ++p) {
            symbols.push_back(srs.table[p].terminal);
            if (srs.table[p].terminal > highest)
                highest = srs.table[p].terminal;
        }
    }
    std::sort(symbols.begin(), symbols.end());
    symbols.erase(std::unique(symbols.begin(), symbols.end()), symbols.end());
    columns = static_cast<int>(symbols.size());
    if (data.terminals)
        for (int i = 0; i < data.terminals->size; ++i)
            if (data.terminals->table[i].id > highest)
                highest = data.terminals->table[i].id;
    if (highest - 65535 > max_high_ids)
        highest = 65535 + max_high_ids;

    auto describe = [&](int token) {
        direct_id d{token, -1, false, ignore(token)};
        int start, end;
        int n = data.eqstable->eqs_array(token, start, end);
        d.ambiguous = n > 1;
        if (n == 1)
            d.symbol = data.eqstable->table[end];
        int range = data.ranges->posOfRange(d.symbol);
        if (range >= 0)
            d.symbol = data.ranges->table[range].id;
        auto at = std::lower_bound(symbols.begin(), symbols.end(), d.symbol);
        if (at != symbols.end() && *at == d.symbol)
            d.column = static_cast<int>(at - symbols.begin());
        return d;
    };
    direct.reserve(256 - direct_low);
    for (int id = direct_low; id < 256; ++id)
        direct.push_back(describe(id));
    direct_high.reserve(highest - 65535);
    for (int id = 65536; id <= highest; ++id)
        direct_high.push_back(describe(id));

    if (columns == 0 || static_cast<std::size_t>(srs.states) * columns > max_row_cells)
        return;
    // Each cell holds what the run's search answers, so that both agree
    // even on a run that breaks the table's ordering.
    rows.resize(static_cast<std::size_t>(srs.states) * columns);
    for (int s = 0; s < srs.states; ++s)
        for (int c = 0; c < columns; ++c)
            rows[static_cast<std::size_t>(s) * columns + c] = srs.posOfKey(s, symbols[c]);
}

int SimpleParsingTable::GOTO(int state, int symbol) {
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

ParseAction& SimpleParsingTable::action(int state, int token, ParseAction& out) {
    const direct_id* d = find_direct(token);
    if (!d)
        return searched_action(state, token, out);
    if (d->ambiguous)
        throw ParseError(-1, L"More than one Equivalence entries for token -1", Syntax, false,
                         true);
    int pos;
    if (static_cast<unsigned>(state) < static_cast<unsigned>(data.srstable->states) &&
        !rows.empty())
        pos = d->column < 0 ? -1 : rows[static_cast<std::size_t>(state) * columns + d->column];
    else
        pos = data.srstable->posOfKey(state, d->symbol);
    return row_action(state, token, pos, d->ignorable, out);
}

// action() for an id without a direct entry: every table is searched.
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
    return row_action(state, token, data.srstable->posOfKey(state, sym), ignore(token), out);
}

// The action from the state's row at pos (-1: none), else from the state's
// default, else the error or ignore of the token.
ParseAction& SimpleParsingTable::row_action(int state, int token, int pos, bool ignorable,
                                            ParseAction& out) {
    out.onToken = token;
    out.onState = state;
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
    out.Do = ignorable ? _IGNORE : _ERROR;
    return out;
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
    int pos = data.conflictstable->posOfKey(state, token, order);
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

::reduction& SimpleParsingTable::reduction(int id, ::reduction& out) {
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

static bool holds(const KeyValueFixedTable* t, int key) {
    return t && t->posOfKey(key) >= 0;
}

bool SimpleParsingTable::recovery(int state) {
    return holds(data.recovery_states, state);
}

bool SimpleParsingTable::ignore(int token) {
    return holds(data.ignorables, token);
}

bool SimpleParsingTable::sma(int token) {
    return holds(data.sma, token);
}

} // namespace parsing
