// The result charts drawn from their tables, and the Graph Properties dialog that
// chooses their series and axis maxima.
#include "forms/MainForm.h"
#include "forms/TableLayouts.h"
#include "model/Numbers.h"
#include <gtest/gtest.h>

using namespace halvern;
namespace Current = CurrentGridLayout;
namespace PRV = PRVGridLayout;

namespace {

class ChartTest : public ::testing::Test {
protected:
    TScriptedDialogs dialogs;
    TMainForm form{dialogs};

    // A result table of 24 hours: hour labels in column 0, and in column c of hour h the
    // value c * 100 + h, so that every point tells where it came from.
    static void FillTable(TMarkStringGrid& grid, int columns) {
        grid.SetColCount(columns);
        grid.SetRowCount(26);
        for (int h = 0; h < 24; ++h) {
            const std::string hour = (h < 10 ? "0" : "") + std::to_string(h);
            grid.SetCell(PRV::HourCol, PRV::HourRow(h), hour + ":00 - " + hour + ":59");
            for (int c = 1; c < columns; ++c)
                grid.SetCell(c, h + 2, FormatFixed(c * 100 + h, 5, 2));
        }
    }

    static std::vector<std::string> DayLabels() {
        std::vector<std::string> labels;
        for (int h = 0; h <= 24; ++h)
            labels.push_back((h < 10 ? "0" : "") + std::to_string(h));
        return labels;
    }

    std::vector<TChart*> AllCharts() {
        return {&form.CurrentChart, &form.FixedPRVChart, &form.TimePRVChart, &form.FlowPRVChart};
    }

    static std::vector<bool> Shown(const TChart& chart) {
        std::vector<bool> shown;
        for (const TChartSeries& s : chart.Series)
            shown.push_back(s.Active);
        return shown;
    }

