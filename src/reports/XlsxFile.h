// Saves the report's workbook as one .xlsx file with libxlsxwriter. The file is replaced
// only when the whole workbook has been written; a workbook that cannot be written, or a
// file that cannot be replaced, leaves the old file as it was.
#pragma once
#include "reports/Workbook.h"
#include <string>

namespace halvern {

// The file could not be written; what() is the reason in the system's words.
class EReportWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The bytes of the .xlsx file of the workbook. Throws EReportError when a chart cannot be
// given its second axis, EReportWriteError when the temporary files cannot be written.
std::string XlsxBytes(const TWorkbook& book);

// XlsxBytes, written over the file through a new file beside it.
void SaveWorkbookAs(const TWorkbook& book, const std::string& fileName);

} // namespace halvern
