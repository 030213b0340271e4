// Reading properties: every selector of a control of each kind and of the form itself,
// compared with what the system says of the window (place, size, state, text limits, ranges,
// fonts) or, for values only the runtime keeps, with the record's named slot; -1 wherever a
// property does not apply, for selectors that name nothing and for foreign windows.

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>

#include "built_form_fixture.h"
#include "runtime/build/control_steps.h"
#include "runtime/property/property_getters.h"
#include "runtime/process/window_table.h"

namespace {

using buildertest::FormTemplate;
using runtime::RuntimeRecord;
using runtime::TemplateRecord;
namespace class_code = runtime::class_code;
namespace property = runtime::property;

class BUILDER_SUITE(PropertyRead) : public buildertest::BuiltFormTest {};

// A window as the test sees it: the window, its record and its form.
struct Probe {
    HWND window;
    const RuntimeRecord& record;
    HWND form;
    bool isForm() const { return runtime::IsFormType(record.Type); }
};

int32_t Value(LRESULT result) { return static_cast<int32_t>(result); }
int32_t Value(uint32_t slot) { return static_cast<int32_t>(slot); }
template <class P>
int32_t Handle(P handle) {
    return static_cast<int32_t>(reinterpret_cast<uintptr_t>(handle));
}

// The window's rectangle: on the screen for the form, in the parent's client area for a control.
RECT PlaceOf(const Probe& p) {
    RECT rect{};
    GetWindowRect(p.window, &rect);
    if (!p.isForm()) MapWindowPoints(HWND_DESKTOP, GetParent(p.window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Kinds whose window does not keep the rectangle of its template: its record does.
bool KeepsTemplatePlace(int32_t type) {
    switch (type) {
        case class_code::ListBox:          // a whole number of items high
        case class_code::ComboBox:         // as high as its selection field
        case class_code::ComboBoxEx:       // likewise
        case class_code::ImageListHolder:  // an empty hidden window
            return false;
        default: return true;
    }
}

// An edge of the window's place, or (with a start edge) an extent.
int32_t Geometry(const Probe& p, LONG RECT::*edge, LONG RECT::*start, int32_t TemplateRecord::*slot) {
    if (!KeepsTemplatePlace(p.record.Type)) return p.record.*slot;
    const RECT rect = PlaceOf(p);
    return start == nullptr ? rect.*edge : rect.*edge - rect.*start;
}

// The range values the template gives every range control.
constexpr int32_t kRangeMin = -5;
constexpr int32_t kRangeMax = 70000;
constexpr int32_t kRangePosition = 40;
constexpr int32_t kScrollPage = 10;

bool IsRangeControl(int32_t type) { return runtime::kRangeTypes.Has(type); }

template <class Field>
int32_t ScrollInfo(HWND window, Field SCROLLINFO::*field) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(window, SB_CTL, &info);
    return static_cast<int32_t>(info.*field);
}

int32_t RangeMin(const Probe& p) {
    if (p.record.Type == class_code::ScrollBar || p.record.Type == class_code::ScrollBarAlt) {
        return ScrollInfo(p.window, &SCROLLINFO::nMin);
    }
    return kRangeMin;
}

int32_t RangeMax(const Probe& p) {
    if (p.record.Type == class_code::ScrollBar || p.record.Type == class_code::ScrollBarAlt) {
        return ScrollInfo(p.window, &SCROLLINFO::nMax);
    }
    return kRangeMax;
}

int32_t RangeValue(const Probe& p) {
    if (!IsRangeControl(p.record.Type)) return Value(SendMessageW(p.window, BM_GETCHECK, 0, 0));
    return kRangePosition;
}

int32_t WindowState(HWND window) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
    return static_cast<int32_t>(placement.showCmd) - 1;
}

// The font the window uses; windows that do not tell it (forms, pictures, rich text and IP
// address controls) hold the runtime's font in their record, which must be a font.
int32_t FontOf(const Probe& p) {
    // Kinds that get no font of their own keep none in their record.
    if (!runtime::StepsOfClass(p.record.Type).getsFont && !p.isForm()) return 0;
    const auto told = Value(SendMessageW(p.window, WM_GETFONT, 0, 0));
    if (told != 0) return told;
    EXPECT_EQ(GetObjectType(runtime::SlotAs<HGDIOBJ>(p.record.FontHandle)), static_cast<DWORD>(OBJ_FONT))
        << "type " << p.record.Type;
    return Value(p.record.FontHandle);
}

// What each selector should give for a window it applies to.
const std::map<int32_t, std::function<int32_t(const Probe&)>>& Expectations() {
    static const std::map<int32_t, std::function<int32_t(const Probe&)>> expectations = {
        {property::Align, [](const Probe& p) { return p.record.DockSide; }},
        {property::AutoSize, [](const Probe& p) { return p.record.AutoSize; }},
        {property::BackColor, [](const Probe& p) { return Value(p.record.BackColor); }},
        {property::ButtonOption, [](const Probe& p) { return p.record.AutoSize; }},
        {property::ClassValue1, [](const Probe& p) { return p.record.ClassValue1; }},
        {property::MouseCursor, [](const Probe& p) { return Value(p.record.Cursor); }},
        {property::CursorKind, [](const Probe& p) { return p.record.CursorKind; }},
        {property::FocusFrame, [](const Probe& p) { return p.record.ClassValue5; }},
        {property::LineStyle, [](const Probe& p) { return p.record.LineStyle; }},
        {property::LineWidth, [](const Probe& p) { return p.record.LineWidth; }},
        {property::Enabled, [](const Probe& p) { return IsWindowEnabled(p.window) ? 1 : 0; }},
        {property::PictureOption, [](const Probe& p) { return p.record.NoClose; }},
        {property::Font, FontOf},
        {property::FontBold, [](const Probe& p) { return p.record.FontBold; }},
        {property::FontItalic, [](const Probe& p) { return p.record.FontItalic; }},
        {property::FontSize, [](const Probe& p) { return p.record.FontSize; }},
        {property::FontStrikeout, [](const Probe& p) { return p.record.FontStrikeout; }},
        {property::FontUnderline, [](const Probe& p) { return p.record.FontUnderline; }},
        {property::ForeColor, [](const Probe& p) { return Value(p.record.ForeColor); }},
        {property::Height,
         [](const Probe& p) { return Geometry(p, &RECT::bottom, &RECT::top, &TemplateRecord::Height); }},
        {property::Icon, [](const Probe& p) { return Value(SendMessageW(p.window, WM_GETICON, ICON_BIG, 0)); }},
        {property::SmallIcon,
         [](const Probe& p) { return Value(SendMessageW(p.window, WM_GETICON, ICON_SMALL, 0)); }},
        {property::Left, [](const Probe& p) { return Geometry(p, &RECT::left, nullptr, &TemplateRecord::Left); }},
        {property::Max, RangeMax},
        {property::MaxLength, [](const Probe& p) { return Value(SendMessageW(p.window, EM_GETLIMITTEXT, 0, 0)); }},
        {property::MdiChild, [](const Probe& p) { return p.record.MdiChild; }},
        {property::MdiClient, [](const Probe& p) { return Handle(GetWindow(p.window, GW_CHILD)); }},
        {property::Min, RangeMin},
        {property::ModalOwner, [](const Probe&) { return 0; }},
        {property::MultiLine, [](const Probe& p) { return p.record.MultiLine; }},
        {property::ShowAmpersands, [](const Probe& p) { return p.record.MultiLine; }},
        {property::ScrollBarOption, [](const Probe& p) { return ScrollInfo(p.window, &SCROLLINFO::nPage); }},
        {property::PasswordChar,
         [](const Probe& p) { return Value(SendMessageW(p.window, EM_GETPASSWORDCHAR, 0, 0)); }},
        {property::Picture, [](const Probe& p) { return Value(p.record.Picture); }},
        {property::ButtonStyle, [](const Probe& p) { return p.record.MaxLength; }},
        {property::RightToLeft, [](const Probe& p) { return p.record.RightToLeft; }},
        {property::ScaleMode, [](const Probe& p) { return p.record.ScaleMode; }},
        {property::ScrollBars, [](const Probe& p) { return p.record.Max; }},
        {property::WindowState, [](const Probe& p) { return WindowState(p.window); }},
        {property::LabelOption, [](const Probe& p) { return p.record.SelEnd; }},
        {property::Index, [](const Probe& p) { return GetDlgCtrlID(p.window) - 1000; }},
        {property::TabStop, [](const Probe& p) { return p.record.TabStop; }},
        {property::Alignment, [](const Probe& p) { return p.record.Alignment; }},
        {property::TimerInterval, [](const Probe& p) { return p.record.ClassValue4; }},
        {property::Top, [](const Probe& p) { return Geometry(p, &RECT::top, nullptr, &TemplateRecord::Top); }},
        {property::Type, [](const Probe& p) { return p.record.Type; }},
        {property::Value, RangeValue},
        {property::Visible, [](const Probe& p) { return IsWindowVisible(p.window) ? 1 : 0; }},
        {property::DropDownItems, [](const Probe& p) { return p.record.MaxLength; }},
        {property::Width,
         [](const Probe& p) { return Geometry(p, &RECT::right, &RECT::left, &TemplateRecord::Width); }},
        {property::OwnerForm, [](const Probe& p) { return p.isForm() ? 0 : Handle(p.form); }},
    };
    return expectations;
}

// Reads selectors -1 to 55 of the window: the expected value where the property applies, -1
// everywhere else.
void ExpectEveryProperty(HWND window, HWND form, int32_t type) {
    const RuntimeRecord* record = runtime::FindWindowRecord(window);
    ASSERT_NE(record, nullptr) << "type " << type << " is a runtime window";
    ASSERT_EQ(record->Type, type);
    const Probe probe{window, *record, form};
    for (int32_t selector = -1; selector <= 55; ++selector) {
        const runtime::PropertyRow* row = runtime::FindPropertyRow(selector);
        const int32_t read = runtime::GetProperty(window, selector);
        if (row == nullptr || !row->types.Has(type)) {
            EXPECT_EQ(read, -1) << "selector " << selector << " of type " << type;
            continue;
        }
        const auto expectation = Expectations().find(selector);
        ASSERT_NE(expectation, Expectations().end()) << row->name << " has an expectation";
        EXPECT_EQ(read, expectation->second(probe)) << row->name << " of type " << type;
    }
}

// The template of a control of each kind, with values that tell its slots apart.
TemplateRecord ControlOfKind(FormTemplate& form, int32_t type) {
    const int32_t column = (type - class_code::First) % 6;
    const int32_t row = (type - class_code::First) / 6;
    TemplateRecord control = form.Control(type, type, "Control", 5 + column * 140, 5 + row * 60, 120, 40);
    control.FontBold = 1;
    control.FontSize = 9;
    control.TabStop = 1;
    control.Alignment = type == class_code::ScrollBar || type == class_code::ScrollBarAlt ? kScrollPage : 1;
    control.BackColor = 0x00203040;
    control.ForeColor = 0x00405060;
    if (IsRangeControl(type)) {
        control.Min = kRangeMin;
        control.Max = kRangeMax;
        control.Value = kRangePosition;
    }
    switch (type) {
        case class_code::TextBox:
            control.MaxLength = 12;
            control.PasswordChar = '*';
            control.Style |= ES_PASSWORD;
            break;
        case class_code::CheckBox:
            control.Value = 1;
            control.Style |= BS_AUTOCHECKBOX;
            break;
        case class_code::OptionButton: control.Style |= BS_AUTORADIOBUTTON; break;
        case class_code::ComboBox: control.Style |= CBS_DROPDOWNLIST; break;
        case class_code::ComboBoxEx: control.Style |= CBS_DROPDOWNLIST; break;
        case class_code::ScrollBarAlt: control.Style |= SBS_VERT; break;
        case class_code::Toolbar:
        case class_code::StatusBar:
        case class_code::Rebar: control.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE; break;
        case class_code::ProgressBar: control.Value = kRangePosition; break;
        default: break;
    }
    return control;
}

TEST_F(BUILDER_SUITE(PropertyRead), EverySelectorOfEveryKindAndOfTheForm) {
    ASSERT_NE(richEdit_, nullptr) << "the rich edit library";
    FormTemplate form(runtime::form_kind::Window, 900, 400);
    form.Form().ClassValue4 = 0;
    form.Form().LineStyle = PS_DOT;
    form.Form().LineWidth = 2;
    for (int32_t type = class_code::First; type <= class_code::Last; ++type) form.Add(ControlOfKind(form, type));
    form.Form().ControlCount = class_code::Last - class_code::First + 1;
    ASSERT_NE(Build(form), nullptr);

    ExpectEveryProperty(form_, nullptr, runtime::form_kind::Window);
    for (int32_t type = class_code::First; type <= class_code::Last; ++type) {
        HWND control = Control(type);
        ASSERT_NE(control, nullptr) << "type " << type;
        ExpectEveryProperty(control, form_, type);
    }
}

TEST_F(BUILDER_SUITE(PropertyRead), RangesAreReadWholeFromTheControl) {
    FormTemplate form;
    for (const int32_t type : {class_code::ProgressBar, class_code::Trackbar, class_code::UpDown}) {
        form.Add(ControlOfKind(form, type));
    }
    form.Form().ControlCount = 3;
    ASSERT_NE(Build(form), nullptr);
    // Moved by the user (or by a message the runtime did not send): the property follows.
    SendMessageW(Control(class_code::ProgressBar), PBM_SETPOS, 65, 0);
    SendMessageW(Control(class_code::Trackbar), TBM_SETPOS, TRUE, -3);
    SendMessageW(Control(class_code::UpDown), UDM_SETPOS32, 0, 66000);
    EXPECT_EQ(runtime::GetValue(Control(class_code::ProgressBar)), 65);
    EXPECT_EQ(runtime::GetValue(Control(class_code::Trackbar)), -3);
    EXPECT_EQ(runtime::GetValue(Control(class_code::UpDown)), 66000) << "beyond 16 bits";
    EXPECT_EQ(runtime::GetMin(Control(class_code::UpDown)), kRangeMin) << "a negative limit";
    EXPECT_EQ(runtime::GetMax(Control(class_code::UpDown)), kRangeMax);
}

TEST_F(BUILDER_SUITE(PropertyRead), TheMdiFrameAndForeignWindows) {
    FormTemplate frame(runtime::form_kind::MdiFrame);
    ASSERT_NE(Build(frame), nullptr);
    HWND client = GetWindow(form_, GW_CHILD);
    ASSERT_NE(client, nullptr);
    EXPECT_EQ(runtime::GetMdiClient(form_), Handle(client));
    EXPECT_EQ(runtime::GetFont(form_), -1) << "an MDI frame has no font property";
    EXPECT_EQ(runtime::GetModalOwner(form_), -1) << "nor a modal owner";

    HWND foreign = CreateWindowExW(0, L"STATIC", L"x", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    for (const runtime::PropertyRow& row : runtime::kPropertyRows) {
        EXPECT_EQ(runtime::GetProperty(foreign, row.selector), -1) << row.name << " of a foreign window";
        EXPECT_EQ(runtime::GetProperty(client, row.selector), -1) << row.name << " of the MDI client";
    }
    DestroyWindow(foreign);
}

}  // namespace
