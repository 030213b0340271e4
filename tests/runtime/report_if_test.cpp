// The check for states that cannot happen: true and reported when its condition holds, false
// and silent otherwise; without a handler (the product) only the safe way is taken.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/base/report_if.h"
#include "tests/support/impossible_states.h"
#include "runtime/window/dock_layout.h"

namespace {

// Hears the reports of each test; the test programs' own handler is back afterwards.
class ReportIfTest : public ::testing::Test {
protected:
    void SetUp() override { heard.clear(); }

    testsupport::ImpossibleStates states_;
    std::vector<testsupport::HeardState>& heard = testsupport::ImpossibleStates::Heard();
};

TEST_F(ReportIfTest, ReportsTheConditionThatHoldsAndTakesTheSafeWay) {
    const int value = 9;
    struct Case {
        const char* name;
        bool result;
        const char* condition;  // reported, or null
    };
    const int line = __LINE__ + 2;
    const Case cases[] = {
        {"holds", ReportIf(value > 7), "value > 7"},
        {"does not hold", ReportIf(value < 7), nullptr},
    };
    for (const Case& c : cases) EXPECT_EQ(c.result, c.condition != nullptr) << c.name;
    ASSERT_EQ(heard.size(), 1u) << "only the condition that held was reported";
    EXPECT_EQ(heard[0].condition, "value > 7");
    EXPECT_EQ(heard[0].line, line) << "the place of the check";
}

TEST(ReportIf, WithoutAHandlerNothingIsHeardAndTheSafeWayIsTaken) {
    const testsupport::ImpossibleStates product(false);
    const auto& heard = testsupport::ImpossibleStates::Heard();
    EXPECT_TRUE(ReportIf(1 + 1 == 2));
    EXPECT_TRUE(heard.empty()) << heard.size() << " reports";
}

// A dock side that no pass hands over is reported and takes no room.
TEST_F(ReportIfTest, DockingToASideThatIsNoneIsReported) {
    const int32_t sides[] = {runtime::dock_side::None, 5, -1};
    for (const int32_t side : sides) {
        heard.clear();
        runtime::DockArea free{0, 0, 100, 80};
        const runtime::Placement place = runtime::DockInto(free, side, 10, 20);
        EXPECT_EQ(place, runtime::Placement{}) << "side " << side;
        EXPECT_EQ(free, (runtime::DockArea{0, 0, 100, 80})) << "side " << side << ": the free area is kept";
        ASSERT_EQ(heard.size(), 1u) << "side " << side;
        EXPECT_EQ(heard[0].condition, "side < dock_side::Top || side > dock_side::Right");
    }
}

}  // namespace
