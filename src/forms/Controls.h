// The controls of the windows as plain state: exactly what a window shows and what its
// rules need. Setting a control from code has the effect of the user's change: an edit's
// new text runs its change handler, checking an unchecked radio button runs its click
// handler; setting a time picker runs nothing.
#pragma once
#include "forms/Colours.h"
#include <functional>
#include <string>
#include <vector>

namespace halvern {

class TControlRegistry;

// What sets one control apart from the others of its kind; the registry's rules read these.
enum class TControlFlag : unsigned {
    None = 0,
    // The numeric key filter guards the edit: only digits, one separator, a leading minus.
    NumericKeys = 1u << 0,
    // Left out of the listing of what the window shows (`halvern-cli show --json`): a fixed
    // caption, a copy of a value listed elsewhere, or a table that is never shown.
    Unlisted = 1u << 1,
    // The table's cell colours are its design, not the marks of a project's hours: a new
    // project leaves them.
    DesignColours = 1u << 2,
};

// A control of a window. The controls of the main window and of the windows built with it
// join its registry when they are constructed ({Controls, "Name"}); a control built with a
// name only (a dialog's own, a test's) joins none.
class TControl {
public:
    explicit TControl(std::string name = {}) : Name(std::move(name)) {}
    TControl(TControlRegistry& registry, std::string name, TControlFlag flags = TControlFlag::None);
    // The registry holds the control's address: a control is never copied or moved.
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;
    virtual ~TControl() = default;

    bool Has(TControlFlag flag) const {
        return (static_cast<unsigned>(Flags) & static_cast<unsigned>(flag)) != 0;
    }

    std::string Name;
    TControlFlag Flags = TControlFlag::None;
    bool Visible = true;
    bool Enabled = true;
    std::string Hint;
    int HelpContext = 0;
    TColor FontColour = clBlack;
};

class TEdit : public TControl {
public:
    using TControl::TControl;
    const std::string& Text() const { return text_; }
    // Stores the text; runs OnChange when the text differs from the one held.
    void SetText(const std::string& text);
    // The window's designed initial text, set before any handler is connected.
    void InitText(const std::string& text) { text_ = text; }
    // A character key from the user: OnKeyPress may discard it (key = 0); otherwise the
    // character is appended ('\b' removes the last character) and OnChange runs.
    void TypeKey(char key);
    // Types each character of the text in turn.
    void TypeText(const std::string& text);
    // A new text from the user other than by a typed key (a paste, a cut, an undo): stored
    // (running OnChange) when AcceptsChange allows it; true when stored.
    bool UserChange(const std::string& text);
    // A text the user's key or paste has already put into the view's edit (the filters have
    // judged it): stored, running OnChange, then OnEdited.
    void Edited(const std::string& text);
    bool Accepts(const std::string& text) const { return !AcceptsChange || AcceptsChange(text_, text); }

