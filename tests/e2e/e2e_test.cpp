// End to end: the real quorvel.exe of one build (QRV_BUILD: win32 or win64)
// under Wine, started by our host program with an exact command line and
// environment, in the build's own prefix, which the wine_prefix test that
// ctest runs first made. Each case compares what the host program saw: the
// boxes, the exit status and the report's bytes.
#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;
using Env = std::vector<std::string>;
const std::string kBuild = std::getenv("QRV_BUILD") ? std::getenv("QRV_BUILD") : "";
const std::string kDir = QRV_WIN_DIR "/" + kBuild;     // the build's programs
const std::string kRoot = QRV_WINE_ROOT "/" + kBuild;  // its prefix, HOME and scratch files
const std::string kHost = "'" + kDir + "/qrvhost.exe' ", kExe = kDir + "/quorvel.exe";

std::string Slurp(const std::string& path) { return {std::istreambuf_iterator<char>(std::ifstream(path, std::ios::binary).rdbuf()), {}}; }

// A Unix path as Windows programs under Wine name it.
std::string Win(std::string path) { return "Z:" + (std::replace(path.begin(), path.end(), '/', '\\'), path); }

// What a shell command printed, carriage returns dropped.
std::string Output(const std::string& command) {
    FILE* out = popen(command.c_str(), "r");
    std::string seen;
    for (int c; out && (c = fgetc(out)) != EOF;) seen += c == '\r' ? "" : std::string(1, static_cast<char>(c));
    if (out) pclose(out);
    return seen;
}

// What a Windows command printed, run in the build's Wine set-up.
std::string Wine(const std::string& command) { return Output("'" QRV_SCRIPTS "/in-wine' " + kBuild + " '" + kRoot + "' wine " + command); }

// Starts exe with the whole command line given and NAME=VALUE set in its environment.
std::string Start(const std::string& exe, const std::string& line, const Env& env = {}) {
    std::ofstream(kRoot + "/line.txt", std::ios::binary) << line;
    std::string args;
    for (const std::string& pair : env) args += "'" + pair + "' ";
    return Wine(kHost + args + "'" + Win(exe) + "' '" + Win(kRoot + "/line.txt") + "'");
}

std::string Quorvel(const std::string& args, const Env& env = {}) {
    return Start(kExe, "\"" + Win(kExe) + "\"" + (args.empty() ? "" : " " + args), env);
}

// A run that ended well with this report, as the host program prints it.
std::string Reported(const std::string& section, const std::string& line5, const std::string& line6) {
    return "EXIT 0\nREPORT [Plug-in]\\r\\nName = Quorvel\\r\\nVersion = 1.0\\r\\n" + section + "\\r\\n" + line5 + "\\r\\n" + line6 + "\\r\\n\n";
}

// A run that failed with one error box, before the report that it left.
std::string Failed(int number, const std::string& description) {
    std::string n = std::to_string(number);
    return "BOX Plug-in Quorvel|Error in Form_Load()\\rErr code  " + n + "\\r\\r" + description + "|icon=0|buttons=1\nEXIT " + n + "\n";
}

TEST(EndToEnd, RunsNothingWithoutAKnownKeyword) {
    std::string first = Quorvel("Execute Z:\\missing-target");  // leaves a report to compare against
    EXPECT_EQ(first, Reported("[Execute]", "File = Z:\\missing-target", "Return = 2"));
    for (const char* line : {"", "Unknown x", "execute x", "DELETE x"}) EXPECT_EQ(Quorvel(line), first) << line;
}

TEST(EndToEnd, ExecuteOpensTheTargetAndReportsTheShellsCode) {
    std::string bat = kRoot + "/marker.bat";
    std::ofstream(bat) << "echo ran> \"%~dp0marker.txt\"\r\n";
    fs::remove(kRoot + "/marker.txt");
    EXPECT_EQ(Quorvel("\"Execute\" \"" + Win(bat) + "\""), Reported("[Execute]", "File = " + Win(bat), "Return = 33"));
    for (int i = 0; i < 600 && Slurp(kRoot + "/marker.txt").empty(); ++i) system("sleep 0.1");
    EXPECT_EQ(Slurp(kRoot + "/marker.txt"), "ran\r\n");
}

