#ifndef SOURCE_FORM_SELECTOR_H
#define SOURCE_FORM_SELECTOR_H

#include <string>

#include "signed_widening.h"

// The dialect of one program file.
enum source_form { fixed_form = 0, free_form = 1, uk101_form = 2 };

// The case option of one program file; -1 stands for none given.
enum case_sensitive { case_yes = 0, case_no = 1 };

// Static helpers that pick a file's dialect; never instantiated.
class source_form_selector {
public:
    source_form_selector() = delete;

    // A dialect word ("free", "uk101", "fixed", case ignored) stores its
    // source_form through rc and returns it; any other word gives -1.
    static int forced_form(int* rc, const char* file_name);
    // The dialect a file name implies: from its last "." (directory parts
    // included), exactly ".basic" is uk101_form, anything else fixed_form;
    // no "." at all is free_form.
    static int get_ext_form(const char* file_name);
    static int get_ext_form(const wchar_t* file_name);
    // A file name never implies a case option.
    static int get_ext_case(const char* file_name);
};

// Widens a narrow byte to a 16-bit unit the way the system's readers do: the
// byte is taken with its sign, so 0x80..0xFF become 0xFF80..0xFFFF.
inline wchar_t widen_signed(char c) { return parsing::widened_unit(c); }

std::wstring widen_signed(const char* s);

#endif
