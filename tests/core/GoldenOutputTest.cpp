// Golden outputs: everything the window shows for a handful of zones, stored as halvern-cli
// prints it, and compared byte for byte. The zones (tests/data/golden/README.md) reach the
// paths where a small change of an iteration, a tie or a message shows only in the second
// decimal of a few cells. A change that is meant to change what the program shows rewrites
// them with scripts/update-golden.
#ifdef HALVERN_CLI
#include "CliRunner.h"
#include "IoFixture.h"

#include <algorithm>
#include <cstdio>

using namespace halvern::test;

namespace {

struct TGoldenProject {
    std::filesystem::path Folder; // where the project lies; the command runs there
    std::string Name;             // file name without ".pru"
};

// Names the project in a failure instead of dumping its bytes.
void PrintTo(const TGoldenProject& project, std::ostream* out) {
    *out << project.Name << ".pru";
}

std::filesystem::path GoldenFolder() {
    return std::filesystem::path(TestData("golden"));
}

// Every project of the golden folder, and the demo.
std::vector<TGoldenProject> GoldenProjects() {
    std::vector<TGoldenProject> projects;
    for (const auto& entry : std::filesystem::directory_iterator(GoldenFolder()))
        if (entry.path().extension() == ".pru")
            projects.push_back({GoldenFolder(), entry.path().stem().string()});
    std::sort(projects.begin(), projects.end(),
              [](const TGoldenProject& a, const TGoldenProject& b) { return a.Name < b.Name; });
    projects.push_back({std::filesystem::path(TestData("../../examples")), "demo-zone"});
    return projects;
}

// Runs halvern-cli in the project's folder with the plain file name and the C locale, as
// scripts/update-golden does.
TCliRun RunInFolder(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    return RunCli(args, {.WorkingFolder = std::filesystem::canonical(folder).string(), .Locale = "C"});
}

// The folder's full name (which the status line shows) becomes "<dir>".
std::string WithoutFolder(std::string text, const std::filesystem::path& folder) {
    const std::string dir = std::filesystem::canonical(folder).string();
    for (std::size_t at = text.find(dir); at != std::string::npos; at = text.find(dir, at + 5))
        text.replace(at, dir.size(), "<dir>");
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// Where two outputs first part: the line number and both lines, so that a failure reads as
// the one cell or message that moved, not as two pages of JSON.
std::string FirstDifference(const std::string& file, const std::string& expected, const std::string& actual) {
    const std::vector<std::string> want = Lines(expected);
    const std::vector<std::string> got = Lines(actual);
    std::size_t i = 0;
    while (i < want.size() && i < got.size() && want[i] == got[i])
        ++i;
    const auto show = [](const std::vector<std::string>& lines, std::size_t at) {
        return at < lines.size() ? "  " + lines[at] : std::string("  (end of output)");
    };
    if (i == want.size() && i == got.size())
        return file + ": the lines agree but the bytes differ (line ends or the final line break)";
    return file + ":" + std::to_string(i + 1) + ": first difference\n  expected:\n" + show(want, i) +
           "\n  actual:\n" + show(got, i) + "\n  (rewrite on purpose with scripts/update-golden)";
}

void ExpectGolden(const std::string& goldenName, const std::string& actual) {
    const std::filesystem::path file = GoldenFolder() / goldenName;
    ASSERT_TRUE(std::filesystem::exists(file)) << file.string() << " is missing; run scripts/update-golden";
    const std::string expected = ReadBytes(file.string());
    EXPECT_TRUE(expected == actual) << FirstDifference("tests/data/golden/" + goldenName, expected, actual);
}

class GoldenOutput : public ::testing::TestWithParam<TGoldenProject> {};

TEST_P(GoldenOutput, ShowsExactlyWhatItShowedBefore) {
    const TGoldenProject& project = GetParam();
    const std::string pru = project.Name + ".pru";

    const TCliRun json = RunInFolder(project.Folder, {"show", "--json", pru});
    ExpectGolden(project.Name + ".json", WithoutFolder(json.Out, project.Folder));

    const TCliRun text = RunInFolder(project.Folder, {"show", pru});
    ExpectGolden(project.Name + ".txt", WithoutFolder(text.Out, project.Folder));
    ExpectGolden(project.Name + ".err", WithoutFolder(text.Err, project.Folder));
}

INSTANTIATE_TEST_SUITE_P(Zones, GoldenOutput, ::testing::ValuesIn(GoldenProjects()),
                         [](const ::testing::TestParamInfo<TGoldenProject>& zone) {
                             std::string name = zone.param.Name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// Every stored output belongs to a project that is still compared.
TEST(GoldenOutputSet, HasNoOrphans) {
    std::vector<std::string> names;
    for (const TGoldenProject& project : GoldenProjects())
        names.push_back(project.Name);
    EXPECT_GE(names.size(), 8u);
    for (const auto& entry : std::filesystem::directory_iterator(GoldenFolder())) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".json" && ext != ".txt" && ext != ".err") continue;
        EXPECT_NE(std::find(names.begin(), names.end(), entry.path().stem().string()), names.end())
            << entry.path().filename().string() << " has no project";
    }
}

} // namespace
#endif
