// Spreadsheet addresses as the report's sheet layouts give them: "G12", "D29:E29",
// "A:C" is not used. Rows and columns count from 1, as on the sheet.
#pragma once
#include <string>
#include <string_view>

namespace halvern {

struct TCellRef {
    int Row = 1;
    int Col = 1; // A = 1
    bool operator==(const TCellRef&) const = default;
};

// A rectangle of cells, first to last inclusive.
struct TCellRange {
    TCellRef First;
    TCellRef Last;
    bool operator==(const TCellRange&) const = default;
    int Rows() const { return Last.Row - First.Row + 1; }
    int Cols() const { return Last.Col - First.Col + 1; }
    bool Contains(TCellRef cell) const {
        return cell.Row >= First.Row && cell.Row <= Last.Row && cell.Col >= First.Col && cell.Col <= Last.Col;
    }
    bool Overlaps(const TCellRange& other) const {
        return First.Row <= other.Last.Row && other.First.Row <= Last.Row && First.Col <= other.Last.Col &&
               other.First.Col <= Last.Col;
    }
};

// "A" -> 1, "AB" -> 28.
std::string ColumnName(int col);
// "G12" -> row 12, column 7; throws std::invalid_argument for anything else.
TCellRef ParseCell(std::string_view address);
// "D29:E29" or a single cell "H29"; the corners may come in any order.
TCellRange ParseRange(std::string_view address);
// "G12", "D29:E29" (a single cell without the colon).
std::string RangeName(const TCellRange& range);

} // namespace halvern
