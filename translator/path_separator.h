#ifndef PATH_SEPARATOR_H
#define PATH_SEPARATOR_H

// "/" when the environment variable PWD is set and begins with "/", else the
// backslash.
char CYGWIN_ENV_SEPARATOR_DETECT();

// The path separator of the run: CYGWIN_ENV_SEPARATOR_DETECT on the first
// call, the same answer ever after.
char CYGWIN_DYN_PATH_SEP();

// The option prefix: "-" under a POSIX path separator, "/" otherwise.
inline char option_prefix() {
    return CYGWIN_DYN_PATH_SEP() == '/' ? '-' : '/';
}

#endif
