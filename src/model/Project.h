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
    // Identification: free texts.
    std::string ZoneName;          // zone name
    std::string ZoneRef;           // analysis reference
    std::string WaterSupplySystem; // water supply system
    std::string ReportNum;         // report number, not parsed

    // Zone description
    double MainsLength = 1.0;         // length of mains, km
    int32_t NumOfConnect = 1;         // number of connections
    int32_t NumOfServiced = 1;        // number of residential properties
    int32_t NumNonResidential = 1;    // number of non-residential properties
    int32_t Population = 1;           // people living in the zone
    double MinPressure = 0;           // least acceptable pressure at peak demand, m
    double MinNightPressure = 0;      // least acceptable pressure at night, m
    double InletElev = 0;             // zone inlet elevation, masl
    double AZPElev = 0;               // average zone point elevation, masl
    double TargetElev = 0;            // critical point elevation, masl
    double LowFlowTime = 3.0 / 24;    // start of the hour of minimum night flow
    double HighFlowTime = 11.0 / 24;  // start of the hour of highest flow
    bool DisableTimeWarnings = false; // no warning when those hours are not the actual ones
    double IntervalLength = 1.0 / 24; // length of one row of the hourly table (one hour)

    // Leakage and night use. Of each pair of loss rates at minimum night flow one part
    // depends on pressure, the other not; the night flow uses the independent parts.
    double MainsLoss = 2.0;          // mains losses, pressure-dependent, l/km/hr
    double ConnectPres = 0;          // connection losses, pressure-dependent, l/conn/hr
    double ConnectLoss = 0.5;        // connection losses, pressure-independent, l/conn/hr
    double PropPress = 0;            // property losses, pressure-dependent, l/prop/hr
    double PropertyLoss = 0.5;       // property losses, pressure-independent, l/prop/hr
    double N1 = 1.0;                 // collective system leakage exponent, 0.5 to 2.5
    double DomesticNight = 10;       // cistern capacity: one active person's use in a night hour, litres
    double PopActive = 6;            // % of the population active at minimum night flow
    double NonDomMeter = 4;          // non-residential night use, l/prop/hr
    double NonDomUnmeter = 0.26;     // exceptional night use, m³/hr
    double DailyNonResidential = 24; // estimated total daily non-residential consumption, m³/d

    // Hourly data, index 0 = the interval starting 00:00
    std::array<double, HoursPerDay> ZoneInflow{};       // m³/h, whatever unit it is typed in
    std::array<double, HoursPerDay> InletPressure{};    // m
    std::array<double, HoursPerDay> AZPPressure{};      // at the average zone point, m
    std::array<double, HoursPerDay> CriticalPressure{}; // at the critical point, m
    bool FlowUnitsM3h = true;                           // inflow typed in m³/h (true) or l/s (false)

    // PRV scenario settings
    double FixedPRVOutlet = 50;    // fixed-outlet valve's set pressure, m
    float HighPressure = 50;       // time-modulated outlet in the high periods, m
    float LowPressure = 40;        // time-modulated outlet outside them, m
    double TimeStart1 = 3.0 / 24;  // start of the first high-pressure period
    double TimeStop1 = 8.0 / 24;   // end of the first high-pressure period
    double TimeStart2 = 11.0 / 24; // start of the second high-pressure period
    double TimeStop2 = 15.0 / 24;  // end of the second high-pressure period
    int32_t Intervals = 4;         // high-pressure periods: 4, else 2; 0 or less: outlet typed per hour
    double LPFlowMod = 20;         // flow-modulated outlet at the lowest flow, m
    double HPFlowMod = 25;         // flow-modulated outlet at the highest flow, m

    // Costs
    double InflowCost = 1.0;         // cost of inflow, R/m³
    double ConsumpCosts = 2.0;       // value of consumption, R/m³
    double ResConsumpChange = 10;    // % of residential consumption that depends on pressure
    double NonresConsumpChange = 10; // % of non-residential consumption that depends on pressure
    int32_t CostFactor = 100;        // multiplication factor, %
    // Capital cost items (entries 0 to 4 shown): description, and amount per valve option, R.
    std::array<std::string, CostEntries> FixedCostItem{};
    std::array<double, CostEntries> FixedCostFixedPRV{}, FixedCostTimePRV{}, FixedCostFlowPRV{};
    // Annual cost items: description, and amount per valve option, R per year.
    std::array<std::string, CostEntries> AnnualCostItem{};
    std::array<double, CostEntries> AnnualCostFixedPRV{}, AnnualCostTimePRV{}, AnnualCostFlowPRV{};

    // Derived by one calculation, read by others (not saved, not reset)
    double TotalNonPressureFlow = 0;                    // night flow independent of pressure, m³/h
    std::array<double, HoursPerDay> AZPHeadlossCoef{};  // AZP headloss / inflow², m per (m³/h)²
    std::array<double, HoursPerDay> CritHeadlossCoef{}; // critical point headloss / inflow², m per (m³/h)²
    double NightLeakage = 0;                            // pressure-dependent flow in the low-flow hour, m³/h
    double NightAZPPressure = 0;                        // AZP pressure in the low-flow hour, m

    // Chart view options (not saved): the series shown, and the axes' maxima (0: automatic).
    bool GraphInletPres = true, GraphPRVPres = true, GraphAZPPres = true, GraphCritPres = true,
         GraphZoneInf = true;
    bool GraphPresDep = false, GraphPresIndep = false, GraphAZPHeadloss = false,
         GraphCriticalHeadLoss = false;
    double GraphMaxPres = 0; // m
    double GraphMaxFlow = 0; // m³/h

    // Every input field and view option back to its default; the cost arrays and the
    // derived values are left as they are.
    void ResetToDefaults();
};

} // namespace halvern
