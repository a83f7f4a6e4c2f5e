// The desktop program's memory between runs, bound to its main window: the window opens
// where it was closed, the project dialogs open in the folder of the last project, and
// File > Recent projects lists the last eight projects read or saved.
#pragma once
#include <QObject>
#include <QString>
#include <functional>

class QMenu;

namespace halvern {

class TMainWindow;
class TMainForm;
class TDesktopSettings;
struct TFileDialogRequest;

class TDesktopSession : public QObject {
    Q_OBJECT
public:
    // Reads a project file as the Read data command reads the file its dialog gives.
    using TReadProject = std::function<void(const QString& fileName)>;

    // Puts the window where the settings say (before it is first shown) and keeps the
    // settings up to date from now on.
    TDesktopSession(TMainWindow& window, TDesktopSettings& settings, TReadProject readProject);
    ~TDesktopSession() override;

    // The folder a file dialog opens in when the window names none: for projects and the
    // hourly import, the folder of the last project read or saved; empty (the dialog's own
    // choice) for other files and when there is none.
    QString StartFolder(const TFileDialogRequest& dialog) const;

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
    // Held apart from the window: the session is the window's child and is deleted after the
    // window's own part is gone, while the form lives on.
    TMainForm& form_;
    TDesktopSettings& settings_;
    TReadProject readProject_;
    QMenu* recentMenu_ = nullptr;
};

} // namespace halvern
