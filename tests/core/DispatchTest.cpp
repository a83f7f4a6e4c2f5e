// The one dispatch point: what the user is told when an event ends on an error, and the
// main window's closing, which closes the windows beside it through the form.
#include "FormFixture.h"
#include "model/Errors.h"
#include <functional>
#include <stdexcept>
#include <vector>

using namespace halvern;
using halvern::test::FormFixture;

namespace {

class DispatchTest : public FormFixture {};

struct TThrowCase {
    const char* Name;
    std::function<void()> Throw;
    std::string Shown;  // the text of the error box
    std::string Logged; // what standard error must contain ("" : nothing at all)
};

TEST_F(DispatchTest, OnlyTheProgramsOwnErrorsShowTheirTextAndFaultsAreLogged) {
    const std::string internal = TMainForm::InternalErrorMessage;
    const TThrowCase cases[] = {
        {"conversion", [] { throw EConvertError("'1,2' is not a valid floating point value"); },
         "'1,2' is not a valid floating point value", ""},
        {"division", [] { throw EZeroDivide(); }, "Floating point division by zero", ""},
        {"overflow", [] { throw EOverflow(); }, "Floating point overflow", ""},
        {"index past a table's end",
         [] { throw std::out_of_range("vector::_M_range_check: __n (which is 25) >= this->size()"); },
         internal, "vector::_M_range_check: __n (which is 25) >= this->size()"},
        {"broken rule", [] { throw std::logic_error("hour row before the first"); }, internal,
         "hour row before the first"},
        // A runtime_error that is neither of the program's two kinds is still a fault of ours.
        {"other runtime error", [] { throw std::runtime_error("stoi"); }, internal, "stoi"},
        {"no std::exception", [] { throw 42; }, internal, "internal error"},
    };
    for (const TThrowCase& c : cases) {
        SCOPED_TRACE(c.Name);
        dialogs.Messages.clear();
        ::testing::internal::CaptureStderr();
        const bool ran = form.Dispatch(c.Throw);
        const std::string logged = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(ran);
        ASSERT_EQ(dialogs.Messages.size(), 1u);
        EXPECT_EQ(dialogs.Messages[0], (TRecordedMessage{TMsgDlgType::Error, c.Shown}));
        if (c.Logged.empty())
            EXPECT_EQ(logged, "");
        else
            EXPECT_NE(logged.find(c.Logged), std::string::npos) << logged;
    }
}

TEST_F(DispatchTest, AnInternalErrorStopsOnlyItsOwnEvent) {
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(form.Dispatch([&] {
        form.ZoneNameEdit.SetText("Zone A");
        (void)std::vector<int>{}.at(3);
    }));
    (void)::testing::internal::GetCapturedStderr();
    // What ran before the fault stays; the next event runs as usual.
    EXPECT_EQ(form.Project.ZoneName, "Zone A");
    EXPECT_TRUE(Set(form.ZoneNameEdit, "Zone B"));
    EXPECT_EQ(form.Project.ZoneName, "Zone B");
    EXPECT_EQ(dialogs.Messages.size(), 1u);
}

TEST_F(DispatchTest, ClosingTheMainWindowClosesTheWindowsBesideIt) {
    int n1Closed = 0, helpClosed = 0;
    form.N1CalculationForm.OnCloseRequest = [&] { ++n1Closed; };
    form.ImportHelp.OnCloseRequest = [&] { ++helpClosed; };
    ASSERT_TRUE(form.Dispatch([&] {
        form.N1CalculationClick();
        form.Button1Click(); // "?" beside the import button: the import example
    }));
    ASSERT_TRUE(form.N1CalculationForm.Visible && form.ImportHelp.Visible);

    ASSERT_TRUE(form.Dispatch([&] { form.FormClose(); }));
    EXPECT_TRUE(form.Closed);
    EXPECT_FALSE(form.N1CalculationForm.Visible);
    EXPECT_FALSE(form.ImportHelp.Visible);
    EXPECT_EQ(n1Closed, 1);
    EXPECT_EQ(helpClosed, 1);

    // A window that was not open is not closed again.
    ASSERT_TRUE(form.Dispatch([&] { form.FormClose(); }));
    EXPECT_EQ(n1Closed + helpClosed, 2);
}

TEST_F(DispatchTest, TablesMeasureOnTheirOwnOnceTheWindowsCanvasIsGone) {
    // Stands for the window's canvas, measuring in a wider font than the tables' own.
    TFixedWidthCanvas window(12);
    const auto firstColumn = [&] {
        EXPECT_TRUE(form.Dispatch([&] { form.Initialise(true); }));
        return form.CostSummaryGrid.ColWidth(0); // "Time Modulated PRV" × 1.1
    };
    const int own = firstColumn();
    form.SetMeasureCanvas(&window);
    EXPECT_EQ(firstColumn(), static_cast<int>(window.TextWidth("Time Modulated PRV") * 1.1));
    EXPECT_GT(firstColumn(), own);

    // The window goes: no table keeps its canvas, and a new layout measures as before.
    form.SetMeasureCanvas(nullptr);
    for (TMarkStringGrid* grid : form.Controls.All<TMarkStringGrid>()) {
        EXPECT_EQ(grid->MeasureCanvas, nullptr) << grid->Name;
        EXPECT_NE(&grid->Measure(), &window) << grid->Name;
    }
    EXPECT_EQ(firstColumn(), own);
}

} // namespace
