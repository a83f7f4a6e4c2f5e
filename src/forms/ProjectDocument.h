// Reading and saving the project of the main window: the "Read data" and "Save data"
// commands once their dialog has given a file name. A file is parsed completely before
// anything changes, and saved through a new file that replaces the old one only when whole.
#pragma once
#include "io/ProjectFile.h"
#include <string>
#include <string_view>

namespace halvern {

class TMainForm;

enum class TReadOutcome {
    Read,            // read and applied (an analysis error afterwards was shown, the data stand)
    CannotOpen,      // "Cannot open file ..." (or "Cannot read file ..."), with the reason
    InvalidDataFile, // "Invalid data file.\nUnable to read data."
    InvalidFormat,   // "Invalid file format encountered.", with the line
};

// Reads a project file into the window: messages, record, controls, tables, status line,
// caption, then the full recalculation and the costs. An error of the recalculation ends it
// as any handler's error would (the caller's dispatch shows it); the data read stay.
TReadOutcome ReadProjectFile(TMainForm& form, const std::string& fileName);

// The same, for the bytes of a file already read; fileName is what the status line and the
// caption show.
TReadOutcome ReadProjectBytes(TMainForm& form, std::string_view bytes, const std::string& fileName);

// Collects the inputs (GetTheData) and writes the project. False when the inputs were
// refused (their message shown) or the file could not be written ("Cannot open file ..." or
// "Cannot write file ...", with the reason).
bool SaveProjectFile(TMainForm& form, const std::string& fileName);

// What the window would write: the record, the memos and the two tables of the project.
TProjectFileData CollectProjectData(TMainForm& form);

// Puts a parsed file into the window in the order of the file's lines (the record, the
// memos, the elevation edits, the warning check box, the N1 and outlet tables, the
// flow-modulation edits, the capital costs table). Errors of the change handlers it runs
// are shown and do not stop it, so the project is never left half-read.
void ApplyProjectData(TMainForm& form, const TProjectFileData& data);

} // namespace halvern
