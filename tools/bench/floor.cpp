// The floor that scripts/startup-bench measures quorvel.exe against: an exe of
// the same toolchain, built the same way (no C runtime, its own entry point),
// that makes the same hidden window (a frame sized from the screen's DPI,
// three edit fields, hidden and marked minimised) and, started as
// "floor.exe Delete NAME...", makes the same one shell call on the names: one
// request for them all, to the recycle bin, no confirmation, no error dialog,
// shell32 loaded only then; started as "floor.exe Execute TARGET", starts COM
// on its thread as the plug-in does and makes the same one ShellExecuteEx call
// (Open, the folder 0, completed before it returns, no error UI). Nothing else:
// no splitting rules, no report.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "../../src/win32/Form1Layout.h"

extern "C" void WinMainCRTStartup() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSW wc = {0, DefWindowProcW, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, L"FloorForm1"};
    RegisterClassW(&wc);
    HDC dc = GetDC(nullptr);
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    RECT frame = {0, 0, form1::Pixels(form1::Width, dpiX), form1::Pixels(form1::Height, dpiY)};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND form =
        CreateWindowExW(0, wc.lpszClassName, L"Quorvel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    for (const short* f : form1::Fields)
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"Text", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                        form1::Pixels(f[0], dpiX), form1::Pixels(f[1], dpiY), form1::Pixels(f[2], dpiX),
                        form1::Pixels(form1::FieldHeight, dpiY), form, nullptr, instance, nullptr);
    ShowWindow(form, SW_HIDE);
    SetWindowLongW(form, GWL_STYLE, GetWindowLongW(form, GWL_STYLE) | WS_MINIMIZE);

    // The names after "Delete", blank-separated and unquoted, as one NUL-separated list.
    static char list[32768];
    const char* p = GetCommandLineA();
    if (*p == '"')
        for (++p; *p && *p != '"'; ++p) {
        }
    while (*p && *p != ' ') ++p;
    while (*p == ' ') ++p;
    if (p[0] == 'E' && p[7] == ' ') {
        auto init = reinterpret_cast<decltype(&CoInitializeEx)>(
            reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("ole32.dll"), "CoInitializeEx")));
        init(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        auto execute = reinterpret_cast<decltype(&ShellExecuteExA)>(
            reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("shell32.dll"), "ShellExecuteExA")));
        SHELLEXECUTEINFOA info = {
            sizeof info, SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI, nullptr, "Open", p + 8, nullptr, "0", 1};
        ExitProcess(execute(&info));
    }
    if (p[0] != 'D' || p[1] != 'e' || p[6] != ' ') ExitProcess(0);
    int n = 0;
    for (p += 7; *p && n < 32766; ++p) list[n++] = *p == ' ' ? '\0' : *p;
    list[n + 1] = list[n] = '\0';
    auto shFileOperation = reinterpret_cast<decltype(&SHFileOperationA)>(
        reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("shell32.dll"), "SHFileOperationA")));
    SHFILEOPSTRUCTA request = {nullptr, FO_DELETE, list,   nullptr, FOF_NOCONFIRMATION | FOF_ALLOWUNDO | FOF_NOERRORUI,
                               FALSE,   nullptr,   nullptr};
    ExitProcess(shFileOperation(&request));
}
