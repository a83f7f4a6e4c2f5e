// "General Data": the zone's description, every input of the analysis, the night flow
// components worked out from them, and the hourly flows and pressures as typed.
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include "reports/SheetWriters.h"

#include <algorithm>
#include <cstdio>
#include <tuple>
#include <utility>
#include <vector>

namespace halvern {

namespace {

// Where each part of the sheet stands, in the spreadsheet's rows (counted from 1).
constexpr int kGeneralSectionRow = 2;   // "General Information"
constexpr int kZoneReferenceRow = 4;    // name, reference, water supply system, report number
constexpr int kContactRow = 9;          // who collected the data, who analysed them
constexpr int kFlowHoursRow = 12;       // the hours of lowest and highest flow
constexpr int kElevationsRow = 15;      // inlet, AZP, critical point
constexpr int kPropertyRow = 19;        // seven rows, mains length to night pressure
constexpr int kDefaultsSectionRow = 27; // "Default Parameters"
constexpr int kLeakageRow = 29;         // the leakage table's heading, then mains, connections, properties
constexpr int kNightUseRow = 34;        // four rows of unit usage
constexpr int kNonResidentialRow = 39;
constexpr int kN1Row = 41;
constexpr int kNightConsumptionRow = 43;             // six rows, the total last
constexpr int kFlowSectionRow = 50;                  // "Flow and Pressure"
constexpr int kTableHeadingRow = 52;                 // the hourly table's two heading rows
constexpr int kFirstTableRow = kTableHeadingRow + 2; // hour 00:00 of the hourly table
constexpr int kLastTableRow = kFirstTableRow + HoursPerDay - 1;
constexpr int kClosingRow = kLastTableRow + 1;

// "03:00:00 AM": the twelve-hour text of a time of day, as the sheet shows the flow hours.
std::string TwelveHourText(double time) {
    const std::string text = TimeToStr(time); // "hh:mm:ss"
    const int hours = std::stoi(text.substr(0, 2));
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d%s %s", hours % 12 == 0 ? 12 : hours % 12,
                  text.substr(2).c_str(), hours < 12 ? "AM" : "PM");
    return buffer;
}

// Every line of a contact memo (the name, Tel, Fax, email), one under the other in the cell;
// blank lines at the end say nothing and are left out.
std::vector<std::string> ContactLines(const TMemo& memo) {
    std::vector<std::string> lines = memo.Lines;
    while (!lines.empty() && lines.back().find_first_not_of(" \t") == std::string::npos)
        lines.pop_back();
    return lines;
}

void ContactCell(TWorksheet& sheet, int row, const TMemo& memo) {
    const std::vector<std::string> lines = ContactLines(memo);
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + lines[i];
    sheet.Range(At("G", row)).SetLiteralText(text);
    // The row grows to show every line; the sheet still prints on its one page.
    WrapLongText(sheet, row, "G", "J", text);
}

void SectionHeading(TWorksheet& sheet, int row, const std::string& text) {
    sheet.Range(At("A", row)).SetText(text);
    sheet.Range(Span("A", row, "J", row))
        .Merge()
        .SetHorizontalAlignment(THorizontalAlignment::Left)
        .SetBold()
        .SetFontSize(12)
        .SetBottomBorder(TBorderLine::Thick);
}

void LeakageTable(TWorksheet& sheet) {
    // Unlike the blocks, the table keeps the sheet's own font.
    const int top = kLeakageRow, bottom = kLeakageRow + 3;
    sheet.Range(At("B", top)).SetText("System Leakage Parameters:").SetBold().SetFontSize(10);
    sheet.Range(Span("A", top, "C", top)).Merge().SetHorizontalAlignment(THorizontalAlignment::Left);
    sheet.Range(Span("A", top, "C", bottom)).SetFill(PaleYellow);
    sheet.Range(Span("D", top, "H", top)).SetFill(PaleYellow);
    sheet.Range(Span("A", top, "H", bottom)).SetBorders(TBorderLine::Thin);
    const std::tuple<const char*, const char*, const char*> headings[] = {
        {"D", "E", "Pressure Dependent"}, {"F", "G", "Pressure Independent"}, {"H", "H", "Total"}};
    for (const auto& [first, end, text] : headings) {
        sheet.Range(At(first, top)).SetText(text);
        sheet.Range(Span(first, top, end, top))
            .SetBold()
            .SetFontSize(9)
            .Merge()
            .SetHorizontalAlignment(THorizontalAlignment::Centre);
    }
    const char* captions[] = {
        "Mains losses (l/km/hr):", "Connection losses (l/conn/hr):", "Property losses (l/prop/hr):"};
    for (int i = 0; i < 3; ++i) {
        const int row = kLeakageRow + 1 + i;
        sheet.Range(At("B", row)).SetText(captions[i]).SetBold().SetFontSize(9);
        sheet.Range(Span("A", row, "C", row)).Merge().SetHorizontalAlignment(THorizontalAlignment::Left);
        for (const auto& [first, last] : {std::pair{"D", "E"}, std::pair{"F", "G"}, std::pair{"H", "H"}})
            sheet.Range(Span(first, row, last, row))
                .Merge()
                .SetHorizontalAlignment(THorizontalAlignment::Right)
                .SetBorders(TBorderLine::Thin);
    }
}

void LeakageValues(TWorksheet& sheet, const TMainForm& form) {
    const TProject& p = form.Project;
    const int mains = kLeakageRow + 1, connections = mains + 1, properties = mains + 2;
    sheet.Range(At("D", mains)).SetNumber(p.MainsLoss);
    sheet.Range(At("F", mains)).SetText("0");
    sheet.Range(At("H", mains)).SetText(form.TotMainsLossLabel.Caption);
    sheet.Range(At("D", connections)).SetNumber(p.ConnectPres);
    sheet.Range(At("F", connections)).SetNumber(p.ConnectLoss);
    sheet.Range(At("H", connections)).SetText(form.TotConnectLossLabel.Caption);
    sheet.Range(At("D", properties)).SetNumber(p.PropPress);
    sheet.Range(At("F", properties)).SetNumber(p.PropertyLoss);
    sheet.Range(At("H", properties)).SetText(form.TotPropLossLabel.Caption);
    sheet.Range(Span("H", mains, "H", properties)).SetNumberFormat("0.00");
    sheet.Range(Span("D", mains, "H", properties)).SetShrinkToFit();
}

void HourlyTableFrame(TWorksheet& sheet) {
    const int top = kTableHeadingRow, units = top + 1;
    sheet.Range(Span("A", top, "J", units))
        .SetBold()
        .SetFontSize(10)
        .SetHorizontalAlignment(THorizontalAlignment::Centre)
        .SetFill(PaleYellow);
    for (const auto& [first, last] : {std::pair{"A", "B"}, std::pair{"C", "D"}, std::pair{"E", "F"},
                                      std::pair{"G", "H"}, std::pair{"I", "J"}})
        sheet.Range(Span(first, top, last, top)).Merge();
    for (const auto& [first, last] :
         {std::pair{"A", "B"}, std::pair{"E", "F"}, std::pair{"G", "H"}, std::pair{"I", "J"}})
        sheet.Range(Span(first, units, last, units)).Merge();
    for (int row = kFirstTableRow; row <= kLastTableRow; ++row)
        for (const auto& [first, last] :
             {std::pair{"A", "B"}, std::pair{"E", "F"}, std::pair{"G", "H"}, std::pair{"I", "J"}})
            sheet.Range(Span(first, row, last, row)).Merge();
    sheet.Range(Span("A", top, "J", kLastTableRow)).SetBorders(TBorderLine::Thin);
    const std::pair<std::string, const char*> headings[] = {{At("A", top), "Hour:"},
                                                            {At("C", top), "Zone Inflow"},
                                                            {At("C", units), "(m³/h)"},
                                                            {At("D", units), "(l/s)"},
                                                            {At("E", top), "Inlet Pressure"},
                                                            {At("G", top), "AZP Pressure"},
                                                            {At("I", top), "Critical Point Pressure"},
                                                            {At("E", units), "(m)"},
                                                            {At("G", units), "(m)"},
                                                            {At("I", units), "(m)"}};
    for (const auto& [cell, text] : headings)
        sheet.Range(cell).SetText(text);
    sheet.Range(Span("A", top, "I", kLastTableRow)).SetHorizontalAlignment(THorizontalAlignment::Centre);
}

void HourlyValues(TWorksheet& sheet, const TMarkStringGrid& flowGrid) {
    using namespace FlowGridLayout;
    const std::pair<int, const char*> columns[] = {{HourCol, "A"},  {InflowM3hCol, "C"}, {InflowLsCol, "D"},
                                                   {InletCol, "E"}, {AZPCol, "G"},       {CriticalCol, "I"}};
    for (int hour = 0; hour < HoursPerDay; ++hour)
        for (const auto& [col, sheetCol] : columns)
            sheet.Range(At(sheetCol, kFirstTableRow + hour)).SetText(flowGrid.Cell(col, HourRow(hour)));
    sheet.Range(Span("C", kFirstTableRow, "C", kLastTableRow)).SetNumberFormat("0.00");
    sheet.Range(Span("D", kFirstTableRow, "J", kLastTableRow)).SetNumberFormat("#,##0.0");
    sheet.Range(Span("C", kFirstTableRow, "J", kLastTableRow)).SetShrinkToFit();
}

} // namespace

