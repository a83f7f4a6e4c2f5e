#include "ui/ViewBinder.h"
#include "ui/QtCanvas.h"
#include "ui/RuleValidator.h"
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace halvern {

namespace {

constexpr int kMsPerDay = 24 * 60 * 60 * 1000;

// A time box that a click readies for typing: the hours or minutes clicked on are selected,
// so the digits typed next replace them (left to itself the box puts the cursor among the
// old digits, where a new one makes no time and is dropped).
class TTimeBox : public QTimeEdit {
public:
    using QTimeEdit::QTimeEdit;

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QTimeEdit::mousePressEvent(event);
        setSelectedSection(currentSection());
    }
};

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QTime ToQTime(double dayFraction) {
    long long ms = std::llround(dayFraction * kMsPerDay) % kMsPerDay;
    if (ms < 0) ms += kMsPerDay;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
}

void SetHidden(QWidget* widget, bool hidden) {
    if (widget->isHidden() != hidden) widget->setHidden(hidden);
}

} // namespace

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

TViewBinder::TViewBinder(TMainForm& form, QObject* parent) : QObject(parent), Form(form) {}

bool TViewBinder::Run(const std::function<void()>& handler) {
    const bool ok = Form.Dispatch(handler);
    Refresh();
    return ok;
}

TEventRunner TViewBinder::Runner() {
    return [this](const std::function<void()>& handler) { return Run(handler); };
}

void TViewBinder::Refresh() {
    ++refreshing_;
    for (const auto& refresher : refreshers_)
        refresher();
    --refreshing_;
}

void TViewBinder::AddRefresher(std::function<void()> refresher) {
    refreshers_.push_back(std::move(refresher));
}

void TViewBinder::BindControl(QWidget* widget, TControl& control, QColor colour) {
    widget->setObjectName(Q(control.Name));
    AddRefresher([widget, &control, colour, shown = TColor(-2)]() mutable {
        SetHidden(widget, !control.Visible);
        if (widget->isEnabled() != control.Enabled) widget->setEnabled(control.Enabled);
        if (widget->toolTip() != Q(control.Hint)) widget->setToolTip(Q(control.Hint));
        widget->setProperty("helpContext", control.HelpContext);
        if (control.FontColour != shown) {
            shown = control.FontColour;
            if (control.FontColour != clBlack)
                SetTextColour(widget, ToQColor(control.FontColour, widget->palette()));
            else if (colour.isValid())
                SetTextColour(widget, colour);
        }
    });
}

char TViewBinder::KeyCharacter(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return '\b';
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return '\r';
    case Qt::Key_Escape:
        return '\x1b';
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return 0;
    default:
        break;
    }
    const auto modifiers = event.modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier) && event.key() >= Qt::Key_A &&
        event.key() <= Qt::Key_Z)
        return static_cast<char>(event.key() - Qt::Key_A + 1); // Ctrl+C is character 3, and so on
    const QString text = event.text();
    if (text.isEmpty() || !text.at(0).isPrint()) return 0;
    // A character beyond ASCII arrives as the first byte of its UTF-8 form: never a digit.
    return text.toStdString().front();
}

bool TViewBinder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto found = filteredEdits_.find(watched);
    if (found == filteredEdits_.end()) return QObject::eventFilter(watched, event);
    const char character = KeyCharacter(*static_cast<QKeyEvent*>(event));
    if (character == 0) return false;
    TEdit& edit = *found->second;
    bool accepted = false;
    Run([&] {
        char key = character;
        if (edit.OnKeyPress) edit.OnKeyPress(key);
        accepted = key != 0;
    });
    // A refused key, or one whose handler ended on an error, never reaches the edit.
    return !accepted;
}

QLineEdit* TViewBinder::Edit(TEdit& edit, QColor colour) {
    auto* widget = new QLineEdit;
    BindControl(widget, edit, colour);
    if (edit.OnKeyPress) {
        filteredEdits_[widget] = &edit;
        widget->installEventFilter(this);
    }
    // Whatever reaches the text without a key (a paste from the keyboard or the context
    // menu, a drop) is judged by the form's rule, against the text the form holds.
    if (edit.AcceptsChange)
        widget->setValidator(new TRuleValidator(
            [&edit](const QString& after) { return edit.Accepts(after.toStdString()); }, widget));
    connect(widget, &QLineEdit::textEdited, this,
            [this, &edit](const QString& text) { Run([&] { edit.Edited(text.toStdString()); }); });
    AddRefresher([widget, &edit] {
        const QString text = Q(edit.Text());
        if (widget->text() != text) {
            const QSignalBlocker block(widget);
            widget->setText(text);
            // A text put in by the program shows from its start, as a name read from a
            // file should; the edit being typed into keeps its caret where it was put.
            if (!widget->hasFocus()) widget->setCursorPosition(0);
        }
    });
    return widget;
}

