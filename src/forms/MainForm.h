// TMainForm: the main window as a toolkit-free model. It owns the project, every
// control and table of the window, the auxiliary windows, and the analysis as methods;
// everything the user can do is a method call, everything the user can see is readable.
#pragma once
#include "forms/AuxForms.h"
#include "forms/Chart.h"
#include "forms/Controls.h"
#include "forms/Dialogs.h"
#include "forms/MarkStringGrid.h"
#include "model/Project.h"
#include <functional>
#include <string>

namespace halvern {

class TMainForm {
public:
    // FormCreate: the caption, the pages, the controls' designed initial state and
    // every handler connected. Nothing is calculated until FormShow.
    explicit TMainForm(TDialogs& dialogs);
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    TDialogs& Dialogs;
    TProject Project;

    // ---- the one dispatch point ---------------------------------------------------
    // Runs an event handler; a conversion or floating-point error ends it and its message
    // is shown in an error box. Any other exception is a programming error: it is written
    // to standard error and the box says InternalErrorMessage instead of its text.
    // Returns false when the handler ended on an error.
    bool Dispatch(const std::function<void()>& handler);
    static constexpr const char* InternalErrorMessage =
        "An internal error occurred: the last action was stopped.";

    // ---- window ----------------------------------------------------------------------
    std::string Caption;
    TStatusBar StatusBar1;
    TAction actDataNew, actDataRead, actDataSave, actClose, actPrint, actPrintToBitmap, actExcel;
    std::vector<TAction*> Actions(); // in toolbar order
    bool Closed = false;              // the main window was closed (the program ends)
    std::function<void()> OnCloseRequest;
    // The table that should receive the keyboard focus; views follow OnFocusRequest.
    std::string FocusedControl;
    std::function<void(const std::string&)> OnFocusRequest;
    void Focus(const std::string& controlName);

    void FormShow(); // Initialise(true), then the first pages are shown
    // The main window closed (its close box, or Close confirmed): the program ends, and
    // the windows that stay open beside it close with it.
    void FormClose();
    void Initialise(bool DoVariables);

    // ---- pages ----------------------------------------------------------------------
    TPageControl MainPage{"MainPage"}, InputPage{"InputPage"}, CurrentPage{"CurrentPage"},
        FixedPRVPage{"FixedPRVPage"}, TimePage{"TimePage"}, PageControl1{"PageControl1"};
    TTabSheet DataInputSheet{"DataInputSheet", "Data Input"};
    TTabSheet GeneralSheet{"GeneralSheet", "General Info"};
    TTabSheet PropertySheet{"PropertySheet", "Default Parameters"};
    TTabSheet FlowSheet{"FlowSheet", "Flow and Pressure"};
    TTabSheet CurrentSituationSheet{"CurrentSituationSheet", "Current Situation"};
    TTabSheet CurrentTabulatedSheet{"CurrentTabulatedSheet", "Tabulated"};
    TTabSheet GraphicalSheet{"GraphicalSheet", "Graphical"};
    TTabSheet FixedOutletSheet{"FixedOutletSheet", "Fixed Outlet"};
    TTabSheet FixedTabulatedSheet{"FixedTabulatedSheet", "Tabulated"};
    TTabSheet FixedGraphSheet{"FixedGraphSheet", "Graphical"};
    TTabSheet TimeModulatedSheet{"TimeModulatedSheet", "Time Modulated"};
    TTabSheet TimeTabulatedSheet{"TimeTabulatedSheet", "Tabulated"};
    TTabSheet TimeGraphicalSheet{"TimeGraphicalSheet", "Graphical"};
    TTabSheet FlowModulatedSheet{"FlowModulatedSheet", "Flow Modulated"};
    TTabSheet FlowTabulatedSheet{"FlowTabulatedSheet", "Tabulated"};
    TTabSheet FlowGraphicalSheet{"FlowGraphicalSheet", "Graphical"};
    TTabSheet SummarySheet{"SummarySheet", "Summary"};

    // ---- General Info -----------------------------------------------------------------
    TEdit ZoneNameEdit{"ZoneNameEdit"}, ZoneRefEdit{"ZoneRefEdit"},
        WaterSupplySystemEdit{"WaterSupplySystemEdit"}, ReportNumEdit{"ReportNumEdit"};
    TTimePicker LowTimePicker{"LowTimePicker"}, HighTimePicker{"HighTimePicker"};
    TCheckBox TimeWarnCheckBox{"TimeWarnCheckBox"};
    TEdit MainsLengthEdit{"MainsLengthEdit"}, NumOfConnectEdit{"NumOfConnectEdit"},
        NumOfServicedEdit{"NumOfServicedEdit"}, NumNonResidentialEdit{"NumNonResidentialEdit"},
        PopulationEdit{"PopulationEdit"}, MinPressureEdit{"MinPressureEdit"},
        MinNightPressureEdit{"MinNightPressureEdit"};
    TEdit InletElevEdit{"InletElevEdit"}, AZPElevEdit{"AZPElevEdit"}, TargetElevEdit{"TargetElevEdit"};
    TMemo CollectMemo{"CollectMemo"}, AnalysisMemo{"AnalysisMemo"};

