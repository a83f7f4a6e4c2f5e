// What halvern-cli prints about a project read into the main window: the window's state
// as one JSON object, or an engineer's one-screen summary as aligned plain-text tables.
#pragma once
#include "forms/Dialogs.h"
#include "forms/MainForm.h"
#include <string>
#include <string_view>

namespace halvern::cli {

// The window as a user would see it after "Read data": caption, status line, the messages
// in the order shown, every edit, memo, picker, check, label, table and the derived values.
std::string WindowJson(TMainForm& form, const TScriptedDialogs& dialogs);

// Zone identification, night flow components, the current situation with its checks, the
// three valve scenarios and the cost-benefit table.
std::string SummaryText(TMainForm& form, const std::string& fileName);

// "The analysis stopped on an error (Flow Modulated: Floating point overflow)": what the
// report and the summary say when a scenario could not be calculated; one line.
std::string AnalysisStoppedText(const TMainForm& form);

// The type of a message box in the words of the JSON and the standard error output.
std::string MessageTypeName(TMsgDlgType type);

// A text as a terminal may print it: control characters (a title, colour or bell sequence
// hidden in a project), DEL, the C1 controls, the bidirectional controls that reorder what
// is shown (U+202E) and bytes that are not UTF-8 are written as visible escapes ("\x1b",
// "\u009b", "\u202e"); line feeds are kept when keepLineFeeds is set.
std::string TerminalText(std::string_view text, bool keepLineFeeds = false);

} // namespace halvern::cli
