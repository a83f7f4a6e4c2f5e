// The flows of every report chart are read on a second value axis on the right, which the
// workbook library cannot draw: the finished chart part is rewritten so that its last
// series form a second line group on their own axes (a value axis on the right crossing at
// the maximum, and a hidden category axis). A chart part that does not read as expected
// is refused, never half rewritten.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace halvern {

struct TSecondaryAxis {
    // The names of the last series of the chart, which go onto the second axis, in order.
    std::vector<std::string> SeriesNames;
    // The values reference of the first of them ("'Fixed Outlet'!$H$15:$H$38"), to be sure
    // the chart part is the one meant.
    std::string FirstValues;
    std::string Title; // the right axis' title; empty for none
    // Fixed ends of the right axis; unset, the spreadsheet chooses (the left axis' ends are
    // never taken over).
    std::optional<double> Min = std::nullopt, Max = std::nullopt;
    std::optional<double> Step = std::nullopt; // between its labels
};

// Throws EReportError when the part is not a line chart with the series and axes expected.
std::string PutOnSecondaryAxis(const std::string& chartXml, const TSecondaryAxis& axis);

// Texts as they stand between XML tags ("&amp;", "&lt;", "&gt;").
std::string XmlEscaped(const std::string& text);

} // namespace halvern
