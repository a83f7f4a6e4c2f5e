// The pictures for the README: every page, sub-page and window is shown through the
// form and written, pages at the window's 908 x 645.
#include "ui/PageImages.h"
#include "UiFixture.h"
#include <QImage>
#include <QTemporaryDir>

using namespace halvern;

class PageImagesTest : public QObject {
    Q_OBJECT
private slots:
    void WritesEveryPageAndWindow() {
        TUiFixture ui;
        ui.dialogs.FileNames.push_back(std::string(HALVERN_TEST_DATA) + "/windows-zone.pru");
        ui.Run([&] { ui.form.actDataReadExec(); });
        QCOMPARE(ui.window.windowTitle(), QString("Halvern : windows-zone.pru"));

        QTemporaryDir folder;
        const QStringList written = WritePageImages(ui.window, folder.path());
        QStringList names;
        for (const QString& file : written)
            names << QFileInfo(file).completeBaseName();
        const QStringList pages = {"DataInputSheet",     "GeneralSheet",           "PropertySheet",
                                   "FlowSheet",          "CurrentSituationSheet",  "CurrentTabulatedSheet",
                                   "GraphicalSheet",     "FixedOutletSheet",       "FixedTabulatedSheet",
                                   "FixedGraphSheet",    "TimeModulatedSheet",     "TimeTabulatedSheet",
                                   "TimeGraphicalSheet", "FlowModulatedSheet",     "FlowTabulatedSheet",
                                   "FlowGraphicalSheet", "SummarySheet",           "CostSummarySheet",
                                   "N1SensitivitySheet", "N1SensitivitySheetBelow"};
        QCOMPARE(names, pages + QStringList({"TN1CalculationForm", "TfrmPrint", "TCostsForm",
                                             "TGraphPropForm", "TImportHelp", "HelpWindow"}));
        for (const QString& page : pages)
            QCOMPARE(QImage(QDir(folder.path()).filePath(page + ".png")).size(), QSize(908, 645));
        QCOMPARE(QImage(QDir(folder.path()).filePath("TfrmPrint.png")).size(), QSize(335, 237));
        // Each page was shown as a user would show it: the last one is highlighted now.
        QVERIFY(ui.form.SummarySheet.Highlighted);
        QVERIFY(ui.form.N1SensitivitySheet.Highlighted);
        // The windows were closed again, as their close boxes close them.
        QVERIFY(!ui.form.CostsForm.Visible);
        QVERIFY(!ui.form.N1CalculationForm.Visible);
        QVERIFY(!ui.form.ImportHelp.Visible);
    }
};

QTEST_MAIN(PageImagesTest)
#include "PageImagesTest.moc"
