// The core as a host sees it, run against the fake platform: the report's
// bytes, the error boxes and the exit status, one table per rule.
#include <gtest/gtest.h>

#include <functional>

#include "../../src/win32/Division.h"
#include "Checked.h"
#include "Fake.h"
#include "MFreeSpace.h"

namespace qrv {
namespace {

using testing::_;
using Given = std::function<void(Windows&)>;  // what the small Windows holds for a row

TEST(ArgumentSplitter, BlanksTabsAndQuotesAsTheHostWritesThem) {
    const struct { const char* text; int32_t maxArgs; const char* args; } rows[] = {
        {"", 32767, ""},
        {" \t  \t", 32767, ""},
        {"Delete \"a b.txt\" c", 32767, "|Delete|a b.txt|c"},
        {"a\"b c\"d", 32767, "|ab cd"},  // text on both sides of a quote joins
        {"x \"\" y", 32767, "|x|y"},     // quotes around nothing are no argument
        {"\"a\tb\"", 32767, "|a|b"},     // a tab separates, even inside quotes
        {"\"a b", 32767, "|a b"},        // an unclosed quote runs to the end
        {"x \" y\"", 32767, "|x |y"},    // a quoted blank joins the argument before it,
        {"\" y\"", 32767, "[ ]|y"},      // or element 0 where there is none
        {"\" \"a b c d e", 32767, "[ ]|a|b|c|d|e"},  // which outlives the list's growth
        {"a    b\t\t c", 32767, "|a|b|c"},
        {"  lead", 32767, "|lead"},
        {"a b c", 2, "|a|b"},
        {"a b c", 1, "|a"},
        {"a b c", 0, ""},
        {"\"a \" b", 1, "|a "},  // quoted blanks still join the last argument taken
    };
    for (const auto& row : rows) {  // element 0 in brackets where it was set, then each argument behind a bar
        Fake f;
        f.line = row.text;
        ArgList list = Form1(f).GetCommandLine(row.maxArgs);
        std::string args = list[0] ? "[" + Ansi(*list[0]) + "]" : "";
        for (size_t i = 1; i < list.size(); ++i) args += "|" + (list[i] ? Ansi(*list[i]) : "<absent>");
        EXPECT_EQ(args, row.args) << "[" << row.text << "]";
    }
}

// A run as the host sees it: where the report went (when not C:\TEMP\ through CreateFileA), its lines after the fixed
// three, CR LF as a bar, what the shell was asked to delete ("(W)": SHFileOperationW), each box's number and text.
// Checks each box's frame, the exit status (the first failure's), the hidden form and the error mode of every call.
std::string Seen(const Windows& f) {
    const std::string head = "[Plug-in]\r\nName = Quorvel\r\nVersion = 1.0\r\n";
    const std::string frame = "Plug-in Quorvel\nError in Form_Load()\rErr code  ";
    std::string out = f.report.rfind(head, 0) == 0 ? f.report.substr(head.size()) : f.report;
    for (size_t at; (at = out.find("\r\n")) != std::string::npos;) out.replace(at, 2, "|");
    if (!f.path.empty() && f.path != "C:\\TEMP\\qrvplug.txt") out = f.path + ": " + out;
    if (!f.made.empty()) out += " left " + Utf8(f.made);  // a new file the run neither moved nor removed
    EXPECT_EQ(f.wrongMode, "");
    if (const ShellFileRequest& r = f.request; r.operation) {  // to the recycle bin, no confirmation, no error dialog
        EXPECT_TRUE(r.operation == 3 && r.flags == 0x450);
        out += f.deleteChars == Chars::Wide ? " deleting (W) " : " deleting ";
        for (char c : Utf8(r.from)) out += c ? std::string(1, c) : "\\0";
    }
    int first = 0;
    for (std::string box : f.boxes) {
        size_t at = box.find("\r\r");
        EXPECT_TRUE(box.rfind(frame, 0) == 0 && at != std::string::npos) << box;
        out += " box " + (box = box.replace(at, 2, " ").substr(frame.size()));
        first = first ? first : std::atoi(box.c_str());
    }
    EXPECT_EQ(f.exitStatus, first);
    EXPECT_TRUE(!f.visible && f.minimized);
    return out;
}

TEST(Run, WhatTheHostSeesOfEachCommand) {
    const std::string a256(256, 'a'), t231(231, 'T');  // C:\ and a256, or the report's new name in C:\t231\: 259 characters, the most the ANSI functions take
    const struct { std::string line; Given given; std::string seen; const char* fields = nullptr; const char* tried = nullptr; } rows[] = {
        // No keyword, or none of the three exactly: nothing runs, the old report stays.
        {"", {}, "old", "<>|-|-"},
        {"Unknown \"x y\" z", {}, "old", "<Unknown \"x y\" z>|<Unknown>|<x y>"},
        // Execute reports the shell's code, whatever it is; no target is a null pointer.
        {"Execute \"C:\\My Files\\a b.txt\"",
         [](Windows& f) { EXPECT_CALL(f, ShellExecute(Chars::Ansi, 0x10010, Text(u"Open"), Text(u"C:\\My Files\\a b.txt"), Text(), Text(u"0"), 1)); },
         "[Execute]|File = C:\\My Files\\a b.txt|Return = 42|"},
        {"\"Execute\"", [](Windows& f) { f.shellCode = 2, EXPECT_CALL(f, ShellExecute(Chars::Ansi, _, _, Text(), _, _, _)); }, "[Execute]|File = |Return = 2|"},
        {"Execute \"\"", [](Windows& f) { EXPECT_CALL(f, ShellExecute(_, _, _, Text(), _, _, _)); }, "[Execute]|File = |Return = 42|"},
        {"Execute first second third", [](Windows& f) { f.shellCode = -5; }, "[Execute]|File = first|Return =-5|"},
        // FreeDiskSpace: the bytes available to the caller, within the fixed-point range.
        {"FreeDiskSpace C:\\", [](Windows& f) { f.available = 1024; }, "[FreeDiskSpace]|Argument = C:\\|Return = 1024|",
         "1024|<FreeDiskSpace>|C:\\TEMP\\"},
        {"FreeDiskSpace", [](Windows& f) { f.available = 7, EXPECT_CALL(f, GetDiskFreeSpaceEx(Chars::Ansi, Str(u"C:\\WORK"), _)); },
         "[FreeDiskSpace]|Argument = |Return = 7|"},
        {"FreeDiskSpace C:\\", [](Windows& f) { f.available = MaxFreeBytes; }, "[FreeDiskSpace]|Argument = C:\\|Return = 922337203685477|"},
        {"FreeDiskSpace C:\\", [](Windows& f) { f.available = MaxFreeBytes + 1; }, "old box 6 Overflow", "<FreeDiskSpace C:\\>|<FreeDiskSpace>|<C:\\>"},
        {"FreeDiskSpace Q:\\", [](Windows& f) { f.available = 5, f.diskOk = false; }, "[FreeDiskSpace]|Argument = Q:\\|Return = 0|"},
        // The count is shown before the temp folder is looked up; a folder that fails is not shown.
        {"FreeDiskSpace C:\\", [](Windows& f) { f.available = 55, f.tempLength = 0; }, "old box 5 Invalid procedure call or argument",
         "55|<FreeDiskSpace>|<C:\\>"},
        // Without the Ex function: clusters multiplied in signed 32 bits, never wrapping.
        {"FreeDiskSpace \"D:\\a b\"",
         [](Windows& f) { f.Clusters(1, 1, 2147483647), EXPECT_CALL(f, GetDiskFreeSpace(Chars::Ansi, Str(u"D:\\a b"), _, _, _)); },
         "[FreeDiskSpace]|Argument = D:\\a b|Return = 2147483647|"},
        {"FreeDiskSpace C:\\", [](Windows& f) { f.Clusters(8, 512, 524287); }, "[FreeDiskSpace]|Argument = C:\\|Return = 2147479552|"},
        {"FreeDiskSpace C:\\", [](Windows& f) { f.Clusters(8, 512, 524288); }, "old box 6 Overflow"},
        {"FreeDiskSpace C:\\", [](Windows& f) { f.Clusters(65536, 65536, 1); }, "old box 6 Overflow"},
        {"FreeDiskSpace C:\\", [](Windows& f) { f.Clusters(1, 1, 0x80000000u); }, "old box 6 Overflow"},
        {"FreeDiskSpace Q:\\", [](Windows& f) { f.Clusters(1, 1, 1), f.diskOk = false; }, "[FreeDiskSpace]|Argument = Q:\\|Return = 0|"},
        // Delete: the shell's code, taken into 16 bits, decides True or False.
        {"Delete C:\\a.txt \\\\srv\\s\\missing.txt D:\\ \\\\", [](Windows& f) { EXPECT_CALL(f, FullPathName).Times(0); },
         "[Delete]|Argument = |Return =True| deleting C:\\a.txt\\0\\\\srv\\s\\missing.txt\\0D:\\\\0\\\\\\0\\0"},
        {"\"Delete\"", [](Windows& f) { f.deleteCode = 2; }, "[Delete]|Argument = |Return =False| deleting \\0"},
        {"Delete C:\\a \"C:\\b c.txt\" \\\\?\\C:\\d", [](Windows& f) { f.deleteCode = 32767; },
         "[Delete]|Argument = |Return =False| deleting (W) C:\\a\\0C:\\b c.txt\\0\\\\?\\C:\\d\\0\\0"},
        {"Delete C:\\a", [](Windows& f) { f.deleteCode = 32768; }, "old deleting C:\\a\\0\\0 box 6 Overflow"},
        {"Delete C:\\a", [](Windows& f) { f.deleteCode = -32769; }, "old deleting C:\\a\\0\\0 box 6 Overflow"},
        // The shell keeps undo only for full names: each target that is not has its folder made full first, as
        // the system makes it against the current directory, and its last part joined as written (made full, *.
        // would lose its dot and mean every name); one that cannot be made full deletes nothing.
        {"Delete notes.txt *.log", {}, "[Delete]|Argument = |Return =True| deleting C:\\WORK\\notes.txt\\0C:\\WORK\\*.log\\0\\0"},
        {"Delete *. sub\\*. \"b. \" d/e..", [](Windows& f) {
             for (const char16_t* name : {u".", u"sub\\.", u"d/."}) EXPECT_CALL(f, FullPathName(Str(name))).Times(name[0] == u'.' ? 2 : 1);
         }, "[Delete]|Argument = |Return =True| deleting C:\\WORK\\*.\\0C:\\WORK\\sub\\*.\\0C:\\WORK\\b. \\0C:\\WORK\\d/.\\e..\\0\\0"},
        {"Delete .\\a ..\\b C:x \\y C:/z D: sub\\ . ..\\..", [](Windows& f) {  // no last part, or . or ..: made full whole
             for (const char16_t* name : {u".\\.", u"..\\.", u"C:.", u"\\.", u"C:/.", u"D:", u"sub\\", u".", u"..\\.."}) EXPECT_CALL(f, FullPathName(Str(name)));
         }, "[Delete]|Argument = |Return =True| deleting C:\\WORK\\.\\a\\0C:\\WORK\\..\\b\\0C:\\WORK\\C:.\\x\\0C:\\WORK\\y\\0C:\\WORK\\C:/.\\z\\0"
            "C:\\WORK\\D:\\0C:\\WORK\\sub\\\\0C:\\WORK\\0C:\\WORK\\..\\..\\0\\0"},
        // The shell may skip a file it cannot delete, answer 0 and only set the request's aborted flag.
        {"Delete C:\\a", [](Windows& f) { f.aborted = true; }, "[Delete]|Argument = |Return =False| deleting C:\\a\\0\\0"},
        {"Delete C:\\a.txt b.txt", [](Windows& f) { ON_CALL(f, FullPathName).WillByDefault(testing::Return(Str())); },
         "old box 5 Invalid procedure call or argument"},
        {"Delete b.txt", [](Windows& f) { ON_CALL(f, FullPathName).WillByDefault(testing::Return(Str(u"b.txt"))); },
         "old box 5 Invalid procedure call or argument"},
        {"Delete b.txt", [](Windows& f) { ON_CALL(f, FullPathName).WillByDefault(testing::Return(Str(u"C:\\b\0c.txt", 10))); },
         "old box 5 Invalid procedure call or argument"},
        // The temp folder: one trailing backslash, the name up to the first NUL however large the size answered
        // (NT may answer more than it needs); a buffer left without a NUL, or empty before it, names no folder.
        {"Execute x", [](Windows& f) { f.temp = u"C:\\T"; }, "C:\\T\\qrvplug.txt: [Execute]|File = x|Return = 42|"},
        {"Execute x", [](Windows& f) { f.temp = u"C:\\T\\"; }, "C:\\T\\qrvplug.txt: [Execute]|File = x|Return = 42|"},
        {"Execute x", [](Windows& f) { f.tempLength = 10; }, "[Execute]|File = x|Return = 42|"},
        {"Execute x", [](Windows& f) { f.tempLength = 8; }, "old box 5 Invalid procedure call or argument"},
        {"Execute x", [](Windows& f) { f.temp = u""; }, "old box 5 Invalid procedure call or argument"},
        {"Execute x", [](Windows& f) { f.tempLength = 0; }, "old box 5 Invalid procedure call or argument"},
        {"Execute x", [](Windows& f) { f.tempLength = 32768; }, "old box 6 Overflow"},
        // A folder the code page cannot carry goes by its 8.3 form, else by its own name through the 16-bit
        // functions: never by a substitute.
        {"Execute x", [](Windows& f) { f.shortNames[f.temp = u"C:\\Ж\\"] = u"C:\\D4E2~1\\"; }, "C:\\D4E2~1\\qrvplug.txt: [Execute]|File = x|Return = 42|"},
        {"Execute x", [](Windows& f) { f.temp = u"C:\\Ж\\"; }, "W C:\\Ж\\qrvplug.txt: [Execute]|File = x|Return = 42|"},
        {"Execute x", [](Windows& f) { f.shortNames[f.temp = u"C:\\Ж"] = u""; }, "W C:\\Ж\\qrvplug.txt: [Execute]|File = x|Return = 42|"},
        {"Execute x", [](Windows& f) { f.shortNames[f.temp = u"C:\\ЖЖ"] = u"C:\\Ж"; }, "W C:\\ЖЖ\\qrvplug.txt: [Execute]|File = x|Return = 42|"},
        {"FreeDiskSpace", [](Windows& f) { f.shortNames[f.current = u"C:\\aａ"] = u"C:\\AA~1", EXPECT_CALL(f, GetDiskFreeSpaceEx(Chars::Ansi, Str(u"C:\\AA~1"), _)); },
         "[FreeDiskSpace]|Argument = |Return = 0|"},
        {"FreeDiskSpace", [](Windows& f) { f.current = u"C:\\aａ", EXPECT_CALL(f, GetDiskFreeSpaceEx(Chars::Wide, Str(u"C:\\aａ"), _)); },
         "[FreeDiskSpace]|Argument = |Return = 0|"},
        // A name the code page cannot carry goes whole to the 16-bit twin; line 5 shows it in the code page.
        {"Execute C:\\Ж", [](Windows& f) { EXPECT_CALL(f, ShellExecute(Chars::Wide, 0x10010, Text(u"Open"), Text(u"C:\\Ж"), Text(), Text(u"0"), 1)); },
         "[Execute]|File = C:\\?|Return = 42|"},
        {"FreeDiskSpace \"D:\\データ\"", [](Windows& f) { f.available = 9, EXPECT_CALL(f, GetDiskFreeSpaceEx(Chars::Wide, Str(u"D:\\データ"), _)); },
         "[FreeDiskSpace]|Argument = D:\\???|Return = 9|"},
        {"FreeDiskSpace D:\\ａ", [](Windows& f) { f.Clusters(1, 2, 3), EXPECT_CALL(f, GetDiskFreeSpace(Chars::Wide, Str(u"D:\\ａ"), _, _, _)); },
         "[FreeDiskSpace]|Argument = D:\\?|Return = 6|"},
        {"Delete C:\\a.txt C:\\文档.txt", {}, "[Delete]|Argument = |Return =True| deleting (W) C:\\a.txt\\0C:\\文档.txt\\0\\0"},
        {"Delete ａ.txt", {}, "[Delete]|Argument = |Return =True| deleting (W) C:\\WORK\\ａ.txt\\0\\0"},
        {"Delete a.txt", [](Windows& f) { f.current = u"C:\\Ж"; }, "[Delete]|Argument = |Return =True| deleting (W) C:\\Ж\\a.txt\\0\\0"},
        // A name longer than that, or a \\?\ form, goes to the 16-bit twin as it is, and so does a delete list
        // holding one, and a report path past 259 characters.
        {"FreeDiskSpace C:\\" + a256, [](Windows& f) { EXPECT_CALL(f, GetDiskFreeSpaceEx(Chars::Ansi, _, _)); },
         "[FreeDiskSpace]|Argument = C:\\" + a256 + "|Return = 0|"},
        {"FreeDiskSpace C:\\" + a256 + "b", [](Windows& f) { f.available = 3, EXPECT_CALL(f, GetDiskFreeSpaceEx(Chars::Wide, _, _)); },
         "[FreeDiskSpace]|Argument = C:\\" + a256 + "b|Return = 3|"},
        {"FreeDiskSpace \\\\?\\C:\\x", [](Windows& f) { f.Clusters(1, 1, 5), EXPECT_CALL(f, GetDiskFreeSpace(Chars::Wide, Str(u"\\\\?\\C:\\x"), _, _, _)); },
         "[FreeDiskSpace]|Argument = \\\\?\\C:\\x|Return = 5|"},
        {"Execute \\\\?\\C:\\x", [](Windows& f) { EXPECT_CALL(f, ShellExecute(Chars::Wide, _, _, Text(u"\\\\?\\C:\\x"), _, _, _)); },
         "[Execute]|File = \\\\?\\C:\\x|Return = 42|"},
        {"Delete C:\\" + a256 + "b", {}, "[Delete]|Argument = |Return =True| deleting (W) C:\\" + a256 + "b\\0\\0"},
        {"Delete a.txt", [](Windows& f) { f.current = u"C:\\" + Str(251, u'c'); },
         "[Delete]|Argument = |Return =True| deleting (W) C:\\" + std::string(251, 'c') + "\\a.txt\\0\\0"},
        {"Execute x", [](Windows& f) { f.temp = u"C:\\" + Str(231, u'T') + u"\\"; }, "C:\\" + t231 + "\\qrvplug.txt: [Execute]|File = x|Return = 42|"},
        {"Execute x", [](Windows& f) { f.temp = u"C:\\" + Str(232, u'T') + u"\\"; }, "W C:\\" + t231 + "T\\qrvplug.txt: [Execute]|File = x|Return = 42|"},
        // The host's own error mode, kept beside the bit that holds the boxes off, and given back.
        {"FreeDiskSpace C:\\", [](Windows& f) { f.hostMode = 0x8002, f.available = 1; }, "[FreeDiskSpace]|Argument = C:\\|Return = 1|"},
        {"Execute x", [](Windows& f) { f.hostMode = 0x8002; }, "[Execute]|File = x|Return = 42|"},
        {"Delete C:\\a", [](Windows& f) { f.hostMode = 1; }, "[Delete]|Argument = |Return =True| deleting C:\\a\\0\\0"},
        {"Execute x", [](Windows& f) { f.hostMode = 0x8002, f.createStatus = FileStatus::AccessDenied; }, "old box 70 Permission denied"},
        // A control character is in no Windows name: such an argument is refused before anything happens.
        {"Execute \"C:\\x\r\nReturn = 42\"", [](Windows& f) { EXPECT_CALL(f, ShellExecute).Times(0); },
         "old box 5 Invalid procedure call or argument"},
        {"FreeDiskSpace C:\\\x1f", [](Windows& f) { EXPECT_CALL(f, GetDiskFreeSpaceEx).Times(0); },
         "old box 5 Invalid procedure call or argument"},
        {"Delete C:\\a.txt \"C:\\b\x01.txt\"", {}, "old box 5 Invalid procedure call or argument"},
        // The report: a new file beside it (named after the process and the attempt), checked, written, moved
        // over the name. Each step's failure has its own number; the new file goes and the old report stays.
        {"Execute x", [](Windows& f) { f.createStatus = FileStatus::PathNotFound; }, "old box 76 Path not found"},
        {"Execute x", [](Windows& f) { f.createStatus = FileStatus::AccessDenied; }, "old box 70 Permission denied"},
        {"Execute x", [](Windows& f) { f.createStatus = FileStatus::BadName; }, "old box 52 Bad file name or number"},
        {"Execute x", [](Windows& f) { f.createStatus = FileStatus::Other; }, "old box 75 Path/File access error"},
        {"Execute x", [](Windows& f) { f.takenNames = 1, f.pid = 4294967295u; }, "[Execute]|File = x|Return = 42|", nullptr, "qrvplug.txt.4294967295-0 qrvplug.txt.4294967295-1 "},
        {"Execute x", [](Windows& f) { f.takenNames = 3; }, "[Execute]|File = x|Return = 42|", nullptr, "qrvplug.txt.0000004242-0 qrvplug.txt.0000004242-1 qrvplug.txt.0000004242-2 qrvplug.txt.0000004242-3 "},
        {"Execute x", [](Windows& f) { f.takenNames = 4; }, "old box 58 File already exists"},
        {"Execute x", [](Windows& f) { f.plainStatus = FileStatus::NotPlain; }, "old box 54 Bad file mode"},
        {"Execute x", [](Windows& f) { f.writesBeforeFailure = 2, f.writeStatus = FileStatus::DiskFull; }, "old box 61 Disk full"},
        {"Execute x", [](Windows& f) { f.writesBeforeFailure = 5, f.writeStatus = FileStatus::ShortWrite; }, "old box 57 Device I/O error"},
        {"Execute x", [](Windows& f) { f.writesBeforeFailure = 0, f.writeStatus = FileStatus::Unconvertible; }, "old box 5 Invalid procedure call or argument"},
        {"Execute x", [](Windows& f) { f.writesBeforeFailure = 4, f.writeStatus = FileStatus::Other; }, "old box 75 Path/File access error"},
        {"Execute x", [](Windows& f) { f.moveStatus = FileStatus::InUse; }, "old box 55 File already open"},
        {"Execute x", [](Windows& f) { f.moveStatus = FileStatus::Folder; }, "old box 75 Path/File access error"},
        {"Execute x", [](Windows& f) { f.moveStatus = FileStatus::AccessDenied; }, "old box 70 Permission denied"},
        // Elevated, the guard against others' junctions goes on after the command's work, before the report.
        {"Execute x", [](Windows& f) { f.elevated = true; }, "[Execute]|File = x|Return = 42|"},
        {"Delete C:\\a", [](Windows& f) { f.elevated = true, f.deleteCode = 5; }, "[Delete]|Argument = |Return =False| deleting C:\\a\\0\\0"},
    };
    for (const auto& row : rows) {
        Fake f;
        if (row.given) row.given(f);
        EXPECT_EQ(Seen(f.Run(row.line)), row.seen) << row.line;
        std::string fields = f.fields[0] + "|" + f.fields[1] + "|" + f.fields[2];
        EXPECT_TRUE(!row.fields || fields == row.fields) << row.line << ": " << fields;
        EXPECT_TRUE(!row.tried || f.tried == row.tried) << row.line << ": " << f.tried;
    }
    for (const char* line : {"execute x", "DELETE x", "freediskspace C:\\", "Execute2 x"}) EXPECT_EQ(Seen(Fake().Run(line)), "old") << line;
}

TEST(Run, DeleteStartsAtTheIndexGivenAndNeverBelowZero) {
    Fake f;
    ArgList args{Str(u"C:\\0"), Str(u"Delete"), Str(u"a")};
    bool deleted = false;
    EXPECT_FALSE(DeleteFiles(f, args, 0, deleted));
    EXPECT_TRUE(deleted);
    EXPECT_EQ(Ansi(f.request.from), std::string("C:\\0\0C:\\WORK\\Delete\0C:\\WORK\\a\0\0", 31));
    EXPECT_EQ(DeleteFiles(f, args, -1, deleted).number, errInvalidArgument);
}

TEST(APIExists, FreesOnlyWhatItLoadedItself) {
    Fake f;
    ON_CALL(f, LoadLibraryA(Str(u"extra"))).WillByDefault(testing::Return(0x9000));
    ON_CALL(f, GetProcAddress(0x9000, Str(u"Fn"))).WillByDefault(testing::Return(true));
    EXPECT_CALL(f, FreeLibrary(_)).Times(0);
    EXPECT_CALL(f, FreeLibrary(0x9000)).Times(2);
    EXPECT_CALL(f, GetProcAddress).Times(4);  // never for a library not there
    EXPECT_TRUE(APIExists(f, u"extra", u"Fn"));
    EXPECT_FALSE(APIExists(f, u"extra", u"Other"));
    EXPECT_TRUE(APIExists(f, u"kernel32", u"GetDiskFreeSpaceExA"));  // already loaded: not freed
    EXPECT_FALSE(APIExists(f, u"kernel32", u"Other"));
    EXPECT_FALSE(APIExists(f, u"absent", u"Fn"));  // nothing loaded: nothing asked, nothing freed
}

TEST(Texts, BuildCopyMoveAndCutAsTheyShould) {
    Str s(3, u'x'), grown, taken(u"ab");
    for (int i = 0; i < 40; ++i) grown += static_cast<char16_t>(u'a' + i % 26);
    grown += grown;  // reads itself while it grows
    Str moved(static_cast<Str&&>(taken)), copy = moved;
    EXPECT_EQ(Ansi(s) + "|" + Ansi(Str(0, u'x')) + "|" + Ansi(grown.substr(38, 4)) + "|" + Ansi(grown.substr(78, 9)) + "|" +
              Ansi(taken) + "|" + Ansi(copy + u'!'), "xxx||mnab|mn||ab!");
    ArgList list{Text(), Text(u"a")}, kept(static_cast<ArgList&&>(list));
    EXPECT_TRUE(taken.empty() && grown.size() == 80 && !Text() && Text(u"") && !(Text() == Text(u"")));
    EXPECT_TRUE(list.size() == 0 && kept.size() == 2 && Value(kept[1]) == u"a");
    // Equal only character for character, to the end of both; a NUL inside a text is a character.
    const Str ab(u"ab"), nul(u"a\0", 2);
    EXPECT_TRUE(ab == Str(u"ab") && !(ab == Str(u"ac")) && !(ab == Str(u"xb")) && !(ab == Str(u"a")) && !(nul == Str(u"a")));
    EXPECT_TRUE(ab == u"ab" && !(ab == u"ac") && !(ab == u"xb") && !(ab == u"abc") && !(ab == u"a") && !(nul == u"a"));
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
    for (int64_t v : {int64_t{INT32_MIN} - 1, int64_t{INT32_MAX} + 1}) EXPECT_EQ(ToInt32(v, n32).number, errOverflow) << v;
}

TEST(Division, The32BitImagesHelperDividesAsTheCompilerDoes) {
    const unsigned long long edges[] = {0, 1, 2, 3, 9, 10, 11, 0x7FFFFFFF, 0xFFFFFFFF, 0x100000000, 0x100000001, 922337203685477,
                                        0x7FFFFFFFFFFFFFFF, 0x8000000000000000, 0xFFFFFFFFFFFFFFFE, 0xFFFFFFFFFFFFFFFF};
    for (unsigned long long n : edges)
        for (unsigned long long d : edges) {
            if (d == 0) continue;  // never asked: the program divides by 10
            unsigned long long r = 0;
            EXPECT_EQ(DivMod64(n, d, &r), n / d) << n << " / " << d;
            EXPECT_EQ(r, n % d) << n << " % " << d;
        }
    EXPECT_EQ(DivMod64(12345, 10, nullptr), 1234u);  // the remainder is optional
}

}  // namespace
}  // namespace qrv
