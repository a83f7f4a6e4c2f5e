// Pasting a block copied from a spreadsheet into a table: tab-separated cells, one row a
// line, filled from the current cell into the cells the user may type into. The whole
// block is checked first; a block that is not all numbers, or does not fit, changes nothing.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvern {

class TMarkStringGrid;
class TTableUndo;
class TDialogs;

// The block's rows and cells as a spreadsheet puts them on the clipboard: rows end with a
// line feed (or CR LF), the last one may not; cells are separated by tabs.
std::vector<std::vector<std::string>> SplitPasteBlock(std::string_view text);

// A pasted cell as the table takes it: blanks around it dropped and a decimal comma made a
// point; nothing when it is not a number, or when its comma could be a thousands separator.
std::optional<std::string> PastedNumber(std::string_view cell);

// Pastes `text` into `grid` at its current cell: rows downwards, columns to the right over
// the columns that can be typed into at the current row (a locked, derived column is passed
// over). Each cell then runs the table's edit handler as if it were typed; `refresh` runs
// again after an Undo. One step of `undo`. A refused paste shows why and changes nothing.
bool PasteIntoTable(TMarkStringGrid& grid, std::string_view text, TDialogs& dialogs, TTableUndo& undo,
                    const std::function<void()>& refresh);

} // namespace halvern
