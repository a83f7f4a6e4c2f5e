// Qt's own notes about the machine it runs on (no runtime folder, a platform plugin's
// limits) mean nothing to the program's users: they stay out of the program's output.
#pragma once
#include <initializer_list>

namespace halvern {

// When the program was asked only to write files or text (one of these options is among the
// arguments) and there is no display, Qt draws on its offscreen platform instead of giving up.
// Call before the application object is made.
void UseOffscreenWithoutDisplay(int argc, char** argv, std::initializer_list<const char*> options);

// Drops Qt's notes about its environment; everything else passes as before. Setting
// QT_LOGGING_RULES (the toolkit's own switch for its messages) lets every note through.
void QuietToolkitNotes();

} // namespace halvern