    std::function<void()> OnChange;
    // Runs after a change the user made (a typed key, Backspace, a paste) is stored and its
    // OnChange has run, so that it sees the text as it now reads; never for program writes.
    std::function<void()> OnEdited;
    std::function<void(char& key)> OnKeyPress;
    // Judges a change that no key filter saw; unset, every change is taken.
    std::function<bool(const std::string& before, const std::string& after)> AcceptsChange;

private:
    std::string text_;
};

class TLabel : public TControl {
public:
    using TControl::TControl;
    std::string Caption;
};

class TMemo : public TControl {
public:
    using TControl::TControl;
    std::vector<std::string> Lines;
};

class TCheckBox : public TControl {
public:
    using TControl::TControl;
    std::string Caption;
    bool Checked = false;
    // A click by the user: toggles the box, then runs OnClick.
    void Click() {
        Checked = !Checked;
        if (OnClick) OnClick();
    }
    std::function<void()> OnClick;
};

// Radio buttons of one group uncheck each other.
class TRadioButton : public TControl {
public:
    using TControl::TControl;
    std::string Caption;
    bool Checked() const { return checked_; }
    // Checking a button that was not checked unchecks its group and runs OnClick.
    void SetChecked(bool checked);
    // A click by the user: checks the button (running OnClick when it was not checked).
    void Click() { SetChecked(true); }
    std::function<void()> OnClick;
    std::vector<TRadioButton*> Group;

private:
    bool checked_ = false;
};

class TTimePicker : public TControl {
public:
    using TControl::TControl;
    // A fraction of a day. Setting it from code runs nothing.
    double Time = 0;
    // The user picked a time: store it and run OnChange.
    void UserChange(double time);
    std::function<void()> OnChange;
};

// An up-down spinner bound to an edit: its position is written into the edit.
class TUpDown : public TControl {
public:
    using TControl::TControl;
    enum class TArrow { Up = 1, Down = -1 };
    int Position() const { return position_; }
    void SetPosition(int position);
    // A click on an arrow: one Increment on from the whole number the edit shows (from
    // the position when the edit holds no whole number), kept within Min..Max.
    void Click(TArrow arrow);
    int Min = 0;
    int Max = 100;
    int Increment = 1;
    TEdit* Associate = nullptr;

private:
    int position_ = 0;
};

class TButton : public TControl {
public:
    using TControl::TControl;
    std::string Caption;
    std::function<void()> OnClick;
    void Click() {
        if (OnClick) OnClick();
    }
};

class TPageControl;

// A page of a tabbed page set. Its show and hide events run when it starts or stops
// being seen; its tab is drawn highlighted while Highlighted is set.
class TTabSheet : public TControl {
public:
    TTabSheet(std::string name, std::string caption)
        : TControl(std::move(name)), Caption(std::move(caption)) {}
    TTabSheet(TControlRegistry& registry, std::string name, std::string caption)
        : TControl(registry, std::move(name)), Caption(std::move(caption)) {}
    std::string Caption;
    bool Highlighted = false;
    std::function<void()> OnShow;
    std::function<void()> OnHide;
    TPageControl* Parent = nullptr;   // the page set this page belongs to
    TPageControl* Children = nullptr; // the page set this page holds, if any
    bool Showing() const;
};

class TPageControl : public TControl {
public:
    using TControl::TControl;
    void AddPage(TTabSheet& page);
    std::vector<TTabSheet*> Pages;
    TTabSheet* Owner = nullptr; // the page that holds this page set; none for the outermost
    TTabSheet* ActivePage() const { return active_; }
    int ActivePageIndex() const;
    // Whether the page set is seen: the outermost once its window is shown, a nested one
    // while its owner page is seen.
    bool Showing() const;
    // Makes the page the active one: when the page set is seen, the old page and the pages
    // seen inside it get their hide events, then the new page and its active descendants
    // their show events, outer first.
    void SetActivePage(TTabSheet& page);
    // Selects without running any event (set-up before the window is shown).
    void InitActivePage(TTabSheet& page) { active_ = &page; }
    // The window became visible: the active pages, outer first, get their show events.
    void WindowShown();
    bool WindowVisible = false; // only meaningful for the outermost page set

private:
    TTabSheet* active_ = nullptr;
};

struct TAction {
    std::string Name;
    std::string Caption;        // "New data"
    std::string ToolbarCaption; // "&New data"
    std::string Category;
    int ImageIndex = -1;
    bool ToolbarVisible = true;
    std::function<void()> OnExecute;
    bool Enabled = true; // a disabled command does nothing
    void Execute() {
        if (Enabled && OnExecute) OnExecute();
    }
};

struct TStatusBar {
    std::string SimpleText;
};

// Fires the show events of a page and of the pages seen inside it, outer first.
void FireShow(TTabSheet& page);
// Fires the hide events of the pages seen inside a page, inner first, then its own.
void FireHide(TTabSheet& page);

} // namespace halvern
