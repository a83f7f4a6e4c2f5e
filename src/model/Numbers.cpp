// The number and time texts shared by every calculation. Values pass through their
// displayed text, so rounding is done on decimal digits, halves away from zero, and
// the point is the decimal separator whatever the user's locale says.
#include "model/Numbers.h"
#include "model/CheckedMath.h"
#include "model/Errors.h"
#include "model/TextNumbers.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <system_error>

namespace halvern {
namespace {

constexpr int kDigitCount = 18; // significant digits taken from the binary value
constexpr long long kMillisecondsPerDay = 86400000LL;

// A finite value as its decimal digits: value = 0.d1d2d3... * 10^(exponent + 1),
// i.e. digits[0] is the digit at the place 10^exponent. Held in place: every number the
// tables show passes through here, thousands of times in one recalculation.
struct DecimalDigits {
    bool negative = false;
    int count = 0; // 0 for zero
    int exponent = 0;
    char digits[kDigitCount + 2] = {};

    bool empty() const { return count == 0; }
};

// Wide enough for a 53-bit mantissa times 10^22, exactly.
__extension__ typedef unsigned __int128 WideWhole;

// The decimal places the exact route below can scale a value by: its 53-bit mantissa times
// 10^22 still fits a WideWhole.
constexpr int kMaxExactScale = 22;

struct WidePowersOfTen {
    WideWhole Of[kMaxExactScale + 1];
    constexpr WidePowersOfTen() : Of() {
        Of[0] = 1;
        for (int i = 1; i <= kMaxExactScale; ++i)
            Of[i] = Of[i - 1] * 10;
    }
};
constexpr WidePowersOfTen kWidePowersOfTen;

// The 18 significant digits of a value between 10^-5 and 10^18 (every pressure, flow,
// volume and amount the tables show) worked out exactly in whole numbers: value =
// mantissa / 2^shift, so value * 10^scale splits into a whole part of 18 digits and a
// remainder in 2^shift-ths, which rounds the last digit to nearest, a tie to even, as the
// full conversion rounds. False for the values outside that range, which take the full
// conversion.
bool ExactDigitsOf(double magnitude, DecimalDigits& result) {
    if (!(magnitude >= 1e-5 && magnitude < 1e18)) return false;
    // A normal double in this range: 52 stored bits of mantissa below an implied 1, and
    // a biased binary exponent.
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const std::uint64_t mantissa = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int binaryExponent = static_cast<int>(bits >> 52) - 1022; // magnitude < 2^binaryExponent
    const int shift = 53 - binaryExponent;                          // magnitude = mantissa / 2^shift
    if (shift > 127) return false;
    const WideWhole smallest = 100000000000000000ULL; // 10^17: 18 digits
    const WideWhole tooLarge = smallest * 10;
    // The place of the first digit: that of 2^(binaryExponent - 1) (log10 2 is close to
    // 78913 / 2^18), or one more where a power of ten lies between it and the value.
    int exponent = ((binaryExponent - 1) * 78913) >> 18;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int scale = kDigitCount - 1 - exponent;
        if (scale < 0 || scale > kMaxExactScale) return false;
        const WideWhole scaled = mantissa * kWidePowersOfTen.Of[scale];
        WideWhole whole = shift >= 0 ? scaled >> shift : scaled << -shift;
        if (whole < smallest) {
            --exponent;
            continue;
        }
        if (whole >= tooLarge) {
            ++exponent;
            continue;
        }
        if (shift > 0) {
            const WideWhole remainder = scaled - (whole << shift);
            const WideWhole half = WideWhole{1} << (shift - 1);
            if (remainder > half || (remainder == half && (whole & 1) != 0)) ++whole;
            if (whole == tooLarge) { // 999...95 became 1000...0: one more integer digit
                whole = smallest;
                ++exponent;
            }
        }
        // Two halves of 9 digits each, written side by side.
        constexpr std::uint64_t kHalf = 1000000000;
        auto high = static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole) / kHalf);
        auto low = static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole) % kHalf);
        for (int i = kDigitCount / 2 - 1; i >= 0; --i) {
            result.digits[i] = static_cast<char>('0' + high % 10);
            result.digits[i + kDigitCount / 2] = static_cast<char>('0' + low % 10);
            high /= 10;
            low /= 10;
        }
        result.count = kDigitCount;
        result.exponent = exponent;
        return true;
    }
    return false;
}

