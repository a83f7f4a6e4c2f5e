#include "reports/CellAddress.h"

#include <algorithm>
#include <stdexcept>

namespace halvern {

namespace {

// Excel's last column (XFD) and row.
constexpr int kMaxCol = 16384;
constexpr int kMaxRow = 1048576;

[[noreturn]] void Refuse(std::string_view address) {
    throw std::invalid_argument("not a cell address: " + std::string(address));
}

} // namespace

std::string ColumnName(int col) {
    std::string name;
    while (col > 0) {
        const int digit = (col - 1) % 26;
        name.insert(name.begin(), static_cast<char>('A' + digit));
        col = (col - 1) / 26;
    }
    return name;
}

TCellRef ParseCell(std::string_view address) {
    std::size_t i = 0;
    int col = 0;
    while (i < address.size() && address[i] >= 'A' && address[i] <= 'Z') {
        col = col * 26 + (address[i] - 'A' + 1);
        if (col > kMaxCol) Refuse(address);
        ++i;
    }
    if (i == 0 || i == address.size()) Refuse(address);
    int row = 0;
    for (std::size_t j = i; j < address.size(); ++j) {
        if (address[j] < '0' || address[j] > '9') Refuse(address);
        row = row * 10 + (address[j] - '0');
        if (row > kMaxRow) Refuse(address);
    }
    if (row == 0) Refuse(address);
    return {row, col};
}

TCellRange ParseRange(std::string_view address) {
    const auto colon = address.find(':');
    const TCellRef a = ParseCell(address.substr(0, colon));
    const TCellRef b = colon == std::string_view::npos ? a : ParseCell(address.substr(colon + 1));
    return {{std::min(a.Row, b.Row), std::min(a.Col, b.Col)},
            {std::max(a.Row, b.Row), std::max(a.Col, b.Col)}};
}

std::string RangeName(const TCellRange& range) {
    const std::string first = ColumnName(range.First.Col) + std::to_string(range.First.Row);
    if (range.First == range.Last) return first;
    return first + ":" + ColumnName(range.Last.Col) + std::to_string(range.Last.Row);
}

} // namespace halvern
