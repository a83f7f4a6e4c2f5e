// The pages of the main window, each built from Qt layouts over the form's controls.
#pragma once
#include "forms/MainForm.h"
#include "forms/ValveSuggestion.h"
#include <optional>

class QWidget;
class QPushButton;

namespace halvern {

class TViewBinder;

// "Data Input": "General Info", "Default Parameters", "Flow and Pressure".
QWidget* BuildGeneralSheet(TViewBinder& binder);
QWidget* BuildPropertySheet(TViewBinder& binder);
QWidget* BuildFlowSheet(TViewBinder& binder);
// The "Tabulated" pages of the result tabs.
QWidget* BuildCurrentTabulatedSheet(TViewBinder& binder);
QWidget* BuildFixedTabulatedSheet(TViewBinder& binder);
QWidget* BuildTimeTabulatedSheet(TViewBinder& binder);
QWidget* BuildFlowTabulatedSheet(TViewBinder& binder);
// A "Graphical" page: the "Graph properties" strip above the chart, which is created
// the first time the page is seen and redrawn whenever the chart model changes.
QWidget* BuildGraphSheet(TViewBinder& binder, TTabSheet& sheet, TButton& button, TChart& chart,
                         int chartHelpContext);
// "Suggest" of a valve page, or "Suggest all" (no valve): opens the suggestion window.
QPushButton* MakeSuggestButton(TViewBinder& binder, std::optional<TValve> valve, const char* caption,
                               const char* objectName);
// "Summary": the cost inputs above the Summary's pages; "Cost Summary": the summary table and
// the note; "N1 Sensitivity": the sweep's range, table, charts and sentences.
QWidget* BuildSummarySheet(TViewBinder& binder, QWidget* pages);
QWidget* BuildCostSummarySheet(TViewBinder& binder);
QWidget* BuildN1SensitivitySheet(TViewBinder& binder);

} // namespace halvern
