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

qrv::FileStatus Status(FuzzedDataProvider& in, float okay) {
    if (in.ConsumeProbability<float>() < okay) return qrv::FileStatus::Ok;
    return static_cast<qrv::FileStatus>(in.ConsumeIntegralInRange<int>(1, static_cast<int>(qrv::FileStatus::Other)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    qrv::Windows w;
    static const char16_t* const keywords[] = {u"FreeDiskSpace ", u"Execute ", u"Delete ", u"", u"Execute"};
    w.hostMode = in.ConsumeIntegral<uint32_t>();
    w.temp = Take(in, 300);
    w.current = Take(in, 300);
    if (in.ConsumeBool()) w.shortNames.push_back({in.ConsumeBool() ? w.temp : w.current, Take(in, 300)});
    if (in.ConsumeBool()) w.tempLength = in.ConsumeIntegral<uint32_t>();
    w.fullPathFails = in.ConsumeBool();
    w.fullPath = in.ConsumeBool() ? Take(in, 300) : qrv::Str();
    w.hasEx = in.ConsumeBool();
    w.diskOk = in.ConsumeBool();
    w.available = in.ConsumeIntegral<uint64_t>();
    for (uint32_t& count : w.clusters) count = in.ConsumeIntegral<uint32_t>();
    w.shellCode = in.ConsumeIntegral<int32_t>();
    w.deleteCode = in.ConsumeIntegral<int32_t>();
    w.aborted = in.ConsumeBool();
    w.createStatus = Status(in, 0.5f);
    w.plainStatus = Status(in, 0.9f);
    w.writeStatus = Status(in, 0.2f);
    w.moveStatus = Status(in, 0.8f);
    w.takenNames = in.ConsumeIntegralInRange<int>(0, 5);
    w.writesBeforeFailure = in.ConsumeIntegralInRange<int>(0, 7);
    w.elevated = in.ConsumeBool();
    w.pid = in.ConsumeIntegral<uint32_t>();
    const qrv::Str line = qrv::Str(keywords[in.ConsumeIntegralInRange<size_t>(0, 4)]) + Take(in, 70000);
    const std::string problems = w.Run(line).Problems();
    if (!problems.empty()) {
        std::fprintf(stderr, "broken: %s\n", problems.c_str());
        std::abort();
    }
    return 0;
}
