// The values a record holds and its window shows, applied without checks (the builder's and
// the property setters' shared bodies).

#include "runtime/build/record_values.h"

#include <commctrl.h>

#include "runtime/build/build_support.h"
#include "runtime/build/control_builder.h"
#include "runtime/build/control_steps.h"
#include "runtime/build/modal_state.h"
#include "runtime/build/template_resources.h"
#include "runtime/paint/redraw.h"
#include "runtime/process/screen.h"
#include "runtime/process/system_calls.h"
#include "runtime/template/template_values.h"

namespace runtime {

namespace {

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

// Forms and image controls draw an icon with DrawIcon, which draws it at the system's icon
// size whatever the size of its bitmaps; push buttons (DrawState) and picture boxes
// (DrawIconEx, in the size the picture gives the box) draw it at its own size.
bool DrawsIconsAtSystemSize(int32_t type) { return IsFormType(type) || type == class_code::Image; }

// The kind and size of an applied picture: a bitmap (kind 0) in its own size, an icon (kind 1)
// in the size it is drawn, no picture as none (-1) of size 0 by 0, so that nothing of a
// removed picture's place is taken for it.
void NotePictureKind(RuntimeRecord& record, uint32_t picture) {
    if (picture == 0) {
        record.ImageKind = image_kind::None;
        record.ImageWidth = 0;
        record.ImageHeight = 0;
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
    if (DrawsIconsAtSystemSize(record.Type)) {
        record.ImageWidth = GetSystemMetrics(SM_CXICON);
        record.ImageHeight = GetSystemMetrics(SM_CYICON);
    }
}

void ShowPicture(const RuntimeRecord& record, HWND window) {
    const WPARAM type = record.ImageKind == image_kind::Bitmap ? IMAGE_BITMAP : IMAGE_ICON;
    const auto picture = static_cast<LPARAM>(record.Picture);
    if (record.Type == class_code::PushButton) SendToWindow(window, BM_SETIMAGE, type, picture);
    if (record.Type == class_code::Image) SendToWindow(window, STM_SETIMAGE, type, picture);
}

}  // namespace

void ApplyBackColor(RuntimeRecord& record, HWND window, uint32_t color) {
    record.BackColor = color;
    if (record.Type == class_code::ImageListHolder && color == kNoColor) {
        record.BackColorRgb = kNoColor;
        if (record.ImageList != 0) ImageList_SetBkColor(SlotAs<HIMAGELIST>(record.ImageList), CLR_NONE);
        return;
    }
    record.BackColorRgb = ResolveColor(color, 0);
    if (StepsOfClass(record.Type).colorsByMessage) {
        SendBackColor(record, window);
    } else {
        DeleteImageObject(record.BackBrush);
        record.BackBrush = ResolveColor(color, 1);
    }
    const bool mdiFrame = record.Type == form_kind::MdiFrame && record.MdiClient != 0;
    RepaintNow(mdiFrame ? SlotAs<HWND>(record.MdiClient) : window, true);
}

void ApplyForeColor(RuntimeRecord& record, HWND window, uint32_t color) {
    record.ForeColor = color;
    record.ForeColorRgb = ResolveColor(color, 0);
    if (HasDrawingPen(record.Type)) RemakePen(record, window);
    SendTextColor(record, window);
    RepaintNow(window, false);
}

void RemakePen(RuntimeRecord& record, HWND window) {
    if (record.Pen != 0) DeleteObject(SlotAs<HPEN>(record.Pen));
    record.Pen = ToSlot(CreatePen(record.LineStyle, record.LineWidth, record.ForeColorRgb));
    RepaintNow(window, false);
}

void ApplyPicture(RuntimeRecord& record, HWND window, uint32_t image) {
    const bool bitmaps = record.ImageKind == image_kind::Bitmap || record.ImageKind == image_kind::None;
    const uint32_t picture = LoadTemplateImage(image, bitmaps ? 1 : 0);
    const uint32_t previous = record.Picture;
    record.Picture = picture;
    if (picture == 0 || picture >= kFirstImageHandle) NotePictureKind(record, picture);
    ShowPicture(record, window);
    if (record.Type == class_code::PictureBox) AutoSizeControl(&record);
    RepaintNow(window, true);
    // Setting the picture that is already set must not delete it.
    if (previous != picture) DeleteImageObject(previous);
}

int32_t ApplyTimerInterval(RuntimeRecord& form, HWND window, int32_t milliseconds) {
    if (form.TimerId != 0) {
        if (!KillTimer(window, static_cast<UINT_PTR>(form.TimerId))) return 0;
        form.TimerId = 0;
    }
    if (milliseconds <= 0) return 0;
    form.ClassValue4 = milliseconds;
    if (SetTimer(window, kFormTimerId, static_cast<UINT>(milliseconds), nullptr) == 0) return 0;
    form.TimerId = kFormTimerId;
    return form.TimerId;
}

int32_t ApplyVisible(RuntimeRecord& record, HWND window, int32_t visible) {
    record.Visible = visible != 0 ? 1 : 0;
    if (!IsFormType(record.Type)) {
        ShowWindow(window, visible != 0 ? SW_SHOWNORMAL : SW_HIDE);
        if (visible != 0) UpdateWindow(window);
        return 1;
    }
    if (visible == 0) {
        if (IsShownModally(&record)) {
            record.Visible = 1;
            return 0;
        }
        ShowWindow(window, SW_HIDE);
        return 1;
    }
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    record.WindowState = static_cast<int32_t>(placement.showCmd) - 1;
    ShowWindow(window, static_cast<int>(placement.showCmd));
    return 1;
}

void ApplyDropDownItems(RuntimeRecord& combo, HWND window, int32_t items) {
    combo.DropDownItems = items;
    HWND list = combo.Type == class_code::ComboBoxEx
                    ? reinterpret_cast<HWND>(SendToWindow(window, CBEM_GETCOMBOCONTROL, 0, 0))
                    : window;
    const auto itemHeight = static_cast<int32_t>(SendToWindow(list, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    combo.ImageHeight = itemHeight;
    RECT rect{};
    GetWindowRect(window, &rect);
    const int32_t height = rect.bottom - rect.top;
    combo.Height = PixelsToTwipsY(height, combo.ScaleMode);
    SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, items * itemHeight + height + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    SendToWindow(window, CB_SETEDITSEL, 0, -1);
    InvalidateRect(window, nullptr, TRUE);
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