    // The window as a user sees it once a result page's "Graphical" sub-page is open,
    // without running the scenario's calculation (the tests fill the tables themselves).
    void ShowWithoutEvents(TTabSheet& resultSheet) {
        form.MainPage.InitActivePage(resultSheet);
        form.MainPage.WindowVisible = true;
    }
};

TEST_F(ChartTest, ChartsAreDesignedWithTheirSeriesAxesAndTitles) {
    EXPECT_EQ(form.CurrentChart.Title, "Current Situation");
    EXPECT_EQ(form.FixedPRVChart.Title, "Fixed PRV Outlet");
    EXPECT_EQ(form.TimePRVChart.Title, "Time Modulated PRV Outlet");
    EXPECT_EQ(form.FlowPRVChart.Title, "Flow Modulated PRV Outlet");
    for (TChart* chart : AllCharts()) {
        EXPECT_EQ(chart->BottomAxis.Title, "hours");
        EXPECT_EQ(chart->LeftAxis.Title, "Pressure (m)");
        EXPECT_EQ(chart->RightAxis.Title, "Flow (m³/hr)");
        EXPECT_FALSE(chart->RightAxis.Grid);
        EXPECT_TRUE(chart->LeftAxis.Automatic);
        EXPECT_TRUE(chart->RightAxis.Automatic);
    }

    // Inlet, AZP and critical pressure and the zone inflow are shown at first.
    const TChart& current = form.CurrentChart;
    ASSERT_EQ(current.Series.size(), 6u);
    EXPECT_EQ(Shown(current), (std::vector<bool>{true, true, true, true, false, false}));
    EXPECT_EQ(current.Series[3].Title, "Zone Inflow");
    EXPECT_EQ(current.Series[3].Axis, TSeriesAxis::Right);
    EXPECT_EQ(current.Series[3].Column, 6);
    EXPECT_EQ(current.Series[3].Pointer, TPointerStyle::DownTriangle);
    EXPECT_EQ(current.Series[4].Colour, RGB(255, 128, 0)); // orange
    EXPECT_EQ(current.Series[5].Colour, clFuchsia);
    EXPECT_EQ(current.Series[5].LineStyle, TLineStyle::DashDotDot);

    for (TChart* chart : {&form.FixedPRVChart, &form.TimePRVChart, &form.FlowPRVChart}) {
        ASSERT_EQ(chart->Series.size(), 9u);
        EXPECT_EQ(Shown(*chart),
                  (std::vector<bool>{true, true, true, true, false, false, true, false, false}));
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(chart->Series[i].Column, i + 1);
        EXPECT_EQ(chart->Series[1].Title, "PRV Outlet pressure");
        EXPECT_EQ(chart->Series[1].Pointer, TPointerStyle::Diamond);
        EXPECT_EQ(chart->Series[5].Title, "Critical Point Head loss");
        EXPECT_EQ(chart->Series[5].Colour, clYellow);
    }
    // Rose and black consumption flows, except orange and fuchsia in the flow-modulated chart.
    EXPECT_EQ(form.FixedPRVChart.Series[7].Colour, RGB(255, 0, 128));
    EXPECT_EQ(form.TimePRVChart.Series[8].Colour, clBlack);
    EXPECT_EQ(form.FlowPRVChart.Series[7].Colour, RGB(255, 128, 0));
    EXPECT_EQ(form.FlowPRVChart.Series[8].Colour, clFuchsia);
}

TEST_F(ChartTest, ADayIsDrawnAs25PointsFrom00To24EndingWhereItBegan) {
    FillTable(form.CurrentGrid, 9);
    int changes = 0;
    form.CurrentChart.OnChanged = [&] { ++changes; };
    ASSERT_TRUE(form.Dispatch([&] { form.GraphicalSheetShow(); }));
    EXPECT_TRUE(form.GraphicalSheet.Highlighted);
    EXPECT_GE(changes, 1);

    for (const TChartSeries& s : form.CurrentChart.Series) {
        SCOPED_TRACE(s.Title);
        ASSERT_EQ(s.Values.size(), 25u);
        EXPECT_EQ(s.Labels, DayLabels());
        EXPECT_DOUBLE_EQ(s.Values[0], s.Column * 100);
        EXPECT_DOUBLE_EQ(s.Values[23], s.Column * 100 + 23);
        EXPECT_DOUBLE_EQ(s.Values[24], s.Values[0]);
    }

    // Drawing again starts afresh rather than adding to the old points.
    form.CurrentGrid.SetCell(Current::InletCol, Current::HourRow(0), "7");
    form.DrawChart(form.CurrentChart, form.CurrentGrid);
    EXPECT_EQ(form.CurrentChart.Series[0].Values.size(), 25u);
    EXPECT_DOUBLE_EQ(form.CurrentChart.Series[0].Values.front(), 7);
    EXPECT_DOUBLE_EQ(form.CurrentChart.Series[0].Values.back(), 7);
}

TEST_F(ChartTest, PRVChartsSkipEmptyCellsWhereTheCurrentSituationStops) {
    // The PRV charts' hour with no outlet pressure simply has no point.
    FillTable(form.FixedPRVGrid, 10);
    form.FixedPRVGrid.SetCell(PRV::OutletCol, PRV::HourRow(3), "");
    form.FixedPRVGrid.SetCell(PRV::OutletCol, PRV::HourRow(0), ""); // the first hour: no closing point either
    ASSERT_TRUE(form.Dispatch([&] { form.FixedGraphSheetShow(); }));
    const TChartSeries& outlet = form.FixedPRVChart.Series[1];
    EXPECT_EQ(outlet.Values.size(), 22u);
    EXPECT_EQ(outlet.Labels.front(), "01");
    EXPECT_EQ(outlet.Labels.back(), "23");
    EXPECT_EQ(form.FixedPRVChart.Series[0].Values.size(), 25u);

    // In the current situation every cell is read: an empty one is not a number.
    FillTable(form.CurrentGrid, 9);
    form.CurrentGrid.SetCell(Current::CriticalCol, Current::HourRow(2), "");
    EXPECT_FALSE(form.Dispatch([&] { form.GraphicalSheetShow(); }));
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"'' is not a valid floating point value"}));
}

TEST_F(ChartTest, ATextThatIsNoNumberStopsTheDrawingAndKeepsThePointsSoFar) {
    FillTable(form.TimePRVGrid, 10);
    form.TimePRVGrid.SetCell(PRV::CriticalCol, PRV::HourRow(1), "abc"); // hour 01, critical pressure
    int changes = 0;
    form.TimePRVChart.OnChanged = [&] { ++changes; };
    EXPECT_FALSE(form.Dispatch([&] { form.TimeGraphicalSheetShow(); }));
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"'abc' is not a valid floating point value"}));
    EXPECT_EQ(changes, 1); // the view shows what was drawn

    const auto& series = form.TimePRVChart.Series;
    // Hour 00 complete; hour 01 drawn for the series before the critical pressure only.
    EXPECT_EQ(series[0].Values.size(), 2u);
    EXPECT_EQ(series[2].Values.size(), 2u);
    EXPECT_EQ(series[3].Values.size(), 1u);
    EXPECT_EQ(series[8].Values.size(), 1u);
}

