// What the program remembers between runs, in an INI file (by default
// ~/.config/Halvern/Halvern.conf): the main window's size and place, the folder of the last
// project read or saved, and the recent projects. A damaged or unreadable file never stops
// the program: whatever cannot be read is taken at its default.
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>

class QSettings;

namespace halvern {

class TDesktopSettings {
public:
    static constexpr int MaxRecentProjects = 8;

    explicit TDesktopSettings(const QString& fileName = DefaultFileName());
    ~TDesktopSettings();
    TDesktopSettings(const TDesktopSettings&) = delete;
    TDesktopSettings& operator=(const TDesktopSettings&) = delete;

    // The user's settings file under the desktop's configuration folder.
    static QString DefaultFileName();
    QString FileName() const;

    // QWidget::saveGeometry of the main window; empty when none was kept.
    QByteArray WindowGeometry() const;
    void SetWindowGeometry(const QByteArray& geometry);

    // The folder of the last project read or saved (links and ".." followed), when it still
    // exists; else empty.
    QString LastFolder() const;
    void SetLastFolder(const QString& folder);

    // Most recent first, at most MaxRecentProjects absolute file names, none twice, each by
    // the name the system resolves it to (links and ".." followed when it is added). Files
    // that no longer exist stay listed until they are chosen.
    QStringList RecentProjects() const;
    // Puts a project at the top of the list (moving it there if it was listed already).
    void AddRecentProject(const QString& fileName);
    void RemoveRecentProject(const QString& fileName);
    void ClearRecentProjects();

private:
    void SetRecentProjects(const QStringList& files);
    void Write();
    std::unique_ptr<QSettings> settings_;
};

} // namespace halvern
