// The property interface's table: every selector reads the slot the template format gives it
// and applies to the record types it names; the setter rules; the docking, scroll-bar and
// reading-order style rules.

#include <gtest/gtest.h>

#include <cstddef>
#include <set>

#include "runtime/property/property_table.h"

namespace {

using runtime::DockShape;
using runtime::FindPropertyRow;
using runtime::PropertyRead;
using runtime::RuntimeRecord;
namespace class_code = runtime::class_code;
namespace form_kind = runtime::form_kind;
namespace property = runtime::property;
namespace setter_rule = runtime::setter_rule;

// Selector and slot offset in bytes, as the runtime record's documentation lists them.
struct DocumentedSlot {
    int32_t selector;
    std::size_t offset;
};

constexpr DocumentedSlot kDocumentedSlots[] = {
    {1, 0},    {2, 4},    {3, 8},    {4, 4},    {5, 20},   {6, 28},   {7, 32},   {9, 228},  {10, 40},
    {11, 44},  {12, 48},  {13, 36},  {14, 56},  {15, 60},  {16, 64},  {18, 72},  {19, 76},  {20, 80},
    {21, 84},  {22, 92},  {23, 104}, {24, 108}, {25, 128}, {26, 184}, {27, 136}, {28, 140}, {29, 100},
    {30, 188}, {31, 192}, {32, 152}, {33, 152}, {34, 208}, {35, 164}, {36, 172}, {37, 136}, {38, 176},
    {39, 180}, {40, 184}, {41, 188}, {42, 192}, {43, 196}, {44, 200}, {45, 208}, {46, 216}, {47, 224},
    {48, 232}, {49, 236}, {50, 240}, {51, 136}, {52, 244}, {53, 160},
};

TEST(PropertyTable, EverySelectorReadsItsDocumentedSlot) {
    std::set<int32_t> documented;
    for (const DocumentedSlot& slot : kDocumentedSlots) {
        documented.insert(slot.selector);
        const runtime::PropertyRow* row = FindPropertyRow(slot.selector);
        ASSERT_NE(row, nullptr) << "selector " << slot.selector;
        EXPECT_EQ(row->offset, slot.offset) << row->name;
        EXPECT_EQ(row->selector, slot.selector) << row->name;
    }
    EXPECT_EQ(std::size(runtime::kPropertyRows), documented.size()) << "no row beyond the documented ones";
}

TEST(PropertyTable, SelectorsOutsideTheTableNameNothing) {
    for (const int32_t selector : {-1, 0, 8, 17, 54, 1000}) {
        EXPECT_EQ(FindPropertyRow(selector), nullptr) << "selector " << selector;
    }
}

TEST(PropertyTable, ReadSlotReadsTheNamedSlot) {
    RuntimeRecord record{};
    record.Index = 7;
    record.BackColor = 0x8000000Fu;
    record.Width = -3;
    EXPECT_EQ(runtime::ReadSlot(record, FindPropertyRow(property::Index)->offset), 7);
    EXPECT_EQ(static_cast<uint32_t>(runtime::ReadSlot(record, FindPropertyRow(property::BackColor)->offset)),
              0x8000000Fu);
    EXPECT_EQ(runtime::ReadSlot(record, FindPropertyRow(property::Width)->offset), -3);
}

TEST(PropertyTable, PropertiesApplyToTheirKindsOnly) {
    const struct {
        int32_t selector;
        int32_t type;
        bool applies;
    } cases[] = {
        {property::Align, class_code::Toolbar, true},
        {property::Align, class_code::Label, false},
        {property::BackColor, form_kind::MdiFrame, true},
        {property::ClassValue1, class_code::GroupBox, true},
        {property::ClassValue1, class_code::Label, false},
        {property::Font, class_code::Label, true},
        {property::Font, form_kind::MdiFrame, false},
        {property::FontSize, class_code::Image, false},
        {property::ForeColor, class_code::ScrollBarAlt, false},
        {property::Icon, form_kind::Dialog, true},
        {property::Icon, class_code::PushButton, false},
        {property::Max, class_code::UpDown, true},
        {property::Max, class_code::CheckBox, false},
        {property::Value, class_code::CheckBox, true},
        {property::MdiClient, form_kind::MdiFrame, true},
        {property::MdiClient, form_kind::Window, false},
        {property::ModalOwner, form_kind::Dialog, true},
        {property::ModalOwner, form_kind::MdiFrame, false},
        {property::ModalOwner, class_code::TextBox, false},
        {property::Picture, class_code::Image, true},
        {property::Picture, class_code::Label, false},
        {property::RightToLeft, class_code::Image, false},
        {property::Index, class_code::Label, true},
        {property::Index, form_kind::Window, false},
        {property::TabStop, class_code::GroupBox, false},
        {property::TabStop, form_kind::Window, true},
        {property::Alignment, class_code::ScrollBar, false},
        {property::Alignment, class_code::Label, true},
        {property::DropDownItems, class_code::ComboBoxEx, true},
        {property::Visible, class_code::Rebar, true},
        {property::OwnerForm, form_kind::Window, true},
        {property::Type, 0, false},
        {property::Type, 35, false},
    };
    for (const auto& c : cases) {
        const runtime::PropertyRow* row = FindPropertyRow(c.selector);
        ASSERT_NE(row, nullptr) << "selector " << c.selector;
        EXPECT_EQ(row->types.Has(c.type), c.applies) << row->name << " of type " << c.type;
    }
}

TEST(PropertyTable, RangesVisibilityAndOwnerAreReadApart) {
    EXPECT_EQ(FindPropertyRow(property::Max)->read, PropertyRead::RangeMax);
    EXPECT_EQ(FindPropertyRow(property::Min)->read, PropertyRead::RangeMin);
    EXPECT_EQ(FindPropertyRow(property::Value)->read, PropertyRead::RangeValue);
    EXPECT_EQ(FindPropertyRow(property::Visible)->read, PropertyRead::WindowVisible);
    EXPECT_EQ(FindPropertyRow(property::OwnerForm)->read, PropertyRead::OwnerForm);
    EXPECT_EQ(FindPropertyRow(property::Height)->read, PropertyRead::Slot);
}

TEST(SetterRules, AcceptTheirKindsAndRanges) {
    const struct {
        const char* name;
        runtime::SetterRule rule;
        int32_t type;
        int32_t value;
        bool accepted;
    } cases[] = {
        {"Align none", setter_rule::Align, class_code::StatusBar, 0, true},
        {"Align right", setter_rule::Align, class_code::PictureBox, 4, true},
        {"Align 5", setter_rule::Align, class_code::PictureBox, 5, false},
        {"Align -1", setter_rule::Align, class_code::Rebar, -1, false},
        {"Align of a label", setter_rule::Align, class_code::Label, 1, false},
        {"CursorKind 14", setter_rule::CursorKind, class_code::TextBox, 14, true},
        {"CursorKind 15", setter_rule::CursorKind, class_code::TextBox, 15, false},
        {"FontSize 1", setter_rule::FontSize, form_kind::Window, 1, true},
        {"FontSize 0", setter_rule::FontSize, form_kind::Window, 0, false},
        {"LineStyle 6", setter_rule::LineStyle, class_code::PictureBox, 6, true},
        {"LineStyle of a dialog", setter_rule::LineStyle, form_kind::Dialog, 1, false},
        {"ScrollBars 3", setter_rule::ScrollBars, class_code::TextBox, 3, true},
        {"ScrollBars 4", setter_rule::ScrollBars, class_code::TextBox, 4, false},
        {"ScrollBars of a list box", setter_rule::ScrollBars, class_code::ListBox, 1, false},
        {"WindowState -1", setter_rule::WindowState, form_kind::Window, -1, true},
        {"WindowState 3", setter_rule::WindowState, form_kind::Window, 3, false},
        {"WindowState of a control", setter_rule::WindowState, class_code::Label, 0, false},
        {"MaxLength of a rich text box", setter_rule::MaxLength, class_code::RichTextBox, 10, true},
        {"Value of a check box", setter_rule::Value, class_code::CheckBox, 1, true},
        {"Value of a label", setter_rule::Value, class_code::Label, 1, false},
        {"print position 32767", setter_rule::PrintPosition, class_code::PictureBox, 32767, true},
        {"print position 32768", setter_rule::PrintPosition, form_kind::Window, 32768, false},
        {"print position -32769", setter_rule::PrintPosition, form_kind::Dialog, -32769, false},
        {"print position on an MDI frame", setter_rule::PrintPosition, form_kind::MdiFrame, 0, false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.rule.Accepts(c.type, c.value), c.accepted) << c.name;
}

TEST(DockedShape, LiesAlongItsSideAndStartsAtItsEdge) {
    const struct {
        const char* name;
        int32_t side;
        DockShape before;
        DockShape after;
    } cases[] = {
        {"top, tall", 1, {20, 100, 30, 40, 0x1 | 0x80}, {100, 20, 0, 40, 0}},
        {"bottom, wide", 2, {100, 20, 30, 40, 0x3}, {100, 20, 0, 40, 0x2}},
        {"left, wide", 3, {100, 20, 30, 40, 0x1}, {20, 100, 30, 0, 0x80}},
        {"right, tall", 4, {20, 100, 30, 40, 0x4}, {20, 100, 30, 0, 0x84}},
        {"none", 0, {100, 20, 30, 40, 0x81}, {100, 20, 30, 40, 0x80}},
    };
    for (const auto& c : cases) EXPECT_EQ(runtime::DockedShape(c.side, c.before), c.after) << c.name;
}

TEST(DockRules, DockedControlsKeepTheirSideFixed) {
    EXPECT_TRUE(runtime::DockFixesHeight(class_code::PictureBox, 3));
    EXPECT_FALSE(runtime::DockFixesWidth(class_code::PictureBox, 3));
    EXPECT_TRUE(runtime::DockFixesWidth(class_code::StatusBar, 2));
    EXPECT_FALSE(runtime::DockFixesHeight(class_code::StatusBar, 2));
    EXPECT_TRUE(runtime::DockFixesPosition(class_code::Toolbar, 1));
    EXPECT_FALSE(runtime::DockFixesPosition(class_code::Toolbar, 0));
    EXPECT_FALSE(runtime::DockFixesPosition(class_code::Label, 1)) << "slot 0 docks only the docking kinds";
}

TEST(StyleRules, ScrollBarsAndReadingOrder) {
    const uint32_t other = 0x10000000;  // a bit the rules leave alone
    EXPECT_EQ(runtime::ScrollBarStyle(other | 0x00300000, 0), other);
    EXPECT_EQ(runtime::ScrollBarStyle(other | 0x00200000, 1), other | 0x00100000);
    EXPECT_EQ(runtime::ScrollBarStyle(other, 2), other | 0x00200000);
    EXPECT_EQ(runtime::ScrollBarStyle(other, 3), other | 0x00300000);
    EXPECT_EQ(runtime::ReadingOrderExStyle(0x200, 1), 0x2200u) << "right to left sets the reading order";
    EXPECT_EQ(runtime::ReadingOrderExStyle(0x2200, 0), 0x200u);
    EXPECT_EQ(runtime::ReadingOrderExStyle(0x2200, -1), 0x2200u);
}

}  // namespace
