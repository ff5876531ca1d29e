#ifndef PARSING_FSASTATE_H
#define PARSING_FSASTATE_H

#include <ctime>
#include <deque>
#include <exception>
#include <map>
#include <set>
#include <stack>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "ActionsVector.h"
#include "FSACondition.h"
#include "FSAParsingTable.h"
#include "FSAProxy.h"
#include "FSAStateKeep2.h"
#include "FSAStateNode.h"
#include "ParseError.h"
#include "SimpleVector.h"
#include "_I_Errno.h"

namespace parsing {

// An FSA semantic action: called with the phase (1 bottom-up, 2 check,
// 3 top-down), the children of the node whose production it belongs to, that
// node, the number of children and the engine's context; the result is
// ignored. Production rows keep it as untyped_action; the engine casts it
// back to this exact type before calling it.
typedef int (*fsa_semantic_action)(int phase, std::deque<FSATokenNode*>& children,
                                   FSATokenNode& parent, int count, void* context);

// The engine of the FSA parser: it moves every parse head of an NFA-shaped
// grammar one input token per step and builds the parse forest. The parse
// stacks of all heads are one tree of state nodes; the forest is made of
// token nodes. State nodes, token nodes, token records and conditions are
// made only here, recycled through free pools (a pooled node has the
// reference count -1) and deleted only by the engine. A caller that receives
// a parse tree does not delete it; the trees live as long as the engine.
// The engine refers to its table, its proxy and its context without owning
// them. One thread; not re-entrant.
class FSAState {
public:
    FSAState(FSAParsingTable& in_ptable, FSAProxy* _proxy, void* in_context);
    virtual ~FSAState();

    // The token number stamped into nodes made now: step + 1.
    int tid() const { return step + 1; }

    // The per-token step: true when heads are left for the next step and no
    // semantic action stopped the parse. t and word are read while it runs.
    bool actions(const int& t, const std::wstring& word);
    // The same step with its switches set for this call only.
    bool actions(const int& t, const std::wstring& word, bool tmp_ignore, bool tmp_increase,
                 bool tmp_issue_errors, bool sem_checks);
    bool available();
    bool slr_follows_valid(int Token, int TokenIndex, FSAStateNode& mv);

    bool getSemCheck() const { return _semCheck; }
    void setSemCheck(bool in_semCheck) { _semCheck = in_semCheck; }
    bool getBottomUp() const { return _BottomUp; }
    void setBottomUp(bool in_BottomUp) { _BottomUp = in_BottomUp; }
    bool getKeepTree() const { return _TopDown; }
    void setKeepTree(bool in_TopDown) { _TopDown = in_TopDown; }
    bool getSwapValue() const { return SwapValue; }
    void setSwapValue(bool in_SwapValue) { SwapValue = in_SwapValue; }
    void setDebug(bool in_debug) { debug = in_debug; }

    SimpleVector<FSAStateNode*, 128>& Erroneous() { return _erroneousVector; }
    SimpleVector<FSAStateNode*, 128>& Correct() { return _correctsVector; }
    SimpleVector<FSAStateNode*, 128>& Incompletes() { return _incompletesVector; }

    bool eqLoopSymbol(FSAStateNode* parent, int symbol);

    bool Protect(SimpleVector<FSAStateNode*, 128>& v);
    bool UnProtect(SimpleVector<FSAStateNode*, 128>& v);

    FSATokenNode* createForAmbiguous(FSATokenNode* child);
    void add_as_ambiguous_child(FSATokenNode* a_tn, FSATokenNode* b_tn);
    void replaceAfromB(FSATokenNode* a_tn, FSATokenNode* b_tn);
    void SwapChildrens(FSATokenNode* a_tn, FSATokenNode* b_tn);
    void SwapValues(FSATokenNode* a_tn, FSATokenNode* b_tn);
    bool all_released() const { return exWaiting.empty(); }

    bool BottomUp(FSATokenNode* root, bool keep, int step);
    bool TopDown(FSATokenNode* root, bool keep);
    bool bottomUp(FSAStateNode* sn);

    // End of the parse: at the end of input (the number of correct trees),
    // or when a step failed for good.
    int onEOF();
    void onParseIncomplete();
    bool parsed() const { return _parsed; }
    int parseTrees() const { return _correctsVector.filled(); }
    int errorTrees() const { return _erroneousVector.filled(); }
    FSATokenNode* parseTree(int i);
    FSATokenNode* errorTree(int i);
    bool StateToNewState();
    bool rewind();
    // A semantic action stopped the parse: every step fails from now on.
    bool stopped() const { return _finished; }

    std::deque<ParseError>& getErrors() { return _errors; }
    bool hasErrors() const { return _has_errors; }
    int UniqueStates(SimpleVector<FSAStateNode*, 128>& v, std::set<int>& us);
    int UniqueParentStates(SimpleVector<FSAStateNode*, 128>& v, std::set<int>& us);
    int getMessageId(int state, int token);

protected:
    typedef std::pair<int, int> INT_PAIR;
    typedef std::pair<FSAStateNode*, FSATokenNode*> STATE_TOKEN;
    typedef std::pair<INT_PAIR, STATE_TOKEN> STATE_PRIORITY;

