#include "KeyMap.h"

namespace gen {
namespace lex {

KeyMap::KeyMap(const std::vector<ClassDecl>& classes) {
    for (const ClassDecl& c : classes) {
        members_[c.id] = c.members;
        for (int m : c.members)
            class_of_[m] = c.id;
    }
}

int KeyMap::key_of(int symbol) const {
    auto it = class_of_.find(symbol);
    return it == class_of_.end() ? symbol : it->second;
}

std::set<int> KeyMap::keys_of(const std::set<int>& symbols, const Source& src, int line) const {
    std::set<int> keys;
    for (int s : symbols) {
        int k = key_of(s);
        if (k != s) {
            for (int m : members_.at(k))
                if (!symbols.count(m))
                    src.fault(line, "the set holds " + std::to_string(s) + " but not " +
                                        std::to_string(m) + " of the same class " +
                                        std::to_string(k));
        }
        keys.insert(k);
    }
    return keys;
}

} // namespace lex
} // namespace gen
