#include "forms/MainForm.h"
#include "model/Version.h"
#include <gtest/gtest.h>

using namespace halvern;

TEST(MainFormTest, StartsWithTheVersionCaptionAndFourToolbarButtons) {
    TScriptedDialogs dialogs;
    TMainForm form(dialogs);
    EXPECT_EQ(form.Caption, std::string("Halvern, ") + VersionText);
    int shown = 0;
    for (TAction* a : form.Actions())
        shown += a->ToolbarVisible ? 1 : 0;
    EXPECT_EQ(shown, 4);
}
