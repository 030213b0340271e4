// The setters of fonts, push-button and picture options, tabbing and cursor codes, text limits
// and password characters, and the range and position of range controls and check buttons.

#include "runtime/property/property_values.h"

#include <commctrl.h>

#include "runtime/build/record_values.h"
#include "runtime/paint/redraw.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_support.h"
#include "runtime/property/property_table.h"
#include "runtime/template/template_values.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace runtime {

namespace {

using Slot = int32_t TemplateRecord::*;

int32_t StoreFontSlot(HWND window, const SetterRule& rule, int32_t value, Slot slot) {
    return StoreSlotThen(window, rule, value, slot, RebuildFont);
}

int32_t StoreAndRepaint(HWND window, const SetterRule& rule, int32_t value, Slot slot) {
    return StoreSlotThen(window, rule, value, slot,
                         [](RuntimeRecord&, HWND stored) { RepaintNow(stored, false); });
}

int32_t StoreOnly(HWND window, const SetterRule& rule, int32_t value, Slot slot) {
    return StoreSlotThen(window, rule, value, slot, [](RuntimeRecord&, HWND) {});
}

// Cuts the caption copy of the record and the text of the window to `length` characters where
// they are longer, so that the two stay alike.
template <class Ch>
void CutTexts(RuntimeRecord& edit, HWND window, int32_t length) {
    if (edit.Text != 0) {
        Ch* copy = SlotAs<Ch*>(edit.Text);
        if (text::TextLength(copy) > length) {
            copy[length] = 0;
            edit.CaptionLength = length;
        }
    }
    if (WindowTextLengthOf(window, Ch{}) <= length) return;
    auto* kept = static_cast<Ch*>(AllocRuntimeBlock(static_cast<uint32_t>((length + 1) * sizeof(Ch))));
    if (kept == nullptr) return;
    WindowTextOf(window, kept, length + 1);
    SendToWindow(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kept));
    FreeRuntimeBlock(kept);
}

void SetProgressLimit(HWND window, int32_t value, bool maximum) {
    // The limit that stays is read back first (wParam TRUE: the low limit).
    const auto other = static_cast<int32_t>(SendToWindow(window, PBM_GETRANGE, maximum ? TRUE : FALSE, 0));
    const int32_t low = maximum ? other : value;
    const int32_t high = maximum ? value : other;
    // The 32-bit form, as the builder sets the range: the 16-bit one would cut wide ranges.
    SendToWindow(window, PBM_SETRANGE32, static_cast<WPARAM>(low), high);
}

void SetUpDownLimit(HWND window, int32_t value, bool maximum) {
    INT low = 0;
    INT high = 0;
    SendToWindow(window, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    (maximum ? high : low) = value;
    SendToWindow(window, UDM_SETRANGE32, static_cast<WPARAM>(low), high);
}

int32_t SetLimit(HWND window, int32_t value, bool maximum) {
    RuntimeRecord* record = SetterTarget(window, setter_rule::Range, value);
    if (record == nullptr) return 0;
    const bool scrollBar = record->Type == class_code::ScrollBar || record->Type == class_code::ScrollBarAlt;
    switch (record->Type) {
        case class_code::ProgressBar: SetProgressLimit(window, value, maximum); break;
        case class_code::Trackbar:
            SendToWindow(window, maximum ? TBM_SETRANGEMAX : TBM_SETRANGEMIN, TRUE, value);
            break;
        case class_code::UpDown: SetUpDownLimit(window, value, maximum); break;
        default:
            // The position may have moved since it was last read: it is not put back.
            SyncScrollBar(record, 0);
            break;
    }
    (maximum ? record->Max : record->Min) = value;
    if (scrollBar) SyncScrollBar(record, 1);
    return 1;
}

}  // namespace

int32_t SetFontBold(HWND window, int32_t bold) {
    return StoreFontSlot(window, setter_rule::AnyWindow, bold, &TemplateRecord::FontBold);
}
int32_t SetFontItalic(HWND window, int32_t italic) {
    return StoreFontSlot(window, setter_rule::AnyWindow, italic, &TemplateRecord::FontItalic);
}
int32_t SetFontStrikeout(HWND window, int32_t strikeout) {
    return StoreFontSlot(window, setter_rule::AnyWindow, strikeout, &TemplateRecord::FontStrikeout);
}
int32_t SetFontUnderline(HWND window, int32_t underline) {
    return StoreFontSlot(window, setter_rule::AnyWindow, underline, &TemplateRecord::FontUnderline);
}
int32_t SetFontSize(HWND window, int32_t points) {
    return StoreFontSlot(window, setter_rule::FontSize, points, &TemplateRecord::FontSize);
}

