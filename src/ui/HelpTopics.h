// Where each help topic of the window's controls lives in the user guide. The guide is
// compiled into the program (qrc:/guide/), so F1 always has a page to open.
#pragma once
#include <QList>
#include <QUrl>

namespace halvern {

// The guide's contents page.
QUrl HelpContentsUrl();
// The page and anchor of a topic number (qrc:/guide/general.html#topic-3); an empty
// URL for a number that no control carries.
QUrl HelpTopicUrl(int topic);
// Every topic number that a control of the program carries, in ascending order.
QList<int> HelpTopicNumbers();

} // namespace halvern
