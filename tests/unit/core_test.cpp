// The core as a host sees it, run against the small Windows: the report's bytes, the error boxes, the exit status and
// what the system was asked, one table of named rows per rule.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "Checked.h"
#include "MFreeSpace.h"
#include "Report.h"
#include "Windows.h"

namespace qrv {
namespace {

using S = FileStatus;

// What is seen of a run: where the report went (when not C:\TEMP\ through an ANSI function), its lines after the fixed
// three with CR LF as a bar, what the system was asked ((W): the W function), each box's number and text.
std::string Seen(const Windows& w) {
    std::string out = w.report.rfind(ReportHead, 0) == 0 ? w.report.substr(ReportHead.size()) : w.report;
    for (size_t at; (at = out.find("\r\n")) != std::string::npos;) out.replace(at, 2, "|");
    if (!w.path.empty() && w.path != "C:\\TEMP\\qrvplug.txt") out = w.path + ": " + out;
    return out + w.asked + w.boxes;
}

// The report of each command, its argument and its value, and what the system was asked.
std::string Free(const std::string& argument, const std::string& value, const std::string& asked) {
    return "[FreeDiskSpace]|Argument = " + argument + "|Return =" + value + "| " + asked;
}
std::string Exec(const std::string& file, const std::string& value, const std::string& asked) {
    return "[Execute]|File = " + file + "|Return =" + value + "| " + asked;
}
std::string Del(const std::string& value, const std::string& asked) {
    return "[Delete]|Argument = |Return =" + value + "| " + asked;
}

// A run, named: its command line, what the small Windows answers, and what is seen of it; the run, for more.
Windows Holds(const char* name, const Str& line, Answers given, const std::string& seen) {
    Windows w(std::move(given));
    w.Run(line);
    EXPECT_EQ(Seen(w) + w.Problems(), seen) << name;  // what the run broke, after what is seen
    return w;
}

TEST(ArgumentSplitter, SplitsAsTheTableAtGetCommandLineSays) {
    std::ifstream source(QRV_SOURCE "/src/core/Form1.cpp");
    const std::regex row(R"re(^//   "((?:[^"\\]|\\.)*)"(?: (\d+))? +->(?: (.*))?$)re");
    int rows = 0;
    for (std::string line; std::getline(source, line);) {
        std::smatch m;
        if (!std::regex_match(line, m, row)) continue;
        Windows w;
        for (size_t i = 0; i < m[1].str().size(); ++i)  // the C string's escapes: \" and \t
            w.line += m[1].str()[i] != '\\' ? m[1].str()[i] : m[1].str()[++i] == 't' ? u'\t' : u'"';
        ArgList list = Form1(w).GetCommandLine(m[2].matched ? std::stoi(m[2]) : 32767);
        std::string args = list[0] ? "0<" + Latin1(*list[0]) + ">" : "";
        for (size_t i = 1; i < list.size(); ++i) args += list[i] ? "<" + Latin1(*list[i]) + ">" : "(absent)";
        EXPECT_EQ(args, m[3].str()) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 16) << "the table at GetCommandLine";
}

TEST(Run, AnEmptyCommandLineSetsTheFirstFieldAlone) {  // with arguments, and unknown keywords: the check's cases
    Windows w;
    w.Run(u"");
    EXPECT_EQ(w.fields[0] + "|" + w.fields[1] + "|" + w.fields[2], "<>|-|-");
}

TEST(Run, ExecuteReportsTheShellsCodeWhateverItIs) {
    Holds("a quoted keyword alone: null", u"\"Execute\"", {.shellCode = 2}, Exec("", " 2", "executing <null>"));
    Holds("empty quotes: no target", u"Execute \"\"", {}, Exec("", " 42", "executing <null>"));
    Holds("a negative code, more arguments", u"Execute first second", {.shellCode = -5, .hostMode = 0x8002},
          Exec("first", "-5", "executing first"));
}

TEST(Run, FreeDiskSpaceReportsTheBytesAvailableWithinTheirRange) {
    const Str c = u"FreeDiskSpace C:\\";
    const std::string overflow = " box 6 Overflow";
    Holds("the largest count", c, {.available = MaxFreeBytes}, Free("C:\\", " 922337203685477", "measuring C:\\"));
    Holds("one byte more", c, {.available = MaxFreeBytes + 1}, "old measuring C:\\" + overflow);
    Holds("refused: 0", u"FreeDiskSpace Q:\\", {.diskOk = false, .available = 5}, Free("Q:\\", " 0", "measuring Q:\\"));
    // The probe for the Ex function frees only a library it loaded itself; the critical-error boxes are held off with
    // the host's other error-mode bits kept (the small Windows holds both).
    Holds("kernel32 loaded by the probe", c, {.hostMode = 0x8002, .loaded = false, .loadable = true},
          Free("C:\\", " 0", "LoadLibraryA(kernel32) FreeLibrary(kernel32) measuring C:\\"));
    Holds("kernel32 not to be loaded", c, {.loaded = false},
          Free("C:\\", " 0", "LoadLibraryA(kernel32) counting clusters C:\\"));
    // Without the Ex function: the cluster counts multiplied in signed 32 bits, never wrapping.
    const std::string clusters = "old counting clusters C:\\" + overflow;
    Holds("clusters: the most", u"FreeDiskSpace \"D:\\a b\"", {.hasEx = false, .clusters = {1, 1, 2147483647}},
          Free("D:\\a b", " 2147483647", "counting clusters D:\\a b"));
    Holds("clusters: 2 GiB", c, {.hasEx = false, .clusters = {8, 512, 524288}}, clusters);
    Holds("clusters: first product", c, {.hasEx = false, .clusters = {65536, 65536, 1}}, clusters);
    Holds("clusters: past 31 bits", c, {.hasEx = false, .clusters = {1, 1, 0x80000000u}}, clusters);
    Holds("clusters: a refusal is 0", u"FreeDiskSpace Q:\\", {.hasEx = false, .diskOk = false, .clusters = {1, 1, 1}},
          Free("Q:\\", " 0", "counting clusters Q:\\"));
}

TEST(Run, DeleteSendsFullNamesToTheBinAndIsTrueOnlyWhenNothingWasSkipped) {
    const std::string invalid = "old full(.) box 5 Invalid procedure call or argument";
    Holds("full names as they are", u"Delete C:\\a.txt \\\\srv\\s\\missing.txt D:\\ \\\\", {},
          Del("True", "deleting C:\\a.txt\\0\\\\srv\\s\\missing.txt\\0D:\\\\0\\\\\\0\\0"));
    Holds("no target: a list of one NUL", u"\"Delete\"", {.deleteCode = 2}, Del("False", "deleting \\0"));
    Holds("the largest 16-bit code", u"Delete C:\\a \"C:\\b c.txt\" \\\\?\\C:\\d", {.deleteCode = 32767},
          Del("False", "deleting (W) C:\\a\\0C:\\b c.txt\\0\\\\?\\C:\\d\\0\\0"));
    Holds("a code past 16 bits", u"Delete C:\\a", {.deleteCode = 32768}, "old deleting C:\\a\\0\\0 box 6 Overflow");
    // The shell keeps undo only for full names: each target that is not has its folder made full, as the system makes
    // it against the current directory, and its last part joined as written (made full, *. would lose its dot and mean
    // every name); one that cannot be made full deletes nothing.
    Holds("dots and blanks last", u"Delete *. sub\\*. \"b. \" d/e..", {},
          Del("True",
              "full(.) full(sub\\.) full(.) full(d/.) deleting "
              "C:\\WORK\\*.\\0C:\\WORK\\sub\\*.\\0C:\\WORK\\b. \\0C:\\WORK\\d/.\\e..\\0\\0"));
    Holds("no last part, or . or ..: made full whole", u"Delete .\\a ..\\b C:x \\y C:/z D: sub\\ . ..\\..", {},
          Del("True",
              "full(.\\.) full(..\\.) full(C:.) full(\\.) full(C:/.) full(D:) full(sub\\) full(.) "
              "full(..\\..) deleting C:\\WORK\\.\\a\\0C:\\WORK\\..\\b\\0C:\\WORK\\C:.\\x\\0C:\\WORK\\y\\0"
              "C:\\WORK\\C:/.\\z\\0C:\\WORK\\D:\\0C:\\WORK\\sub\\\\0C:\\WORK\\0C:\\WORK\\..\\..\\0\\0"));
    Holds("not made full", u"Delete C:\\a.txt b.txt", {.fullPathFails = true}, invalid);
    Holds("made full with a NUL", u"Delete b.txt", {.fullPath = Str(u"C:\\b\0c.txt", 10)}, invalid);
    Windows w;  // from element 0 on, never below it
    bool deleted = false;
    EXPECT_TRUE(!DeleteFiles(w, {Str(u"C:\\0")}, 0, deleted) && deleted);
    EXPECT_EQ(DeleteFiles(w, {}, -1, deleted).number, errInvalidArgument);
}

TEST(Run, TheReportGoesToTheTempFolderTheSystemNames) {
    const std::string x = Exec("x", " 42", "executing x"), t231(231, 'T');
    const std::string invalid = "old executing x box 5 Invalid procedure call or argument";
    Holds("a backslash added", u"Execute x", {.temp = u"C:\\T"}, "C:\\T\\qrvplug.txt: " + x);
    // The name ends at its first NUL (NT may answer more: a stand-in row); without one, or empty, it names no folder.
    Holds("a size that leaves no NUL", u"Execute x", {.tempLength = 8}, invalid);
    Holds("an empty name", u"Execute x", {.temp = u""}, invalid);
    Holds("an answer of 0", u"Execute x", {.tempLength = 0}, invalid);
    Holds("a size past 16 bits", u"Execute x", {.tempLength = 32768}, "old executing x box 6 Overflow");
    // A folder the code page cannot carry goes by its 8.3 form, else by its own name through the W functions: never by
    // a substitute.
    Holds("a folder it lacks, no 8.3 form", u"Execute x", {.temp = u"C:\\Ж\\"}, "(W) C:\\Ж\\qrvplug.txt: " + x);
    Holds("an 8.3 form it lacks too", u"Execute x", {.temp = u"C:\\ЖЖ", .shortNames = {{u"C:\\ЖЖ", u"C:\\Ж"}}},
          "(W) C:\\ЖЖ\\qrvplug.txt: " + x);
    Holds("a report name of 259", u"Execute x", {.temp = u"C:\\" + Str(231, u'T') + u"\\"},
          "C:\\" + t231 + "\\qrvplug.txt: " + x);
    Holds("one longer, W", u"Execute x", {.temp = u"C:\\" + Str(232, u'T') + u"\\"},
          "(W) C:\\" + t231 + "T\\qrvplug.txt: " + x);
}

TEST(Run, ANameGoesWholeToTheANSIFunctionOnlyWhereTheCodePageCarriesItExactly) {
    Holds("a current folder it lacks, by 8.3", u"FreeDiskSpace",
          {.current = u"C:\\aａ", .shortNames = {{u"C:\\aａ", u"C:\\AA~1"}}}, Free("", " 0", "measuring C:\\AA~1"));
    Holds("a current folder it lacks", u"FreeDiskSpace", {.current = u"C:\\aａ"},
          Free("", " 0", "measuring (W) C:\\aａ"));
    // A name the code page cannot carry goes whole to the W function; line 5 shows it in the code page.
    Holds("a letter it lacks", u"Execute C:\\Ж", {}, Exec("C:\\?", " 42", "executing (W) C:\\Ж"));
    Holds("Delete in a current folder it lacks", u"Delete a.txt", {.current = u"C:\\Ж"},
          Del("True", "full(.) deleting (W) C:\\Ж\\a.txt\\0\\0"));
    // A \\?\ form, or a name made longer than 259 characters (the report's name: above), goes to the W function.
    Holds("a \\\\?\\ form, clusters", u"FreeDiskSpace \\\\?\\C:\\x", {.hasEx = false},
          Free("\\\\?\\C:\\x", " 0", "counting clusters (W) \\\\?\\C:\\x"));
    Holds("made long by the current folder", u"Delete a.txt", {.current = u"C:\\" + Str(251, u'c')},
          Del("True", "full(.) deleting (W) C:\\" + std::string(251, 'c') + "\\a.txt\\0\\0"));
}

TEST(Run, AControlCharacterInAPathIsRefusedBeforeAnythingHappens) {
    const std::string invalid = "old box 5 Invalid procedure call or argument";
    Holds("a unit separator in a folder", u"FreeDiskSpace C:\\\x1f", {}, invalid);
    Holds("one among Delete's targets", u"Delete C:\\a.txt \"C:\\b\x01.txt\"", {}, invalid);
}

TEST(Report, ANewFileOfItsOwnIsCheckedWrittenAndMovedOverTheName) {
    // Each step's failure has its own number (54, 57, 5: stand-in rows); the new file goes, the old report stays.
    const std::string old = "old executing x box ";
    Holds("no new file allowed", u"Execute x", {.createStatus = S::AccessDenied, .hostMode = 0x8002},
          old + "70 Permission denied");
    Holds("a bad name", u"Execute x", {.createStatus = S::BadName}, old + "52 Bad file name or number");
    Holds("another refusal", u"Execute x", {.createStatus = S::Other}, old + "75 Path/File access error");
    Holds("a full disk", u"Execute x", {.writesBeforeFailure = 2, .writeStatus = S::DiskFull}, old + "61 Disk full");
    Holds("the name not to be replaced", u"Execute x", {.moveStatus = S::AccessDenied}, old + "70 Permission denied");
    // Elevated, the guard against others' junctions goes on after the command's work (Problems).
    Holds("elevated, refused", u"Delete C:\\a", {.deleteCode = 5, .elevated = true},
          Del("False", "deleting C:\\a\\0\\0"));
    auto tried = [](const char* name, Answers given, const std::string& seen, const char* names) {
        EXPECT_EQ(Holds(name, u"Execute x", std::move(given), seen).tried, names) << name;
    };
    tried("the largest process id, one name taken", {.takenNames = 1, .pid = 4294967295u},
          Exec("x", " 42", "executing x"), "qrvplug.txt.4294967295-0 qrvplug.txt.4294967295-1 ");
    tried("every name taken", {.takenNames = 4}, old + "58 File already exists",
          "qrvplug.txt.0000004242-0 qrvplug.txt.0000004242-1 qrvplug.txt.0000004242-2 qrvplug.txt.0000004242-3 ");
}

TEST(Texts, BuildCopyMoveAndCutAsTheyShould) {
    Str s(3, u'x'), grown, taken(u"ab");
    for (int i = 0; i < 40; ++i) grown += static_cast<char16_t>(u'a' + i % 26);
    grown += grown;  // reads itself while it grows
    Str moved(static_cast<Str&&>(taken)), copy = moved;
    EXPECT_EQ(Latin1(s) + "|" + Latin1(Str(0, u'x')) + "|" + Latin1(grown.substr(38, 4)) + "|" +
                  Latin1(grown.substr(78, 9)) + "|" + Latin1(taken) + "|" + Latin1(copy + u'!'),
              "xxx||mnab|mn||ab!");
    ArgList list{Text(), Text(u"a")}, kept(static_cast<ArgList&&>(list));
    EXPECT_TRUE(taken.empty() && Str() == u"" && grown.size() == 80 && !Text() && Text(u""));
    EXPECT_TRUE(list.size() == 0 && kept.size() == 2 && Value(kept[1]) == u"a");
}

TEST(Failures, ANumberOfNoFailureHasTheLastText) {  // each failure's own text is in its row's box
    for (int32_t number : {0, 1, 7, 99}) EXPECT_STREQ(Description(number), "Unknown failure") << number;
}

TEST(CheckedArithmetic, EachWidthTakesExactlyItsRange) {
    int16_t n16 = 0;
    int32_t n32 = 0;
    for (int64_t v : {-32768, 32767}) EXPECT_TRUE(!ToInt16(v, n16) && n16 == v) << v;
    for (int64_t v : {-32769, 32768}) EXPECT_EQ(ToInt16(v, n16).number, errOverflow) << v;
    for (int64_t v : {INT32_MIN, INT32_MAX}) EXPECT_TRUE(!ToInt32(v, n32) && n32 == v) << v;
    for (int64_t v : {int64_t{INT32_MIN} - 1, int64_t{INT32_MAX} + 1})
        EXPECT_EQ(ToInt32(v, n32).number, errOverflow) << v;
}

}  // namespace
}  // namespace qrv
