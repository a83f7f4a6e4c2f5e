// The number and time texts shared by every calculation: values pass through
// their displayed text, so these rules decide what every result reads back.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halvern {

// Fixed notation with `decimals` decimals after rounding (halves away from zero)
// to at most `precision` significant digits (clamped to 2..18); falls back to the
// scientific form ("1.5E02") when the integer part needs more digits than the precision.
std::string FormatFixed(double value, int precision, int decimals);

// The user's conventions for grouping thousands and writing money, as FormatNumber and
// FormatMoney use them. A separator that is the point becomes a blank (the point is always
// the decimal point); none at all becomes ",".
struct TNumberConventions {
    std::string ThousandsSeparator;
    std::string MoneyThousandsSeparator;
    std::string CurrencySymbol; // "R" where the locale names no currency
    bool SymbolFirst = true;    // "R5.00" rather than "5.00R"
    bool SymbolSpaced = false;  // a blank between symbol and amount
};

// The conventions of the C library's current locale.
TNumberConventions ReadNumberConventions();

// Reads the user's conventions once and keeps them for the rest of the run: a program calls
// this at start, after setting the locale and before a second thread runs, so that the
// calculations of several projects at once never touch the locale. Later calls return the
// same conventions. Until it is called, every formatting reads the current locale.
const TNumberConventions& PinNumberConventions();

// FormatFixed with the user's thousands separators inserted into the integer part (182,625).
std::string FormatNumber(double value, int precision, int decimals);

// The user's money format with 2 decimals ("R10,000.00" in the C locale), right-aligned
// in at least 8 characters.
std::string FormatMoney(double value);

// Shortest general notation, as a value is shown where no format is given (20, 2.5, 1E-5).
std::string FormatGeneral(double value);

// C-style "%8.2f": two decimals, right-aligned in 8 characters.
std::string FormatWidth8(double value);

// The strict point-decimal syntax: optional leading blanks, optional sign, digits with at
// most one ".", optional exponent; nothing may follow. "." alone reads as 0.
std::optional<double> ParseNumber(std::string_view text);
bool TryParseNumber(std::string_view text, double& value);

// The whole-number form of the same syntax, within the signed 32-bit range.
std::optional<int32_t> ParseWhole(std::string_view text);
// A number held in single precision (the time-modulation pressures): as ParseNumber, and a
// value a single cannot hold does not parse.
std::optional<float> ParseSingle(std::string_view text);

// True for the bytes that continue a UTF-8 character rather than start one.
constexpr bool IsUtf8Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0u) == 0x80u;
}
// Characters of a UTF-8 text, as a table or a terminal gives each one column.
std::size_t Utf8Length(std::string_view text);

// The point-decimal syntax of ParseNumber with blanks allowed on either side, whatever the
// locale; anything else that is not a number raises EConvertError with
// "'<text>' is not a valid floating point value" / "... integer value".
double StrToFloat(const std::string& text);
int32_t StrToInt(const std::string& text);

// Times of day are fractions of a day. TimeToStr gives "hh:mm:ss", TimeToShortStr "hh:mm".
std::string TimeToStr(double time);
std::string TimeToShortStr(double time);
// Reads "hh:mm" or "hh:mm:ss" (hours 0..23); nullopt when the text is not a time.
std::optional<double> StrToTime(std::string_view text);
// Hours, minutes and seconds as a fraction of a day.
double EncodeTime(int hours, int minutes, int seconds = 0);

// Blanks (spaces and tabs) trimmed from both ends.
std::string Trim(std::string_view text);

} // namespace halvern
