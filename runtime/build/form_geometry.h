#pragma once
// The arithmetic of building forms: start positions, font heights, auto-sized labels and
// pictures, dialog units and status-bar part edges. Platform-free: the builder measures the
// screen, the fonts and the windows and feeds the numbers to these functions.

#include <cstdint>
#include <cstddef>
#include <span>

#include "runtime/template/template_items.h"

namespace runtime {

// A window's place: left and top edge, width and height, in pixels.
struct Placement {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const Placement&) const = default;
};

// The system's default position for a new window (CW_USEDEFAULT).
constexpr int32_t kSystemDefaultPosition = static_cast<int32_t>(0x80000000u);

// Centres an extent on a reference: start + (reference extent / 2) - (extent / 2). Both halvings
// are unsigned shifts and the sum wraps in 32 bits, as the system's own arithmetic does, so a
// negative extent lands where the system would put it.
constexpr int32_t CenteredEdge(int32_t referenceStart, int32_t referenceExtent, int32_t extent) {
    const uint32_t edge = static_cast<uint32_t>(referenceStart) +
                          (static_cast<uint32_t>(referenceExtent) >> 1) -
                          (static_cast<uint32_t>(extent) >> 1);
    return static_cast<int32_t>(edge);
}

// What the start position of a form depends on: its StartPosition, its size and manual place
// in pixels, the rectangle of its parent to centre on (client rectangle for a child form,
// window rectangle otherwise; null without a parent), the primary screen's work area, and
// whether it is an MDI child.
struct StartPositionInput {
    int32_t startPosition = 0;
    Placement window;
    const Placement* parent = nullptr;
    Placement workArea;
    bool mdiChild = false;
};

// The form's place: `window` moved by the start-position rule (its size is kept). Centring on
// the parent needs a parent, else it centres on the work area; centring on the work area makes
// an MDI child take the system default instead; the system default puts kSystemDefaultPosition
// in left and top; any other value keeps the manual place.
Placement StartPlacement(const StartPositionInput& input);

// The divisor of a font's point size: the DPI-scaled point divisor when the form asks for
// fixed-size fonts, else 72 (points per inch).
constexpr int32_t FontDivisor(int32_t fixedFontSize, int32_t pointDivisor) {
    return fixedFontSize != 0 ? pointDivisor : 72;
}

// The height of a font of `points` for a device of `dpiY`: -(dpiY * points / divisor), the
// quotient rounded half up (plus 1 when twice the remainder reaches the divisor). A divisor
// below 1 counts as 72, so that no font sizing divides by zero.
int32_t FontHeight(int32_t dpiY, int32_t points, int32_t divisor);

// What auto-sizing a label depends on: its window place in the parent's client coordinates,
// the frame (window size less client size), the caption's measured size and its Alignment.
struct LabelAutoSizeInput {
    Placement window;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;
    int32_t textWidth = 0;
    int32_t textHeight = 0;
    int32_t alignment = 0;
};

// The auto-sized place of a label: text plus frame in size; Alignment 0 (and any value other
// than 1 and 2) keeps left and top, 2 keeps right and bottom, 1 centres the text on the old
// place (halvings as unsigned shifts) less the frame.
Placement AutoSizeLabel(const LabelAutoSizeInput& input);

// The auto-sized place of a picture box: left and top kept, the image plus the frame in size.
// A picture without a known image (width 0 or -1, or height 0) keeps its place: returns false.
bool AutoSizePicture(const Placement& window, int32_t frameWidth, int32_t frameHeight,
                     int32_t imageWidth, int32_t imageHeight, Placement* sized);

// Multiplies and divides with rounding to the nearest, halves away from zero, as the system's
// MulDiv does; a divisor of 0 gives -1 like it.
int32_t MulDivRounded(int32_t value, int32_t numerator, int32_t divisor);

// A dialog's own unit mapping: horizontal values times the base width / 4, vertical ones times
// the base height / 8, each rounded. Left, top, width and height are mapped as the four edges
// of one rectangle, each on its own.
Placement MapDialogUnits(const Placement& units, int32_t baseUnitX, int32_t baseUnitY);

// The most parts a status bar takes.
constexpr std::size_t kMaxStatusParts = 256;

// The right edges of status-bar parts, written into `edges` for as many parts as it holds;
// returns the number written. Each width is added to the previous right edge; a part of width
// -1 reaches the window's right edge, keeps -1 and adds nothing to the running edge.
std::size_t StatusPartEdges(std::span<const StatusPartItem> parts, std::span<int32_t> edges);

}  // namespace runtime
