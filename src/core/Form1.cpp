#include "Form1.h"

#include "Checked.h"
#include "MFreeSpace.h"
#include "Report.h"

namespace qrv {

ArgList Form1::GetCommandLine(int32_t MaxArgs) {
    const Str source = platform_.CommandLineText();
    ArgList args(1);
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
                args.emplace_back();
                inArgument = true;
            }
            if (!args[count]) args[count].emplace();
            *args[count] += c;
        } else if (c == u' ' && inQuotes) {
            if (!args[count]) args[count].emplace();
            *args[count] += u' ';
        } else {
            inArgument = false;
        }
    }
    return args;
}

void Form1::FreeDiskSpace(const Text& argument) {
    int64_t result = FreeSpace(platform_, Value(PathArgument(argument)));
    platform_.SetFieldText(Field::Text1, PlainDigits(result));
    Str folder = GetTempDir(platform_);
    platform_.SetFieldText(Field::Text3, folder);
    WriteReport(platform_, folder, u"[FreeDiskSpace]", u"Argument = " + Value(argument),
                u"Return =" + NumberText(result));
}

void Form1::Execute(const Text& strPath) {
    PathArgument(strPath);
    Handle owner = platform_.GetDesktopWindow();
    int32_t code = platform_.ShellExecuteA(owner, Str(u"Open"), strPath, Text(), Str(u"0"), 1);
    WriteReport(platform_, GetTempDir(platform_), u"[Execute]", u"File = " + Value(strPath),
                u"Return =" + NumberText(code));
}

void Form1::Delete(const ArgList& Args) {
    bool ok = DeleteFiles(platform_, Args, 2);
    // Line 5 stays exactly "Argument = ": hosts compare it as it is.
    WriteReport(platform_, GetTempDir(platform_), u"[Delete]", u"Argument = ",
                u"Return =" + TruthText(ok));
}

// Runs one statement of Form_Load. A failure shows the error box and the run
// resumes with the next statement. The first failure's number becomes the
// exit status.
void Form1::Statement(void (*body)(void*), void* context) {
    try {
        body(context);
    } catch (const Failure& failure) {
        platform_.ShowMessageBox(u"Error in " + label_ + u"\r" + u"Err code " + NumberText(failure.number) +
                                     u"\r\r" + failure.description,
                                 u"Plug-in Quorvel");
        if (exitStatus_ == 0) exitStatus_ = static_cast<uint32_t>(failure.number);
    }
}

void Form1::Form_Load() {
    label_ = u"Form_Load()";
    ArgList args;
    int16_t count = 0;
    Text first, second;

    Run([&] { platform_.SetFormVisible(false); });
    Run([&] { platform_.SetFormMinimized(); });
    Run([&] { args = GetCommandLine(); });
    Run([&] { count = ToInt16(static_cast<int64_t>(args.size()) - 1); });
    Run([&] { platform_.SetFieldText(Field::Text1, u"<" + platform_.CommandLineText() + u">"); });
    if (count >= 1) {
        Run([&] { first = args[1]; });
        Run([&] { platform_.SetFieldText(Field::Text2, u"<" + Value(first) + u">"); });
    }
    if (count >= 2) {
        Run([&] { second = args[2]; });
        Run([&] { platform_.SetFieldText(Field::Text3, u"<" + Value(second) + u">"); });
    }
    if (Value(first) == u"FreeDiskSpace") Run([&] { FreeDiskSpace(second); });
    if (Value(first) == u"Execute") Run([&] { Execute(second); });
    if (Value(first) == u"Delete") Run([&] { Delete(args); });
    platform_.EndProcess(exitStatus_);
}

}  // namespace qrv
