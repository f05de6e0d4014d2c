// The Win32 platform: the ANSI boundary, the hidden window Form1 and the
// operations, every OS function reached through the table in Api.h.
#include "Win32Platform.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include "Api.h"
#include "Form1Layout.h"

// The platform's names for a pair of functions, not the headers' macros for one of them.
#undef GetDiskFreeSpace
#undef GetDiskFreeSpaceEx
#undef ShellExecute
#undef ShellExecuteEx
#undef SHFileOperation

namespace qrv {
namespace {

// --- Names and text at the boundary ------------------------------------------

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide characters");

const wchar_t* Wide(const Str& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// What a call is handed for a name: its bytes for the ANSI function, its text for the W one; null where absent.
// The two functions of a pair take the same arguments but for that pointer, so one is called as the other.
LPCWSTR Arg(const Name& n) {
    if (!n.present) return nullptr;
    return n.chars == Chars::Ansi ? reinterpret_cast<LPCWSTR>(n.ansi.c_str()) : Wide(n.text);
}

// The function of an ANSI and W pair that a name goes to, with the W function's type. In the table the W
// function follows the ANSI one.
#define PAIR(name, chars)                                           \
    reinterpret_cast<decltype(&::name##W)>(reinterpret_cast<void*>( \
        ::qrv::Need(static_cast<::qrv::Api>(::qrv::api_##name##A + ((chars) == ::qrv::Chars::Wide)))))
#define QRV_FOLLOWS(name) static_assert(api_##name##W == api_##name##A + 1, #name "W follows " #name "A");
QRV_FOLLOWS(CreateFile)
QRV_FOLLOWS(DeleteFile)
QRV_FOLLOWS(GetDiskFreeSpace)
QRV_FOLLOWS(GetDiskFreeSpaceEx)
QRV_FOLLOWS(MoveFileEx)
QRV_FOLLOWS(SHFileOperation)
QRV_FOLLOWS(ShellExecuteEx)
#undef QRV_FOLLOWS

// The A and W requests of the shell's two functions are laid out alike, so one request serves both; and the
// core's constants are the system's.
#define QRV_SAME(type, field) \
    static_assert(offsetof(type##A, field) == offsetof(type##W, field), #type "A and W differ at " #field);
QRV_SAME(SHELLEXECUTEINFO, fMask)
QRV_SAME(SHELLEXECUTEINFO, hwnd)
QRV_SAME(SHELLEXECUTEINFO, lpVerb)
QRV_SAME(SHELLEXECUTEINFO, lpFile)
QRV_SAME(SHELLEXECUTEINFO, lpParameters)
QRV_SAME(SHELLEXECUTEINFO, lpDirectory)
QRV_SAME(SHELLEXECUTEINFO, nShow)
QRV_SAME(SHELLEXECUTEINFO, hInstApp)
QRV_SAME(SHFILEOPSTRUCT, wFunc)
QRV_SAME(SHFILEOPSTRUCT, pFrom)
QRV_SAME(SHFILEOPSTRUCT, fFlags)
QRV_SAME(SHFILEOPSTRUCT, fAnyOperationsAborted)
#undef QRV_SAME
static_assert(sizeof(SHELLEXECUTEINFOA) == sizeof(SHELLEXECUTEINFOW), "the A and W requests are the same size");
static_assert(sizeof(SHFILEOPSTRUCTA) == sizeof(SHFILEOPSTRUCTW), "the A and W requests are the same size");
#define QRV_SYSTEMS(core, system) static_assert(core == system, #core " is the system's " #system);
QRV_SYSTEMS(FO_DELETE_OP, FO_DELETE)
QRV_SYSTEMS(FOF_NOCONFIRMATION_FLAG, FOF_NOCONFIRMATION)
QRV_SYSTEMS(FOF_ALLOWUNDO_FLAG, FOF_ALLOWUNDO)
QRV_SYSTEMS(FOF_NOERRORUI_FLAG, FOF_NOERRORUI)
QRV_SYSTEMS(SEM_FAILCRITICALERRORS_MODE, SEM_FAILCRITICALERRORS)
#undef QRV_SYSTEMS

// The text in the ANSI code page; where a character has no exact equivalent, the code page's default
// character and, with exact, false. The count of bytes is asked first. An empty text fails, as the system
// refuses it: it goes to the W function.
bool Convert(const Str& s, Bytes& out, bool exact) {
    int length = static_cast<int>(s.size());
    DWORD flags = exact ? WC_NO_BEST_FIT_CHARS : 0;
    BOOL substituted = FALSE;
    BOOL* used = exact ? &substituted : nullptr;
    int n = CALL(WideCharToMultiByte)(CP_ACP, flags, Wide(s), length, nullptr, 0, nullptr, used);
    if (n <= 0 || CALL(WideCharToMultiByte)(CP_ACP, flags, Wide(s), length, out.Resize(n), n, nullptr, used) != n)
        return false;
    return !substituted;
}

// --- The platform -------------------------------------------------------------

// The process's one window and its fields, and the report's new file while it is open: zero-initialised,
// so that they take no room in the file.
HWND form, fields[3];
HANDLE file;

// The text a call of the usual two-step kind gives: asked with no buffer
// it answers the size it needs, NUL included; then it fills one of that
// size and answers the length. Empty where either fails; a first answer
// of 0 is not asked again.
Str Sized(DWORD (*call)(const wchar_t* path, wchar_t* buffer, DWORD size), const wchar_t* path) {
    DWORD n = call(path, nullptr, 0);
    Str out(n, u'\0');
    DWORD length = n ? call(path, reinterpret_cast<wchar_t*>(out.data()), n) : 0;
    return out.substr(0, length < n ? length : 0);
}

// What a system error means for the report file: pairs of an error and its
// status, a table where a switch would cost a jump table. Every error
// listed is below 256.
FileStatus Meaning(DWORD error) {
    constexpr unsigned char missing = static_cast<unsigned char>(FileStatus::PathNotFound),
                            refused = static_cast<unsigned char>(FileStatus::AccessDenied),
                            badName = static_cast<unsigned char>(FileStatus::BadName),
                            full = static_cast<unsigned char>(FileStatus::DiskFull),
                            taken = static_cast<unsigned char>(FileStatus::Exists);
    static const unsigned char meanings[] = {
        ERROR_PATH_NOT_FOUND,   missing, ERROR_FILE_NOT_FOUND,       missing, ERROR_BAD_NETPATH,       missing,
        ERROR_INVALID_DRIVE,    missing, ERROR_ACCESS_DENIED,        refused, ERROR_SHARING_VIOLATION, refused,
        ERROR_LOCK_VIOLATION,   refused, ERROR_WRITE_PROTECT,        refused, ERROR_INVALID_NAME,      badName,
        ERROR_BAD_PATHNAME,     badName, ERROR_FILENAME_EXCED_RANGE, badName, ERROR_DISK_FULL,         full,
        ERROR_HANDLE_DISK_FULL, full,    ERROR_FILE_EXISTS,          taken,   ERROR_ALREADY_EXISTS,    taken};
    for (const unsigned char* m = meanings; m != meanings + sizeof meanings; m += 2)
        if (m[0] == error) return static_cast<FileStatus>(m[1]);
    return FileStatus::Other;
}

// Form1: caption "Quorvel", its client area and three edit fields as Form1Layout.h places them, each
// starting with its own name. Created hidden; where no window can be made the run goes on without one.
void CreateForm() {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = CALL(DefWindowProcW);
    wc.hInstance = instance;
    wc.lpszClassName = L"QuorvelForm1";
    CALL(RegisterClassW)(&wc);

    HDC dc = CALL(GetDC)(nullptr);
    const int dpiX = dc ? CALL(GetDeviceCaps)(dc, LOGPIXELSX) : 96,
              dpiY = dc ? CALL(GetDeviceCaps)(dc, LOGPIXELSY) : 96;
    if (dc) CALL(ReleaseDC)(nullptr, dc);
    auto X = [dpiX](int twips) { return form1::Pixels(twips, dpiX); };
    auto Y = [dpiY](int twips) { return form1::Pixels(twips, dpiY); };

    RECT frame{0, 0, X(form1::Width), Y(form1::Height)};
    CALL(AdjustWindowRect)(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    form =
        CALL(CreateWindowExW)(0, wc.lpszClassName, L"Quorvel", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!form) return;
    wchar_t name[] = L"Text1";
    for (int i = 0; i < 3; ++i, ++name[4]) {
        const short* at = form1::Fields[i];  // left, top, width
        fields[i] =
            CALL(CreateWindowExW)(WS_EX_CLIENTEDGE, L"EDIT", name, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, X(at[0]),
                                  Y(at[1]), X(at[2]), Y(form1::FieldHeight), form, nullptr, instance, nullptr);
    }
}

}  // namespace

Str Platform::CommandLineText() {
    const wchar_t* p = CALL(GetCommandLineW)();
    // Skip the program's own path as the system does for argv[0]: quoted
    // parts belong to it, and it ends at the first blank or tab outside
    // quotes ("C:\Program Files\Host"\quorvel.exe is one name).
    for (bool quoted = false; *p && (quoted || (*p != L' ' && *p != L'\t')); ++p)
        if (*p == L'"') quoted = !quoted;
    while (*p == L' ' || *p == L'\t') ++p;
    return Str(reinterpret_cast<const char16_t*>(p));
}

Str Platform::CurrentDirectory() {
    return Sized([](const wchar_t*, wchar_t* buffer, DWORD size) { return CALL(GetCurrentDirectoryW)(size, buffer); },
                 nullptr);
}

void Platform::SetFormVisible(bool visible) {
    if (form) CALL(ShowWindow)(form, visible ? SW_SHOWNORMAL : SW_HIDE);
}

void Platform::SetFormMinimized() {
    // Marks the hidden window as minimised without showing it, as
    // ShowWindow(SW_MINIMIZE) would.
    if (form) CALL(SetWindowLongW)(form, GWL_STYLE, CALL(GetWindowLongW)(form, GWL_STYLE) | WS_MINIMIZE);
}

void Platform::SetFieldText(Field field, const Str& text) {
    HWND edit = fields[static_cast<int>(field)];
    if (edit) CALL(SetWindowTextW)(edit, Wide(text));
}

void Platform::ShowMessageBox(const Str& text, const Str& caption) {
    CALL(MessageBoxW)(nullptr, Wide(text), Wide(caption), MB_OK);
}

void Platform::EndProcess(uint32_t exitStatus) {
    CloseFiles();
    ::ExitProcess(exitStatus);
}

FileStatus Platform::CreateReportFile(const Name& path) {
    // Only where nothing is there, and of a reparse point the point itself: a name planted first, a
    // dangling link among them, is never followed.
    file = PAIR(CreateFile, path.chars)(Arg(path), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file != INVALID_HANDLE_VALUE) return FileStatus::Ok;
    file = nullptr;
    return Meaning(CALL(GetLastError)());
}

FileStatus Platform::CheckReportFile() {
    BY_HANDLE_FILE_INFORMATION info;
    return CALL(GetFileInformationByHandle)(file, &info) && info.nNumberOfLinks == 1 &&
                   !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
               ? FileStatus::Ok
               : FileStatus::NotPlain;
}

FileStatus Platform::MoveReportFile(const Name& from, const Name& to) {
    if (PAIR(MoveFileEx, from.chars)(Arg(from), Arg(to), MOVEFILE_REPLACE_EXISTING)) return FileStatus::Ok;
    // Windows refuses a move over a folder, or over a file another program holds open, as it refuses
    // one it may not make: what stands there, and whether it can be opened for deleting at all (the
    // name itself, never what it points to), tell them apart.
    DWORD error = CALL(GetLastError)();
    DWORD attributes = CALL(GetFileAttributesW)(Wide(to.text));
    HANDLE held =
        CALL(CreateFileW)(Wide(to.text), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (held != INVALID_HANDLE_VALUE)
        CALL(CloseHandle)(held);
    else if (CALL(GetLastError)() == ERROR_SHARING_VIOLATION)
        return FileStatus::InUse;
    return attributes != INVALID_FILE_ATTRIBUTES && attributes & FILE_ATTRIBUTE_DIRECTORY ? FileStatus::Folder
                                                                                          : Meaning(error);
}

void Platform::DeleteReportFile(const Name& path) { PAIR(DeleteFile, path.chars)(Arg(path)); }

bool Platform::Elevated() {
    HANDLE token;
    TOKEN_ELEVATION elevation{};
    DWORD size;
    // This process's token; before Vista, the question fails: not elevated.
    if (CALL(OpenProcessToken)(reinterpret_cast<HANDLE>(-1), TOKEN_QUERY, &token)) {
        CALL(GetTokenInformation)(token, TokenElevation, &elevation, sizeof elevation, &size);
        CALL(CloseHandle)(token);
    }
    return elevation.TokenIsElevated != 0;
}

void Platform::TrustOnlyAdminRedirections() {
    // Where kernel32 lacks it, or the system does not know the policy, it is not there to turn on.
    PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY policy{};
    policy.EnforceRedirectionTrust = 1;
    if (auto set = FIND(SetProcessMitigationPolicy)) set(ProcessRedirectionTrustPolicy, &policy, sizeof policy);
}

uint32_t Platform::ProcessId() { return CALL(GetCurrentProcessId)(); }

FileStatus Platform::WriteReportFile(const Str& text) {
    Bytes bytes;
    if (!Convert(text, bytes, false)) return FileStatus::Unconvertible;
    DWORD written;  // always set by the call
    if (!CALL(WriteFile)(file, bytes.c_str(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return Meaning(CALL(GetLastError)());
    return written == bytes.size() ? FileStatus::Ok : FileStatus::ShortWrite;
}

void Platform::CloseFiles() {
    if (file) CALL(CloseHandle)(file);
    file = nullptr;
}

uint32_t Platform::GetTempFolder(uint32_t size, Str& buffer) {
    // The folder's own UTF-16 name: its ANSI form, where the code page
    // cannot carry it, could name another folder. A real buffer even
    // when size is 0.
    wchar_t none[1];
    return CALL(GetTempPathW)(size, size ? reinterpret_cast<wchar_t*>(buffer.data()) : none);
}

Str Platform::ShortPathName(const Str& path) {
    return Sized([](const wchar_t* p, wchar_t* buffer, DWORD size) { return CALL(GetShortPathNameW)(p, buffer, size); },
                 Wide(path));
}

Str Platform::FullPathName(const Str& path) {
    return Sized(
        [](const wchar_t* p, wchar_t* buffer, DWORD size) { return CALL(GetFullPathNameW)(p, size, buffer, nullptr); },
        Wide(path));
}

bool Platform::ToAnsi(const Str& text, Bytes& ansi) { return Convert(text, ansi, true); }

uint32_t Platform::SetErrorMode(uint32_t mode) { return CALL(SetErrorMode)(mode); }

Handle Platform::GetModuleHandleA(const char* name) { return reinterpret_cast<Handle>(::GetModuleHandleA(name)); }

Handle Platform::LoadLibraryA(const char* name) { return reinterpret_cast<Handle>(LoadSystemLibrary(name)); }

bool Platform::GetProcAddress(Handle module, const char* name) {
    return Lookup(reinterpret_cast<HMODULE>(module), name) != nullptr;
}

void Platform::FreeLibrary(Handle module) { ::FreeLibrary(reinterpret_cast<HMODULE>(module)); }

bool Platform::GetDiskFreeSpaceEx(const Name& path, uint64_t& available) {
    ULARGE_INTEGER a{}, t, f;
    bool ok = PAIR(GetDiskFreeSpaceEx, path.chars)(Arg(path), &a, &t, &f) != FALSE;
    available = a.QuadPart;
    return ok;
}

bool Platform::GetDiskFreeSpace(const Name& path, uint32_t& sectorsPerCluster, uint32_t& bytesPerSector,
                                uint32_t& freeClusters) {
    DWORD s{}, b{}, f{}, t;
    bool ok = PAIR(GetDiskFreeSpace, path.chars)(Arg(path), &s, &b, &f, &t) != FALSE;
    sectorsPerCluster = s;
    bytesPerSector = b;
    freeClusters = f;
    return ok;
}

Handle Platform::GetDesktopWindow() { return reinterpret_cast<Handle>(CALL(GetDesktopWindow)()); }

int32_t Platform::ShellExecute(Handle owner, const Name& operation, const Name& file, const Name& parameters,
                               const Name& directory, int32_t show) {
    // COM first, as Microsoft asks of a caller of the shell's execute functions, for the handlers it
    // may reach through COM; where COM cannot start, the call is made all the same. The launch is
    // completed before the call returns (this thread has no message loop and the process ends soon
    // after), and no error box of the shell's is shown: its code is the answer.
    if (auto init = FIND(CoInitializeEx)) init(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = reinterpret_cast<HWND>(owner);
    info.lpVerb = Arg(operation);
    info.lpFile = Arg(file);
    info.lpParameters = Arg(parameters);
    info.lpDirectory = Arg(directory);
    info.nShow = show;
    PAIR(ShellExecuteEx, operation.chars)(&info);
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(info.hInstApp));
}

int32_t Platform::SHFileOperation(ShellFileRequest& request) {
    // No owner, destination, name mappings or title; the aborted flag clear, then read back.
    SHFILEOPSTRUCTW op{};
    op.wFunc = request.operation;
    op.fFlags = request.flags;
    op.pFrom = Arg(request.from);
    int code = PAIR(SHFileOperation, request.from.chars)(&op);
    request.aborted = op.fAnyOperationsAborted != FALSE;
    return code;
}

Platform& Win32Platform() {
    static Platform platform;  // its state is the window's and the file's, above
    CreateForm();
    return platform;
}

}  // namespace qrv
