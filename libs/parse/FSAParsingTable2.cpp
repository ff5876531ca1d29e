#include "FSAParsingTable2.h"

namespace parsing {

FSAParsingTable2::FSAParsingTable2(FSAParseData& data) : FSAParsingTable(data) {
    data.build_tokens_index();
}

FSAParsingTable2::~FSAParsingTable2() {}

int FSAParsingTable2::RangedIndex(int id) const {
    if (data.built_tokens_index && id >= 0 && id <= data.max_terminal)
        return data.TokensIndex[id];
    return FSAParsingTable::RangedIndex(id);
}

} // namespace parsing
