#include "frontends.h"

namespace gen {

TableSet build_lexical(const Source& src, std::ostream*, std::map<std::string, long>&) {
    throw GrammarFault(src.path + ": lexical grammars are not supported yet");
}

} // namespace gen
