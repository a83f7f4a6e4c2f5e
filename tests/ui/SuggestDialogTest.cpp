// The suggestion window over a read project: the search runs beside the window and fills
// the table, Apply writes into the page's edits as one step, Undo takes it back, Cancel
// stops the window search; every valve page has its "Suggest" button.
#include "ui/SuggestDialog.h"
#include "UiFixture.h"
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

using namespace halvern;

class SuggestDialogTest : public QObject {
    Q_OBJECT
private slots:
    void SuggestsAppliesAndUndoes() {
        TUiFixture ui;
        ui.dialogs.FileNames.push_back(std::string(HALVERN_TEST_DATA) + "/../../examples/demo-zone.pru");
        ui.Run([&] { ui.form.actDataReadExec(); });
        for (const char* name :
             {"FixedSuggestButton", "TimeSuggestButton", "FlowSuggestButton", "SuggestAllButton"})
            QVERIFY2(ui.Find<QPushButton>(name) != nullptr, name);

        const std::string outlet = ui.form.FixedPRVOutletEdit.Text();
        TSuggestDialog dialog(ui.window.Binder(), TValve::Fixed, &ui.window);
        dialog.Start();
        dialog.Wait();
        QCOMPARE(dialog.Suggestions().size(), std::size_t{1});
        const TValveSuggestion& s = dialog.Suggestions()[0];
        QVERIFY(s.Feasible);
        QCOMPARE(dialog.Table()->item(1, 2)->text(), QString::fromStdString(s.Suggested.Outlet));

        dialog.Apply();
        QCOMPARE(ui.form.FixedPRVOutletEdit.Text(), s.Suggested.Outlet);
        QCOMPARE(ui.form.FixedWarnLabel.Caption, std::string());
        QCOMPARE(ui.Find<QLineEdit>("FixedPRVOutletEdit")->text(),
                 QString::fromStdString(s.Suggested.Outlet));
        dialog.Undo();
        QCOMPARE(ui.form.FixedPRVOutletEdit.Text(), outlet);
    }

    void CancelStopsTheWindowSearch() {
        TUiFixture ui;
        ui.dialogs.FileNames.push_back(std::string(HALVERN_TEST_DATA) + "/../../examples/demo-zone.pru");
        ui.Run([&] { ui.form.actDataReadExec(); });
        ui.Run([&] { ui.form.Interval4Radio.Click(); });
        TSuggestDialog dialog(ui.window.Binder(), std::nullopt, &ui.window);
        dialog.findChild<QCheckBox*>("ChooseWindowsCheck")->setChecked(true);
        dialog.Start();
        dialog.Cancel();
        dialog.Wait();
        // Either the search ended before the cancel was seen, or it stopped: never half a result.
        for (const TValveSuggestion& s : dialog.Suggestions())
            QVERIFY(s.Cancelled || s.Computed || !s.Note.empty());
        QVERIFY(!dialog.Running());
    }
};

QTEST_MAIN(SuggestDialogTest)
#include "SuggestDialogTest.moc"
