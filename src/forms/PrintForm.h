// "Output File Selection": the choice of the spreadsheet report's sheets, the "Create"
// button and the progress bar the sheet writers step. Created once with the main window;
// its check boxes keep their state between openings.
#pragma once
#include "forms/AuxForms.h"
#include <array>
#include <functional>
#include <string>

namespace halvern {

class TMainForm;

// A progress bar from Min to Max, advanced by StepIt.
class TProgressBar : public TControl {
public:
    using TControl::TControl;
    int Min = 0;
    int Step = 1;
    bool Smooth = false;
    int Max() const { return max_; }
    int Position() const { return position_; }
    // The position stays within Min to Max.
    void SetMax(int max);
    void SetPosition(int position);
    // One step on; past the maximum the bar starts over from the minimum.
    void StepIt();
    // Raised whenever the bar moves, so that a view can show it while a run goes on.
    std::function<void()> OnChange;

private:
    int max_ = 100;
    int position_ = 0;
};

// The seven sheets of the report in their page order, and a choice among them.
enum class TReportSheet {
    GeneralData,
    CurrentSituation,
    Summary,
    FixedOutlet,
    TimeModulated,
    FlowModulated,
    N1Sensitivity
};
constexpr int ReportSheetKinds = 7;
using TReportChoice = std::array<bool, ReportSheetKinds>;

// The report run itself, which the spreadsheet report provides (it lives above the forms).
class TReportExporter {
public:
    virtual ~TReportExporter() = default;
    // Writes the chosen sheets into a new workbook and hands it to the user as the file.
    virtual void ExportReport(const TReportChoice& sheets, const std::string& fileName) = 0;
    // Whether a workbook was handed to the user in this run of the program.
    virtual bool HasLastReport() const = 0;
    // A "General Data" sheet added in front of the last workbook, which is handed over again.
    virtual void AddGeneralDataToLastReport() = 0;
};

// Whether a file name ends in ".xlsx" (in any case), as the report's workbook must.
bool IsWorkbookName(const std::string& fileName);

class TfrmPrint : public TAuxForm {
public:
    explicit TfrmPrint(TMainForm& main);
    TMainForm& MainForm;

    TControl GroupBox1{"GroupBox1"};
    TCheckBox GeneralData{"GeneralData"}, CurrentSituation{"CurrentSituation"}, Summary{"Summary"},
        FixedOutlet{"FixedOutlet"}, TimeModulated{"TimeModulated"}, FlowModulated{"FlowModulated"},
        N1Sensitivity{"N1Sensitivity"};
    TButton CreateExcelButton{"CreateExcelButton"};
    TProgressBar ProgressBar1{"ProgressBar1"};

    // The report behind "Create"; none, and "Create" writes nothing.
    TReportExporter* Exporter = nullptr;
    // The view repaints the dialog before the busy cursor goes up, and shows the cursor.
    std::function<void()> OnRepaint;
    std::function<void(bool busy)> OnBusyCursor;
    // Where the report of a project never read or saved is offered.
    std::string HomeFolder;

    void ShowModal(); // FormShow, then the view runs the dialog
    void FormShow();
    void GroupBox1Click();
    void GeneralDataClick();
    void CurrentSituationClick();
    void SummaryClick();
    void FixedOutletClick();
    void TimeModulatedClick();
    void FlowModulatedClick();
    void N1SensitivityClick();
    void CreateExcelButtonClick();
    void Close();

    // The boxes in page order, and which of them are ticked.
    std::array<TCheckBox*, ReportSheetKinds> CheckBoxes();
    TReportChoice Chosen() const;
    // The project's folder and name with " report.xlsx"; for a project never read or
    // saved, "Halvern report.xlsx" in the home folder.
    std::string DefaultReportFileName() const;
};

} // namespace halvern
