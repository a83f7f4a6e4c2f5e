// The ".pru" layout, written once as a walk over the project that both the writer and the
// reader follow, so the two can never disagree about which line holds what.
#include "io/ProjectFile.h"

#include "io/TextCodec.h"
#include "model/Messages.h"
#include "model/Numbers.h"
#include "model/Version.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace halvern {

std::string FileFixed(double value) {
    if (!std::isfinite(value)) value = 0; // never write a line the reader would refuse
    // Rounded on its decimal digits, halves away from zero, like every number the program
    // writes; beyond 18 integer digits the plain digits of the binary value.
    if (std::fabs(value) < 1e18) return FormatFixed(value, 18, 3);
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    return std::string(buffer, result.ptr);
}

std::string FileWidth5(int32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%5d", static_cast<int>(value));
    return buffer;
}

std::string FileScientific(double value) {
    if (!std::isfinite(value)) value = 0;
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    const std::string text(buffer, result.ptr); // "1.25000000000000e-01"
    const auto e = text.find('e');
    const int exponent = std::atoi(text.c_str() + e + 1);
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
    std::string out(1, value < 0 ? '-' : ' ');
    out.append(text, 0, e).append(tail);
    return out;
}

std::string FileBoolean(bool value) {
    return value ? "TRUE" : "FALSE";
}

namespace {

// The order of the file after its version line. Visitor members: Text, Fixed, Single,
// Integer, Width5, Time, Boolean, Scientific, Outlet; each handles one line (a number may take
// more when its reader skips blank lines).
template <typename Visitor, typename Data> void WalkLayout(Visitor& v, Data& d) {
    auto& p = d.Values;
    v.Text(p.ZoneName);
    v.Text(p.ZoneRef);
    v.Text(p.WaterSupplySystem);
    v.Text(p.ReportNum);
    for (auto& line : d.CollectLines)
        v.Text(line);
    for (auto& line : d.AnalysisLines)
        v.Text(line);
    v.Fixed(p.InletElev);
    v.Fixed(p.AZPElev);
    v.Fixed(p.TargetElev);
    v.Time(p.LowFlowTime);
    v.Time(p.HighFlowTime);
    v.Boolean(p.DisableTimeWarnings);
    v.Fixed(p.MainsLength);
    v.Integer(p.NumOfConnect);
    v.Integer(p.NumOfServiced);
    v.Integer(p.NumNonResidential);
    v.Integer(p.Population);
    v.Fixed(p.MinPressure);
    v.Fixed(p.MinNightPressure);
    v.Fixed(p.MainsLoss);
    v.Fixed(p.ConnectPres);
    v.Fixed(p.ConnectLoss);
    v.Fixed(p.PropPress);
    v.Fixed(p.PropertyLoss);
    v.Fixed(p.DomesticNight);
    v.Fixed(p.PopActive);
    v.Fixed(p.NonDomMeter);
    v.Fixed(p.NonDomUnmeter);
    v.Fixed(p.DailyNonResidential);
    v.Fixed(p.N1);
    v.Time(p.IntervalLength);
    for (int h = 0; h < HoursPerDay; ++h) {
        v.Fixed(p.ZoneInflow[h]);
        v.Fixed(p.InletPressure[h]);
        v.Fixed(p.AZPPressure[h]);
        v.Fixed(p.CriticalPressure[h]);
    }
    v.Boolean(p.FlowUnitsM3h);
    for (auto& row : d.N1Cells)
        for (auto& cell : row)
            v.Text(cell);
    v.Fixed(p.FixedPRVOutlet);
    v.Single(p.HighPressure);
    v.Single(p.LowPressure);
    v.Scientific(p.TimeStart1);
    v.Scientific(p.TimeStop1);
    v.Scientific(p.TimeStart2);
    v.Scientific(p.TimeStop2);
    v.Integer(p.Intervals);
    for (auto& cell : d.TimeOutlets)
        v.Outlet(cell, p.Intervals);
    v.Fixed(p.LPFlowMod);
    v.Fixed(p.HPFlowMod);
    v.Fixed(p.InflowCost);
    v.Fixed(p.ConsumpCosts);
    v.Width5(p.CostFactor);
    for (int i = 0; i < CostEntries; ++i) {
        v.Text(p.FixedCostItem[i]);
        v.Fixed(p.FixedCostFixedPRV[i]);
        v.Fixed(p.FixedCostTimePRV[i]);
        v.Fixed(p.FixedCostFlowPRV[i]);
        v.Text(p.AnnualCostItem[i]);
        v.Fixed(p.AnnualCostFixedPRV[i]);
        v.Fixed(p.AnnualCostTimePRV[i]);
        v.Fixed(p.AnnualCostFlowPRV[i]);
    }
    v.Fixed(p.ResConsumpChange);
    v.Fixed(p.NonresConsumpChange);
}

class TLayoutWriter {
public:
    std::string Out;
    void Text(const std::string& text) {
        // A line break inside a text would shift every later line of the file; a text
        // holds one line, so any break in it is written as a blank.
        std::string line = text;
        for (char& c : line)
            if (c == '\r' || c == '\n') c = ' ';
        Line(line);
    }
    void Fixed(double value) { Line(FileFixed(value)); }
    void Single(float value) { Line(FileFixed(static_cast<double>(value))); }
    void Integer(int32_t value) { Line(std::to_string(value)); }
    void Width5(int32_t value) { Line(FileWidth5(value)); }
    void Time(double value) { Line(TimeToStr(value)); }
    void Boolean(bool value) { Line(FileBoolean(value)); }
    void Scientific(double value) { Line(FileScientific(value)); }
    void Outlet(const std::string& cell, int32_t) { Text(cell); }

private:
    void Line(const std::string& text) {
        Out += text;
        Out += "\r\n";
    }
};

// Reads the lines after the version tag, one at a time. A number skips blank space and whole
// blank lines before it, takes its token, and discards the rest of the line it was found on.
// After the first unreadable value nothing more is read; the line it was on and what is wrong
// with it are kept for the message.
class TLayoutReader {
public:
    explicit TLayoutReader(TLineCursor& lines) : lines_(lines) {}
    bool Failed = false;
    int FailedLine = 0;
    std::string FailedReason;
    bool EndedEarly = false;