    // ---- Default Parameters -----------------------------------------------------------
    TEdit MainsLossEdit{"MainsLossEdit"}, Edit1{"Edit1"}, ConnectPresEdit{"ConnectPresEdit"},
        ConnectLossEdit{"ConnectLossEdit"}, PropPressEdit{"PropPressEdit"},
        PropertyLossEdit{"PropertyLossEdit"};
    TLabel TotMainsLossLabel{"TotMainsLossLabel"}, TotConnectLossLabel{"TotConnectLossLabel"},
        TotPropLossLabel{"TotPropLossLabel"};
    TEdit DomesticNightEdit{"DomesticNightEdit"}, PopActiveEdit{"PopActiveEdit"},
        NonDomMeterEdit{"NonDomMeterEdit"}, NonDomUnmeterEdit{"NonDomUnmeterEdit"};
    TLabel ConnectionLossLabel{"ConnectionLossLabel"}, PropertyLossLabel{"PropertyLossLabel"},
        ResidentialNightLabel{"ResidentialNightLabel"}, NonResidentialNightLabel{"NonResidentialNightLabel"},
        ExceptionalUseLabel{"ExceptionalUseLabel"}, TotalNonPressureLabel{"TotalNonPressureLabel"};
    TEdit N1Edit{"N1Edit"};
    TButton N1Calculation{"N1Calculation"};
    TEdit DailyNonResidentialEdit{"DailyNonResidentialEdit"};

    // ---- Flow and Pressure ------------------------------------------------------------
    TRadioButton m3hrRadio{"m3hrRadio"}, lsRadio{"lsRadio"};
    TButton ImportButton{"ImportButton"}, Button1{"Button1"};
    TMarkStringGrid FlowGrid{"FlowGrid"};

    // ---- Current Situation ------------------------------------------------------------
    TMarkStringGrid CurrentGrid{"CurrentGrid"};
    TLabel CurrentDepLabel{"CurrentDepLabel"}, CurrentIndepLabel{"CurrentIndepLabel"},
        CurrentTotLabel{"CurrentTotLabel"}, DayNightLabel{"DayNightLabel"},
        NonResidentialUseLabel{"NonResidentialUseLabel"}, ResidentialUseLabel{"ResidentialUseLabel"},
        PopUseWarningLabel{"PopUseWarningLabel"};
    // Shown when the low-flow hour's inflow is below the pressure-independent night flow.
    TLabel NightFlowWarningLabel{"NightFlowWarningLabel"};
    TButton GraphOptionButton{"GraphOptionButton"};
    TChart CurrentChart{"CurrentChart"};

    // ---- Fixed Outlet -----------------------------------------------------------------
    TMarkStringGrid FixedPRVGrid{"FixedPRVGrid"};
    TEdit FixedPRVOutletEdit{"FixedPRVOutletEdit"};
    TLabel FixedDayNightLabel{"FixedDayNightLabel"}, FixedWarnLabel{"FixedWarnLabel"},
        FixedDepLabel{"FixedDepLabel"}, FixedIndepLabel{"FixedIndepLabel"}, FixedTotLabel{"FixedTotLabel"};
    TButton FullGraphOptionButton{"FullGraphOptionButton"};
    TChart FixedPRVChart{"FixedPRVChart"};

    // ---- Time Modulated ---------------------------------------------------------------
    TMarkStringGrid TimePRVGrid{"TimePRVGrid"};
    TEdit HighPressureEdit{"HighPressureEdit"}, LowPressureEdit{"LowPressureEdit"};
    TTimePicker TimeStart1Picker{"TimeStart1Picker"}, TimeStop1Picker{"TimeStop1Picker"},
        TimeStart2Picker{"TimeStart2Picker"}, TimeStop2Picker{"TimeStop2Picker"};
    TLabel SecondSetLabel{"SecondSetLabel"};
    TRadioButton Interval2Radio{"Interval2Radio"}, Interval4Radio{"Interval4Radio"};
    TLabel TimeDayNightLabel{"TimeDayNightLabel"}, TimeWarnLabel{"TimeWarnLabel"},
        TimeDepLabel{"TimeDepLabel"}, TimeIndepLabel{"TimeIndepLabel"}, TimeTotLabel{"TimeTotLabel"};
    TButton BitBtn1{"BitBtn1"};
    TChart TimePRVChart{"TimePRVChart"};

