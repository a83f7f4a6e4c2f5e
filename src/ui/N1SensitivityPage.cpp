// "N1 Sensitivity": the sweep's range and horizon above; under them, scrolling as one, the
// table, the sentences and the savings and payback charts side by side. A sweep that takes longer than
// a frame runs on other threads; the page meanwhile shows the last complete one.
#include "forms/TableLayouts.h"
#include "ui/ChartPopup.h"
#include "ui/ChartView.h"
#include "ui/MarkStringGridView.h"
#include "ui/PageKit.h"
#include "ui/Pages.h"
#include "ui/ViewBinder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

namespace halvern {

namespace {

// Longer than this and the next sweep leaves the interface thread (a frame at 60 Hz is 16 ms;
// the interface has its own work in the frame too).
constexpr std::chrono::milliseconds kLongestSweepInFrame{8};

// Runs the page's sweeps: at once while they are quick, else on a thread of their own, one
// at a time, the newest request waiting for the one running.
class TSweepRunner : public QObject {
public:
    TSweepRunner(TN1SensitivityForm& page, QObject* parent) : QObject(parent), page_(page) {}
    ~TSweepRunner() override {
        if (worker_.joinable()) worker_.join();
    }

    void Want(const TN1SweepSource& source, const TN1Range& range) {
        if (requested_ && requested_->first == source && SameRange(requested_->second, range)) return;
        requested_ = std::make_pair(source, range);
        if (running_) return; // taken up when the running sweep is done
        Start();
    }

private:
    static bool SameRange(const TN1Range& a, const TN1Range& b) {
        return a.From == b.From && a.To == b.To && a.Step == b.Step;
    }

    void Start() {
        auto [source, range] = *requested_;
        if (lastDuration_ <= kLongestSweepInFrame) {
            const auto started = std::chrono::steady_clock::now();
            std::vector<TN1SweepRow> rows = RunN1Sweep(source, range, page_.Threads, page_.Copies.get());
            lastDuration_ = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - started);
            requested_.reset();
            page_.ShowSweep(std::move(source), range, std::move(rows));
            return;
        }
        running_ = true;
        if (worker_.joinable()) worker_.join();
        QPointer<TSweepRunner> self(this);
        const unsigned threads = page_.Threads;
        TN1SweepCopies* copies = page_.Copies.get();
        worker_ = std::thread([self, source = std::move(source), range, threads, copies]() mutable {
            const auto started = std::chrono::steady_clock::now();
            auto rows =
                std::make_shared<std::vector<TN1SweepRow>>(RunN1Sweep(source, range, threads, copies));
            const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - started);
            auto done = std::make_shared<TN1SweepSource>(std::move(source));
            QMetaObject::invokeMethod(
                self.data(),
                [self, rows, done, range, took] {
                    if (self) self->Finished(std::move(*done), range, std::move(*rows), took);
                },
                Qt::QueuedConnection);
        });
    }

    void Finished(TN1SweepSource source, const TN1Range& range, std::vector<TN1SweepRow> rows,
                  std::chrono::milliseconds took) {
        running_ = false;
        lastDuration_ = took;
        if (requested_ && requested_->first == source && SameRange(requested_->second, range))
            requested_.reset();
        page_.ShowSweep(std::move(source), range, std::move(rows));
        if (requested_) Start();
    }

    TN1SensitivityForm& page_;
    std::optional<std::pair<TN1SweepSource, TN1Range>> requested_;
    bool running_ = false;
    std::chrono::milliseconds lastDuration_{0};
    std::thread worker_;
};

QLineEdit* RangeEdit(TViewBinder& b, TEdit& edit) {
    return StyleNumberEdit(b.Edit(edit, kGreenText), 60);
}

// Room a chart needs for its title, axis titles, legend and a plot that reads.
constexpr int kChartWidth = 320, kChartHeight = 300;
// The table shows so many N1 rows before it scrolls on its own (the default sweep has ten).
constexpr int kTableRowsShown = 12;

