// The arithmetic of building forms: start positions, font heights, auto-size, dialog units and
// status-bar part edges.

#include "runtime/build/form_geometry.h"
#include "runtime/process/screen_units.h"
#include "runtime/template/template_record.h"

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <vector>

namespace runtime {
// Failure messages print places as (left, top, width x height).
inline std::ostream& operator<<(std::ostream& out, const Placement& place) {
    return out << "(" << place.left << ", " << place.top << ", " << place.width << " x " << place.height << ")";
}
}  // namespace runtime

namespace {

using runtime::kSystemDefaultPosition;
using runtime::Placement;
namespace start_position = runtime::start_position;

struct StartCase {
    const char* name;
    int32_t startPosition;
    Placement window;
    bool withParent;
    Placement parent;
    Placement workArea;
    bool mdiChild;
    int32_t left;
    int32_t top;
};

const Placement kWorkArea{0, 0, 1024, 738};

const StartCase kStartCases[] = {
    {"work area centres the main form", start_position::CenterScreen, {0, 0, 206, 204}, false, {}, kWorkArea, false, 409, 267},
    {"work area with its own origin", start_position::CenterScreen, {0, 0, 206, 204}, false, {}, {100, 30, 924, 708}, false, 459, 282},
    {"odd sizes halve downwards", start_position::CenterScreen, {0, 0, 207, 205}, false, {}, {0, 0, 1025, 739}, false, 409, 267},
    {"a window larger than the area", start_position::CenterScreen, {0, 0, 2000, 1000}, false, {}, kWorkArea, false, -488, -131},
    {"a negative width halves as unsigned", start_position::CenterScreen, {0, 0, -2, 204}, false, {}, kWorkArea, false, -2147483135, 267},
    {"parent centring", start_position::CenterParent, {5, 5, 200, 100}, true, {100, 50, 400, 300}, kWorkArea, false, 200, 150},
    {"parent centring without a parent uses the area", start_position::CenterParent, {5, 5, 206, 204}, false, {}, kWorkArea, false, 409, 267},
    {"parent centring of an MDI child", start_position::CenterParent, {5, 5, 200, 100}, true, {0, 0, 600, 400}, kWorkArea, true, 200, 150},
    {"system default", start_position::SystemDefault, {5, 6, 200, 100}, true, {0, 0, 600, 400}, kWorkArea, false, kSystemDefaultPosition, kSystemDefaultPosition},
    {"work area centring of an MDI child is the default", start_position::CenterScreen, {5, 6, 200, 100}, true, {0, 0, 600, 400}, kWorkArea, true, kSystemDefaultPosition, kSystemDefaultPosition},
    {"manual keeps left and top", start_position::Manual, {12, 34, 200, 100}, true, {0, 0, 600, 400}, kWorkArea, false, 12, 34},
    {"an unknown value is manual", 7, {12, 34, 200, 100}, false, {}, kWorkArea, false, 12, 34},
};

TEST(StartPlacement, PlacesByStartPosition) {
    for (const StartCase& c : kStartCases) {
        runtime::StartPositionInput input;
        input.startPosition = c.startPosition;
        input.window = c.window;
        input.parent = c.withParent ? &c.parent : nullptr;
        input.workArea = c.workArea;
        input.mdiChild = c.mdiChild;
        const Placement placed = runtime::StartPlacement(input);
        EXPECT_EQ(placed, (Placement{c.left, c.top, c.window.width, c.window.height})) << c.name;
    }
}

struct FontCase {
    int32_t dpi;
    int32_t points;
    int32_t fixed;
    int32_t height;
};

TEST(FontHeight, RoundsHalfUpByTheDivisorOfTheForm) {
    const FontCase cases[] = {
        {96, 8, 0, -11},   // 10.67
        {120, 8, 0, -13},  // 13.33
        {120, 8, 1, -11},  // 960 / 90 = 10.67
        {96, 8, 1, -11},   // the divisor is 72 at 96 dpi either way
        {96, 9, 0, -12},   // exact
        {96, 10, 0, -13},  // 13.33
        {72, 1, 0, -1},
        {36, 1, 0, -1},    // exactly a half rounds up
        {35, 1, 0, 0},     // just below a half rounds down
        {96, 0, 0, 0},
        {96, 100000000, 0, -133333333},  // no overflow before the division
    };
    for (const FontCase& c : cases) {
        const int32_t divisor = runtime::FontDivisor(c.fixed, runtime::PointDivisor(c.dpi));
        EXPECT_EQ(runtime::FontHeight(c.dpi, c.points, divisor), c.height)
            << c.points << " pt at " << c.dpi << " dpi, fixed " << c.fixed;
    }
}

TEST(FontHeight, ADivisorBelowOneCountsAs72) {
    EXPECT_EQ(runtime::FontHeight(96, 8, 0), -11);
    EXPECT_EQ(runtime::FontHeight(96, 8, -5), -11);
}

struct LabelCase {
    const char* name;
    runtime::LabelAutoSizeInput input;
    Placement sized;
};

TEST(AutoSizeLabel, FitsTheTextByAlignment) {
    const LabelCase cases[] = {
        {"left, no frame", {{127, 22, 27, 13}, 0, 0, 25, 13, 0}, {127, 22, 25, 13}},
        {"left with a frame", {{127, 22, 27, 13}, 4, 4, 25, 13, 0}, {127, 22, 29, 17}},
        {"right keeps the right and bottom edges", {{127, 22, 27, 13}, 4, 4, 25, 13, 2}, {125, 18, 29, 17}},
        {"right growing leftwards", {{100, 10, 20, 10}, 0, 0, 50, 16, 2}, {70, 4, 50, 16}},
        {"centre less the frame", {{100, 50, 60, 20}, 2, 2, 30, 10, 1}, {113, 53, 32, 12}},
        {"centre of odd sizes", {{0, 0, 61, 21}, 0, 0, 31, 11, 1}, {15, 5, 31, 11}},
        {"an unknown alignment is left", {{5, 6, 27, 13}, 0, 0, 40, 13, 9}, {5, 6, 40, 13}},
    };
    for (const LabelCase& c : cases) {
        EXPECT_EQ(runtime::AutoSizeLabel(c.input), c.sized) << c.name;
    }
}

TEST(AutoSizePicture, FitsAKnownImageOnly) {
    const Placement window{10, 20, 100, 80};
    Placement sized{-1, -1, -1, -1};
    EXPECT_TRUE(runtime::AutoSizePicture(window, 4, 4, 32, 16, &sized));
    EXPECT_EQ(sized, (Placement{10, 20, 36, 20}));

    const std::array<std::array<int32_t, 2>, 3> unknown{{{-1, 16}, {0, 16}, {32, 0}}};
    for (const auto& image : unknown) {
        Placement untouched{1, 2, 3, 4};
        EXPECT_FALSE(runtime::AutoSizePicture(window, 4, 4, image[0], image[1], &untouched))
            << image[0] << " x " << image[1];
        EXPECT_EQ(untouched, (Placement{1, 2, 3, 4}));
    }
}

TEST(MulDivRounded, RoundsHalvesAwayFromZeroLikeTheSystem) {
    const std::array<std::array<int32_t, 4>, 9> cases{{
        {10, 6, 4, 15},
        {10, 7, 4, 18},     // 17.5
        {-10, 7, 4, -18},   // -17.5
        {7, -3, 2, -11},    // -10.5
        {5, 3, 2, 8},       // 7.5
        {1, 1, 3, 0},
        {2, 1, 3, 1},
        {1, 1, 0, -1},      // no divisor
        {0x40000000, 8, 1, -1},  // beyond 32 bits
    }};
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::MulDivRounded(c[0], c[1], c[2]), c[3]) << c[0] << " * " << c[1] << " / " << c[2];
    }
}

