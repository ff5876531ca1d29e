#ifndef PARSING_FSASTATENODE_H
#define PARSING_FSASTATENODE_H

#include <deque>
#include <iostream>
#include <string>

#include "Occurs.h"
#include "ParseAction.h"
#include "ReductionsTable.h"
#include "_I_Condition.h"

namespace parsing {

// A plain token record: symbol, terminal position, span and text. The engine
// keeps a pool of them; nothing in the engine fills that pool.
class FSAToken {
public:
    int _symbol;
    int _TokenIndex;
    int _from;
    int _to;

    FSAToken(const int& Symbol, const int& TokenIndex, const std::wstring& value)
        : _symbol(Symbol), _TokenIndex(TokenIndex), _from(0), _to(0), _value(value.c_str()) {}
    ~FSAToken() {}

    int TokenIndex() const { return _TokenIndex; }
    std::wstring& value() { return _value; }

private:
    std::wstring _value;
};

// A node of the parse forest: an input token or a reduced nonterminal, with
// the span of token numbers it covers, its text, its error weight and its
// children (the right-hand side in source order, or the alternatives of an
// ambiguous node). _referenced counts its holders (state nodes and parent
// token nodes); -1 while the node sits in the engine's free pool. The node
// never frees its children: the engine's pools do.
class FSATokenNode {
public:
    untyped_action __semanticAction; // unused: the action is reached through red
    short _prd_line;                 // unused: the line is reached through red
    bool _ambiguous;
    int _referenced;
    int step; // the step with which a bottom-up traversal last stamped it; -1: none
    bool release;
    bool original;
    bool valid;
    int _error;
    bool _issue_error;
    int _symbol;
    int _TokenIndex;
    std::wstring _value;
    int _from;
    int _to;
    bool BottomUpWait;
    reduction* red; // the production row of a nonterminal; not owned
    bool isReduction;

    FSATokenNode(int Symbol, int TIndex, const std::wstring& word, int tid)
        : __semanticAction(nullptr), _prd_line(-1) {
        setUp(Symbol, TIndex, word, tid);
    }
    ~FSATokenNode() {}

    // Sets up a new node or one taken from the pool (whose children the
    // engine has already released). The text is copied up to its first
    // null character.
    void setUp(int Symbol, int TIndex, const std::wstring& word, int tid) {
        _symbol = Symbol;
        _TokenIndex = TIndex;
        _from = _to = tid;
        _value.assign(word.c_str());
        BottomUpWait = false;
        _referenced = 0;
        step = -1;
        release = false;
        original = true;
        _error = 0;
        _issue_error = false;
        _ambiguous = false;
        valid = true;
        red = nullptr;
        isReduction = false;
    }

    int symbol() const { return _symbol; }
    bool symbolDefined() const { return true; }
    int TokenIndex() const { return _TokenIndex; }
    std::wstring* value() { return &_value; }
    std::wstring& wstr() { return _value; }
    int from() const { return _from; }
    int to() const { return _to; }
    void setFrom(int v) { _from = v; }
    void setTo(int v) { _to = v; }
    int referenced() const { return _referenced; }
    bool isOriginal() const { return original; }
    void setOriginal(bool _original) { original = _original; }
    // A negative weight counts as no error.
    bool error() const { return _error > 0; }
    int addError(int child_error) {
        _error += child_error;
        return _error;
    }
    untyped_action semanticAction() const { return red ? red->semanticAction : nullptr; }
    short prd_line() const { return red ? red->ProductionLine : static_cast<short>(-1); }

    int children() const { return static_cast<int>(_clds.size()); }
    std::deque<FSATokenNode*>& childs() { return _clds; }
    FSATokenNode* childAt(int i) const {
        return (i >= 0 && i < children()) ? _clds[static_cast<std::size_t>(i)] : nullptr;
    }
    void addChild(FSATokenNode* child) {
        child->_referenced += 1;
        _clds.push_back(child);
    }
    void insertChild(FSATokenNode* child) {
        child->_referenced += 1;
        _clds.push_front(child);
    }
    // Takes the last child off, one holder less; null when there is none.
    FSATokenNode* removeChild() {
        if (_clds.empty())
            return nullptr;
        FSATokenNode* c = _clds.back();
        _clds.pop_back();
        if (c)
            c->_referenced -= 1;
        return c;
    }

