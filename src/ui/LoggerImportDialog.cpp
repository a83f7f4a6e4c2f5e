#include "ui/LoggerImportDialog.h"

#include "forms/LoggerImport.h"
#include "io/TimeStamp.h"
#include "model/Numbers.h"
#include "ui/ViewBinder.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
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
#include <QLegendMarker>
#include <QLineSeries>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QThread>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <memory>

namespace halvern {
namespace {

constexpr TLoggerUnit kFlowUnits[] = {TLoggerUnit::M3PerHour, TLoggerUnit::LitresPerSecond,
                                      TLoggerUnit::M3PerDay};
constexpr TLoggerUnit kPressureUnits[] = {TLoggerUnit::Metres, TLoggerUnit::Bar, TLoggerUnit::KiloPascal};
const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kMeasuredCaptions[] = {"Inflow", "Inlet pressure", "AZP pressure", "Critical pressure"};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString DayCaption(int64_t day) {
    return Q(DayText(day)) + " " + kWeekdays[WeekdayOfDays(day)];
}

QTableWidgetItem* Item(const QString& text, Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(align);
    return item;
}

// Local clock seconds as the chart's time axis takes them: the clock as the logger wrote it,
// shown as this computer's clock shows it.
qreal ChartTime(int64_t localSeconds) {
    const int64_t day = static_cast<int64_t>(std::floor(static_cast<double>(localSeconds) / 86400.0));
    int y = 0, m = 0, d = 0;
    CivilFromDays(day, y, m, d);
    const QDateTime midnight(QDate(y, m, d), QTime(0, 0));
    return static_cast<qreal>(midnight.addSecs(localSeconds - day * 86400).toMSecsSinceEpoch());
}

} // namespace

TLoggerImportDialog::TLoggerImportDialog(TLoggerImportForm& form, TViewBinder& binder, QWidget* parent)
    : QDialog(parent), form_(form), binder_(binder) {
    setObjectName("TLoggerImportForm");
    setWindowTitle(Q(form_.Caption));
    setModal(true);

    // Files.
    auto* addButton = new QPushButton("&Add files…");
    addButton->setObjectName("AddFilesButton");
    auto* removeButton = new QPushButton("&Remove");
    removeButton->setObjectName("RemoveFileButton");
    monthFirst_ = new QCheckBox("Dates are mm/dd/yyyy");
    monthFirst_->setObjectName("MonthFirstCheck");
    progress_ = new QProgressBar;
    progress_->setObjectName("ReadingProgress");
    progress_->setRange(0, 0);
    progress_->setMaximumWidth(160);
    progress_->hide();
    files_ = new QTableWidget(0, 4);
    files_->setObjectName("FilesTable");
    files_->setHorizontalHeaderLabels({"File", "Layout", "Interval", "Record"});
    files_->horizontalHeader()->setStretchLastSection(true);
    files_->verticalHeader()->hide();
    files_->setSelectionBehavior(QAbstractItemView::SelectRows);
    files_->setMaximumHeight(90);
    channels_ = new QTableWidget(0, 4);
    channels_->setObjectName("ChannelsTable");
    channels_->setHorizontalHeaderLabels({"File", "Column", "Channel", "Samples"});
    channels_->horizontalHeader()->setStretchLastSection(true);
    channels_->verticalHeader()->hide();
    channels_->setMaximumHeight(110);
    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(addButton);
    fileButtons->addWidget(removeButton);
    fileButtons->addWidget(monthFirst_);
    fileButtons->addWidget(progress_);
    fileButtons->addStretch(1);
    auto* filesLayout = new QVBoxLayout;
    filesLayout->addLayout(fileButtons);
    filesLayout->addWidget(files_);
    filesLayout->addWidget(channels_);
    auto* filesBox = new QGroupBox(" Logger files ");
    filesBox->setLayout(filesLayout);

    // Channels to quantities.
    auto* assign = new QGridLayout;
    for (int q = 0; q < 4; ++q) {
        channelBoxes_[q] = new QComboBox;
        channelBoxes_[q]->setObjectName(QString("ChannelBox%1").arg(q));
        channelBoxes_[q]->setMinimumWidth(220);
        unitBoxes_[q] = new QComboBox;
        unitBoxes_[q]->setObjectName(QString("UnitBox%1").arg(q));
        const auto& units = q == 0 ? kFlowUnits : kPressureUnits;
        for (const TLoggerUnit unit : units)
            unitBoxes_[q]->addItem(Q(LoggerUnitText(unit)), static_cast<int>(unit));
        assign->addWidget(new QLabel(kMeasuredCaptions[q]), q, 0);
        assign->addWidget(channelBoxes_[q], q, 1);
        assign->addWidget(unitBoxes_[q], q, 2);
    }
    auto* assignBox = new QGroupBox(" Channels ");
    assignBox->setLayout(assign);

    // Days.
    daysRadio_ = new QRadioButton("Days:");
    daysRadio_->setObjectName("DaysRadio");
    rangeRadio_ = new QRadioButton("From");
    rangeRadio_->setObjectName("RangeRadio");
    dayList_ = new QListWidget;
    dayList_->setObjectName("DayList");
    dayList_->setSelectionMode(QAbstractItemView::MultiSelection);
    dayList_->setMaximumHeight(110);
    fromBox_ = new QComboBox;
    fromBox_->setObjectName("FromDayBox");
    toBox_ = new QComboBox;
    toBox_->setObjectName("ToDayBox");
    filterBox_ = new QComboBox;
    filterBox_->setObjectName("DayFilterBox");
    filterBox_->addItems({"every day", "weekdays", "weekends"});
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
    daysLayout->addLayout(range);
    auto* rules = new QFormLayout;
    rules->addRow("A time stamp marks", stampBox_);
    rules->addRow("Least coverage of an hour", coverageSpin_);
    daysLayout->addLayout(rules);
    auto* daysBox = new QGroupBox(" Days to average ");
    daysBox->setLayout(daysLayout);

    // The record and the hours.
    auto* chart = new QChart;
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart_ = new QChartView(chart);
    chart_->setObjectName("RecordChart");
    chart_->setRenderHint(QPainter::Antialiasing);
    chart_->setMinimumHeight(220);
    preview_ = new QTableWidget(24, 9);
    preview_->setObjectName("HoursTable");
    preview_->setHorizontalHeaderLabels(
        {"Hour", "Inflow\nm³/hr", "Cover", "Inlet\nm", "Cover", "AZP\nm", "Cover", "Critical\nm", "Cover"});
    preview_->verticalHeader()->hide();
    preview_->verticalHeader()->setDefaultSectionSize(18);
    preview_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    preview_->setMinimumWidth(430);
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
    left->addWidget(filesBox);
    left->addWidget(assignBox);
    left->addWidget(daysBox);
    auto* right = new QVBoxLayout;
    right->addWidget(chart_, 2);
    right->addWidget(preview_, 3);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(cautions_);
    layout->addWidget(accept_);
    layout->addWidget(flowHours_);
    layout->addWidget(buttons);
    resize(1100, 760);

    connect(addButton, &QPushButton::clicked, this, [this] { ChooseFiles(); });
    connect(removeButton, &QPushButton::clicked, this, [this] {
        const int row = files_->currentRow();
        if (row < 0) return;
        form_.RemoveFile(static_cast<std::size_t>(row));
        Rebuild();
    });
    connect(monthFirst_, &QCheckBox::toggled, this, [this](bool on) {
        if (building_) return;
        // The files are read again with the order of day and month the user says.
        form_.ReadOptions.MonthFirst = on;
        QStringList names;
        for (const TLoggerFile& file : form_.Files)
            names << Q(file.FileName);
        while (!form_.Files.empty())
            form_.RemoveFile(form_.Files.size() - 1);
        form_.ChosenDays.clear();
        Rebuild();
        AddFiles(names);
    });
    const auto changed = [this] {
        if (building_) return;
        Apply();
        UpdatePreview();
    };
    for (int q = 0; q < 4; ++q) {
        connect(channelBoxes_[q], &QComboBox::currentIndexChanged, this, changed);
        connect(unitBoxes_[q], &QComboBox::currentIndexChanged, this, changed);
    }
    for (QComboBox* box : {fromBox_, toBox_, filterBox_, stampBox_})
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    connect(dayList_, &QListWidget::itemSelectionChanged, this, changed);
    connect(daysRadio_, &QRadioButton::toggled, this, changed);
    connect(coverageSpin_, &QDoubleSpinBox::valueChanged, this, changed);
    connect(accept_, &QCheckBox::toggled, this, changed);
    connect(flowHours_, &QCheckBox::toggled, this, changed);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Apply();
        binder_.Run([this] { form_.OkClick(); });
    });
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { form_.Cancel(); });

    form_.OnShowRequest = [this] {
        Rebuild();
        show();
        raise();
        activateWindow();
    };
    form_.OnCloseRequest = [this] { hide(); };
}

