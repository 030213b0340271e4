#include "forms/main_form_layout.h"

#include <cstddef>
#include <iterator>
#include <string_view>

#include "runtime/template/template_values.h"

namespace forms {
namespace {

using runtime::TemplateRecord;

// System colours (colour encoding: bit 31 and the system colour index).
constexpr uint32_t kButtonFace = 0x8000000F;
constexpr uint32_t kButtonText = 0x80000012;
constexpr uint32_t kWindowBackground = 0x80000005;
constexpr uint32_t kWindowText = 0x80000008;

// Every record of the form uses the same font.
constexpr char kFontName[] = "MS Sans Serif";
constexpr int32_t kFontSize = 8;

// Labels keep the range maximum the designer gave them.
constexpr int32_t kLabelMax = 255;

constexpr std::size_t ChildRowsClaimed() {
    std::size_t claimed = 0;
    for (const ControlRow& row : kMainFormControls) claimed += static_cast<std::size_t>(row.children);
    return claimed;
}
static_assert(kTopLevelControls + ChildRowsClaimed() == std::size(kMainFormControls));

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
    form.Text = toSlot(kMainFormCaption);
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
    control.Enabled = row.Enabled() ? 1 : 0;
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
    for (std::size_t row = 0; row < std::size(kMainFormControls); ++row) {
        LayOutControl(records[row + 1], kMainFormControls[row], toSlot);
    }
}

}  // namespace forms
