// The window table's logic with a growth function that can be made to fail.

#include "runtime/process/window_table_core.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using runtime::RuntimeRecord;
using runtime::WindowPair;
using runtime::WindowTable;

// Growth from the C heap, zero-filling what is gained like the runtime heap does. While
// `growthRefused` is set it fails, leaving the old block alone.
bool growthRefused = false;
int growths = 0;

WindowPair* Grow(WindowPair* pairs, uint32_t count) {
    if (growthRefused) return nullptr;
    ++growths;
    auto* grown = static_cast<WindowPair*>(std::realloc(pairs, count * sizeof(WindowPair)));
    if (grown == nullptr) return nullptr;
    const uint32_t kept = pairs == nullptr ? 0 : count / 2;
    std::memset(grown + kept, 0, (count - kept) * sizeof(WindowPair));
    return grown;
}

// Handles and records that are told apart by their addresses only.
const void* Handle(int n) { return reinterpret_cast<const void*>(static_cast<uintptr_t>(0x1000 + 16 * n)); }
RuntimeRecord* Record(int n) { return reinterpret_cast<RuntimeRecord*>(static_cast<uintptr_t>(0x900000 + 16 * n)); }

class WindowTableCore : public ::testing::Test {
protected:
    void SetUp() override {
        growthRefused = false;
        growths = 0;
    }
    void TearDown() override { std::free(table.pairs); }

    void InsertNumbered(int from, int to) {
        for (int n = from; n < to; ++n) {
            ASSERT_TRUE(runtime::InsertRecordInTable(table, Handle(n), Record(n), Grow)) << "pair " << n;
        }
    }

    // The handles from the start up to the terminator, as numbers; also checks that the
    // terminator stands where `used` says.
    std::vector<int> Order() const {
        std::vector<int> order;
        if (table.pairs == nullptr) return order;
        for (const WindowPair* pair = table.pairs; pair->window != nullptr; ++pair) {
            order.push_back(static_cast<int>((reinterpret_cast<uintptr_t>(pair->window) - 0x1000) / 16));
        }
        EXPECT_EQ(order.size(), table.used) << "terminator position";
        EXPECT_EQ(table.pairs[table.used].record, nullptr) << "terminator record";
        return order;
    }

    static std::vector<int> Range(int from, int to) {
        std::vector<int> r;
        for (int n = from; n < to; ++n) r.push_back(n);
        return r;
    }

    WindowTable table;
};

TEST_F(WindowTableCore, AnEmptyTableFindsNothing) {
    EXPECT_EQ(runtime::FindRecordInTable(table, Handle(1)), nullptr) << "no block yet";
    ASSERT_TRUE(runtime::CreateTableBlock(table, Grow));
    EXPECT_EQ(table.capacity, runtime::kInitialWindowPairs);
    EXPECT_EQ(runtime::FindRecordInTable(table, Handle(1)), nullptr);
    EXPECT_EQ(runtime::FindRecordInTable(table, nullptr), nullptr);
}

TEST_F(WindowTableCore, AFullTableDoublesAndKeepsEveryPairInOrder) {
    // (pairs entered in all, capacity in pairs afterwards, growths including the first block):
    // the table grows on the insertion that finds two pairs or fewer free.
    const struct {
        int entered;
        uint32_t capacity;
        int growths;
    } steps[] = {
        {1, 128, 1}, {126, 128, 1}, {127, 256, 2}, {254, 256, 2}, {255, 512, 3}, {300, 512, 3},
    };
    int entered = 0;
    for (const auto& s : steps) {
        InsertNumbered(entered, s.entered);
        entered = s.entered;
        EXPECT_EQ(table.capacity, s.capacity) << "after " << s.entered << " pairs";
        EXPECT_EQ(growths, s.growths) << "after " << s.entered << " pairs";
        EXPECT_EQ(Order(), Range(0, s.entered)) << "after " << s.entered << " pairs";
    }
    for (int n = 0; n < 300; ++n) {
        EXPECT_EQ(runtime::FindRecordInTable(table, Handle(n)), Record(n)) << "pair " << n;
    }
    EXPECT_EQ(runtime::FindRecordInTable(table, Handle(300)), nullptr);
}