TLoggerImportDialog::~TLoggerImportDialog() {
    // A file still being read is waited for: its thread writes into what it was given.
    for (QThread* thread : threads_) {
        thread->wait();
        delete thread;
    }
    form_.OnShowRequest = nullptr;
    form_.OnCloseRequest = nullptr;
}

void TLoggerImportDialog::closeEvent(QCloseEvent* event) {
    if (form_.Visible) form_.Cancel();
    event->accept();
}

void TLoggerImportDialog::ChooseFiles() {
    const QStringList names = QFileDialog::getOpenFileNames(
        this, "Logger files", QString(), "Logger files (*.csv *.txt *.dat);;All files (*)");
    if (!names.isEmpty()) AddFiles(names);
}

void TLoggerImportDialog::AddFiles(const QStringList& fileNames) {
    for (const QString& name : fileNames) {
        ++reading_;
        progress_->show();
        progress_->setFormat("Reading " + QFileInfo(name).fileName());
        auto result = std::make_shared<TLoggerFile>();
        const TLoggerOptions options = form_.ReadOptions;
        const std::string fileName = name.toStdString();
        QThread* thread =
            QThread::create([result, fileName, options] { *result = ReadLoggerFile(fileName, options); });
        threads_.push_back(thread);
        connect(thread, &QThread::finished, this, [this, result, thread] {
            threads_.erase(std::find(threads_.begin(), threads_.end(), thread));
            thread->deleteLater();
            if (--reading_ == 0) progress_->hide();
            binder_.Run([&] { form_.AddFile(std::move(*result)); });
            Rebuild();
            emit FilesRead();
        });
        thread->start();
    }
}

