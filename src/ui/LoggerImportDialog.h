// "Import logger data" over TLoggerImportForm: the files, their channels, the assignment of
// channels and units, the days, the whole record as a chart with the chosen days shaded,
// and the 24 means with their coverage. Files are read on worker threads, so the window
// stays responsive while a large file is read; the progress bar shows how far, and Cancel
// stops the reads.
#pragma once
#include "forms/LoggerImport.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTableWidget;
class QThread;
class QTimer;

namespace halvern {

class TLoggerRecordChart;
class TViewBinder;

class TLoggerImportDialog : public QDialog {
    Q_OBJECT
public:
    TLoggerImportDialog(TLoggerImportForm& form, TViewBinder& binder, QWidget* parent);
    ~TLoggerImportDialog() override;
    // Reads the files away from the window's thread, then adds them; what "Add files…" does
    // after its dialog.
    void AddFiles(const QStringList& fileNames, TFileAdded how = TFileAdded::ByUser);
    // True while files are being read.
    bool Reading() const { return !reads_.empty(); }
    // Stops every read going on: nothing of them is added, and no message says so.
    void CancelReading();

signals:
    // A file has been read and added (or refused, or its read cancelled).
    void FilesRead();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct TRead;
    // The left-hand boxes, each with its events.
    QGroupBox* BuildFilesBox();
    QGroupBox* BuildChannelsBox();
    QGroupBox* BuildDaysBox();
    // Runs a change through the window's dispatch point: what goes wrong is said in a box,
    // and nothing leaves the slot.
    void Handle(const std::function<void()>& change);
    void Rebuild();       // files, channels, assignments, days and options from the form
    void RebuildDays();   // the days list and the range boxes
    void ShowOptions();   // the boxes and ticks that mirror the form's choices
    void UpdatePreview(); // chart, means, notes and cautions
    void ShowPreview(const TLoggerPreview& preview);
    void ChooseFiles();
    void ReadAgain(); // the files under new reading options
    void ShowProgress();

    TLoggerImportForm& form_;
    TViewBinder& binder_;
    std::vector<std::unique_ptr<TRead>> reads_;
    bool building_ = false;
    QTableWidget* files_ = nullptr;
    QTableWidget* channels_ = nullptr;
    QComboBox* channelBoxes_[MeasuredCount] = {};
    QComboBox* unitBoxes_[MeasuredCount] = {};
    std::vector<std::pair<int, int>> choiceOf_; // the channel boxes' items: file, channel
    QGroupBox* daysBox_ = nullptr;
    QRadioButton* daysRadio_ = nullptr;
    QRadioButton* rangeRadio_ = nullptr;
    QListWidget* dayList_ = nullptr;
    QLabel* dayNote_ = nullptr;
    QComboBox* fromBox_ = nullptr;
    QComboBox* toBox_ = nullptr;
    QComboBox* filterBox_ = nullptr;
    QComboBox* stampBox_ = nullptr;
    QDoubleSpinBox* coverageSpin_ = nullptr;
    QCheckBox* monthFirst_ = nullptr;
    QComboBox* zoneBox_ = nullptr;
    QCheckBox* accept_ = nullptr;
    QCheckBox* flowHours_ = nullptr;
    QTableWidget* preview_ = nullptr;
    QLabel* recordNotes_ = nullptr;
    QLabel* cautions_ = nullptr;
    QScrollArea* notesArea_ = nullptr; // the record's notes and the cautions
    QProgressBar* progress_ = nullptr;
    QPushButton* cancelReading_ = nullptr;
    QTimer* progressTimer_ = nullptr;
    TLoggerRecordChart* chart_ = nullptr;
};

} // namespace halvern
