// halvern-cli suggest: reads the project as "Read data" does, suggests each valve's lowest
// setting that holds the minimum pressure, prints it beside the current one and, when
// asked, writes the project with the suggestions as "Save data" would.
#include "Suggest.h"

#include "Json.h"
#include "Views.h"

#include "forms/MainForm.h"
#include "forms/ProjectDocument.h"
#include "io/FileAccess.h"
#include "model/Numbers.h"

#include <iostream>
#include <optional>

namespace halvern::cli {
namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;

// Display width of a UTF-8 text (the "³" is one column).
std::size_t Width(const std::string& text) {
    std::size_t n = 0;
    for (unsigned char ch : text)
        if ((ch & 0xC0) != 0x80) ++n;
    return n;
}

std::string Pad(const std::string& text, std::size_t width, bool right) {
    const std::size_t w = Width(text);
    const std::string fill(w < width ? width - w : 0, ' ');
    return right ? fill + text : text + fill;
}

} // namespace

std::string SuggestionText(const std::array<TValveSuggestion, ValveCount>& suggestions) {
    std::string out;
    for (const TValveSuggestion& s : suggestions) {
        out += std::string(out.empty() ? "" : "\n") + ValveName(s.Valve) + "\n";
        const std::vector<TSuggestionRow> rows = SuggestionRows(s);
        std::size_t w0 = 0, w1 = Width("Current"), w2 = Width("Suggested");
        for (const TSuggestionRow& r : rows) {
            w0 = std::max(w0, Width(r.Name));
            w1 = std::max(w1, Width(r.Current));
            w2 = std::max(w2, Width(r.Suggested));
        }
        out += "  " + Pad("", w0, false) + "  " + Pad("Current", w1, true) + "  " +
               Pad("Suggested", w2, true) + "\n";
        for (const TSuggestionRow& r : rows)
            out += "  " + Pad(r.Name, w0, false) + "  " + Pad(r.Current, w1, true) + "  " +
                   Pad(r.Suggested, w2, true) + "\n";
        if (!s.Note.empty()) out += "  " + s.Note + "\n";
        if (!s.ShortHours.empty()) out += "  Hours below the minimum: " + ShortHoursText(s.ShortHours) + "\n";
    }
    const std::optional<TValve> first = FirstToPayBack(suggestions);
    out +=
        std::string("\nPays back first: ") + (first ? ValveName(*first) : "none of the suggestions") + "\n";
    return out;
}

std::string SuggestionJson(const std::array<TValveSuggestion, ValveCount>& suggestions) {
    const auto setting = [](const TValveSuggestion& s, const TValveSetting& v) {
        switch (s.Valve) {
        case TValve::Fixed:
            return "{\"outlet\": " + JsonString(v.Outlet) + "}";
        case TValve::Time:
            return "{\"high\": " + JsonString(v.High) + ", \"low\": " + JsonString(v.Low) +
                   ", \"intervals\": " + std::to_string(v.Intervals) +
                   ", \"windows\": " + JsonString(v.Intervals > 0 ? WindowsText(v) : "") + "}";
        case TValve::Flow:
            return "{\"low_target\": " + JsonString(v.LowTarget) +
                   ", \"high_target\": " + JsonString(v.HighTarget) + "}";
        }
        return std::string("{}");
    };
    const auto result = [](const TValveResult& r) {
        return "{\"dep\": " + JsonString(r.Dep) + ", \"indep\": " + JsonString(r.Indep) +
               ", \"tot\": " + JsonString(r.Tot) + ", \"saving_m3a\": " + JsonString(r.VolumeSaving) +
               ", \"saving_ra\": " + JsonString(r.MoneySaving) + ", \"payback\": " + JsonString(r.Payback) +
               ", \"holds_minimum\": " + JsonBool(r.HoldsMinimum) + "}";
    };
    std::string out = "{\n  \"valves\": [";
    for (std::size_t i = 0; i < suggestions.size(); ++i) {
        const TValveSuggestion& s = suggestions[i];
        out += std::string(i ? "," : "") + "\n    {\"valve\": " + JsonString(ValveName(s.Valve)) +
               ", \"feasible\": " + JsonBool(s.Feasible) +
               ", \"windows_chosen\": " + JsonBool(s.WindowsChosen) +
               ",\n     \"current\": " + setting(s, s.Current) +
               ", \"current_result\": " + result(s.CurrentResult);
        if (s.Feasible)
            out += ",\n     \"suggested\": " + setting(s, s.Suggested) +
                   ", \"suggested_result\": " + result(s.SuggestedResult);
        out += ",\n     \"note\": " + JsonString(s.Note) + ", \"short_hours\": [";
        for (std::size_t k = 0; k < s.ShortHours.size(); ++k)
            out += std::string(k ? ", " : "") + "{\"hour\": " + JsonString(s.ShortHours[k].Hour) +
                   ", \"critical\": " + JsonNumber(s.ShortHours[k].Critical) +
                   ", \"below_by\": " + JsonNumber(s.ShortHours[k].By) + "}";
        out += "]}";
    }
    const std::optional<TValve> first = FirstToPayBack(suggestions);
    out += "\n  ],\n  \"pays_back_first\": " + (first ? JsonString(ValveName(*first)) : std::string("null")) +
           "\n}\n";
    return out;
}

