// Where the program's secondary windows appear.
#pragma once

class QWidget;

namespace halvern {

// Puts a window in the middle of another (or of the screen when there is none).
void CentreOn(QWidget* window, const QWidget* over);

} // namespace halvern
