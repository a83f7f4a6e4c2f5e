// TControlRegistry: every control of the main window, and of the N1 and costs windows built
// with it, in the order the controls were constructed. The controls join it themselves, so
// a new control is in every listing by being declared; what sets a control apart (the key
// filter, left out of the listing, colours of its own) is a flag on the control.
#pragma once
#include "forms/Controls.h"
#include <string>
#include <vector>

namespace halvern {

class TControlRegistry {
public:
    TControlRegistry() = default;
    TControlRegistry(const TControlRegistry&) = delete;
    TControlRegistry& operator=(const TControlRegistry&) = delete;

    // Called by the control's constructor.
    void Join(TControl& control) { controls_.push_back(&control); }

    // Every control of kind T, in construction order.
    template <class T> std::vector<T*> All() const {
        std::vector<T*> found;
        for (TControl* control : controls_)
            if (T* t = dynamic_cast<T*>(control)) found.push_back(t);
        return found;
    }
    // The controls of kind T that carry the flag.
    template <class T> std::vector<T*> With(TControlFlag flag) const {
        std::vector<T*> found;
        for (T* t : All<T>())
            if (t->Has(flag)) found.push_back(t);
        return found;
    }
    // The controls of kind T that the listing of the window shows, in its order.
    template <class T> std::vector<T*> Listed() const {
        std::vector<T*> found;
        for (T* t : All<T>())
            if (!t->Has(TControlFlag::Unlisted)) found.push_back(t);
        return found;
    }
    // The control of kind T with that name; none when there is no such control.
    template <class T> T* Find(const std::string& name) const {
        for (T* t : All<T>())
            if (t->Name == name) return t;
        return nullptr;
    }

private:
    std::vector<TControl*> controls_;
};

} // namespace halvern
