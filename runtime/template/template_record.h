#pragma once
// The form template record: one 284-byte layout of 71 little-endian 32-bit slots for forms and
// controls, laid out depth first in the program's data, and the 288-byte runtime record that
// the builder makes from it. Named constants for the values its slots hold. Platform-free.
//
// The program is 32-bit, so every slot that holds an address or a handle is a 32-bit integer
// here too; that keeps the layout identical on the host, where the tests check it. Read such a
// slot with SlotAs<T>() and write it with ToSlot() (32-bit builds only).

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <type_traits>

namespace runtime {

// Slots named after their use in templates; slots marked "runtime" are 0 in templates and are
// filled by the builder or the window procedure. Where a slot means different things for forms
// and controls, both names stand in an anonymous union.
struct TemplateRecord {
    union {
        int32_t ClassFlag0;  // toolbar: 0 has the builder apply Visible
        int32_t DockSide;    // picture, toolbar, status bar, rebar: dock_side constants
    };
    union {
        int32_t AutoSize;    // label, picture: size to the text / picture
        int32_t IsCancel;    // push button: Esc presses it
    };
    uint32_t BackColor;      // colour encoding
    uint32_t BackColorRgb;   // runtime: BackColor resolved to RGB
    uint32_t BackBrush;      // runtime: brush of the back colour
    int32_t ClassValue1;     // group box: system draws first; tree view: indent; toolbar: button height
    union {
        int32_t StartPosition;  // form: StartPosition constants
        int32_t ClassValue2;    // toolbar: button width; pager: button size
    };
    uint32_t Cursor;         // image reference
    int32_t CursorKind;      // cursor code 0..14 used at WM_SETCURSOR
    union {
        int32_t NoClose;         // form: greys the Close command
        int32_t IsDefault;       // push button: the form's default button (Enter presses it)
        int32_t PaintsOffscreen; // picture: paints through an off-screen bitmap (PictureOption)
    };
    union {
        int32_t ItemCount;   // entries of the item array (Items)
        int32_t LineStyle;   // form, picture: pen style 0..6
        uint32_t ImageList;  // image-list holder: runtime, its image list
        int32_t OwnerDrawn;  // push button: drawn by the runtime (graphical)
    };
    int32_t LineWidth;       // form, picture: pen width
    int32_t Enabled;
    uint32_t FocusWindow;    // runtime: window focused when the form is activated
    uint32_t FontHandle;     // runtime: font made from the font slots
    int32_t FontBold;
    int32_t FontItalic;
    uint32_t FontName;       // text reference
    int32_t FontSize;        // points
    int32_t FontStrikeout;
    int32_t FontUnderline;
    uint32_t ForeColor;      // colour encoding
    uint32_t ForeColorRgb;   // runtime: ForeColor resolved to RGB
    int32_t Height;          // scale-mode units
    uint32_t Window;         // runtime: the window handle
    uint32_t MdiClient;      // runtime, MDI frame: its MDI client window
    uint32_t Icon;           // form: large icon (image reference)
    uint32_t SmallIcon;      // form: small icon (image reference)
    int32_t ImageHeight;     // image list, picture; label: runtime text height
    int32_t ImageKind;       // ImageKind constants, for Picture
    int32_t ImageWidth;      // image list, toolbar, picture
    int32_t FixedFontSize;   // form: font heights independent of the screen DPI
    int32_t Left;
    int32_t IsMain;          // form: the application's main window
    union {
        int32_t MaxLength;      // edit: text limit
        int32_t ButtonStyle;    // push button: picture position (ButtonStyle)
        int32_t DropDownItems;  // combo box: items shown when the list drops down
        int32_t IsHyperlink;    // label: a link the shell opens when clicked
    };
    int32_t MdiChild;        // form: MDI child window
    union {
        uint32_t Menu;         // form: image reference (menu resource or handle)
        uint32_t ToolTipText;  // control: text reference
    };
    uint32_t Name;           // address of an ANSI string, never converted
    union {
        int32_t MultiLine;      // edit: multi-line; push button: wraps; label: shows '&'
        int32_t PrintX;         // form, picture: print position across, in pixels
        int32_t GripperCursor;  // rebar: cursor code over its gripper
    };
    union {
        int32_t ClassValue3;  // status bar: simple mode; trackbar: selection start
        int32_t PrintY;       // form, picture: print position down, in pixels
        int32_t LastHitTest;  // rebar: runtime, the hit test of its last NM_NCHITTEST
        int32_t CaptionLeft;  // group box: runtime, the caption's left offset
    };
    uint32_t OwnerForm;      // runtime, control: window of the owning form
    union {
        int32_t PasswordChar;   // edit
        int32_t RedrawOnSize;   // dialog and window form: the class redraws on a size change
        uint32_t PrintedText;   // picture: runtime, the text PrintText has it paint
    };
    uint32_t Pen;            // runtime: drawing pen of a form or picture
    uint32_t Picture;        // image reference (toolbar bitmap, header image list text)
    int32_t RightToLeft;
    int32_t ScaleMode;       // ScaleMode constants
    union {
        int32_t Max;           // range maximum
        int32_t ScrollBars;    // form, text box, picture: 0 none, 1 horizontal, 2 vertical, 3 both
        uint32_t HoverColor;   // hyperlink label: text colour while the mouse is over it
    };
    union {
        int32_t Min;          // control: range minimum
        int32_t WindowState;  // form: WindowState constants
    };
    union {
        int32_t SelEnd;       // trackbar: selection end
        int32_t Stretch;      // image: its picture is stretched to the control
        uint32_t ModalOwner;  // runtime, modal form: the owner window that was disabled
    };
    union {
        int32_t ToolTips;  // form: ToolTipMode constants
        int32_t Index;     // control: identifier is 1000 + Index
    };
    int32_t TabStop;
    uint32_t Text;           // text reference
    int32_t Alignment;       // label, group, picture: 0 left 1 centre 2 right; class-specific
    int32_t CaptionLength;   // runtime: caption length in characters
    int32_t ClassValue4;     // form: timer interval in milliseconds
    int32_t TimerId;         // runtime, form: running timer (kFormTimerId) or 0
    int32_t Top;
    union {
        int32_t ClassValue5;        // trackbar: ticks; image list: initial count
        int32_t FocusFrame;         // push button: draws a focus frame
        int32_t IsTransparent;      // label, image: drawn over what lies below
        int32_t AlternativeDocking; // form: the bottom bar docks last, between the side bars
    };
    int32_t Type;            // FormKind or ClassCode constants
    int32_t Value;           // check state, position
    int32_t Visible;
    int32_t Width;           // scale-mode units
    uint32_t WindowProc;     // form: the application's window procedure, 0 for none
    uint32_t ClassProc;      // runtime: the control's own class procedure; dialog: procedure argument
    union {
        int32_t DialogId;    // dialog form: dialog-template resource
        int32_t ControlId;   // runtime, control: 1000 + Index
    };
    union {
        int32_t ControlCount;  // template: number of direct child records that follow
        uint32_t Children;     // runtime: address of the zero-terminated child pointer array
    };
    uint32_t DefaultButton;  // runtime, form: its current default push button
    uint32_t ExStyle;
    uint32_t Style;
    uint32_t Items;          // address of the item array
    union {
        uint32_t Self;       // template: address of this record (forms, controls with children)
        uint32_t SavedFont;  // runtime: the window's font before the runtime's was set
    };
};

// The runtime copy: the 284 template bytes followed by one slot the template does not have.
struct RuntimeRecord : TemplateRecord {
    uint32_t ToolTip;  // form: its tooltip window; control: its converted tooltip text
};

constexpr std::size_t kTemplateRecordSize = 284;
constexpr std::size_t kRuntimeRecordSize = 288;

static_assert(std::is_standard_layout_v<TemplateRecord>);
static_assert(std::is_trivially_copyable_v<TemplateRecord>);
static_assert(sizeof(TemplateRecord) == kTemplateRecordSize);
static_assert(sizeof(RuntimeRecord) == kRuntimeRecordSize);
static_assert(offsetof(TemplateRecord, ClassFlag0) == 0);
static_assert(offsetof(TemplateRecord, DockSide) == 0);
static_assert(offsetof(TemplateRecord, AutoSize) == 4);
static_assert(offsetof(TemplateRecord, IsCancel) == 4);
static_assert(offsetof(TemplateRecord, BackColor) == 8);
static_assert(offsetof(TemplateRecord, BackColorRgb) == 12);
static_assert(offsetof(TemplateRecord, BackBrush) == 16);
static_assert(offsetof(TemplateRecord, ClassValue1) == 20);
static_assert(offsetof(TemplateRecord, StartPosition) == 24);
static_assert(offsetof(TemplateRecord, ClassValue2) == 24);
static_assert(offsetof(TemplateRecord, Cursor) == 28);
static_assert(offsetof(TemplateRecord, CursorKind) == 32);
static_assert(offsetof(TemplateRecord, NoClose) == 36);
static_assert(offsetof(TemplateRecord, IsDefault) == 36);
static_assert(offsetof(TemplateRecord, PaintsOffscreen) == 36);
static_assert(offsetof(TemplateRecord, ItemCount) == 40);
static_assert(offsetof(TemplateRecord, LineStyle) == 40);
static_assert(offsetof(TemplateRecord, ImageList) == 40);
static_assert(offsetof(TemplateRecord, OwnerDrawn) == 40);
static_assert(offsetof(TemplateRecord, LineWidth) == 44);
static_assert(offsetof(TemplateRecord, Enabled) == 48);
static_assert(offsetof(TemplateRecord, FocusWindow) == 52);
static_assert(offsetof(TemplateRecord, FontHandle) == 56);
static_assert(offsetof(TemplateRecord, FontBold) == 60);
static_assert(offsetof(TemplateRecord, FontItalic) == 64);
static_assert(offsetof(TemplateRecord, FontName) == 68);
static_assert(offsetof(TemplateRecord, FontSize) == 72);
static_assert(offsetof(TemplateRecord, FontStrikeout) == 76);
static_assert(offsetof(TemplateRecord, FontUnderline) == 80);
static_assert(offsetof(TemplateRecord, ForeColor) == 84);
static_assert(offsetof(TemplateRecord, ForeColorRgb) == 88);
static_assert(offsetof(TemplateRecord, Height) == 92);
static_assert(offsetof(TemplateRecord, Window) == 96);
static_assert(offsetof(TemplateRecord, MdiClient) == 100);
static_assert(offsetof(TemplateRecord, Icon) == 104);
static_assert(offsetof(TemplateRecord, SmallIcon) == 108);
static_assert(offsetof(TemplateRecord, ImageHeight) == 112);
static_assert(offsetof(TemplateRecord, ImageKind) == 116);
static_assert(offsetof(TemplateRecord, ImageWidth) == 120);
static_assert(offsetof(TemplateRecord, FixedFontSize) == 124);
static_assert(offsetof(TemplateRecord, Left) == 128);
static_assert(offsetof(TemplateRecord, IsMain) == 132);
static_assert(offsetof(TemplateRecord, MaxLength) == 136);
static_assert(offsetof(TemplateRecord, ButtonStyle) == 136);
static_assert(offsetof(TemplateRecord, DropDownItems) == 136);
static_assert(offsetof(TemplateRecord, IsHyperlink) == 136);
static_assert(offsetof(TemplateRecord, MdiChild) == 140);
static_assert(offsetof(TemplateRecord, Menu) == 144);
static_assert(offsetof(TemplateRecord, ToolTipText) == 144);
static_assert(offsetof(TemplateRecord, Name) == 148);
static_assert(offsetof(TemplateRecord, MultiLine) == 152);
static_assert(offsetof(TemplateRecord, PrintX) == 152);
static_assert(offsetof(TemplateRecord, GripperCursor) == 152);
static_assert(offsetof(TemplateRecord, ClassValue3) == 156);
static_assert(offsetof(TemplateRecord, PrintY) == 156);
static_assert(offsetof(TemplateRecord, LastHitTest) == 156);
static_assert(offsetof(TemplateRecord, CaptionLeft) == 156);
static_assert(offsetof(TemplateRecord, OwnerForm) == 160);
static_assert(offsetof(TemplateRecord, PasswordChar) == 164);
static_assert(offsetof(TemplateRecord, RedrawOnSize) == 164);
static_assert(offsetof(TemplateRecord, PrintedText) == 164);
static_assert(offsetof(TemplateRecord, Pen) == 168);
static_assert(offsetof(TemplateRecord, Picture) == 172);
static_assert(offsetof(TemplateRecord, RightToLeft) == 176);
static_assert(offsetof(TemplateRecord, ScaleMode) == 180);
static_assert(offsetof(TemplateRecord, Max) == 184);
static_assert(offsetof(TemplateRecord, ScrollBars) == 184);
static_assert(offsetof(TemplateRecord, HoverColor) == 184);
static_assert(offsetof(TemplateRecord, Min) == 188);
static_assert(offsetof(TemplateRecord, WindowState) == 188);
static_assert(offsetof(TemplateRecord, SelEnd) == 192);
static_assert(offsetof(TemplateRecord, ModalOwner) == 192);
static_assert(offsetof(TemplateRecord, Stretch) == 192);
static_assert(offsetof(TemplateRecord, ToolTips) == 196);
static_assert(offsetof(TemplateRecord, Index) == 196);
static_assert(offsetof(TemplateRecord, TabStop) == 200);
static_assert(offsetof(TemplateRecord, Text) == 204);
static_assert(offsetof(TemplateRecord, Alignment) == 208);
static_assert(offsetof(TemplateRecord, CaptionLength) == 212);
static_assert(offsetof(TemplateRecord, ClassValue4) == 216);
static_assert(offsetof(TemplateRecord, TimerId) == 220);
static_assert(offsetof(TemplateRecord, Top) == 224);
static_assert(offsetof(TemplateRecord, ClassValue5) == 228);
static_assert(offsetof(TemplateRecord, FocusFrame) == 228);
static_assert(offsetof(TemplateRecord, IsTransparent) == 228);
static_assert(offsetof(TemplateRecord, AlternativeDocking) == 228);
static_assert(offsetof(TemplateRecord, Type) == 232);
static_assert(offsetof(TemplateRecord, Value) == 236);
static_assert(offsetof(TemplateRecord, Visible) == 240);
static_assert(offsetof(TemplateRecord, Width) == 244);
static_assert(offsetof(TemplateRecord, WindowProc) == 248);
static_assert(offsetof(TemplateRecord, ClassProc) == 252);
static_assert(offsetof(TemplateRecord, DialogId) == 256);
static_assert(offsetof(TemplateRecord, ControlId) == 256);
static_assert(offsetof(TemplateRecord, ControlCount) == 260);
static_assert(offsetof(TemplateRecord, Children) == 260);
static_assert(offsetof(TemplateRecord, DefaultButton) == 264);
static_assert(offsetof(TemplateRecord, ExStyle) == 268);
static_assert(offsetof(TemplateRecord, Style) == 272);
static_assert(offsetof(TemplateRecord, Items) == 276);
static_assert(offsetof(TemplateRecord, Self) == 280);
static_assert(offsetof(TemplateRecord, SavedFont) == 280);
// RuntimeRecord derives from the template layout so that a template copies into it by plain
// assignment; GCC on i686 and x86-64 places a derived member directly behind its base, which
// this assertion proves (offsetof on a derived type is only conditionally supported).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
static_assert(offsetof(RuntimeRecord, ToolTip) == 284);
#pragma GCC diagnostic pop

// Form kinds (Type of a form record).
namespace form_kind {
constexpr int32_t Dialog = 1;    // from the dialog resource DialogId
constexpr int32_t MdiFrame = 2;
constexpr int32_t Window = 3;    // an MDI child when MdiChild is set
}  // namespace form_kind

// A record is a form when its Type is below the first control class code.
constexpr bool IsFormType(int32_t type) { return type < 4; }

// Control class codes (Type of a control record).
namespace class_code {
constexpr int32_t Label = 4;
constexpr int32_t TextBox = 5;
constexpr int32_t GroupBox = 6;
constexpr int32_t PushButton = 7;
constexpr int32_t CheckBox = 8;
constexpr int32_t OptionButton = 9;
constexpr int32_t ListBox = 10;
constexpr int32_t ComboBox = 11;
constexpr int32_t PictureBox = 12;
constexpr int32_t Image = 13;
constexpr int32_t ScrollBar = 14;
constexpr int32_t ScrollBarAlt = 15;  // the second scroll-bar code; the style picks the orientation
constexpr int32_t RichTextBox = 16;
constexpr int32_t TreeView = 17;
constexpr int32_t ListView = 18;
constexpr int32_t Toolbar = 19;
constexpr int32_t StatusBar = 20;
constexpr int32_t ProgressBar = 21;
constexpr int32_t Trackbar = 22;
constexpr int32_t TabControl = 23;
constexpr int32_t UpDown = 24;
constexpr int32_t Animation = 25;
constexpr int32_t IpAddress = 26;
constexpr int32_t ComboBoxEx = 27;
constexpr int32_t MonthCalendar = 28;
constexpr int32_t DateTimePicker = 29;
constexpr int32_t HotKey = 30;
constexpr int32_t Pager = 31;
constexpr int32_t ImageListHolder = 32;
constexpr int32_t Header = 33;
constexpr int32_t Rebar = 34;
constexpr int32_t First = Label;
constexpr int32_t Last = Rebar;
}  // namespace class_code

// Group boxes, picture boxes and rebars: the controls that hold controls.
constexpr bool IsContainer(int32_t type) {
    return type == class_code::GroupBox || type == class_code::PictureBox || type == class_code::Rebar;
}

// The window classes of the runtime's own controls, which it registers (runtime/process).
inline constexpr char kGroupClassName[] = "BKGROUP";
inline constexpr char kPictureClassName[] = "BKPICTURE";

// Window class of each control class code, in code order from class_code::First.
inline constexpr const char* kControlClassNames[] = {
    "STATIC",             // 4 label
    "EDIT",               // 5 text box
    kGroupClassName,      // 6 group box
    "BUTTON",             // 7 push button
    "BUTTON",             // 8 check box
    "BUTTON",             // 9 option button
    "LISTBOX",            // 10
    "COMBOBOX",           // 11
    kPictureClassName,    // 12 picture box (container)
    "STATIC",             // 13 image
    "SCROLLBAR",          // 14
    "SCROLLBAR",          // 15
    "RichEdit20A",        // 16 rich text box
    "SysTreeView32",      // 17
    "SysListView32",      // 18
    "ToolbarWindow32",    // 19
    "msctls_statusbar32", // 20
    "msctls_progress32",  // 21
    "msctls_trackbar32",  // 22
    "SysTabControl32",    // 23
    "msctls_updown32",    // 24
    "SysAnimate32",       // 25
    "SysIPAddress32",     // 26
    "ComboBoxEx32",       // 27
    "SysMonthCal32",      // 28
    "SysDateTimePick32",  // 29
    "msctls_hotkey32",    // 30
    "SysPager",           // 31
    "STATIC",             // 32 image-list holder (hidden)
    "SysHeader32",        // 33
    "ReBarWindow32",      // 34
};
static_assert(std::size(kControlClassNames) == class_code::Last - class_code::First + 1);

// The window class of a control class code; null for a code that names no control.
constexpr const char* ControlClassName(int32_t code) {
    if (code < class_code::First || code > class_code::Last) return nullptr;
    return kControlClassNames[code - class_code::First];
}

// The identifier of a form's timer (ClassValue4 interval) while it runs, kept in TimerId.
constexpr int32_t kFormTimerId = 2;

// Form WindowState (slot 188); the form is shown with ShowWindow(state + 1).
namespace window_state {
constexpr int32_t Hidden = -1;
constexpr int32_t Normal = 0;
constexpr int32_t Minimised = 1;
constexpr int32_t Maximised = 2;
}  // namespace window_state

// ScaleMode: the unit of Left, Top, Width and Height.
namespace scale_mode {
constexpr int32_t Pixels = 0;
constexpr int32_t Twips = 1;
}  // namespace scale_mode

// ImageKind of the Picture slot: -1 none, 0 bitmap, any other value an icon.
namespace image_kind {
constexpr int32_t None = -1;
constexpr int32_t Bitmap = 0;
constexpr int32_t Icon = 1;
}  // namespace image_kind

// Form StartPosition.
namespace start_position {
constexpr int32_t Manual = 0;        // Left and Top
constexpr int32_t CenterParent = 1;  // on the work area when there is no parent
constexpr int32_t CenterScreen = 2;  // on the primary screen's work area
constexpr int32_t SystemDefault = 3;
}  // namespace start_position

// Form ToolTips.
namespace tooltip_mode {
constexpr int32_t None = 0;
constexpr int32_t Standard = 1;
constexpr int32_t Balloon = 2;
}  // namespace tooltip_mode

// Dock side of a picture, toolbar, status bar or rebar (DockSide).
namespace dock_side {
constexpr int32_t None = 0;
constexpr int32_t Top = 1;
constexpr int32_t Bottom = 2;
constexpr int32_t Left = 3;
constexpr int32_t Right = 4;
}  // namespace dock_side

#if UINTPTR_MAX == UINT32_MAX
// Reading and writing the address- and handle-valued slots. The program is 32-bit: an address
// fits a slot exactly, so these conversions lose nothing.
template <class P>
P SlotAs(uint32_t slot) {
    static_assert(std::is_pointer_v<P>, "slots hold addresses and handles as pointers");
    return reinterpret_cast<P>(static_cast<uintptr_t>(slot));
}

template <class P>
uint32_t ToSlot(P pointer) {
    static_assert(std::is_pointer_v<P>, "slots hold addresses and handles as pointers");
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}
#endif

}  // namespace runtime
