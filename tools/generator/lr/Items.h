#ifndef GENERATOR_LR_ITEMS_H
#define GENERATOR_LR_ITEMS_H

#include <tuple>
#include <vector>

#include "LrGrammar.h"

namespace gen {
namespace lr {

// A production with a position in one of its right sides. The completed
// items of a row are one item whichever right side they complete, so a
// completed item always names side 0.
struct Item {
    int prod = 0;
    int side = 0;
    int pos = 0;

    bool operator<(const Item& o) const {
        return std::tie(prod, side, pos) < std::tie(o.prod, o.side, o.pos);
    }
    bool operator==(const Item& o) const {
        return prod == o.prod && side == o.side && pos == o.pos;
    }
};

// Sorted, without repeats: two states are equal when their item sets are.
typedef std::vector<Item> ItemSet;

Item make_item(const Grammar& g, int prod, int side, int pos);
bool completed(const Grammar& g, const Item& item);
// The position after the item's dot; null for a completed item.
const Position* next_position(const Grammar& g, const Item& item);

// Adds, for every item before a nonterminal, the items at position 0 of all
// that nonterminal's productions (rows and unit alternatives), to a fixpoint.
ItemSet closure(const Grammar& g, const ItemSet& kernel);

// "prod side.pos" with the dot, for listings.
std::string describe(const Grammar& g, const Item& item);

} // namespace lr
} // namespace gen

#endif
