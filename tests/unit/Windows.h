// The platform of the unit tests and the fuzz target: a small Windows with a Latin-1 ANSI code page. Its answers are
// plain data (Answers) a test sets. It records what a host would see of a run (the report, the boxes, the fields, the
// exit status) and what the system was asked, and notes in Problems() whatever a run did that a real Windows would
// punish or a host could not rely on.
#pragma once

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Failure.h"
#include "Form1.h"

namespace qrv {

// UTF-16 of the basic plane as UTF-8, to show a name as it is.
inline std::string Utf8(const Str& s) {
    std::string out;
    for (unsigned c : s)
        out += c < 0x80    ? std::string(1, char(c))
               : c < 0x800 ? std::string{char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))}
                           : std::string{char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
    return out;
}

// Text in the small Windows' code page: a character it lacks as ?.
inline std::string Latin1(const Str& s) {
    std::string out;
    for (char16_t c : s) out += c < 0x100 ? char(c) : '?';
    return out;
}

inline bool InLatin1(const Str& s) {
    return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x100; });
}

const std::string ReportHead = "[Plug-in]\r\nName = Quorvel\r\nVersion = 1.0\r\n";  // every report's first lines

struct Answers {
    Str temp = u"C:\\TEMP\\", current = u"C:\\WORK";  // as the system names them
    std::vector<std::pair<Str, Str>> shortNames{};    // 8.3 forms by long name; others have none
    int64_t tempLength = -1;                          // GetTempPathW's first answer; -1: the name's length and its NUL
    bool fullPathFails = false;
    Str fullPath{};  // where not empty, every name made full is this; else the current directory's, a last \. resolved
    bool hasEx = true, diskOk = true;  // kernel32 has GetDiskFreeSpaceExA; the disk answers
    uint64_t available = 0;
    uint32_t clusters[3] = {};  // sectors per cluster, bytes per sector, free clusters
    int32_t shellCode = 42, deleteCode = 0;
    bool aborted = false;  // the delete skipped a file
    FileStatus createStatus = FileStatus::Ok;
    int takenNames = 0;  // the report's new names already taken
    FileStatus plainStatus = FileStatus::Ok;
    int writesBeforeFailure = 1000;
    FileStatus writeStatus = FileStatus::Ok, moveStatus = FileStatus::Ok;
    bool elevated = false;
    uint32_t pid = 4242, hostMode = 0;     // the process id; the error mode the host started it with
    bool loaded = true, loadable = false;  // kernel32 is loaded already; it can be loaded
};

struct Windows : Platform, Answers {
    explicit Windows(Answers given = {}) : Answers(std::move(given)) {}

    // What a host sees, and what the system was asked.
    Str line;
    std::string report = "old", path;  // the report's bytes, and where it went ((W): through a W function)
    std::string boxes, asked, tried, fields[3] = {"-", "-", "-"};  // boxes (number, text); calls made; names tried
    int64_t exitStatus = -1;
    int ends = 0, commandCalls = 0, boxCount = 0, firstBox = 0;
    bool visible = true, minimized = false, guarded = false;
    uint32_t mode = 0;
    Name made;                  // the report's new file, made and neither moved nor removed
    std::string fresh, broken;  // its bytes; every rule a run broke

    void Break(const std::string& rule) { broken += rule + "; "; }
    // The disk's calls hold the critical-error boxes off, keeping the host's other bits, unguarded; the report's too,
    // the junction guard on where the token is elevated; the shell's start and the end have the host's mode.
    void Mode(const char* call, bool report = false) {
        if (mode != (hostMode | 1) || guarded != (report && elevated)) Break(std::string(call) + " in the wrong mode");
    }
    // A name handed to an ANSI function is one the code page carries exactly and the ANSI functions take whole (of a
    // delete list, each name).
    std::string Named(const Name& n) {
        bool whole = Latin1(n.text) == std::string(n.ansi.c_str(), n.ansi.size());
        for (size_t at = 0, end = 0; at < n.text.size(); at = end + 1) {
            for (end = at; end < n.text.size() && n.text[end];) ++end;
            Str part = n.text.substr(at, end - at);
            whole = whole && part.size() <= 259 && !(part.substr(0, 4) == u"\\\\?\\") && InLatin1(part);
        }
        if ((n.chars == Chars::Ansi && !whole) || !n.present) Break("a name handed over as it must not be");
        return n.chars == Chars::Wide ? "(W) " : "";
    }
    void Command(const std::string& what) {
        asked += what;
        ++commandCalls;
    }

