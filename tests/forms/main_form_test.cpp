// The template of Window1, checked slot by slot against the form as the designer left it.
// On the host the layout runs over records full of junk with a recording address mapping; in
// the 32-bit program the template in the program's data is checked as well, with its real
// addresses.

#include "forms/main_form.h"
#include "forms/main_form_layout.h"
#include "runtime/template/template_tree.h"
#include "runtime/template/template_values.h"

#include "tests/forms/hex_text.h"

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstring>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

using formstest::Hex;

using runtime::TemplateRecord;

constexpr uint32_t kFace = 0x8000000F;        // button face
constexpr uint32_t kFaceText = 0x80000012;    // button text
constexpr uint32_t kWindowBack = 0x80000005;  // window background
constexpr uint32_t kWindowText = 0x80000008;  // window text

// One record as it must stand; every slot not named here must be 0. Address slots (names,
// texts, font name, tooltip text, Self, WindowProc) are checked through what they point to.
struct Expected {
    const char* name;
    const char* parent;  // null for the form
    int32_t type;
    const char* text;
    int32_t id = 0;      // controls: 1000 + Index
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t style = 0, exStyle = 0;
    uint32_t back = kFace, fore = kFaceText;
    int32_t enabled = 1;
    int32_t tabStop = 0, multiLine = 0, maxLength = 0, autoSize = 0, max = 0;
    int32_t alignment = 0, drawsFirst = 0, focusFrame = 0;
    int32_t controlCount = 0;
    bool self = false;  // holds its own address
    // Form only.
    int32_t isMain = 0, startPosition = 0, menu = 0, lineWidth = 0;
};

