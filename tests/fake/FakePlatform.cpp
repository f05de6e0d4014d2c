#include "FakePlatform.h"

namespace qrv {

std::string U8(const Str& s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

Str U16(const std::string& s) {
    Str out;
    for (unsigned char c : s) out += static_cast<char16_t>(c);
    return out;
}

std::string Shown(const Text& t) { return t ? "\"" + U8(*t) + "\"" : "null"; }

int FakePlatform::openModules() const { return loadedHere_; }

std::string FakePlatform::Report(const Str& folder) const {
    auto it = files.find(U8(folder) + "qrvplug.txt");
    return it == files.end() ? "<none>" : it->second;
}

Str FakePlatform::CommandLineText() {
    log.push_back("CommandLineText");
    return commandLine;
}

Str FakePlatform::CurrentDirectory() {
    log.push_back("CurrentDirectory");
    return currentDirectory;
}

void FakePlatform::SetFormVisible(bool visible) { log.push_back(visible ? "Show" : "Hide"); }
void FakePlatform::SetFormMinimized() { log.push_back("Minimize"); }

void FakePlatform::SetFieldText(Field field, const Str& text) {
    static const char* names[] = {"Text1", "Text2", "Text3"};
    log.push_back(std::string("Set ") + names[static_cast<int>(field)] + "=" + U8(text));
    fields[field] = U8(text);
}

void FakePlatform::ShowMessageBox(const Str& text, const Str& caption) {
    log.push_back("MessageBox");
    boxes.emplace_back(U8(text), U8(caption));
}

void FakePlatform::EndProcess(uint32_t status) {
    CloseFiles();
    log.push_back("EndProcess " + std::to_string(status));
    ended = true;
    exitStatus = status;
}

FileStatus FakePlatform::CreateReportFile(const Str& path) {
    log.push_back("CreateReportFile " + U8(path));
    if (createStatus != FileStatus::Ok) return createStatus;
    openPath_ = U8(path);
    files[openPath_].clear();
    open_ = true;
    writes_ = 0;
    return FileStatus::Ok;
}

FileStatus FakePlatform::WriteReportFile(const Str& text) {
    if (!open_) return FileStatus::Other;
    if (writesBeforeFailure >= 0 && writes_ >= writesBeforeFailure) return writeFailure;
    ++writes_;
    // The fake's ANSI code page is Latin-1; anything beyond it becomes '?'.
    for (char16_t c : text) files[openPath_] += c < 0x100 ? static_cast<char>(c) : '?';
    return FileStatus::Ok;
}

void FakePlatform::CloseFiles() {
    if (open_) log.push_back("CloseReportFile");
    open_ = false;
}

uint32_t FakePlatform::GetTempPathA(uint32_t size, Str& buffer) {
    log.push_back("GetTempPathA " + std::to_string(size) + " len=" + std::to_string(buffer.size()));
    uint32_t needed = static_cast<uint32_t>(tempPath.size()) + 1;
    if (size >= needed) buffer = tempPath + u'\0';
    return overrideTempLength ? tempLength : (size >= needed ? needed - 1 : needed);
}

Handle FakePlatform::GetModuleHandleA(const Str& name) {
    log.push_back("GetModuleHandleA " + U8(name));
    auto it = loadedModules.find(U8(name));
    return it == loadedModules.end() ? 0 : it->second;
}

Handle FakePlatform::LoadLibraryA(const Str& name) {
    log.push_back("LoadLibraryA " + U8(name));
    auto it = loadableModules.find(U8(name));
    if (it == loadableModules.end()) return 0;
    ++loadedHere_;
    return it->second;
}

bool FakePlatform::GetProcAddress(Handle module, const Str& name) {
    log.push_back("GetProcAddress " + std::to_string(module) + " " + U8(name));
    return exports.count({module, U8(name)}) != 0;
}

void FakePlatform::FreeLibrary(Handle module) {
    log.push_back("FreeLibrary " + std::to_string(module));
    --loadedHere_;
}

bool FakePlatform::GetDiskFreeSpaceExA(const Str& path, uint64_t& available, uint64_t& total,
                                       uint64_t& totalFree) {
    log.push_back("GetDiskFreeSpaceExA " + U8(path));
    if (!diskExOk) return false;
    available = diskExAvailable;
    total = diskExTotal;
    totalFree = diskExFree;
    return true;
}

bool FakePlatform::GetDiskFreeSpaceA(const Str& path, uint32_t& spc, uint32_t& bps, uint32_t& freeC,
                                     uint32_t& totalC) {
    log.push_back("GetDiskFreeSpaceA " + U8(path));
    if (!diskOk) return false;
    spc = sectorsPerCluster;
    bps = bytesPerSector;
    freeC = freeClusters;
    totalC = totalClusters;
    return true;
}

Handle FakePlatform::GetDesktopWindow() {
    log.push_back("GetDesktopWindow");
    return desktop;
}

int32_t FakePlatform::ShellExecuteA(Handle owner, const Text& operation, const Text& file,
                                    const Text& parameters, const Text& directory, int32_t show) {
    log.push_back("ShellExecuteA " + std::to_string(owner) + " " + Shown(operation) + " " + Shown(file) + " " +
                  Shown(parameters) + " " + Shown(directory) + " " + std::to_string(show));
    return shellExecuteCode;
}

int32_t FakePlatform::SHFileOperationA(ShellFileRequest& request) {
    log.push_back("SHFileOperationA");
    fileRequests.push_back(request);
    return fileOperationCode;
}

}  // namespace qrv
