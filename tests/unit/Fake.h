// The platform of the unit tests: a small Windows with a Latin-1 code page
// that records what a host would see of a run, and which function of each
// pair a call took. The calls whose arguments tests check are gMock methods,
// with the small Windows as their defaults.
#pragma once

#include <gmock/gmock.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "Form1.h"

namespace qrv {

inline std::string Ansi(const Str& s) {
    std::string out;
    for (char16_t c : s) out += c < 0x100 ? static_cast<char>(c) : '?';
    return out;
}

// 16-bit text as UTF-8 (characters of the basic plane), for names shown as they are.
inline std::string Utf8(const Str& s) {
    std::string out;
    for (char16_t c : s)
        out += c < 0x80 ? std::string(1, static_cast<char>(c))
             : c < 0x800 ? std::string{static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))}
                         : std::string{static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    return out;
}

// UTF-8 (up to three bytes a character) as 16-bit text.
inline Str Utf16(const std::string& s) {
    Str out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        int more = c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char16_t w = more == 2 ? c & 0x0F : more == 1 ? c & 0x1F : c;
        for (++i; more-- > 0; ++i) w = static_cast<char16_t>(w << 6 | (s[i] & 0x3F));
        out += w;
    }
    return out;
}

// 8.3 forms by long name; a path without one is its own short form.
struct ShortNames : std::vector<std::pair<Str, Str>> {
    Str& operator[](const Str& path) {
        for (auto& [name, brief] : *this)
            if (name == path) return brief;
        return emplace_back(path, path).second;
    }
};

struct Windows : Platform {
    // What it holds.
    std::string line;                  // the command line's argument text, UTF-8
    Str temp = u"C:\\TEMP\\", current = u"C:\\WORK";  // as the system names them
    ShortNames shortNames;
    int64_t tempLength = -1;           // GetTempFolder's answer; -1: as Windows answers for temp
    bool hasEx = true, diskOk = true;  // kernel32 exports GetDiskFreeSpaceExA; the disk answers
    uint64_t available = 0;            // bytes available to the caller
    uint32_t clusters[3] = {};         // sectors per cluster, bytes per sector, free clusters
    int32_t shellCode = 42, deleteCode = 0; bool aborted = false;  // the shell's answers; aborted: it skipped a file
    FileStatus createStatus = FileStatus::Ok, writeStatus = FileStatus::Ok, plainStatus = FileStatus::Ok, moveStatus = FileStatus::Ok;
    int writesBeforeFailure = 1000, takenNames = 0;  // a write past the sixth lands too; the new names taken
    bool elevated = false; uint32_t pid = 4242;  // whether the token is elevated; the process id

    // What the host sees.
    std::string path, report = "old";  // the report file: where (behind "W " through the 16-bit twins), and its bytes
    Str made;                          // the new file the program made and has not yet moved or removed, through madeChars
    std::string fresh, tried;          // its bytes; each name tried, after its folder
    Chars madeChars = Chars::Ansi; bool guarded = false;  // guarded: the guard against others' junctions is on
    std::vector<std::string> boxes;    // caption, a line feed, then the text
    std::string fields[3] = {"-", "-", "-"};  // Text1, Text2, Text3; a dash for one never set
    bool visible = true, minimized = false;
    int64_t exitStatus = -1;           // -1: the process did not end
    ShellFileRequest request;
    Chars deleteChars = Chars::Ansi;
    // The error mode: the host's, and the calls made in the wrong one. A call on the disk holds the
    // critical-error boxes off, and keeps the host's other bits; the shell's start and the end have the host's.
    uint32_t hostMode = 0, mode = 0;
    std::string wrongMode;

    void Disk(const char* call) { if (mode != (hostMode | 1) || guarded) wrongMode += std::string(call) + " "; }  // a command's own: unguarded
    void Report(const char* call) { if (mode != (hostMode | 1) || guarded != elevated) wrongMode += std::string(call) + " "; }
    void Host(const char* call) { if (mode != hostMode) wrongMode += std::string(call) + " "; }

