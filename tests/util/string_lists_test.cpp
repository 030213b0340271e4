// String lists as real hidden list boxes: the table of 64, sorted and unsorted lists, the
// searches, bounded item reads and the clean-up at shutdown.

#include "runtime/process/application.h"
#include "runtime/util/string_lists.h"
#include "util_session.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

using namespace utiltest;

class MODE_SUITE(StringLists) : public UtilTest {};

HWND AsWindow(int32_t list) { return runtime::SlotAs<HWND>(static_cast<uint32_t>(list)); }

const runtime::StringListTable& Table() { return runtime::workBlock->stringLists; }
uint32_t HandleAt(int entry) { return Table().handles[entry]; }

std::vector<std::string> Items(HWND list) {
    std::vector<std::string> items;
    const int32_t count = runtime::ListCount(list);
    for (int32_t i = 0; i < count; ++i) {
        Unit buffer[runtime::kListItemLimit];
        runtime::ListGetItem(list, i, buffer);
        items.push_back(Ascii(buffer));
    }
    return items;
}

TEST_F(MODE_SUITE(StringLists), TheSixtyFifthListIsRefusedUntilOneIsDestroyed) {
    std::vector<HWND> lists;
    for (int i = 0; i < runtime::kMostStringLists; ++i) {
        const int32_t list = runtime::CreateList(i % 2);
        ASSERT_GT(list, 0) << "list " << i + 1 << ", error " << GetLastError();
        lists.push_back(AsWindow(list));
    }
    // Each a hidden top-level list box at -1000, -1000, made in the runtime's text mode.
    for (HWND list : {lists[0], lists[1]}) {
        char className[32] = {};
        GetClassNameA(list, className, sizeof(className));
        EXPECT_STRCASEEQ(className, "LISTBOX");
        EXPECT_FALSE(IsWindowVisible(list));
        EXPECT_EQ(GetAncestor(list, GA_PARENT), GetDesktopWindow());
        RECT frame{};
        GetWindowRect(list, &frame);
        EXPECT_EQ(frame.left, -1000);
        EXPECT_EQ(frame.top, -1000);
        EXPECT_EQ(IsWindowUnicode(list) != FALSE, modetest::kWideMode != 0);
    }
    EXPECT_EQ(GetWindowLongA(lists[1], GWL_STYLE) & LBS_SORT, LBS_SORT) << "list 2 is sorted";
    EXPECT_EQ(int{Table().count}, 64);
    EXPECT_EQ(runtime::CreateList(0), runtime::kListsFull) << "the 65th list";
    EXPECT_EQ(int{Table().count}, 64);

    EXPECT_EQ(runtime::DestroyList(lists[0]), 1);
    EXPECT_FALSE(IsWindow(lists[0])) << "the list's window is gone";
    EXPECT_EQ(int{Table().count}, 63);
    EXPECT_EQ(HandleAt(0), runtime::ToSlot(lists[1])) << "the later lists move down";
    EXPECT_EQ(HandleAt(62), runtime::ToSlot(lists[63]));
    EXPECT_EQ(HandleAt(63), 0u);
    const int32_t next = runtime::CreateList(0);
    EXPECT_GT(next, 0) << "a list fits again";
    EXPECT_EQ(HandleAt(63), static_cast<uint32_t>(next));

    // A window that is not a list of the table is left alone, and the answer is still 1.
    HWND other = CreateWindowExA(0, "LISTBOX", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(runtime::DestroyList(other), 1);
    EXPECT_TRUE(IsWindow(other)) << "not a string list, not destroyed";
    EXPECT_EQ(int{Table().count}, 64);
    DestroyWindow(other);
}

TEST_F(MODE_SUITE(StringLists), ShutdownDestroysTheListsThatRemain) {
    HWND lists[3];
    for (HWND& list : lists) {
        list = AsWindow(runtime::CreateList(1));
        runtime::ListAdd(list, T("item").c_str());
    }
    runtime::DestroyList(lists[1]);
    runtime::ShutdownRuntime();
    for (HWND list : lists) EXPECT_FALSE(IsWindow(list)) << list;
}

TEST_F(MODE_SUITE(StringLists), SortedListsKeepOrderUnsortedOnesKeepArrival) {
    const struct {
        int32_t sorted;
        std::vector<std::string> items;  // after adding pear, Apple, fig and inserting kiwi at 1
    } cases[] = {
        {0, {"pear", "kiwi", "Apple", "fig"}},
        {1, {"Apple", "kiwi", "fig", "pear"}},
    };
    for (const auto& c : cases) {
        HWND list = AsWindow(runtime::CreateList(c.sorted));
        for (const char* item : {"pear", "Apple", "fig"}) EXPECT_GE(runtime::ListAdd(list, T(item).c_str()), 0) << item;
        EXPECT_EQ(runtime::ListInsert(list, 1, T("kiwi").c_str()), 1) << "sorted " << c.sorted;
        EXPECT_EQ(Items(list), c.items) << "sorted " << c.sorted;
        EXPECT_EQ(runtime::ListItemLength(list, 0), static_cast<int32_t>(c.items[0].size()));
        EXPECT_EQ(runtime::ListRemove(list, 0), 3) << "items left";
        EXPECT_EQ(runtime::ListRemove(list, 7), LB_ERR);
        EXPECT_EQ(runtime::ListClear(list), 1);
        EXPECT_EQ(runtime::ListCount(list), 0);
        runtime::DestroyList(list);
    }
}

TEST_F(MODE_SUITE(StringLists), FindMatchesTheStartFindExactTheWholeItem) {
    HWND list = AsWindow(runtime::CreateList(0));
    for (const char* item : {"apple", "applesauce", "Banana"}) runtime::ListAdd(list, T(item).c_str());
    const struct {
        bool exact;
        const char* text;
        int32_t index;
    } cases[] = {
        {false, "app", 0}, {false, "APPLES", 1}, {false, "banana", 2}, {false, "cherry", -1},
        {true, "app", -1}, {true, "APPLESAUCE", 1}, {true, "apple", 0}, {true, "Banan", -1},
    };
    for (const auto& c : cases) {
        const Text text = T(c.text);
        const int32_t found = c.exact ? runtime::ListFindExact(list, text.c_str()) : runtime::ListFind(list, text.c_str());
        EXPECT_EQ(found, c.index) << (c.exact ? "ListFindExact " : "ListFind ") << c.text;
    }
}

TEST_F(MODE_SUITE(StringLists), ItemReadsStayInsideTheBuffer) {
    HWND list = AsWindow(runtime::CreateList(0));
    const std::string longItem(300, 'x');
    const std::string fitting(runtime::kListItemLimit - 1, 'y');
    runtime::ListAdd(list, T(longItem.c_str()).c_str());
    runtime::ListAdd(list, T(fitting.c_str()).c_str());
    const struct {
        int32_t index;
        int32_t result;
        std::string text;
    } cases[] = {
        {0, runtime::kListItemLimit - 1, std::string(runtime::kListItemLimit - 1, 'x')},
        {1, runtime::kListItemLimit - 1, fitting},
        {2, LB_ERR, std::string(runtime::kListItemLimit + 7, '#')},  // no such item: the buffer is untouched
        {-1, LB_ERR, std::string(runtime::kListItemLimit + 7, '#')},
    };
    for (const auto& c : cases) {
        Text buffer(runtime::kListItemLimit + 8, static_cast<Unit>('#'));
        buffer.back() = 0;
        EXPECT_EQ(runtime::ListGetItem(list, c.index, buffer.data()), c.result) << "item " << c.index;
        const std::string read = Ascii(buffer.c_str());
        EXPECT_EQ(read.substr(0, c.text.size()), c.text) << "item " << c.index;
        if (c.result > 0) {
            EXPECT_EQ(buffer[runtime::kListItemLimit - 1], 0) << "item " << c.index << " ends in the buffer";
            EXPECT_EQ(buffer[runtime::kListItemLimit], static_cast<Unit>('#')) << "item " << c.index << ": written past the buffer";
        }
    }
    // The A and W members serve their own texts whatever the mode.
    char ansi[runtime::kListItemLimit];
    runtime::ListAddA(list, "ansi");
    EXPECT_EQ(runtime::ListFindExactW(list, L"ANSI"), 2);
    EXPECT_EQ(runtime::ListGetItemA(list, 2, ansi), 4);
    EXPECT_STREQ(ansi, "ansi");
}

}  // namespace
