#include "ui/WindowPlacement.h"
#include <QScreen>
#include <QWidget>

namespace halvern {

void CentreOn(QWidget* window, const QWidget* over) {
    QRect area;
    if (over && over->isVisible())
        area = over->frameGeometry();
    else if (const QScreen* screen = window->screen())
        area = screen->availableGeometry();
    if (area.isEmpty()) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
}

} // namespace halvern
