// The splitter on the longest command line Windows allows.
#include <benchmark/benchmark.h>

#include "Fake.h"

static void LongestCommandLine(benchmark::State& state) {
    qrv::Fake fake;
    for (fake.line = "Delete"; fake.line.size() + 12 < 32767;) fake.line += " \"f i.txt\"";
    for (auto _ : state) benchmark::DoNotOptimize(qrv::Form1(fake).GetCommandLine());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fake.line.size()));
}
BENCHMARK(LongestCommandLine);

BENCHMARK_MAIN();
