#include "ui/HelpWindow.h"
#include "ui/HelpTopics.h"
#include "ui/WindowPlacement.h"
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

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

THelpWindow::THelpWindow(QWidget* beside) : QWidget(nullptr, Qt::Window), beside_(beside) {
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

void THelpWindow::keyPressEvent(QKeyEvent* event) {
    // Escape puts the guide away, as it closes a dialog; the page itself has no use for it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void THelpWindow::ShowTopic(int topic) {
    const QUrl url = HelpTopicUrl(topic);
    ShowUrl(url.isEmpty() ? HelpContentsUrl() : url);
}

void THelpWindow::ShowContents() {
    ShowUrl(HelpContentsUrl());
}

void THelpWindow::ShowUrl(const QUrl& url) {
    const bool first = !placed_;
    if (first) {
        placed_ = true;
        PlaceBeside();
    }
    show();
    // Shown, the window has its frame: placed again, the frame too stays on the screen.
    if (first) PlaceBeside();
    raise();
    activateWindow();
    if (browser_->source() != url) browser_->setSource(url);
    // To the topic once the page is laid out at the window's size (its pictures included), and
    // for the same topic again: back to its place, which the reader may have scrolled away from.
    if (url.hasFragment())
        QTimer::singleShot(
            0, browser_, [browser = browser_, anchor = url.fragment()] { browser->scrollToAnchor(anchor); });
}

void THelpWindow::PlaceBeside() {
    const QScreen* screen = beside_ ? beside_->screen() : QGuiApplication::primaryScreen();
    if (!screen || !beside_) return CentreOn(this, beside_);
    const QRect room = screen->availableGeometry();
    // The frame the window system draws around the window takes room too.
    const QSize decoration = frameGeometry().size() - geometry().size();
    resize(size().boundedTo(room.size() - decoration));
    const QRect main = beside_->frameGeometry();
    QRect frame(QPoint(0, 0), size() + decoration);
    frame.moveTop(std::clamp(main.top(), room.top(), std::max(room.top(), room.bottom() - frame.height())));
    // To the right of the main window where there is room, else to its left, else against the
    // screen's right edge, over part of the main window.
    if (main.right() + frame.width() < room.right())
        frame.moveLeft(main.right() + 1);
    else if (main.left() - frame.width() > room.left())
        frame.moveRight(main.left() - 1);
    else
        frame.moveRight(room.right());
    move(frame.topLeft());
}

} // namespace halvern
