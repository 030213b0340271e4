// The setters of colours, the drawing pen, pictures, cursors and icons, the form timer,
// visibility and the combo drop-down height, and the scroll-bar state they share.

#include "runtime/property_setters.h"

#include <commctrl.h>

#include "runtime/application.h"
#include "runtime/build_support.h"
#include "runtime/control_steps.h"
#include "runtime/form_builder.h"
#include "runtime/property_support.h"
#include "runtime/screen.h"
#include "runtime/system_calls.h"
#include "runtime/template/template_values.h"
#include "runtime/window_table.h"

namespace runtime {

namespace {

bool TakesPicture(int32_t type) { return FindPropertyRow(property::Picture)->types.Has(type); }

// Controls that draw their own background and text take the colours by message.
void SendBackColor(const RuntimeRecord& record, HWND window) {
    const auto color = static_cast<LPARAM>(record.BackColorRgb);
    switch (record.Type) {
        case class_code::TreeView: SendToWindow(window, TVM_SETBKCOLOR, 0, color); break;
        case class_code::ListView:
            SendToWindow(window, LVM_SETBKCOLOR, 0, color);
            SendToWindow(window, LVM_SETTEXTBKCOLOR, 0, color);
            break;
        case class_code::ProgressBar: SendToWindow(window, PBM_SETBKCOLOR, 0, color); break;
        case class_code::Pager: SendToWindow(window, PGM_SETBKCOLOR, 0, color); break;
        case class_code::Rebar: SendToWindow(window, RB_SETBKCOLOR, 0, color); break;
        default: break;
    }
}

void SendTextColor(const RuntimeRecord& record, HWND window) {
    const auto color = static_cast<LPARAM>(record.ForeColorRgb);
    switch (record.Type) {
        case class_code::TreeView: SendToWindow(window, TVM_SETTEXTCOLOR, 0, color); break;
        case class_code::ListView: SendToWindow(window, LVM_SETTEXTCOLOR, 0, color); break;
        case class_code::ProgressBar: SendToWindow(window, PBM_SETBARCOLOR, 0, color); break;
        case class_code::Rebar: SendToWindow(window, RB_SETTEXTCOLOR, 0, color); break;
        default: break;
    }
}

// The drawing pen of a window form or picture box, from its stored style and width and its
// resolved fore colour.
void RemakePen(RuntimeRecord& record, HWND window) {
    if (record.Pen != 0) DeleteObject(SlotAs<HPEN>(record.Pen));
    record.Pen = ToSlot(CreatePen(record.LineStyle, record.LineWidth, record.ForeColorRgb));
    RepaintNow(window, false);
}

// Gives the window its new large or small icon and destroys the one it had, unless the form
// still shows that one (the same icon in both sizes, or set again). A resource that did not
// load is no icon: the window keeps the one it has.
void ReplaceWindowIcon(const RuntimeRecord& form, HWND window, WPARAM size, uint32_t icon) {
    if (IsImageResourceId(icon)) return;
    const auto previous = static_cast<uint32_t>(SendToWindow(window, WM_SETICON, size, static_cast<LPARAM>(icon)));
    if (previous == 0 || previous == form.Icon || previous == form.SmallIcon) return;
    DestroyIcon(SlotAs<HICON>(previous));
}

// A form's large or small icon: loaded into its slot and given to the window.
int32_t SetFormIcon(HWND window, uint32_t image, uint32_t TemplateRecord::*slot, WPARAM size) {
    RuntimeRecord* form = SetterTarget(window, setter_rule::Form, static_cast<int32_t>(image));
    if (form == nullptr) return 0;
    form->*slot = LoadTemplateImage(image, 0);
    ReplaceWindowIcon(*form, window, size, form->*slot);
    return 1;
}

// The kind and size of an applied picture: a bitmap (kind 0) or an icon (kind 1).
void NotePictureKind(RuntimeRecord& record, uint32_t picture) {
    if (picture == 0) {
        record.ImageKind = image_kind::None;
        return;
    }
    if (GetObjectType(SlotAs<HGDIOBJ>(picture)) == OBJ_BITMAP) {
        BITMAP bitmap{};
        GetObjectA(SlotAs<HGDIOBJ>(picture), sizeof bitmap, &bitmap);
        record.ImageKind = image_kind::Bitmap;
        record.ImageWidth = bitmap.bmWidth;
        record.ImageHeight = bitmap.bmHeight;
        return;
    }
    ICONINFO icon{};
    if (!GetIconInfo(SlotAs<HICON>(picture), &icon)) return;
    BITMAP bitmap{};
    GetObjectA(icon.hbmColor != nullptr ? icon.hbmColor : icon.hbmMask, sizeof bitmap, &bitmap);
    record.ImageKind = image_kind::Icon;
    record.ImageWidth = bitmap.bmWidth;
    // A monochrome icon's mask holds the AND and the XOR mask one above the other.
    record.ImageHeight = icon.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2;
    if (icon.hbmColor != nullptr) DeleteObject(icon.hbmColor);
    if (icon.hbmMask != nullptr) DeleteObject(icon.hbmMask);
}

void ShowPicture(const RuntimeRecord& record, HWND window) {
    const WPARAM type = record.ImageKind == image_kind::Bitmap ? IMAGE_BITMAP : IMAGE_ICON;
    const auto picture = static_cast<LPARAM>(record.Picture);
    if (record.Type == class_code::PushButton) SendToWindow(window, BM_SETIMAGE, type, picture);
    if (record.Type == class_code::Image) SendToWindow(window, STM_SETIMAGE, type, picture);
}

}  // namespace

int32_t SetBackColor(HWND window, uint32_t color) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    record->BackColor = color;
    if (record->Type == class_code::ImageListHolder && color == kNoColor) {
        record->BackColorRgb = kNoColor;
        if (record->ImageList != 0) ImageList_SetBkColor(SlotAs<HIMAGELIST>(record->ImageList), CLR_NONE);
        return 1;
    }
    record->BackColorRgb = ResolveColor(color, 0);
    if (StepsOfClass(record->Type).colorsByMessage) {
        SendBackColor(*record, window);
    } else {
        DeleteImageObject(record->BackBrush);
        record->BackBrush = ResolveColor(color, 1);
    }
    const bool mdiFrame = record->Type == form_kind::MdiFrame && record->MdiClient != 0;
    RepaintNow(mdiFrame ? SlotAs<HWND>(record->MdiClient) : window, true);
    return 1;
}