DecimalDigits DigitsOf(double value) {
    DecimalDigits result;
    result.negative = std::signbit(value);
    if (value == 0.0) return result;
    if (ExactDigitsOf(std::fabs(value), result)) return result;
    // 18 significant digits correctly rounded from the binary value ("d.ddd...e-dd"),
    // the same digits as printf's "%.17e" and independent of the locale.
    char buffer[48];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, kDigitCount - 1);
    const char* p = buffer;
    for (; p < written.ptr && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') result.digits[result.count++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), written.ptr, exponent);
    result.exponent = exponent;
    return result;
}

// Keeps the first `keep` digits, rounding the rest off halves away from zero.
// The digits are left empty when the value rounds to zero.
void RoundDigits(DecimalDigits& number, int keep) {
    if (number.empty()) return;
    if (keep >= number.count) return;
    if (keep < 0) {
        number.count = 0;
        return;
    }
    const bool roundUp = number.digits[keep] >= '5';
    number.count = keep;
    if (roundUp) {
        int i = keep - 1;
        while (i >= 0 && number.digits[i] == '9') {
            number.digits[i] = '0';
            --i;
        }
        if (i >= 0) {
            ++number.digits[i];
        } else {
            // 999 became 1000: one more integer digit.
            for (int j = number.count; j > 0; --j)
                number.digits[j] = number.digits[j - 1];
            number.digits[0] = '1';
            ++number.count;
            ++number.exponent;
        }
    }
    // Trailing zeros carry no information; an all-zero result is zero.
    while (number.count > 0 && number.digits[number.count - 1] == '0')
        --number.count;
}

// A value without a number to show stops the calculation that wanted it shown, with the
// program's floating-point error; no text ever reads "INF" or "NAN".
[[noreturn]] void RefuseNonFinite(double value) {
    Checked(value);
    throw EInvalidOp();
}

// "1.5E02": the rounded digits with one before the point and the exponent with at
// least `minExponentDigits` digits.
std::string ScientificText(const DecimalDigits& number, int minExponentDigits) {
    std::string text = number.negative ? "-" : "";
    text += number.digits[0];
    if (number.count > 1) {
        text += '.';
        text.append(number.digits + 1, static_cast<std::size_t>(number.count - 1));
    }
    text += 'E';
    if (number.exponent < 0) text += '-';
    std::string exponent = std::to_string(std::abs(number.exponent));
    if (static_cast<int>(exponent.size()) < minExponentDigits)
        exponent.insert(0, static_cast<std::size_t>(minExponentDigits) - exponent.size(), '0');
    return text + exponent;
}

// Fixed notation of already rounded digits with exactly `decimals` decimals.
std::string FixedText(const DecimalDigits& number, int decimals) {
    const int intDigits = number.empty() || number.exponent < 0 ? 1 : number.exponent + 1;
    const bool minus = !number.empty() && number.negative;
    std::string text(static_cast<std::size_t>(minus + intDigits + (decimals > 0 ? decimals + 1 : 0)), '0');
    std::size_t at = 0;
    if (minus) text[at++] = '-';
    // place is the power of ten; digits[0] sits at number.exponent
    auto digitAt = [&number](int place) -> char {
        const int index = number.exponent - place;
        if (index < 0 || index >= number.count) return '0';
        return number.digits[index];
    };
    if (number.empty() || number.exponent < 0) {
        ++at;
    } else {
        for (int place = number.exponent; place >= 0; --place)
            text[at++] = digitAt(place);
    }
    if (decimals > 0) {
        text[at++] = '.';
        for (int place = -1; place >= -decimals; --place)
            text[at++] = digitAt(place);
    }
    return text;
}

std::string SeparatorFromLocale(const char* separator) {
    std::string result = separator != nullptr ? separator : "";
    if (result.empty()) return ",";
    if (result == ".") return " "; // the point is always the decimal point
    return result;
}

// Inserts `separator` between groups of three digits of the integer part of a
// fixed-notation text; the scientific form is left as it is.
std::string GroupThousands(const std::string& text, const std::string& separator) {
    if (text.find('E') != std::string::npos || text.find('N') != std::string::npos) return text;
    const std::size_t start = (!text.empty() && text[0] == '-') ? 1 : 0;
    std::size_t end = text.find('.');
    if (end == std::string::npos) end = text.size();
    std::string result = text.substr(end);
    std::size_t count = 0;
    for (std::size_t i = end; i > start; --i) {
        if (count > 0 && count % 3 == 0) result.insert(0, separator);
        result.insert(result.begin(), text[i - 1]);
        ++count;
    }
    return text.substr(0, start) + result;
}

