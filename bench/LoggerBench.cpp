// Logger files: what the user waits for between choosing a file and seeing its hours. Every
// file is read from disk a piece at a time, as the dialog and import-logger read it: the layout
// found, every line read and binned by hour, the chosen days averaged.
#include "io/LoggerFile.h"
#include "io/TimeStamp.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

using namespace halvern;

namespace {

// A file in the temporary folder, written once by `write` and removed when the benchmarks end.
class TTempFile {
public:
    TTempFile(const std::string& name, const std::function<void(const std::string& path)>& write)
        : path_((std::filesystem::temp_directory_path() /
                 ("halvern-bench-" + std::to_string(::getpid()) + "-" + name))
                    .string()) {
        write(path_);
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;
    ~TTempFile() {
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    const std::string& Path() const { return path_; }
    std::uintmax_t Size() const {
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(path_, ec);
        return ec ? 0 : size;
    }

private:
    std::string path_;
};

// Lines written through a buffer of a few megabytes, so that a gigabyte is never in memory.
class TFastWriter {
public:
    explicit TFastWriter(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
        buffer_.reserve(kChunk);
    }
    TFastWriter(const TFastWriter&) = delete;
    TFastWriter& operator=(const TFastWriter&) = delete;
    ~TFastWriter() {
        Flush();
        if (file_) std::fclose(file_);
    }
    void Text(std::string_view text) {
        buffer_.append(text);
        if (buffer_.size() >= kChunk) Flush();
    }
    void Digits2(int value) {
        buffer_ += static_cast<char>('0' + value / 10);
        buffer_ += static_cast<char>('0' + value % 10);
    }
    // A value given in hundredths, with two decimals: 3123 -> "31.23" (or "31,23").
    void Hundredths(int value, char decimalMark = '.') {
        buffer_ += std::to_string(value / 100);
        buffer_ += decimalMark;
        Digits2(value % 100);
    }
    void Char(char c) { buffer_ += c; }
    void EndLine() {
        buffer_ += '\n';
        if (buffer_.size() >= kChunk) Flush();
    }

private:
    static constexpr std::size_t kChunk = std::size_t{4} << 20;
    void Flush() {
        if (file_ && !buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
        buffer_.clear();
    }
    std::FILE* file_;
    std::string buffer_;
};

// "2024-01-01 " for the day.
std::string IsoDay(int64_t day) {
    int y = 0, m = 0, d = 0;
    CivilFromDays(day, y, m, d);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d ", y, m, d);
    return text;
}

// The four channels a zone's logger records, in hundredths: an inflow that swings over the
// day and three pressures that fall as it rises.
struct TZoneValues {
    int Inflow, Inlet, AZP, Critical;
};
TZoneValues ZoneValues(int secondOfDay) {
    const int inflow = 3000 + (secondOfDay % 43200) / 54 + secondOfDay % 7;
    return {inflow, 6000 - inflow / 10, 4800 - inflow / 5, 2600 - inflow * 3 / 10};
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

// Reads the file and averages every channel over every day it records, as a choice of all
// the record's days in the dialog does.
void ReadAndAverage(benchmark::State& state, const std::string& path) {
    const TLoggerFile file = ReadLoggerFile(path);
    if (!file.Ok()) {
        state.SkipWithError(file.Error.c_str());
        return;
    }
    const std::vector<int64_t> days = file.Days();
    for (const TLoggerChannel& channel : file.Channels)
        benchmark::DoNotOptimize(HourlyMeans(channel.Bins(false), days, 0.75));
}

// Ninety days of one-minute samples of four channels (129,600 lines), dd/mm/yyyy stamps,
// semicolons and decimal commas as a logger set to a comma writes them.
void WriteNinetyDays(const std::string& path) {
    TFastWriter out(path);
    out.Text("Logger,benchmark zone\nSerial,1\n\nTime;Inflow (l/s);Inlet (m);AZP (m);Critical (m)\n");
    const int64_t first = DaysFromCivil(2024, 1, 1);
    for (int64_t day = 0; day < 90; ++day) {
        int y = 0, m = 0, d = 0;
        CivilFromDays(first + day, y, m, d);
        char date[16];
        std::snprintf(date, sizeof date, "%02d/%02d/%04d ", d, m, y);
        for (int minute = 0; minute < 1440; ++minute) {
            const int q =
                static_cast<int>(std::lround((30 + 8 * std::sin(minute / 229.0)) * 100)) + minute % 7 * 10;
            out.Text(date);
            out.Digits2(minute / 60);
            out.Char(':');
            out.Digits2(minute % 60);
            for (const int value : {q, 6000 - q / 10, 4800 - q / 5, 2600 - q * 3 / 10}) {
                out.Char(';');
                out.Hundredths(value, ',');
            }
            out.EndLine();
        }
    }
}

const TTempFile& NinetyDays() {
    static const TTempFile file("ninety-days.csv", WriteNinetyDays);
    return file;
}

void BM_LoggerReadAndAverage(benchmark::State& state) {
    const TTempFile& file = NinetyDays();
    const long before = ResetPeak() ? PeakKilobytes() : -1;
    for (auto _ : state) {
        const TLoggerFile read = ReadLoggerFile(file.Path());
        if (!read.Ok()) state.SkipWithError(read.Error.c_str());
        const std::vector<int64_t> days =
            DaysBetween(DaysFromCivil(2024, 2, 5), DaysFromCivil(2024, 2, 11), TDayFilter::Weekdays);
        for (const TLoggerChannel& channel : read.Channels)
            benchmark::DoNotOptimize(HourlyMeans(channel.Bins(false), days, 0.75));
    }
    state.counters["lines"] = 129600;
    state.counters["file_MB"] = static_cast<double>(file.Size()) / 1e6;
    if (before >= 0)
        state.counters["peak_growth_MB"] = static_cast<double>(PeakKilobytes() - before) / 1024.0;
}
BENCHMARK(BM_LoggerReadAndAverage)->Unit(benchmark::kMillisecond);

// A change of the chosen days in the dialog: the hours of the binned channels averaged again.
void BM_LoggerAverageAgain(benchmark::State& state) {
    const TLoggerFile file = ReadLoggerFile(NinetyDays().Path());
    if (!file.Ok() || file.Channels.empty()) {
        state.SkipWithError(file.Error.c_str());
        return;
    }
    const TChannelBins& bins = file.Channels[0].Bins(false);
    const std::vector<int64_t> days =
        DaysBetween(DaysFromCivil(2024, 1, 1), DaysFromCivil(2024, 3, 30), TDayFilter::All);
    for (auto _ : state)
        benchmark::DoNotOptimize(HourlyMeans(bins, days, 0.75));
}
BENCHMARK(BM_LoggerAverageAgain)->Unit(benchmark::kMicrosecond);

// Goal: a five-minute export of 130,000 lines (about fifteen months of four channels) read from
// its file and averaged over every day in 0.3 s at most.
void WriteFiveMinuteExport(const std::string& path) {
    TFastWriter out(path);
    out.Text("Time,Inflow (l/s),Inlet (m),AZP (m),Critical (m)\n");
    constexpr int kLines = 130000;
    const int64_t first = DaysFromCivil(2023, 1, 1);
    for (int line = 0; line < kLines; ++line) {
        const int second = (line % 288) * 300;
        out.Text(IsoDay(first + line / 288));
        out.Digits2(second / 3600);
        out.Char(':');
        out.Digits2(second / 60 % 60);
        const TZoneValues v = ZoneValues(second);
        for (const int value : {v.Inflow, v.Inlet, v.AZP, v.Critical}) {
            out.Char(',');
            out.Hundredths(value);
        }
        out.EndLine();
    }
}

void BM_LoggerFiveMinuteExport(benchmark::State& state) {
    static const TTempFile file("five-minute.csv", WriteFiveMinuteExport);
    for (auto _ : state)
        ReadAndAverage(state, file.Path());
    state.counters["lines"] = 130000;
    state.counters["file_MB"] = static_cast<double>(file.Size()) / 1e6;
}
BENCHMARK(BM_LoggerFiveMinuteExport)->Unit(benchmark::kMillisecond);

// Goal: a gigabyte of one-second samples of four channels (about 260 days, 22.7 million lines)
// read from its file and averaged over every day in 10 s at most, with no more than 300 MB of
// memory: the reader keeps the hourly bins, not the samples. The file is written once, before
// the measured part; the peak resident memory's growth while reading is a counter.
constexpr int kGigabyteDays = 263;
void WriteOneGigabyte(const std::string& path) {
    TFastWriter out(path);
    out.Text("Time,Inflow (l/s),Inlet (m),AZP (m),Critical (m)\n");
    const int64_t first = DaysFromCivil(2023, 1, 1);
    for (int day = 0; day < kGigabyteDays; ++day) {
        const std::string date = IsoDay(first + day);
        for (int second = 0; second < 86400; ++second) {
            out.Text(date);
            out.Digits2(second / 3600);
            out.Char(':');
            out.Digits2(second / 60 % 60);
            out.Char(':');
            out.Digits2(second % 60);
            const TZoneValues v = ZoneValues(second);
            for (const int value : {v.Inflow, v.Inlet, v.AZP, v.Critical}) {
                out.Char(',');
                out.Hundredths(value);
            }
            out.EndLine();
        }
    }
}

void BM_LoggerOneGigabyte(benchmark::State& state) {
    const TTempFile file("one-gigabyte.csv", WriteOneGigabyte);
    const long before = ResetPeak() ? PeakKilobytes() : -1;
    for (auto _ : state)
        ReadAndAverage(state, file.Path());
    state.counters["lines"] = kGigabyteDays * 86400.0;
    state.counters["file_MB"] = static_cast<double>(file.Size()) / 1e6;
    // The whole process's peak too: the goal is what the user's machine must have free.
    state.counters["peak_MB"] = static_cast<double>(PeakKilobytes()) / 1024.0;
    if (before >= 0)
        state.counters["peak_growth_MB"] = static_cast<double>(PeakKilobytes() - before) / 1024.0;
}
BENCHMARK(BM_LoggerOneGigabyte)->Unit(benchmark::kSecond)->Iterations(1);

// Goal: a file of 10,000 columns (a hundred lines of them) refused, or read, within 1 s: no
// step of the reader may grow with the square of the columns.
void WriteTenThousandColumns(const std::string& path) {
    TFastWriter out(path);
    constexpr int kColumns = 10000;
    out.Text("Time");
    for (int c = 1; c < kColumns; ++c)
        out.Text(",P" + std::to_string(c) + " (m)");
    out.EndLine();
    const int64_t day = DaysFromCivil(2024, 3, 4);
    for (int line = 0; line < 100; ++line) {
        out.Text(IsoDay(day));
        out.Digits2(line / 4);
        out.Char(':');
        out.Digits2(line % 4 * 15);
        for (int c = 1; c < kColumns; ++c) {
            out.Char(',');
            out.Hundredths(4000 + c % 500 + line);
        }
        out.EndLine();
    }
}

void BM_LoggerTenThousandColumns(benchmark::State& state) {
    static const TTempFile file("ten-thousand-columns.csv", WriteTenThousandColumns);
    bool read = false;
    for (auto _ : state) {
        const TLoggerFile logger = ReadLoggerFile(file.Path());
        read = logger.Ok();
        benchmark::DoNotOptimize(logger.Error);
    }
    state.counters["columns"] = 10000;
    state.counters["read"] = read ? 1 : 0; // 0: refused
    state.counters["file_MB"] = static_cast<double>(file.Size()) / 1e6;
}
BENCHMARK(BM_LoggerTenThousandColumns)->Unit(benchmark::kMillisecond);

} // namespace