    // Takes the values of rc; keeps its own holders count and children.
    void CopyFrom(FSATokenNode* rc) {
        if (!rc)
            return;
        _ambiguous = rc->_ambiguous;
        step = rc->step;
        release = rc->release;
        original = rc->original;
        valid = rc->valid;
        _error = rc->_error;
        _issue_error = rc->_issue_error;
        red = rc->red;
        isReduction = rc->isReduction;
        BottomUpWait = rc->BottomUpWait;
        _symbol = rc->_symbol;
        _TokenIndex = rc->_TokenIndex;
        _from = rc->_from;
        _to = rc->_to;
        if (rc != this)
            _value.assign(rc->_value.c_str());
    }
    void Swap(FSATokenNode*) {}

    // Trace output on the wide standard output.
    void TokenPrint() { std::wcout << L"[ " << _symbol << L", " << _value.c_str() << L" ]"; }
    void printKeyValue() {
        std::wcout << L"(" << _from << L"-" << _to << L")";
        TokenPrint();
    }
    void print() {
        printKeyValue();
        std::wcout << L" -> ";
        for (FSATokenNode* c : _clds)
            if (c)
                c->printKeyValue();
    }
    void println() {
        print();
        std::wcout << std::endl;
    }
    void println(const wchar_t* hdr) {
        if (hdr)
            std::wcout << hdr;
        print();
        std::wcout << std::endl;
    }

protected:
    std::deque<FSATokenNode*> _clds;

private:
    FSATokenNode(const FSATokenNode&) = delete;
    FSATokenNode& operator=(const FSATokenNode&) = delete;
};

// A node of a parse stack: the NFA state one move reached, the node it
// started from and the token node it consumed. The stacks of all heads share
// their older nodes and form one tree. _referenced counts the state nodes
// that name this one as their parent; -1 while it sits in the free pool.
class FSAStateNode {
public:
    bool _protect; // a protected node is never reclaimed
    int _looped;   // pass number in the loop of occurs.id (1: first pass)
    occurs_value occurs;
    int _state; // 0 for the root, -1 for a finish node
    FSAStateNode* _parent;
    FSATokenNode* _token;
    bool _lBrother; // the node continues its parent's production
    int _referenced;
    int _step;                // the token number of the step that made it
    _I_Condition* _condition; // owned; deleted by the engine when the node is reclaimed

    FSAStateNode(FSATokenNode* inToken, FSAStateNode* Parent, ParseAction& PA, int _stp) {
        setUP(inToken, Parent, PA, _stp);
    }
    ~FSAStateNode() {}

    // Sets up a new node or one taken from the pool; reads only Do and value
    // of the action. The move codes that continue the parent's production
    // set the left-brother flag: the reduction walk follows it back to the
    // first symbol of the right-hand side.
    void setUP(FSATokenNode* inToken, FSAStateNode* Parent, ParseAction& PA, int _stp) {
        _protect = false;
        _looped = 0;
        _parent = Parent;
        _token = inToken;
        _lBrother = false;
        _referenced = 0;
        _step = _stp;
        _condition = nullptr;
        init_occurs();
        _state = PA.value.NextState;
        if (Parent) {
            switch (PA.Do) {
            case _SHIFT:
            case _GOTO:
            case _Push:
            case _LSHIFT:
            case _LGOTO:
            case _LBack:
            case _ShiftBack:
            case _GoBack:
                _lBrother = true;
                break;
            default:
                break;
            }
            Parent->_referenced += 1;
        }
        if (inToken)
            inToken->_referenced += 1;
    }
    void init_occurs() { occurs = occurs_value{0, -1, 0, 0, 0}; }

    int state() const { return _state; }
    FSAStateNode* parent() const { return _parent; }
    FSATokenNode* tokenNode() const { return _token; }
    bool hasLeftBrother() const { return _lBrother; }
    int step() const { return _step; }
    int referenced() const { return _referenced; }
    _I_Condition* condition() const { return _condition; }
    void setCondition(_I_Condition* _cond) { _condition = _cond; }
    bool Protect() {
        _protect = true;
        return true;
    }
    bool UnProtect() {
        _protect = false;
        return true;
    }
    bool Protected() const { return _protect; }
    bool symbolDefined() const { return _token != nullptr; }
    int symbol() const { return _token->symbol(); }

private:
    FSAStateNode(const FSAStateNode&) = delete;
    FSAStateNode& operator=(const FSAStateNode&) = delete;
};

} // namespace parsing

#endif