    Str CommandLineText() override { return Utf16(line); }
    Str CurrentDirectory() override { return current; }
    void SetFormVisible(bool v) override { visible = v; }
    void SetFormMinimized() override { minimized = true; }
    void SetFieldText(Field f, const Str& t) override { fields[static_cast<int>(f)] = Ansi(t); }
    void ShowMessageBox(const Str& t, const Str& caption) override { boxes.push_back(Ansi(caption) + "\n" + Ansi(t)); }
    void EndProcess(uint32_t status) override { Host("EndProcess"), exitStatus = status; }
    FileStatus CreateReportFile(Chars c, const Str& p) override {
        Report("CreateReportFile"); EXPECT_TRUE(made.empty());
        if (tried += Utf8(p).substr(Utf8(p).rfind('\\') + 1) + " "; takenNames-- > 0) return FileStatus::Exists;
        if (createStatus == FileStatus::Ok) made = p, madeChars = c, fresh.clear();
        return createStatus;
    }
    FileStatus CheckReportFile() override { return plainStatus; }
    FileStatus WriteReportFile(const Str& t) override { Report("WriteReportFile"); return writesBeforeFailure-- > 0 ? (fresh += Ansi(t), FileStatus::Ok) : writeStatus; }
    FileStatus MoveReportFile(Chars c, const Str& from, const Str& to) override {
        Report("MoveReportFile"); EXPECT_TRUE(from == made && c == madeChars && Utf8(from).rfind(Utf8(to) + ".", 0) == 0) << Utf8(from);
        if (moveStatus == FileStatus::Ok) path = (c == Chars::Wide ? "W " : "") + Utf8(to), report = fresh, made = Str();
        return moveStatus;
    }
    void DeleteReportFile(Chars c, const Str& p) override { Report("DeleteReportFile"); EXPECT_TRUE(p == made && c == madeChars); made = Str(); }
    bool Elevated() override { return elevated; }
    void TrustOnlyAdminRedirections() override { guarded = true; }
    uint32_t ProcessId() override { return pid; }
    void CloseFiles() override {}
    uint32_t GetTempFolder(uint32_t size, Str& buffer) override {  // the name and a NUL, as far as size allows
        EXPECT_GE(buffer.size(), size);
        for (uint32_t i = 0; i < size && i <= temp.size(); ++i) buffer.data()[i] = i < temp.size() ? temp[i] : u'\0';
        return static_cast<uint32_t>(tempLength >= 0 ? tempLength : temp.size() + (size > temp.size() ? 0 : 1));
    }
    Str ShortPathName(const Str& p) override { return Disk("ShortPathName"), shortNames[p]; }
    uint32_t SetErrorMode(uint32_t m) override { return std::exchange(mode, m); }
    bool IsExactInAnsi(const Str& t) override { return std::all_of(t.begin(), t.end(), [](char16_t c) { return c < 0x100; }); }
    Handle GetModuleHandleA(const Str& name) override { return name == u"kernel32" ? 0x7000 : 0; }
    Handle GetDesktopWindow() override { return 0x10010; }
    int32_t SHFileOperation(Chars c, ShellFileRequest& r) override { return Disk("SHFileOperation"), r.aborted = aborted, request = r, deleteChars = c, deleteCode; }

    MOCK_METHOD(Handle, LoadLibraryA, (const Str&), (override));
    MOCK_METHOD(bool, GetProcAddress, (Handle, const Str&), (override));
    MOCK_METHOD(void, FreeLibrary, (Handle), (override));
    MOCK_METHOD(Str, FullPathName, (const Str&), (override));
    MOCK_METHOD(bool, GetDiskFreeSpaceEx, (Chars, const Str&, uint64_t&), (override));
    MOCK_METHOD(bool, GetDiskFreeSpace, (Chars, const Str&, uint32_t&, uint32_t&, uint32_t&), (override));
    MOCK_METHOD(int32_t, ShellExecute, (Chars, Handle, const Text&, const Text&, const Text&, const Text&, int32_t), (override));

    Windows() {
        ON_CALL(*this, GetProcAddress(0x7000, Str(u"GetDiskFreeSpaceExA"))).WillByDefault([this] { return hasEx; });
        // A name made full against the current directory, as it is written: the small Windows resolves only a last \. part.
        ON_CALL(*this, FullPathName).WillByDefault([this](const Str& p) { Str full = current + u'\\' + p;
            return full.substr(0, full.size() - (full.size() > 2 && full.back() == u'.' && full[full.size() - 2] == u'\\' ? 2 : 0)); });
        ON_CALL(*this, GetDiskFreeSpaceEx).WillByDefault([this](Chars, const Str&, uint64_t& a) { return Disk("GetDiskFreeSpaceEx"), a = available, diskOk; });
        ON_CALL(*this, GetDiskFreeSpace).WillByDefault([this](Chars, const Str&, uint32_t& s, uint32_t& b, uint32_t& f) {
            return Disk("GetDiskFreeSpace"), s = clusters[0], b = clusters[1], f = clusters[2], diskOk;
        });
        ON_CALL(*this, ShellExecute).WillByDefault([this] { return wrongMode += guarded ? "ShellExecute(guarded) " : "", Host("ShellExecute"), shellCode; });
    }
    // A Windows without GetDiskFreeSpaceExA, and its cluster counts.
    void Clusters(uint32_t perCluster, uint32_t perSector, uint32_t free) { hasEx = false, clusters[0] = perCluster, clusters[1] = perSector, clusters[2] = free; }
    // The whole program, as a host starts it.
    Windows& Run(const std::string& commandLine) { line = commandLine, mode = hostMode; Form1(*this).Form_Load(); return *this; }
};

using Fake = testing::NiceMock<Windows>;

}  // namespace qrv
