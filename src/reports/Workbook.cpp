#include "reports/Workbook.h"
#include "reports/NumberFormat.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace halvern {

namespace {

constexpr int kLastCol = 16384;
constexpr int kLastRow = 1048576;

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

uint32_t PaletteColour(int index) {
    static constexpr std::array<uint32_t, 16> kPalette = {
        0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
        0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080};
    if (index < 1 || index > static_cast<int>(kPalette.size()))
        throw EReportError("No colour of the palette has the index " + std::to_string(index));
    return kPalette[static_cast<std::size_t>(index - 1)];
}

// ---- charts -------------------------------------------------------------------------------

void TSheetChart::AddSeriesBlock(const std::string& sheetName, const TCellRange& block) {
    const TCellRange categories{block.First, {block.Last.Row, block.First.Col}};
    for (int col = block.First.Col + 1; col <= block.Last.Col; ++col) {
        TSheetSeries series;
        series.SheetName = sheetName;
        series.Categories = categories;
        series.Values = {{block.First.Row, col}, {block.Last.Row, col}};
        Series.push_back(series);
    }
}

void TSheetChart::AddSeries(const std::string& sheetName, const TCellRange& column) {
    TSheetSeries series;
    series.SheetName = sheetName;
    if (!Series.empty()) series.Categories = Series.back().Categories;
    series.Values = column;
    Series.push_back(series);
}

TSheetSeries& TSheetChart::SeriesAt(int index) {
    if (index < 1 || index > static_cast<int>(Series.size()))
        throw EReportError("The chart has no series " + std::to_string(index));
    return Series[static_cast<std::size_t>(index - 1)];
}

// ---- ranges -------------------------------------------------------------------------------

TSheetRange TSheetRange::WholeSheet(TWorksheet& sheet) {
    TSheetRange range(sheet, {{1, 1}, {kLastRow, kLastCol}});
    range.whole_ = true;
    return range;
}

template <typename F> void TSheetRange::ForEachFormat(F&& change) {
    if (whole_) {
        change(sheet_->StandardFormat);
        for (auto& [at, cell] : sheet_->cells_)
            change(cell.Format);
        return;
    }
    for (int row = range_.First.Row; row <= range_.Last.Row; ++row)
        for (int col = range_.First.Col; col <= range_.Last.Col; ++col)
            change(sheet_->Touch({row, col}).Format);
}

TSheetRange& TSheetRange::SetText(const std::string& text) {
    if (whole_) throw EReportError("A value cannot be put into every cell of a sheet");
    const TTypedValue typed = TypeIn(text, sheet_->book_->Typing());
    TCellValue value;
    value.Kind = typed.Kind == TTypedValue::TKind::Number ? TCellValue::TKind::Number
                 : typed.Kind == TTypedValue::TKind::Text ? TCellValue::TKind::Text
                                                          : TCellValue::TKind::Empty;
    value.Number = typed.Number;
    value.Text = typed.Text;
    for (int row = range_.First.Row; row <= range_.Last.Row; ++row)
        for (int col = range_.First.Col; col <= range_.Last.Col; ++col)
            sheet_->Put({row, col}, value, typed.NumberFormat);
    return *this;
}

TSheetRange& TSheetRange::SetLiteralText(const std::string& text) {
    if (whole_) throw EReportError("A value cannot be put into every cell of a sheet");
    TCellValue value;
    if (!text.empty()) {
        value.Kind = TCellValue::TKind::Text;
        value.Text = text;
    }
    for (int row = range_.First.Row; row <= range_.Last.Row; ++row)
        for (int col = range_.First.Col; col <= range_.Last.Col; ++col)
            sheet_->Put({row, col}, value, {});
    return *this;
}

TSheetRange& TSheetRange::SetNumber(double value) {
    if (whole_) throw EReportError("A value cannot be put into every cell of a sheet");
    TCellValue cellValue;
    cellValue.Kind = TCellValue::TKind::Number;
    cellValue.Number = value;
    for (int row = range_.First.Row; row <= range_.Last.Row; ++row)
        for (int col = range_.First.Col; col <= range_.Last.Col; ++col)
            sheet_->Put({row, col}, cellValue, {});
    return *this;
}

TSheetRange& TSheetRange::SetBold(bool bold) {
    ForEachFormat([bold](TCellFormat& f) { f.Bold = bold; });
    return *this;
}

TSheetRange& TSheetRange::SetFontSize(double points) {
    ForEachFormat([points](TCellFormat& f) { f.FontSize = points; });
    return *this;
}

TSheetRange& TSheetRange::SetFontName(const std::string& name) {
    ForEachFormat([&name](TCellFormat& f) { f.FontName = name; });
    return *this;
}

TSheetRange& TSheetRange::SetFontColour(uint32_t rgb) {
    ForEachFormat([rgb](TCellFormat& f) { f.FontColour = rgb; });
    return *this;
}

TSheetRange& TSheetRange::SetFill(uint32_t rgb) {
    ForEachFormat([rgb](TCellFormat& f) { f.Fill = rgb; });
    return *this;
}

TSheetRange& TSheetRange::SetHorizontalAlignment(THorizontalAlignment alignment) {
    ForEachFormat([alignment](TCellFormat& f) { f.HorizontalAlignment = alignment; });
    return *this;
}

TSheetRange& TSheetRange::SetVerticalAlignment(TVerticalAlignment alignment) {
    ForEachFormat([alignment](TCellFormat& f) { f.VerticalAlignment = alignment; });
    return *this;
}

TSheetRange& TSheetRange::SetWrapText(bool wrap) {
    ForEachFormat([wrap](TCellFormat& f) { f.WrapText = wrap; });
    return *this;
}

TSheetRange& TSheetRange::SetShrinkToFit(bool shrink) {
    ForEachFormat([shrink](TCellFormat& f) { f.ShrinkToFit = shrink; });
    return *this;
}

TSheetRange& TSheetRange::SetNumberFormat(const std::string& format) {
    ForEachFormat([&format](TCellFormat& f) { f.NumberFormat = format; });
    return *this;
}

TSheetRange& TSheetRange::SetBorders(TBorderLine line) {
    ForEachFormat([line](TCellFormat& f) { f.Left = f.Top = f.Right = f.Bottom = line; });
    return *this;
}

TSheetRange& TSheetRange::SetBottomBorder(TBorderLine line) {
    if (whole_) throw EReportError("A sheet has no bottom edge to draw");
    for (int col = range_.First.Col; col <= range_.Last.Col; ++col)
        sheet_->Touch({range_.Last.Row, col}).Format.Bottom = line;
    return *this;
}

TSheetRange& TSheetRange::Merge() {
    if (whole_) throw EReportError("A whole sheet cannot be merged");
    if (range_.First == range_.Last) return *this;
    auto& merges = sheet_->merges_;
    if (std::find(merges.begin(), merges.end(), range_) != merges.end()) return *this;
    for (const TCellRange& other : merges)
        if (other.Overlaps(range_))
            throw EReportError("Cannot merge " + RangeName(range_) + " over the merged cells " +
                               RangeName(other));

    // The merged cell shows the first value in reading order, as it looked where it was.
    const TCellRef topLeft = range_.First;
    std::optional<TCellRef> survivor;
    for (int row = range_.First.Row; row <= range_.Last.Row && !survivor; ++row)
        for (int col = range_.First.Col; col <= range_.Last.Col && !survivor; ++col)
            if (const TSheetCell* cell = sheet_->Find({row, col});
                cell && cell->Value.Kind != TCellValue::TKind::Empty)
                survivor = TCellRef{row, col};
    if (survivor && !(*survivor == topLeft)) {
        const TSheetCell from = sheet_->Touch(*survivor);
        TSheetCell& to = sheet_->Touch(topLeft);
        to.Value = from.Value;
        to.Format.FontName = from.Format.FontName;
        to.Format.FontSize = from.Format.FontSize;
        to.Format.Bold = from.Format.Bold;
        to.Format.FontColour = from.Format.FontColour;
        to.Format.HorizontalAlignment = from.Format.HorizontalAlignment;
        to.Format.VerticalAlignment = from.Format.VerticalAlignment;
        to.Format.WrapText = from.Format.WrapText;
        to.Format.ShrinkToFit = from.Format.ShrinkToFit;
        to.Format.NumberFormat = from.Format.NumberFormat;
    }
    for (auto& [at, cell] : sheet_->cells_)
        if (range_.Contains({at.first, at.second}) && !(TCellRef{at.first, at.second} == topLeft))
            cell.Value = {};
    merges.push_back(range_);
    return *this;
}

TSheetRange& TSheetRange::SetRowHeight(double points) {
    if (whole_) {
        sheet_->StandardHeight = points;
        sheet_->rowHeights_.clear();
        return *this;
    }
    for (int row = range_.First.Row; row <= range_.Last.Row; ++row)
        sheet_->rowHeights_[row] = points;
    return *this;
}

TSheetRange& TSheetRange::SetColumnWidth(double characters) {
    if (whole_) {
        sheet_->StandardWidth = characters;
        sheet_->columnWidths_.clear();
        return *this;
    }
    for (int col = range_.First.Col; col <= range_.Last.Col; ++col)
        sheet_->columnWidths_[col] = characters;
    return *this;
}

// ---- sheets -------------------------------------------------------------------------------

void TWorksheet::SetName(const std::string& name) {
    if (name.empty() || name.size() > 31 || name.find_first_of("[]:*?/\\") != std::string::npos ||
        name.front() == '\'' || name.back() == '\'')
        throw EReportError("'" + name + "' is not a name a sheet may have");
    for (int i = 1; i <= book_->Count(); ++i) {
        const TWorksheet& other = book_->Worksheets(i);
        if (&other != this && SameName(other.Name(), name))
            throw EReportError("Cannot rename a sheet to the same name as another sheet: " + name);
    }
    name_ = name;
}

TSheetCell& TWorksheet::Touch(TCellRef cell) {
    const auto [it, added] = cells_.try_emplace({cell.Row, cell.Col});
    if (added) it->second.Format = StandardFormat;
    return it->second;
}

void TWorksheet::Put(TCellRef cell, const TCellValue& value, const std::string& impliedFormat) {
    if (const auto area = MergeAreaOf(cell); area && !(area->First == cell))
        throw EReportError("Cannot change part of a merged cell: " + RangeName({cell, cell}) + " in " +
                           RangeName(*area));
    TSheetCell& target = Touch(cell);
    target.Value = value;
    if (!impliedFormat.empty() && target.Format.NumberFormat.empty())
        target.Format.NumberFormat = impliedFormat;
}

const TSheetCell* TWorksheet::Find(TCellRef cell) const {
    const auto it = cells_.find({cell.Row, cell.Col});
    return it == cells_.end() ? nullptr : &it->second;
}

double TWorksheet::RowHeight(int row) const {
    const auto it = rowHeights_.find(row);
    return it == rowHeights_.end() ? StandardHeight : it->second;
}

double TWorksheet::ColumnWidth(int col) const {
    const auto it = columnWidths_.find(col);
    return it == columnWidths_.end() ? StandardWidth : it->second;
}

TCellValue TWorksheet::Value(std::string_view address) const {
    const TSheetCell* cell = Find(ParseCell(address));
    return cell ? cell->Value : TCellValue{};
}

TCellFormat TWorksheet::Format(std::string_view address) const {
    const TSheetCell* cell = Find(ParseCell(address));
    return cell ? cell->Format : StandardFormat;
}

std::string TWorksheet::Shown(std::string_view address) const {
    const TSheetCell* cell = Find(ParseCell(address));
    if (!cell) return {};
    switch (cell->Value.Kind) {
    case TCellValue::TKind::Empty:
        return {};
    case TCellValue::TKind::Text:
        return cell->Value.Text;
    case TCellValue::TKind::Number:
        return ShowNumber(cell->Value.Number, cell->Format.NumberFormat);
    }
    return {};
}

std::optional<TCellRange> TWorksheet::MergeAreaOf(TCellRef cell) const {
    for (const TCellRange& area : merges_)
        if (area.Contains(cell)) return area;
    return std::nullopt;
}

TChartObject& TWorksheet::AddChart(double left, double top, double width, double height) {
    charts_.push_back(std::make_unique<TChartObject>());
    TChartObject& chart = *charts_.back();
    chart.Left = left;
    chart.Top = top;
    chart.Width = width;
    chart.Height = height;
    return chart;
}

// ---- the workbook -----------------------------------------------------------------------------

TWorkbook::TWorkbook(TTypingForms typing) : typing_(std::move(typing)) {
    sheets_.push_back(std::make_unique<TWorksheet>(*this, "Sheet1"));
    sheetsCreated_ = 1;
}

TWorksheet& TWorkbook::AddWorksheet() {
    std::string name;
    do {
        name = "Sheet" + std::to_string(++sheetsCreated_);
    } while (FindSheet(name));
    sheets_.insert(sheets_.begin() + active_, std::make_unique<TWorksheet>(*this, name));
    return *sheets_[static_cast<std::size_t>(active_)];
}

void TWorkbook::DeleteWorksheet(int index) {
    if (index < 1 || index > Count())
        throw EReportError("The workbook has no sheet " + std::to_string(index));
    if (Count() == 1) throw EReportError("A workbook must keep at least one sheet");
    sheets_.erase(sheets_.begin() + (index - 1));
    if (active_ >= index) active_ = std::max(0, active_ - 1);
    active_ = std::min(active_, Count() - 1);
}

TWorksheet& TWorkbook::Worksheets(int index) {
    if (index < 1 || index > Count())
        throw EReportError("The workbook has no sheet " + std::to_string(index));
    return *sheets_[static_cast<std::size_t>(index - 1)];
}

const TWorksheet& TWorkbook::Worksheets(int index) const {
    return const_cast<TWorkbook*>(this)->Worksheets(index);
}

TWorksheet* TWorkbook::FindSheet(std::string_view name) {
    for (auto& sheet : sheets_)
        if (SameName(sheet->Name(), name)) return sheet.get();
    return nullptr;
}

std::vector<std::string> TWorkbook::SheetNames() const {
    std::vector<std::string> names;
    for (const auto& sheet : sheets_)
        names.push_back(sheet->Name());
    return names;
}

} // namespace halvern
