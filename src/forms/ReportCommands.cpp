// The main window's ways to the spreadsheet report: the "Output File Selection" dialog
// and "Export to Excel", which adds a "General Data" sheet to the report last written.
#include "forms/MainForm.h"

namespace halvern {

void TMainForm::SpreadsheetReportClick() {
    frmPrint.ShowModal();
}

void TMainForm::actExcelExec() {
    // Only a report written in this run has a workbook to add the sheet to.
    if (!frmPrint.Exporter || !frmPrint.Exporter->HasLastReport()) return;
    frmPrint.Exporter->AddGeneralDataToLastReport();
}

} // namespace halvern
