#include "ui/DesktopSettings.h"
#include "io/FileAccess.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <cstdio>

namespace halvern {

namespace {

const QString kGeometry = QStringLiteral("MainWindow/geometry");
const QString kLastFolder = QStringLiteral("Projects/lastFolder");
const QString kRecent = QStringLiteral("Projects/recent");

// A name as the system follows it: "." parts and doubled slashes dropped, ".." kept, since
// after a link it leads elsewhere than the name suggests.
QString Absolute(const QString& name) {
    return QString::fromStdString(AbsoluteFileName(name.toStdString()));
}

// A file or folder by the name the system resolves it to (every link and ".." followed),
// so that a name kept for later still leads to it; one that is gone keeps its own name.
QString Resolved(const QString& name) {
    const QString canonical = QFileInfo(name).canonicalFilePath();
    return canonical.isEmpty() ? Absolute(name) : canonical;
}

// A file name from the list as it should be kept: absolute, one line; empty when the entry
// is not a file name at all (a damaged file can hold anything).
QString Kept(const QString& entry) {
    if (entry.isEmpty() || entry.contains(QChar('\n')) || entry.contains(QChar('\r')) ||
        entry.contains(QChar('\0')) || !QDir::isAbsolutePath(entry))
        return {};
    return Absolute(entry);
}

// Settings are read only from a regular file: reading a named pipe would wait for a writer
// for ever, and a device may never end. Such a name (a link to /dev/null kept on purpose
// included) is left as it is, and the settings are kept for this run only, in a place
// that cannot exist (under the name itself), so that nothing is read or written.
QString SettingsFileToUse(const QString& fileName) {
    const QFileInfo file(fileName);
    if (!file.exists() || file.isFile()) return fileName;
    std::fprintf(stderr, "Halvern: %s is not a regular file; the settings are kept for this run only.\n",
                 qPrintable(fileName));
    return fileName + "/not-a-regular-file/Halvern.conf";
}

} // namespace

TDesktopSettings::TDesktopSettings(const QString& fileName)
    : settings_(std::make_unique<QSettings>(SettingsFileToUse(fileName), QSettings::IniFormat)) {
    if (settings_->status() == QSettings::FormatError) {
        // A file that cannot be read as settings is put aside (for whoever wants to look at
        // it) and the program starts from its defaults; the next change writes a sound file.
        settings_.reset();
        QFile::remove(fileName + ".damaged");
        if (!QFile::rename(fileName, fileName + ".damaged")) QFile::remove(fileName);
        settings_ = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
    }
}

TDesktopSettings::~TDesktopSettings() = default;

QString TDesktopSettings::DefaultFileName() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath("Halvern/Halvern.conf");
}

QString TDesktopSettings::FileName() const {
    return settings_->fileName();
}

QByteArray TDesktopSettings::WindowGeometry() const {
    const QVariant value = settings_->value(kGeometry);
    return value.typeId() == QMetaType::QByteArray ? value.toByteArray() : QByteArray();
}

void TDesktopSettings::SetWindowGeometry(const QByteArray& geometry) {
    settings_->setValue(kGeometry, geometry);
    Write();
}

QString TDesktopSettings::LastFolder() const {
    const QString folder = Kept(settings_->value(kLastFolder).toString());
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void TDesktopSettings::SetLastFolder(const QString& folder) {
    settings_->setValue(kLastFolder, Resolved(folder));
    Write();
}

QStringList TDesktopSettings::RecentProjects() const {
    QStringList files;
    for (const QString& entry : settings_->value(kRecent).toStringList()) {
        const QString file = Kept(entry);
        if (!file.isEmpty() && !files.contains(file)) files << file;
        if (files.size() == MaxRecentProjects) break;
    }
    return files;
}

void TDesktopSettings::AddRecentProject(const QString& fileName) {
    const QString file = Resolved(fileName);
    QStringList files = RecentProjects();
    files.removeAll(file);
    files.prepend(file);
    SetRecentProjects(files);
}

void TDesktopSettings::RemoveRecentProject(const QString& fileName) {
    QStringList files = RecentProjects();
    files.removeAll(Absolute(fileName));
    SetRecentProjects(files);
}

void TDesktopSettings::ClearRecentProjects() {
    SetRecentProjects({});
}

void TDesktopSettings::SetRecentProjects(const QStringList& files) {
    settings_->setValue(kRecent, files.mid(0, MaxRecentProjects));
    Write();
}

void TDesktopSettings::Write() {
    // At once, so that a second Halvern started meanwhile (or a crash) sees the same list.
    settings_->sync();
}

} // namespace halvern
