// The full recalculation (every scenario and the costs, as showing the Summary page runs it)
// and the flow-modulated scenario at its worst, when no hour settles on its outlet.
#include "BenchProject.h"

#include <benchmark/benchmark.h>

using namespace halvern;
using namespace halvern::bench;

namespace {

void BM_RunAllOptionsAndCosts(benchmark::State& state) {
    TReadWindow window;
    TMainForm& form = *window.Form;
    for (auto _ : state) {
        window.Dialogs.Clear();
        form.Dispatch([&] {
            form.RunAllOptions();
            form.GetTheCosts();
        });
    }
}
BENCHMARK(BM_RunAllOptionsAndCosts)->Unit(benchmark::kMicrosecond);

// The worst the flow-modulated scenario meets. A peak-hour target far above anything the
// valve can give sends its reference hour through every outlet of its scan and leaves it
// open, and an AZP 40 m below the inlet (52 m of head loss at night) with N1 2.5 makes every
// hour's AZP balance steep.
void BM_FlowModulatedUnsettled(benchmark::State& state) {
    TReadWindow window;
    TMainForm& form = *window.Form;
    form.Dispatch([&] {
        form.AZPElevEdit.SetText("1380");
        form.N1Edit.SetText("2.50");
        form.HPFlowMod.SetText("400");
        form.RunAllOptions();
    });
    for (auto _ : state) {
        window.Dialogs.Clear();
        form.Dispatch([&] { form.CalcFlowPRV(); });
    }
}
BENCHMARK(BM_FlowModulatedUnsettled)->Unit(benchmark::kMicrosecond);

// The same scenario for a zone whose hours settle, for comparison.
void BM_FlowModulatedSettled(benchmark::State& state) {
    TReadWindow window;
    TMainForm& form = *window.Form;
    for (auto _ : state) {
        window.Dialogs.Clear();
        form.Dispatch([&] { form.CalcFlowPRV(); });
    }
}
BENCHMARK(BM_FlowModulatedSettled)->Unit(benchmark::kMicrosecond);

// One key typed into the low-flow target: the edit's change handler recomputes the current
// situation and the flow-modulated scenario. Two texts in turn, so that every key changes it.
void BM_LPFlowModKeystroke(benchmark::State& state) {
    TReadWindow window;
    TMainForm& form = *window.Form;
    const char* texts[] = {"18.5", "18"};
    int next = 0;
    for (auto _ : state) {
        window.Dialogs.Clear();
        form.Dispatch([&] { form.LPFlowMod.SetText(texts[next]); });
        next = 1 - next;
    }
}
BENCHMARK(BM_LPFlowModKeystroke)->Unit(benchmark::kMicrosecond);

} // namespace
