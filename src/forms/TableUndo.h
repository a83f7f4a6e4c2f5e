// TTableUndo: the steps Edit > Undo takes back. An import, a paste or the logger data
// applied to a table changes many cells at once; each such step keeps every cell's text
// from before, so that one Undo puts the table back as it was.
#pragma once
#include "forms/MarkStringGrid.h"
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace halvern {

struct TTableStep {
    std::string What; // "import", "paste", "logger data": what Undo takes back
    TMarkStringGrid* Grid = nullptr;
    struct TCellChange {
        int Col, Row;
        std::string Before;
    };
    std::vector<TCellChange> Cells;
    // Run after the texts are back, as the window runs it after typing (the derived inflow
    // column, the N1 estimate, the cost totals).
    std::function<void()> Refresh;
    // Anything else the step changed and puts back (the low- and high-flow hours).
    std::function<void()> RestoreOther;
};

class TTableUndo {
public:
    // Starts a step on a table: remember the texts of `cells` (col, row pairs) before
    // they change.
    static TTableStep Before(const std::string& what, TMarkStringGrid& grid,
                             const std::vector<std::pair<int, int>>& cells);
    void Push(TTableStep step);
    bool CanUndo() const { return !steps_.empty(); }
    // "Undo import", or empty when there is nothing to take back.
    std::string Caption() const;
    // Takes back the last step; false when there was none.
    bool Undo();
    // A new or read project: the steps belonged to the one before.
    void Clear();
    // The views follow CanUndo and Caption.
    std::function<void()> OnChange;

private:
    static constexpr std::size_t kKept = 20;
    std::vector<TTableStep> steps_;
};

} // namespace halvern
