#include "FSAState.h"

#include <cwchar>
#include <iostream>
#include <memory>

// The engine object: construction, teardown, the pools of state nodes, token
// nodes, token records and conditions, marking and reclamation.

namespace parsing {

FSAState::FSAState(FSAParsingTable& in_ptable, FSAProxy* _proxy, void* in_context)
    : cndDelete(128), cndMarked(128), root(nullptr), ptable(in_ptable), actionsVector(32),
      aVector(128), bVector(128), _erroneousVector(128), _correctsVector(128),
      _incompletesVector(128), snMarked(128), tnMarked(128), snDelete(128), tnDelete(128),
      tkDelete(128), prdReducted(128), stReducted(128), context(in_context), proxy(_proxy),
      snUnMoved(128), rds(nullptr), tnBuffered(128), tnStacked(128), rds_size(0), start_rows(8) {
    try {
        init();
    } catch (...) {
        delete[] rds;
        rds = nullptr;
        free_remaining();
        throw;
    }
    actions_time = 0;
    slr_search_time = 0;
}

void FSAState::init() {
    SwapValue = true;
    step = reductedOnStep = executedOnStep = -1;
    _eof = _has_errors = _finished = _SplittedVectors = false;
    _semCheck = false;
    _BottomUp = true;
    _TopDown = false;
    _BottomUp2 = false;
    debug = false;
    snCounter = tnCounter = tkCounter = cndCounter = 0;
    // The counters are 0 and step is -1 here, so the root is stamped 0 and
    // counted as the first state node.
    root = createRoot();
    aIsActive = true;
    bIsActive = false;
    newState().append(root);
    std::wcsncpy(std_msg, L"Parser Error", 31);
    std_msg[31] = L'\0';
    std::wcsncpy(exe_msg, L"Exception on Semantic Action", 127);
    exe_msg[127] = L'\0';
    _parsed = false;
    _SplittedVectors = false;
    ignore = false;
    increase = true;
    issue_errors = true;
    disambiguate = ptable.data.disambiguate;
    unambiguous = ptable.data.unambiguous;
    conds = 0;
    _peeked_at = 0;
    _peek_ranged = 0;
    slr_follows = ptable.data.slr_follows;
    if (!rds) {
        int n = ptable.data.terminals ? ptable.data.terminals->size : 0;
        if (n < 0)
            n = 0;
        rds = new FSAStateKeep2[static_cast<std::size_t>(n)];
        rds_size = n;
    }
}

FSAState::~FSAState() {
    // A head already in the pool (count -1) must not be released again, also
    // when it stands in both vectors.
    SimpleVector<FSAStateNode*, 128>* vectors[2] = {&newState(), &vState()};
    for (SimpleVector<FSAStateNode*, 128>* v : vectors) {
        while (!v->empty()) {
            FSAStateNode* n = v->remove();
            if (!n)
                continue;
            if (n->_referenced != -1)
                n->_referenced = 0;
            n->UnProtect();
            collect(n);
        }
    }
    clear();
    delete[] rds;
    rds = nullptr;
    free_remaining();
}

// Four lines of the statistics report: what is allocated now. The two "ALL"
// lines show the number 3 and leave the conditions out of their bytes.
void FSAState::report(bool created) {
    long long S = static_cast<long long>(snCounter) * static_cast<long long>(sizeof(FSAStateNode));
    long long T = static_cast<long long>(tnCounter) * static_cast<long long>(sizeof(FSATokenNode));
    long long K = static_cast<long long>(tkCounter) * static_cast<long long>(sizeof(FSAToken));
    const wchar_t* all = L"ALL                   ";
    if (created) {
        std::wcerr << L"CREATED STATE NODES " << snCounter << L" Bytes:" << S << std::endl;
        std::wcerr << L"CREATED TOKEN NODES " << tnCounter << L" Bytes:" << T << std::endl;
        std::wcerr << L"CREATED      TOKENS " << tkCounter << L" Bytes:" << K << std::endl;
        std::wcerr << all << 3 << L" Bytes:" << S + T + K << std::endl;
        return;
    }
    long long D = static_cast<long long>(conds) * static_cast<long long>(sizeof(FSACondition));
    std::wcerr << L"UNCLEARED STATE NODES " << snCounter << L" Bytes:" << S << std::endl;
    std::wcerr << L"UNCLEARED CONDITIONS  " << conds << L" Bytes:" << D << std::endl;
    std::wcerr << L"UNCLEARED TOKEN NODES " << tnCounter << L" Bytes:" << T << std::endl;
    std::wcerr << L"UNCLEARED      TOKENS " << tkCounter << L" Bytes:" << K << std::endl;
    std::wcerr << all << 3 << L" Bytes:" << S + T + K << std::endl;
}

void FSAState::clear() {
    tnBuffered.clear();
    tnStacked.clear();
    if (debug)
        report(true);
    UnProtect(snMarked);
    clearMarked();
    while (!snDelete.empty()) {
        FSAStateNode* n = snDelete.remove();
        if (n && allStateNodes.erase(n)) {
            delete n;
            --snCounter;
        }
    }
    clearTokensBuffer(0);
    while (!tkDelete.empty()) {
        FSAToken* k = tkDelete.remove();
        if (k && allTokens.erase(k)) {
            delete k;
            --tkCounter;
        }
    }
    aWords.clear();
    bWords.clear();
    if (debug)
        report(false);
}

// Frees what no pool held at teardown: parse trees, the heads kept as results,
// heads dropped by a rewind, and their conditions; also conditions left in
// the condition pool. Each object is deleted once.
void FSAState::free_remaining() {
    std::set<_I_Condition*> conditions;
    for (FSAStateNode* n : allStateNodes)
        if (n->_condition)
            conditions.insert(n->_condition);
    while (!cndDelete.empty()) {
        FSACondition* c = cndDelete.remove();
        if (c)
            conditions.insert(c);
    }
    for (_I_Condition* c : conditions)
        delete c;
    for (FSAStateNode* n : allStateNodes)
        delete n;
    allStateNodes.clear();
    for (FSATokenNode* n : allTokenNodes)
        delete n;
    allTokenNodes.clear();
    for (FSAToken* k : allTokens)
        delete k;
    allTokens.clear();
}

FSAStateNode& FSAState::createStateNode(FSAStateNode* sn, FSATokenNode* tn, ParseAction& PA) {
    FSAStateNode* n = nullptr;
    while (!n && !snDelete.empty())
        n = snDelete.remove();
    if (n) {
        n->setUP(tn, sn, PA, tid());
        return *n;
    }
    allStateNodes.reserve(allStateNodes.size() + 1);
    n = new FSAStateNode(tn, sn, PA, tid());
    allStateNodes.insert(n);
    ++snCounter;
    return *n;
}

FSAStateNode* FSAState::createRoot() {
    ParseAction PA{};
    PA.Do = _SHIFTDOWN;
    PA.value.NextState = 0;
    return &createStateNode(nullptr, nullptr, PA);
}

FSAStateNode* FSAState::createFinishNode(FSATokenNode& tn) {
    ParseAction PA{};
    PA.Do = _SHIFTDOWN;
    PA.value.NextState = -1;
    return &createStateNode(root, &tn, PA);
}

// A pooled token node keeps its children until it is taken out again; they
// are released here, last child first, so a subtree returns to the pool one
// level at a time.
FSATokenNode* FSAState::removeNotNULLTokenNode() {
    FSATokenNode* n = nullptr;
    while (!n && !tnDelete.empty())
        n = tnDelete.remove();
    if (!n)
        return nullptr;
    while (n->children() > 0) {
        FSATokenNode* c = n->removeChild();
        if (c)
            collect(c);
    }
    return n;
}

void FSAState::clearTokensBuffer(int keepSize) {
    while (!tnDelete.empty() && tnDelete.filled() >= keepSize) {
        FSATokenNode* n = removeNotNULLTokenNode();
        if (n && allTokenNodes.erase(n)) {
            delete n;
            --tnCounter;
        }
    }
}

FSATokenNode& FSAState::createTokenNode(const int& token, const int& posOfKey,
                                        const std::wstring& word) {
    FSATokenNode* n = removeNotNULLTokenNode();
    if (n) {
        n->setUp(token, posOfKey, word, tid());
    } else {
        allTokenNodes.reserve(allTokenNodes.size() + 1);
        n = new FSATokenNode(token, posOfKey, word, tid());
        allTokenNodes.insert(n);
        ++tnCounter;
    }
    n->step = -1;
    n->_from = n->_to = tid();
    if (!unit_sources.empty())
        unit_sources.erase(n); // what a reused node was derived from is history
    return *n;
}

FSAToken& FSAState::createToken(const int& token, const int& TokenIndex, const std::wstring& word) {
    FSAToken* k = nullptr;
    while (!k && !tkDelete.empty())
        k = tkDelete.remove();
    if (k) {
        k->_symbol = token;
        k->_TokenIndex = TokenIndex;
        k->_from = k->_to = 0;
        k->value().assign(word.c_str());
        return *k;
    }
    allTokens.reserve(allTokens.size() + 1);
    k = new FSAToken(token, TokenIndex, word);
    allTokens.insert(k);
    ++tkCounter;
    return *k;
}

FSACondition* FSAState::createFSACondition() {
    FSACondition* c = nullptr;
    while (!c && !cndDelete.empty())
        c = cndDelete.remove();
    if (c) {
        c->clear();
        return c;
    }
    c = new FSACondition();
    ++cndCounter;
    return c;
}

// Every condition the engine attaches is an FSACondition.
FSACondition* FSAState::getInstantiatedCondition(FSAStateNode* sn) {
    if (!sn)
        return nullptr;
    if (!sn->condition()) {
        sn->setCondition(createFSACondition());
        ++conds;
    }
    return static_cast<FSACondition*>(sn->condition());
}

void FSAState::mark(FSAStateNode* sn) {
    snMarked.append(sn);
}

void FSAState::mark(FSATokenNode* tn) {
    tnMarked.append(tn);
}

void FSAState::mark(SimpleVector<FSAStateNode*, 128>& v) {
    while (!v.empty())
        snMarked.append(v.remove());
}

void FSAState::detach_condition(FSAStateNode* n) {
    _I_Condition* c = n->condition();
    if (!c)
        return;
    n->setCondition(nullptr);
    delete c;
    --conds;
}

int FSAState::collect(FSATokenNode* tn) {
    if (tn && tn->_referenced == 0) {
        tn->_referenced = -1;
        tnDelete.append(tn);
    }
    return tnDelete.filled();
}

// Walks toward the root without recursion. A parent's count is lowered
// before its own tests, so a parent that is protected or still has other
// children keeps the lowered count and stays.
void FSAState::collect(FSAStateNode* in_sn) {
    FSAStateNode* n = in_sn;
    while (n && n->_referenced == 0 && !n->_protect) {
        detach_condition(n);
        n->_referenced = -1;
        if (FSATokenNode* t = n->_token) {
            t->_referenced -= 1;
            collect(t);
            n->_token = nullptr;
        }
        snDelete.append(n);
        if (!n->_parent)
            break;
        n->_parent->_referenced -= 1;
        n = n->_parent;
    }
}

int FSAState::collect(FSACondition* cnd) {
    if (cnd)
        cndDelete.append(cnd);
    return cndDelete.filled();
}

void FSAState::__collect(FSAStateNode* sn, std::stack<FSAStateNode*>& s) {
    if (!sn || sn->_referenced != 0 || sn->_protect)
        return;
    detach_condition(sn);
    sn->_referenced = -1;
    if (FSATokenNode* t = sn->_token) {
        t->_referenced -= 1;
        collect(t);
        sn->_token = nullptr;
    }
    snDelete.append(sn);
    if (FSAStateNode* p = sn->_parent) {
        p->_referenced -= 1;
        if (debug)
            std::wcerr << L" Collect will Clear Father State Node" << std::endl;
        s.push(p);
    }
}

void FSAState::collect_old(FSAStateNode* sn) {
    std::stack<FSAStateNode*> s;
    __collect(sn, s);
    if (!s.empty())
        collect(s.top());
}

// Ends every step: the conditions of all marked state nodes go, protected or
// not; state nodes are reclaimed before token nodes, so a token node whose
// last holder is a marked state node is pooled through that holder.
void FSAState::clearMarked() {
    exWaiting.clear();
    while (!snMarked.empty()) {
        FSAStateNode* n = snMarked.remove();
        if (!n)
            continue;
        detach_condition(n);
        if (!n->Protected())
            collect(n);
    }
    while (!tnMarked.empty()) {
        FSATokenNode* t = tnMarked.remove();
        if (t)
            collect(t);
    }
}

bool FSAState::Protect(SimpleVector<FSAStateNode*, 128>& v) {
    for (int i = 0; i < v.filled(); ++i)
        if (FSAStateNode* n = v.at(i))
            n->Protect();
    return true;
}

bool FSAState::UnProtect(SimpleVector<FSAStateNode*, 128>& v) {
    for (int i = 0; i < v.filled(); ++i)
        if (FSAStateNode* n = v.at(i))
            n->UnProtect();
    return true;
}

} // namespace parsing
