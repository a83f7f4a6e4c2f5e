#include "ui/MainMenu.h"
#include "ui/AboutBox.h"
#include "ui/HelpWindow.h"
#include "ui/MainWindow.h"
#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace halvern {

namespace {

// A menu item that runs the toolbar's command of that name, so both run the same code.
void AddCommand(TMainWindow& window, QMenu* menu, const QString& text, const char* command) {
    QAction* toolbarAction = window.findChild<QAction*>(command);
    if (!toolbarAction) return;
    QAction* item = menu->addAction(text, toolbarAction, &QAction::trigger);
    item->setObjectName(QString("menu_") + command);
}

} // namespace

void BuildMainMenu(TMainWindow& window) {
    QMenuBar* bar = window.menuBar();

    QMenu* file = bar->addMenu("&File");
    file->setObjectName("FileMenu");
    AddCommand(window, file, "&New data", "actDataNew");
    AddCommand(window, file, "&Read data…", "actDataRead");
    AddCommand(window, file, "&Save data…", "actDataSave");
    file->addSeparator();
    // Printing: the page that is showing, and its picture.
    AddCommand(window, file, "&Print…", "actPrint");
    AddCommand(window, file, "Save page as p&icture…", "actPrintToBitmap");
    file->addSeparator();
    QMenu* recent = file->addMenu("Recent &projects");
    recent->setObjectName("RecentProjectsMenu");
    recent->setEnabled(false);
    file->addSeparator();
    AddCommand(window, file, "&Close", "actClose");

    QMenu* help = bar->addMenu("&Help");
    help->setObjectName("HelpMenu");
    QAction* contents =
        help->addAction("&Contents", &window, [&window] { window.HelpWindow()->ShowContents(); });
    contents->setObjectName("actHelpContents");
    QAction* about = help->addAction("&About Halvern", &window, [&window] {
        auto* box = new TAboutBox(&window);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });
    about->setObjectName("actAbout");
}

} // namespace halvern
