#ifndef REDUCTIONSTABLE_H
#define REDUCTIONSTABLE_H

// The untyped pointer under which a production keeps its lexer action or
// semantic action. It is only ever stored; every caller casts it back to the
// exact type of the action before calling it.
typedef int (*untyped_action)(...);

// One production. In a lexical grammar `state` is the token id it emits.
struct reduction {
    untyped_action semanticAction;
    short NumberOfParameters;
    short ProductionLine;
    int state;
    int id_pos;
    short category;
    int dependsOn;

    bool isOriginal() const { return category == 0; }
    bool ErrorProduction() const { return category == 11; }
    bool normalReduction() const {
        return category == 0 || category == 1 || category == 6 || category == 11;
    }
    bool isLeftExlude() const { return category == 2; }
    bool isRightExclude() const { return category == 3; }
    bool isLeftInclude() const { return category == 4; }
    bool isRightInclude() const { return category == 5; }
    bool isRightChild() const { return category == 6; }
    bool isRightSide() const { return category == 3 || category == 5 || category == 6; }
    bool isCondition() const { return category == 7; }
    bool hasExcludeWord() const { return category == 8; }
    bool hasIncludeWord() const { return category == 9; }
    bool isWordRule() const { return category == 10; }
};

// Productions by reduction id: the n-th appended row is production n.
class ReductionsTable {
public:
    reduction* table;
    int size;

    explicit ReductionsTable(int size);
    virtual ~ReductionsTable();
    virtual void fill() = 0;

    void append(untyped_action semanticAction, short NumberOfParameters, short ProductionLine,
                int state, short category, int dependsOn);

private:
    int elements;

    ReductionsTable(const ReductionsTable&) = delete;
    ReductionsTable& operator=(const ReductionsTable&) = delete;
};

#endif
