// Pasting a spreadsheet's block into a table.
#include "forms/TablePaste.h"

#include "forms/Dialogs.h"
#include "forms/MarkStringGrid.h"
#include "forms/TableUndo.h"
#include "io/TextCodec.h"
#include "model/Messages.h"
#include "model/Numbers.h"

#include <algorithm>

namespace halvern {

std::vector<std::vector<std::string>> SplitPasteBlock(std::string_view text) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : SplitLines(text)) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (std::size_t tab = line.find('\t'); tab != std::string::npos; tab = line.find('\t', start)) {
            cells.push_back(line.substr(start, tab - start));
            start = tab + 1;
        }
        cells.push_back(line.substr(start));
        rows.push_back(std::move(cells));
    }
    // A block copied with its last line feed and a blank line after it reads the same.
    while (!rows.empty() && rows.back().size() == 1 && Trim(rows.back()[0]).empty())
        rows.pop_back();
    return rows;
}

std::optional<std::string> PastedNumber(std::string_view cell) {
    std::string text = Trim(cell);
    const std::size_t comma = text.find(',');
    if (comma != std::string::npos) {
        // "64,5" is a decimal comma; "1,234" could be a thousand and more, "1.234,5" surely is.
        if (text.find(',', comma + 1) != std::string::npos || text.find('.') != std::string::npos)
            return std::nullopt;
        const std::size_t digitsAfter = text.size() - comma - 1;
        if (digitsAfter == 3) return std::nullopt;
        text[comma] = '.';
    }
    if (text.empty() || !ParseNumber(text)) return std::nullopt;
    return text;
}

bool PasteIntoTable(TMarkStringGrid& grid, std::string_view text, TDialogs& dialogs, TTableUndo& undo,
                    const std::function<void()>& refresh) {
    const auto rows = SplitPasteBlock(text);
    if (rows.empty()) return false;
    const auto refuse = [&dialogs](const std::string& why) {
        dialogs.Error(Msg::CannotPaste(why));
        return false;
    };
    std::size_t width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.size());

    // The columns that take the block: from the current cell rightwards, those the user can
    // type into at the current row.
    const int top = grid.Row;
    std::vector<int> columns;
    for (int col = std::max(grid.Col, grid.FixedCols); col < grid.ColCount() && columns.size() < width; ++col)
        if (!grid.GetCellLock(col, top)) columns.push_back(col);
    if (columns.size() < width) return refuse(Msg::PasteTooWide(width, columns.size()));
    if (top < grid.FixedRows || top + static_cast<int>(rows.size()) > grid.RowCount())
        return refuse(Msg::PasteTooLong(rows.size(), std::max(0, grid.RowCount() - top)));

    std::vector<std::pair<int, int>> cells;
    std::vector<std::string> values;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (rows[r].size() != width) return refuse(Msg::PasteRowShort(r + 1, rows[r].size(), width));
        for (std::size_t c = 0; c < width; ++c) {
            const int col = columns[c];
            const int row = top + static_cast<int>(r);
            const auto number = PastedNumber(rows[r][c]);
            if (!number) return refuse(Msg::PasteNotANumber(r + 1, c + 1, QuotedForMessage(rows[r][c])));
            if (grid.GetCellLock(col, row)) return refuse(Msg::PasteOnWorkedOut(r + 1));
            cells.emplace_back(col, row);
            values.push_back(*number);
        }
    }

    // Whole rows are kept for Undo: a typed cell can change its neighbours (the derived inflow).
    std::vector<std::pair<int, int>> kept;
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (int col = grid.FixedCols; col < grid.ColCount(); ++col)
            kept.emplace_back(col, top + static_cast<int>(r));
    TTableStep step = TTableUndo::Before("paste", grid, kept);
    step.Refresh = refresh;
    for (std::size_t i = 0; i < cells.size(); ++i)
        grid.SetEditText(cells[i].first, cells[i].second, values[i]);
    undo.Push(std::move(step));
    if (grid.OnRepaint) grid.OnRepaint();
    return true;
}

} // namespace halvern
