#include "FSAState.h"

#include <iostream>

// Reductions of the engine: building a production's node, the category
// dispatch of include/exclude and word productions, and the local
// disambiguation of repeated reductions within one step.

namespace parsing {

bool FSAState::production(int redId, FSAStateNode& sn) {
    ReductionsTable* productions = ptable.data.reductions;
    if (!productions || redId < 0 || redId >= productions->size)
        throw ParseError(-1, L"Reductive state without a production.", Init, false, true);
    reduction& red = productions->table[redId];
    bool invalid = red.isCondition();
    mark(&sn);
    if (!invalid && !slr_follows_valid(red.state, red.id_pos, sn))
        return false;

    FSATokenNode& tn = createTokenNode(red.state, red.id_pos, std::wstring());
    tn.original = red.category == 0 || red.isWordRule() || red.ErrorProduction();
    if (red.ErrorProduction())
        tn._issue_error = true;
    tn.red = &red;

    // The walk collects the right-hand side from the head back to the first
    // node of the production; SwapToken puts each in front, so the children
    // end in source order. The parent of that first node is the origin.
    bool gather = !red.isRightSide();
    FSAStateNode* parent = nullptr;
    for (FSAStateNode* current = &sn; current;) {
        if (gather && current->_token) {
            if (current->_token->error())
                tn.addError(current->_token->_error);
            SwapToken(&tn, current->_token);
        }
        parent = current->_parent;
        if (!current->_lBrother)
            break;
        current = parent;
    }
    if (red.ErrorProduction())
        tn._error = tn._to - tn._from + 1;
    // A production of one symbol whose head started it: the node it consumed
    // was fed at the origin in this step.
    FSATokenNode* source = sn._lBrother ? nullptr : sn._token;
    if (!invalid)
        invalid = InvalidCycle(&tn) || derives_itself(&tn, source);
    if (invalid) {
        collect(&tn);
        return true;
    }
    if (debug)
        tn.println(L"Reducted:\n");
    if (!onSemanticCheck(tn)) {
        collect(&tn);
        return false;
    }
    if (source)
        unit_sources[&tn] = source;
    // A node of the start symbol is a whole parse only when its production
    // began at the root, so that it spans the input from the first token (or
    // on a stack that a rewind cut off below, where no origin is left to
    // feed it to). Elsewhere the start symbol stands on a right-hand side,
    // and its node is fed on like any other.
    bool whole = ptable.StartSymbol(tn._symbol) && (parent == root || !parent);
    if (!whole) {
        addReducted(red, parent, &tn);
        return true;
    }
    newState().append(createFinishNode(tn));
    if (debug) {
        const wchar_t* name = ptable.token(tn._symbol);
        std::wcout << L"\n<<<<Parsed>>>> " << (name ? name : L"") << L"\n";
        tn.println();
    }
    // Where the start symbol is a left corner of itself (S -> S a), a whole
    // parse goes on from the root as well. The node fed there is a copy:
    // the disambiguation may move another reading's content into the node
    // it is fed, and a finished tree must keep its own.
    if (parent && ptable.actions(parent->_state, tn._symbol, tn._TokenIndex, start_rows) > 0) {
        FSATokenNode* fed = copy_of(tn);
        if (source)
            unit_sources[fed] = source;
        addReducted(red, parent, fed);
    }
    return true;
}

FSATokenNode* FSAState::copy_of(FSATokenNode& tn) {
    FSATokenNode& n = createTokenNode(tn._symbol, tn._TokenIndex, tn._value);
    n.CopyFrom(&tn);
    for (FSATokenNode* c : tn.childs())
        if (c)
            n.addChild(c);
    return &n;
}

void FSAState::SwapToken(FSATokenNode* parent, FSATokenNode* tn) {
    if (tn->_from < parent->_from)
        parent->_from = tn->_from;
    if (tn->_to > parent->_to)
        parent->_to = tn->_to;
    if (getSwapValue())
        parent->_value.insert(0, tn->_value);
    if (tn->children() == 0 || tn->original) {
        parent->insertChild(tn);
        return;
    }
    // A node of a production that is not original is replaced by its
    // children, which keep their order.
    for (int i = tn->children() - 1; i >= 0; --i)
        if (FSATokenNode* c = tn->childAt(i))
            parent->insertChild(c);
    mark(tn);
}

bool FSAState::InvalidCycle(FSATokenNode* tn) {
    if (!tn || tn->children() != 1)
        return false;
    FSATokenNode* c = tn->childAt(0);
    return c && c->_symbol == tn->_symbol;
}

// A unit reduction whose symbol already stands in the chain of unit
// reductions it was derived from in this step is a cyclic derivation
// (A -> B -> A): fed, it would be reduced again and again without end,
// or the disambiguation would make a node its own descendant. Such chains
// are the only way a step derives a symbol from itself, since a longer
// production made in the step consumed its earlier symbols in earlier steps.
bool FSAState::derives_itself(FSATokenNode* tn, FSATokenNode* source) {
    // Each entry names a node older than itself; the bound only guards
    // against bookkeeping faults.
    std::size_t links = unit_sources.size() + 1;
    for (FSATokenNode* n = source; n && links > 0; --links) {
        if (n->_symbol == tn->_symbol)
            return true;
        auto it = unit_sources.find(n);
        n = it == unit_sources.end() ? nullptr : it->second;
    }
    return false;
}

// Whether target lies below top. Nodes of earlier steps never gain children
// later, so they cannot hold a node of this step and the walk passes them by.
bool FSAState::made_this_step_below(FSATokenNode* top, FSATokenNode* target) {
    walk_pending.clear();
    walk_seen.clear();
    walk_pending.push_back(top);
    while (!walk_pending.empty()) {
        FSATokenNode* n = walk_pending.back();
        walk_pending.pop_back();
        for (FSATokenNode* c : n->childs()) {
            if (c == target)
                return true;
            if (c && c->_to == tid() && walk_seen.insert(c).second)
                walk_pending.push_back(c);
        }
    }
    return false;
}

int FSAState::addReducted(reduction& red, FSAStateNode* snn, FSATokenNode* tn) {
    if (red.normalReduction() || red.isWordRule()) {
        if (red.isWordRule())
            addWord(tn->symbol());
        int rc = putReducted(snn, tn);
        if (rc < 0)
            mark(tn); // no origin to feed it to: reclaimed at the end of the step
        return rc;
    }
    // The conditional categories meet at the origin's condition; without an
    // origin there is nothing to meet at, and the node is dropped.
    if (!snn) {
        mark(tn);
        return 0;
    }
    bool had_condition = snn->condition() != nullptr;
    FSACondition* c = getInstantiatedCondition(snn);
    if (!had_condition)
        mark(snn);

    if (red.hasExcludeWord() || red.hasIncludeWord()) {
        bool reduced = WordReduced(red.dependsOn);
        bool accepted = red.hasExcludeWord() ? !reduced : reduced;
        if (debug)
            std::wcout << (accepted ? L"World Rule Accepted:\n " : L"World Rule Rejected:\n ");
        if (accepted)
            putReducted(snn, tn);
        else
            mark(tn);
    } else if (red.isLeftExlude()) {
        if (c->add_HasEx(tn) != FSA_BLOCKED)
            addExWaiting(snn, tn);
        mark(tn);
    } else if (red.isRightExclude()) {
        if (c->add__IsEx(tn) == FSA_BLOCKED) {
            int n = c->blocked();
            for (int i = 0; i < n; ++i)
                mark(c->remBlocked());
        }
        mark(tn);
    } else if (red.isLeftInclude()) {
        if (c->add_HasIn(tn) == FSA_RELEASED)
            putReducted(snn, tn);
        mark(tn);
    } else if (red.isRightInclude()) {
        if (c->add__IsIn(tn) == FSA_RELEASED) {
            int n = c->released();
            for (int i = 0; i < n; ++i)
                putReducted(snn, c->remReleased());
        }
        mark(tn);
    } else {
        mark(tn);
    }
    return 0;
}

void FSAState::addExWaiting(FSAStateNode* sn, FSATokenNode* tn) {
    int index = tn->_TokenIndex;
    if (index < 0)
        index = ptable.TokenIndex(tn->symbol());
    INT_PAIR key(-sn->_step, -ptable.IndexedLevel(index));
    exWaiting.insert(STATE_PRIORITY(key, STATE_TOKEN(sn, tn)));
}

bool FSAState::releaseOne() {
    bool found = false;
    while (!found && !exWaiting.empty()) {
        auto first = exWaiting.begin();
        FSAStateNode* sn = first->second.first;
        FSATokenNode* tn = first->second.second;
        exWaiting.erase(first);
        if (!sn) {
            std::wcout << L"exWaiting Returned Null State Node\n";
        } else if (!sn->condition()) {
            std::wcout << L"exWaiting Returned Null Condition on State\n";
        } else if (!tn) {
            std::wcout << L"exWaiting Returned Null Token Node\n";
        } else {
            // A missing list: a right exclude blocked the group, or an
            // earlier entry of the same group released it.
            FSACondition* c = static_cast<FSACondition*>(sn->condition());
            std::deque<FSATokenNode*>* group = c->remHasEx(tn->symbol());
            while (group && !group->empty()) {
                FSATokenNode* n = group->front();
                group->pop_front();
                if (!n)
                    continue;
                found = true;
                putReducted(sn, n);
            }
        }
    }
    return found;
}

// The first reduction of a symbol in a step is kept in the memo at its
// terminal position; a second origin node of the same symbol keeps its own
// in its condition. A symbol without a terminal position has no memo entry
// and is kept in its origin's condition only.
FSATokenNode* FSAState::findOTN(FSAStateNode* snn, FSATokenNode* tn) {
    int symbol = tn->_symbol;
    int index = tn->_TokenIndex;
    if (index >= 0 && index < rds_size) {
        FSAStateKeep2& entry = rds[index];
        if (entry.step != step) {
            entry.step = step;
            entry.sn = snn;
            entry.tn = tn;
            entry.dirty = true;
            return nullptr;
        }
        if (snn == entry.sn)
            return entry.tn;
    }
    bool had_condition = snn->condition() != nullptr;
    FSACondition* c = getInstantiatedCondition(snn);
    if (!had_condition)
        mark(snn);
    auto it = c->_reduced.find(symbol);
    if (it != c->_reduced.end())
        return it->second;
    c->_reduced.insert(ID_TOKEN(symbol, tn));
    return nullptr;
}

int FSAState::putReducted(FSAStateNode* snn, FSATokenNode* tn) {
    if (!snn)
        return -1;
    FSATokenNode* otn = disambiguate ? findOTN(snn, tn) : nullptr;
    if (!otn) {
        stReducted.append(snn);
        prdReducted.append(tn);
        return 0;
    }
    if (otn == tn)
        return 0; // the same node offered again: it is queued already
    // otn is queued and may have been fed already: settle keeps it.
    settle(otn, tn, unambiguous);
    return 0;
}

int FSAState::putReducted_old(FSAStateNode* snn, FSATokenNode* tn) {
    if (!snn)
        return -1;
    if (!disambiguate) {
        stReducted.append(snn);
        prdReducted.append(tn);
        return 0;
    }
    bool had_condition = snn->condition() != nullptr;
    FSACondition* c = getInstantiatedCondition(snn);
    if (!had_condition)
        mark(snn);
    auto it = c->_reduced.find(tn->_symbol);
    if (it == c->_reduced.end()) {
        c->_reduced.insert(ID_TOKEN(tn->_symbol, tn));
        stReducted.append(snn);
        prdReducted.append(tn);
        return 0;
    }
    FSATokenNode* otn = it->second;
    if (otn == tn)
        return 0;
    if (debug)
        tn->println(L"\nPutReducted(): Check Disambiguate");
    settle(otn, tn, unambiguous && otn->prd_line() != tn->prd_line());
    return 0;
}

// Two nodes of one symbol reduced in one state: the one with fewer errors
// wins; between equals without errors, the production listed first wins when
// by_line says so, and otherwise both are kept as ambiguous readings. The
// earlier node otn keeps its identity: a winner's content moves into it.
void FSAState::settle(FSATokenNode* otn, FSATokenNode* tn, bool by_line) {
    // Taking tn's content into otn, or tn as a reading of otn, must not make
    // otn its own descendant: a tree that contains itself has no end.
    if (made_this_step_below(tn, otn)) {
        mark(tn);
        return;
    }
    if (otn->_error < tn->_error) {
        mark(tn);
    } else if (otn->_error > tn->_error) {
        replaceAfromB(otn, tn);
        mark(tn);
    } else if (otn->_error > 0) {
        mark(tn);
    } else if (by_line) {
        if (otn->prd_line() > tn->prd_line())
            replaceAfromB(otn, tn);
        mark(tn);
    } else if (otn->_ambiguous && otn->step == tn->step) {
        add_as_ambiguous_child(otn, tn);
    } else {
        FSATokenNode* new_child = createForAmbiguous(tn);
        new_child->CopyFrom(otn);
        SwapChildrens(otn, new_child);
        otn->_ambiguous = true;
        add_as_ambiguous_child(otn, new_child);
        add_as_ambiguous_child(otn, tn);
    }
}

FSATokenNode* FSAState::createForAmbiguous(FSATokenNode* child) {
    FSATokenNode& n = createTokenNode(child->_symbol, child->_TokenIndex, child->_value);
    n.CopyFrom(child);
    n._ambiguous = true;
    n._error = child->_error;
    return &n;
}

void FSAState::add_as_ambiguous_child(FSATokenNode* a_tn, FSATokenNode* b_tn) {
    a_tn->_ambiguous = true;
    a_tn->addChild(b_tn);
}

void FSAState::SwapChildrens(FSATokenNode* a_tn, FSATokenNode* b_tn) {
    if (!a_tn || !b_tn)
        return;
    std::deque<FSATokenNode*> from_a;
    std::deque<FSATokenNode*> from_b;
    while (a_tn->children() > 0)
        if (FSATokenNode* c = a_tn->removeChild())
            from_a.push_front(c);
    while (b_tn->children() > 0)
        if (FSATokenNode* c = b_tn->removeChild())
            from_b.push_front(c);
    for (FSATokenNode* c : from_b)
        a_tn->addChild(c);
    for (FSATokenNode* c : from_a)
        b_tn->addChild(c);
}

void FSAState::SwapValues(FSATokenNode* a_tn, FSATokenNode* b_tn) {
    if (a_tn)
        a_tn->CopyFrom(b_tn);
}

void FSAState::replaceAfromB(FSATokenNode* a_tn, FSATokenNode* b_tn) {
    SwapChildrens(a_tn, b_tn);
    SwapValues(a_tn, b_tn);
}

} // namespace parsing
