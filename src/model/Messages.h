// Every message the program shows in a box, and the warnings its result pages show, in one
// place and in the program's own words. A text here is what the user reads, byte for byte:
// mend a word here and nowhere else. The few built from a value are small functions. The
// table sits in the lowest layer, so that the file formats and the errors that stop a
// calculation take their words from it too; a test fails when a box is handed a text of
// its own.
#pragma once
#include <cstddef>
#include <string>

namespace halvern::Msg {

// ---- the input collection -----------------------------------------------------------------
// Each message of the collection is one of these followed by CannotProceed.
inline constexpr const char* CannotProceed = "\nCannot proceed with calculations.";

inline constexpr const char* MainsLengthInvalid = "Mains length is invalid.";
inline constexpr const char* NumOfConnectInvalid = "Number of connections are invalid.";
inline constexpr const char* NumOfServicedInvalid = "Number of serviced properties are invalid.";
inline constexpr const char* NumNonResidentialInvalid = "Number of Non-residential properties are invalid.";
inline constexpr const char* PopulationInvalid = "Population number is invalid.";
inline constexpr const char* MinPressureInvalid = "Minimum peak demand pressure is invalid.";
inline constexpr const char* MinNightPressureInvalid = "Minimum night pressure is invalid.";
inline constexpr const char* InletElevInvalid = "Inlet elevation is invalid.";
inline constexpr const char* AZPElevInvalid = "AZP elevation is invalid.";
inline constexpr const char* TargetElevInvalid = "Target elevation is invalid.";
inline constexpr const char* FlowTimesSame = "High flow time and low flow time are the same.";
inline constexpr const char* MainsLossInvalid = "Mains losses are invalid.";
inline constexpr const char* ConnectPresInvalid = "Connection Pressures are invalid.";
inline constexpr const char* ConnectLossInvalid = "Connection losses are invalid.";
inline constexpr const char* PropPressInvalid = "Property Pressures are invalid.";
inline constexpr const char* PropertyLossInvalid = "Property losses are invalid.";
inline constexpr const char* DailyNonResidentialInvalid =
    "Estimated total daily non-residential consumption are invalid.";
inline constexpr const char* N1Invalid = "N1 factor is invalid.";
inline constexpr const char* DomesticNightInvalid = "Domestic night use is invalid.";
inline constexpr const char* PopActiveInvalid = "Active population is invalid.";
inline constexpr const char* NonDomMeterInvalid = "Non domestic metered use is invalid.";
inline constexpr const char* NonDomUnmeterInvalid = "Non domestic unmetered use is invalid.";
inline constexpr const char* FixedPRVOutletInvalid = "Fixed PRV Outlet Pressure is invalid.";
inline constexpr const char* HighPressureInvalid =
    "High pressure value for time modulated output is invalid.";
inline constexpr const char* LowPressureInvalid = "Low pressure value for time modulated output is invalid.";
inline constexpr const char* InflowCostInvalid = "Inflow cost is invalid.";
inline constexpr const char* ConsumpCostsInvalid = "Consumption cost is invalid.";
inline constexpr const char* ResConsumpChangeInvalid = "Residential consumption change is invalid.";
inline constexpr const char* NonresConsumpChangeInvalid = "Non-residential consumption change is invalid.";

// A cell of the hourly table: the prefix, the hour's label, " is invalid.".
inline constexpr const char* ZoneInflowAtInterval = "Zone Inflow at interval ";
inline constexpr const char* InletPressureAtInterval = "Inlet pressure at interval ";
inline constexpr const char* AZPPressureAtInterval = "AZP pressure at interval ";
inline constexpr const char* CriticalPressureAtInterval = "Critical pressure at interval ";
// An hour of the time-modulated outlets that "Save data" cannot write in hourly mode.
inline constexpr const char* TimeOutletPressureAtInterval = "Time modulated PRV outlet pressure at interval ";
inline std::string CellInvalid(const char* prefix, const std::string& hourLabel) {
    return prefix + hourLabel + " is invalid.";
}

// ---- the N1 sensitivity page ------------------------------------------------------------------
inline constexpr const char* N1RangeOutside = "The N1 range must lie between 0.5 and 2.5.";
inline constexpr const char* N1RangeReversed = "The first N1 must not be above the last.";
inline constexpr const char* N1StepTooSmall = "The N1 step must be at least 0.01.";
inline constexpr const char* N1RangeInvalid = "The N1 range is not a number.";
inline constexpr const char* HorizonInvalid = "The payback horizon must be a number of months above 0.";

// ---- the edits' own checks --------------------------------------------------------------------
inline constexpr const char* N1OutOfRange = "N1 must be between 0.5 and 2.5";
inline constexpr const char* FixedPRVOutletEntryInvalid = "Invalid entry for Fixed PRV Outlet pressure.";
inline constexpr const char* HighPressureEntryInvalid = "Invalid entry for High Pressure.";
inline constexpr const char* LowPressureEntryInvalid = "Invalid entry for Low Pressure.";
// A cell of the implementation costs table that is not an amount.
inline constexpr const char* EnterValidNumber = "Please enter a valid number.";
// A key that would leave no time of day in a start or end time of the step test.
inline constexpr const char* TimeCellInvalid =
    "Start and end times are times of day, typed as hh:mm (for example 02:15).";

// ---- the calculations ---------------------------------------------------------------------------
// The time-modulated valve's two pressures, as their edits hold them.
inline std::string HighPressureValueInvalid(const std::string& text) {
    return "High Pressure value (" + text + ") is invalid.\nCannot proceed with calculations.";
}
inline std::string LowPressureValueInvalid(const std::string& text) {
    return "Low Pressure value (" + text + ") is invalid.\nCannot proceed with calculations.";
}
// The set low-flow or high-flow hour is not the one the inflow shows ("hh:mm" both).
inline std::string LowFlowTimeNotActual(const std::string& setHour, const std::string& actualHour) {
    return "Low flow time is currently set to " + setHour + "\nHowever, actual low flow occurs at " +
           actualHour;
}
inline std::string HighFlowTimeNotActual(const std::string& setHour, const std::string& actualHour) {
    return "High flow time is currently set to " + setHour + "\nHowever, actual high flow occurs at " +
           actualHour;
}

// The warning label of a valve page: "Pressure of <MinPressure>" and the page's own ending.
inline constexpr const char* PressureOf = "Pressure of ";
inline constexpr const char* NotAchievedAtAllCriticalPoints =
    " could not be achieved for all critical points.";
inline constexpr const char* NotAchievedAllDay =
    " could not be achieved over full 24 hour period at the critical point.";
inline constexpr const char* FlowHoursNotInTable =
    "Low flow and high flow times must each match an hour of the table.";

// A reducing valve cannot raise pressure: in the hours where the outlet it is set to (or
// that its targets ask for) is above the inlet pressure it stands fully open. `hours` lists
// them ("08:00, 09:00"); `reason` ends the sentence in the page's own words.
inline std::string ValveFullyOpen(int count, const std::string& hours, const char* reason) {
    return "The valve is fully open in " + std::to_string(count) + (count == 1 ? " hour (" : " hours (") +
           hours + "): " + reason;
}
inline constexpr const char* SetOutletAboveInlet = "the set outlet is above the inlet pressure.";
inline constexpr const char* OutletNeededAboveInlet = "the outlet needed is above the inlet pressure.";
// The flow-modulated valve's critical-point targets ("low"/"high", metres and hour as shown).
inline std::string TargetNotReached(const char* which, const std::string& target, const std::string& hour) {
    return std::string("The ") + which + "-flow target of " + target + " m cannot be reached at " + hour +
           ": the valve is fully open.";
}
inline std::string TargetBelowNoOutlet(const char* which, const std::string& target, const std::string& hour,
                                       const std::string& atZero) {
    return std::string("The ") + which + "-flow target of " + target + " m is below the " + atZero +
           " m an outlet of 0 gives at " + hour + ": the outlet is 0.";
}

// The verdict on the water use per person of the current situation.
inline constexpr const char* PopulationUseNormal = "Population use appears normal.";
inline constexpr const char* PopulationUseLow = "Population use appears to be very low!";
inline constexpr const char* PopulationUseHigh = "Population use appears to be very high!";
// Less night inflow than the night use alone: every hour's leakage would come out negative.
inline std::string NightInflowBelowNightUse(const std::string& nightInflow, const std::string& nightUse) {
    return "Night inflow (" + nightInflow +
           " m³/hr) is below the night consumption independent of pressure (" + nightUse +
           " m³/hr): check the night use rates.";
}

// A text a calculation reads as a number that is none, and the floating-point errors that stop
// a calculation (each ends the event in an error box).
inline std::string NotAFloatingPointValue(const std::string& text) {
    return "'" + text + "' is not a valid floating point value";
}
inline std::string NotAnIntegerValue(const std::string& text) {
    return "'" + text + "' is not a valid integer value";
}
inline constexpr const char* FloatingPointDivisionByZero = "Floating point division by zero";
inline constexpr const char* InvalidFloatingPointOperation = "Invalid floating point operation";
inline constexpr const char* FloatingPointOverflow = "Floating point overflow";

// A fault of ours (a programming error) ended an event; its detail goes to standard error.
inline constexpr const char* InternalError = "An internal error occurred: the last action was stopped.";

// ---- commands and files ---------------------------------------------------------------------------
inline constexpr const char* OkToExit = "OK to exit?";
// Before New data, Read data or closing drops a changed project; answered Save, Discard or Cancel.
inline constexpr const char* ProjectChanged = "The project has changed. Save the changes?";
// A file that could not be read, written or opened; the system's reason follows on its own
// line.
inline std::string CannotReadFile(const std::string& fileName) {
    return "Cannot read file " + fileName;
}
inline std::string CannotWriteFile(const std::string& fileName) {
    return "Cannot write file " + fileName;
}
inline std::string CannotOpenFile(const std::string& fileName) {
    return "Cannot open file " + fileName;
}
// The reasons of our own, where the system gives none: the name is no ordinary file (`kind`
// is one of the kinds below), is too large to be a project, or is a link not followed.
inline std::string NotRegularFile(const std::string& fileName, const char* kind) {
    return fileName + " is not a regular file (" + kind + ").";
}
inline constexpr const char* KindFolder = "a folder";
inline constexpr const char* KindNamedPipe = "a named pipe";
inline constexpr const char* KindCharacterDevice = "a character device";
inline constexpr const char* KindBlockDevice = "a block device";
inline constexpr const char* KindSocket = "a socket";
inline constexpr const char* KindUnknown = "of an unknown kind";
inline std::string FileTooLarge(std::size_t megabytes) {
    return "The file is larger than " + std::to_string(megabytes) +
           " MB; no project or day of hourly data is that large.";
}
inline std::string LinkNotFollowed(const std::string& link) {
    return "The link " + link + " is in a folder that every user may write to " +
           "and belongs to another user; it is not followed.";
}
// Added to the reason of a failed save whose new file stays behind.
inline std::string UnfinishedFileNotRemoved(const std::string& name, const std::string& reason) {
    return "\nThe unfinished file " + name + " could not be removed: " + reason;
}
inline std::string SaveNotConfirmed(const std::string& reason) {
    return "The new content is in place, but the system could not confirm that it is kept: " + reason;
}
// The file named is no project of this program (its first line is not the version tag).
inline std::string InvalidDataFile(const std::string& fileName) {
    return "Invalid data file:\n" + fileName + "\nUnable to read data.";
}
// A project file that breaks its layout, with the line and what was wrong there when known.
inline constexpr const char* InvalidFileFormat = "Invalid file format encountered.";
inline std::string FileFormatLine(int line, const std::string& reason) {
    return "\nLine " + std::to_string(line) + ": " + reason + ".";
}
inline std::string FileEndedEarly(const std::string& fileName, int line) {
    return fileName + " ended after line " + std::to_string(line) + "; the values after it were read as 0.";
}
// A recent project that is gone (its name as the system writes it).
inline std::string RecentProjectGone(const std::string& fileName) {
    return "The project " + fileName + " no longer exists.\nIt has been taken off the recent projects.";
}
// A project file whose multiplication factor the window cannot show: the factor it uses.
inline std::string CostFactorOutOfRange(int factor, const std::string& fileName, int used) {
    return "The multiplication factor " + std::to_string(factor) + " in " + fileName +
           " is outside 0 to 100; " + std::to_string(used) + " is used.";
}

// ---- printing ----------------------------------------------------------------------------------
// A PDF file or picture that could not be written, with the system's reason.
inline std::string CannotPrintTo(const std::string& fileName, const std::string& reason) {
    return "Cannot print to " + fileName + ": " + reason;
}
inline std::string CannotPrintOn(const std::string& printerName) {
    return "Cannot print on the printer " + printerName + ".";
}
inline std::string CannotWritePicture(const std::string& fileName, const std::string& reason) {
    return "Cannot write " + fileName + ": " + reason;
}
inline std::string CannotCreateFolder(const std::string& folder) {
    return "Cannot create the folder " + folder;
}

// ---- importing a day of hourly data ----------------------------------------------------------------
// "<file> cannot be imported (read as <layout>)." and the reason, one of those below, which
// name a line of the file as FileLine does.
inline std::string FileLine(std::size_t number) {
    return "Line " + std::to_string(number);
}
inline std::string CannotImport(const std::string& fileName, const std::string& layout,
                                const std::string& reason) {
    return fileName + " cannot be imported (read as " + layout + ").\n" + reason +
           "\nThe hourly table was left as it was.";
}
inline std::string ImportLineEmpty(const std::string& line) {
    return line + " is empty, between the hours: each hour from 00:00 to 23:00 needs its line, in order.";
}
inline std::string ImportLine25thHour(const std::string& line) {
    return line + " would be a 25th hour: an import holds one day, 24 lines of hours.";
}
inline std::string ImportLineFieldsMissing(const std::string& line, std::size_t fields) {
    return line + " has " + std::to_string(fields) + (fields == 1 ? " field" : " fields") +
           "; each hour needs four: inflow, inlet, AZP and critical point pressure.";
}
inline std::string ImportFieldNotANumber(const std::string& line, std::size_t field, const char* name,
                                         const std::string& quoted) {
    return line + ", field " + std::to_string(field) + " (" + name + ") is not a number: " + quoted + ".";
}
inline constexpr const char* ImportNoHours = "It holds no hourly data: no line has numbers in it.";
inline std::string ImportTooFewHours(int hours) {
    return "It holds " + std::to_string(hours) + (hours == 1 ? " hour" : " hours") +
           "; an import needs all 24, one line for each hour from 00:00 to 23:00.";
}

// ---- importing logger data -------------------------------------------------------------------------
// A logger file that cannot be read: "<file>: " or "<file>, line 7: ", then one of the reasons.
inline std::string LoggerFileRefused(const std::string& fileName, std::size_t line,
                                     const std::string& reason) {
    if (line == 0) return fileName + ": " + reason;
    return fileName + ", line " + std::to_string(line) + ": " + reason;
}
inline constexpr const char* LoggerFileEmpty = "the file is empty.";
inline constexpr const char* LoggerNoColumns =
    "no columns were found: a logger file has a time stamp and at least one channel on each "
    "line, separated by commas, semicolons or tabs.";
inline constexpr const char* LoggerNoTimeStamp =
    "no time stamp column was found: the data lines need a date and time such as "
    "2024-03-05 14:15, 05/03/2024 14:15 or 2024/03/05 14:15.";
inline constexpr const char* LoggerNoChannel = "no column beside the time stamp holds numbers.";
inline std::string LoggerLineFields(std::size_t fields, std::size_t columns) {
    return "the line cannot be read: it has " + std::to_string(fields) + " fields, the data " +
           std::to_string(columns) + ".";
}
inline std::string LoggerLineNoTimeStamp(const std::string& quoted) {
    return "the line cannot be read: " + quoted + " is not a time stamp like those before it.";
}
inline std::string LoggerLineNotANumber(const std::string& quoted, std::size_t column,
                                        const std::string& channel) {
    return "the line cannot be read: " + quoted + " in column " + std::to_string(column) + " (" + channel +
           ") is not a number.";
}
// A read that ended in the program, not in the file (memory ran out).
inline constexpr const char* LoggerReadFailed = "the file could not be read to its end.";
inline constexpr const char* LoggerSingleSample = "the record has a single sample; it needs two at least.";
inline constexpr const char* LoggerNotMonthFirst =
    "the date cannot be read as mm/dd/yyyy (the month would be past 12).";
inline constexpr const char* LoggerDatesMixed = "the dates mix dd/mm/yyyy and mm/dd/yyyy.";
inline constexpr const char* LoggerTimeStandsStill = "the time stamp does not move on.";
inline std::string LoggerSamplesTooFarApart(const std::string& interval) {
    return "the samples are " + interval + " apart; hourly means need one an hour at least.";
}
inline std::string LoggerTimeRepeats(std::size_t line) {
    return "the time stamp repeats that of line " + std::to_string(line) + ".";
}
inline std::string LoggerTimeGoesBack(std::size_t line) {
    return "the time stamp goes back, before that of line " + std::to_string(line) + ".";
}
inline std::string LoggerLineNumberTooLarge(const std::string& quoted, std::size_t column,
                                            const std::string& channel) {
    return "the line cannot be read: " + quoted + " in column " + std::to_string(column) + " (" + channel +
           ") is beyond any number the program can hold.";
}
inline std::string LoggerCannotReadOn(const std::string& reason) {
    return "the file cannot be read to its end: " + reason + ".";
}
inline std::string LoggerLineTooLong(std::size_t megabytes) {
    return "the line is longer than " + std::to_string(megabytes) +
           " MB: a logger file has a line for each sample, and this file has no line ends there.";
}
inline std::string LoggerFileTooLarge(const std::string& size, const std::string& limit) {
    return "the file is " + size + "; a logger file is read up to " + limit + ".";
}
inline std::string LoggerTooManyColumns(std::size_t columns, std::size_t most) {
    return "the lines have " + std::to_string(columns) + " fields; a logger file has at most " +
           std::to_string(most) + " columns, a time stamp and its channels.";
}
// The roles a mark plays in a number, for LoggerMarksMixed.
inline constexpr const char* MarkPointDecimal = "a decimal point";
inline constexpr const char* MarkPointGrouping = "points grouping thousands";
inline constexpr const char* MarkCommaDecimal = "a decimal comma";
inline constexpr const char* MarkCommaGrouping = "commas grouping thousands";
inline std::string LoggerMarksMixed(const std::string& quoted, const char* role,
                                    const std::string& otherQuoted, std::size_t otherLine,
                                    const char* otherRole) {
    return "the numbers do not agree on their decimal mark: " + quoted + " has " + role + ", but " +
           otherQuoted + " on line " + std::to_string(otherLine) + " has " + otherRole + ".";
}
inline constexpr const char* LoggerUtcNeedsOffset =
    "the time stamps are in UTC (\"Z\"): give the zone's offset from UTC (such as +02:00) to read them "
    "as the zone's local time.";
inline std::string LoggerOffsetChanges(const std::string& from, const std::string& to) {
    return "the UTC offset changes from " + from + " to " + to +
           ": a logger's clock changes by one hour, at night, at most once a day.";
}
inline constexpr const char* LoggerReadStopped = "the reading was stopped.";
inline constexpr const char* LoggerNothingAssigned = "No channel is assigned to inflow or a pressure.";
inline constexpr const char* LoggerNoDayChosen = "No day is chosen.";
inline std::string LoggerWrongUnit(const std::string& unit, const std::string& measured) {
    return unit + " is not a unit of " + measured + ".";
}
inline std::string LoggerDayNotRecorded(const std::string& day, const std::string& fileName,
                                        const std::string& recorded) {
    return day + " is not in the record of " + fileName + " (" + recorded + ").";
}
// The cautions of days not fully recorded, which the user accepts or not: this, then each
// caution on a line of its own, then LoggerAcceptCautions.
inline constexpr const char* LoggerNotFullyRecorded = "The chosen days are not fully recorded:";
inline constexpr const char* LoggerAcceptCautions = "\nAccept them, or choose other days.";
// Hours below the least coverage that no stretch without samples explains (the record
// starts or ends in them): "2024-03-05 Tue 00:00–09:00: inflow (Flow (l/s)) is 0 % covered,
// below 75 %."; coverage may be a range, "0 % to 50 %".
inline std::string LoggerLowCoverage(const std::string& dayAndHour, const std::string& measured,
                                     const std::string& channel, const std::string& coverage,
                                     const std::string& minimum) {
    return dayAndHour + ": " + measured + " (" + channel + ") is " + coverage + " covered, below " + minimum +
           ".";
}
// A stretch without samples in hours below the least coverage: "02:00–07:30 on 2024-03-11 Wed"
// or "23:10 on 2024-03-10 Mon to 01:00 on 2024-03-11 Tue", then what it leaves out:
// "inflow, Flow (l/s); inlet pressure, P1 (m)".
inline std::string LoggerNoSamples(const std::string& stretch, const std::string& channels) {
    return "No samples " + stretch + " (" + channels + ").";
}
inline std::string LoggerClockChange(const std::string& day, int hours, const std::string& fileName,
                                     std::size_t line) {
    return day + " has a clock change: " + std::to_string(hours) + " hours in " + fileName + " (line " +
           std::to_string(line) + ").";
}
inline std::string LoggerMoreLowHours(std::size_t count, const std::string& minimum) {
    return "… and " + std::to_string(count) + " more like these, below " + minimum + ".";
}
// A mean that cannot be taken: the hour's values add up past the largest number.
inline std::string LoggerNotFinite(const std::string& fileName, const std::string& channel, int column,
                                   const std::string& hour) {
    return fileName + ": the values of " + channel + " (column " + std::to_string(column) +
           ") add up past what a number holds in the hour " + hour + "; no mean can be taken.";
}
// Notes beside the days: a record far longer than loggers keep, and the day offered first.
inline std::string LoggerLongRecord(const std::string& fileName, long long days, const std::string& range) {
    return fileName + ": the record spans " + std::to_string(days) + " days, from " + range +
           "; a stamp far from the others may be wrong.";
}
inline std::string LoggerFirstFullDay(const std::string& day) {
    return day + ", the first fully recorded day, is chosen.";
}
inline std::string LoggerBestCoveredDay(const std::string& day, const std::string& coverage) {
    return "No day is fully recorded; " + day + ", the best covered (" + coverage + "), is chosen.";
}
// The record chart before anything can be drawn.
inline constexpr const char* LoggerChartNoFile = "Add a logger file to see its record.";
inline constexpr const char* LoggerChartNoChannel =
    "Assign a channel to inflow or a pressure to see its record.";

// ---- pasting a block of cells -------------------------------------------------------------------
// "Cannot paste: " and the reason, rows and columns counted from 1 in the block.
inline std::string CannotPaste(const std::string& reason) {
    return "Cannot paste: " + reason + "\nThe table was left as it was.";
}
inline std::string PasteTooWide(std::size_t columns, std::size_t room) {
    return "the block has " + std::to_string(columns) + " columns and the table has room for " +
           std::to_string(room) + " from the current cell.";
}
inline std::string PasteTooLong(std::size_t rows, int room) {
    return "the block has " + std::to_string(rows) + " rows and the table has room for " +
           std::to_string(room) + " from the current cell.";
}
inline std::string PasteRowShort(std::size_t row, std::size_t cells, std::size_t width) {
    return "row " + std::to_string(row) + " of the block has " + std::to_string(cells) +
           " cells, the first " + std::to_string(width) + ".";
}
inline std::string PasteNotANumber(std::size_t row, std::size_t column, const std::string& quoted) {
    return "row " + std::to_string(row) + ", column " + std::to_string(column) +
           " of the block is not a number: " + quoted + ".";
}
inline std::string PasteOnWorkedOut(std::size_t row) {
    return "row " + std::to_string(row) + " of the block would land on a cell that is worked out, not typed.";
}

// ---- suggested valve settings ---------------------------------------------------------------
inline constexpr const char* SuggestNoCurrentSituation =
    "No setting can be suggested: the current situation has no AZP pressure in the low-flow hour.";
inline constexpr const char* SuggestHourlyMode =
    "No pressures are suggested in hourly mode: choose 2 or 4 intervals to have them suggested.";
// Where even the fully open valve leaves hours below the minimum (shown as "5 / 2").
inline std::string SuggestNoSetting(const std::string& minPressure, std::size_t hours) {
    return "No setting keeps " + minPressure +
           " m at the critical point in every hour: even with the valve fully open " + std::to_string(hours) +
           (hours == 1 ? " hour stays" : " hours stay") + " below it.";
}
inline std::string SuggestNothingHolds(const std::string& minPressure) {
    return "No setting found keeps " + minPressure + " m at the critical point in every hour.";
}
inline std::string SuggestWindowsChosen(const std::string& windows) {
    return "High-pressure windows chosen for the largest saving: " + windows + ".";
}

// A scenario that could not be calculated, on its report sheet and summary row.
inline constexpr const char* ScenarioNotCalculated = "Could not be calculated: ";
// A scenario after one that stopped the analysis.
inline constexpr const char* ScenarioNotReached = "the analysis stopped on an error before this scenario";
// The summary page's row of such a scenario.
inline constexpr const char* CostRowNotCalculated = "Not calculated";
// "Create" with no sheet ticked.
inline constexpr const char* NoReportSheetChosen = "Tick at least one sheet to create a report.";
// A report written, but with no spreadsheet application to open it.
inline std::string ReportWrittenNotShown(const std::string& fileName) {
    return "The report was written to " + fileName +
           "\nNo spreadsheet application could be started to show it.";
}
inline std::string CannotWriteReport(const std::string& fileName, const std::string& reason) {
    return "Cannot write the report to " + fileName + "\n" + reason;
}
// A report written with some texts changed to fit the workbook: this, then a few of the notes
// one a line, then how many more there were.
inline std::string ReportTextsChanged(const std::string& fileName) {
    return "The report was written to " + fileName + ", but some texts could not go in as they are:";
}
inline std::string MoreNotes(std::size_t count) {
    return "\n... and " + std::to_string(count) + " more.";
}
inline std::string ReportNameNotXlsx(const std::string& fileName) {
    return "The report is an Excel workbook, and its name must end in .xlsx: " + fileName;
}
} // namespace halvern::Msg
