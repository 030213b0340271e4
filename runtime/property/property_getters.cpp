// GetProperty: the record looked up, the selector's row checked against the record's type, and
// the value had the way the row says; and one reader per property.

#include "runtime/property/property_getters.h"

#include <commctrl.h>

#include "runtime/build/record_values.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"

namespace runtime {

namespace {

int32_t AsValue(LRESULT result) { return static_cast<int32_t>(result); }

int32_t ReadProgressBar(HWND window, PropertyRead read) {
    switch (read) {
        case PropertyRead::RangeMax: return AsValue(SendToWindow(window, PBM_GETRANGE, FALSE, 0));
        case PropertyRead::RangeMin: return AsValue(SendToWindow(window, PBM_GETRANGE, TRUE, 0));
        default: return AsValue(SendToWindow(window, PBM_GETPOS, 0, 0));
    }
}

int32_t ReadTrackbar(HWND window, PropertyRead read) {
    switch (read) {
        case PropertyRead::RangeMax: return AsValue(SendToWindow(window, TBM_GETRANGEMAX, 0, 0));
        case PropertyRead::RangeMin: return AsValue(SendToWindow(window, TBM_GETRANGEMIN, 0, 0));
        default: return AsValue(SendToWindow(window, TBM_GETPOS, 0, 0));
    }
}

// The builder gives an up-down its 32-bit range, so it is read back whole: the 16-bit range
// and position messages would cut values beyond a word and turn negative ones positive.
int32_t ReadUpDown(HWND window, PropertyRead read) {
    if (read == PropertyRead::RangeValue) {
        BOOL failed = FALSE;
        return AsValue(SendToWindow(window, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    }
    INT low = 0;
    INT high = 0;
    SendToWindow(window, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    return read == PropertyRead::RangeMax ? high : low;
}

int32_t ReadRange(RuntimeRecord& record, HWND window, const PropertyRow& row) {
    switch (record.Type) {
        case class_code::ProgressBar: return ReadProgressBar(window, row.read);
        case class_code::Trackbar: return ReadTrackbar(window, row.read);
        case class_code::UpDown: return ReadUpDown(window, row.read);
        case class_code::ScrollBar:
        case class_code::ScrollBarAlt: SyncScrollBar(&record, 0); return ReadSlot(record, row.offset);
        default: return ReadSlot(record, row.offset);
    }
}

}  // namespace

int32_t GetProperty(HWND window, int32_t selector) {
    RuntimeRecord* record = FindWindowRecord(window);
    const PropertyRow* row = FindPropertyRow(selector);
    if (record == nullptr || row == nullptr || !row->types.Has(record->Type)) return -1;
    switch (row->read) {
        case PropertyRead::Slot: return ReadSlot(*record, row->offset);
        case PropertyRead::WindowVisible: return IsWindowVisible(window) ? 1 : 0;
        case PropertyRead::OwnerForm: return IsFormType(record->Type) ? 0 : ReadSlot(*record, row->offset);
        default: return ReadRange(*record, window, *row);
    }
}

int32_t GetAlign(HWND window) { return GetProperty(window, property::Align); }
int32_t GetAutoSize(HWND window) { return GetProperty(window, property::AutoSize); }
int32_t GetBackColor(HWND window) { return GetProperty(window, property::BackColor); }
int32_t GetButtonOption(HWND window) { return GetProperty(window, property::ButtonOption); }
int32_t GetClassValue1(HWND window) { return GetProperty(window, property::ClassValue1); }
int32_t GetMouseCursor(HWND window) { return GetProperty(window, property::MouseCursor); }
int32_t GetCursorKind(HWND window) { return GetProperty(window, property::CursorKind); }
int32_t GetFocusFrame(HWND window) { return GetProperty(window, property::FocusFrame); }
int32_t GetLineStyle(HWND window) { return GetProperty(window, property::LineStyle); }
int32_t GetLineWidth(HWND window) { return GetProperty(window, property::LineWidth); }
int32_t GetEnabled(HWND window) { return GetProperty(window, property::Enabled); }
int32_t GetPictureOption(HWND window) { return GetProperty(window, property::PictureOption); }
int32_t GetFont(HWND window) { return GetProperty(window, property::Font); }
int32_t GetFontBold(HWND window) { return GetProperty(window, property::FontBold); }
int32_t GetFontItalic(HWND window) { return GetProperty(window, property::FontItalic); }
int32_t GetFontSize(HWND window) { return GetProperty(window, property::FontSize); }
int32_t GetFontStrikeout(HWND window) { return GetProperty(window, property::FontStrikeout); }
int32_t GetFontUnderline(HWND window) { return GetProperty(window, property::FontUnderline); }
int32_t GetForeColor(HWND window) { return GetProperty(window, property::ForeColor); }
int32_t GetHeight(HWND window) { return GetProperty(window, property::Height); }
int32_t GetIcon(HWND window) { return GetProperty(window, property::Icon); }
int32_t GetSmallIcon(HWND window) { return GetProperty(window, property::SmallIcon); }
int32_t GetLeft(HWND window) { return GetProperty(window, property::Left); }
int32_t GetMax(HWND window) { return GetProperty(window, property::Max); }
int32_t GetMaxLength(HWND window) { return GetProperty(window, property::MaxLength); }
int32_t GetMdiChild(HWND window) { return GetProperty(window, property::MdiChild); }
int32_t GetMdiClient(HWND window) { return GetProperty(window, property::MdiClient); }
int32_t GetMin(HWND window) { return GetProperty(window, property::Min); }
int32_t GetModalOwner(HWND window) { return GetProperty(window, property::ModalOwner); }
int32_t GetMultiLine(HWND window) { return GetProperty(window, property::MultiLine); }
int32_t GetShowAmpersands(HWND window) { return GetProperty(window, property::ShowAmpersands); }
int32_t GetScrollBarOption(HWND window) { return GetProperty(window, property::ScrollBarOption); }
int32_t GetPasswordChar(HWND window) { return GetProperty(window, property::PasswordChar); }
int32_t GetPicture(HWND window) { return GetProperty(window, property::Picture); }
int32_t GetButtonStyle(HWND window) { return GetProperty(window, property::ButtonStyle); }
int32_t GetRightToLeft(HWND window) { return GetProperty(window, property::RightToLeft); }
int32_t GetScaleMode(HWND window) { return GetProperty(window, property::ScaleMode); }
int32_t GetScrollBars(HWND window) { return GetProperty(window, property::ScrollBars); }
int32_t GetWindowState(HWND window) { return GetProperty(window, property::WindowState); }
int32_t GetLabelOption(HWND window) { return GetProperty(window, property::LabelOption); }
int32_t GetIndex(HWND window) { return GetProperty(window, property::Index); }
int32_t GetTabStop(HWND window) { return GetProperty(window, property::TabStop); }
int32_t GetAlignment(HWND window) { return GetProperty(window, property::Alignment); }
int32_t GetTimerInterval(HWND window) { return GetProperty(window, property::TimerInterval); }
int32_t GetTop(HWND window) { return GetProperty(window, property::Top); }
int32_t GetType(HWND window) { return GetProperty(window, property::Type); }
int32_t GetValue(HWND window) { return GetProperty(window, property::Value); }
int32_t GetVisible(HWND window) { return GetProperty(window, property::Visible); }
int32_t GetDropDownItems(HWND window) { return GetProperty(window, property::DropDownItems); }
int32_t GetWidth(HWND window) { return GetProperty(window, property::Width); }
int32_t GetOwnerForm(HWND window) { return GetProperty(window, property::OwnerForm); }

}  // namespace runtime
