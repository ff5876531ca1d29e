#ifndef GENERATOR_LEX_KEYMAP_H
#define GENERATOR_LEX_KEYMAP_H

#include <map>
#include <set>

#include "../Source.h"
#include "LexModel.h"

namespace gen {
namespace lex {

// The keys of the automaton's rows: the runtime replaces a character of a
// class by the class id before it looks up a row, so every member of a class
// must behave alike; a set that holds part of a class cannot be stored.
class KeyMap {
public:
    explicit KeyMap(const std::vector<ClassDecl>& classes);

    int key_of(int symbol) const;
    // The keys of a set of symbols; a set that splits a class is a fault at
    // the given line.
    std::set<int> keys_of(const std::set<int>& symbols, const Source& src, int line) const;
    bool is_class(int key) const { return members_.count(key) != 0; }

private:
    std::map<int, int> class_of_;          // member -> class id
    std::map<int, std::set<int>> members_; // class id -> members
};

} // namespace lex
} // namespace gen

#endif
