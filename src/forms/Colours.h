// Colours as the windows store them: 32-bit values with red in the low byte
// (0x00BBGGRR), -1 for "none of its own", and four system colours that the
// canvas resolves to the desktop's own.
#pragma once
#include <cstdint>

namespace halvern {

using TColor = int32_t;

constexpr TColor clNone = -1;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clOlive = 0x008080;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clGray = 0x808080;
// The outlet of an hour in which a reducing valve stands fully open (outlet = inlet): the
// tables, charts, prints and report sheets all recognise the hour by it.
constexpr TColor clValveOpen = clGray;

// System colours (resolved by the canvas).
constexpr TColor clActiveCaption = static_cast<TColor>(0xFF000002u);
constexpr TColor clHighlightText = static_cast<TColor>(0xFF00000Eu);
constexpr TColor cl3DLight = static_cast<TColor>(0xFF000016u);
constexpr TColor cl3DDkShadow = static_cast<TColor>(0xFF000015u);
constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000Fu);
constexpr TColor clWindow = static_cast<TColor>(0xFF000005u);
constexpr TColor clHighlight = static_cast<TColor>(0xFF00000Du);

constexpr bool IsSystemColour(TColor c) {
    return (static_cast<uint32_t>(c) & 0xFF000000u) == 0xFF000000u;
}
constexpr TColor RGB(int r, int g, int b) {
    return (b << 16) | (g << 8) | r;
}
constexpr int RedOf(TColor c) {
    return c & 0xFF;
}
constexpr int GreenOf(TColor c) {
    return (c >> 8) & 0xFF;
}
constexpr int BlueOf(TColor c) {
    return (c >> 16) & 0xFF;
}

} // namespace halvern
