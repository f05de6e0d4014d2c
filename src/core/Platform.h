// Every service the program takes from the operating system, in one place.
// The core sees nothing else of the OS. Texts are 16-bit here. A call that
// names a file goes to one function of a pair, as the core says (Chars): the
// ANSI one, for a name the code page carries exactly (IsExactInAnsi) and the
// ANSI functions take whole, or else its 16-bit twin, which takes the name as
// it is. An implementation never
// hands the system a substituted form: where a text for an ANSI function does
// not convert exactly the call is not made and the answer is a refusal. No
// operation fails otherwise: a refusal comes back as null, zero, a code or a
// FileStatus.
#pragma once

#include <cstdint>

#include "Text.h"

namespace qrv {

using Handle = std::uintptr_t;

enum class Field { Text1, Text2, Text3 };

// Which function of a pair a call goes to: the ANSI one, or its 16-bit twin.
enum class Chars { Ansi, Wide };

// Outcome of an operation on the report file.
enum class FileStatus { Ok, PathNotFound, AccessDenied, BadName, DiskFull, ShortWrite, Unconvertible, Exists, NotPlain, InUse, Folder, Other };

// The shell's file operation request, its source still 16-bit. The rest of
// the system's request goes empty: no owner window, destination, name
// mappings or progress title, the operations-aborted flag clear; aborted
// comes back as the call left that flag.
struct ShellFileRequest {
    uint32_t operation = 0;
    Str from;  // NUL-separated names, ending in an extra NUL
    uint16_t flags = 0;
    bool aborted = false;
};

constexpr uint32_t FO_DELETE_OP = 3;
constexpr uint16_t FOF_NOCONFIRMATION_FLAG = 0x10;
constexpr uint16_t FOF_ALLOWUNDO_FLAG = 0x40;
constexpr uint16_t FOF_NOERRORUI_FLAG = 0x400;

// The process's error mode that holds the system's critical-error boxes off.
constexpr uint32_t SEM_FAILCRITICALERRORS_MODE = 1;

class Platform {
public:
    virtual ~Platform() = default;

    // Process environment.
    virtual Str CommandLineText() = 0;  // what follows the program's path, as written
    virtual Str CurrentDirectory() = 0;  // as the system names it, 16-bit

    // The hidden window and its three status fields; nothing is read back.
    virtual void SetFormVisible(bool visible) = 0;
    virtual void SetFormMinimized() = 0;
    virtual void SetFieldText(Field field, const Str& text) = 0;

    // Modal message box with one OK button and no icon; returns when dismissed.
    virtual void ShowMessageBox(const Str& text, const Str& caption) = 0;

    // Ends the process (a fake may return); open files are closed.
    virtual void EndProcess(uint32_t exitStatus) = 0;

    // The report's new file, the only file the program opens: made at path
    // through CreateFileA or CreateFileW only where nothing is there, a link
    // included (Exists), and never through one. CheckReportFile answers
    // NotPlain where what was opened is not a plain file of one link. The
    // text written is converted to ANSI with substitution where a character
    // has no equivalent; a conversion that fails outright is Unconvertible.
    virtual FileStatus CreateReportFile(Chars chars, const Str& path) = 0;
    virtual FileStatus CheckReportFile() = 0;
    virtual FileStatus WriteReportFile(const Str& text) = 0;
    virtual void CloseFiles() = 0;
    // MoveFileExA or W, replacing what is at to (a link is replaced, never
    // followed), never copying: InUse where it is held open without sharing
    // delete, Folder where a folder is there. DeleteReportFile removes the file
    // the program made, by its name.
    virtual FileStatus MoveReportFile(Chars chars, const Str& from, const Str& to) = 0;
    virtual void DeleteReportFile(Chars chars, const Str& path) = 0;
    // Whether the process's token is elevated (an administrator's full
    // token, or SYSTEM's); and, where the system has it, the guard that
    // keeps the process from following a junction a non-administrator made.
    virtual bool Elevated() = 0;
    virtual void TrustOnlyAdminRedirections() = 0;
    virtual uint32_t ProcessId() = 0;

    // kernel32. GetTempFolder gives the temp folder as the system names it,
    // 16-bit and counted in characters, whatever the ANSI code page can
    // carry (GetTempDir picks the form that is handed on): asked with size 0
    // it answers the characters needed, NUL included (Windows may answer
    // more); asked with size n it writes the name and a NUL into the buffer,
    // which holds at least n characters.
    virtual uint32_t GetTempFolder(uint32_t size, Str& buffer) = 0;
    // The 8.3 form of an existing path; empty where the call fails.
    virtual Str ShortPathName(const Str& path) = 0;
    // The path made full against the current directory (GetFullPathNameW);
    // empty where the call fails.
    virtual Str FullPathName(const Str& path) = 0;
    // Whether the ANSI code page carries the text exactly, with no substitute.
    virtual bool IsExactInAnsi(const Str& text) = 0;
    // SetErrorMode: sets the process's error mode, which programs it starts
    // inherit, and answers the one before.
    virtual uint32_t SetErrorMode(uint32_t mode) = 0;
    virtual Handle GetModuleHandleA(const Str& name) = 0;
    virtual Handle LoadLibraryA(const Str& name) = 0;
    virtual bool GetProcAddress(Handle module, const Str& name) = 0;
    virtual void FreeLibrary(Handle module) = 0;
    // GetDiskFreeSpaceExA or W, and GetDiskFreeSpaceA or W. They fill only
    // the counts the program uses: the bytes available to the caller; the
    // cluster size and the free clusters.
    virtual bool GetDiskFreeSpaceEx(Chars chars, const Str& path, uint64_t& available) = 0;
    virtual bool GetDiskFreeSpace(Chars chars, const Str& path, uint32_t& sectorsPerCluster,
                                  uint32_t& bytesPerSector, uint32_t& freeClusters) = 0;

    // user32 and shell32: ShellExecuteExA or W, with COM initialised on the
    // thread first and the launch completed before it returns, answering the
    // code ShellExecute would; SHFileOperationA or W.
    virtual Handle GetDesktopWindow() = 0;
    virtual int32_t ShellExecute(Chars chars, Handle owner, const Text& operation, const Text& file,
                                 const Text& parameters, const Text& directory, int32_t show) = 0;
    virtual int32_t SHFileOperation(Chars chars, ShellFileRequest& request) = 0;
};

}  // namespace qrv
