#include "runtime/build/build_support.h"

#include "runtime/process/application.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/screen.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_message.h"
#include "runtime/process/window_table.h"
#include "runtime/template/template_values.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace runtime {

HANDLE LoadResourceImage(uint32_t id, UINT type, int32_t width, int32_t height, UINT flags) {
    return LoadImageResource(ApplicationInstance(), id, type, width, height, flags);
}

HWND CreateWindowAt(DWORD exStyle, const void* className, const void* text, DWORD style, const Placement& place,
                    HWND parent, HMENU menuOrId, void* parameter) {
    return CreateWindowInMode(exStyle, className, text, style, place.left, place.top, place.width, place.height,
                              parent, menuOrId, ApplicationInstance(), parameter);
}

HWND CreateControlWindow(DWORD exStyle, const char* className, const void* text, DWORD style,
                         const Placement& place, HWND parent, int32_t id, void* parameter) {
    // A child window's menu argument carries its identifier.
    const HMENU identifier = reinterpret_cast<HMENU>(static_cast<intptr_t>(id));
    wchar_t name[kAnsiCopyLimit];
    return CreateWindowAt(exStyle, CopyAnsiText(className, name), text, style, place, parent, identifier, parameter);
}

Placement PixelPlacement(const RuntimeRecord& record) {
    return Placement{TwipsToPixelsX(record.Left, record.ScaleMode),
                     TwipsToPixelsY(record.Top, record.ScaleMode),
                     TwipsToPixelsX(record.Width, record.ScaleMode),
                     TwipsToPixelsY(record.Height, record.ScaleMode)};
}

void StorePlacement(RuntimeRecord& record, const Placement& pixels) {
    record.Left = PixelsToTwipsX(pixels.left, record.ScaleMode);
    record.Top = PixelsToTwipsY(pixels.top, record.ScaleMode);
    record.Width = PixelsToTwipsX(pixels.width, record.ScaleMode);
    record.Height = PixelsToTwipsY(pixels.height, record.ScaleMode);
}

int32_t WindowRectInParent(HWND window, RECT* rectangle) {
    const RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr || !GetWindowRect(window, rectangle)) return -1;
    if (IsForm(*record) && record->MdiChild == 0) return 1;
    HWND parent = GetParent(window);
    if (parent == nullptr) return -1;
    POINT topLeft{rectangle->left, rectangle->top};
    ScreenToClient(parent, &topLeft);
    const LONG width = rectangle->right - rectangle->left;
    const LONG height = rectangle->bottom - rectangle->top;
    *rectangle = RECT{topLeft.x, topLeft.y, topLeft.x + width, topLeft.y + height};
    return 1;
}

Placement PlaceInParent(HWND window) {
    RECT rect{};
    if (WindowRectInParent(window, &rect) < 0) return Placement{};
    return Placement{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

namespace {

template <class Ch>
SIZE MeasureCaptionIn(const RuntimeRecord& label, HDC device) {
    SIZE size{0, 0};
    // A record without a caption copy measures as an empty caption.
    static constexpr Ch kEmpty[1] = {0};
    const Ch* caption = label.Text != 0 ? SlotAs<const Ch*>(label.Text) : kEmpty;
    const int32_t length = text::TextLength(caption);
    auto* shown = static_cast<Ch*>(AllocRuntimeBlock(static_cast<uint32_t>((length + 1) * sizeof(Ch))));
    if (shown != nullptr) {
        const int32_t shownLength = text::StripMnemonic(caption, shown, label.MultiLine);
        TextExtentOf(device, shown, shownLength, &size);
        FreeRuntimeBlock(shown);
    }
    if (size.cy == 0) size.cy = LineHeightOf(device, Ch{});
    return size;
}

}  // namespace

SIZE MeasureCaption(const RuntimeRecord& label, HWND window) {
    HDC device = GetDC(window);
    if (device == nullptr) return SIZE{0, 0};
    HFONT font = label.FontHandle != 0 ? SlotAs<HFONT>(label.FontHandle)
                                       : reinterpret_cast<HFONT>(SendToWindow(window, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font != nullptr ? SelectObject(device, font) : nullptr;
    const SIZE size = WithTextUnit([&](auto unit) { return MeasureCaptionIn<decltype(unit)>(label, device); });
    if (previous != nullptr) SelectObject(device, previous);
    ReleaseDC(window, device);
    return size;
}

bool IsEmptyText(uint32_t text) {
    if (text == 0) return true;
    return WithTextUnit([text](auto unit) { return *SlotAs<const decltype(unit)*>(text) == 0; });
}

void DeleteImageObject(uint32_t handle) {
    if (handle < kFirstImageHandle) return;
    if (DeleteObject(SlotAs<HGDIOBJ>(handle))) return;
    // Icons and cursors are no GDI objects: the system refuses to delete them as such.
    DestroyIcon(SlotAs<HICON>(handle));
}

}  // namespace runtime