void TLoggerImportDialog::Rebuild() {
    building_ = true;
    files_->setRowCount(static_cast<int>(form_.Files.size()));
    int channelRows = 0;
    for (const TLoggerFile& file : form_.Files)
        channelRows += static_cast<int>(file.Channels.size());
    channels_->setRowCount(channelRows);
    QStringList choices{"(none)"};
    std::vector<std::pair<int, int>> choiceOf{{-1, -1}};
    int row = 0;
    for (std::size_t f = 0; f < form_.Files.size(); ++f) {
        const TLoggerFile& file = form_.Files[f];
        const QString shortName = QFileInfo(Q(file.FileName)).fileName();
        const QString layout = QString("%1, decimal %2, %3")
                                   .arg(file.Separator == '\t'  ? "tab"
                                        : file.Separator == ';' ? "semicolon"
                                                                : "comma",
                                        file.DecimalComma ? "comma" : "point", Q(file.StampFormat));
        files_->setItem(static_cast<int>(f), 0, Item(shortName));
        files_->setItem(static_cast<int>(f), 1, Item(layout));
        files_->setItem(static_cast<int>(f), 2, Item(Q(IntervalText(file.IntervalSeconds))));
        files_->setItem(static_cast<int>(f), 3, Item(Q(RecordRangeText(file))));
        for (std::size_t c = 0; c < file.Channels.size(); ++c, ++row) {
            const TLoggerChannel& channel = file.Channels[c];
            channels_->setItem(row, 0, Item(shortName));
            channels_->setItem(row, 1,
                               Item(QString::number(channel.Column), Qt::AlignRight | Qt::AlignVCenter));
            channels_->setItem(row, 2, Item(Q(channel.Name)));
            channels_->setItem(row, 3,
                               Item(QString::number(channel.Samples), Qt::AlignRight | Qt::AlignVCenter));
            choices << shortName + ": " + Q(channel.Name);
            choiceOf.emplace_back(static_cast<int>(f), static_cast<int>(c));
        }
    }
    files_->resizeColumnsToContents();
    channels_->resizeColumnsToContents();
    for (int q = 0; q < 4; ++q) {
        QComboBox* box = channelBoxes_[q];
        box->clear();
        box->addItems(choices);
        const TChannelAssignment& slot = form_.Assigned[static_cast<std::size_t>(q)];
        for (std::size_t i = 0; i < choiceOf.size(); ++i)
            if (choiceOf[i] == std::pair{slot.File, slot.Channel}) box->setCurrentIndex(static_cast<int>(i));
        unitBoxes_[q]->setCurrentIndex(unitBoxes_[q]->findData(static_cast<int>(slot.Unit)));
        if (unitBoxes_[q]->currentIndex() < 0) unitBoxes_[q]->setCurrentIndex(0);
    }
    const std::vector<int64_t> days = form_.RecordDays();
    dayList_->clear();
    fromBox_->clear();
    toBox_->clear();
    for (const int64_t day : days) {
        auto* item = new QListWidgetItem(DayCaption(day), dayList_);
        item->setData(Qt::UserRole, QVariant::fromValue<qint64>(day));
        item->setSelected(std::find(form_.ChosenDays.begin(), form_.ChosenDays.end(), day) !=
                          form_.ChosenDays.end());
        fromBox_->addItem(DayCaption(day), QVariant::fromValue<qint64>(day));
        toBox_->addItem(DayCaption(day), QVariant::fromValue<qint64>(day));
    }
    fromBox_->setCurrentIndex(fromBox_->findData(QVariant::fromValue<qint64>(form_.FromDay)));
    toBox_->setCurrentIndex(toBox_->findData(QVariant::fromValue<qint64>(form_.ToDay)));
    filterBox_->setCurrentIndex(static_cast<int>(form_.RangeFilter));
    (form_.DayMode == TDayMode::Range ? rangeRadio_ : daysRadio_)->setChecked(true);
    stampBox_->setCurrentIndex(form_.StampAtEnd ? 1 : 0);
    coverageSpin_->setValue(form_.MinCoverage * 100);
    monthFirst_->setChecked(form_.ReadOptions.MonthFirst);
    accept_->setChecked(form_.AcceptCautions);
    flowHours_->setChecked(form_.SetFlowHours);
    building_ = false;
    UpdatePreview();
}

