// TMainForm: the main window as a toolkit-free model. It owns the project, every
// control and table of the window, the auxiliary windows, and the analysis as methods;
// everything the user can do is a method call, everything the user can see is readable.
#pragma once
#include "forms/AuxForms.h"
#include "forms/Chart.h"
#include "forms/ControlRegistry.h"
#include "forms/Controls.h"
#include "forms/Dialogs.h"
#include "forms/LoggerImport.h"
#include "forms/MarkStringGrid.h"
#include "forms/N1SensitivityForm.h"
#include "forms/OutletPopup.h"
#include "forms/PrintForm.h"
#include "forms/TableUndo.h"
#include "model/Messages.h"
#include "model/Project.h"
#include <array>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace halvern {

class TMainForm {
public:
    // FormCreate: the caption, the pages, the controls' designed initial state and
    // every handler connected. Nothing is calculated until FormShow.
    explicit TMainForm(TDialogs& dialogs);
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // Every control below, and those of the N1 and costs windows, joins this registry as it
    // is constructed; it is declared first so that it exists before them. Its order is the
    // order of the declarations, which is the order `halvern-cli show --json` lists them in.
    TControlRegistry Controls;

    TDialogs& Dialogs;
    TProject Project;

    // ---- the one dispatch point ---------------------------------------------------
    // Runs an event handler; a conversion or floating-point error ends it and its message
    // is shown in an error box. Any other exception is a programming error: it is written
    // to standard error and the box says InternalErrorMessage instead of its text.
    // Returns false when the handler ended on an error.
    bool Dispatch(const std::function<void()>& handler);
    static constexpr const char* InternalErrorMessage = Msg::InternalError;

    // ---- window ----------------------------------------------------------------------
    std::string Caption;
    TStatusBar StatusBar1;
    // The project file last read or saved in this run, with its folder; empty before.
    std::string ProjectFileName;
    // The project on the screen is the one in ProjectFileName, which Save data writes to
    // (false after New data, which keeps only that file's folder for the dialogs).
    bool ProjectFromFile = false;
    // The folder of the last file chosen in the project and import dialogs of this run.
    std::string LastFolder;
    // A file dialog as the window shows it: opening in the project's folder (or the last
    // one used), Save data offering the project's file.
    TFileDialogRequest FileDialog(const TFileDialogRequest& dialog) const;
    TAction actDataNew, actDataRead, actDataSave, actClose, actPrint, actPrintToBitmap, actExcel;
    std::vector<TAction*> Actions(); // in toolbar order
    // "Save data as": the save dialog whatever the project; on the menu, not the toolbar.
    TAction actDataSaveAs;
    bool Closed = false; // the main window was closed (the program ends)
    std::function<void()> OnCloseRequest;
    // The table that should receive the keyboard focus; views follow OnFocusRequest.
    std::string FocusedControl;
    std::function<void(const std::string&)> OnFocusRequest;
    void Focus(const std::string& controlName);
    // A project was read from or saved to this file (the desktop program keeps it among
    // the recent projects).
    std::function<void(const std::string&)> OnProjectFile;

    void FormShow(); // Initialise(true), then the first pages are shown
    // The main window closed (its close box, or Close confirmed): the program ends, and
    // the windows that stay open beside it close with it.
    void FormClose();
    // Puts the project's defaults into the record (DoVariables) and refreshes every control
    // and table from the record, page by page in the steps below.
    void Initialise(bool DoVariables);

    // The two flags the controls below carry.
    static constexpr TControlFlag Numeric = TControlFlag::NumericKeys;
    static constexpr TControlFlag Unlisted = TControlFlag::Unlisted;

