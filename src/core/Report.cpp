#include "Report.h"

#include "Failure.h"

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

static void Check(FileStatus status) {
    switch (status) {
    case FileStatus::Ok: return;
    case FileStatus::PathNotFound: Raise(errPathNotFound);
    case FileStatus::AccessDenied: Raise(errPermissionDenied);
    case FileStatus::BadName: Raise(errBadFileName);
    case FileStatus::DiskFull: Raise(errDiskFull);
    case FileStatus::ShortWrite: Raise(errDeviceIO);
    case FileStatus::Other: Raise(errPathFileAccess);
    }
    Raise(errPathFileAccess);
}

void WriteReport(Platform& platform, const Str& folder, const Str& section, const Str& line5,
                 const Str& line6) {
    const Str lines[6] = {u"[Plug-in]", u"Name = Quorvel", u"Version = 1.0", section, line5, line6};
    platform.CloseFiles();
    Check(platform.CreateReportFile(folder + u"qrvplug.txt"));
    for (const Str& line : lines) Check(platform.WriteReportFile(line + u"\r\n"));
    platform.CloseFiles();
}

}  // namespace qrv