int32_t SetForeColor(HWND window, uint32_t color) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    record->ForeColor = color;
    record->ForeColorRgb = ResolveColor(color, 0);
    if (setter_rule::LineStyle.types.Has(record->Type)) RemakePen(*record, window);
    SendTextColor(*record, window);
    RepaintNow(window, false);
    return 1;
}

int32_t SetLineStyle(HWND window, int32_t style) {
    return StoreSlotThen(window, setter_rule::LineStyle, style, &TemplateRecord::LineStyle, RemakePen);
}

int32_t SetLineWidth(HWND window, int32_t width) {
    return StoreSlotThen(window, setter_rule::LineWidth, width, &TemplateRecord::LineWidth, RemakePen);
}

int32_t SetPicture(HWND window, uint32_t image) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr || !TakesPicture(record->Type)) return 0;
    const bool bitmaps = record->ImageKind == image_kind::Bitmap || record->ImageKind == image_kind::None;
    const uint32_t picture = LoadTemplateImage(image, bitmaps ? 1 : 0);
    const uint32_t previous = record->Picture;
    record->Picture = picture;
    if (picture == 0 || picture >= kFirstImageHandle) NotePictureKind(*record, picture);
    ShowPicture(*record, window);
    if (record->Type == class_code::PictureBox) AutoSizeControl(record);
    RepaintNow(window, true);
    // Setting the picture that is already set must not delete it.
    if (previous != picture) DeleteImageObject(previous);
    return 1;
}

