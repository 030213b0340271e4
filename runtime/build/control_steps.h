#pragma once
// What the builder does around the creation of each control class, as data and small pure
// rules: which classes get their text at creation, a font, colours by message instead of a
// brush, the owner-draw notice before creation; the group-box style; toolbar string pools;
// header item formats; rebar band fields. Platform-free.

#include <cstddef>
#include <cstdint>
#include <span>

#include "runtime/template/template_items.h"
#include "runtime/template/template_record.h"

namespace runtime {

// The owner-draw type a parent is told with the measure-type message before a push button,
// list box or combo box is created (wParam of that message).
namespace measure_type {
constexpr int32_t None = 0;
constexpr int32_t ListBox = 2;
constexpr int32_t ComboBox = 3;
constexpr int32_t PushButton = 4;
}  // namespace measure_type

// The steps of one control class.
struct ControlClassSteps {
    bool textAtCreation;   // the window is created with Text as its window text
    bool getsFont;         // the font step runs (a created font, or the dialog's)
    bool colorsByMessage;  // back and text colours are sent to the control; it has no brush
    bool boundAtCreation;  // a runtime class: the record is bound by the window procedure
    int32_t measureType;   // measure-type notice before creation, measure_type::None for none
};

// The steps of a control class code; a code that names no control gets the plainest steps
// (font and brush, nothing else).
constexpr ControlClassSteps StepsOfClass(int32_t code) {
    ControlClassSteps steps{false, true, false, false, measure_type::None};
    switch (code) {
        case class_code::Label:
        case class_code::CheckBox:
        case class_code::OptionButton:
            steps.textAtCreation = true;
            break;
        case class_code::GroupBox:
        case class_code::PictureBox:
            steps.textAtCreation = true;
            steps.boundAtCreation = true;
            break;
        case class_code::PushButton:
            steps.textAtCreation = true;
            steps.measureType = measure_type::PushButton;
            break;
        case class_code::ListBox:
            steps.measureType = measure_type::ListBox;
            break;
        case class_code::ComboBox:
            steps.measureType = measure_type::ComboBox;
            break;
        case class_code::TreeView:
        case class_code::ListView:
        case class_code::Rebar:
            steps.colorsByMessage = true;
            break;
        case class_code::ProgressBar:
        case class_code::Pager:
            steps.colorsByMessage = true;
            steps.getsFont = false;
            break;
        case class_code::Image:
        case class_code::ScrollBar:
        case class_code::ScrollBarAlt:
        case class_code::Trackbar:
        case class_code::UpDown:
        case class_code::Animation:
        case class_code::ImageListHolder:
            steps.getsFont = false;
            break;
        default:
            break;
    }
    return steps;
}

// Button style bits the builder reads and writes.
constexpr uint32_t kButtonTypeMask = 0xF;
constexpr uint32_t kGroupBoxStyle = 7;          // BS_GROUPBOX
constexpr uint32_t kAutoRadioButtonStyle = 9;   // BS_AUTORADIOBUTTON
constexpr uint32_t kCaptionLeft = 0x100;        // BS_LEFT
constexpr uint32_t kCaptionRight = 0x200;       // BS_RIGHT
constexpr uint32_t kCaptionCentre = 0x300;      // BS_CENTER

// A group box's creation style: its own style with the group-box type and the caption
// alignment of its Alignment (1 centre, 2 right, any other value left).
constexpr uint32_t GroupBoxStyle(uint32_t style, int32_t alignment) {
    const uint32_t caption = alignment == 1 ? kCaptionCentre
                             : alignment == 2 ? kCaptionRight
                                              : kCaptionLeft;
    return style | kGroupBoxStyle | caption;
}

// The first option button of a group (Index 0) that the system checks by itself when clicked
// starts checked: the builder clicks it once.
constexpr bool StartsChecked(const TemplateRecord& control) {
    return control.Type == class_code::OptionButton && control.Index == 0 &&
           (control.Style & kButtonTypeMask) == kAutoRadioButtonStyle;
}

// The kinds that show a picture (Picture): forms, push buttons, picture boxes and images.
constexpr bool TakesPicture(int32_t type) {
    return IsFormType(type) || type == class_code::PushButton || type == class_code::PictureBox ||
           type == class_code::Image;
}

// A combo box whose list is all it has (no edit field to take over).
constexpr bool IsDropDownList(uint32_t style) { return (style & 3u) == 3u; }

// The run-time alignment value of a picture box: 1 centre, 2 right, anything else 0.
constexpr int32_t PictureAlignment(int32_t alignment) {
    return alignment == 1 || alignment == 2 ? alignment : 0;
}

// Toolbar texts go to the toolbar as one pool: every text followed by its terminator and one
// more terminator at the end. An empty text would end the pool early, so it stands as a single
// blank. A toolbar whose texts are all blank (empty or only blanks) gets no pool.
template <class Ch>
bool AnyToolbarText(std::span<const Ch* const> texts) {
    for (const Ch* text : texts) {
        for (const Ch* unit = text; unit != nullptr && *unit != 0; ++unit) {
            if (*unit != Ch(' ')) return true;
        }
    }
    return false;
}

// Units of the pool of `texts`, the final terminator included.
template <class Ch>
std::size_t ToolbarStringPoolLength(std::span<const Ch* const> texts) {
    std::size_t units = 1;
    for (const Ch* text : texts) {
        std::size_t length = 0;
        while (text != nullptr && text[length] != 0) ++length;
        units += (length == 0 ? 1 : length) + 1;
    }
    return units;
}

// Writes the pool into `pool`, which holds ToolbarStringPoolLength(texts) units.
template <class Ch>
void FillToolbarStringPool(std::span<const Ch* const> texts, Ch* pool) {
    for (const Ch* text : texts) {
        if (text == nullptr || *text == 0) {
            *pool++ = Ch(' ');
        } else {
            while (*text != 0) *pool++ = *text++;
        }
        *pool++ = 0;
    }
    *pool = 0;
}

// Header item format flags (the system's HDF_ values).
namespace header_format {
constexpr uint32_t Left = 0x0;
constexpr uint32_t Right = 0x1;
constexpr uint32_t Centre = 0x2;
constexpr uint32_t RightToLeft = 0x4;
constexpr uint32_t Image = 0x800;
constexpr uint32_t String = 0x4000;
}  // namespace header_format

// The format of a header item: text with its alignment (1 centre, 2 right, other left), read
// right to left when asked, and showing an image when it has one.
constexpr uint32_t HeaderItemFormat(int32_t alignment, int32_t rightToLeft, bool withImage) {
    uint32_t format = header_format::String;
    format |= alignment == 1 ? header_format::Centre
              : alignment == 2 ? header_format::Right
                               : header_format::Left;
    if (rightToLeft != 0) format |= header_format::RightToLeft;
    if (withImage) format |= header_format::Image;
    return format;
}

// The image index of a header item (its record holds index + 1, 0 for none); -1 when it has
// none or the index lies outside the image list of `imageCount` images.
constexpr int32_t HeaderImageIndex(int32_t imagePlusOne, int32_t imageCount) {
    const int32_t index = imagePlusOne - 1;
    return imagePlusOne > 0 && index < imageCount ? index : -1;
}

// Rebar band fields (the system's RBBIM_ mask bits and the style bit the builder treats apart).
namespace band_field {
constexpr uint32_t Style = 0x1;
constexpr uint32_t Text = 0x4;
constexpr uint32_t Child = 0x10;
constexpr uint32_t ChildSize = 0x20;
constexpr uint32_t Size = 0x40;
constexpr uint32_t Background = 0x80;
constexpr uint32_t Id = 0x100;
constexpr uint32_t HeaderSize = 0x800;
}  // namespace band_field
constexpr uint32_t kBandVariableHeight = 0x40;  // RBBS_VARIABLEHEIGHT

// What the builder inserts for one band: the values of the band's insert record, and the style
// to set on the band afterwards (0 for none). The child is the band's own (`childHeight` its
// window height) or, without one (`childHeight` below 0), a stand-in of the band's width and
// minimum height that is destroyed after the insertion.
struct RebarBandPlan {
    uint32_t mask = 0;
    uint32_t style = 0;
    uint32_t id = 0;
    int32_t width = 0;
    int32_t headerWidth = 0;
    int32_t minChildWidth = 0;
    int32_t minChildHeight = 0;
    int32_t childHeight = 0;
    int32_t maxChildHeight = 0;
    int32_t heightStep = 0;
    bool standInChild = false;
    uint32_t styleAfterInsert = 0;
};

RebarBandPlan PlanRebarBand(const RebarBandItem& band, uint32_t position, int32_t childHeight,
                            bool withText, bool withBackground);

}  // namespace runtime
