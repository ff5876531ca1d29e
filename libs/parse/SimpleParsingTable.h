#ifndef PARSING_SIMPLEPARSINGTABLE_H
#define PARSING_SIMPLEPARSINGTABLE_H

#include "ParseData.h"
#include "ParsingTable.h"

namespace parsing {

// The table view over one grammar object. It does not own the grammar, which
// must outlive it; its only state is the last getConflicts query.
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
    bool conflict_known; // false until the first getConflicts query
    int conflict_state;
    int conflict_token;
    int conflict_from;
    int conflict_to;
    int conflicts_size;
};

} // namespace parsing

#endif
