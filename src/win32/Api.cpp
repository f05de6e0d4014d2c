#include "Api.h"

namespace qrv {
namespace {

// The libraries' and the functions' names, one after another in the table's order: read-only, with no
// pointer to relocate. A library's name ends in .dll, a function's never does. The bound functions start empty,
// in zero-filled memory that takes no room in the file.
const char names[] =
#define QRV_LIBRARY(library) #library ".dll\0"
#define QRV_NAME(name) #name "\0"
    QRV_API(QRV_LIBRARY, QRV_NAME);
#undef QRV_LIBRARY
#undef QRV_NAME
FARPROC procs[api_count];

// The name of an entry, and of the library before it.
const char* Name(Api api, const char*& library) {
    const char* p = names;
    for (int i = 0; i < api; ++i) {
        const char* entry = p;
        while (*p) ++p;
        if (p[-4] == '.') library = entry;
        ++p;
    }
    return p;
}

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
    FARPROC& proc = procs[api];
    if (!proc) {
        const char* library = names;
        const char* name = Name(api, library);
        HMODULE module = ::GetModuleHandleA(library);
        if (!module) module = LoadSystemLibrary(library);  // kept for the life of the process
        if (module) proc = Lookup(module, name);
    }
    return proc;
}

FARPROC Need(Api api) {
    FARPROC proc = Find(api);
    if (!proc) ::ExitProcess(453);  // no box: nobody may be there to click it
    return proc;
}

}  // namespace qrv
