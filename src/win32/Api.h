// Every OS function the program calls stands once in the table below and is
// bound by library and function name on its first call. Nothing else is
// imported at load time but GetModuleHandleA, GetProcAddress and
// LoadLibraryExA, which do the binding, ExitProcess, which ends the run where
// a function is missing, FreeLibrary, which the free-space probe needs, and
// LocalAlloc and LocalFree. GetDiskFreeSpaceExA and its W function
// are reached only after that probe has found the first. The W function of a
// pair stands right after its ANSI one.
#pragma once

#include <windows.h>

namespace qrv {

// Each library, then the functions taken from it.
#define QRV_API(LIBRARY, X)       \
    LIBRARY(kernel32)             \
    X(CloseHandle)                \
    X(CreateFileA)                \
    X(CreateFileW)                \
    X(DeleteFileA)                \
    X(DeleteFileW)                \
    X(GetCommandLineW)            \
    X(GetCurrentDirectoryW)       \
    X(GetCurrentProcessId)        \
    X(GetDiskFreeSpaceA)          \
    X(GetDiskFreeSpaceW)          \
    X(GetDiskFreeSpaceExA)        \
    X(GetDiskFreeSpaceExW)        \
    X(GetFileAttributesW)         \
    X(GetFileInformationByHandle) \
    X(GetFullPathNameW)           \
    X(GetLastError)               \
    X(GetShortPathNameW)          \
    X(GetSystemDirectoryA)        \
    X(GetTempPathW)               \
    X(GetVersion)                 \
    X(MoveFileExA)                \
    X(MoveFileExW)                \
    X(SetDefaultDllDirectories)   \
    X(SetDllDirectoryA)           \
    X(SetErrorMode)               \
    X(SetProcessMitigationPolicy) \
    X(WideCharToMultiByte)        \
    X(WriteFile)                  \
    LIBRARY(user32)               \
    X(AdjustWindowRect)           \
    X(CreateWindowExW)            \
    X(DefWindowProcW)             \
    X(GetDC)                      \
    X(GetDesktopWindow)           \
    X(GetWindowLongW)             \
    X(MessageBoxW)                \
    X(RegisterClassW)             \
    X(ReleaseDC)                  \
    X(SetWindowLongW)             \
    X(SetWindowTextW)             \
    X(ShowWindow)                 \
    LIBRARY(gdi32)                \
    X(GetDeviceCaps)              \
    LIBRARY(ole32)                \
    X(CoInitializeEx)             \
    LIBRARY(advapi32)             \
    X(GetTokenInformation)        \
    X(OpenProcessToken)           \
    LIBRARY(shell32)              \
    X(SHFileOperationA)           \
    X(SHFileOperationW)           \
    X(ShellExecuteExA)            \
    X(ShellExecuteExW)

enum Api {
#define QRV_LIBRARY(library) library_##library,
#define QRV_ENUM(name) api_##name,
    QRV_API(QRV_LIBRARY, QRV_ENUM)
#undef QRV_LIBRARY
#undef QRV_ENUM
        api_count
};

// The function, or null where this Windows lacks it: callers of a function
// that an older Windows may lack check for null.
FARPROC Find(Api api);
// The function; every Windows that can start us has it, and one without it
// ends the run at once with status 453 (a function not found), no box.
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
