// The marker library quorvel-check carries inside itself and plants, under
// the names of libraries that programs in download folders are hijacked
// through, beside a copy of the plug-in. Loading it leaves planted.txt beside
// it, and the load fails.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
    while (n > 0 && path[n - 1] != L'\\') --n;
    lstrcpyW(path + n, L"planted.txt");
    CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    return reason != DLL_PROCESS_ATTACH;
}
