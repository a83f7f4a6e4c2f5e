// Any bytes as a ".pru" file: the reader must refuse or read them, the window must take
// whatever it read through its whole recalculation, and what it writes must read back alike.
#include "forms/MainForm.h"
#include "forms/ProjectDocument.h"
#include "io/ProjectFile.h"
#include "io/TextCodec.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // The file on its own: a project that parsed is written and read back to the same text,
    // complete; its hourly outlet pressures, in hourly mode, are numbers.
    const TProjectParse parse = ParseProjectFile(DecodeFileText(bytes));
    if (parse.Error == TProjectParseError::None) {
        Check(FirstUnsavableOutlet(parse.Data) < 0);
        const std::string text = FormatProjectFile(parse.Data);
        const std::string decoded = DecodeFileText(EncodeFileText(text));
        Check(decoded == text);
        const TProjectParse again = ParseProjectFile(decoded);
        Check(again.Error == TProjectParseError::None && again.EndedAfterLine == 0);
        Check(FormatProjectFile(again.Data) == text);
    } else if (parse.Error == TProjectParseError::InvalidFormat) {
        // The message names a line of the file and shows none of its control characters.
        Check(parse.ErrorLine >= 2 && static_cast<std::size_t>(parse.ErrorLine) <= size);
        for (const char c : InvalidFormatMessage(parse))
            Check(c == '\n' || static_cast<unsigned char>(c) >= 0x20);
    }

    // "Read data" in a program that keeps running, as a user reading file after file; what
    // the window would then save, it can read again.
    static TFuzzWindow window;
    window.Dialogs.Clear();
    window.Form.Dispatch([&] { ReadProjectBytes(window.Form, bytes, "fuzz.pru"); });
    const TProjectFileData shown = CollectProjectData(window.Form);
    if (FirstUnsavableOutlet(shown) < 0) {
        const TProjectParse saved =
            ParseProjectFile(DecodeFileText(EncodeFileText(FormatProjectFile(shown))));
        Check(saved.Error == TProjectParseError::None && saved.EndedAfterLine == 0);
    }
    return 0;
}
