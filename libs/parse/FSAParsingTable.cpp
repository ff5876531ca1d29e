#include "FSAParsingTable.h"

#include "halving_search.h"
#include "table_fault.h"

namespace parsing {

FSAParsingTable::FSAParsingTable(FSAParseData& in_data)
    : data(in_data), conflict_state(0), conflict_token(0), conflict_from(0), conflict_to(0),
      conflicts_size(0), minReductiveState(in_data.nfatable->states),
      maxStateFollows(in_data.statefollows->size) {}

FSAParsingTable::~FSAParsingTable() {}

int FSAParsingTable::RangedIndex(int id) const {
    int r = data.ranges->posOfRange(id);
    if (r < 0)
        return data.terminals->posOfKey(id);
    if (data.indexed)
        return data.ranges->table[r].id_pos;
    return data.terminals->posOfKey(data.ranges->table[r].id);
}

bool FSAParsingTable::UpperCase() const {
    return data.input_case == Input_ToUpper;
}

bool FSAParsingTable::LowerCase() const {
    return data.input_case == Input_ToLower;
}

bool FSAParsingTable::StartSymbol(int symbol) const {
    return symbol == data.startId;
}

int FSAParsingTable::ErrorMark() const {
    return data.terminals->errormark;
}

int FSAParsingTable::EndMark() const {
    return data.terminals->endmark;
}

int FSAParsingTable::AnyMark() const {
    return data.terminals->anymark;
}

bool FSAParsingTable::isWordIndexed(int pos) const {
    return pos >= 0 && pos < data.terminals->size && data.terminals->table[pos].isWord();
}

bool FSAParsingTable::isWord(int id) const {
    return isWordIndexed(data.terminals->posOfKey(id));
}

int FSAParsingTable::getId(int pos) const {
    if (pos < 0 || pos >= data.terminals->size)
        return 0;
    return data.terminals->table[pos].id;
}

int FSAParsingTable::IndexedLevel(int pos) const {
    if (pos < 0 || pos >= data.terminals->size)
        return -1;
    return data.terminals->table[pos].level;
}

int FSAParsingTable::Level(int id) const {
    return IndexedLevel(data.terminals->posOfKey(id));
}

int FSAParsingTable::TokenIndex(int id) const {
    return data.terminals->posOfKey(id);
}

int FSAParsingTable::OccursOf(int id, occurs_value& r) const {
    int k = data.occurs->posOfKey(id);
    if (k < 0)
        return -1;
    r.from = data.occurs->table[k].from;
    r.to = data.occurs->table[k].to;
    return k;
}

int FSAParsingTable::Reduction(int State) const {
    return State - minReductiveState;
}

wchar_t* FSAParsingTable::token(int id) const {
    int p = data.terminals->posOfKey(id);
    return p < 0 ? nullptr : data.terminals->table[p].str;
}

static int value_of(const KeyValueFixedTable& table, int key) {
    int k = table.posOfKey(key);
    return k < 0 ? -1 : table.table[k].value;
}

int FSAParsingTable::state_error(int state) const {
    return value_of(*data.state_errors, state);
}

int FSAParsingTable::term_error(int token) const {
    return value_of(*data.term_errors, token);
}

int FSAParsingTable::production_error(int token) const {
    return value_of(*data.productions_errors, token);
}

int FSAParsingTable::specific_error(int state, int token) const {
    int k = data.specialized_errors->posOfKey(state, token);
    return k < 0 ? -1 : data.specialized_errors->table[k].value;
}

wchar_t* FSAParsingTable::msg_error(int id) const {
    int k = data.error_msgs->posOfKey(id);
    return k < 0 ? nullptr : data.error_msgs->table[k].msg;
}

::reduction& FSAParsingTable::reduction(int id, ::reduction& reduction) const {
    if (id >= 0 && id < data.reductions->size)
        reduction = data.reductions->table[id];
    else
        reduction = ::reduction{nullptr, -1, 0, -1, -1, -1, 0};
    return reduction;
}

bool FSAParsingTable::recovery(int state) const {
    return data.recovery_states && data.recovery_states->posOfKey(state) >= 0;
}

bool FSAParsingTable::ignore(int token) const {
    const KeyValueFixedTable* ignorables = data.ignorables;
    if (!ignorables || ignorables->size == 0)
        return false;
    if (ignorables->posOfKey(token) >= 0)
        return true;
    int p = RangedIndex(token);
    if (p < 0 || p >= data.terminals->size)
        return false;
    return ignorables->posOfKey(data.terminals->table[p].id) >= 0;
}

int FSAParsingTable::addNFAEntry(int state, int token, nfa_state_action& nfa_entry,
                                 ActionsVector& actionVector) const {
    Action value;
    value.NextState = nfa_entry.next_state;
    switch (nfa_entry.action) {
    case _FINISH:
        value.NextState = -1;
        break;
    case _SHIFT:
    case _GOTO:
    case _Push:
    case _SHIFTDOWN:
    case _GODOWN:
    case _LGO_DOWN:
    case _LSHIFT:
    case _LGOTO:
    case _LSHIFT_DOWN:
    case _LBack:
    case _LDownBack:
    case _ShiftBack:
    case _GoBack:
        break;
    default:
        table_fault(L"Unexpected Action");
    }
    actionVector.append(static_cast<ActionType>(nfa_entry.action), value, token, state);
    return 1;
}

// The merge walks two ascending runs, the symbol's equivalents E and the
// state's row terminals A, and bisects the longer one for the head of the
// shorter, so a symbol with few equivalents against a state with many rows
// (or the reverse) costs a few searches, not a walk of both runs. While
// seeking it also pulls in the far end of the longer run past which nothing
// can match.
int FSAParsingTable::actions(int state, int token, int TokenIndex,
                             ActionsVector& actionVector) const {
    actionVector.clear();
    int key = token;
    int position = TokenIndex;
    int r = data.ranges->posOfRange(token);
    if (r >= 0) {
        key = data.ranges->table[r].id;
        position = data.ranges->table[r].id_pos;
    }
    if (position < 0 && data.indexed)
        position = data.terminals->posOfKey(key);
    int eqs_first = 0;
    int eqs_last = -1;
    int eqs_size;
    if (position >= 0 && data.indexed)
        eqs_size = data.terminals->eq_index(position, eqs_first, eqs_last);
    else
        eqs_size = data.eqstable->eqs_array(key, eqs_first, eqs_last);
    int act_first = 0;
    int act_last = -1;
    int act_size = data.nfatable->actions_array(state, act_first, act_last);
    if (eqs_size <= 0 || act_size <= 0)
        return 0;

    const int* E = data.eqstable->table;
    nfa_state_action* rows = data.nfatable->table;
    auto A = [rows](int i) { return rows[i].terminal; };
    while (eqs_first <= eqs_last && act_first <= act_last) {
        if (eqs_size < act_size) {
            int first = act_first;
            int last = act_last;
            while (first <= last) {
                int mid = first + (last - first) / 2;
                if (E[eqs_last] < A(mid))
                    act_last = mid;
                if (E[eqs_first] < A(mid)) {
                    last = mid - 1;
                } else if (E[eqs_first] > A(mid)) {
                    first = mid + 1;
                    act_first = mid;
                } else {
                    while (mid > act_first && A(mid - 1) == A(mid))
                        --mid;
                    act_first = mid;
                    break;
                }
            }
        } else {
            int first = eqs_first;
            int last = eqs_last;
            while (first <= last) {
                int mid = first + (last - first) / 2;
                if (A(act_last) < E[mid])
                    eqs_last = mid;
                if (A(act_first) < E[mid]) {
                    last = mid - 1;
                } else if (A(act_first) > E[mid]) {
                    first = mid + 1;
                    eqs_first = mid;
                } else {
                    eqs_first = mid;
                    break;
                }
            }
        }
        if (E[eqs_first] == A(act_first)) {
            addNFAEntry(state, E[eqs_first], rows[act_first], actionVector);
            ++act_first;
        } else if (E[eqs_first] < A(act_first)) {
            ++eqs_first;
            if (E[eqs_last] < A(act_first))
                break;
        } else {
            if (E[eqs_first] > A(act_last))
                break;
            ++act_first;
        }
    }
    return actionVector.filled();
}

follows_rule* FSAParsingTable::getStateFollowRestriction(int state) const {
    if (state < 1 || state > maxStateFollows || state - 1 >= data.statefollows->size)
        return nullptr;
    return &data.statefollows->table[state - 1];
}

bool FSAParsingTable::isSimpleFollowValid(follows_rule* fr, int token) const {
    if (!fr)
        return true;
    if (!fr->isSimple())
        return false;
    bool mapped = isSimpleFollowMapped(token, fr->id, true);
    if (mapped && fr->is_not_follows())
        return false;
    if (!mapped && fr->is_follows())
        return false;
    return true;
}

bool FSAParsingTable::isSimpleFollowMapped(int token, int Mapped, bool withRange) const {
    int key = token;
    if (withRange) {
        int r = data.ranges->posOfRange(token);
        if (r >= 0)
            key = data.ranges->table[r].id;
    }
    int first = 0;
    int last = -1;
    if (data.followstable->eqs_array(key, first, last) <= 0)
        return false;
    const int* ids = data.followstable->table;
    return halving_search(first, last, [&](int mid) { return key_order(Mapped, ids[mid]); }) >= 0;
}

bool FSAParsingTable::isSimpleFollowValid(int state, int token) const {
    (void)state;
    (void)token;
    return true;
}

bool FSAParsingTable::slr_follows_valid(int TokenIndex, int Follows) const {
    if (!data.slr_follows)
        return true;
    int first = 0;
    int last = -1;
    int count = -1;
    if (data.indexed) {
        count = data.terminals->slr_follow_index(TokenIndex, first, last);
    } else if (TokenIndex >= 0 && TokenIndex < data.terminals->size) {
        count = data.slr_follows_table->eqs_array(getId(TokenIndex), first, last);
    }
    if (count <= 0)
        return true;
    return data.slr_follows_table->search(Follows, first, last) >= 0;
}

} // namespace parsing
