#include <gtest/gtest.h>

#include <algorithm>

#include "Run.h"

namespace qrv {
namespace {

bool Called(const FakePlatform& fake, const std::string& prefix) {
    return std::any_of(fake.log.begin(), fake.log.end(),
                       [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
}

TEST(StartUp, HidesTheWindowFillsTheFieldsAndEnds) {
    FakePlatform fake;
    RunProgram(fake, "Unknown \"second arg\" third");
    ASSERT_GE(fake.log.size(), 3u);
    EXPECT_EQ(fake.log[0], "Hide");
    EXPECT_EQ(fake.log[1], "Minimize");
    EXPECT_EQ(fake.fields[Field::Text1], "<Unknown \"second arg\" third>");
    EXPECT_EQ(fake.fields[Field::Text2], "<Unknown>");
    EXPECT_EQ(fake.fields[Field::Text3], "<second arg>");
    EXPECT_EQ(fake.log.back(), "EndProcess 0");
}

TEST(StartUp, NoArgumentsRunNothingAndLeaveTheReportAlone) {
    FakePlatform fake;
    fake.files["C:\\TEMP\\qrvplug.txt"] = "old";
    RunProgram(fake, "");
    EXPECT_EQ(fake.fields.count(Field::Text2), 0u);
    EXPECT_EQ(fake.fields.count(Field::Text3), 0u);
    EXPECT_EQ(fake.fields[Field::Text1], "<>");
    EXPECT_TRUE(fake.boxes.empty());
    EXPECT_EQ(fake.Report(), "old");
    EXPECT_TRUE(fake.ended);
}

TEST(StartUp, KeywordsMatchExactlyAndCaseSensitively) {
    for (const char* line : {"execute x", "DELETE x", "freediskspace C:\\", "Execute2 x", "Unknown"}) {
        FakePlatform fake;
        RunProgram(fake, line);
        EXPECT_FALSE(Called(fake, "ShellExecuteA") || Called(fake, "SHFileOperationA") ||
                     Called(fake, "GetDiskFree") || Called(fake, "GetTempPathA"))
            << line;
        EXPECT_EQ(fake.Report(), "<none>") << line;
    }
    FakePlatform quoted;
    RunProgram(quoted, "\"Delete\"");
    EXPECT_TRUE(Called(quoted, "SHFileOperationA"));
}

TEST(StartUp, OnlyTheSecondArgumentReachesExecute) {
    FakePlatform fake;
    RunProgram(fake, "Execute first second third");
    EXPECT_TRUE(Called(fake, "ShellExecuteA 65552 \"Open\" \"first\" null \"0\" 1"));
}

TEST(FailureHandler, ShowsTheErrorBoxAndResumesAfterTheFailedStatement) {
    FakePlatform fake;
    fake.diskExAvailable = MaxFreeBytes + 1;
    RunProgram(fake, "FreeDiskSpace C:\\");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].first, ErrorBoxText(errOverflow, "Overflow"));
    EXPECT_EQ(fake.boxes[0].second, "Plug-in Quorvel");
    EXPECT_EQ(fake.Report(), "<none>");
    // The run goes on after the box: the process still ends, with the
    // failure's number as its status.
    EXPECT_EQ(fake.log.back(), "EndProcess 6");
}

TEST(FailureHandler, EachFailureGetsItsOwnBox) {
    FakePlatform fake;
    fake.createStatus = FileStatus::AccessDenied;
    RunProgram(fake, "Execute x");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].first, ErrorBoxText(errPermissionDenied, "Permission denied"));
    EXPECT_EQ(fake.exitStatus, static_cast<uint32_t>(errPermissionDenied));
}

}  // namespace
}  // namespace qrv
