#include "ui/HelpLauncher.h"
#include "forms/Controls.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>

namespace halvern {

int THelpLauncher::TopicOf(const QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        const int topic = widget->property("helpContext").toInt();
        if (topic > 0) return topic;
    }
    return 0;
}

QString THelpLauncher::FindHelpFile() const {
    for (const QString& folder : {QCoreApplication::applicationDirPath(), QDir::currentPath()}) {
        const QFileInfo file(QDir(folder).filePath(HelpFile));
        if (file.isFile()) return file.absoluteFilePath();
    }
    return {};
}

bool THelpLauncher::ShowTopic(int topic, TStatusBar& statusBar) const {
    if (topic <= 0) return false;
    // A Windows help file needs a WinHelp viewer (for instance the one that comes with Wine).
    const QString viewer = QStandardPaths::findExecutable("winhlp32");
    const QString file = FindHelpFile();
    if (!viewer.isEmpty() && !file.isEmpty() &&
        QProcess::startDetached(viewer, {"-n", QString::number(topic), file}))
        return true;
    statusBar.SimpleText = QString("Help topic %1 of %2 was asked for; no help viewer is available.")
                               .arg(topic)
                               .arg(HelpFile)
                               .toStdString();
    return false;
}

} // namespace halvern
