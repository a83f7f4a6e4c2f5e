// The batch summary as a utility runs it: `halvern-cli summary` over 1,000 generated zones,
// with one project at a time and with two at once. The figure to read is items_per_second
// (projects per second, wall-clock, the program's start included).
#include "GeneratedProjects.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace halvern::bench;

namespace {

constexpr int ProjectCount = 1000;

// The zones and the file that lists them, made once for every run of the benchmark.
struct TBatchFolder {
    std::filesystem::path Folder;
    std::string Arguments;
    TBatchFolder() {
        Folder =
            std::filesystem::temp_directory_path() / ("halvern-batch-bench-" + std::to_string(::getpid()));
        for (const std::string& file : GenerateProjects(Folder, ProjectCount))
            Arguments += " '" + file + "'";
    }
    ~TBatchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(Folder, ec);
    }
};

void BM_SummaryBatch(benchmark::State& state) {
    static const TBatchFolder batch;
    const std::string command = std::string("'") + HALVERN_CLI + "' summary --csv -j " +
                                std::to_string(state.range(0)) + batch.Arguments + " >/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("halvern-cli summary failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * ProjectCount);
}
BENCHMARK(BM_SummaryBatch)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
