// End to end: the real quorvel.exe under Wine, started by our host program
// with an exact command line. The Wine prefix is made once per run by the
// wine_prefix test; where this machine cannot run 32-bit Windows code at all
// that step says why, and these tests report themselves skipped.
#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kWin = QRV_WIN_BUILD;
const std::string kRoot = QRV_WINE_ROOT;
const std::string kInWine = QRV_IN_WINE;

std::string Slurp(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string Unhex(const std::string& hex) {
    if (hex == "-") return "";
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

struct Box {
    std::string caption, text, icon, buttons;
};

struct Outcome {
    std::vector<Box> boxes;
    int exitCode = -1;
    bool hasReport = false;
    std::string report;
};


// Runs quorvel.exe with the argument text given, exactly as written.
Outcome Quorvel(const std::string& arguments, const std::string& temp = "") {
    std::string file = kRoot + "/args.txt";
    std::ofstream(file, std::ios::binary) << arguments;
    std::string command = (temp.empty() ? "" : "TEMP='" + temp + "' TMP='" + temp + "' ") + "'" + kInWine +
                          "' '" + kRoot + "' wine '" + kWin + "/qrvhost.exe' 'Z:" + kWin + "/quorvel.exe' 'Z:" + file + "'";
    Outcome run;
    FILE* out = popen(command.c_str(), "r");
    char line[1 << 16];
    while (out && fgets(line, sizeof line, out)) {
        std::istringstream in(line);
        std::string tag;
        in >> tag;
        if (tag == "BOX") {
            Box b;
            std::string caption, text;
            in >> caption >> text >> b.icon >> b.buttons;
            b.caption = Unhex(caption);
            b.text = Unhex(text);
            run.boxes.push_back(b);
        } else if (tag == "EXIT") {
            in >> run.exitCode;
        } else if (tag == "REPORT") {
            std::string bytes;
            in >> bytes;
            run.hasReport = bytes != "none";
            if (run.hasReport) run.report = Unhex(bytes);
        }
    }
    if (out) pclose(out);
    return run;
}

// Lines 1 to 5 of a report, and the full six lines.
std::string ReportHead(const std::string& section, const std::string& line5) {
    return "[Plug-in]\r\nName = Quorvel\r\nVersion = 1.0\r\n" + section + "\r\n" + line5 + "\r\n";
}
std::string ReportOf(const std::string& section, const std::string& line5, const std::string& line6) {
    return ReportHead(section, line5) + line6 + "\r\n";
}

// A report split before its line 6, and what follows "Return =" there
// (the number text, blank included).
std::string HeadOf(const std::string& report) { return report.substr(0, report.rfind("Return =")); }
std::string ReturnOf(const std::string& report) {
    size_t at = report.rfind("Return =");
    return at == std::string::npos ? "" : report.substr(at + 8);
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        std::string unsupported = Slurp(kRoot + "/unsupported");
        if (!unsupported.empty()) GTEST_SKIP() << unsupported;
        ASSERT_FALSE(Slurp(kRoot + "/ready").empty()) << "the Wine prefix was not made";
    }
};

TEST_F(EndToEnd, NoArgumentsShowNothingAndWriteNothing) {
    Outcome r = Quorvel("");
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(r.exitCode, 0);
}

TEST_F(EndToEnd, UnknownOrMiscasedKeywordsRunNothing) {
    Outcome first = Quorvel("Execute Z:\\missing-target");  // leaves a report to compare against
    ASSERT_TRUE(first.hasReport);
    for (const char* line : {"Unknown x", "execute x", "DELETE x"}) {
        Outcome r = Quorvel(line);
        EXPECT_TRUE(r.boxes.empty()) << line;
        EXPECT_EQ(r.report, first.report) << line;
    }
}

TEST_F(EndToEnd, ExecuteOfAMissingTargetReportsTheShellsCode) {
    Outcome r = Quorvel("\"Execute\" \"Z:\\no such\\file.txt\"");
    ASSERT_TRUE(r.hasReport);
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(HeadOf(r.report), ReportHead("[Execute]", "File = Z:\\no such\\file.txt"));
    std::string code = ReturnOf(r.report);
    ASSERT_FALSE(code.empty());
    EXPECT_EQ(code[0], ' ');
    EXPECT_LE(std::stoi(code), 32);
}

TEST_F(EndToEnd, ExecuteRunsARealTarget) {
    std::remove((kWin + "/marker.txt").c_str());
    Outcome r = Quorvel("Execute \"Z:" + kWin + "/marker.exe\"");
    ASSERT_TRUE(r.hasReport);
    EXPECT_GT(std::stoi(ReturnOf(r.report)), 32);
    for (int i = 0; i < 600 && Slurp(kWin + "/marker.txt").empty(); ++i) system("sleep 0.1");
    EXPECT_EQ(Slurp(kWin + "/marker.txt"), "ran");
}

TEST_F(EndToEnd, AnUnwritableTempFolderShowsTheErrorBoxAndNoReport) {
    Outcome r = Quorvel("Execute Z:\\missing-target", "Z:\\no\\such\\folder");
    ASSERT_EQ(r.boxes.size(), 1u);
    EXPECT_EQ(r.boxes[0].caption, "Plug-in Quorvel");
    EXPECT_EQ(r.boxes[0].text, "Error in Form_Load()\rErr code  76\r\rPath not found");
    EXPECT_EQ(r.boxes[0].icon, "icon=0");
    EXPECT_EQ(r.boxes[0].buttons, "buttons=1");
    EXPECT_FALSE(r.hasReport);
}

TEST_F(EndToEnd, FreeDiskSpaceMatchesTheDrivesBackingFolder) {
    Outcome r = Quorvel("FreeDiskSpace C:\\");
    ASSERT_TRUE(r.hasReport);
    struct statvfs vfs {};
    ASSERT_EQ(statvfs((kRoot + "/prefix/drive_c").c_str(), &vfs), 0);
    double actual = static_cast<double>(vfs.f_bavail) * vfs.f_frsize;
    EXPECT_NEAR(std::stod(ReturnOf(r.report)), actual, 64.0 * 1024 * 1024);
    EXPECT_EQ(HeadOf(r.report), ReportHead("[FreeDiskSpace]", "Argument = C:\\"));
    Outcome missing = Quorvel("FreeDiskSpace Q:\\no\\such\\path");
    EXPECT_EQ(missing.report, ReportOf("[FreeDiskSpace]", "Argument = Q:\\no\\such\\path", "Return = 0"));
}

TEST_F(EndToEnd, DeleteMovesTargetsToTheTrashAndNothingElse) {
    std::string dir = kRoot + "/victims";
    system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
    std::ofstream(dir + "/a.txt") << "alpha";
    std::ofstream(dir + "/b.txt") << "beta";
    std::ofstream(dir + "/c d.txt") << "gamma";
    // A full-width a, which best-fit would turn into a.txt, must not delete it.
    Outcome wide = Quorvel("Delete \"Z:" + dir + "/\xEF\xBD\x81.txt\"");
    EXPECT_EQ(Slurp(dir + "/a.txt"), "alpha");
    EXPECT_EQ(Slurp(dir + "/b.txt"), "beta");
    ASSERT_EQ(wide.boxes.size(), 1u);
    EXPECT_EQ(wide.boxes[0].text, "Error in Form_Load()\rErr code  5\r\rInvalid procedure call or argument");

    Outcome r = Quorvel("Delete Z:" + dir + "/a.txt \"Z:" + dir + "/c d.txt\"");
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(r.report, ReportOf("[Delete]", "Argument = ", "Return =True"));
    EXPECT_TRUE(Slurp(dir + "/a.txt").empty());
    EXPECT_EQ(Slurp(dir + "/b.txt"), "beta");
    EXPECT_EQ(Slurp(kRoot + "/home/.local/share/Trash/files/a.txt"), "alpha");
    EXPECT_EQ(Slurp(kRoot + "/home/.local/share/Trash/files/c d.txt"), "gamma");
    EXPECT_FALSE(Slurp(kRoot + "/home/.local/share/Trash/info/a.txt.trashinfo").empty());
}

}  // namespace
