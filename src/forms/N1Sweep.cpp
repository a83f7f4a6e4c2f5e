// The N1 sweep. A copy of the window is a window of its own, made as "Read data" makes one
// from a project, with what the window holds beyond the project file (the hours as typed, the
// 23:00 outlet, the consumption exponent) put back in; then the N1 is typed into its N1 box and
// its Summary shown. Its cost table is then what the window's would be for that N1.
#include "forms/N1Sweep.h"

#include "forms/MainForm.h"
#include "forms/ProjectDocument.h"
#include "forms/RefreshGuard.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include "model/TextNumbers.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <memory>
#include <system_error>
#include <thread>

namespace halvern {

namespace {

// The N1 box shows two decimals; a value of the range is what typing that text gives.
std::string TwoDecimals(double value) {
    return FormatFixed(value, 15, 2);
}

// A value as the N1 box's text would give it back.
double Typed(const std::string& text) {
    return CellNumber(text);
}

// The shortest text that reads back as the value ("1.125").
std::string ShortestText(double value) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return ec == std::errc() ? std::string(buffer, end) : TwoDecimals(value);
}

// The text the table shows for an N1: two decimals, more only where the N1 has them.
std::string ShownN1(double value) {
    const std::string two = TwoDecimals(value);
    return Typed(two) == value ? two : ShortestText(value);
}

bool InN1Bounds(double value) {
    return value >= N1SweepLowest && value <= N1SweepHighest;
}

} // namespace

std::optional<std::string> N1RangeProblem(const TN1Range& range) {
    if (!std::isfinite(range.From) || !std::isfinite(range.To) || !std::isfinite(range.Step))
        return std::string(Msg::N1RangeInvalid);
    if (!InN1Bounds(range.From) || !InN1Bounds(range.To)) return std::string(Msg::N1RangeOutside);
    if (range.From > range.To) return std::string(Msg::N1RangeReversed);
    // A single N1 needs no step; any other range moves by at least what the box can show.
    if (range.From < range.To && !(range.Step >= N1SweepFinestStep - 1e-12))
        return std::string(Msg::N1StepTooSmall);
    return std::nullopt;
}

bool TN1SweepSource::operator==(const TN1SweepSource& other) const {
    return InflowInLs == other.InflowInLs && FlowCells == other.FlowCells &&
           LastHourOutlet == other.LastHourOutlet && ConsumptionN1 == other.ConsumptionN1 &&
           ProjectN1Text == other.ProjectN1Text && FormatProjectFile(Data) == FormatProjectFile(other.Data);
}

TN1SweepSource TakeN1SweepSource(TMainForm& form) {
    TN1SweepSource source;
    source.Data = CollectProjectData(form);
    source.InflowInLs = form.lsRadio.Checked();
    using namespace FlowGridLayout;
    source.FlowCells.reserve(HoursPerDay * (ColCount - 1));
    for (int row = FirstHourRow; row <= LastHourRow; ++row)
        for (int col = InflowM3hCol; col < ColCount; ++col)
            source.FlowCells.push_back(form.FlowGrid.Cell(col, row));
    source.LastHourOutlet =
        form.TimePRVGrid.Cell(PRVGridLayout::OutletCol, PRVGridLayout::HourRow(HoursPerDay - 1));
    source.ConsumptionN1 = form.edtConsumptionN1.Text();
    // The N1 the Summary uses: the box's text while it holds that value (it may have more
    // decimals than the box shows after "Read data"), else the value itself, which stays
    // while the box holds a text on its way to a number ("0.").
    const std::string box = Trim(form.N1Edit.Text());
    const std::optional<double> typed = ParseNumber(box);
    source.ProjectN1Text = typed && *typed == form.Project.N1 ? box : ShortestText(form.Project.N1);
    return source;
}

