#include "Report.h"

#include "basFile.h"

namespace qrv {

Str PlainDigits(int64_t value) {
    // The magnitude as unsigned, so that the most negative value is safe, in four 16-bit parts, most
    // significant first: each digit is the remainder of a long division by 10, part by part, in 32 bits.
    const bool negative = value < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    uint32_t parts[4];
    int shift = 64;
    for (uint32_t& part : parts) part = static_cast<uint32_t>(magnitude >> (shift -= 16)) & 0xFFFF;
    char16_t digits[20];
    int n = 0;
    bool more = true;
    while (more) {
        uint32_t rest = 0;
        more = false;
        for (uint32_t& part : parts) {
            uint32_t dividend = rest << 16 | part;
            part = dividend / 10;
            rest = dividend % 10;
            more = more || part != 0;
        }
        digits[n++] = static_cast<char16_t>(u'0' + rest);
    }
    Str text;
    if (negative) text += u'-';
    while (n > 0) text += digits[--n];
    return text;
}

Str NumberText(int64_t value) { return value < 0 ? PlainDigits(value) : u' ' + PlainDigits(value); }

Str TruthText(bool value) { return value ? "True" : "False"; }

// What the host is told of a report file that failed, in the order of
// FileStatus: a table, not a switch, which would cost the image a jump table.
static Status Check(FileStatus status) {
    static const unsigned char numbers[] = {0,
                                            errPathNotFound,
                                            errPermissionDenied,
                                            errBadFileName,
                                            errDiskFull,
                                            errDeviceIO,
                                            errInvalidArgument,
                                            errFileExists,
                                            errBadFileMode,
                                            errFileAlreadyOpen,
                                            errPathFileAccess,
                                            errPathFileAccess};
    static_assert(sizeof numbers == static_cast<size_t>(FileStatus::Other) + 1, "a number for each FileStatus");
    return static_cast<FailureNumber>(numbers[static_cast<int>(status)]);
}

// How many names the report's new file tries before it gives up.
constexpr char16_t Attempts = 4;

Status WriteReport(Platform& platform, const Str& folder, const char* section, const char* head5, const Str& value5,
                   const Str& value6) {
    const Str path = folder + "qrvplug.txt";
    if (platform.Elevated()) platform.TrustOnlyAdminRedirections();
    // The new file beside it: the report's name, this process's id in ten
    // digits and the attempt, so that every name tried is as long as the
    // first and goes to the same function of each pair.
    Str fresh = path + u'.';
    for (uint32_t id = platform.ProcessId(), scale = 1000000000; scale; scale /= 10)
        fresh += static_cast<char16_t>(u'0' + id / scale % 10);
    fresh += "-0";
    Name made = NameFor(platform, fresh);
    platform.CloseFiles();
    FileStatus created = platform.CreateReportFile(made);
    for (char16_t attempt = 1; created == FileStatus::Exists && attempt < Attempts; ++attempt) {
        fresh = fresh.substr(0, fresh.size() - 1) + static_cast<char16_t>(u'0' + attempt);
        made = NameAs(platform, fresh, made.chars);
        created = platform.CreateReportFile(made);
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
    if (!s) s = Check(platform.MoveReportFile(made, NameAs(platform, path, made.chars)));
    if (s) platform.DeleteReportFile(made);  // whatever failed, nothing of this run's is left but a whole report
    return s;
}

}  // namespace qrv