std::string PadLeft(const std::string& text, std::size_t width) {
    const std::size_t length = Utf8Length(text);
    return length >= width ? text : std::string(width - length, ' ') + text;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view SkipLeadingBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    return text.substr(i);
}

std::size_t CountDigits(std::string_view text, std::size_t from) {
    std::size_t i = from;
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i - from;
}

// Two digits at text[pos], as a number; -1 when they are not two digits.
int TwoDigits(std::string_view text, std::size_t pos) {
    if (pos + 2 > text.size() || !IsDigit(text[pos]) || !IsDigit(text[pos + 1])) return -1;
    return (text[pos] - '0') * 10 + (text[pos + 1] - '0');
}

// The time of day of a date-time value in whole milliseconds. Rounding to the
// millisecond first makes 3/24 exactly 03:00 despite its binary error; the whole-day
// part is dropped, so one day (or 25 hours) wraps to the next day's time.
long long MillisecondsOfDay(double time) {
    if (!std::isfinite(time) || std::fabs(time) >= 1e9) return 0;
    return std::llround(std::fabs(time) * static_cast<double>(kMillisecondsPerDay)) % kMillisecondsPerDay;
}

} // namespace

namespace {
// FormatFixed for the numbers the tables show nearly always: a few decimals, and a size
// that leaves room for them and for one more integer digit within the precision. There
// the text is the value rounded to its last decimal, halves away from zero, as the full
// conversion gives it; only a value within rounding of a half (where the 18 digits decide)
// is left to the full conversion. False where that is so.
bool QuickFixedText(double value, int precision, int decimals, std::string& text) {
    static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    static constexpr double kLimit[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12};
    if (decimals > 4) return false;
    const int integerDigits = precision - decimals - 1;
    if (integerDigits < 1 || integerDigits > 12) return false;
    const double magnitude = std::fabs(value);
    if (!(magnitude < kLimit[integerDigits])) return false;
    const double scaled = magnitude * kScale[decimals]; // below 10^16: whole part exact
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    // The scaled value is within a few units of 1e-16 of its true size, as are the 18 digits.
    if (std::fabs(fraction - 0.5) <= 1e-15 * (scaled + 1)) return false;
    auto units = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    // Nothing left after rounding shows no sign.
    const bool minus = std::signbit(value) && units != 0;

    char buffer[32];
    char* end = buffer + sizeof buffer;
    char* at = end;
    for (int i = 0; i < decimals; ++i) {
        *--at = static_cast<char>('0' + units % 10);
        units /= 10;
    }
    if (decimals > 0) *--at = '.';
    do {
        *--at = static_cast<char>('0' + units % 10);
        units /= 10;
    } while (units != 0);
    if (minus) *--at = '-';
    text.assign(at, end);
    return true;
}
} // namespace

std::string FormatFixed(double value, int precision, int decimals) {
    if (!std::isfinite(value)) RefuseNonFinite(value);
    precision = std::clamp(precision, 2, kDigitCount);
    decimals = std::max(decimals, 0);
    if (std::string text; QuickFixedText(value, precision, decimals, text)) return text;
    DecimalDigits number = DigitsOf(value);
    if (!number.empty()) {
        // Keep at most `precision` significant digits and nothing below 10^-decimals.
        RoundDigits(number, std::min(precision, number.exponent + 1 + decimals));
    }
    if (!number.empty() && number.exponent + 1 > precision)
        return ScientificText(number, decimals <= 4 ? decimals : 0);
    return FixedText(number, decimals);
}

TNumberConventions ReadNumberConventions() {
    const std::lconv* conventions = std::localeconv();
    TNumberConventions result;
    result.ThousandsSeparator = SeparatorFromLocale(conventions->thousands_sep);
    result.MoneyThousandsSeparator = SeparatorFromLocale(conventions->mon_thousands_sep);
    const bool localCurrency =
        conventions->currency_symbol != nullptr && *conventions->currency_symbol != '\0';
    // No currency set up (the C locale): rand, directly before the amount.
    result.CurrencySymbol = localCurrency ? conventions->currency_symbol : "R";
    // CHAR_MAX (unknown) counts as before the amount.
    result.SymbolFirst = !localCurrency || conventions->p_cs_precedes != 0;
    result.SymbolSpaced = localCurrency && conventions->p_sep_by_space == 1;
    return result;
}

