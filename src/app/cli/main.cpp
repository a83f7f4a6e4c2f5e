// halvern-cli: the program's core without its window. It reads, shows, imports and saves
// projects exactly as the window's commands do; the messages the window would put in boxes
// go to standard error, and a warning is answered OK.
#include "LoggerCommand.h"
#include "Sensitivity.h"
#include "Suggest.h"
#include "Summary.h"
#include "Views.h"

#include "forms/HourlyImportCommand.h"
#include "forms/MainForm.h"
#include "forms/ProjectDocument.h"
#include "io/FileAccess.h"
#include "io/Leftovers.h"
#include "model/Numbers.h"
#include "reports/SpreadsheetReport.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace halvern::cli {
namespace {

constexpr int kDone = 0;
constexpr int kFileFailed = 1;
constexpr int kWrongUsage = 2;

constexpr const char* kUsage =
    "Usage:\n"
    "  halvern-cli show FILE.pru...\n"
    "      For each project: the zone, its night flows, the current situation and the three\n"
    "      valve scenarios with their checks and warnings, and the cost-benefit table.\n"
    "  halvern-cli show --json FILE.pru\n"
    "      The main window after \"Read data\" of the project, as one JSON object.\n"
    "  halvern-cli summary FILE.pru... [--csv | --json] [-j N]\n"
    "      One record per project, in the order given: the daily volumes of the current\n"
    "      situation and the three valves, the cost-benefit table and the warnings, as CSV\n"
    "      (the default) or JSON Lines; N projects are read at once (default: every core).\n"
    "  halvern-cli sensitivity FILE.pru [--n1 FROM:TO:STEP] [--horizon MONTHS] [--csv | --json]\n"
    "      One record per N1 from FROM to TO in steps of STEP (default 0.5:2.5:0.25), the\n"
    "      project's own N1 among them: the savings and payback of the three valves, each as\n"
    "      the Summary shows it with that N1 typed in, and whether the payback is within\n"
    "      MONTHS (default 60).\n"
    "  halvern-cli import DATA.txt -o FILE.pru [--units m3h|ls] [--from FILE.pru]\n"
    "      Imports a day of hourly data (24 lines of inflow, inlet, AZP and critical point\n"
    "      pressure, separated by commas, or by semicolons or tabs with decimal commas) into a\n"
    "      new project, or into the one given, and saves it.\n"
    "  halvern-cli import-logger --list FILE... [--month-first] [--utc-offset ±hh:mm]\n"
    "      Each logger file's layout found: separator, decimal and thousands marks, time stamp\n"
    "      column and format, how its clock is read, channels, interval, samples and days.\n"
    "  halvern-cli import-logger --flow FILE[:COLUMN][@UNIT] --inlet ... --azp ... --critical ...\n"
    "              (--day YYYY-MM-DD | --days D1,D2,... | --from-day D --to-day D [--weekdays|--weekends])\n"
    "              [--stamp start|end] [--min-coverage 0.75] [--month-first] [--utc-offset ±hh:mm]\n"
    "              [--accept-clock-change] [--set-flow-hours] -o OUT.pru [--from FILE.pru]\n"
    "      The 24 hourly means of logger channels over the chosen days, weighted by time, into a\n"
    "      project as import does; prints the values with each hour's coverage. COLUMN is a\n"
    "      heading or a 1-based column number; UNIT m3/h, l/s, m3/d, m, bar or kPa. --utc-offset\n"
    "      is the zone's offset from UTC: stamps written in UTC (\"Z\") or with another offset\n"
    "      are read as the zone's local time. The output may not be one of the logger files.\n"
    "  halvern-cli save-defaults -o FILE.pru\n"
    "      Saves the new project as \"Save data\" would write it.\n"
    "  halvern-cli report FILE.pru -o OUT.xlsx\n"
    "          [--sheets general,current,summary,fixed,time,flow,sensitivity]\n"
    "      Writes the spreadsheet report of the project, as the window's \"Spreadsheet report\"\n"
    "      writes it after \"Read data\": all seven sheets unless --sheets names some. A name\n"
    "      without an extension gets .xlsx. Exit status 1 also when the analysis stopped on\n"
    "      an error: the workbook is written and says which scenarios could not be calculated.\n"
    "  halvern-cli suggest FILE.pru [--json] [--windows] [--apply -o OUT.pru]\n"
    "      The lowest setting of each valve that keeps the minimum pressure at the critical\n"
    "      point in every hour, with its daily volumes, savings and payback beside the\n"
    "      current ones; --windows also chooses the time-modulated windows; --apply writes\n"
    "      the project with the suggestions as \"Save data\" would. Exit 1 when a valve has\n"
    "      no feasible setting (the others are still printed).\n"
    "  halvern-cli --help\n"
    "\n"
    "\"--\" ends the options: every argument after it is a file name.\n"
    "Messages that the window shows in message boxes are written to standard error.\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 wrong usage.\n";

// Standard output, every write checked: a full disk or a closed reader must not pass for a
// finished command. The first failure is kept and reported at the end.
class TOutput {
public:
    void Print(std::string_view text) {
        while (!text.empty() && error_ == 0) {
            const ssize_t n = ::write(STDOUT_FILENO, text.data(), text.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                error_ = errno != 0 ? errno : EIO;
                return;
            }
            text.remove_prefix(static_cast<std::size_t>(n));
        }
    }
    // Standard output that is a file is synced, so a disk that fills up late is caught too.
    int Finish() {
        if (error_ == 0 && ::fsync(STDOUT_FILENO) != 0 && errno != EINVAL && errno != EROFS && errno != EBADF)
            error_ = errno;
        return error_;
    }

private:
    int error_ = 0;
};

TOutput Out;

int WrongUsage(const std::string& why) {
    std::cerr << "halvern-cli: " << TerminalText(why) << "\n\n" << kUsage;
    return kWrongUsage;
}

// The full name of a file, as the file dialogs give it (".." left for the system to follow).
std::string FullName(const std::string& fileName) {
    return AbsoluteFileName(fileName);
}

// A freshly started program: the window created and shown, its message boxes printed, each
// under the name of the file the command was working on when it appeared.
struct TSession {
    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainForm> Form;
    std::string Context;
    explicit TSession(std::string context) : Context(std::move(context)) {
        Dialogs.OnMessage = [this](const TRecordedMessage& m) {
            std::cerr << TerminalText(Context) << ": " << MessageTypeName(m.Type) << ": "
                      << TerminalText(m.Text, true) << "\n";
        };
        Form = std::make_unique<TMainForm>(Dialogs);
        Form->FormShow();
    }
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    // "Read data" with this file; false when the file was not read (an error of the
    // recalculation afterwards does not count: the project was read). The window's message
    // says why; the file is opened once.
    bool Read(const std::string& fileName) {
        const std::string saved = std::exchange(Context, fileName);
        TReadOutcome outcome = TReadOutcome::Read;
        const std::string fullName = FullName(fileName);
        Form->Dispatch([&] { outcome = ReadProjectFile(*Form, fullName); });
        Context = saved;
        return outcome == TReadOutcome::Read;
    }
    bool Save(const std::string& fileName) {
        bool saved = false;
        const std::string context = std::exchange(Context, fileName);
        Form->Dispatch([&] { saved = SaveProjectFile(*Form, FullName(fileName)); });
        Context = context;
        if (saved) Out.Print(TerminalText(Form->StatusBar1.SimpleText) + "\n");
        return saved;
    }
};

// An argument that is an option: it starts with "-" and comes before "--" ("-" alone is a name).
bool IsOption(const std::string& arg, bool optionsEnded) {
    return !optionsEnded && arg.size() > 1 && arg[0] == '-';
}

int Show(const std::vector<std::string>& args) {
    bool json = false;
    bool optionsEnded = false;
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--")
            optionsEnded = true;
        else if (IsOption(arg, optionsEnded) && arg == "--json")
            json = true;
        else if (IsOption(arg, optionsEnded))
            return WrongUsage("unknown option " + arg);
        else
            files.push_back(arg);
    }
    if (files.empty()) return WrongUsage("show needs a project file");
    if (json && files.size() != 1) return WrongUsage("show --json takes exactly one project file");

