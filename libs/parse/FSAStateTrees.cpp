#include "FSAState.h"
#include "signed_widening.h"

#include <iostream>

// The engine's semantic traversals and action calls, the end of a parse with
// its trees, the rewind of heads for error recovery, and the diagnostics.

namespace parsing {

bool FSAState::BottomUp(FSATokenNode* root_node, bool keep, int stp) {
    if (!root_node)
        return true;
    tnBuffered.clear();
    tnStacked.clear();
    tnBuffered.append(root_node);
    // Descent: inner nodes go on tnStacked, so that taken from the end they
    // come out children first, left to right. A node stamped by an earlier
    // traversal is not entered again (unless this is step 0 or earlier).
    while (!tnBuffered.empty()) {
        FSATokenNode* n = tnBuffered.remove();
        if (!n)
            continue;
        if (n->children() == 0 || (stp > 0 && n->step > 0)) {
            n->step = stp;
            continue;
        }
        tnStacked.append(n);
        for (FSATokenNode* c : n->childs())
            tnBuffered.append(c);
    }
    while (!tnStacked.empty()) {
        FSATokenNode* tn = tnStacked.remove();
        tn->release = !keep;
        if (tn->semanticAction() || tn->_issue_error) {
            if (tn->step < stp)
                tn->step = stp;
            onBottomUp(*tn);
            if (debug)
                tn->println(L"--Visit(BottomUp):\n");
        }
        if (tn->release && tn->original) {
            while (tn->children() > 0)
                if (FSATokenNode* c = tn->removeChild())
                    mark(c);
        }
    }
    return true;
}

bool FSAState::TopDown(FSATokenNode* root_node, bool keep) {
    bool rc = true;
    SimpleVector<FSATokenNode*, 128> pending(128);
    pending.append(root_node);
    try {
        while (!pending.empty()) {
            FSATokenNode* node = pending.remove();
            // Trimming the pool below may delete a node that another pooled
            // node held and that still waits here; such a node is skipped.
            if (!node || allTokenNodes.count(node) == 0)
                continue;
            if (node->semanticAction()) {
                onTopDown(*node);
                if (debug)
                    node->println(L"--Visit(TopDown):\n");
            }
            int n = node->children();
            if (keep) {
                for (int i = n - 1; i >= 0; --i)
                    pending.append(node->childAt(i));
                continue;
            }
            for (int i = 0; i < n; ++i)
                if (FSATokenNode* c = node->removeChild())
                    pending.append(c);
            if (collect(node) > 64)
                clearTokensBuffer(32);
        }
    } catch (...) {
        rc = false;
    }
    return rc;
}

bool FSAState::bottomUp(FSAStateNode* sn) {
    prdReducted.clear();
    for (FSAStateNode* n = sn; n; n = n->parent()) {
        FSATokenNode* t = n->tokenNode();
        if (!t)
            continue;
        if (t->step > 0)
            break;
        if (t->step < executedOnStep)
            prdReducted.append(t);
    }
    while (!prdReducted.empty())
        BottomUp(prdReducted.remove(), getKeepTree(), step);
    return true;
}

bool FSAState::RemainingBottomUp() {
    if (reductedOnStep > executedOnStep && getBottomUp() && newState().filled() == 1) {
        executedOnStep = step;
        bottomUp(newState().at(0));
    }
    return true;
}

bool FSAState::onSemanticCheck(FSATokenNode& tn) {
    if (!getSemCheck())
        return true;
    untyped_action action = tn.semanticAction();
    if (!action)
        return true;
    try {
        call(action, 2, &tn);
        return !tn.release;
    } catch (ParseError& e) {
        if (e._stop)
            _finished = true;
        return !e._reject;
    }
}

bool FSAState::onBottomUp(FSATokenNode& tn) {
    if (!getBottomUp())
        return true;
    return visit_node(tn, 1);
}

bool FSAState::onTopDown(FSATokenNode& tn) {
    return visit_node(tn, 3);
}

// A node's visit in a bottom-up (phase 1) or top-down (phase 3) traversal:
// the diagnostic of an error production it still owes, then its action. A
// ParseError from the action may stop the parse; it rejects the node unless
// it says otherwise.
bool FSAState::visit_node(FSATokenNode& tn, int phase) {
    if (tn._issue_error) {
        error_production(tn.symbol());
        tn._issue_error = false;
    }
    untyped_action action = tn.semanticAction();
    if (!action)
        return true;
    try {
        call(action, phase, &tn);
        return true;
    } catch (ParseError& e) {
        if (e._stop)
            _finished = true;
        return !e._reject;
    }
}

void FSAState::execute(untyped_action action, int phase, FSATokenNode* Father) {
    fsa_semantic_action fn = reinterpret_cast<fsa_semantic_action>(action);
    std::deque<FSATokenNode*>& children = Father->childs();
    fn(phase, children, *Father, static_cast<int>(children.size()), context);
}

// A ParseError is kept and passed on to the phase handler, which decides by
// its stop and reject flags; anything else is kept and stops the parse.
void FSAState::call(untyped_action action, int phase, FSATokenNode* Father) {
    try {
        execute(action, phase, Father);
    } catch (ParseError& e) {
        put_error(e);
        throw ParseError(e);
    } catch (capi::interfaces::_I_Errno& e) {
        put_error(e);
        _finished = true;
    } catch (std::exception& e) {
        put_error(e);
        _finished = true;
    } catch (...) {
        put_error(0, exe_msg, Semantic);
        _finished = true;
    }
}

void FSAState::swapToVector(SimpleVector<FSAStateNode*, 128>& a,
                            SimpleVector<FSAStateNode*, 128>& b) {
    b.clear();
    while (!a.empty())
        b.append(a.remove());
}

void FSAState::copyToVector(SimpleVector<FSAStateNode*, 128>& a,
                            SimpleVector<FSAStateNode*, 128>& b) {
    b.clear();
    for (int i = 0; i < a.filled(); ++i)
        b.append(a.at(i));
}

// Whether a head ends a whole parse: the finish node of a start symbol
// reduced from the root. A head that merely holds a node of the start
// symbol, fed where the symbol stands on a right-hand side, is unfinished.
bool FSAState::finishes(FSAStateNode* head) const {
    return head->_state == -1 && head->_parent == root && head->_token &&
           ptable.StartSymbol(head->_token->symbol());
}

// Splits the heads once into correct trees, the erroneous tree with the
// fewest errors (on a tie the head that stood last) and incomplete heads.
void FSAState::onFinishSplit() {
    if (_SplittedVectors)
        return;
    _SplittedVectors = true;
    if (!newState().empty()) {
        // Only the heads move on: the diagnostics of the last step (a
        // semantic action that stopped the parse among them) stay for the
        // caller to read.
        std::deque<ParseError> last_step;
        last_step.swap(_errors);
        onNext();
        _errors.swap(last_step);
    }
    SimpleVector<FSAStateNode*, 128> tmpErrors(128);
    int chosen = -1;
    int fewest = 0;
    SimpleVector<FSAStateNode*, 128>& heads = vState();
    while (!heads.empty()) {
        FSAStateNode* n = heads.remove();
        if (!n)
            continue;
        FSATokenNode* t = n->tokenNode();
        if (!t) {
            mark(n);
        } else if (!finishes(n)) {
            _incompletesVector.append(n);
        } else if (!t->error()) {
            _correctsVector.append(n);
        } else {
            if (chosen < 0 || t->_error < fewest) {
                chosen = tmpErrors.filled();
                fewest = t->_error;
            }
            tmpErrors.append(n);
        }
    }
    if (debug && disambiguate && !_correctsVector.empty() && !tmpErrors.empty())
        std::wcout << L"At Parse Finish() Found Erroneous Parse Trees : " << tmpErrors.filled()
                   << std::endl;
    while (!tmpErrors.empty()) {
        int position = tmpErrors.filled() - 1;
        FSAStateNode* n = tmpErrors.remove();
        if (position == chosen)
            _erroneousVector.append(n);
        else
            mark(n);
    }
}

int FSAState::onEOF() {
    onFinishSplit();
    _parsed = true;
    _eof = true;
    if (!_correctsVector.empty()) {
        copyToVector(_correctsVector, newState());
        mark(_erroneousVector);
        mark(_incompletesVector);
    } else if (!_erroneousVector.empty()) {
        copyToVector(_erroneousVector, newState());
        mark(_incompletesVector);
    } else {
        _parsed = false;
        swapToVector(_incompletesVector, newState());
        errors(newState(), -1);
    }
    UnProtect(snMarked);
    clearMarked();
    RemainingBottomUp();
    return _correctsVector.filled();
}

void FSAState::onParseIncomplete() {
    onFinishSplit();
    _parsed = false;
    _eof = true;
    swapToVector(_incompletesVector, newState());
    mark(_erroneousVector);
    mark(_correctsVector);
    UnProtect(snMarked);
    clearMarked();
    RemainingBottomUp();
}

FSATokenNode* FSAState::parseTree(int i) {
    if (i >= _correctsVector.filled())
        return nullptr;
    FSAStateNode* n = _correctsVector.at(i);
    return n ? n->tokenNode() : nullptr;
}

FSATokenNode* FSAState::errorTree(int i) {
    if (i >= _erroneousVector.filled())
        return nullptr;
    FSAStateNode* n = _erroneousVector.at(i);
    return n ? n->tokenNode() : nullptr;
}

bool FSAState::StateToNewState() {
    mark(newState());
    newState().clear();
    bool any = false;
    SimpleVector<FSAStateNode*, 128>& heads = vState();
    for (int i = 0; i < heads.filled(); ++i) {
        if (FSAStateNode* n = heads.at(i)) {
            newState().append(n);
            any = true;
        }
    }
    return any;
}

bool FSAState::rewind() {
    if (!root)
        return false;
    std::set<FSAStateNode*> parents;
    SimpleVector<FSAStateNode*, 128>& heads = vState();
    for (int i = 0; i < heads.filled(); ++i) {
        FSAStateNode* h = heads.at(i);
        if (!h || !h->_token || h->_state == root->_state || finishes(h) || !h->_parent)
            continue;
        FSAStateNode* p = h->_parent;
        if (!parents.insert(p).second && debug)
            std::wcout << L"Parent of " << h->_state << L" is Node  " << p->_state
                       << L" allready added in rewind" << std::endl;
    }
    for (FSAStateNode* p : parents) {
        p->_referenced = 0;
        newState().append(p);
    }
    if (parents.empty())
        return false;

    // The old heads leave the vector detached; those that did not become
    // heads again and that nothing refers to are reclaimed with the marked
    // nodes below (never the root, which the engine keeps).
    std::deque<FSAStateNode*> dropped;
    while (!heads.empty()) {
        FSAStateNode* h = heads.remove();
        if (!h)
            continue;
        if (h->_referenced > 0)
            std::wcout << L"Found Referenced Positive when expected 0 " << std::endl;
        h->UnProtect();
        h->_parent = nullptr;
        if (h != root && parents.count(h) == 0)
            dropped.push_back(h);
    }
    for (int i = 0; i < snMarked.filled(); ++i) {
        FSAStateNode* m = snMarked.at(i);
        if (!m)
            continue;
        m->_parent = nullptr;
        if (m->_referenced > 0) {
            std::wcout << L"Found Referenced Positive when expected 0 " << std::endl;
            m->_referenced = 0;
            m->UnProtect();
        }
    }
    // A marked node that has just become a head must not be reclaimed; its
    // condition, which lives one step like every other, goes all the same.
    SimpleVector<FSAStateNode*, 128> kept(128);
    while (!snMarked.empty()) {
        FSAStateNode* m = snMarked.remove();
        if (!m)
            continue;
        if (parents.count(m) == 0 && m != root)
            kept.append(m);
        else
            detach_condition(m);
    }
    while (!kept.empty())
        snMarked.append(kept.remove());
    for (FSAStateNode* h : dropped)
        snMarked.append(h);
    // A parent made a head again counts as its holders the nodes that still
    // name it their parent: another new head, or a node between one and it.
    // Left at 0, it would be reclaimed while still a parent and reused as a
    // new node, and a stack through it would then run in a circle.
    std::set<FSAStateNode*> walked;
    for (FSAStateNode* q : parents)
        for (FSAStateNode* n = q; n->_parent && walked.insert(n).second; n = n->_parent)
            if (parents.count(n->_parent) != 0)
                n->_parent->_referenced += 1;
    UnProtect(snMarked);
    clearMarked();
    switchActiveVector();
    return true;
}

void FSAState::put_error(ParseError& e) {
    _errors.push_back(e);
}

void FSAState::put_error(capi::interfaces::_I_Errno& e) {
    _errors.push_back(ParseError(0, e.describe().c_str(), Semantic, false, true));
}

void FSAState::put_error(std::exception& e) {
    _errors.push_back(ParseError(0, exception_text(e, std_msg).c_str(), Semantic, false, true));
}

void FSAState::put_error(int code, const wchar_t* text, int type) {
    _errors.push_back(ParseError(code, text, type, false, true));
}

int FSAState::error(int token) {
    int id = ptable.term_error(token);
    std::wstring text;
    if (id < 0) {
        if (const wchar_t* name = ptable.token(token)) {
            text = L"Unexpected: ";
            text += name;
            text += L". ";
        }
    } else if (const wchar_t* msg = ptable.msg_error(id)) {
        text = msg;
        text += L" ";
    }
    put_error(id, text.c_str(), Syntax);
    return id;
}

int FSAState::error(int state, int token) {
    _has_errors = true;
    std::wstring text;
    int id = ptable.specific_error(state, token);
    if (id >= 0) {
        if (const wchar_t* msg = ptable.msg_error(id))
            text = msg;
    } else {
        id = ptable.state_error(state);
        if (id >= 0) {
            if (const wchar_t* msg = ptable.msg_error(id)) {
                text = msg;
                text += L" ";
            }
        } else {
            id = -1;
        }
    }
    put_error(id, text.c_str(), Syntax);
    return id;
}

int FSAState::getMessageId(int state, int token) {
    int id = ptable.specific_error(state, token);
    return id >= 0 ? id : ptable.state_error(state);
}

int FSAState::UniqueStates(SimpleVector<FSAStateNode*, 128>& v, std::set<int>& us) {
    us.clear();
    for (int i = 0; i < v.filled(); ++i)
        if (FSAStateNode* n = v.at(i))
            us.insert(n->state());
    return static_cast<int>(us.size());
}

int FSAState::UniqueParentStates(SimpleVector<FSAStateNode*, 128>& v, std::set<int>& us) {
    us.clear();
    for (int i = 0; i < v.filled(); ++i) {
        FSAStateNode* n = v.at(i);
        if (!n)
            continue;
        while (n->hasLeftBrother() && n->parent())
            n = n->parent();
        if (n->parent())
            us.insert(n->parent()->state());
    }
    return static_cast<int>(us.size());
}

// The token's message first, then one message per distinct message id of
// the failed heads' states, in ascending order of id.
void FSAState::errors(SimpleVector<FSAStateNode*, 128>& heads, int token) {
    _has_errors = true;
    std::set<int> states;
    UniqueStates(heads, states);
    std::set<int> ids;
    for (int s : states) {
        int id = getMessageId(s, token);
        if (id >= 0)
            ids.insert(id);
    }
    int token_error = error(token);
    for (int id : ids) {
        if (id == token_error)
            continue;
        if (const wchar_t* msg = ptable.msg_error(id))
            put_error(id, msg, Syntax);
    }
}

int FSAState::error_production(int token) {
    _has_errors = true;
    std::wstring text;
    int id = ptable.production_error(token);
    if (id < 0) {
        if (const wchar_t* name = ptable.token(token)) {
            text = L"Reduced Error Production: ";
            text += name;
            text += L". ";
        }
    } else if (const wchar_t* msg = ptable.msg_error(id)) {
        text = msg;
        text += L" ";
    }
    put_error(id, text.c_str(), Syntax);
    return id;
}

} // namespace parsing
