#ifndef KEYVALUEFIXEDTABLE_H
#define KEYVALUEFIXEDTABLE_H

struct key_value {
    int key;
    int value;
};

// Rows {key, value} ascending by key, keys unique. Used for state, terminal
// and production error ids, and as a key set (recovery states, ignorable
// tokens, shorter-match tokens) where only the presence of a key counts.
class KeyValueFixedTable {
public:
    key_value* table;
    int size;

    explicit KeyValueFixedTable(int size);
    virtual ~KeyValueFixedTable();
    virtual void fill() = 0;

    void append(int key, int value);
    int posOfKey(const int& key) const;

private:
    int elements;

    KeyValueFixedTable(const KeyValueFixedTable&) = delete;
    KeyValueFixedTable& operator=(const KeyValueFixedTable&) = delete;
};

#endif
