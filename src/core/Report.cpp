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
    return value ? "True" : "False";
}

// What the host is told of a report file that failed, in the order of
// FileStatus: a table, not a switch, which would cost the image a jump table.
static Status Check(FileStatus status) {
    static const unsigned char numbers[] = {0, errPathNotFound, errPermissionDenied, errBadFileName, errDiskFull,
                                            errDeviceIO, errInvalidArgument, errFileExists, errBadFileMode,
                                            errFileAlreadyOpen, errPathFileAccess, errPathFileAccess};
    static_assert(sizeof numbers == static_cast<size_t>(FileStatus::Other) + 1, "a number for each FileStatus");
    return static_cast<FailureNumber>(numbers[static_cast<int>(status)]);
}

// How many names the report's new file tries before it gives up.
constexpr char16_t Attempts = 4;

Status WriteReport(Platform& platform, const Str& folder, const char* section, const char* head5,
                   const Str& value5, const Str& value6) {
    const Str path = folder + "qrvplug.txt";
    if (platform.Elevated()) platform.TrustOnlyAdminRedirections();
    // The new file beside it: the report's name, this process's id in ten
    // digits and the attempt, so that every name tried is as long as the
    // first and goes to the same function of each pair.
    Str fresh = path + u'.';
    for (uint32_t id = platform.ProcessId(), scale = 1000000000; scale; scale /= 10)
        fresh += static_cast<char16_t>(u'0' + id / scale % 10);
    fresh += "-0";
    const Chars chars = CharsFor(platform, fresh);
    platform.CloseFiles();
    FileStatus created = platform.CreateReportFile(chars, fresh);
    for (char16_t attempt = 1; created == FileStatus::Exists && attempt < Attempts; ++attempt) {
        fresh = fresh.substr(0, fresh.size() - 1) + static_cast<char16_t>(u'0' + attempt);
        created = platform.CreateReportFile(chars, fresh);
    }
    if (Status s = Check(created)) return s;
    Status s = Check(platform.CheckReportFile());
    for (int i = 0; i < 6 && !s; ++i) {  // a line a write, each ended by CR LF
        const char* const heads[6] = {"[Plug-in]", "Name = Quorvel", "Version = 1.0", section, head5, "Return ="};
        Str line = heads[i];
        if (i >= 4) line += i == 4 ? value5 : value6;
        line += "\r\n";
        s = Check(platform.WriteReportFile(line));
    }
    platform.CloseFiles();
    if (!s) s = Check(platform.MoveReportFile(chars, fresh, path));
    if (s) platform.DeleteReportFile(chars, fresh);  // whatever failed, nothing of this run's is left but a whole report
    return s;
}

}  // namespace qrv
