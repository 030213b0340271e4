// Owner-drawn push buttons: face, caption and picture, classic frame and focus rectangle, all
// drawn into an off-screen copy of what lies behind the button and copied back in one blit.

#include "runtime/paint/paint_geometry.h"
#include "runtime/paint/paint_text.h"
#include "runtime/paint/picture_drawing.h"
#include "runtime/paint/shared_pens.h"
#include "runtime/paint/theme_support.h"
#include "runtime/paint/window_painting.h"
#include "runtime/process/application.h"
#include "runtime/process/startup_logic.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_message.h"

#include <initializer_list>

namespace runtime {

namespace {

constexpr COLORREF kEmbossLight = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kEmbossShadow = RGB(0x80, 0x80, 0x80);

struct ButtonLook {
    bool themed;
    bool pressed;   // ODS_SELECTED
    bool focused;   // ODS_FOCUS
    bool disabled;  // ODS_DISABLED, or the record says so
};

RECT AsRect(const PaintRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

ButtonContent LayOut(HDC device, const DRAWITEMSTRUCT& item, const RuntimeRecord& button, const ButtonLook& look) {
    ButtonContentInput in;
    in.item = PaintRect{item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
    in.captioned = HasCaption(button);
    in.wordWrap = button.MultiLine != 0;
    // Mnemonics go unmarked when the item says so, or while the system hides keyboard cues,
    // as in every other caption the runtime draws.
    in.hidePrefix = (item.itemState & ODS_NOACCEL) != 0 || TextCueFlag() != 0;
    in.hasPicture = button.ImageKind != image_kind::None && button.Picture != 0;
    in.imageWidth = button.ImageWidth;
    in.imageHeight = button.ImageHeight;
    in.position = button.ButtonStyle;
    in.pressedClassic = look.pressed && !look.themed;
    if (in.captioned) {
        RECT measured = item.rcItem;
        const int height = DrawCaption(device, button, &measured,
                                       ButtonMeasureFormat(in.wordWrap, in.hidePrefix) | DT_CALCRECT);
        in.textWidth = measured.right - measured.left;
        in.textHeight = height;
    }
    return LayOutButtonContent(in);
}

void DrawContent(HDC device, const DRAWITEMSTRUCT& item, const RuntimeRecord& button, const ButtonLook& look) {
    FontScope font(device, button.FontHandle);
    const ButtonContent content = LayOut(device, item, button, look);
    const RECT& face = item.rcItem;
    if (!look.themed && button.BackBrush != 0) {
        HGDIOBJ previous = SelectObject(device, SlotAs<HBRUSH>(button.BackBrush));
        PatBlt(device, 1, 1, face.right - 2, face.bottom - 2, PATCOPY);
        SelectObject(device, previous);
    }
    if (button.ImageKind != image_kind::None && button.Picture != 0) {
        const UINT kind = button.ImageKind == image_kind::Bitmap ? DST_BITMAP : DST_ICON;
        DrawStatePicture(device, SlotAs<HANDLE>(button.Picture), content.picture.x, content.picture.y,
                         kind | (look.disabled ? DSS_DISABLED : 0));
    }
    if (!HasCaption(button)) return;
    SetBkMode(device, TRANSPARENT);
    RECT text = AsRect(content.text);
    if (!look.disabled) {
        SetTextColor(device, button.ForeColorRgb);
        DrawCaption(device, button, &text, content.format);
        return;
    }
    // Embossed: a white copy 2 pixels right and down, the grey copy over it in place.
    RECT light = text;
    OffsetRect(&light, 2, 2);
    SetTextColor(device, kEmbossLight);
    DrawCaption(device, button, &light, content.format);
    SetTextColor(device, kEmbossShadow);
    DrawCaption(device, button, &text, content.format);
}

void Line(HDC device, HPEN pen, POINT from, std::initializer_list<POINT> to) {
    if (pen == nullptr) return;
    SelectObject(device, pen);
    MoveToEx(device, from.x, from.y, nullptr);
    for (const POINT& p : to) LineTo(device, p.x, p.y);
}

void DrawClassicFrame(HDC device, const DRAWITEMSTRUCT& item, const RuntimeRecord& button, const ButtonLook& look) {
    RECT r = item.rcItem;
    const bool focusFrame = look.focused && button.FocusFrame != 0;
    if (!look.disabled && (button.IsDefault != 0 || focusFrame)) {
        FrameRect(device, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    if (look.pressed) {
        FrameRect(device, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    } else {
        const LONG L = r.left, T = r.top, R = r.right, B = r.bottom;
        HGDIOBJ previous = SelectObject(device, GetStockObject(WHITE_PEN));
        Line(device, static_cast<HPEN>(GetStockObject(WHITE_PEN)), {L, B - 1}, {{L, T}, {R - 1, T}});
        Line(device, static_cast<HPEN>(GetStockObject(BLACK_PEN)), {R - 1, T}, {{R - 1, B - 1}, {L - 1, B - 1}});
        Line(device, static_cast<HPEN>(GetStockObject(BLACK_PEN)), {R - 1, T - 1}, {{R - 1, B - 1}});
        Line(device, darkFramePen, {R - 2, T + 1}, {{R - 2, B - 2}, {L, B - 2}});
        // The light inner edge belongs to the face of the oldest systems only.
        if (OsLevel < os_level::OldNt) Line(device, lightFramePen, {L + 1, B - 3}, {{L + 1, T + 1}, {R - 2, T + 1}});
        SelectObject(device, previous);
    }
    if (focusFrame) {
        InflateRect(&r, -3, -3);
        DrawFocusRect(device, &r);
    }
}

}  // namespace

void PaintOwnerDrawnButton(const DRAWITEMSTRUCT& item, const RuntimeRecord& button) {
    const RECT& face = item.rcItem;
    OffscreenSurface surface(item.hDC, face.right, face.bottom);
    DRAWITEMSTRUCT offscreen = item;
    offscreen.hDC = surface.Device();
    // Whatever lies behind the button shows where a themed face is partly transparent.
    if (offscreen.hDC != item.hDC) {
        BitBlt(offscreen.hDC, face.left, face.top, face.right - face.left, face.bottom - face.top, item.hDC, face.left,
               face.top, SRCCOPY);
    }
    ButtonLook look{};
    look.pressed = (item.itemState & ODS_SELECTED) != 0;
    look.focused = (item.itemState & ODS_FOCUS) != 0;
    look.disabled = (item.itemState & ODS_DISABLED) != 0 || button.Enabled == 0;
    look.themed = DrawThemedButtonFace(offscreen, button);
    DrawContent(offscreen.hDC, offscreen, button, look);
    if (!look.themed) DrawClassicFrame(offscreen.hDC, offscreen, button, look);
    surface.CopyTo(0, 0);
}

}  // namespace runtime
