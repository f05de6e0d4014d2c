// End to end: the real quorvel.exe of one build (QRV_BUILD: win32 or win64)
// under Wine, started by our host program with an exact command line and
// environment, in the build's own prefix, made by the wine_prefix test.
#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kBuild = std::getenv("QRV_BUILD") ? std::getenv("QRV_BUILD") : "";
const std::string kDir = QRV_WIN_DIR "/" + kBuild;     // the build's programs
const std::string kRoot = QRV_WINE_ROOT "/" + kBuild;  // its prefix, HOME and scratch files

std::string Slurp(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

std::string Unhex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

// A Unix path as Windows programs under Wine name it.
std::string Win(std::string path) {
    for (char& c : path) c = c == '/' ? '\\' : c;
    return "Z:" + path;
}

struct Outcome {
    std::vector<std::string> boxes;  // caption, text, icon and buttons, one line each
    int exitCode = -1;
    std::string report = "<none>";
    std::string other;               // any other line of the host
};

// Runs a command in the build's Wine set-up, its output read by the caller.
FILE* InWine(const std::string& command) {
    return popen(("'" QRV_SCRIPTS "/in-wine' " + kBuild + " '" + kRoot + "' wine " + command).c_str(), "r");
}

// Runs exe with the whole command line given and NAME=VALUE set in its
// environment; with no exe, the host with the arguments given.
Outcome Host(const std::string& exe, const std::string& line, const std::vector<std::string>& env = {}) {
    std::string file = kRoot + "/line.txt", command = "'" + kDir + "/qrvhost.exe'";
    std::ofstream(file, std::ios::binary) << line;
    for (const std::string& pair : env) command += " '" + pair + "'";
    command += exe.empty() ? " " + line : " '" + Win(exe) + "' '" + Win(file) + "'";
    Outcome run;
    FILE* out = InWine(command);
    char buf[1 << 16];
    while (out && fgets(buf, sizeof buf, out)) {
        std::istringstream in(buf);
        std::string tag, a, b, icon, buttons;
        in >> tag >> a >> b >> icon >> buttons;
        if (tag == "BOX") run.boxes.push_back(Unhex(a) + "\n" + Unhex(b) + "\n" + icon + " " + buttons);
        else if (tag == "EXIT") run.exitCode = std::stoi(a);
        else if (tag == "REPORT") run.report = a == "none" ? "<none>" : Unhex(a);
        else run.other += tag + " " + a + " " + b + " " + icon + " " + buttons;
    }
    if (out) pclose(out);
    return run;
}

Outcome Quorvel(const std::string& args, const std::vector<std::string>& env = {}) {
    std::string exe = kDir + "/quorvel.exe";
    return Host(exe, "\"" + Win(exe) + "\"" + (args.empty() ? "" : " " + args), env);
}

std::string Report(const std::string& section, const std::string& line5, const std::string& line6) {
    return "[Plug-in]\r\nName = Quorvel\r\nVersion = 1.0\r\n" + section + "\r\n" + line5 + "\r\n" + line6 + "\r\n";
}

std::string ErrorBox(int number, const std::string& description) {
    return "Plug-in Quorvel\nError in Form_Load()\rErr code  " + std::to_string(number) + "\r\r" + description +
           "\nicon=0 buttons=1";
}

// What follows "Return =" in a report: the number text, blank included.
std::string ReturnOf(const std::string& report) {
    size_t at = report.rfind("Return =");
    return at == std::string::npos ? "" : report.substr(at + 8, report.size() - at - 10);
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(Slurp(kRoot + "/ready").empty()) << "no Wine prefix for build '" << kBuild << "'"; }
};

TEST_F(EndToEnd, RunsNothingWithoutAKnownKeyword) {
    Outcome first = Quorvel("Execute Z:\\missing-target");  // leaves a report to compare against
    ASSERT_NE(first.report, "<none>");
    for (const char* line : {"", "Unknown x", "execute x", "DELETE x"}) {
        Outcome r = Quorvel(line);
        EXPECT_TRUE(r.boxes.empty()) << line;
        EXPECT_EQ(r.exitCode, 0) << line;
        EXPECT_EQ(r.report, first.report) << line;
    }
}

TEST_F(EndToEnd, ExecuteReportsTheShellsCode) {
    Outcome missing = Quorvel("\"Execute\" \"Z:\\no such\\file.txt\"");
    EXPECT_TRUE(missing.boxes.empty());
    std::string code = ReturnOf(missing.report);
    ASSERT_FALSE(code.empty());
    EXPECT_EQ(code[0], ' ');
    EXPECT_LE(std::stoi(code), 32);
    EXPECT_EQ(missing.report, Report("[Execute]", "File = Z:\\no such\\file.txt", "Return =" + code));

    std::filesystem::remove(kDir + "/marker.txt");
    Outcome real = Quorvel("Execute \"" + Win(kDir + "/marker.exe") + "\"");
    EXPECT_GT(std::stoi(ReturnOf(real.report)), 32);
    for (int i = 0; i < 600 && Slurp(kDir + "/marker.txt").empty(); ++i) system("sleep 0.1");
    EXPECT_EQ(Slurp(kDir + "/marker.txt"), "ran");
}

