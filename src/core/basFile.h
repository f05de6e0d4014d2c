// File routines: the temp folder, the trailing backslash, the form in which a
// name reaches the system, and deleting to the recycle bin through the shell.
#pragma once

#include "Failure.h"
#include "Platform.h"

namespace qrv {

Str AddBackslash(const Str& path);
Status GetTempDir(Platform& platform, Str& folder);

// A name as the function of a pair takes it: the ANSI one, with its bytes,
// where the code page carries the name exactly and the ANSI functions take it
// whole (at most 259 characters, and no \\?\ form); else the W one, which
// takes the name as it is. Never a substituted form, which could name another
// file, nor a cut one.
Name NameFor(Platform& platform, const Str& name);
// The name for the function chars says, as a name of the same call went; the
// W one where the code page cannot carry it.
Name NameAs(Platform& platform, const Str& name, Chars chars);

// While it lives, the critical-error boxes ("There is no disk in the drive")
// are held off, so that a call on a drive without its medium
// fails instead of waiting for a click; the error mode is then restored, so
// that what the shell starts later inherits the host's own.
class NoSystemBoxes {
public:
    explicit NoSystemBoxes(Platform& platform);
    ~NoSystemBoxes() { platform_.SetErrorMode(before_); }
    NoSystemBoxes(const NoSystemBoxes&) = delete;
    NoSystemBoxes& operator=(const NoSystemBoxes&) = delete;

private:
    Platform& platform_;
    uint32_t before_;
};

// A folder the system names, as the program hands it on: its name where the
// code page carries it exactly, else its 8.3 form where that is exact (both
// for the ANSI functions), else its name as it is (for the W ones).
Str FolderName(Platform& platform, const Str& folder);

// Whether an argument that names a path may be handed to the system. No
// Windows name holds a control character (U+0001 to U+001F): such an argument
// is never a real target, and echoed into the report it could add a line. It
// is the invalid-argument failure.
Status PathArgument(const Text& text);

// Asks the shell to delete Files[StartIndex..] with undo allowed, no
// confirmation and no error dialog (a file it cannot delete makes the answer
// a failure); deleted is true when the shell reports success and skipped
// nothing. The shell keeps undo only for full names, so a target that is not
// fully qualified (a drive and its root, or \\ for a UNC or device name) is
// first made full against the current directory, its last part as written;
// one that cannot be is the invalid-argument failure, and nothing is deleted.
Status DeleteFiles(Platform& platform, const ArgList& Files, int16_t StartIndex, bool& deleted);

}  // namespace qrv
