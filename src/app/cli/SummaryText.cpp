// One screen for an engineer: the zone, its night flows, the current situation against the
// three valve scenarios, the checks and warnings, and the cost-benefit table.
#include "Views.h"

#include "io/FileAccess.h"
#include "model/Numbers.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace halvern::cli {
namespace {

using TRow = std::vector<std::string>;

// Characters as a terminal shows them: UTF-8 continuation bytes take no column.
std::size_t DisplayWidth(const std::string& text) {
    return Utf8Length(text);
}

// A table, two blanks between columns: the first column left-aligned, the others right-aligned
// (numbers) or left-aligned (texts). Texts from the project are printed with their control
// characters escaped.
std::string Table(std::vector<TRow> rows, bool alignRight = true) {
    for (TRow& row : rows)
        for (std::string& cell : row)
            cell = TerminalText(cell);
    std::vector<std::size_t> widths;
    for (const TRow& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (widths.size() <= c) widths.push_back(0);
            widths[c] = std::max(widths[c], DisplayWidth(row[c]));
        }
    std::string out;
    for (const TRow& row : rows) {
        std::string line = "  ";
        for (std::size_t c = 0; c < row.size(); ++c) {
            const std::string gap(widths[c] - DisplayWidth(row[c]), ' ');
            line += c == 0 ? row[c] + gap : alignRight ? "  " + gap + row[c] : "  " + row[c] + gap;
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        out += line + "\n";
    }
    return out;
}

std::string OrDash(const std::string& text) {
    const std::string trimmed = Trim(text);
    return trimmed.empty() ? "-" : trimmed;
}

} // namespace

std::string SummaryText(TMainForm& form, const std::string& fileName) {
    const TProject& p = form.Project;
    std::ostringstream out;
    const std::string title = TerminalText(FileNameOnly(fileName));
    out << title << "\n" << std::string(DisplayWidth(title), '=') << "\n\n";

    out << "Zone\n"
        << Table({{"Zone name", OrDash(form.ZoneNameEdit.Text())},
                  {"Analysis reference", OrDash(form.ZoneRefEdit.Text())},
                  {"Water supply system", OrDash(form.WaterSupplySystemEdit.Text())},
                  {"Report number", OrDash(form.ReportNumEdit.Text())},
                  {"Length of mains (km)", OrDash(form.MainsLengthEdit.Text())},
                  {"Connections", OrDash(form.NumOfConnectEdit.Text())},
                  {"Residential properties", OrDash(form.NumOfServicedEdit.Text())},
                  {"Non-residential properties", OrDash(form.NumNonResidentialEdit.Text())},
                  {"Population", OrDash(form.PopulationEdit.Text())},
                  {"Low flow / high flow hour", TimeToShortStr(form.LowTimePicker.Time) + " / " +
                                                    TimeToShortStr(form.HighTimePicker.Time)},
                  {"N1", OrDash(form.N1Edit.Text())}},
                 false)
        << "\n";

    out << "Night flow components\n"
        << Table({{"", "m³/hr"},
                  {"Connection losses", OrDash(form.ConnectionLossLabel.Caption)},
                  {"Property losses", OrDash(form.PropertyLossLabel.Caption)},
                  {"Residential night use", OrDash(form.ResidentialNightLabel.Caption)},
                  {"Non-residential night use", OrDash(form.NonResidentialNightLabel.Caption)},
                  {"Exceptional users (>0.5 m³/hr)", OrDash(form.ExceptionalUseLabel.Caption)},
                  {"Total, independent of pressure", OrDash(form.TotalNonPressureLabel.Caption)}})
        << "\n";

    out << "Daily volumes\n"
        << Table({{"", "Current", "Fixed outlet", "Time modulated", "Flow modulated"},
                  {"Pressure dependent (m³)", OrDash(form.CurrentDepLabel.Caption),
                   OrDash(form.FixedDepLabel.Caption), OrDash(form.TimeDepLabel.Caption),
                   OrDash(form.FlowDepLabel.Caption)},
                  {"Pressure independent (m³)", OrDash(form.CurrentIndepLabel.Caption),
                   OrDash(form.FixedIndepLabel.Caption), OrDash(form.TimeIndepLabel.Caption),
                   OrDash(form.FlowIndepLabel.Caption)},
                  {"Total zone inflow (m³)", OrDash(form.CurrentTotLabel.Caption),
                   OrDash(form.FixedTotLabel.Caption), OrDash(form.TimeTotLabel.Caption),
                   OrDash(form.FlowTotLabel.Caption)},
                  {"Day / night factor (h)", OrDash(form.DayNightLabel.Caption),
                   OrDash(form.FixedDayNightLabel.Caption), OrDash(form.TimeDayNightLabel.Caption),
                   OrDash(form.FlowDayNightLabel.Caption)}})
        << "\n";

    std::vector<TRow> checks = {
        {"Non-residential use (m³/d)", OrDash(form.NonResidentialUseLabel.Caption)},
        {"Estimated population use (l/hd/d)", OrDash(form.ResidentialUseLabel.Caption)},
        {"Population use", OrDash(form.PopUseWarningLabel.Caption)}};
    // Only a zone whose night inflow is below its night use gets this line.
    if (!form.NightFlowWarningLabel.Caption.empty())
        checks.push_back({"Night flow", form.NightFlowWarningLabel.Caption});
    out << "Basic checks\n" << Table(checks, false) << "\n";

    // Each valve's low-pressure warning, then the hours in which it stands fully open and
    // the targets it cannot meet, each on a line of its own.
    std::vector<TRow> warnings;
    const auto scenario = [&](const std::string& name, const TLabel& warning,
                              std::initializer_list<const TLabel*> notes) {
        warnings.push_back({name, Trim(warning.Caption).empty() ? "none" : Trim(warning.Caption)});
        for (const TLabel* note : notes) {
            std::string text = note->Caption;
            for (std::size_t end; !text.empty();
                 text = end == std::string::npos ? "" : text.substr(end + 1)) {
                end = text.find('\n');
                warnings.push_back({"", text.substr(0, end)});
            }
        }
    };
    scenario("Fixed outlet (" + OrDash(form.FixedPRVOutletEdit.Text()) + " m)", form.FixedWarnLabel,
             {&form.FixedOpenLabel});
    scenario("Time modulated", form.TimeWarnLabel, {&form.TimeOpenLabel});
    scenario("Flow modulated", form.FlowWarnLabel, {&form.FlowOpenLabel, &form.FlowTargetLabel});
    out << "Scenario warnings\n" << Table(warnings, false) << "\n";

    // The summary table turned on its side: one column per situation reads better in 80 columns.
    const TMarkStringGrid& grid = form.CostSummaryGrid;
    const char* measures[] = {"Zone inflow (m³/a)",
                              "Reduced distribution losses (m³/a)",
                              "Reduced consumption (m³/a)",
                              "Total savings (m³/a)",
                              "Reduced purchases (R/a)",
                              "Reduced income (R/a)",
                              "Total savings (R/a)",
                              "Implementation costs (R)",
                              "Payback (months)"};
    std::vector<TRow> costs{{"", "Current", "Fixed outlet", "Time modulated", "Flow modulated"}};
    for (int c = 1; c <= 9; ++c) {
        TRow row{measures[c - 1]};
        for (int r = 3; r <= 6; ++r)
            row.push_back(OrDash(grid.Cell(c, r)));
        costs.push_back(row);
    }
    out << "Cost-benefit summary (multiplication factor " << p.CostFactor << " %)\n" << Table(costs);
    return out.str();
}

} // namespace halvern::cli
