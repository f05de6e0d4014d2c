// End to end: the real quorvel.exe of one build (QRV_BUILD) under Wine, in the prefix the wine_prefix test
// made. What Windows can judge from inside, quorvel-check.exe judges (run here as host authors run it); the
// cases below check what only this side sees: the trash, Wine's modes, answers only Windows gives, the main
// job and the signed release. Our host program starts the exe and prints its boxes, exit status and report.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <iostream>
#include <regex>

#include <sys/statvfs.h>

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

// What a Windows command printed, run in the build's Wine set-up from the folder given (Wine's current
// directory is the Unix one), started by the loader as `wine` or as another command given. One that has not
// ended within the limit (a plug-in's box that nobody presses) is a failure: the prefix's processes are then
// ended, so that none is left holding the report.
std::string Wine(const std::string& command, int seconds = 300, const std::string& folder = ".", const std::string& loader = "wine ") {
    const std::string in = "'" QRV_SCRIPTS "/in-wine' " + kBuild + " '" + kRoot + "' ";
    return Output("cd '" + folder + "' && timeout " + std::to_string(seconds) + " " + in + loader + command + " || { [ $? = 124 ] && " + in +
                  "wineserver -k; }");
}

// Starts exe with the whole command line given, NAME=VALUE set in its environment, in the folder given.
std::string Start(const std::string& exe, const std::string& line, const Env& env = {}, const std::string& folder = ".") {
    std::ofstream(kRoot + "/line.txt", std::ios::binary) << line;
    std::string args;
    for (const std::string& pair : env) args += "'" + pair + "' ";
    return Wine(kHost + args + "'" + Win(exe) + "' '" + Win(kRoot + "/line.txt") + "'", 300, folder);
}

std::string Quorvel(const std::string& args, const std::string& folder = ".") {
    return Start(kExe, "\"" + Win(kExe) + "\"" + (args.empty() ? "" : " " + args), {}, folder);
}

// A run that ended well with this report, as the host program prints it.
std::string Reported(const std::string& section, const std::string& line5, const std::string& line6) {
    return "EXIT 0\nREPORT [Plug-in]\\r\\nName = Quorvel\\r\\nVersion = 1.0\\r\\n" + section + "\\r\\n" + line5 + "\\r\\n" + line6 + "\\r\\n\n";
}

// Runs a quorvel-check.exe as host authors run it (with no argument: on the quorvel.exe beside it), Wine
// told to prefer libraries beside the program, as a planted copy would be on Windows; every case must hold.
std::string EveryCaseHolds(const std::string& check, const std::string& args = "", const char* ending = "\nok: 0 failed; ") {
    setenv("WINEDLLOVERRIDES", "version,uxtheme,dwmapi,cryptbase,propsys,shell32=n,b", 1);
    fs::create_directories(kRoot + "/scratch");  // its current folder: nothing of the build's
    std::string seen = Wine("'" + check + "' " + args + "; echo \"exit status $?\"", 300, kRoot + "/scratch");
    unsetenv("WINEDLLOVERRIDES");
    std::cout << seen;
    EXPECT_NE(seen.find(ending), std::string::npos);
    EXPECT_NE(seen.find(ending[1] == 'o' ? "\nexit status 0\n" : "\nexit status 1\n"), std::string::npos);
    return seen;
}

TEST(EndToEnd, EveryCaseOfTheCheckHolds) {
    std::string seen = EveryCaseHolds(kDir + "/quorvel-check.exe", "'" + Win(kExe) + "'");  // what Windows can judge from inside
    // The guide's sample of its output: each line, digits aside, one the check printed, in the check's order.
    const std::string guide = Slurp(QRV_SCRIPTS "/../docs/hosts.md"), marker = "Run on a build under Wine:\n\n```\n";
    ASSERT_NE(guide.find(marker), std::string::npos) << "the guide has no sample of the check's output";
    auto digitless = [](const std::string& s) { return std::regex_replace(s, std::regex("[0-9]+"), "N"); };
    const size_t from = guide.find(marker) + marker.size();
    std::istringstream lines(guide.substr(from, guide.find("```", from) - from));
    const std::string printed = digitless(seen);
    size_t at = 0;
    for (std::string line; std::getline(lines, line) && at != std::string::npos;) {
        at = line == "…" ? at : printed.find(digitless(line) + "\n", at);
        EXPECT_NE(at, std::string::npos) << "the guide's sample line, not printed in its order: " << line;
    }
}