    // ---- pages ----------------------------------------------------------------------
    TPageControl MainPage{Controls, "MainPage"}, InputPage{Controls, "InputPage"},
        CurrentPage{Controls, "CurrentPage"}, FixedPRVPage{Controls, "FixedPRVPage"},
        TimePage{Controls, "TimePage"};
    TPageControl PageControl1{Controls,
                              "PageControl1"}; // the Flow Modulated page's Tabulated/Graphical pages
    TTabSheet DataInputSheet{Controls, "DataInputSheet", "Data Input"};
    TTabSheet GeneralSheet{Controls, "GeneralSheet", "General Info"};
    TTabSheet PropertySheet{Controls, "PropertySheet", "Default Parameters"};
    TTabSheet FlowSheet{Controls, "FlowSheet", "Flow and Pressure"};
    TTabSheet CurrentSituationSheet{Controls, "CurrentSituationSheet", "Current Situation"};
    TTabSheet CurrentTabulatedSheet{Controls, "CurrentTabulatedSheet", "Tabulated"};
    TTabSheet GraphicalSheet{Controls, "GraphicalSheet", "Graphical"}; // the current situation's chart
    TTabSheet FixedOutletSheet{Controls, "FixedOutletSheet", "Fixed Outlet"};
    TTabSheet FixedTabulatedSheet{Controls, "FixedTabulatedSheet", "Tabulated"};
    TTabSheet FixedGraphSheet{Controls, "FixedGraphSheet", "Graphical"};
    TTabSheet TimeModulatedSheet{Controls, "TimeModulatedSheet", "Time Modulated"};
    TTabSheet TimeTabulatedSheet{Controls, "TimeTabulatedSheet", "Tabulated"};
    TTabSheet TimeGraphicalSheet{Controls, "TimeGraphicalSheet", "Graphical"};
    TTabSheet FlowModulatedSheet{Controls, "FlowModulatedSheet", "Flow Modulated"};
    TTabSheet FlowTabulatedSheet{Controls, "FlowTabulatedSheet", "Tabulated"};
    TTabSheet FlowGraphicalSheet{Controls, "FlowGraphicalSheet", "Graphical"};
    TTabSheet SummarySheet{Controls, "SummarySheet", "Summary"};
    // The Summary's own pages: the cost table and the N1 sweep. They join no registry, so
    // the listing of the window (`show --json`) is what it was without them.
    TPageControl SummaryPages{"SummaryPages"};
    TTabSheet CostSummarySheet{"CostSummarySheet", "Cost Summary"};
    TTabSheet N1SensitivitySheet{"N1SensitivitySheet", "N1 Sensitivity"};

    // ---- General Info -----------------------------------------------------------------
    TEdit ZoneNameEdit{Controls, "ZoneNameEdit"}, ZoneRefEdit{Controls, "ZoneRefEdit"},
        WaterSupplySystemEdit{Controls, "WaterSupplySystemEdit"};
    TEdit ReportNumEdit{Controls, "ReportNumEdit"};         // report number, free text
    TTimePicker LowTimePicker{Controls, "LowTimePicker"};   // start of the hour of minimum night flow
    TTimePicker HighTimePicker{Controls, "HighTimePicker"}; // start of the hour of highest flow
    TCheckBox TimeWarnCheckBox{Controls, "TimeWarnCheckBox"};
    TEdit MainsLengthEdit{Controls, "MainsLengthEdit", Numeric}; // km
    TEdit NumOfConnectEdit{Controls, "NumOfConnectEdit", Numeric};
    TEdit NumOfServicedEdit{Controls, "NumOfServicedEdit", Numeric}; // residential properties
    TEdit NumNonResidentialEdit{Controls, "NumNonResidentialEdit", Numeric};
    TEdit PopulationEdit{Controls, "PopulationEdit", Numeric};
    TEdit MinPressureEdit{Controls, "MinPressureEdit", Numeric}; // least acceptable at peak demand, m
    TEdit MinNightPressureEdit{Controls, "MinNightPressureEdit", Numeric}; // least acceptable at night, m
    TEdit InletElevEdit{Controls, "InletElevEdit", Numeric};               // zone inlet, masl
    TEdit AZPElevEdit{Controls, "AZPElevEdit", Numeric};                   // average zone point, masl
    TEdit TargetElevEdit{Controls, "TargetElevEdit", Numeric};             // critical point, masl
    TMemo CollectMemo{Controls, "CollectMemo"};   // who collected and collated the data
    TMemo AnalysisMemo{Controls, "AnalysisMemo"}; // who performed the analysis

