#include "forms/N1SensitivityForm.h"

#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Messages.h"
#include "model/Numbers.h"

#include <algorithm>

namespace halvern {

namespace {

namespace Layout = N1SensitivityLayout;

// The valves' lines in both charts, as the cost table orders them.
constexpr TColor ValveColours[SweepValves] = {clBlue, clRed, clGreen};
constexpr TPointerStyle ValvePointers[SweepValves] = {TPointerStyle::Rectangle, TPointerStyle::Circle,
                                                      TPointerStyle::Triangle};

// The project's row stands out as the high-flow hour does in the hourly tables.
constexpr TColor ProjectRowColour = clYellow;

std::string EditNumberText(double value) {
    return FormatFixed(value, 15, 2);
}

// A number of the table (with the user's separators) as a value for the chart; none for
// "Never" or an empty cell.
// The decimal separator is always the point: whatever else stands between the digits is
// the user's group separator.
std::optional<double> CellValue(const std::string& text) {
    std::string plain;
    for (const char c : text)
        if ((c >= '0' && c <= '9') || c == '.' || c == '-') plain += c;
    return ParseNumber(plain);
}

} // namespace

TN1SensitivityForm::TN1SensitivityForm(TMainForm& main) : MainForm(main) {
    N1FromEdit.InitText(EditNumberText(Range.From));
    N1ToEdit.InitText(EditNumberText(Range.To));
    N1StepEdit.InitText(EditNumberText(Range.Step));
    HorizonEdit.InitText(FormatGeneral(Horizon));
    for (TEdit* edit : {&N1FromEdit, &N1ToEdit, &N1StepEdit}) {
        edit->Flags = TControlFlag::NumericKeys;
        edit->OnChange = [this] { RangeEditChange(); };
    }
    HorizonEdit.Flags = TControlFlag::NumericKeys;
    for (TEdit* edit : {&N1FromEdit, &N1ToEdit, &N1StepEdit, &HorizonEdit})
        edit->OnKeyPress = [this, edit](char& key) { MainForm.CheckNumberEdit(*edit, key); };
    HorizonEdit.OnChange = [this] { HorizonEditChange(); };
    RangeWarningLabel.FontColour = clRed;
    // F1 topics of the page's controls; the charts' views carry ChartHelpContext.
    for (TEdit* edit : {&N1FromEdit, &N1ToEdit, &N1StepEdit})
        edit->HelpContext = 93;
    HorizonEdit.HelpContext = 94;
    SensitivityGrid.HelpContext = 95;
    SetupGrid();
    DesignCharts();
}

void TN1SensitivityForm::SetupGrid() {
    TMarkStringGrid& g = SensitivityGrid;
    g.SetColCount(Layout::ColCount);
    g.SetRowCount(Layout::FirstN1Row + 1);
    g.FixedRows = Layout::HeadingRows;
    g.FixedCols = 1;
    g.Options &= ~static_cast<uint32_t>(goEditing);
    g.SetCell(Layout::N1Col, 0, "N1");
    g.SetJoin(Layout::N1Col, 0, Layout::N1Col, 1);
    for (int v = 0; v < SweepValves; ++v) {
        const int first = Layout::ValveCol(v, 0);
        g.SetCell(first, 0, SweepValveNames[static_cast<std::size_t>(v)]);
        g.SetJoin(first, 0, first + Layout::ValveCols - 1, 0);
        g.SetCell(Layout::ValveCol(v, Layout::SavingM3aOffset), 1, "Savings (m³/a)");
        g.SetCell(Layout::ValveCol(v, Layout::SavingRaOffset), 1, "Savings (R/a)");
        g.SetCell(Layout::ValveCol(v, Layout::PaybackOffset), 1, "Payback (months)");
        // The headings wrap between their words, so that the nine figures fit the window's
        // width beside the N1 column: a column is as wide as a saving of ten million or the
        // longest word of its heading.
        for (int offset = 0; offset < Layout::ValveCols; ++offset) {
            const int col = Layout::ValveCol(v, offset);
            TCanvas& measure = g.Measure();
            g.SetColWidth(col,
                          std::max({measure.TextWidth("10,000,000") + 10, measure.TextWidth("Payback") + 10,
                                    measure.TextWidth("(months)") + 10}));
            if (offset != Layout::PaybackOffset) g.SetColColours(col, clNone, clBlue);
        }
    }
    g.SetRowHeight(1, 2 * g.RowHeight(0));
    for (int row = 0; row < Layout::HeadingRows; ++row)
        for (int col = 0; col < Layout::ColCount; ++col)
            g.SetTextPos(col, row, 'C', 'C');
}

void TN1SensitivityForm::DesignCharts() {
    const auto design = [](TChart& chart, const std::string& title, const std::string& axis) {
        chart.Title = title;
        chart.LeftAxis.Title = axis;
        chart.BottomAxis.Title = "N1";
        chart.RightAxis.Title.clear();
        chart.Series.clear();
        for (int v = 0; v < SweepValves; ++v) {
            TChartSeries series;
            series.Title = SweepValveNames[static_cast<std::size_t>(v)];
            series.Colour = ValveColours[v];
            series.Pointer = ValvePointers[v];
            series.Column = v;
            chart.Series.push_back(std::move(series));
        }
    };
    design(SavingsChart, "Savings against N1", "Savings (R/a)");
    design(PaybackChart, "Payback against N1", "Payback (months)");
}

void TN1SensitivityForm::Changed() {
    if (OnChanged) OnChanged();
    SavingsChart.Changed();
    PaybackChart.Changed();
}

void TN1SensitivityForm::RangeEditChange() {
    const auto from = ParseNumber(Trim(N1FromEdit.Text()));
    const auto to = ParseNumber(Trim(N1ToEdit.Text()));
    const auto step = ParseNumber(Trim(N1StepEdit.Text()));
    if (!from || !to || !step) {
        RangeWarningLabel.Caption = Msg::N1RangeInvalid;
        Changed();
        return;
    }
    const TN1Range range{*from, *to, *step};
    if (const auto problem = N1RangeProblem(range)) {
        RangeWarningLabel.Caption = *problem;
        Changed();
        return;
    }
    RangeWarningLabel.Caption.clear();
    Range = range;
    Refresh();
}

void TN1SensitivityForm::HorizonEditChange() {
    const auto months = ParseNumber(Trim(HorizonEdit.Text()));
    if (!months || !(*months > 0)) {
        RangeWarningLabel.Caption = Msg::HorizonInvalid;
        Changed();
        return;
    }
    RangeWarningLabel.Caption.clear();
    Horizon = *months;
    WriteSentences();
    Changed();
}

void TN1SensitivityForm::N1SensitivitySheetShow() {
    MainForm.N1SensitivitySheet.Highlighted = true;
    Refresh();
}

void TN1SensitivityForm::Refresh() {
    if (!MainForm.N1SensitivitySheet.Showing()) return;
    TN1SweepSource source = TakeN1SweepSource(MainForm);
    const bool sameRange =
        SweptRange.From == Range.From && SweptRange.To == Range.To && SweptRange.Step == Range.Step;
    if (SweptSource && sameRange && *SweptSource == source) return;
    if (OnSweepWanted) {
        OnSweepWanted(source, Range);
        return;
    }
    std::vector<TN1SweepRow> rows = RunN1Sweep(source, Range, Threads, Copies.get());
    ShowSweep(std::move(source), Range, std::move(rows));
}

void TN1SensitivityForm::SweepNow() {
    TN1SweepSource source = TakeN1SweepSource(MainForm);
    std::vector<TN1SweepRow> rows = RunN1Sweep(source, Range, Threads, Copies.get());
    ShowSweep(std::move(source), Range, std::move(rows));
}

void TN1SensitivityForm::ShowSweep(TN1SweepSource source, const TN1Range& range,
                                   std::vector<TN1SweepRow> rows) {
    SweptSource = std::move(source);
    SweptRange = range;
    Rows = std::move(rows);
    FillGrid();
    DrawCharts();
    WriteSentences();
    Changed();
}

void TN1SensitivityForm::FillGrid() {
    TMarkStringGrid& g = SensitivityGrid;
    for (int row = Layout::FirstN1Row; row < g.RowCount(); ++row)
        for (int col = 0; col < Layout::ColCount; ++col)
            g.ResetCellColor(col, row);
    g.SetRowCount(Layout::FirstN1Row + std::max<int>(1, static_cast<int>(Rows.size())));
    // The savings in blue as on the cost table, on every row the sweep now has.
    for (int v = 0; v < SweepValves; ++v)
        for (int offset : {Layout::SavingM3aOffset, Layout::SavingRaOffset})
            g.SetColColours(Layout::ValveCol(v, offset), clNone, clBlue);
    for (int col = 0; col < Layout::ColCount; ++col)
        g.SetCell(col, Layout::FirstN1Row, "");
    ProjectN1Label.Caption.clear();
    for (std::size_t i = 0; i < Rows.size(); ++i) {
        const TN1SweepRow& r = Rows[i];
        const int row = Layout::FirstN1Row + static_cast<int>(i);
        g.SetCell(Layout::N1Col, row, r.N1Text);
        for (int v = 0; v < SweepValves; ++v) {
            const TValveSensitivity& valve = r.Valves[static_cast<std::size_t>(v)];
            g.SetCell(Layout::ValveCol(v, Layout::SavingM3aOffset), row, valve.SavingM3a);
            g.SetCell(Layout::ValveCol(v, Layout::SavingRaOffset), row, valve.SavingRa);
            g.SetCell(Layout::ValveCol(v, Layout::PaybackOffset), row, valve.Payback);
            for (int offset = 0; offset < Layout::ValveCols; ++offset)
                g.SetTextPos(Layout::ValveCol(v, offset), row, 'R', 'C');
        }
        g.SetTextPos(Layout::N1Col, row, 'C', 'C');
        if (r.ProjectN1) {
            for (int col = 0; col < Layout::ColCount; ++col)
                g.SetColour(col, row, ProjectRowColour);
            ProjectN1Label.Caption = "Highlighted: the project's N1 (" + r.N1Text + ")";
        }
    }
}

void TN1SensitivityForm::DrawCharts() {
    for (TChart* chart : {&SavingsChart, &PaybackChart}) {
        chart->HasMarker = false;
        for (TChartSeries& series : chart->Series)
            series.Clear();
    }
    for (const TN1SweepRow& row : Rows) {
        for (int v = 0; v < SweepValves; ++v) {
            const TValveSensitivity& valve = row.Valves[static_cast<std::size_t>(v)];
            const std::optional<double> saving = CellValue(valve.SavingRa);
            const std::optional<double> payback = PaybackMonths(valve.Payback);
            TChartSeries& savings = SavingsChart.Series[static_cast<std::size_t>(v)];
            savings.Add(saving.value_or(0), row.N1Text);
            savings.X.push_back(row.N1);
            savings.Gap.push_back(row.Failed || !saving);
            TChartSeries& months = PaybackChart.Series[static_cast<std::size_t>(v)];
            months.Add(payback.value_or(0), row.N1Text);
            months.X.push_back(row.N1);
            months.Gap.push_back(row.Failed || !payback);
        }
        if (row.ProjectN1)
            for (TChart* chart : {&SavingsChart, &PaybackChart}) {
                chart->HasMarker = true;
                chart->MarkerX = row.N1;
                chart->MarkerCaption = "Project N1 " + row.N1Text;
            }
    }
}

void TN1SensitivityForm::WriteSentences() {
    for (int v = 0; v < SweepValves; ++v)
        SentenceLabels[static_cast<std::size_t>(v)].Caption =
            Rows.empty() ? "" : PaybackSentence(Rows, v, Horizon);
}

} // namespace halvern
