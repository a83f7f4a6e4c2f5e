// Any bytes as an hourly import file, imported with either inflow unit selected: the
// table takes what it can, and the next collection of the inputs copes with whatever is there.
#include "forms/MainForm.h"
#include "forms/HourlyImportCommand.h"
#include "io/TextCodec.h"

#include <cstdint>
#include <string_view>

using namespace halvern;

namespace {

struct TFuzzWindow {
    TScriptedDialogs Dialogs;
    TMainForm Form{Dialogs};
    TFuzzWindow() { Form.FormShow(); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TFuzzWindow window;
    TMainForm& form = window.Form;
    window.Dialogs.Clear();
    // The first byte picks the unit selected on the page; the rest is the file.
    const bool litres = size > 0 && (data[0] & 1) != 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    form.Dispatch([&] {
        (litres ? form.lsRadio : form.m3hrRadio).Click();
        ApplyHourlyImport(form, ParseHourlyImport(DecodeFileText(bytes.substr(size > 0 ? 1 : 0))));
    });
    form.Dispatch([&] {
        bool errors = true;
        form.GetTheData(errors);
    });
    return 0;
}