    // The semantic phases and the action calls; a derived engine may
    // replace any of them.
    virtual bool onSemanticCheck(FSATokenNode& tn);
    virtual bool onBottomUp(FSATokenNode& tn);
    virtual bool onTopDown(FSATokenNode& tn);
    bool visit_node(FSATokenNode& tn, int phase);
    virtual void execute(untyped_action action, int phase, FSATokenNode* Father);
    virtual void call(untyped_action action, int phase, FSATokenNode* Father);

    bool SwapValue;
    bool _eof;
    wchar_t std_msg[32];
    wchar_t exe_msg[128];
    std::deque<ParseError> _errors; // the errors of the current step
    bool _has_errors;
    bool _finished;
    bool _semCheck;
    bool _BottomUp;
    bool _TopDown; // keep reduced subtrees whole (getKeepTree)
    bool _BottomUp2;
    // Left-exclude reductions waiting for release, keyed (-origin step,
    // -level of the symbol): the latest origin first, then the highest level.
    std::multimap<INT_PAIR, STATE_TOKEN> exWaiting;
    SimpleVector<FSACondition*, 32> cndDelete;
    SimpleVector<FSACondition*, 32> cndMarked;
    FSAStateNode* root;
    FSAParsingTable& ptable;
    ActionsVector actionsVector;
    bool aIsActive; // aVector and aWords are the current ones
    bool bIsActive;
    SimpleVector<FSAStateNode*, 128> aVector;
    SimpleVector<FSAStateNode*, 128> bVector;
    SimpleVector<FSAStateNode*, 128> _erroneousVector;
    SimpleVector<FSAStateNode*, 128> _correctsVector;
    SimpleVector<FSAStateNode*, 128> _incompletesVector;
    SimpleVector<FSAStateNode*, 128> snMarked;
    SimpleVector<FSATokenNode*, 128> tnMarked;
    SimpleVector<FSAStateNode*, 128> snDelete;
    SimpleVector<FSATokenNode*, 128> tnDelete;
    SimpleVector<FSAToken*, 128> tkDelete;
    // The reduction queue: reduced nodes and, at the same positions, the
    // state nodes where their productions began.
    SimpleVector<FSATokenNode*, 128> prdReducted;
    SimpleVector<FSAStateNode*, 128> stReducted;
    int snCounter;
    int tnCounter;
    int tkCounter;
    int cndCounter;
    bool debug;
    int step;
    int reductedOnStep;
    int executedOnStep;
    void* context;
    FSAProxy* proxy;
    std::set<int> aWords;
    std::set<int> bWords;
    bool _parsed;
    bool issue_errors;
    bool ignore;
    bool increase;
    bool disambiguate;
    int conds; // conditions attached to state nodes now
    bool _SplittedVectors;

public:
    SimpleVector<FSAStateNode*, 128> snUnMoved;
    clock_t actions_time;
    int _peeked_at;
    int _peek_ranged;
    bool unambiguous;
    bool slr_follows;

protected:
    FSAStateKeep2* rds; // one entry per symbol-table row
    SimpleVector<FSATokenNode*, 128> tnBuffered;
    SimpleVector<FSATokenNode*, 128> tnStacked;

public:
    int slr_search_time;

protected:
    // Lifecycle and pools.
    void init();
    FSAStateNode* createRoot();
    FSAStateNode* createFinishNode(FSATokenNode& tn);
    FSAStateNode& createStateNode(FSAStateNode* sn, FSATokenNode* tn, ParseAction& PA);
    FSATokenNode* removeNotNULLTokenNode();
    void clearTokensBuffer(int keepSize);
    void clear();

    // The step of one head on one symbol, and the look-ahead.
    bool actions(FSAStateNode& sn, FSATokenNode& tn, bool ignorable);
    bool RemainingBottomUp();
    int peek(int from_step);
    int peek(FSAStateNode& sn);
    int peek(FSAStateNode& sn, int offset);

    // Head vectors and word sets.
    SimpleVector<FSAStateNode*, 128>& vState() { return aIsActive ? aVector : bVector; }
    SimpleVector<FSAStateNode*, 128>& newState() { return aIsActive ? bVector : aVector; }
    void switchActiveVector();
    void SwapVectors();
    void onNext();
    std::set<int>& Words() { return aIsActive ? aWords : bWords; }
    std::set<int>& newWords() { return aIsActive ? bWords : aWords; }
    bool addIfWord(FSAToken* tn);
    bool addIfWord(FSATokenNode* tn);
    void addIfWordIndex(int token_index);
    bool addWord(int id);
    bool WordReduced(int id);

