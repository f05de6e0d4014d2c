// Reading another program's window as any program can: its caption, frame and fields.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../../src/win32/Form1Layout.h"
#include "runner.h"

// A window's frame: shown or hidden, minimised, its styles, and its size when restored.
inline std::string Frame(HWND window) {
    LONG style = GetWindowLongW(window, GWL_STYLE);
    WINDOWPLACEMENT place{sizeof place};
    GetWindowPlacement(window, &place);
    const RECT& r = place.rcNormalPosition;
    char out[128];
    snprintf(out, sizeof out, "%s%s, style %08lx, extended %08lx, %ldx%ld", style & WS_VISIBLE ? "shown" : "hidden",
             style & WS_MINIMIZE ? ", minimised" : "", (unsigned long)style,
             (unsigned long)GetWindowLongW(window, GWL_EXSTYLE), r.right - r.left, r.bottom - r.top);
    return out;
}

// The process's window Quorvel: its caption, its frame, and its fields from top to bottom, each its text (read
// with WM_GETTEXT as any program reads another's) and where it stands in the window's client area.
inline std::string Form(DWORD pid) {
    for (HWND form = nullptr; (form = FindWindowExW(nullptr, form, L"QuorvelForm1", nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(form, &owner);
        if (owner != pid) continue;
        wchar_t text[4096];
        std::string out = runner::Utf8(std::wstring(text, GetWindowTextW(form, text, 4096))) + ", " + Frame(form);
        std::vector<std::pair<LONG, std::string>> fields;
        for (HWND field = GetWindow(form, GW_CHILD); field; field = GetWindow(field, GW_HWNDNEXT)) {
            RECT r{};
            DWORD_PTR n = 0;
            GetWindowRect(field, &r);
            MapWindowPoints(HWND_DESKTOP, form, reinterpret_cast<POINT*>(&r), 2);
            SendMessageTimeoutW(field, WM_GETTEXT, 4096, (LPARAM)text, SMTO_ABORTIFHUNG, 5000, &n);
            char at[64];
            snprintf(at, sizeof at, " at %ld,%ld %ldx%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
            fields.push_back({r.top, runner::Utf8(std::wstring(text, n)) + at});
        }
        std::sort(fields.begin(), fields.end());
        for (const auto& field : fields) out += "|" + field.second;
        return out;
    }
    return "no window";
}

// The screen's dots per inch, across and down.
inline POINT Dpi() {
    HDC dc = GetDC(nullptr);
    POINT dpi{GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY)};
    ReleaseDC(nullptr, dc);
    return dpi;
}

// Where field i of Form1 stands on this screen, as Form shows it.
inline std::string FieldAt(int i) {
    const POINT dpi = Dpi();
    const short* f = form1::Fields[i];
    char at[64];
    snprintf(at, sizeof at, " at %d,%d %dx%d", form1::Pixels(f[0], dpi.x), form1::Pixels(f[1], dpi.y),
             form1::Pixels(f[2], dpi.x), form1::Pixels(form1::FieldHeight, dpi.y));
    return at;
}

// The frame of a plain overlapped window, made hidden here and minimised, whose client area is Form1's on this
// screen: what the plug-in's window must be.
inline std::string PlainFrame() {
    const POINT dpi = Dpi();
    RECT frame{0, 0, form1::Pixels(form1::Width, dpi.x), form1::Pixels(form1::Height, dpi.y)};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"QuorvelCheckPlain";
    RegisterClassW(&wc);
    HWND plain =
        CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongW(plain, GWL_STYLE, GetWindowLongW(plain, GWL_STYLE) | WS_MINIMIZE);
    std::string seen = Frame(plain);
    DestroyWindow(plain);
    return seen;
}
