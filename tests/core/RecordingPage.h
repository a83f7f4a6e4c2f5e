// A printer page for tests that writes down every drawing call. Characters are as wide
// as the font's points times its scale and lines twice that high (Arial 10: "M" is 20
// high), so that positions on the page are exact.
#pragma once
#include "forms/PrintCanvas.h"
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace halvern {

class TRecordingPage : public TPrintCanvas {
public:
    TRecordingPage(int width, int height) : Width(width), Height(height) {}
    int Width, Height;
    TPrintFont Font;
    double FontScale = 1; // the scale of a screen font, 1 for a printer font
    std::vector<std::string> Calls;
    struct TText {
        int X, Y;
        std::string Text;
        TPrintFont Font;
        TColor Colour = clBlack;
        std::optional<TRect> Box; // the box a text is cut to
    };
    std::vector<TText> TextCalls;

    int PageWidth() override { return Width; }
    int PageHeight() override { return Height; }
    void SetFont(const TPrintFont& font) override {
        Font = font;
        FontScale = 1;
    }
    void SetScreenFont(const TPrintFont& font, double scale) override {
        Font = font;
        FontScale = scale;
    }
    int TextWidth(const std::string& text) override {
        return static_cast<int>(text.size() * Font.Size * FontScale);
    }
    int TextHeight(const std::string&) override { return static_cast<int>(2 * Font.Size * FontScale); }
    void FillRect(const TRect& r, TColor colour) override {
        Log() << "paint " << r.Left << "," << r.Top << " " << r.Right << "," << r.Bottom << " "
              << Hex(colour);
        Flush();
    }
    void TextOut(int x, int y, const std::string& text, TColor colour) override {
        TextCalls.push_back({x, y, text, Font, colour, std::nullopt});
        Log() << "text " << x << "," << y << " " << text << " [" << Font.Name << " " << Font.Size
              << (Font.Bold ? " bold" : "") << "]" << (colour == clBlack ? "" : " " + Hex(colour));
        Flush();
    }
    // Written as "text ... within L,T R,B": the box the text is cut to.
    void TextRect(const TRect& r, int x, int y, const std::string& text, TColor colour) override {
        TextOut(x, y, text, colour);
        std::ostringstream box;
        box << " within " << r.Left << "," << r.Top << " " << r.Right << "," << r.Bottom;
        Calls.back() += box.str();
        TextCalls.back().Box = r;
    }
    void Line(int x1, int y1, int x2, int y2, TColor) override {
        Log() << "line " << x1 << "," << y1 << " " << x2 << "," << y2;
        Flush();
    }
    void FrameRect(const TRect& r) override {
        Log() << "rect " << r.Left << "," << r.Top << " " << r.Right << "," << r.Bottom;
        Flush();
    }
    void Arc(const TRect& r) override {
        Log() << "arc " << r.Left << "," << r.Top << " " << r.Right << "," << r.Bottom;
        Flush();
    }
    void FillEllipse(const TRect& r) override {
        Log() << "fill " << r.Left << "," << r.Top << " " << r.Right << "," << r.Bottom;
        Flush();
    }

    // The first text written with this content, if any.
    const TText* Find(const std::string& text) const {
        for (const TText& t : TextCalls)
            if (t.Text == text) return &t;
        return nullptr;
    }

    // The calls that are texts.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const std::string& call : Calls)
            if (call.rfind("text ", 0) == 0) texts.push_back(call);
        return texts;
    }

    // A colour as #RRGGBB.
    static std::string Hex(TColor colour) {
        static const char digits[] = "0123456789ABCDEF";
        std::string text = "#";
        for (int part : {RedOf(colour), GreenOf(colour), BlueOf(colour)}) {
            text += digits[part / 16];
            text += digits[part % 16];
        }
        return text;
    }

private:
    std::ostringstream& Log() {
        line_.str({});
        return line_;
    }
    void Flush() { Calls.push_back(line_.str()); }
    std::ostringstream line_;
};

} // namespace halvern
