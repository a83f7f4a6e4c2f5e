// The spreadsheet report: the export run behind "Create" of "Output File Selection" and
// "Export to Excel". The chosen sheets are written into a new workbook in reverse page
// order, each in front of the last, so the tabs end in page order; the workbook is then
// saved as one .xlsx file and opened in the desktop's spreadsheet application. No analysis
// is run: the sheets report what the window shows.
#pragma once
#include "forms/PrintForm.h"
#include "reports/Workbook.h"
#include "reports/XlsxFile.h"

#include <ctime>
#include <functional>
#include <memory>
#include <string>

namespace halvern {

class TMainForm;
struct TSheetContext;

class TSpreadsheetReport : public TReportExporter {
public:
    explicit TSpreadsheetReport(TMainForm& form);
    ~TSpreadsheetReport() override;
    TSpreadsheetReport(const TSpreadsheetReport&) = delete;
    TSpreadsheetReport& operator=(const TSpreadsheetReport&) = delete;

    void ExportReport(const TReportChoice& sheets, const std::string& fileName) override;
    bool HasLastReport() const override { return ExcelApp != nullptr; }
    void AddGeneralDataToLastReport() override;

    // The writers, each adding its sheet in front of the active one of the workbook being
    // written and stepping the dialog's progress bar ten times.
    void WriteGeneralDataSheet();
    void WriteCurrentSituationSheet();
    void WriteSummarySheet();
    void WriteFixedOutletSheet();
    void WriteTimeModulatedSheet();
    void WriteFlowModulatedSheet();
    void WriteN1SensitivitySheet();

    // The workbook last handed to the user and its file; none before the first report.
    struct TSpreadsheetApp {
        std::unique_ptr<TWorkbook> Workbook;
        std::string FileName;
        int ReportSheetCount = 0;
        int GeneralDataPage = 0;
    };
    std::unique_ptr<TSpreadsheetApp> ExcelApp;

    // The counters of the run going on or last made.
    int ReportSheetCount = 0;
    int ReportProgressMax = 0;
    int GeneralDataPage = 0, CurrentSituationPage = 0, SummaryPage = 0, FixedOutletPage = 0,
        TimeModulatedPage = 0, FlowModulatedPage = 0, N1SensitivityPage = 0;

    // Saves a finished workbook as the file, telling what the texts lost on the way; the
    // .xlsx back end unless a test puts its own.
    std::function<TWriteNotes(const TWorkbook&, const std::string& fileName)> Save;
    // Opens the saved file in the desktop's spreadsheet application; false when nothing
    // could. Unset (the command line): the file is left where it was written.
    std::function<bool(const std::string& fileName)> OpenInSpreadsheet;
    // The time the footers print.
    std::function<std::time_t()> Clock;
    // How the workbook reads typed texts (the user's money and thousands forms).
    TTypingForms Typing = TTypingForms::User();

private:
    TSheetContext Context(int page);
    // Saves and opens the workbook; false (with the message shown) when it cannot be saved.
    bool HandOver(const TWorkbook& book, const std::string& fileName);

    TMainForm& form_;
    TWorkbook* book_ = nullptr; // the workbook the writers add to
    std::string printedAt_;
};

// "31/12/24 16:05:09": the date in the user's short form and the time as hh:mm:ss.
std::string DatePrintedText(std::time_t when);

} // namespace halvern
