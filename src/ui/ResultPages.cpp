// The result pages: each scenario's table with its flows, status and legend beside it,
// its inputs above it, and the "Graphical" pages with their charts.
#include "ui/PageKit.h"
#include "ui/Pages.h"
#include "ui/SuggestDialog.h"
#include "ui/ViewBinder.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace halvern {

namespace {

// Wide enough for the captions of the flows; long results and messages wrap or clip
// inside it rather than taking room from the table.
constexpr int kSidePanelWidth = 206;

// " Flows ": the day's pressure-dependent, pressure-independent and total volumes.
QGroupBox* MakeFlowsGroup(TViewBinder& b, TLabel& dep, TLabel& indep, TLabel& tot) {
    auto* grid = MakeFormGrid(true);
    const std::pair<const char*, TLabel*> rows[] = {{"Pressure dependent (m³)", &dep},
                                                    {"Pressure independent (m³)", &indep},
                                                    {"Total Zone Inflow (m³)", &tot}};
    int r = 0;
    for (const auto& [caption, label] : rows) {
        grid->addWidget(MakeCaption(caption), r, 0);
        grid->addWidget(StyleResult(b.Value(*label, kBlueText), 50), r, 1);
        ++r;
    }
    grid->setColumnStretch(0, 1);
    return MakeGroup(" Flows ", grid);
}

// A message that wraps within the side panel.
QLabel* MakeMessage(TViewBinder& b, TLabel& label, const QColor& colour) {
    QLabel* warning = b.Value(label, colour);
    warning->setWordWrap(true);
    warning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    warning->setMinimumHeight(2 * warning->fontMetrics().lineSpacing() + 4);
    return warning;
}

// " Status ": the day/night factor and the low-pressure warning of a PRV scenario, then
// the hours in which the valve stands fully open and the targets it cannot meet.
QGroupBox* MakeStatusGroup(TViewBinder& b, TLabel& dayNight, TLabel& warning,
                           std::initializer_list<TLabel*> notes) {
    auto* grid = MakeFormGrid(true);
    grid->addWidget(MakeCaption("Day / Night Factor"), 0, 0);
    grid->addWidget(StyleResult(b.Value(dayNight, kBlueText), 50), 0, 1);
    grid->addWidget(MakeMessage(b, warning, kRedText), 1, 0, 1, 2);
    int row = 2;
    for (TLabel* note : notes) {
        QLabel* text = b.Value(*note, kNavyText);
        text->setWordWrap(true);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(text, row++, 0, 1, 2);
        // Most days have no such hour: an empty note takes no room from the page.
        text->setVisible(false);
        b.AddRefresher([text, note] { text->setVisible(!note->Caption.empty()); });
    }
    grid->setColumnStretch(0, 1);
    return MakeGroup(" Status ", grid);
}

// The table on the left, the side panel of results on the right.
QWidget* MakeResultPage(QLayout* inputs, QWidget* table, std::initializer_list<QWidget*> side,
                        bool valveLegend = false) {
    auto* page = new QWidget;
    auto* panel = new QVBoxLayout;
    for (QWidget* w : side)
        panel->addWidget(w);
    panel->addWidget(MakeFlowLegend(valveLegend));
    panel->addStretch(1);
    auto* panelWidget = new QWidget;
    panelWidget->setLayout(panel);
    panel->setContentsMargins(0, 0, 0, 0);
    panelWidget->setFixedWidth(kSidePanelWidth);

    // The results stay beside their table in a wide window; the room left is on the right.
    auto* body = new QHBoxLayout;
    body->addWidget(table, 0, Qt::AlignTop);
    body->addWidget(panelWidget);
    body->addStretch(1);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(6);
    body->setSpacing(6);
    if (inputs) layout->addLayout(inputs);
    layout->addLayout(body, 1);
    return page;
}

QGridLayout* MakePressurePair(TViewBinder& b, const char* first, TEdit& firstEdit, const char* second,
                              TEdit& secondEdit) {
    auto* grid = MakeFormGrid();
    grid->addWidget(MakeCaption(first), 0, 0);
    grid->addWidget(StyleNumberEdit(b.Edit(firstEdit, kGreenText)), 0, 1);
    grid->addWidget(MakeCaption(second), 1, 0);
    grid->addWidget(StyleNumberEdit(b.Edit(secondEdit, kGreenText)), 1, 1);
    return grid;
}

// What a valve's page shows of its results: the table, the day/night factor with the
// warning, and the day's volumes.
struct TValveResults {
    TMarkStringGrid& Grid;
    TLabel& DayNight;
    TLabel& Warning;
    TLabel& Dep;
    TLabel& Indep;
    TLabel& Tot;
    std::initializer_list<TLabel*> Notes; // fully open hours, unmet targets
};

// A valve's page: its inputs in a row above the table, the results beside it.
QWidget* MakeValvePage(TViewBinder& b, QBoxLayout* inputs, const TValveResults& r) {
    inputs->addStretch(1);
    return MakeResultPage(
        inputs, b.Grid(r.Grid),
        {MakeStatusGroup(b, r.DayNight, r.Warning, r.Notes), MakeFlowsGroup(b, r.Dep, r.Indep, r.Tot)}, true);
}

} // namespace