    int status = kDone;
    for (std::size_t i = 0; i < files.size(); ++i) {
        TSession session(files[i]);
        session.Dialogs.Clear(); // the messages of this read only
        const bool read = session.Read(files[i]);
        // A project that was not read has nothing to show: its reason is on standard error.
        if (!read) {
            status = kFileFailed;
            continue;
        }
        if (json)
            Out.Print(WindowJson(*session.Form, session.Dialogs));
        else
            Out.Print((i ? "\n" : "") + SummaryText(*session.Form, files[i]));
    }
    return status;
}

// Takes the value of an option such as "-o FILE"; nullopt when it is missing.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) return std::nullopt;
    return args[++i];
}

// The options of a command that each take a value, by name.
using TValueOptions = std::initializer_list<std::pair<const char*, std::optional<std::string>*>>;

// Reads a command's words: the options given (each at most once, with its value) and its
// one file, which `command` names in the message for a second one. Nothing where they
// are well formed, else the status of wrong usage, with the reason said.
std::optional<int> ReadWords(const std::vector<std::string>& args, const TValueOptions& options,
                             std::optional<std::string>& file, const std::string& command) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string>* target = nullptr;
        if (IsOption(arg, optionsEnded))
            for (const auto& [name, value] : options)
                if (arg == name) target = value;
        if (target) {
            if (*target) return WrongUsage(arg + " given twice");
            *target = OptionValue(args, i);
            if (!*target) return WrongUsage(arg + " needs a value");
        } else if (IsOption(arg, optionsEnded)) {
            return WrongUsage("unknown option " + arg);
        } else if (file) {
            return WrongUsage(command);
        } else {
            file = arg;
        }
    }
    return std::nullopt;
}

