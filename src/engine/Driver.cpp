// The analysis driver: the two composite runs. What runs when an input changes or a page is
// shown is decided by the window's handlers (forms/InputHandlers.cpp).
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Messages.h"

namespace halvern {

// ---- composite runs ------------------------------------------------------------------

void TMainForm::DoMainCalcs() {
    bool errorsFound = true;
    GetTheData(errorsFound);
    if (!errorsFound) CalcNightLoss();
}

void TMainForm::RunAllOptions() {
    // The current situation first: every PRV scenario reads its hourly results.
    using enum TAnalysisScenario;
    int reached = -1;
    try {
        reached = 0;
        Calculate(CurrentSituation);
        reached = 1;
        Calculate(FixedOutlet);
        reached = 2;
        Calculate(TimeModulated);
        N1CalculationForm.GetNewN1();
        reached = 3;
        Calculate(FlowModulated);
    } catch (...) {
        // What the stop left uncalculated shows the results of an earlier run, or none.
        for (int later = reached + 1; later < AnalysisScenarios; ++later)
            ScenarioFailure[static_cast<std::size_t>(later)] = Msg::ScenarioNotReached;
        throw;
    }
}

void TMainForm::Calculate(TAnalysisScenario scenario) {
    std::string& failure = ScenarioFailure[static_cast<std::size_t>(scenario)];
    try {
        switch (scenario) {
        case TAnalysisScenario::CurrentSituation:
            CalcCurrentSituation();
            break;
        case TAnalysisScenario::FixedOutlet:
            CalcFixedPRV();
            break;
        case TAnalysisScenario::TimeModulated:
            CalcTimePRV();
            break;
        case TAnalysisScenario::FlowModulated:
            CalcFlowPRV();
            break;
        }
    } catch (const std::exception& e) {
        ShowCalculationMessages();
        failure = e.what();
        throw;
    } catch (...) {
        ShowCalculationMessages();
        failure = Msg::InternalError;
        throw;
    }
    failure.clear();
    ShowCalculationMessages();
}

void TMainForm::RecordFlowTimeWarning(std::string text) {
    CalculationMessages.push_back({true, std::move(text)});
}

void TMainForm::RecordCalculationError(std::string text) {
    CalculationMessages.push_back({false, std::move(text)});
}

void TMainForm::ShowCalculationMessages() {
    std::vector<TCalculationMessage> messages;
    messages.swap(CalculationMessages);
    for (const TCalculationMessage& message : messages) {
        if (!message.FlowTimeWarning) {
            Dialogs.Error(message.Text);
            continue;
        }
        // "Ignore" ticks the box that disables these warnings: the next one is not shown.
        if (TimeWarnCheckBox.Checked) continue;
        if (Dialogs.WarningOKIgnore(message.Text) == TModalResult::Ignore) TimeWarnCheckBox.Checked = true;
    }
}

bool TMainForm::AnalysisStopped() const {
    for (const std::string& failure : ScenarioFailure)
        if (!failure.empty()) return true;
    return false;
}

void TMainForm::MarkUncalculatedCostRows() {
    using namespace CostSummaryLayout;
    const bool currentStopped = !FailureOf(TAnalysisScenario::CurrentSituation).empty();
    for (int row = CurrentRow; row <= FlowRow; ++row) {
        // Every valve's savings are counted from the current situation.
        const auto scenario = static_cast<TAnalysisScenario>(row - CurrentRow);
        if (!currentStopped && FailureOf(scenario).empty()) continue;
        for (int col = InflowCol; col < ColCount; ++col)
            if (col != ImplementationCol) CostSummaryGrid.SetCell(col, row, "");
        CostSummaryGrid.SetCell(InflowCol, row, Msg::CostRowNotCalculated);
    }
}

} // namespace halvern
