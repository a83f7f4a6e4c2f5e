// halvern-cli: the program's core without its window. It reads, shows, imports and saves
// projects exactly as the window's commands do; the messages the window would put in boxes
// go to standard error, and a warning is answered OK.
#include "Views.h"

#include "forms/MainForm.h"
#include "io/FileAccess.h"
#include "forms/HourlyImportCommand.h"
#include "forms/ProjectDocument.h"

#include <clocale>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

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
    "  halvern-cli import DATA.txt -o FILE.pru [--units m3h|ls] [--from FILE.pru]\n"
    "      Imports hourly data (inflow, inlet, AZP and critical point pressure, each field\n"
    "      ended by a comma) into a new project, or into the one given, and saves it.\n"
    "  halvern-cli save-defaults -o FILE.pru\n"
    "      Saves the new project as \"Save data\" would write it.\n"
    "  halvern-cli --help\n"
    "\n"
    "Messages that the window shows in message boxes are written to standard error.\n"
    "Exit status: 0 done, 1 a file could not be read or written, 2 wrong usage.\n";

int WrongUsage(const std::string& why) {
    std::cerr << "halvern-cli: " << why << "\n\n" << kUsage;
    return kWrongUsage;
}

// The window's full name for a file, as the file dialogs give it.
std::string FullName(const std::string& fileName) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(fileName, ec);
    return ec ? fileName : full.lexically_normal().string();
}

// A freshly started program: the window created and shown, its message boxes printed, each
// under the name of the file the command was working on when it appeared.
struct TSession {
    TScriptedDialogs Dialogs;
    std::unique_ptr<TMainForm> Form;
    std::string Context;
    explicit TSession(std::string context) : Context(std::move(context)) {
        Dialogs.OnMessage = [this](const TRecordedMessage& m) {
            std::cerr << Context << ": " << MessageTypeName(m.Type) << ": " << m.Text << "\n";
        };
        Form = std::make_unique<TMainForm>(Dialogs);
        Form->FormShow();
    }
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    // "Read data" with this file; false when the file was not read (an error of the
    // recalculation afterwards does not count: the project was read).
    bool Read(const std::string& fileName) {
        const std::string saved = std::exchange(Context, fileName);
        TReadOutcome outcome = TReadOutcome::Read;
        const std::string fullName = FullName(fileName);
        Form->Dispatch([&] { outcome = ReadProjectFile(*Form, fullName); });
        // The window's message names the file; a terminal user also wants to know why.
        if (outcome == TReadOutcome::CannotOpen) {
            const std::string why = ReadFileBytes(fullName).SystemError;
            if (!why.empty()) std::cerr << Context << ": " << why << "\n";
        }
        Context = saved;
        return outcome == TReadOutcome::Read;
    }
    bool Save(const std::string& fileName) {
        bool saved = false;
        std::string why;
        Form->Dispatch([&] { saved = SaveProjectFile(*Form, FullName(fileName), &why); });
        if (saved) std::cout << Form->StatusBar1.SimpleText << "\n";
        if (!why.empty()) std::cerr << fileName << ": " << why << "\n";
        return saved;
    }
};

int Show(const std::vector<std::string>& args) {
    bool json = false;
    std::vector<std::string> files;
    for (const std::string& arg : args) {
        if (arg == "--json")
            json = true;
        else if (arg.size() > 1 && arg[0] == '-')
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
        if (!read) status = kFileFailed;
        if (json) {
            std::cout << WindowJson(*session.Form, session.Dialogs);
        } else if (read) {
            std::cout << (i ? "\n" : "") << SummaryText(*session.Form, files[i]);
        }
    }
    return status;
}

// Takes the value of an option such as "-o FILE"; nullopt when it is missing.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i) {
    if (i + 1 >= args.size()) return std::nullopt;
    return args[++i];
}

int Import(const std::vector<std::string>& args) {
    std::optional<std::string> data, output, units, from;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::optional<std::string>* target = arg == "-o"        ? &output
                                             : arg == "--units" ? &units
                                             : arg == "--from"  ? &from
                                                                : nullptr;
        if (target) {
            if (*target) return WrongUsage(arg + " given twice");
            *target = OptionValue(args, i);
            if (!*target) return WrongUsage(arg + " needs a value");
        } else if (arg.size() > 1 && arg[0] == '-') {
            return WrongUsage("unknown option " + arg);
        } else if (data) {
            return WrongUsage("import takes one data file");
        } else {
            data = arg;
        }
    }
    if (!data) return WrongUsage("import needs a data file");
    if (!output) return WrongUsage("import needs -o FILE.pru");
    if (units && *units != "m3h" && *units != "ls") return WrongUsage("--units is m3h or ls");

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

int SaveDefaults(const std::vector<std::string>& args) {
    std::optional<std::string> output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "-o") return WrongUsage("unknown argument " + args[i]);
        if (output) return WrongUsage("-o given twice");
        output = OptionValue(args, i);
        if (!output) return WrongUsage("-o needs a value");
    }
    if (!output) return WrongUsage("save-defaults needs -o FILE.pru");
    TSession session(*output);
    session.Form->Dispatch([&] { session.Form->actDataNewExec(); });
    return session.Save(*output) ? kDone : kFileFailed;
}

int Run(const std::vector<std::string>& args) {
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return kDone;
        }
    if (args.empty()) return WrongUsage("no command given");
    // An empty file name (an unset shell variable) would only give "Cannot open file " and
    // nothing after it.
    for (const std::string& arg : args)
        if (arg.empty()) return WrongUsage("an argument is empty; a file name was expected");
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (command == "show") return Show(rest);
    if (command == "import") return Import(rest);
    if (command == "save-defaults") return SaveDefaults(rest);
    if (command == "help") {
        std::cout << kUsage;
        return kDone;
    }
    return WrongUsage("unknown command " + command);
}

} // namespace
} // namespace halvern::cli

int main(int argc, char** argv) {
    // The user's thousands separator and money format, as the window uses them.
    std::setlocale(LC_ALL, "");
    try {
        return halvern::cli::Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::cerr << "halvern-cli: " << e.what() << "\n";
        return halvern::cli::kFileFailed;
    }
}
