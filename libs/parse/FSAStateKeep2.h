#ifndef PARSING_FSASTATEKEEP2_H
#define PARSING_FSASTATEKEEP2_H

namespace parsing {

class FSAStateNode;
class FSATokenNode;

// One entry of the engine's per-symbol reduction memo: the first node of a
// symbol reduced in a step, with its origin node. An entry whose step is not
// the current one counts as empty.
struct FSAStateKeep2 {
    int step;
    FSAStateNode* sn;
    FSATokenNode* tn;
    bool dirty; // set whenever the entry is written; nothing reads it

    FSAStateKeep2() : step(-1), sn(nullptr), tn(nullptr), dirty(false) {}
    ~FSAStateKeep2() {}
};

} // namespace parsing

#endif