namespace {
std::atomic<const TNumberConventions*> pinnedConventions{nullptr};

// The pinned conventions, or those the locale has now where a program pinned none.
template <class Use> auto WithConventions(Use use) {
    if (const TNumberConventions* pinned = pinnedConventions.load(std::memory_order_acquire))
        return use(*pinned);
    return use(ReadNumberConventions());
}
} // namespace

const TNumberConventions& PinNumberConventions() {
    static const TNumberConventions pinned = ReadNumberConventions();
    pinnedConventions.store(&pinned, std::memory_order_release);
    return pinned;
}

std::string FormatNumber(double value, int precision, int decimals) {
    return WithConventions([&](const TNumberConventions& conventions) {
        return GroupThousands(FormatFixed(value, precision, decimals), conventions.ThousandsSeparator);
    });
}

std::string FormatMoney(double value) {
    return WithConventions([&](const TNumberConventions& conventions) {
        std::string amount =
            GroupThousands(FormatFixed(value, kDigitCount, 2), conventions.MoneyThousandsSeparator);
        std::string sign;
        if (!amount.empty() && amount[0] == '-') {
            sign = "-";
            amount.erase(0, 1);
        }
        const std::string& symbol = conventions.CurrencySymbol;
        const std::string gap = conventions.SymbolSpaced ? " " : "";
        const std::string text =
            conventions.SymbolFirst ? sign + symbol + gap + amount : sign + amount + gap + symbol;
        return PadLeft(text, 8);
    });
}

std::string FormatGeneral(double value) {
    if (!std::isfinite(value)) RefuseNonFinite(value);
    constexpr int kGeneralDigits = 15;
    DecimalDigits number = DigitsOf(value);
    RoundDigits(number, kGeneralDigits);
    if (number.empty()) return "0";
    // Fixed while the integer part fits the 15 digits and the value is not below 1E-4
    // in its leading digit; scientific otherwise, the exponent as short as it can be.
    if (number.exponent >= kGeneralDigits || number.exponent < -4) return ScientificText(number, 0);
    const int decimals = std::max(0, number.count - 1 - number.exponent);
    return FixedText(number, decimals);
}

std::string FormatWidth8(double value) {
    if (!std::isfinite(value)) RefuseNonFinite(value);
    // Two decimals rounded on the decimal digits, halves away from zero, like every other
    // number the program writes; right-aligned in 8 characters.
    return PadLeft(FormatFixed(value, 18, 2), 8);
}

namespace {
// An optional leading sign: steps over it and says whether it was a minus.
bool TakeSign(std::string_view body, std::size_t& pos) {
    if (pos >= body.size() || (body[pos] != '+' && body[pos] != '-')) return false;
    return body[pos++] == '-';
}
} // namespace

namespace {
// The powers of ten a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;
constexpr std::uint64_t kMaxExactInteger = std::uint64_t{1} << 53;

// The value of a decimal that the tables show ("  45.23", "0.5", "1.5E02"): at most 19
// digits forming a whole number a double holds exactly, scaled by a power of ten it also
// holds exactly. Then one multiplication or division, correctly rounded, gives the double
// nearest to the decimal, the same one the full conversion gives; every number a
// calculation reads back from a table is such a decimal, read thousands of times a run.
// Nothing for the other decimals, which take the full conversion.
std::optional<double> ExactShortDecimal(std::string_view intDigits, std::string_view fracDigits,
                                        std::string_view exponentDigits, bool exponentNegative) {
    if (intDigits.size() + fracDigits.size() > 19 || exponentDigits.size() > 3) return std::nullopt;
    std::uint64_t whole = 0;
    for (const char c : intDigits)
        whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
    for (const char c : fracDigits)
        whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
    if (whole > kMaxExactInteger) return std::nullopt;
    int exponent = 0;
    for (const char c : exponentDigits)
        exponent = exponent * 10 + (c - '0');
    if (exponentNegative) exponent = -exponent;
    exponent -= static_cast<int>(fracDigits.size());
    const double mantissa = static_cast<double>(whole);
    if (exponent >= 0 && exponent <= kMaxExactPower) return mantissa * kExactPowersOfTen[exponent];
    if (exponent < 0 && exponent >= -kMaxExactPower) return mantissa / kExactPowersOfTen[-exponent];
    return std::nullopt;
}
} // namespace

