#ifndef PARSING_SIMPLEPARSINGTABLE_H
#define PARSING_SIMPLEPARSINGTABLE_H

#include <vector>

#include "ParseData.h"
#include "ParsingTable.h"

namespace parsing {

// The table view over one grammar object. It does not own the grammar, which
// must outlive it, and reads it as filled when the view is made: its state is
// the last getConflicts query and the direct index that action() reads.
class SimpleParsingTable final : public ParsingTable {
public:
    ParseData& data;

    explicit SimpleParsingTable(ParseData& data);
    ~SimpleParsingTable() override;

    int GOTO(int state, int symbol) override;
    ParseAction& action(int state, int token, ParseAction& out) override;
    int getConflicts(int state, int token) override;
    ParseAction& getConflict(int state, int token, int order, ParseAction& out) override;
    int BacktrackMark() override { return data.terminals->backtrackmark; }
    int EndMark() override { return data.terminals->endmark; }
    int AnyMark() override { return data.terminals->anymark; }
    int ErrorMark() override { return data.terminals->errormark; }
    wchar_t* token(int id) override;
    int state_error(int state) override;
    int term_error(int token) override;
    int production_error(int symbol) override;
    int specific_error(int state, int token) override;
    wchar_t* msg_error(int id) override;
    ::reduction& reduction(int id, ::reduction& out) override;
    bool recovery(int state) override;
    bool ignore(int token) override;
    bool sma(int token) override;
    bool UpperCase() override { return data.input_case == Input_ToUpper; }
    bool LowerCase() override { return data.input_case == Input_ToLower; }

private:
    // What action() needs of one id before it looks at the state, worked out
    // once for every id in [direct_low, direct_low + direct.size()) and in
    // [65536, 65536 + direct_high): characters, keyword codes, marks and the
    // grammar's own symbols, i.e. every id that a stage or the parser reads.
    struct direct_id {
        int symbol;     // the id after the equivalence and range mapping
        int column;     // index of symbol in columns, or -1: no state has a row
        bool ambiguous; // more than one equivalent: action() throws
        bool ignorable;
    };
    static const int direct_low = -64;
    std::vector<direct_id> direct;      // ids direct_low .. 255
    std::vector<direct_id> direct_high; // ids 65536 ..
    // The position in srstable of the row of (state, symbol), by state and
    // column: rows[state * columns + column], -1 for none. Left empty for a
    // grammar too large for it, which then searches the state's run.
    std::vector<int> rows;
    int columns;

    void build_direct();
    const direct_id* find_direct(int token) const {
        unsigned low = static_cast<unsigned>(token) - static_cast<unsigned>(direct_low);
        if (low < direct.size())
            return &direct[low];
        unsigned high = static_cast<unsigned>(token) - 65536u;
        return high < direct_high.size() ? &direct_high[high] : nullptr;
    }
    ParseAction& searched_action(int state, int token, ParseAction& out);
    ParseAction& row_action(int state, int token, int pos, bool ignorable, ParseAction& out);

    bool conflict_known; // false until the first getConflicts query
    int conflict_state;
    int conflict_token;
    int conflict_from;
    int conflict_to;
    int conflicts_size;
};

} // namespace parsing

#endif
