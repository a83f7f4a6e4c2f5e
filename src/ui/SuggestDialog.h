// "Suggest" on a valve page and "Suggest all" on the Summary page: the lowest settings that
// keep the minimum pressure, worked out on a copy of the window away from the interface
// thread (with progress and Cancel), shown beside the current ones, applied as one step
// that "Undo" takes back.
#pragma once
#include "forms/ValveSuggestion.h"

#include <QDialog>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace halvern {

class TViewBinder;

class TSuggestDialog : public QDialog {
    Q_OBJECT
public:
    // `valve` is the page's valve; none for all three.
    TSuggestDialog(TViewBinder& binder, std::optional<TValve> valve, QWidget* parent);
    ~TSuggestDialog() override;

    // Starts the search (the copy of the window is made here, on the interface thread).
    void Start();
    bool Running() const { return worker_.joinable(); }
    void Cancel() { cancel_ = true; }
    // Waits for the search to end (tests and closing).
    void Wait();
    void Apply();
    void Undo();
    const std::vector<TValveSuggestion>& Suggestions() const { return suggestions_; }
    QTableWidget* Table() const { return table_; }

protected:
    void reject() override;

private:
    void Poll();
    void ShowResults();

    TViewBinder& binder_;
    std::optional<TValve> valve_;
    QCheckBox* windows_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_button_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* undo_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* notes_ = nullptr;
    QTimer* timer_ = nullptr;

    std::unique_ptr<TValveSuggester> suggester_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::atomic<bool> done_{false};
    std::atomic<int> permille_{0};
    std::vector<TValveSuggestion> suggestions_;
    TSuggestionHistory history_;
};

// Opens the dialog over `parent` and starts the search.
void ShowSuggestDialog(TViewBinder& binder, std::optional<TValve> valve, QWidget* parent);

} // namespace halvern
