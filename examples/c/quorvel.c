/* Calling Quorvel from a C program: QuorvelRun (quorvel.h), a function to copy.
 *
 * Every run follows the same steps. Make a folder in the temp folder for this
 * run alone (where this program runs elevated, with an access list of this
 * user, SYSTEM and Administrators only, so that no other user can plant a name
 * in it). Start the plug-in with TMP and TEMP naming that folder and every
 * path quoted, so that its report is this run's and no other run's. Wait for
 * it with a time limit; a failing plug-in shows a modal error box, and an
 * unattended host must not hang on it, so after the limit press OK on the box
 * captioned "Plug-in Quorvel" (the plug-in then ends with the failure's number
 * as its exit status) or, where no such box answers, end the process. Take
 * its exit status, and only when that is 0 and the report exists with the
 * command's section as line 4, read line 6 in the ANSI code page. Remove the
 * folder.
 */
#include <windows.h>
#include <sddl.h>
#include <stdio.h>
#include <string.h>

#include "quorvel.h"

static BOOL Elevated(void) {
    HANDLE token;
    TOKEN_ELEVATION elevation = {0};
    DWORD n;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return FALSE;
    GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation,
                        &n); /* before Vista: fails, not elevated */
    CloseHandle(token);
    return elevation.TokenIsElevated != 0;
}

/* An access list of this user, SYSTEM and Administrators alone, not inherited from the temp folder. */
static PSECURITY_DESCRIPTOR Private(void) {
    HANDLE token;
    union {
        TOKEN_USER user;
        BYTE bytes[256];
    } user;
    wchar_t *sid = NULL, sddl[256];
    PSECURITY_DESCRIPTOR sd = NULL;
    DWORD n;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return NULL;
    if (GetTokenInformation(token, TokenUser, &user, sizeof user, &n) &&
        ConvertSidToStringSidW(user.user.User.Sid, &sid)) {
        _snwprintf(sddl, 256, L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;%ls)", sid);
        sddl[255] = L'\0';
        ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, NULL);
        LocalFree(sid);
    }
    CloseHandle(token);
    return sd;
}

/* A new folder in the temp folder, for this run alone: never one that was there before (a name someone
   planted, a link among them, is passed over for the next). */
static BOOL MakeFolder(wchar_t* folder, int size) {
    static unsigned count;
    wchar_t temp[MAX_PATH + 1];
    SECURITY_ATTRIBUTES sa = {sizeof sa, NULL, FALSE};
    BOOL made = FALSE;
    DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH || (Elevated() && !(sa.lpSecurityDescriptor = Private()))) return FALSE;
    for (int attempt = 0; attempt < 100 && !made; ++attempt) {
        _snwprintf(folder, size, L"%lsquorvel-%lu-%u", temp, GetCurrentProcessId(), count++);
        folder[size - 1] = L'\0';
        made = CreateDirectoryW(folder, &sa);
        if (!made && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    LocalFree(sa.lpSecurityDescriptor);
    return made;
}

/* The run's folder goes with whatever the plug-in left in it: the report, or its own new file where it
   was ended while writing. */
static void RemoveFolder(const wchar_t* folder) {
    wchar_t path[MAX_PATH * 2];
    WIN32_FIND_DATAW found;
    _snwprintf(path, MAX_PATH * 2, L"%ls\\*", folder);
    HANDLE find = FindFirstFileW(path, &found);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found)) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        _snwprintf(path, MAX_PATH * 2, L"%ls\\%ls", folder, found.cFileName);
        DeleteFileW(path);
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    RemoveDirectoryW(folder);
}

/* This program's environment with TMP and TEMP naming folder, for the plug-in; free it with HeapFree. */
static wchar_t* Environment(const wchar_t* folder) {
    wchar_t *mine = GetEnvironmentStringsW(), *block, *to;
    size_t length = 0, n = wcslen(folder);
    if (!mine) return NULL;
    for (const wchar_t* e = mine; *e; e += wcslen(e) + 1) length += wcslen(e) + 1;
    block = to = HeapAlloc(GetProcessHeap(), 0, (length + 2 * n + 16) * sizeof(wchar_t));
    for (const wchar_t* e = mine; block && *e; e += wcslen(e) + 1)
        if (_wcsnicmp(e, L"TMP=", 4) != 0 && _wcsnicmp(e, L"TEMP=", 5) != 0) to = wcscpy(to, e) + wcslen(e) + 1;
    if (block) {
        to += swprintf(to, n + 6, L"TMP=%ls", folder) + 1;
        to += swprintf(to, n + 6, L"TEMP=%ls", folder) + 1;
        *to = L'\0';
    }
    FreeEnvironmentStringsW(mine);
    return block;
}

