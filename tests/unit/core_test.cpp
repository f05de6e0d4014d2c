// The core as a host sees it, run against the small Windows: the report's bytes, the error boxes, the exit
// status and what the system was asked, one table of named rows per rule.
#include <gtest/gtest.h>

#include "Checked.h"
#include "MFreeSpace.h"
#include "Report.h"
#include "Windows.h"

namespace qrv {
namespace {

using S = FileStatus;

// What is seen of a run: where the report went (when not C:\TEMP\ through an ANSI function), its lines after the
// fixed three with CR LF as a bar, what the system was asked ((W): the W function), each box's number and text.
std::string Seen(const Windows& w) {
    const std::string head = "[Plug-in]\r\nName = Quorvel\r\nVersion = 1.0\r\n";
    std::string out = w.report.rfind(head, 0) == 0 ? w.report.substr(head.size()) : w.report;
    for (size_t at; (at = out.find("\r\n")) != std::string::npos;) out.replace(at, 2, "|");
    if (!w.path.empty() && w.path != "C:\\TEMP\\qrvplug.txt") out = w.path + ": " + out;
    return out + w.asked + w.boxes;
}

// A run, named: its command line, what the small Windows answers, and what is seen of it.
void Holds(const char* name, const Str& line, Answers given, const std::string& seen) {
    Windows w(std::move(given));
    EXPECT_EQ(Seen(w.Run(line)), seen) << name;
    EXPECT_EQ(w.Problems(), "") << name;
}

TEST(ArgumentSplitter, BlanksTabsAndQuotesAsTheHostWritesThem) {
    const struct {
        const char16_t* text;
        int32_t maxArgs;
        const char* args;
    } rows[] = {
        // GetCommandLine's table
        {u"", 32767, ""},
        {u" \t  \t", 32767, ""},
        {u"Delete \"a b.txt\" c", 32767, "|Delete|a b.txt|c"},
        {u"a\"b c\"d", 32767, "|ab cd"},
        {u"x \"\" y", 32767, "|x|y"},
        {u"\"a\tb\"", 32767, "|a|b"},
        {u"\"a b", 32767, "|a b"},
        {u"x \" y\"", 32767, "|x |y"},
        {u"\" y\"", 32767, "[ ]|y"},
        {u"\" \"a b c d e", 32767, "[ ]|a|b|c|d|e"},
        {u"a    b\t\t c", 32767, "|a|b|c"},
        {u"  lead", 32767, "|lead"},
        {u"a b c", 2, "|a|b"},
        {u"a b c", 1, "|a"},
        {u"a b c", 0, ""},
        {u"\"a \" b", 1, "|a "},
    };
    for (const auto& row : rows) {  // element 0 in brackets where it was set, then each argument behind a bar
        Windows w;
        w.line = row.text;
        ArgList list = Form1(w).GetCommandLine(row.maxArgs);
        std::string args = list[0] ? "[" + Latin1(*list[0]) + "]" : "";
        for (size_t i = 1; i < list.size(); ++i) args += "|" + (list[i] ? Latin1(*list[i]) : "<absent>");
        EXPECT_EQ(args, row.args) << "[" << Utf8(row.text) << "]";
    }
}

TEST(Run, AKeywordExactlyAsWrittenRunsItsCommandAndNothingElseDoes) {
    Holds("no argument", u"", {}, "old");
    Holds("an unknown keyword", u"Unknown \"x y\" z", {}, "old");
    Holds("execute in lower case", u"execute x", {}, "old");
    Holds("DELETE in capitals", u"DELETE x", {}, "old");
    Holds("freediskspace in lower case", u"freediskspace C:\\", {}, "old");
    Holds("a keyword with more after it", u"Execute2 x", {}, "old");
    Holds("a quoted keyword", u"\"Execute\" x", {}, "[Execute]|File = x|Return = 42| executing x");
}

TEST(Run, StatusFieldsHoldTheCommandLineAndTheFirstTwoArguments) {
    auto fields = [](const char* name, const Str& line, Answers given, const char* shown) {
        Windows w(std::move(given));
        w.Run(line);
        EXPECT_EQ(w.fields[0] + "|" + w.fields[1] + "|" + w.fields[2], shown) << name;
    };
    fields("no argument", u"", {}, "<>|-|-");
    fields("three arguments", u"Unknown \"x y\" z", {}, "<Unknown \"x y\" z>|<Unknown>|<x y>");
    fields("the free bytes, then the temp folder", u"FreeDiskSpace C:\\", {.available = 1024},
           "1024|<FreeDiskSpace>|C:\\TEMP\\");
    fields("an overflow before the bytes are shown", u"FreeDiskSpace C:\\", {.available = MaxFreeBytes + 1},
           "<FreeDiskSpace C:\\>|<FreeDiskSpace>|<C:\\>");
    fields("the bytes shown, then no temp folder", u"FreeDiskSpace C:\\", {.tempLength = 0, .available = 55},
           "55|<FreeDiskSpace>|<C:\\>");
}

TEST(Run, ExecuteReportsTheShellsCodeWhateverItIs) {
    Holds("a quoted target with blanks", u"Execute \"C:\\My Files\\a b.txt\"", {},
          "[Execute]|File = C:\\My Files\\a b.txt|Return = 42| executing C:\\My Files\\a b.txt");
    Holds("no target: a null pointer", u"\"Execute\"", {.shellCode = 2},
          "[Execute]|File = |Return = 2| executing <null>");
    Holds("empty quotes: no target", u"Execute \"\"", {}, "[Execute]|File = |Return = 42| executing <null>");
    Holds("a negative code; more arguments dropped", u"Execute first second", {.shellCode = -5},
          "[Execute]|File = first|Return =-5| executing first");
}

TEST(Run, FreeDiskSpaceReportsTheBytesAvailableWithinTheirRange) {
    Holds("a root", u"FreeDiskSpace C:\\", {.available = 1024},
          "[FreeDiskSpace]|Argument = C:\\|Return = 1024| measuring C:\\");
    Holds("no path: the current directory", u"FreeDiskSpace", {.available = 7},
          "[FreeDiskSpace]|Argument = |Return = 7| measuring C:\\WORK");
    Holds("the largest count", u"FreeDiskSpace C:\\", {.available = MaxFreeBytes},
          "[FreeDiskSpace]|Argument = C:\\|Return = 922337203685477| measuring C:\\");
    Holds("one byte more", u"FreeDiskSpace C:\\", {.available = MaxFreeBytes + 1}, "old measuring C:\\ box 6 Overflow");
    Holds("a refusal is 0", u"FreeDiskSpace Q:\\", {.diskOk = false, .available = 5},
          "[FreeDiskSpace]|Argument = Q:\\|Return = 0| measuring Q:\\");
    Holds("measured, then no temp folder", u"FreeDiskSpace C:\\", {.tempLength = 0},
          "old measuring C:\\ box 5 Invalid procedure call or argument");
    // Without the Ex function: the cluster counts multiplied in signed 32 bits, never wrapping.
    Holds("clusters: the largest 32-bit count", u"FreeDiskSpace \"D:\\a b\"",
          {.hasEx = false, .clusters = {1, 1, 2147483647}},
          "[FreeDiskSpace]|Argument = D:\\a b|Return = 2147483647| counting clusters D:\\a b");
    Holds("clusters: just under 2 GiB", u"FreeDiskSpace C:\\", {.hasEx = false, .clusters = {8, 512, 524287}},
          "[FreeDiskSpace]|Argument = C:\\|Return = 2147479552| counting clusters C:\\");
    Holds("clusters: 2 GiB", u"FreeDiskSpace C:\\", {.hasEx = false, .clusters = {8, 512, 524288}},
          "old counting clusters C:\\ box 6 Overflow");
    Holds("clusters: the first product too large", u"FreeDiskSpace C:\\",
          {.hasEx = false, .clusters = {65536, 65536, 1}}, "old counting clusters C:\\ box 6 Overflow");
    Holds("clusters: a count past 31 bits", u"FreeDiskSpace C:\\", {.hasEx = false, .clusters = {1, 1, 0x80000000u}},
          "old counting clusters C:\\ box 6 Overflow");
    Holds("clusters: a refusal is 0", u"FreeDiskSpace Q:\\", {.hasEx = false, .diskOk = false, .clusters = {1, 1, 1}},
          "[FreeDiskSpace]|Argument = Q:\\|Return = 0| counting clusters Q:\\");
}

TEST(Run, DeleteSendsFullNamesToTheBinAndIsTrueOnlyWhenNothingWasSkipped) {
    const std::string invalid = " box 5 Invalid procedure call or argument";
    Holds("full names as they are", u"Delete C:\\a.txt \\\\srv\\s\\missing.txt D:\\ \\\\", {},
          "[Delete]|Argument = |Return =True| deleting C:\\a.txt\\0\\\\srv\\s\\missing.txt\\0D:\\\\0\\\\\\0\\0");
    Holds("no target: a list of one NUL", u"\"Delete\"", {.deleteCode = 2},
          "[Delete]|Argument = |Return =False| deleting \\0");
    Holds("the largest 16-bit code", u"Delete C:\\a \"C:\\b c.txt\" \\\\?\\C:\\d", {.deleteCode = 32767},
          "[Delete]|Argument = |Return =False| deleting (W) C:\\a\\0C:\\b c.txt\\0\\\\?\\C:\\d\\0\\0");
    Holds("a code past 16 bits", u"Delete C:\\a", {.deleteCode = 32768}, "old deleting C:\\a\\0\\0 box 6 Overflow");
    Holds("a code below 16 bits", u"Delete C:\\a", {.deleteCode = -32769}, "old deleting C:\\a\\0\\0 box 6 Overflow");
    // The shell keeps undo only for full names: each target that is not has its folder made full, as the
    // system makes it against the current directory, and its last part joined as written (made full, *.
    // would lose its dot and mean every name); one that cannot be made full deletes nothing.
    Holds("relative names", u"Delete notes.txt *.log", {},
          "[Delete]|Argument = |Return =True| full(.) full(.) deleting C:\\WORK\\notes.txt\\0C:\\WORK\\*.log\\0\\0");
    Holds("last parts ending in dots and blanks", u"Delete *. sub\\*. \"b. \" d/e..", {},
          "[Delete]|Argument = |Return =True| full(.) full(sub\\.) full(.) full(d/.) deleting "
          "C:\\WORK\\*.\\0C:\\WORK\\sub\\*.\\0C:\\WORK\\b. \\0C:\\WORK\\d/.\\e..\\0\\0");
    Holds("no last part, or . or ..: made full whole", u"Delete .\\a ..\\b C:x \\y C:/z D: sub\\ . ..\\..", {},
          "[Delete]|Argument = |Return =True| full(.\\.) full(..\\.) full(C:.) full(\\.) full(C:/.) full(D:) "
          "full(sub\\) full(.) full(..\\..) deleting "
          "C:\\WORK\\.\\a\\0C:\\WORK\\..\\b\\0C:\\WORK\\C:.\\x\\0C:\\WORK\\y\\0"
          "C:\\WORK\\C:/.\\z\\0C:\\WORK\\D:\\0C:\\WORK\\sub\\\\0C:\\WORK\\0C:\\WORK\\..\\..\\0\\0");
    Holds("a file the shell skipped: False", u"Delete C:\\a", {.aborted = true},
          "[Delete]|Argument = |Return =False| deleting C:\\a\\0\\0");
    Holds("a name that cannot be made full", u"Delete C:\\a.txt b.txt", {.fullPathFails = true},
          "old full(.)" + invalid);
    Holds("a name made full that is not", u"Delete b.txt", {.fullPath = u"b.txt"}, "old full(.)" + invalid);
    Holds("made full with a NUL in it", u"Delete b.txt", {.fullPath = Str(u"C:\\b\0c.txt", 10)},
          "old full(.)" + invalid);
    Windows w;  // never below element 0
    ArgList args{Str(u"C:\\0"), Str(u"Delete"), Str(u"a")};
    bool deleted = false;
    EXPECT_TRUE(!DeleteFiles(w, args, 0, deleted) && deleted);
    EXPECT_EQ(w.asked, " full(.) full(.) deleting C:\\0\\0C:\\WORK\\Delete\\0C:\\WORK\\a\\0\\0");
    EXPECT_EQ(DeleteFiles(w, args, -1, deleted).number, errInvalidArgument);
}

TEST(Run, TheReportGoesToTheTempFolderTheSystemNames) {
    const std::string x = "[Execute]|File = x|Return = 42| executing x", t231(231, 'T');
    const std::string invalid = "old executing x box 5 Invalid procedure call or argument";
    Holds("a backslash added", u"Execute x", {.temp = u"C:\\T"}, "C:\\T\\qrvplug.txt: " + x);
    Holds("a backslash not doubled", u"Execute x", {.temp = u"C:\\T\\"}, "C:\\T\\qrvplug.txt: " + x);
    // NT may answer more than the name needs: it ends at the first NUL; a buffer without one, or empty before
    // it, names no folder.
    Holds("a size larger than the name", u"Execute x", {.tempLength = 10}, x);
    Holds("a size that leaves no NUL", u"Execute x", {.tempLength = 8}, invalid);
    Holds("an empty name", u"Execute x", {.temp = u""}, invalid);
    Holds("an answer of 0", u"Execute x", {.tempLength = 0}, invalid);
    Holds("a size past 16 bits", u"Execute x", {.tempLength = 32768}, "old executing x box 6 Overflow");
    // A folder the code page cannot carry goes by its 8.3 form, else by its own name through the W
    // functions: never by a substitute.
    Holds("a folder the code page lacks, by its 8.3 form", u"Execute x",
          {.temp = u"C:\\Ж\\", .shortNames = {{u"C:\\Ж\\", u"C:\\D4E2~1\\"}}}, "C:\\D4E2~1\\qrvplug.txt: " + x);
    Holds("a folder the code page lacks, no 8.3 form", u"Execute x", {.temp = u"C:\\Ж\\"},
          "(W) C:\\Ж\\qrvplug.txt: " + x);
    Holds("an 8.3 form the code page lacks too", u"Execute x",
          {.temp = u"C:\\ЖЖ", .shortNames = {{u"C:\\ЖЖ", u"C:\\Ж"}}}, "(W) C:\\ЖЖ\\qrvplug.txt: " + x);
    Holds("the longest report name ANSI takes", u"Execute x", {.temp = u"C:\\" + Str(231, u'T') + u"\\"},
          "C:\\" + t231 + "\\qrvplug.txt: " + x);
    Holds("one longer: the W functions", u"Execute x", {.temp = u"C:\\" + Str(232, u'T') + u"\\"},
          "(W) C:\\" + t231 + "T\\qrvplug.txt: " + x);
}

TEST(Run, ANameGoesWholeToTheANSIFunctionOnlyWhereTheCodePageCarriesItExactly) {
    const std::string a256(256, 'a');  // C:\ and it: 259 characters
    const Str free = u"FreeDiskSpace C:\\" + Str(256, u'a');
    Holds("a current directory the code page lacks, by its 8.3 form", u"FreeDiskSpace",
          {.current = u"C:\\aａ", .shortNames = {{u"C:\\aａ", u"C:\\AA~1"}}},
          "[FreeDiskSpace]|Argument = |Return = 0| measuring C:\\AA~1");
    Holds("a current directory the code page lacks", u"FreeDiskSpace", {.current = u"C:\\aａ"},
          "[FreeDiskSpace]|Argument = |Return = 0| measuring (W) C:\\aａ");
    // A name the code page cannot carry goes whole to the W function; line 5 shows it in the code page.
    Holds("Execute of a letter the code page lacks", u"Execute C:\\Ж", {},
          "[Execute]|File = C:\\?|Return = 42| executing (W) C:\\Ж");
    Holds("FreeDiskSpace of letters it lacks", u"FreeDiskSpace \"D:\\データ\"", {},
          "[FreeDiskSpace]|Argument = D:\\???|Return = 0| measuring (W) D:\\データ");
    Holds("clusters of a letter it lacks", u"FreeDiskSpace D:\\ａ", {.hasEx = false},
          "[FreeDiskSpace]|Argument = D:\\?|Return = 0| counting clusters (W) D:\\ａ");
    Holds("one name it lacks sends the list", u"Delete C:\\a.txt C:\\文档.txt", {},
          "[Delete]|Argument = |Return =True| deleting (W) C:\\a.txt\\0C:\\文档.txt\\0\\0");
    Holds("a relative name it lacks", u"Delete ａ.txt", {},
          "[Delete]|Argument = |Return =True| full(.) deleting (W) C:\\WORK\\ａ.txt\\0\\0");
    Holds("a current directory it lacks, for Delete", u"Delete a.txt", {.current = u"C:\\Ж"},
          "[Delete]|Argument = |Return =True| full(.) deleting (W) C:\\Ж\\a.txt\\0\\0");
    // A name longer than 259 characters, or a \\?\ form, goes to the W function as it is.
    Holds("the longest name ANSI takes", free, {},
          "[FreeDiskSpace]|Argument = C:\\" + a256 + "|Return = 0| measuring C:\\" + a256);
    Holds("one longer", free + u"b", {},
          "[FreeDiskSpace]|Argument = C:\\" + a256 + "b|Return = 0| measuring (W) C:\\" + a256 + "b");
    Holds("a \\\\?\\ form, clusters", u"FreeDiskSpace \\\\?\\C:\\x", {.hasEx = false},
          "[FreeDiskSpace]|Argument = \\\\?\\C:\\x|Return = 0| counting clusters (W) \\\\?\\C:\\x");
    Holds("a \\\\?\\ form, Execute", u"Execute \\\\?\\C:\\x", {},
          "[Execute]|File = \\\\?\\C:\\x|Return = 42| executing (W) \\\\?\\C:\\x");
    Holds("a long name in a delete list", u"Delete C:\\" + Str(256, u'a') + u"b", {},
          "[Delete]|Argument = |Return =True| deleting (W) C:\\" + a256 + "b\\0\\0");
    Holds("a name made long by the current directory", u"Delete a.txt", {.current = u"C:\\" + Str(251, u'c')},
          "[Delete]|Argument = |Return =True| full(.) deleting (W) C:\\" + std::string(251, 'c') + "\\a.txt\\0\\0");
}

TEST(Run, CriticalErrorBoxesAreHeldOffOnTheDiskAndTheHostsModeComesBack) {
    // The rule is the small Windows' own (Problems); these rows give it a host's mode with other bits.
    Holds("FreeDiskSpace", u"FreeDiskSpace C:\\", {.hostMode = 0x8002},
          "[FreeDiskSpace]|Argument = C:\\|Return = 0| measuring C:\\");
    Holds("Execute", u"Execute x", {.hostMode = 0x8002}, "[Execute]|File = x|Return = 42| executing x");
    Holds("Delete in the mode that holds them off", u"Delete C:\\a", {.hostMode = 1},
          "[Delete]|Argument = |Return =True| deleting C:\\a\\0\\0");
    Holds("a report that fails", u"Execute x", {.createStatus = S::AccessDenied, .hostMode = 0x8002},
          "old executing x box 70 Permission denied");
}

TEST(Run, AControlCharacterInAPathIsRefusedBeforeAnythingHappens) {
    const std::string invalid = "old box 5 Invalid procedure call or argument";
    Holds("CR LF in Execute's target", u"Execute \"C:\\x\r\nReturn = 42\"", {}, invalid);
    Holds("a unit separator in a folder", u"FreeDiskSpace C:\\\x1f", {}, invalid);
    Holds("one among Delete's targets", u"Delete C:\\a.txt \"C:\\b\x01.txt\"", {}, invalid);
}

TEST(Report, ANewFileOfItsOwnIsCheckedWrittenAndMovedOverTheName) {
    const std::string old = "old executing x box ";
    // Each step's failure has its own number; the new file goes and the old report stays.
    Holds("no temp folder", u"Execute x", {.createStatus = S::PathNotFound}, old + "76 Path not found");
    Holds("no new file allowed", u"Execute x", {.createStatus = S::AccessDenied}, old + "70 Permission denied");
    Holds("a bad name", u"Execute x", {.createStatus = S::BadName}, old + "52 Bad file name or number");
    Holds("another refusal", u"Execute x", {.createStatus = S::Other}, old + "75 Path/File access error");
    Holds("every name taken", u"Execute x", {.takenNames = 4}, old + "58 File already exists");
    Holds("not a plain file of one link", u"Execute x", {.plainStatus = S::NotPlain}, old + "54 Bad file mode");
    Holds("a full disk", u"Execute x", {.writesBeforeFailure = 2, .writeStatus = S::DiskFull}, old + "61 Disk full");
    Holds("a short write", u"Execute x", {.writesBeforeFailure = 5, .writeStatus = S::ShortWrite},
          old + "57 Device I/O error");
    Holds("a conversion that fails", u"Execute x", {.writesBeforeFailure = 0, .writeStatus = S::Unconvertible},
          old + "5 Invalid procedure call or argument");
    Holds("another write failure", u"Execute x", {.writesBeforeFailure = 4, .writeStatus = S::Other},
          old + "75 Path/File access error");
    Holds("the old report held open", u"Execute x", {.moveStatus = S::InUse}, old + "55 File already open");
    Holds("a folder at the name", u"Execute x", {.moveStatus = S::Folder}, old + "75 Path/File access error");
    Holds("the name not to be replaced", u"Execute x", {.moveStatus = S::AccessDenied}, old + "70 Permission denied");
    // Elevated, the guard against others' junctions goes on after the command's work (Problems).
    Holds("elevated", u"Execute x", {.elevated = true}, "[Execute]|File = x|Return = 42| executing x");
    Holds("elevated, a failed delete", u"Delete C:\\a", {.deleteCode = 5, .elevated = true},
          "[Delete]|Argument = |Return =False| deleting C:\\a\\0\\0");
    auto tried = [](const char* name, Answers given, const char* names) {
        Windows w(std::move(given));
        EXPECT_EQ(Seen(w.Run(u"Execute x")), "[Execute]|File = x|Return = 42| executing x") << name;
        EXPECT_EQ(w.tried, names) << name;
    };
    tried("the largest process id, one name taken", {.takenNames = 1, .pid = 4294967295u},
          "qrvplug.txt.4294967295-0 qrvplug.txt.4294967295-1 ");
    tried("three names taken", {.takenNames = 3},
          "qrvplug.txt.0000004242-0 qrvplug.txt.0000004242-1 qrvplug.txt.0000004242-2 qrvplug.txt.0000004242-3 ");
}

TEST(APIExists, FreesOnlyWhatItLoadedItself) {
    const struct {
        const char* library;
        const char* function;
        bool answer;
        const char* asked;
    } rows[] = {
        {"extra", "Fn", true, " LoadLibraryA(extra) FreeLibrary(extra)"},
        {"extra", "Other", false, " LoadLibraryA(extra) FreeLibrary(extra)"},
        {"kernel32", "GetDiskFreeSpaceExA", true, ""},  // already loaded: not freed
        {"kernel32", "Other", false, ""},
        {"absent", "Fn", false, " LoadLibraryA(absent)"},  // nothing loaded: nothing asked, nothing freed
    };
    for (const auto& row : rows) {
        Windows w({.loadable = {"extra"}, .exports = {"extra!Fn"}});
        EXPECT_EQ(APIExists(w, row.library, row.function), row.answer) << row.library << "!" << row.function;
        EXPECT_EQ(w.asked, row.asked) << row.library << "!" << row.function;
    }
}

TEST(NumberText, ABlankBeforeZeroAndPositiveNumbersAndEveryDigit) {
    const struct {
        int64_t value;
        const char* text;
    } rows[] = {
        {0, " 0"},
        {7, " 7"},
        {-5, "-5"},
        {65535, " 65535"},
        {65536, " 65536"},
        {4294967296, " 4294967296"},
        {MaxFreeBytes, " 922337203685477"},
        {INT64_MAX, " 9223372036854775807"},
        {INT64_MIN, "-9223372036854775808"},
    };
    for (const auto& row : rows) EXPECT_EQ(Latin1(NumberText(row.value)), row.text) << row.value;
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
    EXPECT_TRUE(taken.empty() && grown.size() == 80 && !Text() && Text(u"") && !(Text() == Text(u"")));
    EXPECT_TRUE(list.size() == 0 && kept.size() == 2 && Value(kept[1]) == u"a");
    // Equal only character for character, to the end of both; a NUL inside a text is a character.
    const Str ab(u"ab"), nul(u"a\0", 2);
    EXPECT_TRUE(ab == u"ab" && !(ab == u"ac") && !(ab == u"xb") && !(ab == u"a") && !(ab == u"abc") && !(nul == u"a") &&
                Str() == u"" && Str(u"").empty() && Str(u"a").size() == 1);
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
