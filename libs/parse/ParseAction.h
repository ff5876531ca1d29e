#ifndef PARSING_PARSEACTION_H
#define PARSING_PARSEACTION_H

namespace parsing {

// Kinds of action. The LR pipeline uses _SHIFT, _REDUCE, _FINISH, _ERROR,
// _IGNORE, _BACKTRACK and _ACCEPT; the others belong to the FSA engine.
// The underlying type is fixed: table rows carry action codes as plain
// numbers, and any of them may be held in an ActionType.
enum ActionType : int {
    _SHIFT = 1,
    _REDUCE = 2,
    _FINISH = 3,
    _ERROR = 4,
    _GOTO = 5,
    _IGNORE = 6,
    _Push = 7,
    _SHIFTDOWN = 8,
    _GODOWN = 9,
    _ACCEPT = 55,
    _LSHIFT_DOWN = 13,
    _LGO_DOWN = 10,
    _LSHIFT = 11,
    _LGOTO = 12,
    _LBack = 14,
    _LDownBack = 16,
    _ShiftBack = 17,
    _GoBack = 18,
    _BACKTRACK = 20
};

// The value of an action: target state of a shift, reduction id of a reduce.
union Action {
    int NextState;
    int ReduceId;
    int ErrorId;
};

// The action chosen for a state and a symbol; the table fills it.
struct ParseAction {
    ActionType Do;
    Action value;
    int onToken;
    int onState;
};

} // namespace parsing

enum the_input_case { Input_Sensitive = 0, Input_ToUpper = 1, Input_ToLower = 2 };

#endif
