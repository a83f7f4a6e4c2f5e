// "Graph Properties": chooses the series the four result charts show and the maxima of
// their pressure and flow axes. The choice lives in the project's graph options; the
// charts take it only when OK is pressed.
#include "forms/MainForm.h"
#include "model/Numbers.h"

namespace halvern {

namespace {

// The series index in the current-situation chart and in the PRV charts of each option
// (-1: the current situation has no such series).
struct TOptionSeries {
    bool TProject::*Option;
    int CurrentIndex;
    int PRVIndex;
};

constexpr TOptionSeries OptionSeries[] = {
    {&TProject::GraphInletPres, 0, 0},    {&TProject::GraphPRVPres, -1, 1},
    {&TProject::GraphAZPPres, 1, 2},      {&TProject::GraphCritPres, 2, 3},
    {&TProject::GraphAZPHeadloss, -1, 4}, {&TProject::GraphCriticalHeadLoss, -1, 5},
    {&TProject::GraphZoneInf, 3, 6},      {&TProject::GraphPresDep, 4, 7},
    {&TProject::GraphPresIndep, 5, 8},
};

void SetMaximum(TChartAxis& axis, double maximum) {
    axis.Minimum = 0;
    axis.Automatic = maximum <= 0;
    if (!axis.Automatic) axis.Maximum = maximum;
}

void ApplyOptions(const TProject& project, TChart& chart, bool isCurrentChart) {
    for (const TOptionSeries& o : OptionSeries) {
        const int index = isCurrentChart ? o.CurrentIndex : o.PRVIndex;
        if (index >= 0 && index < static_cast<int>(chart.Series.size()))
            chart.Series[index].Active = project.*o.Option;
    }
    SetMaximum(chart.LeftAxis, project.GraphMaxPres);
    SetMaximum(chart.RightAxis, project.GraphMaxFlow);
    chart.Changed();
}

} // namespace

TGraphPropForm::TGraphPropForm(TMainForm& main) : TAuxForm("Graph Properties"), MainForm(main) {
    InletPresCheckBox.Caption = "Inlet Pressure";
    PRVPresCheckBox.Caption = "PRV Outlet Pressure";
    AZPPresCheckBox.Caption = "AZP Pressure";
    CritPresCheckBox.Caption = "Critical Pressure";
    ZoneInfCheckBox.Caption = "Zone Inflow";
    PresDepCheckBox.Caption = "Pressure Dependent Flow";
    PresIndepCheckBox.Caption = "Pressure Independent Flow";
    AZPHeadlossCheckBox.Caption = "AZP Head loss";
    CriticalHeadLossCheckBox.Caption = "Critical Head loss";
}

void TGraphPropForm::ShowModal() {
    Visible = true;
    FormActivate();
    if (OnShowRequest) OnShowRequest();
}

void TGraphPropForm::FormActivate() {
    const TProject& p = MainForm.Project;
    InletPresCheckBox.Checked = p.GraphInletPres;
    PRVPresCheckBox.Checked = p.GraphPRVPres;
    AZPPresCheckBox.Checked = p.GraphAZPPres;
    CritPresCheckBox.Checked = p.GraphCritPres;
    ZoneInfCheckBox.Checked = p.GraphZoneInf;
    PresDepCheckBox.Checked = p.GraphPresDep;
    PresIndepCheckBox.Checked = p.GraphPresIndep;
    AZPHeadlossCheckBox.Checked = p.GraphAZPHeadloss;
    CriticalHeadLossCheckBox.Checked = p.GraphCriticalHeadLoss;
    GraphMaxPresEdit.SetText(FormatFixed(p.GraphMaxPres, 11, 0));
    GraphMaxFlowEdit.SetText(FormatFixed(p.GraphMaxFlow, 11, 0));
    // The current situation has no PRV outlet and draws no head losses.
    const bool prvChart = Tag != 1;
    PRVPresCheckBox.Visible = prvChart;
    AZPHeadlossCheckBox.Visible = prvChart;
    CriticalHeadLossCheckBox.Visible = prvChart;
}

void TGraphPropForm::BitBtn1Click() {
    // The dialog closes once OK has been pressed, even when a maximum is no number.
    struct TCloseAfter {
        TGraphPropForm& Form;
        ~TCloseAfter() { Form.Close(); }
    } closeAfter{*this};

    TProject& p = MainForm.Project;
    p.GraphInletPres = InletPresCheckBox.Checked;
    p.GraphPRVPres = PRVPresCheckBox.Checked;
    p.GraphAZPPres = AZPPresCheckBox.Checked;
    p.GraphCritPres = CritPresCheckBox.Checked;
    p.GraphZoneInf = ZoneInfCheckBox.Checked;
    p.GraphPresDep = PresDepCheckBox.Checked;
    p.GraphPresIndep = PresIndepCheckBox.Checked;
    p.GraphAZPHeadloss = AZPHeadlossCheckBox.Checked;
    p.GraphCriticalHeadLoss = CriticalHeadLossCheckBox.Checked;
    p.GraphMaxPres = StrToFloat(GraphMaxPresEdit.Text());
    p.GraphMaxFlow = StrToFloat(GraphMaxFlowEdit.Text());

    // Whichever chart opened the dialog, all four follow the options.
    ApplyOptions(p, MainForm.CurrentChart, true);
    for (TChart* chart : {&MainForm.FixedPRVChart, &MainForm.TimePRVChart, &MainForm.FlowPRVChart})
        ApplyOptions(p, *chart, false);
}

void TGraphPropForm::Close() {
    Visible = false;
    if (OnCloseRequest) OnCloseRequest();
}

} // namespace halvern
