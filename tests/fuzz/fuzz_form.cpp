// The whole run, Form_Load, against a platform whose every answer comes from the input, its code page
// Latin-1. On every input: no crash or sanitizer finding; one end; at most one box, the exit status 0 or its
// number; one command's system call at most; no ANSI function given a name the code page cannot carry, past
// 259 characters or a \\?\ one; no delete of a name not fully qualified; disk calls with the system's boxes
// held off, the shell's start and the end in the host's mode; the junction guard only when elevated, after
// the command's call; the report's new file moved or removed; the report untouched, or six CR LF lines.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "Form1.h"

// A rule that must hold; the one that does not is named before the abort.
#define Require(rule) ((rule) ? (void)0 : (std::fprintf(stderr, "broken: %s\n", #rule), std::abort()))

namespace qrv {
namespace {

using U16 = std::u16string;

struct Input : Platform {
    explicit Input(FuzzedDataProvider& in) : in(in) {}
    // Bytes below 0x80 as themselves, 0x80 and 0x81 as letters no Western code page has, the rest as Latin-1.
    Str Take(size_t most) {
        Str out;
        for (unsigned char c : in.ConsumeRandomLengthString(most)) out += c == 0x80 ? u'\u0416' : c == 0x81 ? u'\uFF41' : c;
        return out;
    }
    FileStatus File(float okay) {
        return in.ConsumeProbability<float>() < okay ? FileStatus::Ok : static_cast<FileStatus>(in.ConsumeIntegralInRange<int>(1, static_cast<int>(FileStatus::Other)));
    }
    template <class T> T Any() { return in.ConsumeIntegral<T>(); }

    Str CommandLineText() override {
        static const char16_t* const keywords[] = {u"FreeDiskSpace ", u"Execute ", u"Delete ", u"", u"Execute"};
        if (!taken) line = Str(keywords[in.ConsumeIntegralInRange<size_t>(0, 4)]) + Take(70000), taken = true;
        return line;  // the same text each time it is asked for
    }
    Str CurrentDirectory() override { return Take(300); }
    void SetFormVisible(bool) override {}
    void SetFormMinimized() override {}
    void SetFieldText(Field, const Str&) override {}
    void ShowMessageBox(const Str& text, const Str& caption) override {
        Require(caption == u"Plug-in Quorvel");
        boxes += 1, box = U16(text.begin(), text.end());
    }
    void EndProcess(uint32_t status) override { Require(mode == hostMode), ends += 1, exitStatus = status; }
    FileStatus CreateReportFile(Chars chars, const Str& path) override {
        FileStatus s = (Named(chars, path), Report(), Require(made.empty()), File(0.5f));
        return s == FileStatus::Ok ? (made = U16(path.begin(), path.end()), madeChars = chars, fresh.clear(), s) : s;
    }
    FileStatus CheckReportFile() override { return Require(!made.empty()), File(0.9f); }
    FileStatus WriteReportFile(const Str& text) override {
        FileStatus s = (Report(), Require(!made.empty()), File(0.9f));
        return s == FileStatus::Ok ? (fresh += U16(text.begin(), text.end()), s) : s;
    }
    FileStatus MoveReportFile(Chars chars, const Str& from, const Str& to) override {  // from beside to: to's name and more
        const U16 name(to.begin(), to.end());
        FileStatus s = (Named(chars, to), Report(), Require(chars == madeChars && U16(from.begin(), from.end()) == made && made.compare(0, name.size() + 1, name + u'.') == 0), File(0.8f));
        return s == FileStatus::Ok ? (report = fresh, moved = true, made.clear(), s) : s;
    }
    void DeleteReportFile(Chars chars, const Str& path) override { Report(), Require(chars == madeChars && U16(path.begin(), path.end()) == made), made.clear(); }
    bool Elevated() override { return elevated = in.ConsumeBool(); }
    void TrustOnlyAdminRedirections() override { Require(elevated && calls == 1), guarded = true; }
    uint32_t ProcessId() override { return Any<uint32_t>(); }
    void CloseFiles() override {}
    uint32_t GetTempFolder(uint32_t size, Str& buffer) override {
        Require(buffer.size() >= size);  // the call writes up to size characters into it, a NUL or none among them
        Str written = Take(size);
        for (size_t i = 0; i < written.size(); ++i) buffer.data()[i] = written[i];
        return in.ConsumeBool() ? static_cast<uint32_t>(written.size() + 1) : Any<uint32_t>();
    }
    Str ShortPathName(const Str&) override { return Disk(), Take(300); }
    uint32_t SetErrorMode(uint32_t m) override { return std::exchange(mode, m); }
    bool IsExactInAnsi(const Str& text) override {
        return std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x100; });
    }
    Str FullPathName(const Str&) override { return Take(300); }
    Handle GetModuleHandleA(const Str&) override { return Any<Handle>(); }
    Handle LoadLibraryA(const Str&) override { return Any<Handle>(); }
    bool GetProcAddress(Handle, const Str&) override { return in.ConsumeBool(); }
    void FreeLibrary(Handle) override {}
    bool GetDiskFreeSpaceEx(Chars chars, const Str& path, uint64_t& a) override {
        return Named(chars, path), Disk(), calls += 1, a = Any<uint64_t>(), in.ConsumeBool();
    }
    bool GetDiskFreeSpace(Chars chars, const Str& path, uint32_t& s, uint32_t& b, uint32_t& f) override {
        return Named(chars, path), Disk(), calls += 1, s = Any<uint32_t>(), b = Any<uint32_t>(), f = Any<uint32_t>(), in.ConsumeBool();
    }
    Handle GetDesktopWindow() override { return Any<Handle>(); }
    int32_t ShellExecute(Chars chars, Handle, const Text&, const Text& file, const Text&, const Text&, int32_t) override {
        return Named(chars, Value(file)), Require(mode == hostMode && !guarded), calls += 1, Any<int32_t>();
    }
    int32_t SHFileOperation(Chars chars, ShellFileRequest& request) override {
        Disk();
        request.aborted = in.ConsumeBool();
        const U16 from(request.from.begin(), request.from.end());
        Require(from.size() >= 1 && from.back() == u'\0');
        for (size_t at = 0, end; (end = from.find(u'\0', at)) < from.size() - 1; at = end + 1) {  // each name is full
            const U16 name = from.substr(at, end - at);
            Named(chars, Str(name.data(), name.size()));
            Require((name.size() >= 3 && name[1] == u':' && name[2] == u'\\') || name.compare(0, 2, u"\\\\") == 0);
        }
        return calls += 1, Any<int32_t>();
    }
    // A name handed to an ANSI function is one the code page carries exactly, and whole.
    void Named(Chars chars, const Str& name) {
        const U16 n(name.begin(), name.end());
        Require(chars == Chars::Wide || (IsExactInAnsi(name) && n.size() <= 259 && n.compare(0, 4, u"\\\\?\\") != 0));
    }
    void Disk() { Require(mode == (hostMode | 1) && !guarded); }
    void Report() { Require(mode == (hostMode | 1) && guarded == elevated); }

