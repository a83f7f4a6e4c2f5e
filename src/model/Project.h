// TProject: every input of one zone analysis, the values one calculation derives and
// others read, and the chart view options. One per run, living with the main window.
// Pressures and head losses in metres, elevations in masl, flows in m³/h, times of day
// as fractions of a day.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace halvern {

constexpr int HoursPerDay = 24;
constexpr int CostEntries = 10;

struct TProject {
    // Identification
    std::string ZoneName, ZoneRef, WaterSupplySystem, ReportNum;

    // Zone description
    double MainsLength = 1.0;
    int32_t NumOfConnect = 1;
    int32_t NumOfServiced = 1;
    int32_t NumNonResidential = 1;
    int32_t Population = 1;
    double MinPressure = 0;
    double MinNightPressure = 0;
    double InletElev = 0;
    double AZPElev = 0;
    double TargetElev = 0;
    double LowFlowTime = 3.0 / 24;
    double HighFlowTime = 11.0 / 24;
    bool DisableTimeWarnings = false;
    double IntervalLength = 1.0 / 24;

    // Leakage and night use
    double MainsLoss = 2.0;
    double ConnectPres = 0;
    double ConnectLoss = 0.5;
    double PropPress = 0;
    double PropertyLoss = 0.5;
    double N1 = 1.0;
    double DomesticNight = 10;
    double PopActive = 6;
    double NonDomMeter = 4;
    double NonDomUnmeter = 0.26;
    double DailyNonResidential = 24;

    // Hourly data, index 0 = the interval starting 00:00
    std::array<double, HoursPerDay> ZoneInflow{};
    std::array<double, HoursPerDay> InletPressure{};
    std::array<double, HoursPerDay> AZPPressure{};
    std::array<double, HoursPerDay> CriticalPressure{};
    bool FlowUnitsM3h = true;

    // PRV scenario settings
    double FixedPRVOutlet = 50;
    float HighPressure = 50;
    float LowPressure = 40;
    double TimeStart1 = 3.0 / 24;
    double TimeStop1 = 8.0 / 24;
    double TimeStart2 = 11.0 / 24;
    double TimeStop2 = 15.0 / 24;
    int32_t Intervals = 4;
    double LPFlowMod = 20;
    double HPFlowMod = 25;

    // Costs
    double InflowCost = 1.0;
    double ConsumpCosts = 2.0;
    double ResConsumpChange = 10;
    double NonresConsumpChange = 10;
    int32_t CostFactor = 100;
    std::array<std::string, CostEntries> FixedCostItem{};
    std::array<double, CostEntries> FixedCostFixedPRV{}, FixedCostTimePRV{}, FixedCostFlowPRV{};
    std::array<std::string, CostEntries> AnnualCostItem{};
    std::array<double, CostEntries> AnnualCostFixedPRV{}, AnnualCostTimePRV{}, AnnualCostFlowPRV{};

    // Derived by one calculation, read by others (not saved, not reset)
    double TotalNonPressureFlow = 0;
    std::array<double, HoursPerDay> AZPHeadlossCoef{};
    std::array<double, HoursPerDay> CritHeadlossCoef{};
    double NightLeakage = 0;
    double NightAZPPressure = 0;

    // Chart view options (not saved)
    bool GraphInletPres = true, GraphPRVPres = true, GraphAZPPres = true, GraphCritPres = true,
         GraphZoneInf = true;
    bool GraphPresDep = false, GraphPresIndep = false, GraphAZPHeadloss = false,
         GraphCriticalHeadLoss = false;
    double GraphMaxPres = 0, GraphMaxFlow = 0;

    // Every input field and view option back to its default; the cost arrays and the
    // derived values are left as they are.
    void ResetToDefaults();
};

} // namespace halvern
