// Getting measurements into the window's tables: pastes from a spreadsheet and the Undo
// that takes back a paste, an import or logger data.
#include "forms/MainForm.h"
#include "forms/TablePaste.h"

namespace halvern {

void TMainForm::EditUndo() {
    TableSteps.Undo();
}

void TMainForm::ConnectTablePaste() {
    const auto connect = [this](TMarkStringGrid& grid, std::function<void()> refresh) {
        grid.OnPaste = [this, &grid, refresh](const std::string& text) {
            PasteIntoTable(grid, text, Dialogs, TableSteps, refresh);
        };
        grid.OnUndo = [this] { EditUndo(); };
    };
    connect(FlowGrid, [this] { UpdateFlowGrid(); });
    LoggerImportButton.Caption = "Import logger data…";
    LoggerImportButton.Hint = "Hourly means from pressure and flow loggers' files";
    LoggerImportButton.OnClick = [this] { LoggerImport.Show(); };
    connect(N1CalculationForm.N1Grid, [this] { N1CalculationForm.GetNewN1(); });
    connect(CostsForm.FixedCostGrid, [this] { CostsForm.UpdateGrid(); });
}

} // namespace halvern
