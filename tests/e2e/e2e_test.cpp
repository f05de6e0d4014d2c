// End to end: the real quorvel.exe of one build (QRV_BUILD: win32 or win64)
// under Wine, in the build's own prefix, which the wine_prefix test that
// ctest runs first made. What Windows can judge from inside is judged by
// quorvel-check.exe, run here as host authors run it; the cases below check
// what only this side sees: the trash, the recipes' effects, Wine's Windows
// versions, the main job and the signed release. Our host program starts the exe with an exact command line
// and environment and prints the boxes, the exit status and the report.
#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>

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
// directory is the Unix one). One that has not ended within the limit (a plug-in's box that nobody presses)
// is a failure: the prefix's processes are then ended, so that none is left holding the report.
std::string Wine(const std::string& command, int seconds = 300, const std::string& folder = ".") {
    const std::string in = "'" QRV_SCRIPTS "/in-wine' " + kBuild + " '" + kRoot + "' ";
    return Output("cd '" + folder + "' && timeout " + std::to_string(seconds) + " " + in + "wine " + command + " || { [ $? = 124 ] && " + in +
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
void EveryCaseHolds(const std::string& check, const std::string& args = "") {
    setenv("WINEDLLOVERRIDES", "version,uxtheme,dwmapi,cryptbase,propsys,shell32=n,b", 1);
    std::string seen = Wine("'" + check + "' " + args + " && echo 'exit status 0'");
    unsetenv("WINEDLLOVERRIDES");
    std::cout << seen;
    EXPECT_NE(seen.find("\nok: 0 failed; "), std::string::npos);
    EXPECT_NE(seen.find("\nexit status 0\n"), std::string::npos);
}

TEST(EndToEnd, EveryCaseOfTheCheckHolds) {
    EveryCaseHolds(kDir + "/quorvel-check.exe", "'" + Win(kExe) + "'");  // what Windows can judge from inside
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
}

// examples/: an installer, a batch file and a C program, each asking for the free bytes of a folder,
// deleting "old notes.txt" there and opening a document (through a .txt handler that leaves a marker),
// each started as its header says, from bin/. What each printed (the installer: its log), and how long
// it took.
struct Recipes {
    std::string dir = kRoot + "/recipes", bin = dir + "/bin/";
    Recipes() {
        Wine("reg add 'HKCR\\.txt' /ve /d quorveltxt /f");
        Wine("reg add 'HKCR\\quorveltxt\\shell\\open\\command' /ve /d 'cmd /c copy \"%1\" \"%1.opened\"' /f");
        fs::remove_all(dir), fs::create_directories(bin);
        for (const std::string& from : {kExe, kDir + "/recipe-host.exe", std::string(QRV_SCRIPTS "/../examples/batch/quorvel-host.cmd")})
            fs::copy_file(from, bin + fs::path(from).filename().string());
        Output("makensis -V1 " + std::string(kBuild == "win64" ? "-DAMD64 " : "") + "'-DQUORVEL=" + kExe + "' '-DOUTFILE=" + bin +
               "quorvel-recipe.exe' '" QRV_SCRIPTS "/../examples/nsis/quorvel.nsi'");
        // Runs the rest of its command line with a temp folder that does not exist.
        std::ofstream(bin + "no-temp.cmd") << "@set TEMP=" + Win(dir) + "\\nowhere\r\n@set TMP=" + Win(dir) + "\\nowhere\r\n@%*\r\n";
    }
    std::string Run(const std::string& recipe, const std::string& folder, const std::string& document, bool noTemp, double& seconds) {
        std::string paths = "'" + Win(folder) + "' '" + Win(folder + "/old notes.txt") + "' '" + Win(document) + "'";
        std::string command = recipe == "nsis"    ? "'" + bin + "quorvel-recipe.exe' /S '/OPEN=" + Win(document) + "' '/D=" + Win(folder) + "'"
                              : recipe == "batch" ? "cmd /c '" + Win(bin + "quorvel-host.cmd") + "' " + paths
                                                  : "'" + bin + "recipe-host.exe' " + paths;
        fs::create_directories(folder), fs::remove(bin + "quorvel-log.txt");
        std::ofstream(folder + "/old notes.txt") << recipe, std::ofstream(folder + "/readme.txt") << "read me";
        auto start = std::chrono::steady_clock::now();
        std::string seen = Wine((noTemp ? "cmd /c '" + Win(bin + "no-temp.cmd") + "' " : "") + command, 180);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return recipe == "nsis" ? Output("cat '" + bin + "quorvel-log.txt'") : seen;
    }
};

// The first line, "free bytes: N", near what Linux reads of the folder's file system; then the rest.
std::string FreeBytesNear(const std::string& seen, const std::string& folder) {
    struct statvfs vfs {};
    statvfs(folder.c_str(), &vfs);
    std::string free = seen.substr(0, seen.find('\n'));
    EXPECT_NEAR(std::atof(free.c_str() + free.find(':') + 1), static_cast<double>(vfs.f_bavail) * vfs.f_frsize, 64.0 * 1024 * 1024) << seen;
    return free.substr(0, 12) + seen.substr(free.size());
}

TEST(EndToEnd, TheRecipesWorkAsHostAuthorsCopyThem) {
    Recipes recipes;
    const std::string trash = kRoot + "/home/.local/share/Trash";
    for (const std::string recipe : {"nsis", "batch", "c"}) {
        std::string folder = recipes.dir + "/" + recipe;
        double seconds = 0;
        fs::remove_all(trash);
        EXPECT_EQ(FreeBytesNear(recipes.Run(recipe, folder, folder + "/readme.txt", false, seconds), folder),
                  "free bytes: \ndeleted:True\nopened, shell code: 33\n") << recipe;
        for (int i = 0; i < 100 && !fs::exists(folder + "/readme.txt.opened"); ++i) system("sleep 0.1");
        EXPECT_EQ(Slurp(trash + "/files/old notes.txt") + Slurp(folder + "/readme.txt.opened"), recipe + "read me") << recipe;
    }
}

TEST(EndToEnd, TheRecipesReportAFailureWithinTheirLimitUnattended) {
    // Each plug-in run that fails shows a box nobody presses: a recipe presses its OK after its limit of
    // 10 s and reports the failure's number, or (the batch file, which cannot press it) ends the run.
    Recipes recipes;
    const std::string ended = "failed: ended after 10 s\n";
    const struct { const char* recipe; bool noTemp; std::string seen; int failures; } rows[] = {
        {"nsis", false, "free bytes: \ndeleted:True\nopened, shell code failed: 5\n", 1},  // a control character in the document's path
        {"batch", false, "free bytes: \ndeleted:True\nopened, shell code " + ended, 1},
        {"c", false, "free bytes: \ndeleted:True\nopened, shell code failed: 5\n", 1},
        {"batch", true, "free bytes " + ended + "deleted " + ended + "opened, shell code " + ended, 3},  // no temp folder
        {"c", true, "free bytes failed: 76\ndeleted failed: 76\nopened, shell code failed: 76\n", 3},
    };
    for (const auto& row : rows) {
        std::string folder = recipes.dir + "/" + row.recipe;
        double seconds = 0;
        std::string seen = recipes.Run(row.recipe, folder, folder + (row.noTemp ? "/readme.txt" : "/read\x1fme.txt"), row.noTemp, seconds);
        EXPECT_EQ(row.noTemp ? seen : FreeBytesNear(seen, folder), row.seen) << row.recipe;
        EXPECT_LT(seconds, row.failures * 20.0 + 10) << row.recipe << ": " << seen;
        std::cout << row.recipe << (row.noTemp ? ", no temp folder" : ", a control character") << ": " << seconds << " s\n" << seen;
    }
}

TEST(EndToEnd, WhereWineActsAsVistaLibrariesStillComeFromTheSystemFolder) {
    // The check plants libraries beside the exe on this Windows; Vista (6.0), where the program takes
    // the older way to restrict the search, is a mode of Wine's: copies of the marker library named
    // like the libraries the program loads, beside it, with Wine told to prefer them, stay unloaded.
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
    EveryCaseHolds(QRV_RELEASE_DIR + std::string(kBuild == "win64" ? "/win64" : "") + "/quorvel-check.exe");  // from the release test
}

}  // namespace