void WriteGeneralData(TSheetContext& context) {
    TMainForm& form = context.Form;
    const TProject& p = form.Project;
    TProgressBar& progress = context.Progress;
    TWorksheet& sheet =
        BeginSheet(context, {"General Data", 0, {}, true, Span("A", kClosingRow, "J", kClosingRow)});

    SectionHeading(sheet, kGeneralSectionRow, "General Information");
    SectionHeading(sheet, kDefaultsSectionRow, "Default Parameters");
    SectionHeading(sheet, kFlowSectionRow, "Flow and Pressure");
    progress.StepIt();

    GroupLabel(sheet, kZoneReferenceRow, "Zone Reference:", "C");
    CaptionCells(sheet, kZoneReferenceRow, "D", "F",
                 {"Zone Name:", "Analysis Reference:", "Water Supply System:", "Report Number:"});
    ValueCells(sheet, kZoneReferenceRow, kZoneReferenceRow + 3, "G", "J", THorizontalAlignment::Left);
    const std::string* identification[] = {&p.ZoneName, &p.ZoneRef, &p.WaterSupplySystem, &p.ReportNum};
    for (int i = 0; i < 4; ++i) {
        sheet.Range(At("G", kZoneReferenceRow + i)).SetLiteralText(*identification[i]);
        WrapLongText(sheet, kZoneReferenceRow + i, "G", "J", *identification[i]);
    }
    progress.StepIt();

    GroupLabel(sheet, kContactRow, "Contact Details:", "C");
    CaptionCells(sheet, kContactRow, "D", "F", {"Data collected and collated by:", "Analysis performed by:"});
    ValueCells(sheet, kContactRow, kContactRow + 1, "G", "J", THorizontalAlignment::Left);
    ContactCell(sheet, kContactRow, form.CollectMemo);
    ContactCell(sheet, kContactRow + 1, form.AnalysisMemo);

    GroupLabel(sheet, kFlowHoursRow, "Hour of min and max flow:", "C");
    CaptionCells(sheet, kFlowHoursRow, "D", "F",
                 {"Lowest flow time period starting:", "Highest flow time period starting:"});
    ValueCells(sheet, kFlowHoursRow, kFlowHoursRow + 1, "G", "H", THorizontalAlignment::Centre);
    sheet.Range(At("G", kFlowHoursRow)).SetText(TwelveHourText(p.LowFlowTime));
    sheet.Range(At("G", kFlowHoursRow + 1)).SetText(TwelveHourText(p.HighFlowTime));

    const int elevations = kElevationsRow;
    GroupLabel(sheet, elevations, "Elevations (masl):", "C");
    CaptionCells(sheet, elevations, "D", "F",
                 {"Zone Inlet (m):", "Average Zone Point (AZP) (m):", "Critical Point (m)"});
    ValueCells(sheet, elevations, elevations + 2, "G", "G", THorizontalAlignment::Right);
    sheet.Range(At("G", elevations)).SetNumber(p.InletElev);
    sheet.Range(At("G", elevations + 1)).SetNumber(p.AZPElev);
    sheet.Range(At("G", elevations + 2)).SetNumber(p.TargetElev);
    sheet.Range(Span("G", elevations, "G", elevations + 2)).SetNumberFormat("#,##0.0");
    progress.StepIt();

    const int property = kPropertyRow;
    GroupLabel(sheet, property, "Property Information:", "C");
    CaptionCells(sheet, property, "D", "F",
                 {"Length of mains (km):", "Number of connections:", "Number of residential properties:",
                  "Number of non-residential properties:", "Number of population:",
                  "Min. pressure, peak demand periods (m):", "Min. pressure, night time (m):"});
    ValueCells(sheet, property, property + 6, "G", "G", THorizontalAlignment::Right);
    sheet.Range(At("G", property)).SetNumber(p.MainsLength);
    sheet.Range(At("G", property + 1)).SetNumber(p.NumOfConnect);
    sheet.Range(At("G", property + 2)).SetNumber(p.NumOfServiced);
    sheet.Range(At("G", property + 3)).SetNumber(p.NumNonResidential);
    sheet.Range(At("G", property + 4)).SetNumber(p.Population);
    sheet.Range(At("G", property + 5)).SetNumber(p.MinPressure);
    sheet.Range(At("G", property + 6)).SetNumber(p.MinNightPressure);
    sheet.Range(At("G", property)).SetNumberFormat("#,##0.0");
    sheet.Range(At("G", property + 1)).SetNumberFormat("#,##0");
    sheet.Range(At("G", property + 6)).SetNumberFormat("#,##0");
    progress.StepIt();

    LeakageTable(sheet);
    progress.StepIt();
    LeakageValues(sheet, form);

    const int nightUse = kNightUseRow;
    GroupLabel(sheet, nightUse, "Unit usage during period of MNF:", "C");
    CaptionCells(sheet, nightUse, "D", "G",
                 {"Cistern capacity (litres):", "% of population active:",
                  "Non-residential night use (l/prop/hr) :", "Exceptional night use (m³/hr):"});
    ValueCells(sheet, nightUse, nightUse + 3, "H", "H", THorizontalAlignment::Right);
    sheet.Range(At("H", nightUse)).SetNumber(p.DomesticNight);
    sheet.Range(At("H", nightUse + 1)).SetNumber(p.PopActive);
    sheet.Range(At("H", nightUse + 2)).SetNumber(p.NonDomMeter);
    sheet.Range(At("H", nightUse + 3)).SetNumber(p.NonDomUnmeter);
    for (const int row : {nightUse, nightUse + 2, nightUse + 3})
        sheet.Range(At("H", row)).SetNumberFormat("0.00");
    progress.StepIt();

    GroupLabel(sheet, kNonResidentialRow, "Daily Non-residential Consumption:", "C");
    CaptionCells(sheet, kNonResidentialRow, "D", "G",
                 {"Est. total daily non-residential consumption (m³/d):"});
    ValueCells(sheet, kNonResidentialRow, kNonResidentialRow, "H", "H", THorizontalAlignment::Right);
    sheet.Range(At("H", kNonResidentialRow)).SetNumber(p.DailyNonResidential).SetNumberFormat("#,##0.00");
    GroupLabel(sheet, kN1Row, "N1 Value:", "C");
    CaptionCells(sheet, kN1Row, "D", "G", {"Collective system N1:"});
    ValueCells(sheet, kN1Row, kN1Row, "H", "H", THorizontalAlignment::Right);
    sheet.Range(At("H", kN1Row)).SetNumber(p.N1).SetNumberFormat("#,##0.00");
    progress.StepIt();

    const int night = kNightConsumptionRow, total = night + 5;
    GroupLabel(sheet, night, "Night Consumption Calculations :", "C");
    CaptionCells(sheet, night, "D", "G",
                 {"Connection Losses (m³/hr):", "Property Losses (m³/hr):", "Residential Night Use (m³/hr):",
                  "Non-Residential Night Use (m³/hr):", "Exceptional Users (>0.5 m³/hr):",
                  "Total Night Consump. (indep. of pressure)(m³/hr):"});
    ValueCells(sheet, night, total, "H", "H", THorizontalAlignment::Right);
    const TLabel* nightLabels[] = {&form.ConnectionLossLabel,   &form.PropertyLossLabel,
                                   &form.ResidentialNightLabel, &form.NonResidentialNightLabel,
                                   &form.ExceptionalUseLabel,   &form.TotalNonPressureLabel};
    for (int i = 0; i < 6; ++i)
        sheet.Range(At("H", night + i)).SetText(nightLabels[i]->Caption);
    sheet.Range(Span("H", night, "H", total)).SetNumberFormat("0.00");
    sheet.Range(At("H", total)).SetBold();
    // The total stands under a double line.
    sheet.Range(Span("D", total - 1, "H", total - 1)).SetBottomBorder(TBorderLine::Double);
    progress.StepIt();

    HourlyTableFrame(sheet);
    progress.StepIt();
    HourlyValues(sheet, form.FlowGrid);
}

} // namespace halvern