int32_t SetMouseCursor(HWND window, uint32_t image) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    const uint32_t previous = record->Cursor;
    record->Cursor = LoadTemplateImage(image, 0);
    if (previous != record->Cursor && previous >= kFirstImageHandle) DestroyCursor(SlotAs<HCURSOR>(previous));
    return 1;
}

int32_t SetIcon(HWND window, uint32_t image) {
    return SetFormIcon(window, image, &TemplateRecord::Icon, ICON_BIG);
}

int32_t SetSmallIcon(HWND window, uint32_t image) {
    return SetFormIcon(window, image, &TemplateRecord::SmallIcon, ICON_SMALL);
}

int32_t SetTimerInterval(HWND window, int32_t milliseconds) {
    RuntimeRecord* record = SetterTarget(window, setter_rule::Form, milliseconds);
    if (record == nullptr) return 0;
    if (record->TimerId != 0) {
        if (!KillTimer(window, static_cast<UINT_PTR>(record->TimerId))) return 0;
        record->TimerId = 0;
    }
    if (milliseconds <= 0) return 0;
    record->ClassValue4 = milliseconds;
    constexpr UINT_PTR kFormTimer = 2;
    if (SetTimer(window, kFormTimer, static_cast<UINT>(milliseconds), nullptr) == 0) return 0;
    record->TimerId = static_cast<int32_t>(kFormTimer);
    return record->TimerId;
}

int32_t SetVisible(HWND window, int32_t visible) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    record->Visible = visible != 0 ? 1 : 0;
    if (!IsFormType(record->Type)) {
        ShowWindow(window, visible != 0 ? SW_SHOWNORMAL : SW_HIDE);
        if (visible != 0) UpdateWindow(window);
        return 1;
    }
    if (visible == 0) {
        if (record->ModalOwner != 0) {
            record->Visible = 1;
            return 0;
        }
        ShowWindow(window, SW_HIDE);
        return 1;
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    record->WindowState = static_cast<int32_t>(placement.showCmd) - 1;
    ShowWindow(window, static_cast<int>(placement.showCmd));
    return 1;
}

int32_t SetDropDownItems(HWND window, int32_t items) {
    RuntimeRecord* record = SetterTarget(window, setter_rule::DropDownItems, items);
    if (record == nullptr) return 0;
    record->MaxLength = items;
    HWND combo = record->Type == class_code::ComboBoxEx
                     ? reinterpret_cast<HWND>(SendToWindow(window, CBEM_GETCOMBOCONTROL, 0, 0))
                     : window;
    const auto itemHeight =
        static_cast<int32_t>(SendToWindow(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    record->ImageHeight = itemHeight;
    RECT rect{};
    GetWindowRect(window, &rect);
    const int32_t height = rect.bottom - rect.top;
    record->Height = PixelsToTwipsY(height, record->ScaleMode);
    SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, items * itemHeight + height + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    SendToWindow(window, CB_SETEDITSEL, 0, -1);
    InvalidateRect(window, nullptr, TRUE);
    return 1;
}

void SyncScrollBar(RuntimeRecord* scrollBar, int32_t apply) {
    HWND window = SlotAs<HWND>(scrollBar->Window);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(window, SB_CTL, &info);
    if (apply == 0) {
        scrollBar->Min = info.nMin;
        scrollBar->Max = info.nMax;
        scrollBar->Value = info.nPos;
        return;
    }
    info.nMin = scrollBar->Min;
    info.nMax = scrollBar->Max;
    info.nPos = scrollBar->Value;
    info.nTrackPos = scrollBar->Value;
    info.nPage = static_cast<UINT>(scrollBar->Alignment);
    SetScrollInfo(window, SB_CTL, &info, TRUE);
}

}  // namespace runtime
