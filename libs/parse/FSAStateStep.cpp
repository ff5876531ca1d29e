#include "FSAState.h"

#include <iostream>

// The per-token step of the engine: head vectors and word sets, the moves of
// one head on one symbol, loops, follow rules and the look-ahead.

namespace parsing {

namespace {

const wchar_t* name_or_empty(const wchar_t* name) {
    return name ? name : L"";
}

} // namespace

bool FSAState::actions(const int& t, const std::wstring& word, bool tmp_ignore, bool tmp_increase,
                       bool tmp_issue_errors, bool sem_checks) {
    bool saved_semCheck = _semCheck;
    bool saved_BottomUp = _BottomUp;
    bool saved_TopDown = _TopDown;
    bool saved_BottomUp2 = _BottomUp2;
    _semCheck = sem_checks;
    _BottomUp = _TopDown = _BottomUp2 = false;
    ignore = tmp_ignore;
    increase = tmp_increase;
    issue_errors = tmp_issue_errors;
    bool rc = actions(t, word);
    ignore = false;
    increase = true;
    issue_errors = true;
    _semCheck = saved_semCheck;
    _BottomUp = saved_BottomUp;
    _TopDown = saved_TopDown;
    _BottomUp2 = saved_BottomUp2;
    return rc;
}

// A pass that repeats a step number (a retry, a recovery pass) must not be
// served the memo entries of the pass before it: the nodes they name may
// have been reclaimed and reused since.
void FSAState::forget_memo_of_step() {
    for (int i = 0; i < rds_size; ++i) {
        if (rds[i].step == step) {
            rds[i].step = -1;
            rds[i].sn = nullptr;
            rds[i].tn = nullptr;
        }
    }
}

void FSAState::step_trace(const int& t, const std::wstring& word) {
    std::wcout << L"Actions on " << t << L" \"" << word.c_str() << L"\"" << std::endl;
    SimpleVector<FSAStateNode*, 128>& heads = vState();
    for (int i = 0; i < heads.filled(); ++i) {
        FSAStateNode* sn = heads.at(i);
        if (!sn)
            continue;
        std::wcout << L"State: " << sn->state();
        if (sn->tokenNode())
            std::wcout << L"Token: " << L"\"" << sn->tokenNode()->symbol() << L" \"";
        std::wcout << std::endl;
    }
}

void FSAState::reduction_trace(FSATokenNode* tnReducted, FSAStateNode* onReduct) {
    std::wcout << L"----Prod. Reducted ( " << tnReducted->symbol() << L"-"
               << name_or_empty(ptable.token(tnReducted->symbol())) << L")["
               << static_cast<const void*>(tnReducted->value()) << L"]" << std::endl;
    std::wcout << L"On Reduct State has" << onReduct->_referenced << L"References" << std::endl;
}

bool FSAState::actions(const int& t, const std::wstring& word) {
    // Once a semantic action has stopped the parse every step fails; it
    // fails at once, so the diagnostics of the stop stay in the list.
    if (_finished)
        return false;
    try {
        return run_step(t, word);
    } catch (...) {
        abandon_step();
        throw;
    }
}

// An exception cut the step short. What it made and did not hand on is
// reclaimed as at the end of a failed step, with the conditions it attached;
// the current heads stay protected, so that a recovery can start from them.
void FSAState::abandon_step() {
    while (!prdReducted.empty())
        if (FSATokenNode* n = prdReducted.remove())
            mark(n);
    stReducted.clear();
    mark(newState());
    clearMarked();
}

bool FSAState::run_step(const int& t, const std::wstring& word) {
    if (increase)
        ++step;
    else
        forget_memo_of_step();
    unit_sources.clear();
    if (debug || conds != 0)
        std::wcout << L"\n\nAT STEP : " << step << L": Uncleared Conditions" << conds << std::endl;
    bool ignorable = ignore || ptable.ignore(t);
    onNext();
    if (debug)
        step_trace(t, word);

    FSATokenNode& tn = createTokenNode(t, ptable.RangedIndex(t), word);
    addIfWord(&tn);

    bool no_move = true;
    int IUpTo = vState().filled();
    for (int i = 0; i < IUpTo; ++i) {
        FSAStateNode* sn = vState().at(i);
        if (!sn)
            continue;
        sn->Protect();
        if (actions(*sn, tn, ignorable))
            no_move = false;
    }
    if (no_move)
        mark(&tn);

    // Reduced nodes are fed back to the state node where their production
    // began, last queued first; waiting left excludes are released only when
    // the queue has run dry, so a right exclude reduced meanwhile still
    // blocks them.
    for (;;) {
        if (!prdReducted.empty()) {
            FSATokenNode* tnReducted = prdReducted.remove();
            FSAStateNode* onReduct = stReducted.remove();
            if (!tnReducted) {
                std::wcout << L"Internal Error; (tnReducted==NULL) \n";
                collect(onReduct);
                continue;
            }
            if (!onReduct) {
                std::wcout << L"Internal Error; (onReduct==NULL) \n";
                collect(tnReducted);
                continue;
            }
            if (debug)
                reduction_trace(tnReducted, onReduct);
            if (prdReducted.empty() && all_released() && newState().empty()) {
                executedOnStep = step;
                bottomUp(onReduct);
                BottomUp(tnReducted, getKeepTree(), step);
            }
            if (actions(*onReduct, *tnReducted, false))
                reductedOnStep = step;
            else
                mark(tnReducted);
            continue;
        }
        if (!releaseOne())
            break;
    }

    if (_finished) {
        reclaim_keeping_next_heads();
        return false;
    }
    if (newState().empty()) {
        // The current heads stay protected through clearMarked, so that a
        // retry or a recovery can start from them.
        if (issue_errors)
            errors(snMarked, t);
        clearMarked();
        return false;
    }
    UnProtect(vState());
    UnProtect(snMarked);
    reclaim_keeping_next_heads();
    if (executedOnStep < reductedOnStep && getBottomUp() && newState().filled() == 1) {
        executedOnStep = step;
        bottomUp(newState().at(0));
    }
    return true;
}

// Reclaims the marked nodes but never a head of the next step. Heads hold
// no count of their own: a head that stayed on an ignorable token while the
// moves of its children failed would otherwise lose its last count when
// those children go, and be pooled while it is still a head.
void FSAState::reclaim_keeping_next_heads() {
    next_heads_guarded.clear();
    SimpleVector<FSAStateNode*, 128>& next = newState();
    for (int i = 0; i < next.filled(); ++i) {
        FSAStateNode* n = next.at(i);
        if (n && !n->Protected()) {
            n->Protect();
            next_heads_guarded.push_back(n);
        }
    }
    clearMarked();
    for (FSAStateNode* n : next_heads_guarded)
        n->UnProtect();
}

// Unlinks a new node whose follow rule failed and leaves it to reclamation.
void FSAState::drop(FSAStateNode* mv) {
    if (mv->_parent) {
        mv->_parent->_referenced -= 1;
        mv->_parent = nullptr;
    }
    if (mv->_token) {
        mv->_token->_referenced -= 1;
        mv->_token = nullptr;
    }
    mark(mv);
}

// Ignorable symbols that break the rule are passed over; the first symbol
// that satisfies it, or breaks it and is not ignorable, decides. The end of
// input decides too, even where the tables list the end mark as ignorable.
bool FSAState::follow_rule_holds(follows_rule& fr, FSAStateNode& mv) {
    for (int offset = 0;; ++offset) {
        int follows = peek(mv, offset);
        if (ptable.isSimpleFollowValid(&fr, follows))
            return true;
        if (follows == ptable.EndMark() || !ptable.ignore(follows))
            return false;
    }
}

bool FSAState::actions(FSAStateNode& sn, FSATokenNode& tn, bool ignorable) {
    clock_t started = clock();
    ptable.actions(sn._state, tn.symbol(), tn.TokenIndex(), actionsVector);
    actions_time += clock() - started;

    bool moved = false;
    int To = actionsVector.filled();
    for (int i = 0; i < To; ++i) {
        ParseAction PA = actionsVector.action(i);
        FSAStateNode* mv = moveTo(&sn, &tn, PA);
        bool valid = mv != nullptr;
        if (valid) {
            follows_rule* fr = ptable.getStateFollowRestriction(mv->_state);
            if (fr && fr->isSimple()) {
                if (follow_rule_holds(*fr, *mv)) {
                    mv->_state = fr->GoTo;
                } else {
                    valid = false;
                    drop(mv);
                }
            }
        }
        if (valid) {
            int redId = ptable.Reduction(mv->_state);
            if (redId >= 0)
                valid = production(redId, *mv);
            else
                newState().append(mv);
        }
        if (valid)
            moved = true;
    }
    if (!moved) {
        if (ignorable)
            newState().append(&sn);
        else
            mark(&sn);
    }
    return moved;
}

bool FSAState::available() {
    return proxy ? proxy->available() : false;
}

int FSAState::peek(int from_step) {
    if (from_step > 0 && from_step == _peeked_at)
        return _peek_ranged;
    int raw = proxy ? proxy->peek(from_step) : ptable.EndMark();
    int p = ptable.RangedIndex(raw);
    _peek_ranged = p < 0 ? raw : ptable.getId(p);
    _peeked_at = from_step;
    return _peek_ranged;
}

int FSAState::peek(FSAStateNode& sn) {
    return peek(sn.step() - 1);
}

int FSAState::peek(FSAStateNode& sn, int offset) {
    return peek(offset + sn.step() - 1);
}

bool FSAState::slr_follows_valid(int Token, int TokenIndex, FSAStateNode& mv) {
    if (!slr_follows || !available())
        return true;
    int follows = 0;
    bool ok = false;
    for (int offset = 0;; ++offset) {
        follows = peek(mv, offset);
        if (follows == ptable.EndMark())
            return true;
        clock_t started = clock();
        ok = ptable.slr_follows_valid(TokenIndex, follows);
        slr_search_time += static_cast<int>(clock() - started);
        if (ok || !ptable.ignore(follows))
            break;
    }
    if (!ok && debug)
        std::wcout << L"SLR Violation at " << Token << L" " << name_or_empty(ptable.token(Token))
                   << L" because Follows " << follows << L" "
                   << name_or_empty(ptable.token(follows)) << std::endl;
    return ok;
}

void FSAState::switchActiveVector() {
    aIsActive = !aIsActive;
    bIsActive = !aIsActive;
}

void FSAState::SwapVectors() {
    switchActiveVector();
    newState().clear();
    newWords().clear();
}

void FSAState::onNext() {
    _errors.clear();
    prdReducted.clear();
    stReducted.clear();
    UnProtect(vState());
    UnProtect(snMarked);
    snMarked.clear();
    SwapVectors();
    if (vState().empty())
        throw ParseError(-1, L"Incosistency: State Vector Empty.", Init, false, true);
}

bool FSAState::addWord(int id) {
    if (debug)
        std::wcout << L"Added Word: " << id << std::endl;
    newWords().insert(id);
    return true;
}

bool FSAState::addIfWord(FSATokenNode* tn) {
    if (tn)
        addIfWordIndex(tn->TokenIndex());
    return false;
}

bool FSAState::addIfWord(FSAToken* tn) {
    if (tn)
        addIfWordIndex(tn->TokenIndex());
    return false;
}

// Notes the id of the terminal at a token index when it is a word.
void FSAState::addIfWordIndex(int p) {
    if (ptable.isWordIndexed(p))
        addWord(ptable.getId(p));
}

bool FSAState::WordReduced(int id) {
    if (Words().count(id) == 0) {
        if (debug)
            std::wcout << L"Word Not Reduced:" << id << L"\n ";
        return false;
    }
    if (debug)
        std::wcout << L"Word Reduced:" << id << L"\n ";
    return true;
}

FSAStateNode* FSAState::moveTo(FSAStateNode* parent, FSATokenNode* tn, ParseAction& PA) {
    if (!parent)
        return nullptr;
    switch (PA.Do) {
    case _LGO_DOWN:
    case _LSHIFT:
    case _LGOTO:
    case _LSHIFT_DOWN:
        return LoopTo(parent, tn, PA);
    case _LBack:
    case _LDownBack:
        return LoopBack(parent, tn, PA);
    case _GoBack:
        return GoBack(parent, tn, PA);
    default:
        return &createStateNode(parent, tn, PA);
    }
}

int FSAState::nextLoop(FSAStateNode* parent) {
    return parent ? parent->_looped + 1 : 1;
}

bool FSAState::eqLoopSymbol(FSAStateNode* parent, FSATokenNode*, int loopSymbol) {
    return parent && parent->occurs.id == loopSymbol;
}

bool FSAState::eqLoopSymbol(FSAStateNode*, int) {
    return false;
}

bool FSAState::eqSymbol(FSAStateNode* parent, FSATokenNode* tn) {
    return parent && parent->_token && tn && parent->_token->symbol() == tn->symbol();
}

// The count of a loop move: one more iteration when the head is inside the
// same loop, else the loop starts here.
static int loop_count(int next, bool sameLoop) {
    return (next > 1 && !sameLoop) ? 1 : next;
}

FSAStateNode* FSAState::LoopTo(FSAStateNode* parent, FSATokenNode* tn, ParseAction& PA) {
    int loopSymbol = PA.onToken;
    int n = loop_count(nextLoop(parent), eqLoopSymbol(parent, tn, loopSymbol));
    occurs_value r{0, -1, 0, 0, 0};
    if (ptable.OccursOf(loopSymbol, r) >= 0 && (n < r.from || n > r.to))
        return nullptr;
    FSAStateNode& node = createStateNode(parent, tn, PA);
    node.occurs.id = loopSymbol;
    node._looped = n;
    return &node;
}

FSAStateNode* FSAState::LoopBack(FSAStateNode* parent, FSATokenNode* tn, ParseAction& PA) {
    int loopSymbol = PA.onToken;
    int n = loop_count(nextLoop(parent), eqLoopSymbol(parent, tn, loopSymbol));
    occurs_value r{0, -1, 0, 0, 0};
    if (ptable.OccursOf(loopSymbol, r) >= 0 && n >= r.to)
        return nullptr;
    FSAStateNode* node = n >= 3 ? loopPack(parent, tn, PA, n) : nullptr;
    if (!node)
        node = &createStateNode(parent, tn, PA);
    node->occurs.id = loopSymbol;
    node->_looped = n;
    return node;
}

FSAStateNode* FSAState::GoBack(FSAStateNode* parent, FSATokenNode* tn, ParseAction& PA) {
    int loopSymbol = PA.onToken;
    int n = eqLoopSymbol(parent, tn, loopSymbol) ? parent->_looped + 1 : 1;
    FSAStateNode* node = n >= 3 ? loopPack(parent, tn, PA, n) : nullptr;
    if (!node)
        node = &createStateNode(parent, tn, PA);
    node->occurs.id = loopSymbol;
    node->occurs.id_pos = tn ? tn->TokenIndex() : -1;
    node->_looped = n;
    return node;
}

// A head whose token node holds an empty iteration (no children, no text) is
// replaced instead of stacked on: the new node hangs where the head hangs.
FSAStateNode* FSAState::loopPack(FSAStateNode* parent, FSATokenNode* tn, ParseAction& PA,
                                 int next) {
    if (!parent || !parent->_token)
        return nullptr;
    if (parent->_token->children() > 0 || !parent->_token->_value.empty())
        return nullptr;
    FSAStateNode& node = createStateNode(parent->_parent, tn, PA);
    node._looped = next;
    mark(parent);
    return &node;
}

} // namespace parsing
