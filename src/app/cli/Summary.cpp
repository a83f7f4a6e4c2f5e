// halvern-cli summary: many zones side by side. Each project is read into a window of its
// own, exactly as "Read data" reads it, and its record is made of the texts that window
// shows: the daily volumes of the current situation and the three valves, the cost-benefit
// table and the warnings. Projects are independent, so several are read at once, one window
// per thread; the records still come out in the order the files were given.
#include "Summary.h"
#include <algorithm>

#include "Json.h"
#include "Views.h"

#include "forms/MainForm.h"
#include "forms/ProjectDocument.h"
#include "forms/TableLayouts.h"
#include "io/FileAccess.h"
#include "io/TextCodec.h"
#include "model/Numbers.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <iostream>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace halvern::cli {
namespace {

constexpr int kDone = 0;
constexpr int kFileFailed = 1;
constexpr int kWrongUsage = 2;

// How a value is written: a text as it stands, or a number without group separators.
enum class TKind { Text, Number, Money, Payback };

struct TColumn {
    std::string Name;
    TKind Kind;
    std::function<std::string(TMainForm&)> Shown; // the text the window shows
};

// Situations and valves in the order of the window's tabs and of the cost table's rows.
struct TSituation {
    const char* Key;
    TLabel TMainForm::*Dep;
    TLabel TMainForm::*Indep;
    TLabel TMainForm::*Tot;
    TLabel TMainForm::*Warning; // nullptr for the current situation
    int CostRow;
};

const TSituation kSituations[] = {
    {"current", &TMainForm::CurrentDepLabel, &TMainForm::CurrentIndepLabel, &TMainForm::CurrentTotLabel,
     nullptr, CostSummaryLayout::CurrentRow},
    {"fixed_outlet", &TMainForm::FixedDepLabel, &TMainForm::FixedIndepLabel, &TMainForm::FixedTotLabel,
     &TMainForm::FixedWarnLabel, CostSummaryLayout::FixedRow},
    {"time_modulated", &TMainForm::TimeDepLabel, &TMainForm::TimeIndepLabel, &TMainForm::TimeTotLabel,
     &TMainForm::TimeWarnLabel, CostSummaryLayout::TimeRow},
    {"flow_modulated", &TMainForm::FlowDepLabel, &TMainForm::FlowIndepLabel, &TMainForm::FlowTotLabel,
     &TMainForm::FlowWarnLabel, CostSummaryLayout::FlowRow},
};

std::vector<TColumn> MakeColumns() {
    std::vector<TColumn> columns;
    auto edit = [](TEdit TMainForm::*member) {
        return [member](TMainForm& f) { return (f.*member).Text(); };
    };
    auto label = [](TLabel TMainForm::*member) {
        return [member](TMainForm& f) { return (f.*member).Caption; };
    };
    auto cost = [](int col, int row) {
        return [col, row](TMainForm& f) { return f.CostSummaryGrid.Cell(col, row); };
    };
    columns.push_back({"zone_name", TKind::Text, edit(&TMainForm::ZoneNameEdit)});
    columns.push_back({"analysis_reference", TKind::Text, edit(&TMainForm::ZoneRefEdit)});
    columns.push_back({"water_supply_system", TKind::Text, edit(&TMainForm::WaterSupplySystemEdit)});
    for (const TSituation& s : kSituations) {
        const std::string key = s.Key;
        columns.push_back({key + "_dependent_m3", TKind::Number, label(s.Dep)});
        columns.push_back({key + "_independent_m3", TKind::Number, label(s.Indep)});
        columns.push_back({key + "_total_m3", TKind::Number, label(s.Tot)});
    }
    using namespace CostSummaryLayout;
    columns.push_back({"current_inflow_m3a", TKind::Number, cost(InflowCol, CurrentRow)});
    for (const TSituation& s : kSituations) {
        if (!s.Warning) continue;
        const std::string key = s.Key;
        const int row = s.CostRow;
        columns.push_back({key + "_inflow_m3a", TKind::Number, cost(InflowCol, row)});
        columns.push_back({key + "_loss_saving_m3a", TKind::Number, cost(LossSavingCol, row)});
        columns.push_back({key + "_consumption_saving_m3a", TKind::Number, cost(ConsumpSavingCol, row)});
        columns.push_back({key + "_saving_m3a", TKind::Number, cost(VolumeSavingCol, row)});
        columns.push_back({key + "_purchase_saving_ra", TKind::Number, cost(PurchaseSavingCol, row)});
        columns.push_back({key + "_income_change_ra", TKind::Number, cost(IncomeLossCol, row)});
        columns.push_back({key + "_saving_ra", TKind::Number, cost(MoneySavingCol, row)});
        columns.push_back({key + "_implementation_costs_r", TKind::Money, cost(ImplementationCol, row)});
        columns.push_back({key + "_payback_months", TKind::Payback, cost(PaybackCol, row)});
    }
    for (const TSituation& s : kSituations)
        if (s.Warning) columns.push_back({std::string(s.Key) + "_warning", TKind::Text, label(s.Warning)});
    return columns;
}

// Built once, before any thread asks.
const std::vector<TColumn>& Columns() {
    static const std::vector<TColumn> columns = MakeColumns();
    return columns;
}

void EraseAll(std::string& text, const std::string& part) {
    if (part.empty()) return;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at))
        text.erase(at, part.size());
}