int Suggest(const std::vector<std::string>& args, const std::function<void(std::string_view)>& print,
            const std::function<int(const std::string&)>& wrongUsage) {
    bool json = false, windows = false, apply = false, optionsEnded = false;
    std::optional<std::string> file, output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool option = !optionsEnded && arg.size() > 1 && arg[0] == '-';
        if (!optionsEnded && arg == "--")
            optionsEnded = true;
        else if (option && arg == "--json")
            json = true;
        else if (option && arg == "--windows")
            windows = true;
        else if (option && arg == "--apply")
            apply = true;
        else if (option && arg == "-o") {
            if (output) return wrongUsage("-o given twice");
            if (i + 1 >= args.size()) return wrongUsage("-o needs a value");
            output = args[++i];
        } else if (option)
            return wrongUsage("unknown option " + arg);
        else if (file)
            return wrongUsage("suggest takes one project file");
        else
            file = arg;
    }
    if (!file) return wrongUsage("suggest needs a project file");
    if (apply && !output) return wrongUsage("--apply needs -o OUT.pru");
    if (output && !apply) return wrongUsage("-o is given with --apply");

    TScriptedDialogs dialogs;
    std::string context = *file;
    dialogs.OnMessage = [&](const TRecordedMessage& m) {
        std::cerr << TerminalText(context) << ": " << MessageTypeName(m.Type) << ": "
                  << TerminalText(m.Text, true) << "\n";
    };
    TMainForm form(dialogs);
    form.Dispatch([&] { form.FormShow(); });
    TReadOutcome outcome = TReadOutcome::Read;
    // The names as every other command opens them: ".." after a link is the system's to follow.
    form.Dispatch([&] { outcome = ReadProjectFile(form, AbsoluteFileName(*file)); });
    if (outcome != TReadOutcome::Read) return kFailed;

    TSuggestOptions options;
    options.ChooseWindows = windows;
    const std::array<TValveSuggestion, ValveCount> suggestions = SuggestAll(form, options);
    print(json ? SuggestionJson(suggestions) : SuggestionText(suggestions));

    bool allFeasible = true;
    for (const TValveSuggestion& s : suggestions)
        allFeasible = allFeasible && s.Feasible;

    if (apply) {
        for (const TValveSuggestion& s : suggestions)
            if (s.Feasible) ApplySetting(form, s.Valve, s.Suggested);
        context = *output;
        bool saved = false;
        form.Dispatch([&] { saved = SaveProjectFile(form, AbsoluteFileName(*output)); });
        if (!saved) return kFailed;
        if (!json) print(form.StatusBar1.SimpleText + "\n");
    }
    return allFeasible ? kDone : kFailed;
}

} // namespace halvern::cli
