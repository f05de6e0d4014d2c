// The whole run, Form_Load, on the small Windows of the unit tests with every answer taken from the input: on every
// input no crash or sanitizer finding, and none of the problems the small Windows notes (Windows.h).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

#include "Windows.h"

namespace {

// Bytes below 0x80 as themselves, 0x80 and 0x81 as letters no Western code page has, the rest as Latin-1.
qrv::Str Take(FuzzedDataProvider& in, size_t most) {
    qrv::Str out;
    for (unsigned char c : in.ConsumeRandomLengthString(most)) out += c == 0x80 ? u'\u0416' : c == 0x81 ? u'\uFF41' : c;
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    qrv::Windows w;
    static const char16_t* const keywords[] = {u"FreeDiskSpace ", u"Execute ", u"Delete ", u"", u"Execute"};
    for (qrv::Str* name : {&w.temp, &w.current}) *name = Take(in, 300);
    if (in.ConsumeBool()) w.shortNames.push_back({in.ConsumeBool() ? w.temp : w.current, Take(in, 300)});
    if (in.ConsumeBool()) w.tempLength = in.ConsumeIntegral<uint32_t>();
    w.fullPath = in.ConsumeBool() ? Take(in, 300) : qrv::Str();
    for (bool* flag : {&w.fullPathFails, &w.hasEx, &w.diskOk, &w.aborted, &w.elevated}) *flag = in.ConsumeBool();
    for (uint32_t* n : {&w.hostMode, &w.pid, &w.clusters[0], &w.clusters[1], &w.clusters[2]})
        *n = in.ConsumeIntegral<uint32_t>();
    for (int32_t* code : {&w.shellCode, &w.deleteCode}) *code = in.ConsumeIntegral<int32_t>();
    w.available = in.ConsumeIntegral<uint64_t>();
    for (auto [status, okay] :  // each step fails now and then
         {std::pair{&w.createStatus, 0.5f}, {&w.plainStatus, 0.9f}, {&w.writeStatus, 0.2f}, {&w.moveStatus, 0.8f}})
        *status = in.ConsumeProbability<float>() < okay
                      ? qrv::FileStatus::Ok
                      : static_cast<qrv::FileStatus>(in.ConsumeIntegralInRange<int>(1, int(qrv::FileStatus::Other)));
    w.takenNames = in.ConsumeIntegralInRange<int>(0, 5);
    w.writesBeforeFailure = in.ConsumeIntegralInRange<int>(0, 7);
    const qrv::Str line = qrv::Str(keywords[in.ConsumeIntegralInRange<size_t>(0, 4)]) + Take(in, 70000);
    const std::string problems = w.Run(line).Problems();
    if (!problems.empty()) {
        std::fprintf(stderr, "broken: %s\n", problems.c_str());
        std::abort();
    }
    return 0;
}
