// The splitter on the longest command line Windows allows.
#include <benchmark/benchmark.h>

#include "FakePlatform.h"
#include "Form1.h"

static void LongestCommandLine(benchmark::State& state) {
    qrv::FakePlatform fake;
    std::string text = "Delete";
    while (text.size() + 12 < 32767) text += " \"f i.txt\"";
    fake.commandLine = qrv::U16(text);
    qrv::Form1 form(fake);
    for (auto _ : state) benchmark::DoNotOptimize(form.GetCommandLine());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(LongestCommandLine);

BENCHMARK_MAIN();
