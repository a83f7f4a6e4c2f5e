// The Summary's "N1 Sensitivity" page as a toolkit-free model: the range and horizon edits,
// the table of the last complete sweep, its two charts and one sentence per valve. The sweep
// runs on copies of the main window; the view may run it on another thread (OnSweepWanted)
// and hand the finished rows back with ShowSweep.
#pragma once
#include "forms/Chart.h"
#include "forms/Controls.h"
#include "forms/MarkStringGrid.h"
#include "forms/N1Sweep.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace halvern {

class TMainForm;

class TN1SensitivityForm {
public:
    explicit TN1SensitivityForm(TMainForm& main);
    TN1SensitivityForm(const TN1SensitivityForm&) = delete;
    TN1SensitivityForm& operator=(const TN1SensitivityForm&) = delete;
    TMainForm& MainForm;

    // The controls join no registry: the page is no part of the project (nothing here is
    // saved, and `show --json` lists the window as the project shows it).
    TEdit N1FromEdit{"N1FromEdit"}, N1ToEdit{"N1ToEdit"}, N1StepEdit{"N1StepEdit"};
    TEdit HorizonEdit{"HorizonEdit"};              // months
    TLabel RangeWarningLabel{"RangeWarningLabel"}; // why the range or horizon is refused
    TLabel ProjectN1Label{"ProjectN1Label"};       // "Highlighted: the project's N1 (1.00)"
    TMarkStringGrid SensitivityGrid{"SensitivityGrid"};
    TChart SavingsChart{"SensitivitySavingsChart"}, PaybackChart{"SensitivityPaybackChart"};
    // The F1 topic of both charts (the page's own topic is its tab's).
    static constexpr int ChartHelpContext = 96;
    std::array<TLabel, SweepValves> SentenceLabels{TLabel{"FixedSentenceLabel"}, TLabel{"TimeSentenceLabel"},
                                                   TLabel{"FlowSentenceLabel"}};

    // What the edits hold when they are valid; the last valid values stay otherwise.
    TN1Range Range;
    double Horizon = DefaultPaybackHorizon;

    // The last complete sweep and what it was made from.
    std::vector<TN1SweepRow> Rows;
    std::optional<TN1SweepSource> SweptSource;
    TN1Range SweptRange;
    // Threads a sweep made here may use, and the copies of the window kept between sweeps.
    unsigned Threads = 1;
    std::unique_ptr<TN1SweepCopies> Copies = std::make_unique<TN1SweepCopies>();

    // Set by a view that sweeps off its interface thread: asked for a sweep of this source
    // and range, it later calls ShowSweep with the rows. Unset, Refresh sweeps at once.
    std::function<void(const TN1SweepSource& source, const TN1Range& range)> OnSweepWanted;
    // Raised when the table, charts and sentences changed.
    std::function<void()> OnChanged;

    // The page came into view: sweep if the window's project or the range changed since.
    void N1SensitivitySheetShow();
    // Sweep if needed (the page is in view and something the sweep reads changed).
    void Refresh();
    // Takes a finished sweep: the table, the charts and the sentences.
    void ShowSweep(TN1SweepSource source, const TN1Range& range, std::vector<TN1SweepRow> rows);
    // A sweep of the window now, whether or not the page is in view (the report's sheet).
    void SweepNow();

    void RangeEditChange();   // the three range edits
    void HorizonEditChange(); // the sentences follow at once; nothing is swept again

    // Rows in the table, the charts and the sentences, from Rows.
    void FillGrid();
    void DrawCharts();
    void WriteSentences();

private:
    void SetupGrid();
    void DesignCharts();
    void Changed();
};

} // namespace halvern
