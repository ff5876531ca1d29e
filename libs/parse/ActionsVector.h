#ifndef PARSING_ACTIONSVECTOR_H
#define PARSING_ACTIONSVECTOR_H

#include "ParseAction.h"

namespace parsing {

// The moves of one head on one symbol. The engine keeps one and refills it
// for every lookup: clear() keeps the storage, append() doubles it when full,
// so after the first lookups nothing is allocated.
class ActionsVector {
public:
    int size;    // capacity
    int _filled; // entries in use
    ParseAction* buffer;

    explicit ActionsVector(int in_size);
    ~ActionsVector();

    int filled() const { return _filled; }
    // Throws "Index Out of Bounds on Actions Vector." outside 0..filled()-1.
    // The reference stays valid until an append grows the buffer.
    ParseAction& action(int index);
    int clear();
    int append(ParseAction& the_action);
    int append(ActionType Do, Action value, int onToken, int onState);
    int resize();

private:
    ActionsVector(const ActionsVector&) = delete;
    ActionsVector& operator=(const ActionsVector&) = delete;
};

} // namespace parsing

#endif
