// vorpak: a syntax checker for Applesoft and UK-101 BASIC program files.

#include <exception>
#include <iostream>

#include "cmd_arguments.h"

int g_rc = 0;

// Checks every file of the command line; 0 when none failed, else -1.
int mmain(int argc, char** argv, char** argvp, arguments& args) {
    (void)argc;
    (void)argv;
    (void)argvp;
    if (args.files.empty())
        return 0;
    std::cerr << "vorpak: checking program files is not built yet\n";
    return -1;
}

int main(int argc, char** argv, char** argvp) {
    arguments args;
    int status;
    switch (args.cmd_select(argc, argv)) {
    case 0:
        args.usage();
        status = 0;
        break;
    case 1:
        args.version();
        status = 0;
        break;
    case 2:
        try {
            g_rc = mmain(argc, argv, argvp, args);
        } catch (const std::exception& e) {
            std::wcerr << e.what() << std::endl;
            g_rc = -1;
        }
        status = g_rc;
        break;
    default:
        args.usage();
        status = -1;
        break;
    }
    return status;
}
