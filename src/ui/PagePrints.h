// Prints for checking and for users without a printer: every page a user can print (each
// main tab with each of its sub-pages active) to DIR/<sheet name>.pdf on A4 portrait, and
// every result chart (the N1 page's two too) as "Print Graph" prints it to DIR/<chart name>.pdf.
#pragma once
#include <QString>
#include <QStringList>

namespace halvern {

class TMainWindow;

struct TPagePrintsResult {
    QStringList Written;
    QStringList Failures; // the messages of files that could not be written
};

// The window must be shown; the pages are chosen as a user would choose them.
TPagePrintsResult WritePagePrints(TMainWindow& window, const QString& folder);

} // namespace halvern
