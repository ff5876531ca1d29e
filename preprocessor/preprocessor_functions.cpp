#include "preprocessor_functions.h"

#include "Translator.h"

// A stage run without a host (no context) keeps the ids of its productions.

int preprocessor_1(parsing::ParseAction& action, std::wstring&, void* context) {
    if (context)
        static_cast<Translator*>(context)->ScannedDataStmt();
    return action.value.ReduceId;
}

int preprocessor_4(parsing::ParseAction& action, std::wstring& text, void* context) {
    if (!context)
        return action.value.ReduceId;
    return static_cast<Translator*>(context)->A_onUpperAT(action.value.ReduceId, text);
}

int preprocessor_5(parsing::ParseAction& action, std::wstring& text, void* context) {
    if (!context)
        return action.value.ReduceId;
    return static_cast<Translator*>(context)->a_onLowerAT(action.value.ReduceId, text);
}
