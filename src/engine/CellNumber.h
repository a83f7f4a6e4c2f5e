// Numbers read back from the texts of tables: results pass from one calculation to the
// next through their displayed (rounded) text. A text that is no number counts as 0.
#pragma once
#include "model/Numbers.h"
#include <string_view>

namespace halvern {

inline double CellNumber(std::string_view text) {
    return ParseNumber(text).value_or(0.0);
}

} // namespace halvern
