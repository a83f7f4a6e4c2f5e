#include "ui/LoggerImportDialog.h"

#include "io/TimeStamp.h"
#include "model/Messages.h"
#include "model/Numbers.h"
#include "ui/LoggerRecordChart.h"
#include "ui/ViewBinder.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <set>

namespace halvern {

// One file being read: its thread, and what the thread and the window share.
struct TLoggerImportDialog::TRead {
    QString Name;
    QThread* Thread = nullptr;
    std::shared_ptr<std::atomic<double>> Fraction = std::make_shared<std::atomic<double>>(0.0);
    std::shared_ptr<std::atomic<bool>> Stop = std::make_shared<std::atomic<bool>>(false);
};

namespace {

constexpr TLoggerUnit kFlowUnits[] = {TLoggerUnit::M3PerHour, TLoggerUnit::LitresPerSecond,
                                      TLoggerUnit::M3PerDay};
constexpr TLoggerUnit kPressureUnits[] = {TLoggerUnit::Metres, TLoggerUnit::Bar, TLoggerUnit::KiloPascal};
const char* const kMeasuredCaptions[] = {"Inflow", "Inlet pressure", "AZP pressure", "Critical pressure"};
const QColor kLow(0xFF, 0xE0, 0x80);
// The offsets zones keep: every whole hour, and the half and quarter hours some use.
constexpr int kZoneOffsets[] = {-720, -660, -600, -570, -540, -480, -420, -360, -300, -240,
                                -210, -180, -150, -120, -60,  0,    60,   120,  180,  210,
                                240,  270,  300,  330,  345,  360,  390,  420,  480,  525,
                                540,  570,  600,  630,  660,  720,  765,  780,  825,  840};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QTableWidgetItem* Item(const QString& text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(align);
    return item;
}

} // namespace

TLoggerImportDialog::TLoggerImportDialog(TLoggerImportForm& form, TViewBinder& binder, QWidget* parent)
    : QDialog(parent), form_(form), binder_(binder) {
    setObjectName("TLoggerImportForm");
    setWindowTitle(Q(form_.Caption));
    setModal(true);

    // On the right the record and the hours; on the left the files, channels and days.
    chart_ = new TLoggerRecordChart;
    chart_->setObjectName("RecordChart");
    chart_->setMinimumHeight(150);
    preview_ = new QTableWidget(24, 9);
    preview_->setObjectName("HoursTable");
    preview_->setHorizontalHeaderLabels(
        {"Hour", "Inflow\nm³/hr", "Cover", "Inlet\nm", "Cover", "AZP\nm", "Cover", "Critical\nm", "Cover"});
    for (int c = 2; c <= 8; c += 2)
        preview_->horizontalHeaderItem(c)->setToolTip(
            "The coverage of the hour on the chosen day covered least; marked below the least coverage");
    preview_->verticalHeader()->hide();
    preview_->verticalHeader()->setDefaultSectionSize(17);
    preview_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    preview_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    preview_->setMinimumWidth(430);
    // The whole day at once: no hour scrolled out of sight.
    preview_->setMinimumHeight(preview_->horizontalHeader()->sizeHint().height() + 24 * 17 +
                               2 * preview_->frameWidth());
    preview_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    recordNotes_ = new QLabel;
    recordNotes_->setObjectName("RecordNotesLabel");
    recordNotes_->setWordWrap(true);
    recordNotes_->setStyleSheet("color: #A05000");
    recordNotes_->hide();
    cautions_ = new QLabel;
    cautions_->setObjectName("CautionsLabel");
    cautions_->setWordWrap(true);
    cautions_->setStyleSheet("color: #B00000");
    accept_ = new QCheckBox("Accept the hours marked (low coverage, clock change)");
    accept_->setObjectName("AcceptCheck");
    flowHours_ = new QCheckBox("Set the low- and high-flow hours to the hours of lowest and highest inflow");
    flowHours_->setObjectName("FlowHoursCheck");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->setObjectName("DialogButtons");

    auto* left = new QVBoxLayout;
    left->addWidget(BuildFilesBox());
    left->addWidget(BuildChannelsBox());
    left->addWidget(BuildDaysBox());
    auto* right = new QVBoxLayout;
    right->addWidget(chart_, 1);
    right->addWidget(preview_, 0);
    auto* top = new QHBoxLayout;
    // The files' layouts and ranges read whole; the hours keep the width their figures need.
    top->addLayout(left, 5);
    top->addLayout(right, 4);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    // However many cautions there are, the window keeps its height: beyond a few lines they scroll.
    auto* notes = new QWidget;
    auto* notesLayout = new QVBoxLayout(notes);
    notesLayout->setContentsMargins(0, 0, 0, 0);
    notesLayout->addWidget(recordNotes_);
    notesLayout->addWidget(cautions_);
    notesLayout->addStretch(1);
    notesArea_ = new QScrollArea;
    notesArea_->setObjectName("NotesArea");
    notesArea_->setWidget(notes);
    notesArea_->setWidgetResizable(true);
    notesArea_->setFrameShape(QFrame::NoFrame);
    notesArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    notesArea_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    notesArea_->setMaximumHeight(fontMetrics().lineSpacing() * 4 + 4);
    notesArea_->hide();
    layout->addWidget(notesArea_);
    auto* ticks = new QHBoxLayout;
    ticks->addWidget(accept_);
    ticks->addSpacing(16);
    ticks->addWidget(flowHours_);
    ticks->addStretch(1);
    layout->addLayout(ticks);
    layout->addWidget(buttons);
    resize(1100, 760);

    connect(accept_, &QCheckBox::toggled, this, [this](bool on) {
        if (!building_) form_.AcceptCautions = on;
    });
    connect(flowHours_, &QCheckBox::toggled, this, [this](bool on) {
        if (!building_) form_.SetFlowHours = on;
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { binder_.Run([this] { form_.OkClick(); }); });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { form_.Cancel(); });

    form_.OnShowRequest = [this] {
        Rebuild();
        show();
        raise();
        activateWindow();
    };
    form_.OnCloseRequest = [this] {
        // Files still being read were for this opening of the window.
        CancelReading();
        hide();
    };
}

QGroupBox* TLoggerImportDialog::BuildFilesBox() {
    auto* addButton = new QPushButton("&Add files…");
    addButton->setObjectName("AddFilesButton");
    auto* removeButton = new QPushButton("&Remove");
    removeButton->setObjectName("RemoveFileButton");
    progress_ = new QProgressBar;
    progress_->setObjectName("ReadingProgress");
    progress_->setRange(0, 1000);
    progress_->hide();
    cancelReading_ = new QPushButton("Cancel rea&ding");
    cancelReading_->setObjectName("CancelReadingButton");
    cancelReading_->hide();
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    monthFirst_ = new QCheckBox("Dates are mm/dd/yyyy");
    monthFirst_->setObjectName("MonthFirstCheck");
    zoneBox_ = new QComboBox;
    zoneBox_->setObjectName("ZoneOffsetBox");
    zoneBox_->setToolTip("Stamps written in UTC (\"Z\") or with an offset are read as the zone's clock at "
                         "this offset; \"as written\" takes stamps with an offset as they are.");
    zoneBox_->addItem("as written");
    for (const int minutes : kZoneOffsets)
        zoneBox_->addItem("UTC" + Q(UtcOffsetText(minutes)), minutes);
    files_ = new QTableWidget(0, 4);
    files_->setObjectName("FilesTable");
    files_->setHorizontalHeaderLabels({"File", "Interval", "Record", "Layout"});
    // The record's range whole; the layout in what is left, whole in its tip.
    for (int c = 0; c < 3; ++c)
        files_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    files_->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    files_->verticalHeader()->hide();
    files_->setSelectionBehavior(QAbstractItemView::SelectRows);
    files_->setMaximumHeight(90);
    channels_ = new QTableWidget(0, 4);
    channels_->setObjectName("ChannelsTable");
    channels_->setHorizontalHeaderLabels({"File", "Column", "Channel", "Samples"});
    channels_->horizontalHeader()->setStretchLastSection(true);
    channels_->verticalHeader()->hide();
    channels_->setMaximumHeight(110);
    // One line a file or channel; the whole of a long text in its tip.
    for (QTableWidget* table : {files_, channels_}) {
        table->setWordWrap(false);
        table->verticalHeader()->setDefaultSectionSize(20);
    }
    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(addButton);
    fileButtons->addWidget(removeButton);
    fileButtons->addWidget(progress_, 1);
    fileButtons->addWidget(cancelReading_);
    fileButtons->addStretch(0);
    auto* readOptions = new QHBoxLayout;
    readOptions->addWidget(monthFirst_);
    readOptions->addSpacing(12);
    auto* zoneLabel = new QLabel("UTC &offset of the zone");
    zoneLabel->setBuddy(zoneBox_);
    readOptions->addWidget(zoneLabel);
    readOptions->addWidget(zoneBox_);
    readOptions->addStretch(1);
    auto* filesLayout = new QVBoxLayout;
    filesLayout->addLayout(fileButtons);
    filesLayout->addLayout(readOptions);
    filesLayout->addWidget(files_);
    filesLayout->addWidget(channels_);
    auto* filesBox = new QGroupBox(" Logger files ");
    filesBox->setLayout(filesLayout);

    connect(addButton, &QPushButton::clicked, this, [this] { ChooseFiles(); });
    connect(removeButton, &QPushButton::clicked, this, [this] {
        const int row = files_->currentRow();
        if (row < 0) return;
        Handle([&] { form_.RemoveFile(static_cast<std::size_t>(row)); });
        Rebuild();
    });
    connect(cancelReading_, &QPushButton::clicked, this, [this] { CancelReading(); });
    connect(progressTimer_, &QTimer::timeout, this, [this] { ShowProgress(); });
    connect(monthFirst_, &QCheckBox::toggled, this, [this](bool on) {
        if (building_) return;
        // The files are read again with the order of day and month the user says.
        form_.ReadOptions.MonthFirst = on;
        ReadAgain();
    });
    connect(zoneBox_, &QComboBox::currentIndexChanged, this, [this] {
        if (building_) return;
        // Stamps in UTC or with offsets are read again as the zone's clock.
        const QVariant minutes = zoneBox_->currentData();
        form_.ReadOptions.ZoneOffsetMinutes =
            minutes.isValid() ? std::optional<int>(minutes.toInt()) : std::optional<int>();
        ReadAgain();
    });
    return filesBox;
}

QGroupBox* TLoggerImportDialog::BuildChannelsBox() {
    auto* assign = new QGridLayout;
    for (std::size_t q = 0; q < MeasuredCount; ++q) {
        channelBoxes_[q] = new QComboBox;
        channelBoxes_[q]->setObjectName(QString("ChannelBox%1").arg(q));
        channelBoxes_[q]->setMinimumWidth(220);
        unitBoxes_[q] = new QComboBox;
        unitBoxes_[q]->setObjectName(QString("UnitBox%1").arg(q));
        const auto& units = q == 0 ? kFlowUnits : kPressureUnits;
        for (const TLoggerUnit unit : units)
            unitBoxes_[q]->addItem(Q(LoggerUnitText(unit)), static_cast<int>(unit));
        const int row = static_cast<int>(q);
        assign->addWidget(new QLabel(kMeasuredCaptions[q]), row, 0);
        assign->addWidget(channelBoxes_[q], row, 1);
        assign->addWidget(unitBoxes_[q], row, 2);
    }
    assign->setColumnStretch(1, 1);
    auto* assignBox = new QGroupBox(" Channels ");
    assignBox->setLayout(assign);

    for (std::size_t q = 0; q < MeasuredCount; ++q) {
        connect(channelBoxes_[q], &QComboBox::currentIndexChanged, this, [this, q](int index) {
            if (building_) return;
            const auto chosen = index >= 0 && static_cast<std::size_t>(index) < choiceOf_.size()
                                    ? choiceOf_[static_cast<std::size_t>(index)]
                                    : std::pair{-1, -1};
            // The unit comes with the channel where its heading names one.
            Handle([&] { form_.Assign(static_cast<TMeasured>(q), chosen.first, chosen.second); });
            ShowOptions();
            UpdatePreview();
        });
        connect(unitBoxes_[q], &QComboBox::currentIndexChanged, this, [this, q] {
            if (building_) return;
            const auto unit = static_cast<TLoggerUnit>(unitBoxes_[q]->currentData().toInt());
            Handle([&] { form_.Assigned[q].Unit = unit; });
            UpdatePreview();
        });
    }
    return assignBox;
}

QGroupBox* TLoggerImportDialog::BuildDaysBox() {
    daysRadio_ = new QRadioButton("Days:");
    daysRadio_->setObjectName("DaysRadio");
    rangeRadio_ = new QRadioButton("From");
    rangeRadio_->setObjectName("RangeRadio");
    dayList_ = new QListWidget;
    dayList_->setObjectName("DayList");
    dayList_->setSelectionMode(QAbstractItemView::MultiSelection);
    dayList_->setMaximumHeight(110);
    // The lists give way first when the cautions need the room.
    dayList_->setMinimumHeight(60);
    dayNote_ = new QLabel;
    dayNote_->setObjectName("DayNoteLabel");
    dayNote_->setWordWrap(true);
    fromBox_ = new QComboBox;
    fromBox_->setObjectName("FromDayBox");
    toBox_ = new QComboBox;
    toBox_->setObjectName("ToDayBox");
    // A day's caption is read whole, whatever the style's idea of a box's width.
    for (QComboBox* box : {fromBox_, toBox_}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        box->setMinimumContentsLength(static_cast<int>(DayCaption(0).size()));
    }
    filterBox_ = new QComboBox;
    filterBox_->setObjectName("DayFilterBox");
    filterBox_->addItems({"every day", "weekdays", "weekends"});
    filterBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    stampBox_ = new QComboBox;
    stampBox_->setObjectName("StampBox");
    stampBox_->addItems({"the start of its interval", "the end of its interval"});
    coverageSpin_ = new QDoubleSpinBox;
    coverageSpin_->setObjectName("CoverageSpin");
    coverageSpin_->setRange(0, 100);
    coverageSpin_->setDecimals(0);
    coverageSpin_->setSuffix(" %");
    auto* range = new QHBoxLayout;
    range->addWidget(rangeRadio_);
    range->addWidget(fromBox_);
    range->addWidget(new QLabel("to"));
    range->addWidget(toBox_);
    range->addWidget(filterBox_);
    range->addStretch(1);
    auto* daysLayout = new QVBoxLayout;
    daysLayout->addWidget(daysRadio_);
    daysLayout->addWidget(dayList_);
    daysLayout->addWidget(dayNote_);
    daysLayout->addLayout(range);
    auto* rules = new QFormLayout;
    rules->addRow("A time stamp marks", stampBox_);
    rules->addRow("Least coverage of an hour", coverageSpin_);
    daysLayout->addLayout(rules);
    daysBox_ = new QGroupBox(" Days to average ");
    daysBox_->setLayout(daysLayout);

    connect(dayList_, &QListWidget::itemSelectionChanged, this, [this] {
        if (building_) return;
        Handle([this] {
            form_.ChosenDays.clear();
            for (const QListWidgetItem* item : dayList_->selectedItems())
                form_.ChosenDays.push_back(item->data(Qt::UserRole).toLongLong());
        });
        UpdatePreview();
    });
    connect(daysRadio_, &QRadioButton::toggled, this, [this](bool on) {
        if (building_) return;
        Handle([&] { form_.DayMode = on ? TDayMode::Days : TDayMode::Range; });
        UpdatePreview();
    });
    const auto rangeChanged = [this] {
        if (building_) return;
        Handle([this] {
            if (fromBox_->currentIndex() >= 0) form_.FromDay = fromBox_->currentData().toLongLong();
            if (toBox_->currentIndex() >= 0) form_.ToDay = toBox_->currentData().toLongLong();
            form_.RangeFilter = static_cast<TDayFilter>(filterBox_->currentIndex());
        });
        UpdatePreview();
    };
    for (QComboBox* box : {fromBox_, toBox_, filterBox_})
        connect(box, &QComboBox::currentIndexChanged, this, rangeChanged);
    connect(stampBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (building_) return;
        // Which days hold samples follows the rule, and so does the day offered first.
        Handle([&] { form_.SetStampAtEnd(index == 1); });
        RebuildDays();
        UpdatePreview();
    });
    connect(coverageSpin_, &QDoubleSpinBox::valueChanged, this, [this](double percent) {
        if (building_) return;
        Handle([&] { form_.MinCoverage = percent / 100.0; });
        UpdatePreview();
    });
    return daysBox_;
}

