#include "forms/NumberEntry.h"
#include "model/Numbers.h"
#include <string>

namespace halvern {
namespace {

constexpr char Ctrl(char letter) {
    return static_cast<char>(letter - 'A' + 1);
}

// True when `after` is `before` with one run of characters taken out.
bool OnlyRemoves(const std::string& before, const std::string& after) {
    if (after.size() >= before.size()) return false;
    std::size_t head = 0;
    while (head < after.size() && after[head] == before[head])
        ++head;
    // Whatever follows the common start must be the end of the old text.
    return before.compare(before.size() - (after.size() - head), std::string::npos, after, head) == 0;
}

} // namespace

bool IsEditingKey(char key) {
    return key == Ctrl('A') || key == Ctrl('C') || key == Ctrl('V') || key == Ctrl('X') || key == Ctrl('Z');
}

bool NumberKeyAccepted(const std::string& text, char key) {
    if (key == '\b' || IsEditingKey(key)) return true;
    return ParseNumber(text + key).has_value();
}

bool NumberChangeAccepted(const std::string& before, const std::string& after) {
    if (after.empty() || ParseNumber(after)) return true;
    return OnlyRemoves(before, after);
}

bool TimeTextAccepted(const std::string& text) {
    // Up to three fields of one or two digits joined by ':'; the first field below 24, the
    // others below 60 and written with two digits once a field follows them.
    std::size_t field = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t colon = text.find(':', start);
        const std::string part =
            text.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
        if (part.size() > 2) return false;
        for (char c : part)
            if (c < '0' || c > '9') return false;
        if (!part.empty() && std::stoi(part) >= (field == 0 ? 24 : 60)) return false;
        if (field > 0 && part.size() == 1 && part[0] > '5') return false;
        if (colon == std::string::npos) return true;
        if (part.empty() || (field > 0 && part.size() != 2)) return false;
        if (++field > 2) return false;
        start = colon + 1;
    }
}

bool TimeKeyAccepted(const std::string& text, char key) {
    if (key == '\b' || IsEditingKey(key)) return true;
    return TimeTextAccepted(text + key);
}

bool TimeChangeAccepted(const std::string& before, const std::string& after) {
    return TimeTextAccepted(after) || OnlyRemoves(before, after);
}

} // namespace halvern
