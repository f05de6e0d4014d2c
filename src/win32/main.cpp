// Entry point: the process starts here, with no C runtime before it. The
// window is created, then its load handler does the run and ends the process.
#include "../core/Form1.h"
#include "Win32Platform.h"

extern "C" void WinMainCRTStartup() { qrv::Form1(qrv::Win32Platform()).Form_Load(); }
