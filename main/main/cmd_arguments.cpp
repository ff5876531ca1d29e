#include "cmd_arguments.h"

#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <vector>

#include "path_separator.h"
#include "source_form_selector.h"

arguments::arguments()
    : debug_mode(0), warnings(false), wdir(nullptr), forced_form(-1), forced_case(-1) {
    fname[0] = '\0';
    cCurrentPath[0] = '\0';
}

arguments::~arguments() {
    for (char* dir : included)
        delete[] dir;
    included.clear();
    while (!files.empty()) {
        delete files.front();
        files.pop_front();
    }
}

int arguments::cmd_select(int argc, char** argv) {
    if (argc == 1)
        return -1;
    const char prefix = option_prefix();
    if (argc == 2 && argv[1][0] == prefix) {
        if (strcasecmp(argv[1] + 1, "help") == 0)
            return 0;
        if (strcasecmp(argv[1] + 1, "version") == 0)
            return 1;
    }
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (arg[0] == prefix) {
            if (!option(arg, arg + 1))
                return -1;
            continue;
        }
        file_rec* f = new file_rec;
        f->form = forced_form >= 0 ? forced_form : source_form_selector::get_ext_form(arg);
        f->_case = forced_case >= 0 ? forced_case : source_form_selector::get_ext_case(arg);
        f->fname = arg;
        files.push_back(f);
    }
    return 2;
}

bool arguments::option(const char* arg, const char* w) {
    if (w[0] == 'I') {
        std::size_t n = std::strlen(w + 1);
        char* dir = new char[n + 1];
        std::memcpy(dir, w + 1, n + 1);
        included.push_back(dir);
    } else if (std::strncmp(w, "debug", 5) == 0) {
        debug_mode = w[5] == '=' && w[6] >= '2' && w[6] <= '8' ? 2 : 1;
    } else if (w[0] == 'D') {
        // A definition: name=value. It is accepted and has no effect; the
        // text is split at each "=" only to keep its form checked.
        std::vector<wchar_t> definition;
        for (const char* p = w + 1;; ++p) {
            definition.push_back(*p == '=' ? L'\0' : widen_signed(*p));
            if (*p == '\0')
                break;
        }
    } else if (strcasecmp(w, "debug") == 0) {
        debug_mode = 1;
    } else if (strcasecmp(w, "w") == 0) {
        warnings = true;
    } else if (strcasecmp(w, "case") == 0) {
        forced_case = case_yes;
    } else if (strcasecmp(w, "no-case") == 0) {
        forced_case = case_no;
    } else if (source_form_selector::forced_form(&forced_form, w) == -1) {
        std::cout.flush();
        std::cerr << "Unrecognized command line option: " << arg << "\n";
        return false;
    }
    return true;
}

// printf-style lines with the option prefix P or a blank B in them.
static void line(const char* text) {
    std::cout << text << '\n';
}

void arguments::usage() {
    const char P = option_prefix();
    const char B = ' ';
    std::cout << '\n';
    line("The command vorpak runs in one of the following two modes:");
    line("(1) vorpak { [<option>...]  <program.ext> } ... ");
    std::cout << "(2) vorpak { " << P << "help | " << P << "version } \n";
    std::cout << '\n';
    line("In first mode, vorpak will make a syntax check on an AppleSoft program. A");
    line("valid option can be one or more of:\n");
    std::cout << "  " << P
              << "case             Names and keywords are expected in upper case. The\n";
    std::cout << "  " << B << "                 option '" << P
              << "no-case' ignores the case of characters.\n";
    std::cout << "  " << P
              << "debug[=1|2]      In Debug Mode it prints the tokens read by the parser.\n";
    std::cout << "  " << P
              << "fixed            Source code is in the Applesoft space optional dialect\n";
    std::cout << "  " << B
              << "                 and all names and keywords in upper case. [default]\n";
    std::cout << "  " << P
              << "free             Source code is in the Applesoft dialect but words are\n";
    std::cout << "  " << B << "                 space separated, in either upper or lower case.\n";
    std::cout << "  " << P
              << "uk101            Source code is in the UK-101 space optional dialect and\n";
    std::cout << "  " << B << "                 words in upper case, any option '" << P
              << "no-case' is ignored.\n";
    std::cout << "  " << B
              << "ext              If no dialect specified, the file name extension .basic\n";
    std::cout << "  " << B << "                 implies a UK101 program.\n";
    std::cout << '\n';
    line("In second mode, vorpak displays diagnostic info. The option can be one of:");
    std::cout << "  " << P << "help                   Display this information.\n";
    std::cout << "  " << P << "version                Print the vorpak version.\n";
    line("  ");
    line("Send bug reports to: the vorpak maintainers, through the project's issue tracker.");
    line("  ");
    std::cout.flush();
}

void arguments::version() {
    std::cout << std::left << std::setw(62) << "  Tessaric 0.8"
              << "[" << __DATE__ << "]\n";
    line("  Copyright (C) 2026 the vorpak developers.");
    line("  This program may not be redistributed.");
    line("  It comes with ABSOLUTELY NO WARRANTY, to the extent permitted by law.");
    line("  ");
    line("  This program uses the following shared runtime libraries:");
    line("  GNU C++ Library (libstdc++): GPL version 3 with the GCC Runtime Library Exception,");
    line("    Copyright (C) Free Software Foundation, Inc.");
    line("  GNU C Library (glibc): GNU Lesser General Public License version 2.1 or later,");
    line("    Copyright (C) Free Software Foundation, Inc.");
    std::cout.flush();
}

int arguments::set_wdir() {
    if (!getcwd(cCurrentPath, sizeof cCurrentPath - 1)) {
        wdir = nullptr;
        return -1;
    }
    cCurrentPath[sizeof cCurrentPath - 1] = '\0';
    wdir = cCurrentPath;
    return 0;
}

char* arguments::get_wdir() {
    if (!wdir)
        set_wdir();
    return wdir;
}

char* arguments::full_dir(const char*) {
    return nullptr;
}
