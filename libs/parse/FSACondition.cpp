#include "FSACondition.h"

namespace parsing {

FSACondition::FSACondition() : _clear(true) {}

FSACondition::~FSACondition() {
    clear();
}

// The list of symbol s in m, made (and recorded as owned) on first use.
std::deque<FSATokenNode*>* FSACondition::list_of(std::map<int, std::deque<FSATokenNode*>*>& m,
                                                 int s) {
    auto it = m.find(s);
    if (it != m.end())
        return it->second;
    _created.push_back(nullptr);
    std::deque<FSATokenNode*>* list = new std::deque<FSATokenNode*>();
    _created.back() = list;
    m.insert(PAIR_ID_TOKEN(s, list));
    return list;
}

// Moves the non-null candidates of s, front first, to the end of `to` and
// drops the entry of s (the list itself stays in _created). The number moved.
int FSACondition::move_all(std::map<int, std::deque<FSATokenNode*>*>& m, int s,
                           std::deque<FSATokenNode*>& to) {
    auto it = m.find(s);
    if (it == m.end())
        return 0;
    std::deque<FSATokenNode*>* list = it->second;
    int moved = 0;
    while (list && !list->empty()) {
        FSATokenNode* n = list->front();
        list->pop_front();
        if (n) {
            to.push_back(n);
            ++moved;
        }
    }
    m.erase(it);
    return moved;
}

int FSACondition::add_HasEx(FSATokenNode* tn) {
    _clear = false;
    if (!tn)
        return FSA_WAIT;
    int s = tn->symbol();
    if (isEx.count(s))
        return FSA_BLOCKED;
    list_of(hasEx, s)->push_back(tn);
    return FSA_WAIT;
}

int FSACondition::add__IsEx(FSATokenNode* tn) {
    _clear = false;
    if (!tn)
        return FSA_WAIT;
    int s = tn->symbol();
    isEx.insert(s);
    return move_all(hasEx, s, _blocked) > 0 ? FSA_BLOCKED : FSA_WAIT;
}

int FSACondition::add_HasIn(FSATokenNode* tn) {
    _clear = false;
    if (!tn)
        return FSA_WAIT;
    int s = tn->symbol();
    if (isIn.count(s))
        return FSA_RELEASED;
    list_of(hasIn, s)->push_back(tn);
    return FSA_WAIT;
}

int FSACondition::add__IsIn(FSATokenNode* tn) {
    _clear = false;
    if (!tn)
        return FSA_WAIT;
    int s = tn->symbol();
    isIn.insert(s);
    return move_all(hasIn, s, _released) > 0 ? FSA_RELEASED : FSA_WAIT;
}

int FSACondition::add_Reduced(FSATokenNode* tn) {
    _clear = false;
    if (!tn)
        return FSA_WAIT;
    int s = tn->symbol();
    auto it = _reduced.find(s);
    if (it == _reduced.end()) {
        _reduced.insert(ID_TOKEN(s, tn));
        return FSA_RELEASED;
    }
    FSATokenNode* o = it->second;
    if (o && o->_error > tn->_error)
        o->Swap(tn);
    return FSA_BLOCKED;
}

std::deque<FSATokenNode*>* FSACondition::remHasEx(int symbol) {
    auto it = hasEx.find(symbol);
    if (it == hasEx.end())
        return nullptr;
    std::deque<FSATokenNode*>* list = it->second;
    hasEx.erase(it);
    return list;
}

void FSACondition::clear() {
    if (_clear)
        return;
    _released.clear();
    _blocked.clear();
    _waiting.clear();
    isEx.clear();
    isIn.clear();
    hasEx.clear();
    hasIn.clear();
    _reduced.clear();
    while (!_created.empty()) {
        delete _created.back();
        _created.pop_back();
    }
    _clear = true;
}

} // namespace parsing
