// Night flow components: the part of the minimum night flow that does not depend on
// pressure, built from unit rates (litres per connection, property or active person per
// hour, m³/hr for exceptional users). Reads the counts, loss rates and night-use fields of
// the project; writes the six component labels, TotalNonPressureFlow (m³/hr) and the night
// consumption column of the N1 table.
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/CheckedMath.h"
#include "model/Numbers.h"

namespace halvern {

namespace {

constexpr double LitresPerM3 = 1000;

} // namespace

void TMainForm::CalcNightLoss() {
    const TProject& p = Project;
    // Each component is shown as soon as it is known; the total adds them in page order.
    const double connection = Checked(p.NumOfConnect * p.ConnectLoss / LitresPerM3);
    ConnectionLossLabel.Caption = FormatFixed(connection, 5, 2);
    double total = connection;

    const double property = Checked(p.NumOfServiced * p.PropertyLoss / LitresPerM3);
    PropertyLossLabel.Caption = FormatFixed(property, 5, 2);
    total += property;

    // A cistern flush by every active person in the night hour.
    const double residential = Checked(p.Population * p.DomesticNight * (p.PopActive / 100) / LitresPerM3);
    ResidentialNightLabel.Caption = FormatFixed(residential, 5, 2);
    total += residential;

    const double nonResidential = Checked(p.NumNonResidential * p.NonDomMeter / LitresPerM3);
    NonResidentialNightLabel.Caption = FormatFixed(nonResidential, 5, 2);
    total += nonResidential;

    const double exceptional = Checked(p.NonDomUnmeter);
    ExceptionalUseLabel.Caption = FormatFixed(exceptional, 5, 2);
    total = Checked(total + exceptional);

    TotalNonPressureLabel.Caption = FormatFixed(total, 5, 2);
    Project.TotalNonPressureFlow = total;

    // The step test subtracts the same night consumption from every stage's inflow.
    TMarkStringGrid& n1Grid = N1CalculationForm.N1Grid;
    const std::string totalText = FormatFixed(total, 5, 1);
    for (int row = N1GridLayout::FirstStageRow; row <= N1GridLayout::LastStageRow; ++row)
        n1Grid.SetCell(N1GridLayout::NightConsumptionCol, row, totalText);
}

} // namespace halvern
