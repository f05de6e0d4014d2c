#include "basFile.h"

#include "Checked.h"

namespace qrv {

Str AddBackslash(const Str& path) {
    if (path.empty()) return u"\\";
    if (path.back() != u'\\') return path + u'\\';
    return path;
}

Str GetTempDir(Platform& platform) {
    Str probe;  // empty, but a real buffer: never a null pointer
    int16_t n = ToInt16(platform.GetTempPathA(0, probe));
    Str buffer(static_cast<size_t>(n), u' ');  // n is never negative: it came from an unsigned count
    platform.GetTempPathA(static_cast<uint32_t>(buffer.size()), buffer);
    if (n - 1 < 0) Raise(errInvalidArgument);
    return AddBackslash(AnsiFolder(platform, buffer.substr(0, static_cast<size_t>(n - 1))));
}

Str AnsiFolder(Platform& platform, const Str& folder) {
    if (platform.IsExactInAnsi(folder)) return folder;
    Str brief = platform.ShortPathName(folder);
    if (brief.empty() || !platform.IsExactInAnsi(brief)) Raise(errInvalidArgument);
    return brief;
}

const Text& PathArgument(const Text& text) {
    for (char16_t c : Value(text))
        if (c < 32) Raise(errInvalidArgument);
    return text;
}

bool DeleteFiles(Platform& platform, const ArgList& Files, int16_t StartIndex) {
    int16_t last = ToInt16(static_cast<int64_t>(Files.size()) - 1);
    if (StartIndex < 0) Raise(errInvalidArgument);  // no element below 0
    Str list;
    for (int32_t i = StartIndex; i <= last; ++i) {
        list += Value(PathArgument(Files[i]));
        list += u'\0';
    }
    list += u'\0';

    ShellFileRequest request;
    request.operation = FO_DELETE_OP;
    request.from = list;
    request.flags = FOF_NOCONFIRMATION_FLAG | FOF_ALLOWUNDO_FLAG;
    int16_t code = ToInt16(platform.SHFileOperationA(request));
    return code == 0;
}

}  // namespace qrv
