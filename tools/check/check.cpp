// quorvel-check [PATH\quorvel.exe]: checks, on this Windows, what Quorvel
// promises its hosts. Each case is judged from what Windows itself reports
// where Windows can tell (which files left, the recycle bin's count, the free
// bytes before and after, a marker program that ran, the hidden window as
// another program reads it), and from the report and the boxes where they are
// the promise. It works in a sandbox folder under the user's temp folder,
// removed at the end, and starts the plug-in through runner.h: an exact
// command line, its own TEMP and TMP inside the sandbox and its own current
// directory, OK pressed on every box, each run bounded. The only thing outside
// the sandbox it changes is the recycle bin, which receives files it made,
// named quorvel-check-....
// Prints one line per case, "ok" or "FAIL" with what it expected and saw,
// then a summary; exits 0 when every case holds, 1 when one fails, 2 on a
// usage error. Started under the name quorvel-check-marker.exe it only leaves
// the file NAME.ran beside itself, holding the error mode it started with,
// and ends: Execute's cases open such a copy.
#include <windows.h>
#include <shellapi.h>
#include <softpub.h>
#include <wintrust.h>

#include <algorithm>

#include "runner.h"
#include "window.h"

namespace {

using runner::Read;
using runner::Shown;
using runner::Utf8;
using std::string;
using std::wstring;

// The error mode the check runs the plug-in with, as a host may: no box for a crash or a missing file, but
// the system's critical-error boxes left on. What the plug-in starts must start with it too.
constexpr UINT HostErrorMode = SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX;

bool Exists(const wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool Write(const wstring& path, const string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(f, bytes.data(), (DWORD)bytes.size(), &n, nullptr);
    return f != INVALID_HANDLE_VALUE && CloseHandle(f);
}

// What a host sees of one run: each box (as the runner records it), the exit status and the report, or
// "none". Apart: the plug-in's hidden window as it was while the first box was up.
struct Seen {
    std::vector<string> boxes;
    DWORD exit = 0;
    string report, form;
    string Text() const {
        string out;
        for (const string& box : boxes) out += "box " + box + "; ";
        return out + "exit " + std::to_string(exit) + "; report " + Shown(report);
    }
};

struct Check {
    wstring exe, sandbox, temp;  // the plug-in; the sandbox; the temp folder runs get unless told otherwise
    wstring letter;              // a letter the ANSI code page cannot carry
    std::vector<std::pair<wstring, int>> longFolders;  // folders made with long names: the deepest, and how many levels
    int failed = 0;

    // Runs the plug-in with this whole command line, TEMP and TMP set to temp, in folder cwd, for at most 60 s.
    Seen Run(const wstring& line, const wstring& tempFolder = L"", const wstring& cwd = L"") {
        wstring t = tempFolder.empty() ? temp : tempFolder, env;
        for (const wchar_t* e = GetEnvironmentStringsW(); *e; e += wcslen(e) + 1)
            if (_wcsnicmp(e, L"TEMP=", 5) && _wcsnicmp(e, L"TMP=", 4)) env += wstring(e) + L'\0';
        env += L"TEMP=" + t + L'\0' + L"TMP=" + t + L'\0' + L'\0';
        Seen seen;
        runner::Run run = runner::Start(exe, line, env.c_str(), (cwd.empty() ? sandbox : cwd).c_str(), 60000,
                                        [&](DWORD pid) { seen.form = Form(pid); });
        seen.boxes = run.boxes;
        seen.exit = run.exit;
        if (run.notStarted) seen.boxes.push_back("(not started: error " + std::to_string(run.notStarted) + ")");
        if (!run.ended) seen.boxes.push_back("(no end within 60 s: ended)");
        if (!Read(AddSlash(t) + L"qrvplug.txt", seen.report)) seen.report = "none";
        return seen;
    }

    static wstring AddSlash(const wstring& folder) { return folder.back() == L'\\' ? folder : folder + L'\\'; }
    wstring Quoted() const { return L"\"" + exe + L"\""; }

    void Case(const string& name, bool holds, const string& expected, const string& seen) {
        if (holds)
            printf("ok    %s\n", name.c_str());
        else
            printf("FAIL  %s\n      expected: %s\n      seen:     %s\n", name.c_str(), Shown(expected).c_str(),
                   Shown(seen).c_str()),
                ++failed;
        fflush(stdout);
    }
    void Same(const string& name, const string& expected, const string& seen) {
        Case(name, expected == seen, expected, seen);
    }
};

string Report(const string& section, const string& line5, const string& line6) {
    return "[Plug-in]\r\nName = Quorvel\r\nVersion = 1.0\r\n" + section + "\r\n" + line5 + "\r\n" + line6 + "\r\n";
}

string Box(int number, const string& description) {
    return "box Plug-in Quorvel|Error in Form_Load()\\rErr code  " + std::to_string(number) + "\\r\\r" + description +
           "; ";
}

// The text in the ANSI code page, best-fit and substitutes as the system makes them, and back.
string Ansi(const wstring& w) {
    string out(w.size() * 2 + 1, '\0');
    out.resize(WideCharToMultiByte(CP_ACP, 0, w.c_str(), (int)w.size(), &out[0], (int)out.size(), nullptr, nullptr));
    return out;
}

wstring Wide(const string& a) {
    wstring out(a.size() + 1, L'\0');
    out.resize(MultiByteToWideChar(CP_ACP, 0, a.c_str(), (int)a.size(), &out[0], (int)out.size()));
    return out;
}

bool InAnsi(const wstring& w) { return Wide(Ansi(w)) == w; }

ULONGLONG FreeBytes(const wstring& folder) {
    ULARGE_INTEGER available{};
    GetDiskFreeSpaceExW(folder.c_str(), &available, nullptr, nullptr);
    return available.QuadPart;
}

// Folders below folder, one level a name, made through their \\?\ form, since their full names may pass 259
// characters; the deepest is returned and kept for RemoveLongFolders. The check removes these itself: Wine's
// shell, asked to delete the sandbox, cannot join names this long and deletes in the current folder instead.
wstring LongFolder(Check& c, wstring folder, std::initializer_list<wstring> names) {
    for (const wstring& name : names) CreateDirectoryW((L"\\\\?\\" + (folder += L"\\" + name)).c_str(), nullptr);
    c.longFolders.push_back({folder, static_cast<int>(names.size())});
    return folder;
}

// A folder below base whose full name is past 259 characters.
wstring LongFolder(Check& c, const wstring& base) {
    return LongFolder(c, base, {wstring(100, L'l'), wstring(100, L'm'), wstring(100, L'n')});
}

// The long folders made, each with the report a run may have left in it.
void RemoveLongFolders(const Check& c) {
    for (auto [deepest, levels] : c.longFolders) {
        wstring folder = L"\\\\?\\" + deepest;
        DeleteFileW((folder + L"\\qrvplug.txt").c_str());
        for (int level = 0; level < levels; ++level, folder.resize(folder.rfind(L'\\')))
            RemoveDirectoryW(folder.c_str());
    }
}

// Whether this Windows takes a name past 259 characters without \\?\ from a program that declares it can:
// Windows 10 (1607) and later where LongPathsEnabled is set, and Wine, which always does.
bool LongNamesTaken() {
    if (GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version")) return true;
    DWORD value = 0, size = sizeof value;
    return RegGetValueW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\FileSystem", L"LongPathsEnabled",
                        RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS &&
           value == 1;
}

void CheckKeywords(Check& c) {
    string before = Report("[Execute]", "File = " + Ansi(c.sandbox) + "\\missing", "Return = 2");
    c.Same("Execute of a missing target reports the shell's 2", "exit 0; report " + Shown(before),
           c.Run(c.Quoted() + L" Execute \"" + c.sandbox + L"\\missing\"").Text());
    for (const wchar_t* args : {L"", L" Unknown x", L" execute x", L" DELETE x", L" \"Execute \" x"})
        c.Same("no known keyword (" + Utf8(args) + ") runs nothing and leaves the report",
               "exit 0; report " + Shown(before), c.Run(c.Quoted() + args).Text());
    for (const wstring name : {L"\"C:\\Program Files\\Host\"\\quorvel.exe", L"C:\\Host\\\"quorvel.exe\"",
                               L"\"C:\\Host\\quorvel.exe\"", L"quorvel"}) {
        wstring target = c.sandbox + L"\\no such\\" + std::to_wstring(name.size());
        c.Same("the program's own name " + Utf8(name) + " is skipped whole",
               "exit 0; report " + Shown(Report("[Execute]", "File = " + Ansi(target), "Return = 2")),
               c.Run(name + L" Execute \"" + target + L"\"").Text());
    }
}

// Execute of a copy of the check, which only leaves NAME.ran beside itself with the error mode it started
// with: in the sandbox, and in a folder named with a letter the code page cannot carry. It must start with
// the mode a program the host starts itself gets (the host's, on Windows; Wine gives every program 0).
void CheckExecute(Check& c, const wstring& self) {
    auto place = [&self](const wstring& folder) {  // a copy of the check in folder, run by no one yet
        wstring marker = folder + L"\\quorvel-check-marker.exe";
        CreateDirectoryW(folder.c_str(), nullptr);
        CopyFileW(self.c_str(), marker.c_str(), FALSE);
        return marker;
    };
    wstring direct = place(c.sandbox + L"\\direct");  // started straight from here
    string inherited;
    runner::Start(direct, L"\"" + direct + L"\"", nullptr, nullptr, 10000);
    if (!Read(direct + L".ran", inherited) || inherited.compare(0, 11, "error mode ") != 0)
        inherited = "error mode ? (a copy started directly did not run)";  // no run of the plug-in's can match it
    for (const wstring& folder : {c.sandbox, c.sandbox + L"\\open" + c.letter}) {
        wstring marker = place(folder);
        Seen seen = c.Run(c.Quoted() + L" Execute \"" + marker + L"\"");
        size_t at = seen.report.find("Return = ");
        long code = at == string::npos ? 0 : strtol(seen.report.c_str() + at + 9, nullptr, 10);
        string ran;
        for (int i = 0; i < 200 && !Read(marker + L".ran", ran); ++i) Sleep(50);
        c.Case("Execute opens the target" +
                   string(folder == c.sandbox ? "" : " in " + Utf8(folder.substr(c.sandbox.size() + 1))) +
                   ": a code above 32, and the target ran with the error mode a program the host starts gets (" +
                   inherited.substr(11) + ")",
               code > 32 && ran == inherited && seen.exit == 0,
               "exit 0, Return above 32, " + Utf8(marker) + ".ran: " + inherited,
               seen.Text() + "; ran: " + (ran.empty() ? "no" : ran));
    }
}

// FreeDiskSpace of a folder, of one named with a letter the code page cannot carry, and with no path (the
// current directory, the sandbox).
void CheckFreeSpace(Check& c) {
    wstring named = c.sandbox + L"\\free" + c.letter, deep = LongFolder(c, c.sandbox), prefixed = L"\\\\?\\" + deep;
    CreateDirectoryW(named.c_str(), nullptr);
    for (const wstring& path : {c.sandbox, named, wstring(), deep, prefixed}) {
        bool none = path == deep && !LongNamesTaken();  // where Windows does not take the long name: Return = 0
        Seen seen;
        ULONGLONG low = 0, high = 0, reported = 0;
        for (int attempt = 0; attempt < 5; ++attempt) {  // a busy disk may change between the two readings
            ULONGLONG before = FreeBytes(c.sandbox);
            seen = c.Run(c.Quoted() + (path.empty() ? L" FreeDiskSpace" : L" FreeDiskSpace \"" + path + L"\""));
            ULONGLONG after = FreeBytes(c.sandbox);
            low = std::min(before, after);
            high = std::max(before, after);
            size_t at = seen.report.find("Return = ");
            reported = at == string::npos ? 0 : _strtoui64(seen.report.c_str() + at + 9, nullptr, 10);
            if (none || (reported >= low && reported <= high)) break;
        }
        string line5 = "Argument = " + Ansi(path);
        string what = path == c.sandbox ? "a folder"
                      : path == named   ? "the folder " + Utf8(path.substr(c.sandbox.size() + 1))
                      : path == deep    ? "a folder named in " + std::to_string(path.size()) + " characters"
                                        : "its \\\\?\\ form";
        c.Case(path.empty() ? "FreeDiskSpace without a path measures the current directory's volume"
               : none       ? "FreeDiskSpace of " + what + ", which this Windows does not take, answers 0"
                            : "FreeDiskSpace of " + what + " lies between Windows' readings before and after",
               (none ? reported == 0 : reported >= low && reported <= high) && seen.exit == 0 && seen.boxes.empty() &&
                   seen.report == Report("[FreeDiskSpace]", line5, "Return = " + std::to_string(reported)),
               "exit 0; six lines, " + line5 + ", Return " +
                   (none ? "0" : "between " + std::to_string(low) + " and " + std::to_string(high)),
               seen.Text());
    }
}

void CheckDelete(Check& c) {
    wstring dir = c.sandbox + L"\\victims";
    CreateDirectoryW(dir.c_str(), nullptr);
    // Names the code page cannot carry: a letter it lacks, whose best-fit twin is made beside it where it can
    // be named, and a character outside the basic plane (a surrogate pair), whose substitute would be the
    // wildcard ?? that matches quorvel-check-ab.txt.
    const wstring unnamed = L"quorvel-check-u" + c.letter + L".txt", pair = L"quorvel-check-\xD83D\xDE00.txt",
                  twin = Wide(Ansi(unnamed));
    const wstring names[] = {L"quorvel-check-a.txt",
                             L"quorvel-check-b.txt",
                             L"quorvel-check-c d.txt",
                             L"quorvel-check-w1.log",
                             L"quorvel-check-w22.log",
                             L"quorvel-check-w1.txt",
                             L"quorvel-check-x1.log",
                             unnamed,
                             pair,
                             L"quorvel-check-ab.txt",
                             L"quorvel-check-r.txt",
                             L"quorvel-check-r1.log",
                             L"quorvel-check-r22.log",
                             L"quorvel-check-r1.txt"};
    for (const wstring& name : names) Write(dir + L"\\" + name, Utf8(name));
    bool twinMade = twin != unnamed && Write(dir + L"\\" + twin, "best fit");
    SHQUERYRBINFO bin{sizeof bin};
    bool readable = SUCCEEDED(SHQueryRecycleBinW(dir.c_str(), &bin));
    LONGLONG binBefore = bin.i64NumItems;
    string reported = "exit 0; report " + Shown(Report("[Delete]", "Argument = ", "Return =True"));
    c.Same(
        "Delete takes several targets, names with blanks", reported,
        c.Run(c.Quoted() + L" Delete \"" + dir + L"\\" + names[0] + L"\" \"" + dir + L"\\" + names[2] + L"\"").Text());
    c.Same("Delete takes a wildcard's every match", reported,
           c.Run(c.Quoted() + L" Delete " + dir + L"\\quorvel-check-w*.log").Text());
    c.Same("Delete takes names the code page cannot carry (" + Utf8(unnamed) + ", " + Utf8(pair) + ")", reported,
           c.Run(c.Quoted() + L" Delete \"" + dir + L"\\" + unnamed + L"\" \"" + dir + L"\\" + pair + L"\"").Text());
    c.Case("its best-fit twin " + Utf8(twin) + " stays", !twinMade || Exists(dir + L"\\" + twin), "kept", "deleted");
    c.Same("Delete takes a relative target and a relative wildcard, from the current directory", reported,
           c.Run(c.Quoted() + L" Delete quorvel-check-r.txt quorvel-check-r*.log", L"", dir).Text());
    string left;
    for (const wstring& name : names) left += Exists(dir + L"\\" + name) ? Utf8(name) + " " : "";
    c.Same("exactly those files left the folder",
           "quorvel-check-b.txt quorvel-check-w1.txt quorvel-check-x1.log quorvel-check-ab.txt quorvel-check-r1.txt ",
           left);
    bin = SHQUERYRBINFO{sizeof bin};
    if (readable && SUCCEEDED(SHQueryRecycleBinW(dir.c_str(), &bin)))
        c.Case("the recycle bin grew by those files", bin.i64NumItems - binBefore == 9, "9 more items",
               std::to_string(bin.i64NumItems - binBefore) + " more items");
    else
        printf("--    the recycle bin's count: not readable here\n");
    const string refused = "exit 0; report " + Shown(Report("[Delete]", "Argument = ", "Return =False"));
    c.Same("Delete of a missing target reports False", refused,
           c.Run(c.Quoted() + L" Delete \"" + dir + L"\\quorvel-check-missing.txt\"").Text());
    // A file another program holds open without sharing delete cannot go to the bin: the shell skips it.
    const wstring held = dir + L"\\quorvel-check-held.txt";
    Write(held, "held");
    HANDLE open =
        CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    string seen = c.Run(c.Quoted() + L" Delete \"" + held + L"\"").Text();
    CloseHandle(open);
    c.Same("Delete of a file held open without sharing delete reports False and leaves it", refused + "; kept",
           seen + (Exists(held) ? "; kept" : "; gone"));
}

void CheckReport(Check& c) {
    wstring missing = c.sandbox + L"\\no such folder";
    c.Same("a temp folder that does not exist: box 76, no report", Box(76, "Path not found") + "exit 76; report none",
           c.Run(c.Quoted() + L" FreeDiskSpace \"" + c.sandbox + L"\"", missing).Text());
    // Delete without a target (the shell refuses an empty list) sets no Text3 before the report's box: the field
    // holds its own name.
    c.Same("meanwhile its hidden window holds, in the field nothing set, its own name",
           "Quorvel, " + PlainFrame() + "|<Delete>" + FieldAt(0) + "|<Delete>" + FieldAt(1) + "|Text3" + FieldAt(2),
           c.Run(c.Quoted() + L" Delete", missing).form);
    c.Same("an argument with CR LF adds no line: box 5, no report",
           Box(5, "Invalid procedure call or argument") + "exit 5; report none",
           c.Run(c.Quoted() + L" Execute \"C:\\x\r\nReturn = 42\"", missing).Text());
    // A temp folder whose name the code page cannot carry: the report lands there, through its 8.3 name
    // or its own name; never in the folder its substituted name could mean.
    for (const wstring& name : {wstring(L"temp with blanks"), L"temp" + c.letter}) {
        wstring folder = c.sandbox + L"\\" + name, decoy = c.sandbox + L"\\" + Wide(Ansi(name));
        CreateDirectoryW(folder.c_str(), nullptr);
        if (decoy != folder && CreateDirectoryW(decoy.c_str(), nullptr)) Write(decoy + L"\\qrvplug.txt", "decoy");
        Write(folder + L"\\qrvplug.txt", string(500, 'x'));
        wchar_t brief[MAX_PATH] = L"";
        bool shortName = GetShortPathNameW(folder.c_str(), brief, MAX_PATH) && InAnsi(brief);
        string expected = Report("[FreeDiskSpace]", "Argument = Q:\\no\\such\\path", "Return = 0");
        c.Same("the report is exactly six lines in the temp folder " + Utf8(name) +
                   (InAnsi(name) ? ""
                    : shortName  ? " (through its 8.3 name)"
                                 : " (through its own name)"),
               "exit 0; report " + Shown(expected),
               c.Run(c.Quoted() + L" FreeDiskSpace Q:\\no\\such\\path", folder).Text());
        string kept = "decoy";
        if (decoy != folder && Read(decoy + L"\\qrvplug.txt", kept))
            c.Same("the folder the substituted name means keeps its file", "decoy", kept);
    }
    // Temp folders whose report is named past 259 characters: one of 250 characters, and one past 259
    // itself. Where the system names the folder, the report is written there where Windows takes long
    // names, and fails with its box and no report where it does not.
    wstring mid = LongFolder(c, c.sandbox, {L"m", wstring(247 - c.sandbox.size(), L'p')}), before(2048, L'\0');
    before.resize(GetEnvironmentVariableW(L"TMP", &before[0], 2048));
    for (const wstring& folder : {mid, LongFolder(c, c.sandbox + L"\\t")}) {
        wstring named(2048, L'\0');
        SetEnvironmentVariableW(L"TMP", folder.c_str());
        named.resize(GetTempPathW(2048, &named[0]));
        SetEnvironmentVariableW(L"TMP", before.empty() ? nullptr : before.c_str());
        string what = "a temp folder named in " + std::to_string(folder.size()) + " characters";
        if (named != folder + L"\\") {
            printf("--    %s: this Windows names none (GetTempPathW: \"%s\")\n", what.c_str(), Utf8(named).c_str());
            continue;
        }
        Seen seen = c.Run(c.Quoted() + L" FreeDiskSpace Q:\\no\\such\\path", folder);
        if (!Read(L"\\\\?\\" + folder + L"\\qrvplug.txt", seen.report)) seen.report = "none";
        if (LongNamesTaken())
            c.Same("the report is exactly six lines in " + what,
                   "exit 0; report " + Shown(Report("[FreeDiskSpace]", "Argument = Q:\\no\\such\\path", "Return = 0")),
                   seen.Text());
        else
            c.Case(what + ", a name this Windows does not take: a box, no report",
                   seen.exit != 0 && !seen.boxes.empty() && seen.report == "none", "a box, exit not 0, report none",
                   seen.Text());
    }
    string old;
    Read(c.temp + L"\\qrvplug.txt", old);
    HANDLE held = CreateFileW((c.temp + L"\\qrvplug.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    string target = Utf8(c.sandbox) + "\\held";
    Seen seen = c.Run(c.Quoted() + L" \t Execute \"" + c.sandbox + L"\\held\"");
    CloseHandle(held);
    Read(c.temp + L"\\qrvplug.txt", seen.report);
    c.Same("a report held open by another program without sharing delete: box 55, the old report intact",
           Box(55, "File already open") + "exit 55; report " + Shown(old), seen.Text());
    c.Same(
        "meanwhile its hidden window holds the command line after its name and the two arguments, each field in its "
        "place",
        "Quorvel, " + PlainFrame() + "|<Execute \"" + target + "\">" + FieldAt(0) + "|<Execute>" + FieldAt(1) + "|<" +
            target + ">" + FieldAt(2),
        seen.form);
}

// What a file is: "none", "a link" (any reparse point), "a folder", or its bytes and its count of links.
string FileKind(const wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    bool known = f != INVALID_HANDLE_VALUE && GetFileInformationByHandle(f, &info);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    string bytes;
    if (!known) return "none";
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) return "a link";
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return "a folder";
    Read(path, bytes);
    return Shown(bytes) + " (" + std::to_string(info.nNumberOfLinks) +
           (info.nNumberOfLinks == 1 ? " link)" : " links)");
}

// The names in a folder, sorted.
string Names(const wstring& folder) {
    WIN32_FIND_DATAW found;
    std::vector<string> names;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found))
        if (wcscmp(found.cFileName, L".") && wcscmp(found.cFileName, L"..")) names.push_back(Utf8(found.cFileName));
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    std::sort(names.begin(), names.end());
    string out;
    for (const string& name : names) out += name + " ";
    return out;
}

// Installers run the plug-in elevated with a temp folder others can write to: a link planted at the report's
// name is replaced, never written through. A hard link to a decoy, and a symbolic link where this user may
// make one (an administrator, or Developer Mode on Windows 10 and later).
enum How { Hard, Symbolic, Dangling, Folder, FolderLink };  // from Folder on, nothing can be moved there
struct Planted {
    const char* kind;
    const wchar_t* tag;
    How how;
};

void CheckPlantedLinks(Check& c) {
    static const Planted rows[] = {{"a hard link to a decoy", L"hard", Hard},
                                   {"a symbolic link to a decoy", L"symbolic", Symbolic},
                                   {"a symbolic link to a file that does not exist", L"dangling", Dangling},
                                   {"a folder", L"folder", Folder},
                                   {"a symbolic link to a folder", L"folder-link", FolderLink}};
    const string report = Report("[FreeDiskSpace]", "Argument = Q:\\no\\such\\path", "Return = 0");
    for (const auto& row : rows) {
        const char* kind = row.kind;
        const How how = row.how;
        wstring folder = c.sandbox + L"\\planted-" + row.tag, decoy = c.sandbox + L"\\decoy-" + row.tag + L".txt",
                at = folder + L"\\qrvplug.txt";
        CreateDirectoryW(folder.c_str(), nullptr);
        if (how != Dangling) Write(decoy, "decoy");
        const wstring target = how == FolderLink ? c.sandbox : decoy;
        const DWORD flags = how == FolderLink ? SYMBOLIC_LINK_FLAG_DIRECTORY : 0;
        bool planted = how == Hard ? CreateHardLinkW(at.c_str(), decoy.c_str(), nullptr)
                       : how == Folder
                           ? CreateDirectoryW(at.c_str(), nullptr)
                           : CreateSymbolicLinkW(at.c_str(), target.c_str(),
                                                 flags | 0x2 /* SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE */) ||
                                 CreateSymbolicLinkW(at.c_str(), target.c_str(), flags);
        if (!planted) {
            printf("--    %s at the report's name: this user may not make one here (error %lu)\n", kind,
                   GetLastError());
            continue;
        }
        Seen seen = c.Run(c.Quoted() + L" FreeDiskSpace Q:\\no\\such\\path", folder);
        // A folder stays with box 75; so may a link to one, where the system will not move a file over it (Windows),
        // or it is replaced (Wine): never followed either way.
        string rest =
            "; in its folder: qrvplug.txt ; the decoy: " + string(how == Dangling ? "none" : "decoy (1 link)");
        string replaced = "exit 0, 0 boxes; qrvplug.txt " + Shown(report) + " (1 link)" + rest;
        string expected = how < Folder
                              ? replaced
                              : "exit 75, 1 boxes; qrvplug.txt " + string(how == Folder ? "a folder" : "a link") + rest;
        string got = "exit " + std::to_string(seen.exit) + ", " + std::to_string(seen.boxes.size()) +
                     " boxes; qrvplug.txt " + FileKind(at) + "; in its folder: " + Names(folder) +
                     "; the decoy: " + FileKind(decoy);
        const char* outcome = how < Folder    ? "replaced"
                              : how == Folder ? "left, box 75"
                                              : "replaced or left with box 75";
        c.Case(string(kind) + " at the report's name is " + outcome + ", never followed",
               got == expected || (how == FolderLink && got == replaced), expected, got);
    }
}

void CheckImage(Check& c) {
    DWORD ignored = 0, size = GetFileVersionInfoSizeW(c.exe.c_str(), &ignored);
    std::vector<char> info(size + 1);
    VS_FIXEDFILEINFO* fixed = nullptr;
    wchar_t* copyright = nullptr;
    UINT n = 0;
    bool found = size && GetFileVersionInfoW(c.exe.c_str(), 0, size, info.data()) &&
                 VerQueryValueW(info.data(), L"\\", (void**)&fixed, &n) &&
                 VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\LegalCopyright", (void**)&copyright, &n);
    char seen[128] = "no version record";
    if (found)
        snprintf(seen, sizeof seen, "file %lx.%lx, product %lx.%lx, %s", fixed->dwFileVersionMS >> 16,
                 fixed->dwFileVersionMS & 0xFFFF, fixed->dwProductVersionMS >> 16, fixed->dwProductVersionMS & 0xFFFF,
                 Utf8(copyright).c_str());
    c.Same("the version record: 1.00 and the copyright",
           "file 1.0, product 1.0, Copyright (c) 2026 The Quorvel authors", seen);
    // The signature: none, or one that verifies. Any other answer (a changed byte, an untrusted root, a
    // certificate expired without a time stamp) is an exe not to ship.
    WINTRUST_FILE_INFO file{sizeof file, c.exe.c_str()};
    WINTRUST_DATA trust{sizeof trust};
    trust.dwUIChoice = WTD_UI_NONE;
    trust.fdwRevocationChecks = WTD_REVOKE_NONE;
    trust.dwUnionChoice = WTD_CHOICE_FILE;
    trust.pFile = &file;
    trust.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    LONG answer = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &trust);
    trust.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &trust);
    char answered[64];
    snprintf(answered, sizeof answered, "WinVerifyTrust 0x%08lx", (unsigned long)answer);
    c.Case(answer == (LONG)TRUST_E_NOSIGNATURE ? "the exe is not signed" : "the exe's signature verifies",
           answer == 0 || answer == (LONG)TRUST_E_NOSIGNATURE, "WinVerifyTrust 0 (verified) or 0x800b0100 (not signed)",
           answered);
}

