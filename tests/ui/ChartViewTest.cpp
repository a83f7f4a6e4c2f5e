// The chart view renders the chart model with Qt Charts and follows it; the Graph
// Properties dialog runs modally and applies through the form.
#include "ui/ChartView.h"
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include "ui/GraphPropDialog.h"
#include "ui/ViewBinder.h"

#include <QApplication>
#include <QCategoryAxis>
#include <QChart>
#include <QCheckBox>
#include <QDialog>
#include <QLegendMarker>
#include <QLineEdit>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QValueAxis>
#include <QtTest>
#include <memory>

using namespace halvern;
namespace PRV = PRVGridLayout;

namespace {

// A day of results: column c of hour h holds 10 * c + h / 2.
void FillTable(TMarkStringGrid& grid) {
    grid.SetColCount(10);
    grid.SetRowCount(26);
    for (int h = 0; h < 24; ++h) {
        const std::string hour = (h < 10 ? "0" : "") + std::to_string(h);
        grid.SetCell(PRV::HourCol, PRV::HourRow(h), hour + ":00");
        for (int c = 1; c < 10; ++c)
            grid.SetCell(c, h + 2, FormatFixed(10 * c + h / 2.0, 5, 2));
    }
}

QValueAxis* VerticalAxis(QChart* chart, Qt::Alignment side) {
    const auto axes = chart->axes(Qt::Vertical);
    for (QAbstractAxis* a : axes)
        if (a->alignment() == side) return qobject_cast<QValueAxis*>(a);
    return nullptr;
}

} // namespace

class ChartViewTest : public QObject {
    Q_OBJECT

private slots:
    void RendersTheModelAndFollowsIt() {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs);
        FillTable(form.FixedPRVGrid);
        TChartView view(form.FixedPRVChart);
        form.FixedPRVChart.OnChanged = [&view] { view.Refresh(); };
        form.DrawChart(form.FixedPRVChart, form.FixedPRVGrid);

        QChart* chart = view.Chart();
        QCOMPARE(chart->title(), QString("Fixed PRV Outlet"));
        const auto series = chart->series();
        QCOMPARE(series.size(), 9);
        auto* inlet = qobject_cast<QLineSeries*>(series[0]);
        QVERIFY(inlet);
        QCOMPARE(inlet->count(), 25);
        QCOMPARE(inlet->pen().widthF(), 2.0);
        QVERIFY(!inlet->lightMarker().isNull());
        QVERIFY(series[6]->isVisible());  // zone inflow
        QVERIFY(!series[7]->isVisible()); // pressure-dependent flow
        QVERIFY(!chart->legend()->markers(series[7]).front()->isVisible());
        QCOMPARE(chart->legend()->alignment(), Qt::AlignBottom);

        auto* hours = qobject_cast<QCategoryAxis*>(chart->axes(Qt::Horizontal).front());
        QVERIFY(hours);
        QCOMPARE(hours->titleText(), QString("hours"));
        QCOMPARE(hours->count(), 25);
        QCOMPARE(hours->categoriesLabels().front(), QString("00"));
        QCOMPARE(hours->categoriesLabels().back(), QString("24"));

        QValueAxis* pressure = VerticalAxis(chart, Qt::AlignLeft);
        QValueAxis* flow = VerticalAxis(chart, Qt::AlignRight);
        QVERIFY(pressure && flow);
        QCOMPARE(pressure->titleText(), QString("Pressure (m)"));
        QCOMPARE(flow->titleText(), QString("Flow (m³/hr)"));
        QVERIFY(!flow->isGridLineVisible());
        QVERIFY(pressure->titleFont().bold());
        // Automatic: from 0 to cover the shown pressures (critical pressure reaches 51.5).
        QCOMPARE(pressure->min(), 0.0);
        QVERIFY(pressure->max() >= 51.5);
        QVERIFY(flow->max() >= 81.5);

        // A fixed maximum, then automatic again, follows the model at every refresh.
        form.FixedPRVChart.LeftAxis.Automatic = false;
        form.FixedPRVChart.LeftAxis.Maximum = 60;
        form.FixedPRVChart.Changed();
        QCOMPARE(VerticalAxis(chart, Qt::AlignLeft)->max(), 60.0);
        form.FixedPRVGrid.SetCell(PRV::InletCol, PRV::HourRow(0), "200");
        form.DrawChart(form.FixedPRVChart, form.FixedPRVGrid);
        QCOMPARE(VerticalAxis(chart, Qt::AlignLeft)->min(), 0.0);
        QCOMPARE(VerticalAxis(chart, Qt::AlignLeft)->max(), 60.0);
        form.FixedPRVChart.LeftAxis.Automatic = true;
        form.FixedPRVChart.Changed();
        // A peak on a round number leaves room above it: its marker is drawn inside the plot,
        // not on the frame. The same for the flows.
        QVERIFY(VerticalAxis(chart, Qt::AlignLeft)->max() >= 200 * 1.05);
        form.FixedPRVGrid.SetCell(7, 5, "100"); // the zone inflow
        form.DrawChart(form.FixedPRVChart, form.FixedPRVGrid);
        QVERIFY(VerticalAxis(chart, Qt::AlignRight)->max() >= 100 * 1.05);