constexpr Expected kForm[] = {
    {.name = "Window1", .parent = nullptr, .type = 3, .text = "Mini-Tarvo Server V0.3",
     .width = 206, .height = 204, .style = 0x16C80000, .exStyle = 0x00040101,
     .controlCount = 13, .self = true,
     .isMain = 1, .startPosition = 2, .menu = 101, .lineWidth = 1},
    {.name = "Edit1", .parent = "Window1", .type = 5, .text = "", .id = 1008,
     .left = 29, .top = 51, .width = 83, .height = 23, .style = 0x540000C4, .exStyle = 0x210,
     .back = kWindowBack, .fore = kWindowText, .tabStop = 1, .multiLine = 1},
    {.name = "Edit2", .parent = "Window1", .type = 5, .text = "", .id = 1007,
     .left = 29, .top = 80, .width = 83, .height = 23, .style = 0x540000C4, .exStyle = 0x210,
     .back = kWindowBack, .fore = kWindowText, .tabStop = 1, .multiLine = 1},
    {.name = "Edit3", .parent = "Window1", .type = 5, .text = "", .id = 1006,
     .left = 29, .top = 110, .width = 83, .height = 23, .style = 0x540000C4, .exStyle = 0x210,
     .back = kWindowBack, .fore = kWindowText, .tabStop = 1, .multiLine = 1},
    {.name = "inputCom", .parent = "Window1", .type = 5, .text = "COM1", .id = 1005,
     .left = 123, .top = 86, .width = 65, .height = 23, .style = 0x540000C4, .exStyle = 0x210,
     .back = kWindowBack, .fore = kWindowText, .tabStop = 1, .multiLine = 1, .maxLength = 5},
    {.name = "Edit4", .parent = "Window1", .type = 5, .text = "", .id = 1004,
     .left = 125, .top = 37, .width = 61, .height = 20, .style = 0x54000080, .exStyle = 0x210,
     .back = kWindowBack, .fore = kWindowText, .tabStop = 1},
    {.name = "btnTest", .parent = "Window1", .type = 7, .text = "Testeaza port", .id = 1003,
     .left = 120, .top = 121, .width = 74, .height = 23, .style = 0x5C004300, .exStyle = 0x10,
     .enabled = 0, .tabStop = 1, .focusFrame = 1},
    {.name = "btnSetCom", .parent = "Window1", .type = 7, .text = ">", .id = 1002,
     .left = 145, .top = 66, .width = 19, .height = 18, .style = 0x54004300, .exStyle = 0x10,
     .tabStop = 1, .focusFrame = 1},
    {.name = "btnStopCom", .parent = "Window1", .type = 7, .text = "!", .id = 1001,
     .left = 166, .top = 66, .width = 19, .height = 18, .style = 0x5C004300, .exStyle = 0x10,
     .enabled = 0, .tabStop = 1, .focusFrame = 1},
    {.name = "inputLinie", .parent = "Window1", .type = 5, .text = "", .id = 1000,
     .left = 29, .top = 24, .width = 82, .height = 22, .style = 0x54000080, .exStyle = 0x210,
     .back = kWindowBack, .fore = kWindowText, .tabStop = 1},
    {.name = "Static4", .parent = "Window1", .type = 4, .text = "Sleep", .id = 1009,
     .left = 127, .top = 22, .width = 27, .height = 13, .style = 0x5400010C, .exStyle = 0x10,
     .autoSize = 1, .max = 255},
    {.name = "Static5", .parent = "Window1", .type = 4, .text = "Port", .id = 1010,
     .left = 123, .top = 71, .width = 27, .height = 16, .style = 0x5400010C, .exStyle = 0x10,
     .max = 255},
    {.name = "GroupCoordonate", .parent = "Window1", .type = 6, .text = "Coordonate spatiu",
     .id = 1012, .left = 4, .top = 3, .width = 113, .height = 141, .style = 0x56000000,
     .exStyle = 0x10, .alignment = 1, .drawsFirst = 1, .controlCount = 4, .self = true},
    {.name = "Static1", .parent = "GroupCoordonate", .type = 4, .text = "X", .id = 1013,
     .left = 8, .top = 51, .width = 7, .height = 13, .style = 0x5400010C, .exStyle = 0x10,
     .autoSize = 1, .max = 255},
    {.name = "Static2", .parent = "GroupCoordonate", .type = 4, .text = "Y", .id = 1014,
     .left = 8, .top = 82, .width = 7, .height = 13, .style = 0x5400010C, .exStyle = 0x10,
     .autoSize = 1, .max = 255},
    {.name = "Static3", .parent = "GroupCoordonate", .type = 4, .text = "Z", .id = 1015,
     .left = 9, .top = 113, .width = 7, .height = 13, .style = 0x5400010C, .exStyle = 0x10,
     .autoSize = 1, .max = 255},
    {.name = "Static6", .parent = "GroupCoordonate", .type = 4, .text = "i", .id = 1016,
     .left = 11, .top = 26, .width = 2, .height = 13, .style = 0x5400010C, .exStyle = 0x10,
     .autoSize = 1, .max = 255},
    {.name = "GRUPSETARI", .parent = "Window1", .type = 6, .text = "Setari", .id = 1011,
     .left = 119, .top = 3, .width = 77, .height = 115, .style = 0x56000000, .exStyle = 0x10,
     .alignment = 1, .drawsFirst = 1},
};
static_assert(std::size(kForm) == forms::kMainFormRecordCount);

// The non-address slots a record must hold.
TemplateRecord ValueSlots(const Expected& e) {
    TemplateRecord r{};
    const bool isForm = e.parent == nullptr;
    r.Type = e.type;
    if (!isForm) r.Index = e.id - 1000;
    r.Left = e.left;
    r.Top = e.top;
    r.Width = e.width;
    r.Height = e.height;
    r.Style = e.style;
    r.ExStyle = e.exStyle;
    r.BackColor = e.back;
    r.ForeColor = e.fore;
    r.Enabled = e.enabled;
    r.Visible = 1;
    r.ImageKind = -1;
    r.FontSize = 8;
    r.TabStop = e.tabStop;
    r.MultiLine = e.multiLine;
    r.MaxLength = e.maxLength;
    r.AutoSize = e.autoSize;
    r.Max = e.max;
    r.Alignment = e.alignment;
    r.ClassValue1 = e.drawsFirst;
    r.ClassValue5 = e.focusFrame;
    r.ControlCount = e.controlCount;
    r.IsMain = e.isMain;
    r.StartPosition = e.startPosition;
    if (isForm) r.Menu = static_cast<uint32_t>(e.menu);
    r.LineWidth = e.lineWidth;
    return r;
}