TEST(EndToEnd, DeletedFilesLandWholeInTheTrashUnderTheirRealNames) {
    // Names with blanks, a wildcard, names the ANSI code page (1252) cannot carry, and relative names made
    // full against the current directory: each file lands whole in the trash, under its own name. The
    // best-fit twin of one name, and what its substitute ?? would match, stay.
    const char* names[] = {"c d.txt", "w1.log", "w22.log", "\xEF\xBD\x81.txt", "\xF0\x9F\x98\x80.txt", "r.txt", "r1.log"};
    std::string dir = kRoot + "/victims", trash = kRoot + "/home/.local/share/Trash";
    fs::remove_all(dir), fs::remove_all(trash), fs::create_directories(dir);
    for (const char* name : names) std::ofstream(dir + "/" + name) << name << name;
    std::ofstream(dir + "/a.txt") << "kept", std::ofstream(dir + "/ab.txt") << "kept";
    std::string full = " \"" + Win(dir) + "\\";
    EXPECT_EQ(Quorvel("Delete" + full + "c d.txt\"" + full + "w*.log\"" + full + names[3] + "\"" + full + names[4] + "\""),
              Reported("[Delete]", "Argument = ", "Return =True"));
    EXPECT_EQ(Quorvel("Delete r.txt r*.log", dir), Reported("[Delete]", "Argument = ", "Return =True"));
    std::string held;
    for (const char* name : names)
        held += Slurp(trash + "/files/" + name) + (Slurp(trash + "/info/" + name + ".trashinfo").empty() ? " no info" : "") + "|";
    EXPECT_EQ(held, std::string("c d.txtc d.txt|w1.logw1.log|w22.logw22.log|") + names[3] + names[3] + "|" + names[4] + names[4] +
                        "|r.txtr.txt|r1.logr1.log|");
    EXPECT_EQ(Slurp(dir + "/a.txt") + Slurp(dir + "/ab.txt"), "keptkept");
    // Wine's answers for the long names' table: a target past 259 characters goes to the bin, True; a missing \\?\ one is True.
    const std::string deep = dir + "/" + std::string(200, 'l'), longName = std::string(100, 'm') + ".txt";
    fs::create_directories(deep), std::ofstream(deep + "/" + longName) << "long";
    for (const std::string& target : {Win(deep + "/" + longName), "\\\\?\\" + Win(dir + "/missing.txt")})
        EXPECT_EQ(Quorvel("Delete \"" + target + "\""), Reported("[Delete]", "Argument = ", "Return =True")) << target;
    EXPECT_EQ(Slurp(trash + "/files/" + longName), "long");
}

std::string Held(const std::string& p) { return fs::exists(p) ? Slurp(p) + ", links: " + std::to_string(fs::hard_link_count(p)) : "none"; }  // a file's bytes and links

std::string Names(const std::string& dir) { return Output("LC_ALL=C ls -A '" + dir + "' | tr '\\n' ' '"); }  // the names in a folder, sorted

TEST(EndToEnd, WhereWineActsAsVistaLibrariesStillComeFromTheSystemFolder) {
    // Vista (6.0), where the program restricts the search the older way, is a mode of Wine's: copies of the marker
    // library named like the libraries it loads, beside it, with Wine told to prefer them, stay unloaded.
    std::string dir = kRoot + "/planted";
    fs::remove_all(dir), fs::create_directories(dir);
    for (const char* name : {"user32.dll", "gdi32.dll", "shell32.dll"}) fs::copy_file(kDir + "/marker.dll", dir + "/" + name);
    Wine("reg add 'HKCU\\Software\\Wine\\AppDefaults\\qrvvista.exe' /v Version /d vista /f");
    fs::copy_file(kExe, dir + "/qrvvista.exe");
    setenv("WINEDLLOVERRIDES", "user32,gdi32,shell32=n,b", 1);
    EXPECT_EQ(Start(dir + "/qrvvista.exe", "qrvvista.exe Execute Z:\\missing-target"), Reported("[Execute]", "File = Z:\\missing-target", "Return = 2"));
    unsetenv("WINEDLLOVERRIDES");
    EXPECT_FALSE(fs::exists(dir + "/planted.txt"));
}

