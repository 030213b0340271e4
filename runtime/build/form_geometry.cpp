#include "runtime/build/form_geometry.h"

#include "runtime/template/template_record.h"

namespace runtime {

namespace {
// Template values are whatever the designer stored: sums and differences of them wrap in 32
// bits, as the system's own arithmetic does, instead of overflowing.
constexpr uint32_t U(int32_t value) { return static_cast<uint32_t>(value); }
constexpr int32_t S(uint32_t value) { return static_cast<int32_t>(value); }
}  // namespace

Placement StartPlacement(const StartPositionInput& input) {
    Placement placed = input.window;
    const int32_t position = input.startPosition;
    const bool onParent = position == start_position::CenterParent && input.parent != nullptr;
    const bool onWorkArea = position == start_position::CenterScreen ||
                            (position == start_position::CenterParent && input.parent == nullptr);

    if (onParent) {
        placed.left = CenteredEdge(input.parent->left, input.parent->width, placed.width);
        placed.top = CenteredEdge(input.parent->top, input.parent->height, placed.height);
    } else if (position == start_position::SystemDefault ||
               (position == start_position::CenterScreen && input.mdiChild)) {
        placed.left = kSystemDefaultPosition;
        placed.top = kSystemDefaultPosition;
    } else if (onWorkArea) {
        placed.left = CenteredEdge(input.workArea.left, input.workArea.width, placed.width);
        placed.top = CenteredEdge(input.workArea.top, input.workArea.height, placed.height);
    }
    return placed;
}

int32_t FontHeight(int32_t dpiY, int32_t points, int32_t divisor) {
    if (divisor < 1) divisor = 72;
    // 64 bits: a large point size times the dpi must not overflow before the division.
    const int64_t product = static_cast<int64_t>(dpiY) * points;
    int64_t quotient = product / divisor;
    if (2 * (product % divisor) >= divisor) ++quotient;
    return static_cast<int32_t>(-quotient);
}

Placement AutoSizeLabel(const LabelAutoSizeInput& input) {
    const Placement& old = input.window;
    const uint32_t width = U(input.textWidth) + U(input.frameWidth);
    const uint32_t height = U(input.textHeight) + U(input.frameHeight);
    Placement sized{old.left, old.top, S(width), S(height)};
    if (input.alignment == 1) {
        sized.left = S(U(CenteredEdge(old.left, old.width, input.textWidth)) - U(input.frameWidth));
        sized.top = S(U(CenteredEdge(old.top, old.height, input.textHeight)) - U(input.frameHeight));
    } else if (input.alignment == 2) {
        sized.left = S(U(old.left) + U(old.width) - width);
        sized.top = S(U(old.top) + U(old.height) - height);
    }
    return sized;
}

bool AutoSizePicture(const Placement& window, int32_t frameWidth, int32_t frameHeight,
                     int32_t imageWidth, int32_t imageHeight, Placement* sized) {
    if (imageWidth == -1 || imageWidth == 0 || imageHeight == 0) return false;
    *sized = Placement{window.left, window.top, S(U(imageWidth) + U(frameWidth)),
                       S(U(imageHeight) + U(frameHeight))};
    return true;
}

int32_t MulDivRounded(int32_t value, int32_t numerator, int32_t divisor) {
    if (divisor == 0) return -1;
    int64_t product = static_cast<int64_t>(value) * numerator;
    int64_t positiveDivisor = divisor;
    if (positiveDivisor < 0) {
        positiveDivisor = -positiveDivisor;
        product = -product;
    }
    const int64_t half = positiveDivisor / 2;
    const int64_t quotient = product >= 0 ? (product + half) / positiveDivisor
                                          : -((-product + half) / positiveDivisor);
    // A result beyond 32 bits is -1, as for the system's MulDiv.
    if (quotient > INT32_MAX || quotient < INT32_MIN) return -1;
    return static_cast<int32_t>(quotient);
}

Placement MapDialogUnits(const Placement& units, int32_t baseUnitX, int32_t baseUnitY) {
    return Placement{MulDivRounded(units.left, baseUnitX, 4), MulDivRounded(units.top, baseUnitY, 8),
                     MulDivRounded(units.width, baseUnitX, 4),
                     MulDivRounded(units.height, baseUnitY, 8)};
}

std::size_t StatusPartEdges(std::span<const StatusPartItem> parts, std::span<int32_t> edges) {
    const std::size_t count = parts.size() < edges.size() ? parts.size() : edges.size();
    uint32_t right = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (parts[i].Width == kStatusPartToRightEdge) {
            edges[i] = kStatusPartToRightEdge;
            continue;
        }
        right += U(parts[i].Width);
        edges[i] = S(right);
    }
    return count;
}

}  // namespace runtime
