// Starting a program as a host does, and watching it: an exact command line,
// environment and current folder; OK pressed on every box it shows, each box
// recorded as a host sees it; a time limit, past which it is ended. Used by
// quorvel-check and by the suite's test host.
#pragma once

#include <windows.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace runner {

inline std::string Utf8(const std::wstring& w) {
    std::string out(w.size() * 3 + 1, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, w.c_str(), (int)w.size(), &out[0], (int)out.size(), nullptr, nullptr));
    return out;
}

// A file's bytes; false where it cannot be opened.
inline bool Read(const std::wstring& path, std::string& out) {
    HANDLE f =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    char buffer[4096];
    DWORD n = 0;
    out.clear();
    while (f != INVALID_HANDLE_VALUE && ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n) out.append(buffer, n);
    return f != INVALID_HANDLE_VALUE && CloseHandle(f);
}

// Control bytes as \r, \n or \xNN, so that each text stays on one line.
inline std::string Shown(const std::string& bytes) {
    std::string out;
    char hex[8];
    for (unsigned char c : bytes)
        out += c == '\r'   ? "\\r"
               : c == '\n' ? "\\n"
               : c < 32    ? (snprintf(hex, sizeof hex, "\\x%02x", c), hex)
                           : std::string(1, (char)c);
    return out;
}

// One run: each box as "caption|text", then "|an icon" and "|buttons N,..." where it has an icon or other
// buttons than OK alone; the exit status; the error where it could not be started; whether it ended by
// itself within the limit.
struct Run {
    std::vector<std::string> boxes;
    DWORD exit = 0, notStarted = 0;
    bool ended = true;
};

struct Watch {
    DWORD pid;
    Run& run;
    const std::function<void(DWORD pid)>& firstBox;
    std::set<HWND> pressed;
};

inline BOOL CALLBACK OnWindow(HWND h, LPARAM param) {
    Watch& watch = *reinterpret_cast<Watch*>(param);
    DWORD pid = 0;
    wchar_t cls[64], text[4096];
    GetWindowThreadProcessId(h, &pid);
    GetClassNameW(h, cls, 64);
    if (pid != watch.pid || wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(h) || !watch.pressed.insert(h).second)
        return TRUE;
    std::string box = Utf8(std::wstring(text, GetWindowTextW(h, text, 4096))) + "|", buttons;
    HWND label = GetDlgItem(h, 0xFFFF), icon = GetDlgItem(h, 0x0440);
    for (int id = IDOK; id <= IDCONTINUE; ++id)
        if (HWND b = GetDlgItem(h, id); b && IsWindowVisible(b))
            buttons += (buttons.empty() ? "" : ",") + std::to_string(id);
    bool iconShown = icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0);
    if (watch.run.boxes.empty() && watch.firstBox) watch.firstBox(watch.pid);
    watch.run.boxes.push_back(box + Shown(Utf8(std::wstring(text, label ? GetWindowTextW(label, text, 4096) : 0))) +
                              (iconShown ? "|an icon" : "") + (buttons == "1" ? "" : "|buttons " + buttons));
    PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(h, IDOK));
    return TRUE;
}

// Starts exe with this whole command line, environment block (null: this process's) and current folder
// (null: this process's), presses OK on every box, and waits for its end, at most limitMs; firstBox is
// called with the process's id while the first box is up, before it is pressed.
inline Run Start(const std::wstring& exe, std::wstring line, const wchar_t* environment, const wchar_t* folder,
                 DWORD limitMs, const std::function<void(DWORD pid)>& firstBox = {}) {
    Run run;
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    bool started = false;  // Wine, under load, now and then fails a start outright: nothing ran, so try again
    for (int attempt = 0; attempt < 5 && !started; ++attempt) {
        started = CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                                 (void*)environment, folder, &si, &pi);
        if (!started) Sleep(200);
    }
    if (!started) {
        run.notStarted = GetLastError();
        return run;
    }
    Watch watch{pi.dwProcessId, run, firstBox, {}};
    DWORD waited = 0;
    for (; WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT && waited < limitMs; waited += 50)
        EnumWindows(OnWindow, (LPARAM)&watch);
    if (waited >= limitMs) {
        run.ended = false;
        TerminateProcess(pi.hProcess, 255);
        WaitForSingleObject(pi.hProcess, 5000);
    }
    GetExitCodeProcess(pi.hProcess, &run.exit);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return run;
}

}  // namespace runner
