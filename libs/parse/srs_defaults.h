#ifndef SRS_DEFAULTS_H
#define SRS_DEFAULTS_H

struct srs_default {
    short action; // an ActionType value; 0: the state has no default
    int next_state;
};

// The default action of every parser state, indexed by state.
class srs_defaults {
public:
    srs_default* table;
    int states;

    // Empty (no rows, 0 states) unless size and states are equal and above 0.
    srs_defaults(int size, int states);
    virtual ~srs_defaults();
    virtual void fill() {}

    void append(int state, int action, int next_state);
    int posOfKey(const int& state) const;

private:
    srs_defaults(const srs_defaults&) = delete;
    srs_defaults& operator=(const srs_defaults&) = delete;
};

#endif
