// What the desktop program remembers between runs, in a settings file of the test's own: the
// recent projects and the last folder survive a restart, as do the window's size and place;
// a recent project that has gone is taken off the list with a message; a damaged or
// unwritable settings file never stops the program.
#include "ui/DesktopSession.h"
#include "forms/MainForm.h"
#include "ui/DesktopSettings.h"
#include "ui/MainWindow.h"
#include "ui/ViewBinder.h"
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>

using namespace halvern;

namespace {

// One run of the program: settings read from the file, a window placed from them and shown,
// projects read through the form's own Read data with a scripted dialog.
struct TRun {
    TDesktopSettings settings;
    TScriptedDialogs dialogs;
    TMainForm form{dialogs};
    TMainWindow window{form};
    TDesktopSession* session;

    explicit TRun(const QString& settingsFile) : settings(settingsFile) {
        session = new TDesktopSession(window, settings, [this](const QString& file) { Read(file); });
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    void Read(const QString& file) {
        dialogs.FileNames.push_back(file.toStdString());
        window.Binder().Run([&] { form.actDataReadExec(); });
    }
    // "Save data as": a project read from a file saves to it with Save data, without a dialog.
    void Save(const QString& file) {
        dialogs.FileNames.push_back(file.toStdString());
        window.Binder().Run([&] { form.actDataSaveAsExec(); });
    }
    // The recent projects as the File menu lists them (their full names).
    QStringList MenuFiles() const {
        QStringList files;
        for (QAction* item : session->RecentMenu()->actions())
            if (!item->data().toString().isEmpty()) files << item->data().toString();
        return files;
    }
    QAction* MenuItem(const QString& file) const {
        for (QAction* item : session->RecentMenu()->actions())
            if (item->data().toString() == file) return item;
        return nullptr;
    }
};

} // namespace

class DesktopSessionTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> folder;

    QString Path(const QString& name) const { return folder->filePath(name); }
    QString SettingsFile() const { return Path("config/Halvern/Halvern.conf"); }
    QString Project(const QString& name) const {
        const QString file = Path(name);
        QFile::remove(file);
        QFile::copy(QString(HALVERN_TEST_DATA) + "/windows-zone.pru", file);
        return file;
    }

private slots:
    void init() { folder = std::make_unique<QTemporaryDir>(); }
    void cleanup() { folder.reset(); }

    void RecentProjectsLastFolderAndWindowSurviveARestart() {
        const QString a = Project("a.pru"), b = Project("b.pru");
        QDir().mkpath(Path("saved"));
        const QString saved = Path("saved/c.pru");
        QRect placed;
        {
            TRun run(SettingsFile());
            QVERIFY(!run.session->RecentMenu()->isEnabled()); // nothing yet
            run.Read(a);
            run.Read(b);
            run.Save(saved);
            QCOMPARE(run.MenuFiles(), QStringList({saved, b, a}));
            QVERIFY(run.session->RecentMenu()->isEnabled());
            QVERIFY(run.session->RecentMenu()->actions().first()->text().contains("c.pru"));
            run.window.setGeometry(40, 50, 1000, 700);
            placed = run.window.geometry();
            run.window.close(); // the program's end: the window's place is kept
        }
        TRun again(SettingsFile());
        QCOMPARE(again.MenuFiles(), QStringList({saved, b, a}));
        QCOMPARE(again.window.geometry(), placed);
        QCOMPARE(again.window.size(), QSize(1000, 700));
        // Read data, Save data and the import open in the folder of the last project; other
        // dialogs choose their own.
        QCOMPARE(again.session->StartFolder({"OpenDialog1", "", "pru", {}}), Path("saved"));
        QCOMPARE(again.session->StartFolder({"SaveDialog1", "", "pru", {}}), Path("saved"));
        QCOMPARE(again.session->StartFolder({"OpenDialog2", "", "", {}}), Path("saved"));
        QCOMPARE(again.session->StartFolder({"SavePictureDialog", "", "png", {}}), QString());

        // Choosing one reads it as Read data does and puts it on top.
        again.MenuItem(a)->trigger();
        QCOMPARE(again.form.Caption, std::string("Halvern : a.pru"));
        QCOMPARE(again.MenuFiles(), QStringList({a, saved, b}));
    }

    void AProjectThatHasGoneIsTakenOffTheListWithAMessage() {
        const QString a = Project("a.pru"), gone = Project("gone.pru");
        TRun run(SettingsFile());
        run.Read(gone);
        run.Read(a);
        QFile::remove(gone);
        run.dialogs.Clear();
        run.MenuItem(gone)->trigger();
        QCOMPARE(run.dialogs.Messages.size(), size_t(1));
        QCOMPARE(run.dialogs.Messages[0].Type, TMsgDlgType::Error);
        QVERIFY(QString::fromStdString(run.dialogs.Messages[0].Text).contains(gone));
        QCOMPARE(run.MenuFiles(), QStringList({a}));
        QCOMPARE(run.settings.RecentProjects(), QStringList({a}));
        // The project on the screen is still the one read last.
        QCOMPARE(run.form.Caption, std::string("Halvern : a.pru"));
        // The list can be emptied.
        for (QAction* item : run.session->RecentMenu()->actions())
            if (item->objectName() == "ClearRecentProjects") item->trigger();
        QVERIFY(run.MenuFiles().isEmpty());
        QVERIFY(!run.session->RecentMenu()->isEnabled());
    }

