#include "pbasic_functions.h"

#include "Translator.h"

using parsing::p_entry;

namespace {

Translator& host(void* context) {
    return *static_cast<Translator*>(context);
}

const wchar_t ok_prompt[] = L"OK could be a prompt, not a statement!";

} // namespace

// line ::= OK CR
int pbasic_4(int, pbasic_stack&, p_entry&, int, void* context) {
    host(context).error(ok_prompt);
    return 0;
}

// line ::= OK, at the end of the input
int pbasic_5(int, pbasic_stack&, p_entry&, int, void* context) {
    host(context).error(ok_prompt);
    return 0;
}

// data-stmt ::= whole-data-stmt: the statement's text is checked again.
int pbasic_40(int, pbasic_stack& the_queue, p_entry& Father, int childs, void* context) {
    host(context).onDataStmt(getParameter(the_queue, Father, childs, 0),
                             getParameter(the_queue, Father, childs, 1));
    return 0;
}

// unlabeled-line-comment ::= line-comment (the error production)
int pbasic_76(int, pbasic_stack&, p_entry&, int, void* context) {
    host(context).error(L"Line Comment should begin with Line Number.");
    return 0;
}

// list-stmt ::= LIST
int pbasic_88(int, pbasic_stack& the_queue, p_entry& Father, int childs, void* context) {
    p_entry& self = getParameter(the_queue, Father, childs, 0);
    host(context).onList(self, self, self, '0', 0);
    return 0;
}

// list-stmt ::= LIST linenum
int pbasic_89(int, pbasic_stack& the_queue, p_entry& Father, int childs, void* context) {
    p_entry& line = getParameter(the_queue, Father, childs, 2);
    host(context).onList(getParameter(the_queue, Father, childs, 0), line, line, '1', 0);
    return 0;
}

// list-stmt ::= LIST linenum "-" linenum
int pbasic_90(int, pbasic_stack& the_queue, p_entry& Father, int childs, void* context) {
    host(context).onList(getParameter(the_queue, Father, childs, 0),
                         getParameter(the_queue, Father, childs, 2),
                         getParameter(the_queue, Father, childs, 4), '2', 0);
    return 0;
}

// list-stmt ::= LIST linenum "," linenum
int pbasic_91(int, pbasic_stack& the_queue, p_entry& Father, int childs, void* context) {
    host(context).onList(getParameter(the_queue, Father, childs, 0),
                         getParameter(the_queue, Father, childs, 2),
                         getParameter(the_queue, Father, childs, 4), '2', ',');
    return 0;
}

// instruction ::= data-stmt ":"
int pbasic_116(int, pbasic_stack& the_queue, p_entry& Father, int childs, void* context) {
    host(context).onDataStmtAsInstruction(getParameter(the_queue, Father, childs, 0),
                                          getParameter(the_queue, Father, childs, 1));
    return 0;
}

// instruction ::= data-stmt, before the line end
int pbasic_117(int, pbasic_stack& the_queue, p_entry& Father, int childs, void* context) {
    host(context).onDataStmtAsInstruction(getParameter(the_queue, Father, childs, 0),
                                          getParameter(the_queue, Father, childs, 1));
    return 0;
}

// label-definition ::= linenum
int pbasic_122(int, pbasic_stack& the_queue, p_entry& Father, int childs, void* context) {
    host(context).onLabelDefinition(getParameter(the_queue, Father, childs, 0),
                                    getParameter(the_queue, Father, childs, 1));
    return 0;
}

void pbasic_emit(const char* text) {
    parsing::emit_text(text);
}

void pbasic_emit(const wchar_t* text) {
    parsing::emit_text(text);
}

void pbasic_synthesize(p_entry& Father, p_entry& Child) {
    parsing::synthesize(Father, Child);
}

void pbasic_syncat(p_entry& Father, const wchar_t* s) {
    parsing::syncat(Father, s);
}
