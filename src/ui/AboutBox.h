// "Help > About Halvern": the program's name and version, the disclaimer of the start-up
// window, and the libraries the program is built on with their licences.
#pragma once
#include <QDialog>

namespace halvern {

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent);
    // Everything the box says, as plain text (for a reader that cannot see it, and for tests).
    QString Text() const;
};

} // namespace halvern