TEST(EndToEnd, TheProgramsOwnNameMayBeQuotedInPart) {
    for (const std::string name : {"\"C:\\Program Files\\Host\"\\quorvel.exe", "C:\\Host\\\"quorvel.exe\"",
                                   "\"C:\\Program Files\\Host\\quorvel.exe\"", "C:\\Host\\quorvel.exe"}) {
        std::string target = "Z:\\no such\\" + std::to_string(name.size());  // differs from row to row
        EXPECT_EQ(Start(kExe, name + " Execute \"" + target + "\""), Reported("[Execute]", "File = " + target, "Return = 2")) << name;
    }
}

Env Temp(const std::string& folder) { return {"TMP=" + Win(folder), "TEMP=" + Win(folder)}; }

TEST(EndToEnd, TheReportGoesToTheTempFolderTheHostGave) {
    // The host reads the report where it told Quorvel to write it: there, a longer one leaves no trace.
    // Under a name code page 1252 cannot carry (a full-width a, which best-fit makes an a; a Cyrillic
    // letter, which becomes ?) it still lands there, and a decoy under the best-fit name keeps its bytes.
    std::string decoy = kRoot + "/tempa/qrvplug.txt";
    fs::create_directories(kRoot + "/tempa");
    std::ofstream(decoy) << "decoy";
    for (const std::string name : {"temp with blanks", "temp\xEF\xBD\x81", "temp\xD0\xB6"}) {
        std::string temp = kRoot + "/" + name;
        fs::create_directories(temp);
        std::ofstream(temp + "/qrvplug.txt") << std::string(500, 'x');
        EXPECT_EQ(Quorvel("FreeDiskSpace Q:\\no\\such\\path", Temp(temp)),
                  Reported("[FreeDiskSpace]", "Argument = Q:\\no\\such\\path", "Return = 0")) << name;
    }
    EXPECT_EQ(Slurp(decoy), "decoy");
    EXPECT_EQ(Quorvel("Execute Z:\\missing-target", Temp(kRoot + "/no/such/folder")), Failed(76, "Path not found") + "REPORT none\n");
    // No argument adds a line (here "Return = 42" after the shell's 2): refused before anything runs.
    EXPECT_EQ(Quorvel("Execute \"C:\\x\r\nReturn = 42\"", Temp(kRoot + "/no/such/folder")), Failed(5, "Invalid procedure call or argument") + "REPORT none\n");
}

TEST(EndToEnd, FreeDiskSpaceMatchesTheDrivesBackingFolder) {
    std::string seen = Quorvel("FreeDiskSpace C:\\"), free = seen.substr(seen.find("Return = ") + 9);
    free = free.substr(0, free.find('\\'));
    struct statvfs vfs {};
    ASSERT_EQ(statvfs((kRoot + "/prefix/drive_c").c_str(), &vfs), 0);
    EXPECT_NEAR(std::stod(free), static_cast<double>(vfs.f_bavail) * vfs.f_frsize, 64.0 * 1024 * 1024);
    EXPECT_EQ(seen, Reported("[FreeDiskSpace]", "Argument = C:\\", "Return = " + free));
}

