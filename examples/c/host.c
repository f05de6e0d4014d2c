/* Calling Quorvel from a C program: a recipe to copy.
 *
 *   host.exe FOLDER FILE DOCUMENT
 *
 * Asks quorvel.exe (beside this program) for the free bytes of FOLDER's
 * drive, deletes FILE to the recycle bin and opens DOCUMENT, printing one
 * line for each: "WHAT:VALUE" ("opened: shell code 42", or "not opened: ..."
 * where the shell answered 32 or less), or "WHAT failed: N" with the
 * plug-in's exit status N. Each run goes through QuorvelRun (quorvel.c, the
 * part to copy into your host), which gives it a temp folder of its own.
 *
 * Built as README.txt says ("Building the recipes").
 */
#include <windows.h>
#include <stdio.h>
#include <wchar.h>

#include "quorvel.h"

/* Prints a wide text to standard output as UTF-8. */
static void Say(const wchar_t* what, int status, const wchar_t* value) {
    char text[1024];
    wchar_t line[512];
    if (status == 0)
        _snwprintf(line, 512, L"%ls:%ls\n", what, value);
    else if (status == QUORVEL_NOT_STARTED)
        _snwprintf(line, 512, L"%ls failed: not started\n", what);
    else if (status == QUORVEL_ENDED)
        _snwprintf(line, 512, L"%ls failed: ended after %d s\n", what, QUORVEL_LIMIT_MS / 1000);
    else if (status == QUORVEL_NO_REPORT)
        _snwprintf(line, 512, L"%ls failed: no report\n", what);
    else if (status == QUORVEL_NO_FOLDER)
        _snwprintf(line, 512, L"%ls failed: no folder of its own\n", what);
    else
        _snwprintf(line, 512, L"%ls failed: %d\n", what, status);
    WideCharToMultiByte(CP_UTF8, 0, line, -1, text, sizeof text, NULL, NULL);
    fputs(text, stdout);
}

int wmain(int argc, wchar_t** argv) {
    wchar_t arguments[2048], value[256];
    int status, failed = 0;
    if (argc != 4) return fputs("usage: host FOLDER FILE DOCUMENT\n", stderr), 2;

    _snwprintf(arguments, 2048, L"FreeDiskSpace \"%ls\"", argv[1]);
    status = QuorvelRun(arguments, "[FreeDiskSpace]", value, 256);
    Say(L"free bytes", status, value); /* " 52837318656": a blank, then the digits */
    failed |= status != 0;

    _snwprintf(arguments, 2048, L"Delete \"%ls\"", argv[2]);
    status = QuorvelRun(arguments, "[Delete]", value, 256);
    Say(L"deleted", status, value); /* "True", or "False" when the shell refused */
    failed |= status != 0;

    _snwprintf(arguments, 2048, L"Execute \"%ls\"", argv[3]);
    status = QuorvelRun(arguments, "[Execute]", value, 256);
    if (status == 0) { /* Windows promises a code above 32 for a target it opened; 32 or less is the shell's error */
        long code = wcstol(value, NULL, 10);
        _snwprintf(value, 256, L" shell code %ld", code);
        Say(code > 32 ? L"opened" : L"not opened", 0, value);
    } else {
        Say(L"opened", status, value);
    }
    failed |= status != 0;
    return failed;
}
