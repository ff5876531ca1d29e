#include "path_separator.h"

#include <cstdlib>

char CYGWIN_ENV_SEPARATOR_DETECT() {
    const char* pwd = std::getenv("PWD");
    return pwd && pwd[0] == '/' ? '/' : '\\';
}

char CYGWIN_DYN_PATH_SEP() {
    static const char separator = CYGWIN_ENV_SEPARATOR_DETECT();
    return separator;
}