    // ---- Default Parameters -----------------------------------------------------------
    // Leakage rates at minimum night flow, one row each for mains, connections and
    // properties: pressure-dependent | pressure-independent | total.
    TEdit MainsLossEdit{Controls, "MainsLossEdit", Numeric}; // mains, pressure-dependent, l/km/hr
    TEdit Edit1{Controls, "Edit1", Numeric}; // mains, pressure-independent, l/km/hr (disabled, "0")
    TEdit ConnectPresEdit{Controls, "ConnectPresEdit", Numeric}; // connections, pressure-dependent, l/conn/hr
    TEdit ConnectLossEdit{Controls, "ConnectLossEdit",
                          Numeric};                          // connections, pressure-independent, l/conn/hr
    TEdit PropPressEdit{Controls, "PropPressEdit", Numeric}; // properties, pressure-dependent, l/prop/hr
    TEdit PropertyLossEdit{Controls, "PropertyLossEdit",
                           Numeric}; // properties, pressure-independent, l/prop/hr
    TEdit DomesticNightEdit{Controls, "DomesticNightEdit", Numeric}; // cistern capacity, litres
    TEdit PopActiveEdit{Controls, "PopActiveEdit", Numeric};         // % of population active at night
    TEdit NonDomMeterEdit{Controls, "NonDomMeterEdit", Numeric};     // non-residential night use, l/prop/hr
    TEdit NonDomUnmeterEdit{Controls, "NonDomUnmeterEdit", Numeric}; // exceptional night use, m³/hr
    // The night flow components, m³/hr, and their total, the flow independent of pressure.
    TLabel ConnectionLossLabel{Controls, "ConnectionLossLabel"},
        PropertyLossLabel{Controls, "PropertyLossLabel"},
        ResidentialNightLabel{Controls, "ResidentialNightLabel"},
        NonResidentialNightLabel{Controls, "NonResidentialNightLabel"},
        ExceptionalUseLabel{Controls, "ExceptionalUseLabel"},
        TotalNonPressureLabel{Controls, "TotalNonPressureLabel"};
    // The row totals of the three leakage rates (l/km/hr, l/conn/hr, l/prop/hr).
    TLabel TotMainsLossLabel{Controls, "TotMainsLossLabel"},
        TotConnectLossLabel{Controls, "TotConnectLossLabel"}, TotPropLossLabel{Controls, "TotPropLossLabel"};
    TEdit N1Edit{Controls, "N1Edit", Numeric};        // collective system leakage exponent, 0.5 to 2.5
    TButton N1Calculation{Controls, "N1Calculation"}; // "Estimate": opens the N1 window
    TEdit DailyNonResidentialEdit{Controls, "DailyNonResidentialEdit", Numeric}; // m³/d

    // ---- Flow and Pressure ------------------------------------------------------------
    TRadioButton m3hrRadio{Controls, "m3hrRadio"},
        lsRadio{Controls, "lsRadio"}; // the unit inflow is typed in
    TButton ImportButton{Controls, "ImportButton"};
    TButton Button1{Controls, "Button1"}; // "?": shows the layout of an import file
    TMarkStringGrid FlowGrid{Controls, "FlowGrid"};

    // ---- Current Situation ------------------------------------------------------------
    TMarkStringGrid CurrentGrid{Controls, "CurrentGrid"};
    // Daily volumes, m³: pressure-dependent, pressure-independent, total.
    TLabel CurrentDepLabel{Controls, "CurrentDepLabel"}, CurrentIndepLabel{Controls, "CurrentIndepLabel"},
        CurrentTotLabel{Controls, "CurrentTotLabel"};
    TLabel DayNightLabel{Controls, "DayNightLabel"}; // day/night factor, hours
    TLabel NonResidentialUseLabel{Controls, "NonResidentialUseLabel"},
        ResidentialUseLabel{Controls, "ResidentialUseLabel"},
        PopUseWarningLabel{Controls, "PopUseWarningLabel"};
    // Shown when the low-flow hour's inflow is below the pressure-independent night flow.
    TLabel NightFlowWarningLabel{Controls, "NightFlowWarningLabel"};
    TButton GraphOptionButton{Controls,
                              "GraphOptionButton"}; // graph properties of the current situation's chart
    TChart CurrentChart{Controls, "CurrentChart"};

