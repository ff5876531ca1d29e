#ifndef PARSING_FSAPARSINGTABLE_H
#define PARSING_FSAPARSINGTABLE_H

#include "ActionsVector.h"
#include "FSAParseData.h"

namespace parsing {

// The query layer between the FSA engine and one grammar. NFA states from
// minReductiveState (the NFA table's state count) up are reductive: state s
// stands for production s - minReductiveState. Read-only after construction;
// the data is referred to, not owned, and must outlive the table.
class FSAParsingTable {
public:
    FSAParseData& data;

    explicit FSAParsingTable(FSAParseData& in_data);
    virtual ~FSAParsingTable();

    // Terminal position of an input id; an id inside a range answers for
    // the range's class symbol. -1 when there is none.
    virtual int RangedIndex(int id) const;
    virtual bool UpperCase() const;
    virtual bool LowerCase() const;

    bool StartSymbol(int symbol) const;
    int ErrorMark() const;
    int EndMark() const;
    int AnyMark() const;
    bool isWordIndexed(int pos) const;
    bool isWord(int id) const;
    int getId(int pos) const;
    int IndexedLevel(int pos) const;
    int Level(int id) const;
    int TokenIndex(int id) const;
    // On a hit copies from and to of the row into r and returns its position.
    int OccursOf(int id, occurs_value& r) const;
    int Reduction(int State) const;
    wchar_t* token(int id) const;
    int state_error(int state) const;
    int term_error(int token) const;
    int production_error(int token) const;
    int specific_error(int state, int token) const;
    wchar_t* msg_error(int id) const;
    // Copies production id into the caller's record (the empty reduction
    // for an id outside the table) and returns the record.
    ::reduction& reduction(int id, ::reduction& reduction) const;
    bool recovery(int state) const;
    bool ignore(int token) const;

    // The moves of a head in `state` on the symbol `token` (terminal position
    // TokenIndex, or -1): one action per NFA row of the state whose terminal
    // is one of the symbol's equivalents, in row order. Returns their number.
    int actions(int state, int token, int TokenIndex, ActionsVector& actionVector) const;
    follows_rule* getStateFollowRestriction(int state) const;
    bool isSimpleFollowValid(follows_rule* fr, int token) const;
    bool isSimpleFollowMapped(int token, int Mapped, bool withRange) const;
    bool isSimpleFollowValid(int state, int token) const;
    bool slr_follows_valid(int TokenIndex, int Follows) const;

private:
    int addNFAEntry(int state, int token, nfa_state_action& nfa_entry,
                    ActionsVector& actionVector) const;

    // Reserved; no operation reads or writes them.
    [[maybe_unused]] int conflict_state;
    [[maybe_unused]] int conflict_token;
    [[maybe_unused]] int conflict_from;
    [[maybe_unused]] int conflict_to;
    [[maybe_unused]] int conflicts_size;
    int minReductiveState;
    int maxStateFollows;

    FSAParsingTable(const FSAParsingTable&) = delete;
    FSAParsingTable& operator=(const FSAParsingTable&) = delete;
};

} // namespace parsing

#endif