// A number the window shows with the user's separators ("182,625", "R10,000.00") as a
// plain decimal ("182625", "10000.00"); the digits themselves are left exactly as shown.
std::string PlainNumber(std::string text, TKind kind) {
    const TNumberConventions& conventions = PinNumberConventions();
    if (kind == TKind::Money) {
        EraseAll(text, conventions.CurrencySymbol);
        EraseAll(text, conventions.MoneyThousandsSeparator);
    } else {
        EraseAll(text, conventions.ThousandsSeparator);
    }
    return Trim(text);
}

std::string Utf8(const std::string& text) {
    return IsValidUtf8(text) ? text : Windows1252ToUtf8(text);
}

// The absolute name the open dialog would give for a file, ".." left for the system to
// follow as every other command does.
std::string FullName(const std::string& fileName) {
    return AbsoluteFileName(fileName);
}

// A text field as a spreadsheet opening the CSV must take it: as text, never as a formula
// ("=HYPERLINK(...)" in a zone name), so one that starts like a formula gets a leading
// apostrophe; and as a terminal may print it (TerminalText).
std::string CsvText(const std::string& text) {
    const std::string shown = TerminalText(Utf8(text), true);
    const bool formula =
        !text.empty() && std::string_view("=+-@\t\r").find(text[0]) != std::string_view::npos;
    return formula ? "'" + shown : shown;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// Whether a text is a JSON number as it stands (the window's "12.50" or "1.2346E5").
bool IsJsonNumber(const std::string& text) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - from;
    };
    if (i < text.size() && text[i] == '-') ++i;
    const std::size_t intStart = i;
    const std::size_t intDigits = digits();
    if (intDigits == 0 || (intDigits > 1 && text[intStart] == '0')) return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        if (digits() == 0) return false;
    }
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == text.size();
}

std::string JoinMessages(const std::vector<std::string>& messages) {
    std::string joined;
    for (const std::string& m : messages)
        joined += (joined.empty() ? "" : "\n\n") + m;
    return joined;
}

// A record whatever happens to the one project: an unexpected failure is its error.
TProjectSummary SummariseSafely(const std::string& file) {
    try {
        return SummariseProject(file);
    } catch (const std::exception& e) {
        TProjectSummary failed;
        failed.File = file;
        failed.Error = e.what();
        return failed;
    }
}

