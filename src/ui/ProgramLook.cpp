#include "ui/ProgramLook.h"
#include <QApplication>
#include <QEvent>
#include <QFont>
#include <QProxyStyle>
#include <QWidget>

namespace halvern {

namespace {

class THintTimingStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    bool Quick = false;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (Quick && hint == SH_ToolTip_WakeUpDelay) return 50;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

THintTimingStyle* HintStyle() {
    return dynamic_cast<THintTimingStyle*>(QApplication::style());
}

class THoverWatch : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
            if (THintTimingStyle* style = HintStyle(); style && !style->Quick) {
                style->Quick = true;
                for (QWidget* widget : QApplication::allWidgets())
                    widget->setToolTipDuration(5000);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void ApplyProgramLook() {
    if (HintStyle()) return;
    // Arial at 8 points, the size the tables' columns were made for.
    QFont font("Liberation Sans");
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    QApplication::setFont(font);
    QApplication::setStyle(new THintTimingStyle("Fusion"));
}

void QuickHintsFromHover(QWidget* widget) {
    widget->installEventFilter(new THoverWatch(widget));
}

} // namespace halvern
