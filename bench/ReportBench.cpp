// The spreadsheet report of the demo zone: what the user waits for between the save dialog
// and the spreadsheet application opening the workbook. The whole report should take no
// more than 50 ms.
#include "BenchProject.h"

#include "reports/SpreadsheetReport.h"
#include "reports/XlsxFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace halvern;
using namespace halvern::bench;

namespace {

TReportChoice AllSheets() {
    TReportChoice all;
    all.fill(true);
    return all;
}

// All six sheets written into the workbook, saved as .xlsx with the charts' flow axes and
// put in place of the file.
void BM_WriteSixSheetReport(benchmark::State& state) {
    TReadWindow window;
    TSpreadsheetReport report(*window.Form);
    const std::string target =
        (std::filesystem::temp_directory_path() / "halvern-bench-report.xlsx").string();
    for (auto _ : state) {
        report.ExportReport(AllSheets(), target);
        if (!report.HasLastReport()) state.SkipWithError("the report was not written");
    }
    std::filesystem::remove(target);
}
BENCHMARK(BM_WriteSixSheetReport)->Unit(benchmark::kMillisecond);

// The sheets alone, in memory: the writers and the workbook without the file.
void BM_BuildSixSheetWorkbook(benchmark::State& state) {
    TReadWindow window;
    TSpreadsheetReport report(*window.Form);
    report.Save = [](const TWorkbook&, const std::string&) { return TWriteNotes{}; };
    for (auto _ : state)
        report.ExportReport(AllSheets(), "in-memory.xlsx");
}
BENCHMARK(BM_BuildSixSheetWorkbook)->Unit(benchmark::kMillisecond);

} // namespace
