#include "reports/XlsxFile.h"
#include "io/FileAccess.h"
#include "io/Leftovers.h"
#include "reports/ChartAxes.h"
#include "reports/FileText.h"
#include "reports/ZipRewrite.h"

#include <xlsxwriter.h>

#include <clocale>
#include <locale.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <regex>
#include <string_view>

namespace halvern {

namespace {

namespace fs = std::filesystem;

constexpr int kLastColIndex = 16383;
// Points to the pixels the workbook library places charts in (96 per inch), and the size
// of its default chart.
constexpr double kPixelsPerPoint = 4.0 / 3.0;
constexpr double kDefaultChartWidth = 480;
constexpr double kDefaultChartHeight = 288;

// A folder of our own for the library's files, removed with everything in it (by a later
// run when a kill leaves it).
class TTemporaryFolder {
public:
    TTemporaryFolder() : folder_("halvern-report-") {
        if (!folder_.Ok()) throw EReportWriteError("cannot make a temporary folder: " + folder_.Reason());
    }
    const fs::path& Path() const { return folder_.Path(); }

private:
    TTemporaryWorkFolder folder_;
};

// The C locale for this thread while the library writes: it formats its numbers with printf,
// which writes "1474,3" and "10,42578125" under a decimal-comma locale. The process locale and
// other threads (a summary of many zones writes workbooks side by side) are left alone.
class TFileNotation {
public:
    TFileNotation() : c_(::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {
        if (c_ == static_cast<locale_t>(nullptr))
            throw EReportWriteError("cannot set up the number notation of the workbook");
        before_ = ::uselocale(c_);
    }
    ~TFileNotation() {
        ::uselocale(before_);
        ::freelocale(c_);
    }
    TFileNotation(const TFileNotation&) = delete;
    TFileNotation& operator=(const TFileNotation&) = delete;

private:
    locale_t c_;
    locale_t before_;
};

// Collects what the texts lost on their way into the file, one note per place.
class TTextNotes {
public:
    explicit TTextNotes(TWriteNotes* notes) : notes_(notes) {}
    std::string Cell(const std::string& place, const std::string& text) {
        return Note(place, CellFileText(text));
    }
    std::string Plain(const std::string& place, const std::string& text) {
        return Note(place, PlainFileText(text));
    }

private:
    std::string Note(const std::string& place, TFileText clean) {
        if (notes_ && clean.Replaced)
            notes_->push_back(place + ": a character a workbook cannot hold (a NUL, U+FFFE, U+FFFF or bytes "
                                      "that are no UTF-8) is shown as \"\xEF\xBF\xBD\".");
        if (notes_ && clean.Cut)
            notes_->push_back(place +
                              ": the text is longer than the 32,767 characters a cell holds; it is cut "
                              "there.");
        return std::move(clean.Text);
    }
    TWriteNotes* notes_;
};

lxw_color_t Colour(uint32_t rgb) {
    // The library reads 0 as "no colour given"; black has a code of its own.
    return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

uint8_t BorderStyle(TBorderLine line) {
    switch (line) {
    case TBorderLine::None:
        return LXW_BORDER_NONE;
    case TBorderLine::Thin:
        return LXW_BORDER_THIN;
    case TBorderLine::Thick:
        return LXW_BORDER_THICK;
    case TBorderLine::Double:
        return LXW_BORDER_DOUBLE;
    }
    return LXW_BORDER_NONE;
}

uint8_t MarkerType(TMarkerStyle style) {
    switch (style) {
    case TMarkerStyle::Automatic:
        return LXW_CHART_MARKER_AUTOMATIC;
    case TMarkerStyle::None:
        return LXW_CHART_MARKER_NONE;
    case TMarkerStyle::Square:
        return LXW_CHART_MARKER_SQUARE;
    case TMarkerStyle::Diamond:
        return LXW_CHART_MARKER_DIAMOND;
    case TMarkerStyle::Triangle:
        return LXW_CHART_MARKER_TRIANGLE;
    case TMarkerStyle::Circle:
        return LXW_CHART_MARKER_CIRCLE;
    case TMarkerStyle::Plus:
        return LXW_CHART_MARKER_PLUS;
    }
    return LXW_CHART_MARKER_AUTOMATIC;
}

void Check(lxw_error error, const std::string& what) {
    if (error != LXW_NO_ERROR)
        throw EReportError("The workbook could not be written (" + what + "): " + lxw_strerror(error));
}

// One library format per distinct cell format.
class TFormats {
public:
    explicit TFormats(lxw_workbook* book) : book_(book) {}
    lxw_format* Of(const TCellFormat& f) {
        const std::string key = Key(f);
        if (const auto it = formats_.find(key); it != formats_.end()) return it->second;
        lxw_format* format = workbook_add_format(book_);
        format_set_font_name(format, f.FontName.c_str());
        format_set_font_size(format, f.FontSize);
        if (f.Bold) format_set_bold(format);
        if (f.FontColour) format_set_font_color(format, Colour(*f.FontColour));
        if (f.Fill) {
            format_set_pattern(format, LXW_PATTERN_SOLID);
            format_set_bg_color(format, Colour(*f.Fill));
        }
        switch (f.HorizontalAlignment) {
        case THorizontalAlignment::General:
            break;
        case THorizontalAlignment::Left:
            format_set_align(format, LXW_ALIGN_LEFT);
            break;
        case THorizontalAlignment::Centre:
            format_set_align(format, LXW_ALIGN_CENTER);
            break;
        case THorizontalAlignment::Right:
            format_set_align(format, LXW_ALIGN_RIGHT);
            break;
        }
        switch (f.VerticalAlignment) {
        case TVerticalAlignment::Bottom:
            break;
        case TVerticalAlignment::Centre:
            format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
            break;
        case TVerticalAlignment::Top:
            format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
            break;
        }
        if (f.WrapText) format_set_text_wrap(format);
        if (f.ShrinkToFit) format_set_shrink(format);
        if (!f.NumberFormat.empty()) format_set_num_format(format, f.NumberFormat.c_str());
        format_set_left(format, BorderStyle(f.Left));
        format_set_top(format, BorderStyle(f.Top));
        format_set_right(format, BorderStyle(f.Right));
        format_set_bottom(format, BorderStyle(f.Bottom));
        formats_.emplace(key, format);
        return format;
    }

private:
    static std::string Key(const TCellFormat& f) {
        return f.FontName + '\x1f' + std::to_string(f.FontSize) + '\x1f' + (f.Bold ? "b" : "") + '\x1f' +
               (f.FontColour ? std::to_string(*f.FontColour) : "") + '\x1f' +
               (f.Fill ? std::to_string(*f.Fill) : "") + '\x1f' +
               std::to_string(static_cast<int>(f.HorizontalAlignment)) +
               std::to_string(static_cast<int>(f.VerticalAlignment)) + (f.WrapText ? "w" : "") +
               (f.ShrinkToFit ? "s" : "") + '\x1f' + f.NumberFormat + '\x1f' +
               std::to_string(static_cast<int>(f.Left)) + std::to_string(static_cast<int>(f.Top)) +
               std::to_string(static_cast<int>(f.Right)) + std::to_string(static_cast<int>(f.Bottom));
    }
    lxw_workbook* book_;
    std::map<std::string, lxw_format*> formats_;
};

// "='Fixed Outlet'!$H$15:$H$38"
std::string Reference(const std::string& sheet, const TCellRange& range) {
    std::string quoted = "'";
    for (const char c : sheet)
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    quoted += "'";
    const auto corner = [](TCellRef c) { return "$" + ColumnName(c.Col) + "$" + std::to_string(c.Row); };
    return quoted + "!" + corner(range.First) + ":" + corner(range.Last);
}

std::string Footer(const TPageSetup& page) {
    std::string footer;
    if (!page.LeftFooter.empty()) footer += "&L" + page.LeftFooter;
    if (!page.CenterFooter.empty()) footer += "&C" + page.CenterFooter;
    if (!page.RightFooter.empty()) footer += "&R" + page.RightFooter;
    return footer;
}

void WriteColumns(lxw_worksheet* ws, const TWorksheet& sheet, lxw_format* standard) {
    // Every column carries the sheet's standard format; the widths set apart split the run,
    // since column ranges may not overlap.
    int from = 0;
    for (const auto& [col, width] : sheet.ColumnWidths()) {
        const int index = col - 1;
        if (index > from)
            Check(worksheet_set_column(ws, from, index - 1, sheet.StandardWidth, standard), "columns");
        Check(worksheet_set_column(ws, index, index, width, standard), "columns");
        from = index + 1;
    }
    if (from <= kLastColIndex)
        Check(worksheet_set_column(ws, from, kLastColIndex, sheet.StandardWidth, standard), "columns");
}

void WriteCells(lxw_worksheet* ws, const TWorksheet& sheet, TFormats& formats, TTextNotes& notes) {
    // Merges first: the library fills a merged area with its first cell's format, and
    // every cell is then written with its own.
    for (const TCellRange& area : sheet.MergedAreas()) {
        const TSheetCell* first = sheet.Find(area.First);
        lxw_format* format = formats.Of(first ? first->Format : sheet.StandardFormat);
        Check(worksheet_merge_range(ws, area.First.Row - 1, area.First.Col - 1, area.Last.Row - 1,
                                    area.Last.Col - 1, "", format),
              "merged cells " + RangeName(area));
    }
    for (const auto& [at, cell] : sheet.CellMap()) {
        const lxw_row_t row = static_cast<lxw_row_t>(at.first - 1);
        const lxw_col_t col = static_cast<lxw_col_t>(at.second - 1);
        lxw_format* format = formats.Of(cell.Format);
        lxw_error error = LXW_NO_ERROR;
        switch (cell.Value.Kind) {
        case TCellValue::TKind::Number:
            error = worksheet_write_number(ws, row, col, cell.Value.Number, format);
            break;
        case TCellValue::TKind::Text: {
            const std::string text =
                notes.Cell(sheet.Name() + " " + RangeName({{at.first, at.second}, {at.first, at.second}}),
                           cell.Value.Text);
            error = worksheet_write_string(ws, row, col, text.c_str(), format);
            break;
        }
        case TCellValue::TKind::Empty:
            error = worksheet_write_blank(ws, row, col, format);
            break;
        }
        Check(error, "cell " + RangeName({{at.first, at.second}, {at.first, at.second}}));
    }
}

// The pixels the library gives a row: a whole number, cut down from the row's points.
uint32_t LibraryRowPixels(double points) {
    return static_cast<uint32_t>(kPixelsPerPoint * points);
}

// The library's pixel offset from the sheet's top of a point `points` down the sheet. Rows
// are whole pixels in its count, so the point is found by the sheet's own row heights and
// then told in the library's pixels: the chart starts and ends beside the rows it should.
double LibraryPixelsDown(const TWorksheet& sheet, double points) {
    double above = 0;
    double pixels = 0;
    for (int row = 1;; ++row) {
        const double height = sheet.RowHeight(row);
        if (above + height > points || height <= 0) break;
        above += height;
        pixels += LibraryRowPixels(height);
    }
    return pixels + (points - above) * kPixelsPerPoint;
}

void WriteChart(lxw_workbook* wb, lxw_worksheet* ws, const TWorksheet& sheet, const TChartObject& object,
                TTextNotes& notes) {
    const TSheetChart& chart = object.Chart;
    const std::string place = sheet.Name() + " chart";
    lxw_chart* ch = workbook_add_chart(wb, LXW_CHART_LINE);
    if (!ch) throw EReportError("The workbook could not be written: no chart");
    for (const TSheetSeries& series : chart.Series) {
        lxw_chart_series* s = chart_add_series(ch, Reference(series.SheetName, series.Categories).c_str(),
                                               Reference(series.SheetName, series.Values).c_str());
        if (!s) throw EReportError("The workbook could not be written: no series " + series.Name);
        if (!series.Name.empty())
            chart_series_set_name(s, notes.Plain(place + " series name", series.Name).c_str());
        if (series.UprightLineLength) {
            lxw_chart_line none{};
            none.none = LXW_TRUE;
            chart_series_set_line(s, &none);
            chart_series_set_marker_type(s, LXW_CHART_MARKER_NONE);
            chart_series_set_error_bars(s->y_error_bars, LXW_CHART_ERROR_BAR_TYPE_FIXED,
                                        *series.UprightLineLength);
            chart_series_set_error_bars_direction(s->y_error_bars, LXW_CHART_ERROR_BAR_DIR_MINUS);
            chart_series_set_error_bars_endcap(s->y_error_bars, LXW_CHART_ERROR_BAR_NO_CAP);
            lxw_chart_line upright{};
            if (series.LineColour) upright.color = Colour(*series.LineColour);
            upright.width = static_cast<float>(series.LineWeight > 0 ? series.LineWeight : 1.5);
            upright.dash_type = LXW_CHART_LINE_DASH_DASH;
            chart_series_set_error_bars_line(s->y_error_bars, &upright);
            continue;
        }
        if (series.LineColour || series.LineWeight > 0) {
            lxw_chart_line line{};
            if (series.LineColour) line.color = Colour(*series.LineColour);
            line.width = static_cast<float>(series.LineWeight);
            chart_series_set_line(s, &line);
        }
        if (series.MarkerStyle != TMarkerStyle::Automatic)
            chart_series_set_marker_type(s, MarkerType(series.MarkerStyle));
        if (series.MarkerSize > 0) chart_series_set_marker_size(s, static_cast<uint8_t>(series.MarkerSize));
        if (series.MarkerBackgroundColorIndex > 0) {
            lxw_chart_fill fill{};
            fill.color = Colour(PaletteColour(series.MarkerBackgroundColorIndex));
            chart_series_set_marker_fill(s, &fill);
        }
        if (series.MarkerForegroundColorIndex > 0) {
            lxw_chart_line line{};
            line.color = Colour(PaletteColour(series.MarkerForegroundColorIndex));
            chart_series_set_marker_line(s, &line);
        }
    }
    if (!chart.Title.empty()) chart_title_set_name(ch, notes.Plain(place + " title", chart.Title).c_str());
    if (!chart.CategoryAxisTitle.empty())
        chart_axis_set_name(ch->x_axis, notes.Plain(place + " axis title", chart.CategoryAxisTitle).c_str());
    if (!chart.ValueAxisTitle.empty())
        chart_axis_set_name(ch->y_axis, notes.Plain(place + " axis title", chart.ValueAxisTitle).c_str());
    if (chart.CategoryLabelsLow) chart_axis_set_label_position(ch->x_axis, LXW_CHART_AXIS_LABEL_POSITION_LOW);
    if (chart.ValueAxisMin) chart_axis_set_min(ch->y_axis, *chart.ValueAxisMin);
    if (chart.ValueAxisMax) chart_axis_set_max(ch->y_axis, *chart.ValueAxisMax);
    if (chart.ValueAxisStep) chart_axis_set_major_unit(ch->y_axis, *chart.ValueAxisStep);
    chart_legend_set_position(ch, chart.Legend == TLegendPosition::Bottom ? LXW_CHART_LEGEND_BOTTOM
                                                                          : LXW_CHART_LEGEND_RIGHT);
    if (chart.PlotAreaFillVisible) {
        lxw_chart_fill fill{};
        fill.color = Colour(chart.PlotAreaColour);
        chart_plotarea_set_fill(ch, &fill);
    }
    lxw_chart_options options{};
    options.x_offset = static_cast<int32_t>(std::lround(object.Left * kPixelsPerPoint));
    const double top = LibraryPixelsDown(sheet, object.Top);
    const double bottom = LibraryPixelsDown(sheet, object.Top + object.Height);
    options.y_offset = static_cast<int32_t>(std::lround(top));
    options.x_scale = object.Width * kPixelsPerPoint / kDefaultChartWidth;
    options.y_scale = (bottom - top) / kDefaultChartHeight;
    Check(worksheet_insert_chart_opt(ws, 0, 0, ch, &options), "chart");
}

void WriteSheet(lxw_workbook* wb, const TWorksheet& sheet, bool active, TFormats& formats,
                TTextNotes& notes) {
    lxw_worksheet* ws = workbook_add_worksheet(wb, sheet.Name().c_str());
    if (!ws) throw EReportError("The workbook could not be written: no sheet " + sheet.Name());
    if (active) worksheet_activate(ws);
    if (!sheet.DisplayGridlines) worksheet_gridlines(ws, LXW_HIDE_ALL_GRIDLINES);
    const TPageSetup& page = sheet.PageSetup;
    worksheet_set_margins(ws, page.LeftMargin / 72, page.RightMargin / 72, page.TopMargin / 72,
                          page.BottomMargin / 72);
    worksheet_set_paper(ws, static_cast<uint8_t>(page.PaperSize));
    if (page.Orientation == 2)
        worksheet_set_landscape(ws);
    else
        worksheet_set_portrait(ws);
    if (page.FitToPagesWide > 0 || page.FitToPagesTall > 0)
        worksheet_fit_to_pages(ws, static_cast<uint16_t>(page.FitToPagesWide),
                               static_cast<uint16_t>(page.FitToPagesTall));
    if (const std::string footer = Footer(page); !footer.empty())
        Check(worksheet_set_footer(ws, notes.Plain(sheet.Name() + " footer", footer).c_str()), "footer");

    // Every row down to the last cell or chart gets its height written out: the library
    // places charts by the rows it knows, and a spreadsheet need not honour the default.
    worksheet_set_default_row(ws, sheet.StandardHeight, LXW_FALSE);
    int lastRow = sheet.CellMap().empty() ? 0 : sheet.CellMap().rbegin()->first.first;
    for (const auto& [row, height] : sheet.RowHeights())
        lastRow = std::max(lastRow, row);
    for (const auto& object : sheet.ChartObjects()) {
        double bottom = object->Top + object->Height;
        int row = 1;
        for (; bottom > 0; ++row)
            bottom -= std::max(sheet.RowHeight(row), 1.0);
        lastRow = std::max(lastRow, row);
    }
    for (int row = 1; row <= lastRow; ++row)
        Check(worksheet_set_row(ws, static_cast<lxw_row_t>(row - 1), sheet.RowHeight(row), nullptr),
              "row height");
    WriteColumns(ws, sheet, formats.Of(sheet.StandardFormat));
    WriteCells(ws, sheet, formats, notes);
    for (const auto& object : sheet.ChartObjects())
        WriteChart(wb, ws, sheet, *object, notes);
}

// What each chart part needs: the library numbers the charts sheet by sheet, in the order
// they were placed.
std::vector<std::optional<TSecondaryAxis>> SecondaryAxes(const TWorkbook& book, TTextNotes& notes) {
    std::vector<std::optional<TSecondaryAxis>> axes;
    for (int i = 1; i <= book.Count(); ++i) {
        for (const auto& object : book.Worksheets(i).ChartObjects()) {
            const TSheetChart& chart = object->Chart;
            std::size_t first = chart.Series.size();
            while (first > 0 && chart.Series[first - 1].AxisGroup == 2)
                --first;
            for (std::size_t s = 0; s < first; ++s)
                if (chart.Series[s].AxisGroup == 2)
                    throw EReportError("Only the last series of a chart can be read on the second axis");
            if (first == chart.Series.size()) {
                axes.emplace_back();
                continue;
            }
            TSecondaryAxis axis;
            // The names as the chart part holds them, and the title as it can stand there.
            for (std::size_t s = first; s < chart.Series.size(); ++s)
                axis.SeriesNames.push_back(PlainFileText(chart.Series[s].Name).Text);
            axis.FirstValues = Reference(chart.Series[first].SheetName, chart.Series[first].Values);
            axis.Title =
                notes.Plain(book.Worksheets(i).Name() + " chart axis title", chart.SecondaryValueAxisTitle);
            axis.Min = chart.SecondaryAxisMin;
            axis.Max = chart.SecondaryAxisMax;
            axis.Step = chart.SecondaryAxisStep;
            axes.emplace_back(axis);
        }
    }
    return axes;
}

} // namespace

std::string XlsxBytes(const TWorkbook& book, TWriteNotes* notes) {
    const TFileNotation notation;
    TTextNotes textNotes(notes);
    const TTemporaryFolder folder;
    const std::string raw = (folder.Path() / "written.xlsx").string();
    const std::string finished = (folder.Path() / "finished.xlsx").string();
    std::string tmpdir = folder.Path().string();

    lxw_workbook_options options{};
    options.constant_memory = LXW_FALSE;
    options.tmpdir = tmpdir.data();
    lxw_workbook* wb = workbook_new_opt(raw.c_str(), &options);
    if (!wb) throw EReportWriteError("cannot start a workbook in " + tmpdir);
    try {
        TFormats formats(wb);
        for (int i = 1; i <= book.Count(); ++i)
            WriteSheet(wb, book.Worksheets(i), i == book.ActiveIndex(), formats, textNotes);
    } catch (...) {
        // Closing is the only way to free the library's workbook; its file goes with the folder.
        workbook_close(wb);
        throw;
    }
    const lxw_error closed = workbook_close(wb);
    if (closed != LXW_NO_ERROR) throw EReportWriteError(lxw_strerror(closed));

    const auto axes = SecondaryAxes(book, textNotes);
    static const std::regex chartPart(R"(xl/charts/chart([0-9]+)\.xml)");
    std::size_t chartsSeen = 0;
    // Every XML part passes through: the charts get their second axis, and no part leaves
    // unless it is well-formed, so a spreadsheet never meets a part it must give up on.
    const auto isXml = [](const std::string& name) {
        const auto endsWith = [&](std::string_view end) {
            return name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
        };
        return endsWith(".xml") || endsWith(".rels");
    };
    TZipRewrite rewrite;
    rewrite.Wants = isXml;
    rewrite.Rewrite = [&](const std::string& name, const std::string& content) {
        std::string finishedPart = content;
        std::smatch match;
        if (std::regex_match(name, match, chartPart)) {
            const std::size_t index = std::stoul(match[1].str());
            if (index < 1 || index > axes.size())
                throw EReportError("The workbook holds an unknown chart: " + name);
            ++chartsSeen;
            const auto& axis = axes[index - 1];
            if (axis) finishedPart = PutOnSecondaryAxis(content, *axis);
        }
        if (const std::string fault = XmlWellFormedFault(finishedPart); !fault.empty())
            throw EReportError("The workbook could not be written: its part " + name +
                               " is not well-formed XML (" + fault + ")");
        return finishedPart;
    };
    RewriteZip(raw, finished, rewrite);
    if (chartsSeen != axes.size()) throw EReportError("The workbook lost some of its charts");

    const TFileResult bytes = ReadFileBytes(finished);
    if (!bytes.Ok) throw EReportWriteError(bytes.Reason);
    return bytes.Bytes;
}

TWriteNotes SaveWorkbookAs(const TWorkbook& book, const std::string& fileName) {
    TWriteNotes notes;
    const std::string bytes = XlsxBytes(book, &notes);
    const TFileResult written = ReplaceFileContent(fileName, bytes);
    if (!written.Ok) throw EReportWriteError(written.Reason);
    return notes;
}

} // namespace halvern
