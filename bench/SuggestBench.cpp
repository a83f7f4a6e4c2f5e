// Suggesting the three valves' settings for the demo zone, as "Suggest all" does: with the
// windows as set, and with the time-modulated windows searched too (4 intervals). Each
// includes copying the window, which every suggestion starts with.
#include "BenchProject.h"
#include "forms/ValveSuggestion.h"

#include <benchmark/benchmark.h>

using namespace halvern;
using namespace halvern::bench;

namespace {

void BM_SuggestAll(benchmark::State& state) {
    TReadWindow window;
    int runs = 0;
    for (auto _ : state) {
        TValveSuggester suggester(*window.Form);
        for (TValve valve : {TValve::Fixed, TValve::Time, TValve::Flow})
            benchmark::DoNotOptimize(suggester.Suggest(valve));
        runs = suggester.Runs();
    }
    state.counters["scenario_runs"] = runs;
}
BENCHMARK(BM_SuggestAll)->Unit(benchmark::kMillisecond);

void BM_SuggestWindowsFourIntervals(benchmark::State& state) {
    TReadWindow window;
    TMainForm& form = *window.Form;
    form.Dispatch([&] { form.Interval4Radio.Click(); });
    TSuggestOptions options;
    options.ChooseWindows = true;
    int runs = 0;
    for (auto _ : state) {
        TValveSuggester suggester(form);
        benchmark::DoNotOptimize(suggester.Suggest(TValve::Time, options));
        runs = suggester.Runs();
    }
    state.counters["scenario_runs"] = runs;
}
BENCHMARK(BM_SuggestWindowsFourIntervals)->Unit(benchmark::kMillisecond);

// Copying the window alone: what every suggestion pays before it starts.
void BM_SuggestCopyWindow(benchmark::State& state) {
    TReadWindow window;
    for (auto _ : state) {
        TValveSuggester suggester(*window.Form);
        benchmark::DoNotOptimize(&suggester);
    }
}
BENCHMARK(BM_SuggestCopyWindow)->Unit(benchmark::kMillisecond);

} // namespace
