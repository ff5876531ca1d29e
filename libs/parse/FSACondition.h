#ifndef PARSING_FSACONDITION_H
#define PARSING_FSACONDITION_H

#include <deque>
#include <map>
#include <set>
#include <utility>

#include "FSAStateNode.h"
#include "_I_Condition.h"

namespace parsing {

// Results of the add operations of FSACondition.
enum condition_status { FSA_WAIT = 1, FSA_BLOCKED = 2, FSA_SKIP = 3, FSA_RELEASED = 4 };

typedef std::pair<int, std::deque<FSATokenNode*>*> PAIR_ID_TOKEN;
typedef std::pair<int, FSATokenNode*> ID_TOKEN;

// The meeting place of include/exclude productions reduced from one state
// node within one step. Candidates (left sides) and deciding sides (right
// sides) are paired by the symbol they reduce. The object owns the candidate
// lists it allocates (all recorded in _created, freed only by clear(), so a
// list handed out by remHasEx stays valid); the token nodes are plain
// pointers that it neither counts nor frees.
class FSACondition : public _I_Condition {
public:
    std::deque<FSATokenNode*> _released;             // include candidates whose inclusion came
    std::deque<FSATokenNode*> _blocked;              // exclude candidates whose exclusion came
    std::deque<FSATokenNode*> _waiting;              // nothing adds to it
    std::set<int> isEx;                              // symbols whose excluding side was reduced
    std::set<int> isIn;                              // symbols whose including side was reduced
    std::map<int, std::deque<FSATokenNode*>*> hasEx; // waiting exclude candidates
    std::map<int, std::deque<FSATokenNode*>*> hasIn; // waiting include candidates
    std::deque<std::deque<FSATokenNode*>*> _created;
    bool _clear;                           // nothing held since construction or the last clear()
    std::map<int, FSATokenNode*> _reduced; // the engine's disambiguation memo per symbol

    FSACondition();
    ~FSACondition() override;

    int add__IsEx(FSATokenNode* tn);
    int add_HasEx(FSATokenNode* tn);
    int add__IsIn(FSATokenNode* tn);
    int add_HasIn(FSATokenNode* tn);
    int add_Reduced(FSATokenNode* tn);
    // Takes the waiting exclude candidates of symbol out of hasEx; the list
    // stays owned by this object. Null when none wait.
    std::deque<FSATokenNode*>* remHasEx(int symbol);
    void clear();

    // The last released or blocked node taken out; null when there is none.
    FSATokenNode* remReleased() { return take_last(_released); }
    FSATokenNode* remBlocked() { return take_last(_blocked); }
    int released() const { return static_cast<int>(_released.size()); }
    int blocked() const { return static_cast<int>(_blocked.size()); }

private:
    static FSATokenNode* take_last(std::deque<FSATokenNode*>& d) {
        if (d.empty())
            return nullptr;
        FSATokenNode* n = d.back();
        d.pop_back();
        return n;
    }
    std::deque<FSATokenNode*>* list_of(std::map<int, std::deque<FSATokenNode*>*>& m, int s);
    static int move_all(std::map<int, std::deque<FSATokenNode*>*>& m, int s,
                        std::deque<FSATokenNode*>& to);

    FSACondition(const FSACondition&) = delete;
    FSACondition& operator=(const FSACondition&) = delete;
};

} // namespace parsing

#endif
