// A shown main window with the spreadsheet report behind its "Output File Selection"
// dialog. The workbook stays in memory: saving records the file name (or fails as told),
// and the footers print a fixed time.
#pragma once
#include "FormFixture.h"
#include "forms/ProjectDocument.h"
#include "reports/SpreadsheetReport.h"
#include "reports/XlsxFile.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace halvern::test {

class ReportFixture : public FormFixture {
protected:
    ReportFixture() {
        form.frmPrint.Exporter = &report;
        form.frmPrint.HomeFolder = "/home/engineer";
        report.Typing = TTypingForms{};
        report.Save = [this](const TWorkbook&, const std::string& fileName) {
            if (SaveError) throw EReportWriteError(*SaveError);
            Saved.push_back(fileName);
            return TWriteNotes{};
        };
        report.Clock = [] { return std::time_t{1700000000}; };
    }

    // The dialog with exactly these boxes ticked, "Create", and the file name given to the
    // save dialog (none: the user cancels it).
    void Create(std::vector<TCheckBox*> ticked,
                std::optional<std::string> fileName = "/reports/zone report.xlsx") {
        for (TCheckBox* box : form.frmPrint.CheckBoxes())
            box->Checked = std::find(ticked.begin(), ticked.end(), box) != ticked.end();
        dialogs.FileNames.push_back(fileName);
        form.Dispatch([this] { form.frmPrint.CreateExcelButtonClick(); });
    }
    void CreateAll() {
        const auto boxes = form.frmPrint.CheckBoxes();
        Create({boxes.begin(), boxes.end()});
    }

    void ReadDemo() {
        form.Dispatch([this] {
            ReadProjectFile(form, std::string(HALVERN_TEST_DATA) + "/../../examples/demo-zone.pru");
        });
    }

    const TWorkbook& Book() const { return *report.ExcelApp->Workbook; }
    TWorksheet& Sheet(const std::string& name) {
        TWorksheet* sheet = report.ExcelApp->Workbook->FindSheet(name);
        if (!sheet) throw std::runtime_error("no sheet " + name);
        return *sheet;
    }

    TfrmPrint& dialog = form.frmPrint;
    TSpreadsheetReport report{form};
    std::vector<std::string> Saved;
    std::optional<std::string> SaveError;
};

} // namespace halvern::test
