#ifndef RANGES_H
#define RANGES_H

struct range_value {
    int id;     // the symbol the range stands for
    int id_pos; // -1 as appended; position of id among the terminals (FSA engine)
    int from;   // inclusive bounds, character codes
    int to;
};

// Disjoint ranges ascending by from; every character from..to maps to id.
class Ranges {
public:
    range_value* table;
    int size;

    explicit Ranges(int size);
    virtual ~Ranges();
    virtual void fill() = 0;

    void append(int id, int from, int to);
    int posOfRange(const int& c) const;

private:
    int elements;

    Ranges(const Ranges&) = delete;
    Ranges& operator=(const Ranges&) = delete;
};

#endif
