#include "ParseData.h"

ParseData::ParseData()
    : terminals(nullptr), ranges(nullptr), error_msgs(nullptr), gotostable(nullptr),
      eqstable(nullptr), srstable(nullptr), srsdefaults(nullptr), conflictstable(nullptr),
      state_errors(nullptr), term_errors(nullptr), productions_errors(nullptr),
      specialized_errors(nullptr), reductions(nullptr), recovery_states(nullptr),
      ignorables(nullptr), sma(nullptr), input_case(Input_Sensitive) {}

ParseData::~ParseData() {
    release();
}

template <class T> static void drop(T*& table) {
    delete table;
    table = nullptr;
}

void ParseData::release() {
    drop(terminals);
    drop(ranges);
    drop(error_msgs);
    drop(gotostable);
    drop(eqstable);
    drop(srstable);
    drop(srsdefaults);
    drop(conflictstable);
    drop(state_errors);
    drop(term_errors);
    drop(productions_errors);
    drop(specialized_errors);
    drop(reductions);
    drop(recovery_states);
    drop(ignorables);
    drop(sma);
}