    // ---- Flow Modulated ---------------------------------------------------------------
    TMarkStringGrid FlowPRVGrid{"FlowPRVGrid"};
    bool FlowPRVBusy = false; // set while CalcFlowPRV runs; the table then ignores keys
    // Set while Read data or New data refreshes the window: the flow-time warnings wait for
    // the full recalculation, so that none names an hour of the project that was there.
    bool RefreshingProject = false;
    // What the project file would keep, as of the last read, save or new project.
    std::string UnchangedProject;
    TEdit LPFlowMod{"LPFlowMod"}, HPFlowMod{"HPFlowMod"};
    TLabel FlowDayNightLabel{"FlowDayNightLabel"}, FlowWarnLabel{"FlowWarnLabel"},
        FlowDepLabel{"FlowDepLabel"}, FlowIndepLabel{"FlowIndepLabel"}, FlowTotLabel{"FlowTotLabel"};
    TButton BitBtn2{"BitBtn2"};
    TChart FlowPRVChart{"FlowPRVChart"};

    // ---- Summary ----------------------------------------------------------------------
    TEdit InflowCostEdit{"InflowCostEdit"}, ConsumpCostsEdit{"ConsumpCostsEdit"},
        CostFactorEdit{"CostFactorEdit"}, ResConsumpChangeEdit{"ResConsumpChangeEdit"},
        NonresConsumpChangeEdit{"NonresConsumpChangeEdit"}, edtConsumptionN1{"edtConsumptionN1"};
    TUpDown CostFactorUpDown{"CostFactorUpDown"};
    TButton ImpCostsButton{"ImpCostsButton"};
    TMarkStringGrid CostSummaryGrid{"CostSummaryGrid"};

    // ---- auxiliary windows (created in this order) --------------------------------------
    TN1CalculationForm N1CalculationForm{*this};
    TCostsForm CostsForm{*this};
    TGraphPropForm GraphPropForm{*this};
    TImportHelp ImportHelp;

    // Every numeric edit with the key filter, every edit by name, every grid by name.
    std::vector<TEdit*> NumericEdits();
    std::vector<TEdit*> AllEdits();
    std::vector<TMarkStringGrid*> AllGrids();
    std::vector<TLabel*> AllLabels();
    std::vector<TTimePicker*> AllPickers();
    TEdit* EditByName(const std::string& name);
    TMarkStringGrid* GridByName(const std::string& name);
    // Gives every grid the canvas the views measure texts with; nullptr when that canvas
    // goes, after which the grids measure with their own fixed-width canvas again.
    void SetMeasureCanvas(TCanvas* canvas);

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
    std::string CopyHourRow(TMarkStringGrid& grid, int hour, const std::string& lowKey, const std::string& highKey);
    void ResetAllGridColours();

    // ---- night flow ---------------------------------------------------------------------
    void CalcNightLoss();
    void NightUseEditChange(TEdit& edit, double& field); // DomesticNight, PopActive, NonDomMeter, NonDomUnmeter
    void NumNonResidentialEditChange();
    // One row of leakage rates on the Default Parameters page (l/km/hr for the mains,
    // l/connection/hr, l/property/hr): the pressure-dependent rate, which the night flow
    // uses, the pressure-independent rate beside it, and the label with their total.
    struct TLossRateRow {
        TEdit& DependentEdit;       // MainsLossEdit, ConnectLossEdit, PropertyLossEdit
        double& Dependent;          // its record field
        TEdit& IndependentEdit;     // Edit1, ConnectPresEdit, PropPressEdit
        double* Independent;        // its record field; the mains rate is not stored
        TLabel& Total;
    };
    TLossRateRow MainsLossRow();
    TLossRateRow ConnectionLossRow();
    TLossRateRow PropertyLossRow();
    void DependentLossEditChange(const TLossRateRow& row);
    void IndependentLossEditChange(const TLossRateRow& row);

    // ---- input collection and the driver -------------------------------------------------
    void GetTheData(bool& ErrorsFound);
    void DoMainCalcs();
    void RunAllOptions();
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
    void FlowGridSetEditText(int col, int row, const std::string& value);
    void UpdateFlowGrid();
    void m3hrRadioClick();
    void lsRadioClick();
    // Enter moves the current cell down, or to the top of the next column.
    void GridEnterKey(TMarkStringGrid& grid, char& key, int firstHourRow);
    void FlowPRVGridKeyPress(char& key);

    // ---- the analysis ----------------------------------------------------------------------
    void CalcCurrentSituation();
    void DoPRVCalcs(TMarkStringGrid& Sender, double& DayNight, double& Dep, double& Indep, double& Tot,
                    bool& LowWarning);
    void CalcFixedPRV();
    void CalcTimePRV();
    void CalcFlowPRV();
    void GetTheCosts();

    // ---- commands and buttons -----------------------------------------------------------------
    void actDataNewExec();
    void actDataReadExec();
    void actDataSaveExec();
    void actCloseExec();
    void NewProject();
    void N1CalculationClick();
    void ImpCostsButtonClick();
    void ImportButtonClick();
    void Button1Click();

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

private:
    void ReportInternalError(const std::string& detail);
    void ConnectHandlers();
    void BuildPages();
};

// Time-of-day key of an hour row: the label's first 5 characters followed by ":00".
std::string HourKey(const std::string& hourLabel);

} // namespace halvern