namespace {
// The texts the tables hold nearly always ("  45.23", "-0.50", "1474"): blanks, a sign,
// at most 15 digits with one point and nothing after them. 15 digits make a whole number
// a double holds exactly, so one correctly rounded division gives the value, as
// ExactShortDecimal gives it, in one pass over the text. False for any other text, which
// the full reading takes.
bool QuickDecimal(std::string_view text, double& value) {
    std::size_t pos = 0;
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    std::uint64_t whole = 0;
    int digits = 0;
    int decimals = -1; // digits after the point; -1 while no point was met
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (IsDigit(c)) {
            whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
            ++digits;
            if (decimals >= 0) ++decimals;
        } else if (c == '.' && decimals < 0) {
            decimals = 0;
        } else {
            return false;
        }
    }
    if (digits == 0 || digits > 15) return false;
    const double magnitude =
        decimals > 0 ? static_cast<double>(whole) / kExactPowersOfTen[decimals] : static_cast<double>(whole);
    value = negative ? -magnitude : magnitude;
    return true;
}
} // namespace

std::optional<double> ParseNumber(std::string_view text) {
    if (double quick = 0; QuickDecimal(text, quick)) return quick;
    const std::string_view body = SkipLeadingBlanks(text);
    std::size_t pos = 0;
    const bool negative = TakeSign(body, pos);
    const std::size_t intStart = pos;
    const std::size_t intCount = CountDigits(body, pos);
    pos += intCount;
    std::size_t fracStart = pos;
    std::size_t fracCount = 0;
    bool hasPoint = false;
    if (pos < body.size() && body[pos] == '.') {
        hasPoint = true;
        fracStart = ++pos;
        fracCount = CountDigits(body, pos);
        pos += fracCount;
    }
    // A lone "." is a number (0); a sign or nothing at all is not.
    if (intCount == 0 && fracCount == 0 && !hasPoint) return std::nullopt;
    std::string_view exponentDigits;
    bool exponentNegative = false;
    if (pos < body.size() && (body[pos] == 'E' || body[pos] == 'e')) {
        ++pos;
        if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) {
            exponentNegative = body[pos] == '-';
            ++pos;
        }
        const std::size_t count = CountDigits(body, pos);
        if (count == 0) return std::nullopt;
        exponentDigits = body.substr(pos, count);
        pos += count;
    }
    if (pos != body.size()) return std::nullopt;

    const std::string_view intDigits = body.substr(intStart, intCount);
    const std::string_view fracDigits = body.substr(fracStart, fracCount);
    const auto isZero = [](std::string_view digits) {
        return digits.find_first_not_of('0') == std::string_view::npos;
    };
    if (isZero(intDigits) && isZero(fracDigits)) return negative ? -0.0 : 0.0;

    if (const auto exact = ExactShortDecimal(intDigits, fracDigits, exponentDigits, exponentNegative))
        return negative ? -*exact : *exact;

    // Canonical text for the locale-independent conversion; short texts (every number a
    // table shows) are built on the stack, as they are read back thousands of times a run.
    const std::size_t length = std::max<std::size_t>(intDigits.size(), 1) + 1 +
                               std::max<std::size_t>(fracDigits.size(), 1) +
                               (exponentDigits.empty() ? 0 : 2 + exponentDigits.size());
    char onStack[64];
    std::string onHeap;
    char* const first = length <= sizeof onStack ? onStack : (onHeap.resize(length), onHeap.data());
    char* end = first;
    const auto append = [&end](std::string_view part) {
        std::copy(part.begin(), part.end(), end);
        end += part.size();
    };
    append(intDigits.empty() ? std::string_view("0") : intDigits);
    append(".");
    append(fracDigits.empty() ? std::string_view("0") : fracDigits);
    if (!exponentDigits.empty()) {
        append(exponentNegative ? "e-" : "e");
        append(exponentDigits);
    }
    const std::string_view canonical(first, static_cast<std::size_t>(end - first));
    double magnitude = 0.0;
    const char* last = end;
    const auto result = std::from_chars(first, last, magnitude);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small for a double reads as zero; too large is not a number we can hold.
        // The decimal exponent of the leading nonzero digit tells which.
        const auto firstNonZero = canonical.find_first_of("123456789");
        const auto point = canonical.find('.');
        long long exponent = firstNonZero < point ? static_cast<long long>(point - firstNonZero - 1)
                                                  : -static_cast<long long>(firstNonZero - point);
        long long written = 0;
        for (const char c : exponentDigits)
            written = std::min(written * 10 + (c - '0'), 1000000LL);
        exponent += exponentNegative ? -written : written;
        if (exponent < 0) return negative ? -0.0 : 0.0;
        return std::nullopt;
    }
    if (result.ec != std::errc() || result.ptr != last || !std::isfinite(magnitude)) return std::nullopt;
    return negative ? -magnitude : magnitude;
}

