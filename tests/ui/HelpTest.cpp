// The user guide behind F1: every topic a control carries opens a section of the guide that
// is about that control, F1 finds the topic of an edit, a grid and a tab, one help window
// serves them all without blocking the main window, every link and picture of the guide
// resolves, and the Help menu opens the contents and the About box.
#include "UiFixture.h"
#include "model/Version.h"
#include "ui/AboutBox.h"
#include "ui/HelpTopics.h"
#include "ui/HelpWindow.h"
#include "ui/N1Window.h"
#include "ui/PageTabs.h"
#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

using namespace halvern;

namespace {

// Where an anchor starts in the browser's document, as the browser itself finds it; -1 when
// the document has no anchor of that name.
int AnchorPosition(const QTextDocument& document, const QString& name) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().anchorNames().contains(name)) return it.fragment().position();
    return -1;
}

// The text of a topic's section: from its anchor to the next topic's anchor (or the end).
QString SectionText(const QTextDocument& document, int topic) {
    const int start = AnchorPosition(document, QString("topic-%1").arg(topic));
    if (start < 0) return {};
    int end = document.characterCount() - 1;
    for (int other : HelpTopicNumbers()) {
        const int at = AnchorPosition(document, QString("topic-%1").arg(other));
        if (at > start && at < end) end = at;
    }
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    return cursor.selectedText();
}

QString HeadingAt(const QTextDocument& document, int topic) {
    const int start = AnchorPosition(document, QString("topic-%1").arg(topic));
    return start < 0 ? QString() : document.findBlock(start).text();
}

QString Anchor(const QTextBrowser* browser) {
    return browser->source().fileName() + "#" + browser->source().fragment();
}

} // namespace

class HelpTest : public QObject {
    Q_OBJECT
    std::unique_ptr<TUiFixture> ui;

    QTextBrowser* Browser() { return ui->window.HelpWindow()->Browser(); }

    void PressF1On(QWidget* widget) {
        widget->activateWindow();
        widget->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(widget->hasFocus());
        QTest::keyClick(widget, Qt::Key_F1);
    }

private slots:
    void init() { ui = std::make_unique<TUiFixture>(); }
    void cleanup() { ui.reset(); }

