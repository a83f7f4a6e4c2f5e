#!/usr/bin/env python3
"""Makes the golden zones from the demo project, once; the .pru files it leaves are what the
golden test reads, so it need not run again. Each zone is the demo with a few lines of its
project file changed, and then read, given its hourly data through the import and saved
again by halvern-cli, so that every zone is a file the program itself wrote.

    tests/data/golden/make-zones.py build/dev/halvern-cli
"""
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
DEMO = os.path.join(HERE, "..", "..", "..", "examples", "demo-zone.pru")

# Line numbers of the project file (1-based).
ZONE_NAME, INLET_ELEV, AZP_ELEV, TARGET_ELEV = 2, 14, 15, 16
LOW_TIME, HIGH_TIME, NO_TIME_WARNINGS = 17, 18, 19
MIN_PRESSURE, N1, INTERVAL_LENGTH = 25, 37, 38
FIXED_OUTLET, HIGH_PRESSURE, LOW_PRESSURE = 160, 161, 162
START1, STOP1, START2, STOP2, INTERVALS = 163, 164, 165, 166, 167
HOURLY_OUTLETS = 168  # 23 lines, hours 00:00 to 22:00
LP_FLOW_MOD, HP_FLOW_MOD, INFLOW_COST, CONSUMP_COSTS = 191, 192, 193, 194
FIXED_COSTS = 196  # eight lines per cost row


def scientific(value):
    """A fraction of a day as the project file writes it: ' 2.50000000000000E-0001'."""
    mantissa, exponent = f"{value:.14E}".split("E")
    sign = "-" if value < 0 else " "
    return f"{sign}{mantissa.lstrip('-')}E{exponent[0]}{int(exponent[1:]):04d}"


def day_fraction(hhmm):
    h, m = hhmm.split(":")
    return scientific((int(h) * 60 + int(m)) / 1440)


def demo_hours():
    """(inflow, inlet, AZP, critical) of the demo's 24 hours."""
    with open(DEMO, encoding="cp1252", newline="") as f:
        lines = f.read().split("\r\n")
    return [tuple(float(lines[38 + 4 * h + k]) for k in range(4)) for h in range(24)]