TLoggerImportDialog::~TLoggerImportDialog() {
    // A file still being read is stopped and waited for: its thread writes into what it was given.
    for (const auto& read : reads_)
        *read->Stop = true;
    for (const auto& read : reads_) {
        read->Thread->wait();
        delete read->Thread;
    }
    form_.OnShowRequest = nullptr;
    form_.OnCloseRequest = nullptr;
}

void TLoggerImportDialog::closeEvent(QCloseEvent* event) {
    if (form_.Visible) form_.Cancel();
    event->accept();
}

void TLoggerImportDialog::Handle(const std::function<void()>& change) {
    form_.MainForm.Dispatch(change);
}

void TLoggerImportDialog::ChooseFiles() {
    const QStringList names = QFileDialog::getOpenFileNames(
        this, "Logger files", QString(), "Logger files (*.csv *.txt *.dat);;All files (*)");
    if (!names.isEmpty()) AddFiles(names);
}

void TLoggerImportDialog::AddFiles(const QStringList& fileNames, TFileAdded how) {
    for (const QString& name : fileNames) {
        auto read = std::make_unique<TRead>();
        read->Name = QFileInfo(name).fileName();
        auto result = std::make_shared<TLoggerFile>();
        TLoggerOptions options = form_.ReadOptions;
        options.Progress = [fraction = read->Fraction, stop = read->Stop](double done) {
            *fraction = done;
            return !*stop;
        };
        const std::string fileName = name.toStdString();
        QThread* thread = QThread::create([result, fileName, options] {
            // Nothing may leave a thread: a read that fails for want of memory is refused as
            // a file that cannot be read is.
            try {
                *result = ReadLoggerFile(fileName, options);
            } catch (...) {
                *result = {};
                result->FileName = fileName;
                result->Error = Msg::LoggerFileRefused(fileName, 0, Msg::LoggerReadFailed);
            }
        });
        read->Thread = thread;
        connect(thread, &QThread::finished, this, [this, result, thread, how] {
            const auto at = std::find_if(reads_.begin(), reads_.end(),
                                         [thread](const auto& r) { return r->Thread == thread; });
            if (at != reads_.end()) reads_.erase(at);
            thread->deleteLater();
            ShowProgress();
            Handle([&] { form_.AddFile(std::move(*result), how); });
            Rebuild();
            emit FilesRead();
        });
        reads_.push_back(std::move(read));
        thread->start();
    }
    ShowProgress();
}

