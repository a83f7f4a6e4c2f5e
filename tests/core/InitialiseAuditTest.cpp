// Initialise refreshing the window from projects at the edges of what a file can hold.
#include "FormFixture.h"
#include "forms/TableLayouts.h"
#include <gtest/gtest.h>

using namespace halvern;
namespace Flow = FlowGridLayout;
using halvern::test::FormFixture;

namespace {

class InitialiseAuditTest : public FormFixture {};

// An inflow too large to be multiplied by 1000 still has a litres-per-second text; the
// refresh must reach every hour and every later edit, or the window would keep the old
// project's texts and hand them back to the next collection or save.
TEST_F(InitialiseAuditTest, AHugeInflowStillRefreshesTheWholeWindow) {
    TProject& p = form.Project;
    p.ZoneInflow[0] = 1e307;
    p.ZoneInflow[23] = 36;
    p.InflowCost = 7;
    dialogs.Clear();
    form.Dispatch([&] { form.Initialise(false); });

    EXPECT_TRUE(dialogs.Messages.empty()) << ::testing::PrintToString(dialogs.Texts());
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowM3hCol, Flow::HourRow(0)), "1E307");
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowLsCol, Flow::HourRow(0)), "2.77777777777778E306");
    EXPECT_EQ(form.FlowGrid.Cell(Flow::InflowLsCol, Flow::HourRow(23)), "10.00");
    EXPECT_EQ(form.InflowCostEdit.Text(), "7.00");
}

} // namespace
