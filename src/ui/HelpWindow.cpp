#include "ui/HelpWindow.h"
#include "ui/HelpTopics.h"
#include "ui/WindowPlacement.h"
#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace halvern {

namespace {

int OwnTopic(const QWidget* widget) {
    return widget ? widget->property("helpContext").toInt() : 0;
}

} // namespace

int HelpTopicOf(const QWidget* widget) {
    // A focused tab stands for the page it shows: F1 on "Fixed Outlet" is about that page.
    if (const auto* bar = qobject_cast<const QTabBar*>(widget))
        if (const auto* tabs = qobject_cast<const QTabWidget*>(bar->parentWidget()))
            if (const int topic = OwnTopic(tabs->currentWidget()); topic > 0) return topic;
    for (; widget; widget = widget->parentWidget())
        if (const int topic = OwnTopic(widget); topic > 0) return topic;
    return 0;
}

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("HelpWindow");
    setWindowTitle("Halvern Help");

    browser_ = new QTextBrowser;
    browser_->setObjectName("HelpBrowser");
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({":/guide"});
    // The guide's own style sheet, for every page: the pages link it for web browsers too.
    if (QFile css(":/guide/guide.css"); css.open(QIODevice::ReadOnly))
        browser_->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));

    auto* contents = new QPushButton("&Contents");
    contents->setObjectName("HelpContentsButton");
    auto* back = new QPushButton("&Back");
    back->setObjectName("HelpBackButton");
    auto* forward = new QPushButton("&Forward");
    forward->setObjectName("HelpForwardButton");
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QPushButton::clicked, this, &THelpWindow::ShowContents);
    connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(buttons);
    layout->addWidget(browser_);
    // Wide enough for the guide's pictures of the 908-pixel window at their size.
    resize(980, 720);
}

void THelpWindow::ShowTopic(int topic) {
    const QUrl url = HelpTopicUrl(topic);
    ShowUrl(url.isEmpty() ? HelpContentsUrl() : url);
}

void THelpWindow::ShowContents() {
    ShowUrl(HelpContentsUrl());
}

void THelpWindow::ShowUrl(const QUrl& url) {
    if (!placed_) {
        placed_ = true;
        CentreOn(this, parentWidget());
    }
    // Shown first, so that the browser is laid out when it scrolls to the topic.
    show();
    raise();
    activateWindow();
    if (browser_->source() != url) browser_->setSource(url);
    // The same topic again: back to its place, which the reader may have scrolled away from.
    if (url.hasFragment()) browser_->scrollToAnchor(url.fragment());
}

} // namespace halvern
