// TPageTabs: a tabbed page set bound to a TPageControl. Choosing a tab makes its page the
// active one in the form (which runs the pages' hide and show events); tabs of pages the
// form marks as highlighted are drawn bold in the highlight colour.
#pragma once
#include "forms/Controls.h"
#include <QTabBar>
#include <QTabWidget>
#include <vector>

namespace halvern {

class TViewBinder;

class THighlightTabBar : public QTabBar {
    Q_OBJECT
public:
    using QTabBar::QTabBar;
    void SetHighlighted(int index, bool highlighted);
    bool Highlighted(int index) const;

protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<bool> highlighted_;
};

class TPageTabs : public QTabWidget {
    Q_OBJECT
public:
    TPageTabs(TPageControl& pages, TViewBinder& binder, QWidget* parent = nullptr);
    // Adds the widget of the form's page; pages must be added in the form's tab order.
    void AddSheet(TTabSheet& sheet, QWidget* widget);
    THighlightTabBar* HighlightBar() const { return bar_; }
    TPageControl& Pages() { return pages_; }

private:
    void Refresh();
    TPageControl& pages_;
    TViewBinder& binder_;
    THighlightTabBar* bar_;
    std::vector<TTabSheet*> sheets_;
};

} // namespace halvern