    // Head moves.
    FSAStateNode* moveTo(FSAStateNode* parent, FSATokenNode* tn, ParseAction& PA);
    FSAStateNode* LoopTo(FSAStateNode* parent, FSATokenNode* tn, ParseAction& PA);
    FSAStateNode* LoopBack(FSAStateNode* parent, FSATokenNode* tn, ParseAction& PA);
    FSAStateNode* GoBack(FSAStateNode* parent, FSATokenNode* tn, ParseAction& PA);
    FSAStateNode* loopPack(FSAStateNode* parent, FSATokenNode* tn, ParseAction& PA, int next);
    int nextLoop(FSAStateNode* parent);
    bool eqSymbol(FSAStateNode* parent, FSATokenNode* tn);
    bool eqLoopSymbol(FSAStateNode* parent, FSATokenNode* tn, int loopSymbol);

    // Other objects, marking and reclamation.
    FSATokenNode& createTokenNode(const int& token, const int& posOfKey, const std::wstring& word);
    FSAToken& createToken(const int& token, const int& TokenIndex, const std::wstring& word);
    FSACondition* createFSACondition();
    FSACondition* getInstantiatedCondition(FSAStateNode* sn);
    void mark(FSAStateNode* sn);
    void mark(FSATokenNode* tn);
    void mark(SimpleVector<FSAStateNode*, 128>& v);
    void collect(FSAStateNode* in_sn);
    int collect(FSATokenNode* tn);
    int collect(FSACondition* cnd);
    void __collect(FSAStateNode* sn, std::stack<FSAStateNode*>& s);
    void collect_old(FSAStateNode* sn);
    void clearMarked();

    // Reductions and disambiguation.
    bool production(int redId, FSAStateNode& sn);
    int addReducted(reduction& red, FSAStateNode* snn, FSATokenNode* tn);
    int putReducted(FSAStateNode* snn, FSATokenNode* tn);
    int putReducted_old(FSAStateNode* snn, FSATokenNode* tn);
    void settle(FSATokenNode* otn, FSATokenNode* tn, bool by_line);
    FSATokenNode* findOTN(FSAStateNode* snn, FSATokenNode* tn);
    void SwapToken(FSATokenNode* parent, FSATokenNode* tn);
    bool InvalidCycle(FSATokenNode* tn);
    bool releaseOne();
    void addExWaiting(FSAStateNode* sn, FSATokenNode* tn);

    // End of the parse.
    void onFinishSplit();
    void swapToVector(SimpleVector<FSAStateNode*, 128>& a, SimpleVector<FSAStateNode*, 128>& b);
    void copyToVector(SimpleVector<FSAStateNode*, 128>& a, SimpleVector<FSAStateNode*, 128>& b);

    // Diagnostics.
    int error(int token);
    int error(int state, int token);
    int error_production(int token);
    void errors(SimpleVector<FSAStateNode*, 128>& heads, int token);
    void put_error(ParseError& e);
    void put_error(capi::interfaces::_I_Errno& e);
    void put_error(std::exception& e);
    void put_error(int code, const wchar_t* text, int type);

private:
    // Every object the engine ever allocated and has not deleted, so that
    // teardown frees also those that no pool holds (trees, old heads).
    std::unordered_set<FSAStateNode*> allStateNodes;
    std::unordered_set<FSATokenNode*> allTokenNodes;
    std::unordered_set<FSAToken*> allTokens;
    int rds_size; // entries of rds: the symbol table's size at construction
    // Within one step, the node that each unit reduction consumed (a
    // production of one symbol, fed at the node its own production began
    // from). Its chains are the only way a step can derive a symbol from
    // itself; entries go when the step starts and when a node is reused.
    std::unordered_map<FSATokenNode*, FSATokenNode*> unit_sources;
    // The rows of the root's state for the start symbol, asked when a whole
    // parse is reduced (the step's own vector is in use then).
    ActionsVector start_rows;
    std::vector<FSAStateNode*> next_heads_guarded;
    std::vector<FSATokenNode*> walk_pending;
    std::unordered_set<FSATokenNode*> walk_seen;

    bool run_step(const int& t, const std::wstring& word);
    void abandon_step();
    void reclaim_keeping_next_heads();
    bool derives_itself(FSATokenNode* tn, FSATokenNode* source);
    FSATokenNode* copy_of(FSATokenNode& tn);
    bool finishes(FSAStateNode* head) const;
    bool made_this_step_below(FSATokenNode* top, FSATokenNode* target);
    void report(bool created);
    void forget_memo_of_step();
    void free_remaining();
    void step_trace(const int& t, const std::wstring& word);
    void reduction_trace(FSATokenNode* tnReducted, FSAStateNode* onReduct);
    void drop(FSAStateNode* mv);
    bool follow_rule_holds(follows_rule& fr, FSAStateNode& mv);
    void detach_condition(FSAStateNode* n);

    FSAState(const FSAState&) = delete;
    FSAState& operator=(const FSAState&) = delete;
};

} // namespace parsing

#endif