    // ---- Fixed Outlet -----------------------------------------------------------------
    TMarkStringGrid FixedPRVGrid{Controls, "FixedPRVGrid"};
    TEdit FixedPRVOutletEdit{Controls, "FixedPRVOutletEdit", Numeric}; // the valve's set pressure, m
    // Each valve page: day/night factor (hours), the low-pressure warning, daily volumes (m³).
    TLabel FixedDayNightLabel{Controls, "FixedDayNightLabel"}, FixedWarnLabel{Controls, "FixedWarnLabel"},
        FixedDepLabel{Controls, "FixedDepLabel"}, FixedIndepLabel{Controls, "FixedIndepLabel"},
        FixedTotLabel{Controls, "FixedTotLabel"};
    // The hours in which the valve stands fully open (its outlet would be above the inlet).
    TLabel FixedOpenLabel{Controls, "FixedOpenLabel"};
    TButton FullGraphOptionButton{Controls,
                                  "FullGraphOptionButton"}; // graph properties of the fixed outlet chart
    TChart FixedPRVChart{Controls, "FixedPRVChart"};

    // ---- Time Modulated ---------------------------------------------------------------
    TMarkStringGrid TimePRVGrid{Controls, "TimePRVGrid"};
    TEdit HighPressureEdit{Controls, "HighPressureEdit", Numeric}; // outlet pressure in the high periods, m
    TEdit LowPressureEdit{Controls, "LowPressureEdit", Numeric};   // outlet pressure outside them, m
    // Start and stop of the first and second high-pressure periods.
    TTimePicker TimeStart1Picker{Controls, "TimeStart1Picker"}, TimeStop1Picker{Controls, "TimeStop1Picker"},
        TimeStart2Picker{Controls, "TimeStart2Picker"}, TimeStop2Picker{Controls, "TimeStop2Picker"};
    TLabel SecondSetLabel{Controls, "SecondSetLabel", Unlisted}; // the fixed caption "2nd Set"
    TRadioButton Interval2Radio{Controls, "Interval2Radio"}, Interval4Radio{Controls, "Interval4Radio"};
    TLabel TimeDayNightLabel{Controls, "TimeDayNightLabel"}, TimeWarnLabel{Controls, "TimeWarnLabel"},
        TimeDepLabel{Controls, "TimeDepLabel"}, TimeIndepLabel{Controls, "TimeIndepLabel"},
        TimeTotLabel{Controls, "TimeTotLabel"};
    TLabel TimeOpenLabel{Controls, "TimeOpenLabel"};
    TButton BitBtn1{Controls, "BitBtn1"}; // graph properties of the time-modulated chart
    TChart TimePRVChart{Controls, "TimePRVChart"};

    // ---- Flow Modulated ---------------------------------------------------------------
    TMarkStringGrid FlowPRVGrid{Controls, "FlowPRVGrid"};
    bool FlowPRVBusy = false; // set while CalcFlowPRV runs; the table then ignores keys
    // Set while Read data or New data refreshes the window: the flow-time warnings wait for
    // the full recalculation, so that none names an hour of the project that was there.
    bool RefreshingProject = false;
    struct TCalculationMessage {
        bool FlowTimeWarning = false; // else an error
        std::string Text;
    };
    std::vector<TCalculationMessage> CalculationMessages;
    // What the project file would keep, as of the last read, save or new project.
    std::string UnchangedProject;
    TEdit LPFlowMod{Controls, "LPFlowMod"}; // outlet pressure at the lowest flow, m
    TEdit HPFlowMod{Controls, "HPFlowMod"}; // outlet pressure at the highest flow, m
    TLabel FlowDayNightLabel{Controls, "FlowDayNightLabel"}, FlowWarnLabel{Controls, "FlowWarnLabel"},
        FlowDepLabel{Controls, "FlowDepLabel"}, FlowIndepLabel{Controls, "FlowIndepLabel"},
        FlowTotLabel{Controls, "FlowTotLabel"};
    TLabel FlowOpenLabel{Controls, "FlowOpenLabel"};
    // Critical targets that no outlet meets, or that even no outlet exceeds.
    TLabel FlowTargetLabel{Controls, "FlowTargetLabel"};
    TButton BitBtn2{Controls, "BitBtn2"}; // graph properties of the flow-modulated chart
    TChart FlowPRVChart{Controls, "FlowPRVChart"};

