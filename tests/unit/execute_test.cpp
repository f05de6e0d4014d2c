#include <gtest/gtest.h>

#include "Run.h"

namespace qrv {
namespace {

std::string ShellCall(const FakePlatform& fake) {
    for (const std::string& e : fake.log)
        if (e.rfind("ShellExecuteA", 0) == 0) return e;
    return "<not called>";
}

TEST(Execute, HandsTheTargetToTheShellsOpenAction) {
    FakePlatform fake;
    RunProgram(fake, "Execute \"C:\\My Files\\a b.txt\"");
    EXPECT_EQ(ShellCall(fake), "ShellExecuteA 65552 \"Open\" \"C:\\My Files\\a b.txt\" null \"0\" 1");
    EXPECT_EQ(fake.Report(), ReportOf("[Execute]", "File = C:\\My Files\\a b.txt", "Return = 42"));
}

TEST(Execute, NoTargetIsANullPointerNotAnEmptyText) {
    FakePlatform fake;
    fake.shellExecuteCode = 2;
    RunProgram(fake, "Execute");
    EXPECT_EQ(ShellCall(fake), "ShellExecuteA 65552 \"Open\" null null \"0\" 1");
    EXPECT_EQ(fake.Report(), ReportOf("[Execute]", "File = ", "Return = 2"));
    // Quoted nothing is no argument either.
    FakePlatform quoted;
    RunProgram(quoted, "Execute \"\"");
    EXPECT_EQ(ShellCall(quoted), "ShellExecuteA 65552 \"Open\" null null \"0\" 1");
}

TEST(Execute, EveryReturnCodeIsOnlyReported) {
    for (int32_t code : {0, 2, 31, 32, 33, -5, 2147483647}) {
        FakePlatform fake;
        fake.shellExecuteCode = code;
        RunProgram(fake, "Execute missing.doc");
        EXPECT_TRUE(fake.boxes.empty()) << code;
        EXPECT_EQ(fake.Report(), ReportOf("[Execute]", "File = missing.doc", "Return =" + U8(NumberText(code))));
    }
}

TEST(Execute, TheShellRunsBeforeTheTempFolderIsLookedUp) {
    FakePlatform fake;
    fake.overrideTempLength = true;
    fake.tempLength = 0;
    RunProgram(fake, "Execute x");
    EXPECT_NE(ShellCall(fake), "<not called>");
    ASSERT_EQ(fake.boxes.size(), 1u);
    EXPECT_EQ(fake.boxes[0].first, ErrorBoxText(errInvalidArgument, "Invalid procedure call or argument"));
    EXPECT_EQ(fake.Report(), "<none>");
}

}  // namespace
}  // namespace qrv
