// A shown main window holding one zone's day of measurements, for the tests of the
// flow-modulated scenario, the cost-benefit summary, the costs dialog and the N1 window.
// The tables get their sizes and hour labels here, so the tests depend only on the
// calculations they are about.
#pragma once
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include <array>
#include <gtest/gtest.h>
#include <string>

namespace halvern::test {

// FlowGrid row of hour h (0 = 00:00), and the result tables' row of that hour.
constexpr int InputRow(int h) {
    return FlowGridLayout::HourRow(h);
}
constexpr int TableRow(int h) {
    return ResultRows::HourRow(h);
}

inline double Number(const std::string& text) {
    const auto v = ParseNumber(text);
    EXPECT_TRUE(v.has_value()) << "not a number: '" << text << "'";
    return v.value_or(0);
}

// One hour of measurements: inflow in m³/h, pressures in m.
struct THourData {
    double Inflow, Inlet, AZP, Crit;
};

class TFlowZoneFixture : public ::testing::Test {
protected:
    TScriptedDialogs dialogs;
    TMainForm form{dialogs};
    TProject& project = form.Project;

    // An ordinary zone: lowest inflow at 03:00, highest at 11:00 (the default flow times),
    // inlet at 60 m, head losses to the AZP and critical point growing with the square of
    // the inflow.
    static constexpr std::array<double, HoursPerDay> Inflows = {
        50, 46, 44, 42, 45, 55, 70, 85, 90, 95, 98, 100, 97, 92, 88, 84, 86, 90, 94, 88, 75, 65, 58, 52};

    void SetUp() override {
        form.Dispatch([&] { form.FormShow(); });
        ShapeTables();
        form.Dispatch([&] {
            form.InletElevEdit.SetText("0.00");
            form.AZPElevEdit.SetText("0.00");
            form.TargetElevEdit.SetText("0.00");
        });
        // The night consumption is only the exceptional use, 2 m³/h, so the leakage of the
        // low-flow hour is its inflow less 2.
        project.NumOfConnect = 0;
        project.NumOfServiced = 0;
        project.NumNonResidential = 0;
        project.PopActive = 0;
        project.NonDomUnmeter = 2;
        project.N1 = 1.0;
        project.MinPressure = 0;
        for (int h = 0; h < HoursPerDay; ++h) {
            const double q = Inflows[static_cast<size_t>(h)];
            SetHour(h, {q, 60, 60 - 0.001 * q * q, 60 - 0.002 * q * q});
        }
    }

    void ShapeTables() {
        const auto shape = [](TMarkStringGrid& g, int cols, int rows) {
            g.SetColCount(cols);
            g.SetRowCount(rows);
        };
        shape(form.FlowGrid, 6, 25);
        shape(form.CurrentGrid, 9, 26);
        shape(form.FixedPRVGrid, 10, 26);
        shape(form.TimePRVGrid, 10, 26);
        shape(form.FlowPRVGrid, 10, 26);
        shape(form.CostSummaryGrid, 10, 7);
        for (int h = 0; h < HoursPerDay; ++h)
            form.FlowGrid.SetCell(FlowGridLayout::HourCol, InputRow(h),
                                  TimeToShortStr(h / 24.0) + " - " + TimeToShortStr(((h + 1) % 24) / 24.0));
    }

    // The hour's measurements as typed: two decimals, as the table shows them.
    void SetHour(int h, const THourData& d) {
        form.FlowGrid.SetCell(FlowGridLayout::InflowM3hCol, InputRow(h), FormatFixed(d.Inflow, 5, 2));
        form.FlowGrid.SetCell(FlowGridLayout::InletCol, InputRow(h), FormatFixed(d.Inlet, 5, 2));
        form.FlowGrid.SetCell(FlowGridLayout::AZPCol, InputRow(h), FormatFixed(d.AZP, 5, 2));
        form.FlowGrid.SetCell(FlowGridLayout::CriticalCol, InputRow(h), FormatFixed(d.Crit, 5, 2));
        project.ZoneInflow[static_cast<size_t>(h)] = d.Inflow;
        project.InletPressure[static_cast<size_t>(h)] = d.Inlet;
        project.AZPPressure[static_cast<size_t>(h)] = d.AZP;
        project.CriticalPressure[static_cast<size_t>(h)] = d.Crit;
    }

    // What showing the "Flow Modulated" tab computes.
    bool RunFlowScenario() {
        return form.Dispatch([&] {
            form.CalcCurrentSituation();
            form.CalcFlowPRV();
        });
    }

    double FlowCell(int col, int h) { return Number(form.FlowPRVGrid.Cell(col, TableRow(h))); }
};

} // namespace halvern::test