void TLoggerImportDialog::CancelReading() {
    for (const auto& read : reads_)
        *read->Stop = true;
    ShowProgress();
}

void TLoggerImportDialog::ShowProgress() {
    const bool reading = !reads_.empty();
    progress_->setVisible(reading);
    cancelReading_->setVisible(reading);
    // New reading options while files are read would mix reads under both.
    monthFirst_->setEnabled(!reading);
    zoneBox_->setEnabled(!reading);
    if (!reading) {
        progressTimer_->stop();
        return;
    }
    if (!progressTimer_->isActive()) progressTimer_->start();
    double done = 0;
    bool stopping = false;
    for (const auto& read : reads_) {
        done += std::clamp(read->Fraction->load(), 0.0, 1.0);
        stopping = stopping || read->Stop->load();
    }
    progress_->setValue(static_cast<int>(std::lround(done / static_cast<double>(reads_.size()) * 1000)));
    const QString what = reads_.size() == 1 ? reads_.front()->Name : QString("%1 files").arg(reads_.size());
    progress_->setFormat((stopping ? "Stopping " : "Reading ") + what + " %p%");
    cancelReading_->setEnabled(!stopping);
}

void TLoggerImportDialog::ReadAgain() {
    std::vector<std::string> names;
    Handle([&] { names = form_.TakeFilesToReadAgain(); });
    Rebuild();
    QStringList files;
    for (const std::string& name : names)
        files << Q(name);
    AddFiles(files, TFileAdded::ReadAgain);
}

