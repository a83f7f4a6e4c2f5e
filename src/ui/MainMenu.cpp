#include "ui/MainMenu.h"
#include "ui/AboutBox.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"
#include "ui/ViewBinder.h"
#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace halvern {

namespace {

// A menu item that runs a command of the form, as its toolbar button does.
QAction* AddCommand(QMenu& menu, const QString& text, const char* name, TMainWindow& window, TAction& command,
                    const QKeySequence& keys = {}) {
    QAction* item = menu.addAction(text);
    item->setObjectName(name);
    // The platform's keys for the commands every desktop program has (Ctrl+N, Ctrl+O, ...).
    item->setShortcut(keys);
    QObject::connect(item, &QAction::triggered, &window,
                     [&window, &command] { window.Binder().Run([&command] { command.Execute(); }); });
    // Greyed while the command is ("Add General Data to last report" before any report).
    window.Binder().AddRefresher([item, &command] {
        if (item->isEnabled() != command.Enabled) item->setEnabled(command.Enabled);
    });
    return item;
}

} // namespace

void BuildMainMenu(TMainWindow& window) {
    TMainForm& form = window.Form();
    QMenuBar* bar = window.menuBar();
    bar->setObjectName("MainMenu");

    QMenu* file = bar->addMenu("&File");
    file->setObjectName("FileMenu");
    // Each item its own underlined letter.
    AddCommand(*file, "&New data", "menuDataNew", window, form.actDataNew, QKeySequence::New);
    AddCommand(*file, "&Read data…", "menuDataRead", window, form.actDataRead, QKeySequence::Open);
    AddCommand(*file, "&Save data", "menuDataSave", window, form.actDataSave, QKeySequence::Save);
    AddCommand(*file, "Save data &as…", "menuDataSaveAs", window, form.actDataSaveAs, QKeySequence::SaveAs);
    file->addSeparator();
    QAction* report = file->addAction("Sprea&dsheet report…", &window, [&window] {
        window.Binder().Run([&window] { window.Form().SpreadsheetReportClick(); });
    });
    report->setObjectName("menuSpreadsheetReport");
    AddCommand(*file, "Add &General Data to last report", "menuExcel", window, form.actExcel);
    file->addSeparator();
    // Printing: the page that is showing, and its picture.
    AddCommand(*file, "&Print…", "menuPrint", window, form.actPrint, QKeySequence::Print);
    AddCommand(*file, "Save page as p&icture…", "menuPrintToBitmap", window, form.actPrintToBitmap);
    file->addSeparator();
    QMenu* recent = file->addMenu("Recen&t projects");
    recent->setObjectName("RecentProjectsMenu");
    recent->setEnabled(false);
    file->addSeparator();
    AddCommand(*file, "&Close", "menuClose", window, form.actClose, QKeySequence::Quit);

    QMenu* help = bar->addMenu("&Help");
    help->setObjectName("HelpMenu");
    QAction* contents = help->addAction("&Contents");
    contents->setObjectName("menuHelpContents");
    QObject::connect(contents, &QAction::triggered, &window,
                     [&window] { window.HelpWindow()->ShowContents(); });
    QAction* about = help->addAction("&About Halvern");
    about->setObjectName("menuAbout");
    QObject::connect(about, &QAction::triggered, &window, [&window] {
        auto* box = new TAboutBox(&window);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });
}

} // namespace halvern
