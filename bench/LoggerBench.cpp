// Logger files: what the user waits for between choosing a large file and seeing its hours.
// Ninety days of one-minute samples of four channels in one file (129 600 lines): the
// layout found, every line read, the channels binned by hour, a week of weekdays averaged.
#include "io/LoggerFile.h"
#include "io/TimeStamp.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

using namespace halvern;

namespace {

std::string NinetyDays() {
    std::string text =
        "Logger,benchmark zone\nSerial,1\n\nTime;Inflow (l/s);Inlet (m);AZP (m);Critical (m)\n";
    text.reserve(130000 * 48);
    const int64_t first = DaysFromCivil(2024, 1, 1);
    char line[96];
    for (int64_t day = 0; day < 90; ++day) {
        int y = 0, m = 0, d = 0;
        CivilFromDays(first + day, y, m, d);
        for (int minute = 0; minute < 1440; ++minute) {
            const double q = 30 + 8 * std::sin(minute / 229.0) + (minute % 7) * 0.1;
            const int n =
                std::snprintf(line, sizeof line, "%02d/%02d/%04d %02d:%02d;%.2f;%.2f;%.2f;%.2f\n", d, m, y,
                              minute / 60, minute % 60, q, 60 - q * 0.1, 48 - q * 0.2, 26 - q * 0.3);
            text.append(line, static_cast<std::size_t>(n));
        }
    }
    // The program's own decimal mark is the point; this file is written as a logger set to a
    // comma would write it.
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

const std::string& File() {
    static const std::string text = NinetyDays();
    return text;
}

// The peak resident memory, kB, reset before the measured part where the system allows.
long PeakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmHWM:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
    return -1;
}
bool ResetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear);
}

void BM_LoggerReadAndAverage(benchmark::State& state) {
    const std::string& bytes = File();
    const long before = ResetPeak() ? PeakKilobytes() : -1;
    for (auto _ : state) {
        const TLoggerFile file = ReadLoggerBytes(bytes, "ninety-days.csv");
        if (!file.Ok()) state.SkipWithError(file.Error.c_str());
        const std::vector<int64_t> days =
            DaysBetween(DaysFromCivil(2024, 2, 5), DaysFromCivil(2024, 2, 11), TDayFilter::Weekdays);
        for (const TLoggerChannel& channel : file.Channels) {
            const THourlyMeans means = HourlyMeans(BinChannel(file, channel, false), days, 0.75);
            benchmark::DoNotOptimize(means);
        }
    }
    state.counters["lines"] = 129600;
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
    if (before >= 0)
        state.counters["peak_growth_MB"] = static_cast<double>(PeakKilobytes() - before) / 1024.0;
}
BENCHMARK(BM_LoggerReadAndAverage)->Unit(benchmark::kMillisecond);

// A change of the chosen days in the dialog: the hours of the binned channels averaged again.
void BM_LoggerAverageAgain(benchmark::State& state) {
    const TLoggerFile file = ReadLoggerBytes(File(), "ninety-days.csv");
    const TChannelBins bins = BinChannel(file, file.Channels[0], false);
    const std::vector<int64_t> days =
        DaysBetween(DaysFromCivil(2024, 1, 1), DaysFromCivil(2024, 3, 30), TDayFilter::All);
    for (auto _ : state)
        benchmark::DoNotOptimize(HourlyMeans(bins, days, 0.75));
}
BENCHMARK(BM_LoggerAverageAgain)->Unit(benchmark::kMicrosecond);

} // namespace
