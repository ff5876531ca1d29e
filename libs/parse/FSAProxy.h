#ifndef PARSING_FSAPROXY_H
#define PARSING_FSAPROXY_H

namespace parsing {

// The engine's look-ahead source, implemented by FSAParser. Token indexes
// count from 0 for the first token of the input.
class FSAProxy {
public:
    virtual ~FSAProxy() {}
    // The id of the token that follows the token with index from_step; the
    // end mark beyond the end of the input.
    virtual int peek(int from_step) = 0;
    // Whether more input can be had.
    virtual bool available() = 0;
};

} // namespace parsing

#endif
