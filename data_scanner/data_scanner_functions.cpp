#include "data_scanner_functions.h"

#include "Translator.h"

namespace {

// The id of the literal token, which a number becomes when its blanks or its
// lower-case exponent letter do not fit the main file's dialect.
const int literal_id = 65594;

} // namespace

// A stage run without a host (no context) keeps the ids of its productions.

int data_scanner_0(parsing::ParseAction& action, std::wstring& text, void* context) {
    if (!context)
        return action.value.ReduceId;
    return static_cast<Translator*>(context)->ValidateDataCase(action.value.ReduceId, text);
}

int data_scanner_1(parsing::ParseAction& action, std::wstring& text, void* context) {
    if (!context)
        return action.value.ReduceId;
    return static_cast<Translator*>(context)->SpacedToLiteral(action.value.ReduceId, literal_id,
                                                              text, false);
}

int data_scanner_2(parsing::ParseAction& action, std::wstring& text, void* context) {
    if (!context)
        return action.value.ReduceId;
    return static_cast<Translator*>(context)->SpacedToLiteral(action.value.ReduceId, literal_id,
                                                              text, true);
}
