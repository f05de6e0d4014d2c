#include <gtest/gtest.h>

#include "Report.h"
#include "Run.h"

namespace qrv {
namespace {

TEST(NumberText, BlankBeforeZeroAndPositivesMinusBeforeNegatives) {
    EXPECT_EQ(U8(NumberText(0)), " 0");
    EXPECT_EQ(U8(NumberText(1024)), " 1024");
    EXPECT_EQ(U8(NumberText(-5)), "-5");
    EXPECT_EQ(U8(NumberText(922337203685477)), " 922337203685477");
    EXPECT_EQ(U8(NumberText(INT64_MIN)), "-9223372036854775808");
    EXPECT_EQ(U8(PlainDigits(1024)), "1024");
    EXPECT_EQ(U8(TruthText(true)), "True");
    EXPECT_EQ(U8(TruthText(false)), "False");
}

TEST(TempFolder, GetsExactlyOneTrailingBackslash) {
    EXPECT_EQ(U8(AddBackslash(u"")), "\\");
    EXPECT_EQ(U8(AddBackslash(u"C:\\TEMP")), "C:\\TEMP\\");
    EXPECT_EQ(U8(AddBackslash(u"C:\\TEMP\\")), "C:\\TEMP\\");
    for (const char* path : {"C:\\TEMP", "C:\\TEMP\\", "D:\\a b\\t"}) {
        FakePlatform fake;
        fake.tempPath = U16(path);
        EXPECT_EQ(U8(GetTempDir(fake)), U8(AddBackslash(U16(path)))) << path;
    }
}

TEST(TempFolder, AsksForTheSizeWithARealEmptyBufferThenForThePath) {
    FakePlatform fake;
    GetTempDir(fake);
    ASSERT_EQ(fake.log.size(), 2u);
    EXPECT_EQ(fake.log[0], "GetTempPathA 0 len=0");
    EXPECT_EQ(fake.log[1], "GetTempPathA 9 len=9");
}

TEST(TempFolder, BadLengthsAreFailures) {
    FakePlatform empty;
    empty.overrideTempLength = true;
    empty.tempLength = 0;
    try {
        GetTempDir(empty);
        FAIL() << "no failure raised";
    } catch (const Failure& f) {
        EXPECT_EQ(f.number, errInvalidArgument);
    }
    for (uint32_t n : {32768u, 0xFFFFFFFFu}) {
        FakePlatform huge;
        huge.overrideTempLength = true;
        huge.tempLength = n;
        try {
            GetTempDir(huge);
            FAIL() << "no failure raised for " << n;
        } catch (const Failure& f) {
            EXPECT_EQ(f.number, errOverflow);
        }
    }
}

TEST(ReportFile, SixLinesEachEndingInCrLfAndNothingElse) {
    FakePlatform fake;
    fake.tempPath = u"C:\\T";
    WriteReport(fake, GetTempDir(fake), u"[Execute]", u"File = x", u"Return = 42");
    EXPECT_EQ(fake.Report(u"C:\\T\\"), ReportOf("[Execute]", "File = x", "Return = 42"));
}

TEST(ReportFile, ASecondShorterReportLeavesNoTraceOfTheFirst) {
    FakePlatform fake;
    WriteReport(fake, u"C:\\TEMP\\", u"[Execute]", u"File = a long long long name", u"Return = 42");
    WriteReport(fake, u"C:\\TEMP\\", u"[Delete]", u"Argument = ", u"Return =True");
    EXPECT_EQ(fake.Report(), ReportOf("[Delete]", "Argument = ", "Return =True"));
}

TEST(ReportFile, FileFailuresAreRaisedEachAsItsOwnKind) {
    const std::pair<FileStatus, int> create[] = {{FileStatus::PathNotFound, errPathNotFound},
                                                 {FileStatus::AccessDenied, errPermissionDenied},
                                                 {FileStatus::BadName, errBadFileName},
                                                 {FileStatus::Other, errPathFileAccess}};
    for (auto [status, number] : create) {
        FakePlatform fake;
        fake.files["C:\\TEMP\\qrvplug.txt"] = "previous";
        fake.createStatus = status;
        RunProgram(fake, "Execute x");
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.exitStatus, static_cast<uint32_t>(number));
        EXPECT_EQ(fake.Report(), "previous");  // untouched: it was never opened
    }
    const std::pair<FileStatus, int> write[] = {{FileStatus::DiskFull, errDiskFull},
                                                {FileStatus::ShortWrite, errDeviceIO}};
    for (auto [status, number] : write) {
        FakePlatform fake;
        fake.writesBeforeFailure = 2;
        fake.writeFailure = status;
        RunProgram(fake, "Execute x");
        ASSERT_EQ(fake.boxes.size(), 1u);
        EXPECT_EQ(fake.exitStatus, static_cast<uint32_t>(number));
        EXPECT_EQ(fake.Report(), "[Plug-in]\r\nName = Quorvel\r\n");  // partly written
        EXPECT_EQ(fake.log.back(), "EndProcess " + std::to_string(number));
        EXPECT_EQ(fake.log[fake.log.size() - 2], "CloseReportFile");  // the end closes it
    }
}

}  // namespace
}  // namespace qrv
