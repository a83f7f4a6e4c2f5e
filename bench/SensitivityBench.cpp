// The N1 sweep of the demo zone as the "N1 Sensitivity" page and `halvern-cli sensitivity`
// run it: nine N1 values and the project's own, each on a copy of the window. The page must
// follow an edit without a visible pause; the figure to read is the time per sweep.
#include "BenchProject.h"
#include "forms/N1Sweep.h"

#include <benchmark/benchmark.h>

using namespace halvern;
using namespace halvern::bench;

namespace {

// The page's sweep after an edit: the copies of the window are kept from the sweep before.
void BM_N1SweepDemo(benchmark::State& state) {
    TReadWindow window;
    const TN1SweepSource source = TakeN1SweepSource(*window.Form);
    const unsigned threads = static_cast<unsigned>(state.range(0));
    TN1SweepCopies copies;
    RunN1Sweep(source, TN1Range{}, threads, &copies);
    for (auto _ : state) {
        std::vector<TN1SweepRow> rows = RunN1Sweep(source, TN1Range{}, threads, &copies);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * 10);
}
BENCHMARK(BM_N1SweepDemo)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first sweep, and every sweep of `halvern-cli sensitivity`: ten windows made as well.
void BM_N1SweepDemoNewCopies(benchmark::State& state) {
    TReadWindow window;
    const TN1SweepSource source = TakeN1SweepSource(*window.Form);
    const unsigned threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        std::vector<TN1SweepRow> rows = RunN1Sweep(source, TN1Range{}, threads);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * 10);
}
BENCHMARK(BM_N1SweepDemoNewCopies)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// One N1 on a kept copy: the project put in, the N1 typed, the Summary.
void BM_N1SweepOneRow(benchmark::State& state) {
    TReadWindow window;
    const TN1SweepSource source = TakeN1SweepSource(*window.Form);
    TN1SweepRow row = N1SweepRows(TN1Range{}, source.ProjectN1Text).front();
    TN1SweepCopy copy;
    for (auto _ : state)
        RunN1SweepRow(source, row, copy);
}
BENCHMARK(BM_N1SweepOneRow)->Unit(benchmark::kMicrosecond);

// Taking what the sweep reads from the window, and telling whether it changed (done after
// every event while the page is in view).
void BM_N1SweepSourceCheck(benchmark::State& state) {
    TReadWindow window;
    const TN1SweepSource before = TakeN1SweepSource(*window.Form);
    for (auto _ : state) {
        const TN1SweepSource now = TakeN1SweepSource(*window.Form);
        benchmark::DoNotOptimize(now == before);
    }
}
BENCHMARK(BM_N1SweepSourceCheck)->Unit(benchmark::kMicrosecond);

} // namespace