    FuzzedDataProvider& in;
    Str line;
    U16 box, report = u"old", made, fresh;  // the report; the new file made and not moved or removed, its text
    Chars madeChars = Chars::Ansi;
    bool taken = false, moved = false, elevated = false, guarded = false;
    int boxes = 0, ends = 0, calls = 0;
    uint32_t exitStatus = ~0u, hostMode = in.ConsumeIntegral<uint32_t>(), mode = hostMode;
};

}  // namespace
}  // namespace qrv

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    qrv::Input run(in);
    qrv::Form1(run).Form_Load();
    Require(run.ends == 1 && run.boxes <= 1 && run.calls <= 1);
    const qrv::U16 frame = u"Error in Form_Load()\rErr code  ", head = u"[Plug-in]\r\nName = Quorvel\r\nVersion = 1.0\r\n";
    size_t end = run.box.find(u"\r\r");
    Require(run.boxes == 0 ? run.exitStatus == 0 : run.box.compare(0, frame.size(), frame) == 0 && end != qrv::U16::npos);
    if (run.boxes) {  // the number after its blank, two CRs, the description
        qrv::U16 number = run.box.substr(frame.size(), end - frame.size());
        Require(std::to_string(run.exitStatus) == std::string(number.begin(), number.end()));
        const std::string description = qrv::Description(static_cast<int32_t>(run.exitStatus));
        Require(run.box.substr(end + 2) == qrv::U16(description.begin(), description.end()));
    }
    size_t lines = 0;
    Require(run.made.empty());  // nothing of the run's own left beside the report
    for (size_t at = 0; run.moved && at < run.report.size(); ++lines) {
        size_t next = run.report.find(u"\r\n", at);
        Require(next != qrv::U16::npos && run.report.find_first_of(u"\r\n", at) == next);
        at = next + 2;
    }
    Require(!run.moved ? run.report == u"old" : lines == 6);
    Require(lines < 6 || run.report.compare(0, head.size(), head) == 0);
    return 0;
}
