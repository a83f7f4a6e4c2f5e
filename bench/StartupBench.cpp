// What start-up costs the core: the main window's form created with its auxiliary windows
// and shown, which resets the project and fills every control and table.
#include "forms/MainForm.h"

#include <benchmark/benchmark.h>

using namespace halvern;

namespace {

void BM_CreateAndShowMainForm(benchmark::State& state) {
    for (auto _ : state) {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs);
        form.FormShow();
        benchmark::DoNotOptimize(form.FlowGrid.Cell(0, 1));
    }
}
BENCHMARK(BM_CreateAndShowMainForm)->Unit(benchmark::kMicrosecond);

} // namespace
