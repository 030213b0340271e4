#pragma once
// The controls of the main form Window1, stated once: each one's name, index (its identifier is
// 1000 + index), class, text, place, styles and traits, in template (creation) order. The
// template (forms/main_form_layout.h), the control identifiers (forms::control_id), the tests
// and, through the driver, the scripts all read them from here. Platform-free.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "runtime/template/template_record.h"
#include "runtime/template/template_values.h"

namespace forms {

// The form's caption: its window is found by it (and its class) from outside the program.
inline constexpr char kMainFormCaption[] = "Mini-Tarvo Server V0.3";

constexpr uint32_t kDisabledStyle = 0x08000000;  // WS_DISABLED

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

    constexpr int32_t Id() const { return runtime::ControlIdFromIndex(index); }
    constexpr bool Enabled() const { return (style & kDisabledStyle) == 0; }
};

inline constexpr char kNoText[] = "";

// The controls in template (creation) order; the children of GroupCoordonate follow it.
// Colours come from the class: edits in window colours, everything else in button colours.
// Every control carries the extended style 0x10 (accept files) as the designer left it; the
// edits add the sunken client edge 0x200. (cc: the class codes.)
namespace cc = runtime::class_code;
inline constexpr ControlRow kMainFormControls[] = {
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

// Records of the template: the form, then its controls.
constexpr std::size_t kMainFormRecordCount = 1 + std::size(kMainFormControls);

// The form's direct controls. Every other row is a direct child of the container above it,
// so the counts account for each row exactly once.
constexpr int32_t kTopLevelControls = 13;

// The place in kMainFormControls of the control called `name`; the table's size when the form
// has none.
constexpr std::size_t ControlRowOf(std::string_view name) {
    std::size_t row = 0;
    while (row < std::size(kMainFormControls) && std::string_view(kMainFormControls[row].name) != name) ++row;
    return row;
}

// Not defined, and not constexpr: reached in a constant expression, it stops the compilation.
void TheMainFormHasNoControlOfThisName();

// The identifier of the control called `name`: it does not compile for a name the form lacks.
consteval int32_t ControlIdOf(std::string_view name) {
    const std::size_t row = ControlRowOf(name);
    if (row == std::size(kMainFormControls)) TheMainFormHasNoControlOfThisName();
    return kMainFormControls[row].Id();
}

}  // namespace forms
