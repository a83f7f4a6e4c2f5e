// The measuring canvas: fixed-width characters, so widths of texts are exact in tests.
#include "forms/Canvas.h"

namespace halvern {

int TFixedWidthCanvas::TextWidth(const std::string& text) {
    // Count characters, not bytes: "m³" is two characters wide, not three.
    int characters = 0;
    for (unsigned char byte : text) {
        if ((byte & 0xC0u) != 0x80u) ++characters;
    }
    return characters * CharWidth;
}

} // namespace halvern