// A copy of the record with its address slots cleared.
TemplateRecord WithoutAddresses(const TemplateRecord& record) {
    TemplateRecord r = record;
    r.Name = 0;
    r.Text = 0;
    r.FontName = 0;
    r.Self = 0;
    r.WindowProc = 0;
    if (!runtime::IsFormType(r.Type)) r.ToolTipText = 0;
    return r;
}

using Slots = std::array<uint32_t, runtime::kTemplateRecordSize / 4>;
Slots SlotsOf(const TemplateRecord& record) {
    Slots slots;
    std::memcpy(slots.data(), &record, sizeof record);
    return slots;
}

// Where the template comes from: laid out into junk with the recording mapping, or (32-bit)
// the program's own template with real addresses.
struct TemplateSource {
    const char* name;
    const TemplateRecord* (*layOut)(uint32_t* windowProc);  // gives the WindowProc expected
    const void* (*addressOf)(uint32_t slot);                // null for a value never mapped
};

void PrintTo(const TemplateSource& source, std::ostream* out) { *out << source.name; }

// Host mapping: every address laid out gets a distinct slot value far above the string-table
// range, and the value leads back to the address.
std::vector<const void*>& MappedAddresses() {
    static std::vector<const void*> addresses;
    return addresses;
}
constexpr uint32_t kFirstMappedSlot = 0x00400000;

uint32_t MapAddress(const void* address) {
    auto& addresses = MappedAddresses();
    std::size_t at = 0;
    while (at < addresses.size() && addresses[at] != address) ++at;
    if (at == addresses.size()) addresses.push_back(address);
    return kFirstMappedSlot + 16 * static_cast<uint32_t>(at);
}

const void* MappedAddress(uint32_t slot) {
    const auto& addresses = MappedAddresses();
    if (slot < kFirstMappedSlot || (slot - kFirstMappedSlot) % 16 != 0) return nullptr;
    const std::size_t at = (slot - kFirstMappedSlot) / 16;
    return at < addresses.size() ? addresses[at] : nullptr;
}

TemplateRecord layoutRecords[forms::kMainFormRecordCount];

const TemplateRecord* LayOutIntoJunk(uint32_t* windowProc) {
    std::memset(layoutRecords, 0xA5, sizeof layoutRecords);
    *windowProc = 0x00A0B0C0;
    forms::LayOutMainForm(layoutRecords, *windowProc, MapAddress);
    return layoutRecords;
}

#if defined(_WIN32) && UINTPTR_MAX == UINT32_MAX
LRESULT CALLBACK FirstProc(HWND, UINT, WPARAM, LPARAM) noexcept { return 0; }
LRESULT CALLBACK SecondProc(HWND, UINT, WPARAM, LPARAM) noexcept { return 1; }

const TemplateRecord* ProgramTemplate(uint32_t* windowProc) {
    *windowProc = runtime::ToSlot(&FirstProc);
    return forms::MainFormTemplate(FirstProc);
}

const void* RealAddress(uint32_t slot) { return runtime::SlotAs<const void*>(slot); }
#endif

const TemplateSource kSources[] = {
    {"LaidOutIntoJunk", LayOutIntoJunk, MappedAddress},
#if defined(_WIN32) && UINTPTR_MAX == UINT32_MAX
    {"ProgramTemplate", ProgramTemplate, RealAddress},
#endif
};

