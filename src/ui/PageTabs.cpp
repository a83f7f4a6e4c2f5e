#include "ui/PageTabs.h"
#include "ui/ViewBinder.h"
#include <QSignalBlocker>
#include <QStyleOptionTab>
#include <QStylePainter>

namespace halvern {

void THighlightTabBar::SetHighlighted(int index, bool highlighted) {
    if (index < 0) return;
    if (static_cast<int>(highlighted_.size()) <= index) highlighted_.resize(index + 1, false);
    if (highlighted_[index] == highlighted) return;
    highlighted_[index] = highlighted;
    updateGeometry();
    update();
}

bool THighlightTabBar::Highlighted(int index) const {
    return index >= 0 && index < static_cast<int>(highlighted_.size()) && highlighted_[index];
}

QSize THighlightTabBar::tabSizeHint(int index) const {
    // Room for the caption in bold, so that a highlighted tab never clips its text.
    QSize size = QTabBar::tabSizeHint(index);
    QFont bold = font();
    bold.setBold(true);
    const QString text = tabText(index);
    size.rwidth() += QFontMetrics(bold).horizontalAdvance(text) - fontMetrics().horizontalAdvance(text);
    return size;
}

void THighlightTabBar::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    const QColor highlight = palette().color(QPalette::Active, QPalette::Highlight);
    // The current tab last, so its raised edge lies over its neighbours.
    std::vector<int> order;
    for (int i = 0; i < count(); ++i)
        if (i != currentIndex()) order.push_back(i);
    if (currentIndex() >= 0) order.push_back(currentIndex());
    for (int i : order) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        QFont font = this->font();
        if (Highlighted(i)) {
            font.setBold(true);
            option.palette.setColor(QPalette::WindowText, highlight);
            option.palette.setColor(QPalette::ButtonText, highlight);
        }
        painter.setFont(font);
        painter.drawControl(QStyle::CE_TabBarTab, option);
    }
}

TPageTabs::TPageTabs(TPageControl& pages, TViewBinder& binder, QWidget* parent)
    : QTabWidget(parent), pages_(pages), binder_(binder), bar_(new THighlightTabBar) {
    setObjectName(QString::fromStdString(pages_.Name));
    setTabBar(bar_);
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (binder_.Refreshing() || index < 0 || index >= static_cast<int>(sheets_.size())) return;
        if (pages_.ActivePage() == sheets_[index]) return;
        binder_.Run([&] { pages_.SetActivePage(*sheets_[index]); });
    });
    binder_.AddRefresher([this] { Refresh(); });
}

void TPageTabs::AddSheet(TTabSheet& sheet, QWidget* widget) {
    const QSignalBlocker block(this);
    widget->setObjectName(QString::fromStdString(sheet.Name));
    widget->setProperty("helpContext", sheet.HelpContext);
    sheets_.push_back(&sheet);
    addTab(widget, QString::fromStdString(sheet.Caption));
}

void TPageTabs::Refresh() {
    const QSignalBlocker block(this);
    setProperty("helpContext", pages_.HelpContext);
    for (int i = 0; i < static_cast<int>(sheets_.size()); ++i) {
        const QString caption = QString::fromStdString(sheets_[i]->Caption);
        if (tabText(i) != caption) setTabText(i, caption);
        bar_->SetHighlighted(i, sheets_[i]->Highlighted);
        widget(i)->setProperty("helpContext", sheets_[i]->HelpContext);
    }
    const int active = pages_.ActivePageIndex();
    if (active >= 0 && active < count() && currentIndex() != active) setCurrentIndex(active);
}

} // namespace halvern
