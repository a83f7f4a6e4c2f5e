// A pressure reducing valve can lower the pressure behind it but never raise it. An hour
// whose outlet would be above its inlet pressure has the valve standing fully open: the
// zone then is as measured in that hour. These are the marks and the page text that show
// such hours in every valve table.
#pragma once
#include "forms/Colours.h"
#include "forms/MarkStringGrid.h"
#include "forms/TableLayouts.h"
#include "model/Messages.h"

#include <string>
#include <vector>

namespace halvern {

// The outlet cell of a valve table in its normal colour, or grey where the valve is open.
inline void MarkOutletCell(TMarkStringGrid& grid, int row, bool fullyOpen, TColor normal) {
    grid.SetFontColour(PRVGridLayout::OutletCol, row, fullyOpen ? clValveOpen : normal);
}

inline bool IsOutletOpen(const TMarkStringGrid& grid, int row) {
    return grid.FontColourOf(PRVGridLayout::OutletCol, row) == clValveOpen;
}

// "The valve is fully open in 2 hours (08:00, 09:00): <reason>", or nothing when it never is.
// `hourLabels` are the table's hour labels ("08:00 - 09:00"); the text names their starts.
inline std::string FullyOpenText(const std::vector<std::string>& hourLabels, const char* reason) {
    if (hourLabels.empty()) return {};
    std::string hours;
    for (const std::string& label : hourLabels)
        hours += (hours.empty() ? "" : ", ") + label.substr(0, 5);
    return Msg::ValveFullyOpen(static_cast<int>(hourLabels.size()), hours, reason);
}

} // namespace halvern