// Several projects at once, on `jobs` threads; `emit` gets every record in the order of
// the files, as soon as it and all before it are done.
void SummariseAll(const std::vector<std::string>& files, unsigned jobs,
                  const std::function<void(const TProjectSummary&)>& emit) {
    if (jobs <= 1 || files.size() <= 1) {
        for (const std::string& file : files)
            emit(SummariseSafely(file));
        return;
    }
    std::vector<std::optional<TProjectSummary>> done(files.size());
    std::mutex mutex;
    std::condition_variable ready;
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < files.size();) {
            TProjectSummary summary = SummariseSafely(files[i]);
            const std::lock_guard lock(mutex);
            done[i] = std::move(summary);
            ready.notify_one();
        }
    };
    std::vector<std::jthread> workers;
    for (unsigned j = 0; j < jobs && j < files.size(); ++j) {
        try {
            workers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // the system gives no more threads: the ones started do the work
        }
    }
    if (workers.empty()) {
        // Not one: the projects are read here, one after the other.
        for (const std::string& file : files)
            emit(SummariseSafely(file));
        return;
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::unique_lock lock(mutex);
        ready.wait(lock, [&] { return done[i].has_value(); });
        TProjectSummary summary = std::move(*done[i]);
        done[i].reset();
        lock.unlock();
        emit(summary);
    }
}

int WrongUsage(const std::string& why) {
    std::cerr << "halvern-cli: " << TerminalText(why)
              << "\n\nUsage: halvern-cli summary FILE.pru... [--csv | --json] [-j N]\n"
              << "Run halvern-cli --help for all commands.\n";
    return kWrongUsage;
}

} // namespace

const std::vector<std::string>& SummaryColumns() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> result;
        for (const TColumn& column : Columns())
            result.push_back(column.Name);
        return result;
    }();
    return names;
}

std::string AnalysisStoppedText(const TMainForm& form) {
    static const char* const kNames[TMainForm::AnalysisScenarios] = {"Current Situation", "Fixed Outlet",
                                                                     "Time Modulated", "Flow Modulated"};
    std::string why;
    for (int i = 0; i < TMainForm::AnalysisScenarios; ++i) {
        const std::string& failure = form.ScenarioFailure[static_cast<std::size_t>(i)];
        if (failure.empty()) continue;
        std::string oneLine = failure;
        std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
        why += (why.empty() ? "" : "; ") + std::string(kNames[i]) + ": " + oneLine;
    }
    return "The analysis stopped on an error, so some results could not be calculated (" + why + ")";
}

TProjectSummary SummariseProject(const std::string& fileName) {
    TProjectSummary summary;
    summary.File = fileName;
    TScriptedDialogs dialogs;
    TMainForm form(dialogs);
    form.FormShow();
    dialogs.Clear(); // the messages of this read only
    TReadOutcome outcome = TReadOutcome::Read;
    const std::string fullName = FullName(fileName);
    form.Dispatch([&] { outcome = ReadProjectFile(form, fullName); });
    for (const TRecordedMessage& message : dialogs.Messages)
        summary.Messages.push_back(message.Text);
    if (outcome != TReadOutcome::Read) {
        summary.Error = JoinMessages(summary.Messages);
        summary.Messages.clear();
        // The window's message says what failed on one line and why on the next; a
        // record keeps both on one line.
        if (const std::size_t lineEnd = summary.Error.find('\n');
            outcome == TReadOutcome::CannotOpen && lineEnd != std::string::npos)
            summary.Error.replace(lineEnd, 1, ": ");
        return summary;
    }
    for (const TColumn& column : Columns()) {
        const std::string shown = Trim(column.Shown(form));
        summary.Values.push_back(column.Kind == TKind::Text || column.Kind == TKind::Payback
                                     ? shown
                                     : PlainNumber(shown, column.Kind));
    }
    // The record keeps what could be calculated; the error says what could not.
    if (form.AnalysisStopped()) summary.Error = AnalysisStoppedText(form);
    return summary;
}

std::string SummaryCsvHeader() {
    std::string line = "file";
    for (const std::string& name : SummaryColumns())
        line += "," + name;
    return line + ",messages,error\r\n";
}

