#include "basFile.h"

#include "Checked.h"

namespace qrv {

Str AddBackslash(const Str& path) {
    if (path.empty()) return u"\\";
    if (path.back() != u'\\') return path + u'\\';
    return path;
}

Status GetTempDir(Platform& platform, Str& folder) {
    Str probe;  // empty, but a real buffer: never a null pointer
    int16_t n{};
    if (Status s = ToInt16(platform.GetTempFolder(0, probe), n)) return s;
    Str buffer(static_cast<size_t>(n), u' ');  // n is never negative: it came from an unsigned count
    platform.GetTempFolder(static_cast<uint32_t>(buffer.size()), buffer);  // only the first answer counts
    if (n - 1 < 0) return errInvalidArgument;
    Str name;
    if (Status s = AnsiFolder(platform, buffer.substr(0, static_cast<size_t>(n - 1)), name)) return s;
    folder = AddBackslash(name);
    return {};
}

Status AnsiFolder(Platform& platform, const Str& folder, Str& form) {
    if (platform.IsExactInAnsi(folder)) {
        form = folder;
        return {};
    }
    form = platform.ShortPathName(folder);
    if (form.empty() || !platform.IsExactInAnsi(form)) return errInvalidArgument;
    return {};
}

Status PathArgument(Platform& platform, const Text& text) {
    for (char16_t c : Value(text))
        if (c < 32) return errInvalidArgument;
    if (!platform.IsExactInAnsi(Value(text))) return errInvalidArgument;
    return {};
}

Status DeleteFiles(Platform& platform, const ArgList& Files, int16_t StartIndex, bool& deleted) {
    int16_t last{};
    if (Status s = ToInt16(static_cast<int64_t>(Files.size()) - 1, last)) return s;
    if (StartIndex < 0) return errInvalidArgument;  // no element below 0
    Str list;
    for (int32_t i = StartIndex; i <= last; ++i) {
        if (Status s = PathArgument(platform, Files[i])) return s;
        list += Value(Files[i]);
        list += u'\0';
    }
    list += u'\0';

    ShellFileRequest request;
    request.operation = FO_DELETE_OP;
    request.from = list;
    request.flags = FOF_NOCONFIRMATION_FLAG | FOF_ALLOWUNDO_FLAG;
    int16_t code{};
    if (Status s = ToInt16(platform.SHFileOperationA(request), code)) return s;
    deleted = code == 0;
    return {};
}

}  // namespace qrv