    Str CommandLineText() override { return line; }
    Str CurrentDirectory() override { return current; }
    void SetFormVisible(bool v) override { visible = v; }
    void SetFormMinimized() override { minimized = true; }
    void SetFieldText(Field f, const Str& t) override { fields[static_cast<int>(f)] = Latin1(t); }
    void ShowMessageBox(const Str& text, const Str& caption) override {
        const std::string shown = Latin1(text), frame = "Error in Form_Load()\rErr code  ";
        size_t at = shown.find("\r\r");
        int number = std::atoi(shown.c_str() + std::min(frame.size(), shown.size()));
        if (!(caption == u"Plug-in Quorvel") || shown.rfind(frame, 0) || shown.substr(at + 2) != Description(number))
            Break("a box framed otherwise: " + shown);
        firstBox = boxCount++ ? firstBox : number;
        boxes += " box " + std::to_string(number) + " " + shown.substr(at + 2);
    }
    void EndProcess(uint32_t status) override {
        if (mode != hostMode) Break("the end in the wrong mode");
        exitStatus = status;
        ++ends;
    }
    FileStatus CreateReportFile(const Name& p) override {
        Mode("CreateReportFile", true);
        std::string name = Named(p) + Utf8(p.text);
        tried += name.substr(name.rfind('\\') + 1) + " ";
        if (made.present) Break("a second new file");
        if (takenNames-- > 0) return FileStatus::Exists;
        if (createStatus == FileStatus::Ok) made = NameAs(*this, p.text, p.chars);
        return createStatus;
    }
    FileStatus CheckReportFile() override { return plainStatus; }
    FileStatus WriteReportFile(const Str& t) override {
        Mode("WriteReportFile", true);
        if (writesBeforeFailure-- <= 0 && writeStatus != FileStatus::Ok) return writeStatus;
        fresh += Latin1(t);
        return FileStatus::Ok;
    }
    void CloseFiles() override {}
    FileStatus MoveReportFile(const Name& from, const Name& to) override {
        Mode("MoveReportFile", true);
        if (!(from.text == made.text) || from.chars != made.chars ||
            !(from.text.substr(0, to.text.size() + 1) == to.text + u'.'))
            Break("a move of " + Utf8(from.text) + " to " + Utf8(to.text));
        if (moveStatus != FileStatus::Ok) return moveStatus;
        path = Named(to) + Utf8(to.text);
        report = fresh;
        made = Name();
        return moveStatus;
    }
    void DeleteReportFile(const Name& p) override {
        Mode("DeleteReportFile", true);
        if (!(p.text == made.text) || p.chars != made.chars) Break("a delete of " + Utf8(p.text));
        made = Name();
    }
    bool Elevated() override { return elevated; }
    void TrustOnlyAdminRedirections() override {
        if (!elevated || commandCalls != 1) Break("the junction guard unelevated or before the command's call");
        guarded = true;
    }
    uint32_t ProcessId() override { return pid; }
    uint32_t GetTempFolder(uint32_t size, Str& buffer) override {  // the name and a NUL, as far as size allows
        if (buffer.size() < size) Break("a temp folder's buffer smaller than its size");
        for (uint32_t i = 0; i < size && i <= temp.size(); ++i) buffer.data()[i] = i < temp.size() ? temp[i] : u'\0';
        return static_cast<uint32_t>(tempLength >= 0 ? tempLength : temp.size() + (size > temp.size() ? 0 : 1));
    }
    Str ShortPathName(const Str& p) override {
        Mode("ShortPathName");
        for (const auto& [name, brief] : shortNames)
            if (name == p) return brief;
        return Str();
    }
    Str FullPathName(const Str& p) override {
        asked += " full(" + Utf8(p) + ")";
        if (fullPathFails || !fullPath.empty()) return fullPath;
        Str full = current + u'\\' + p;
        return full.substr(
            0, full.size() - (full.size() > 2 && full.back() == u'.' && full[full.size() - 2] == u'\\' ? 2 : 0));
    }
    bool ToAnsi(const Str& t, Bytes& ansi) override {
        char* p = ansi.Resize(t.size());
        for (char16_t c : t) *p++ = static_cast<char>(c);
        return InLatin1(t);
    }
    uint32_t SetErrorMode(uint32_t m) override { return std::exchange(mode, m); }
    // kernel32's handle is 1; no other library is there.
    Handle GetModuleHandleA(const char* name) override { return loaded && name == std::string("kernel32"); }
    Handle LoadLibraryA(const char* name) override {
        asked += " LoadLibraryA(" + std::string(name) + ")";
        return loaded = loadable && name == std::string("kernel32");
    }
    bool GetProcAddress(Handle h, const char* name) override {
        return h == 1 && hasEx && name == std::string("GetDiskFreeSpaceExA");
    }
    void FreeLibrary(Handle) override { asked += " FreeLibrary(kernel32)"; }
    bool GetDiskFreeSpaceEx(const Name& p, uint64_t& a) override {
        Mode("GetDiskFreeSpaceEx");
        Command(" measuring " + Named(p) + Utf8(p.text));
        a = available;
        return diskOk;
    }
    bool GetDiskFreeSpace(const Name& p, uint32_t& s, uint32_t& b, uint32_t& f) override {
        Mode("GetDiskFreeSpace");
        Command(" counting clusters " + Named(p) + Utf8(p.text));
        std::tie(s, b, f) = std::tie(clusters[0], clusters[1], clusters[2]);
        return diskOk;
    }
    Handle GetDesktopWindow() override { return 0x10010; }
    int32_t ShellExecute(Handle owner, const Name& verb, const Name& file, const Name& parameters, const Name& folder,
                         int32_t show) override {  // Open, no parameters, the folder 0, shown normally
        if (mode != hostMode || guarded || owner != 0x10010 || !(verb.text == u"Open") || parameters.present ||
            !(folder.text == u"0") || show != 1 || file.chars != verb.chars || Named(verb) != Named(folder))
            Break("the shell asked otherwise");
        Command(" executing " + (file.present ? Named(file) + Utf8(file.text) : "<null>"));
        return shellCode;
    }
    int32_t SHFileOperation(ShellFileRequest& r) override {  // to the recycle bin, no confirmation, no error dialog
        Mode("SHFileOperation");
        const Str& from = r.from.text;
        if (r.operation != 3 || r.flags != 0x450 || from.empty() || from.back()) Break("a delete asked otherwise");
        for (size_t at = 0, end = 0; at + 1 < from.size(); at = end + 1) {  // each name is full
            for (end = at; from[end];) ++end;
            const Str name = from.substr(at, end - at);
            if (!(name.size() >= 3 && name[1] == u':' && name[2] == u'\\') && !(name.substr(0, 2) == u"\\\\"))
                Break("a delete of " + Utf8(name));
        }
        std::string shown = " deleting " + Named(r.from);
        for (char c : Utf8(from)) shown += c ? std::string(1, c) : "\\0";
        Command(shown);
        r.aborted = aborted;
        return deleteCode;
    }

    // The whole program, as a host starts it with this command line.
    Windows& Run(const Str& commandLine) {
        line = commandLine;
        mode = hostMode;
        Form1(*this).Form_Load();
        return *this;
    }

    // Every rule the run broke, and what a host must always be able to rely on: one end, its status the first box's
    // number; the window hidden; at most one command's system call; nothing of the run's own left beside the report;
    // the report untouched, or six lines each ended by CR LF.
    std::string Problems() const {
        size_t lines = 0, at = 0;
        for (size_t next;
             (next = report.find("\r\n", at)) == report.find_first_of("\r\n", at) && next != std::string::npos;
             at = next + 2)
            ++lines;
        return broken + (ends != 1 || exitStatus != firstBox ? "the end or its status; " : "") +
               (visible || !minimized ? "the window shown; " : "") + (commandCalls > 1 ? "two commands' calls; " : "") +
               (made.present ? "the new file left; " : "") +
               (report != "old" && (lines != 6 || at != report.size() || report.rfind(ReportHead, 0))
                    ? "a report not of six lines; "
                    : "");
    }
};

}  // namespace qrv