TEST_F(ChartTest, AnEmptyHourLabelEndsTheDayWithoutTheClosingPoint) {
    FillTable(form.FlowPRVGrid, 10);
    form.FlowPRVGrid.SetCell(PRV::HourCol, PRV::HourRow(12), ""); // hour 12
    ASSERT_TRUE(form.Dispatch([&] { form.FlowGraphicalSheetShow(); }));
    for (const TChartSeries& s : form.FlowPRVChart.Series) {
        ASSERT_EQ(s.Values.size(), 12u);
        EXPECT_EQ(s.Labels.back(), "11");
    }
}

TEST_F(ChartTest, AChartInViewFollowsItsTableAfterAnyEvent) {
    FillTable(form.FixedPRVGrid, 10);
    ShowWithoutEvents(form.FixedOutletSheet);
    ASSERT_TRUE(form.FixedGraphSheet.Showing());
    int changes = 0;
    form.FixedPRVChart.OnChanged = [&] { ++changes; };

    // A recalculation that rewrites the table while the chart is in view.
    ASSERT_TRUE(form.Dispatch([&] { form.FixedPRVGrid.SetCell(PRV::AZPCol, PRV::HourRow(0), "12.50"); }));
    EXPECT_EQ(changes, 1);
    EXPECT_DOUBLE_EQ(form.FixedPRVChart.Series[2].Values.front(), 12.5);
    EXPECT_DOUBLE_EQ(form.FixedPRVChart.Series[2].Values.back(), 12.5);

    // Events that leave the table alone do not draw again, nor repeat an error.
    ASSERT_TRUE(form.Dispatch([] {}));
    EXPECT_EQ(changes, 1);
    EXPECT_FALSE(form.Dispatch([&] { form.FixedPRVGrid.SetCell(PRV::AZPCol, PRV::HourRow(0), "x"); }));
    EXPECT_TRUE(form.Dispatch([] {}));
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"'x' is not a valid floating point value"}));

    // Charts out of view wait until their sub-page is shown.
    FillTable(form.TimePRVGrid, 10);
    ASSERT_TRUE(form.Dispatch([] {}));
    EXPECT_TRUE(form.TimePRVChart.Series[0].Values.empty());
}

TEST_F(ChartTest, TheDialogFromTheCurrentSituationHidesThePRVBoxesAndOKAppliesToAllCharts) {
    form.GraphOptionButtonClick();
    TGraphPropForm& dialog = form.GraphPropForm;
    EXPECT_EQ(dialog.Tag, 1);
    EXPECT_TRUE(dialog.Visible);
    EXPECT_FALSE(dialog.PRVPresCheckBox.Visible);
    EXPECT_FALSE(dialog.AZPHeadlossCheckBox.Visible);
    EXPECT_FALSE(dialog.CriticalHeadLossCheckBox.Visible);
    EXPECT_TRUE(dialog.InletPresCheckBox.Checked);
    EXPECT_FALSE(dialog.PresDepCheckBox.Checked);
    EXPECT_EQ(dialog.GraphMaxPresEdit.Text(), "0");

    dialog.InletPresCheckBox.Checked = false;
    dialog.PresDepCheckBox.Checked = true;
    form.Project.GraphAZPHeadloss = true; // a hidden box still gives its option: unticked
    std::vector<int> changes(4, 0);
    for (int i = 0; i < 4; ++i)
        AllCharts()[i]->OnChanged = [&changes, i] { ++changes[i]; };
    ASSERT_TRUE(form.Dispatch([&] { dialog.BitBtn1Click(); }));

    EXPECT_FALSE(dialog.Visible);
    EXPECT_EQ(changes, (std::vector<int>{1, 1, 1, 1}));
    EXPECT_FALSE(form.Project.GraphAZPHeadloss);
    EXPECT_EQ(Shown(form.CurrentChart), (std::vector<bool>{false, true, true, true, true, false}));
    for (TChart* chart : {&form.FixedPRVChart, &form.TimePRVChart, &form.FlowPRVChart})
        EXPECT_EQ(Shown(*chart),
                  (std::vector<bool>{false, true, true, true, false, false, true, true, false}));

    // From a PRV chart every box is offered.
    form.FullGraphOptionButtonClick();
    EXPECT_EQ(dialog.Tag, 0);
    EXPECT_TRUE(dialog.PRVPresCheckBox.Visible);
    EXPECT_TRUE(dialog.AZPHeadlossCheckBox.Visible);
    EXPECT_TRUE(dialog.CriticalHeadLossCheckBox.Visible);
    EXPECT_FALSE(dialog.InletPresCheckBox.Checked);
}

