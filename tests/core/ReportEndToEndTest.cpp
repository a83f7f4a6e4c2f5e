// The seven-sheet report of the demo zone written through the real back end and opened in a
// real spreadsheet application: LibreOffice turns it into a PDF, whose text must carry the
// sheets' headings, the hourly values, the page footers in order and the charts' axis
// titles; and in the file itself every chart reads its flows on a second axis.
#include "IoFixture.h"
#include "ReportFixture.h"
#include "model/Version.h"
#include "reports/ZipRewrite.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

using namespace halvern;
using namespace halvern::test;
using namespace halvern::test;
using ::testing::HasSubstr;

namespace {

std::string Quote(const std::string& arg) {
    std::string quoted = "'";
    for (const char c : arg)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs a shell command; its standard output, or nullopt when it did not end well.
std::optional<std::string> RunShell(const std::string& command) {
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return std::nullopt;
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    const int status = ::pclose(pipe);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// The chart parts of the last sheet: the two charts after the four scenario charts.
std::string xmlOfSheetCharts(const std::string& file) {
    return ReadZipEntry(file, "xl/charts/chart5.xml") + ReadZipEntry(file, "xl/charts/chart6.xml");
}

class ReportEndToEnd : public ReportFixture {
protected:
    ReportEndToEnd() {
        // The real back end this time.
        report.Save = [](const TWorkbook& book, const std::string& fileName) {
            return SaveWorkbookAs(book, fileName);
        };
        report.Clock = [] { return std::time(nullptr); };
    }
};

} // namespace

TEST_F(ReportEndToEnd, TheDemoReportOpensInASpreadsheetApplication) {
    ASSERT_TRUE(RunShell("command -v soffice >/dev/null")) << "LibreOffice is needed (scripts/install-deps)";
    TScratchDir dir;
    const std::string file = dir.File("demo report.xlsx");
    ReadDemo();
    const auto boxes = dialog.CheckBoxes();
    Create({boxes.begin(), boxes.end()}, file);
    ASSERT_TRUE(report.HasLastReport()) << ::testing::PrintToString(dialogs.Texts());

    // Every chart draws its flows on the second value axis, on the right.
    for (int chart = 1; chart <= 4; ++chart) {
        SCOPED_TRACE(chart);
        const std::string xml = ReadZipEntry(file, "xl/charts/chart" + std::to_string(chart) + ".xml");
        EXPECT_EQ(Count(xml, "<c:lineChart>"), 2u);
        const std::string second = xml.substr(xml.rfind("<c:lineChart>"));
        EXPECT_THAT(second.substr(0, second.find("</c:lineChart>")), HasSubstr("<c:v>Flows</c:v>"));
        EXPECT_THAT(xml, HasSubstr("<c:axPos val=\"r\"/>"));
        EXPECT_THAT(xml, HasSubstr("<c:crosses val=\"max\"/>"));
    }

    // A profile of its own, so that the test neither meets nor leaves the user's.
    const std::string profile = "file://" + dir.File("profile");
    const auto converted =
        RunShell("cd " + Quote(dir.Path().string()) + " && soffice --headless --norestore " +
                 Quote("-env:UserInstallation=" + profile) + " --convert-to pdf --outdir " +
                 Quote(dir.Path().string()) + " " + Quote(file) + " >/dev/null 2>&1");
    ASSERT_TRUE(converted) << "LibreOffice could not open the report";
    const std::string pdf = dir.File("demo report.pdf");
    const auto pages = RunShell("pdfinfo " + Quote(pdf));
    ASSERT_TRUE(pages);
    EXPECT_THAT(*pages, ::testing::ContainsRegex("Pages: +7\n")); // one page per sheet
    const auto text = RunShell("pdftotext -layout " + Quote(pdf) + " -");
    ASSERT_TRUE(text);

    for (const char* heading :
         {"General Information", "Default Parameters", "Flow and Pressure", "Current Situation", "Summary",
          "Fixed Outlet", "Time Modulated", "Flow Modulated", "Night Consumption Calculations",
          "Implementation Costs:", "Payback"})
        EXPECT_THAT(*text, HasSubstr(heading));
    // Hourly values as the input table holds them, and the zone's name in the titles.
    EXPECT_THAT(*text, HasSubstr("00:00 - 01:00"));
    EXPECT_THAT(*text, HasSubstr("82.80"));
    EXPECT_THAT(*text, HasSubstr(form.Project.ZoneName));
    EXPECT_THAT(*text, HasSubstr("Fixed Outlet: " + form.Project.ZoneName));
    // The footers count the pages in order, once each.
    std::size_t at = 0;
    for (int page = 1; page <= 7; ++page) {
        const std::string footer = "Page " + std::to_string(page) + " of 7";
        EXPECT_EQ(Count(*text, footer), 1u) << footer;
        const std::size_t found = text->find(footer);
        EXPECT_GT(found, at) << footer;
        at = found == std::string::npos ? at : found;
    }
    EXPECT_EQ(Count(*text, VersionText), 7u);
    // The axis titles of all four charts.
    EXPECT_EQ(Count(*text, "Pressure(m)"), 4u);
    EXPECT_EQ(Count(*text, "Flow (m³/hr)"), 4u);
    EXPECT_EQ(Count(*text, "Hours"), 4u);

    // The N1 sweep's page, last: its table, sentences and both charts, on a page of its own.
    const std::string last = text->substr(text->find("Page 6 of 7"));
    EXPECT_THAT(last, HasSubstr("N1 Sensitivity"));
    EXPECT_THAT(last, HasSubstr("Savings (R/a)"));
    EXPECT_THAT(last, HasSubstr(form.N1Sensitivity.SentenceLabels[0].Caption));
    EXPECT_THAT(last, HasSubstr("Savings against N1: " + form.Project.ZoneName));
    EXPECT_THAT(last, HasSubstr("Payback against N1: " + form.Project.ZoneName));
    EXPECT_THAT(last, HasSubstr("Payback (months)"));
    EXPECT_EQ(Count(xmlOfSheetCharts(file), "<c:lineChart>"), 2u);
    // Each marks the project's N1 with its upright line.
    EXPECT_EQ(Count(xmlOfSheetCharts(file), "<c:errBars>"), 2u);
    EXPECT_EQ(Count(last, "Project N1 1.10"), 2u);
}
