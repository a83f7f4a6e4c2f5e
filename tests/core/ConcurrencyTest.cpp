// Several windows on several threads at once, as `halvern-cli summary -j N` runs them: each
// shows exactly what it shows when it is the only one. Under ThreadSanitizer (scripts/test
// --tsan) this is also the proof that the core shares nothing mutable between windows.
#include "IoFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <thread>

using namespace halvern;
using namespace halvern::test;

namespace {

// The demo and the hard zones: every scenario, the AZP root search, an overflow, warnings.
std::vector<std::string> Projects() {
    std::vector<std::string> files{TestData("../../examples/demo-zone.pru")};
    for (const char* name :
         {"azp-unsettled", "flow-target-overflow", "flow-target-unreachable", "hourly-mode",
          "n1-low-never-pays", "negative-critical", "quarter-hour", "time-warning-ties"})
        files.push_back(TestData(std::string("golden/") + name + ".pru"));
    return files;
}

std::string ReadAndShow(const std::string& file) {
    TShownForm form;
    form.Dialogs.Clear();
    form.Read(file);
    std::string shown = Snapshot(*form);
    for (const std::string& text : form.Dialogs.Texts())
        shown += "message:" + text + "\n";
    return shown;
}

TEST(Concurrency, WindowsOnSeveralThreadsShowWhatEachShowsAlone) {
    const std::vector<std::string> files = Projects();
    std::map<std::string, std::string> alone;
    for (const std::string& file : files)
        alone[file] = ReadAndShow(file);

    // Four threads, each through all projects from a different start, so that different
    // projects are being calculated at the same moment.
    constexpr int Threads = 4;
    std::vector<std::vector<std::pair<std::string, std::string>>> seen(Threads);
    {
        std::vector<std::jthread> workers;
        for (int t = 0; t < Threads; ++t)
            workers.emplace_back([&, t] {
                for (std::size_t k = 0; k < files.size(); ++k) {
                    const std::string& file = files[(k + static_cast<std::size_t>(t) * 2) % files.size()];
                    seen[static_cast<std::size_t>(t)].emplace_back(file, ReadAndShow(file));
                }
            });
    }
    for (const auto& results : seen)
        for (const auto& [file, shown] : results)
            EXPECT_EQ(shown, alone[file]) << file;
}

} // namespace
