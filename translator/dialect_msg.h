#ifndef DIALECT_MSG_H
#define DIALECT_MSG_H

// For a uk101_form message (dialect 2) with an "Expected :" list, removes from
// the list every quoted keyword that the UK-101 dialect lacks, with its
// separator, and returns the pruned text; it stays valid until the next call.
// Any other message, or dialect, comes back as msg itself.
const wchar_t* dialect_msg(int dialect, const wchar_t* msg);

#endif
