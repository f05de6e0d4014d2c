#include "MFreeSpace.h"

#include "Checked.h"
#include "basFile.h"

namespace qrv {

bool APIExists(Platform& platform, const char* library, const char* function) {
    bool answer = false;
    bool loadedHere = false;
    Handle h = platform.GetModuleHandleA(library);
    if (h == 0) {
        h = platform.LoadLibraryA(library);
        loadedHere = true;
    }
    if (h != 0) answer = platform.GetProcAddress(h, function);
    if (loadedHere && h != 0) platform.FreeLibrary(h);
    return answer;
}

Status FreeSpace(Platform& platform, const Str& path, int64_t& result) {
    const Name target = NameFor(platform, path.empty() ? FolderName(platform, platform.CurrentDirectory()) : path);
    result = 0;
    if (APIExists(platform, "kernel32", "GetDiskFreeSpaceExA")) {
        uint64_t available{};
        if (platform.GetDiskFreeSpaceEx(target, available)) {
            if (available > static_cast<uint64_t>(MaxFreeBytes)) return errOverflow;
            result = static_cast<int64_t>(available);
        }
    } else {
        uint32_t sectorsPerCluster{}, bytesPerSector{}, freeClusters{};
        if (platform.GetDiskFreeSpace(target, sectorsPerCluster, bytesPerSector, freeClusters)) {
            // Multiplied left to right; each count is taken as a signed 32-bit
            // value: one that does not fit is an overflow, not a negative count.
            int32_t bytes = 1;
            for (uint32_t count : {sectorsPerCluster, bytesPerSector, freeClusters}) {
                int32_t factor{};
                if (Status s = ToInt32(count, factor)) return s;
                if (Status s = Mul32(bytes, factor, bytes)) return s;
            }
            result = bytes;
        }
    }
    return {};
}

}  // namespace qrv