int32_t SetDefault(HWND window, int32_t isDefault) {
    const RuntimeRecord* button = SetterTarget(window, setter_rule::PushButton, isDefault);
    if (button == nullptr) return 0;
    HWND formWindow = SlotAs<HWND>(button->OwnerForm);
    if (isDefault != 0) {
        SendToWindow(formWindow, DM_SETDEFID, static_cast<WPARAM>(ControlIdFromIndex(button->Index)), 0);
        return 1;
    }
    const RuntimeRecord* form = FindWindowRecord(formWindow);
    if (form != nullptr && form->DefaultButton == ToSlot(window)) SendToWindow(formWindow, DM_SETDEFID, 0, 0);
    return 1;
}

int32_t SetFocusFrame(HWND window, int32_t focusFrame) {
    return StoreAndRepaint(window, setter_rule::PushButton, focusFrame, &TemplateRecord::FocusFrame);
}

int32_t SetButtonStyle(HWND window, int32_t style) {
    return StoreAndRepaint(window, setter_rule::PushButton, style, &TemplateRecord::ButtonStyle);
}

int32_t SetPictureOption(HWND window, int32_t option) {
    return StoreOnly(window, setter_rule::PictureOption, option, &TemplateRecord::PaintsOffscreen);
}

int32_t SetCursorKind(HWND window, int32_t kind) {
    return StoreOnly(window, setter_rule::CursorKind, kind, &TemplateRecord::CursorKind);
}

int32_t SetTabStop(HWND window, int32_t tabStop) {
    return StoreOnly(window, setter_rule::AnyWindow, tabStop, &TemplateRecord::TabStop);
}

int32_t SetMaxLength(HWND window, int32_t length) {
    // The limit is kept, so that MaxLength reads what the control now holds to.
    RuntimeRecord* edit = StoreSlot(window, setter_rule::MaxLength, length, &TemplateRecord::MaxLength);
    if (edit == nullptr) return 0;
    // 0 (and below) is the system's own limit, which cuts nothing.
    if (length > 0) {
        WithTextUnit([&](auto unit) { CutTexts<decltype(unit)>(*edit, window, length); });
    }
    SendToWindow(window, EM_LIMITTEXT, static_cast<WPARAM>(length > 0 ? length : 0), 0);
    return 1;
}

int32_t SetPasswordChar(HWND window, int32_t character) {
    if (StoreSlot(window, setter_rule::PasswordChar, character, &TemplateRecord::PasswordChar) == nullptr)
        return 0;
    SendToWindow(window, EM_SETPASSWORDCHAR, static_cast<WPARAM>(character), 0);
    InvalidateRect(window, nullptr, TRUE);
    return 1;
}

int32_t SetMax(HWND window, int32_t maximum) { return SetLimit(window, maximum, true); }
int32_t SetMin(HWND window, int32_t minimum) { return SetLimit(window, minimum, false); }

int32_t SetValue(HWND window, int32_t value) {
    RuntimeRecord* record = SetterTarget(window, setter_rule::Value, value);
    if (record == nullptr) return 0;
    switch (record->Type) {
        case class_code::CheckBox:
        case class_code::OptionButton:
            if (value != BST_UNCHECKED && value != BST_CHECKED) return 0;
            record->Value = value;
            SendToWindow(window, BM_SETCHECK, static_cast<WPARAM>(value), 0);
            return 1;
        case class_code::ProgressBar: SendToWindow(window, PBM_SETPOS, static_cast<WPARAM>(value), 0); break;
        case class_code::Trackbar: SendToWindow(window, TBM_SETPOS, TRUE, value); break;
        // The whole 32-bit position, matching the up-down's 32-bit range.
        case class_code::UpDown: SendToWindow(window, UDM_SETPOS32, 0, value); break;
        default:
            SyncScrollBar(record, 0);
            if (value < record->Min || value > record->Max) return 0;
            record->Value = value;
            SyncScrollBar(record, 1);
            return 1;
    }
    record->Value = value;
    return 1;
}

int32_t SetScrollBarOption(HWND window, int32_t page) {
    RuntimeRecord* record = SetterTarget(window, setter_rule::ScrollBarOption, page);
    if (record == nullptr) return 0;
    SyncScrollBar(record, 0);
    record->Alignment = page;
    SyncScrollBar(record, 1);
    return 1;
}

}  // namespace runtime
