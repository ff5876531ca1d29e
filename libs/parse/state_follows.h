#ifndef STATE_FOLLOWS_H
#define STATE_FOLLOWS_H

enum follow_type { simple = 0, composite = 1 };

// The look-ahead condition of one NFA state: a head arriving in `state` is
// kept when the membership of the next token in follow set `id` equals
// `result`, and then takes state GoTo. Only simple rules are tested.
struct follows_rule {
    int state;
    int id;
    bool result;
    int type; // a follow_type
    int GoTo;

    bool isSimple() const { return type == simple; }
    bool is_follows() const { return result; }
    bool is_not_follows() const { return !result; }
};

// One rule per NFA state, by position: row k is the rule of state k + 1, so
// the table covers states 1 .. size. Rows not appended hold a composite rule,
// which restricts nothing.
class state_follows {
public:
    follows_rule* table;
    int size;

    explicit state_follows(int in_size);
    virtual ~state_follows();
    virtual void fill() {}

    void append(int state, int token, bool result, int type, int GoTo);
    // The row of the rule of `state` among the rows appended, or -1.
    int posOfKey(const int& state) const;

protected:
    // Gives every row not appended yet the rule that restricts nothing.
    void FixwhenFilled();

private:
    int elements;
    int next_offset;

    state_follows(const state_follows&) = delete;
    state_follows& operator=(const state_follows&) = delete;
};

#endif
