// Small building blocks shared by the pages: group boxes with their captions, caption
// and result labels, the low/high flow legend, and the program's text colours.
#pragma once
#include <QColor>
#include <QString>

class QGroupBox;
class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QWidget;

namespace halvern {

inline const QColor kRedText(255, 0, 0);
inline const QColor kGreenText(0, 128, 0);
inline const QColor kBlueText(0, 0, 255);
inline const QColor kMaroonText(128, 0, 0);
inline const QColor kNavyText(0, 0, 128);

// A group box with the given caption holding the layout.
QGroupBox* MakeGroup(const QString& caption, QLayout* layout);
// A grid layout with the spacing the forms on the pages use; the side panels of the
// result pages use a compact one.
QGridLayout* MakeFormGrid(bool compact = false);
// A fixed caption text.
QLabel* MakeCaption(const QString& text, const QColor& colour = {});
// A result label: right-aligned on a sunken panel so numbers line up and read as output.
QLabel* StyleResult(QLabel* label, int minimumWidth = 80);
// A numeric edit of the width its numbers need.
QLineEdit* StyleNumberEdit(QLineEdit* edit, int width = 80);
// "Low flow interval" beside an aqua swatch, "High flow interval" beside a yellow one; a
// valve page adds "Valve fully open" beside the grey outlet of an hour the valve stands open.
QWidget* MakeFlowLegend(bool valveOpen = false);

} // namespace halvern
