// A scriptable platform for the unit tests: every call is recorded, and every
// answer the real OS could give can be set up beforehand.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "Platform.h"

namespace qrv {

// UTF-8 view of a 16-bit text, for readable expectations.
std::string U8(const Str& s);
Str U16(const std::string& s);
// A text argument as the log shows it: null, or the text in quotes.
std::string Shown(const Text& t);

class FakePlatform : public Platform {
public:
    // --- script -------------------------------------------------------------
    Str commandLine;
    Str currentDirectory = u"C:\\WORK";
    Str tempPath = u"C:\\TEMP\\";
    bool overrideTempLength = false;  // report tempLength from the first call
    uint32_t tempLength = 0;

    std::map<std::string, Handle> loadedModules{{"kernel32", 0x7000}};
    std::map<std::string, Handle> loadableModules;
    std::set<std::pair<Handle, std::string>> exports{{0x7000, "GetDiskFreeSpaceExA"}};

    bool diskExOk = true;
    uint64_t diskExAvailable = 0, diskExTotal = 0, diskExFree = 0;
    bool diskOk = true;
    uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;

    Handle desktop = 0x10010;
    int32_t shellExecuteCode = 42;
    int32_t fileOperationCode = 0;

    FileStatus createStatus = FileStatus::Ok;
    int writesBeforeFailure = -1;  // -1: never fail
    FileStatus writeFailure = FileStatus::DiskFull;

    // --- record -------------------------------------------------------------
    std::vector<std::string> log;                 // every call, in order
    std::map<std::string, std::string> files;     // path -> ANSI bytes
    std::vector<std::pair<std::string, std::string>> boxes;  // text, caption
    std::map<Field, std::string> fields;
    std::vector<ShellFileRequest> fileRequests;
    bool ended = false;
    uint32_t exitStatus = 0;
    int openModules() const;                      // libraries loaded and not freed

    std::string Report(const Str& folder = u"C:\\TEMP\\") const;

    // --- Platform -------------------------------------------------------------
    Str CommandLineText() override;
    Str CurrentDirectory() override;
    void SetFormVisible(bool visible) override;
    void SetFormMinimized() override;
    void SetFieldText(Field field, const Str& text) override;
    void ShowMessageBox(const Str& text, const Str& caption) override;
    void EndProcess(uint32_t status) override;
    FileStatus CreateReportFile(const Str& path) override;
    FileStatus WriteReportFile(const Str& text) override;
    void CloseFiles() override;
    uint32_t GetTempPathA(uint32_t size, Str& buffer) override;
    Handle GetModuleHandleA(const Str& name) override;
    Handle LoadLibraryA(const Str& name) override;
    bool GetProcAddress(Handle module, const Str& name) override;
    void FreeLibrary(Handle module) override;
    bool GetDiskFreeSpaceExA(const Str& path, uint64_t& available, uint64_t& total,
                             uint64_t& totalFree) override;
    bool GetDiskFreeSpaceA(const Str& path, uint32_t& spc, uint32_t& bps, uint32_t& freeClusters,
                           uint32_t& totalClusters) override;
    Handle GetDesktopWindow() override;
    int32_t ShellExecuteA(Handle owner, const Text& operation, const Text& file, const Text& parameters,
                          const Text& directory, int32_t show) override;
    int32_t SHFileOperationA(ShellFileRequest& request) override;

private:
    std::string openPath_;
    bool open_ = false;
    int writes_ = 0;
    int loadedHere_ = 0;
};

}  // namespace qrv