void TLoggerImportDialog::Rebuild() {
    building_ = true;
    Handle([this] {
        files_->setRowCount(static_cast<int>(form_.Files.size()));
        int channelRows = 0;
        for (const TLoggerFile& file : form_.Files)
            channelRows += static_cast<int>(file.Channels.size());
        channels_->setRowCount(channelRows);
        QStringList choices{"(none)"};
        choiceOf_ = {{-1, -1}};
        int row = 0;
        for (std::size_t f = 0; f < form_.Files.size(); ++f) {
            const TLoggerFile& file = form_.Files[f];
            const QString shortName = QFileInfo(Q(file.FileName)).fileName();
            const QString layout =
                Q(MarksText(file)) + ", " + Q(file.StampFormat) + ", " + Q(file.TimeReading);
            auto* name = Item(shortName);
            name->setToolTip(Q(file.FileName));
            files_->setItem(static_cast<int>(f), 0, name);
            auto* layoutItem = Item(layout);
            layoutItem->setToolTip(Q(file.CodePage) + "; " + layout);
            files_->setItem(static_cast<int>(f), 1, Item(Q(IntervalText(file.IntervalSeconds))));
            files_->setItem(static_cast<int>(f), 2, Item(Q(RecordRangeText(file))));
            files_->setItem(static_cast<int>(f), 3, layoutItem);
            for (std::size_t c = 0; c < file.Channels.size(); ++c, ++row) {
                const TLoggerChannel& channel = file.Channels[c];
                channels_->setItem(row, 0, Item(shortName));
                channels_->setItem(row, 1,
                                   Item(QString::number(channel.Column), Qt::AlignRight | Qt::AlignVCenter));
                channels_->setItem(row, 2, Item(Q(channel.Name)));
                channels_->setItem(row, 3,
                                   Item(QString::number(channel.Samples), Qt::AlignRight | Qt::AlignVCenter));
                choices << shortName + ": " + Q(channel.Name);
                choiceOf_.emplace_back(static_cast<int>(f), static_cast<int>(c));
            }
        }
        channels_->resizeColumnsToContents();
        for (QComboBox* box : channelBoxes_) {
            box->clear();
            box->addItems(choices);
        }
    });
    building_ = false;
    RebuildDays();
    ShowOptions();
    UpdatePreview();
}