TEST_F(EndToEnd, TheReportGoesToTheTempFolderTheHostGave) {
    std::string temp = kRoot + "/temp with blanks";
    std::filesystem::create_directories(temp);
    std::filesystem::remove(temp + "/qrvplug.txt");
    Outcome r = Quorvel("FreeDiskSpace Q:\\no\\such\\path", {"TMP=" + Win(temp), "TEMP=" + Win(temp)});
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(Slurp(temp + "/qrvplug.txt"), Report("[FreeDiskSpace]", "Argument = Q:\\no\\such\\path", "Return = 0"));

    std::string missing = Win(kRoot + "/no/such/folder");
    Outcome failed = Quorvel("Execute Z:\\missing-target", {"TMP=" + missing, "TEMP=" + missing});
    EXPECT_EQ(failed.boxes, std::vector<std::string>{ErrorBox(76, "Path not found")});
    EXPECT_EQ(failed.report, "<none>");
    EXPECT_EQ(failed.exitCode, 76);
}

TEST_F(EndToEnd, FreeDiskSpaceMatchesTheDrivesBackingFolder) {
    Outcome r = Quorvel("FreeDiskSpace C:\\");
    struct statvfs vfs {};
    ASSERT_EQ(statvfs((kRoot + "/prefix/drive_c").c_str(), &vfs), 0);
    EXPECT_NEAR(std::stod(ReturnOf(r.report)), static_cast<double>(vfs.f_bavail) * vfs.f_frsize, 64.0 * 1024 * 1024);
    EXPECT_EQ(r.report, Report("[FreeDiskSpace]", "Argument = C:\\", "Return =" + ReturnOf(r.report)));
}

TEST_F(EndToEnd, DeleteMovesTargetsToTheTrashAndNothingElse) {
    std::string dir = kRoot + "/victims", trash = kRoot + "/home/.local/share/Trash";
    std::filesystem::remove_all(dir);
    std::filesystem::remove_all(trash);
    std::filesystem::create_directories(dir);
    for (const char* name : {"a.txt", "b.txt", "c d.txt"}) std::ofstream(dir + "/" + name) << name;
    // A full-width a, which best-fit would turn into a.txt, must not delete it.
    Outcome wide = Quorvel("Delete \"" + Win(dir) + "\\\xEF\xBD\x81.txt\"");
    EXPECT_EQ(wide.boxes, std::vector<std::string>{ErrorBox(5, "Invalid procedure call or argument")});
    EXPECT_EQ(wide.exitCode, 5);
    EXPECT_EQ(Slurp(dir + "/a.txt"), "a.txt");

    Outcome r = Quorvel("Delete " + Win(dir + "/a.txt") + " \"" + Win(dir + "/c d.txt") + "\"");
    EXPECT_TRUE(r.boxes.empty());
    EXPECT_EQ(r.report, Report("[Delete]", "Argument = ", "Return =True"));
    EXPECT_FALSE(std::filesystem::exists(dir + "/a.txt"));
    EXPECT_EQ(Slurp(dir + "/b.txt"), "b.txt");
    EXPECT_EQ(Slurp(trash + "/files/a.txt"), "a.txt");
    EXPECT_EQ(Slurp(trash + "/files/c d.txt"), "c d.txt");
    EXPECT_FALSE(Slurp(trash + "/info/a.txt.trashinfo").empty());
}

TEST_F(EndToEnd, TheProgramsOwnNameMayBeQuotedInPart) {
    const char* names[] = {"\"C:\\Program Files\\Host\"\\quorvel.exe", "C:\\Host\\\"quorvel.exe\"",
                           "\"C:\\Program Files\\Host\\quorvel.exe\"", "C:\\Host\\quorvel.exe"};
    for (const std::string name : names) {
        std::string target = "Z:\\no such\\" + std::to_string(name.size());  // differs from row to row
        Outcome r = Host(kDir + "/quorvel.exe", name + " Execute \"" + target + "\"");
        EXPECT_EQ(r.report, Report("[Execute]", "File = " + target, "Return = 2")) << name;
    }
}

TEST_F(EndToEnd, LibrariesComeFromTheSystemFolderOnly) {
    // Copies of a library of ours named like the system libraries Quorvel
    // loads, beside it, with Wine told to prefer them (Wine reads that from
    // its own environment): none may be loaded, neither here nor where Windows
    // reports itself as Vista (6.0).
    std::string dir = kRoot + "/planted";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    for (const char* name : {"user32.dll", "gdi32.dll", "shell32.dll"})
        std::filesystem::copy_file(kDir + "/planted.dll", dir + "/" + name);
    pclose(InWine("reg add 'HKCU\\Software\\Wine\\AppDefaults\\qrvvista.exe' /v Version /d vista /f"));
    for (const std::string exe : {"quorvel.exe", "qrvvista.exe"}) {
        std::filesystem::copy_file(kDir + "/quorvel.exe", dir + "/" + exe);
        std::filesystem::remove(dir + "/planted.txt");
        setenv("WINEDLLOVERRIDES", "user32,gdi32,shell32=n,b", 1);
        Outcome r = Host(dir + "/" + exe, exe + " Execute Z:\\missing-target");
        unsetenv("WINEDLLOVERRIDES");
        EXPECT_FALSE(std::filesystem::exists(dir + "/planted.txt")) << exe;
        EXPECT_EQ(r.report, Report("[Execute]", "File = Z:\\missing-target", "Return = 2")) << exe;
    }
}

TEST_F(EndToEnd, TheLoaderReadsTheManifest) {
    // Run as invoker, no UI access; Vista, 7, 8, 8.1, 10; system DPI aware.
    EXPECT_EQ(Host("", "--manifest '" + Win(kDir + "/quorvel.exe") + "'").other,
              "MANIFEST level=1 uiAccess=0 os=e2011457,35138b9a,4a2f28e3,1f676c76,8e0f7a12 dpiAware=true");
}

}  // namespace