    void EveryTopicOpensASectionAboutItsControl_data() {
        QTest::addColumn<int>("topic");
        QTest::addColumn<QString>("heading");   // the section's heading names the subject
        QTest::addColumn<QStringList>("words"); // and its text these words
        const auto row = [](int topic, const char* heading, QStringList words = {}) {
            QTest::addRow("%d", topic) << topic << QString(heading) << words;
        };
        row(2, "Analysis Reference", {"Water Supply system"});
        row(3, "Length of Mains", {"km"});
        row(4, "Number of connections", {"connection losses"});
        row(5, "Residential properties", {"property losses"});
        row(7, "Non-residential properties", {"non-residential night use"});
        row(8, "Population", {"residential night use", "population use"});
        row(9, "Minimum acceptable pressure", {"critical point"});
        row(10, "Zone inlet", {"elevation"});
        row(11, "Average Zone Point", {"elevation", "leakage"});
        row(12, "Critical Point", {"elevation", "minimum acceptable pressure"});
        row(13, "Lowest flow time", {"minimum night flow", "aqua"});
        row(14, "Highest flow time", {"peak", "yellow"});
        row(15, "Zone Name", {});
        row(21, "Mains losses", {"l/km/hr"});
        // F1 on the pressure-dependent property rate opens this topic too.
        row(22, "Connection losses",
            {"l/conn/hr", "pressure-dependent rates of connections and of properties"});
        row(23, "Property losses", {"l/prop/hr"});
        row(24, "N1", {"0.5 to 2.5", "Estimate"});
        row(31, "Units", {"m³/hr", "l/s"});
        row(32, "Import", {"comma"});
        row(33, "hourly table", {"Inlet Pressure", "AZP Pressure", "Critical Point Pressure"});
        row(41, "Cistern Capacity", {"litres"});
        row(42, "% of population active", {"percent"});
        row(43, "Non-residential night use", {"l/prop/hr"});
        row(44, "Exceptional Night Use", {"m³/hr"});
        row(45, "daily non-residential consumption", {"m³"});
        row(53, "N1 Calculation", {"AZP", "Zone Inflow", "ln("});
        row(61, "Current Situation", {"pressure-dependent", "pressure-independent"});
        row(62, "table", {"Headloss", "Day / Night Factor", "population use"});
        row(63, "chart", {"Graph properties"});
        row(71, "Fixed Outlet", {"PRV Outlet", "Critical"});
        row(72, "PRV Outlet Pressure", {"outlet"});
        row(73, "charts", {"Graph properties"});
        // F1 on the flow-modulated table opens this topic too.
        row(81, "Time Modulated", {"Flow Modulated", "High Pressure", "Low Pressure"});
        row(83, "High Pressure", {"outlet pressure"});
        row(84, "Low Pressure", {"outlet pressure"});
        row(85, "Intervals", {"2 Intervals", "4 Intervals"});
        row(86, "High pressure periods", {"Start", "Stop"});
        row(90, "Summary", {"payback", "Implementation Costs"});
        row(91, "N1 Value for Consumption Correction", {"not saved", "0.5"});
        row(92, "N1 Sensitivity", {"leakage exponent", "Typical N1", "copy of the window"});
        row(93, "N1 from, to and step", {"0.5 and 2.5", "at least 0.01"});
        row(94, "Payback horizon", {"60", "sentences"});
        row(95, "sensitivity table", {"yellow", "Never", "m³/a"});
        row(96, "charts", {"upright line", "gap", "right click"});
    }
    void EveryTopicOpensASectionAboutItsControl() {
        QFETCH(int, topic);
        QFETCH(QString, heading);
        QFETCH(QStringList, words);
        ui->window.HelpWindow()->ShowTopic(topic);
        QCOMPARE(Browser()->source().fragment(), QString("topic-%1").arg(topic));
        const QTextDocument& document = *Browser()->document();
        QVERIFY2(AnchorPosition(document, QString("topic-%1").arg(topic)) >= 0,
                 qPrintable(Browser()->source().toString() + " has no such anchor"));
        QVERIFY2(HeadingAt(document, topic).contains(heading, Qt::CaseInsensitive),
                 qPrintable(HeadingAt(document, topic)));
        const QString text = SectionText(document, topic);
        for (const QString& word : words)
            QVERIFY2(text.contains(word, Qt::CaseInsensitive),
                     qPrintable(QString("%1 lacks '%2'").arg(topic).arg(word)));
    }

    void EveryControlsTopicIsInTheGuide() {
        // The test above lists the topics; here the window's own controls say which they carry.
        ui->Run([&] { ui->form.N1CalculationClick(); });
        QSet<int> carried;
        for (QWidget* root :
             {static_cast<QWidget*>(&ui->window), static_cast<QWidget*>(ui->window.N1Window())})
            for (QWidget* widget : root->findChildren<QWidget*>())
                if (const int topic = widget->property("helpContext").toInt(); topic > 0) carried << topic;
        QVERIFY(carried.size() > 20);
        for (int topic : carried)
            QVERIFY2(!HelpTopicUrl(topic).isEmpty(),
                     qPrintable(QString("topic %1 has no section").arg(topic)));
        const QList<int> known = HelpTopicNumbers();
        QCOMPARE(QSet<int>(known.begin(), known.end()) - carried, QSet<int>());
        QVERIFY(HelpTopicUrl(6).isEmpty()); // no control carries 6: F1 would open the contents
    }

