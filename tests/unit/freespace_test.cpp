#include <gtest/gtest.h>

#include <algorithm>

#include "Run.h"

namespace qrv {
namespace {

void WithoutExFunction(FakePlatform& fake) { fake.exports.clear(); }

TEST(FreeDiskSpace, ReportsTheBytesAvailableToTheCaller) {
    FakePlatform fake;
    fake.diskExAvailable = 1024;
    fake.diskExFree = 999999;  // the volume's total free bytes are not what is reported
    RunProgram(fake, "FreeDiskSpace C:\\");
    EXPECT_EQ(fake.Report(), ReportOf("[FreeDiskSpace]", "Argument = C:\\", "Return = 1024"));
}

TEST(FreeDiskSpace, TheFixedPointRangeEndsExactlyAtItsLimit) {
    FakePlatform atLimit;
    atLimit.diskExAvailable = 922337203685477;
    RunProgram(atLimit, "FreeDiskSpace C:\\");
    EXPECT_EQ(atLimit.Report(), ReportOf("[FreeDiskSpace]", "Argument = C:\\", "Return = 922337203685477"));
    EXPECT_EQ(atLimit.fields[Field::Text1], "922337203685477");

    for (uint64_t over : {922337203685478ull, ~0ull}) {
        FakePlatform fake;
        fake.diskExAvailable = over;
        RunProgram(fake, "FreeDiskSpace C:\\");
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.boxes[0].first, ErrorBoxText(errOverflow, "Overflow"));
        EXPECT_EQ(fake.Report(), "<none>");
        EXPECT_EQ(fake.fields[Field::Text1], "<FreeDiskSpace C:\\>");  // not set to a count
    }
}

TEST(FreeDiskSpace, WithoutTheExFunctionMultipliesClustersIn32Bits) {
    FakePlatform fake;
    WithoutExFunction(fake);
    fake.sectorsPerCluster = 8;
    fake.bytesPerSector = 512;
    fake.freeClusters = 1000;
    RunProgram(fake, "FreeDiskSpace D:\\");
    EXPECT_EQ(fake.Report(), ReportOf("[FreeDiskSpace]", "Argument = D:\\", "Return = 4096000"));
    for (const std::string& e : fake.log) EXPECT_NE(e, "GetDiskFreeSpaceExA D:\\");
}

TEST(FreeDiskSpace, TheFallbackOverflowsRatherThanWrapping) {
    struct Counts {
        uint32_t spc, bps, free;
        bool overflows;
    };
    const Counts cases[] = {
        {1, 1, 2147483647u, false},  // the largest count it can give
        {8, 512, 524287, false},     // 2 GiB less one cluster
        {8, 512, 524288, true},      // exactly 2 GiB free
        {65536, 65536, 1, true},     // the first product alone is too large
        {1, 1, 0x80000000u, true},   // a count that is negative as a signed value
    };
    for (const Counts& c : cases) {
        FakePlatform fake;
        WithoutExFunction(fake);
        fake.sectorsPerCluster = c.spc;
        fake.bytesPerSector = c.bps;
        fake.freeClusters = c.free;
        RunProgram(fake, "FreeDiskSpace C:\\");
        EXPECT_EQ(fake.boxes.size(), c.overflows ? 1u : 0u) << c.spc << " " << c.bps << " " << c.free;
        if (!c.overflows)
            EXPECT_EQ(fake.Report(), ReportOf("[FreeDiskSpace]", "Argument = C:\\",
                                              "Return = " + std::to_string(uint64_t{c.spc} * c.bps * c.free)));
        else
            EXPECT_EQ(fake.Report(), "<none>");
    }
}

TEST(FreeDiskSpace, ARefusalByThePlatformIsZeroNotAFailure) {
    FakePlatform ex;
    ex.diskExOk = false;
    ex.diskExAvailable = 5;
    RunProgram(ex, "FreeDiskSpace Q:\\missing");
    EXPECT_EQ(ex.Report(), ReportOf("[FreeDiskSpace]", "Argument = Q:\\missing", "Return = 0"));
    EXPECT_EQ(ex.fields[Field::Text1], "0");

    FakePlatform old;
    WithoutExFunction(old);
    old.diskOk = false;
    RunProgram(old, "FreeDiskSpace Q:\\missing");
    EXPECT_EQ(old.Report(), ReportOf("[FreeDiskSpace]", "Argument = Q:\\missing", "Return = 0"));
}

TEST(FreeDiskSpace, NoPathMeasuresTheCurrentDirectoryButReportsWhatCame) {
    FakePlatform fake;
    fake.currentDirectory = u"C:\\WORK\\SUB";
    fake.diskExAvailable = 7;
    RunProgram(fake, "FreeDiskSpace");
    EXPECT_NE(std::find(fake.log.begin(), fake.log.end(), "GetDiskFreeSpaceExA C:\\WORK\\SUB"), fake.log.end());
    EXPECT_EQ(fake.Report(), ReportOf("[FreeDiskSpace]", "Argument = ", "Return = 7"));
}

TEST(FreeDiskSpace, TheCountIsShownBeforeTheTempLookupAndTheFolderAfter) {
    FakePlatform fake;
    fake.diskExAvailable = 55;
    RunProgram(fake, "FreeDiskSpace C:\\");
    auto at = [&](const std::string& e) { return std::find(fake.log.begin(), fake.log.end(), e) - fake.log.begin(); };
    EXPECT_LT(at("Set Text1=55"), at("GetTempPathA 0 len=0"));
    EXPECT_LT(at("GetTempPathA 9 len=9"), at("Set Text3=C:\\TEMP\\"));
    EXPECT_LT(at("Set Text3=C:\\TEMP\\"), at("CreateReportFile C:\\TEMP\\qrvplug.txt"));

    FakePlatform failing;
    failing.diskExAvailable = 55;
    failing.overrideTempLength = true;
    failing.tempLength = 40000;
    RunProgram(failing, "FreeDiskSpace C:\\");
    EXPECT_EQ(failing.fields[Field::Text1], "55");
    EXPECT_EQ(failing.fields[Field::Text3], "<C:\\>");  // still the argument: never the folder
    EXPECT_EQ(failing.boxes.size(), 1u);
    EXPECT_EQ(failing.Report(), "<none>");
}

TEST(APIExists, FreesOnlyWhatItLoadedItself) {
    FakePlatform loaded;  // kernel32 already in the process
    EXPECT_TRUE(APIExists(loaded, u"kernel32", u"GetDiskFreeSpaceExA"));
    EXPECT_FALSE(APIExists(loaded, u"kernel32", u"NoSuchFunction"));
    for (const std::string& e : loaded.log) EXPECT_EQ(e.rfind("FreeLibrary", 0), std::string::npos) << e;

    FakePlatform fresh;
    fresh.loadableModules["extra"] = 0x9000;
    fresh.exports.insert({0x9000, "Fn"});
    EXPECT_TRUE(APIExists(fresh, u"extra", u"Fn"));
    EXPECT_FALSE(APIExists(fresh, u"extra", u"Other"));
    EXPECT_EQ(fresh.openModules(), 0);
    EXPECT_FALSE(APIExists(fresh, u"absent", u"Fn"));
    EXPECT_EQ(fresh.log.back(), "LoadLibraryA absent");  // nothing to free, nothing asked of it
}

TEST(APIExists, IsAskedAgainOnEveryMeasurement) {
    FakePlatform fake;
    FreeSpace(fake, u"C:\\");
    FreeSpace(fake, u"C:\\");
    EXPECT_EQ(std::count(fake.log.begin(), fake.log.end(), "GetProcAddress 28672 GetDiskFreeSpaceExA"), 2);
}

}  // namespace
}  // namespace qrv
