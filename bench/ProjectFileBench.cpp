// Reading and writing projects: what the user waits for after "Read data" and "Save data".
#include "BenchProject.h"

#include "io/ProjectFile.h"
#include "io/TextCodec.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace halvern;
using namespace halvern::bench;

namespace {

std::string ReadAll(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// "Read data" of the demo zone: parsing, applying, Initialise, every analysis and the costs.
void BM_ReadProjectWithRecalculation(benchmark::State& state) {
    TReadWindow window;
    for (auto _ : state) {
        window.Dialogs.Clear();
        const TReadOutcome outcome = ReadProjectFile(*window.Form, DemoProject());
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_ReadProjectWithRecalculation)->Unit(benchmark::kMillisecond);

// The file alone: decoding and parsing the 277 lines, no window involved.
void BM_ParseProjectFile(benchmark::State& state) {
    const std::string bytes = ReadAll(DemoProject());
    for (auto _ : state) {
        TProjectParse parse = ParseProjectFile(DecodeFileText(bytes));
        benchmark::DoNotOptimize(parse);
    }
}
BENCHMARK(BM_ParseProjectFile)->Unit(benchmark::kMicrosecond);

// "Save data": collecting the inputs, writing the lines and replacing the file on disk.
void BM_SaveProject(benchmark::State& state) {
    TReadWindow window;
    const std::string target = (std::filesystem::temp_directory_path() / "halvern-bench-save.pru").string();
    for (auto _ : state) {
        const bool saved = SaveProjectFile(*window.Form, target);
        benchmark::DoNotOptimize(saved);
    }
    std::remove(target.c_str());
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMicrosecond);

// The text of a project alone, without the inputs' collection and the disk.
void BM_FormatProjectFile(benchmark::State& state) {
    TReadWindow window;
    const TProjectFileData data = CollectProjectData(*window.Form);
    for (auto _ : state) {
        std::string bytes = EncodeFileText(FormatProjectFile(data));
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_FormatProjectFile)->Unit(benchmark::kMicrosecond);

} // namespace