TEST_F(WindowTableCore, AFailedGrowthLeavesTheTableWhole) {
    const int fits = static_cast<int>(runtime::kInitialWindowPairs) - 2;  // the table grows at two free pairs
    InsertNumbered(0, fits);
    const WindowPair* block = table.pairs;

    growthRefused = true;
    EXPECT_FALSE(runtime::InsertRecordInTable(table, Handle(fits), Record(fits), Grow));
    EXPECT_EQ(table.pairs, block);
    EXPECT_EQ(table.capacity, runtime::kInitialWindowPairs);
    EXPECT_EQ(Order(), Range(0, fits));
    EXPECT_EQ(runtime::FindRecordInTable(table, Handle(fits)), nullptr) << "not a runtime window";
    EXPECT_EQ(runtime::FindRecordInTable(table, Handle(fits - 1)), Record(fits - 1));
    EXPECT_TRUE(runtime::RemoveRecordFromTable(table, Handle(5))) << "a full table still shrinks";
    EXPECT_TRUE(runtime::InsertRecordInTable(table, Handle(fits), Record(fits), Grow))
        << "the freed pair is used without growing";

    growthRefused = false;
    EXPECT_TRUE(runtime::InsertRecordInTable(table, Handle(fits + 1), Record(fits + 1), Grow));
    EXPECT_EQ(runtime::FindRecordInTable(table, Handle(fits + 1)), Record(fits + 1));
    EXPECT_EQ(runtime::FindRecordInTable(table, Handle(0)), Record(0));
}

TEST_F(WindowTableCore, WithoutAFirstBlockNothingIsEntered) {
    growthRefused = true;
    EXPECT_FALSE(runtime::CreateTableBlock(table, Grow));
    EXPECT_FALSE(runtime::InsertRecordInTable(table, Handle(1), Record(1), Grow));
    EXPECT_EQ(runtime::FindRecordInTable(table, Handle(1)), nullptr);
    growthRefused = false;
    EXPECT_TRUE(runtime::InsertRecordInTable(table, Handle(1), Record(1), Grow))
        << "the first insertion makes the block";
    EXPECT_EQ(runtime::FindRecordInTable(table, Handle(1)), Record(1));
}

TEST_F(WindowTableCore, RemovalKeepsOrderAndTerminator) {
    InsertNumbered(0, 6);
    const struct {
        int removed;
        bool found;
        std::vector<int> order;
    } steps[] = {
        {2, true, {0, 1, 3, 4, 5}},
        {5, true, {0, 1, 3, 4}},  // the last pair
        {0, true, {1, 3, 4}},     // the first pair
        {2, false, {1, 3, 4}},    // no longer there
        {9, false, {1, 3, 4}},    // never there
    };
    for (const auto& s : steps) {
        EXPECT_EQ(runtime::RemoveRecordFromTable(table, Handle(s.removed)), s.found) << "remove " << s.removed;
        EXPECT_EQ(Order(), s.order) << "after removing " << s.removed;
        EXPECT_EQ(runtime::FindRecordInTable(table, Handle(s.removed)), nullptr) << s.removed;
    }
    InsertNumbered(2, 3);
    EXPECT_EQ(Order(), (std::vector<int>{1, 3, 4, 2})) << "a new pair goes to the end";
}

TEST_F(WindowTableCore, AWindowEnteredAgainGetsItsNewRecord) {
    InsertNumbered(0, 3);
    EXPECT_TRUE(runtime::InsertRecordInTable(table, Handle(1), Record(7), Grow));
    EXPECT_EQ(runtime::FindRecordInTable(table, Handle(1)), Record(7));
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2})) << "no second pair for the same window";
}

TEST_F(WindowTableCore, TheNullHandleIsNeverEntered) {
    InsertNumbered(0, 3);
    EXPECT_FALSE(runtime::InsertRecordInTable(table, nullptr, Record(9), Grow));
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2})) << "the table is not cut short";
    EXPECT_FALSE(runtime::RemoveRecordFromTable(table, nullptr));
    EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
}

}  // namespace
