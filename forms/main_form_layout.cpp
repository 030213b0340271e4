#include "forms/main_form_layout.h"

#include <cstddef>
#include <iterator>
#include <string_view>

#include "runtime/template/template_values.h"

namespace forms {
namespace {

using runtime::TemplateRecord;
namespace cc = runtime::class_code;

constexpr uint32_t kDisabledStyle = 0x08000000;  // WS_DISABLED

// System colours (colour encoding: bit 31 and the system colour index).
constexpr uint32_t kButtonFace = 0x8000000F;
constexpr uint32_t kButtonText = 0x80000012;
constexpr uint32_t kWindowBackground = 0x80000005;
constexpr uint32_t kWindowText = 0x80000008;

// Every record of the form uses the same font.
constexpr char kFontName[] = "MS Sans Serif";
constexpr int32_t kFontSize = 8;
constexpr char kNoText[] = "";

// Labels keep the range maximum the designer gave them.
constexpr int32_t kLabelMax = 255;

// Flags of a control row: the slots that only some controls set to 1.
enum Trait : uint32_t {
    kTabStop = 1u << 0,            // TabStop 1
    kMultiLine = 1u << 1,          // MultiLine 1 (edits with the multi-line style)
    kAutoSize = 1u << 2,           // label sized to its text
    kFocusFrame = 1u << 3,         // push button draws a focus frame (ClassValue5)
    kCentredCaption = 1u << 4,     // group box: Alignment 1
    kSystemDrawsFirst = 1u << 5,   // group box: the system button procedure draws first
                                   // (ClassValue1)
};

struct Rect {
    int32_t left, top, width, height;  // pixels, relative to the parent's client area
};

struct ControlRow {
    const char* name;
    int32_t index;     // the identifier is 1000 + index
    int32_t type;      // class code
    const char* text;
    Rect rect;
    uint32_t style;    // a disabled style bit also clears Enabled
    uint32_t exStyle;
    uint32_t traits;
    int32_t maxLength;
    int32_t children;  // records of its own children that follow it directly
};

// The controls in template (creation) order; the children of GroupCoordonate follow it.
// Colours come from the class: edits in window colours, everything else in button colours.
// Every control carries the extended style 0x10 (accept files) as the designer left it; the
// edits add the sunken client edge 0x200.
constexpr ControlRow kControls[] = {
    // name              idx class           text                 left  top  w    h    style       exStyle traits                           maxLength children
    {"Edit1",             8, cc::TextBox,    kNoText,             {29,  51,  83,  23}, 0x540000C4, 0x210, kTabStop | kMultiLine,                0, 0},
    {"Edit2",             7, cc::TextBox,    kNoText,             {29,  80,  83,  23}, 0x540000C4, 0x210, kTabStop | kMultiLine,                0, 0},
    {"Edit3",             6, cc::TextBox,    kNoText,             {29,  110, 83,  23}, 0x540000C4, 0x210, kTabStop | kMultiLine,                0, 0},
    {"inputCom",          5, cc::TextBox,    "COM1",              {123, 86,  65,  23}, 0x540000C4, 0x210, kTabStop | kMultiLine,                5, 0},
    {"Edit4",             4, cc::TextBox,    kNoText,             {125, 37,  61,  20}, 0x54000080, 0x210, kTabStop,                             0, 0},
    {"btnTest",           3, cc::PushButton, "Testeaza port",     {120, 121, 74,  23}, 0x5C004300, 0x010, kTabStop | kFocusFrame,               0, 0},
    {"btnSetCom",         2, cc::PushButton, ">",                 {145, 66,  19,  18}, 0x54004300, 0x010, kTabStop | kFocusFrame,               0, 0},
    {"btnStopCom",        1, cc::PushButton, "!",                 {166, 66,  19,  18}, 0x5C004300, 0x010, kTabStop | kFocusFrame,               0, 0},
    {"inputLinie",        0, cc::TextBox,    kNoText,             {29,  24,  82,  22}, 0x54000080, 0x210, kTabStop,                             0, 0},
    {"Static4",           9, cc::Label,      "Sleep",             {127, 22,  27,  13}, 0x5400010C, 0x010, kAutoSize,                            0, 0},
    {"Static5",          10, cc::Label,      "Port",              {123, 71,  27,  16}, 0x5400010C, 0x010, 0,                                    0, 0},
    {"GroupCoordonate",  12, cc::GroupBox,   "Coordonate spatiu", {4,   3,   113, 141}, 0x56000000, 0x010, kCentredCaption | kSystemDrawsFirst, 0, 4},
    {"Static1",          13, cc::Label,      "X",                 {8,   51,  7,   13}, 0x5400010C, 0x010, kAutoSize,                            0, 0},
    {"Static2",          14, cc::Label,      "Y",                 {8,   82,  7,   13}, 0x5400010C, 0x010, kAutoSize,                            0, 0},
    {"Static3",          15, cc::Label,      "Z",                 {9,   113, 7,   13}, 0x5400010C, 0x010, kAutoSize,                            0, 0},
    {"Static6",          16, cc::Label,      "i",                 {11,  26,  2,   13}, 0x5400010C, 0x010, kAutoSize,                            0, 0},
    {"GRUPSETARI",       11, cc::GroupBox,   "Setari",            {119, 3,   77,  115}, 0x56000000, 0x010, kCentredCaption | kSystemDrawsFirst, 0, 0},
};
static_assert(1 + std::size(kControls) == kMainFormRecordCount);

// The form's direct controls. Every other row is a direct child of the container above it,
// so the counts account for each row exactly once.
constexpr int32_t kTopLevelControls = 13;

constexpr std::size_t ChildRowsClaimed() {
    std::size_t claimed = 0;
    for (const ControlRow& row : kControls) claimed += static_cast<std::size_t>(row.children);
    return claimed;
}
static_assert(kTopLevelControls + ChildRowsClaimed() == std::size(kControls));

// The identifiers the application uses must be those the template gives.
constexpr int32_t IdOf(std::string_view name) {
    for (const ControlRow& row : kControls) {
        if (std::string_view(row.name) == name) return runtime::ControlIdFromIndex(row.index);
    }
    return -1;
}
static_assert(IdOf("inputLinie") == control_id::inputLinie);
static_assert(IdOf("btnStopCom") == control_id::btnStopCom);
static_assert(IdOf("btnSetCom") == control_id::btnSetCom);
static_assert(IdOf("btnTest") == control_id::btnTest);
static_assert(IdOf("Edit4") == control_id::Edit4);
static_assert(IdOf("inputCom") == control_id::inputCom);
static_assert(IdOf("Edit3") == control_id::Edit3);
static_assert(IdOf("Edit2") == control_id::Edit2);
static_assert(IdOf("Edit1") == control_id::Edit1);
static_assert(IdOf("Static4") == control_id::Static4);
static_assert(IdOf("Static5") == control_id::Static5);
static_assert(IdOf("GRUPSETARI") == control_id::GRUPSETARI);
static_assert(IdOf("GroupCoordonate") == control_id::GroupCoordonate);
static_assert(IdOf("Static1") == control_id::Static1);
static_assert(IdOf("Static2") == control_id::Static2);
static_assert(IdOf("Static3") == control_id::Static3);
static_assert(IdOf("Static6") == control_id::Static6);

// The slots that forms and controls share.
void LayOutCommon(TemplateRecord& record, AddressToSlot toSlot) {
    record = TemplateRecord{};
    record.FontName = toSlot(kFontName);
    record.FontSize = kFontSize;
    record.ScaleMode = runtime::scale_mode::Pixels;
    record.Visible = 1;
    record.ImageKind = runtime::image_kind::None;
    record.BackColor = kButtonFace;
    record.ForeColor = kButtonText;
}

void LayOutForm(TemplateRecord& form, uint32_t windowProc, AddressToSlot toSlot) {
    LayOutCommon(form, toSlot);
    form.Type = runtime::form_kind::Window;
    form.Name = toSlot("Window1");
    form.Text = toSlot("Mini-Tarvo Server V0.3");
    form.IsMain = 1;
    form.StartPosition = runtime::start_position::CenterScreen;
    form.Width = 206;
    form.Height = 204;
    // Visible, clip siblings, clip children, caption, system menu: a fixed-size window.
    form.Style = 0x16C80000;
    // App window, window edge, dialog modal frame.
    form.ExStyle = 0x00040101;
    form.Menu = kMainMenuId;
    form.Enabled = 1;
    form.WindowState = runtime::window_state::Normal;
    form.LineWidth = 1;
    form.WindowProc = windowProc;
    form.ControlCount = kTopLevelControls;
    form.Self = toSlot(&form);
}

void LayOutControl(TemplateRecord& control, const ControlRow& row, AddressToSlot toSlot) {
    LayOutCommon(control, toSlot);
    control.Type = row.type;
    control.Name = toSlot(row.name);
    control.Text = toSlot(row.text);
    control.ToolTipText = toSlot(kNoText);
    control.Index = row.index;
    control.Left = row.rect.left;
    control.Top = row.rect.top;
    control.Width = row.rect.width;
    control.Height = row.rect.height;
    control.Style = row.style;
    control.ExStyle = row.exStyle;
    control.Enabled = (row.style & kDisabledStyle) != 0 ? 0 : 1;
    control.TabStop = (row.traits & kTabStop) != 0 ? 1 : 0;
    control.MultiLine = (row.traits & kMultiLine) != 0 ? 1 : 0;
    control.AutoSize = (row.traits & kAutoSize) != 0 ? 1 : 0;
    control.ClassValue5 = (row.traits & kFocusFrame) != 0 ? 1 : 0;
    control.Alignment = (row.traits & kCentredCaption) != 0 ? 1 : 0;
    control.ClassValue1 = (row.traits & kSystemDrawsFirst) != 0 ? 1 : 0;
    control.MaxLength = row.maxLength;
    if (row.type == cc::TextBox) {
        control.BackColor = kWindowBackground;
        control.ForeColor = kWindowText;
    }
    if (row.type == cc::Label) control.Max = kLabelMax;
    control.ControlCount = row.children;
    // The builder finds a container's children through its own address.
    if (row.children > 0) control.Self = toSlot(&control);
}

}  // namespace

void LayOutMainForm(std::span<TemplateRecord, kMainFormRecordCount> records, uint32_t windowProc,
                    AddressToSlot toSlot) {
    LayOutForm(records[0], windowProc, toSlot);
    for (std::size_t row = 0; row < std::size(kControls); ++row) {
        LayOutControl(records[row + 1], kControls[row], toSlot);
    }
}

}  // namespace forms