TEST_F(ChartTest, AMaximumFixesItsAxisOnAllChartsAndZeroFreesIt) {
    TGraphPropForm& dialog = form.GraphPropForm;
    form.FullGraphOptionButtonClick();
    dialog.GraphMaxPresEdit.SetText("60");
    dialog.GraphMaxFlowEdit.SetText("250.6");
    ASSERT_TRUE(form.Dispatch([&] { dialog.BitBtn1Click(); }));
    for (TChart* chart : AllCharts()) {
        EXPECT_FALSE(chart->LeftAxis.Automatic);
        EXPECT_DOUBLE_EQ(chart->LeftAxis.Maximum, 60);
        EXPECT_DOUBLE_EQ(chart->LeftAxis.Minimum, 0);
        EXPECT_FALSE(chart->RightAxis.Automatic);
        EXPECT_DOUBLE_EQ(chart->RightAxis.Maximum, 250.6);
    }
    // The dialog shows the maxima as whole numbers.
    form.GraphOptionButtonClick();
    EXPECT_EQ(dialog.GraphMaxPresEdit.Text(), "60");
    EXPECT_EQ(dialog.GraphMaxFlowEdit.Text(), "251");

    dialog.GraphMaxPresEdit.SetText("0");
    dialog.GraphMaxFlowEdit.SetText("-5");
    ASSERT_TRUE(form.Dispatch([&] { dialog.BitBtn1Click(); }));
    for (TChart* chart : AllCharts()) {
        EXPECT_TRUE(chart->LeftAxis.Automatic);
        EXPECT_TRUE(chart->RightAxis.Automatic);
        EXPECT_DOUBLE_EQ(chart->LeftAxis.Minimum, 0);
    }
}

TEST_F(ChartTest, AMaximumThatIsNoNumberIsReportedAfterTheOptionsWereTaken) {
    TGraphPropForm& dialog = form.GraphPropForm;
    form.FullGraphOptionButtonClick();
    dialog.PresIndepCheckBox.Checked = true;
    dialog.GraphMaxPresEdit.SetText("45");
    dialog.GraphMaxFlowEdit.SetText("lots");
    EXPECT_FALSE(form.Dispatch([&] { dialog.BitBtn1Click(); }));

    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"'lots' is not a valid floating point value"}));
    EXPECT_FALSE(dialog.Visible); // closed all the same
    EXPECT_TRUE(form.Project.GraphPresIndep);
    EXPECT_DOUBLE_EQ(form.Project.GraphMaxPres, 45);
    // Nothing reached the charts.
    for (TChart* chart : AllCharts()) {
        EXPECT_FALSE(chart->Series.back().Active);
        EXPECT_TRUE(chart->LeftAxis.Automatic);
    }
}

TEST_F(ChartTest, ClosingTheDialogByItsCloseBoxAppliesNothing) {
    TGraphPropForm& dialog = form.GraphPropForm;
    form.FullGraphOptionButtonClick();
    dialog.PresDepCheckBox.Checked = true;
    dialog.GraphMaxPresEdit.SetText("80");
    dialog.Close();
    EXPECT_FALSE(dialog.Visible);
    EXPECT_FALSE(form.Project.GraphPresDep);
    EXPECT_TRUE(form.FixedPRVChart.LeftAxis.Automatic);
    // Opened again, it shows the options, not what was left in it.
    form.FullGraphOptionButtonClick();
    EXPECT_FALSE(dialog.PresDepCheckBox.Checked);
    EXPECT_EQ(dialog.GraphMaxPresEdit.Text(), "0");
}

TEST_F(ChartTest, NewDataResetsTheOptionsButTheChartsKeepWhatWasApplied) {
    form.FormShow();
    TGraphPropForm& dialog = form.GraphPropForm;
    form.FullGraphOptionButtonClick();
    dialog.PresDepCheckBox.Checked = true;
    dialog.GraphMaxPresEdit.SetText("60");
    ASSERT_TRUE(form.Dispatch([&] { dialog.BitBtn1Click(); }));

    ASSERT_TRUE(form.Dispatch([&] { form.actDataNewExec(); }));
    form.FullGraphOptionButtonClick();
    EXPECT_FALSE(dialog.PresDepCheckBox.Checked);
    EXPECT_EQ(dialog.GraphMaxPresEdit.Text(), "0");
    EXPECT_TRUE(form.FixedPRVChart.Series[7].Active);
    EXPECT_FALSE(form.FixedPRVChart.LeftAxis.Automatic);
    EXPECT_TRUE(form.CurrentChart.Series[4].Active);
}

} // namespace