// A file's SHA-256 in lowercase hex; empty where it cannot be read.
string Sha256(const wstring& path) {
    string bytes, hex;
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    BYTE digest[32];
    DWORD n = sizeof digest;
    if (Read(path, bytes) && CryptAcquireContextW(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) &&
        CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash) &&
        CryptHashData(hash, (const BYTE*)bytes.data(), (DWORD)bytes.size(), 0) &&
        CryptGetHashParam(hash, HP_HASHVAL, digest, &n, 0))
        for (BYTE b : digest) hex += "0123456789abcdef"[b >> 4], hex += "0123456789abcdef"[b & 15];
    if (hash) CryptDestroyHash(hash);
    if (provider) CryptReleaseContext(provider, 0);
    return hex;
}

// In a release, each program beside the check (its folder, or win64/ under the release's top) is the one
// the release's SHA256SUMS lists.
void CheckRelease(Check& c, const wstring& self) {
    wstring dir = self.substr(0, self.rfind(L'\\')), top = dir, prefix;
    string sums;
    if (!Read(top + L"\\SHA256SUMS", sums)) {
        top = dir.substr(0, dir.rfind(L'\\'));
        prefix = dir.substr(top.size() + 1) + L"/";
    }
    if (prefix.size() && !Read(top + L"\\SHA256SUMS", sums)) {
        printf("--    no release's SHA256SUMS beside it: the programs not compared\n");
        return;
    }
    for (size_t at = 0, end; (end = sums.find('\n', at)) != string::npos; at = end + 1) {
        string line = sums.substr(at, end - at), name = line.size() > 66 ? line.substr(66) : "";
        wstring file = Wide(name);
        if (file.compare(0, prefix.size(), prefix) || file.find(L'/', prefix.size()) != wstring::npos ||
            file.size() < 4 || file.substr(file.size() - 4) != L".exe")
            continue;
        c.Same(name + " is the release's, as SHA256SUMS lists it", line.substr(0, 64),
               Sha256(dir + L"\\" + file.substr(prefix.size())));
    }
}