    void TheListKeepsEightProjectsOnceEach() {
        TDesktopSettings settings(SettingsFile());
        for (int i = 0; i < 10; ++i)
            settings.AddRecentProject(Path(QString("p%1.pru").arg(i)));
        settings.AddRecentProject(Path("p5.pru")); // again: moves to the top, not listed twice
        // A relative name is kept as the absolute name of the file it means.
        const QStringList recent = settings.RecentProjects();
        QCOMPARE(recent.size(), TDesktopSettings::MaxRecentProjects);
        QCOMPARE(recent.first(), Path("p5.pru"));
        QCOMPARE(recent.count(Path("p5.pru")), 1);
        QVERIFY(!recent.contains(Path("p0.pru")));
        QVERIFY(!recent.contains(Path("p1.pru")));
        QCOMPARE(recent[1], Path("p9.pru"));
    }

    void ADamagedSettingsFileNeverStopsTheProgram_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("kept"); // the recent projects that can still be used
        QTest::addColumn<bool>("putAside");    // unreadable as settings: kept as Halvern.conf.damaged
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe[\x01\x02=\x03\n\x80\x81", 11) << QStringList()
                                << false;
        QTest::newRow("unclosed group")
            << QByteArray("[MainWindow\ngeometry=@ByteArray(\n") << QStringList() << true;
        QTest::newRow("wrong kinds of values")
            << QByteArray("[MainWindow]\ngeometry=not a geometry\n[Projects]\nlastFolder=42\n"
                          "recent=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x18\\xff)\n")
            << QStringList() << false;
        QTest::newRow("relative and odd names")
            << QByteArray("[Projects]\nrecent=relative.pru, , /\\0/x.pru, /ok/zone.pru, /ok/zone.pru\n")
            << QStringList({"/ok/zone.pru"}) << false;
    }
    void ADamagedSettingsFileNeverStopsTheProgram() {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, kept);
        QFETCH(bool, putAside);
        QDir().mkpath(Path("config/Halvern"));
        QFile file(SettingsFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        {
            TRun run(SettingsFile());
            // Defaults where nothing sound was kept: the window's first size, no odd entries.
            QCOMPARE(run.window.size(), QSize(908, 645));
            QCOMPARE(run.settings.RecentProjects(), kept);
            QVERIFY(run.settings.LastFolder().isEmpty());
            // And the program keeps its list from now on.
            const QString a = Project("a.pru");
            run.Read(a);
            QCOMPARE(run.MenuFiles().first(), a);
        }
        TDesktopSettings again(SettingsFile());
        QCOMPARE(again.RecentProjects().first(), Project("a.pru"));
        QFile damaged(SettingsFile() + ".damaged");
        QCOMPARE(damaged.exists(), putAside);
        if (putAside) {
            QVERIFY(damaged.open(QIODevice::ReadOnly));
            QCOMPARE(damaged.readAll(), content);
        }
    }

    // A named pipe where the settings belong used to keep the window from ever showing.
    void ASettingsFileThatIsANamedPipeIsNotWaitedFor() {
        QDir().mkpath(Path("config/Halvern"));
        QCOMPARE(::mkfifo(SettingsFile().toLocal8Bit().constData(), 0600), 0);
        const QString a = Project("a.pru");
        {
            TRun run(SettingsFile());
            run.Read(a);
            QCOMPARE(run.MenuFiles(), QStringList({a})); // remembered for this run
            run.window.close();
        }
        QVERIFY(QFileInfo(SettingsFile()).exists() && !QFileInfo(SettingsFile()).isFile()); // left as it was
        TRun again(SettingsFile());
        QVERIFY(again.MenuFiles().isEmpty());
    }

    // A name read through a link and ".." is kept as the file the system read: the entry
    // later opens that file, not the one the name seems to say.
    void RecentProjectsKeepTheFileTheSystemRead() {
        QDir().mkpath(Path("work"));
        QDir().mkpath(Path("real/sub"));
        QVERIFY(QFile::link("../real/sub", Path("work/lnk")));
        const QString target = Project("real/a.pru");
        Project("work/a.pru");
        TRun run(SettingsFile());
        run.Read(Path("work/lnk/../a.pru"));
        QCOMPARE(run.MenuFiles(), QStringList({QFileInfo(target).canonicalFilePath()}));
        QCOMPARE(run.session->StartFolder({"OpenDialog1", "", "pru", {}}),
                 QFileInfo(Path("real")).canonicalFilePath());
    }

    void AnUnwritableSettingsFolderOnlyForgets() {
        // The configuration folder is a file: nothing can be written, nothing fails.
        QFile blocker(Path("config"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        TRun run(SettingsFile());
        const QString a = Project("a.pru");
        run.Read(a);
        QCOMPARE(run.form.Caption, std::string("Halvern : a.pru"));
        run.window.close();
        QVERIFY(!QFile::exists(SettingsFile()));
    }
};

QTEST_MAIN(DesktopSessionTest)
#include "DesktopSessionTest.moc"
