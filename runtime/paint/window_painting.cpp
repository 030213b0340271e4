#include "runtime/paint/window_painting.h"

#include <optional>

#include "runtime/paint/paint_geometry.h"
#include "runtime/paint/paint_text.h"
#include "runtime/paint/picture_drawing.h"
#include "runtime/process/application.h"
#include "runtime/process/startup_logic.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_message.h"
#include "runtime/process/window_table.h"

namespace runtime {

HWND hotButton = nullptr;

namespace {

RECT ClientOf(const RuntimeRecord& record) {
    RECT client{};
    GetClientRect(WindowOf(record), &client);
    return client;
}

void FillWith(HDC device, uint32_t brush, int x, int y, int width, int height) {
    if (brush == 0) return;
    HGDIOBJ previous = SelectObject(device, SlotAs<HBRUSH>(brush));
    PatBlt(device, x, y, width, height, PATCOPY);
    SelectObject(device, previous);
}

// The group box's caption band, where the caption fill goes.
RECT CaptionBandOf(const RuntimeRecord& group) {
    const PaintRect band = GroupCaptionBand(ClientOf(group).right, group.ImageWidth, group.ImageHeight,
                                            group.Alignment, group.CaptionLeft);
    return RECT{band.left, band.top, band.right, band.bottom};
}

// The brush the label's background is filled with: the application's answer to
// WM_CTLCOLORSTATIC at the label's parent, else its back brush or, transparent, none.
// `prepared` tells that the application set up the context's colours and font.
HBRUSH LabelBrush(const RuntimeRecord& label, HDC device, bool* prepared) {
    HWND window = WindowOf(label);
    HWND parent = GetParent(window);
    if (RuntimeRecord* parentRecord = parent != nullptr ? FindWindowRecord(parent) : nullptr) {
        const LRESULT brush = CallApp(Message{parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(device),
                                              reinterpret_cast<LPARAM>(window), parentRecord});
        if (brush != 0) {
            *prepared = true;
            return reinterpret_cast<HBRUSH>(brush);  // WM_CTLCOLORSTATIC answers with a brush
        }
    }
    *prepared = false;
    if (label.IsTransparent != 0) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    return SlotAs<HBRUSH>(label.BackBrush);
}

void PaintLabelCaption(const RuntimeRecord& label, HDC device, RECT rect, bool prepared) {
    if (!HasCaption(label)) return;
    if (!prepared) SetBkMode(device, TRANSPARENT);
    FontScope font(device, prepared ? 0 : label.FontHandle);
    UINT format = 0;
    if ((label.Style & 0xC) == 0) {
        format = DT_WORDBREAK;
    } else if ((label.Style & SS_CENTERIMAGE) != 0) {
        format = DT_VCENTER;
        rect.top = rect.bottom / 2 - label.ImageHeight / 2;
    }
    if (label.Alignment == 1) format |= DT_CENTER;
    if (label.Alignment == 2) format |= DT_RIGHT;
    if (label.MultiLine != 0) format |= DT_NOPREFIX;
    if (label.Enabled != 0) {
        if (!prepared) SetTextColor(device, label.ForeColorRgb);
        DrawCaption(device, label, &rect, format | TextCueFlag());
        return;
    }
    const UINT kind = label.MultiLine != 0 ? DST_TEXT : DST_PREFIXTEXT;
    DrawCaptionState(device, label, rect.left, rect.top, kind | DSS_DISABLED | StateCueFlag());
}

void PaintPictureTexts(const RuntimeRecord& picture, HDC device, RECT client) {
    SetBkMode(device, TRANSPARENT);
    const bool printed = picture.PrintedText != 0;
    if (!printed && !HasCaption(picture)) return;
    SetTextColor(device, picture.ForeColorRgb);
    FontScope font(device, picture.FontHandle);
    if (printed) {
        WithTextUnit([&](auto unit) {
            using Ch = decltype(unit);
            const Ch* text = SlotAs<const Ch*>(picture.PrintedText);
            int length = 0;
            while (text[length] != 0) ++length;
            TextOutOf(device, picture.PrintX, picture.PrintY, text, length);
        });
        return;
    }
    DrawCaption(device, picture, &client, static_cast<UINT>(picture.Value) | TextCueFlag());
}

// The system's own painting of a group box's frame, into `device` (null: its own WM_PAINT).
void PaintSystemGroupFrame(RuntimeRecord& group, HDC device, LPARAM flags) {
    const UINT id = device != nullptr ? WM_PRINTCLIENT : WM_PAINT;
    CallDefault(Message{WindowOf(group), id, reinterpret_cast<WPARAM>(device), flags, &group});
}

template <class Paint>
void PaintThroughBeginPaint(HWND window, Paint&& paint) {
    PAINTSTRUCT ps{};
    HDC device = BeginPaint(window, &ps);
    if (device != nullptr) paint(device);
    EndPaint(window, &ps);
}

// Runs `paint` in the device a paint message gives: WM_PRINTCLIENT's, or for WM_PAINT (null)
// BeginPaint's, which validates the window.
template <class Paint>
void PaintInto(HWND window, HDC given, Paint&& paint) {
    if (given != nullptr) {
        paint(given);
        return;
    }
    PaintThroughBeginPaint(window, paint);
}

// The controls the runtime paints itself rather than their class.
bool PaintsItself(const RuntimeRecord& r) {
    return r.Type == class_code::GroupBox || r.Type == class_code::PictureBox || PaintsAsLabel(r);
}

}  // namespace

void PaintFormBackground(HWND window, HDC device, const RuntimeRecord& form) {
    if (device == nullptr) return;
    RECT client{};
    GetClientRect(window, &client);
    const int pictureHeight = form.ImageHeight;
    const int pictureWidth = form.ImageWidth;
    FillWith(device, form.BackBrush, 0, pictureHeight, client.right, client.bottom - pictureHeight);
    if (form.Picture != 0 && form.ImageKind == image_kind::Bitmap) {
        HDC source = CreateCompatibleDC(device);
        if (source != nullptr) {
            HGDIOBJ previous = SelectObject(source, SlotAs<HBITMAP>(form.Picture));
            BitBlt(device, 0, 0, pictureWidth, pictureHeight, source, 0, 0, SRCCOPY);
            SelectObject(source, previous);
            DeleteDC(source);
        }
    } else if (form.Picture != 0 && form.ImageKind != image_kind::None) {
        FillWith(device, form.BackBrush, 0, 0, pictureWidth, pictureHeight);
        DrawIcon(device, 0, 0, SlotAs<HICON>(form.Picture));
    }
    if (pictureWidth > 0) {
        FillWith(device, form.BackBrush, pictureWidth, client.top, client.right - pictureWidth, pictureHeight);
    }
}

void PaintGroupCaption(const RuntimeRecord& group, HDC device) {
    if (group.ClassValue1 == 0 || OsLevel <= os_level::Nt50 || !HasCaption(group)) return;
    RECT band = CaptionBandOf(group);
    FillWith(device, group.BackBrush, band.left, band.top, band.right - band.left, band.bottom - band.top);
    band.left += 2;
    SetBkMode(device, TRANSPARENT);
    FontScope font(device, group.FontHandle);
    if (group.Enabled != 0) {
        SetTextColor(device, group.ForeColorRgb);
        DrawCaption(device, group, &band, DT_SINGLELINE | TextCueFlag());
    } else {
        DrawCaptionState(device, group, band.left, band.top, DST_PREFIXTEXT | DSS_DISABLED | StateCueFlag());
    }
}

void PaintPicture(const RuntimeRecord& picture, HDC device, int32_t erase, int32_t content) {
    HWND window = WindowOf(picture);
    if (device == nullptr) {
        PaintThroughBeginPaint(window, [&](HDC painting) { PaintPicture(picture, painting, erase, content); });
        return;
    }
    const RECT client = ClientOf(picture);
    const bool offscreen = picture.PaintsOffscreen != 0;
    std::optional<OffscreenSurface> surface;
    if (offscreen) surface.emplace(device, client.right, client.bottom);
    HDC target = surface ? surface->Device() : device;
    if (erase != 0 || offscreen) {
        FillWith(target, picture.BackBrush, 0, 0, client.right, client.bottom);
        DrawRecordPicture(picture, target, client.right, client.bottom);
    }
    if (content != 0) PaintPictureTexts(picture, target, client);
    if (surface) surface->CopyTo(0, 0);
}

void PaintLabel(const RuntimeRecord& label, HDC device) {
    const RECT client = ClientOf(label);
    bool prepared = false;
    HBRUSH brush = LabelBrush(label, device, &prepared);
    if (brush != nullptr) {
        HGDIOBJ previous = SelectObject(device, brush);
        PatBlt(device, 0, 0, client.right, client.bottom, PATCOPY);
        SelectObject(device, previous);
    }
    if (label.Type == class_code::Label) PaintLabelCaption(label, device, client, prepared);
    DrawRecordPicture(label, device, client.right, client.bottom);
}

bool PaintRuntimeWindow(RuntimeRecord& record, HDC device, LPARAM flags) {
    const bool form = IsForm(record);
    if (!form && !PaintsItself(record)) return false;
    HWND window = WindowOf(record);
    if (device != nullptr && (flags & PRF_ERASEBKGND) != 0) {
        SendToWindow(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(device), 0);
    }
    // A printed form's client area is its background; a form's WM_PAINT is the system's.
    if (form) return device != nullptr;
    switch (record.Type) {
        case class_code::GroupBox:
            if (record.ClassValue1 != 0) PaintSystemGroupFrame(record, device, flags);
            if (device == nullptr) {
                // The system's WM_PAINT validated the whole box: the caption band is painted again.
                const RECT band = CaptionBandOf(record);
                InvalidateRect(window, &band, FALSE);
            }
            PaintInto(window, device, [&](HDC into) { PaintGroupCaption(record, into); });
            return true;
        case class_code::PictureBox: PaintPicture(record, device, 0, 1); return true;
        default: PaintInto(window, device, [&](HDC into) { PaintLabel(record, into); }); return true;
    }
}

}  // namespace runtime
