// halvern-cli import-logger: the words of the command, and what it prints about logger
// files and the hourly values they give.
#pragma once
#include "forms/LoggerImport.h"
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace halvern::cli {

struct TLoggerCommand {
    bool List = false;
    std::vector<std::string> ListFiles;
    // FILE[:COLUMN][@UNIT] for inflow, inlet, AZP and critical point pressure.
    std::array<std::optional<std::string>, MeasuredCount> ChannelArgs;
    std::optional<std::string> Day, Days, FromDay, ToDay;
    TDayFilter Filter = TDayFilter::All;
    bool StampAtEnd = false;
    double MinCoverage = 0.75;
    bool MonthFirst = false;
    std::optional<int> ZoneOffsetMinutes; // --utc-offset, minutes east of UTC
    bool AcceptClockChange = false;
    bool SetFlowHours = false;
    std::optional<std::string> Output, From;
};

// The command's words; a text saying what is wrong with them instead.
std::optional<TLoggerCommand> ParseLoggerCommand(const std::vector<std::string>& args, std::string& wrong);

// FILE[:COLUMN][@UNIT] taken apart. The file is the part that names an existing file: a
// heading may hold ":" or "/", and a unit "/" too.
struct TChannelArg {
    std::string File;
    std::optional<std::string> Column, Unit;
};
TChannelArg SplitChannelArg(const std::string& arg);

// The logger files the command reads, each once, in the order given.
std::vector<std::string> LoggerInputFiles(const TLoggerCommand& command);

// What --list prints of one file: its layout, channels, interval and date range.
std::string LoggerListText(const TLoggerFile& file);

// Reads the named files and assigns their channels and units in the form; the message
// of the first fault (a file, a channel not found, an unknown unit, a day) instead.
std::optional<std::string> SetUpLoggerImport(TLoggerImportForm& form, const TLoggerCommand& command);

// The 24 values with their coverage, one line an hour, in the table's units.
std::string LoggerHoursText(const TLoggerImportForm& form, const TLoggerPreview& preview);

} // namespace halvern::cli
