// Test host. Starts EXE with the exact command line held in LINEFILE (UTF-8,
// program name included) and the host's environment with NAME=VALUE set,
// reads and dismisses every message box it shows, waits for its end, and
// prints what a host sees (texts as UTF-8, control bytes escaped as \r, \n or
// \xNN):   BOX <caption>|<text>|icon=<0|1>|buttons=<ids>   EXIT <code>
//          REPORT <bytes of qrvplug.txt in the temp folder EXE was given, or none>
//   qrvhost [NAME=VALUE...] EXE LINEFILE
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

static std::string Escape(const std::string& bytes) {
    std::string out;
    char hex[8];
    for (unsigned char c : bytes)
        out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c < 32 ? (snprintf(hex, sizeof hex, "\\x%02x", c), hex) : std::string(1, c);
    return out;
}

static std::string Utf8(const wchar_t* w, int n) {
    std::string out(n * 3, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, w, n, &out[0], (int)out.size(), nullptr, nullptr));
    return out;
}

static std::string Text(HWND h) {
    wchar_t buf[4096];
    return Escape(Utf8(buf, h ? GetWindowTextW(h, buf, 4096) : 0));
}

static bool ReadAll(const std::wstring& path, std::string& out) {
    FILE* f = _wfopen(path.c_str(), L"rb");
    char buf[4096];
    for (size_t n; f && (n = fread(buf, 1, sizeof buf, f)) > 0;) out.append(buf, n);
    return f && !fclose(f);
}

static DWORD child;
static std::set<HWND> seen;

static BOOL CALLBACK OnBox(HWND h, LPARAM) {
    DWORD pid = 0;
    wchar_t cls[64];
    GetWindowThreadProcessId(h, &pid);
    GetClassNameW(h, cls, 64);
    if (pid != child || wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(h) || !seen.insert(h).second) return TRUE;
    HWND icon = GetDlgItem(h, 0x0440);
    std::string buttons;
    for (int id = IDOK; id <= IDCONTINUE; ++id)
        if (HWND b = GetDlgItem(h, id); b && IsWindowVisible(b)) buttons += (buttons.empty() ? "" : ",") + std::to_string(id);
    printf("BOX %s|%s|icon=%d|buttons=%s\n", Text(h).c_str(), Text(GetDlgItem(h, 0xFFFF)).c_str(),
           icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) ? 1 : 0, buttons.c_str());
    fflush(stdout);
    PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(h, IDOK));
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    int i = 1;
    for (std::wstring pair; i < argc && wcschr(argv[i], L'='); ++i)
        pair = argv[i], SetEnvironmentVariableW(pair.substr(0, pair.find(L'=')).c_str(), pair.substr(pair.find(L'=') + 1).c_str());
    std::string text;
    if (argc != i + 2 || !ReadAll(argv[i + 1], text)) return 2;
    std::wstring line(text.size() + 1, L'\0');
    line.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), &line[0], (int)line.size()));
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    bool started = false;  // Wine, under load, now and then fails a start outright: nothing ran, so try again
    for (int attempt = 0; attempt < 5 && !started; ++attempt)
        started = CreateProcessW(argv[i], &line[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, GetEnvironmentStringsW(), nullptr, &si, &pi) || (Sleep(200), false);
    if (!started) return printf("NOSTART %lu\n", GetLastError()), 1;
    child = pi.dwProcessId;
    for (DWORD waited = 0; WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT; waited += 50)
        if (EnumWindows(OnBox, 0), waited > 240000) return TerminateProcess(pi.hProcess, 255), printf("TIMEOUT\n"), 1;
    DWORD code = 0;
    wchar_t temp[MAX_PATH + 1];
    GetExitCodeProcess(pi.hProcess, &code);
    GetTempPathW(MAX_PATH + 1, temp);
    std::string report;
    bool found = ReadAll(std::wstring(temp) + L"qrvplug.txt", report);
    printf("EXIT %lu\nREPORT %s\n", code, found ? Escape(report).c_str() : "none");
    return 0;
}
