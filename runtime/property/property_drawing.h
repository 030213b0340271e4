#pragma once
// Drawing on window forms, dialog forms and picture boxes: the print position, printed text,
// lines, boxes and ellipses. Positions are in the window's scale mode. What is drawn through the
// window's device context lasts until the window is painted again. A window that is not a
// runtime window, or of another kind, gives 0 (the position readers -1).

#include <windows.h>

#include <cstdint>

namespace runtime {

// The print position (-32768 to 32767 before its conversion from twips); PrintText starts
// there on a form.
int32_t SetCurrentX(HWND window, int32_t x);
int32_t SetCurrentY(HWND window, int32_t y);
int32_t GetCurrentX(HWND window);
int32_t GetCurrentY(HWND window);

// A form draws the text at the print position in its font and text colour, on a transparent
// background; a picture box is repainted with the text, which its own painting draws. 1.
int32_t PrintText(HWND window, const void* text);
int32_t PrintTextA(HWND window, const char* text);
int32_t PrintTextW(HWND window, const wchar_t* text);

// What DrawLineBox draws between its two corners.
namespace line_box {
constexpr int32_t Line = 0;
constexpr int32_t Box = 1;
constexpr int32_t FilledBox = 2;
}  // namespace line_box

// An ellipse inside the rectangle, filled with the colour (colour encoding); 1.
int32_t DrawEllipse(HWND window, int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t color);
// A line, a box or a filled box (line_box) in the colour; 1. Another kind gives 0.
int32_t DrawLineBox(HWND window, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t color, int32_t kind);

// The drawing itself, into a given device context, in pixels: lines and outlines with a pen
// of the colour in the given style and width, fills with a solid brush of the colour.
struct Shape {
    enum class Kind { Line, Box, FilledBox, Ellipse };
    Kind kind = Kind::Line;
    RECT corners{};  // a line runs from (left, top) to (right, bottom)
    COLORREF color = 0;
    int32_t penStyle = PS_SOLID;
    int32_t penWidth = 1;
};
void DrawShape(HDC device, const Shape& shape);

}  // namespace runtime
