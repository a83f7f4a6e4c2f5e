// halvern-cli import-logger: its words, its listing and its table of hours.
#include "LoggerCommand.h"

#include "io/TimeStamp.h"
#include "model/Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <map>

namespace halvern::cli {
namespace {

const char* const kChannelOptions[MeasuredCount] = {"--flow", "--inlet", "--azp", "--critical"};

std::string Padded(const std::string& text, std::size_t width) {
    const std::size_t length = Utf8Length(text);
    return length >= width ? text : std::string(width - length, ' ') + text;
}

std::string ChannelNames(const TLoggerFile& file) {
    std::string names;
    for (const TLoggerChannel& channel : file.Channels)
        names += (names.empty() ? "" : ", ") + std::to_string(channel.Column) + " \"" + channel.Name + "\"";
    return names;
}

} // namespace

std::optional<TLoggerCommand> ParseLoggerCommand(const std::vector<std::string>& args, std::string& wrong) {
    TLoggerCommand command;
    std::optional<std::string> stamp, coverage, offset;
    std::map<std::string, std::optional<std::string>*> values = {
        {"--day", &command.Day},      {"--days", &command.Days}, {"--from-day", &command.FromDay},
        {"--to-day", &command.ToDay}, {"--stamp", &stamp},       {"--min-coverage", &coverage},
        {"-o", &command.Output},      {"--from", &command.From}, {"--utc-offset", &offset}};
    for (std::size_t q = 0; q < MeasuredCount; ++q)
        values[kChannelOptions[q]] = &command.ChannelArgs[q];
    const std::map<std::string, bool*> flags = {{"--list", &command.List},
                                                {"--month-first", &command.MonthFirst},
                                                {"--accept-clock-change", &command.AcceptClockChange},
                                                {"--set-flow-hours", &command.SetFlowHours}};
    bool weekdays = false, weekends = false, optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || arg.empty() || arg[0] != '-' || arg == "-") {
            command.ListFiles.push_back(arg);
            continue;
        }
        if (arg == "--weekdays" || arg == "--weekends") {
            (arg == "--weekdays" ? weekdays : weekends) = true;
            continue;
        }
        if (const auto flag = flags.find(arg); flag != flags.end()) {
            *flag->second = true;
            continue;
        }
        const auto value = values.find(arg);
        if (value == values.end()) {
            wrong = "unknown option " + arg;
            return std::nullopt;
        }
        if (*value->second) {
            wrong = arg + " given twice";
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            wrong = arg + " needs a value";
            return std::nullopt;
        }
        *value->second = args[++i];
    }
    if (offset) {
        command.ZoneOffsetMinutes = ParseUtcOffset(*offset);
        if (!command.ZoneOffsetMinutes) {
            wrong = "--utc-offset is the zone's offset from UTC as ±hh:mm, such as +02:00 or -03:30, not \"" +
                    *offset + "\"";
            return std::nullopt;
        }
    }
    if (command.List) {
        if (command.ListFiles.empty()) wrong = "import-logger --list needs one logger file at least";
        return wrong.empty() ? std::optional(command) : std::nullopt;
    }
    if (!command.ListFiles.empty())
        wrong = "import-logger takes its files with --flow, --inlet, --azp and --critical, not " +
                command.ListFiles[0];
    else if (std::none_of(command.ChannelArgs.begin(), command.ChannelArgs.end(),
                          [](const auto& s) { return s.has_value(); }))
        wrong = "import-logger needs --flow, --inlet, --azp or --critical";
    else if ((command.Day.has_value() + command.Days.has_value() + (command.FromDay || command.ToDay)) != 1)
        wrong = "import-logger needs one of --day, --days, or --from-day with --to-day";
    else if ((command.FromDay || command.ToDay) && !(command.FromDay && command.ToDay))
        wrong = "--from-day and --to-day go together";
    else if ((weekdays || weekends) && !command.FromDay)
        wrong = "--weekdays and --weekends choose among --from-day to --to-day";
    else if (weekdays && weekends)
        wrong = "--weekdays or --weekends, not both";
    else if (stamp && *stamp != "start" && *stamp != "end")
        wrong = "--stamp is start or end";
    else if (!command.Output)
        wrong = "import-logger needs -o FILE.pru";
    if (!wrong.empty()) return std::nullopt;
    command.Filter = weekdays ? TDayFilter::Weekdays : weekends ? TDayFilter::Weekends : TDayFilter::All;
    command.StampAtEnd = stamp && *stamp == "end";
    if (coverage) {
        const auto [end, ec] =
            std::from_chars(coverage->data(), coverage->data() + coverage->size(), command.MinCoverage);
        if (ec != std::errc() || end != coverage->data() + coverage->size() || !(command.MinCoverage >= 0) ||
            command.MinCoverage > 1) {
            wrong = "--min-coverage is a fraction from 0 to 1, such as 0.75";
            return std::nullopt;
        }
    }
    return command;
}