int Import(const std::vector<std::string>& args) {
    std::optional<std::string> data, output, units, from;
    if (const auto wrong = ReadWords(args, {{"-o", &output}, {"--units", &units}, {"--from", &from}}, data,
                                     "import takes one data file"))
        return *wrong;
    if (!data) return WrongUsage("import needs a data file");
    if (!output) return WrongUsage("import needs -o FILE.pru");
    if (units && *units != "m3h" && *units != "ls") return WrongUsage("--units is m3h or ls");
    // The project would replace the very data it was made from.
    if (SameExistingFile(*data, *output))
        return WrongUsage("the output " + *output +
                          " is the data file itself; give the project another name");

    TSession session(*data);
    TMainForm& form = *session.Form;
    if (from && !session.Read(*from)) return kFileFailed;
    if (units) {
        // The unit selected on the page when the import runs decides the inflow's column.
        form.Dispatch([&] { (*units == "m3h" ? form.m3hrRadio : form.lsRadio).Click(); });
    }
    bool imported = false;
    form.Dispatch([&] { imported = ImportHourlyFile(form, *data); });
    if (!imported) return kFileFailed;
    return session.Save(*output) ? kDone : kFileFailed;
}

int ImportLogger(const std::vector<std::string>& args) {
    std::string wrong;
    const auto command = ParseLoggerCommand(args, wrong);
    if (!command) return WrongUsage(wrong);
    const auto fail = [](const std::string& why) {
        std::cerr << "halvern-cli: error: " << TerminalText(why, true) << "\n";
        return kFileFailed;
    };
    if (command->List) {
        TLoggerOptions options;
        options.MonthFirst = command->MonthFirst;
        options.ZoneOffsetMinutes = command->ZoneOffsetMinutes;
        int status = kDone;
        for (std::size_t i = 0; i < command->ListFiles.size(); ++i) {
            const TLoggerFile file = ReadLoggerFile(command->ListFiles[i], options);
            if (!file.Ok()) {
                status = fail(file.Error);
                continue;
            }
            Out.Print((i ? "\n" : "") + TerminalText(LoggerListText(file), true));
        }
        return status;
    }
    // The project would replace a file of the measurements it is made from.
    for (const std::string& input : LoggerInputFiles(*command))
        if (SameExistingFile(input, *command->Output))
            return fail("the output " + *command->Output + " is the logger file " + input +
                        "; give the project another name. Nothing was written.");
    TSession session(*command->Output);
    TMainForm& form = *session.Form;
    if (command->From && !session.Read(*command->From)) return kFileFailed;
    TLoggerImportForm& logger = form.LoggerImport;
    if (const auto fault = SetUpLoggerImport(logger, *command)) return fail(*fault);
    const TLoggerPreview preview = logger.Preview();
    if (!preview.Ok()) return fail(preview.Refusal);
    Out.Print(TerminalText(LoggerHoursText(logger, preview), true));
    std::string refusal;
    if (preview.LowCoverage)
        refusal = "coverage too low; choose other days or lower --min-coverage:";
    else if (preview.ClockChange && !command->AcceptClockChange)
        refusal = "a chosen day has a clock change; choose other days or give --accept-clock-change:";
    if (!refusal.empty()) {
        for (const std::string& caution : preview.Cautions)
            refusal += "\n" + caution;
        return fail(refusal + "\nNothing was written.");
    }
    logger.AcceptCautions = true;
    logger.SetFlowHours = command->SetFlowHours;
    bool applied = false;
    form.Dispatch([&] { applied = logger.OkClick(); });
    if (!applied) return kFileFailed;
    return session.Save(*command->Output) ? kDone : kFileFailed;
}

