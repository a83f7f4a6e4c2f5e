// A text put into a cell is taken as a person typing it into the spreadsheet would see it
// taken: a number stays a number (the thousands separator and the E notation allowed), a
// time of day becomes a time, the program's money form becomes an amount; every other
// text stays text, and an empty text leaves the cell empty. The number format the typing
// implies keeps the value looking as it was typed.
#pragma once
#include "model/Numbers.h"
#include <string>
#include <string_view>

namespace halvern {

struct TTypedValue {
    enum class TKind { Empty, Number, Text };
    TKind Kind = TKind::Empty;
    double Number = 0;
    std::string Text;
    // The format that shows the number as typed ("#,##0", "hh:mm:ss AM/PM", a money
    // format); empty where the general format already does.
    std::string NumberFormat;
};

// How an amount of money is written: the currency symbol before or after it, with or
// without a blank between, and the separator of its thousands.
struct TMoneyForm {
    std::string Symbol;
    bool SymbolFirst = true;
    bool Spaced = false;
    std::string ThousandsSeparator;
};

// The forms numbers and amounts are typed in: the user's, as FormatNumber and FormatMoney
// write them.
struct TTypingForms {
    std::string ThousandsSeparator = ",";
    TMoneyForm Money{"R", true, false, ","};
    static TTypingForms User();
};

TTypedValue TypeIn(std::string_view text, const TTypingForms& forms);

// The number format that shows an amount in the money form: "R160,000.00" and "-R5.00".
std::string MoneyNumberFormat(const TMoneyForm& money);

} // namespace halvern
