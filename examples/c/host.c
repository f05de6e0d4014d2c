/* Calling Quorvel from a C program: a recipe to copy.
 *
 *   host.exe FOLDER FILE DOCUMENT
 *
 * Asks quorvel.exe (beside this program) for the free bytes of FOLDER's
 * drive, deletes FILE to the recycle bin and opens DOCUMENT, printing one
 * line for each: "WHAT:VALUE" ("opened: shell code 42", or "not opened: ..."
 * where the shell answered 32 or less), or "WHAT failed: N" with the
 * plug-in's exit status N. Every run follows the same steps: delete the old report, start
 * the plug-in with every path quoted, wait for it with a time limit, take its
 * exit status, and only when that is 0 and the report exists with the
 * command's section as line 4, read line 6 in the ANSI code page. A failing
 * plug-in shows a modal error box; an unattended host must not hang on it, so
 * after the limit this host presses OK on the box captioned "Plug-in Quorvel"
 * (the plug-in then ends with the failure's number as its exit status) or,
 * where no such box answers, ends the process ("failed: ended").
 *
 * Build: x86_64-w64-mingw32-gcc -municode -o host.exe host.c   (or i686-...)
 */
#include <windows.h>
#include <stdio.h>
#include <wchar.h>

#define LIMIT_MS 10000 /* a run takes well under a second; allow for your longest Delete */
#define NOT_STARTED -1
#define ENDED -2
#define NO_REPORT -3

/* Presses OK on the plug-in's own error box (a dialog captioned "Plug-in Quorvel") of the given process;
   any other window, such as one of the shell's, is left alone, and the time limit ends the run. */
static BOOL CALLBACK PressOk(HWND window, LPARAM process) {
    DWORD owner = 0;
    wchar_t cls[16], caption[32];
    GetWindowThreadProcessId(window, &owner);
    if (owner == (DWORD)process && GetClassNameW(window, cls, 16) && wcscmp(cls, L"#32770") == 0 && IsWindowVisible(window) &&
        GetWindowTextW(window, caption, 32) && wcscmp(caption, L"Plug-in Quorvel") == 0)
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(window, IDOK));
    return TRUE;
}

/* Runs quorvel.exe with the given arguments (paths already quoted). Returns its
   exit status, NOT_STARTED, ENDED, or NO_REPORT where it ended with 0 but left
   no report of this command (section, as "[Delete]"); on 0, line6 holds the
   report's sixth line without "Return =". */
static int Run(const wchar_t* arguments, const char* section, wchar_t* line6, int size) {
    wchar_t exe[MAX_PATH], report[MAX_PATH + 16], commandLine[4096];
    DWORD status = 0;
    GetModuleFileNameW(NULL, exe, MAX_PATH);
    wcscpy(wcsrchr(exe, L'\\') + 1, L"quorvel.exe");
    GetTempPathW(MAX_PATH, report);
    wcscat(report, L"qrvplug.txt");
    DeleteFileW(report); /* never read a report an earlier run left */

    /* The command line starts with the program's own name, as Windows programs expect. */
    _snwprintf(commandLine, 4096, L"\"%ls\" %ls", exe, arguments);
    STARTUPINFOW si;
    PROCESS_INFORMATION pi;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    if (!CreateProcessW(exe, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi)) return NOT_STARTED;
    if (WaitForSingleObject(pi.hProcess, LIMIT_MS) == WAIT_TIMEOUT) {
        EnumWindows(PressOk, (LPARAM)pi.dwProcessId); /* an error box nobody will click */
        if (WaitForSingleObject(pi.hProcess, 5000) == WAIT_TIMEOUT) {
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, INFINITE);
            status = (DWORD)ENDED;
        }
    }
    if (status == 0) GetExitCodeProcess(pi.hProcess, &status);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    if (status != 0) return (int)status; /* the failure's number: see the host authors' guide */

    /* The report is ANSI text in this machine's code page, CR LF after each line. */
    char bytes[8192];
    DWORD n = 0;
    HANDLE file = CreateFileW(report, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return NO_REPORT;
    ReadFile(file, bytes, sizeof bytes - 1, &n, NULL);
    CloseHandle(file);
    bytes[n] = '\0';
    char *line = bytes, *line4 = NULL;
    for (int i = 1; i < 6 && line; ++i) {
        line = strstr(line, "\r\n") ? strstr(line, "\r\n") + 2 : NULL;
        if (i == 3) line4 = line;
    }
    if (!line4 || strncmp(line4, section, strlen(section)) != 0 || strncmp(line4 + strlen(section), "\r\n", 2) != 0 || !line ||
        strncmp(line, "Return =", 8) != 0)
        return NO_REPORT;
    line += 8;
    if (strstr(line, "\r\n")) *strstr(line, "\r\n") = '\0';
    MultiByteToWideChar(CP_ACP, 0, line, -1, line6, size);
    return 0;
}

/* Prints a wide text to standard output as UTF-8. */
static void Say(const wchar_t* what, int status, const wchar_t* value) {
    char text[1024];
    wchar_t line[512];
    if (status == 0) _snwprintf(line, 512, L"%ls:%ls\n", what, value);
    else if (status == NOT_STARTED) _snwprintf(line, 512, L"%ls failed: not started\n", what);
    else if (status == ENDED) _snwprintf(line, 512, L"%ls failed: ended after %d s\n", what, LIMIT_MS / 1000);
    else if (status == NO_REPORT) _snwprintf(line, 512, L"%ls failed: no report\n", what);
    else _snwprintf(line, 512, L"%ls failed: %d\n", what, status);
    WideCharToMultiByte(CP_UTF8, 0, line, -1, text, sizeof text, NULL, NULL);
    fputs(text, stdout);
}

int wmain(int argc, wchar_t** argv) {
    wchar_t arguments[2048], value[256];
    int status, failed = 0;
    if (argc != 4) return fputs("usage: host FOLDER FILE DOCUMENT\n", stderr), 2;

    _snwprintf(arguments, 2048, L"FreeDiskSpace \"%ls\"", argv[1]);
    status = Run(arguments, "[FreeDiskSpace]", value, 256);
    Say(L"free bytes", status, value); /* " 52837318656": a blank, then the digits */
    failed |= status != 0;

    _snwprintf(arguments, 2048, L"Delete \"%ls\"", argv[2]);
    status = Run(arguments, "[Delete]", value, 256);
    Say(L"deleted", status, value); /* "True", or "False" when the shell refused */
    failed |= status != 0;

    _snwprintf(arguments, 2048, L"Execute \"%ls\"", argv[3]);
    status = Run(arguments, "[Execute]", value, 256);
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