TEST(MapDialogUnits, MapsEachEdgeByTheBaseUnits) {
    EXPECT_EQ(runtime::MapDialogUnits({10, 10, 50, 14}, 6, 13), (Placement{15, 16, 75, 23}));
    EXPECT_EQ(runtime::MapDialogUnits({10, 10, 50, 14}, 4, 8), (Placement{10, 10, 50, 14}));
    EXPECT_EQ(runtime::MapDialogUnits({-3, 1, 0, 3}, 7, 12), (Placement{-5, 2, 0, 5}));
}

TEST(StatusPartEdges, AccumulatesWidthsAndKeepsTheRightEdgeMark) {
    using runtime::StatusPartItem;
    struct EdgeCase {
        const char* name;
        std::vector<StatusPartItem> parts;
        std::vector<int32_t> edges;
    };
    const EdgeCase cases[] = {
        {"widths then the right edge", {{100, 0, 0}, {50, 0, 0}, {-1, 0, 0}}, {100, 150, -1}},
        {"a right edge in the middle adds nothing", {{-1, 0, 0}, {30, 0, 0}}, {-1, 30}},
        {"no parts", {}, {}},
    };
    for (const EdgeCase& c : cases) {
        std::array<int32_t, runtime::kMaxStatusParts> edges{};
        const std::size_t count = runtime::StatusPartEdges(c.parts, edges);
        EXPECT_EQ(std::vector<int32_t>(edges.begin(), edges.begin() + count), c.edges) << c.name;
    }

    const std::vector<StatusPartItem> three{{10, 0, 0}, {10, 0, 0}, {10, 0, 0}};
    std::array<int32_t, 2> two{};
    EXPECT_EQ(runtime::StatusPartEdges(three, two), 2u) << "no more edges than room";
    EXPECT_EQ(two[1], 20);
}

}  // namespace