void TLoggerImportDialog::RebuildDays() {
    building_ = true;
    Handle([this] {
        const std::vector<int64_t> days = form_.RecordDays();
        const std::set<int64_t> chosen(form_.ChosenDays.begin(), form_.ChosenDays.end());
        dayList_->setUpdatesEnabled(false);
        dayList_->clear();
        fromBox_->clear();
        toBox_->clear();
        for (const int64_t day : days) {
            const QString caption = Q(DayCaption(day));
            auto* item = new QListWidgetItem(caption, dayList_);
            item->setData(Qt::UserRole, QVariant::fromValue<qint64>(day));
            if (chosen.count(day)) item->setSelected(true);
            fromBox_->addItem(caption, QVariant::fromValue<qint64>(day));
            toBox_->addItem(caption, QVariant::fromValue<qint64>(day));
        }
        dayList_->setUpdatesEnabled(true);
        if (!dayList_->selectedItems().isEmpty()) dayList_->scrollToItem(dayList_->selectedItems().front());
        fromBox_->setCurrentIndex(fromBox_->findData(QVariant::fromValue<qint64>(form_.FromDay)));
        toBox_->setCurrentIndex(toBox_->findData(QVariant::fromValue<qint64>(form_.ToDay)));
        // Nothing to choose from before a file is read.
        daysBox_->setEnabled(!days.empty());
    });
    building_ = false;
}

