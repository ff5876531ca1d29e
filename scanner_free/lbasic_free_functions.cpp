// The free-form stage has no lexer action; see lbasic_free_functions.h.
#include "lbasic_free_functions.h"