    void EveryLinkAndPictureOfTheGuideResolves() {
        QStringList pages;
        QDirIterator it(":/guide", {"*.html"});
        while (it.hasNext())
            pages << QFileInfo(it.next()).fileName();
        QVERIFY(pages.size() >= 10);
        const auto textOf = [](const QString& page) {
            QFile file(":/guide/" + page);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        const QRegularExpression reference("(href|src)=\"([^\"]+)\"");
        for (const QString& page : pages) {
            const QString text = textOf(page);
            for (auto match = reference.globalMatch(text); match.hasNext();) {
                const QString target = match.next().captured(2);
                if (target.startsWith("http")) continue;
                const QString file = target.section('#', 0, 0);
                const QString anchor = target.section('#', 1);
                const QString resolved = file.isEmpty() ? page : file;
                QVERIFY2(QFile::exists(":/guide/" + resolved), qPrintable(page + ": " + target));
                if (!anchor.isEmpty())
                    QVERIFY2(textOf(resolved).contains(QString("name=\"%1\"").arg(anchor)),
                             qPrintable(page + ": " + target));
            }
        }
    }

    void F1OnAnEditOpensItsTopicInOneNonModalWindow() {
        auto* edit = ui->Find<QLineEdit>("MainsLengthEdit");
        PressF1On(edit);
        THelpWindow* help = ui->window.HelpWindow();
        QTRY_VERIFY(help->isVisible());
        QCOMPARE(Anchor(Browser()), QString("general.html#topic-3"));
        QVERIFY(!help->isModal());
        QCOMPARE(help->windowModality(), Qt::NonModal);
        // The main window goes on working beside it.
        ui->Run([&] { ui->form.actDataNewExec(); });
        QCOMPARE(ui->form.StatusBar1.SimpleText, std::string("New project"));
        // F1 on another box moves the same window to that topic.
        PressF1On(ui->Find<QLineEdit>("PopulationEdit"));
        QTRY_COMPARE(Anchor(Browser()), QString("general.html#topic-8"));
        int helpWindows = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            helpWindows += qobject_cast<THelpWindow*>(window) != nullptr;
        QCOMPARE(helpWindows, 1);
        // On the screen, and beside the window it helps with where the screen has room for both.
        const QRect room = help->screen()->availableGeometry();
        const QRect main = ui->window.frameGeometry();
        QVERIFY(room.contains(help->frameGeometry().topLeft()));
        QVERIFY2(room.contains(help->frameGeometry()), "the help window runs off the screen");
        if (main.width() + help->frameGeometry().width() < room.width())
            QVERIFY(!help->frameGeometry().intersects(main));
    }

    void F1OnAGridOpensItsTopic() {
        ui->Run([&] { ui->form.InputPage.SetActivePage(ui->form.FlowSheet); });
        auto* grid = ui->Find<QWidget>("FlowGrid");
        QTRY_VERIFY(grid->isVisible());
        PressF1On(grid);
        QTRY_COMPARE(Anchor(Browser()), QString("flow.html#topic-33"));

        ui->Run([&] { ui->form.N1CalculationClick(); });
        auto* n1Grid = ui->window.N1Window()->findChild<QWidget*>("N1Grid");
        QTRY_VERIFY(n1Grid && n1Grid->isVisible());
        PressF1On(n1Grid);
        QTRY_COMPARE(Anchor(Browser()), QString("n1.html#topic-53"));
    }

    void F1OnATabOpensThePageItShows() {
        TPageTabs* main = ui->window.Tabs(ui->form.MainPage);
        QTabBar* bar = main->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center()); // "Fixed Outlet"
        QCOMPARE(main->currentIndex(), 2);
        PressF1On(bar);
        QTRY_COMPARE(Anchor(Browser()), QString("valves.html#topic-71"));
        // A tab whose page has no topic of its own ("Data Input") opens the contents.
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
        PressF1On(bar);
        QTRY_COMPARE(Browser()->source().fileName(), QString("index.html"));
    }

    void F1OnTheSummarysBoxesOpensTheirTopicAndEscapeCloses() {
        ui->Run([&] { ui->form.MainPage.SetActivePage(ui->form.SummarySheet); });
        auto* n1 = ui->Find<QLineEdit>("edtConsumptionN1");
        QTRY_VERIFY(n1->isVisible());
        PressF1On(n1);
        QTRY_COMPARE(Anchor(Browser()), QString("summary.html#topic-91"));
        PressF1On(ui->Find<QLineEdit>("InflowCostEdit")); // the page's own topic
        QTRY_COMPARE(Anchor(Browser()), QString("summary.html#topic-90"));
        THelpWindow* help = ui->window.HelpWindow();
        help->activateWindow();
        QTest::keyClick(Browser(), Qt::Key_Escape);
        QTRY_VERIFY(!help->isVisible());
    }

