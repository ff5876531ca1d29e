#include "Items.h"

#include <algorithm>
#include <set>

namespace gen {
namespace lr {

Item make_item(const Grammar& g, int prod, int side, int pos) {
    const Production& p = g.productions[prod];
    if (pos == static_cast<int>(p.sides[side].size()))
        side = 0;
    return Item{prod, side, pos};
}

bool completed(const Grammar& g, const Item& item) {
    return item.pos == g.productions[item.prod].length();
}

const Position* next_position(const Grammar& g, const Item& item) {
    const RightSide& side = g.productions[item.prod].sides[item.side];
    if (item.pos >= static_cast<int>(side.size()))
        return nullptr;
    return &side[item.pos];
}

ItemSet closure(const Grammar& g, const ItemSet& kernel) {
    std::set<Item> items(kernel.begin(), kernel.end());
    std::set<int> expanded;
    std::vector<Item> work(kernel.begin(), kernel.end());
    while (!work.empty()) {
        Item item = work.back();
        work.pop_back();
        const Position* next = next_position(g, item);
        if (!next)
            continue;
        for (int symbol : *next) {
            auto prods = g.by_left.find(symbol);
            if (prods == g.by_left.end() || !expanded.insert(symbol).second)
                continue;
            for (int p : prods->second)
                for (std::size_t s = 0; s < g.productions[p].sides.size(); ++s) {
                    Item fresh = make_item(g, p, static_cast<int>(s), 0);
                    if (items.insert(fresh).second)
                        work.push_back(fresh);
                }
        }
    }
    return ItemSet(items.begin(), items.end());
}

std::string describe(const Grammar& g, const Item& item) {
    const Production& p = g.productions[item.prod];
    std::string out = p.unit() ? std::string("unit") : "row " + std::to_string(p.row);
    out += ": " + g.label(p.left) + " ::=";
    const RightSide& side = p.sides[item.side];
    for (std::size_t i = 0; i <= side.size(); ++i) {
        if (static_cast<int>(i) == item.pos)
            out += " .";
        if (i == side.size())
            break;
        if (side[i].size() == 1) {
            out += " " + g.label(side[i][0]);
        } else {
            out += " {";
            for (std::size_t k = 0; k < side[i].size(); ++k)
                out += (k ? " " : "") + g.label(side[i][k]);
            out += "}";
        }
    }
    if (completed(g, item) && p.sides.size() > 1)
        out += "   (any of its " + std::to_string(p.sides.size()) + " right sides)";
    return out;
}

} // namespace lr
} // namespace gen