    // ---- Summary ----------------------------------------------------------------------
    TEdit InflowCostEdit{Controls, "InflowCostEdit", Numeric};     // cost of inflow, R/m³
    TEdit ConsumpCostsEdit{Controls, "ConsumpCostsEdit", Numeric}; // value of consumption, R/m³
    TEdit CostFactorEdit{Controls, "CostFactorEdit", Numeric};     // multiplication factor, %
    TEdit ResConsumpChangeEdit{Controls, "ResConsumpChangeEdit",
                               Numeric}; // % of residential use that follows pressure
    TEdit NonresConsumpChangeEdit{Controls, "NonresConsumpChangeEdit",
                                  Numeric}; // the same for non-residential use
    TEdit edtConsumptionN1{Controls, "edtConsumptionN1",
                           Numeric}; // pressure exponent of consumption (not saved)
    // What edtConsumptionN1 holds in every project newly made or read: as it is not in the
    // file, a file's savings and payback are then the same in every session.
    static constexpr const char* InitialConsumptionN1 = "0.5";
    TUpDown CostFactorUpDown{Controls, "CostFactorUpDown"};
    TButton ImpCostsButton{Controls, "ImpCostsButton"};
    TMarkStringGrid CostSummaryGrid{Controls, "CostSummaryGrid"};

    // ---- auxiliary windows (created in this order) --------------------------------------
    // The N1 and costs windows' controls join this window's registry, after its own; the
    // report dialog's do not (what it holds is no part of the project's window).
    TN1CalculationForm N1CalculationForm{*this, Controls};
    TfrmPrint frmPrint{*this};
    TCostsForm CostsForm{*this, Controls};
    TGraphPropForm GraphPropForm{*this};
    TImportHelp ImportHelp;
    // The Summary's "N1 Sensitivity" page.
    TN1SensitivityForm N1Sensitivity{*this};

    // Gives every grid the canvas the views measure texts with; nullptr when that canvas
    // goes, after which the grids measure with their own fixed-width canvas again.
    void SetMeasureCanvas(TCanvas* canvas);

    // ---- the refresh steps of Initialise, in its order -------------------------------------
    void RefreshZone();
    void RefreshNightUse();
    void RefreshFixedOutlet();
    void RefreshTimeModulated(bool newProject);
    void RefreshFlowModulated();
    void RefreshCosts();

    // ---- table set-ups (part of Initialise) ----------------------------------------------
    void SetupFlowGrid();
    void SetupCurrentGrid();
    void SetupPRVGrid(TMarkStringGrid& grid);
    void SetupCostSummaryGrid();
    // Row marks of FlowGrid: aqua for the low-flow picker's hour, then yellow for the high.
    void MarkFlowGridRows();
    // The hour label of FlowGrid row r (1..24).
    std::string HourLabel(int row) const;
    // Copies hour `hour`'s label from FlowGrid into a result table and marks the row aqua
    // when it is the low-flow hour, yellow when it is the high-flow hour (yellow wins);
    // the keys are the two times as "hh:mm:ss". Returns the row's time key.
    std::string CopyHourRow(TMarkStringGrid& grid, int hour, const std::string& lowKey,
                            const std::string& highKey);
    void ResetAllGridColours();

    // ---- night flow ---------------------------------------------------------------------
    void CalcNightLoss();
    void NightUseEditChange(TEdit& edit,
                            double& field); // DomesticNight, PopActive, NonDomMeter, NonDomUnmeter
    void NumNonResidentialEditChange();
    // One row of leakage rates on the Default Parameters page (l/km/hr for the mains,
    // l/conn/hr, l/prop/hr): the lead rate, the partner rate beside it and the label with
    // their total. The lead rate of the mains is the pressure-dependent one; of connections
    // and properties the pressure-independent one, which the night flow uses.
    struct TLossRateRow {
        TEdit& LeadEdit;    // MainsLossEdit, ConnectLossEdit, PropertyLossEdit
        double& Lead;       // its record field
        TEdit& PartnerEdit; // Edit1 (mains, independent), ConnectPresEdit, PropPressEdit (dependent)
        double* Partner;    // its record field; the mains' independent rate is not stored
        TLabel& Total;
    };
    TLossRateRow MainsLossRow();
    TLossRateRow ConnectionLossRow();
    TLossRateRow PropertyLossRow();
    void LeadLossEditChange(const TLossRateRow& row);
    void PartnerLossEditChange(const TLossRateRow& row);

