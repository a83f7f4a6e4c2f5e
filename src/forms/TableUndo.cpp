// The undo steps of the tables.
#include "forms/TableUndo.h"

namespace halvern {

TTableStep TTableUndo::Before(const std::string& what, TMarkStringGrid& grid,
                              const std::vector<std::pair<int, int>>& cells) {
    TTableStep step;
    step.What = what;
    step.Grid = &grid;
    step.Cells.reserve(cells.size());
    for (const auto& [col, row] : cells)
        step.Cells.push_back({col, row, grid.Cell(col, row)});
    return step;
}

void TTableUndo::Push(TTableStep step) {
    steps_.push_back(std::move(step));
    if (steps_.size() > kKept) steps_.erase(steps_.begin());
    if (OnChange) OnChange();
}

std::string TTableUndo::Caption() const {
    return steps_.empty() ? std::string() : "Undo " + steps_.back().What;
}

bool TTableUndo::Undo() {
    if (steps_.empty()) return false;
    const TTableStep step = std::move(steps_.back());
    steps_.pop_back();
    for (const TTableStep::TCellChange& cell : step.Cells)
        step.Grid->SetCell(cell.Col, cell.Row, cell.Before);
    if (step.RestoreOther) step.RestoreOther();
    if (step.Refresh) step.Refresh();
    if (step.Grid->OnRepaint) step.Grid->OnRepaint();
    if (OnChange) OnChange();
    return true;
}

void TTableUndo::Clear() {
    if (steps_.empty()) return;
    steps_.clear();
    if (OnChange) OnChange();
}

} // namespace halvern
