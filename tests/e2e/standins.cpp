// The suite's build of the program (quorvel-standins.exe) looks every system function up here.
// QUORVEL_STANDINS lists, blank-separated, NAME=NUMBER for a function answered by its stand-in below (the
// number says how) and -NAME for one this Windows lacks; a name without a stand-in ends the run.
#include <windows.h>
#include <shellapi.h>

#include "../../src/win32/Api.h"

namespace qrv {
namespace {

struct StandIn {
    const char* name;
    void* proc;
    FARPROC real = nullptr;
    DWORD number = 0;
};
extern StandIn standIns[];
enum { tempPath, deleteW, deleteA, executeW, executeA, write, toAnsi, pid, fileInfo };
template <int i, class F>
F* Real(F*) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(standIns[i].real));
}

// The size asked for first, larger by the number than the name needs, as NT may answer it.
DWORD WINAPI TempPath(DWORD size, LPWSTR buffer) {
    return Real<tempPath>(&GetTempPathW)(size, buffer) + (size ? 0 : standIns[tempPath].number);
}
// A delete that shows the names asked for in a box, separated by bars, then skips them all: the number
// as its answer, the aborted flag set.
template <int i, class C>
int WINAPI Delete(SHFILEOPSTRUCTW* op) {
    static wchar_t names[4096];
    const C* p = reinterpret_cast<const C*>(op->pFrom);
    for (int k = 0; k < 4095 && (*p || p[1]); ++k, ++p)
        names[k] = *p ? static_cast<wchar_t>(*p & (sizeof(C) == 1 ? 0xFF : 0xFFFF)) : L'|';
    reinterpret_cast<decltype(&MessageBoxW)>(reinterpret_cast<void*>(Need(api_MessageBoxW)))(nullptr, names,
                                                                                             L"SHFileOperation", MB_OK);
    return op->fAnyOperationsAborted = TRUE, standIns[i].number;
}
// The shell's answer, the number as its code, nothing started.
template <int i>
BOOL WINAPI Execute(SHELLEXECUTEINFOW* info) {
    return info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(standIns[i].number)),
           standIns[i].number > 32;
}
// A write that stops after the number of bytes, answering success; a conversion to the code page that fails.
BOOL WINAPI Write(HANDLE file, LPCVOID bytes, DWORD n, LPDWORD written, LPOVERLAPPED overlapped) {
    return Real<write>(&WriteFile)(file, bytes, n < standIns[write].number ? n : standIns[write].number, written,
                                   overlapped);
}
int WINAPI ToAnsi(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL) {
    return SetLastError(ERROR_NO_UNICODE_TRANSLATION), 0;
}
// The number as this process's id; the number as the count of an open file's links.
DWORD WINAPI Pid() { return standIns[pid].number; }
BOOL WINAPI FileInfo(HANDLE f, LPBY_HANDLE_FILE_INFORMATION info) {
    return Real<fileInfo>(&GetFileInformationByHandle)(f, info) && (info->nNumberOfLinks = standIns[fileInfo].number);
}

StandIn standIns[] = {{"GetTempPathW", reinterpret_cast<void*>(TempPath)},
                      {"SHFileOperationW", reinterpret_cast<void*>(Delete<deleteW, wchar_t>)},
                      {"SHFileOperationA", reinterpret_cast<void*>(Delete<deleteA, char>)},
                      {"ShellExecuteExW", reinterpret_cast<void*>(Execute<executeW>)},
                      {"ShellExecuteExA", reinterpret_cast<void*>(Execute<executeA>)},
                      {"WriteFile", reinterpret_cast<void*>(Write)},
                      {"WideCharToMultiByte", reinterpret_cast<void*>(ToAnsi)},
                      {"GetCurrentProcessId", reinterpret_cast<void*>(Pid)},
                      {"GetFileInformationByHandle", reinterpret_cast<void*>(FileInfo)}};

bool Same(const char* a, const char* b, const char* end) {
    while (a < end && *a == *b) ++a, ++b;
    return a == end && !*b;
}  // a up to end is b

}  // namespace

FARPROC Lookup(HMODULE module, const char* name) {
    static char list[512];
    static const char* const last =
        list + (GetEnvironmentVariableA("QUORVEL_STANDINS", list, sizeof list) % sizeof list);
    FARPROC found = ::GetProcAddress(module, name);
    for (const char* p = list; p < last; ++p) {
        const bool missing = *p == '-';
        const char *start = p + missing, *end = start;
        DWORD number = 0;
        for (p = end; p < last && *p != ' ' && *p != '='; end = ++p) {
        }
        if (*p == '=')
            while (++p < last && *p != ' ') number = number * 10 + (*p - '0');
        if (!Same(start, name, end)) continue;
        if (missing) return nullptr;
        for (StandIn& s : standIns)
            if (Same(start, s.name, end)) return s.real = found, s.number = number, reinterpret_cast<FARPROC>(s.proc);
        FatalAppExitA(0, name);  // a stand-in the suite asked for and this build lacks
    }
    return found;
}

}  // namespace qrv
