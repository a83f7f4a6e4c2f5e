// "Import logger data": the dialog of the "Flow and Pressure" page that turns logger files
// into the 24 hourly values. The user adds files, assigns channels with their units to
// inflow and the three pressures, chooses the days to average, sees each hour's mean with
// its coverage, and applies them to the hourly table as one step Edit > Undo takes back.
// The command line's import-logger drives the same model.
#pragma once
#include "forms/AuxForms.h"
#include "io/LoggerFile.h"
#include <array>
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

// A file is added by the user, or read again under new reading options (month first, the
// zone's UTC offset), when its channels and units stay as the user assigned them.
enum class TFileAdded { ByUser, ReadAgain };

// The day offered first: the first on which every channel that counts is fully recorded,
// else the one best covered.
struct TDefaultDay {
    int64_t Day = 0;
    bool Complete = false;
    double Coverage = 0; // of the channel covered least that day
};

// The values the choice gives, in the table's units (m³/hr, m), with their coverage.
struct TLoggerPreview {
    std::array<std::optional<THourlyMeans>, MeasuredCount> Means;
    std::vector<int64_t> Days; // the chosen days
    // What must be changed before OK (no day, a day not recorded, a mean past a number).
    std::string Refusal;
    // Low coverage (the stretches without samples named) and clock changes: accepted, or changed.
    std::vector<std::string> Cautions;
    // Why the day chosen is chosen, while it is the one offered first.
    std::string DayNote;
    // Worth a look, though in the way of nothing: a record spanning an unlikely time.
    std::vector<std::string> RecordNotes;
    bool LowCoverage = false;       // some chosen hour is below the least coverage
    bool ClockChange = false;       // some chosen day is 23 or 25 hours long
    std::array<bool, 24> Flagged{}; // hours with a chosen day below the least coverage
    // The same per quantity: its hour's coverage column is marked.
    std::array<std::array<bool, 24>, MeasuredCount> Low{};
    bool Ok() const { return Refusal.empty(); }
};

class TLoggerImportForm : public TAuxForm {
public:
    explicit TLoggerImportForm(TMainForm& main);
    TMainForm& MainForm;

    std::vector<TLoggerFile> Files;
    // Files refused by their last read: read again with the others when the reading options change.
    std::vector<std::string> RefusedFiles;
    TLoggerOptions ReadOptions; // month first, the zone's UTC offset
    bool StampAtEnd = false;    // a sample stamps the end of its interval
    double MinCoverage = 0.75;  // of each hour on each chosen day
    std::array<TChannelAssignment, MeasuredCount> Assigned;
    TDayMode DayMode = TDayMode::Days;
    std::vector<int64_t> ChosenDays; // TDayMode::Days
    int64_t FromDay = 0, ToDay = 0;  // TDayMode::Range
    TDayFilter RangeFilter = TDayFilter::All;
    bool AcceptCautions = false; // the user accepts low coverage and clock changes
    bool SetFlowHours = false;   // low- and high-flow hours from the mean inflow

    // A file read (by the view, away from the window's thread): kept when it was read, else
    // its fault is shown; a read the user cancelled is dropped without a word. Any file added
    // asks for the hours marked to be accepted again, and the first of an import (none kept,
    // or the values of those kept applied) starts from stamps that mark the start of their
    // interval; channels whose headings name a quantity are assigned. A file read again gets
    // back the channels it had. The day offered first is chosen while none is chosen by hand.
    bool AddFile(TLoggerFile file, TFileAdded how = TFileAdded::ByUser);
    void RemoveFile(std::size_t index);
    // The names of the files kept and refused, taken out to be read again under new
    // reading options; their assignments wait for them.
    std::vector<std::string> TakeFilesToReadAgain();
    // The channel of a file (-1, -1: none) to a quantity, in the unit given, else in the one
    // its heading names (when it is a unit of that quantity), else in the unit it had (when
    // that fits), else in m³/hr or m. The command line assigns its channels here too.
    void Assign(TMeasured what, int file, int channel, std::optional<TLoggerUnit> unit = std::nullopt);
    // What a time stamp marks; the day offered first follows where it was chosen, and days
    // that are no longer recorded under the new rule give way to it.
    void SetStampAtEnd(bool atEnd);
    // Every day some file holds a sample on under the stamp rule, in order.
    std::vector<int64_t> RecordDays() const;
    // The day offered first, if any day is recorded.
    std::optional<TDefaultDay> DefaultDay() const;
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
    // A new or another project: nothing of the files, channels and choices before it.
    void NewProject();
    // The channel an assignment names, or nullptr when it names none.
    const TLoggerChannel* ChannelOf(const TChannelAssignment& slot) const;

private:
    bool ChosenIsDefault() const;
    // Chosen days no longer recorded go, the range stays within the record, and where the
    // day chosen was the one offered first (or none is left) the one offered first now is.
    void KeepChoicesOffered(bool wasDefault);
    bool imported_ = false; // OK applied the values: the next file added starts a new import
    // Assignments waiting for files read again: file name, column, unit.
    struct TPendingAssignment {
        std::string FileName;
        int Column = 0;
        TLoggerUnit Unit = TLoggerUnit::M3PerHour;
    };
    std::array<std::optional<TPendingAssignment>, MeasuredCount> pending_;
    std::vector<std::string> readAgain_; // the files kept before they were taken to be read again
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
// "2024-03-05 Tue": a day as the days list and the messages name it.
std::string DayCaption(int64_t day);
// "63 %": a coverage, never rounded up to a whole hour or past the least coverage it misses.
std::string CoverageText(double fraction);

} // namespace halvern