        // Printing paints the chart into the page rectangle.
        QImage page(600, 400, QImage::Format_ARGB32);
        page.fill(Qt::transparent);
        {
            QPainter painter(&page);
            view.PrintTo(painter, QRectF(0, 0, 600, 400));
        }
        QCOMPARE(page.pixelColor(2, 2), QColor(Qt::white));
        int lime = 0; // the zone inflow's line and markers
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                lime += page.pixelColor(x, y) == QColor(0, 255, 0);
        QVERIFY(lime > 100);
    }

    void AChartWithNothingDrawnKeepsItsHoursAxisUnderThePlot() {
        // Seen behind a warning while its page opens, or after a drawing stopped at its
        // first cell: the title "hours" belongs under the plot, not in the top left corner.
        TScriptedDialogs dialogs;
        TMainForm form(dialogs);
        TChartView view(form.CurrentChart);
        view.resize(880, 500);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        QCoreApplication::processEvents();
        const QImage image = view.grab().toImage();
        int dark = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 80; ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        QCOMPARE(dark, 0);
    }

    void TheDialogOpensModallyAndOKAppliesToAllCharts() {
        TScriptedDialogs dialogs;
        TMainForm form(dialogs);
        QWidget window;
        TViewBinder binder(form, &window);
        InstallGraphPropDialog(form.GraphPropForm, binder, &window);
        // What the widgets were last refreshed with: the binder refreshes after every event
        // and once the dialog has gone.
        bool shownVisible = false;
        binder.AddRefresher([&] { shownVisible = form.GraphPropForm.Visible; });

        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = window.findChild<QDialog*>("GraphPropForm");
            QVERIFY(dialog && dialog->isVisible() && dialog->isModal());
            QCOMPARE(dialog->windowTitle(), QString("Graph Properties"));
            QVERIFY(!dialog->findChild<QCheckBox*>("PRVPresCheckBox")->isVisible());
            QVERIFY(dialog->findChild<QCheckBox*>("InletPresCheckBox")->isChecked());
            dialog->findChild<QCheckBox*>("PresDepCheckBox")->click();
            QLineEdit* maxPres = dialog->findChild<QLineEdit*>("GraphMaxPresEdit");
            QCOMPARE(maxPres->text(), QString("0"));
            maxPres->selectAll();
            QTest::keyClicks(maxPres, "60");
            auto* ok = dialog->findChild<QPushButton*>("BitBtn1");
            QVERIFY(ok->isDefault());
            QTest::keyClick(maxPres, Qt::Key_Return); // Enter presses the default button
            seen = true;
        });
        form.Dispatch([&] { form.GraphOptionButton.Click(); });

        QVERIFY(seen);
        QVERIFY(!form.GraphPropForm.Visible);
        QVERIFY(!shownVisible);
        for (TChart* chart :
             {&form.CurrentChart, &form.FixedPRVChart, &form.TimePRVChart, &form.FlowPRVChart}) {
            QVERIFY(!chart->LeftAxis.Automatic);
            QCOMPARE(chart->LeftAxis.Maximum, 60.0);
        }
        QVERIFY(form.CurrentChart.Series[4].Active);
        QVERIFY(form.FlowPRVChart.Series[7].Active);

        // The close box applies nothing.
        QTimer::singleShot(0, [&] {
            auto* dialog = window.findChild<QDialog*>("GraphPropForm");
            QVERIFY(shownVisible);
            auto* zoneInflow = dialog->findChild<QCheckBox*>("ZoneInfCheckBox");
            zoneInflow->click();
            // The tick reached the form through its dispatch point.
            QVERIFY(!form.GraphPropForm.ZoneInfCheckBox.Checked);
            QVERIFY(!zoneInflow->isChecked());
            dialog->close();
        });
        binder.Run([&] { form.FullGraphOptionButton.Click(); });
        QVERIFY(!form.GraphPropForm.Visible);
        QVERIFY(!shownVisible);
        QVERIFY(form.Project.GraphZoneInf);
        QVERIFY(form.FixedPRVChart.Series[6].Active);
    }
};

QTEST_MAIN(ChartViewTest)
#include "ChartViewTest.moc"
