// Any bytes as a chart part through the rewrite that puts the flows on the second value axis,
// and any bytes that start as a zip archive through the rewrite of the archive's entries, as the
// report's file is finished. What holds: either a refusal in the report's own words
// (EReportError, never another exception, a crash or a leak) or a sound result. A rewritten
// chart has two line groups holding the series it had, two value and two category axes, the
// parts outside the line group and its axes as they were, tags as balanced as before, and is
// refused a second time; a rewritten archive names the entries of the old one in order, holds
// the new content of every entry rewritten and the old content of every other.
#include "reports/ChartAxes.h"
#include "reports/Workbook.h"
#include "reports/ZipRewrite.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

using namespace halvern;

namespace {

// A broken rule names itself before the run stops, so that a finding says what failed.
void Fail(const char* rule, int line) {
    std::fprintf(stderr, "%s:%d: does not hold: %s\n", __FILE__, line, rule);
    std::abort();
}
#define Check(condition) ((condition) ? void() : Fail(#condition, __LINE__))

std::size_t Count(std::string_view text, std::string_view part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

// Whether every element opened is closed in order: a rough reading of XML that is enough to
// tell a part the rewrite broke from one it kept whole. Declarations, comments and
// self-closing tags stand alone.
bool TagsBalanced(std::string_view xml) {
    std::vector<std::string_view> open;
    for (std::size_t at = xml.find('<'); at != std::string_view::npos; at = xml.find('<', at + 1)) {
        if (xml.compare(at, 4, "<!--") == 0) {
            const auto end = xml.find("-->", at + 4);
            if (end == std::string_view::npos) return false;
            at = end;
            continue;
        }
        std::size_t end = at + 1;
        char quote = 0;
        for (; end < xml.size(); ++end) {
            const char c = xml[end];
            if (quote) {
                if (c == quote) quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                break;
            } else if (c == '<') {
                return false;
            }
        }
        if (end >= xml.size()) return false;
        const std::string_view tag = xml.substr(at + 1, end - at - 1);
        at = end;
        if (tag.empty()) return false;
        if (tag[0] == '?' || tag[0] == '!') continue;
        if (tag.back() == '/') continue;
        const bool closing = tag[0] == '/';
        std::string_view name = tag.substr(closing ? 1 : 0);
        name = name.substr(0, name.find_first_of(" \t\r\n"));
        if (name.empty()) return false;
        if (!closing) {
            open.push_back(name);
        } else {
            if (open.empty() || open.back() != name) return false;
            open.pop_back();
        }
    }
    return open.empty();
}

// The axes of the report's charts: the flows alone, as every scenario sheet has them.
const TSecondaryAxis kFlows{{"Flows"}, "'Fixed Outlet'!$H$15:$H$38", "Flow (m³/hr)"};

// The last two series the part names, on the cells the first of them names, with no title:
// a rewrite that moves more than one series and drops the right axis' title.
TSecondaryAxis LastTwoNamed(std::string_view xml) {
    TSecondaryAxis axis;
    std::vector<std::string> names, values;
    for (auto at = xml.find("<c:ser>"); at != std::string_view::npos; at = xml.find("<c:ser>", at + 1)) {
        const auto nameAt = xml.find("<c:tx><c:v>", at);
        const auto valuesAt = xml.find("<c:val><c:numRef><c:f>", at);
        if (nameAt == std::string_view::npos || valuesAt == std::string_view::npos) break;
        const auto nameEnd = xml.find("</c:v>", nameAt);
        const auto valuesEnd = xml.find("</c:f>", valuesAt);
        if (nameEnd == std::string_view::npos || valuesEnd == std::string_view::npos) break;
        names.emplace_back(xml.substr(nameAt + 11, nameEnd - nameAt - 11));
        values.emplace_back(xml.substr(valuesAt + 22, valuesEnd - valuesAt - 22));
    }
    if (names.size() >= 2) {
        axis.SeriesNames = {names[names.size() - 2], names.back()};
        axis.FirstValues = values[values.size() - 2];
    }
    return axis;
}

// The chart part rewritten, or std::nullopt where it was refused.
std::optional<std::string> Rewritten(const std::string& xml, const TSecondaryAxis& axis) {
    std::string result;
    try {
        result = PutOnSecondaryAxis(xml, axis);
    } catch (const EReportError& refusal) {
        Check(std::string_view(refusal.what()).rfind("The chart could not be given its flow axis: ", 0) == 0);
        return std::nullopt;
    }
    Check(Count(xml, "<c:lineChart>") == 1 && Count(result, "<c:lineChart>") == 2);
    Check(Count(result, "</c:lineChart>") == 2);
    // The two groups hold the series of the one, each once; the axes are copied whole, with
    // whatever they hold.
    const std::size_t groupAt = xml.find("<c:lineChart>");
    const std::size_t groupEnd = xml.find("</c:lineChart>");
    const std::size_t groupsEnd = result.find("</c:lineChart>", result.find("</c:lineChart>") + 1);
    const std::string_view group = std::string_view(xml).substr(groupAt, groupEnd - groupAt);
    const std::string_view groups = std::string_view(result).substr(groupAt, groupsEnd - groupAt);
    Check(Count(groups, "<c:ser>") == Count(group, "<c:ser>"));
    Check(Count(result, "<c:valAx>") == 2 && Count(result, "<c:catAx>") == 2);
    Check(result.find("<c:axPos val=\"r\"/>") != std::string::npos);
    Check(result.find("<c:crosses val=\"max\"/>") != std::string::npos);
    // What stands before the line group and after the value axis is untouched.
    Check(result.compare(0, groupAt, xml, 0, groupAt) == 0);
    const std::size_t tailAt = xml.find("</c:valAx>") + std::string("</c:valAx>").size();
    const std::size_t tail = xml.size() - tailAt;
    Check(result.size() >= tail && result.compare(result.size() - tail, tail, xml, tailAt, tail) == 0);
    if (TagsBalanced(xml)) Check(TagsBalanced(result));
    // A part already rewritten has two line groups and is never rewritten twice.
    bool refused = false;
    try {
        PutOnSecondaryAxis(result, axis);
    } catch (const EReportError&) {
        refused = true;
    }
    Check(refused);
    return result;
}

// A folder of this process for the archives, removed when it ends.
class TScratch {
public:
    TScratch() {
        std::string pattern = (std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp") +
                              std::string("/halvern-chart-fuzz-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path_ = pattern;
    }
    ~TScratch() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const char* name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

bool IsChartPart(const std::string& name) {
    return name.rfind("xl/charts/chart", 0) == 0 && name.size() > 19 &&
           name.compare(name.size() - 4, 4, ".xml") == 0;
}

// The entry's content, or std::nullopt where the archive refuses it.
std::optional<std::string> Entry(const std::string& archive, const std::string& name) {
    try {
        return ReadZipEntry(archive, name);
    } catch (const EReportError&) {
        return std::nullopt;
    }
}

void RewriteArchive(std::string_view bytes) {
    static const TScratch scratch;
    const std::string source = scratch.File("in.xlsx");
    const std::string target = scratch.File("out.xlsx");
    {
        std::ofstream out(source, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) std::abort();
    }
    std::filesystem::remove(target);

    // The chart parts get their axis where they can; the list of content types is stored anew
    // as it was, so that an entry read and written again is tried as well as one copied.
    std::map<std::string, std::string> rewritten;
    TZipRewrite rewrite;
    rewrite.Wants = [](const std::string& name) {
        return IsChartPart(name) || name == "[Content_Types].xml";
    };
    rewrite.Rewrite = [&](const std::string& name, const std::string& content) {
        std::string result = content;
        if (IsChartPart(name))
            if (auto chart = Rewritten(content, kFlows)) result = *chart;
        rewritten[name] = result;
        return result;
    };
    try {
        RewriteZip(source, target, rewrite);
    } catch (const EReportError& refusal) {
        Check(std::string_view(refusal.what()).rfind("The workbook could not be completed: ", 0) == 0);
        return;
    }

    const std::vector<std::string> names = ZipEntryNames(source);
    Check(ZipEntryNames(target) == names);
    std::map<std::string, int> seen;
    for (const std::string& name : names)
        ++seen[name];
    for (const std::string& name : names) {
        if (seen[name] > 1) continue; // only the first of a name can be read by name
        const auto after = Entry(target, name);
        if (const auto it = rewritten.find(name); it != rewritten.end()) {
            Check(after && *after == it->second);
        } else if (const auto before = Entry(source, name)) {
            Check(after && *after == *before);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (bytes.rfind("PK", 0) == 0) {
        RewriteArchive(bytes);
        return 0;
    }
    Rewritten(bytes, kFlows);
    const TSecondaryAxis lastTwo = LastTwoNamed(bytes);
    if (!lastTwo.SeriesNames.empty()) Rewritten(bytes, lastTwo);
    return 0;
}
