// Many zones for the batch: the demo project with its name, inflows, pressures and outlet
// settings varied line by line, written to a folder as a utility's export would leave them.
#pragma once
#include "BenchProject.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace halvern::bench {

// The lines of a project file, without their CR LF.
inline std::vector<std::string> ProjectLines(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline std::string Fixed3(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", value);
    return buffer;
}

// Writes `count` variants of the demo zone into `folder` (zone-0000.pru, ...) and returns
// their names. The same seed gives the same zones.
inline std::vector<std::string> GenerateProjects(const std::filesystem::path& folder, int count,
                                                 unsigned seed = 17) {
    const std::vector<std::string> demo = ProjectLines(DemoProject());
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> inflowScale(0.6, 1.8);
    std::uniform_real_distribution<double> pressureShift(-4.0, 6.0);
    std::uniform_real_distribution<double> outletShift(-6.0, 4.0);
    std::filesystem::create_directories(folder);
    std::vector<std::string> files;
    for (int k = 0; k < count; ++k) {
        std::vector<std::string> lines = demo;
        char name[32];
        std::snprintf(name, sizeof name, "zone-%04d", k);
        lines[1] = "Generated zone " + std::to_string(k); // zone name
        lines[2] = "GEN/" + std::to_string(k);            // analysis reference
        // Lines 39-134: inflow, inlet, AZP and critical pressure of each hour. Scaling keeps
        // the low-flow and high-flow hours where they are; one shift moves all pressures.
        const double scale = inflowScale(random);
        const double shift = pressureShift(random);
        for (int h = 0; h < 24; ++h) {
            const int at = 38 + 4 * h;
            lines[at] = Fixed3(std::stod(lines[at]) * scale);
            for (int p = 1; p <= 3; ++p)
                lines[at + p] = Fixed3(std::stod(lines[at + p]) + shift);
        }
        lines[159] = Fixed3(std::stod(lines[159]) + outletShift(random)); // fixed outlet
        std::ostringstream text;
        for (const std::string& line : lines)
            text << line << "\r\n";
        const std::filesystem::path file = folder / (std::string(name) + ".pru");
        std::ofstream(file, std::ios::binary) << text.str();
        files.push_back(file.string());
    }
    return files;
}

} // namespace halvern::bench
