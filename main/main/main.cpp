// vorpak: a syntax checker for Applesoft and UK-101 BASIC program files.

#include <exception>
#include <iostream>
#include <memory>
#include <string>

#include "BasicFreeReader.h"
#include "RunChecker.h"
#include "Translator.h"
#include "cmd_arguments.h"
#include "source_form_selector.h"

int g_rc = 0;

namespace {

void print_line(std::wostream& out, std::wstring text) {
    text += L'\n';
    out << text;
}

} // namespace

// The usage of an argument vector without even the program name.
int usage(int rc) {
    std::wcout << L"Usage is: kelvar [ {-|/}fixed|{-|/}free] <fname>.<ext>" << std::endl;
    std::wcout << L"ext .bas is assumed to be fixed form" << std::endl;
    std::wcout << L"ext .free is assumed to be free form" << std::endl;
    std::wcout << L"other ext is assumed to be free form" << std::endl;
    return rc;
}

// Checks every file of the command line in order; 0 when none failed, else -1.
int mmain(int argc, char** argv, char** argvp, arguments& args) {
    (void)argv;
    (void)argvp;
    // Before any output: the wide console streams get their own buffers, and
    // the conversion that never fails, so that a character outside ASCII in a
    // diagnostic cannot put a stream into a failed state and silence the rest.
    std::ios::sync_with_stdio(false);
    std::wcout.imbue(parsing::BasicFreeReader::get_locale());
    std::wcerr.imbue(parsing::BasicFreeReader::get_locale());
    if (argc <= 1)
        return usage(-1);

    Translator translator;
    RunChecker checker(translator);
    // With the console streams unsynchronised, the narrow and the wide error
    // stream each write straight to the standard error file: the checker may
    // write the diagnostics as bytes through the narrow one.
    checker.set_error_bytes(std::cerr.rdbuf());
    int rc = 0;
    for (const file_rec* file : args.files) {
        switch (
            checker.check(file->fname, file->form, file->_case, args.debug_mode, args.warnings)) {
        case RunChecker::end_run:
            return -1;
        case RunChecker::failed:
            rc = -1;
            break;
        case RunChecker::passed:
            break;
        }
    }
    return rc;
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
            print_line(std::wcerr, widen_signed(e.what()));
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
