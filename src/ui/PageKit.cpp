#include "ui/PageKit.h"
#include "ui/ViewBinder.h"
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace halvern {

QGroupBox* MakeGroup(const QString& caption, QLayout* layout) {
    auto* group = new QGroupBox(caption);
    group->setLayout(layout);
    return group;
}

QGridLayout* MakeFormGrid(bool compact) {
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(compact ? 4 : 8);
    grid->setVerticalSpacing(4);
    if (compact)
        grid->setContentsMargins(5, 4, 5, 4);
    else
        grid->setContentsMargins(8, 6, 8, 6);
    return grid;
}

QLabel* MakeCaption(const QString& text, const QColor& colour) {
    auto* label = new QLabel(text);
    if (colour.isValid()) SetTextColour(label, colour);
    return label;
}

QLabel* StyleResult(QLabel* label, int minimumWidth) {
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    label->setMinimumWidth(minimumWidth);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    label->setContentsMargins(4, 1, 4, 1);
    return label;
}

QLineEdit* StyleNumberEdit(QLineEdit* edit, int width) {
    edit->setFixedWidth(width);
    return edit;
}

QWidget* MakeFlowLegend(bool valveOpen) {
    auto* legend = new QFrame;
    legend->setObjectName("Legend");
    legend->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
    auto* layout = new QGridLayout(legend);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setHorizontalSpacing(6);
    const std::pair<QColor, const char*> entries[] = {{QColor(0, 255, 255), "Low flow interval"},
                                                      {QColor(255, 255, 0), "High flow interval"}};
    int row = 0;
    for (const auto& [colour, text] : entries) {
        auto* swatch = new QFrame;
        swatch->setFixedSize(28, 14);
        swatch->setFrameStyle(QFrame::Box | QFrame::Plain);
        swatch->setAutoFillBackground(true);
        QPalette palette = swatch->palette();
        palette.setColor(QPalette::Window, colour);
        swatch->setPalette(palette);
        layout->addWidget(swatch, row, 0);
        layout->addWidget(new QLabel(text), row, 1);
        ++row;
    }
    // A valve page's outlet column shows the hours in which the valve stands fully open in grey.
    if (valveOpen) {
        auto* sample = new QLabel("0.00");
        sample->setFixedSize(28, 14);
        sample->setAlignment(Qt::AlignCenter);
        QPalette grey = sample->palette();
        grey.setColor(QPalette::WindowText, QColor(128, 128, 128));
        sample->setPalette(grey);
        layout->addWidget(sample, row, 0);
        layout->addWidget(new QLabel("Valve fully open"), row, 1);
    }
    return legend;
}

} // namespace halvern
