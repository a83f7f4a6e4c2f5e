// Any bytes as a logger file, read with every sample kept. The first byte chooses how the user
// asked for it to be read (dates month first, the zone's offset from UTC, the least coverage);
// the rest is the file. A file read keeps its samples in the order of elapsed time, one value
// per channel and sample, its first and last stamps the earliest and the latest, and bins whose
// hourly means are numbers, or none where nothing covers the hour, or say which hour overflows;
// a file refused names itself.
#include "io/LoggerFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

using namespace halvern;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Offsets a user may give: none, UTC itself, the usual whole hours, and the odd ones
// (half and three-quarter hours, the widest there are).
constexpr std::optional<int> kOffsets[8] = {std::nullopt, 0, 60, 120, -210, 345, -720, 840};

TLoggerOptions OptionsFrom(unsigned char choice) {
    TLoggerOptions options;
    options.KeepSamples = true;
    options.MonthFirst = (choice & 1) != 0;
    options.ZoneOffsetMinutes = kOffsets[(choice >> 1) & 7];
    return options;
}

// Values up to the largest a number holds are read, so an hour's value times its seconds may
// pass it: such a bin is never averaged in silence, its day's mean names the hour instead.
void CheckBins(const TChannelBins& bins) {
    for (std::size_t d = 0; d < bins.Days.size(); ++d) {
        if (d > 0) Check(bins.Days[d - 1].Day < bins.Days[d].Day);
        Check(bins.Find(bins.Days[d].Day) == &bins.Days[d].Hours);
        for (std::size_t h = 0; h < 24; ++h) {
            const THourBin& bin = bins.Days[d].Hours[h];
            Check(bin.Seconds >= 0 && std::isfinite(bin.Seconds));
            if (std::isfinite(bin.Sum)) continue;
            const THourlyMeans day = HourlyMeans(bins, {bins.Days[d].Day}, 0);
            Check(day.NotFinite.has_value() && *day.NotFinite <= static_cast<int>(h) &&
                  std::isnan(day.Mean[h]));
        }
        const double coverage = bins.DayCoverage(bins.Days[d].Day);
        Check(coverage >= 0 && coverage <= 1);
    }
    Check(bins.Gaps.size() <= TChannelBins::MaxGapsKept);
    for (const TGap& gap : bins.Gaps)
        Check(gap.From < gap.To);
}

void CheckMeans(const TLoggerFile& file, bool stampAtEnd, double minCoverage) {
    const std::vector<int64_t> days = file.Days(stampAtEnd);
    Check(std::is_sorted(days.begin(), days.end()) &&
          std::adjacent_find(days.begin(), days.end()) == days.end());
    for (const TLoggerChannel& channel : file.Channels) {
        const THourlyMeans means = HourlyMeans(channel.Bins(stampAtEnd), days, minCoverage);
        for (std::size_t h = 0; h < 24; ++h) {
            Check(means.Coverage[h] >= 0 && means.Coverage[h] <= 1);
            Check(means.LowestCoverage[h] >= 0 && means.LowestCoverage[h] <= 1);
            Check(means.LowestCoverage[h] <= means.Coverage[h] + 1e-12);
            if (means.NotFinite) continue;
            const double mean = means.Mean[h];
            Check(std::isfinite(mean) || (std::isnan(mean) && means.Coverage[h] == 0));
        }
        if (means.NotFinite) Check(*means.NotFinite >= 0 && *means.NotFinite < 24);
        for (const TLowCoverage& low : means.Low) {
            Check(low.Hour >= 0 && low.Hour < 24);
            Check(low.Coverage >= 0 && low.Coverage < minCoverage);
            Check(std::binary_search(days.begin(), days.end(), low.Day));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const TLoggerOptions options = OptionsFrom(data[0]);
    const double minCoverage = (data[0] >> 4) / 15.0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string fileName = "fuzz-logger.csv";
    const TLoggerFile file = ReadLoggerBytes(bytes, fileName, options);

    if (!file.Ok()) {
        Check(file.Error.find(fileName) != std::string::npos);
        return 0;
    }
    const std::size_t samples = file.SampleCount;
    Check(file.Local.size() == samples && file.Elapsed.size() == samples);
    for (std::size_t i = 1; i < samples; ++i)
        Check(file.Elapsed[i - 1] < file.Elapsed[i]);
    if (samples > 0) {
        const auto [lowest, highest] = std::minmax_element(file.Local.begin(), file.Local.end());
        Check(file.FirstLocal == *lowest && file.LastLocal == *highest);
    }
    for (const TLoggerChannel& channel : file.Channels) {
        Check(channel.Values.size() == samples);
        const auto present = static_cast<std::size_t>(std::count_if(
            channel.Values.begin(), channel.Values.end(), [](double v) { return !std::isnan(v); }));
        Check(channel.Samples == present);
        CheckBins(channel.StartBins);
        CheckBins(channel.EndBins);
    }
    CheckMeans(file, false, minCoverage);
    CheckMeans(file, true, minCoverage);
    return 0;
}
