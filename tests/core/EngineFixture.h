// A shown main window with a zone of 24 hours written into the hourly table as the
// engineer would type it, for the tests of the current situation and the PRV scenarios.
#pragma once
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include <gtest/gtest.h>
#include <string>

namespace halvern::test {

// FlowGrid row of hour h (0 = 00:00), and the result tables' row of that hour.
constexpr int FlowRow(int h) {
    return FlowGridLayout::HourRow(h);
}
constexpr int ResultRow(int h) {
    return ResultRows::HourRow(h);
}

inline double TextValue(const std::string& text) {
    const auto v = ParseNumber(text);
    EXPECT_TRUE(v.has_value()) << "not a number: '" << text << "'";
    return v.value_or(0);
}

class TEngineFixture : public ::testing::Test {
protected:
    TScriptedDialogs dialogs;
    TMainForm form{dialogs};
    TProject& project = form.Project;

    void SetUp() override {
        form.FormShow();
        Elevations("0.00", "0.00", "0.00");
        // Night flow: only the exceptional use remains, so the pressure-independent night
        // flow is exactly that.
        Input(form.NumOfConnectEdit, "0", project.NumOfConnect, 0);
        Input(form.NumOfServicedEdit, "0", project.NumOfServiced, 0);
        Input(form.NumNonResidentialEdit, "0", project.NumNonResidential, 0);
        Input(form.PopActiveEdit, "0", project.PopActive, 0.0);
        NightFlow(2);
        N1("1.00", 1.0);
        Input(form.MinPressureEdit, "0.00", project.MinPressure, 0.0);
        Day("10.00", "60.00", "40.00", "30.00");
    }

    // Writes the text into the edit (running its change handler) and the value into the
    // record, as the next collection of the inputs would.
    template <class T, class V> void Input(TEdit& edit, const std::string& text, T& field, V value) {
        form.Dispatch([&] { edit.SetText(text); });
        field = static_cast<T>(value);
    }
    void NightFlow(double total) {
        Input(form.NonDomUnmeterEdit, FormatFixed(total, 2, 2), project.NonDomUnmeter, total);
        project.TotalNonPressureFlow = total;
    }
    void N1(const std::string& text, double value) { Input(form.N1Edit, text, project.N1, value); }
    void Elevations(const std::string& inlet, const std::string& azp, const std::string& target) {
        form.Dispatch([&] {
            form.InletElevEdit.SetText(inlet);
            form.AZPElevEdit.SetText(azp);
            form.TargetElevEdit.SetText(target);
        });
    }

    // One hour of measurements: inflow (m³/h), inlet, AZP and critical pressures (m).
    void Hour(int h, const std::string& inflow, const std::string& inlet, const std::string& azp,
              const std::string& crit) {
        form.FlowGrid.SetCell(FlowGridLayout::InflowM3hCol, FlowRow(h), inflow);
        form.FlowGrid.SetCell(FlowGridLayout::InletCol, FlowRow(h), inlet);
        form.FlowGrid.SetCell(FlowGridLayout::AZPCol, FlowRow(h), azp);
        form.FlowGrid.SetCell(FlowGridLayout::CriticalCol, FlowRow(h), crit);
    }
    void Day(const std::string& inflow, const std::string& inlet, const std::string& azp,
             const std::string& crit) {
        for (int h = 0; h < HoursPerDay; ++h)
            Hour(h, inflow, inlet, azp, crit);
    }

    bool Run(void (TMainForm::*calc)()) {
        return form.Dispatch([&] { (form.*calc)(); });
    }
    // One scenario as the window runs it: the calculation, then what it found.
    bool Run(TMainForm::TAnalysisScenario scenario) {
        return form.Dispatch([&] { form.Calculate(scenario); });
    }
};

} // namespace halvern::test
