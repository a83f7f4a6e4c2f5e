// Marks the main window as being refreshed with a whole project (Read data, New data) for
// the lifetime of the guard; the flag is cleared on every way out, errors included.
#pragma once
#include "forms/MainForm.h"

namespace halvern {

class TRefreshGuard {
public:
    explicit TRefreshGuard(TMainForm& form) : form_(form), was_(form.RefreshingProject) {
        form_.RefreshingProject = true;
    }
    ~TRefreshGuard() { form_.RefreshingProject = was_; }
    TRefreshGuard(const TRefreshGuard&) = delete;
    TRefreshGuard& operator=(const TRefreshGuard&) = delete;

private:
    TMainForm& form_;
    bool was_;
};

} // namespace halvern