int SaveDefaults(const std::vector<std::string>& args) {
    std::optional<std::string> output;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!optionsEnded && args[i] == "--") {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || args[i] != "-o") return WrongUsage("unknown argument " + args[i]);
        if (output) return WrongUsage("-o given twice");
        output = OptionValue(args, i);
        if (!output) return WrongUsage("-o needs a value");
    }
    if (!output) return WrongUsage("save-defaults needs -o FILE.pru");
    TSession session(*output);
    session.Form->Dispatch([&] { session.Form->actDataNewExec(); });
    return session.Save(*output) ? kDone : kFileFailed;
}

// "general,fixed" -> the sheets ticked; nullopt for a name that is no sheet.
std::optional<TReportChoice> SheetChoice(const std::string& list, std::string& unknown) {
    static const char* const kNames[ReportSheetKinds] = {"general", "current", "summary",    "fixed",
                                                         "time",    "flow",    "sensitivity"};
    TReportChoice choice{};
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string name = list.substr(start, comma - start);
        const auto* found = std::find(std::begin(kNames), std::end(kNames), name);
        if (found == std::end(kNames)) {
            unknown = name;
            return std::nullopt;
        }
        choice[static_cast<std::size_t>(found - std::begin(kNames))] = true;
        start = comma + 1;
    }
    return choice;
}

