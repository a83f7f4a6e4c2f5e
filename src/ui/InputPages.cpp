// The three pages on which the user describes the zone.
#include "forms/RecommendedLossRates.h"
#include "ui/PageKit.h"
#include "ui/Pages.h"
#include "ui/ProgramLook.h"
#include "ui/ViewBinder.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace halvern {

namespace {

// A caption and its edit on one row of a form grid.
void AddRow(QGridLayout* grid, int row, const QString& caption, QWidget* field, int captionSpan = 1) {
    grid->addWidget(MakeCaption(caption), row, 0, 1, captionSpan);
    grid->addWidget(field, row, captionSpan);
}

QWidget* PageWidget() {
    auto* page = new QWidget;
    return page;
}

} // namespace

QWidget* BuildGeneralSheet(TViewBinder& b) {
    TMainForm& f = b.Form;
    auto* page = PageWidget();

    auto* zone = MakeFormGrid();
    AddRow(zone, 0, "Zone Name: ", b.Edit(f.ZoneNameEdit, kRedText));
    AddRow(zone, 1, "Analysis Reference:", b.Edit(f.ZoneRefEdit, kRedText));
    AddRow(zone, 2, "Water Supply system:", b.Edit(f.WaterSupplySystemEdit, kRedText));
    AddRow(zone, 3, "Report number", b.Edit(f.ReportNumEdit, kRedText));
    zone->setColumnStretch(1, 1);

    auto* hours = MakeFormGrid();
    AddRow(hours, 0, "Lowest flow time period starting", b.Picker(f.LowTimePicker));
    AddRow(hours, 1, "Highest flow time period starting", b.Picker(f.HighTimePicker));
    hours->addWidget(b.CheckBox(f.TimeWarnCheckBox), 2, 0, 1, 2);
    hours->setColumnStretch(0, 1);

    auto* elevations = MakeFormGrid();
    AddRow(elevations, 0, "Zone inlet", StyleNumberEdit(b.Edit(f.InletElevEdit, kRedText)));
    AddRow(elevations, 1, "Average Zone Point (AZP)", StyleNumberEdit(b.Edit(f.AZPElevEdit, kRedText)));
    AddRow(elevations, 2, "Critical Point", StyleNumberEdit(b.Edit(f.TargetElevEdit, kRedText)));
    elevations->setColumnStretch(0, 1);

    auto* property = MakeFormGrid();
    AddRow(property, 0, "Length of Mains (km) :", StyleNumberEdit(b.Edit(f.MainsLengthEdit, kGreenText)), 2);
    AddRow(property, 1, "Number of connections:", StyleNumberEdit(b.Edit(f.NumOfConnectEdit, kGreenText)), 2);
    AddRow(property, 2,
           "Number of Residential properties:", StyleNumberEdit(b.Edit(f.NumOfServicedEdit, kGreenText)), 2);
    AddRow(property, 3, "Number of Non-residential properties: ",
           StyleNumberEdit(b.Edit(f.NumNonResidentialEdit, kGreenText)), 2);
    AddRow(property, 4, "Population", StyleNumberEdit(b.Edit(f.PopulationEdit, kGreenText)), 2);
    property->addWidget(MakeCaption("Minimum acceptable pressure (m) :"), 5, 0);
    property->addWidget(MakeCaption("Peak demand periods"), 5, 1);
    property->addWidget(StyleNumberEdit(b.Edit(f.MinPressureEdit, kGreenText)), 5, 2);
    property->addWidget(MakeCaption("Night time"), 6, 1);
    property->addWidget(StyleNumberEdit(b.Edit(f.MinNightPressureEdit, kGreenText)), 6, 2);
    property->setColumnStretch(0, 1);

    auto* contact = MakeFormGrid();
    contact->addWidget(MakeCaption("Data collected and collated by:"), 0, 0);
    contact->addWidget(MakeCaption("Analysis performed by:"), 0, 1);
    for (auto [memo, column] : {std::pair{&f.CollectMemo, 0}, std::pair{&f.AnalysisMemo, 1}}) {
        QPlainTextEdit* edit = b.Memo(*memo, kRedText);
        edit->setFixedHeight(5 * edit->fontMetrics().lineSpacing() + 12);
        edit->setTabChangesFocus(true);
        contact->addWidget(edit, 1, column);
    }

    auto* left = new QVBoxLayout;
    left->addWidget(MakeGroup(" Zone reference ", zone));
    left->addWidget(MakeGroup(" Hour of min and max flow ", hours));
    left->addWidget(MakeGroup(" Elevations (masl) ", elevations));
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(MakeGroup(" Property Information ", property));
    right->addWidget(MakeGroup(" Contact Details ", contact));
    right->addStretch(1);
    auto* columns = new QHBoxLayout(page);
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    return page;
}

