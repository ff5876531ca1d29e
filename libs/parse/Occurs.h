#ifndef OCCURS_H
#define OCCURS_H

// Occurrence bounds of one loop symbol: the loop runs from..to times (both
// inclusive). The same record is the loop state of an FSA state node, where
// id is the loop symbol the head is in and id_pos a terminal position.
struct occurs_value {
    int id;
    int id_pos;
    int from;
    int to;
    int Until; // stored unchanged; the moves read only from and to
};

// The loop bounds of an FSA grammar: one row per bounded symbol, ascending
// by id (the filler's duty; posOfKey bisects on it).
class Occurs {
public:
    occurs_value* table;
    int size;

    explicit Occurs(int in_size);
    virtual ~Occurs();
    virtual void fill() = 0;

    void append(int id, int from, int to, int Until);
    int posOfKey(const int& key) const;

private:
    int elements;

    Occurs(const Occurs&) = delete;
    Occurs& operator=(const Occurs&) = delete;
};

#endif
