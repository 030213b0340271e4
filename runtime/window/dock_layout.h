#pragma once
// The dock layout of a window's children: pictures, toolbars, status bars and rebars docked to
// an edge take their strip of the free client area in passes, and what is left goes to the MDI
// client. Platform-free: the window procedure feeds the children's records in Z order and
// carries out the moves (runtime/window/window_operations.h, DockLayout).

#include <cstdint>

#include "runtime/base/report_if.h"
#include "runtime/build/form_geometry.h"
#include "runtime/template/template_record.h"

namespace runtime {

// The free area, as edges in pixels.
struct DockArea {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const DockArea&) const = default;
};

// What the layout reads of one child: its record's Type, Visible, dock side (DockSide) and
// its size in pixels.
struct DockChild {
    int32_t type = 0;
    int32_t visible = 0;
    int32_t side = dock_side::None;
    int32_t width = 0;
    int32_t height = 0;
};

// The controls that can be docked.
constexpr bool IsDockable(int32_t type) {
    return type == class_code::PictureBox || type == class_code::Toolbar || type == class_code::StatusBar ||
           type == class_code::Rebar;
}

// The passes: normally top and bottom bars first, then the side bars between them. With the
// form's alternative order the top bar comes first, then the side bars, and the bottom bar last,
// so that it spans only between the side bars.
constexpr int32_t DockPassCount(bool alternativeOrder) { return alternativeOrder ? 3 : 2; }

constexpr bool DocksInPass(int32_t side, int32_t pass, bool alternativeOrder) {
    const bool topOrBottom = side == dock_side::Top || side == dock_side::Bottom;
    const bool leftOrRight = side == dock_side::Left || side == dock_side::Right;
    if (!alternativeOrder) return pass == 0 ? topOrBottom : pass == 1 && leftOrRight;
    switch (pass) {
        case 0: return side == dock_side::Top;
        case 1: return leftOrRight;
        case 2: return side == dock_side::Bottom;
        default: return false;
    }
}

// The place of a child docked at `side` with its size, taken from the free area, which shrinks
// by it. A top bar starts at the left edge of the window and is as wide as the free area's
// right edge; a bottom bar spans the free area; side bars take the free area's height.
constexpr Placement DockInto(DockArea& free, int32_t side, int32_t width, int32_t height) {
    switch (side) {
        case dock_side::Top: {
            const Placement place{0, free.top, free.right, height};
            free.top += height;
            return place;
        }
        case dock_side::Bottom:
            free.bottom -= height;
            return Placement{free.left, free.bottom, free.right - free.left, height};
        case dock_side::Left: {
            const Placement place{free.left, free.top, width, free.bottom - free.top};
            free.left += width;
            return place;
        }
        case dock_side::Right:
            free.right -= width;
            return Placement{free.right, free.top, width, free.bottom - free.top};
        default:
            // The passes hand over docked children only (DocksInPass).
            ReportIf(side < dock_side::Top || side > dock_side::Right);
            return Placement{};
    }
}

// Runs the passes. `forEachChild(visit)` calls visit(child, handle) for every child in Z order;
// the sink is told `Move(handle, place)` for each docked child that takes part, and
// `SetButtonSize(handle)` for a toolbar that is not docked (in every pass) and for a docked
// toolbar right after its move. Returns the area left free.
template <class ForEachChild, class Sink>
DockArea RunDockPasses(ForEachChild&& forEachChild, DockArea free, bool alternativeOrder, Sink& sink) {
    for (int32_t pass = 0; pass < DockPassCount(alternativeOrder); ++pass) {
        forEachChild([&](const DockChild& child, auto handle) {
            const bool toolbar = child.type == class_code::Toolbar;
            if (toolbar && child.side == dock_side::None) {
                sink.SetButtonSize(handle);
                return;
            }
            if (!IsDockable(child.type) || child.visible == 0) return;
            if (!DocksInPass(child.side, pass, alternativeOrder)) return;
            sink.Move(handle, DockInto(free, child.side, child.width, child.height));
            if (toolbar) sink.SetButtonSize(handle);
        });
    }
    return free;
}

}  // namespace runtime