    // ---- input collection and the driver -------------------------------------------------
    void GetTheData(bool& ErrorsFound);
    // The 24 hours of FlowGrid into the record, as the input collection reads them; the
    // message of the first cell that is not a number, if any.
    std::optional<std::string> ReadFlowGrid();
    void DoMainCalcs();
    void RunAllOptions();
    // Every scenario and then the costs, as showing the Summary runs them: what a report, a
    // print or a picture is made from, so that all its pages describe one state of the inputs.
    // A scenario that stops is recorded (ScenarioFailure) and its error returned, not raised:
    // a report or print says so; the Summary page raises it.
    std::exception_ptr RunAllOptionsAndCosts();
    // The four results of the analysis, in the order RunAllOptions calculates them.
    enum class TAnalysisScenario { CurrentSituation, FixedOutlet, TimeModulated, FlowModulated };
    static constexpr int AnalysisScenarios = 4;
    // Why each scenario could not be calculated the last time it was asked for ("Floating
    // point overflow"); empty once it was. A scenario the analysis never reached because an
    // earlier one stopped it says so too. The report and the summary page read these, so a
    // scenario that stopped is never shown with numbers.
    std::array<std::string, AnalysisScenarios> ScenarioFailure;
    const std::string& FailureOf(TAnalysisScenario scenario) const {
        return ScenarioFailure[static_cast<std::size_t>(scenario)];
    }
    // Whether any scenario stopped on an error.
    bool AnalysisStopped() const;
    // Calculates one scenario and remembers whether it could be; the error goes on.
    void Calculate(TAnalysisScenario scenario);
    // The summary table's rows of the scenarios that could not be calculated say so, in place
    // of the numbers of an earlier run or of nothing.
    void MarkUncalculatedCostRows();
    void CalcN1Edit();
    void ZoneNameEditChange();
    void ZoneRefEditChange();
    void WaterSupplySystemEditChange();
    void ReportNumEditChange();
    void LowTimePickerChange(TTimePicker& picker); // shared by the six pickers
    void FixedPRVOutletEditChange();
    // The high and low outlet pressures of the time-modulated valve (m, single precision).
    void TimePressureEditChange(TEdit& edit, float& field, const char* invalidMessage);
    void Interval2RadioClick();
    void Interval4RadioClick();
    void TimePRVGridSetEditText(int col, int row, const std::string& value);
    void LPFlowModChange();
    void HPFlowModChange();
    // InflowCostEdit, ConsumpCostsEdit, ResConsumpChangeEdit, NonresConsumpChangeEdit.
    void CostEditChange(const TEdit& edit, double& field);
    void CostFactorEditChange();
    void edtConsumptionN1Change();

    // Page events.
    void CurrentSituationSheetShow();
    void FixedOutletSheetShow();
    void TimeModulatedSheetShow();
    void FlowModulatedSheetShow();
    void SummarySheetShow();

    // ---- data entry -----------------------------------------------------------------------
    void CheckNumberEdit(TEdit& edit, char& key);
    // A numeric edit changed by the user: the inputs are collected as they now read.
    void NumberEditEdited(const TEdit& edit);
    void FlowGridSetEditText(int col, int row, const std::string& value);
    // The inflow column not typed into, worked out from the one that is: every hour, or one.
    void UpdateFlowGrid();
    void UpdateFlowGridRow(int row);
    void m3hrRadioClick();
    void lsRadioClick();
    // Enter moves the current cell down, or to the top of the next column.
    void GridEnterKey(TMarkStringGrid& grid, char& key, int firstHourRow);
    void FlowPRVGridKeyPress(char& key);

