// The seven sheets of the report, each written by its own writer into the context's workbook.
#pragma once
#include "reports/SheetFrame.h"

namespace halvern {

void WriteGeneralData(TSheetContext& context);      // GeneralDataSheet.cpp
void WriteCurrentSituation(TSheetContext& context); // CurrentSituationSheet.cpp
void WriteSummary(TSheetContext& context);          // SummarySheet.cpp
void WriteFixedOutlet(TSheetContext& context);      // FixedOutletSheet.cpp
void WriteTimeModulated(TSheetContext& context);    // TimeModulatedSheet.cpp
void WriteFlowModulated(TSheetContext& context);    // FlowModulatedSheet.cpp
void WriteN1Sensitivity(TSheetContext& context);    // N1SensitivitySheet.cpp

} // namespace halvern