class MainFormTemplate : public testing::TestWithParam<TemplateSource> {
protected:
    void SetUp() override { records_ = GetParam().layOut(&windowProc_); }

    // The text a slot points to; "<unmapped ...>" when it names no text.
    std::string TextAt(uint32_t slot) const {
        if (slot < runtime::kFirstTextAddress) return "<string-table id " + Hex(slot) + ">";
        const void* address = GetParam().addressOf(slot);
        if (address == nullptr) return "<unmapped " + Hex(slot) + ">";
        return static_cast<const char*>(address);
    }

    std::string NameOf(const TemplateRecord& record) const { return TextAt(record.Name); }

    const TemplateRecord* Find(const std::string& name) const {
        for (std::size_t i = 0; i < forms::kMainFormRecordCount; ++i) {
            if (NameOf(records_[i]) == name) return &records_[i];
        }
        return nullptr;
    }

    const TemplateRecord* records_ = nullptr;
    uint32_t windowProc_ = 0;
};

TEST_P(MainFormTemplate, EveryValueSlotHoldsTheDesignersValueAndTheRestAreZero) {
    for (std::size_t i = 0; i < std::size(kForm); ++i) {
        const Expected& e = kForm[i];
        const Slots want = SlotsOf(ValueSlots(e));
        const Slots got = SlotsOf(WithoutAddresses(records_[i]));
        for (std::size_t slot = 0; slot < want.size(); ++slot) {
            EXPECT_EQ(Hex(got[slot]), Hex(want[slot]))
                << "record " << i << " (" << e.name << "), slot at offset " << slot * 4;
        }
    }
}

TEST_P(MainFormTemplate, TextSlotsPointAtTheirAnsiStrings) {
    for (std::size_t i = 0; i < std::size(kForm); ++i) {
        const Expected& e = kForm[i];
        const TemplateRecord& r = records_[i];
        EXPECT_EQ(TextAt(r.Name), e.name) << "record " << i;
        EXPECT_EQ(TextAt(r.Text), e.text) << e.name;
        EXPECT_EQ(TextAt(r.FontName), "MS Sans Serif") << e.name;
        if (e.parent != nullptr) {
            EXPECT_EQ(TextAt(r.ToolTipText), "") << e.name << ": an empty tooltip text";
        }
    }
}

TEST_P(MainFormTemplate, SelfAndWindowProcSlots) {
    for (std::size_t i = 0; i < std::size(kForm); ++i) {
        const Expected& e = kForm[i];
        const TemplateRecord& r = records_[i];
        if (e.self) {
            EXPECT_EQ(GetParam().addressOf(r.Self), &r) << e.name << ": Self " << Hex(r.Self);
        } else {
            EXPECT_EQ(Hex(r.Self), Hex(0)) << e.name;
        }
        const uint32_t proc = e.parent == nullptr ? windowProc_ : 0;
        EXPECT_EQ(Hex(r.WindowProc), Hex(proc)) << e.name;
    }
}

