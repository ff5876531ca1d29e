#include "ReductionsTable.h"

#include "table_fault.h"

ReductionsTable::ReductionsTable(int size_)
    : table(nullptr), size(size_ < 1 ? 0 : size_), elements(0) {
    if (size > 0)
        table = new reduction[size](); // unfilled rows read as empty productions
}

ReductionsTable::~ReductionsTable() {
    delete[] table;
    table = nullptr;
    size = 0;
}

void ReductionsTable::append(untyped_action semanticAction, short NumberOfParameters,
                             short ProductionLine, int state, short category, int dependsOn) {
    if (elements >= size)
        table_fault(L"Buffer overflow during append in Reductions table.");
    table[elements] = reduction{semanticAction, NumberOfParameters, ProductionLine, state, -1,
                                category,       dependsOn};
    ++elements;
}
