// Drawing on forms and picture boxes: the print position, printed text and shapes.

#include "runtime/property/property_drawing.h"

#include "runtime/build/template_resources.h"
#include "runtime/paint/redraw.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/screen.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_support.h"
#include "runtime/property/property_table.h"
#include "runtime/property/property_texts.h"
#include "runtime/text/pointer_check.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace runtime {

namespace {

// The runtime windows that can be drawn on.
RuntimeRecord* DrawingTarget(HWND window) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr || !setter_rule::PrintPosition.types.Has(record->Type)) return nullptr;
    return record;
}

enum class Axis { Horizontal, Vertical };

int32_t ToPixels(const RuntimeRecord& record, Axis axis, int32_t value) {
    return axis == Axis::Horizontal ? TwipsToPixelsX(value, record.ScaleMode)
                                    : TwipsToPixelsY(value, record.ScaleMode);
}

// The print position is kept in pixels.
int32_t& PrintPosition(RuntimeRecord& record, Axis axis) {
    return axis == Axis::Horizontal ? record.PrintX : record.PrintY;
}

int32_t SetPrintPosition(HWND window, Axis axis, int32_t value) {
    RuntimeRecord* record = SetterTarget(window, setter_rule::PrintPosition, value);
    if (record == nullptr) return 0;
    PrintPosition(*record, axis) = ToPixels(*record, axis, value);
    return 1;
}

// Read back in the scale mode in which it was set.
int32_t GetPrintPosition(HWND window, Axis axis) {
    RuntimeRecord* record = DrawingTarget(window);
    if (record == nullptr) return -1;
    const int32_t pixels = PrintPosition(*record, axis);
    return axis == Axis::Horizontal ? PixelsToTwipsX(pixels, record->ScaleMode)
                                    : PixelsToTwipsY(pixels, record->ScaleMode);
}

template <class Ch>
int32_t PrintTextIn(HWND window, const Ch* text) {
    RuntimeRecord* record = DrawingTarget(window);
    if (record == nullptr) return 0;
    if (record->Type == class_code::PictureBox) {
        // The picture box draws the text in its own painting, while the slot holds it.
        void* copy = CopyTextInMode(text);
        if (copy == nullptr) return 0;
        record->PrintedText = ToSlot(copy);
        RepaintNow(window, true);
        record->PrintedText = 0;
        FreeRuntimeBlock(copy);
        return 1;
    }
    HDC device = GetDC(window);
    if (device == nullptr) return 0;
    HGDIOBJ previousFont =
        record->FontHandle != 0 ? SelectObject(device, SlotAs<HFONT>(record->FontHandle)) : nullptr;
    SetTextColor(device, record->ForeColorRgb);
    SetBkMode(device, TRANSPARENT);
    TextOutOf(device, record->PrintX, record->PrintY, text, text::TextLength(text));
    if (previousFont != nullptr) SelectObject(device, previousFont);
    ReleaseDC(window, device);
    return 1;
}

int32_t DrawOn(HWND window, Shape::Kind kind, const int32_t (&corners)[4], uint32_t color) {
    RuntimeRecord* record = DrawingTarget(window);
    if (record == nullptr) return 0;
    Shape shape;
    shape.kind = kind;
    shape.corners =
        RECT{ToPixels(*record, Axis::Horizontal, corners[0]), ToPixels(*record, Axis::Vertical, corners[1]),
             ToPixels(*record, Axis::Horizontal, corners[2]), ToPixels(*record, Axis::Vertical, corners[3])};
    shape.color = ResolveColor(color, 0);
    shape.penStyle = record->LineStyle;
    shape.penWidth = record->LineWidth;
    HDC device = GetDC(window);
    if (device == nullptr) return 0;
    DrawShape(device, shape);
    ReleaseDC(window, device);
    return 1;
}

}  // namespace

void DrawShape(HDC device, const Shape& shape) {
    HPEN pen = CreatePen(shape.penStyle, shape.penWidth, shape.color);
    HBRUSH brush = shape.kind == Shape::Kind::Box ? nullptr : CreateSolidBrush(shape.color);
    HGDIOBJ previousPen = SelectObject(device, pen != nullptr ? pen : GetStockObject(BLACK_PEN));
    HGDIOBJ previousBrush = SelectObject(device, brush != nullptr ? brush : GetStockObject(NULL_BRUSH));
    const RECT& c = shape.corners;
    switch (shape.kind) {
        case Shape::Kind::Line:
            MoveToEx(device, c.left, c.top, nullptr);
            LineTo(device, c.right, c.bottom);
            break;
        case Shape::Kind::Box:
        case Shape::Kind::FilledBox: Rectangle(device, c.left, c.top, c.right, c.bottom); break;
        case Shape::Kind::Ellipse: Ellipse(device, c.left, c.top, c.right, c.bottom); break;
    }
    SelectObject(device, previousPen);
    SelectObject(device, previousBrush);
    if (pen != nullptr) DeleteObject(pen);
    if (brush != nullptr) DeleteObject(brush);
}

int32_t SetCurrentX(HWND window, int32_t x) { return SetPrintPosition(window, Axis::Horizontal, x); }
int32_t SetCurrentY(HWND window, int32_t y) { return SetPrintPosition(window, Axis::Vertical, y); }
int32_t GetCurrentX(HWND window) { return GetPrintPosition(window, Axis::Horizontal); }
int32_t GetCurrentY(HWND window) { return GetPrintPosition(window, Axis::Vertical); }

// Every public text function below takes its own return address as the call site of its check.

[[gnu::noinline]] int32_t PrintText(HWND window, const void* text) {
    CheckPointer(text, 0, __builtin_return_address(0));
    if (wideMode != 0) return PrintTextW(window, static_cast<const wchar_t*>(text));
    return PrintTextA(window, static_cast<const char*>(text));
}

[[gnu::noinline]] int32_t PrintTextA(HWND window, const char* text) {
    CheckPointer(text, 0, __builtin_return_address(0));
    return PrintTextIn(window, text);
}

[[gnu::noinline]] int32_t PrintTextW(HWND window, const wchar_t* text) {
    CheckPointer(text, 0, __builtin_return_address(0));
    return PrintTextIn(window, text);
}

int32_t DrawEllipse(HWND window, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t color) {
    return DrawOn(window, Shape::Kind::Ellipse, {left, top, right, bottom}, color);
}

int32_t DrawLineBox(HWND window, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color, int32_t kind) {
    constexpr Shape::Kind kKinds[] = {Shape::Kind::Line, Shape::Kind::Box, Shape::Kind::FilledBox};
    if (kind < line_box::Line || kind > line_box::FilledBox) return 0;
    return DrawOn(window, kKinds[kind], {x1, y1, x2, y2}, color);
}

}  // namespace runtime
