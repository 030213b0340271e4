#pragma once
// Where the runtime's painting puts things: a group box's caption band, the parts of an
// owner-drawn push button (caption rectangle, picture place, text format), a centred image and
// the themed button's state. Platform-free: plain functions of slot values, tested on the host.

#include <cstdint>

namespace runtime {

struct PaintRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct PaintPoint {
    int32_t x = 0;
    int32_t y = 0;
};

namespace paint_detail {
constexpr uint32_t U(int32_t v) { return static_cast<uint32_t>(v); }
constexpr int32_t S(uint32_t v) { return static_cast<int32_t>(v); }
// Halves of placement arithmetic are unsigned, as the button and caption layouts have always
// computed them: a value that went below 0 halves as a large unsigned number.
constexpr uint32_t Half(int32_t v) { return U(v) / 2; }
constexpr uint32_t Half(uint32_t v) { return v / 2; }
}  // namespace paint_detail

// The band a group box's caption fill covers: from the top, `captionHeight` + 2 high. By
// alignment: 1 centres `captionWidth` + 1 on the client width, 2 ends 7 pixels from the right,
// anything else starts 2 before the caption's left offset. The band is the width plus 2 wide.
// (`captionWidth` is the record's ImageWidth: the text width plus 4.)
constexpr PaintRect GroupCaptionBand(int32_t clientRight, int32_t captionWidth, int32_t captionHeight,
                                     int32_t alignment, int32_t captionLeft) {
    using namespace paint_detail;
    int32_t left = captionLeft - 2;
    int32_t width = captionWidth;
    if (alignment == 1) {
        left = S(Half(clientRight) - Half(captionWidth));
        width = captionWidth + 1;
    } else if (alignment == 2) {
        left = clientRight - captionWidth - 7;
    }
    return PaintRect{left, 0, left + width + 2, captionHeight + 2};
}

// The offset that centres `size` in `extent`, computed in 16-bit signed arithmetic as image
// controls place their pictures: a picture larger than its control starts left of or above it.
constexpr int32_t CentredOffset16(int32_t extent, int32_t size) {
    const auto difference = static_cast<int16_t>(extent - size);
    return static_cast<int16_t>(difference / 2);
}

// DrawText formats the button layout uses (the system's values).
namespace text_format {
constexpr uint32_t Center = 0x1;
constexpr uint32_t VCenter = 0x4;
constexpr uint32_t WordBreak = 0x10;
constexpr uint32_t SingleLine = 0x20;
constexpr uint32_t HidePrefix = 0x100000;
}  // namespace text_format

// Picture positions of an owner-drawn push button relative to its caption (its ButtonStyle).
namespace picture_position {
constexpr int32_t Above = 0;
constexpr int32_t Below = 1;
constexpr int32_t Left = 2;
constexpr int32_t Right = 3;
}  // namespace picture_position

// What the content of an owner-drawn push button depends on.
struct ButtonContentInput {
    PaintRect item;            // the draw-item rectangle
    int32_t textWidth = 0;     // the caption measured in the button's format
    int32_t textHeight = 0;    // 0 for an empty caption
    bool captioned = false;    // the caption is not empty
    bool wordWrap = false;     // MultiLine: the caption wraps instead of one centred line
    bool hidePrefix = false;   // ODS_NOACCEL: mnemonics are not underlined
    bool hasPicture = false;   // ImageKind other than -1
    int32_t imageWidth = 0;
    int32_t imageHeight = 0;
    int32_t position = picture_position::Above;
    bool pressedClassic = false;  // ODS_SELECTED in the classic face: content moves by (1, 1)
};

struct ButtonContent {
    uint32_t format = 0;  // DrawText format of the caption
    PaintRect text;       // the caption's rectangle
    PaintPoint picture;   // the picture's top-left corner (when there is a picture)
};

// The format used to measure the caption (DT_CALCRECT added by the caller): the drawing format
// without DT_VCENTER.
constexpr uint32_t ButtonMeasureFormat(bool wordWrap, bool hidePrefix) {
    using namespace text_format;
    uint32_t format = Center | (hidePrefix ? HidePrefix : 0);
    return format | (wordWrap ? WordBreak : SingleLine);
}

// Lays out the caption and picture of an owner-drawn push button: a lone picture is centred;
// with a caption the picture stands left or right of it (8 pixels apart, the pair centred
// across) or above or below it (6 pixels apart, the pair centred down).
constexpr ButtonContent LayOutButtonContent(const ButtonContentInput& in) {
    using namespace paint_detail;
    using namespace text_format;
    ButtonContent out;
    out.format = ButtonMeasureFormat(in.wordWrap, in.hidePrefix) | (in.wordWrap ? 0 : VCenter);
    out.text = in.item;
    const int32_t right = in.item.right;
    const int32_t bottom = in.item.bottom;
    const int32_t wrappedTop = S(Half(bottom) - Half(in.textHeight));
    if (!in.hasPicture) {
        if (in.wordWrap) {
            const int32_t shift = wrappedTop - out.text.top;
            out.text.top += shift;
            out.text.bottom += shift;
        }
    } else {
        out.picture = PaintPoint{S(Half(right) - Half(in.imageWidth)), S(Half(bottom) - Half(in.imageHeight))};
        if (in.captioned && (in.position == picture_position::Left || in.position == picture_position::Right)) {
            if (in.wordWrap) out.text.top = wrappedTop;
            const int32_t x0 = S(Half(right) - Half(U(in.imageWidth) + U(in.textWidth) + 8));
            if (in.position == picture_position::Left) {
                out.picture.x = x0;
                out.text.left = x0 + in.imageWidth + 8;
            } else {
                out.text.left = x0;
                out.text.right = x0 + in.textWidth;
                out.picture.x = x0 + in.textWidth + 8;
            }
            out.format &= ~Center;
        } else if (in.captioned && (in.position == picture_position::Above || in.position == picture_position::Below)) {
            const int32_t y0 = S(Half(bottom - in.item.top) - Half(U(in.imageHeight) + 6 + U(in.textHeight)));
            if (in.position == picture_position::Above) {
                out.picture.y = y0;
                out.text.top = in.item.top + y0 + in.imageHeight + 6;
            } else {
                out.text.top = y0;
                out.picture.y = y0 + in.textHeight + 6;
            }
            out.format &= ~VCenter;
        }
        if (in.pressedClassic) {
            out.picture.x += 1;
            out.picture.y += 1;
        }
    }
    if (in.pressedClassic) {
        out.text.left += 1;
        out.text.top += 1;
        out.text.right += 1;
        out.text.bottom += 1;
    }
    return out;
}

// Push-button states of the themed face (the system's PBS_ values).
namespace button_state {
constexpr int32_t Normal = 1;
constexpr int32_t Hot = 2;
constexpr int32_t Pressed = 3;
constexpr int32_t Disabled = 4;
constexpr int32_t Defaulted = 5;
}  // namespace button_state

// The themed face's state: pressed first; a disabled button shows disabled (never hot), so that
// its face does not look pressable; then defaulted for the focused button or the enabled default
// button, else normal; a button under the mouse that is neither pressed nor disabled shows hot.
constexpr int32_t ChooseButtonState(bool pressed, bool disabled, bool focused, bool isDefault, bool enabled,
                                    bool hot) {
    if (pressed) return button_state::Pressed;
    if (disabled) return button_state::Disabled;
    if (hot) return button_state::Hot;
    if (focused || (isDefault && enabled)) return button_state::Defaulted;
    return button_state::Normal;
}

}  // namespace runtime