// The manifest as the loader reads it: run as the invoker without UI access; Vista, 7, 8, 8.1 and
// 10 (and 11) supported; system DPI aware; long paths taken where Windows allows them.
void CheckManifest(Check& c) {
    ACTCTXW request{sizeof request, ACTCTX_FLAG_RESOURCE_NAME_VALID, c.exe.c_str()};
    request.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = CreateActCtxW(&request);
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level{};
    struct {
        DWORD count;
        struct {
            GUID id;
            DWORD type;
            ULONGLONG maxVersionTested;
        } os[16];
    } compat{};
    wchar_t dpi[32] = L"", longPaths[32] = L"";
    char seen[256] = "no manifest";
    auto settings = reinterpret_cast<decltype(&QueryActCtxSettingsW)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "QueryActCtxSettingsW")));
    if (!settings) {  // before Windows 7: the check still starts, and says so
        printf("--    the manifest's settings: not readable here\n");
        return;
    }
    if (context != INVALID_HANDLE_VALUE &&
        QueryActCtxW(0, context, nullptr, RunlevelInformationInActivationContext, &level, sizeof level, nullptr) &&
        QueryActCtxW(0, context, nullptr, CompatibilityInformationInActivationContext, &compat, sizeof compat,
                     nullptr)) {
        settings(0, context, nullptr, L"dpiAware", dpi, 32, nullptr);
        settings(0, context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"longPathAware", longPaths, 32,
                 nullptr);
        int n = snprintf(seen, sizeof seen, "level %d, uiAccess %lu, os", (int)level.RunLevel, level.UiAccess);
        for (DWORD i = 0; i < compat.count && i < 16; ++i)
            n += snprintf(seen + n, sizeof seen - n, " %08lx", compat.os[i].id.Data1);
        snprintf(seen + n, sizeof seen - n, ", dpiAware %s, longPathAware %s", Utf8(dpi).c_str(),
                 Utf8(longPaths).c_str());
        ReleaseActCtx(context);
    }
    c.Same("the manifest, as the loader reads it",
           "level 1, uiAccess 0, os e2011457 35138b9a 4a2f28e3 1f676c76 8e0f7a12, dpiAware true, longPathAware true",
           seen);
}