def zones():
    demo = demo_hours()
    out = {}

    # Hourly mode: interval count 0, the engineer's own outlet for every hour; a few are too
    # low for the critical point, so the time-modulated warning shows.
    outlets = [44, 44, 43, 42, 42, 44, 50, 55, 57, 57, 57, 57, 56, 56, 56, 54, 53, 52, 52, 52, 50, 48, 46]
    out["hourly-mode"] = (
        {ZONE_NAME: "Golden hourly mode", INTERVALS: "0",
         **{HOURLY_OUTLETS + i: f"{v:.2f}" for i, v in enumerate(outlets)}},
        demo)

    # Quarter-hour intervals: the table holds 24 quarters from 00:00 to 06:00, the low- and
    # high-flow times and the four window pickers sit on quarter hours.
    quarters = [(demo[h // 4 + 2][0] + 2.4 * ((h * 7) % 5), *demo[h // 4 + 2][1:]) for h in range(24)]
    quarters[11] = (66.0, 65.0, 53.0, 37.0)  # 02:45, the lowest quarter
    quarters[21] = (125.0, 60.0, 49.0, 24.0)  # 05:15, the highest quarter
    out["quarter-hour"] = (
        {ZONE_NAME: "Golden quarter hours", INTERVAL_LENGTH: "00:15:00", LOW_TIME: "02:45:00",
         HIGH_TIME: "05:15:00", INTERVALS: "4", START1: day_fraction("00:45"), STOP1: day_fraction("02:15"),
         START2: day_fraction("03:30"), STOP2: day_fraction("05:45")},
        quarters)

    # An AZP balance that does not settle: most of the inlet pressure is lost on the way to the
    # AZP at high flows and N1 is at its upper bound, 2.5, so the repeated substitution swings
    # between two pressures and the hour takes the root of the balance.
    steep = [(q, inlet, azp - (30 if q > 100 else 12), crit - 5) for q, inlet, azp, crit in demo]
    out["azp-unsettled"] = (
        {ZONE_NAME: "Golden unsettled AZP", N1: "2.500", AZP_ELEV: "1420.000", TARGET_ELEV: "1420.000"},
        [(q, inlet, max(azp, 4.0), max(crit, 6.0)) for q, inlet, azp, crit in steep])

    # A flow-modulated target out of reach: the critical point lies behind a large head loss,
    # so above some outlet more leakage through the mains makes the critical pressure fall;
    # the high-flow target of 45 m cannot be met and the hour keeps the outlet that came
    # closest.
    out["flow-target-unreachable"] = (
        {ZONE_NAME: "Golden unreachable target", TARGET_ELEV: "1420.000", LP_FLOW_MOD: "30.000",
         HP_FLOW_MOD: "45.000", N1: "1.500"},
        [(q, inlet, azp, max(inlet - 2 - (q - 70) * float(os.environ.get("SLOPE", "0.5")), 3.0)) for q, inlet, azp, crit in demo])

    # The same, with the critical point so far behind its head loss that the search for the
    # high-flow outlet runs away and the scenario ends on "Floating point overflow".
    out["flow-target-overflow"] = (
        {ZONE_NAME: "Golden runaway target", TARGET_ELEV: "1420.000", LP_FLOW_MOD: "30.000",
         HP_FLOW_MOD: "45.000", N1: "1.500"},
        [(q, inlet, azp, max(inlet - 2 - (q - 70) * 0.9, 3.0)) for q, inlet, azp, crit in demo])

    # N1 at its lower bound, 0.5, and no payback for two options: water bought at R1/m³ leaves
    # a small net saving, and annual costs above it (entry 6, which only a project file can
    # fill; the costs dialog clears entries 1 to 5) leave the time- and flow-modulated options
    # at "Never" while the fixed outlet pays back after 320 months.
    base = FIXED_COSTS + 8 * 5
    costs = {base + 4: "Maintenance", base + 6: "12000.000", base + 7: "15000.000"}
    out["n1-low-never-pays"] = (
        {ZONE_NAME: "Golden never pays", N1: "0.500", INFLOW_COST: "1.000", CONSUMP_COSTS: "14.200",
         **costs},
        demo)

    # Negative critical pressures: measured below zero in the morning peak, and a fixed outlet
    # and low time-modulated pressure that leave the critical point without pressure, so the
    # scenario rows are blanked to 0.0.
    out["negative-critical"] = (
        {ZONE_NAME: "Golden negative critical", FIXED_OUTLET: "30.000", LOW_PRESSURE: "28.000",
         HIGH_PRESSURE: "40.000"},
        [(q, inlet, azp, crit - 20) for q, inlet, azp, crit in demo])

    # Flow-time warnings on ties: the lowest inflow is shared by 02:00 and 04:00 and the
    # highest by 09:00 and 11:00 while the set hours are 03:00 and 10:00, so both warnings
    # name the earlier hour of each tie.
    ties = list(demo)
    ties[2] = (70.0, *demo[2][1:])
    ties[4] = (70.0, *demo[4][1:])
    ties[9] = (120.0, *demo[9][1:])
    ties[11] = (120.0, *demo[11][1:])
    out["time-warning-ties"] = ({ZONE_NAME: "Golden ties"}, ties)
    return out


def main():
    cli = os.path.abspath(sys.argv[1])
    with open(DEMO, encoding="cp1252", newline="") as f:
        base = f.read().split("\r\n")
    only = sys.argv[2:]
    for name, (changes, hours) in zones().items():
        if only and name not in only:
            continue
        lines = list(base)
        for number, value in changes.items():
            lines[number - 1] = value
        target = os.path.join(HERE, name + ".pru")
        with tempfile.TemporaryDirectory() as tmp:
            start = os.path.join(tmp, "start.pru")
            with open(start, "w", encoding="cp1252", newline="") as f:
                f.write("\r\n".join(lines))
            data = os.path.join(tmp, "hours.txt")
            with open(data, "w", newline="") as f:
                for hour in hours:
                    f.write("".join(f"{v:.3f}," for v in hour) + "\r\n")
            subprocess.run([cli, "import", data, "--from", start, "-o", target], check=True,
                           env={**os.environ, "LC_ALL": "C"})
        print(target)


if __name__ == "__main__":
    main()
