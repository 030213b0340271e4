// Mouse and cursor rows of the runtime window procedure: the cursor of each runtime window
// follows its record's cursor code; labels, pictures, group boxes and images hold the mouse
// while a button is down; double clicks on buttons count as clicks; hyperlink labels change
// colour under the mouse; owner-drawn push buttons show hot while the mouse is over them.

#include "runtime/window/window_mouse.h"

#include <commctrl.h>
#include <windowsx.h>

#include "runtime/build/template_resources.h"
#include "runtime/paint/button_hover.h"
#include "runtime/paint/redraw.h"
#include "runtime/paint/window_painting.h"
#include "runtime/process/application.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/wait_cursor.h"
#include "runtime/process/window_table.h"
#include "runtime/window/window_operations.h"

namespace runtime {

namespace {

// Cursor codes of the records, from CursorKind.
namespace cursor_code {
constexpr int32_t OwnImage = 14;  // the record's own cursor image (Cursor)
}  // namespace cursor_code

// The rebar's hit test over its gripper (the band's grip).
constexpr int32_t kGripperHit = 4;

LPCSTR SystemCursorId(int32_t code) {
    switch (code) {
    case 2: return IDC_IBEAM;
    case 3: return IDC_WAIT;
    case 4: return IDC_CROSS;
    case 5: return IDC_UPARROW;
    case 6: return IDC_SIZEALL;
    case 7: return IDC_SIZENWSE;
    case 8: return IDC_SIZENESW;
    case 9: return IDC_SIZEWE;
    case 10: return IDC_SIZENS;
    case 11: return IDC_NO;
    case 12: return IDC_APPSTARTING;
    case 13: return IDC_HELP;
    default: return IDC_ARROW;
    }
}

HCURSOR SystemCursor(int32_t code) {
    // The system's own cursors, shared, in their default size.
    constexpr UINT kSharedDefault = LR_SHARED | LR_LOADMAP3DCOLORS | LR_DEFAULTSIZE;
    const auto id = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(SystemCursorId(code)));
    return static_cast<HCURSOR>(LoadImageResource(nullptr, id, IMAGE_CURSOR, 0, 0, kSharedDefault));
}

bool HoldsMouse(int32_t type) {
    return type == class_code::Label || type == class_code::PictureBox || type == class_code::GroupBox ||
           type == class_code::Image;
}

// What WM_SETCURSOR ends in: a cursor to show, or a result that another procedure gave.
struct CursorChoice {
    HCURSOR cursor;
    bool handledElsewhere;
    LRESULT result;
};

CursorChoice Show(HCURSOR cursor) { return CursorChoice{cursor, false, 0}; }
CursorChoice Handled(LRESULT result) { return CursorChoice{nullptr, true, result}; }

CursorChoice ChooseForEdit(const RuntimeRecord& record, HWND under) {
    if (record.CursorKind != 0) return Show(SystemCursor(record.CursorKind));
    if (record.Type != class_code::ComboBox && record.Type != class_code::ComboBoxEx) return Show(SystemCursor(2));
    HWND control = WindowOf(record);
    const bool itself = under == control || (record.Type == class_code::ComboBoxEx &&
                                             under == reinterpret_cast<HWND>(SendToWindow(control, CBEM_GETCOMBOCONTROL, 0, 0)));
    if (itself) return Show(SystemCursor(0));
    // Over the text of a combo box: the I-beam, unless the text can only be chosen from the list.
    const bool dropDownList = (GetWindowValue(control, GWL_STYLE) & 3) == 3;
    return Show(SystemCursor(dropDownList ? 0 : 2));
}

CursorChoice ChooseCursor(const Message& m, const RuntimeRecord& record, HWND under) {
    if (record.CursorKind == cursor_code::OwnImage && record.Cursor != 0) return Show(SlotAs<HCURSOR>(record.Cursor));
    switch (record.Type) {
    case class_code::TextBox:
    case class_code::RichTextBox:
    case class_code::IpAddress:
    case class_code::ComboBox:
    case class_code::ComboBoxEx:
        return ChooseForEdit(record, under);
    case class_code::Rebar:
        if (record.LastHitTest != kGripperHit) return Show(SystemCursor(record.CursorKind));
        if (record.GripperCursor != 0) return Show(SystemCursor(record.GripperCursor));
        return Handled(CallProc(SlotAs<WNDPROC>(record.ClassProc), WindowOf(record), m.id, m.wParam, m.lParam));
    default:
        // A rebar without a record of its own sets its cursor itself.
        if (HasClassName(under, REBARCLASSNAMEA, REBARCLASSNAMEW)) return Handled(DefaultWindowProc(m.window, m.id, m.wParam, m.lParam));
        return Show(SystemCursor(record.CursorKind));
    }
}

// A hyperlink label's colour in use and its repaint.
void ShowLinkColour(RuntimeRecord& label, uint32_t colour) {
    label.ForeColorRgb = ResolveColor(colour, 0);
    RepaintNow(WindowOf(label), true);
}

void TrackLinkHover(const Message& m) {
    RuntimeRecord& label = *m.record;
    if (GetCapture() != m.window) {
        SetCapture(m.window);
        ShowLinkColour(label, label.HoverColor);
        return;
    }
    RECT client{};
    GetClientRect(m.window, &client);
    const POINT at{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    if (PtInRect(&client, at)) return;
    ReleaseCapture();
    ShowLinkColour(label, label.ForeColor);
}

// Whether owner-drawn push buttons are drawn themed, and so may show hot: the theme library is
// loaded, the program has its common-controls manifest and the system draws visual styles.
bool ThemedButtons(HWND window) {
    return SendToWindow(window, FRM_GETTHEMELIB, 0, 0) != 0 && SendToWindow(window, FRM_GETTHEMEACTIVE, 0, 0) != 0 &&
           OsLevel > 4;
}

}  // namespace

LRESULT ApplyCursorRule(const Message& m) {
    const auto under = reinterpret_cast<HWND>(m.wParam);
    const RuntimeRecord* record = FindWindowRecord(under);
    if (record == nullptr) record = FindWindowRecord(GetParent(under));
    if (record == nullptr) record = m.record;
    if (record == nullptr) return 0;
    const CursorChoice choice = ChooseCursor(m, *record, under);
    if (choice.handledElsewhere) return choice.result;
    // The receiving window shows the chosen cursor through its class for this one message.
    const ULONG_PTR previous = SetClassValue(m.window, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(choice.cursor));
    DefaultWindowProc(m.window, m.id, m.wParam, m.lParam);
    SetClassValue(m.window, GCLP_HCURSOR, static_cast<LONG_PTR>(previous));
    return 1;
}

LRESULT OnSetCursor(const Message& m) {
    // The wait cursor stays up whatever the mouse passes over.
    if (waitCursorActive != 0) return 1;
    if (const LRESULT handled = CallApp(m)) return handled;
    return ApplyCursorRule(m);
}

LRESULT OnNcHitTest(const Message& m) {
    switch (m.record->Type) {
    case class_code::TabControl:
    case class_code::Animation:
    case class_code::Pager:
        return HTCLIENT;
    case class_code::GroupBox:
        // Unlike the system's group box, the runtime's receives the mouse.
        return DefaultWindowProc(m.window, m.id, m.wParam, m.lParam);
    default:
        return Generic(m);
    }
}

LRESULT OnLButtonDown(const Message& m) {
    const int32_t type = m.record->Type;
    const bool takesFocus = type == class_code::ScrollBar || type == class_code::ScrollBarAlt ||
                            type == class_code::ListView || type == class_code::TabControl ||
                            type == class_code::MonthCalendar ||
                            (type == class_code::PictureBox && m.record->TabStop != 0);
    if (takesFocus) SetFocus(m.window);
    if (HoldsMouse(type) && GetCapture() != m.window) SetCapture(m.window);
    return Generic(m);
}

LRESULT OnLButtonUp(const Message& m) {
    if (GetCapture() == m.window && (IsForm(*m.record) || HoldsMouse(m.record->Type))) ReleaseCapture();
    return Generic(m);
}

LRESULT OnLButtonDblClk(const Message& m) {
    if (const LRESULT handled = CallApp(m)) return handled;
    // A quick second click is a click: the button sees its press again.
    const int32_t type = m.record->Type;
    if (IsButtonKind(type) || type == class_code::Header) PostToWindow(m.window, WM_LBUTTONDOWN, m.wParam, m.lParam);
    return CallDefault(m);
}

LRESULT OnRButtonDown(const Message& m) {
    HWND form = IsForm(*m.record) || m.record->OwnerForm == 0 ? m.window : SlotAs<HWND>(m.record->OwnerForm);
    SetWindowPos(form, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    if (m.record->Type == class_code::ListView) SetFocus(m.window);
    return Generic(m);
}

LRESULT OnRButtonDblClk(const Message& m) {
    if (m.record->Type == class_code::PushButton) PostToWindow(m.window, WM_RBUTTONDOWN, m.wParam, m.lParam);
    return Generic(m);
}

LRESULT OnMouseMove(const Message& m) {
    if ((m.wParam & MK_LBUTTON) == 0) {
        const RuntimeRecord& r = *m.record;
        if (r.Type == class_code::PushButton && r.OwnerDrawn != 0 && hotButton != m.window && ThemedButtons(m.window)) {
            TrackButtonLeave(m.window);
        }
        if (r.Type == class_code::Label && r.IsHyperlink != 0) TrackLinkHover(m);
    }
    if (!StillBound(m)) return 0;
    return Generic(m);
}

LRESULT OnMouseLeave(const Message& m) {
    // The leave is for this window only: the mouse may already have made another button hot.
    if (HWND left = TakeHotButton(m.window)) InvalidateRect(left, nullptr, FALSE);
    return Generic(m);
}

LRESULT OnScroll(const Message& m) {
    const int32_t type = m.record->Type;
    if (IsForm(*m.record) || type == class_code::GroupBox || type == class_code::PictureBox) return Generic(m);
    SetFocus(m.window);
    const WORD request = LOWORD(m.wParam);
    if (type == class_code::ListView && (request == SB_LINEDOWN || request == SB_PAGEDOWN)) {
        InvalidateRect(m.window, nullptr, FALSE);
    }
    return Generic(m);
}

}  // namespace runtime
