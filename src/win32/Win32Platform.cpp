// The Win32 platform: the ANSI boundary, the hidden window Form1 and the
// operations, every OS function reached through the table in Api.h.
#include "Win32Platform.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "Api.h"

// The platform's names for a pair of functions, not the headers' macros for one of them.
#undef GetDiskFreeSpace
#undef GetDiskFreeSpaceEx
#undef ShellExecute
#undef ShellExecuteEx
#undef SHFileOperation

namespace qrv {
namespace {

// --- Text at the boundary ---------------------------------------------------

static_assert(sizeof(wchar_t) == sizeof(char16_t), "16-bit wide characters");

const wchar_t* Wide(const Str& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// ANSI text, always followed by a NUL that size() does not count.
class Bytes {
public:
    Bytes() = default;
    Bytes(const Bytes&) = delete;
    Bytes& operator=(const Bytes&) = delete;
    ~Bytes() { delete[] p_; }
    char* Resize(size_t n) {
        delete[] p_;
        p_ = new char[n + 1]();
        size_ = n;
        return p_;
    }
    const char* c_str() const { return p_ ? p_ : ""; }
    size_t size() const { return size_; }

private:
    char* p_ = nullptr;
    size_t size_ = 0;
};

// The text in the ANSI code page, where a character without an equivalent
// takes the code page's substitute; false where the conversion fails.
bool ToAnsi(const Str& s, Bytes& out) {
    int length = static_cast<int>(s.size());
    int n = length ? CALL(WideCharToMultiByte)(CP_ACP, 0, Wide(s), length, nullptr, 0, nullptr, nullptr) : 0;
    return !length || (n > 0 && CALL(WideCharToMultiByte)(CP_ACP, 0, Wide(s), length, out.Resize(n), n, nullptr,
                                                          nullptr) == n);
}

// Every text handed to an A function (a path, a library or function name, the
// shell's verb and folder) must say exactly what the text says, or the call is
// not made: a substituted character could name another file. The core hands a
// name the code page cannot carry to the 16-bit twin instead. Only the
// report's own text may substitute. Exact: converted back, the text is the same.
bool ExactAnsi(const Str& s, Bytes& out) {
    if (!ToAnsi(s, out)) return false;
    int length = static_cast<int>(s.size());
    Str back(s.size(), u'\0');
    return CALL(MultiByteToWideChar)(CP_ACP, 0, out.c_str(), static_cast<int>(out.size()),
                                     reinterpret_cast<wchar_t*>(back.data()), length) == length && back == s;
}

// --- The platform -------------------------------------------------------------

class Win32 final : public Platform {
public:
    Win32() { CreateForm(); }

    Str CommandLineText() override {
        const wchar_t* p = CALL(GetCommandLineW)();
        // Skip the program's own path as the system does for argv[0]: quoted
        // parts belong to it, and it ends at the first blank or tab outside
        // quotes ("C:\Program Files\Host"\quorvel.exe is one name).
        for (bool quoted = false; *p && (quoted || (*p != L' ' && *p != L'\t')); ++p)
            if (*p == L'"') quoted = !quoted;
        while (*p == L' ' || *p == L'\t') ++p;
        return Str(reinterpret_cast<const char16_t*>(p));
    }

    Str CurrentDirectory() override {
        return Sized([](const wchar_t*, wchar_t* buffer, DWORD size) { return CALL(GetCurrentDirectoryW)(size, buffer); }, nullptr);
    }

    void SetFormVisible(bool visible) override {
        if (form_) CALL(ShowWindow)(form_, visible ? SW_SHOWNORMAL : SW_HIDE);
    }

    void SetFormMinimized() override {
        // Marks the hidden window as minimised without showing it, as
        // ShowWindow(SW_MINIMIZE) would.
        if (form_) CALL(SetWindowLongW)(form_, GWL_STYLE, CALL(GetWindowLongW)(form_, GWL_STYLE) | WS_MINIMIZE);
    }

    void SetFieldText(Field field, const Str& text) override {
        HWND edit = fields_[static_cast<int>(field)];
        if (edit) CALL(SetWindowTextW)(edit, Wide(text));
    }

    void ShowMessageBox(const Str& text, const Str& caption) override {
        CALL(MessageBoxW)(nullptr, Wide(text), Wide(caption), MB_OK);
    }

    void EndProcess(uint32_t exitStatus) override {
        CloseFiles();
        CALL(ExitProcess)(exitStatus);
    }

    FileStatus CreateReportFile(Chars chars, const Str& path) override {
        // Only where nothing is there, and of a link the link itself: a name
        // planted first, a dangling link among them, is never followed.
        auto create = [](auto createFile, auto name) {
            return createFile(name, GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        };
        Bytes name;
        if (chars == Chars::Wide) file_ = create(CALL(CreateFileW), Wide(path));
        else if (ExactAnsi(path, name)) file_ = create(CALL(CreateFileA), name.c_str());
        else return FileStatus::BadName;
        return file_ == INVALID_HANDLE_VALUE ? Status(CALL(GetLastError)()) : FileStatus::Ok;
    }

    FileStatus CheckReportFile() override {
        BY_HANDLE_FILE_INFORMATION info;
        return CALL(GetFileInformationByHandle)(file_, &info) && info.nNumberOfLinks == 1 &&
                       !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
                   ? FileStatus::Ok
                   : FileStatus::NotPlain;
    }

    FileStatus MoveReportFile(Chars chars, const Str& from, const Str& to) override {
        Bytes a, b;
        BOOL moved = chars == Chars::Wide ? CALL(MoveFileExW)(Wide(from), Wide(to), MOVEFILE_REPLACE_EXISTING)
                     : ExactAnsi(from, a) && ExactAnsi(to, b) && CALL(MoveFileExA)(a.c_str(), b.c_str(), MOVEFILE_REPLACE_EXISTING);
        if (moved) return FileStatus::Ok;
        // Windows refuses a move over a folder, or over a file another program holds open, as it refuses
        // one it may not make: what stands there, and whether it can be opened for deleting at all (the
        // name itself, never what it points to), tell them apart.
        DWORD error = CALL(GetLastError)();
        DWORD attributes = CALL(GetFileAttributesW)(Wide(to));
        HANDLE held = CALL(CreateFileW)(Wide(to), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (held != INVALID_HANDLE_VALUE) CALL(CloseHandle)(held);
        else if (CALL(GetLastError)() == ERROR_SHARING_VIOLATION) return FileStatus::InUse;
        return attributes != INVALID_FILE_ATTRIBUTES && attributes & FILE_ATTRIBUTE_DIRECTORY ? FileStatus::Folder : Status(error);
    }

    void DeleteReportFile(Chars chars, const Str& path) override {
        Bytes name;
        if (chars == Chars::Wide) CALL(DeleteFileW)(Wide(path));
        else if (ExactAnsi(path, name)) CALL(DeleteFileA)(name.c_str());
    }

    bool Elevated() override {
        HANDLE token;
        TOKEN_ELEVATION elevation{};
        DWORD size;
        if (!CALL(OpenProcessToken)(reinterpret_cast<HANDLE>(-1), TOKEN_QUERY, &token)) return false;  // this process
        CALL(GetTokenInformation)(token, TokenElevation, &elevation, sizeof elevation, &size);  // before Vista: fails, not elevated
        CALL(CloseHandle)(token);
        return elevation.TokenIsElevated != 0;
    }

    void TrustOnlyAdminRedirections() override {
        // Where kernel32 lacks it, or the system does not know the policy, it is not there to turn on.
        PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY policy{};
        policy.EnforceRedirectionTrust = 1;
        if (auto set = FIND(SetProcessMitigationPolicy)) set(ProcessRedirectionTrustPolicy, &policy, sizeof policy);
    }

    uint32_t ProcessId() override { return CALL(GetCurrentProcessId)(); }

    FileStatus WriteReportFile(const Str& text) override {
        Bytes bytes;
        if (!ToAnsi(text, bytes)) return FileStatus::Unconvertible;
        DWORD written;  // always set by the call
        if (!CALL(WriteFile)(file_, bytes.c_str(), static_cast<DWORD>(bytes.size()), &written, nullptr))
            return Status(CALL(GetLastError)());
        return written == bytes.size() ? FileStatus::Ok : FileStatus::ShortWrite;
    }

    void CloseFiles() override {
        if (file_ != INVALID_HANDLE_VALUE) CALL(CloseHandle)(file_);
        file_ = INVALID_HANDLE_VALUE;
    }

    uint32_t GetTempFolder(uint32_t size, Str& buffer) override {
        // The folder's own 16-bit name: its ANSI form, where the code page
        // cannot carry it, could name another folder. A real buffer even
        // when size is 0.
        wchar_t none[1];
        return CALL(GetTempPathW)(size, size ? reinterpret_cast<wchar_t*>(buffer.data()) : none);
    }

    Str ShortPathName(const Str& path) override {
        return Sized([](const wchar_t* p, wchar_t* buffer, DWORD size) { return CALL(GetShortPathNameW)(p, buffer, size); }, Wide(path));
    }

    Str FullPathName(const Str& path) override {
        return Sized([](const wchar_t* p, wchar_t* buffer, DWORD size) { return CALL(GetFullPathNameW)(p, size, buffer, nullptr); },
                     Wide(path));
    }

    bool IsExactInAnsi(const Str& text) override {
        Bytes bytes;
        return ExactAnsi(text, bytes);
    }

    uint32_t SetErrorMode(uint32_t mode) override { return CALL(SetErrorMode)(mode); }

    Handle GetModuleHandleA(const Str& name) override {
        Bytes n;
        return ExactAnsi(name, n) ? reinterpret_cast<Handle>(::GetModuleHandleA(n.c_str())) : 0;
    }

    Handle LoadLibraryA(const Str& name) override {
        Bytes n;
        return ExactAnsi(name, n) ? reinterpret_cast<Handle>(LoadSystemLibrary(n.c_str())) : 0;
    }

    bool GetProcAddress(Handle module, const Str& name) override {
        Bytes n;
        return ExactAnsi(name, n) && Lookup(reinterpret_cast<HMODULE>(module), n.c_str()) != nullptr;
    }

    void FreeLibrary(Handle module) override { ::FreeLibrary(reinterpret_cast<HMODULE>(module)); }

    bool GetDiskFreeSpaceEx(Chars chars, const Str& path, uint64_t& available) override {
        ULARGE_INTEGER a{}, t{}, f{};
        auto ask = [&](auto getDiskFreeSpaceEx, auto name) { return getDiskFreeSpaceEx(name, &a, &t, &f) != FALSE; };
        Bytes p;
        bool ok = chars == Chars::Wide ? ask(CALL(GetDiskFreeSpaceExW), Wide(path))
                                       : ExactAnsi(path, p) && ask(CALL(GetDiskFreeSpaceExA), p.c_str());
        available = a.QuadPart;
        return ok;
    }

    bool GetDiskFreeSpace(Chars chars, const Str& path, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                          uint32_t& freeClusters) override {
        DWORD s = 0, b = 0, f = 0, t;
        auto ask = [&](auto getDiskFreeSpace, auto name) { return getDiskFreeSpace(name, &s, &b, &f, &t) != FALSE; };
        Bytes p;
        bool ok = chars == Chars::Wide ? ask(CALL(GetDiskFreeSpaceW), Wide(path))
                                       : ExactAnsi(path, p) && ask(CALL(GetDiskFreeSpaceA), p.c_str());
        sectorsPerCluster = s;
        bytesPerSector = b;
        freeClusters = f;
        return ok;
    }

    Handle GetDesktopWindow() override { return reinterpret_cast<Handle>(CALL(GetDesktopWindow)()); }

    // The A and W requests of each shell function below are laid out alike: one request is made, its
    // texts of the kind the function called takes.
    int32_t ShellExecute(Chars chars, Handle owner, const Text& operation, const Text& file, const Text& parameters,
                         const Text& directory, int32_t show) override {
        const Text* texts[4] = {&operation, &file, &parameters, &directory};
        Bytes bytes[4];
        LPCWSTR p[4];
        for (int i = 0; i < 4; ++i) {
            p[i] = nullptr;  // absent: a null pointer
            if (!*texts[i]) continue;
            if (chars == Chars::Wide) p[i] = Wide(**texts[i]);
            else if (ExactAnsi(**texts[i], bytes[i])) p[i] = reinterpret_cast<LPCWSTR>(bytes[i].c_str());
            else return SE_ERR_FNF;
        }
        // COM first, as Microsoft asks of a caller of the shell's execute functions, for the handlers it
        // may reach through COM; where COM cannot start, the call is made all the same. The launch is
        // completed before the call returns (this thread has no message loop and the process ends soon
        // after), and no error box of the shell's is shown: its code is the answer.
        if (auto init = FIND(CoInitializeEx)) init(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
        info.hwnd = reinterpret_cast<HWND>(owner);
        info.lpVerb = p[0], info.lpFile = p[1], info.lpParameters = p[2], info.lpDirectory = p[3];
        info.nShow = show;
        (chars == Chars::Wide ? CALL(ShellExecuteExW) : reinterpret_cast<decltype(&ShellExecuteExW)>(CALL(ShellExecuteExA)))(&info);
        return static_cast<int32_t>(reinterpret_cast<intptr_t>(info.hInstApp));
    }

    int32_t SHFileOperation(Chars chars, ShellFileRequest& request) override {
        // No owner, destination, name mappings or title; the aborted flag clear, then read back.
        SHFILEOPSTRUCTW op{};
        op.wFunc = request.operation;
        op.fFlags = request.flags;
        Bytes from;
        if (chars == Chars::Wide) op.pFrom = Wide(request.from);
        else if (ExactAnsi(request.from, from)) op.pFrom = reinterpret_cast<LPCWSTR>(from.c_str());
        else return ERROR_INVALID_NAME;
        int code = (chars == Chars::Wide ? CALL(SHFileOperationW) : reinterpret_cast<decltype(&SHFileOperationW)>(CALL(SHFileOperationA)))(&op);
        request.aborted = op.fAnyOperationsAborted != FALSE;
        return code;
    }

private:
    // The text a call of the usual two-step kind gives: asked with no buffer
    // it answers the size it needs, NUL included; then it fills one of that
    // size and answers the length. Empty where it fails.
    static Str Sized(DWORD (*call)(const wchar_t* path, wchar_t* buffer, DWORD size), const wchar_t* path) {
        DWORD n = call(path, nullptr, 0);
        Str out(n, u'\0');
        DWORD length = n ? call(path, reinterpret_cast<wchar_t*>(out.data()), n) : 0;
        return out.substr(0, length < n ? length : 0);
    }

    // What a system error means for the report file: pairs of an error and its
    // status, a table where a switch would cost a jump table. Every error
    // listed is below 256.
    static FileStatus Status(DWORD error) {
        constexpr unsigned char missing = static_cast<unsigned char>(FileStatus::PathNotFound),
                                refused = static_cast<unsigned char>(FileStatus::AccessDenied),
                                badName = static_cast<unsigned char>(FileStatus::BadName),
                                full = static_cast<unsigned char>(FileStatus::DiskFull),
                                taken = static_cast<unsigned char>(FileStatus::Exists);
        static const unsigned char meanings[] = {
            ERROR_PATH_NOT_FOUND, missing, ERROR_FILE_NOT_FOUND, missing, ERROR_BAD_NETPATH, missing, ERROR_INVALID_DRIVE, missing,
            ERROR_ACCESS_DENIED, refused, ERROR_SHARING_VIOLATION, refused, ERROR_LOCK_VIOLATION, refused, ERROR_WRITE_PROTECT, refused,
            ERROR_INVALID_NAME, badName, ERROR_BAD_PATHNAME, badName, ERROR_FILENAME_EXCED_RANGE, badName,
            ERROR_DISK_FULL, full, ERROR_HANDLE_DISK_FULL, full, ERROR_FILE_EXISTS, taken, ERROR_ALREADY_EXISTS, taken};
        for (size_t i = 0; i < sizeof meanings; i += 2)
            if (meanings[i] == error) return static_cast<FileStatus>(meanings[i + 1]);
        return FileStatus::Other;
    }

    // Form1: caption "Quorvel", a client area of 4680 x 3030 twips and three
    // edit fields, each starting with its own name. Created hidden; where no
    // window can be made the run goes on without one.
    void CreateForm() {
        HINSTANCE instance = ::GetModuleHandleA(nullptr);
        WNDCLASSW wc{};
        wc.lpfnWndProc = CALL(DefWindowProcW);
        wc.hInstance = instance;
        wc.lpszClassName = L"QuorvelForm1";
        CALL(RegisterClassW)(&wc);

        HDC dc = CALL(GetDC)(nullptr);
        dpiX_ = dc ? CALL(GetDeviceCaps)(dc, LOGPIXELSX) : 96;
        dpiY_ = dc ? CALL(GetDeviceCaps)(dc, LOGPIXELSY) : 96;
        if (dc) CALL(ReleaseDC)(nullptr, dc);

        RECT frame{0, 0, X(4680), Y(3030)};
        CALL(AdjustWindowRect)(&frame, WS_OVERLAPPEDWINDOW, FALSE);
        form_ = CALL(CreateWindowExW)(0, wc.lpszClassName, L"Quorvel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                      CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                      nullptr, nullptr, instance, nullptr);
        if (!form_) return;
        static const short layout[3][3] = {{480, 360, 2895}, {480, 1080, 2895}, {120, 1800, 4455}};  // left, top, width
        wchar_t name[] = L"Text1";
        for (int i = 0; i < 3; ++i, ++name[4]) {
            fields_[i] = CALL(CreateWindowExW)(WS_EX_CLIENTEDGE, L"EDIT", name, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                               X(layout[i][0]), Y(layout[i][1]), X(layout[i][2]), Y(375), form_,
                                               nullptr, instance, nullptr);
        }
    }

    // Twips are 1/1440 inch: pixels = twips x dots per inch / 1440, rounded.
    int X(int twips) const { return (twips * dpiX_ + 720) / 1440; }
    int Y(int twips) const { return (twips * dpiY_ + 720) / 1440; }

    HWND form_ = nullptr;
    HWND fields_[3] = {};
    HANDLE file_ = INVALID_HANDLE_VALUE;
    int dpiX_ = 96;
    int dpiY_ = 96;
};

}  // namespace

Platform& Win32Platform() {
    return *new Win32;  // lives until the process ends
}

}  // namespace qrv
