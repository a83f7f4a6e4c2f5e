#include "forms/NumberEntry.h"
#include "model/Numbers.h"

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

} // namespace halvern
