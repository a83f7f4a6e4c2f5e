// F1 help: the help topic of the focused control (or of the nearest page or window around
// it that carries one) is opened in the help file when a viewer for it exists; otherwise
// the status line says which topic was asked for.
#pragma once
#include <QString>

class QWidget;

namespace halvern {

struct TStatusBar;

class THelpLauncher {
public:
    QString HelpFile = "Verivo.hlp";
    // The topic number F1 asks for on this widget; 0 when neither it nor a parent has one.
    static int TopicOf(const QWidget* widget);
    // Returns true when a viewer was started.
    bool ShowTopic(int topic, TStatusBar& statusBar) const;

private:
    QString FindHelpFile() const;
};

} // namespace halvern