// The calls on a run's main thread, in Wine's relay trace, that decide whether a system box can wait for a click:
// the error mode, the disk calls (the report's among them), the shell's start, and the junction guard.
std::string ErrorModeAndDisk(const std::string& args) {
    std::string trace = Wine("'" + kExe + "' " + args, 120, ".", "sh -c 'WINEDEBUG=+relay exec \"$WINELOADER\" \"$@\" 2>&1' sh ");
    static const std::regex call(R"(^([0-9a-f]+):Call [A-Za-z0-9]+\.(SetErrorMode|GetDiskFreeSpace(Ex)?[AW]|SHFileOperation[AW]|ShellExecuteEx[AW]|CreateFile[AW]|MoveFileEx[AW]|SetProcessMitigationPolicy)\(([0-9a-f]*)?(.*)\) ret=)");
    std::string seen, thread;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, call) || (m[2].str().rfind("CreateFile", 0) == 0 && line.find("qrvplug.txt") == std::string::npos)) continue;
        if (m[2] != "SetErrorMode" && thread.empty()) thread = m[1];
        if (m[1] == thread || (thread.empty() && m[2] == "SetErrorMode"))
            seen += m[2].str() + (m[2] == "SetErrorMode" ? "(" + std::to_string(std::stoul(m[4], nullptr, 16)) + ")" : "") + " ";
    }
    return seen;
}

TEST(EndToEnd, SystemBoxesAreHeldOffOnTheDiskAndNeverForWhatTheShellStarts) {
    std::ofstream(kRoot + "/victim.txt") << "x";
    // The guard only after the command's own work, then the report's new file, moved over the name.
    const std::string report = "SetProcessMitigationPolicy CreateFileA MoveFileExA SetErrorMode(0) ";
    EXPECT_EQ(ErrorModeAndDisk("FreeDiskSpace 'C:\\'"), "SetErrorMode(1) GetDiskFreeSpaceExA " + report);
    EXPECT_EQ(ErrorModeAndDisk("Execute 'Z:\\missing'"), "ShellExecuteExA SetErrorMode(1) " + report);
    EXPECT_EQ(ErrorModeAndDisk("Delete '" + Win(kRoot + "/victim.txt") + "'"), "SetErrorMode(1) SHFileOperationA " + report);
}

