// Test host. Starts EXE with the exact command line held in LINEFILE (UTF-8,
// program name included) and the host's environment with NAME=VALUE set,
// reads and dismisses every message box it shows, waits for its end, and
// prints what the tests parse (texts as hex of their UTF-8 bytes):
//   BOX <caption> <text> icon=<0|1> buttons=<ids>
//   EXIT <code>   (or TIMEOUT)
//   REPORT <bytes> (or REPORT none): qrvplug.txt in the temp folder EXE was given
// With --manifest it prints what the loader's activation-context code reads
// from EXE's manifest: MANIFEST level=<n> uiAccess=<0|1> os=<first part of
// each supportedOS Id> dpiAware=<text>
//   qrvhost [NAME=VALUE...] EXE LINEFILE     qrvhost --manifest EXE
#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

static std::string Hex(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) out += "0123456789abcdef"[c >> 4], out += "0123456789abcdef"[c & 15];
    return out.empty() ? "-" : out;
}

static std::string Utf8(const std::wstring& w) {
    std::string out(w.size() * 3, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), &out[0], (int)out.size(), nullptr, nullptr));
    return out;
}

static std::string WindowText(HWND h) {
    wchar_t buf[4096];
    return Utf8(std::wstring(buf, h ? GetWindowTextW(h, buf, 4096) : 0));
}

static bool ReadAll(const std::wstring& path, std::string& out) {
    FILE* f = _wfopen(path.c_str(), L"rb");
    char buf[4096];
    for (size_t n; f && (n = fread(buf, 1, sizeof buf, f)) > 0;) out.append(buf, n);
    return f && !fclose(f);
}

struct Child {
    DWORD pid;
    std::set<HWND> seen;
};

static BOOL CALLBACK OnBox(HWND h, LPARAM param) {
    Child* c = reinterpret_cast<Child*>(param);
    DWORD pid = 0;
    wchar_t cls[64];
    GetWindowThreadProcessId(h, &pid);
    GetClassNameW(h, cls, 64);
    if (pid != c->pid || wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(h) || !c->seen.insert(h).second) return TRUE;
    HWND icon = GetDlgItem(h, 0x0440);
    std::string buttons;
    for (int id = IDOK; id <= IDCONTINUE; ++id)
        if (HWND b = GetDlgItem(h, id); b && IsWindowVisible(b)) buttons += (buttons.empty() ? "" : ",") + std::to_string(id);
    printf("BOX %s %s icon=%d buttons=%s\n", Hex(WindowText(h)).c_str(), Hex(WindowText(GetDlgItem(h, 0xFFFF))).c_str(),
           icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) ? 1 : 0, buttons.empty() ? "-" : buttons.c_str());
    fflush(stdout);
    PostMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(h, IDOK));
    return TRUE;
}

static int Manifest(const wchar_t* exe) {
    ACTCTXW request{sizeof request, ACTCTX_FLAG_RESOURCE_NAME_VALID, exe};
    request.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = CreateActCtxW(&request);
    if (context == INVALID_HANDLE_VALUE) return printf("MANIFEST none %lu\n", GetLastError()), 1;
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
    QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level, nullptr);
    // Elements as the loader gives them, with their MaxVersionTested.
    struct Element { GUID Id; DWORD Type; ULONGLONG MaxVersionTested; };
    struct { DWORD count; Element element[16]; } compat{};
    QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, &compat, sizeof compat, nullptr);
    std::string os;
    char id[16];
    for (DWORD i = 0; i < compat.count && i < 16; ++i)
        if (compat.element[i].Type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
            os += (snprintf(id, sizeof id, ",%08lx", compat.element[i].Id.Data1), id + os.empty());
    wchar_t dpi[32] = L"";
    SIZE_T n = 0;
    QueryActCtxSettingsW(0, context, nullptr, L"dpiAware", dpi, 32, &n);
    printf("MANIFEST level=%d uiAccess=%lu os=%s dpiAware=%s\n", (int)level.RunLevel, level.UiAccess, os.c_str(),
           Utf8(dpi).c_str());
    return 0;
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && !wcscmp(argv[1], L"--manifest")) return Manifest(argv[2]);
    int i = 1;
    for (; i < argc && wcschr(argv[i], L'='); ++i) {
        std::wstring pair = argv[i];
        SetEnvironmentVariableW(pair.substr(0, pair.find(L'=')).c_str(), pair.substr(pair.find(L'=') + 1).c_str());
    }
    std::string text;
    if (argc != i + 2 || !ReadAll(argv[i + 1], text)) return fprintf(stderr, "usage: qrvhost [NAME=VALUE...] EXE LINEFILE\n"), 2;
    std::wstring line(text.size() + 1, L'\0');
    line.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), &line[0], (int)line.size()));

    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(argv[i], &line[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                        GetEnvironmentStringsW(), nullptr, &si, &pi))
        return printf("NOSTART %lu\n", GetLastError()), 1;
    Child child{pi.dwProcessId, {}};
    for (DWORD waited = 0; WaitForSingleObject(pi.hProcess, 50) == WAIT_TIMEOUT; waited += 50) {
        EnumWindows(OnBox, reinterpret_cast<LPARAM>(&child));
        if (waited > 240000) return TerminateProcess(pi.hProcess, 255), printf("TIMEOUT\n"), 1;
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    std::string report;
    bool found = ReadAll(std::wstring(temp) + L"qrvplug.txt", report);
    printf("EXIT %lu\nREPORT %s\n", code, found ? Hex(report).c_str() : "none");
    return 0;
}
