// The small windows of the program, each created once with the main window and kept,
// with its state, for the whole run: the N1 estimate, the implementation costs, the
// graph properties, the import example and the splash.
#pragma once
#include "forms/ControlRegistry.h"
#include "forms/Controls.h"
#include "forms/MarkStringGrid.h"
#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace halvern {

class TMainForm;

// Shared behaviour of a secondary window: shown and hidden, never rebuilt. The views
// connect OnShowRequest/OnCloseRequest to open and close the real window.
class TAuxForm {
public:
    explicit TAuxForm(std::string caption) : Caption(std::move(caption)) {}
    std::string Caption;
    bool Visible = false;
    std::function<void()> OnShowRequest;  // the view shows its window (modally where the form says)
    std::function<void()> OnCloseRequest; // the view hides its window
};

// "N1 Calculation": estimates the leakage exponent N1 from a staged pressure step test.
class TN1CalculationForm : public TAuxForm {
public:
    // The controls join the main window's registry.
    TN1CalculationForm(TMainForm& main, TControlRegistry& controls);
    TMainForm& MainForm;
    TControlRegistry& Controls;
    TLabel N1Label{Controls, "N1Label"}; // the estimated N1
    // The N1 of the project, as N1Edit holds it (listed there).
    TLabel CurrentN1Label{Controls, "CurrentN1Label", TControlFlag::Unlisted};
    TMarkStringGrid N1Grid{Controls, "N1Grid"};

    void Show();     // not modal: shows the window and runs FormShow
    void FormShow(); // headings, names, colours, locks; GetNewN1
    void GetNewN1(); // columns 8 to 12 and N1Label from the measurements
    void N1GridSetEditText(int col, int row, const std::string& value);
    void Close1Click(); // File > Close
    // Headings, row names, colours and locks of N1Grid.
    void SetupN1Grid();
};

// "Implementation Costs": the capital costs of each PRV option.
class TCostsForm : public TAuxForm {
public:
    // The controls join the main window's registry.
    TCostsForm(TMainForm& main, TControlRegistry& controls);
    TMainForm& MainForm;
    TControlRegistry& Controls;
    // Capital costs per item for each valve option, R; its heading cell is aqua by design.
    TMarkStringGrid FixedCostGrid{Controls, "FixedCostGrid", TControlFlag::DesignColours};
    // Annual costs per item, R: kept and saved, never shown.
    TMarkStringGrid AnnualCostGrid{Controls, "AnnualCostGrid", TControlFlag::Unlisted};
    TButton Button1{Controls, "Button1"}; // "OK": recalculates the cost summary and closes

    void ShowModal();    // FormActivate, then the view runs the dialog
    void FormActivate(); // headings, item names, "0" into empty amount cells
    void UpdateGrid();   // the "Total" row of each option
    void FixedCostGridSetEditText(int col, int row, const std::string& value);
    // Enter moves down the items of an option, then to the first item of the next one (the
    // total is worked out, not typed), so that amounts typed one after another each land.
    void FixedCostGridKeyPress(char& key);
    void Button1Click(); // OK: GetTheCosts, then close
    void Close();        // closing by any means runs FormClose
    void FormClose();    // stores entries 0..4 and publishes the totals
    // Headings, joins and geometry of FixedCostGrid and AnnualCostGrid.
    void SetupCostGrids();
};

// "Graph Properties": which series the charts show and the maxima of their axes.
class TGraphPropForm : public TAuxForm {
public:
    explicit TGraphPropForm(TMainForm& main);
    TMainForm& MainForm;
    int Tag = 0; // 1 when opened from the current-situation chart
    TCheckBox InletPresCheckBox{"InletPresCheckBox"}, PRVPresCheckBox{"PRVPresCheckBox"},
        AZPPresCheckBox{"AZPPresCheckBox"}, CritPresCheckBox{"CritPresCheckBox"},
        ZoneInfCheckBox{"ZoneInfCheckBox"}, PresDepCheckBox{"PresDepCheckBox"},
        PresIndepCheckBox{"PresIndepCheckBox"}, AZPHeadlossCheckBox{"AZPHeadlossCheckBox"},
        CriticalHeadLossCheckBox{"CriticalHeadLossCheckBox"};
    TEdit GraphMaxPresEdit{"GraphMaxPresEdit"}, GraphMaxFlowEdit{"GraphMaxFlowEdit"};

    void ShowModal();    // FormActivate, then the view runs the dialog
    void FormActivate(); // ticks and maxima from the options
    void BitBtn1Click(); // OK: applies to all four charts and closes
    void Close();        // closing with the window's close button applies nothing
};

// "Import Example": the layout of an hourly import file.
class TImportHelp : public TAuxForm {
public:
    TImportHelp();
    std::array<std::string, 6> Lines;         // the six explanatory lines
    std::array<std::string, 24> ExampleLines; // the example file, one line per hour
    void Show() {
        Visible = true;
        if (OnShowRequest) OnShowRequest();
    }
    void Close() {
        Visible = false;
        if (OnCloseRequest) OnCloseRequest();
    }
};

// The start-up splash: closes at the first tick after five seconds once start-up has
// finished, or at the first tick after a click.
class TfrmSplash {
public:
    explicit TfrmSplash(uint32_t nowTicks);
    std::string labAppName;    // "Halvern"
    std::string labAppVersion; // "v4.4"
    std::string Disclaimer;
    uint32_t FStartTicks;
    bool FOKToClose = false;
    bool FForceClose = false;
    static constexpr int TimerInterval = 500;
    void FormClick() { FForceClose = true; }
    // The closing test at a tick of Timer1: true when the window should close now.
    bool Timer1Timer(uint32_t nowTicks) const;
};

} // namespace halvern
