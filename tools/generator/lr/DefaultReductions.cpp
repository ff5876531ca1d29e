#include "DefaultReductions.h"

namespace gen {
namespace lr {

std::vector<int> default_reductions(const Grammar& g, const Lookahead& la, const Resolution& r,
                                    const std::vector<std::set<int>>& reduce) {
    std::vector<int> defaults(r.shifts.size(), -1);
    for (std::size_t s = 0; s < r.shifts.size(); ++s) {
        if (r.completes[s].size() != 1 || r.accepts[s])
            continue;
        int p = r.completes[s][0];
        if (g.productions[p].restricted)
            continue;
        bool offers_alternative = false;
        for (const auto& shift : r.shifts[s])
            offers_alternative = offers_alternative || g.settings.alternatives.count(shift.first);
        if (offers_alternative)
            continue;
        bool covered = true;
        for (int t : la.of_row[p])
            covered = covered && (r.shifts[s].count(t) || reduce[p].count(t));
        if (covered)
            defaults[s] = p;
    }
    return defaults;
}

} // namespace lr
} // namespace gen
