// halvern-cli sensitivity: how the valves' savings and payback follow the leakage exponent.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace halvern::cli {

// The command: sensitivity FILE.pru [--n1 FROM:TO:STEP] [--horizon MONTHS] [--csv | --json];
// the records go to `print`.
int Sensitivity(const std::vector<std::string>& args, const std::function<void(std::string_view)>& print);

} // namespace halvern::cli
