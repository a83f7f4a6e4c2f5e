// halvern-cli summary: one record per project, for comparing many zones at once.
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace halvern::cli {

// What one project's record says, every value as the window shows it after "Read data".
struct TProjectSummary {
    std::string File;                  // as given on the command line
    std::string Error;                 // why the project could not be read; empty when it was
    std::vector<std::string> Values;   // the texts of SummaryColumns(), in that order
    std::vector<std::string> Messages; // the message boxes of the reading, in order
};

// The names of the value columns, in record order (the file, error and messages columns
// come before and after them).
const std::vector<std::string>& SummaryColumns();

// Reads one project into a window of its own and collects its record.
TProjectSummary SummariseProject(const std::string& fileName);

// The record as a CSV line (RFC 4180, numbers without group separators) and the header.
std::string SummaryCsvHeader();
std::string SummaryCsvRecord(const TProjectSummary& summary);
// The record as one JSON line.
std::string SummaryJsonRecord(const TProjectSummary& summary);

// A value as the records write it: a number the window shows with the user's separators
// ("182,625") plainly ("182625"); whether a text is a JSON number as it stands.
std::string RecordNumber(const std::string& shown);
bool RecordJsonNumber(const std::string& text);
// A field of CSV as a spreadsheet and a terminal must take it: a text (a file name, a zone
// name, the messages) never as a formula and without control characters, quoted where it
// must be; a value a number as it stands, any other value as a text.
std::string RecordCsvText(const std::string& text);
std::string RecordCsvValue(const std::string& value);

// The command: summary FILE.pru... [--csv | --json] [-j N]; the records go to `print`.
int Summary(const std::vector<std::string>& args, const std::function<void(std::string_view)>& print);

} // namespace halvern::cli
