// The measuring canvas: fixed-width characters, so widths of texts are exact in tests.
#include "forms/Canvas.h"
#include "model/Numbers.h"

namespace halvern {

int TFixedWidthCanvas::TextWidth(const std::string& text) {
    // Count characters, not bytes: "m³" is two characters wide, not three.
    return static_cast<int>(Utf8Length(text)) * CharWidth;
}

} // namespace halvern