std::vector<TN1SweepRow> N1SweepRows(const TN1Range& range, const std::string& projectN1Text) {
    std::vector<TN1SweepRow> rows;
    if (!N1RangeProblem(range)) {
        const double last = Typed(TwoDecimals(range.To));
        for (int i = 0;; ++i) {
            const double exact = range.From + i * range.Step;
            if (exact > range.To + 1e-9) break;
            TN1SweepRow row;
            row.N1Text = TwoDecimals(exact);
            row.N1 = Typed(row.N1Text);
            if (row.N1 > last) break;
            if (rows.empty() || row.N1 != rows.back().N1) rows.push_back(std::move(row));
            if (range.From == range.To) break; // one N1, whatever the step
        }
    }
    const std::optional<double> own = ParseNumber(Trim(projectN1Text));
    if (own && InN1Bounds(*own)) {
        const auto at = std::lower_bound(rows.begin(), rows.end(), *own,
                                         [](const TN1SweepRow& row, double n1) { return row.N1 < n1; });
        if (at != rows.end() && at->N1 == *own) {
            at->ProjectN1 = true;
        } else {
            TN1SweepRow row;
            row.N1 = *own;
            row.N1Text = ShownN1(*own);
            row.ProjectN1 = true;
            rows.insert(at, std::move(row));
        }
    }
    return rows;
}

TN1SweepCopy::TN1SweepCopy()
    : Dialogs(std::make_unique<TScriptedDialogs>()), Form(std::make_unique<TMainForm>(*Dialogs)) {
    Form->FormShow();
}

TN1SweepCopy::~TN1SweepCopy() = default;

void RunN1SweepRow(const TN1SweepSource& source, TN1SweepRow& row) {
    TN1SweepCopy copy;
    RunN1SweepRow(source, row, copy);
}

void RunN1SweepRow(const TN1SweepSource& source, TN1SweepRow& row, TN1SweepCopy& copy) {
    TScriptedDialogs& dialogs = *copy.Dialogs;
    TMainForm& form = *copy.Form;

    TProjectFileData data = source.Data;
    data.Values.N1 = row.N1;
    form.Dispatch([&] {
        const TRefreshGuard refreshing(form);
        ApplyProjectData(form, data);
        form.Initialise(false);
    });
    form.Dispatch([&] {
        if (source.InflowInLs != form.lsRadio.Checked())
            (source.InflowInLs ? form.lsRadio : form.m3hrRadio).Click();
        using namespace FlowGridLayout;
        std::size_t cell = 0;
        for (int r = FirstHourRow; r <= LastHourRow; ++r)
            for (int c = InflowM3hCol; c < ColCount && cell < source.FlowCells.size(); ++c)
                form.FlowGrid.SetCell(c, r, source.FlowCells[cell++]);
        form.TimePRVGrid.SetCell(PRVGridLayout::OutletCol, PRVGridLayout::HourRow(HoursPerDay - 1),
                                 source.LastHourOutlet);
        form.edtConsumptionN1.SetText(source.ConsumptionN1);
    });
    // Typed into the N1 box: the marked row types the box's own text, which may carry more
    // decimals than the table shows.
    const std::string typed =
        row.ProjectN1 && Typed(source.ProjectN1Text) == row.N1 ? source.ProjectN1Text : row.N1Text;
    form.Dispatch([&] { form.N1Edit.SetText(typed); });

    // Only the Summary's own messages belong to the row.
    dialogs.Clear();
    row.Failed = !form.Dispatch([&] { form.SummarySheetShow(); });
    row.Messages = dialogs.Texts();

    using namespace CostSummaryLayout;
    const int valveRows[SweepValves] = {FixedRow, TimeRow, FlowRow};
    for (int v = 0; v < SweepValves; ++v) {
        TValveSensitivity& valve = row.Valves[static_cast<std::size_t>(v)];
        valve.SavingM3a = Trim(form.CostSummaryGrid.Cell(VolumeSavingCol, valveRows[v]));
        valve.SavingRa = Trim(form.CostSummaryGrid.Cell(MoneySavingCol, valveRows[v]));
        valve.Payback = Trim(form.CostSummaryGrid.Cell(PaybackCol, valveRows[v]));
    }
}

