// A main window as the user first meets it: created, then shown (which runs
// Initialise(true)). Every message it shows is recorded in `dialogs`.
#pragma once
#include "forms/MainForm.h"
#include <gtest/gtest.h>

namespace halvern::test {

class FormFixture : public ::testing::Test {
protected:
    FormFixture() {
        form.Dispatch([this] { form.FormShow(); });
    }

    // Sets an edit's text as a program write or a paste would, through the dispatch point.
    bool Set(TEdit& edit, const std::string& text) {
        return form.Dispatch([&] { edit.SetText(text); });
    }

    TScriptedDialogs dialogs;
    TMainForm form{dialogs};
};

} // namespace halvern::test