// Copies of a marker library, named like the libraries that programs in download folders are hijacked
// through, beside a copy of the plug-in: none is loaded while it runs each command.
void CheckPlanted(Check& c) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(10));  // RT_RCDATA
    const char* bytes = found ? static_cast<const char*>(LockResource(LoadResource(nullptr, found))) : nullptr;
    Check copy = c;
    wstring dir = c.sandbox + L"\\downloads";
    copy.exe = dir + L"\\quorvel.exe";
    CreateDirectoryW(dir.c_str(), nullptr);
    CopyFileW(c.exe.c_str(), copy.exe.c_str(), FALSE);
    for (const wchar_t* name :
         {L"version.dll", L"uxtheme.dll", L"dwmapi.dll", L"cryptbase.dll", L"propsys.dll", L"shell32.dll"})
        Write(dir + L"\\" + name, bytes ? string(bytes, SizeofResource(nullptr, found)) : "");
    string seen;
    for (const wstring& args : {L" FreeDiskSpace \"" + c.sandbox + L"\"", L" Execute \"" + c.sandbox + L"\\missing\"",
                                L" Delete \"" + c.sandbox + L"\\missing\""})
        if (copy.Run(copy.Quoted() + args).exit != 0) seen += "a run failed; ";
    c.Same("no library planted beside it is loaded (version, uxtheme, dwmapi, cryptbase, propsys, shell32)",
           "none loaded",
           seen + (!bytes                           ? "no marker library in the check"
                   : Exists(dir + L"\\planted.txt") ? "loaded"
                                                    : "none loaded"));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    wstring me = self, name = me.substr(me.rfind(L'\\') + 1);
    if (_wcsicmp(name.c_str(), L"quorvel-check-marker.exe") == 0) {
        Write(me + L".ran", "error mode " + std::to_string(SetErrorMode(0)));
        return 0;
    }
    if (argc > 2 || (argc == 2 && argv[1][0] == L'-')) {
        fprintf(stderr, "usage: quorvel-check [PATH\\quorvel.exe]\n");
        return 2;
    }
    // Screen measures as the plug-in, which is aware of the system's DPI, takes them (Windows Vista on).
    if (auto aware = reinterpret_cast<BOOL(WINAPI*)()>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32"), "SetProcessDPIAware"))))
        aware();
    SetErrorMode(HostErrorMode);
    Check c;
    wchar_t full[MAX_PATH], temp[MAX_PATH];
    c.exe = argc == 2 ? (GetFullPathNameW(argv[1], MAX_PATH, full, nullptr), wstring(full))
                      : me.substr(0, me.rfind(L'\\') + 1) + L"quorvel.exe";
    if (!Exists(c.exe)) {
        fprintf(stderr, "quorvel-check: no %s\n", Utf8(c.exe).c_str());
        return 2;
    }
    GetTempPathW(MAX_PATH, temp);
    c.sandbox = wstring(temp) + L"quorvel-check-" + std::to_wstring(GetCurrentProcessId());
    c.temp = c.sandbox + L"\\temp";
    CreateDirectoryW(c.sandbox.c_str(), nullptr);
    CreateDirectoryW(c.temp.c_str(), nullptr);
    for (const wchar_t* candidate : {L"\xFF41", L"\x0416", L"\x4E2D", L"\x05D0"})  // the first this code page lacks
        if (c.letter.empty() && !InAnsi(candidate)) c.letter = candidate;
    CheckKeywords(c);
    CheckExecute(c, me);
    CheckFreeSpace(c);
    CheckDelete(c);
    CheckReport(c);
    CheckPlantedLinks(c);
    CheckImage(c);
    CheckRelease(c, me);
    CheckManifest(c);
    CheckPlanted(c);
    RemoveLongFolders(c);
    SHFILEOPSTRUCTW remove{nullptr, FO_DELETE, nullptr, nullptr, FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI};
    wstring from = c.sandbox + L'\0' + L'\0';
    remove.pFrom = from.c_str();
    SHFileOperationW(&remove);
    OSVERSIONINFOW version{sizeof version};
    GetVersionExW(&version);
    printf("%s: %d failed; Windows %lu.%lu build %lu, ANSI code page %u, temp folder %s\n", c.failed ? "FAIL" : "ok",
           c.failed, version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber, GetACP(),
           Utf8(temp).c_str());
    return c.failed ? 1 : 0;
}