// What Windows may answer and Wine does not, from the suite's build with stand-ins (tests/e2e/standins.cpp).
TEST(EndToEnd, AnswersOnlyWindowsGivesReachTheRealProgram) {
    auto box = [](const char* number, const char* text) { return "BOX Plug-in Quorvel|Error in Form_Load()\\rErr code  " + std::string(number) + "\\r\\r" + text + "\nEXIT " + number + "\nREPORT old\n"; };
    const std::string temp = kRoot + "/standin-temp", dir = kRoot + "/standin-victims", z = Win(dir), exe = kDir + "/quorvel-standins.exe";
    struct statvfs disk;
    ASSERT_TRUE(statvfs("/", &disk) == 0 && disk.f_bavail * disk.f_frsize > (4ull << 30)) << "Z:\\ needs 4 GiB free to hold more than 2 GiB";
    const struct { const char* standIns; std::string args, seen; } rows[] = {
        {"GetTempPathW=1", "FreeDiskSpace Q:\\none", Reported("[FreeDiskSpace]", "Argument = Q:\\none", "Return = 0")},  // a size one too large
        {"SHFileOperationA=0", "Delete *. sub\\*. \"" + z + "\\a\"",  // the names asked for, then nothing done, the aborted flag set
         "BOX SHFileOperation|" + z + "\\*.|" + z + "\\sub\\*.|" + z + "\\a\n" + Reported("[Delete]", "Argument = ", "Return =False")},
        {"ShellExecuteExA=42", "Execute Z:\\none", Reported("[Execute]", "File = Z:\\none", "Return = 42")},
        {"ShellExecuteExA=33", "Execute Z:\\none", Reported("[Execute]", "File = Z:\\none", "Return = 33")},
        {"ShellExecuteExA=31", "Execute Z:\\none", Reported("[Execute]", "File = Z:\\none", "Return = 31")},
        {"-GetDiskFreeSpaceExA", "FreeDiskSpace \"" + z + "\\\xEF\xBD\x81\"", box("6", "Overflow")},  // a real disk's clusters, past 2 GiB; a 16-bit name
        {"GetCurrentProcessId=7", "FreeDiskSpace Q:\\none", Reported("[FreeDiskSpace]", "Argument = Q:\\none", "Return = 0")},  // -0 taken: -1
        {"GetFileInformationByHandle=2", "FreeDiskSpace Q:\\none", box("54", "Bad file mode")},  // a new file of two links
        {"WriteFile=10", "FreeDiskSpace Q:\\none", box("57", "Device I/O error")},
        {"WideCharToMultiByte=0", "FreeDiskSpace Q:\\none", box("5", "Invalid procedure call or argument")},
    };
    for (const auto& row : rows) {
        fs::remove_all(temp), fs::remove_all(dir), fs::create_directories(temp), fs::create_directories(dir + "/sub"), fs::create_directories(dir + "/\xEF\xBD\x81");
        std::ofstream(temp + "/qrvplug.txt") << "old", std::ofstream(dir + "/a") << "a", std::ofstream(temp + "/qrvplug.txt.0000000007-0") << "taken";
        EXPECT_EQ(Start(exe, "\"" + Win(exe) + "\" " + row.args, {"QUORVEL_STANDINS=" + std::string(row.standIns), "TMP=" + Win(temp), "TEMP=" + Win(temp)}, dir),
                  row.seen) << row.standIns;
        const std::string taken = temp + "/qrvplug.txt.0000000007-0";  // nothing of the run's left beside the report, nothing deleted
        EXPECT_EQ(Names(temp) + Held(dir + "/a") + Held(taken), "qrvplug.txt qrvplug.txt.0000000007-0 a, links: 1taken, links: 1") << row.standIns;
    }
}

TEST(EndToEnd, TheMainJobShowsTheBoxAsTextAndEnds) {
    const std::string run = "QRV_BUILD=" + kBuild + " '" QRV_SCRIPTS "/";
    Output(run + "prepare' run-wine");  // the main job's own prefix, made before the clock starts
    auto start = std::chrono::steady_clock::now();
    std::string seen = Output(run + "run' Execute \"$(printf 'C:\\\\x\\ry')\" 2> /dev/null; echo \"status $?\"");  // a CR in the path
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(60));
    EXPECT_EQ(seen.substr(0, seen.find("Recycle bin")) + seen.substr(seen.rfind("status")),
              "box: Error in Form_Load() | Err code  5 | Invalid procedure call or argument\n(no report written)\nexit status: 5\nstatus 5\n");
}

TEST(EndToEnd, TheSignedReleaseHoldsItsOwnCheck) {
    const std::string folder = kBuild == "win64" ? "/win64" : "";
    EveryCaseHolds(QRV_RELEASE_DIR + folder + "/quorvel-check.exe");  // from the release test
    // One byte of its quorvel.exe changed after signing: the check fails it by SHA256SUMS, whatever WinVerifyTrust
    // answers (Wine's: TRUST_E_BAD_DIGEST, another failed case).
    const std::string changed = kRoot + "/changed-release";
    fs::remove_all(changed), fs::copy(QRV_RELEASE_DIR, changed, fs::copy_options::recursive);
    std::fstream(changed + folder + "/quorvel.exe", std::ios::in | std::ios::out | std::ios::binary).seekp(0x50).put('!');
    std::string seen = EveryCaseHolds(changed + folder + "/quorvel-check.exe", "", "\nFAIL: ");
    EXPECT_NE(seen.find("\nFAIL  " + (folder.empty() ? "" : folder.substr(1) + "/") + "quorvel.exe is the release's, as SHA256SUMS lists it\n"), std::string::npos);
}

}  // namespace
