#ifndef GENERATOR_LR_STATEMESSAGES_H
#define GENERATOR_LR_STATEMESSAGES_H

#include <vector>

#include "LrGrammar.h"

namespace gen {
namespace lr {

struct StateMessages {
    std::vector<MessageRow> texts; // by ascending id, from the first state message id
    std::vector<PairRow> by_state; // state -> message id, for the states with rows
};

// The message of a state names the terminals of its shift, reduce and finish
// rows (its default and its gotos add nothing) by their message names, once
// each, in ascending code-unit order: "Expected :" then the names in double
// quotes, separated by ", " and by ", or " before the last of two or more,
// then ".". Ids are given in order of first use over the states in ascending
// order; a state without rows has no message.
StateMessages state_messages(const Grammar& g, const std::vector<ActionRow>& rows, int states);

// The text for a list of message names, sorted and without repeats.
Text expected_text(const std::vector<Text>& names);

} // namespace lr
} // namespace gen

#endif
