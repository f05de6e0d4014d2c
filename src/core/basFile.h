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

// Asks the shell to delete Files[StartIndex..] with undo allowed and no
// confirmation; true when the shell reports success.
bool DeleteFiles(Platform& platform, const ArgList& Files, int16_t StartIndex);

}  // namespace qrv
