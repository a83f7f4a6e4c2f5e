// The user guide in a window of its own: F1 opens it at the topic of the control that has
// the focus, "Help > Contents" at the contents. Not modal, so the engineer can read beside
// the page being filled in; one window, reused, which keeps its place and history.
#pragma once
#include <QPointer>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace halvern {

class THelpWindow : public QWidget {
    Q_OBJECT
public:
    // A window of its own (not kept above the main window, which it would hide), first
    // placed beside the window it helps with.
    explicit THelpWindow(QWidget* beside);

    // Shows the guide at a topic; a topic the guide does not know opens the contents.
    void ShowTopic(int topic);
    void ShowContents();
    QTextBrowser* Browser() const { return browser_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowUrl(const QUrl& url);
    void PlaceBeside();
    QTextBrowser* browser_;
    QPointer<QWidget> beside_;
    bool placed_ = false;
};

// The topic F1 asks for on this widget: its own, else that of the nearest widget around it
// that carries one; on a tab, the topic of the page the tab shows comes first. 0 for none.
int HelpTopicOf(const QWidget* widget);

} // namespace halvern