std::vector<TN1SweepRow> RunN1Sweep(const TN1SweepSource& source, const TN1Range& range, unsigned threads,
                                    TN1SweepCopies* kept) {
    std::vector<TN1SweepRow> rows = N1SweepRows(range, source.ProjectN1Text);
    // The copies format numbers with the user's separators on other threads: the programs
    // pin those conventions at start (PinNumberConventions), so no copy reads the locale.
    // The kept copies while no other sweep has them, else copies for this sweep only.
    TN1SweepCopies own;
    std::unique_lock<std::mutex> lock;
    if (kept) lock = std::unique_lock<std::mutex>(kept->InUse, std::try_to_lock);
    TN1SweepCopies& copies = kept && lock.owns_lock() ? *kept : own;
    copies.Copies.resize(std::max(copies.Copies.size(), rows.size()));
    const auto runRow = [&](std::size_t i) {
        if (!copies.Copies[i]) copies.Copies[i] = std::make_unique<TN1SweepCopy>();
        RunN1SweepRow(source, rows[i], *copies.Copies[i]);
    };
    const std::size_t workers = std::min<std::size_t>(std::max(1u, threads), rows.size());
    if (workers <= 1) {
        for (std::size_t i = 0; i < rows.size(); ++i)
            runRow(i);
        return rows;
    }
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < rows.size();)
            runRow(i);
    };
    {
        std::vector<std::jthread> pool;
        for (std::size_t w = 1; w < workers; ++w) {
            try {
                pool.emplace_back(work);
            } catch (const std::system_error&) {
                break; // the system gives no more threads: those started and this one do the rows
            }
        }
        work();
    }
    return rows;
}

std::optional<double> PaybackMonths(const std::string& payback) {
    return ParseNumber(Trim(payback));
}

std::string PaybackSentence(const std::vector<TN1SweepRow>& rows, int valve, double horizonMonths) {
    const std::string name = SweepValveNames[static_cast<std::size_t>(valve)];
    const std::string within = " within " + FormatGeneral(horizonMonths) + " months";
    if (rows.empty()) return name + ": no N1 to judge.";
    std::vector<bool> pays;
    for (const TN1SweepRow& row : rows) {
        const std::optional<double> months =
            PaybackMonths(row.Valves[static_cast<std::size_t>(valve)].Payback);
        pays.push_back(!row.Failed && months && *months <= horizonMonths);
    }
    const std::string span = " from " + rows.front().N1Text + " to " + rows.back().N1Text;
    const auto count = std::count(pays.begin(), pays.end(), true);
    if (count == static_cast<std::ptrdiff_t>(pays.size()))
        return name + " pays back" + within + " for every N1" +
               (rows.size() > 1 ? span : " of " + rows.front().N1Text) + ".";
    if (count == 0)
        return name + " does not pay back" + within + " for any N1" +
               (rows.size() > 1 ? span : " of " + rows.front().N1Text) + ".";

    // The runs of N1 over which it pays back.
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    for (std::size_t i = 0; i < pays.size(); ++i) {
        if (!pays[i]) continue;
        if (!runs.empty() && runs.back().second + 1 == i)
            runs.back().second = i;
        else
            runs.emplace_back(i, i);
    }
    const std::string lead = name + " pays back" + within + " only for N1 ";
    if (runs.size() == 1 && runs[0].second + 1 == rows.size())
        return lead + "≥ " + rows[runs[0].first].N1Text + ".";
    if (runs.size() == 1 && runs[0].first == 0) return lead + "≤ " + rows[runs[0].second].N1Text + ".";
    std::string parts;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const auto [first, lastOfRun] = runs[r];
        parts += r == 0 ? "" : (r + 1 == runs.size() ? " and " : ", ");
        parts += first == lastOfRun ? "= " + rows[first].N1Text
                                    : "from " + rows[first].N1Text + " to " + rows[lastOfRun].N1Text;
    }
    return lead + parts + ".";
}

} // namespace halvern
