// File routines: the temp folder, the trailing backslash, and deleting to the
// recycle bin through the shell.
#pragma once

#include "Failure.h"
#include "Platform.h"

namespace qrv {

Str AddBackslash(const Str& path);
Status GetTempDir(Platform& platform, Str& folder);

// A folder the system names, in a form the ANSI functions reach exactly: the
// name itself, or else its 8.3 form. Where neither exists it is the
// invalid-argument failure: a substituted name could be another folder.
Status AnsiFolder(Platform& platform, const Str& folder, Str& form);

// Whether an argument that names a path may be handed to the system. No
// Windows name holds a control character (U+0001 to U+001F): such an argument
// is never a real target, and echoed into the report it could add a line. A
// name the ANSI code page cannot carry exactly would reach another file, or
// none. Either is the invalid-argument failure.
Status PathArgument(Platform& platform, const Text& text);

// Asks the shell to delete Files[StartIndex..] with undo allowed and no
// confirmation; deleted is true when the shell reports success.
Status DeleteFiles(Platform& platform, const ArgList& Files, int16_t StartIndex, bool& deleted);

}  // namespace qrv
