// "Read data" and "Save data" after the file dialog: the project file applied to, and
// collected from, the main window.
#include "forms/ProjectDocument.h"
#include "forms/ProjectChanges.h"
#include "forms/RefreshGuard.h"
#include "model/Messages.h"

#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "io/FileAccess.h"
#include "io/TextCodec.h"
#include "model/Numbers.h"

namespace halvern {
namespace {

void SetCaptionFromFile(TMainForm& form, const std::string& fileName) {
    form.Caption = "Halvern : " + FileNameOnly(fileName);
    form.ProjectFileName = fileName;
    form.ProjectFromFile = true;
}

// Sets an edit whose change handler may run a calculation; its error is shown as the
// dispatch point would show it, and the reading goes on.
void SetEditText(TMainForm& form, TEdit& edit, const std::string& text) {
    form.Dispatch([&] { edit.SetText(text); });
}

} // namespace

TProjectFileData CollectProjectData(TMainForm& form) {
    TProjectFileData data;
    data.Values = form.Project;
    // A missing memo line is written empty; lines after the fourth are not kept.
    for (std::size_t i = 0; i < 4; ++i) {
        data.CollectLines[i] = i < form.CollectMemo.Lines.size() ? form.CollectMemo.Lines[i] : "";
        data.AnalysisLines[i] = i < form.AnalysisMemo.Lines.size() ? form.AnalysisMemo.Lines[i] : "";
    }
    const TMarkStringGrid& n1 = form.N1CalculationForm.N1Grid;
    for (int r = 0; r < N1FileRows; ++r)
        for (int c = 0; c < N1FileCols; ++c)
            data.N1Cells[r][c] = n1.Cell(N1GridLayout::FirstMeasuredCol + c, N1GridLayout::FirstStageRow + r);
    for (int r = 0; r < TimeOutletRows; ++r)
        data.TimeOutlets[r] = form.TimePRVGrid.Cell(PRVGridLayout::OutletCol, PRVGridLayout::HourRow(r));
    return data;
}

void ApplyProjectData(TMainForm& form, const TProjectFileData& data) {
    TProject& p = form.Project;
    const TProject& in = data.Values;

    // Identification and the two contact memos.
    p.ZoneName = in.ZoneName;
    p.ZoneRef = in.ZoneRef;
    p.WaterSupplySystem = in.WaterSupplySystem;
    p.ReportNum = in.ReportNum;
    form.CollectMemo.Lines.assign(data.CollectLines.begin(), data.CollectLines.end());
    form.AnalysisMemo.Lines.assign(data.AnalysisLines.begin(), data.AnalysisLines.end());

    // The elevations, then their edits.
    p.InletElev = in.InletElev;
    p.AZPElev = in.AZPElev;
    p.TargetElev = in.TargetElev;
    SetEditText(form, form.InletElevEdit, FormatGeneral(p.InletElev));
    SetEditText(form, form.AZPElevEdit, FormatGeneral(p.AZPElev));
    SetEditText(form, form.TargetElevEdit, FormatGeneral(p.TargetElev));

    // The low-flow and high-flow hours and whether their warnings are off.
    p.LowFlowTime = in.LowFlowTime;
    p.HighFlowTime = in.HighFlowTime;
    p.DisableTimeWarnings = in.DisableTimeWarnings;
    form.TimeWarnCheckBox.Checked = p.DisableTimeWarnings;

    // Zone description, leakage rates, night use, the hours and the inflow unit.
    p.MainsLength = in.MainsLength;
    p.NumOfConnect = in.NumOfConnect;
    p.NumOfServiced = in.NumOfServiced;
    p.NumNonResidential = in.NumNonResidential;
    p.Population = in.Population;
    p.MinPressure = in.MinPressure;
    p.MinNightPressure = in.MinNightPressure;
    p.MainsLoss = in.MainsLoss;
    p.ConnectPres = in.ConnectPres;
    p.ConnectLoss = in.ConnectLoss;
    p.PropPress = in.PropPress;
    p.PropertyLoss = in.PropertyLoss;
    p.DomesticNight = in.DomesticNight;
    p.PopActive = in.PopActive;
    p.NonDomMeter = in.NonDomMeter;
    p.NonDomUnmeter = in.NonDomUnmeter;
    p.DailyNonResidential = in.DailyNonResidential;
    p.N1 = in.N1;
    p.IntervalLength = in.IntervalLength;
    p.ZoneInflow = in.ZoneInflow;
    p.InletPressure = in.InletPressure;
    p.AZPPressure = in.AZPPressure;
    p.CriticalPressure = in.CriticalPressure;
    p.FlowUnitsM3h = in.FlowUnitsM3h;

    // The step test measurements (N1Cells).
    TMarkStringGrid& n1 = form.N1CalculationForm.N1Grid;
    for (int r = 0; r < N1FileRows; ++r)
        for (int c = 0; c < N1FileCols; ++c)
            n1.SetCell(N1GridLayout::FirstMeasuredCol + c, N1GridLayout::FirstStageRow + r,
                       data.N1Cells[r][c]);

    // The fixed outlet and the time modulation.
    p.FixedPRVOutlet = in.FixedPRVOutlet;
    p.HighPressure = in.HighPressure;
    p.LowPressure = in.LowPressure;
    p.TimeStart1 = in.TimeStart1;
    p.TimeStop1 = in.TimeStop1;
    p.TimeStart2 = in.TimeStart2;
    p.TimeStop2 = in.TimeStop2;
    p.Intervals = in.Intervals;

    // The hourly outlet pressures of 00:00 to 22:00 (TimeOutlets).
    for (int r = 0; r < TimeOutletRows; ++r)
        form.TimePRVGrid.SetCell(PRVGridLayout::OutletCol, PRVGridLayout::HourRow(r), data.TimeOutlets[r]);

    // The flow-modulation targets, each followed by its edit, whose change handler recalculates.
    p.LPFlowMod = in.LPFlowMod;
    SetEditText(form, form.LPFlowMod, FormatGeneral(p.LPFlowMod));
    p.HPFlowMod = in.HPFlowMod;
    SetEditText(form, form.HPFlowMod, FormatGeneral(p.HPFlowMod));

    // The prices and the multiplication factor.
    p.InflowCost = in.InflowCost;
    p.ConsumpCosts = in.ConsumpCosts;
    p.CostFactor = in.CostFactor;

    // The cost lists; capital amounts also into the costs table (its
    // item rows and total row hold entries 0 to 4; the later entries have no row).
    TMarkStringGrid& costs = form.CostsForm.FixedCostGrid;
    const int firstRow = FixedCostLayout::FirstItemRow;
    const int firstCol = FixedCostLayout::FirstOptionCol;
    for (int i = 0; i < CostEntries; ++i) {
        p.FixedCostItem[i] = in.FixedCostItem[i];
        p.FixedCostFixedPRV[i] = in.FixedCostFixedPRV[i];
        costs.SetCell(firstCol, firstRow + i, FormatGeneral(p.FixedCostFixedPRV[i]));
        p.FixedCostTimePRV[i] = in.FixedCostTimePRV[i];
        costs.SetCell(firstCol + 1, firstRow + i, FormatGeneral(p.FixedCostTimePRV[i]));
        p.FixedCostFlowPRV[i] = in.FixedCostFlowPRV[i];
        costs.SetCell(firstCol + 2, firstRow + i, FormatGeneral(p.FixedCostFlowPRV[i]));
        p.AnnualCostItem[i] = in.AnnualCostItem[i];
        p.AnnualCostFixedPRV[i] = in.AnnualCostFixedPRV[i];
        p.AnnualCostTimePRV[i] = in.AnnualCostTimePRV[i];
        p.AnnualCostFlowPRV[i] = in.AnnualCostFlowPRV[i];
    }

    // The expected changes of consumption.
    p.ResConsumpChange = in.ResConsumpChange;
    p.NonresConsumpChange = in.NonresConsumpChange;
}

TReadOutcome ReadProjectFile(TMainForm& form, const std::string& fileName) {
    const TFileResult file = ReadFileBytes(fileName);
    if (!file.Ok) {
        // "Cannot open file ..." (or read, for a file that opened), and why.
        form.Dialogs.Error(FileFailureMessage(fileName, file));
        return TReadOutcome::CannotOpen;
    }
    return ReadProjectBytes(form, file.Bytes, fileName);
}

TReadOutcome ReadProjectBytes(TMainForm& form, std::string_view bytes, const std::string& fileName) {
    const TProjectParse parse = ParseProjectFile(DecodeFileText(bytes));
    if (parse.Error == TProjectParseError::InvalidDataFile) {
        form.Dialogs.Error(Msg::InvalidDataFile(fileName));
        return TReadOutcome::InvalidDataFile;
    }
    if (parse.Error == TProjectParseError::InvalidFormat) {
        // Nothing was applied: the project on the screen is the one that was there.
        form.Dialogs.Error(InvalidFormatMessage(parse));
        return TReadOutcome::InvalidFormat;
    }

    // A file that ended early is read as a complete one would be, and the zeros it gave are
    // named before the recalculation, whose warnings about those zeros it explains (and also
    // when the recalculation stopped at an error). So is a multiplication factor the window
    // holds to 0..100: the costs use, and a save keeps, the one it shows.
    bool warned = false;
    const auto warnAboutFile = [&] {
        if (warned) return;
        warned = true;
        if (parse.EndedAfterLine > 0) form.Dialogs.WarningOKIgnore(EndedEarlyMessage(parse, fileName));
        const int32_t factor = parse.Data.Values.CostFactor;
        if (factor < form.CostFactorUpDown.Min || factor > form.CostFactorUpDown.Max) {
            const int used =
                factor < form.CostFactorUpDown.Min ? form.CostFactorUpDown.Min : form.CostFactorUpDown.Max;
            form.Dialogs.WarningOKIgnore(Msg::CostFactorOutOfRange(factor, fileName, used));
        }
    };
    try {
        {
            // Half the window still shows the old project while the values land: no flow-time
            // warning until the full recalculation below.
            const TRefreshGuard refreshing(form);
            ApplyProjectData(form, parse.Data);
            // Not kept in the file, so not carried over from the project that was there: the
            // costs below are those `halvern-cli` gives for the same file.
            form.edtConsumptionN1.InitText(TMainForm::InitialConsumptionN1);
            form.StatusBar1.SimpleText = fileName;
            SetCaptionFromFile(form, fileName);
            if (form.OnProjectFile) form.OnProjectFile(fileName);

            // The window from the record, every analysis, the costs table and the costs;
            // closing the costs dialog stores its table and publishes the implementation costs.
            form.Initialise(false);
        }
        warnAboutFile();
        const auto costs = [&form] {
            form.CostsForm.UpdateGrid();
            form.GetTheCosts();
            form.CostsForm.Close();
        };
        try {
            form.RunAllOptions();
        } catch (...) {
            // The scenarios that could be calculated still get their costs; the summary rows
            // of the others say they could not be, rather than show nothing or zeros.
            try {
                costs();
            } catch (...) {
                form.MarkUncalculatedCostRows();
            }
            throw;
        }
        costs();
    } catch (...) {
        // The data read stay on the screen, and they are the file's: nothing to save yet.
        MarkProjectUnchanged(form);
        warnAboutFile();
        throw;
    }
    MarkProjectUnchanged(form);
    return TReadOutcome::Read;
}

bool SaveProjectFile(TMainForm& form, const std::string& fileName) {
    bool errorsFound = true;
    form.GetTheData(errorsFound);
    if (errorsFound) return false; // its message has been shown; nothing is written

    const TProjectFileData data = CollectProjectData(form);
    // In hourly mode the outlet pressures are read back as numbers: a file holding anything
    // else could not be opened again.
    if (const int hour = FirstUnsavableOutlet(data); hour >= 0) {
        form.Dialogs.Error(
            Msg::CellInvalid(Msg::TimeOutletPressureAtInterval,
                             form.FlowGrid.Cell(FlowGridLayout::HourCol, FlowGridLayout::HourRow(hour))) +
            Msg::CannotProceed);
        return false;
    }
    const TFileResult written = ReplaceFileContent(fileName, EncodeFileText(FormatProjectFile(data)));
    if (!written.Ok) {
        // The existing file, if any, is untouched.
        form.Dialogs.Error(FileFailureMessage(fileName, written));
        return false;
    }
    form.StatusBar1.SimpleText = "Saved data to: " + fileName;
    SetCaptionFromFile(form, fileName);
    if (form.OnProjectFile) form.OnProjectFile(fileName);
    MarkProjectUnchanged(form);
    return true;
}

} // namespace halvern
