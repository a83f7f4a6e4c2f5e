// Stepping through a UTF-8 text a character at a time, as the word wrap of the tables and
// of the printed page does: a character is never cut in two.
#pragma once
#include "model/Numbers.h"
#include <cstddef>
#include <string_view>

namespace halvern {

// The bytes of the UTF-8 character that starts at text[pos].
inline std::size_t Utf8CharacterLength(std::string_view text, std::size_t pos) {
    std::size_t end = pos + 1;
    while (end < text.size() && IsUtf8Continuation(text[end]))
        ++end;
    return end - pos;
}

} // namespace halvern
