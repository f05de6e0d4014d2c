#include <gtest/gtest.h>

#include "Run.h"

namespace qrv {
namespace {

std::string FromList(const FakePlatform& fake) {
    EXPECT_EQ(fake.fileRequests.size(), 1u);
    return fake.fileRequests.empty() ? "" : U8(fake.fileRequests[0].from);
}

TEST(Delete, TargetListIsNulSeparatedAndEndsInTwoNuls) {
    using namespace std::string_literals;
    const std::pair<const char*, std::string> cases[] = {
        {"Delete", "\0"s},
        {"Delete a.txt", "a.txt\0\0"s},
        {"Delete a \"b c.txt\" d", "a\0b c.txt\0d\0\0"s},
    };
    for (const auto& [line, list] : cases) {
        FakePlatform fake;
        RunProgram(fake, line);
        EXPECT_EQ(FromList(fake), list) << line;
    }
}

TEST(Delete, AsksForTheRecycleBinWithoutConfirmationAndNothingMore) {
    FakePlatform fake;
    RunProgram(fake, "Delete a.txt");
    ASSERT_EQ(fake.fileRequests.size(), 1u);
    const ShellFileRequest& r = fake.fileRequests[0];
    EXPECT_EQ(r.owner, 0u);
    EXPECT_EQ(r.operation, 3u);
    EXPECT_EQ(r.flags, 0x50);
    EXPECT_FALSE(r.to.has_value());
    EXPECT_FALSE(r.anyOperationsAborted);
    EXPECT_EQ(r.nameMappings, 0u);
    EXPECT_FALSE(r.progressTitle.has_value());
}

TEST(Delete, ReportsWhetherTheShellSucceeded) {
    const std::pair<int32_t, const char*> cases[] = {{0, "Return =True"}, {2, "Return =False"},
                                                     {-1, "Return =False"}, {32767, "Return =False"}};
    for (auto [code, line6] : cases) {
        FakePlatform fake;
        fake.fileOperationCode = code;
        RunProgram(fake, "Delete a.txt missing.txt");
        EXPECT_TRUE(fake.boxes.empty());
        EXPECT_EQ(fake.Report(), ReportOf("[Delete]", "Argument = ", line6)) << code;
    }
}

TEST(Delete, ACodeBeyond16BitsIsAnOverflowAndNoReport) {
    for (int32_t code : {32768, -32769, 0x10000}) {
        FakePlatform fake;
        fake.fileOperationCode = code;
        RunProgram(fake, "Delete a.txt");
        ASSERT_EQ(fake.boxes.size(), 1u) << code;
        EXPECT_EQ(fake.boxes[0].first, ErrorBoxText(errOverflow, "Overflow"));
        EXPECT_EQ(fake.Report(), "<none>");
    }
}

TEST(Delete, HundredsOfTargetsInOneCommandLine) {
    std::string line = "Delete";
    std::string expected;
    for (int i = 0; i < 3000; ++i) {
        line += " f" + std::to_string(i) + ".txt";
        expected += "f" + std::to_string(i) + ".txt" + std::string(1, '\0');
    }
    FakePlatform fake;
    RunProgram(fake, line);
    EXPECT_EQ(FromList(fake), expected + std::string(1, '\0'));
}

}  // namespace
}  // namespace qrv
