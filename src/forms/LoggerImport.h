// "Import logger data": the dialog of the "Flow and Pressure" page that turns logger files
// into the 24 hourly values. The user adds files, assigns channels with their units to
// inflow and the three pressures, chooses the days to average, sees each hour's mean with
// its coverage, and applies them to the hourly table as one step Edit > Undo takes back.
// The command line's import-logger drives the same model.
#pragma once
#include "forms/AuxForms.h"
#include "io/LoggerFile.h"
#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace halvern {

class TMainForm;

// What the hourly table takes: inflow and the inlet, AZP and critical point pressures.
enum class TMeasured { Inflow, Inlet, AZP, Critical };
inline constexpr std::size_t MeasuredCount = 4;
// "inflow", "inlet pressure", "AZP pressure", "critical point pressure".
const char* MeasuredName(TMeasured what);

struct TChannelAssignment {
    int File = -1;    // index in Files; -1: not assigned (the table's column stays as it is)
    int Channel = -1; // index in that file's Channels
    TLoggerUnit Unit = TLoggerUnit::M3PerHour;
    bool Assigned() const { return File >= 0 && Channel >= 0; }
};

enum class TDayMode { Days, Range };

// The values the choice gives, in the table's units (m³/hr, m), with their coverage.
struct TLoggerPreview {
    std::array<std::optional<THourlyMeans>, MeasuredCount> Means;
    std::vector<int64_t> Days;         // the chosen days
    std::string Refusal;               // what must be changed before OK (no day, a day not recorded)
    std::vector<std::string> Cautions; // low coverage and clock changes: accepted, or changed
    bool LowCoverage = false;          // some chosen hour is below the least coverage
    bool ClockChange = false;          // some chosen day is 23 or 25 hours long
    std::array<bool, 24> Flagged{};    // hours with a chosen day below the least coverage
    bool Ok() const { return Refusal.empty(); }
};

class TLoggerImportForm : public TAuxForm {
public:
    explicit TLoggerImportForm(TMainForm& main);
    TMainForm& MainForm;

    std::vector<TLoggerFile> Files;
    TLoggerOptions ReadOptions; // month first
    bool StampAtEnd = false;    // a sample stamps the end of its interval
    double MinCoverage = 0.75;  // of each hour on each chosen day
    std::array<TChannelAssignment, MeasuredCount> Assigned;
    TDayMode DayMode = TDayMode::Days;
    std::vector<int64_t> ChosenDays; // TDayMode::Days
    int64_t FromDay = 0, ToDay = 0;  // TDayMode::Range
    TDayFilter RangeFilter = TDayFilter::All;
    bool AcceptCautions = false; // the user accepts low coverage and clock changes
    bool SetFlowHours = false;   // low- and high-flow hours from the mean inflow

    // A file read (by the view, away from the window's thread): kept when it was read,
    // else its fault is shown. Channels whose headings name a quantity are assigned.
    bool AddFile(TLoggerFile file);
    void RemoveFile(std::size_t index);
    // Every day some file records, first to last.
    std::vector<int64_t> RecordDays() const;
    // The chosen days as the mode and filter give them.
    std::vector<int64_t> Days() const;
    // The means and what stands in the way of OK.
    TLoggerPreview Preview() const;
    // OK: refused with a message while the preview has a refusal, or cautions not accepted;
    // else the values go into the hourly table and the window closes.
    bool OkClick();
    void Cancel();
    // Opens the window; the files of an earlier opening stay in it.
    void Show();

    // The channel's means of a file as binned (kept while the stamp position stays).
    const TChannelBins& Bins(int file, int channel) const;

private:
    mutable std::map<std::pair<int, int>, TChannelBins> bins_;
    mutable bool binsAtEnd_ = false;
};

// Puts hourly values (table units) into FlowGrid as typing them would, as one Undo step:
// inflow into the column of the selected unit, pressures into theirs; a quantity without
// values keeps its column. With setFlowHours the low- and high-flow hours become the hours
// of lowest and highest inflow.
void ApplyLoggerHours(TMainForm& form,
                      const std::array<std::optional<std::array<double, 24>>, MeasuredCount>& values,
                      bool setFlowHours);

// "03:00" for hour 3.
std::string HourText(int hour);

} // namespace halvern
