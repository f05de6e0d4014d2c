// The platform of the unit tests: a small Windows with a Latin-1 code page
// that records what a host would see of a run. The calls whose arguments
// tests check are gMock methods, with the small Windows as their defaults.
#pragma once

#include <gmock/gmock.h>

#include <algorithm>
#include <map>

#include "Form1.h"

namespace qrv {

inline std::string Ansi(const Str& s) {
    std::string out;
    for (char16_t c : s) out += c < 0x100 ? static_cast<char>(c) : '?';
    return out;
}

struct Windows : Platform {
    // What it holds.
    std::string line;                  // the command line's argument text
    Str temp = u"C:\\TEMP\\", current = u"C:\\WORK";  // as the system names them
    std::map<Str, Str> shortNames;     // 8.3 forms; a path without one is its own short form
    int64_t tempLength = -1;           // GetTempPathA's answer; -1: as Windows answers for temp
    bool hasEx = true, diskOk = true;  // kernel32 exports GetDiskFreeSpaceExA; the disk answers
    uint64_t available = 0;            // bytes available to the caller
    uint32_t clusters[3] = {};         // sectors per cluster, bytes per sector, free clusters
    int32_t shellCode = 42, deleteCode = 0;
    FileStatus createStatus = FileStatus::Ok, writeStatus = FileStatus::Ok;
    int writesBeforeFailure = 6;

    // What the host sees.
    std::string path, report = "old";  // the report file: where, and its bytes
    std::vector<std::string> boxes;    // caption, a line feed, then the text
    std::string fields[3] = {"-", "-", "-"};  // Text1, Text2, Text3; a dash for one never set
    bool visible = true, minimized = false;
    int64_t exitStatus = -1;           // -1: the process did not end
    ShellFileRequest request;

    Str CommandLineText() override { return Str(line.begin(), line.end()); }
    Str CurrentDirectory() override { return current; }
    void SetFormVisible(bool v) override { visible = v; }
    void SetFormMinimized() override { minimized = true; }
    void SetFieldText(Field f, const Str& t) override { fields[static_cast<int>(f)] = Ansi(t); }
    void ShowMessageBox(const Str& t, const Str& caption) override { boxes.push_back(Ansi(caption) + "\n" + Ansi(t)); }
    void EndProcess(uint32_t status) override { exitStatus = status; }
    FileStatus CreateReportFile(const Str& p) override { if (createStatus == FileStatus::Ok) path = Ansi(p), report.clear(); return createStatus; }
    FileStatus WriteReportFile(const Str& t) override { return writesBeforeFailure-- > 0 ? (report += Ansi(t), FileStatus::Ok) : writeStatus; }
    void CloseFiles() override {}
    uint32_t GetTempPathA(uint32_t size, Str& buffer) override {
        if (size > 0) buffer = temp + u'\0';  // even past size: only the first n - 1 characters may count
        return static_cast<uint32_t>(tempLength >= 0 ? tempLength : temp.size() + (size > temp.size() ? 0 : 1));
    }
    Str ShortPathName(const Str& p) override { return shortNames.count(p) ? shortNames[p] : p; }
    bool IsExactInAnsi(const Str& t) override { return std::all_of(t.begin(), t.end(), [](char16_t c) { return c < 0x100; }); }
    Handle GetModuleHandleA(const Str& name) override { return name == u"kernel32" ? 0x7000 : 0; }
    Handle GetDesktopWindow() override { return 0x10010; }
    int32_t SHFileOperationA(ShellFileRequest& r) override { return request = r, deleteCode; }

    MOCK_METHOD(Handle, LoadLibraryA, (const Str&), (override));
    MOCK_METHOD(bool, GetProcAddress, (Handle, const Str&), (override));
    MOCK_METHOD(void, FreeLibrary, (Handle), (override));
    MOCK_METHOD(bool, GetDiskFreeSpaceExA, (const Str&, uint64_t&, uint64_t&, uint64_t&), (override));
    MOCK_METHOD(bool, GetDiskFreeSpaceA, (const Str&, uint32_t&, uint32_t&, uint32_t&, uint32_t&), (override));
    MOCK_METHOD(int32_t, ShellExecuteA, (Handle, const Text&, const Text&, const Text&, const Text&, int32_t), (override));

    Windows() {
        ON_CALL(*this, GetProcAddress(0x7000, Str(u"GetDiskFreeSpaceExA"))).WillByDefault([this] { return hasEx; });
        ON_CALL(*this, GetDiskFreeSpaceExA).WillByDefault([this](const Str&, uint64_t& a, uint64_t& t, uint64_t& f) {
            return a = available, t = f = ~0ull, diskOk;  // only the first count is the caller's
        });
        ON_CALL(*this, GetDiskFreeSpaceA).WillByDefault([this](const Str&, uint32_t& s, uint32_t& b, uint32_t& f, uint32_t& t) {
            return s = clusters[0], b = clusters[1], f = clusters[2], t = ~0u, diskOk;
        });
        ON_CALL(*this, ShellExecuteA).WillByDefault([this] { return shellCode; });
    }
    // A Windows without GetDiskFreeSpaceExA, and its cluster counts.
    void Clusters(uint32_t perCluster, uint32_t perSector, uint32_t free) { hasEx = false, clusters[0] = perCluster, clusters[1] = perSector, clusters[2] = free; }
    // The whole program, as a host starts it.
    Windows& Run(const std::string& commandLine) { line = commandLine; Form1(*this).Form_Load(); return *this; }
};

using Fake = testing::NiceMock<Windows>;

}  // namespace qrv
