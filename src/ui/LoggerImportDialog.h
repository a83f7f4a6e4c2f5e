// "Import logger data" over TLoggerImportForm: the files, their channels, the assignment of
// channels and units, the days, the whole record as a chart with its days marked, and the
// 24 means with their coverage. Files are read on a worker thread, so the window stays
// responsive while a large file is read.
#pragma once
#include <QDialog>
#include <QStringList>
#include <vector>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QChartView;
class QThread;

namespace halvern {

class TLoggerImportForm;
class TViewBinder;

class TLoggerImportDialog : public QDialog {
    Q_OBJECT
public:
    TLoggerImportDialog(TLoggerImportForm& form, TViewBinder& binder, QWidget* parent);
    ~TLoggerImportDialog() override;
    // Reads the files away from the window's thread, then adds them; what "Add files…" does
    // after its dialog.
    void AddFiles(const QStringList& fileNames);
    // True while files are being read.
    bool Reading() const { return reading_ > 0; }

signals:
    // A file has been read and added (or refused).
    void FilesRead();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Rebuild();       // files, channels, assignments and days from the form
    void UpdatePreview(); // chart, means and cautions
    void Apply();         // the widgets' choices into the form
    void ChooseFiles();

    TLoggerImportForm& form_;
    TViewBinder& binder_;
    int reading_ = 0;
    std::vector<QThread*> threads_; // files still being read
    bool building_ = false;
    QTableWidget* files_ = nullptr;
    QTableWidget* channels_ = nullptr;
    QComboBox* channelBoxes_[4] = {};
    QComboBox* unitBoxes_[4] = {};
    QRadioButton* daysRadio_ = nullptr;
    QRadioButton* rangeRadio_ = nullptr;
    QListWidget* dayList_ = nullptr;
    QComboBox* fromBox_ = nullptr;
    QComboBox* toBox_ = nullptr;
    QComboBox* filterBox_ = nullptr;
    QComboBox* stampBox_ = nullptr;
    QDoubleSpinBox* coverageSpin_ = nullptr;
    QCheckBox* monthFirst_ = nullptr;
    QCheckBox* accept_ = nullptr;
    QCheckBox* flowHours_ = nullptr;
    QTableWidget* preview_ = nullptr;
    QLabel* cautions_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QChartView* chart_ = nullptr;
};

} // namespace halvern
