#include "MFreeSpace.h"

#include "Checked.h"
#include "basFile.h"

namespace qrv {

bool APIExists(Platform& platform, const Str& library, const Str& function) {
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

int64_t FreeSpace(Platform& platform, const Str& path) {
    Str target = path.empty() ? AnsiFolder(platform, platform.CurrentDirectory()) : path;
    int64_t result = 0;
    if (APIExists(platform, u"kernel32", u"GetDiskFreeSpaceExA")) {
        uint64_t available = 0, total = 0, totalFree = 0;
        if (platform.GetDiskFreeSpaceExA(target, available, total, totalFree)) {
            if (available > static_cast<uint64_t>(MaxFreeBytes)) Raise(errOverflow);
            result = static_cast<int64_t>(available);
        }
    } else {
        uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        if (platform.GetDiskFreeSpaceA(target, sectorsPerCluster, bytesPerSector, freeClusters,
                                       totalClusters)) {
            // The counts are taken as signed 32-bit values: one that does not
            // fit is an overflow, not a negative count.
            int32_t bytesPerCluster = Mul32(ToInt32(sectorsPerCluster), ToInt32(bytesPerSector));
            result = Mul32(bytesPerCluster, ToInt32(freeClusters));
        }
    }
    return result;
}

}  // namespace qrv