    void Text(std::string& text) {
        if (Failed) return;
        text = NextLine().value_or("");
        // A longer text is no name or note of a zone, and the window could only take ages to
        // show it: the file is refused whole rather than shown in part.
        const std::size_t characters = static_cast<std::size_t>(std::count_if(
            text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
        if (characters > MaxTextCharacters) {
            text.clear();
            Fail("the text has " + std::to_string(characters) +
                 " characters; the program takes texts of at most " + std::to_string(MaxTextCharacters));
        }
    }
    void Fixed(double& value) {
        if (Failed) return;
        const auto token = NextToken();
        if (!token) {
            value = 0;
            return;
        }
        const auto parsed = ParseNumber(*token);
        if (parsed)
            value = *parsed;
        else
            Fail(QuotedForMessage(*token) + " is not a number");
    }
    void Single(float& value) {
        double wide = 0;
        Fixed(wide);
        if (Failed) return;
        if (std::fabs(wide) > FLT_MAX)
            return Fail(FormatGeneral(wide) + " is too large"); // no single holds it
        value = static_cast<float>(wide);
    }
    void Integer(int32_t& value) {
        if (Failed) return;
        const auto token = NextToken();
        if (!token) {
            value = 0;
            return;
        }
        const auto parsed = ParseWhole(*token);
        if (parsed)
            value = *parsed;
        else
            Fail(QuotedForMessage(*token) + (IsWholeNumberOutOfRange(*token)
                                                 ? " is not a whole number the program can hold"
                                                 : " is not a whole number"));
    }
    void Width5(int32_t& value) { Integer(value); }
    void Time(double& value) {
        if (Failed) return;
        const auto line = NextLine();
        if (!line) {
            // A missing time line cannot be read as a time.
            return Fail("the file ends here, before a time line");
        }
        const auto parsed = StrToTime(*line);
        if (parsed)
            value = *parsed;
        else
            Fail(QuotedForMessage(*line) + " is not a time");
    }
    void Boolean(bool& value) {
        const auto line = NextLine();
        value = line && *line == "TRUE";
    }
    void Scientific(double& value) { Fixed(value); }
    // In hourly mode the outlet pressures are the scenario's input, read as numbers; in the
    // interval modes the calculation writes them, and the line is kept as it is.
    void Outlet(std::string& cell, int32_t intervals) {
        if (intervals > 0) return Text(cell);
        if (Failed) return;
        const auto line = NextLine();
        if (!line) {
            cell = "0"; // the file ended early: read as 0, like every number after it
            return;
        }
        const std::string token = FirstToken(*line);
        if (token.empty()) return Fail("the hourly outlet pressure is missing");
        if (!ParseNumber(token)) return Fail(QuotedForMessage(token) + " is not a number");
        cell = token;
    }

private:
    TLineCursor& lines_;
    std::string line_;

    static bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

    // A whole number too large for the file's integers, as opposed to a text or a fraction.
    // Only digits (after a sign) that ParseWhole refused: more than a count can hold.
    // "46.00" is no whole number at all, whatever its value.
    static bool IsWholeNumberOutOfRange(const std::string& token) {
        const std::size_t start = !token.empty() && (token[0] == '+' || token[0] == '-') ? 1 : 0;
        return token.size() > start && token.find_first_not_of("0123456789", start) == std::string::npos;
    }

    static std::string FirstToken(const std::string& line) {
        std::size_t first = 0;
        while (first < line.size() && IsBlank(line[first]))
            ++first;
        std::size_t last = first;
        while (last < line.size() && !IsBlank(line[last]))
            ++last;
        return line.substr(first, last - first);
    }

    void Fail(const std::string& reason) {
        Failed = true;
        FailedLine = static_cast<int>(lines_.LinesTaken());
        FailedReason = reason;
    }

    std::optional<std::string> NextLine() {
        if (Failed) return std::nullopt;
        if (!lines_.Next(line_)) {
            EndedEarly = true;
            return std::nullopt;
        }
        return line_;
    }
    // The next blank-delimited token, or nullopt at the end of the file. Blank lines (a
    // carriage return is blank too) are passed over where they stand, without a copy.
    std::optional<std::string> NextToken() {
        for (std::string_view raw; lines_.NextRaw(raw);) {
            if (std::all_of(raw.begin(), raw.end(), IsBlank)) continue;
            TLineCursor::DropReturns(raw, line_);
            return FirstToken(line_);
        }
        EndedEarly = true;
        return std::nullopt;
    }
};

} // namespace

std::string FormatProjectFile(const TProjectFileData& data) {
    TLayoutWriter writer;
    writer.Text(FileVersionTag);
    WalkLayout(writer, data);
    return writer.Out;
}

TProjectParse ParseProjectFile(std::string_view text) {
    TProjectParse result;
    TLineCursor lines(text);
    std::string first;
    if (!lines.Next(first) || first != FileVersionTag) {
        result.Error = TProjectParseError::InvalidDataFile;
        return result;
    }
    TLayoutReader reader(lines);
    WalkLayout(reader, result.Data);
    if (reader.Failed) {
        result.Error = TProjectParseError::InvalidFormat;
        result.ErrorLine = reader.FailedLine;
        result.ErrorReason = reader.FailedReason;
    } else if (reader.EndedEarly) {
        result.EndedAfterLine = static_cast<int>(lines.LinesTaken());
    }
    return result;
}

std::string InvalidFormatMessage(const TProjectParse& parse) {
    std::string text = Msg::InvalidFileFormat;
    if (parse.ErrorLine > 0) text += Msg::FileFormatLine(parse.ErrorLine, parse.ErrorReason);
    return text;
}

std::string EndedEarlyMessage(const TProjectParse& parse, const std::string& fileName) {
    return Msg::FileEndedEarly(fileName, parse.EndedAfterLine);
}

int FirstUnsavableOutlet(const TProjectFileData& data) {
    if (data.Values.Intervals > 0) return -1;
    for (int r = 0; r < TimeOutletRows; ++r)
        if (!ParseNumber(data.TimeOutlets[static_cast<std::size_t>(r)])) return r;
    return -1;
}

} // namespace halvern
