// Every OS function the program calls stands once in the table below and is
// bound by library and function name on its first call. Nothing else is
// imported at load time but GetModuleHandleA, GetProcAddress, LoadLibraryExA
// and FatalAppExitA, which do the binding, FreeLibrary, which the free-space
// probe needs, and the process heap. GetDiskFreeSpaceExA and its W function
// are reached only after that probe has found the first. The W function of a
// pair stands right after its ANSI one.
#pragma once

#include <windows.h>

namespace qrv {

#define QRV_API(X)                          \
    X(kernel32, CloseHandle)                \
    X(kernel32, CreateFileA)                \
    X(kernel32, CreateFileW)                \
    X(kernel32, DeleteFileA)                \
    X(kernel32, DeleteFileW)                \
    X(kernel32, ExitProcess)                \
    X(kernel32, GetCommandLineW)            \
    X(kernel32, GetCurrentDirectoryW)       \
    X(kernel32, GetCurrentProcessId)        \
    X(kernel32, GetDiskFreeSpaceA)          \
    X(kernel32, GetDiskFreeSpaceW)          \
    X(kernel32, GetDiskFreeSpaceExA)        \
    X(kernel32, GetDiskFreeSpaceExW)        \
    X(kernel32, GetFileAttributesW)         \
    X(kernel32, GetFileInformationByHandle) \
    X(kernel32, GetFullPathNameW)           \
    X(kernel32, GetLastError)               \
    X(kernel32, GetShortPathNameW)          \
    X(kernel32, GetSystemDirectoryA)        \
    X(kernel32, GetTempPathW)               \
    X(kernel32, GetVersion)                 \
    X(kernel32, MoveFileExA)                \
    X(kernel32, MoveFileExW)                \
    X(kernel32, SetDefaultDllDirectories)   \
    X(kernel32, SetDllDirectoryA)           \
    X(kernel32, SetErrorMode)               \
    X(kernel32, SetProcessMitigationPolicy) \
    X(kernel32, WideCharToMultiByte)        \
    X(kernel32, WriteFile)                  \
    X(user32, AdjustWindowRect)             \
    X(user32, CreateWindowExW)              \
    X(user32, DefWindowProcW)               \
    X(user32, GetDC)                        \
    X(user32, GetDesktopWindow)             \
    X(user32, GetWindowLongW)               \
    X(user32, MessageBoxW)                  \
    X(user32, RegisterClassW)               \
    X(user32, ReleaseDC)                    \
    X(user32, SetWindowLongW)               \
    X(user32, SetWindowTextW)               \
    X(user32, ShowWindow)                   \
    X(gdi32, GetDeviceCaps)                 \
    X(ole32, CoInitializeEx)                \
    X(advapi32, GetTokenInformation)        \
    X(advapi32, OpenProcessToken)           \
    X(shell32, SHFileOperationA)            \
    X(shell32, SHFileOperationW)            \
    X(shell32, ShellExecuteExA)             \
    X(shell32, ShellExecuteExW)

enum Api {
#define QRV_ENUM(library, name) api_##name,
    QRV_API(QRV_ENUM)
#undef QRV_ENUM
        api_count
};

// The function, or null where this Windows lacks it: callers of a function
// that an older Windows may lack check for null.
FARPROC Find(Api api);
// The function; every Windows that can start us has it, and one without it
// ends the run with the function's name.
FARPROC Need(Api api);

// A function of a loaded library, by name: GetProcAddress. The suite's own
// build of the program (QRV_STAND_INS, never shipped) defines it elsewhere,
// so that a test can answer a call with a stand-in, or find it missing.
#ifdef QRV_STAND_INS
FARPROC Lookup(HMODULE module, const char* name);
#else
inline FARPROC Lookup(HMODULE module, const char* name) { return ::GetProcAddress(module, name); }
#endif

// Loads a library by its full path in the system folder, never by a bare name
// that could reach the program's folder; null where it cannot. The first call
// restricts the search that libraries make for what they load in turn.
HMODULE LoadSystemLibrary(const char* name);

}  // namespace qrv

// The bound function, with the type its declaration gives it.
#define CALL(name) reinterpret_cast<decltype(&::name)>(reinterpret_cast<void*>(::qrv::Need(::qrv::api_##name)))
#define FIND(name) reinterpret_cast<decltype(&::name)>(reinterpret_cast<void*>(::qrv::Find(::qrv::api_##name)))
