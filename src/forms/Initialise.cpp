// Initialise: puts the project's defaults into the record (when asked) and refreshes every
// control and table of the main window from the record; also the table set-ups it uses and
// the New data command. Writing an edit runs its change handler, so the night flow, the
// loss totals and the scenarios follow from the values written.
#include "forms/MainForm.h"
#include "forms/ProjectChanges.h"
#include "forms/RefreshGuard.h"
#include "forms/TableLayouts.h"
#include "model/CheckedMath.h"
#include "model/FlowUnits.h"
#include "model/Numbers.h"
#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace halvern {

namespace {

namespace Flow = FlowGridLayout;
namespace Current = CurrentGridLayout;
namespace PRV = PRVGridLayout;
namespace Costs = CostSummaryLayout;
constexpr int FlowGridRowHeight = 16;

// Input edits show every digit a user can type, with the decimals of their field, so that
// a value read back from its edit is the value that was written (1234.56 masl stays
// 1234.56; 150 m³/d stays 150.00).
constexpr int InputPrecision = 15;

std::string InputText(double value, int decimals) {
    return FormatFixed(value, InputPrecision, decimals);
}

std::string WholeText(int32_t value) {
    return std::to_string(value);
}

// Writes an edit as the user's typing would. A calculation that fails on the new value
// shows its message and ends there, but the rest of the window is still refreshed:
// a half-refreshed window would later feed stale texts back into the record.
void Write(TMainForm& form, TEdit& edit, const std::string& text) {
    form.Dispatch([&] { edit.SetText(text); });
}

void Check(TMainForm& form, TRadioButton& radio) {
    form.Dispatch([&] { radio.SetChecked(true); });
}

// A heading over several cells: the text in the first, the run joined, centred.
void Heading(TMarkStringGrid& grid, int firstCol, int firstRow, int lastCol, int lastRow,
             const std::string& text) {
    grid.SetCell(firstCol, firstRow, text);
    if (firstCol != lastCol || firstRow != lastRow) grid.SetJoin(firstCol, firstRow, lastCol, lastRow);
    grid.SetTextPos(firstCol, firstRow, 'C', 'C');
}

void CentreHeadingRows(TMarkStringGrid& grid) {
    for (int row = 0; row < grid.FixedRows; ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            grid.SetTextPos(col, row, 'C', 'C');
}

// A result table before any calculation: the hour labels of the input table and "0" in
// every value cell.
void FillHourRows(TMarkStringGrid& grid, const TMarkStringGrid& flowGrid) {
    for (int hour = 0; hour < HoursPerDay; ++hour) {
        const int row = ResultRows::HourRow(hour);
        grid.SetCell(ResultRows::HourCol, row, flowGrid.Cell(Flow::HourCol, Flow::HourRow(hour)));
        for (int col = 1; col < grid.ColCount(); ++col)
            grid.SetCell(col, row, "0");
    }
}

// A valve scenario not yet worked out: no volumes, and "Status" where its warning goes.
void ClearScenarioLabels(std::initializer_list<TLabel*> results, TLabel& warning) {
    for (TLabel* label : results)
        label->Caption.clear();
    warning.Caption = "Status";
}

void SetHeightOfHeadingRow1(TMarkStringGrid& grid) {
    // Two-line headings wrap at blanks into a row twice as high.
    grid.SetRowHeight(1, 2 * grid.RowHeight(0));
}

// The hour rows carry no background but the low-flow and high-flow marks.
void ClearRowBackground(TMarkStringGrid& grid, int row) {
    for (int col = grid.FixedCols; col < grid.ColCount(); ++col)
        grid.ResetCellColor(col, row);
}

} // namespace

void TMainForm::Initialise(bool DoVariables) {
    if (DoVariables) {
        Project.ResetToDefaults();
        ScenarioFailure = {};
        for (TMemo* memo : {&CollectMemo, &AnalysisMemo})
            memo->Lines = {"Name:", "Tel:", "Fax:", "email:"};
        TimeWarnCheckBox.Enabled = true;
    }
    // No hour of the old project stays marked, and Undo cannot bring its tables back.
    ResetAllGridColours();
    TableSteps.Clear();
    // Nor do its logger files, channels and choices (stamps marking the end of their
    // interval, hours accepted) reach the logger window of this one.
    LoggerImport.NewProject();

    // The order rule: the pages in the order the analysis reads them. Each step's controls
    // run their change handlers as they are written, and those handlers read what the
    // steps before wrote: the zone before the hourly table, night use before the current
    // situation, the current situation before the valves, the valves before the costs.
    RefreshZone();
    SetupFlowGrid();
    RefreshNightUse();
    SetupCurrentGrid();
    RefreshFixedOutlet();
    RefreshTimeModulated(DoVariables);
    RefreshFlowModulated();
    RefreshCosts();
}

// Identification, zone description, leakage rates, units.
void TMainForm::RefreshZone() {
    Write(*this, ZoneNameEdit, Project.ZoneName);
    Write(*this, ZoneRefEdit, Project.ZoneRef);
    Write(*this, WaterSupplySystemEdit, Project.WaterSupplySystem);
    Write(*this, ReportNumEdit, Project.ReportNum);
    TimeWarnCheckBox.Checked = Project.DisableTimeWarnings;
    // N1 first: the counts, elevations and daily use below all run the N1 check, which
    // reads N1Edit; with the old text still there it would overwrite the project's N1.
    Write(*this, N1Edit, InputText(Project.N1, 2));
    Write(*this, MainsLengthEdit, InputText(Project.MainsLength, 3));
    Write(*this, NumOfConnectEdit, WholeText(Project.NumOfConnect));
    Write(*this, NumOfServicedEdit, WholeText(Project.NumOfServiced));
    Write(*this, NumNonResidentialEdit, WholeText(Project.NumNonResidential));
    Write(*this, PopulationEdit, WholeText(Project.Population));
    Write(*this, MinPressureEdit, InputText(Project.MinPressure, 2));
    Write(*this, MinNightPressureEdit, InputText(Project.MinNightPressure, 2));
    Write(*this, InletElevEdit, InputText(Project.InletElev, 2));
    Write(*this, AZPElevEdit, InputText(Project.AZPElev, 2));
    Write(*this, TargetElevEdit, InputText(Project.TargetElev, 2));
    LowTimePicker.Time = Project.LowFlowTime;
    HighTimePicker.Time = Project.HighFlowTime;
    Write(*this, MainsLossEdit, InputText(Project.MainsLoss, 2));
    // The pressure-independent rate of each row before the dependent one: the dependent
    // edit's handler re-reads the independent edit into the record, which must then
    // already show this project's rate.
    Write(*this, ConnectLossEdit, InputText(Project.ConnectLoss, 2));
    Write(*this, ConnectPresEdit, InputText(Project.ConnectPres, 2));
    Write(*this, PropertyLossEdit, InputText(Project.PropertyLoss, 2));
    Write(*this, PropPressEdit, InputText(Project.PropPress, 2));
    Check(*this, Project.FlowUnitsM3h ? m3hrRadio : lsRadio);
}

void TMainForm::RefreshNightUse() {
    Write(*this, DomesticNightEdit, InputText(Project.DomesticNight, 2));
    Write(*this, PopActiveEdit, InputText(Project.PopActive, 0));
    Write(*this, NonDomMeterEdit, InputText(Project.NonDomMeter, 2));
    Write(*this, NonDomUnmeterEdit, InputText(Project.NonDomUnmeter, 2));
    Write(*this, DailyNonResidentialEdit, InputText(Project.DailyNonResidential, 2));
    // The counts have no handler of their own that recalculates, and edits whose text did
    // not change ran nothing: the components must still match the record just written.
    Dispatch([this] { CalcNightLoss(); });
}

void TMainForm::RefreshFixedOutlet() {
    Write(*this, FixedPRVOutletEdit, InputText(Project.FixedPRVOutlet, 2));
    SetupPRVGrid(FixedPRVGrid);
    ClearScenarioLabels(
        {&FixedDayNightLabel, &FixedDepLabel, &FixedIndepLabel, &FixedTotLabel, &FixedOpenLabel},
        FixedWarnLabel);
}

// `newProject`: the hourly outlet pressures of a project just read live only in the
// table's outlet column and are kept; a new project starts from "0".
void TMainForm::RefreshTimeModulated(bool newProject) {
    Write(*this, HighPressureEdit, InputText(Project.HighPressure, 2));
    Write(*this, LowPressureEdit, InputText(Project.LowPressure, 2));
    TimeStart1Picker.Time = Project.TimeStart1;
    TimeStop1Picker.Time = Project.TimeStop1;
    TimeStart2Picker.Time = Project.TimeStart2;
    TimeStop2Picker.Time = Project.TimeStop2;
    // 4 intervals, 2 (any other positive count behaves as 2), or hourly mode, where the
    // outlet pressure of every hour is typed into the table itself.
    const int intervals = Project.Intervals;
    const bool hourly = intervals <= 0;
    if (intervals == 4) {
        Check(*this, Interval4Radio);
    } else if (!hourly) {
        Check(*this, Interval2Radio);
    } else {
        Interval2Radio.SetChecked(false);
        Interval4Radio.SetChecked(false);
    }
    TimeStart1Picker.Visible = TimeStop1Picker.Visible = !hourly;
    TimeStart2Picker.Visible = TimeStop2Picker.Visible = SecondSetLabel.Visible = intervals == 4;
    // The hourly outlet pressures read from a project live only in the table's outlet
    // column: a refresh after reading keeps them; a new project starts from "0".
    std::array<std::string, PRV::RowCount> hourlyOutlets;
    for (int row = 0; row < PRV::RowCount; ++row)
        hourlyOutlets[row] = TimePRVGrid.Cell(PRV::OutletCol, row);
    SetupPRVGrid(TimePRVGrid);
    if (!newProject)
        for (int row = PRV::FirstHourRow; row <= PRV::LastHourRow; ++row)
            TimePRVGrid.SetCell(PRV::OutletCol, row, hourlyOutlets[row]);
    if (hourly) {
        TimePRVGrid.Options |= goEditing;
    } else {
        TimePRVGrid.Options &= ~static_cast<uint32_t>(goEditing);
    }
    ClearScenarioLabels({&TimeDayNightLabel, &TimeDepLabel, &TimeIndepLabel, &TimeTotLabel, &TimeOpenLabel},
                        TimeWarnLabel);
}

void TMainForm::RefreshFlowModulated() {
    Write(*this, LPFlowMod, FormatGeneral(Project.LPFlowMod));
    Write(*this, HPFlowMod, FormatGeneral(Project.HPFlowMod));
    SetupPRVGrid(FlowPRVGrid);
    ClearScenarioLabels(
        {&FlowDayNightLabel, &FlowDepLabel, &FlowIndepLabel, &FlowTotLabel, &FlowOpenLabel, &FlowTargetLabel},
        FlowWarnLabel);
}

void TMainForm::RefreshCosts() {
    Write(*this, InflowCostEdit, InputText(Project.InflowCost, 2));
    Write(*this, ConsumpCostsEdit, InputText(Project.ConsumpCosts, 2));
    Write(*this, ResConsumpChangeEdit, InputText(Project.ResConsumpChange, 2));
    Write(*this, NonresConsumpChangeEdit, InputText(Project.NonresConsumpChange, 2));
    // The up-down holds the factor to 0..100; the costs use the factor the edit then shows, also
    // when the edit already showed it and its change handler did not run.
    Dispatch([this] {
        CostFactorUpDown.SetPosition(Project.CostFactor);
        Project.CostFactor = CostFactorUpDown.Position();
    });
    SetupCostSummaryGrid();
    Dispatch([this] { CostsForm.UpdateGrid(); });
}

void TMainForm::NewProject() {
    {
        // The hours of the old project must not reach a flow-time warning mid-refresh.
        const TRefreshGuard refreshing(*this);
        Initialise(true);
        // The correction exponent is no part of a project: each starts from the initial one
        // (quietly; the costs are worked out when the Summary is shown).
        edtConsumptionN1.InitText(InitialConsumptionN1);
        // Nor are the step test measurements of the project before it: a new project has
        // none, and so no estimate of N1.
        TMarkStringGrid& steps = N1CalculationForm.N1Grid;
        for (int col = N1GridLayout::FirstMeasuredCol; col <= N1GridLayout::LastMeasuredCol; ++col)
            for (int row = N1GridLayout::FirstStageRow; row <= N1GridLayout::LastStageRow; ++row)
                steps.SetCell(col, row, "");
        N1CalculationForm.GetNewN1();
    }
    TMarkStringGrid& costs = CostsForm.FixedCostGrid;
    for (int col = FixedCostLayout::FirstOptionCol; col <= FixedCostLayout::LastOptionCol; ++col)
        for (int row = FixedCostLayout::FirstItemRow; row <= FixedCostLayout::TotalRow; ++row)
            costs.SetCell(col, row, "0");
    // The implementation costs table now shows none; the payback must not go on using
    // the amounts of the project that was there before.
    for (auto* items : {&Project.FixedCostItem, &Project.AnnualCostItem})
        items->fill(std::string());
    for (auto* amounts :
         {&Project.FixedCostFixedPRV, &Project.FixedCostTimePRV, &Project.FixedCostFlowPRV,
          &Project.AnnualCostFixedPRV, &Project.AnnualCostTimePRV, &Project.AnnualCostFlowPRV})
        amounts->fill(0.0);
    StatusBar1.SimpleText = "New project";
    // The title names no file: Save data will ask for one.
    Caption = "Halvern : New project";
    ProjectFromFile = false;
    MarkProjectUnchanged(*this);
}

void TMainForm::ResetAllGridColours() {
    for (TMarkStringGrid* grid : Controls.All<TMarkStringGrid>())
        if (!grid->Has(TControlFlag::DesignColours)) grid->ResetGridColor();
}

std::string TMainForm::HourLabel(int row) const {
    // The start time advances interval by interval, as the table is read from midnight.
    double start = 0;
    for (int r = 1; r < row; ++r)
        start += Project.IntervalLength;
    const std::string end = TimeToStr(start + Project.IntervalLength);
    return TimeToStr(start).substr(0, 5) + " - " + end.substr(0, end.size() - 3);
}

std::string TMainForm::CopyHourRow(TMarkStringGrid& grid, int hour, const std::string& lowKey,
                                   const std::string& highKey) {
    const int row = ResultRows::HourRow(hour);
    const std::string& label = FlowGrid.Cell(FlowGridLayout::HourCol, FlowGridLayout::HourRow(hour));
    grid.SetCell(ResultRows::HourCol, row, label);
    const std::string key = HourKey(label);
    // The marks follow the times as they are now: a row marked for an hour set before loses it.
    ClearRowBackground(grid, row);
    if (key == lowKey) grid.SetRowColours(row, clAqua, clNone);
    if (key == highKey) grid.SetRowColours(row, clYellow, clNone);
    return key;
}

void TMainForm::MarkFlowGridRows() {
    const std::string low = TimeToStr(LowTimePicker.Time);
    const std::string high = TimeToStr(HighTimePicker.Time);
    double start = 0;
    for (int row = Flow::FirstHourRow; row <= Flow::LastHourRow; ++row) {
        const std::string key = TimeToStr(start);
        ClearRowBackground(FlowGrid, row);
        if (key == low) FlowGrid.SetRowColours(row, clAqua, clNone);
        // The high-flow mark wins when both hours fall on one row.
        if (key == high) FlowGrid.SetRowColours(row, clYellow, clNone);
        start += Project.IntervalLength;
    }
}

void TMainForm::SetupFlowGrid() {
    TMarkStringGrid& g = FlowGrid;
    g.SetColCount(Flow::ColCount);
    g.SetRowCount(Flow::RowCount);
    g.FixedRows = Flow::FirstHourRow;
    g.FixedCols = 1;
    g.Options = goEditing | goTabs | goColSizing | goDrawFocusSelected;
    g.DefaultRowHeight = FlowGridRowHeight;
    for (int row = 0; row < Flow::RowCount; ++row)
        g.SetRowHeight(row, FlowGridRowHeight);

    g.SetCell(Flow::HourCol, 0, "Hour");
    g.SetCell(Flow::InflowM3hCol, 0, "Zone Inflow m³/h");
    g.SetCell(Flow::InflowLsCol, 0, "Zone Inflow l/s");
    g.SetCell(Flow::InletCol, 0, "Inlet Pressure (m)");
    g.SetCell(Flow::AZPCol, 0, "AZP Pressure (m)");
    g.SetCell(Flow::CriticalCol, 0, "Critical Point Pressure (m)");

    // Red: the columns typed into. Blue and locked: the inflow column worked out from the
    // other, which one following the unit the inflow is entered in.
    const int typedInflow = Project.FlowUnitsM3h ? Flow::InflowM3hCol : Flow::InflowLsCol;
    const int derivedInflow = Project.FlowUnitsM3h ? Flow::InflowLsCol : Flow::InflowM3hCol;
    g.SetColColours(typedInflow, clNone, clRed);
    g.ClearColLock(typedInflow);
    g.SetColColours(derivedInflow, clNone, clBlue);
    g.SetColLock(derivedInflow);
    for (int col = Flow::InletCol; col < Flow::ColCount; ++col)
        g.SetColColours(col, clNone, clRed);

    for (int hour = 0; hour < HoursPerDay; ++hour) {
        const int row = Flow::HourRow(hour);
        g.SetCell(Flow::HourCol, row, HourLabel(row));
        g.SetCell(Flow::InflowM3hCol, row, InputText(Project.ZoneInflow[hour], 2));
        g.SetCell(Flow::InflowLsCol, row, InputText(LitresPerSecond(Project.ZoneInflow[hour]), 2));
        g.SetCell(Flow::InletCol, row, InputText(Project.InletPressure[hour], 2));
        g.SetCell(Flow::AZPCol, row, InputText(Project.AZPPressure[hour], 2));
        g.SetCell(Flow::CriticalCol, row, InputText(Project.CriticalPressure[hour], 2));
    }
    MarkFlowGridRows();

    TCanvas& canvas = g.Measure();
    g.SetColWidth(Flow::HourCol, canvas.TextWidth(" 00:00 - 00:00  "));
    for (int col : {Flow::InflowM3hCol, Flow::InflowLsCol})
        g.SetColWidth(col, canvas.TextWidth("Zone Inflow m3/h  "));
    for (int col = Flow::InletCol; col < Flow::ColCount; ++col)
        g.SetColWidth(col, canvas.TextWidth("Critical Point Pressure (m)  "));
}

void TMainForm::SetupCurrentGrid() {
    TMarkStringGrid& g = CurrentGrid;
    g.SetColCount(Current::ColCount);
    g.SetRowCount(Current::RowCount);
    g.FixedRows = Current::HeadingRows;
    g.FixedCols = 1;

    Heading(g, Current::HourCol, 0, Current::HourCol, 1, "Hour");
    Heading(g, Current::InletCol, 0, Current::CriticalCol, 0, "Pressure (m)");
    Heading(g, Current::AZPHeadlossCol, 0, Current::CritHeadlossCol, 0, "Headloss (m)");
    Heading(g, Current::TotalFlowCol, 0, Current::IndepFlowCol, 0, "Flow (m³/hr)");
    const std::array<const char*, 8> subHeadings = {
        "Inlet", "AZP", "Critical", "AZP", "Critical", "Total", "Pressure dependent", "Pressure independent"};
    for (int col = Current::InletCol; col < Current::ColCount; ++col)
        g.SetCell(col, 1, subHeadings[col - Current::InletCol]);
    CentreHeadingRows(g);

    // Green: copied from the measurements; blue: worked out.
    for (int col = Current::InletCol; col <= Current::CriticalCol; ++col)
        g.SetColColours(col, clNone, clGreen);
    for (int col = Current::AZPHeadlossCol; col < Current::ColCount; ++col)
        g.SetColColours(col, clNone, clBlue);

    g.SetColWidth(Current::HourCol, g.ColWidth(Current::InletCol) + 5);
    g.SetColWidth(Current::IndepFlowCol, g.ColWidth(Current::DepFlowCol) + 5);
    SetHeightOfHeadingRow1(g);

    FillHourRows(g, FlowGrid);
    // The population check goes too: its verdict was about the old project's figures.
    for (TLabel* label :
         {&CurrentDepLabel, &CurrentIndepLabel, &CurrentTotLabel, &DayNightLabel, &NonResidentialUseLabel,
          &ResidentialUseLabel, &PopUseWarningLabel, &NightFlowWarningLabel})
        label->Caption.clear();
}

void TMainForm::SetupPRVGrid(TMarkStringGrid& grid) {
    TMarkStringGrid& g = grid;
    g.SetColCount(PRV::ColCount);
    g.SetRowCount(PRV::RowCount);
    g.FixedRows = PRV::HeadingRows;
    g.FixedCols = 1;
    // Only the time-modulated table is ever typed into, and only in hourly mode
    // (Initialise decides); the others are read-only.
    if (&grid != &TimePRVGrid) g.Options &= ~static_cast<uint32_t>(goEditing);

    Heading(g, PRV::HourCol, 0, PRV::HourCol, 1, "Hours");
    Heading(g, PRV::InletCol, 0, PRV::CriticalCol, 0, "Pressure (m)");
    Heading(g, PRV::AZPHeadlossCol, 0, PRV::CritHeadlossCol, 0, "Headloss (m)");
    Heading(g, PRV::TotalFlowCol, 0, PRV::IndepFlowCol, 0, "Flow (m³/hr)");
    const std::array<const char*, 9> subHeadings = {"Inlet",
                                                    "PRV Outlet",
                                                    "AZP ",
                                                    "Critical",
                                                    "AZP",
                                                    "Critical",
                                                    "Total",
                                                    "Pressure Dependent",
                                                    "Pressure Independent"};
    for (int col = PRV::InletCol; col < PRV::ColCount; ++col)
        g.SetCell(col, 1, subHeadings[col - PRV::InletCol]);
    CentreHeadingRows(g);

    // The flow-modulated outlet is worked out, not given: blue from the outlet column on,
    // and no cell of that table may be typed into.
    const bool flowModulated = &grid == &FlowPRVGrid;
    const int lastGivenCol = flowModulated ? PRV::InletCol : PRV::OutletCol;
    for (int col = PRV::InletCol; col < PRV::ColCount; ++col)
        g.SetColColours(col, clNone, col <= lastGivenCol ? clGreen : clBlue);
    if (flowModulated)
        for (int col = 0; col < PRV::ColCount; ++col)
            for (int row = 0; row < PRV::RowCount; ++row)
                g.SetCellLock(col, row);

    g.SetColWidth(PRV::HourCol, g.ColWidth(PRV::InletCol) + 5);
    g.SetColWidth(PRV::IndepFlowCol, g.ColWidth(PRV::DepFlowCol) + 5);
    SetHeightOfHeadingRow1(g);

    FillHourRows(g, FlowGrid);
}

void TMainForm::SetupCostSummaryGrid() {
    TMarkStringGrid& g = CostSummaryGrid;
    g.SetColCount(Costs::ColCount);
    g.SetRowCount(Costs::RowCount);
    g.FixedRows = Costs::HeadingRows;
    g.FixedCols = 1;
    g.Options &= ~static_cast<uint32_t>(goEditing);

    Heading(g, Costs::NameCol, 0, Costs::NameCol, 2, "");
    Heading(g, Costs::InflowCol, 0, Costs::InflowCol, 2, "Zone Inflow (m³/a)");
    Heading(g, Costs::LossSavingCol, 0, Costs::MoneySavingCol, 0, "Savings");
    Heading(g, Costs::LossSavingCol, 1, Costs::VolumeSavingCol, 1, "(m³/a)");
    Heading(g, Costs::PurchaseSavingCol, 1, Costs::MoneySavingCol, 1, "(R/a)");
    const std::array<const char*, 6> savings = {
        "Reduced distribution losses", "Reduced consumption", "Total",
        "Reduced purchases",           "Reduced income",      "Total"};
    for (int col = Costs::LossSavingCol; col <= Costs::MoneySavingCol; ++col)
        g.SetCell(col, 2, savings[col - Costs::LossSavingCol]);
    Heading(g, Costs::ImplementationCol, 0, Costs::ImplementationCol, 2, "Implementation Costs (R)");
    Heading(g, Costs::PaybackCol, 0, Costs::PaybackCol, 2, "Payback (months)");
    CentreHeadingRows(g);

    g.SetCell(Costs::NameCol, Costs::CurrentRow, "Current Situation");
    g.SetCell(Costs::NameCol, Costs::FixedRow, "Fixed Outlet PRV");
    g.SetCell(Costs::NameCol, Costs::TimeRow, "Time Modulated PRV");
    g.SetCell(Costs::NameCol, Costs::FlowRow, "Flow Modulated PRV");
    g.SetColWidth(Costs::NameCol, static_cast<int>(g.Measure().TextWidth("Time Modulated PRV") * 1.1));
    // Money wraps at its thousands separators; the implementation costs column is made wide
    // enough for a total of a hundred million on one line, and its heading for whole words.
    TCanvas& measure = g.Measure();
    g.SetColWidth(Costs::ImplementationCol,
                  std::max({g.ColWidth(Costs::ImplementationCol), measure.TextWidth("R100,000,000.00") + 10,
                            measure.TextWidth("Implementation") + 10}));

    // Volumes and money right-aligned in blue; the payback keeps the plain colours but
    // stands as its row's other figures do.
    for (int col = Costs::InflowCol; col <= Costs::PaybackCol; ++col) {
        if (col != Costs::PaybackCol) g.SetColColours(col, clNone, clBlue);
        for (int row = Costs::CurrentRow; row <= Costs::FlowRow; ++row)
            g.SetTextPos(col, row, 'R', 'C');
    }

    // The current situation has only an inflow; the scenarios start from nothing saved.
    g.SetCell(Costs::InflowCol, Costs::CurrentRow, "0");
    for (int col = Costs::LossSavingCol; col < Costs::ColCount; ++col)
        g.SetCell(col, Costs::CurrentRow, "");
    for (int row = Costs::FirstScenarioRow; row <= Costs::FlowRow; ++row)
        for (int col = Costs::InflowCol; col < Costs::ColCount; ++col)
            g.SetCell(col, row, "0");
}

} // namespace halvern