// A chart of the page, made the first time the page is seen (Qt Charts is slow to build).
void AddChart(TViewBinder& b, QHBoxLayout* row, TChart& chart) {
    auto* holder = new QWidget;
    holder->setObjectName(QString::fromStdString(chart.Name) + "Holder");
    holder->setProperty("helpContext", TN1SensitivityForm::ChartHelpContext);
    auto* holderLayout = new QVBoxLayout(holder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    holder->setMinimumSize(kChartWidth, kChartHeight);
    row->addWidget(holder, 1);
    b.AddRefresher([&b, holder, holderLayout, &chart, view = static_cast<TChartView*>(nullptr)]() mutable {
        if (view || !b.Form.N1SensitivitySheet.Showing()) return;
        view = new TChartView(chart, holder);
        view->setObjectName(QString::fromStdString(chart.Name));
        view->setFocusPolicy(Qt::ClickFocus);
        // Printed where it stands among the table and the other chart, not over the page.
        view->setProperty("printInPlace", true);
        holderLayout->addWidget(view);
        view->show();
        chart.OnChanged = [view] { view->Refresh(); };
        view->Refresh();
        InstallOutletPopup(*view, b, chart);
    });
}

// The table as high as its rows, up to kTableRowsShown of them, so that the page rather
// than the table scrolls down to the sentences and charts.
void FitTableHeight(TMarkStringGridView& view) {
    const TMarkStringGrid& grid = view.Grid();
    int height = 0;
    for (int row = 0; row < grid.RowCount() && row < N1SensitivityLayout::FirstN1Row + kTableRowsShown; ++row)
        height += grid.RowHeight(row) + grid.GridLineWidth;
    height += 2 * view.frameWidth();
    if (grid.TotalWidth() + 2 * view.frameWidth() > view.width())
        height += view.horizontalScrollBar()->sizeHint().height();
    if (view.minimumHeight() != height || view.maximumHeight() != height) view.setFixedHeight(height);
}

} // namespace

QWidget* BuildN1SensitivitySheet(TViewBinder& b) {
    TMainForm& f = b.Form;
    TN1SensitivityForm& s = f.N1Sensitivity;
    auto* page = new QWidget;

    auto* range = new QHBoxLayout;
    range->addWidget(MakeCaption("N1 from"));
    range->addWidget(RangeEdit(b, s.N1FromEdit));
    range->addWidget(MakeCaption("to"));
    range->addWidget(RangeEdit(b, s.N1ToEdit));
    range->addWidget(MakeCaption("step"));
    range->addWidget(RangeEdit(b, s.N1StepEdit));
    range->addSpacing(16);
    range->addWidget(MakeCaption("Payback horizon (months)"));
    range->addWidget(RangeEdit(b, s.HorizonEdit));
    range->addSpacing(16);
    range->addWidget(b.Value(s.RangeWarningLabel, kRedText));
    range->addStretch(1);

    // Under the range, one column that scrolls: the table, the sentences under it, then the
    // two charts side by side, each at a size where its titles and legend read whole. The
    // Summary's cost inputs leave the page too little height for all of them at once.
    auto* body = new QWidget;
    body->setObjectName("N1SensitivityBody");
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 0, 0);
    auto* table = new QHBoxLayout;
    TMarkStringGridView* grid = b.Grid(s.SensitivityGrid);
    table->addWidget(grid);
    table->addStretch(1);
    column->addLayout(table);
    column->addWidget(b.Value(s.ProjectN1Label));
    for (TLabel& sentence : s.SentenceLabels) {
        QLabel* label = b.Value(sentence, kNavyText);
        label->setWordWrap(true);
        column->addWidget(label);
    }
    auto* charts = new QHBoxLayout;
    AddChart(b, charts, s.SavingsChart);
    AddChart(b, charts, s.PaybackChart);
    column->addLayout(charts, 1);

    auto* scroll = new QScrollArea;
    scroll->setObjectName("N1SensitivityScroll");
    scroll->setWidget(body);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    auto* layout = new QVBoxLayout(page);
    layout->addLayout(range);
    layout->addWidget(scroll, 1);

    // Sweeps on every core; quick ones at once, slow ones off the interface thread. After
    // every event the page sweeps again if what it reads has changed.
    s.Threads = std::max(1u, std::thread::hardware_concurrency());
    auto* runner = new TSweepRunner(s, page);
    s.OnSweepWanted = [runner](const TN1SweepSource& source, const TN1Range& n1) {
        runner->Want(source, n1);
    };
    // A sweep may land in the middle of a refresh; the widgets follow it right after.
    s.OnChanged = [&b] {
        QMetaObject::invokeMethod(
            &b, [&b] { b.Refresh(); }, Qt::QueuedConnection);
    };
    QObject::connect(page, &QObject::destroyed, [&s] {
        s.OnSweepWanted = nullptr;
        s.OnChanged = nullptr;
    });
    b.AddRefresher([&s] { s.Refresh(); });
    b.AddRefresher([grid] { FitTableHeight(*grid); });
    return page;
}

} // namespace halvern
