#include "reports/SpreadsheetReport.h"
#include "forms/MainForm.h"
#include "model/Messages.h"
#include "reports/SheetFrame.h"
#include "reports/SheetWriters.h"
#include "reports/XlsxFile.h"

#include <algorithm>

namespace halvern {

namespace {

constexpr int kStepsPerSheet = 10;

// The progress bar as it stood before a run that handed nothing over.
class TProgressMemory {
public:
    explicit TProgressMemory(TProgressBar& bar) : bar_(bar), max_(bar.Max()), position_(bar.Position()) {}
    void Restore() {
        bar_.SetMax(max_);
        bar_.SetPosition(position_);
    }

private:
    TProgressBar& bar_;
    int max_;
    int position_;
};

} // namespace

std::string DatePrintedText(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char date[64];
    char time[16];
    if (std::strftime(date, sizeof date, "%x", &local) == 0) date[0] = '\0';
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    return std::string(date) + " " + time;
}

TSpreadsheetReport::TSpreadsheetReport(TMainForm& form) : form_(form) {
    Save = [](const TWorkbook& book, const std::string& fileName) { return SaveWorkbookAs(book, fileName); };
    Clock = [] { return std::time(nullptr); };
}

TSpreadsheetReport::~TSpreadsheetReport() = default;

TSheetContext TSpreadsheetReport::Context(int page) {
    if (!book_) throw EReportError("No report is being written");
    return {*book_, form_, form_.frmPrint.ProgressBar1, page, ReportSheetCount, printedAt_};
}

void TSpreadsheetReport::ExportReport(const TReportChoice& sheets, const std::string& fileName) {
    TProgressBar& bar = form_.frmPrint.ProgressBar1;
    if (std::none_of(sheets.begin(), sheets.end(), [](bool chosen) { return chosen; })) {
        form_.Dialogs.Error(Msg::NoReportSheetChosen);
        return;
    }
    TProgressMemory before(bar);

    // A new workbook with its one empty sheet; the last report stays with the user.
    auto workbook = std::make_unique<TWorkbook>(Typing);
    const TWorksheet* emptySheet = &workbook->Worksheets(1);
    book_ = workbook.get();
    workbook->DisplayWorkbookTabs = true;
    printedAt_ = DatePrintedText(Clock());

    // Pages are numbered in page order; a sheet not chosen keeps the number it had.
    ReportSheetCount = 0;
    ReportProgressMax = 0;
    int* pages[ReportSheetKinds] = {&GeneralDataPage,  &CurrentSituationPage, &SummaryPage,
                                    &FixedOutletPage,  &TimeModulatedPage,    &FlowModulatedPage,
                                    &N1SensitivityPage};
    for (int kind = 0; kind < ReportSheetKinds; ++kind) {
        if (!sheets[static_cast<std::size_t>(kind)]) continue;
        *pages[kind] = ++ReportSheetCount;
        ReportProgressMax += kStepsPerSheet;
    }
    bar.SetMax(ReportProgressMax);
    bar.SetPosition(0);

    // A writer that fails ends the run: its workbook is abandoned and nothing is saved.
    struct TForget {
        TWorkbook*& Book;
        ~TForget() { Book = nullptr; }
    } forget{book_};
    if (bar.Position() < bar.Max()) {
        // Each sheet goes in front of the one written before: backwards, the tabs end in page order.
        using enum TReportSheet;
        const auto chosen = [&sheets](TReportSheet kind) { return sheets[static_cast<std::size_t>(kind)]; };
        if (chosen(N1Sensitivity)) WriteN1SensitivitySheet();
        if (chosen(FlowModulated)) WriteFlowModulatedSheet();
        if (chosen(TimeModulated)) WriteTimeModulatedSheet();
        if (chosen(FixedOutlet)) WriteFixedOutletSheet();
        if (chosen(Summary)) WriteSummarySheet();
        if (chosen(CurrentSituation)) WriteCurrentSituationSheet();
        if (chosen(GeneralData)) WriteGeneralDataSheet();
        bar.SetPosition(bar.Max());
        // The workbook's first empty sheet would follow the report as a blank page on
        // another paper size; the report is its sheets alone.
        for (int i = 1; i <= workbook->Count(); ++i)
            if (&workbook->Worksheets(i) == emptySheet && workbook->Count() > 1) {
                workbook->DeleteWorksheet(i);
                break;
            }
    }

    if (!HandOver(*workbook, fileName)) {
        before.Restore();
        return;
    }
    auto app = std::make_unique<TSpreadsheetApp>();
    app->Workbook = std::move(workbook);
    app->FileName = fileName;
    app->ReportSheetCount = ReportSheetCount;
    app->GeneralDataPage = GeneralDataPage;
    ExcelApp = std::move(app);
    form_.actExcel.Enabled = true;
    if (OpenInSpreadsheet && !OpenInSpreadsheet(fileName))
        form_.Dialogs.Message(Msg::ReportWrittenNotShown(fileName));
}

void TSpreadsheetReport::AddGeneralDataToLastReport() {
    if (!ExcelApp) return;
    TWorkbook& workbook = *ExcelApp->Workbook;
    book_ = &workbook;
    printedAt_ = DatePrintedText(Clock());
    // Numbered as that report's pages were; General Data is always its first page.
    ReportSheetCount = ExcelApp->ReportSheetCount;
    GeneralDataPage = ExcelApp->GeneralDataPage > 0 ? ExcelApp->GeneralDataPage : 1;
    const int activeBefore = workbook.ActiveIndex();
    try {
        WriteGeneralDataSheet();
    } catch (...) {
        book_ = nullptr;
        workbook.DeleteWorksheet(activeBefore);
        throw;
    }
    book_ = nullptr;
    if (!HandOver(workbook, ExcelApp->FileName)) {
        // The workbook stays as its file is.
        workbook.DeleteWorksheet(activeBefore);
        return;
    }
    if (OpenInSpreadsheet && !OpenInSpreadsheet(ExcelApp->FileName))
        form_.Dialogs.Message(Msg::ReportWrittenNotShown(ExcelApp->FileName));
}

bool TSpreadsheetReport::HandOver(const TWorkbook& book, const std::string& fileName) {
    TWriteNotes notes;
    try {
        notes = Save(book, fileName);
    } catch (const std::exception& e) {
        form_.Dialogs.Error(Msg::CannotWriteReport(fileName, e.what()));
        return false;
    }
    if (!notes.empty()) {
        // A few places say what happened; a text pasted into every field needs no forty lines.
        constexpr std::size_t kShown = 8;
        std::string text = Msg::ReportTextsChanged(fileName);
        for (std::size_t i = 0; i < notes.size() && i < kShown; ++i)
            text += "\n" + notes[i];
        if (notes.size() > kShown) text += Msg::MoreNotes(notes.size() - kShown);
        form_.Dialogs.WarningOKIgnore(text);
    }
    return true;
}

void TSpreadsheetReport::WriteGeneralDataSheet() {
    TSheetContext context = Context(GeneralDataPage);
    WriteGeneralData(context);
}

void TSpreadsheetReport::WriteCurrentSituationSheet() {
    TSheetContext context = Context(CurrentSituationPage);
    WriteCurrentSituation(context);
}

void TSpreadsheetReport::WriteSummarySheet() {
    TSheetContext context = Context(SummaryPage);
    WriteSummary(context);
}

void TSpreadsheetReport::WriteFixedOutletSheet() {
    TSheetContext context = Context(FixedOutletPage);
    WriteFixedOutlet(context);
}

void TSpreadsheetReport::WriteTimeModulatedSheet() {
    TSheetContext context = Context(TimeModulatedPage);
    WriteTimeModulated(context);
}

void TSpreadsheetReport::WriteFlowModulatedSheet() {
    TSheetContext context = Context(FlowModulatedPage);
    WriteFlowModulated(context);
}

void TSpreadsheetReport::WriteN1SensitivitySheet() {
    TSheetContext context = Context(N1SensitivityPage);
    WriteN1Sensitivity(context);
}

} // namespace halvern
