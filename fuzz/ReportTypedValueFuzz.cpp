// Any text through the report's typed-value rules, as a cell of the workbook takes it: a text
// that reads as a number becomes that number, a time of day a time, an amount in the money form
// an amount; anything else stays the text it was. What holds: a text kept is kept byte for
// byte; a number is finite and shows, through the format its typing gave it, as a text the same
// rules read back to the same number and format; and a number, amount or time the program writes
// itself (as the grids of the report hold them) shows exactly as it was written.
#include "model/Numbers.h"
#include "reports/NumberFormat.h"
#include "reports/TypedValue.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

using namespace halvern;

namespace {

using TKind = TTypedValue::TKind;

// A broken rule names itself before the run stops, so that a finding says what failed.
void Fail(const char* rule, int line) {
    std::fprintf(stderr, "%s:%d: does not hold: %s\n", __FILE__, line, rule);
    std::abort();
}
#define Check(condition) ((condition) ? void() : Fail(#condition, __LINE__))

bool Blank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

// Close enough for a value shown with the digits its format gives: the general format shows
// ten significant digits, the fixed ones their decimals.
bool Near(double a, double b, double absolute) {
    return std::fabs(a - b) <= absolute + 1e-9 * std::max(std::fabs(a), std::fabs(b));
}

// The rules that hold whatever the forms of typing.
TTypedValue Typed(std::string_view text, const TTypingForms& forms) {
    const TTypedValue typed = TypeIn(text, forms);
    Check((typed.Kind == TKind::Empty) == Blank(text));
    if (typed.Kind == TKind::Text) Check(typed.Text == text && typed.NumberFormat.empty());
    if (typed.Kind != TKind::Text) Check(typed.Text.empty());
    if (typed.Kind == TKind::Number) Check(std::isfinite(typed.Number));
    if (typed.Kind == TKind::Empty) Check(typed.Number == 0 && typed.NumberFormat.empty());
    return typed;
}

// The decimals a digit pattern shows: the zeros after its (last) point.
int DecimalsOf(const std::string& format) {
    const auto point = format.rfind('.');
    if (point == std::string::npos) return 0;
    int zeros = 0;
    for (std::size_t i = point + 1; i < format.size() && format[i] == '0'; ++i)
        ++zeros;
    return zeros;
}

// A number shown through its format reads back as the same number, with the same format
// where the shown text still carries it, and then shows again as the same text. The shown texts are those of
// a sheet in the C conventions, so this is asked of those forms only.
void ReadsBack(const TTypedValue& typed, const TTypingForms& forms) {
    if (typed.Kind != TKind::Number) return;
    const double magnitude = std::fabs(typed.Number);
    // A format that shows more than fifteen digits shows digits a double does not hold.
    const int decimals = DecimalsOf(typed.NumberFormat);
    const bool scientific = typed.NumberFormat.find('E') != std::string::npos;
    // The E notation is shown from the number divided by its power of ten, which may move the
    // fifteenth digit: fourteen are asked of it.
    if (decimals > (scientific ? 13 : 14)) return;
    if (!typed.NumberFormat.empty() && !scientific && magnitude * std::pow(10.0, decimals) >= 1e15) return;
    const std::string shown = ShowNumber(typed.Number, typed.NumberFormat);
    // A number just above the smallest a double holds at full precision may show rounded
    // below it ("2E-308" for 2.28E-308), and such a text stays text by the typing's own rule;
    // no value of a zone comes near.
    if (const auto read = ParseNumber(shown);
        read && *read != 0 && std::fabs(*read) < std::numeric_limits<double>::min())
        return;
    const TTypedValue again = Typed(shown, forms);
    Check(again.Kind == TKind::Number);
    // The general format shows very large and very small numbers in the E notation, which
    // reads back with a format of its own; a grouped number under a thousand ("0,000",
    // "0,234.5") shows no separator and reads back in the same format without the grouping
    // ("234.5": "0.0"), or the general one where that leaves no decimals. Both show it alike.
    const bool sameFormat = again.NumberFormat == typed.NumberFormat;
    const bool grouped = typed.NumberFormat.rfind("#,##0", 0) == 0;
    const std::string ungrouped = grouped ? typed.NumberFormat.substr(4) : std::string();
    Check(sameFormat || (typed.NumberFormat.empty() && again.NumberFormat.find('E') != std::string::npos) ||
          (grouped && shown.find(',') == std::string::npos &&
           again.NumberFormat == (ungrouped == "0" ? std::string() : ungrouped)));
    if (typed.NumberFormat.find("mm") != std::string::npos) {
        Check(Near(again.Number, typed.Number, 0.5 / 86400)); // to the second
    } else if (typed.NumberFormat.empty() && shown.find('E') == std::string::npos) {
        Check(Near(again.Number, typed.Number, 5e-10)); // ten significant digits, at most nine decimals
    } else if (shown.find('E') != std::string::npos) {
        Check(Near(again.Number, typed.Number, magnitude * 5e-6 + magnitude * std::pow(10.0, -decimals)));
    } else {
        Check(Near(again.Number, typed.Number, 0.5 * std::pow(10.0, -decimals)));
    }
    // A tiny negative amount shows as "-R0.00", as the spreadsheet shows it, and "-R0.00" is
    // typed as no amount at all: "R0.00".
    const bool negativeZero = again.Number == 0 && shown.rfind('-', 0) == 0;
    if (sameFormat)
        Check(ShowNumber(again.Number, again.NumberFormat) == (negativeZero ? shown.substr(1) : shown));
}

// A text the program writes into its grids is taken as the value it names and shown as written.
void ShownAsWritten(const std::string& written, const TTypingForms& forms) {
    const TTypedValue typed = Typed(written, forms);
    Check(typed.Kind == TKind::Number);
    Check(ShowNumber(typed.Number, typed.NumberFormat) == written);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // The C conventions, as the report runs under them here: "," between thousands, "R160,000.00".
    const TTypingForms plain;
    const TTypedValue typed = Typed(text, plain);
    ReadsBack(typed, plain);
    // A typed number stays the number the program's own reading gives it.
    // ("." alone, which that reading takes as 0, is no number typed, nor is ".E5".)
    const std::string_view mantissa = text.substr(0, text.find_first_of("eE"));
    const bool hasDigit = mantissa.find_first_of("0123456789") != std::string_view::npos;
    // A number too small for a double to hold at full precision ("1e-5505") may stay text.
    const auto number = ParseNumber(text);
    const bool underflows = number && std::fabs(*number) < std::numeric_limits<double>::min() &&
                            mantissa.find_first_of("123456789") != std::string_view::npos;
    if (number && std::isfinite(*number) && hasDigit && !underflows) {
        Check(typed.Kind == TKind::Number);
        Check(Near(typed.Number, *number, 0));
    }

    // Other users' forms: a blank between thousands and the symbol after the amount, or an
    // apostrophe and a symbol of several letters before it.
    TTypingForms european;
    european.ThousandsSeparator = " ";
    european.Money = {"€", false, true, " "};
    Typed(text, european);
    TTypingForms swiss;
    swiss.ThousandsSeparator = "'";
    swiss.Money = {"CHF", true, true, "'"};
    Typed(text, swiss);

    // What the program writes from the number the text names, if it names one.
    const auto& value = number;
    if (!value || !std::isfinite(*value) || std::fabs(*value) >= 1e12) return 0;
    const std::string money = Trim(FormatMoney(*value));
    if (money.find('E') == std::string::npos) {
        ShownAsWritten(money, plain);
        Check(Near(TypeIn(money, plain).Number, *value, 0.005));
    }
    for (const int decimals : {0, 1, 2}) {
        const std::string number = FormatNumber(*value, 15, decimals);
        if (number.find('E') != std::string::npos) continue;
        const TTypedValue written = Typed(number, plain);
        Check(written.Kind == TKind::Number);
        // A number under a thousand carries no separator and shows in the general format.
        if (written.NumberFormat.empty())
            Check(Near(written.Number, *value, 0.5 * std::pow(10.0, -decimals)));
        else
            Check(ShowNumber(written.Number, written.NumberFormat) == number);
    }
    const double day = *value - std::floor(*value);
    ShownAsWritten(TimeToStr(day), plain);
    ShownAsWritten(TimeToShortStr(day), plain);
    return 0;
}
