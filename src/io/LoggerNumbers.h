// The numbers of logger files, whose decimal mark and thousands grouping the file does not
// name. Each number says what it can of its two marks ("987.5": the point is decimal;
// "1,234.5": the comma groups thousands; "1,250": either); the file's decimal mark is then
// the one every number agrees with, and a file whose numbers disagree is refused.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halvern {

// What a mark is in one number.
enum class TMarkRole : uint8_t {
    Absent,
    Decimal,  // "987.5", "0.125", "1,234.5" (the point)
    Grouping, // "1.234.567", "1,234.5" (the comma)
    Either,   // "1.012", "1,250": a decimal mark with three decimals, or thousands
};

struct TNumberShape {
    bool Number = false; // digits with at most these marks, a sign and an exponent
    TMarkRole Point = TMarkRole::Absent, Comma = TMarkRole::Absent;
};

// A field without the blanks and tabs around it.
std::string_view TrimBlanks(std::string_view field);

// The shape of a field (blanks around it ignored); an empty field is no number.
TNumberShape ShapeOfNumber(std::string_view field);

// The value of a number of that shape when the decimal mark is the comma or the point; the
// other mark is taken as grouping. Nothing when the shape does not allow it (a point that
// groups in a decimal-point file) or the value is not finite.
std::optional<double> ReadNumber(std::string_view field, const TNumberShape& shape, bool decimalComma);

// The file's decimal mark, decided from every number's shape: the first number that shows a
// mark's role, and the first that contradicts a role shown before, by line.
class TMarkEvidence {
public:
    void Add(const TNumberShape& shape, std::string_view field, std::size_t line);
    // A role shown contradicts one shown before: the file cannot be read.
    bool Contradicted() const { return !contradiction_.empty(); }
    std::size_t ContradictionLine() const { return contradictionLine_; }
    const std::string& Contradiction() const { return contradiction_; } // the reason, for the message
    // The decimal mark the numbers show; where no number shows one (every mark could be
    // either, "1,250"), the marks used and the separator decide, and the layout says so.
    bool DecimalComma(char separator) const;
    // A number was read with a mark that groups thousands.
    bool GroupingUsed(bool decimalComma) const { return decimalComma ? pointUsed_ : commaUsed_; }

private:
    struct TSeen {
        std::size_t Line = 0;
        std::string Text;
    };
    void Note(std::optional<TSeen>& slot, std::string_view field, std::size_t line);
    void Check(const std::optional<TSeen>& a, const char* aRole, const std::optional<TSeen>& b,
               const char* bRole);
    std::optional<TSeen> pointDecimal_, pointGrouping_, commaDecimal_, commaGrouping_;
    bool pointUsed_ = false, commaUsed_ = false;
    std::size_t contradictionLine_ = 0;
    std::string contradiction_;
};

} // namespace halvern
