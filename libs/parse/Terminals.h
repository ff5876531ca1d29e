#ifndef TERMINALS_H
#define TERMINALS_H

#include "table_records.h"

struct pg_keyword {
    int id;       // symbol id
    wchar_t* str; // display name, inside the table's shared buffer
    bool reserved;
    short category;
    int level;

    bool isWord() const { return category == 10; }
};

// The symbol table of a grammar: rows ascending by id, ids unique, with the
// grammar's four marks.
class Terminals {
public:
    pg_keyword* table;
    // Per-row indexes built by the FSA engine; never allocated here, freed here.
    ::eqs_index* eqs_index;
    ::eqs_index* slr_follows_index;
    int size;
    int endmark;
    int backtrackmark;
    int errormark;
    int anymark;

    explicit Terminals(int size);
    virtual ~Terminals();
    virtual void fill() = 0;

    void append(int id, short category, int level, bool reserved, const wchar_t* name);
    int posOfKey(const int& id) const;

    // FSA engine: the run of equivalents (follow rows) of the row at pos.
    int eq_index(const int& pos, int& start, int& end) const;
    int slr_follow_index(const int& pos, int& start, int& end) const;

protected:
    void FixwhenFilled();

private:
    wchar_t* Buffer;
    int bsize;
    int bpos;
    int elements;

    void rebuff(int n);

    Terminals(const Terminals&) = delete;
    Terminals& operator=(const Terminals&) = delete;
};

#endif
