#include "Report.h"

#include "basFile.h"

namespace qrv {

Str PlainDigits(int64_t value) {
    // Work on the magnitude as unsigned so the most negative value is safe.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    char16_t digits[20];
    int n = 0;
    do {
        digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    Str text;
    if (value < 0) text += u'-';
    while (n > 0) text += digits[--n];
    return text;
}

Str NumberText(int64_t value) {
    return value < 0 ? PlainDigits(value) : u' ' + PlainDigits(value);
}

Str TruthText(bool value) {
    return value ? u"True" : u"False";
}

// What the host is told of a report file that failed.
static Status Check(FileStatus status) {
    switch (status) {
    case FileStatus::Ok: return {};
    case FileStatus::PathNotFound: return errPathNotFound;
    case FileStatus::AccessDenied: return errPermissionDenied;
    case FileStatus::BadName: return errBadFileName;
    case FileStatus::DiskFull: return errDiskFull;
    case FileStatus::ShortWrite: return errDeviceIO;
    case FileStatus::Unconvertible: return errInvalidArgument;
    case FileStatus::Other: break;
    }
    return errPathFileAccess;
}

Status WriteReport(Platform& platform, const Str& folder, const char16_t* section, const char16_t* head5,
                   const Str& value5, const Str& value6) {
    const Str path = folder + u"qrvplug.txt";
    platform.CloseFiles();
    if (Status s = Check(platform.CreateReportFile(CharsFor(platform, path), path))) return s;
    for (int i = 0; i < 6; ++i) {  // a line a write, each ended by CR LF
        const char16_t* const heads[6] = {u"[Plug-in]", u"Name = Quorvel", u"Version = 1.0", section, head5, u"Return ="};
        Str line = heads[i];
        if (i >= 4) line += i == 4 ? value5 : value6;
        line += u"\r\n";
        if (Status s = Check(platform.WriteReportFile(line))) return s;
    }
    platform.CloseFiles();
    return {};
}

}  // namespace qrv
