#ifndef CMD_ARGUMENTS_H
#define CMD_ARGUMENTS_H

#include <deque>
#include <string>

// One program file to check.
struct file_rec {
    int form;          // a source_form value
    int _case;         // a case_sensitive value, or -1 when no case option was given
    const char* fname; // the name as given in the argument vector (not copied)
};

// The parsed command line: the files with the dialect and case option that
// apply to each, and the run-wide switches.
class arguments {
public:
    char fname[1024];
    std::deque<char*> included;  // owned copies of the "I" option texts
    std::deque<file_rec*> files; // owned
    int debug_mode;
    bool warnings;

    arguments();
    virtual ~arguments();

    // -1: empty command line or an unrecognised option (already reported);
    // 0: "help"; 1: "version"; 2: check the files.
    int cmd_select(int argc, char** argv);
    void usage();
    void version();

    char* get_wdir();
    char* full_dir(const char* path);

protected:
    char cCurrentPath[4096];
    char* wdir;
    int forced_form;
    int forced_case;

    int set_wdir();

private:
    // Returns false (after the message) for an unrecognised option.
    bool option(const char* arg, const char* word);

    arguments(const arguments&) = delete;
    arguments& operator=(const arguments&) = delete;
};

#endif