TChannelArg SplitChannelArg(const std::string& arg) {
    TChannelArg split{arg, std::nullopt, std::nullopt};
    std::string& file = split.File;
    std::error_code ec;
    if (const std::size_t at = file.rfind('@');
        at != std::string::npos && !std::filesystem::exists(file, ec)) {
        split.Unit = file.substr(at + 1);
        file.erase(at);
    }
    if (!std::filesystem::exists(file, ec)) {
        for (std::size_t colon = file.find(':'); colon != std::string::npos;
             colon = file.find(':', colon + 1))
            if (std::filesystem::exists(file.substr(0, colon), ec)) {
                split.Column = file.substr(colon + 1);
                file.erase(colon);
                break;
            }
    }
    return split;
}

std::vector<std::string> LoggerInputFiles(const TLoggerCommand& command) {
    if (command.List) return command.ListFiles;
    std::vector<std::string> files;
    for (const auto& arg : command.ChannelArgs)
        if (arg) {
            std::string file = SplitChannelArg(*arg).File;
            if (std::find(files.begin(), files.end(), file) == files.end()) files.push_back(std::move(file));
        }
    return files;
}

std::string LoggerListText(const TLoggerFile& file) {
    std::string text = file.FileName + "\n";
    text += "  code page: " + file.CodePage + "\n";
    text += "  separator: " + MarksText(file) + "\n";
    text += "  lines before the data: " + std::to_string(file.LinesBefore) +
            (file.HasHeading ? " (the last names the columns)" : "") + "\n";
    text += "  time stamp: column " + std::to_string(file.StampColumn) +
            (file.TimeColumn ? " and " + std::to_string(file.TimeColumn) : std::string()) + ", " +
            file.StampFormat + "\n";
    text += "  clock: " + file.TimeReading + "\n";
    text += "  record: " + RecordRangeText(file) + ", every " + IntervalText(file.IntervalSeconds) + ", " +
            std::to_string(file.SampleCount) + " samples, " + std::to_string(file.SpanDays()) + " days\n";
    for (const TClockChange& change : file.ClockChanges)
        text += "  clock change: " + DayText(change.Day) + " has " + std::to_string(change.Hours) +
                " hours (line " + std::to_string(change.Line) + ")\n";
    text += "  channels:\n";
    for (const TLoggerChannel& channel : file.Channels) {
        text += "    " + std::to_string(channel.Column) + " \"" + channel.Name +
                "\": " + std::to_string(channel.Samples) + " samples";
        if (const auto unit = UnitInHeading(channel.Name)) text += ", " + LoggerUnitText(*unit);
        text += "\n";
    }
    return text;
}

