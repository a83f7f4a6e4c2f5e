// A small JSON writer for halvern-cli: strings escaped, numbers in their shortest exact
// form, objects and lists indented so a person can read them too.
#pragma once
#include <string>
#include <string_view>

namespace halvern::cli {

// A JSON string literal, quotes included. Texts are UTF-8; a text that is not is read
// as Windows-1252 first, so the output is always valid JSON.
std::string JsonString(std::string_view text);

// A JSON number: the shortest text that reads back as the same double; null when the
// value is not finite (JSON has no infinity).
std::string JsonNumber(double value);

inline std::string JsonBool(bool value) {
    return value ? "true" : "false";
}

} // namespace halvern::cli
