#include "StateMessages.h"

#include <map>
#include <set>

namespace gen {
namespace lr {

Text expected_text(const std::vector<Text>& names) {
    Text out = u"Expected :";
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            out += i + 1 == names.size() ? u", or " : u", ";
        out += u"\"" + names[i] + u"\"";
    }
    return out + u".";
}

StateMessages state_messages(const Grammar& g, const std::vector<ActionRow>& rows, int states) {
    std::vector<std::set<Text>> names(states);
    std::vector<bool> has_rows(states, false);
    for (const ActionRow& r : rows) {
        has_rows[r.state] = true;
        auto rename = g.settings.message_names.find(r.terminal);
        if (rename == g.settings.message_names.end())
            names[r.state].insert(g.symbol(r.terminal).name);
        else if (rename->second.first)
            names[r.state].insert(rename->second.second);
    }
    StateMessages m;
    std::map<Text, int> ids;
    int next = g.settings.first_state_message;
    for (int s = 0; s < states; ++s) {
        if (!has_rows[s])
            continue;
        if (names[s].empty())
            throw GrammarFault(g.path + ": state " + std::to_string(s) +
                               " has rows but none of their terminals has a message name");
        Text text = expected_text(std::vector<Text>(names[s].begin(), names[s].end()));
        auto found = ids.find(text);
        int id;
        if (found == ids.end()) {
            id = next++;
            ids[text] = id;
            m.texts.push_back(MessageRow{id, text});
        } else {
            id = found->second;
        }
        m.by_state.push_back(PairRow{s, id});
    }
    return m;
}

} // namespace lr
} // namespace gen
