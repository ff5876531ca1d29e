#ifndef PARSING_P_ENTRY_H
#define PARSING_P_ENTRY_H

#include <string>

namespace parsing {

// One entry of the parser's stack, and the record handed to semantic actions.
// The values are owned by the stack entry that holds them; the parser takes
// them back when it pops the entry (it reuses or deletes them). A shifted
// token's synthesized value is a heap string holding its text; a reduced
// entry's value is null unless its semantic action stored one there, which
// must then come from new std::wstring.
struct p_entry {
    int state = 0;
    int token = 0;
    int childs = 0;     // right-hand symbols of the reduction that made the entry
    int all_childs = 0; // nothing sets it
    std::wstring* synthesized = nullptr;
    std::wstring* inherited = nullptr; // nothing sets it

    std::wstring* Synthesized() const { return synthesized; }
    std::wstring* Inherited() const { return inherited; }
    // A shallow copy: the values stay owned by whichever entry is kept.
    void copyFrom(const p_entry& other) { *this = other; }
};

} // namespace parsing

#endif
