// The runtime's painting of group boxes, labels, pictures and form backgrounds, rendered into
// memory bitmaps (through WM_PRINTCLIENT or the paint routine itself) and from the screen.

#include <windows.h>

#include <gtest/gtest.h>

#include "paint_fixture.h"
#include "runtime/paint/window_painting.h"
#include "runtime/process/application.h"
#include "runtime/property/property_setters.h"
#include "tests/support/message_sequence.h"
#include "tests/support/window_messages.h"

namespace painttest {
namespace {

constexpr RECT kGroupPlace{10, 10, 210, 90};

// Where two renderings of one size differ.
RECT Difference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int width) {
    Capture marks;
    marks.width = width;
    marks.height = static_cast<int>(a.size()) / width;
    marks.pixels.resize(a.size());
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) marks.pixels[i] = a[i] != b[i] ? 1 : 0;
    return marks.Extent(RGB(0, 0, 1));
}

// The first row, going down the column x, that is not the group's back colour: the system's
// frame line.
int FrameRow(const Capture& shot, int x) {
    for (int y = 0; y < shot.height; ++y) {
        if (shot.At(x, y) != kGroupBack) return y;
    }
    return -1;
}

TEST_F(BUILDER_SUITE(Paint), GroupCaptionsAreFilledOverTheFrameWhereTheirAlignmentPutsThem) {
    struct Case {
        const char* name;
        const char* caption;
        int32_t alignment;
        int32_t framed;  // ClassValue1: the system draws its frame first
        int32_t enabled;
    };
    const Case cases[] = {
        {"centred", "Setari", 1, 1, 1},
        {"left", "Setari", 0, 1, 1},
        {"right", "Setari", 2, 1, 1},
        {"disabled, embossed", "Setari", 1, 1, 0},
        {"empty caption: the frame only", "", 1, 1, 1},
        {"not framed: the background only", "Setari", 1, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormTemplate form = Template();
        TemplateRecord group = Coloured(form, class_code::GroupBox, 1, kGroupPlace, kGroupBack, c.caption);
        group.Alignment = c.alignment;
        group.ClassValue1 = c.framed;
        group.Enabled = c.enabled;
        ASSERT_NE(BuildWith(form, {group}), nullptr);
        HWND box = Control(1);
        const RuntimeRecord& r = RecordOf(box);
        const int width = ClientOf(box).right;
        const bool captioned = c.caption[0] != 0;

        // The caption's measurement: its text width plus 4, its left offset 9; nothing without text.
        const buildertest::Measured text = buildertest::MeasureInFontOf(box, L"Setari");
        EXPECT_EQ(r.ImageWidth, captioned ? text.size.cx + 4 : 0) << "caption width + 4";
        EXPECT_EQ(r.CaptionLeft, captioned ? 9 : 0) << "caption offset";

        testsupport::Canvas canvas(width, ClientOf(box).bottom, kUnderlay);
        runtime::PaintGroupCaption(r, canvas.Device());
        const Capture caption = canvas.Take();
        const RECT fill = caption.Extent(kGroupBack);
        if (!captioned || c.framed == 0) {
            EXPECT_EQ(caption.Count(kGroupBack), 0) << "caption fill at " << fill;
        } else {
            const int w = r.ImageWidth;
            const int left = c.alignment == 1 ? width / 2 - w / 2 : c.alignment == 2 ? width - w - 7 : 9 - 2;
            const int filledWidth = w + (c.alignment == 1 ? 1 : 0) + 2;
            EXPECT_EQ(fill.left, left) << "fill " << fill << " in a box " << width << " wide";
            EXPECT_EQ(fill.right - fill.left, filledWidth) << "fill " << fill;
            EXPECT_EQ(fill.top, 0) << "fill " << fill;
            EXPECT_EQ(fill.bottom, r.ImageHeight + 2) << "fill " << fill << ", caption height " << r.ImageHeight;
            EXPECT_EQ(caption.Count(fill, kUnderlay), 0) << "unfilled pixels in " << fill;
            const int emboss = caption.Count(fill, GetSysColor(COLOR_3DHILIGHT)) + caption.Count(fill, GetSysColor(COLOR_3DSHADOW));
            if (c.enabled != 0) {
                EXPECT_GT(caption.Count(fill, kText), 0) << "no caption text in " << fill;
            } else {
                EXPECT_EQ(caption.Count(kText), 0) << "a disabled caption in its text colour";
                EXPECT_GT(emboss, 0) << "no embossed caption in " << fill;
            }
        }

        // The whole box: the frame line stays beside the caption and under an empty one.
        const Capture whole = testsupport::PrintClient(box, kUnderlay);
        if (c.framed != 0) {
            const int frameRow = FrameRow(whole, 3);
            ASSERT_GE(frameRow, 0) << "no frame line at x 3";
            const COLORREF line = whole.At(3, frameRow);
            if (captioned) {
                EXPECT_EQ(whole.At(fill.left - 1, frameRow), line) << "left of the caption, row " << frameRow;
                EXPECT_EQ(whole.At(fill.right, frameRow), line) << "right of the caption, row " << frameRow;
                // (A disabled caption's shadow copy has the line's colour.)
                if (c.enabled != 0) {
                    EXPECT_EQ(whole.Count(RECT{fill.left, frameRow, fill.right, frameRow + 1}, line), 0)
                        << "frame line under the caption, row " << frameRow;
                }
            } else {
                EXPECT_EQ(whole.Count(RECT{3, frameRow, width - 3, frameRow + 1}, line), width - 6)
                    << "frame line across the top, row " << frameRow;
            }
        } else {
            EXPECT_EQ(whole.Count(kGroupBack), whole.width * whole.height) << "a plain container shows its back colour";
        }
        DestroyWindow(form_);
    }
}

TEST_F(BUILDER_SUITE(Paint), TransparentLabelsShowWhatLiesBelowAndPlaceTheirText) {
    struct Case {
        const char* name;
        int32_t alignment;
        int32_t enabled;
        uint32_t style;
    };
    constexpr uint32_t kNoWrap = WS_VISIBLE | SS_LEFTNOWORDWRAP;
    const Case cases[] = {
        {"left", 0, 1, WS_VISIBLE},
        {"centred", 1, 1, kNoWrap},
        {"right", 2, 1, kNoWrap},
        {"centred down the label", 0, 1, kNoWrap | SS_CENTERIMAGE},
        {"disabled, embossed", 0, 0, WS_VISIBLE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormTemplate form = Template();
        TemplateRecord label = Coloured(form, class_code::Label, 1, RECT{10, 10, 170, 50}, kLabelBack, "Sleep", c.style);
        label.IsTransparent = 1;
        label.Alignment = c.alignment;
        label.Enabled = c.enabled;
        ASSERT_NE(BuildWith(form, {label}), nullptr);
        HWND window = Control(1);
        const RECT client = ClientOf(window);
        const Capture shot = testsupport::PrintClient(window, kUnderlay);
        EXPECT_EQ(shot.Count(kLabelBack), 0) << "a transparent label painted its back colour";
        EXPECT_GT(shot.Count(kUnderlay), shot.width * shot.height / 2) << "what lies below does not show";
        if (c.enabled == 0) {
            EXPECT_EQ(shot.Count(kText), 0) << "a disabled caption in its text colour";
            EXPECT_GT(shot.Count(GetSysColor(COLOR_3DHILIGHT)), 0) << "no embossed light copy";
            EXPECT_GT(shot.Count(GetSysColor(COLOR_3DSHADOW)), 0) << "no embossed shadow copy";
            DestroyWindow(form_);
            continue;
        }
        const RECT text = shot.Extent(kText);
        ASSERT_GT(text.right, 0) << "no caption";
        switch (c.alignment) {
            case 0: EXPECT_LE(text.left, 2) << "text " << text; break;
            case 1: EXPECT_NEAR((text.left + text.right) / 2, client.right / 2, 2) << "text " << text; break;
            default: EXPECT_GE(text.right, client.right - 2) << "text " << text; break;
        }
        if ((c.style & SS_CENTERIMAGE) != 0) {
            EXPECT_NEAR((text.top + text.bottom) / 2, client.bottom / 2, 3) << "text " << text;
        } else {
            EXPECT_LE(text.top, 3) << "text " << text;
        }
        DestroyWindow(form_);
    }
}

TEST_F(BUILDER_SUITE(Paint), APictureShowsItsBitmapBackColourAndCaptionOnOrOffScreen) {
    for (int32_t offscreen : {0, 1}) {
        SCOPED_TRACE(offscreen != 0 ? "off-screen" : "on screen");
        FormTemplate form = Template();
        TemplateRecord picture = Coloured(form, class_code::PictureBox, 1, RECT{10, 10, 130, 80}, kPictureBack, "Pic");
        picture.PaintsOffscreen = offscreen;
        ASSERT_NE(BuildWith(form, {picture}), nullptr);
        HWND window = Control(1);
        RecordOf(window).Value = DT_RIGHT | DT_BOTTOM | DT_SINGLELINE;  // the caption's format
        runtime::SetPicture(window, runtime::ToSlot(SolidBitmap(30, 20, kBlue)));
        const RECT client = ClientOf(window);
        const Capture shot = testsupport::PrintClient(window, kUnderlay);
        EXPECT_EQ(shot.Extent(kBlue), (RECT{0, 0, 30, 20})) << "the bitmap at (0, 0) in its own size";
        EXPECT_EQ(shot.Count(kUnderlay), 0) << "unpainted pixels";
        EXPECT_EQ(shot.At(30, 0), kPictureBack) << "beside the bitmap";
        const RECT text = shot.Extent(kText);
        EXPECT_GE(text.right, client.right - 2) << "caption drawn right and bottom: " << text;
        EXPECT_GE(text.bottom, client.bottom - 4) << "caption drawn right and bottom: " << text;
        DestroyWindow(form_);
    }
}

TEST_F(BUILDER_SUITE(Paint), AFormShowsItsBackgroundBitmapAtTheCornerWithTheBackColourAround) {
    FormTemplate form = Template();
    ASSERT_NE(BuildWith(form, {}), nullptr);
    runtime::SetPicture(form_, runtime::ToSlot(SolidBitmap(24, 12, kRed)));
    const RECT client = ClientOf(form_);
    const Capture shot = testsupport::PrintClient(form_, kUnderlay);
    EXPECT_EQ(shot.Extent(kRed), (RECT{0, 0, 24, 12})) << "the background bitmap";
    EXPECT_EQ(shot.Count(kFormBack), client.right * client.bottom - 24 * 12) << "the back colour around it";
}

// A 16 x 16 icon of one colour; the window it is given to owns it.
HICON SmallIcon(COLORREF colour) {
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);  // all 0: opaque everywhere
    HDC device = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(device, mask);
    PatBlt(device, 0, 0, 16, 16, BLACKNESS);
    SelectObject(device, previous);
    DeleteDC(device);
    ICONINFO info{TRUE, 0, 0, mask, SolidBitmap(16, 16, colour)};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(info.hbmColor);
    DeleteObject(mask);
    return icon;
}

// A small icon is drawn at the system's icon size, and the back colour goes round that, not
// over it; a picture removed leaves its place to the back colour.
TEST_F(BUILDER_SUITE(Paint), AFormPictureTakesThePlaceItIsDrawnInAndGivesItBackWhenRemoved) {
    const int icon = GetSystemMetrics(SM_CXICON);
    struct Case {
        const char* name;
        uint32_t second;  // the picture set after a 24 x 12 bitmap
        RECT red;
    };
    const Case cases[] = {
        {"a small icon", runtime::ToSlot(SmallIcon(kRed)), RECT{0, 0, icon, GetSystemMetrics(SM_CYICON)}},
        {"no picture", 0, RECT{0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormTemplate form = Template();
        ASSERT_NE(BuildWith(form, {}), nullptr);
        runtime::SetPicture(form_, runtime::ToSlot(SolidBitmap(24, 12, kRed)));
        runtime::SetPicture(form_, c.second);
        const RECT client = ClientOf(form_);
        const Capture shot = testsupport::PrintClient(form_, kUnderlay);
        EXPECT_EQ(shot.Extent(kRed), c.red);
        const int area = (c.red.right - c.red.left) * (c.red.bottom - c.red.top);
        EXPECT_EQ(shot.Count(kRed), area) << "the picture";
        EXPECT_EQ(shot.Count(kFormBack), client.right * client.bottom - area) << "the back colour around it";
        DestroyWindow(form_);
    }
}

TEST_F(BUILDER_SUITE(Paint), ATransparentLabelOverAPictureShowsItAndIsPaintedAfterIt) {
    FormTemplate form = Template();
    // The label comes first: it lies above the picture.
    TemplateRecord label = Coloured(form, class_code::Label, 1, RECT{20, 20, 120, 40}, kLabelBack, "Over");
    label.IsTransparent = 1;
    const TemplateRecord picture = Coloured(form, class_code::PictureBox, 2, RECT{10, 10, 150, 80}, kPictureBack, "");
    ASSERT_NE(BuildWith(form, {label, picture}), nullptr);
    SetWindowPos(form_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    HWND labelWindow = Control(1);
    HWND pictureWindow = Control(2);

    testsupport::PumpMessagesUntil([] { return false; }, 200);
    // Only the picture is painted again; the label follows it.
    testsupport::MessageSequence sequence(testsupport::RuntimeWindowNames());
    RedrawWindow(pictureWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    testsupport::PumpMessagesUntil([] { return false; }, 200);
    EXPECT_TRUE(sequence.Matches({{"id 1002", WM_PAINT}, {"id 1001", WM_PAINT}}));

    const Capture shot = testsupport::CaptureScreenOf(form_);
    RECT area{};
    GetWindowRect(labelWindow, &area);
    RECT formRect{};
    GetWindowRect(form_, &formRect);
    OffsetRect(&area, -formRect.left, -formRect.top);
    EXPECT_EQ(shot.Count(area, kLabelBack), 0) << "the label's back colour in " << area;
    EXPECT_GT(shot.Count(area, kPictureBack), 0) << "the picture does not show through " << area;
    EXPECT_GT(shot.Count(area, kText), 0) << "the label's caption is gone from " << area;
}

TEST_F(BUILDER_SUITE(Paint), HiddenKeyboardCuesDrawNoMnemonicUnderline) {
    struct Case {
        const char* name;
        int32_t type;
        COLORREF back;
    };
    const Case cases[] = {
        {"group caption", class_code::GroupBox, kGroupBack},
        {"transparent label", class_code::Label, kLabelBack},
        {"picture caption", class_code::PictureBox, kPictureBack},
    };
    const int32_t cues = runtime::hideKeyboardCues;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FormTemplate form = Template();
        TemplateRecord control = Coloured(form, c.type, 1, RECT{10, 10, 170, 60}, c.back, "Ab");
        control.ClassValue1 = 1;    // group box: framed, with the caption drawn over it
        control.IsTransparent = 1;  // label
        ASSERT_NE(BuildWith(form, {control}), nullptr);
        HWND window = Control(1);
        const auto render = [&](const wchar_t* caption, int32_t hide) {
            SetWindowTextW(window, caption);
            runtime::hideKeyboardCues = hide;
            return testsupport::PrintClient(window, kUnderlay).pixels;
        };
        const auto plain = render(L"Ab", 1);
        const auto hidden = render(L"&Ab", 1);
        EXPECT_TRUE(hidden == plain) << "cues hidden: \"&Ab\" should look like \"Ab\"; differs at "
                                     << Difference(hidden, plain, ClientOf(window).right);
        EXPECT_FALSE(render(L"&Ab", 0) == plain) << "cues shown: \"&Ab\" should underline its A";
        runtime::hideKeyboardCues = cues;
        DestroyWindow(form_);
    }
}

}  // namespace
}  // namespace painttest
