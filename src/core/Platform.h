// Every service the program takes from the operating system, in one place.
// The core sees nothing else of the OS. Texts are UTF-16 here. A call that
// names a file goes to one function of an ANSI and W pair, as the core
// decides once (NameFor): the ANSI function with the name's exact bytes in the
// code page, or the W function with the name as given. An implementation
// passes a Name on as it is: it never converts, substitutes or refuses one.
// No operation fails otherwise: a refusal comes back as null, zero, a code or
// a FileStatus.
//
// A program has one implementation of these functions. The exe's is
// src/win32's, which the core calls directly; the tests build the core with
// QRV_TESTS, where the functions are virtual and their small Windows overrides
// them.
#pragma once

#include <cstdint>

#include "Text.h"

namespace qrv {

using Handle = std::uintptr_t;

enum class Field { Text1, Text2, Text3 };

// Which function of a pair a call goes to: the ANSI one, or the W one.
enum class Chars { Ansi, Wide };

// A name as a call hands it to the system: for the ANSI function its bytes in
// the code page, which say exactly what text says; for the W function text
// itself. An absent name is a null pointer.
struct Name {
    bool present = false;
    Chars chars = Chars::Wide;
    Str text;
    Bytes ansi;
};

// Outcome of an operation on the report file.
enum class FileStatus {
    Ok,
    PathNotFound,
    AccessDenied,
    BadName,
    DiskFull,
    ShortWrite,
    Unconvertible,
    Exists,
    NotPlain,
    InUse,
    Folder,
    Other
};

// The shell's file operation request. The rest of the system's request goes
// empty: no owner window, destination, name mappings or progress title, the
// operations-aborted flag clear; aborted comes back as the call left that flag.
struct ShellFileRequest {
    uint32_t operation;
    Name from;  // NUL-separated names, ending in an extra NUL
    uint16_t flags;
    bool aborted;
};

constexpr uint32_t FO_DELETE_OP = 3;
constexpr uint16_t FOF_NOCONFIRMATION_FLAG = 0x10;
constexpr uint16_t FOF_ALLOWUNDO_FLAG = 0x40;
constexpr uint16_t FOF_NOERRORUI_FLAG = 0x400;

// The process's error mode that holds the critical-error boxes off.
constexpr uint32_t SEM_FAILCRITICALERRORS_MODE = 1;

#ifdef QRV_TESTS
#define QRV_OS(function) virtual function = 0
#else
#define QRV_OS(function) function
#endif

class Platform {
public:
    // Process environment.
    QRV_OS(Str CommandLineText());   // what follows the program's path, as written
    QRV_OS(Str CurrentDirectory());  // as the system names it

    // The hidden window and its three status fields; nothing is read back.
    QRV_OS(void SetFormVisible(bool visible));
    QRV_OS(void SetFormMinimized());
    QRV_OS(void SetFieldText(Field field, const Str& text));

    // Modal message box with one OK button and no icon; returns when dismissed.
    QRV_OS(void ShowMessageBox(const Str& text, const Str& caption));

    // Ends the process (a fake may return); open files are closed.
    QRV_OS(void EndProcess(uint32_t exitStatus));

    // The report's new file, the only file the program opens: made at path
    // through CreateFileA or W only where nothing is there, a reparse point
    // included (Exists), and never through one. CheckReportFile answers
    // NotPlain where what was opened is not a plain file of one link. The
    // text written is converted to ANSI with substitution where a character
    // has no equivalent; a conversion that fails outright is Unconvertible.
    QRV_OS(FileStatus CreateReportFile(const Name& path));
    QRV_OS(FileStatus CheckReportFile());
    QRV_OS(FileStatus WriteReportFile(const Str& text));
    QRV_OS(void CloseFiles());
    // MoveFileExA or W (both names of one kind), replacing what is at to (a
    // reparse point is replaced, never followed), never copying: InUse where
    // it is held open without sharing delete, Folder where a folder is there.
    // DeleteReportFile removes the file the program made, by its name.
    QRV_OS(FileStatus MoveReportFile(const Name& from, const Name& to));
    QRV_OS(void DeleteReportFile(const Name& path));
    // Whether the process's token is elevated (an administrator's full
    // token, or SYSTEM's); and, where the system has it, the guard that
    // keeps the process from following a junction a non-administrator made.
    QRV_OS(bool Elevated());
    QRV_OS(void TrustOnlyAdminRedirections());
    QRV_OS(uint32_t ProcessId());

    // kernel32. GetTempFolder gives the temp folder as the system names it,
    // UTF-16 and counted in characters, whatever the ANSI code page can carry
    // (GetTempDir picks the form that is handed on): asked with size 0 it
    // answers the characters needed, NUL included (Windows may answer more);
    // asked with size n it writes the name and a NUL into the buffer, which
    // holds at least n characters.
    QRV_OS(uint32_t GetTempFolder(uint32_t size, Str& buffer));
    // The 8.3 form of an existing path; empty where the call fails.
    QRV_OS(Str ShortPathName(const Str& path));
    // The path made full against the current directory (GetFullPathNameW);
    // empty where the call fails.
    QRV_OS(Str FullPathName(const Str& path));
    // The text in the ANSI code page, true where every character has an
    // exact equivalent (converted back, it is the same text); the bytes are
    // then what an ANSI function is handed.
    QRV_OS(bool ToAnsi(const Str& text, Bytes& ansi));
    // SetErrorMode: sets the process's error mode, which programs it starts
    // inherit, and answers the one before.
    QRV_OS(uint32_t SetErrorMode(uint32_t mode));
    QRV_OS(Handle GetModuleHandleA(const char* name));
    QRV_OS(Handle LoadLibraryA(const char* name));
    QRV_OS(bool GetProcAddress(Handle module, const char* name));
    QRV_OS(void FreeLibrary(Handle module));
    // GetDiskFreeSpaceExA or W, and GetDiskFreeSpaceA or W. They fill only
    // the counts the program uses: the bytes available to the caller; the
    // cluster size and the free clusters.
    QRV_OS(bool GetDiskFreeSpaceEx(const Name& path, uint64_t& available));
    QRV_OS(bool GetDiskFreeSpace(const Name& path, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                                 uint32_t& freeClusters));

    // user32 and shell32: ShellExecuteExA or W (its names all of one kind),
    // with COM initialised on the thread first and the launch completed
    // before it returns, answering the code ShellExecute would;
    // SHFileOperationA or W.
    QRV_OS(Handle GetDesktopWindow());
    QRV_OS(int32_t ShellExecute(Handle owner, const Name& operation, const Name& file, const Name& parameters,
                                const Name& directory, int32_t show));
    QRV_OS(int32_t SHFileOperation(ShellFileRequest& request));
};

}  // namespace qrv
