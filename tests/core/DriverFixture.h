// A started main window with scripted message boxes, and a plausible zone to type into
// it: the lowest inflow at 03:00 and the highest at 11:00, as the flow-time pickers say.
#pragma once
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

namespace halvern::test {

inline constexpr std::array<double, 24> kZoneInflow = {22, 21, 20, 18, 19, 24, 35, 50, 60, 70, 80, 90,
                                                       85, 75, 65, 60, 62, 70, 75, 65, 50, 40, 30, 25};

class DriverFixture : public ::testing::Test {
protected:
    TScriptedDialogs dialogs;
    TMainForm form{dialogs};

    void SetUp() override {
        form.FormShow();
        dialogs.Clear();
    }

    // One user action, run as the window runs every event: an error ends it with a box.
    bool Do(const std::function<void()>& action) { return form.Dispatch(action); }

    // Types the zone's elevations and its 24 hours of inflow and pressures (in m³/h).
    void EnterZone() {
        Do([&] {
            form.TimeWarnCheckBox.Checked = true;
            form.InletElevEdit.SetText("100");
            form.AZPElevEdit.SetText("90");
            form.TargetElevEdit.SetText("95");
            for (int row = 1; row <= 24; ++row) {
                const double q = kZoneInflow[static_cast<size_t>(row - 1)];
                const double inlet = 65 - q / 10;
                form.FlowGrid.SetEditText(FlowGridLayout::InflowM3hCol, row, FormatFixed(q, 5, 2));
                form.FlowGrid.SetEditText(FlowGridLayout::InletCol, row, FormatFixed(inlet, 5, 2));
                form.FlowGrid.SetEditText(FlowGridLayout::AZPCol, row, FormatFixed(inlet - 3 - q / 20, 5, 2));
                form.FlowGrid.SetEditText(FlowGridLayout::CriticalCol, row,
                                          FormatFixed(inlet - 10 - q / 10, 5, 2));
            }
        });
        dialogs.Clear();
    }

    // Collects the inputs as a save would; true when every input was read.
    bool Collect() {
        bool errorsFound = true;
        Do([&] { form.GetTheData(errorsFound); });
        return !errorsFound;
    }
};

} // namespace halvern::test