    void F1OnAControlWithoutTopicOpensTheContents() {
        PressF1On(ui->Find<QLineEdit>("MinNightPressureEdit"));
        QTRY_VERIFY(ui->window.HelpWindow()->isVisible());
        QCOMPARE(Browser()->source(), HelpContentsUrl());
        QVERIFY(Browser()->toPlainText().contains("Contents"));
    }

    void HelpMenuOpensTheContentsAndTheAboutBox() {
        auto* contents = ui->window.findChild<QAction*>("menuHelpContents");
        QVERIFY(contents);
        contents->trigger();
        QTRY_VERIFY(ui->window.HelpWindow()->isVisible());
        QCOMPARE(Browser()->source(), HelpContentsUrl());

        ui->window.findChild<QAction*>("menuAbout")->trigger();
        TAboutBox* about = nullptr;
        QTRY_VERIFY((about = ui->window.findChild<TAboutBox*>()) && about->isVisible());
        const QString text = about->Text();
        QVERIFY2(text.contains(VersionText), qPrintable(text)); // "Version: " and the number
        QVERIFY(text.contains("Whilst every effort has been made by the developers"));
        QVERIFY(text.contains("(direct or indirect) incurred"));
        for (const char* library : {"Qt", "Qt Charts", "libxlsxwriter", "LGPL", "GPL", "BSD"})
            QVERIFY2(text.contains(library), library);
        about->accept();
    }

    void FileMenuHoldsTheFileCommandsAndRecentProjects() {
        QMenu* file = ui->window.findChild<QMenu*>("FileMenu");
        QVERIFY(file);
        QStringList items;
        for (QAction* action : file->actions())
            items << (action->isSeparator() ? QString("-") : action->text());
        QCOMPARE(items,
                 QStringList({"&New data", "&Read data…", "&Save data", "Save data &as…", "-",
                              "Import &hourly data…", "Import &logger data…", "-", "Sprea&dsheet report…",
                              "Add &General Data to last report", "-", "&Print…", "Save page as p&icture…",
                              "-", "Recen&t projects", "-", "&Close"}));
        // No two items share an underlined letter, and the commands every desktop program has
        // answer the platform's keys.
        QSet<QChar> letters;
        for (const QString& item : items) {
            const qsizetype amp = item.indexOf('&');
            if (amp < 0) continue;
            QVERIFY2(!letters.contains(item.at(amp + 1).toLower()), qPrintable(item));
            letters.insert(item.at(amp + 1).toLower());
        }
        const std::pair<const char*, QKeySequence::StandardKey> keys[] = {
            {"menuDataNew", QKeySequence::New},   {"menuDataRead", QKeySequence::Open},
            {"menuDataSave", QKeySequence::Save}, {"menuDataSaveAs", QKeySequence::SaveAs},
            {"menuPrint", QKeySequence::Print},   {"menuClose", QKeySequence::Quit}};
        for (const auto& [name, key] : keys)
            QCOMPARE(ui->window.findChild<QAction*>(name)->shortcut(), QKeySequence(key));
        // Without a settings session there is no list to offer.
        QVERIFY(!ui->window.findChild<QMenu*>("RecentProjectsMenu")->isEnabled());
        // A menu item runs the toolbar's command.
        ui->window.findChild<QAction*>("menuDataNew")->trigger();
        QCOMPARE(ui->form.StatusBar1.SimpleText, std::string("New project"));
        QMenu* help = ui->window.findChild<QMenu*>("HelpMenu");
        QStringList helpItems;
        for (QAction* action : help->actions())
            helpItems << action->text();
        QCOMPARE(helpItems, QStringList({"&Contents", "&About Halvern"}));
    }
};

QTEST_MAIN(HelpTest)
#include "HelpTest.moc"
