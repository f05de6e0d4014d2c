// File routines: the temp folder, the trailing backslash, and deleting to the
// recycle bin through the shell.
#pragma once

#include <vector>

#include "Platform.h"

namespace qrv {

// The argument list: elements 1..N are the arguments, element 0 is none.
using ArgList = std::vector<Text>;

Str AddBackslash(const Str& path);
Str GetTempDir(Platform& platform);

// A folder the system names, in a form the ANSI functions reach exactly: the
// name itself, or else its 8.3 form. Where neither exists the invalid-argument
// failure is raised: a substituted name could be another folder.
Str AnsiFolder(Platform& platform, const Str& folder);

// The text of an argument that names a path. No Windows name holds a control
// character (U+0001 to U+001F): such an argument is never a real target, and
// echoed into the report it could add a line, so it raises the
// invalid-argument failure.
const Text& PathArgument(const Text& text);

// Asks the shell to delete Files[StartIndex..] with undo allowed and no
// confirmation; true when the shell reports success.
bool DeleteFiles(Platform& platform, const ArgList& Files, int16_t StartIndex);

}  // namespace qrv
