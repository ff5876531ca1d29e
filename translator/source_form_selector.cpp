#include "source_form_selector.h"

#include <strings.h>

#include <cwchar>

int source_form_selector::forced_form(int* rc, const char* file_name) {
    static const struct {
        const char* word;
        int form;
    } words[] = {{"free", free_form}, {"uk101", uk101_form}, {"fixed", fixed_form}};
    if (!file_name)
        return -1;
    for (const auto& w : words) {
        if (strcasecmp(file_name, w.word) == 0) {
            *rc = w.form;
            return w.form;
        }
    }
    return -1;
}

int source_form_selector::get_ext_form(const wchar_t* file_name) {
    if (!file_name)
        return free_form;
    const wchar_t* dot = std::wcsrchr(file_name, L'.');
    if (!dot)
        return free_form;
    return std::wcscmp(dot, L".basic") == 0 ? uk101_form : fixed_form;
}

int source_form_selector::get_ext_form(const char* file_name) {
    if (!file_name)
        return free_form;
    return get_ext_form(widen_signed(file_name).c_str());
}

int source_form_selector::get_ext_case(const char*) {
    return -1;
}

std::wstring widen_signed(const char* s) {
    std::wstring w;
    for (; *s; ++s)
        w += widen_signed(*s);
    return w;
}