/* Presses OK on the plug-in's own error box (a dialog captioned "Plug-in Quorvel") of the given process;
   any other window, such as one of the shell's, is left alone, and the time limit ends the run. */
static BOOL CALLBACK PressOk(HWND window, LPARAM process) {
    DWORD owner = 0;
    wchar_t cls[16], caption[32];
    GetWindowThreadProcessId(window, &owner);
    if (owner == (DWORD)process && GetClassNameW(window, cls, 16) && wcscmp(cls, L"#32770") == 0 &&
        IsWindowVisible(window) && GetWindowTextW(window, caption, 32) && wcscmp(caption, L"Plug-in Quorvel") == 0)
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(window, IDOK));
    return TRUE;
}

/* Starts the plug-in and waits for it: its exit status, QUORVEL_NOT_STARTED or QUORVEL_ENDED. */
static int Start(const wchar_t* arguments, const wchar_t* folder) {
    wchar_t exe[MAX_PATH], commandLine[4096], *environment = Environment(folder);
    STARTUPINFOW si;
    PROCESS_INFORMATION pi;
    DWORD status = 0;
    GetModuleFileNameW(NULL, exe, MAX_PATH);
    wcscpy(wcsrchr(exe, L'\\') + 1, L"quorvel.exe");
    /* The command line starts with the program's own name, as Windows programs expect. */
    _snwprintf(commandLine, 4096, L"\"%ls\" %ls", exe, arguments);
    commandLine[4095] = L'\0';
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    BOOL started = environment && CreateProcessW(exe, commandLine, NULL, NULL, FALSE, CREATE_UNICODE_ENVIRONMENT,
                                                 environment, NULL, &si, &pi);
    if (environment) HeapFree(GetProcessHeap(), 0, environment);
    if (!started) return QUORVEL_NOT_STARTED;
    if (WaitForSingleObject(pi.hProcess, QUORVEL_LIMIT_MS) == WAIT_TIMEOUT) {
        EnumWindows(PressOk, (LPARAM)pi.dwProcessId); /* an error box nobody will click */
        if (WaitForSingleObject(pi.hProcess, 5000) == WAIT_TIMEOUT) {
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, INFINITE);
            status = (DWORD)QUORVEL_ENDED;
        }
    }
    if (status == 0) GetExitCodeProcess(pi.hProcess, &status);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return (int)status;
}

/* Line 6 of the report after "Return =", where line 4 is section: 0, else QUORVEL_NO_REPORT. The report is
   ANSI text in this machine's code page, CR LF after each line. */
static int ReadReport(const wchar_t* folder, const char* section, wchar_t* value, int size) {
    wchar_t report[MAX_PATH * 2];
    char bytes[8192];
    DWORD n = 0;
    _snwprintf(report, MAX_PATH * 2, L"%ls\\qrvplug.txt", folder);
    HANDLE file = CreateFileW(report, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return QUORVEL_NO_REPORT;
    ReadFile(file, bytes, sizeof bytes - 1, &n, NULL);
    CloseHandle(file);
    bytes[n] = '\0';
    char *line = bytes, *line4 = NULL;
    for (int i = 1; i < 6 && line; ++i) {
        line = strstr(line, "\r\n") ? strstr(line, "\r\n") + 2 : NULL;
        if (i == 3) line4 = line;
    }
    if (!line4 || strncmp(line4, section, strlen(section)) != 0 || strncmp(line4 + strlen(section), "\r\n", 2) != 0 ||
        !line || strncmp(line, "Return =", 8) != 0)
        return QUORVEL_NO_REPORT;
    line += 8;
    if (strstr(line, "\r\n")) *strstr(line, "\r\n") = '\0';
    MultiByteToWideChar(CP_ACP, 0, line, -1, value, size);
    return 0;
}

int QuorvelRun(const wchar_t* arguments, const char* section, wchar_t* value, int size) {
    wchar_t folder[MAX_PATH + 64];
    if (!MakeFolder(folder, MAX_PATH + 64)) return QUORVEL_NO_FOLDER;
    int status = Start(arguments, folder);
    if (status == 0) status = ReadReport(folder, section, value, size);
    RemoveFolder(folder);
    return status;
}
