// The dock layout's passes over a window's children, on plain numbers.

#include "runtime/window/dock_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using runtime::DockArea;
using runtime::DockChild;
using runtime::Placement;
namespace class_code = runtime::class_code;
namespace dock_side = runtime::dock_side;

// What the layout told its sink, in order: "move <name> l,t,w,h" and "buttons <name>".
struct Recorder {
    std::vector<std::string> steps;
    void Move(const std::string& name, const Placement& p) {
        steps.push_back("move " + name + " " + std::to_string(p.left) + "," + std::to_string(p.top) + "," +
                        std::to_string(p.width) + "," + std::to_string(p.height));
    }
    void SetButtonSize(const std::string& name) { steps.push_back("buttons " + name); }
};

struct Named {
    std::string name;
    DockChild child;
};

struct Layout {
    std::vector<std::string> steps;
    DockArea free;
};

Layout LayOut(const std::vector<Named>& children, bool alternativeOrder, DockArea client = {0, 0, 400, 300}) {
    Recorder recorder;
    auto forEachChild = [&](auto visit) {
        for (const Named& named : children) visit(named.child, named.name);
    };
    const DockArea free = runtime::RunDockPasses(forEachChild, client, alternativeOrder, recorder);
    return Layout{recorder.steps, free};
}

DockChild Bar(int32_t side, int32_t width, int32_t height, int32_t type = class_code::PictureBox) {
    return DockChild{type, 1, side, width, height};
}

TEST(DockLayout, BarsTakeTheirStripsInBothOrders) {
    // Children in Z order: a right bar, a bottom bar, a top bar, a left bar.
    const std::vector<Named> children = {
        {"right", Bar(dock_side::Right, 60, 999)},
        {"bottom", Bar(dock_side::Bottom, 999, 20)},
        {"top", Bar(dock_side::Top, 999, 30)},
        {"left", Bar(dock_side::Left, 50, 999)},
    };
    const struct {
        const char* order;
        bool alternative;
        std::vector<std::string> steps;
    } cases[] = {
        // Top and bottom first, across the whole width; the side bars between them.
        {"normal", false,
         {"move bottom 0,280,400,20", "move top 0,0,400,30", "move right 340,30,60,250", "move left 0,30,50,250"}},
        // The top bar, the side bars down to the bottom edge, the bottom bar between them.
        {"alternative", true,
         {"move top 0,0,400,30", "move right 340,30,60,270", "move left 0,30,50,270", "move bottom 50,280,290,20"}},
    };
    for (const auto& c : cases) {
        const Layout layout = LayOut(children, c.alternative);
        EXPECT_EQ(layout.steps, c.steps) << c.order;
        EXPECT_EQ(layout.free, (DockArea{50, 30, 340, 280})) << c.order << ": the area left for an MDI client";
    }
}

TEST(DockLayout, OnlyVisibleDockableChildrenTakePart) {
    DockChild hidden = Bar(dock_side::Top, 0, 40);
    hidden.visible = 0;
    const std::vector<Named> children = {
        {"hidden", hidden},
        {"label", Bar(dock_side::Top, 0, 40, class_code::Label)},
        {"undocked", Bar(dock_side::None, 10, 10)},
        {"status", Bar(dock_side::Bottom, 0, 22, class_code::StatusBar)},
        {"rebar", Bar(dock_side::Top, 0, 26, class_code::Rebar)},
        {"odd side", Bar(7, 10, 10)},
    };
    const Layout layout = LayOut(children, false);
    EXPECT_EQ(layout.steps, (std::vector<std::string>{"move status 0,278,400,22", "move rebar 0,0,400,26"}));
    EXPECT_EQ(layout.free, (DockArea{0, 26, 400, 278}));
}

TEST(DockLayout, BarsOfOneSideStackInZOrder) {
    const std::vector<Named> children = {
        {"top1", Bar(dock_side::Top, 0, 10)},   {"top2", Bar(dock_side::Top, 0, 15)},
        {"left1", Bar(dock_side::Left, 20, 0)}, {"left2", Bar(dock_side::Left, 25, 0)},
        {"right1", Bar(dock_side::Right, 30, 0)},
    };
    const Layout layout = LayOut(children, false, DockArea{0, 0, 200, 100});
    EXPECT_EQ(layout.steps, (std::vector<std::string>{"move top1 0,0,200,10", "move top2 0,10,200,15",
                                                      "move left1 0,25,20,75", "move left2 20,25,25,75",
                                                      "move right1 170,25,30,75"}));
    EXPECT_EQ(layout.free, (DockArea{45, 25, 170, 100}));
}

TEST(DockLayout, ToolbarsKeepTheirButtonSize) {
    const std::vector<Named> children = {
        {"free toolbar", Bar(dock_side::None, 100, 20, class_code::Toolbar)},
        {"top toolbar", Bar(dock_side::Top, 0, 28, class_code::Toolbar)},
    };
    const struct {
        bool alternative;
        std::vector<std::string> steps;
    } cases[] = {
        // The undocked toolbar in every pass, the docked one right after its move.
        {false, {"buttons free toolbar", "move top toolbar 0,0,400,28", "buttons top toolbar", "buttons free toolbar"}},
        {true,
         {"buttons free toolbar", "move top toolbar 0,0,400,28", "buttons top toolbar", "buttons free toolbar",
          "buttons free toolbar"}},
    };
    for (const auto& c : cases) EXPECT_EQ(LayOut(children, c.alternative).steps, c.steps) << "alternative " << c.alternative;
}

TEST(DockLayout, EachSideHasItsPass) {
    const struct {
        int32_t side;
        bool normal[3];
        bool alternative[3];
    } cases[] = {
        {dock_side::None, {false, false, false}, {false, false, false}},
        {dock_side::Top, {true, false, false}, {true, false, false}},
        {dock_side::Bottom, {true, false, false}, {false, false, true}},
        {dock_side::Left, {false, true, false}, {false, true, false}},
        {dock_side::Right, {false, true, false}, {false, true, false}},
    };
    EXPECT_EQ(runtime::DockPassCount(false), 2);
    EXPECT_EQ(runtime::DockPassCount(true), 3);
    for (const auto& c : cases) {
        for (int32_t pass = 0; pass < 3; ++pass) {
            EXPECT_EQ(runtime::DocksInPass(c.side, pass, false), c.normal[pass]) << "side " << c.side << " pass " << pass;
            EXPECT_EQ(runtime::DocksInPass(c.side, pass, true), c.alternative[pass])
                << "side " << c.side << " pass " << pass << " (alternative)";
        }
    }
}

}  // namespace
