// Pictures of every page and dialog, for the README: each page and sub-page is chosen
// as a user would choose it (its show event runs), each window is opened, and each is
// written as DIR/<page or window name>.png.
#pragma once
#include <QString>
#include <QStringList>

namespace halvern {

class TMainWindow;

// Lets layouts, charts, paint events and what they post in turn catch up: returns once the
// event queue has been drained a few times over, however long that takes.
void SettleEvents();

// Writes the pictures and returns the names of the files written; the window must be shown.
QStringList WritePageImages(TMainWindow& window, const QString& folder);

} // namespace halvern
