// The ".pru" project file: 277 lines, one value per line in a fixed order, the position
// of a line being its meaning. This file turns a project into that text and back; it
// knows nothing of windows (ProjectDocument applies a parsed file to the main window).
#pragma once
#include "model/Project.h"
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace halvern {

constexpr int ProjectFileLines = 277;
constexpr int N1FileRows = 4;      // N1Grid rows 2..5
constexpr int N1FileCols = 6;      // N1Grid columns 1..6
constexpr int TimeOutletRows = 23; // TimePRVGrid column 2, rows 2..24 (the 23:00 row is not kept)

// Everything a project file holds: the record's saved fields, the two memos' first four
// lines, and the texts of the two tables that are part of the project.
struct TProjectFileData {
    TProject Values;
    std::array<std::string, 4> CollectLines{};
    std::array<std::string, 4> AnalysisLines{};
    std::array<std::array<std::string, N1FileCols>, N1FileRows> N1Cells{}; // [row - 2][col - 1]
    std::array<std::string, TimeOutletRows> TimeOutlets{};                 // [row - 2]
};

// The longest text a project may hold on one line (a name, a memo line, a cost item): what
// a spreadsheet cell holds. A file with a longer one is refused as of an invalid format.
constexpr std::size_t MaxTextCharacters = 32767;

enum class TProjectParseError { None, InvalidDataFile, InvalidFormat };

struct TProjectParse {
    TProjectParseError Error = TProjectParseError::None;
    TProjectFileData Data;
    int ErrorLine = 0;       // InvalidFormat: the line of the value that cannot be read
    std::string ErrorReason; // and what is wrong with it ("\"1,5\" is not a number")
    int EndedAfterLine = 0;  // a file that ended early: its last line (0 for a complete file)
};

// The 277 lines of the project, each ended by CR LF, as UTF-8 text (the caller chooses the
// code page on writing).
std::string FormatProjectFile(const TProjectFileData& data);

// Reads the text of a project file (already decoded to UTF-8) completely. The first line must
// be the version tag. Numbers are read token by token, skipping blank space and line ends; a
// file that ends early reads missing numbers as 0 and missing texts as empty, but a missing time
// line is as unreadable as a number token that does not parse. In hourly mode (an interval
// count of 0 or less) the hourly outlet pressures are numbers like any other: each line's first
// token must be one, and it becomes the cell's text.
TProjectParse ParseProjectFile(std::string_view text);

// "Invalid file format encountered." and, on the next line, the line and what is wrong there.
std::string InvalidFormatMessage(const TProjectParse& parse);

// The warning after a file that ended early was read: "FILE ended after line N; the values
// after it were read as 0."
std::string EndedEarlyMessage(const TProjectParse& parse, const std::string& fileName);

// The first hourly outlet pressure that a file in hourly mode could not hold as a number:
// its index (0 for 00:00), or -1 when all can be saved (or the project is not in hourly mode).
int FirstUnsavableOutlet(const TProjectFileData& data);

// The value forms of the file.
std::string FileFixed(double value);      // 2.0 -> "2.000"
std::string FileWidth5(int32_t value);    // 100 -> "  100"
std::string FileScientific(double value); // 0.125 -> " 1.25000000000000E-0001"
std::string FileBoolean(bool value);      // "TRUE" / "FALSE"

} // namespace halvern