void TLoggerImportDialog::ShowOptions() {
    building_ = true;
    Handle([this] {
        for (std::size_t q = 0; q < MeasuredCount; ++q) {
            const TChannelAssignment& slot = form_.Assigned[q];
            const auto at = std::find(choiceOf_.begin(), choiceOf_.end(), std::pair{slot.File, slot.Channel});
            channelBoxes_[q]->setCurrentIndex(
                at == choiceOf_.end() ? 0 : static_cast<int>(at - choiceOf_.begin()));
            const int unit = unitBoxes_[q]->findData(static_cast<int>(slot.Unit));
            unitBoxes_[q]->setCurrentIndex(unit < 0 ? 0 : unit);
        }
        filterBox_->setCurrentIndex(static_cast<int>(form_.RangeFilter));
        (form_.DayMode == TDayMode::Range ? rangeRadio_ : daysRadio_)->setChecked(true);
        stampBox_->setCurrentIndex(form_.StampAtEnd ? 1 : 0);
        coverageSpin_->setValue(form_.MinCoverage * 100);
        monthFirst_->setChecked(form_.ReadOptions.MonthFirst);
        const int zone = form_.ReadOptions.ZoneOffsetMinutes
                             ? zoneBox_->findData(*form_.ReadOptions.ZoneOffsetMinutes)
                             : 0;
        zoneBox_->setCurrentIndex(zone < 0 ? 0 : zone);
        accept_->setChecked(form_.AcceptCautions);
        flowHours_->setChecked(form_.SetFlowHours);
    });
    building_ = false;
}

