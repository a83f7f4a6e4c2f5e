#include "reports/ChartAxes.h"

#include "reports/Workbook.h"
#include <charconv>

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>

namespace halvern {

namespace {

[[noreturn]] void Unexpected(const std::string& what) {
    throw EReportError("The chart could not be given its flow axis: " + what);
}

struct TSpan {
    std::size_t Begin = 0; // at the opening tag
    std::size_t End = 0;   // just after the closing tag
};

std::size_t Count(std::string_view text, std::string_view part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string_view::npos;
         at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// The one element <tag>...</tag> of the text; refused when there is none or more than one.
TSpan OnlyElement(std::string_view text, const std::string& tag) {
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    if (Count(text, open) != 1 || Count(text, close) != 1) Unexpected("not one " + tag);
    const std::size_t begin = text.find(open);
    const std::size_t end = text.find(close);
    if (end < begin) Unexpected(tag + " out of order");
    return {begin, end + close.size()};
}

std::vector<TSpan> Elements(std::string_view text, const std::string& tag) {
    const std::string open = "<" + tag + ">";
    const std::string close = "</" + tag + ">";
    std::vector<TSpan> spans;
    for (std::size_t at = text.find(open); at != std::string_view::npos; at = text.find(open, at)) {
        const std::size_t end = text.find(close, at);
        if (end == std::string_view::npos) Unexpected(tag + " not closed");
        spans.push_back({at, end + close.size()});
        at = end + close.size();
    }
    return spans;
}

// The value of <tag val="..."/>, which must stand once in the text.
std::string OnlyValue(std::string_view text, const std::string& tag) {
    const std::string open = "<" + tag + " val=\"";
    if (Count(text, open) != 1) Unexpected("not one " + tag);
    const std::size_t from = text.find(open) + open.size();
    const std::size_t to = text.find('"', from);
    if (to == std::string_view::npos) Unexpected(tag + " unterminated");
    return std::string(text.substr(from, to - from));
}

void ReplaceOnce(std::string& text, const std::string& from, const std::string& to) {
    if (Count(text, from) != 1) Unexpected("not one " + from);
    text.replace(text.find(from), from.size(), to);
}

// Removes the element where there is one; two of them (or an open tag before a close of
// another) would leave the part half rewritten.
void RemoveElementIfAny(std::string& text, const std::string& tag) {
    const std::string open = "<" + tag + ">";
    const std::string empty = "<" + tag + "/>";
    if (Count(text, open) + Count(text, empty) > 1) Unexpected("more than one " + tag);
    if (const auto at = text.find(empty); at != std::string::npos) text.erase(at, empty.size());
    if (const auto at = text.find(open); at != std::string::npos) {
        const std::string close = "</" + tag + ">";
        const auto end = text.find(close, at);
        if (end == std::string::npos) Unexpected(tag + " not closed");
        text.erase(at, end + close.size() - at);
    }
}

std::string AxisId(const std::string& id) {
    return "<c:axId val=\"" + id + "\"/>";
}
std::string CrossAx(const std::string& id) {
    return "<c:crossAx val=\"" + id + "\"/>";
}

} // namespace

// A number as XML writes one, whatever the locale: "-12.5".
std::string XmlNumber(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string XmlEscaped(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string PutOnSecondaryAxis(const std::string& chartXml, const TSecondaryAxis& axis) {
    if (axis.SeriesNames.empty()) Unexpected("no series named for the second axis");
    const TSpan group = OnlyElement(chartXml, "c:lineChart");
    const std::string_view groupText =
        std::string_view(chartXml).substr(group.Begin, group.End - group.Begin);
    const std::vector<TSpan> series = Elements(groupText, "c:ser");
    const std::size_t moved = axis.SeriesNames.size();
    if (series.size() <= moved) Unexpected("too few series");
    // The series are split between the groups whole: one after the other, each one element.
    for (std::size_t i = 0; i < series.size(); ++i) {
        const std::string_view text = groupText.substr(series[i].Begin, series[i].End - series[i].Begin);
        if (Count(text, "<c:ser>") != 1) Unexpected("a series within a series");
        if (i > 0 && groupText.substr(series[i - 1].End, series[i].Begin - series[i - 1].End)
                             .find_first_not_of(" \t\r\n") != std::string_view::npos)
            Unexpected("something between the series");
    }

    // The moved series are the last ones, under the names and on the cells expected.
    const std::size_t firstMoved = series.size() - moved;
    for (std::size_t i = 0; i < moved; ++i) {
        const TSpan& s = series[firstMoved + i];
        const std::string_view text = groupText.substr(s.Begin, s.End - s.Begin);
        const std::string name = "<c:tx><c:v>" + XmlEscaped(axis.SeriesNames[i]) + "</c:v></c:tx>";
        if (text.find(name) == std::string_view::npos) Unexpected("no series " + axis.SeriesNames[i]);
    }
    {
        const TSpan& s = series[firstMoved];
        const std::string_view text = groupText.substr(s.Begin, s.End - s.Begin);
        if (text.find("<c:val><c:numRef><c:f>" + XmlEscaped(axis.FirstValues) + "</c:f>") ==
            std::string_view::npos)
            Unexpected("the series " + axis.SeriesNames[0] + " is not over " + axis.FirstValues);
    }

    // The group's own axes: the ids after its last series.
    const std::size_t tailBegin = series.back().End;
    const std::string tail(
        groupText.substr(tailBegin, groupText.size() - tailBegin - std::string("</c:lineChart>").size()));
    const std::string head(groupText.substr(std::string("<c:lineChart>").size(),
                                            series.front().Begin - std::string("<c:lineChart>").size()));
    if (Count(tail, "<c:axId val=\"") != 2) Unexpected("not two axes in the line group");
    const std::size_t firstId = tail.find("<c:axId val=\"") + 13;
    const std::string catId = tail.substr(firstId, tail.find('"', firstId) - firstId);
    const std::size_t secondId = tail.find("<c:axId val=\"", firstId) + 13;
    const std::string valId = tail.substr(secondId, tail.find('"', secondId) - secondId);

    const TSpan catAx = OnlyElement(chartXml, "c:catAx");
    const TSpan valAx = OnlyElement(chartXml, "c:valAx");
    std::string catText = chartXml.substr(catAx.Begin, catAx.End - catAx.Begin);
    std::string valText = chartXml.substr(valAx.Begin, valAx.End - valAx.Begin);
    if (OnlyValue(catText, "c:axId") != catId || OnlyValue(valText, "c:axId") != valId ||
        OnlyValue(catText, "c:crossAx") != valId || OnlyValue(valText, "c:crossAx") != catId)
        Unexpected("the axes do not belong to the line group");

    // Two new ids, unused in the part.
    unsigned long long largest = 0;
    try {
        largest = std::max(std::stoull(catId), std::stoull(valId));
    } catch (const std::exception&) {
        Unexpected("axis ids that are no numbers");
    }
    const std::string catId2 = std::to_string(largest + 1);
    const std::string valId2 = std::to_string(largest + 2);
    for (const std::string& id : {catId2, valId2})
        if (chartXml.find("val=\"" + id + "\"") != std::string::npos) Unexpected("axis id " + id + " taken");

    // The second line group: the moved series on the new axes.
    std::string secondTail = tail;
    ReplaceOnce(secondTail, AxisId(catId), AxisId(catId2));
    ReplaceOnce(secondTail, AxisId(valId), AxisId(valId2));
    std::string secondGroup = "<c:lineChart>" + head;
    for (std::size_t i = firstMoved; i < series.size(); ++i)
        secondGroup.append(groupText.substr(series[i].Begin, series[i].End - series[i].Begin));
    secondGroup += secondTail + "</c:lineChart>";

    std::string firstGroup = "<c:lineChart>" + head;
    for (std::size_t i = 0; i < firstMoved; ++i)
        firstGroup.append(groupText.substr(series[i].Begin, series[i].End - series[i].Begin));
    firstGroup += tail + "</c:lineChart>";

    // A hidden category axis under the second group ...
    std::string catText2 = catText;
    ReplaceOnce(catText2, AxisId(catId), AxisId(catId2));
    ReplaceOnce(catText2, CrossAx(valId), CrossAx(valId2));
    RemoveElementIfAny(catText2, "c:title");
    RemoveElementIfAny(catText2, "c:majorGridlines");
    ReplaceOnce(catText2, "</c:scaling>", "</c:scaling><c:delete val=\"1\"/>");
    // ... and its value axis on the right, crossing at the far end of the hours.
    std::string valText2 = valText;
    ReplaceOnce(valText2, AxisId(valId), AxisId(valId2));
    ReplaceOnce(valText2, CrossAx(catId), CrossAx(catId2));
    ReplaceOnce(valText2, "<c:axPos val=\"l\"/>", "<c:axPos val=\"r\"/>");
    RemoveElementIfAny(valText2, "c:majorGridlines");
    RemoveElementIfAny(valText2, "c:minorGridlines");
    // Its own scale: the left axis' ends are pressures, not flows.
    for (const char* end : {"<c:max val=\"", "<c:min val=\""})
        if (const std::size_t at = valText2.find(end); at != std::string::npos) {
            const std::size_t close = valText2.find("/>", at);
            if (close == std::string::npos) Unexpected("an axis end not closed");
            valText2.erase(at, close + 2 - at);
        }
    {
        std::string ends;
        if (axis.Max) ends += "<c:max val=\"" + XmlNumber(*axis.Max) + "\"/>";
        if (axis.Min) ends += "<c:min val=\"" + XmlNumber(*axis.Min) + "\"/>";
        if (!ends.empty()) ReplaceOnce(valText2, "</c:scaling>", ends + "</c:scaling>");
        if (const std::size_t at = valText2.find("<c:majorUnit val=\""); at != std::string::npos) {
            const std::size_t close = valText2.find("/>", at);
            if (close == std::string::npos) Unexpected("a major unit not closed");
            valText2.erase(at, close + 2 - at);
        }
        if (axis.Step) {
            if (valText2.find("<c:minorUnit") != std::string::npos ||
                valText2.find("<c:dispUnits") != std::string::npos)
                Unexpected("units the second axis cannot take over");
            ReplaceOnce(valText2, "</c:valAx>",
                        "<c:majorUnit val=\"" + XmlNumber(*axis.Step) + "\"/></c:valAx>");
        }
    }
    ReplaceOnce(valText2, "<c:crosses val=\"autoZero\"/>", "<c:crosses val=\"max\"/>");
    if (axis.Title.empty()) {
        RemoveElementIfAny(valText2, "c:title");
    } else {
        const TSpan title = OnlyElement(valText2, "c:title");
        std::string titleText = valText2.substr(title.Begin, title.End - title.Begin);
        if (Count(titleText, "<a:t>") != 1) Unexpected("the value axis title is not one text");
        const std::size_t from = titleText.find("<a:t>") + 5;
        const std::size_t to = titleText.find("</a:t>", from);
        if (to == std::string::npos) Unexpected("the value axis title is not closed");
        titleText.replace(from, to - from, XmlEscaped(axis.Title));
        valText2.replace(title.Begin, title.End - title.Begin, titleText);
    }

    // What makes them the second pair must have stood in the axes themselves, not in a part
    // of one (its title) that was dropped or rewritten since.
    const std::pair<const std::string*, std::string> parts[] = {{&catText2, AxisId(catId2)},
                                                                {&catText2, CrossAx(valId2)},
                                                                {&catText2, "<c:delete val=\"1\"/>"},
                                                                {&valText2, AxisId(valId2)},
                                                                {&valText2, CrossAx(catId2)},
                                                                {&valText2, "<c:axPos val=\"r\"/>"},
                                                                {&valText2, "<c:crosses val=\"max\"/>"}};
    for (const auto& [text, part] : parts) {
        std::string own = *text;
        RemoveElementIfAny(own, "c:title");
        if (Count(own, part) != 1 || Count(*text, part) != 1) Unexpected("the second axes have lost " + part);
    }

    if (catAx.Begin < group.End || valAx.Begin < group.End)
        Unexpected("the axes stand before the line group");
    std::string result = chartXml;
    // From the back, so that the earlier positions stay valid.
    result.insert(valAx.End, catText2 + valText2);
    result.replace(group.Begin, group.End - group.Begin, firstGroup + secondGroup);
    return result;
}

} // namespace halvern