    // ---- the analysis ----------------------------------------------------------------------
    void CalcCurrentSituation();
    // `OpenHours` receives the hour labels of the hours in which the valve stands fully open.
    void DoPRVCalcs(TMarkStringGrid& Sender, double& DayNight, double& Dep, double& Indep, double& Tot,
                    bool& LowWarning, std::vector<std::string>& OpenHours);
    // Each hour's critical pressure (m) as the last DoPRVCalcs worked it out, before it was
    // rounded for its cell: what the low-pressure warning judges, hour by hour.
    std::array<double, HoursPerDay> PRVCriticalPressures{};
    void CalcFixedPRV();
    void CalcTimePRV();
    void CalcFlowPRV();
    void GetTheCosts();
    // What a calculation finds that needs the engineer's answer is recorded while it runs
    // and shown by ShowCalculationMessages once it has ended: no message box opens half-way
    // through a calculation. A flow-time warning offers "Ignore", which ticks the box that
    // turns the next ones off.
    void RecordFlowTimeWarning(std::string text);
    void RecordCalculationError(std::string text);
    void ShowCalculationMessages();

    // ---- commands and buttons -----------------------------------------------------------------
    void actDataNewExec();
    void actDataReadExec();
    // Save data: to the project's file when it came from one (or was saved to one), else
    // as Save data as.
    void actDataSaveExec();
    void actDataSaveAsExec();
    void actCloseExec();
    // "Export to Excel": a "General Data" sheet into the last report of this run.
    void actExcelExec();
    // Opens "Output File Selection".
    void SpreadsheetReportClick();
    void NewProject();
    void N1CalculationClick();
    void ImpCostsButtonClick();
    void ImportButtonClick();
    void Button1Click();
    // ---- measurements in (MeasurementsIn.cpp) ------------------------------------------------
    // The imports, pastes and logger data of the tables, which Edit > Undo takes back.
    TTableUndo TableSteps;
    // "Import logger data…" on the "Flow and Pressure" page, and its window.
    TButton LoggerImportButton{Controls, "LoggerImportButton", Unlisted};
    TLoggerImportForm LoggerImport{*this};
    // Edit > Undo: the last import, paste or logger data taken back.
    void EditUndo();
    // A block from the clipboard pasted at the current cell of FlowGrid, N1Grid or FixedCostGrid.
    void ConnectTablePaste();
    // Runs a project or import dialog (FileDialog); the chosen file's folder becomes LastFolder.
    std::optional<std::string> ChooseFile(const TFileDialogRequest& dialog, bool save);

    // ---- charts ---------------------------------------------------------------------------------
    void SetupCharts();
    void DrawChart(TChart& chart, TMarkStringGrid& grid);
    void GraphicalSheetShow();
    void FixedGraphSheetShow();
    void TimeGraphicalSheetShow();
    void FlowGraphicalSheetShow();
    void GraphOptionButtonClick();
    void FullGraphOptionButtonClick();
    // Draws again each chart whose "Graphical" sub-page is in view and whose table has
    // changed since it was drawn: the chart follows its table after a recalculation.
    void RedrawShownCharts();

    // ---- printing (PrintCommands.cpp) ---------------------------------------------------
    TOutletPopup OutletPopup{*this};
    // Print: the printer set-up, then the page that is showing.
    void actPrintExec();
    // Print To Bitmap: a picture of the page that is showing, into a PNG file.
    void actPrintToBitmapExec();
    // "Print Graph" of OutletPopup: the printer set-up, then the clicked chart alone.
    void PrintGraph2Click();
    // The views print and take the picture; each returns the platform's message when the
    // printer or the file could not be written, else nothing.
    std::function<std::string()> OnPrintPage;
    std::function<std::string(TChart&)> OnPrintChart;
    std::function<std::string(const std::string& fileName)> OnSavePagePicture;
    // The header of a page print, from the identification edits' current texts.
    std::array<std::string, 4> PrintHeader() const;
    // "Fixed Outlet - Graphical": the captions of the page that is showing.
    std::string ShownPageCaption() const;
    // The file a print to a file is offered as: "<project> - <what>.pdf" in the project's
    // folder, or a bare "<what>.pdf" (the home folder) for a project never saved.
    std::string PrintFileOffered(const std::string& what) const;
    // Every result and the charts in view brought up to the inputs before they go out.
    void RecalculateForOutput();

private:
    void ReportInternalError(const std::string& detail);
    void ConnectHandlers();
    void BuildPages();
};

// Time-of-day key of an hour row: the label's first 5 characters followed by ":00".
std::string HourKey(const std::string& hourLabel);

} // namespace halvern
