#include "forms/MainForm.h"
#include "forms/NumberEntry.h"
#include "forms/ProjectChanges.h"
#include "forms/TableLayouts.h"
#include "model/Errors.h"
#include "model/Messages.h"
#include "model/Version.h"
#include <iostream>

namespace halvern {

std::string HourKey(const std::string& hourLabel) {
    return hourLabel.substr(0, 5) + ":00";
}

TMainForm::TMainForm(TDialogs& dialogs) : Dialogs(dialogs) {
    // FormCreate: the long time format is "hh:mm:ss" throughout (TimeToStr), the input
    // page is shown, and the caption carries the version.
    Caption = std::string("Halvern, ") + VersionText;
    BuildPages();

    actDataNew = {"actDataNew", "New data", "&New data", "File", 0, true, {}};
    actDataRead = {"actDataRead", "Read data", "&Read data", "File", 1, true, {}};
    actDataSave = {"actDataSave", "Save data", "&Save data", "File", 3, true, {}};
    actClose = {"actClose", "Close", "&Close", "File", 4, true, {}};
    actDataSaveAs = {"actDataSaveAs", "Save data as", "Save data &as", "File", -1, false, {}};
    actPrint = {"actPrint", "Print", "&Print", "Print", 2, false, {}};
    actPrintToBitmap = {"actPrintToBitmap", "Print To Bitmap", "Pr&int To Bitmap", "Print", -1, false, {}};
    actExcel = {"actExcel", "Export to Excel", "&Export to Excel", "Export", -1, false, {}};
    actExcel.Enabled = false; // until a report has been written in this run

    m3hrRadio.Caption = "m³/hr";
    lsRadio.Caption = "l/s";
    m3hrRadio.Group = lsRadio.Group = {&m3hrRadio, &lsRadio};
    Interval2Radio.Caption = "2 Intervals";
    Interval4Radio.Caption = "4 Intervals";
    Interval2Radio.Group = Interval4Radio.Group = {&Interval2Radio, &Interval4Radio};
    TimeWarnCheckBox.Caption = "Disable Incorrect time warnings";
    SecondSetLabel.Caption = "2nd Set";
    N1Calculation.Caption = "Estimate";
    ImportButton.Caption = "&Import";
    ImportButton.Hint = "Import comma delimited text file";
    Button1.Caption = "?";
    ImpCostsButton.Caption = "Implementation Costs";
    for (TButton* b : {&GraphOptionButton, &FullGraphOptionButton, &BitBtn1, &BitBtn2})
        b->Caption = "Graph properties";
    FixedWarnLabel.Hint = TimeWarnLabel.Hint = FlowWarnLabel.Hint = "Check Mininum acceptable pressure";
    CostFactorUpDown.Min = 0;
    CostFactorUpDown.Max = 100;
    CostFactorUpDown.Associate = &CostFactorEdit;

    // The window as designed: every edit empty but these four, which hold their defaults
    // so that the first Initialise never meets an empty pressure or N1 text.
    Edit1.InitText("0");
    Edit1.Enabled = false;
    edtConsumptionN1.InitText(InitialConsumptionN1);
    HighPressureEdit.InitText("50.00");
    LowPressureEdit.InitText("40.00");
    m3hrRadio.SetChecked(true);
    Interval4Radio.SetChecked(true);

    for (TMarkStringGrid* grid : Controls.All<TMarkStringGrid>())
        grid->Dialogs = &Dialogs;

    const std::pair<TControl*, int> helpContexts[] = {{&ZoneRefEdit, 2},
                                                      {&WaterSupplySystemEdit, 2},
                                                      {&MainsLengthEdit, 3},
                                                      {&NumOfConnectEdit, 4},
                                                      {&NumOfServicedEdit, 5},
                                                      {&NumNonResidentialEdit, 7},
                                                      {&PopulationEdit, 8},
                                                      {&MinPressureEdit, 9},
                                                      {&InletElevEdit, 10},
                                                      {&AZPElevEdit, 11},
                                                      {&TargetElevEdit, 12},
                                                      {&LowTimePicker, 13},
                                                      {&HighTimePicker, 14},
                                                      {&ZoneNameEdit, 15},
                                                      {&MainsLossEdit, 21},
                                                      {&Edit1, 21},
                                                      {&ConnectLossEdit, 22},
                                                      {&ConnectPresEdit, 22},
                                                      {&PropPressEdit, 22},
                                                      {&PropertyLossEdit, 23},
                                                      {&N1Edit, 24},
                                                      {&m3hrRadio, 31},
                                                      {&lsRadio, 31},
                                                      {&ImportButton, 32},
                                                      {&DomesticNightEdit, 41},
                                                      {&PopActiveEdit, 42},
                                                      {&NonDomMeterEdit, 43},
                                                      {&NonDomUnmeterEdit, 44},
                                                      {&DailyNonResidentialEdit, 45},
                                                      {&CurrentSituationSheet, 61},
                                                      {&CurrentPage, 62},
                                                      {&CurrentTabulatedSheet, 62},
                                                      {&GraphicalSheet, 63},
                                                      {&FixedOutletSheet, 71},
                                                      {&FixedPRVPage, 71},
                                                      {&FixedTabulatedSheet, 71},
                                                      {&FixedPRVOutletEdit, 72},
                                                      {&FixedGraphSheet, 73},
                                                      {&TimeModulatedSheet, 81},
                                                      {&TimePage, 81},
                                                      {&TimeTabulatedSheet, 81},
                                                      {&PageControl1, 81},
                                                      {&FlowTabulatedSheet, 81},
                                                      {&HighPressureEdit, 83},
                                                      {&LowPressureEdit, 84},
                                                      {&Interval2Radio, 85},
                                                      {&Interval4Radio, 85},
                                                      {&TimeStart1Picker, 86},
                                                      {&TimeStop1Picker, 86},
                                                      {&TimeStart2Picker, 86},
                                                      {&TimeStop2Picker, 86},
                                                      {&SummarySheet, 90},
                                                      {&N1SensitivitySheet, 92},
                                                      {&edtConsumptionN1, 91}};
    for (const auto& [control, topic] : helpContexts)
        control->HelpContext = topic;
    FlowGrid.HelpContext = 33;
    CurrentGrid.HelpContext = 62;
    FixedPRVGrid.HelpContext = 71;
    TimePRVGrid.HelpContext = 81;
    FlowPRVGrid.HelpContext = 81;
    N1CalculationForm.N1Grid.HelpContext = 53;

    SetupCharts();
    ConnectHandlers();
    ConnectTablePaste();
}

void TMainForm::BuildPages() {
    for (TTabSheet* p : {&DataInputSheet, &CurrentSituationSheet, &FixedOutletSheet, &TimeModulatedSheet,
                         &FlowModulatedSheet, &SummarySheet})
        MainPage.AddPage(*p);
    const auto nest = [](TTabSheet& owner, TPageControl& pages, std::initializer_list<TTabSheet*> children) {
        owner.Children = &pages;
        pages.Owner = &owner;
        for (TTabSheet* c : children)
            pages.AddPage(*c);
    };
    nest(DataInputSheet, InputPage, {&GeneralSheet, &PropertySheet, &FlowSheet});
    nest(CurrentSituationSheet, CurrentPage, {&CurrentTabulatedSheet, &GraphicalSheet});
    nest(FixedOutletSheet, FixedPRVPage, {&FixedTabulatedSheet, &FixedGraphSheet});
    nest(TimeModulatedSheet, TimePage, {&TimeTabulatedSheet, &TimeGraphicalSheet});
    nest(FlowModulatedSheet, PageControl1, {&FlowTabulatedSheet, &FlowGraphicalSheet});
    nest(SummarySheet, SummaryPages, {&CostSummarySheet, &N1SensitivitySheet});
    // The first sub-page a user meets on a result tab is its chart.
    MainPage.InitActivePage(DataInputSheet);
    InputPage.InitActivePage(GeneralSheet);
    CurrentPage.InitActivePage(GraphicalSheet);
    FixedPRVPage.InitActivePage(FixedGraphSheet);
    TimePage.InitActivePage(TimeGraphicalSheet);
    PageControl1.InitActivePage(FlowGraphicalSheet);
    SummaryPages.InitActivePage(CostSummarySheet);
}

void TMainForm::ReportInternalError(const std::string& detail) {
    // Anything but a conversion or floating-point error is a fault of ours: its own text
    // ("vector::_M_range_check ...") means nothing to whoever manages the zone. It goes
    // to standard error for the developer; the user is told, in the program's words, that
    // the action stopped, and the program carries on rather than crash.
    std::cerr << "Halvern: internal error: " << detail << '\n';
    Dialogs.Error(InternalErrorMessage);
}

bool TMainForm::Dispatch(const std::function<void()>& handler) {
    const auto run = [this](const std::function<void()>& h) {
        try {
            h();
            return true;
        } catch (const EConvertError& e) {
            Dialogs.Error(e.what());
        } catch (const EMathError& e) {
            Dialogs.Error(e.what());
        } catch (const std::exception& e) {
            ReportInternalError(e.what());
        } catch (...) {
            ReportInternalError("an exception that is no std::exception");
        }
        return false;
    };
    const bool ran = run(handler);
    // Whatever the event recalculated, a chart in view follows its table.
    return run([this] { RedrawShownCharts(); }) && ran;
}

void TMainForm::Focus(const std::string& controlName) {
    FocusedControl = controlName;
    if (OnFocusRequest) OnFocusRequest(controlName);
}

void TMainForm::FormShow() {
    Initialise(true);
    MainPage.WindowShown();
    MarkProjectUnchanged(*this);
}

void TMainForm::FormClose() {
    Closed = true;
    if (N1CalculationForm.Visible) N1CalculationForm.Close1Click();
    if (ImportHelp.Visible) ImportHelp.Close();
}

std::vector<TAction*> TMainForm::Actions() {
    return {&actDataNew, &actDataRead, &actDataSave, &actClose, &actPrint, &actPrintToBitmap, &actExcel};
}

void TMainForm::SetMeasureCanvas(TCanvas* canvas) {
    for (TMarkStringGrid* g : Controls.All<TMarkStringGrid>())
        g->MeasureCanvas = canvas;
}

void TMainForm::ConnectHandlers() {
    // Night flow and the loss-rate totals.
    DomesticNightEdit.OnChange = [this] { NightUseEditChange(DomesticNightEdit, Project.DomesticNight); };
    PopActiveEdit.OnChange = [this] { NightUseEditChange(PopActiveEdit, Project.PopActive); };
    NonDomMeterEdit.OnChange = [this] { NightUseEditChange(NonDomMeterEdit, Project.NonDomMeter); };
    NonDomUnmeterEdit.OnChange = [this] { NightUseEditChange(NonDomUnmeterEdit, Project.NonDomUnmeter); };
    NumNonResidentialEdit.OnChange = [this] { NumNonResidentialEditChange(); };
    for (auto row : {&TMainForm::MainsLossRow, &TMainForm::ConnectionLossRow, &TMainForm::PropertyLossRow}) {
        const TLossRateRow r = (this->*row)();
        r.LeadEdit.OnChange = [this, row] { LeadLossEditChange((this->*row)()); };
        r.PartnerEdit.OnChange = [this, row] { PartnerLossEditChange((this->*row)()); };
    }

    // The N1 check runs on a change of any of these.
    for (TEdit* e : {&NumOfConnectEdit, &NumOfServicedEdit, &PopulationEdit, &InletElevEdit, &AZPElevEdit,
                     &TargetElevEdit, &N1Edit, &DailyNonResidentialEdit})
        e->OnChange = [this] { CalcN1Edit(); };

    ZoneNameEdit.OnChange = [this] { ZoneNameEditChange(); };
    ZoneRefEdit.OnChange = [this] { ZoneRefEditChange(); };
    WaterSupplySystemEdit.OnChange = [this] { WaterSupplySystemEditChange(); };
    ReportNumEdit.OnChange = [this] { ReportNumEditChange(); };
    for (TTimePicker* picker : Controls.All<TTimePicker>())
        picker->OnChange = [this, picker] { LowTimePickerChange(*picker); };

    FixedPRVOutletEdit.OnChange = [this] { FixedPRVOutletEditChange(); };
    HighPressureEdit.OnChange = [this] {
        TimePressureEditChange(HighPressureEdit, Project.HighPressure, Msg::HighPressureEntryInvalid);
    };
    LowPressureEdit.OnChange = [this] {
        TimePressureEditChange(LowPressureEdit, Project.LowPressure, Msg::LowPressureEntryInvalid);
    };
    Interval2Radio.OnClick = [this] { Interval2RadioClick(); };
    Interval4Radio.OnClick = [this] { Interval4RadioClick(); };
    LPFlowMod.OnChange = [this] { LPFlowModChange(); };
    HPFlowMod.OnChange = [this] { HPFlowModChange(); };
    const std::pair<TEdit*, double*> costEdits[] = {{&InflowCostEdit, &Project.InflowCost},
                                                    {&ConsumpCostsEdit, &Project.ConsumpCosts},
                                                    {&ResConsumpChangeEdit, &Project.ResConsumpChange},
                                                    {&NonresConsumpChangeEdit, &Project.NonresConsumpChange}};
    // Copied into the handler: clang 14 cannot capture a structured binding.
    for (const auto& [edit, field] : costEdits)
        edit->OnChange = [this, e = edit, f = field] { CostEditChange(*e, *f); };
    CostFactorEdit.OnChange = [this] { CostFactorEditChange(); };
    edtConsumptionN1.OnChange = [this] { edtConsumptionN1Change(); };

    // The key filter of every numeric edit.
    for (TEdit* e : Controls.With<TEdit>(TControlFlag::NumericKeys)) {
        e->OnKeyPress = [this, e](char& key) { CheckNumberEdit(*e, key); };
        e->OnEdited = [this, e] { NumberEditEdited(*e); };
        // A pasted text must keep a number as a typed key must.
        e->AcceptsChange = NumberChangeAccepted;
    }

    // Tables.
    FlowGrid.OnSetEditText = [this](int c, int r, const std::string& v) { FlowGridSetEditText(c, r, v); };
    TimePRVGrid.OnSetEditText = [this](int c, int r, const std::string& v) {
        TimePRVGridSetEditText(c, r, v);
    };
    FlowGrid.OnKeyPress = [this](char& key) { GridEnterKey(FlowGrid, key, FlowGridLayout::FirstHourRow); };
    // Every hour's inflow and pressures are numbers: a letter would be counted as 0.
    FlowGrid.IsNumberCell = [this](int col, int row) {
        return col >= FlowGridLayout::InflowM3hCol && col <= FlowGridLayout::CriticalCol &&
               row >= FlowGridLayout::FirstHourRow && row <= FlowGridLayout::LastHourRow &&
               col < FlowGrid.ColCount();
    };
    for (TMarkStringGrid* grid : {&CurrentGrid, &FixedPRVGrid, &TimePRVGrid})
        grid->OnKeyPress = [this, grid](char& key) { GridEnterKey(*grid, key, ResultRows::FirstHourRow); };
    FlowPRVGrid.OnKeyPress = [this](char& key) { FlowPRVGridKeyPress(key); };
    m3hrRadio.OnClick = [this] { m3hrRadioClick(); };
    lsRadio.OnClick = [this] { lsRadioClick(); };

    // Pages: every page's tab is highlighted while it is seen.
    for (TPageControl* pc : Controls.All<TPageControl>())
        for (TTabSheet* page : pc->Pages) {
            page->OnShow = [page] { page->Highlighted = true; };
            page->OnHide = [page] { page->Highlighted = false; };
        }
    FlowSheet.OnShow = [this] {
        FlowSheet.Highlighted = true;
        Focus("FlowGrid");
    };
    CurrentSituationSheet.OnShow = [this] { CurrentSituationSheetShow(); };
    CurrentTabulatedSheet.OnShow = [this] {
        CurrentTabulatedSheet.Highlighted = true;
        Focus("CurrentGrid");
    };
    GraphicalSheet.OnShow = [this] { GraphicalSheetShow(); };
    FixedOutletSheet.OnShow = [this] { FixedOutletSheetShow(); };
    FixedTabulatedSheet.OnShow = [this] {
        FixedTabulatedSheet.Highlighted = true;
        Focus("FixedPRVGrid");
    };
    FixedGraphSheet.OnShow = [this] { FixedGraphSheetShow(); };
    TimeModulatedSheet.OnShow = [this] { TimeModulatedSheetShow(); };
    TimeTabulatedSheet.OnShow = [this] {
        TimeTabulatedSheet.Highlighted = true;
        Focus("TimePRVGrid");
    };
    TimeGraphicalSheet.OnShow = [this] { TimeGraphicalSheetShow(); };
    FlowModulatedSheet.OnShow = [this] { FlowModulatedSheetShow(); };
    FlowTabulatedSheet.OnShow = [this] {
        FlowTabulatedSheet.Highlighted = true;
        Focus("FlowPRVGrid");
    };
    FlowGraphicalSheet.OnShow = [this] { FlowGraphicalSheetShow(); };
    SummarySheet.OnShow = [this] { SummarySheetShow(); };
    CostSummarySheet.OnShow = [this] { CostSummarySheet.Highlighted = true; };
    CostSummarySheet.OnHide = [this] { CostSummarySheet.Highlighted = false; };
    N1SensitivitySheet.OnHide = [this] { N1SensitivitySheet.Highlighted = false; };
    N1SensitivitySheet.OnShow = [this] { N1Sensitivity.N1SensitivitySheetShow(); };

    // Buttons and commands.
    N1Calculation.OnClick = [this] { N1CalculationClick(); };
    ImportButton.OnClick = [this] { ImportButtonClick(); };
    Button1.OnClick = [this] { Button1Click(); };
    ImpCostsButton.OnClick = [this] { ImpCostsButtonClick(); };
    GraphOptionButton.OnClick = [this] { GraphOptionButtonClick(); };
    FullGraphOptionButton.OnClick = BitBtn1.OnClick =
        BitBtn2.OnClick = [this] { FullGraphOptionButtonClick(); };
    actDataNew.OnExecute = [this] { actDataNewExec(); };
    actDataRead.OnExecute = [this] { actDataReadExec(); };
    actDataSave.OnExecute = [this] { actDataSaveExec(); };
    actDataSaveAs.OnExecute = [this] { actDataSaveAsExec(); };
    actClose.OnExecute = [this] { actCloseExec(); };
    actExcel.OnExecute = [this] { actExcelExec(); };
    actPrint.OnExecute = [this] { actPrintExec(); };
    actPrintToBitmap.OnExecute = [this] { actPrintToBitmapExec(); };
}

} // namespace halvern
