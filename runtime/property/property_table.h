#pragma once
// The property interface as data: which record types each readable property applies to, the
// slot it lives in and how it is read; which types and values each setter accepts; and the
// small style rules of the setters (docking, scroll bars, reading order). Platform-free.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>

#include "runtime/template/template_record.h"

namespace runtime {

// A set of record types: form kinds 1 to 3 and control class codes 4 to 34.
class TypeSet {
public:
    constexpr TypeSet() = default;
    constexpr TypeSet(std::initializer_list<int32_t> types) {
        for (const int32_t type : types) bits_ |= Bit(type);
    }
    static constexpr TypeSet Range(int32_t first, int32_t last) {
        TypeSet set;
        for (int32_t type = first; type <= last; ++type) set.bits_ |= Bit(type);
        return set;
    }
    constexpr bool Has(int32_t type) const { return (bits_ & Bit(type)) != 0; }
    constexpr TypeSet operator|(TypeSet other) const { return FromBits(bits_ | other.bits_); }
    constexpr TypeSet Without(TypeSet other) const { return FromBits(bits_ & ~other.bits_); }

private:
    static constexpr uint64_t Bit(int32_t type) { return type >= 0 && type < 64 ? uint64_t{1} << type : 0; }
    static constexpr TypeSet FromBits(uint64_t bits) {
        TypeSet set;
        set.bits_ = bits;
        return set;
    }
    uint64_t bits_ = 0;
};

inline constexpr TypeSet kFormTypes = TypeSet::Range(form_kind::Dialog, form_kind::Window);
inline constexpr TypeSet kControlTypes = TypeSet::Range(class_code::First, class_code::Last);
inline constexpr TypeSet kAllTypes = kFormTypes | kControlTypes;
// The dialog and window forms, which can be shown modally and drawn on.
inline constexpr TypeSet kPlainForms{form_kind::Dialog, form_kind::Window};
// Pictures, toolbars, status bars and rebars: the controls that dock to a side of their parent.
inline constexpr TypeSet kDockingTypes{class_code::PictureBox, class_code::Toolbar, class_code::StatusBar,
                                       class_code::Rebar};
// Controls whose range and position live in the control (read and set by message or scroll
// information) rather than in the record alone.
inline constexpr TypeSet kRangeTypes{class_code::ScrollBar, class_code::ScrollBarAlt, class_code::ProgressBar,
                                     class_code::Trackbar, class_code::UpDown};

// The property selectors of GetProperty. 8 and 17 name nothing.
namespace property {
constexpr int32_t Align = 1;
constexpr int32_t AutoSize = 2;
constexpr int32_t BackColor = 3;
constexpr int32_t ButtonOption = 4;
constexpr int32_t ClassValue1 = 5;
constexpr int32_t MouseCursor = 6;
constexpr int32_t CursorKind = 7;
constexpr int32_t FocusFrame = 9;
constexpr int32_t LineStyle = 10;
constexpr int32_t LineWidth = 11;
constexpr int32_t Enabled = 12;
constexpr int32_t PictureOption = 13;
constexpr int32_t Font = 14;
constexpr int32_t FontBold = 15;
constexpr int32_t FontItalic = 16;
constexpr int32_t FontSize = 18;
constexpr int32_t FontStrikeout = 19;
constexpr int32_t FontUnderline = 20;
constexpr int32_t ForeColor = 21;
constexpr int32_t Height = 22;
constexpr int32_t Icon = 23;
constexpr int32_t SmallIcon = 24;
constexpr int32_t Left = 25;
constexpr int32_t Max = 26;
constexpr int32_t MaxLength = 27;
constexpr int32_t MdiChild = 28;
constexpr int32_t MdiClient = 29;
constexpr int32_t Min = 30;
constexpr int32_t ModalOwner = 31;
constexpr int32_t MultiLine = 32;
constexpr int32_t ShowAmpersands = 33;
constexpr int32_t ScrollBarOption = 34;
constexpr int32_t PasswordChar = 35;
constexpr int32_t Picture = 36;
constexpr int32_t ButtonStyle = 37;
constexpr int32_t RightToLeft = 38;
constexpr int32_t ScaleMode = 39;
constexpr int32_t ScrollBars = 40;
constexpr int32_t WindowState = 41;
constexpr int32_t LabelOption = 42;
constexpr int32_t Index = 43;
constexpr int32_t TabStop = 44;
constexpr int32_t Alignment = 45;
constexpr int32_t TimerInterval = 46;
constexpr int32_t Top = 47;
constexpr int32_t Type = 48;
constexpr int32_t Value = 49;
constexpr int32_t Visible = 50;
constexpr int32_t DropDownItems = 51;
constexpr int32_t Width = 52;
constexpr int32_t OwnerForm = 53;
}  // namespace property

// How a property's value is had.
enum class PropertyRead : uint8_t {
    Slot,           // the slot as stored
    WindowVisible,  // whether the window is visible now, not the stored flag
    OwnerForm,      // a control's owning form; 0 for a form
    RangeMax,       // range and position: from the control for progress bars, trackbars and
    RangeMin,       //   up-downs; from the slot, refreshed from the control first, for scroll
    RangeValue,     //   bars; from the slot for check and option buttons
};

struct PropertyRow {
    int32_t selector;
    const char* name;
    std::size_t offset;  // of the slot in the record
    TypeSet types;       // the record types the property applies to
    PropertyRead read;
};

// The types that have a font and a text colour: all but MDI frames, images and scroll bars.
inline constexpr TypeSet kFontedTypes =
    kAllTypes.Without({form_kind::MdiFrame, class_code::Image, class_code::ScrollBar, class_code::ScrollBarAlt});

constexpr PropertyRow PropertyRowOf(int32_t selector, const char* name, std::size_t offset, TypeSet types,
                                    PropertyRead read = PropertyRead::Slot) {
    return PropertyRow{selector, name, offset, types, read};
}

// Every readable property, in selector order.
inline constexpr PropertyRow kPropertyRows[] = {
    PropertyRowOf(property::Align, "Align", offsetof(TemplateRecord, DockSide), kDockingTypes),
    PropertyRowOf(property::AutoSize, "AutoSize", offsetof(TemplateRecord, AutoSize),
                  TypeSet{class_code::Label, class_code::PictureBox}),
    PropertyRowOf(property::BackColor, "BackColor", offsetof(TemplateRecord, BackColor), kAllTypes),
    PropertyRowOf(property::ButtonOption, "ButtonOption", offsetof(TemplateRecord, IsCancel),
                  TypeSet{class_code::PushButton}),
    // The group box is where slot 20 means something (the system draws its frame first).
    PropertyRowOf(property::ClassValue1, "ClassValue1", offsetof(TemplateRecord, ClassValue1),
                  TypeSet{class_code::TextBox, class_code::GroupBox, class_code::ComboBox}),
    PropertyRowOf(property::MouseCursor, "MouseCursor", offsetof(TemplateRecord, Cursor), kAllTypes),
    PropertyRowOf(property::CursorKind, "CursorKind", offsetof(TemplateRecord, CursorKind), kAllTypes),
    PropertyRowOf(property::FocusFrame, "FocusFrame", offsetof(TemplateRecord, FocusFrame),
                  TypeSet{class_code::PushButton}),
    PropertyRowOf(property::LineStyle, "LineStyle", offsetof(TemplateRecord, LineStyle),
                  TypeSet{form_kind::Window, class_code::PictureBox}),
    PropertyRowOf(property::LineWidth, "LineWidth", offsetof(TemplateRecord, LineWidth),
                  TypeSet{form_kind::Window, class_code::PictureBox}),
    PropertyRowOf(property::Enabled, "Enabled", offsetof(TemplateRecord, Enabled), kAllTypes),
    PropertyRowOf(property::PictureOption, "PictureOption", offsetof(TemplateRecord, PaintsOffscreen),
                  TypeSet{class_code::PictureBox}),
    PropertyRowOf(property::Font, "Font", offsetof(TemplateRecord, FontHandle), kFontedTypes),
    PropertyRowOf(property::FontBold, "FontBold", offsetof(TemplateRecord, FontBold), kFontedTypes),
    PropertyRowOf(property::FontItalic, "FontItalic", offsetof(TemplateRecord, FontItalic), kFontedTypes),
    PropertyRowOf(property::FontSize, "FontSize", offsetof(TemplateRecord, FontSize), kFontedTypes),
    PropertyRowOf(property::FontStrikeout, "FontStrikeout", offsetof(TemplateRecord, FontStrikeout), kFontedTypes),
    PropertyRowOf(property::FontUnderline, "FontUnderline", offsetof(TemplateRecord, FontUnderline), kFontedTypes),
    PropertyRowOf(property::ForeColor, "ForeColor", offsetof(TemplateRecord, ForeColor), kFontedTypes),
    PropertyRowOf(property::Height, "Height", offsetof(TemplateRecord, Height), kAllTypes),
    PropertyRowOf(property::Icon, "Icon", offsetof(TemplateRecord, Icon), kFormTypes),
    PropertyRowOf(property::SmallIcon, "SmallIcon", offsetof(TemplateRecord, SmallIcon), kFormTypes),
    PropertyRowOf(property::Left, "Left", offsetof(TemplateRecord, Left), kAllTypes),
    PropertyRowOf(property::Max, "Max", offsetof(TemplateRecord, Max), kRangeTypes, PropertyRead::RangeMax),
    PropertyRowOf(property::MaxLength, "MaxLength", offsetof(TemplateRecord, MaxLength),
                  TypeSet{class_code::TextBox}),
    PropertyRowOf(property::MdiChild, "MdiChild", offsetof(TemplateRecord, MdiChild), TypeSet{form_kind::Window}),
    PropertyRowOf(property::MdiClient, "MdiClient", offsetof(TemplateRecord, MdiClient),
                  TypeSet{form_kind::MdiFrame}),
    PropertyRowOf(property::Min, "Min", offsetof(TemplateRecord, Min), kRangeTypes, PropertyRead::RangeMin),
    PropertyRowOf(property::ModalOwner, "ModalOwner", offsetof(TemplateRecord, ModalOwner), kPlainForms),
    PropertyRowOf(property::MultiLine, "MultiLine", offsetof(TemplateRecord, MultiLine),
                  TypeSet{class_code::TextBox, class_code::PushButton, class_code::CheckBox,
                          class_code::OptionButton, class_code::RichTextBox}),
    PropertyRowOf(property::ShowAmpersands, "ShowAmpersands", offsetof(TemplateRecord, MultiLine),
                  TypeSet{class_code::Label}),
    PropertyRowOf(property::ScrollBarOption, "ScrollBarOption", offsetof(TemplateRecord, Alignment),
                  TypeSet{class_code::ScrollBar, class_code::ScrollBarAlt}),
    PropertyRowOf(property::PasswordChar, "PasswordChar", offsetof(TemplateRecord, PasswordChar),
                  TypeSet{class_code::TextBox}),
    PropertyRowOf(property::Picture, "Picture", offsetof(TemplateRecord, Picture),
                  kFormTypes | TypeSet{class_code::PushButton, class_code::PictureBox, class_code::Image}),
    PropertyRowOf(property::ButtonStyle, "ButtonStyle", offsetof(TemplateRecord, ButtonStyle),
                  TypeSet{class_code::PushButton}),
    PropertyRowOf(property::RightToLeft, "RightToLeft", offsetof(TemplateRecord, RightToLeft),
                  kAllTypes.Without({class_code::Image, class_code::ScrollBar, class_code::ScrollBarAlt})),
    PropertyRowOf(property::ScaleMode, "ScaleMode", offsetof(TemplateRecord, ScaleMode),
                  TypeSet{form_kind::MdiFrame, form_kind::Window, class_code::PictureBox}),
    PropertyRowOf(property::ScrollBars, "ScrollBars", offsetof(TemplateRecord, ScrollBars),
                  TypeSet{form_kind::MdiFrame, form_kind::Window, class_code::TextBox}),
    PropertyRowOf(property::WindowState, "WindowState", offsetof(TemplateRecord, WindowState), kFormTypes),
    PropertyRowOf(property::LabelOption, "LabelOption", offsetof(TemplateRecord, SelEnd),
                  TypeSet{class_code::Label}),
    PropertyRowOf(property::Index, "Index", offsetof(TemplateRecord, Index), kControlTypes),
    PropertyRowOf(property::TabStop, "TabStop", offsetof(TemplateRecord, TabStop),
                  kAllTypes.Without({class_code::Label, class_code::GroupBox, class_code::Image})),
    PropertyRowOf(property::Alignment, "Alignment", offsetof(TemplateRecord, Alignment),
                  kControlTypes.Without({class_code::Image, class_code::ScrollBar, class_code::ScrollBarAlt})),
    PropertyRowOf(property::TimerInterval, "TimerInterval", offsetof(TemplateRecord, ClassValue4), kFormTypes),
    PropertyRowOf(property::Top, "Top", offsetof(TemplateRecord, Top), kAllTypes),
    PropertyRowOf(property::Type, "Type", offsetof(TemplateRecord, Type), kAllTypes),
    PropertyRowOf(property::Value, "Value", offsetof(TemplateRecord, Value),
                  kRangeTypes | TypeSet{class_code::CheckBox, class_code::OptionButton}, PropertyRead::RangeValue),
    PropertyRowOf(property::Visible, "Visible", offsetof(TemplateRecord, Visible), kAllTypes,
                  PropertyRead::WindowVisible),
    // Both kinds of combo box take the setter, so both can be read.
    PropertyRowOf(property::DropDownItems, "DropDownItems", offsetof(TemplateRecord, DropDownItems),
                  TypeSet{class_code::ComboBox, class_code::ComboBoxEx}),
    PropertyRowOf(property::Width, "Width", offsetof(TemplateRecord, Width), kAllTypes),
    PropertyRowOf(property::OwnerForm, "OwnerForm", offsetof(TemplateRecord, OwnerForm), kAllTypes,
                  PropertyRead::OwnerForm),
};

// The row of a selector; null for a selector that names no property.
constexpr const PropertyRow* FindPropertyRow(int32_t selector) {
    for (const PropertyRow& row : kPropertyRows) {
        if (row.selector == selector) return &row;
    }
    return nullptr;
}

// The 32-bit value of the slot at `offset` (a multiple of 4 inside the runtime record).
inline int32_t ReadSlot(const RuntimeRecord& record, std::size_t offset) {
    int32_t value = 0;
    std::memcpy(&value, reinterpret_cast<const unsigned char*>(&record) + offset, sizeof value);
    return value;
}

// The values a setter accepts, bounds included.
struct ValueRange {
    int32_t low = std::numeric_limits<int32_t>::min();
    int32_t high = std::numeric_limits<int32_t>::max();
    constexpr bool Has(int32_t value) const { return value >= low && value <= high; }
};
inline constexpr ValueRange kAnyValue{};

// The record types and the values a setter accepts.
struct SetterRule {
    TypeSet types;
    ValueRange values = kAnyValue;
    constexpr bool Accepts(int32_t type, int32_t value) const { return types.Has(type) && values.Has(value); }
};

namespace setter_rule {
inline constexpr SetterRule Align{kDockingTypes, {dock_side::None, dock_side::Right}};
inline constexpr SetterRule AutoSize{{class_code::Label, class_code::PictureBox}};
inline constexpr SetterRule AnyWindow{kAllTypes};
inline constexpr SetterRule CursorKind{kAllTypes, {0, 14}};
inline constexpr SetterRule PushButton{{class_code::PushButton}};
inline constexpr SetterRule LineStyle{{form_kind::Window, class_code::PictureBox}, {0, 6}};
inline constexpr SetterRule LineWidth{{form_kind::Window, class_code::PictureBox}};
inline constexpr SetterRule PictureOption{{class_code::PictureBox}};
inline constexpr SetterRule FontSize{kAllTypes, {1, std::numeric_limits<int32_t>::max()}};
inline constexpr SetterRule Form{kFormTypes};
inline constexpr SetterRule MaxLength{{class_code::TextBox, class_code::RichTextBox}};
inline constexpr SetterRule Range{kRangeTypes};
inline constexpr SetterRule ScrollBarOption{{class_code::ScrollBar, class_code::ScrollBarAlt}};
inline constexpr SetterRule PasswordChar{{class_code::TextBox}};
inline constexpr SetterRule DropDownItems{{class_code::ComboBox, class_code::ComboBoxEx}};
inline constexpr SetterRule RightToLeft{
    kAllTypes.Without({class_code::Image, class_code::ScrollBar, class_code::ScrollBarAlt})};
inline constexpr SetterRule ScrollBars{
    {form_kind::MdiFrame, form_kind::Window, class_code::TextBox, class_code::PictureBox}, {0, 3}};
inline constexpr SetterRule WindowState{kFormTypes, {window_state::Hidden, window_state::Maximised}};
inline constexpr SetterRule Value{kRangeTypes | TypeSet{class_code::CheckBox, class_code::OptionButton}};
// The print position of forms and picture boxes, before its conversion from twips.
inline constexpr SetterRule PrintPosition{{form_kind::Dialog, form_kind::Window, class_code::PictureBox},
                                          {-32768, 32767}};
}  // namespace setter_rule

// A docked control can be neither moved nor stretched along the side it is docked to: a control
// docked left or right keeps the parent's height, one docked top or bottom its width.
constexpr bool DockFixesHeight(int32_t type, int32_t side) {
    return kDockingTypes.Has(type) && (side == dock_side::Left || side == dock_side::Right);
}
constexpr bool DockFixesWidth(int32_t type, int32_t side) {
    return kDockingTypes.Has(type) && (side == dock_side::Top || side == dock_side::Bottom);
}
constexpr bool DockFixesPosition(int32_t type, int32_t side) { return kDockingTypes.Has(type) && side > 0; }

// The record values and style that docking to a side gives a control. Bit 0 of the style (the
// common controls' own top alignment) always goes, since the runtime lays docked bars out
// itself; a bar docked top or bottom is horizontal (no vertical bit 0x80), lies along its width
// and starts at the left; one docked left or right is vertical, lies along its height and
// starts at the top.
struct DockShape {
    int32_t width = 0;
    int32_t height = 0;
    int32_t left = 0;
    int32_t top = 0;
    uint32_t style = 0;
    bool operator==(const DockShape&) const = default;
};

constexpr uint32_t kDockTopStyle = 0x1;    // CCS_TOP
constexpr uint32_t kVerticalStyle = 0x80;  // CCS_VERT

constexpr DockShape DockedShape(int32_t side, DockShape shape) {
    shape.style &= ~kDockTopStyle;
    const bool horizontal = side == dock_side::Top || side == dock_side::Bottom;
    const bool vertical = side == dock_side::Left || side == dock_side::Right;
    if (horizontal) {
        shape.style &= ~kVerticalStyle;
        if (shape.height > shape.width) {
            const int32_t width = shape.width;
            shape.width = shape.height;
            shape.height = width;
        }
        shape.left = 0;
    } else if (vertical) {
        shape.style |= kVerticalStyle;
        if (shape.width > shape.height) {
            const int32_t width = shape.width;
            shape.width = shape.height;
            shape.height = width;
        }
        shape.top = 0;
    }
    return shape;
}

// The window style with the scroll bars of ScrollBars (0 none, 1 horizontal, 2 vertical, 3
// both) and no others.
constexpr uint32_t kHorizontalScrollStyle = 0x00100000;  // WS_HSCROLL
constexpr uint32_t kVerticalScrollStyle = 0x00200000;    // WS_VSCROLL
constexpr uint32_t ScrollBarStyle(uint32_t style, int32_t bars) {
    style &= ~(kHorizontalScrollStyle | kVerticalScrollStyle);
    if (bars == 1 || bars == 3) style |= kHorizontalScrollStyle;
    if (bars == 2 || bars == 3) style |= kVerticalScrollStyle;
    return style;
}

// The extended style for RightToLeft: right-to-left reading order when it is set, left to right
// when it is 0.
constexpr uint32_t kRightToLeftReading = 0x2000;  // WS_EX_RTLREADING
constexpr uint32_t ReadingOrderExStyle(uint32_t exStyle, int32_t rightToLeft) {
    return rightToLeft != 0 ? exStyle | kRightToLeftReading : exStyle & ~kRightToLeftReading;
}

}  // namespace runtime
