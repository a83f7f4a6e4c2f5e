// The demo zone and a window that has read it, shared by the benchmarks.
#pragma once
#include "forms/MainForm.h"
#include "forms/ProjectDocument.h"

#include <memory>
#include <string>

namespace halvern::bench {

inline std::string DemoProject() {
    return std::string(HALVERN_TEST_DATA) + "/../../examples/demo-zone.pru";
}

// A started program that has read a project, as after "Read data".
struct TReadWindow {
    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainForm> Form;
    explicit TReadWindow(const std::string& fileName = DemoProject())
        : Form(std::make_unique<TMainForm>(Dialogs)) {
        Form->FormShow();
        Form->Dispatch([&] { ReadProjectFile(*Form, fileName); });
    }
};

} // namespace halvern::bench
