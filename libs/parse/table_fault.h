#ifndef TABLE_FAULT_H
#define TABLE_FAULT_H

#include "ParseError.h"

// Every fault found while a grammar table is filled is thrown as this
// diagnostic: code -1, type Init, not stopping, rejecting, unstamped.
[[noreturn]] inline void table_fault(const wchar_t* msg) {
    throw parsing::ParseError(-1, msg, parsing::Init, false, true);
}

#endif