QLabel* TViewBinder::Value(TLabel& label, QColor colour) {
    auto* widget = new QLabel;
    // Results and warnings may quote what the user typed; never taken as markup.
    widget->setTextFormat(Qt::PlainText);
    BindControl(widget, label, colour);
    AddRefresher([widget, &label] {
        const QString text = Q(label.Caption);
        if (widget->text() != text) widget->setText(text);
    });
    return widget;
}

QCheckBox* TViewBinder::CheckBox(TCheckBox& box) {
    auto* widget = new QCheckBox(Q(box.Caption));
    BindControl(widget, box, {});
    connect(widget, &QCheckBox::clicked, this, [this, &box](bool checked) {
        Run([&] {
            box.Checked = checked;
            if (box.OnClick) box.OnClick();
        });
    });
    AddRefresher([widget, &box] {
        const QSignalBlocker block(widget);
        widget->setText(Q(box.Caption));
        widget->setChecked(box.Checked);
    });
    return widget;
}

QRadioButton* TViewBinder::Radio(TRadioButton& radio) {
    auto* widget = new QRadioButton(Q(radio.Caption));
    // The form keeps its buttons' group; the widget only shows the state it holds.
    widget->setAutoExclusive(false);
    BindControl(widget, radio, {});
    connect(widget, &QRadioButton::clicked, this, [this, &radio] { Run([&] { radio.Click(); }); });
    AddRefresher([widget, &radio] {
        const QSignalBlocker block(widget);
        widget->setText(Q(radio.Caption));
        widget->setChecked(radio.Checked());
    });
    return widget;
}

QTimeEdit* TViewBinder::Picker(TTimePicker& picker) {
    auto* widget = new TTimeBox;
    widget->setDisplayFormat("hh:mm:ss");
    // A time being typed reaches the form once it is complete (Enter, or the focus moving
    // on): taken digit by digit, the first digit of "14" would be snapped to its hour and
    // the second would start the hour afresh.
    widget->setKeyboardTracking(false);
    BindControl(widget, picker, {});
    connect(widget, &QTimeEdit::timeChanged, this, [this, &picker](const QTime& time) {
        if (Refreshing()) return;
        const double fraction = static_cast<double>(time.msecsSinceStartOfDay()) / kMsPerDay;
        Run([&] { picker.UserChange(fraction); });
    });
    AddRefresher([widget, &picker] {
        const QTime time = ToQTime(picker.Time);
        if (widget->time() != time) {
            const QSignalBlocker block(widget);
            widget->setTime(time);
        }
    });
    return widget;
}

QPushButton* TViewBinder::Button(TButton& button) {
    auto* widget = new QPushButton(Q(button.Caption));
    BindControl(widget, button, {});
    connect(widget, &QPushButton::clicked, this, [this, &button] { Run([&] { button.Click(); }); });
    AddRefresher([widget, &button] {
        if (widget->text() != Q(button.Caption)) widget->setText(Q(button.Caption));
    });
    return widget;
}

QPlainTextEdit* TViewBinder::Memo(TMemo& memo, QColor colour) {
    auto* widget = new QPlainTextEdit;
    BindControl(widget, memo, colour);
    connect(widget, &QPlainTextEdit::textChanged, this, [this, widget, &memo] {
        if (Refreshing()) return;
        std::vector<std::string> lines;
        for (const QString& line : widget->toPlainText().split('\n'))
            lines.push_back(line.toStdString());
        Run([&] { memo.Lines = std::move(lines); });
    });
    AddRefresher([widget, &memo] {
        QStringList lines;
        for (const std::string& line : memo.Lines)
            lines << Q(line);
        const QString text = lines.join('\n');
        if (widget->toPlainText() != text) {
            const QSignalBlocker block(widget);
            // Looking for a word break along thousands of characters without one takes time
            // that grows with the square of the line; such a line is broken anywhere.
            qsizetype run = 0;
            qsizetype longest = 0;
            for (const QChar c : text) {
                run = c.isSpace() ? 0 : run + 1;
                longest = std::max(longest, run);
            }
            widget->setWordWrapMode(longest > 200 ? QTextOption::WrapAnywhere
                                                  : QTextOption::WrapAtWordBoundaryOrAnywhere);
            widget->setPlainText(text);
        }
    });
    return widget;
}

TMarkStringGridView* TViewBinder::Grid(TMarkStringGrid& grid) {
    auto* view = new TMarkStringGridView(grid, Runner());
    AddRefresher([view] { view->Refresh(); });
    return view;
}

QWidget* TViewBinder::UpDown(TUpDown& upDown) {
    auto* widget = new QWidget;
    BindControl(widget, upDown, {});
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto& [arrow, click, name] : {std::tuple{Qt::UpArrow, TUpDown::TArrow::Up, "Up"},
                                             std::tuple{Qt::DownArrow, TUpDown::TArrow::Down, "Down"}}) {
        auto* button = new QToolButton;
        button->setObjectName(name);
        button->setArrowType(arrow);
        button->setFixedSize(16, 11);
        button->setAutoRepeat(true);
        connect(button, &QToolButton::clicked, this,
                [this, &upDown, click = click] { Run([&] { upDown.Click(click); }); });
        layout->addWidget(button);
    }
    return widget;
}

} // namespace halvern
