#include "SimpleParsingTable.h"

#include "ParseError.h"

namespace parsing {

SimpleParsingTable::SimpleParsingTable(ParseData& data_)
    : data(data_), conflict_known(false), conflict_state(0), conflict_token(0), conflict_from(-1),
      conflict_to(-1), conflicts_size(0) {}

SimpleParsingTable::~SimpleParsingTable() {}

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
    out.Do = ignore(token) ? _IGNORE : _ERROR;
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
