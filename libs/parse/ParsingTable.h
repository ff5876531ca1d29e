#ifndef PARSING_PARSINGTABLE_H
#define PARSING_PARSINGTABLE_H

#include "ParseAction.h"
#include "ReductionsTable.h"

namespace parsing {

// The read-only view of one grammar's tables that LexAn and Parser use.
class ParsingTable {
public:
    ParsingTable() {}
    virtual ~ParsingTable() {}

    virtual int GOTO(int state, int symbol) = 0;
    virtual ParseAction& action(int state, int token, ParseAction& out) = 0;
    virtual int getConflicts(int state, int token) = 0;
    virtual ParseAction& getConflict(int state, int token, int order, ParseAction& out) = 0;
    virtual int BacktrackMark() = 0;
    virtual int EndMark() = 0;
    virtual int AnyMark() = 0;
    virtual int ErrorMark() = 0;
    virtual wchar_t* token(int id) = 0;
    virtual int state_error(int state) = 0;
    virtual int term_error(int token) = 0;
    virtual int production_error(int symbol) = 0;
    virtual int specific_error(int state, int token) = 0;
    virtual wchar_t* msg_error(int id) = 0;
    virtual ::reduction& reduction(int id, ::reduction& out) = 0;
    virtual bool recovery(int state) = 0;
    virtual bool ignore(int token) = 0;
    virtual bool sma(int token) = 0;
    virtual bool UpperCase() = 0;
    virtual bool LowerCase() = 0;
};

} // namespace parsing

#endif
