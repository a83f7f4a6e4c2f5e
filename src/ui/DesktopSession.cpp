#include "ui/DesktopSession.h"
#include "forms/MainForm.h"
#include "model/Messages.h"
#include "ui/DesktopSettings.h"
#include "ui/MainWindow.h"
#include "ui/ViewBinder.h"
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <utility>

namespace halvern {

namespace {

// "demo-zone.pru   (~/projects)": the name first, as the user looks for it, then its folder.
QString MenuText(int index, const QString& fileName) {
    const QFileInfo file(fileName);
    QString folder = QDir::toNativeSeparators(file.absolutePath());
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (folder == home || folder.startsWith(home + QDir::separator())) folder = "~" + folder.mid(home.size());
    QString name = file.fileName();
    name.replace("&", "&&");
    folder.replace("&", "&&");
    const QString number = index < 9 ? QString("&%1").arg(index + 1) : QString::number(index + 1);
    return QString("%1  %2   (%3)").arg(number, name, folder);
}

// Read data, Save data and the hourly import: files of the engineer's projects.
bool IsProjectDialog(const TFileDialogRequest& request) {
    return request.Name == "OpenDialog1" || request.Name == "SaveDialog1" || request.Name == "OpenDialog2";
}

} // namespace

TDesktopSession::TDesktopSession(TMainWindow& window, TDesktopSettings& settings, TReadProject readProject)
    : QObject(&window), window_(window), form_(window.Form()), settings_(settings),
      readProject_(std::move(readProject)) {
    recentMenu_ = window_.findChild<QMenu*>("RecentProjectsMenu");
    RestoreGeometry();
    FillRecentMenu();
    window_.installEventFilter(this);
    form_.OnProjectFile = [this](const std::string& fileName) {
        ProjectFileUsed(QString::fromStdString(fileName));
    };
}

TDesktopSession::~TDesktopSession() {
    form_.OnProjectFile = nullptr;
}

QString TDesktopSession::StartFolder(const TFileDialogRequest& dialog) const {
    return IsProjectDialog(dialog) ? settings_.LastFolder() : QString();
}

void TDesktopSession::RestoreGeometry() {
    const QByteArray geometry = settings_.WindowGeometry();
    // Kept geometry that cannot be used (damaged, or from a screen that is gone) leaves the
    // window at its first size, centred.
    if (geometry.isEmpty() || !window_.restoreGeometry(geometry)) return;
    const QRect frame = window_.frameGeometry();
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(frame)) return;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect centred = frame;
        centred.moveCenter(screen->availableGeometry().center());
        window_.move(centred.topLeft());
    }
}

bool TDesktopSession::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close)
        settings_.SetWindowGeometry(window_.saveGeometry());
    return QObject::eventFilter(watched, event);
}

void TDesktopSession::ProjectFileUsed(const QString& fileName) {
    settings_.AddRecentProject(fileName);
    // The folder the system finds the file in, not the one its name suggests.
    if (const QStringList recent = settings_.RecentProjects(); !recent.isEmpty())
        settings_.SetLastFolder(QFileInfo(recent.first()).absolutePath());
    FillRecentMenu();
}

void TDesktopSession::FillRecentMenu() {
    if (!recentMenu_) return;
    recentMenu_->clear();
    const QStringList files = settings_.RecentProjects();
    for (int i = 0; i < files.size(); ++i) {
        const QString file = files[i];
        QAction* item =
            recentMenu_->addAction(MenuText(i, file), this, [this, file] { OpenRecentProject(file); });
        // A tip is taken as markup when it looks like some; a file name never is.
        item->setToolTip("<p style='white-space:pre'>" + file.toHtmlEscaped() + "</p>");
        item->setStatusTip(file);
        item->setData(file);
    }
    if (!files.isEmpty()) {
        recentMenu_->addSeparator();
        QAction* clear = recentMenu_->addAction("&Clear the list", this, [this] {
            settings_.ClearRecentProjects();
            FillRecentMenu();
        });
        clear->setObjectName("ClearRecentProjects");
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void TDesktopSession::OpenRecentProject(const QString& fileName) {
    if (!QFileInfo::exists(fileName)) {
        settings_.RemoveRecentProject(fileName);
        FillRecentMenu();
        window_.Binder().Run([&] {
            form_.Dialogs.Error(Msg::RecentProjectGone(QDir::toNativeSeparators(fileName).toStdString()));
        });
        return;
    }
    if (readProject_) readProject_(fileName);
}

} // namespace halvern
