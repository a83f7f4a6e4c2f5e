// halvern: the desktop program. Start-up runs in the program's order: the splash first,
// then the main window and the auxiliary windows; the splash may close once all exist.
//   halvern [FILE.pru]                       reads the project right after start-up
//   halvern --page-images DIR [FILE.pru]     writes a picture of every page and window
//   halvern --print-pages DIR [FILE.pru]     prints every page and chart to PDF files in DIR
//   halvern --version | --help
// --version and --help answer before the toolkit starts, so they need no display; the
// commands that only write files need none either: without one they draw on Qt's offscreen
// platform.
#include "io/FileAccess.h"
#include "io/Leftovers.h"
#include "model/Numbers.h"
#include "model/Version.h"
#include "ui/DesktopSession.h"
#include "ui/DesktopSettings.h"
#include "ui/MainWindow.h"
#include "ui/PageImages.h"
#include "ui/PagePrints.h"
#include "ui/ProgramLook.h"
#include "ui/QtDialogs.h"
#include "ui/SplashWindow.h"
#include "ui/ToolkitNotes.h"
#include "ui/ViewBinder.h"
#include <QApplication>
#include <QIcon>
#include <QPointer>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <memory>
#include <string>

namespace {

struct TArguments {
    QString PageImages; // folder, when pictures are asked for
    QString PrintPages; // folder, when PDF prints are asked for
    QString ProjectFile;
    bool Valid = true;
};

constexpr const char* kUsage =
    "usage: halvern [FILE.pru]\n"
    "       halvern --page-images DIR [FILE.pru]\n"
    "       halvern --print-pages DIR [FILE.pru]\n"
    "       halvern --version\n"
    "       halvern --help\n"
    "\n"
    "  FILE.pru               a project to read at start-up, as Read data reads it\n"
    "  --page-images DIR      write a PNG picture of every page and window into DIR, then end\n"
    "  --print-pages DIR      print every page and chart to PDF files in DIR, then end\n"
    "  --version              print the program's version and end\n"
    "  -h, --help             print this text and end\n";

// --help and --version: answered from the bare arguments, before any window system is asked
// for, so that they work on a machine without a display. 0 when neither was asked for.
bool AnswersWithoutWindows(int argc, char* argv[], int& exitCode) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            exitCode = std::fflush(stdout) == 0 ? 0 : 1;
            return true;
        }
        if (argument == "--version") {
            std::printf("halvern %s\n", halvern::VersionNumber);
            exitCode = std::fflush(stdout) == 0 ? 0 : 1;
            return true;
        }
    }
    return false;
}

TArguments ParseArguments(const QStringList& arguments) {
    TArguments result;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == "--page-images" && i + 1 < arguments.size() && result.PageImages.isEmpty())
            result.PageImages = arguments[++i];
        else if (argument == "--print-pages" && i + 1 < arguments.size() && result.PrintPages.isEmpty())
            result.PrintPages = arguments[++i];
        else if (!argument.startsWith("--") && result.ProjectFile.isEmpty())
            result.ProjectFile = argument;
        else
            result.Valid = false;
    }
    // One folder of output at a time.
    if (!result.PageImages.isEmpty() && !result.PrintPages.isEmpty()) result.Valid = false;
    return result;
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace halvern;
    if (int exitCode = 0; AnswersWithoutWindows(argc, argv, exitCode)) return exitCode;
    UseOffscreenWithoutDisplay(argc, argv, {"--page-images", "--print-pages"});
    QuietToolkitNotes();
    QApplication app(argc, argv);
    // Thousands separators and the money format follow the user's locale.
    std::setlocale(LC_ALL, "");
    halvern::PinNumberConventions();
    ApplyProgramLook();
    const TArguments arguments = ParseArguments(QApplication::arguments());
    if (!arguments.Valid) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const bool pictures = !arguments.PageImages.isEmpty();
    const bool prints = !arguments.PrintPages.isEmpty();
    const bool unattended = pictures || prints;

    // The splash is painted at once, before the rest of start-up.
    QPointer<TSplashWindow> splash;
    if (!unattended) {
        splash = new TSplashWindow;
        splash->show();
        splash->repaint();
        QApplication::processEvents();
    }
    QApplication::setApplicationName("Halvern");
    // The menu entry's name: the desktop shows the entry's icon and name for the window.
    QGuiApplication::setDesktopFileName("halvern");
    QApplication::setWindowIcon(QIcon(":/icons/halvern.svg"));

    // Pictures and prints are made of a window as a new user sees it, and leave the user's
    // settings alone.
    std::unique_ptr<TDesktopSettings> settings;
    if (!unattended) settings = std::make_unique<TDesktopSettings>();
    // What a killed save or report left is removed by the next one that finds it.
    if (!unattended) UseLeftoverRecord(DefaultLeftoverRecord());

    TQtDialogs dialogs;
    dialogs.Unattended = unattended;
    TMainForm form(dialogs);
    TMainWindow window(form); // its auxiliary windows are created with it, in order
    window.UseDialogs(dialogs);
    // Reads a project exactly as Read data reads a chosen file: only the open dialog takes the
    // name, so a question asked on the way (or a save it leads to) never does.
    const auto readAsReadData = [&](const QString& fileName) {
        // The name as the system follows it: ".." after a link is the link target's parent.
        dialogs.QueueFileName(AbsoluteFileName(fileName.toStdString()), "OpenDialog1");
        window.Binder().Run([&] { form.actDataReadExec(); });
        dialogs.DropQueuedFileNames();
    };
    // The window where it was left, the last folder and the recent projects.
    if (settings) {
        auto* session = new TDesktopSession(window, *settings, readAsReadData); // owned by the window
        dialogs.StartFolder = [session](const TFileDialogRequest& dialog) {
            return session->StartFolder(dialog);
        };
    }
    if (splash) {
        // A message box must never sit under the splash, which stays on top: the splash
        // steps aside for the first box (a project named on the command line may raise one).
        dialogs.BeforeShow = [splash, bringUpToDate = dialogs.BeforeShow] {
            if (bringUpToDate) bringUpToDate();
            if (splash) splash->hide();
        };
        splash->StartUpComplete();
    }

    window.show();
    // The main window appears behind the splash, usable while the splash is up.
    if (splash) splash->raise();
    // A project named on the command line is read as Read data reads a chosen file.
    const auto readProject = [&] {
        if (!arguments.ProjectFile.isEmpty()) readAsReadData(arguments.ProjectFile);
    };
    if (pictures) {
        readProject();
        const QStringList written = WritePageImages(window, arguments.PageImages);
        for (const QString& file : written)
            std::printf("%s\n", qPrintable(file));
        return written.isEmpty() ? 1 : 0;
    }
    if (prints) {
        readProject();
        const TPagePrintsResult result = WritePagePrints(window, arguments.PrintPages);
        for (const QString& file : result.Written)
            std::printf("%s\n", qPrintable(file));
        for (const QString& failure : result.Failures)
            std::fprintf(stderr, "%s\n", qPrintable(failure));
        return result.Failures.isEmpty() && !result.Written.isEmpty() ? 0 : 1;
    }
    QTimer::singleShot(0, &window, readProject);
    const int result = app.exec();
    delete splash.data(); // closed by the user before its time was up
    return result;
}