void TLoggerImportDialog::UpdatePreview() {
    // A preview that cannot be taken says why in a box; the last one shown stays.
    Handle([this] {
        const TLoggerPreview preview = form_.Preview();
        ShowPreview(preview);
        chart_->Draw(form_);
        chart_->Shade(preview.Days);
    });
}

void TLoggerImportDialog::ShowPreview(const TLoggerPreview& preview) {
    // The table of hours: each coverage that of the chosen day covered least, marked where it
    // is below the least coverage, as the cautions below name it.
    for (int h = 0; h < 24; ++h) {
        const auto hour = static_cast<std::size_t>(h);
        auto* hourItem = Item(Q(HourText(h)));
        if (preview.Flagged[hour]) hourItem->setBackground(kLow);
        preview_->setItem(h, 0, hourItem);
        for (std::size_t q = 0; q < MeasuredCount; ++q) {
            QString value, cover;
            if (preview.Means[q]) {
                const double mean = preview.Means[q]->Mean[hour];
                value = std::isnan(mean) ? "-" : Q(FormatFixed(mean, 15, q == 0 ? 3 : 2));
                cover = Q(CoverageText(preview.Means[q]->LowestCoverage[hour]));
            }
            auto* v = Item(value, Qt::AlignRight | Qt::AlignVCenter);
            auto* c = Item(cover, Qt::AlignRight | Qt::AlignVCenter);
            if (preview.Low[q][hour]) {
                c->setBackground(kLow);
                c->setToolTip(Q(DayCaption(preview.Means[q]->LowestDay[hour])));
            }
            preview_->setItem(h, static_cast<int>(1 + 2 * q), v);
            preview_->setItem(h, static_cast<int>(2 + 2 * q), c);
        }
    }
    QStringList notes;
    for (const std::string& note : preview.RecordNotes)
        notes << Q(note);
    recordNotes_->setText(notes.join('\n'));
    recordNotes_->setVisible(!notes.isEmpty());
    dayNote_->setText(Q(preview.DayNote));
    dayNote_->setVisible(!preview.DayNote.empty());
    QStringList cautions;
    if (!preview.Ok()) cautions << Q(preview.Refusal);
    for (const std::string& caution : preview.Cautions)
        cautions << Q(caution);
    cautions_->setText(cautions.join('\n'));
    cautions_->setVisible(!cautions.isEmpty());
    notesArea_->setVisible(!cautions.isEmpty() || !notes.isEmpty());
    accept_->setEnabled(!preview.Cautions.empty());
}

} // namespace halvern