void TLoggerImportDialog::Apply() {
    int index = 0;
    std::vector<std::pair<int, int>> choiceOf{{-1, -1}};
    for (std::size_t f = 0; f < form_.Files.size(); ++f)
        for (std::size_t c = 0; c < form_.Files[f].Channels.size(); ++c)
            choiceOf.emplace_back(static_cast<int>(f), static_cast<int>(c));
    for (int q = 0; q < 4; ++q) {
        TChannelAssignment& slot = form_.Assigned[static_cast<std::size_t>(q)];
        index = channelBoxes_[q]->currentIndex();
        const auto chosen = index >= 0 && index < static_cast<int>(choiceOf.size())
                                ? choiceOf[static_cast<std::size_t>(index)]
                                : std::pair{-1, -1};
        slot.File = chosen.first;
        slot.Channel = chosen.second;
        slot.Unit = static_cast<TLoggerUnit>(unitBoxes_[q]->currentData().toInt());
    }
    form_.ChosenDays.clear();
    for (const QListWidgetItem* item : dayList_->selectedItems())
        form_.ChosenDays.push_back(item->data(Qt::UserRole).toLongLong());
    form_.DayMode = rangeRadio_->isChecked() ? TDayMode::Range : TDayMode::Days;
    if (fromBox_->currentIndex() >= 0) form_.FromDay = fromBox_->currentData().toLongLong();
    if (toBox_->currentIndex() >= 0) form_.ToDay = toBox_->currentData().toLongLong();
    form_.RangeFilter = static_cast<TDayFilter>(filterBox_->currentIndex());
    form_.StampAtEnd = stampBox_->currentIndex() == 1;
    form_.MinCoverage = coverageSpin_->value() / 100.0;
    form_.AcceptCautions = accept_->isChecked();
    form_.SetFlowHours = flowHours_->isChecked();
}

