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

    // The file on its own: a project that parsed is written and read back to the same text.
    const TProjectParse parse = ParseProjectFile(DecodeFileText(bytes));
    if (parse.Error == TProjectParseError::None) {
        const std::string text = FormatProjectFile(parse.Data);
        const std::string decoded = DecodeFileText(EncodeFileText(text));
        Check(decoded == text);
        const TProjectParse again = ParseProjectFile(decoded);
        Check(again.Error == TProjectParseError::None);
        Check(FormatProjectFile(again.Data) == text);
    }

    // "Read data" in a program that keeps running, as a user reading file after file.
    static TFuzzWindow window;
    window.Dialogs.Clear();
    window.Form.Dispatch([&] { ReadProjectBytes(window.Form, bytes, "fuzz.pru"); });
    return 0;
}
