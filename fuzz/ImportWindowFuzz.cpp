// Any bytes imported into the hourly table of a window that keeps running, with either inflow
// unit selected, then every analysis and the costs: a refused file changes nothing, an
// accepted one is never refused by the next collection of the inputs, and the calculations
// cope with whatever numbers it held.
#include "forms/HourlyImportCommand.h"
#include "forms/MainForm.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace halvern;

namespace {

struct TFuzzWindow {
    TScriptedDialogs Dialogs;
    TMainForm Form{Dialogs};
    TFuzzWindow() { Form.FormShow(); }
};

void Check(bool condition) {
    if (!condition) std::abort();
}

std::string FlowTable(const TMainForm& form) {
    std::string cells;
    for (int r = 0; r < form.FlowGrid.RowCount(); ++r)
        for (int c = 0; c < form.FlowGrid.ColCount(); ++c)
            cells += form.FlowGrid.Cell(c, r) + '\t';
    return cells;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TFuzzWindow window;
    TMainForm& form = window.Form;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The unit follows the length, so this target reads the same seed files as ImportReaderFuzz.
    const bool litres = size % 2 == 1;
    form.Dispatch([&] { (litres ? form.lsRadio : form.m3hrRadio).Click(); });
    window.Dialogs.Clear();

    const std::string before = FlowTable(form);
    bool imported = false;
    form.Dispatch([&] { imported = ImportHourlyBytes(form, bytes, "fuzz.txt"); });
    if (!imported) {
        Check(FlowTable(form) == before);
        return 0;
    }
    // What the import let in, the input collection takes.
    window.Dialogs.Clear();
    bool errors = true;
    form.Dispatch([&] { form.GetTheData(errors); });
    Check(!errors);
    form.Dispatch([&] {
        form.RunAllOptions();
        form.GetTheCosts();
    });
    return 0;
}
