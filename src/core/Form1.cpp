#include "Form1.h"

#include "Checked.h"
#include "MFreeSpace.h"
#include "Report.h"

namespace qrv {

// The argument text splits so: blanks and tabs separate arguments; double quotes let an argument hold
// blanks and never reach it; a tab separates even inside quotes; a quoted blank before an argument's first
// character joins the argument before it, or element 0 where there is none; only MaxArgs arguments begin,
// though quoted blanks still join the last. Each text below is a C string, with the limit after it where it
// is not 32767; then element 0 after a 0 where it was set, and each argument, in angle brackets.
//   ""                       ->
//   " \t  \t"                ->
//   "Delete \"a b.txt\" c"   -> <Delete><a b.txt><c>
//   "a\"b c\"d"              -> <ab cd>
//   "x \"\" y"               -> <x><y>
//   "\"a\tb\""               -> <a><b>
//   "\"a b"                  -> <a b>
//   "x \" y\""               -> <x ><y>
//   "\" y\""                 -> 0< ><y>
//   "\" \"a b c d e"         -> 0< ><a><b><c><d><e>
//   "a    b\t\t c"           -> <a><b><c>
//   "  lead"                 -> <lead>
//   "a b c" 2                -> <a><b>
//   "a b c" 1                -> <a>
//   "a b c" 0                ->
//   "\"a \" b" 1             -> <a >
ArgList Form1::GetCommandLine(int32_t MaxArgs) {
    const Str source = platform_.CommandLineText();
    ArgList args;
    int32_t count = 0;
    bool inArgument = false;
    bool inQuotes = false;
    for (char16_t c : source) {
        if (c != u' ' && c != u'\t') {
            if (c == u'"') {
                inQuotes = !inQuotes;
                continue;
            }
            if (!inArgument) {
                if (count == MaxArgs) break;
                ++count;
                args.Add();
                inArgument = true;
            }
            args[count].Append(c);
        } else if (c == u' ' && inQuotes) {
            args[count].Append(u' ');
        } else {
            inArgument = false;
        }
    }
    return args;
}

Status Form1::FreeDiskSpace(const Text& argument) {
    if (Status s = PathArgument(argument)) return s;
    NoSystemBoxes disk(platform_);
    int64_t result{};
    if (Status s = FreeSpace(platform_, Value(argument), result)) return s;
    platform_.SetFieldText(Field::Text1, PlainDigits(result));
    Str folder;
    if (Status s = GetTempDir(platform_, folder)) return s;
    platform_.SetFieldText(Field::Text3, folder);
    return WriteReport(platform_, folder, "[FreeDiskSpace]", "Argument = ", Value(argument), NumberText(result));
}

Status Form1::Execute(const Text& strPath) {
    if (Status s = PathArgument(strPath)) return s;
    Handle owner = platform_.GetDesktopWindow();
    Name file = NameFor(platform_, Value(strPath));  // the verb and the folder go to the same function
    file.present = static_cast<bool>(strPath);
    int32_t code = platform_.ShellExecute(owner, NameAs(platform_, "Open", file.chars), file, Name(),
                                          NameAs(platform_, "0", file.chars), 1);
    NoSystemBoxes disk(platform_);  // only now: what the shell started keeps the host's error mode
    Str folder;
    if (Status s = GetTempDir(platform_, folder)) return s;
    return WriteReport(platform_, folder, "[Execute]", "File = ", Value(strPath), NumberText(code));
}

Status Form1::Delete(const ArgList& Args) {
    NoSystemBoxes disk(platform_);
    bool ok{};
    if (Status s = DeleteFiles(platform_, Args, 2, ok)) return s;
    Str folder;
    if (Status s = GetTempDir(platform_, folder)) return s;
    // Line 5 stays exactly "Argument = ": hosts compare it as it is.
    return WriteReport(platform_, folder, "[Delete]", "Argument = ", Str(), TruthText(ok));
}

void Form1::ErrorHandler(Status status) {
    if (!status) return;
    Str text = "Error in ";
    text += label_;
    text += "\rErr code ";
    text += NumberText(status.number);
    text += "\r\r";
    text += Description(status.number);
    platform_.ShowMessageBox(text, "Plug-in Quorvel");
    if (exitStatus_ == 0) exitStatus_ = static_cast<uint32_t>(status.number);
}

void Form1::ShowField(Field field, const Str& text) {
    Str shown = "<";
    shown += text;
    platform_.SetFieldText(field, shown += u'>');
}

void Form1::Form_Load() {
    label_ = "Form_Load()";
    platform_.SetFormVisible(false);
    platform_.SetFormMinimized();
    ArgList args = GetCommandLine();
    int16_t count{};
    ErrorHandler(ToInt16(static_cast<int64_t>(args.size()) - 1, count));
    ShowField(Field::Text1, platform_.CommandLineText());
    Text first, second;
    if (count >= 1) {
        first = args[1];
        ShowField(Field::Text2, Value(first));
    }
    if (count >= 2) {
        second = args[2];
        ShowField(Field::Text3, Value(second));
    }
    if (Value(first) == u"FreeDiskSpace") ErrorHandler(FreeDiskSpace(second));
    if (Value(first) == u"Execute") ErrorHandler(Execute(second));
    if (Value(first) == u"Delete") ErrorHandler(Delete(args));
    platform_.EndProcess(exitStatus_);
}

}  // namespace qrv
