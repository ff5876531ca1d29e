#ifndef PARSING_I_CONDITION_H
#define PARSING_I_CONDITION_H

namespace parsing {

// The abstract include/exclude condition that a state node may own. The
// engine deletes a node's condition through this interface.
class _I_Condition {
public:
    _I_Condition() {}
    virtual ~_I_Condition() {}
};

} // namespace parsing

#endif
