// Test host: starts quorvel.exe with an exact command line, reads and
// dismisses every message box it shows, waits for it to end and prints a
// record the tests parse:
//   BOX <caption hex> <text hex> icon=<0|1> buttons=<ids>
//   EXIT <code>            (or TIMEOUT)
//   REPORT <bytes hex>     (or REPORT none)
// Texts are printed as hex of their UTF-8 bytes, so CR, tabs and quotes pass.
// Usage: qrvhost <exe> <file holding the argument text, UTF-8>
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

static std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out.empty() ? "-" : out;
}

static std::string Utf8(const std::wstring& w) {
    if (w.empty()) return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), &out[0], n, nullptr, nullptr);
    return out;
}

static std::wstring WindowText(HWND h) {
    wchar_t buf[4096];
    int n = h ? GetWindowTextW(h, buf, 4096) : 0;
    return std::wstring(buf, n);
}

static std::string ReadFile(const std::wstring& path, bool& found) {
    FILE* f = _wfopen(path.c_str(), L"rb");
    found = f != nullptr;
    std::string out;
    if (!f) return out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    fclose(f);
    return out;
}

struct Search {
    DWORD pid;
    std::set<HWND>* seen;
};

static BOOL CALLBACK OnWindow(HWND h, LPARAM param) {
    Search* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t cls[64];
    GetClassNameW(h, cls, 64);
    if (pid != s->pid || wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(h) || s->seen->count(h)) return TRUE;
    s->seen->insert(h);
    HWND icon = GetDlgItem(h, 0x0440);
    std::string buttons;
    for (int id = IDOK; id <= IDCONTINUE; ++id)
        if (HWND b = GetDlgItem(h, id); b && IsWindowVisible(b)) buttons += (buttons.empty() ? "" : ",") + std::to_string(id);
    printf("BOX %s %s icon=%d buttons=%s\n", Hex(Utf8(WindowText(h))).c_str(),
           Hex(Utf8(WindowText(GetDlgItem(h, 0xFFFF)))).c_str(), icon && IsWindowVisible(icon) ? 1 : 0,
           buttons.empty() ? "-" : buttons.c_str());
    fflush(stdout);
    PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(h, IDOK));
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: qrvhost <exe> <argument text file>\n");
        return 2;
    }
    bool found = false;
    std::string text = ReadFile(argv[2], found);
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring args(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), &args[0], n);
    std::wstring line = L"\"" + std::wstring(argv[1]) + L"\"" + (args.empty() ? L"" : L" " + args);

    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(argv[1], &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        printf("NOSTART %lu\n", GetLastError());
        return 1;
    }
    std::set<HWND> seen;
    Search search{pi.dwProcessId, &seen};
    DWORD waited = 0;
    while (WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT) {
        EnumWindows(OnWindow, reinterpret_cast<LPARAM>(&search));
        if ((waited += 50) > 240000) {
            TerminateProcess(pi.hProcess, 255);
            printf("TIMEOUT\n");
            return 1;
        }
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    printf("EXIT %lu\n", code);
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    std::string report = ReadFile(std::wstring(temp) + L"qrvplug.txt", found);
    printf("REPORT %s\n", found ? Hex(report).c_str() : "none");
    return 0;
}
