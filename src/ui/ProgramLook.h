// The program's look: the 8-point sans-serif of the window's design (its tables are
// sized for it), and the timing of hints.
#pragma once

class QWidget;

namespace halvern {

// Sets the application font and style once; later calls change nothing.
void ApplyProgramLook();
// From the first time the mouse is over this widget on, every hint appears after 50 ms
// and stays for 5 s.
void QuickHintsFromHover(QWidget* widget);

} // namespace halvern
