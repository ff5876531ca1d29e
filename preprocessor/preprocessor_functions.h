#ifndef PREPROCESSOR_FUNCTIONS_H
#define PREPROCESSOR_FUNCTIONS_H

#include <string>

#include "ParseAction.h"

// The lexer actions of the preprocessor grammar. The context is the run's
// Translator; each returns the id the stage delivers.

// whole-data-stmt: the reader's quote flags are reset; delivers 65593.
int preprocessor_1(parsing::ParseAction& action, std::wstring& text, void* context);
// _A: the AT mark, or the plain character A where no mark is understood.
int preprocessor_4(parsing::ParseAction& action, std::wstring& text, void* context);
// _a: the AT mark, or the plain character where no mark is understood.
int preprocessor_5(parsing::ParseAction& action, std::wstring& text, void* context);

#endif
