#ifndef PARSING_FSAPARSINGTABLE2_H
#define PARSING_FSAPARSINGTABLE2_H

#include "FSAParsingTable.h"

namespace parsing {

// FSAParsingTable answering RangedIndex from the data's direct index of the
// ids 0..65535 (built by the first such table over the data, then shared).
// The answers are those of the base class; only their cost differs.
class FSAParsingTable2 : public FSAParsingTable {
public:
    explicit FSAParsingTable2(FSAParseData& data);
    ~FSAParsingTable2() override;

    int RangedIndex(int id) const override;
};

} // namespace parsing

#endif
