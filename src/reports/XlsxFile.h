// Saves the report's workbook as one .xlsx file with libxlsxwriter. The file is replaced
// only when the whole workbook has been written; a workbook that cannot be written, or a
// file that cannot be replaced, leaves the old file as it was.
#pragma once
#include "reports/Workbook.h"
#include <string>
#include <vector>

namespace halvern {

// The file could not be written; what() is the reason in the system's words.
class EReportWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What had to change in the texts for the file to hold them ("General Data G4: ..."), for
// the user to be told; empty when every text went in as it was.
using TWriteNotes = std::vector<std::string>;

// The bytes of the .xlsx file of the workbook, every number in the file's own notation
// whatever the locale of the process or the thread. Throws EReportError when a chart cannot
// be given its second axis or a part of the file would not be well-formed XML,
// EReportWriteError when the temporary files cannot be written.
std::string XlsxBytes(const TWorkbook& book, TWriteNotes* notes = nullptr);

// XlsxBytes, written over the file through a new file beside it.
TWriteNotes SaveWorkbookAs(const TWorkbook& book, const std::string& fileName);

} // namespace halvern
