// The real platform, on the Win32 API. Kept apart from <windows.h> so that the
// core's names (GetCommandLine and friends) never meet its macros.
#pragma once

#include "../core/Platform.h"

namespace qrv {

// Creates the hidden window Form1 and returns the process's platform.
Platform& Win32Platform();

}  // namespace qrv
