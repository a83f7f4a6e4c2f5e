// TViewBinder: ties the Qt widgets to the form's controls of the same name. Every user
// event goes to the form through its one dispatch point; after each event every bound
// widget is refreshed from the form, so the widgets only ever show what the form holds.
#pragma once
#include "forms/MainForm.h"
#include "ui/MarkStringGridView.h"
#include <QColor>
#include <QObject>
#include <functional>
#include <map>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimeEdit;
class QWidget;

namespace halvern {

class TViewBinder : public QObject {
    Q_OBJECT
public:
    explicit TViewBinder(TMainForm& form, QObject* parent = nullptr);
    TMainForm& Form;

    // Runs a user event through the form's dispatch point, then refreshes every widget.
    // Returns false when the event ended on an error (already shown to the user).
    bool Run(const std::function<void()>& handler);
    TEventRunner Runner();
    // Copies the form's state into every bound widget without raising their signals.
    void Refresh();
    bool Refreshing() const { return refreshing_ > 0; }
    void AddRefresher(std::function<void()> refresher);

    // Widgets bound to their control. Colours given here are the designed text colours;
    // a control's own font colour other than black takes precedence.
    QLineEdit* Edit(TEdit& edit, QColor colour = {});
    QLabel* Value(TLabel& label, QColor colour = {});
    QCheckBox* CheckBox(TCheckBox& box);
    QRadioButton* Radio(TRadioButton& radio);
    QTimeEdit* Picker(TTimePicker& picker);
    QPushButton* Button(TButton& button);
    QPlainTextEdit* Memo(TMemo& memo, QColor colour = {});
    TMarkStringGridView* Grid(TMarkStringGrid& grid);
    // The spinner arrows of an up-down bound to an edit.
    QWidget* UpDown(TUpDown& upDown);

    // The character a key sends to a key-press handler; 0 for keys that send none.
    static char KeyCharacter(const class QKeyEvent& event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BindControl(QWidget* widget, TControl& control, QColor colour);
    std::vector<std::function<void()>> refreshers_;
    std::map<QObject*, TEdit*> filteredEdits_;
    int refreshing_ = 0;
};

// Sets the text colour a widget is designed with.
void SetTextColour(QWidget* widget, const QColor& colour);

} // namespace halvern
