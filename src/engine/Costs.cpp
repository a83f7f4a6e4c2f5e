// The cost-benefit summary: the daily volumes of the current situation and of the three
// PRV scenarios, read back from their labels and tables, become annual volumes (m³/a),
// savings in money (R/a) and a payback period in months per scenario. Writes every value
// column of CostSummaryGrid but the implementation costs, which belong to the costs dialog.
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/CheckedMath.h"
#include "model/Numbers.h"
#include "model/TextNumbers.h"

#include <numeric>

namespace halvern {

namespace {

constexpr double DaysPerYear = 365.25;
constexpr double MonthsPerYear = 12;
using namespace CostSummaryLayout;
const char* const NeverText = "Never";

// Volumes and money are shown as whole numbers with thousands separators.
std::string Whole(double value) {
    return FormatNumber(Checked(value), 11, 0);
}

// A daily volume read back from a label; a scenario not yet computed has an empty label
// and counts as nothing.
double LabelVolume(const TLabel& label) {
    return label.Caption.empty() ? 0.0 : StrToFloat(label.Caption);
}

// Everything the summary needs of one PRV scenario.
struct TScenarioSource {
    const TLabel& TotLabel;
    const TLabel& DepLabel;
    const TMarkStringGrid& Grid;
    bool SkipEmptyAZP; // the flow-modulated table may have AZP cells not yet written
    const std::array<double, CostEntries>& Capital;
    const std::array<double, CostEntries>& Annual;
};

// The mean AZP pressure of a scenario's 24 hours.
double MeanScenarioAZP(const TScenarioSource& source) {
    double sum = 0;
    for (int row = PRVGridLayout::FirstHourRow; row <= PRVGridLayout::LastHourRow; ++row) {
        const std::string& text = source.Grid.Cell(PRVGridLayout::AZPCol, row);
        if (source.SkipEmptyAZP && text.empty()) continue;
        sum += StrToFloat(text);
    }
    return sum / HoursPerDay;
}

} // namespace

void TMainForm::GetTheCosts() {
    TMarkStringGrid& grid = CostSummaryGrid;
    const double curDep = CellNumber(CurrentDepLabel.Caption);
    const double curIndep = CellNumber(CurrentIndepLabel.Caption);
    // The multiplication factor scales what the zone buys, not what its consumers use.
    const double factor = Project.CostFactor;
    const auto yearly = [factor](double daily) { return daily * DaysPerYear * factor / 100; };
    grid.SetCell(InflowCol, CurrentRow, Whole(yearly(curDep + curIndep)));

    // The part of the daily consumption that follows pressure (m³/d): residential use is
    // what is left of the pressure-independent flow after the non-residential use.
    const double nonResidential = Project.DailyNonResidential;
    const double dailyCons = (curIndep - nonResidential) * Project.ResConsumpChange / 100 +
                             nonResidential * Project.NonresConsumpChange / 100;
    const double avgAZP =
        std::accumulate(Project.AZPPressure.begin(), Project.AZPPressure.end(), 0.0) / HoursPerDay;
    const double consumptionN1 = CellNumber(edtConsumptionN1.Text());

    const TScenarioSource scenarios[] = {
        {FixedTotLabel, FixedDepLabel, FixedPRVGrid, false, Project.FixedCostFixedPRV,
         Project.AnnualCostFixedPRV},
        {TimeTotLabel, TimeDepLabel, TimePRVGrid, false, Project.FixedCostTimePRV, Project.AnnualCostTimePRV},
        {FlowTotLabel, FlowDepLabel, FlowPRVGrid, true, Project.FixedCostFlowPRV, Project.AnnualCostFlowPRV},
    };
    int row = FirstScenarioRow;
    for (const TScenarioSource& source : scenarios) {
        const double inflow = yearly(LabelVolume(source.TotLabel));
        grid.SetCell(InflowCol, row, Whole(inflow));

        const double lossSaving = yearly(LabelVolume(CurrentDepLabel) - LabelVolume(source.DepLabel));
        grid.SetCell(LossSavingCol, row, Whole(lossSaving));

        const double newAvgAZP = MeanScenarioAZP(source);
        // Consumers at a lower pressure draw less; the saving is a whole year's, unscaled.
        const double consSaving =
            avgAZP == 0
                ? 0.0
                : (dailyCons - FPow(FDiv(newAvgAZP, avgAZP), consumptionN1) * dailyCons) * DaysPerYear;
        grid.SetCell(ConsumpSavingCol, row, Whole(consSaving));
        grid.SetCell(VolumeSavingCol, row, Whole(lossSaving + consSaving));

        const double purchases = (lossSaving + consSaving) * Project.InflowCost;
        grid.SetCell(PurchaseSavingCol, row, Whole(purchases));
        const double income = consSaving * Project.ConsumpCosts;
        grid.SetCell(IncomeLossCol, row, Whole(-income)); // less water sold is income lost
        const double net = purchases - income;
        grid.SetCell(MoneySavingCol, row, Whole(net));

        std::string payback = NeverText;
        if (net > 0) {
            const double capital = std::accumulate(source.Capital.begin(), source.Capital.end(), 0.0);
            const double annual = std::accumulate(source.Annual.begin(), source.Annual.end(), 0.0);
            // Running costs that eat the whole saving never pay the capital back.
            if (net > annual) payback = FormatFixed(Checked(capital / net * MonthsPerYear), 15, 1);
        }
        grid.SetCell(PaybackCol, row, payback);
        ++row;
    }
    MarkUncalculatedCostRows();
}

} // namespace halvern
