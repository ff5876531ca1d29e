#include "frontends.h"

namespace gen {

TableSet build_lr(const Source& src, std::ostream*, std::map<std::string, long>&) {
    throw GrammarFault(src.path + ": LR grammars are not supported yet");
}

} // namespace gen