TEST_P(MainFormTemplate, TreeWalkFindsEachControlUnderItsParent) {
    std::vector<std::string> order;
    std::vector<std::string> parents;
    const std::size_t walked = runtime::WalkTemplateTree(
        records_, forms::kMainFormRecordCount,
        [&](const TemplateRecord& record, const TemplateRecord* parent, int) {
            order.push_back(NameOf(record));
            parents.push_back(parent ? NameOf(*parent) : std::string("-"));
        });
    EXPECT_EQ(walked, 18u);
    ASSERT_EQ(order.size(), std::size(kForm));
    for (std::size_t i = 0; i < std::size(kForm); ++i) {
        EXPECT_EQ(order[i], kForm[i].name) << "visit " << i;
        EXPECT_EQ(parents[i], kForm[i].parent ? kForm[i].parent : "-") << kForm[i].name;
    }

    const auto childNames = [&](const TemplateRecord* parent) {
        std::vector<std::string> names;
        const std::size_t available = forms::kMainFormRecordCount -
                                      static_cast<std::size_t>(parent - records_);
        for (const TemplateRecord& child : runtime::TemplateChildren(parent, available)) {
            names.push_back(NameOf(child));
        }
        return names;
    };
    EXPECT_EQ(childNames(records_),
              (std::vector<std::string>{"Edit1", "Edit2", "Edit3", "inputCom", "Edit4", "btnTest",
                                        "btnSetCom", "btnStopCom", "inputLinie", "Static4",
                                        "Static5", "GroupCoordonate", "GRUPSETARI"}));
    const TemplateRecord* group = Find("GroupCoordonate");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(childNames(group),
              (std::vector<std::string>{"Static1", "Static2", "Static3", "Static6"}));
    const TemplateRecord* settings = Find("GRUPSETARI");
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(childNames(settings), std::vector<std::string>{});
}

TEST_P(MainFormTemplate, IdentifiersFollowIndexAndMatchTheApplicationsNames) {
    std::set<int32_t> ids;
    for (std::size_t i = 1; i < forms::kMainFormRecordCount; ++i) {
        ids.insert(runtime::ControlIdFromIndex(records_[i].Index));
    }
    std::set<int32_t> expected;
    for (int32_t id = 1000; id <= 1016; ++id) expected.insert(id);
    EXPECT_EQ(ids, expected) << "each identifier 1000..1016 once";

    namespace id = forms::control_id;
    const struct {
        const char* name;
        int32_t id;
    } names[] = {
        {"inputLinie", id::inputLinie}, {"btnStopCom", id::btnStopCom},
        {"btnSetCom", id::btnSetCom},   {"btnTest", id::btnTest},
        {"Edit4", id::Edit4},           {"inputCom", id::inputCom},
        {"Edit3", id::Edit3},           {"Edit2", id::Edit2},
        {"Edit1", id::Edit1},           {"Static4", id::Static4},
        {"Static5", id::Static5},       {"GRUPSETARI", id::GRUPSETARI},
        {"GroupCoordonate", id::GroupCoordonate},
        {"Static1", id::Static1},       {"Static2", id::Static2},
        {"Static3", id::Static3},       {"Static6", id::Static6},
    };
    for (const auto& n : names) {
        const TemplateRecord* record = Find(n.name);
        ASSERT_NE(record, nullptr) << n.name;
        EXPECT_EQ(runtime::ControlIdFromIndex(record->Index), n.id) << n.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, MainFormTemplate, testing::ValuesIn(kSources),
                         [](const testing::TestParamInfo<TemplateSource>& info) {
                             return std::string(info.param.name);
                         });

#if defined(_WIN32) && UINTPTR_MAX == UINT32_MAX
TEST(ProgramTemplate, LayingOutAgainChangesOnlyTheWindowProcedure) {
    const TemplateRecord* first = forms::MainFormTemplate(FirstProc);
    const std::vector<TemplateRecord> before(first, first + forms::kMainFormRecordCount);
    const TemplateRecord* second = forms::MainFormTemplate(SecondProc);
    ASSERT_EQ(second, first) << "the template stays where it is";
    EXPECT_EQ(runtime::SlotAs<WNDPROC>(second[0].WindowProc), &SecondProc);
    for (std::size_t i = 0; i < forms::kMainFormRecordCount; ++i) {
        const Slots was = SlotsOf(before[i]);
        const Slots is = SlotsOf(second[i]);
        for (std::size_t slot = 0; slot < is.size(); ++slot) {
            if (i == 0 && slot * 4 == offsetof(TemplateRecord, WindowProc)) continue;
            EXPECT_EQ(Hex(is[slot]), Hex(was[slot])) << "record " << i << ", offset " << slot * 4;
        }
    }
}
#endif

}  // namespace
