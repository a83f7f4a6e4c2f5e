// halvern-cli suggest: the lowest setting of each valve that keeps the minimum pressure at
// the critical point in every hour, beside the current one, and optionally saved.
#pragma once
#include "forms/ValveSuggestion.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace halvern::cli {

// The three suggestions as aligned plain text, and as one JSON object.
std::string SuggestionText(const std::array<TValveSuggestion, ValveCount>& suggestions);
std::string SuggestionJson(const std::array<TValveSuggestion, ValveCount>& suggestions);

// The command: suggest FILE.pru [--json] [--windows] [--apply -o OUT.pru]. Exit 1 when a
// file cannot be read or written or when a valve has no feasible setting; 2 wrong usage.
int Suggest(const std::vector<std::string>& args, const std::function<void(std::string_view)>& print,
            const std::function<int(const std::string&)>& wrongUsage);

} // namespace halvern::cli
