// Where the suite's build of the program looks every system function up: DEVELOPING.md, "The suite's build: answers
// only Windows gives".
#include <windows.h>
#include <shellapi.h>

#include "../../src/win32/Api.h"

namespace qrv {
namespace {

FARPROC real;  // the system's function the stand-in is put in place of
DWORD number;  // how the stand-in answers

template <class F>
F* Real(F*) {
    return reinterpret_cast<F*>(reinterpret_cast<void*>(real));
}

// A box the test reads: what a stand-in was asked.
void Show(const wchar_t* text, const wchar_t* caption) { CALL(MessageBoxW)(nullptr, text, caption, MB_OK); }

// The size asked for first, larger by the number than the name needs, as NT may answer it.
DWORD WINAPI TempPath(DWORD size, LPWSTR buffer) { return Real(&GetTempPathW)(size, buffer) + (size ? 0 : number); }

// The 8.3 name written, its length answered larger by the number, as where the name grew between two calls.
DWORD WINAPI ShortPath(LPCWSTR path, LPWSTR buffer, DWORD size) {
    return Real(&GetShortPathNameW)(path, buffer, size) + (size ? number : 0);
}

// A delete that shows the names asked for in a box, separated by bars, then skips them all: the number as its answer,
// the aborted flag set.
int WINAPI Delete(SHFILEOPSTRUCTW* op) {
    static wchar_t names[4096];
    const unsigned char* from = reinterpret_cast<const unsigned char*>(op->pFrom);
    for (int k = 0; k < 4095 && (from[k] || from[k + 1]); ++k) names[k] = from[k] ? from[k] : L'|';
    Show(names, L"SHFileOperation");
    op->fAnyOperationsAborted = TRUE;
    return static_cast<int>(number);
}

// The guard against others' junctions: a box that shows the policy asked for (its kind, and 1 where it is on).
BOOL WINAPI Guard(PROCESS_MITIGATION_POLICY kind, PVOID policy, SIZE_T) {
    wchar_t text[] = L"redirection trust 0, on 0";
    text[18] += kind == ProcessRedirectionTrustPolicy;
    text[24] += static_cast<PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY*>(policy)->EnforceRedirectionTrust;
    Show(text, L"Guard");
    return TRUE;
}

// The shell's answer, the number as its code, nothing started.
BOOL WINAPI Execute(SHELLEXECUTEINFOW* info) {
    info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(number));
    return number > 32;
}

// A write that stops after the number of bytes, answering success.
BOOL WINAPI Write(HANDLE file, LPCVOID bytes, DWORD n, LPDWORD written, LPOVERLAPPED overlapped) {
    return Real(&WriteFile)(file, bytes, n < number ? n : number, written, overlapped);
}

// A conversion to the code page that fails.
int WINAPI ToAnsi(UINT, DWORD, LPCWCH, int, LPSTR, int, LPCCH, LPBOOL) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
}

// The number as this process's id; the number as the count of an open file's links.
DWORD WINAPI Pid() { return number; }
BOOL WINAPI FileInfo(HANDLE f, LPBY_HANDLE_FILE_INFORMATION info) {
    BOOL answered = Real(&GetFileInformationByHandle)(f, info);
    info->nNumberOfLinks = number;
    return answered;
}

const struct {
    const char* name;
    void* proc;
} standIns[] = {{"GetTempPathW", reinterpret_cast<void*>(TempPath)},
                {"GetShortPathNameW", reinterpret_cast<void*>(ShortPath)},
                {"SHFileOperationA", reinterpret_cast<void*>(Delete)},
                {"ShellExecuteExA", reinterpret_cast<void*>(Execute)},
                {"SetProcessMitigationPolicy", reinterpret_cast<void*>(Guard)},
                {"WriteFile", reinterpret_cast<void*>(Write)},
                {"WideCharToMultiByte", reinterpret_cast<void*>(ToAnsi)},
                {"GetCurrentProcessId", reinterpret_cast<void*>(Pid)},
                {"GetFileInformationByHandle", reinterpret_cast<void*>(FileInfo)}};

// Where text names the function: name, then its end or its number.
const char* Naming(const char* text, const char* name) {
    while (*name && *text == *name) {
        ++text;
        ++name;
    }
    return !*name && (!*text || *text == '=') ? text : nullptr;
}

}  // namespace

FARPROC Lookup(HMODULE module, const char* name) {
    static char asked[128];
    static const DWORD length = GetEnvironmentVariableA("QUORVEL_STANDINS", asked, sizeof asked);
    FARPROC found = ::GetProcAddress(module, name);
    const char* rest = length < sizeof asked ? Naming(asked + (asked[0] == '-'), name) : nullptr;
    if (!rest) return found;
    if (asked[0] == '-') return nullptr;
    for (const auto& s : standIns) {
        if (!Naming(s.name, name)) continue;
        real = found;
        for (number = 0; *rest && *++rest;) number = number * 10 + (*rest - '0');
        return reinterpret_cast<FARPROC>(s.proc);
    }
    FatalAppExitA(0, name);  // a stand-in the suite asked for and this build lacks
    return found;
}

}  // namespace qrv
