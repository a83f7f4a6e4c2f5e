// The desktop program's memory between runs, bound to its main window: the window opens
// where it was closed, the project dialogs open in the folder of the last project, and
// File > Recent projects lists the last eight projects read or saved.
#pragma once
#include <QObject>
#include <QString>

class QMenu;

namespace halvern {

class TMainWindow;
class TQtDialogs;
class TDesktopSettings;

class TDesktopSession : public QObject {
    Q_OBJECT
public:
    // Puts the window where the settings say (before it is first shown) and keeps the
    // settings up to date from now on.
    TDesktopSession(TMainWindow& window, TQtDialogs& dialogs, TDesktopSettings& settings);
    ~TDesktopSession() override;

    // Reads a project of the list as Read data would; a project that no longer exists is
    // taken off the list with a message naming it.
    void OpenRecentProject(const QString& fileName);
    // The "Recent projects" menu, filled from the settings.
    QMenu* RecentMenu() const { return recentMenu_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RestoreGeometry();
    void FillRecentMenu();
    void ProjectFileUsed(const QString& fileName);

    TMainWindow& window_;
    TQtDialogs& dialogs_;
    TDesktopSettings& settings_;
    QMenu* recentMenu_ = nullptr;
};

} // namespace halvern