QPushButton* MakeSuggestButton(TViewBinder& b, std::optional<TValve> valve, const char* caption,
                               const char* objectName) {
    auto* button = new QPushButton(caption);
    button->setObjectName(objectName);
    QObject::connect(button, &QPushButton::clicked,
                     [&b, valve, button] { ShowSuggestDialog(b, valve, button->window()); });
    return button;
}

QWidget* BuildCurrentTabulatedSheet(TViewBinder& b) {
    TMainForm& f = b.Form;
    auto* checks = MakeFormGrid(true);
    const std::pair<const char*, TLabel*> rows[] = {
        {"Day / Night Factor", &f.DayNightLabel},
        {"Non-Residential use (m³/d)", &f.NonResidentialUseLabel},
        {"Estimated population use (l/hd/d)", &f.ResidentialUseLabel}};
    int r = 0;
    for (const auto& [caption, label] : rows) {
        QLabel* text = MakeCaption(caption);
        text->setWordWrap(true);
        checks->addWidget(text, r, 0);
        checks->addWidget(StyleResult(b.Value(*label, kBlueText), 60), r, 1);
        ++r;
    }
    checks->addWidget(MakeMessage(b, f.PopUseWarningLabel, kNavyText), r, 0, 1, 2);
    checks->addWidget(MakeMessage(b, f.NightFlowWarningLabel, kNavyText), r + 1, 0, 1, 2);
    checks->setColumnStretch(0, 1);
    return MakeResultPage(nullptr, b.Grid(f.CurrentGrid),
                          {MakeFlowsGroup(b, f.CurrentDepLabel, f.CurrentIndepLabel, f.CurrentTotLabel),
                           MakeGroup(" Basic checks ", checks)});
}

QWidget* BuildFixedTabulatedSheet(TViewBinder& b) {
    TMainForm& f = b.Form;
    auto* inputs = new QHBoxLayout;
    inputs->addWidget(MakeCaption("PRV Outlet Pressure"));
    inputs->addWidget(StyleNumberEdit(b.Edit(f.FixedPRVOutletEdit, kGreenText)));
    inputs->addWidget(MakeSuggestButton(b, TValve::Fixed, "Suggest", "FixedSuggestButton"));
    return MakeValvePage(b, inputs,
                         {f.FixedPRVGrid,
                          f.FixedDayNightLabel,
                          f.FixedWarnLabel,
                          f.FixedDepLabel,
                          f.FixedIndepLabel,
                          f.FixedTotLabel,
                          {&f.FixedOpenLabel}});
}

QWidget* BuildTimeTabulatedSheet(TViewBinder& b) {
    TMainForm& f = b.Form;
    auto* times = MakeFormGrid();
    times->addWidget(MakeCaption("Start"), 0, 1, Qt::AlignHCenter);
    times->addWidget(MakeCaption("Stop"), 0, 2, Qt::AlignHCenter);
    times->addWidget(MakeCaption("1st Set"), 1, 0);
    times->addWidget(b.Picker(f.TimeStart1Picker), 1, 1);
    times->addWidget(b.Picker(f.TimeStop1Picker), 1, 2);
    times->addWidget(b.Value(f.SecondSetLabel), 2, 0);
    QTimeEdit* start2 = b.Picker(f.TimeStart2Picker);
    times->addWidget(start2, 2, 1);
    times->addWidget(b.Picker(f.TimeStop2Picker), 2, 2);
    // The group keeps its height when the second set is hidden for two intervals.
    times->setRowMinimumHeight(2, start2->sizeHint().height());

    auto* intervals = new QVBoxLayout;
    intervals->setContentsMargins(8, 4, 8, 4);
    intervals->addWidget(b.Radio(f.Interval2Radio));
    intervals->addWidget(b.Radio(f.Interval4Radio));
    intervals->addStretch(1);

    auto* inputs = new QHBoxLayout;
    inputs->addWidget(MakeGroup("Pressures", MakePressurePair(b, "High Pressure (m)", f.HighPressureEdit,
                                                              "Low Pressure (m)", f.LowPressureEdit)));
    inputs->addWidget(MakeGroup("High pressure periods", times));
    inputs->addWidget(MakeGroup("Intervals", intervals));
    inputs->addWidget(MakeSuggestButton(b, TValve::Time, "Suggest", "TimeSuggestButton"));
    return MakeValvePage(b, inputs,
                         {f.TimePRVGrid,
                          f.TimeDayNightLabel,
                          f.TimeWarnLabel,
                          f.TimeDepLabel,
                          f.TimeIndepLabel,
                          f.TimeTotLabel,
                          {&f.TimeOpenLabel}});
}

QWidget* BuildFlowTabulatedSheet(TViewBinder& b) {
    TMainForm& f = b.Form;
    auto* inputs = new QHBoxLayout;
    inputs->addWidget(MakeGroup(
        "Pressures", MakePressurePair(b, "Low Pressure (m)", f.LPFlowMod, "High Pressure (m)", f.HPFlowMod)));
    inputs->addWidget(MakeSuggestButton(b, TValve::Flow, "Suggest", "FlowSuggestButton"));
    return MakeValvePage(b, inputs,
                         {f.FlowPRVGrid,
                          f.FlowDayNightLabel,
                          f.FlowWarnLabel,
                          f.FlowDepLabel,
                          f.FlowIndepLabel,
                          f.FlowTotLabel,
                          {&f.FlowOpenLabel, &f.FlowTargetLabel}});
}

} // namespace halvern
