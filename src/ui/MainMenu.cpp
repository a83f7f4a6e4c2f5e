#include "ui/MainMenu.h"
#include "ui/AboutBox.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"
#include "ui/ViewBinder.h"
#include <QAction>
#include <QKeySequence>
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

// A menu item that clicks a button of a page, as the button itself does.
QAction* AddButton(QMenu& menu, const QString& text, const char* name, TMainWindow& window, TButton& button) {
    QAction* item = menu.addAction(text);
    item->setObjectName(name);
    QObject::connect(item, &QAction::triggered, &window,
                     [&window, &button] { window.Binder().Run([&button] { button.Click(); }); });
    window.Binder().AddRefresher([item, &button] {
        if (item->isEnabled() != button.Enabled) item->setEnabled(button.Enabled);
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
    // The measurements in, as the "Flow and Pressure" page's buttons take them, from any page.
    AddButton(*file, "Import &hourly data…", "menuImport", window, form.ImportButton);
    AddButton(*file, "Import &logger data…", "menuLoggerImport", window, form.LoggerImportButton);
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

    // Edit > Undo takes back the last import, paste or logger data of a table. An open cell
    // or line editor keeps Ctrl+Z for its own text.
    QMenu* edit = bar->addMenu("&Edit");
    edit->setObjectName("EditMenu");
    QAction* undo = edit->addAction("&Undo");
    undo->setObjectName("menuUndo");
    undo->setShortcut(QKeySequence::Undo);
    undo->setEnabled(false);
    QObject::connect(undo, &QAction::triggered, &window,
                     [&window] { window.Binder().Run([&window] { window.Form().EditUndo(); }); });
    window.Binder().AddRefresher([undo, &form] {
        const bool can = form.TableSteps.CanUndo();
        if (undo->isEnabled() != can) undo->setEnabled(can);
        const QString text = can ? "&" + QString::fromStdString(form.TableSteps.Caption()) : QString("&Undo");
        if (undo->text() != text) undo->setText(text);
    });

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
