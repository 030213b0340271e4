#include "runtime/build_support.h"

#include "runtime/application.h"
#include "runtime/runtime_heap.h"
#include "runtime/screen.h"
#include "runtime/system_calls.h"
#include "runtime/template/template_values.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"
#include "runtime/window_proc.h"

#include <type_traits>

namespace runtime {

HINSTANCE ApplicationInstance() { return SlotAs<HINSTANCE>(Application.Instance); }

HANDLE LoadResourceImage(uint32_t id, UINT type, int32_t width, int32_t height, UINT flags) {
    const auto name = static_cast<uintptr_t>(id);
    return wideMode != 0 ? LoadImageW(ApplicationInstance(), MAKEINTRESOURCEW(name), type, width, height, flags)
                         : LoadImageA(ApplicationInstance(), MAKEINTRESOURCEA(name), type, width, height, flags);
}

HWND CreateWindowInMode(DWORD exStyle, const void* className, const void* text, DWORD style,
                        const Placement& place, HWND parent, HMENU menuOrId, void* parameter) {
    if (wideMode != 0) {
        return CreateWindowExW(exStyle, static_cast<const wchar_t*>(className),
                               static_cast<const wchar_t*>(text), style, place.left, place.top,
                               place.width, place.height, parent, menuOrId, ApplicationInstance(),
                               parameter);
    }
    return CreateWindowExA(exStyle, static_cast<const char*>(className), static_cast<const char*>(text),
                           style, place.left, place.top, place.width, place.height, parent, menuOrId,
                           ApplicationInstance(), parameter);
}

HWND CreateControlWindow(DWORD exStyle, const char* className, const void* text, DWORD style,
                         const Placement& place, HWND parent, int32_t id, void* parameter) {
    // A child window's menu argument carries its identifier.
    const HMENU identifier = reinterpret_cast<HMENU>(static_cast<intptr_t>(id));
    if (wideMode == 0) {
        return CreateWindowInMode(exStyle, className, text, style, place, parent, identifier, parameter);
    }
    wchar_t wideName[64];
    AnsiToWide(className, wideName, 64);
    return CreateWindowInMode(exStyle, wideName, text, style, place, parent, identifier, parameter);
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

Placement PlaceInParent(HWND window) {
    RECT rect{};
    if (WindowRectInParent(window, &rect) < 0) return Placement{};
    return Placement{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

namespace {

BOOL TextExtent(HDC device, const char* text, int length, SIZE* size) {
    return GetTextExtentPoint32A(device, text, length, size);
}
BOOL TextExtent(HDC device, const wchar_t* text, int length, SIZE* size) {
    return GetTextExtentPoint32W(device, text, length, size);
}
BOOL LineMetrics(HDC device, const char*, TEXTMETRICA* metrics) { return GetTextMetricsA(device, metrics); }
BOOL LineMetrics(HDC device, const wchar_t*, TEXTMETRICW* metrics) { return GetTextMetricsW(device, metrics); }

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
        TextExtent(device, shown, shownLength, &size);
        FreeRuntimeBlock(shown);
    }
    if (size.cy == 0) {
        std::conditional_t<sizeof(Ch) == 1, TEXTMETRICA, TEXTMETRICW> metrics{};
        if (LineMetrics(device, caption, &metrics)) size.cy = metrics.tmHeight;
    }
    return size;
}

}  // namespace

SIZE MeasureCaption(const RuntimeRecord& label, HWND window) {
    HDC device = GetDC(window);
    if (device == nullptr) return SIZE{0, 0};
    HFONT font = label.FontHandle != 0 ? SlotAs<HFONT>(label.FontHandle)
                                       : reinterpret_cast<HFONT>(SendToWindow(window, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font != nullptr ? SelectObject(device, font) : nullptr;
    const SIZE size = wideMode != 0 ? MeasureCaptionIn<wchar_t>(label, device)
                                    : MeasureCaptionIn<char>(label, device);
    if (previous != nullptr) SelectObject(device, previous);
    ReleaseDC(window, device);
    return size;
}

bool IsEmptyText(uint32_t text) {
    if (text == 0) return true;
    return wideMode != 0 ? *SlotAs<const wchar_t*>(text) == 0 : *SlotAs<const char*>(text) == 0;
}

void DeleteImageObject(uint32_t handle) {
    if (handle < kFirstImageHandle) return;
    if (DeleteObject(SlotAs<HGDIOBJ>(handle))) return;
    // Icons and cursors are no GDI objects: the system refuses to delete them as such.
    DestroyIcon(SlotAs<HICON>(handle));
}

}  // namespace runtime
