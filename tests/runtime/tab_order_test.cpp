// The order in which keyboard navigation tries a form's controls.

#include "runtime/window/tab_order.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(TabOrder, TriesEveryIndexOnceWrappingRound) {
    const struct {
        int32_t start;
        int32_t count;
        bool backwards;
        std::vector<int32_t> tried;
    } cases[] = {
        {2, 5, false, {2, 3, 4, 0, 1}},
        {0, 5, false, {0, 1, 2, 3, 4}},
        {5, 5, false, {0, 1, 2, 3, 4}},  // past the last control: from the first
        {9, 5, false, {0, 1, 2, 3, 4}},
        {-1, 5, false, {0, 1, 2, 3, 4}},
        {2, 5, true, {2, 1, 0, 4, 3}},
        {4, 5, true, {4, 3, 2, 1, 0}},
        {-1, 5, true, {4, 3, 2, 1, 0}},  // before the first control: from the last (Shift+Tab wraps)
        {7, 5, true, {4, 3, 2, 1, 0}},
        {0, 1, true, {0}},
        {0, 0, false, {}},
        {0, 0, true, {}},
    };
    for (const auto& c : cases) {
        std::vector<int32_t> tried;
        const int32_t found = runtime::SearchTabOrder(c.start, c.count, c.backwards, [&](int32_t index) {
            tried.push_back(index);
            return false;
        });
        EXPECT_EQ(found, -1);
        EXPECT_EQ(tried, c.tried) << "start " << c.start << " of " << c.count << (c.backwards ? " backwards" : "");
    }
}

TEST(TabOrder, StopsAtTheFirstAcceptedIndex) {
    // Indexes 1 and 3 can take the focus.
    auto accepts = [](int32_t index) { return index == 1 || index == 3; };
    const struct {
        int32_t start;
        bool backwards;
        int32_t found;
    } cases[] = {{0, false, 1}, {2, false, 3}, {4, false, 1}, {2, true, 1}, {0, true, 3}, {-1, true, 3}, {3, true, 3}};
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::SearchTabOrder(c.start, 5, c.backwards, accepts), c.found)
            << "start " << c.start << (c.backwards ? " backwards" : "");
    }
}

}  // namespace
