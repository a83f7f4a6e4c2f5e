#include "ui/SuggestDialog.h"

#include "ui/ViewBinder.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace halvern {

TSuggestDialog::TSuggestDialog(TViewBinder& binder, std::optional<TValve> valve, QWidget* parent)
    : QDialog(parent), binder_(binder), valve_(valve) {
    setObjectName("SuggestDialog");
    setWindowTitle(valve ? QString("Suggest: %1").arg(ValveName(*valve)) : QString("Suggest all"));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    if (!valve || *valve == TValve::Time) {
        windows_ = new QCheckBox("also choose the windows", this);
        windows_->setObjectName("ChooseWindowsCheck");
        top->addWidget(windows_);
    }
    start_ = new QPushButton("Suggest", this);
    start_->setObjectName("SuggestStartButton");
    top->addWidget(start_);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 1000);
    top->addWidget(progress_, 1);
    cancel_button_ = new QPushButton("Cancel", this);
    cancel_button_->setObjectName("SuggestCancelButton");
    top->addWidget(cancel_button_);
    layout->addLayout(top);

    table_ = new QTableWidget(this);
    table_->setObjectName("SuggestTable");
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->setMinimumSize(560, 380);
    layout->addWidget(table_, 1);
    notes_ = new QLabel(this);
    notes_->setWordWrap(true);
    notes_->setObjectName("SuggestNotes");
    layout->addWidget(notes_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    apply_ = new QPushButton("Apply", this);
    apply_->setObjectName("SuggestApplyButton");
    undo_ = new QPushButton("Undo", this);
    undo_->setObjectName("SuggestUndoButton");
    auto* close = new QPushButton("Close", this);
    buttons->addWidget(apply_);
    buttons->addWidget(undo_);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    apply_->setEnabled(false);
    undo_->setEnabled(false);
    cancel_button_->setEnabled(false);

    timer_ = new QTimer(this);
    timer_->setInterval(40);
    connect(timer_, &QTimer::timeout, this, &TSuggestDialog::Poll);
    connect(start_, &QPushButton::clicked, this, &TSuggestDialog::Start);
    connect(cancel_button_, &QPushButton::clicked, this, &TSuggestDialog::Cancel);
    connect(apply_, &QPushButton::clicked, this, &TSuggestDialog::Apply);
    connect(undo_, &QPushButton::clicked, this, &TSuggestDialog::Undo);
    connect(close, &QPushButton::clicked, this, &TSuggestDialog::reject);
}

TSuggestDialog::~TSuggestDialog() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
}

void TSuggestDialog::Start() {
    if (Running()) return;
    // The copy is made here, where the window lives; the search touches only the copy.
    suggester_ = std::make_unique<TValveSuggester>(binder_.Form);
    cancel_ = false;
    done_ = false;
    permille_ = 0;
    suggestions_.clear();
    start_->setEnabled(false);
    apply_->setEnabled(false);
    cancel_button_->setEnabled(true);
    notes_->setText("Searching...");
    TSuggestOptions options;
    options.ChooseWindows = windows_ && windows_->isChecked();
    const std::vector<TValve> valves = valve_
                                           ? std::vector<TValve>{*valve_}
                                           : std::vector<TValve>{TValve::Fixed, TValve::Time, TValve::Flow};
    worker_ = std::thread([this, options, valves]() mutable {
        std::vector<TValveSuggestion> found;
        for (std::size_t i = 0; i < valves.size(); ++i) {
            const double base = static_cast<double>(i) / static_cast<double>(valves.size());
            options.Progress = [this, base, n = valves.size()](double done) {
                permille_ = static_cast<int>(1000 * (base + done / static_cast<double>(n)));
                return !cancel_;
            };
            found.push_back(suggester_->Suggest(valves[i], options));
            permille_ = static_cast<int>(1000 * (base + 1.0 / static_cast<double>(valves.size())));
            if (cancel_) break;
        }
        suggestions_ = std::move(found);
        done_ = true;
    });
    timer_->start();
}