int Report(const std::vector<std::string>& args) {
    std::optional<std::string> project, output, sheets;
    if (const auto wrong = ReadWords(args, {{"-o", &output}, {"--sheets", &sheets}}, project,
                                     "report takes one project file"))
        return *wrong;
    if (!project) return WrongUsage("report needs a project file");
    if (!output) return WrongUsage("report needs -o OUT.xlsx");
    TReportChoice choice;
    choice.fill(true);
    if (sheets && sheets->empty())
        return WrongUsage(
            "--sheets names no sheet; name one or more of general,current,summary,fixed,time,flow");
    // The file is a workbook: a name without an extension gets .xlsx, as the dialog gives it;
    // another extension would mislead whoever opens the file.
    if (!HasExtension(*output)) {
        *output += ".xlsx";
    } else if (!IsWorkbookName(*output)) {
        return WrongUsage("the report is an Excel workbook; give -o a name ending in .xlsx, not " + *output);
    }
    if (sheets) {
        std::string unknown;
        const auto chosen = SheetChoice(*sheets, unknown);
        if (!chosen) return WrongUsage("--sheets: no sheet is called \"" + unknown + "\"");
        choice = *chosen;
    }
    // The workbook would replace the very project it reports.
    if (SameExistingFile(*project, *output))
        return WrongUsage("the output " + *output +
                          " is the project file itself; give the report another name");

    TSession session(*project);
    if (!session.Read(*project)) return kFileFailed;
    TMainForm& form = *session.Form;
    TSpreadsheetReport report(form);
    form.frmPrint.Exporter = &report;
    // The dialog as the user would leave it, then the run its "Create" starts.
    const auto boxes = form.frmPrint.CheckBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->Checked = choice[i];
    const std::string fileName = FullName(*output);
    session.Context = *output;
    // As the window's "Create" does: every sheet from one run of the whole analysis and costs.
    const bool ran = form.Dispatch([&] {
        form.RunAllOptionsAndCosts();
        report.ExportReport(form.frmPrint.Chosen(), fileName);
    });
    if (!ran || !report.HasLastReport()) return kFileFailed;
    Out.Print("Report written to: " + TerminalText(fileName) + "\n");
    // The report says which scenarios stopped; a script must not take it for a full result.
    if (form.AnalysisStopped()) {
        std::cerr << TerminalText(*project) << ": error: " << TerminalText(AnalysisStoppedText(form), true)
                  << "\n";
        return kFileFailed;
    }
    return kDone;
}

int Run(const std::vector<std::string>& args) {
    for (const std::string& arg : args) {
        if (arg == "--") break; // what follows is a file name, whatever it looks like
        if (arg == "--help" || arg == "-h") {
            Out.Print(kUsage);
            return kDone;
        }
    }
    if (args.empty()) return WrongUsage("no command given");
    // An empty file name (an unset shell variable) would only give "Cannot open file " and
    // nothing after it.
    for (std::size_t i = 0; i < args.size(); ++i)
        if (args[i].empty() && (i == 0 || args[i - 1] != "--sheets"))
            return WrongUsage("an argument is empty; a file name was expected");
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "show") return Show(rest);
    if (command == "summary") return Summary(rest, [](std::string_view text) { Out.Print(text); });
    if (command == "sensitivity") return Sensitivity(rest, [](std::string_view text) { Out.Print(text); });
    if (command == "import") return Import(rest);
    if (command == "import-logger") return ImportLogger(rest);
    if (command == "save-defaults") return SaveDefaults(rest);
    if (command == "report") return Report(rest);
    if (command == "suggest")
        return Suggest(
            rest, [](std::string_view text) { Out.Print(text); }, WrongUsage);
    if (command == "help") {
        Out.Print(kUsage);
        return kDone;
    }
    return WrongUsage("unknown command " + command);
}

} // namespace
} // namespace halvern::cli

int main(int argc, char** argv) {
    using namespace halvern::cli;
    // The user's thousands separator and money format, as the window uses them.
    std::setlocale(LC_ALL, "");
    halvern::PinNumberConventions();
    // What a killed save or report left is removed by the next one that finds it.
    halvern::UseLeftoverRecord(halvern::DefaultLeftoverRecord());
    int status = kFileFailed;
    try {
        status = Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "halvern-cli: " << TerminalText(e.what(), true) << "\n";
    }
    // Output that did not all reach its place fails the command, whatever it did.
    if (const int error = Out.Finish(); error != 0) {
        std::cerr << "halvern-cli: cannot write the output: " << std::strerror(error) << "\n";
        return kFileFailed;
    }
    return status;
}
