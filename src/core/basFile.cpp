#include "basFile.h"

#include "Checked.h"

namespace qrv {

Str AddBackslash(const Str& path) {
    if (path.empty()) return u"\\";
    if (path.back() != u'\\') return path + u'\\';
    return path;
}

Status GetTempDir(Platform& platform, Str& folder) {
    Str probe;
    int16_t n{};
    if (Status s = ToInt16(platform.GetTempFolder(0, probe), n)) return s;
    Str buffer(static_cast<size_t>(n), u' ');  // n is never negative: it came from an unsigned count
    platform.GetTempFolder(static_cast<uint32_t>(buffer.size()), buffer);
    // The first answer may be larger than the name needs: the name ends at the first NUL the call left
    // in the buffer. A buffer with none, or with nothing before it (an answer of 0 among them), names no folder.
    size_t end = 0;
    while (end < buffer.size() && buffer[end] != u'\0') ++end;
    if (end == 0 || end == buffer.size()) return errInvalidArgument;
    folder = AddBackslash(FolderName(platform, buffer.substr(0, end)));
    return {};
}

// The longest name the ANSI functions take: MAX_PATH less its NUL.
constexpr size_t MaxAnsiName = 259;

Name NameAs(Platform& platform, const Str& name, Chars chars) {
    Name made;
    made.present = true;
    made.text = name;
    made.chars = chars == Chars::Ansi && platform.ToAnsi(name, made.ansi) ? Chars::Ansi : Chars::Wide;
    return made;
}

Name NameFor(Platform& platform, const Str& name) {
    bool whole = name.size() <= MaxAnsiName && !(name.substr(0, 4) == u"\\\\?\\");
    return NameAs(platform, name, whole ? Chars::Ansi : Chars::Wide);
}

NoSystemBoxes::NoSystemBoxes(Platform& platform)
    : platform_(platform), before_(platform.SetErrorMode(SEM_FAILCRITICALERRORS_MODE)) {
    if (before_ & ~SEM_FAILCRITICALERRORS_MODE)
        platform.SetErrorMode(before_ | SEM_FAILCRITICALERRORS_MODE);  // keep the host's others
}

Str FolderName(Platform& platform, const Str& folder) {
    Bytes ansi;
    if (platform.ToAnsi(folder, ansi)) return folder;
    Str brief = platform.ShortPathName(folder);
    return !brief.empty() && platform.ToAnsi(brief, ansi) ? brief : folder;
}

Status PathArgument(const Text& text) {
    for (char16_t c : Value(text))
        if (c < 32) return errInvalidArgument;
    return {};
}

// A drive and its root (C:\), or a UNC or device name (\\server\share, \\?\C:\).
static bool IsFullyQualified(const Str& path) {
    if (path.size() >= 3 && path[1] == u':' && path[2] == u'\\') return true;
    return path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\';
}

// A relative target made full: its folder against the current directory, its last part joined as it is
// written, for making it full would drop its trailing dots and blanks (*. would become *). Only a target
// without a last part (C:, a folder ending in a separator) or one that ends in . or .. is made full whole.
static Str MadeFull(Platform& platform, const Str& name) {
    size_t cut = name.size();
    while (cut > 0 && name[cut - 1] != u'\\' && name[cut - 1] != u'/' && !(cut == 2 && name[1] == u':')) --cut;
    Str last = name.substr(cut, name.size());
    if (last.empty() || last == u"." || last == u"..") return platform.FullPathName(name);
    return AddBackslash(platform.FullPathName(name.substr(0, cut) + u'.')) + last;
}

Status DeleteFiles(Platform& platform, const ArgList& Files, int16_t StartIndex, bool& deleted) {
    int16_t last{};
    if (Status s = ToInt16(static_cast<int64_t>(Files.size()) - 1, last)) return s;
    if (StartIndex < 0) return errInvalidArgument;  // no element below 0
    Str list;
    Chars chars = Chars::Ansi;  // one name that needs the W function sends the whole list there
    for (int32_t i = StartIndex; i <= last; ++i) {
        if (Status s = PathArgument(Files[i])) return s;
        Str name = Value(Files[i]);
        if (!IsFullyQualified(name)) name = MadeFull(platform, name);
        if (!IsFullyQualified(name)) return errInvalidArgument;  // it could not be made full
        if (Status s = PathArgument(name)) return s;             // nor may what the shell sees hold one
        if (NameFor(platform, name).chars == Chars::Wide) chars = Chars::Wide;
        list += name;
        list += u'\0';
    }
    list += u'\0';

    ShellFileRequest request{};
    request.operation = FO_DELETE_OP;
    request.from = NameAs(platform, list, chars);
    request.flags = FOF_NOCONFIRMATION_FLAG | FOF_ALLOWUNDO_FLAG | FOF_NOERRORUI_FLAG;
    int16_t code{};
    if (Status s = ToInt16(platform.SHFileOperation(request), code)) return s;
    deleted = code == 0 && !request.aborted;  // the shell may skip a file, answer 0 and only say so here
    return {};
}

}  // namespace qrv