void TLoggerImportDialog::UpdatePreview() {
    const TLoggerPreview preview = form_.Preview();

    // The table of hours.
    for (int h = 0; h < 24; ++h) {
        const bool flagged = preview.Flagged[static_cast<std::size_t>(h)];
        auto* hour = Item(Q(HourText(h)));
        if (flagged) hour->setBackground(QColor(0xFF, 0xE0, 0x80));
        preview_->setItem(h, 0, hour);
        for (std::size_t q = 0; q < MeasuredCount; ++q) {
            QString value, cover;
            if (preview.Means[q]) {
                const double mean = preview.Means[q]->Mean[static_cast<std::size_t>(h)];
                value = std::isnan(mean) ? "-" : Q(FormatFixed(mean, 15, q == 0 ? 3 : 2));
                cover = QString::number(
                            std::lround(preview.Means[q]->Coverage[static_cast<std::size_t>(h)] * 100)) +
                        " %";
            }
            auto* v = Item(value, Qt::AlignRight | Qt::AlignVCenter);
            auto* c = Item(cover, Qt::AlignRight | Qt::AlignVCenter);
            if (flagged) c->setBackground(QColor(0xFF, 0xE0, 0x80));
            preview_->setItem(h, static_cast<int>(1 + 2 * q), v);
            preview_->setItem(h, static_cast<int>(2 + 2 * q), c);
        }
    }
    QStringList notes;
    if (!preview.Ok()) notes << Q(preview.Refusal);
    for (const std::string& caution : preview.Cautions)
        notes << Q(caution);
    cautions_->setText(notes.join('\n'));
    accept_->setEnabled(!preview.Cautions.empty());

    // The whole record of the assigned channels, hour by hour, with the days marked by the
    // time axis and the chosen days shaded.
    QChart* chart = chart_->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes())
        chart->removeAxis(axis), delete axis;
    const std::vector<int64_t> days = form_.RecordDays();
    if (days.empty()) return;
    auto* time = new QDateTimeAxis;
    time->setFormat("dd MMM");
    time->setTickCount(std::min<int>(static_cast<int>(days.size()) + 1, 15));
    time->setRange(QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(ChartTime(days.front() * 86400))),
                   QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(ChartTime((days.back() + 1) * 86400))));
    chart->addAxis(time, Qt::AlignBottom);
    auto* flowAxis = new QValueAxis;
    flowAxis->setTitleText("m³/hr");
    flowAxis->setLabelFormat("%.0f");
    auto* pressureAxis = new QValueAxis;
    pressureAxis->setTitleText("m");
    pressureAxis->setLabelFormat("%.0f");
    chart->addAxis(flowAxis, Qt::AlignLeft);
    chart->addAxis(pressureAxis, Qt::AlignRight);
    double flowMax = 1, pressureMax = 1;
    const QColor colours[] = {QColor(0x1F, 0x4E, 0xA0), QColor(0xC0, 0x50, 0x00), QColor(0x20, 0x90, 0x40),
                              QColor(0xB0, 0x10, 0x30)};
    for (std::size_t q = 0; q < MeasuredCount; ++q) {
        const TChannelAssignment& slot = form_.Assigned[q];
        if (!slot.Assigned() || IsFlowUnit(slot.Unit) != (q == 0)) continue;
        const TChannelBins& bins = form_.Bins(slot.File, slot.Channel);
        auto* series = new QLineSeries;
        series->setName(kMeasuredCaptions[q]);
        series->setPen(QPen(colours[q], 1.2));
        QList<QPointF> points;
        for (std::size_t d = 0; d < bins.Days.size(); ++d)
            for (std::size_t h = 0; h < 24; ++h) {
                const THourBin& bin = bins.Days[d][h];
                if (bin.Seconds <= 0) continue;
                const double value = ToTableUnit(bin.Sum / bin.Seconds, slot.Unit);
                (q == 0 ? flowMax : pressureMax) = std::max(q == 0 ? flowMax : pressureMax, value);
                points.append(QPointF(ChartTime((bins.FirstDay + static_cast<int64_t>(d)) * 86400 +
                                                static_cast<int64_t>(h) * 3600 + 1800),
                                      value));
            }
        series->replace(points);
        chart->addSeries(series);
        series->attachAxis(time);
        series->attachAxis(q == 0 ? flowAxis : pressureAxis);
    }
    flowAxis->setRange(0, std::ceil(flowMax * 1.1));
    pressureAxis->setRange(0, std::ceil(pressureMax * 1.1));
    // The chosen days: a band along the bottom of each.
    bool first = true;
    for (const int64_t day : preview.Days) {
        auto* band = new QLineSeries;
        band->setName("Chosen days");
        band->setPen(QPen(QColor(0xE0, 0xA0, 0x00), 6));
        band->append(ChartTime(day * 86400), flowMax * 0.02);
        band->append(ChartTime((day + 1) * 86400), flowMax * 0.02);
        chart->addSeries(band);
        band->attachAxis(time);
        band->attachAxis(flowAxis);
        if (!first)
            for (QLegendMarker* marker : chart->legend()->markers(band))
                marker->setVisible(false);
        first = false;
    }
}

} // namespace halvern
