#include "forms/Controls.h"
#include "forms/ControlRegistry.h"
#include <algorithm>
#include <charconv>
#include <limits>

namespace halvern {

TControl::TControl(TControlRegistry& registry, std::string name, TControlFlag flags)
    : Name(std::move(name)), Flags(flags) {
    registry.Join(*this);
}

void TEdit::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    if (OnChange) OnChange();
}

void TEdit::TypeKey(char key) {
    if (OnKeyPress) OnKeyPress(key);
    if (key == 0) return;
    // Control keys (the clipboard's, Enter, Escape) are commands to the edit, not text.
    if (key != '\b' && static_cast<unsigned char>(key) < 0x20) return;
    std::string next = text_;
    if (key == '\b') {
        if (next.empty()) return;
        next.pop_back();
    } else {
        next.push_back(key);
    }
    Edited(next);
}

void TEdit::Edited(const std::string& text) {
    if (text == text_) return;
    SetText(text);
    if (OnEdited) OnEdited();
}

void TEdit::TypeText(const std::string& text) {
    for (char c : text)
        TypeKey(c);
}

bool TEdit::UserChange(const std::string& text) {
    if (!Accepts(text)) return false;
    Edited(text);
    return true;
}

void TRadioButton::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    if (!checked) return;
    for (TRadioButton* other : Group)
        if (other != this) other->checked_ = false;
    if (OnClick) OnClick();
}

void TTimePicker::UserChange(double time) {
    Time = time;
    if (OnChange) OnChange();
}

void TUpDown::SetPosition(int position) {
    if (position < Min) position = Min;
    if (position > Max) position = Max;
    position_ = position;
    if (Associate) Associate->SetText(std::to_string(position));
}

void TUpDown::Click(TArrow arrow) {
    // The arrows count on from the number the edit shows, as a spinner beside an edit
    // does: a cost factor typed as "50" goes to 51, not to the last position plus one.
    int from = position_;
    if (Associate) {
        const std::string& text = Associate->Text();
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error == std::errc() && end == text.data() + text.size()) from = value;
    }
    // Counted in a wider type: one step on from the edge of int stays an int, which
    // SetPosition then keeps within Min..Max.
    const long long next = static_cast<long long>(from) + static_cast<long long>(arrow) * Increment;
    constexpr long long lowest = std::numeric_limits<int>::min(), highest = std::numeric_limits<int>::max();
    SetPosition(static_cast<int>(std::clamp(next, lowest, highest)));
}

bool TTabSheet::Showing() const {
    return Parent && Parent->ActivePage() == this && Parent->Showing();
}

void TPageControl::AddPage(TTabSheet& page) {
    page.Parent = this;
    Pages.push_back(&page);
    if (!active_) active_ = &page;
}

int TPageControl::ActivePageIndex() const {
    for (size_t i = 0; i < Pages.size(); ++i)
        if (Pages[i] == active_) return static_cast<int>(i);
    return -1;
}

bool TPageControl::Showing() const {
    return Owner ? Owner->Showing() : WindowVisible;
}

void FireShow(TTabSheet& page) {
    if (page.OnShow) page.OnShow();
    if (page.Children && page.Children->ActivePage()) FireShow(*page.Children->ActivePage());
}

void FireHide(TTabSheet& page) {
    if (page.Children && page.Children->ActivePage()) FireHide(*page.Children->ActivePage());
    if (page.OnHide) page.OnHide();
}

void TPageControl::SetActivePage(TTabSheet& page) {
    if (active_ == &page) return;
    const bool seen = Showing();
    TTabSheet* old = active_;
    if (seen && old) FireHide(*old);
    active_ = &page;
    if (seen) FireShow(page);
}

void TPageControl::WindowShown() {
    WindowVisible = true;
    if (active_) FireShow(*active_);
}

} // namespace halvern
