#include "ActionsVector.h"

#include "table_fault.h"

namespace parsing {

ActionsVector::ActionsVector(int in_size)
    : size(in_size < 1 ? 0 : in_size), _filled(0), buffer(nullptr) {
    if (size > 0)
        buffer = new ParseAction[size];
}

ActionsVector::~ActionsVector() {
    delete[] buffer;
    buffer = nullptr;
    size = 0;
}

ParseAction& ActionsVector::action(int index) {
    if (index < 0 || index >= _filled)
        table_fault(L"Index Out of Bounds on Actions Vector.");
    return buffer[index];
}

int ActionsVector::clear() {
    _filled = 0;
    return 0;
}

int ActionsVector::append(ParseAction& the_action) {
    return append(the_action.Do, the_action.value, the_action.onToken, the_action.onState);
}

int ActionsVector::append(ActionType Do, Action value, int onToken, int onState) {
    if (_filled >= size)
        resize();
    buffer[_filled] = ParseAction{Do, value, onToken, onState};
    ++_filled;
    return 0;
}

int ActionsVector::resize() {
    int grown = size == 0 ? 1 : 2 * size;
    ParseAction* larger = new ParseAction[grown];
    for (int i = 0; i < _filled; ++i)
        larger[i] = buffer[i];
    delete[] buffer;
    buffer = larger;
    size = grown;
    return 0;
}

} // namespace parsing