bool TryParseNumber(std::string_view text, double& value) {
    const auto parsed = ParseNumber(text);
    if (!parsed) return false;
    value = *parsed;
    return true;
}

std::optional<int32_t> ParseWhole(std::string_view text) {
    const std::string_view body = SkipLeadingBlanks(text);
    std::size_t pos = 0;
    const bool negative = TakeSign(body, pos);
    const std::size_t count = CountDigits(body, pos);
    if (count == 0 || pos + count != body.size()) return std::nullopt;
    long long magnitude = 0;
    for (std::size_t i = pos; i < body.size(); ++i) {
        magnitude = magnitude * 10 + (body[i] - '0');
        if (magnitude > 2147483648LL) return std::nullopt;
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int32_t>(value);
}

double StrToFloat(const std::string& text) {
    const auto value = ParseNumber(Trim(text));
    if (!value) throw EConvertError(Msg::NotAFloatingPointValue(text));
    return *value;
}

int32_t StrToInt(const std::string& text) {
    const auto value = ParseWhole(Trim(text));
    if (!value) throw EConvertError(Msg::NotAnIntegerValue(text));
    return *value;
}

namespace {
// "hh:mm" or "hh:mm:ss" of a time of day; every calculation names its hours this way.
std::string ClockText(double time, bool withSeconds) {
    const long long ms = MillisecondsOfDay(time);
    const int parts[] = {static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
                         static_cast<int>(ms / 1000 % 60)};
    std::string text = withSeconds ? "00:00:00" : "00:00";
    for (std::size_t part = 0; part * 3 < text.size(); ++part) {
        text[part * 3] = static_cast<char>('0' + parts[part] / 10);
        text[part * 3 + 1] = static_cast<char>('0' + parts[part] % 10);
    }
    return text;
}
} // namespace

std::string TimeToStr(double time) {
    return ClockText(time, true);
}

std::string TimeToShortStr(double time) {
    return ClockText(time, false);
}

std::optional<double> StrToTime(std::string_view text) {
    const std::string trimmed = Trim(text);
    const std::string_view body(trimmed);
    // Hours of one or two digits, then ":mm" and optionally ":ss".
    const std::size_t hourDigits = CountDigits(body, 0);
    if (hourDigits < 1 || hourDigits > 2) return std::nullopt;
    int hours = 0;
    for (std::size_t i = 0; i < hourDigits; ++i)
        hours = hours * 10 + (body[i] - '0');
    std::size_t pos = hourDigits;
    if (pos >= body.size() || body[pos] != ':') return std::nullopt;
    const int minutes = TwoDigits(body, pos + 1);
    if (minutes < 0) return std::nullopt;
    pos += 3;
    int seconds = 0;
    if (pos < body.size()) {
        if (body[pos] != ':') return std::nullopt;
        seconds = TwoDigits(body, pos + 1);
        if (seconds < 0) return std::nullopt;
        pos += 3;
    }
    if (pos != body.size() || hours > 23 || minutes > 59 || seconds > 59) return std::nullopt;
    return EncodeTime(hours, minutes, seconds);
}

double EncodeTime(int hours, int minutes, int seconds) {
    const long long ms = (static_cast<long long>(hours) * 3600 + minutes * 60LL + seconds) * 1000;
    return static_cast<double>(ms) / static_cast<double>(kMillisecondsPerDay);
}

std::string Trim(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && IsBlank(text[first]))
        ++first;
    while (last > first && IsBlank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

std::optional<float> ParseSingle(std::string_view text) {
    const std::optional<double> value = ParseNumber(text);
    if (!value || std::fabs(*value) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(*value);
}

std::size_t Utf8Length(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !IsUtf8Continuation(c); }));
}

std::optional<double> TypedNumber(const std::string& text) {
    try {
        return StrToFloat(text);
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

} // namespace halvern
