// Every message the program shows in a box, and the warnings its result pages show, in one
// place and in the program's own words. A text here is what the user reads, byte for byte:
// mend a word here and nowhere else. The few built from a value are small functions.
#pragma once
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

// A fault of ours (a programming error) ended an event; its detail goes to standard error.
inline constexpr const char* InternalError = "An internal error occurred: the last action was stopped.";

// ---- commands and files ---------------------------------------------------------------------------
inline constexpr const char* OkToExit = "OK to exit?";
// Before New data, Read data or closing drops a changed project; answered Save, Discard or Cancel.
inline constexpr const char* ProjectChanged = "The project has changed. Save the changes?";
inline std::string CannotOpenFile(const std::string& fileName) {
    return "Cannot open file " + fileName;
}
// The file named is no project of this program (its first line is not the version tag).
inline std::string InvalidDataFile(const std::string& fileName) {
    return "Invalid data file:\n" + fileName + "\nUnable to read data.";
}
inline constexpr const char* InvalidFileFormat = "Invalid file format encountered.";
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
inline std::string ReportNameNotXlsx(const std::string& fileName) {
    return "The report is an Excel workbook, and its name must end in .xlsx: " + fileName;
}
} // namespace halvern::Msg
