// The free-space query and the probe for the 64-bit free-space function.
#pragma once

#include "Failure.h"
#include "Platform.h"

namespace qrv {

// The largest count the fixed-point free-byte result can carry.
constexpr int64_t MaxFreeBytes = 922337203685477;

// Bytes free on the volume holding path; an empty path measures the current
// directory's volume. A refusal by the platform gives 0. The path goes to the
// ANSI function, or to the W one where the code page cannot carry it.
Status FreeSpace(Platform& platform, const Str& path, int64_t& result);

// True when the library can be found or loaded and exports the function.
bool APIExists(Platform& platform, const char* library, const char* function);

}  // namespace qrv
