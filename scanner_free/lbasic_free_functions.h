#ifndef LBASIC_FREE_FUNCTIONS_H
#define LBASIC_FREE_FUNCTIONS_H

// The action module of the lbasic_free grammar. The free-form stage has no
// lexer action: every production delivers its own id as it is, so this
// module declares nothing.

#endif
