#include "Api.h"

namespace qrv {
namespace {

struct Entry {
    const char* library;
    const char* name;
    FARPROC proc;
};

Entry table[] = {
#define QRV_ENTRY(library, name) {#library, #name, nullptr},
    QRV_API(QRV_ENTRY)
#undef QRV_ENTRY
};

// How libraries are loaded: decided once, before the first library other than
// kernel32. Where kernel32 has SetDefaultDllDirectories, a library and all it
// loads in turn are looked for in the system folder only. Windows Vista (6.0)
// may have it too, but its COM shell objects, which ShellExecute uses, break
// under it. There, as where it is missing, SetDllDirectoryA("") takes the
// current folder out of the search, and each library is loaded with the
// altered search path, so that what it imports is looked for beside it in the
// system folder before the program's folder.
DWORD RestrictLibrarySearch() {
    WORD version = LOWORD(CALL(GetVersion)());  // major in the low byte, minor in the high
    auto setDefault = FIND(SetDefaultDllDirectories);
    auto setDirectory = FIND(SetDllDirectoryA);
    if (setDefault && version != 6 && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return 0;
    if (setDirectory) setDirectory("");
    return LOAD_WITH_ALTERED_SEARCH_PATH;
}

}  // namespace

HMODULE LoadSystemLibrary(const char* name) {
    static const DWORD flags = RestrictLibrarySearch();
    char path[MAX_PATH + 1];
    UINT n = CALL(GetSystemDirectoryA)(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    path[n] = '\\';
    for (char* to = path + n + 1; (*to = *name++) != '\0';)
        if (++to == path + sizeof path) return nullptr;
    return ::LoadLibraryExA(path, nullptr, flags);
}

FARPROC Find(Api api) {
    Entry& e = table[api];
    if (!e.proc) {
        HMODULE module = ::GetModuleHandleA(e.library);
        if (!module) module = LoadSystemLibrary(e.library);  // kept for the life of the process
        if (module) e.proc = ::GetProcAddress(module, e.name);
    }
    return e.proc;
}

FARPROC Need(Api api) {
    FARPROC proc = Find(api);
    if (!proc) ::FatalAppExitA(0, table[api].name);
    return proc;
}

}  // namespace qrv