std::optional<std::string> SetUpLoggerImport(TLoggerImportForm& form, const TLoggerCommand& command) {
    form.ReadOptions.MonthFirst = command.MonthFirst;
    form.ReadOptions.ZoneOffsetMinutes = command.ZoneOffsetMinutes;
    form.StampAtEnd = command.StampAtEnd;
    form.MinCoverage = command.MinCoverage;
    form.Assigned = {};
    std::map<std::string, int> opened;
    for (std::size_t q = 0; q < MeasuredCount; ++q) {
        if (!command.ChannelArgs[q]) continue;
        const auto [file, column, unitText] = SplitChannelArg(*command.ChannelArgs[q]);
        const std::string option = kChannelOptions[q];
        if (!opened.count(file)) {
            TLoggerFile read = ReadLoggerFile(file, form.ReadOptions);
            if (!read.Ok()) return read.Error;
            form.Files.push_back(std::move(read));
            opened[file] = static_cast<int>(form.Files.size()) - 1;
        }
        const int index = opened[file];
        const TLoggerFile& logger = form.Files[static_cast<std::size_t>(index)];
        const TLoggerChannel* channel = nullptr;
        if (column) {
            channel = logger.FindChannel(*column);
            if (!channel)
                return option + ": " + file + " has no channel \"" + *column + "\"; its channels are " +
                       ChannelNames(logger) + ".";
        } else if (logger.Channels.size() == 1) {
            channel = &logger.Channels[0];
        } else {
            return option + ": " + file + " has " + std::to_string(logger.Channels.size()) + " channels (" +
                   ChannelNames(logger) + "); name one as FILE:COLUMN.";
        }
        const bool flow = q == 0;
        std::optional<TLoggerUnit> unit;
        if (unitText) {
            unit = ParseLoggerUnit(*unitText);
            if (!unit)
                return option + ": unknown unit \"" + *unitText + "\"; " +
                       (flow ? "flows are in m3/h, l/s or m3/d" : "pressures are in m, bar or kPa") + ".";
            if (IsFlowUnit(*unit) != flow)
                return option + ": " + LoggerUnitText(*unit) + " is not a unit of " +
                       MeasuredName(static_cast<TMeasured>(q)) + ".";
        }
        // Without a unit given, the one the heading names, as the dialog assigns it.
        form.Assign(static_cast<TMeasured>(q), index, static_cast<int>(channel - logger.Channels.data()),
                    unit);
    }

    const auto day = [](const std::string& text, std::optional<std::string>& wrong) {
        const auto parsed = ParseDayText(text);
        if (!parsed) wrong = "\"" + text + "\" is not a day written as YYYY-MM-DD.";
        return parsed.value_or(0);
    };
    std::optional<std::string> wrong;
    if (command.FromDay) {
        form.DayMode = TDayMode::Range;
        form.FromDay = day(*command.FromDay, wrong);
        form.ToDay = day(*command.ToDay, wrong);
        form.RangeFilter = command.Filter;
    } else {
        form.DayMode = TDayMode::Days;
        form.ChosenDays.clear();
        const std::string list = command.Day ? *command.Day : *command.Days;
        for (std::size_t start = 0; start <= list.size();) {
            const std::size_t comma = std::min(list.find(',', start), list.size());
            form.ChosenDays.push_back(day(list.substr(start, comma - start), wrong));
            start = comma + 1;
        }
    }
    return wrong;
}

std::string LoggerHoursText(const TLoggerImportForm& form, const TLoggerPreview& preview) {
    std::string text = "Days: ";
    if (preview.Days.size() <= 7) {
        for (std::size_t i = 0; i < preview.Days.size(); ++i)
            text += (i ? ", " : "") + DayText(preview.Days[i]);
    } else {
        text += DayText(preview.Days.front()) + " to " + DayText(preview.Days.back()) + ", " +
                std::to_string(preview.Days.size()) + " days";
    }
    text += "\nHour ";
    const char* const headings[MeasuredCount] = {"Inflow (m³/hr)", "Inlet (m)", "AZP (m)", "Critical (m)"};
    for (std::size_t q = 0; q < MeasuredCount; ++q)
        if (preview.Means[q]) text += Padded(headings[q], 16) + "  cover";
    text += "\n";
    for (int h = 0; h < 24; ++h) {
        const auto hour = static_cast<std::size_t>(h);
        text += HourText(h);
        for (std::size_t q = 0; q < MeasuredCount; ++q) {
            if (!preview.Means[q]) continue;
            const double mean = preview.Means[q]->Mean[hour];
            text += Padded(std::isnan(mean) ? "-" : FormatFixed(mean, 15, q == 0 ? 3 : 2), 16);
            // The chosen day covered least, as the dialog's column shows it.
            text += Padded(CoverageText(preview.Means[q]->LowestCoverage[hour]), 7);
        }
        if (preview.Flagged[hour])
            text += "  below " + std::to_string(static_cast<int>(form.MinCoverage * 100 + 0.5)) + "%";
        text += "\n";
    }
    return text;
}

} // namespace halvern::cli