std::string SummaryCsvRecord(const TProjectSummary& summary) {
    std::string line = RecordCsvText(summary.File);
    line.reserve(1024);
    const auto field = [&line](const std::string& written) {
        line += ',';
        line += written;
    };
    const auto& columns = Columns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const std::string value = c < summary.Values.size() ? summary.Values[c] : std::string();
        // Numbers stay numbers ("-1234.5" included); anything else is a text.
        field(columns[c].Kind == TKind::Text ? RecordCsvText(value) : RecordCsvValue(value));
    }
    field(RecordCsvText(JoinMessages(summary.Messages)));
    field(RecordCsvText(summary.Error));
    line += "\r\n";
    return line;
}

std::string SummaryJsonRecord(const TProjectSummary& summary) {
    std::string line = "{\"file\":" + JsonString(summary.File);
    const auto& columns = Columns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        line += "," + JsonString(columns[c].Name) + ":";
        if (c >= summary.Values.size() || (summary.Values[c].empty() && columns[c].Kind != TKind::Text))
            line += "null";
        else if (columns[c].Kind != TKind::Text && IsJsonNumber(summary.Values[c]))
            line += summary.Values[c];
        else
            line += JsonString(summary.Values[c]);
    }
    line += ",\"messages\":[";
    for (std::size_t m = 0; m < summary.Messages.size(); ++m)
        line += (m ? "," : "") + JsonString(summary.Messages[m]);
    line += "],\"error\":" + (summary.Error.empty() ? std::string("null") : JsonString(summary.Error));
    return line + "}\n";
}

std::string RecordNumber(const std::string& shown) {
    return PlainNumber(Trim(shown), TKind::Number);
}

std::string RecordCsvText(const std::string& text) {
    return CsvField(CsvText(text));
}

std::string RecordCsvValue(const std::string& value) {
    return IsJsonNumber(value) ? value : RecordCsvText(value);
}

bool RecordJsonNumber(const std::string& text) {
    return IsJsonNumber(text);
}

int Summary(const std::vector<std::string>& args, const std::function<void(std::string_view)>& print) {
    bool json = false;
    bool csv = false;
    std::optional<unsigned> jobs;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--csv") {
            csv = true;
        } else if (arg == "--json") {
            json = true;
        } else if (arg == "-j" || arg.rfind("-j", 0) == 0 || arg.rfind("--jobs", 0) == 0) {
            std::string value;
            if (arg == "-j" || arg == "--jobs") {
                if (i + 1 >= args.size()) return WrongUsage(arg + " needs a number of projects");
                value = args[++i];
            } else {
                value = arg.rfind("--jobs=", 0) == 0 ? arg.substr(7) : arg.substr(2);
            }
            const auto n = ParseWhole(value);
            if (!n || *n < 1 || value.find_first_not_of("0123456789") != std::string::npos)
                return WrongUsage("-j needs a whole number of 1 or more, not '" + value + "'");
            jobs = static_cast<unsigned>(*n);
        } else {
            return WrongUsage("unknown option " + arg);
        }
    }
    if (json && csv) return WrongUsage("summary writes --csv or --json, not both");
    if (files.empty()) return WrongUsage("summary needs at least one project file");
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
#if defined(__GLIBC__)
    // Each project's window is built and freed again; handing that memory back to the
    // system after every project and asking for it again costs more than reading the file.
    mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
#endif
    // The locale is read now, once; the threads only use what was read.
    PinNumberConventions();
    SummaryColumns();

    if (!json) print(SummaryCsvHeader());
    int status = kDone;
    SummariseAll(files, jobs.value_or(cores), [&](const TProjectSummary& summary) {
        if (!summary.Error.empty()) {
            status = kFileFailed;
            std::cerr << TerminalText(summary.File) << ": error: " << TerminalText(summary.Error, true)
                      << "\n";
        }
        print(json ? SummaryJsonRecord(summary) : SummaryCsvRecord(summary));
    });
    return status;
}

} // namespace halvern::cli