TEST(EndToEnd, DeleteMovesTargetsToTheTrashAndNothingElse) {
    std::string dir = kRoot + "/victims", trash = kRoot + "/home/.local/share/Trash", before = Quorvel("Execute Z:\\missing-target");
    fs::remove_all(dir), fs::remove_all(trash), fs::create_directories(dir);
    for (const char* name : {"a.txt", "b.txt", "c d.txt"}) std::ofstream(dir + "/" + name) << name;
    // A full-width a, which best-fit would turn into a.txt, deletes nothing and leaves the report as it was.
    EXPECT_EQ(Quorvel("Delete \"" + Win(dir) + "\\\xEF\xBD\x81.txt\""),
              Failed(5, "Invalid procedure call or argument") + before.substr(before.find("REPORT")));
    EXPECT_EQ(Slurp(dir + "/a.txt"), "a.txt");
    EXPECT_EQ(Quorvel("Delete " + Win(dir + "/a.txt") + " \"" + Win(dir + "/c d.txt") + "\""), Reported("[Delete]", "Argument = ", "Return =True"));
    EXPECT_FALSE(fs::exists(dir + "/a.txt"));
    EXPECT_EQ(Slurp(dir + "/b.txt") + Slurp(trash + "/files/a.txt") + Slurp(trash + "/files/c d.txt"), "b.txta.txtc d.txt");
    EXPECT_FALSE(Slurp(trash + "/info/a.txt.trashinfo").empty());
    // A wildcard takes every match, each whole, and nothing else.
    for (const char* name : {"w1.log", "w22.log", "w1.txt", "x1.log"}) std::ofstream(dir + "/" + name) << name << name;
    EXPECT_EQ(Quorvel("Delete " + Win(dir) + "\\w*.log"), Reported("[Delete]", "Argument = ", "Return =True"));
    EXPECT_EQ(Slurp(trash + "/files/w1.log") + Slurp(trash + "/files/w22.log"), "w1.logw1.logw22.logw22.log");
    EXPECT_EQ(Slurp(dir + "/b.txt") + Slurp(dir + "/w1.txt") + Slurp(dir + "/x1.log"), "b.txtw1.txtw1.txtx1.logx1.log");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 3);
}

TEST(EndToEnd, LibrariesComeFromTheSystemFolderOnly) {
    // Copies of a library of ours named like the system libraries Quorvel
    // loads, beside it, with Wine told to prefer them (Wine reads that from
    // its own environment): none may be loaded, neither here nor where Windows
    // reports itself as Vista (6.0).
    std::string dir = kRoot + "/planted";
    fs::remove_all(dir), fs::create_directories(dir);
    for (const char* name : {"user32.dll", "gdi32.dll", "shell32.dll"}) fs::copy_file(kDir + "/planted.dll", dir + "/" + name);
    Wine("reg add 'HKCU\\Software\\Wine\\AppDefaults\\qrvvista.exe' /v Version /d vista /f");
    for (const std::string exe : {"quorvel.exe", "qrvvista.exe"}) {
        fs::copy_file(kExe, dir + "/" + exe), fs::remove(dir + "/planted.txt");
        setenv("WINEDLLOVERRIDES", "user32,gdi32,shell32=n,b", 1);
        EXPECT_EQ(Start(dir + "/" + exe, exe + " Execute Z:\\missing-target"), Reported("[Execute]", "File = Z:\\missing-target", "Return = 2"));
        unsetenv("WINEDLLOVERRIDES");
        EXPECT_FALSE(fs::exists(dir + "/planted.txt")) << exe;
    }
}

TEST(EndToEnd, TheMainJobShowsTheBoxAsTextAndEnds) {
    const std::string run = "QRV_BUILD=" + kBuild + " '" QRV_SCRIPTS "/";
    Output(run + "prepare' run-wine");  // the main job's own prefix, made before the clock starts
    auto start = std::chrono::steady_clock::now();
    std::string seen = Output(run + "run' FreeDiskSpace 'C:\\\xD0\xB6' 2> /dev/null; echo \"status $?\"");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_EQ(seen.substr(0, seen.find("Recycle bin")) + seen.substr(seen.rfind("status")),
              "box: Error in Form_Load() | Err code  5 | Invalid procedure call or argument\n(no report written)\nexit status: 5\nstatus 5\n");
}

TEST(EndToEnd, TheSignedReleaseRuns) {
    std::string exe = QRV_RELEASE_DIR + std::string(kBuild == "win64" ? "/win64" : "") + "/quorvel.exe";  // from the release test
    EXPECT_EQ(Start(exe, "quorvel.exe Execute Z:\\missing-target"), Reported("[Execute]", "File = Z:\\missing-target", "Return = 2"));
}

TEST(EndToEnd, TheLoaderReadsTheManifest) {
    // Run as invoker, no UI access; Vista, 7, 8, 8.1, 10; system DPI aware.
    EXPECT_EQ(Wine(kHost + "--manifest '" + Win(kExe) + "'"),
              "MANIFEST level=1 uiAccess=0 os=e2011457,35138b9a,4a2f28e3,1f676c76,8e0f7a12 dpiAware=true\n");
}

}  // namespace
