// A shown main window over a form whose messages are scripted and recorded, for the
// view tests: widgets are found by the names of the form's controls.
#pragma once
#include "forms/MainForm.h"
#include "ui/MainWindow.h"
#include "ui/ViewBinder.h"
#include <QApplication>
#include <QTest>
#include <memory>

namespace halvern {

struct TUiFixture {
    TScriptedDialogs dialogs;
    TMainForm form{dialogs};
    TMainWindow window{form};

    TUiFixture() {
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    template <typename W> W* Find(const char* name) { return window.findChild<W*>(name); }
    // Runs an event of the form as if the user had caused it, and refreshes the widgets.
    void Run(const std::function<void()>& handler) { window.Binder().Run(handler); }
};

} // namespace halvern
