// halvern-cli sensitivity: the savings and payback of the three valves for each N1 of a
// range, one record per N1, each value as `summary` writes it. The project is read as "Read
// data" reads it; every N1 then runs on a copy of that window.
#include "Sensitivity.h"

#include "Json.h"
#include "Summary.h"
#include "Views.h"

#include "forms/MainForm.h"
#include "forms/N1Sweep.h"
#include "forms/ProjectDocument.h"
#include "io/FileAccess.h"
#include "model/Numbers.h"

#include <iostream>
#include <optional>
#include <thread>

namespace halvern::cli {
namespace {

constexpr int kDone = 0;
constexpr int kFileFailed = 1;
constexpr int kWrongUsage = 2;

constexpr const char* kValveKeys[SweepValves] = {"fixed_outlet", "time_modulated", "flow_modulated"};

int WrongUsage(const std::string& why) {
    std::cerr << "halvern-cli: " << TerminalText(why)
              << "\n\nUsage: halvern-cli sensitivity FILE.pru [--n1 FROM:TO:STEP] [--horizon MONTHS] "
                 "[--csv | --json]\n"
              << "Run halvern-cli --help for all commands.\n";
    return kWrongUsage;
}

// "0.5:2.5:0.25"; nothing when it is not three numbers.
std::optional<TN1Range> ParseRange(const std::string& text) {
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string::npos ? first : text.find(':', first + 1);
    if (second == std::string::npos || text.find(':', second + 1) != std::string::npos) return std::nullopt;
    const auto from = ParseNumber(text.substr(0, first));
    const auto to = ParseNumber(text.substr(first + 1, second - first - 1));
    const auto step = ParseNumber(text.substr(second + 1));
    if (!from || !to || !step) return std::nullopt;
    return TN1Range{*from, *to, *step};
}

std::string Joined(const std::vector<std::string>& messages) {
    std::string joined;
    for (const std::string& m : messages)
        joined += (joined.empty() ? "" : "\n\n") + m;
    return joined;
}

std::string CsvHeader() {
    std::string line = "file,n1,project_n1,horizon_months";
    for (const char* key : kValveKeys)
        for (const char* part : {"_saving_m3a", "_saving_ra", "_payback_months", "_within_horizon"})
            line += std::string(",") + key + part;
    return line + ",messages,error\r\n";
}

bool WithinHorizon(const TValveSensitivity& valve, const TN1SweepRow& row, double horizon) {
    const std::optional<double> months = PaybackMonths(valve.Payback);
    return !row.Failed && months && *months <= horizon;
}

// The file and the messages as `summary` writes its texts, the figures as it writes its values.
std::string CsvRecord(const std::string& file, const TN1SweepRow& row, double horizon) {
    std::string line = RecordCsvText(file) + "," + RecordCsvValue(row.N1Text) + "," +
                       (row.ProjectN1 ? "true" : "false") + "," + FormatGeneral(horizon);
    for (const TValveSensitivity& valve : row.Valves) {
        line += "," + RecordCsvValue(RecordNumber(valve.SavingM3a));
        line += "," + RecordCsvValue(RecordNumber(valve.SavingRa));
        line += "," + RecordCsvValue(valve.Payback);
        line += WithinHorizon(valve, row, horizon) ? ",true" : ",false";
    }
    line += "," + RecordCsvText(row.Failed ? "" : Joined(row.Messages));
    line += "," + RecordCsvText(row.Failed ? Joined(row.Messages) : "");
    return line + "\r\n";
}

std::string JsonValue(const std::string& text) {
    if (text.empty()) return "null";
    return RecordJsonNumber(text) ? text : JsonString(text);
}

std::string JsonRecord(const std::string& file, const TN1SweepRow& row, double horizon) {
    std::string line = "{\"file\":" + JsonString(file) + ",\"n1\":" + JsonValue(row.N1Text) +
                       ",\"project_n1\":" + JsonBool(row.ProjectN1) +
                       ",\"horizon_months\":" + JsonNumber(horizon);
    for (std::size_t v = 0; v < SweepValves; ++v) {
        const TValveSensitivity& valve = row.Valves[v];
        const std::string key = kValveKeys[v];
        line += ",\"" + key + "_saving_m3a\":" + JsonValue(RecordNumber(valve.SavingM3a));
        line += ",\"" + key + "_saving_ra\":" + JsonValue(RecordNumber(valve.SavingRa));
        line += ",\"" + key + "_payback_months\":" + JsonValue(valve.Payback);
        line += ",\"" + key + "_within_horizon\":" + JsonBool(WithinHorizon(valve, row, horizon));
    }
    line += ",\"messages\":[";
    if (!row.Failed)
        for (std::size_t m = 0; m < row.Messages.size(); ++m)
            line += (m ? "," : "") + JsonString(row.Messages[m]);
    line += "],\"error\":" + (row.Failed ? JsonString(Joined(row.Messages)) : std::string("null"));
    return line + "}\n";
}

} // namespace

int Sensitivity(const std::vector<std::string>& args, const std::function<void(std::string_view)>& print) {
    bool json = false;
    bool csv = false;
    std::optional<std::string> file, range, horizon;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool option = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (option && (arg == "--n1" || arg == "--horizon")) {
            std::optional<std::string>& target = arg == "--n1" ? range : horizon;
            if (target) return WrongUsage(arg + " given twice");
            if (i + 1 >= args.size()) return WrongUsage(arg + " needs a value");
            target = args[++i];
        } else if (option && arg == "--csv") {
            csv = true;
        } else if (option && arg == "--json") {
            json = true;
        } else if (option) {
            return WrongUsage("unknown option " + arg);
        } else if (file) {
            return WrongUsage("sensitivity takes one project file");
        } else {
            file = arg;
        }
    }
    if (json && csv) return WrongUsage("sensitivity writes --csv or --json, not both");
    if (!file) return WrongUsage("sensitivity needs a project file");
    TN1Range n1;
    if (range) {
        const auto parsed = ParseRange(*range);
        if (!parsed) return WrongUsage("--n1 is FROM:TO:STEP, three numbers such as 0.5:2.5:0.25");
        if (const auto problem = N1RangeProblem(*parsed)) return WrongUsage("--n1: " + *problem);
        n1 = *parsed;
    }
    double months = DefaultPaybackHorizon;
    if (horizon) {
        const auto parsed = ParseNumber(*horizon);
        if (!parsed || !(*parsed > 0)) return WrongUsage(std::string("--horizon: ") + Msg::HorizonInvalid);
        months = *parsed;
    }

    // The window after "Read data", its messages on standard error under the file's name.
    TScriptedDialogs dialogs;
    dialogs.OnMessage = [&](const TRecordedMessage& m) {
        std::cerr << TerminalText(*file) << ": " << MessageTypeName(m.Type) << ": "
                  << TerminalText(m.Text, true) << "\n";
    };
    TMainForm form(dialogs);
    form.FormShow();
    dialogs.Clear();
    TReadOutcome outcome = TReadOutcome::Read;
    // The name as every other command opens it: ".." after a link is the system's to follow.
    const std::string fullName = AbsoluteFileName(*file);
    form.Dispatch([&] { outcome = ReadProjectFile(form, fullName); });
    if (outcome != TReadOutcome::Read) return kFileFailed;

    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::vector<TN1SweepRow> rows = RunN1Sweep(TakeN1SweepSource(form), n1, cores);
    if (!json) print(CsvHeader());
    for (const TN1SweepRow& row : rows)
        print(json ? JsonRecord(*file, row, months) : CsvRecord(*file, row, months));
    return kDone;
}

} // namespace halvern::cli
