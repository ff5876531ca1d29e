#ifndef DATA_SCANNER_FUNCTIONS_H
#define DATA_SCANNER_FUNCTIONS_H

#include <string>

#include "ParseAction.h"

// The lexer actions of the data_scanner grammar. The context is the run's
// Translator, which answers for the main file's dialect and case folding;
// action.value holds the production's token id, and each returns the id the
// stage delivers.

// DATA (131): a lower-case keyword is reported where case matters; stays 131.
int data_scanner_0(parsing::ParseAction& action, std::wstring& text, void* context);
// integer-literal-constant (65554): may become literal (65594).
int data_scanner_1(parsing::ParseAction& action, std::wstring& text, void* context);
// real-literal-constant (65569): may become literal (65594).
int data_scanner_2(parsing::ParseAction& action, std::wstring& text, void* context);

#endif
