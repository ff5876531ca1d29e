#ifndef KEYKEYVALUEFIXEDTABLE_H
#define KEYKEYVALUEFIXEDTABLE_H

struct key_key_value {
    int key;
    int keyb;
    int value;
};

// Rows {key, keyb, value} ascending by key, then keyb; pairs unique. A grammar
// uses it for the error id of a (state, terminal) pair.
class KeyKeyValueFixedTable {
public:
    key_key_value* table;
    int size;

    explicit KeyKeyValueFixedTable(int size);
    virtual ~KeyKeyValueFixedTable();
    virtual void fill() = 0;

    void append(int key, int keyb, int value);
    int posOfKey(const int& key, const int& keyb) const;

private:
    int elements;

    KeyKeyValueFixedTable(const KeyKeyValueFixedTable&) = delete;
    KeyKeyValueFixedTable& operator=(const KeyKeyValueFixedTable&) = delete;
};

#endif
