// "General Data": the zone's description, every input of the analysis, the night flow
// components worked out from them, and the hourly flows and pressures as typed.
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include "reports/SheetWriters.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace halvern {

namespace {

constexpr int kFirstTableRow = 54; // hour 00:00 of the hourly table

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
    sheet.Range("B29").SetText("System Leakage Parameters:").SetBold().SetFontSize(10);
    sheet.Range("A29:C29").Merge().SetHorizontalAlignment(THorizontalAlignment::Left);
    sheet.Range("A29:C32").SetFill(PaleYellow);
    sheet.Range("D29:H29").SetFill(PaleYellow);
    sheet.Range("A29:H32").SetBorders(TBorderLine::Thin);
    const std::pair<const char*, const char*> headings[] = {
        {"D29:E29", "Pressure Dependent"}, {"F29:G29", "Pressure Independent"}, {"H29:H29", "Total"}};
    for (const auto& [range, text] : headings) {
        sheet.Range(std::string(range).substr(0, 3)).SetText(text);
        sheet.Range(range).SetBold().SetFontSize(9).Merge().SetHorizontalAlignment(
            THorizontalAlignment::Centre);
    }
    const char* captions[] = {
        "Mains losses (l/km/hr):", "Connection losses (l/conn/hr):", "Property losses (l/prop/hr):"};
    for (int i = 0; i < 3; ++i) {
        const int row = 30 + i;
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
    sheet.Range("D30").SetNumber(p.MainsLoss);
    sheet.Range("F30").SetText("0");
    sheet.Range("H30").SetText(form.TotMainsLossLabel.Caption);
    sheet.Range("D31").SetNumber(p.ConnectPres);
    sheet.Range("F31").SetNumber(p.ConnectLoss);
    sheet.Range("H31").SetText(form.TotConnectLossLabel.Caption);
    sheet.Range("D32").SetNumber(p.PropPress);
    sheet.Range("F32").SetNumber(p.PropertyLoss);
    sheet.Range("H32").SetText(form.TotPropLossLabel.Caption);
    sheet.Range("H30:H32").SetNumberFormat("0.00");
    sheet.Range("D30:H32").SetShrinkToFit();
}

void HourlyTableFrame(TWorksheet& sheet) {
    sheet.Range("A52:J53")
        .SetBold()
        .SetFontSize(10)
        .SetHorizontalAlignment(THorizontalAlignment::Centre)
        .SetFill(PaleYellow);
    for (const char* range :
         {"A52:B52", "C52:D52", "E52:F52", "G52:H52", "I52:J52", "A53:B53", "E53:F53", "G53:H53", "I53:J53"})
        sheet.Range(range).Merge();
    for (int row = kFirstTableRow; row < kFirstTableRow + HoursPerDay; ++row)
        for (const auto& [first, last] :
             {std::pair{"A", "B"}, std::pair{"E", "F"}, std::pair{"G", "H"}, std::pair{"I", "J"}})
            sheet.Range(Span(first, row, last, row)).Merge();
    sheet.Range("A52:J77").SetBorders(TBorderLine::Thin);
    const std::pair<const char*, const char*> headings[] = {{"A52", "Hour:"},
                                                            {"C52", "Zone Inflow"},
                                                            {"C53", "(m³/h)"},
                                                            {"D53", "(l/s)"},
                                                            {"E52", "Inlet Pressure"},
                                                            {"G52", "AZP Pressure"},
                                                            {"I52", "Critical Point Pressure"},
                                                            {"E53", "(m)"},
                                                            {"G53", "(m)"},
                                                            {"I53", "(m)"}};
    for (const auto& [cell, text] : headings)
        sheet.Range(cell).SetText(text);
    sheet.Range("A52:I77").SetHorizontalAlignment(THorizontalAlignment::Centre);
}

void HourlyValues(TWorksheet& sheet, const TMarkStringGrid& flowGrid) {
    using namespace FlowGridLayout;
    const std::pair<int, const char*> columns[] = {{HourCol, "A"},  {InflowM3hCol, "C"}, {InflowLsCol, "D"},
                                                   {InletCol, "E"}, {AZPCol, "G"},       {CriticalCol, "I"}};
    for (int hour = 0; hour < HoursPerDay; ++hour)
        for (const auto& [col, sheetCol] : columns)
            sheet.Range(At(sheetCol, kFirstTableRow + hour)).SetText(flowGrid.Cell(col, HourRow(hour)));
    sheet.Range("C54:C77").SetNumberFormat("0.00");
    sheet.Range("D54:J77").SetNumberFormat("#,##0.0");
    sheet.Range("C54:J77").SetShrinkToFit();
}

} // namespace