QWidget* BuildPropertySheet(TViewBinder& b) {
    TMainForm& f = b.Form;
    auto* page = PageWidget();

    // System leakage parameters, laid out as a table: recommended values, then the
    // pressure-dependent and independent rates and their total.
    auto* leakage = MakeFormGrid();
    const auto centred = [](QLabel* label) {
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    leakage->addWidget(centred(MakeCaption("Recommended values")), 0, 1, 1, 3);
    leakage->addWidget(centred(MakeCaption("Losses / use during MNF")), 0, 4, 1, 3);
    const QColor recommendedColours[] = {kGreenText, kMaroonText, kNavyText};
    const char* recommendedHeadings[] = {"Low", "Default", "High"};
    for (int i = 0; i < 3; ++i)
        leakage->addWidget(centred(MakeCaption(recommendedHeadings[i], recommendedColours[i])), 1, 1 + i);
    leakage->addWidget(centred(MakeCaption("Pressure Dependent")), 1, 4);
    leakage->addWidget(centred(MakeCaption("Pressure Independent")), 1, 5);
    leakage->addWidget(centred(MakeCaption("Total")), 1, 6);
    struct LeakageRow {
        const char* caption;
        const TRecommendedLossRates& recommended;
        TEdit& dependent;
        TEdit& independent;
        TLabel& total;
    };
    const LeakageRow rows[] = {
        {"Mains losses (l/km/hr) :", RecommendedMainsLoss, f.MainsLossEdit, f.Edit1, f.TotMainsLossLabel},
        {"Connection losses (l/conn/hr) : ", RecommendedConnectionLoss, f.ConnectPresEdit, f.ConnectLossEdit,
         f.TotConnectLossLabel},
        {"Property losses (l/prop/hr) : ", RecommendedPropertyLoss, f.PropPressEdit, f.PropertyLossEdit,
         f.TotPropLossLabel},
    };
    int r = 2;
    for (const LeakageRow& row : rows) {
        leakage->addWidget(MakeCaption(row.caption), r, 0);
        for (int i = 0; i < 3; ++i)
            leakage->addWidget(centred(MakeCaption(QString::fromUtf8(row.recommended.Texts[i].data(),
                                                                     row.recommended.Texts[i].size()),
                                                   recommendedColours[i])),
                               r, 1 + i);
        leakage->addWidget(StyleNumberEdit(b.Edit(row.dependent, kGreenText)), r, 4, Qt::AlignHCenter);
        leakage->addWidget(StyleNumberEdit(b.Edit(row.independent, kGreenText)), r, 5, Qt::AlignHCenter);
        leakage->addWidget(StyleResult(b.Value(row.total, kNavyText)), r, 6);
        ++r;
    }
    leakage->setColumnStretch(0, 1);

    auto* usage = MakeFormGrid();
    AddRow(usage, 0, "Cistern Capacity (litres)", StyleNumberEdit(b.Edit(f.DomesticNightEdit, kGreenText)));
    AddRow(usage, 1, "% of population active", StyleNumberEdit(b.Edit(f.PopActiveEdit, kGreenText)));
    AddRow(usage, 2, "Non-residential night use (l/prop/hr) ",
           StyleNumberEdit(b.Edit(f.NonDomMeterEdit, kGreenText)));
    AddRow(usage, 3, "Exceptional Night Use (m³/hr)",
           StyleNumberEdit(b.Edit(f.NonDomUnmeterEdit, kGreenText)));
    usage->setColumnStretch(0, 1);

    auto* night = MakeFormGrid();
    const std::pair<const char*, TLabel*> results[] = {
        {"Connection Losses", &f.ConnectionLossLabel},
        {"Property Losses", &f.PropertyLossLabel},
        {"Residential Night Use", &f.ResidentialNightLabel},
        {"Non-Residential Night Use", &f.NonResidentialNightLabel},
        {"Exceptional Users (>0.5 m³/hr)", &f.ExceptionalUseLabel},
        {"Total Night Consumption assumed independent of pressure", &f.TotalNonPressureLabel},
    };
    r = 0;
    for (const auto& [caption, label] : results) {
        QLabel* text = MakeCaption(caption);
        text->setWordWrap(true);
        night->addWidget(text, r, 0);
        night->addWidget(StyleResult(b.Value(*label, kBlueText)), r, 1);
        night->addWidget(MakeCaption("m³/hr"), r, 2);
        ++r;
    }
    night->setColumnStretch(0, 1);

    auto* n1 = MakeFormGrid();
    n1->addWidget(MakeCaption("Collective system N1"), 0, 0);
    n1->addWidget(StyleNumberEdit(b.Edit(f.N1Edit)), 0, 1);
    n1->addWidget(b.Button(f.N1Calculation), 0, 2);
    n1->setColumnStretch(0, 1);

    auto* daily = MakeFormGrid();
    QLabel* dailyCaption = MakeCaption("Estimated total daily non-residential consumption (m³/d)");
    dailyCaption->setWordWrap(true);
    daily->addWidget(dailyCaption, 0, 0);
    daily->addWidget(StyleNumberEdit(b.Edit(f.DailyNonResidentialEdit, kGreenText)), 0, 1);
    daily->setColumnStretch(0, 1);

    auto* left = new QVBoxLayout;
    left->addWidget(MakeGroup(" Unit usage data during period of MNF ", usage));
    left->addWidget(MakeGroup(" N1 Value ", n1));
    left->addWidget(MakeGroup(" Daily Non-residential Consumption ", daily));
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(MakeGroup(" Night Consumption calculations ", night));
    right->addStretch(1);
    auto* lower = new QHBoxLayout;
    lower->addLayout(left, 1);
    lower->addLayout(right, 1);

    auto* layout = new QVBoxLayout(page);
    layout->addWidget(MakeGroup(" System Leakage Parameters ", leakage));
    layout->addLayout(lower);
    layout->addStretch(1);
    return page;
}

QWidget* BuildFlowSheet(TViewBinder& b) {
    TMainForm& f = b.Form;
    auto* page = PageWidget();

    auto* units = new QHBoxLayout;
    units->setContentsMargins(8, 4, 8, 4);
    units->addWidget(b.Radio(f.m3hrRadio));
    units->addWidget(b.Radio(f.lsRadio));
    units->addStretch(1);

    QPushButton* help = b.Button(f.Button1);
    help->setFixedWidth(28);
    auto* strip = new QHBoxLayout;
    // The units box keeps its height: a larger window is room for the hours, not for it.
    QGroupBox* unitsBox = MakeGroup(" Units of measure for Zone Inflow ", units);
    unitsBox->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    strip->addWidget(unitsBox, 0, Qt::AlignBottom);
    QPushButton* import = b.Button(f.ImportButton);
    QuickHintsFromHover(import);
    strip->addWidget(import, 0, Qt::AlignBottom);
    strip->addWidget(help, 0, Qt::AlignBottom);
    QPushButton* logger = b.Button(f.LoggerImportButton);
    QuickHintsFromHover(logger);
    strip->addWidget(logger, 0, Qt::AlignBottom);
    strip->addStretch(1);
    strip->addWidget(MakeFlowLegend(), 0, Qt::AlignBottom);

    // The table takes the height the window has; what is left beyond its last hour stays
    // empty below it.
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(strip);
    layout->addWidget(b.Grid(f.FlowGrid), 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch(1);
    return page;
}

} // namespace halvern