void TSuggestDialog::Wait() {
    if (worker_.joinable()) worker_.join();
    Poll();
}

void TSuggestDialog::Poll() {
    progress_->setValue(permille_);
    if (!done_) return;
    if (worker_.joinable()) worker_.join();
    timer_->stop();
    done_ = false;
    start_->setEnabled(true);
    cancel_button_->setEnabled(false);
    ShowResults();
}

void TSuggestDialog::ShowResults() {
    const bool cancelled =
        suggestions_.empty() || std::any_of(suggestions_.begin(), suggestions_.end(),
                                            [](const TValveSuggestion& s) { return s.Cancelled; });
    table_->clear();
    table_->setColumnCount(3);
    table_->setHorizontalHeaderLabels({"", "Current", "Suggested"});
    int rows = 0;
    for (const TValveSuggestion& s : suggestions_)
        rows += 1 + static_cast<int>(SuggestionRows(s).size());
    table_->setRowCount(rows);
    int r = 0;
    QString notes;
    bool anyFeasible = false;
    for (const TValveSuggestion& s : suggestions_) {
        auto* name = new QTableWidgetItem(ValveName(s.Valve));
        QFont bold = name->font();
        bold.setBold(true);
        name->setFont(bold);
        table_->setItem(r, 0, name);
        table_->setSpan(r, 0, 1, 3);
        ++r;
        for (const TSuggestionRow& row : SuggestionRows(s)) {
            table_->setItem(r, 0, new QTableWidgetItem(QString::fromStdString(row.Name)));
            for (int col = 1; col <= 2; ++col) {
                auto* item =
                    new QTableWidgetItem(QString::fromStdString(col == 1 ? row.Current : row.Suggested));
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                table_->setItem(r, col, item);
            }
            ++r;
        }
        QString line = QString("%1: ").arg(ValveName(s.Valve));
        if (!s.Note.empty()) line += QString::fromStdString(s.Note) + " ";
        if (!s.ShortHours.empty())
            line += "Hours below the minimum: " + QString::fromStdString(ShortHoursText(s.ShortHours)) + ".";
        if (!s.Note.empty() || !s.ShortHours.empty()) notes += line + "\n";
        anyFeasible = anyFeasible || s.Feasible;
    }
    table_->resizeColumnsToContents();
    if (!valve_) {
        const std::array<TValveSuggestion, ValveCount> all = {
            suggestions_.size() > 0 ? suggestions_[0] : TValveSuggestion{},
            suggestions_.size() > 1 ? suggestions_[1] : TValveSuggestion{},
            suggestions_.size() > 2 ? suggestions_[2] : TValveSuggestion{}};
        const std::optional<TValve> first = FirstToPayBack(all);
        notes += QString("Pays back first: %1\n").arg(first ? ValveName(*first) : "none of the suggestions");
    }
    notes += "A suggestion keeps no margin: add the margin you want before you set the valve.";
    notes_->setText(cancelled ? "The search was cancelled." : notes);
    apply_->setEnabled(!cancelled && anyFeasible);
}

void TSuggestDialog::Apply() {
    binder_.Run([this] {
        for (const TValveSuggestion& s : suggestions_)
            history_.Apply(binder_.Form, s);
    });
    undo_->setEnabled(history_.CanUndo());
}

void TSuggestDialog::Undo() {
    binder_.Run([this] {
        for (std::size_t i = 0; i < suggestions_.size() && history_.CanUndo(); ++i)
            history_.Undo(binder_.Form);
    });
    undo_->setEnabled(history_.CanUndo());
}

void TSuggestDialog::reject() {
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
    QDialog::reject();
}

void ShowSuggestDialog(TViewBinder& binder, std::optional<TValve> valve, QWidget* parent) {
    TSuggestDialog dialog(binder, valve, parent);
    QTimer::singleShot(0, &dialog, &TSuggestDialog::Start);
    dialog.exec();
}

} // namespace halvern