void WriteGeneralData(TSheetContext& context) {
    TMainForm& form = context.Form;
    const TProject& p = form.Project;
    TProgressBar& progress = context.Progress;
    TWorksheet& sheet = BeginSheet(context, {"General Data", 0, {}, true, "A78:J78"});

    SectionHeading(sheet, 2, "General Information");
    SectionHeading(sheet, 27, "Default Parameters");
    SectionHeading(sheet, 50, "Flow and Pressure");
    progress.StepIt();

    GroupLabel(sheet, 4, "Zone Reference:", "C");
    CaptionCells(sheet, 4, "D", "F",
                 {"Zone Name:", "Analysis Reference:", "Water Supply System:", "Report Number:"});
    ValueCells(sheet, 4, 7, "G", "J", THorizontalAlignment::Left);
    const std::string* identification[] = {&p.ZoneName, &p.ZoneRef, &p.WaterSupplySystem, &p.ReportNum};
    for (int i = 0; i < 4; ++i) {
        sheet.Range(At("G", 4 + i)).SetLiteralText(*identification[i]);
        WrapLongText(sheet, 4 + i, "G", "J", *identification[i]);
    }
    progress.StepIt();

    GroupLabel(sheet, 9, "Contact Details:", "C");
    CaptionCells(sheet, 9, "D", "F", {"Data collected and collated by:", "Analysis performed by:"});
    ValueCells(sheet, 9, 10, "G", "J", THorizontalAlignment::Left);
    ContactCell(sheet, 9, form.CollectMemo);
    ContactCell(sheet, 10, form.AnalysisMemo);

    GroupLabel(sheet, 12, "Hour of min and max flow:", "C");
    CaptionCells(sheet, 12, "D", "F",
                 {"Lowest flow time period starting:", "Highest flow time period starting:"});
    ValueCells(sheet, 12, 13, "G", "H", THorizontalAlignment::Centre);
    sheet.Range("G12").SetText(TwelveHourText(p.LowFlowTime));
    sheet.Range("G13").SetText(TwelveHourText(p.HighFlowTime));

    GroupLabel(sheet, 15, "Elevations (masl):", "C");
    CaptionCells(sheet, 15, "D", "F",
                 {"Zone Inlet (m):", "Average Zone Point (AZP) (m):", "Critical Point (m)"});
    ValueCells(sheet, 15, 17, "G", "G", THorizontalAlignment::Right);
    sheet.Range("G15").SetNumber(p.InletElev);
    sheet.Range("G16").SetNumber(p.AZPElev);
    sheet.Range("G17").SetNumber(p.TargetElev);
    sheet.Range("G15:G17").SetNumberFormat("#,##0.0");
    progress.StepIt();

    GroupLabel(sheet, 19, "Property Information:", "C");
    CaptionCells(sheet, 19, "D", "F",
                 {"Length of mains (km):", "Number of connections:", "Number of residential properties:",
                  "Number of non-residential properties:", "Number of population:",
                  "Min. pressure, peak demand periods (m):", "Min. pressure, night time (m):"});
    ValueCells(sheet, 19, 25, "G", "G", THorizontalAlignment::Right);
    sheet.Range("G19").SetNumber(p.MainsLength);
    sheet.Range("G20").SetNumber(p.NumOfConnect);
    sheet.Range("G21").SetNumber(p.NumOfServiced);
    sheet.Range("G22").SetNumber(p.NumNonResidential);
    sheet.Range("G23").SetNumber(p.Population);
    sheet.Range("G24").SetNumber(p.MinPressure);
    sheet.Range("G25").SetNumber(p.MinNightPressure);
    sheet.Range("G19").SetNumberFormat("#,##0.0");
    sheet.Range("G20").SetNumberFormat("#,##0");
    sheet.Range("G25").SetNumberFormat("#,##0");
    progress.StepIt();

    LeakageTable(sheet);
    progress.StepIt();
    LeakageValues(sheet, form);

    GroupLabel(sheet, 34, "Unit usage during period of MNF:", "C");
    CaptionCells(sheet, 34, "D", "G",
                 {"Cistern capacity (litres):", "% of population active:",
                  "Non-residential night use (l/prop/hr) :", "Exceptional night use (m³/hr):"});
    ValueCells(sheet, 34, 37, "H", "H", THorizontalAlignment::Right);
    sheet.Range("H34").SetNumber(p.DomesticNight);
    sheet.Range("H35").SetNumber(p.PopActive);
    sheet.Range("H36").SetNumber(p.NonDomMeter);
    sheet.Range("H37").SetNumber(p.NonDomUnmeter);
    for (const char* cell : {"H34", "H36", "H37"})
        sheet.Range(cell).SetNumberFormat("0.00");
    progress.StepIt();

    GroupLabel(sheet, 39, "Daily Non-residential Consumption:", "C");
    CaptionCells(sheet, 39, "D", "G", {"Est. total daily non-residential consumption (m³/d):"});
    ValueCells(sheet, 39, 39, "H", "H", THorizontalAlignment::Right);
    sheet.Range("H39").SetNumber(p.DailyNonResidential).SetNumberFormat("#,##0.00");
    GroupLabel(sheet, 41, "N1 Value:", "C");
    CaptionCells(sheet, 41, "D", "G", {"Collective system N1:"});
    ValueCells(sheet, 41, 41, "H", "H", THorizontalAlignment::Right);
    sheet.Range("H41").SetNumber(p.N1).SetNumberFormat("#,##0.00");
    progress.StepIt();

    GroupLabel(sheet, 43, "Night Consumption Calculations :", "C");
    CaptionCells(sheet, 43, "D", "G",
                 {"Connection Losses (m³/hr):", "Property Losses (m³/hr):", "Residential Night Use (m³/hr):",
                  "Non-Residential Night Use (m³/hr):", "Exceptional Users (>0.5 m³/hr):",
                  "Total Night Consump. (indep. of pressure)(m³/hr):"});
    ValueCells(sheet, 43, 48, "H", "H", THorizontalAlignment::Right);
    const TLabel* night[] = {&form.ConnectionLossLabel,   &form.PropertyLossLabel,
                             &form.ResidentialNightLabel, &form.NonResidentialNightLabel,
                             &form.ExceptionalUseLabel,   &form.TotalNonPressureLabel};
    for (int i = 0; i < 6; ++i)
        sheet.Range(At("H", 43 + i)).SetText(night[i]->Caption);
    sheet.Range("H43:H48").SetNumberFormat("0.00");
    sheet.Range("H48").SetBold();
    // The total stands under a double line.
    sheet.Range("D47:H47").SetBottomBorder(TBorderLine::Double);
    progress.StepIt();

    HourlyTableFrame(sheet);
    progress.StepIt();
    HourlyValues(sheet, form.FlowGrid);
}

} // namespace halvern
