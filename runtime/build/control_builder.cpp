// BuildControls: the loop that creates the controls of a form or container from their runtime
// records, replaces what cannot be created, takes the standard controls over for the runtime
// window procedure, and gives every control its font and colours.

#include "runtime/build/control_builder.h"

#include <commctrl.h>

#include <string_view>

#include "runtime/build/build_support.h"
#include "runtime/build/control_setup.h"
#include "runtime/build/control_steps.h"
#include "runtime/build/form_builder.h"
#include "runtime/build/record_values.h"
#include "runtime/build/template_resources.h"
#include "runtime/process/application.h"
#include "runtime/process/box_caption.h"
#include "runtime/process/runtime_classes.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/template/template_values.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace runtime {

namespace {

constexpr const char kReplacedSuffix[] =
    ": Control could not be created and it was replaced with a 'STATIC' class control.";
constexpr UINT kReportBoxFlags = MB_ICONHAND | MB_TASKMODAL;  // 0x2010
constexpr int32_t kReportTextUnits = 1024;

// How a dialog form maps its dialog units: the pixels of 4 horizontal and 8 vertical units.
struct DialogBaseUnits {
    int32_t x = 0;
    int32_t y = 0;
};

DialogBaseUnits BaseUnitsOf(HWND dialog) {
    RECT probe{0, 0, 4, 8};
    if (MapDialogRect(dialog, &probe)) return DialogBaseUnits{probe.right, probe.bottom};
    const LONG units = GetDialogBaseUnits();
    return DialogBaseUnits{LOWORD(units), HIWORD(units)};
}

// Appends an ANSI text (converted for wide texts) to `out` at `used`; the result ends in a
// terminator and never runs past `capacity` units.
template <class Ch>
int32_t AppendAnsi(Ch* out, int32_t used, int32_t capacity, const char* ansi) {
    for (; ansi != nullptr && *ansi != 0 && used < capacity - 1; ++ansi) {
        out[used++] = static_cast<Ch>(static_cast<unsigned char>(*ansi));
    }
    out[used] = 0;
    return used;
}

template <class Ch>
int32_t AppendText(Ch* out, int32_t used, int32_t capacity, const Ch* text) {
    for (; text != nullptr && *text != 0 && used < capacity - 1; ++text) out[used++] = *text;
    out[used] = 0;
    return used;
}

// Tells the operator that a control was replaced; the box belongs to the main window.
template <class Ch>
void ShowReplacedBox(const RuntimeRecord& control) {
    Ch message[kReportTextUnits];
    Ch title[kReportTextUnits];
    if constexpr (sizeof(Ch) == 1) {
        int32_t used = AppendAnsi(message, 0, kReportTextUnits, SlotAs<const char*>(control.Name));
        AppendAnsi(message, used, kReportTextUnits, kReplacedSuffix);
    } else {
        // The name is ANSI text of the code page; the suffix is plain ASCII.
        wchar_t name[kReportTextUnits] = {};
        if (control.Name != 0) AnsiToWide(SlotAs<const char*>(control.Name), name, kReportTextUnits);
        int32_t used = AppendText<wchar_t>(message, 0, kReportTextUnits, name);
        AppendAnsi(message, used, kReportTextUnits, kReplacedSuffix);
    }
    // The prefix is a literal: its view ends in a terminator.
    const int32_t used = AppendAnsi(title, 0, kReportTextUnits, kBoxCaptionPrefix.data());
    AppendText(title, used, kReportTextUnits, SlotAs<const Ch*>(Application.FileName));
    MessageBoxOf(SlotAs<HWND>(Application.MainWindow), message, title, kReportBoxFlags);
}

// Creates the control's own window, with the steps its class takes before creation.
HWND CreateControl(RuntimeRecord* control, const Placement& place, HWND parent) {
    const ControlClassSteps steps = StepsOfClass(control->Type);
    if (steps.measureType != measure_type::None) {
        SendToWindow(parent, FRM_MEASURETYPE, static_cast<WPARAM>(steps.measureType), 0);
    }
    const void* text = steps.textAtCreation ? SlotAs<const void*>(control->Text) : nullptr;
    if (control->Type == class_code::ImageListHolder) {
        return CreateControlWindow(0, ControlClassName(control->Type), nullptr, WS_CHILD, Placement{},
                                   parent, control->ControlId, nullptr);
    }
    if (!steps.boundAtCreation) {
        return CreateControlWindow(control->ExStyle, ControlClassName(control->Type), text, control->Style,
                                   place, parent, control->ControlId, nullptr);
    }

    // Group boxes and pictures are runtime classes: their record is bound at creation.
    RuntimeClass runtimeClass = RuntimeClass::Picture;
    if (control->Type == class_code::GroupBox) {
        runtimeClass = RuntimeClass::Group;
        control->Style = GroupBoxStyle(control->Style, control->Alignment);
        control->ClassProc = ToSlot(buttonClassProc);
    } else {
        control->ClassProc = ToSlot(DefaultWindowProcAddress());
    }
    const auto identifier = reinterpret_cast<HMENU>(static_cast<intptr_t>(control->ControlId));
    pendingRecord = control;
    HWND window = CreateWindowAt(control->ExStyle, RuntimeClassName(runtimeClass), text, control->Style, place,
                                 parent, identifier, &pendingRecord);
    // A window that never came to take the record must not leave it for the next one.
    if (pendingRecord == control) pendingRecord = nullptr;
    return window;
}

// The stand-in for a control that could not be created, and the operator's report of it.
HWND ReplaceWithStatic(const RuntimeRecord& control, const Placement& place, HWND parent) {
    HWND standIn = CreateControlWindow(control.ExStyle, "STATIC", nullptr, control.Style, place,
                                       parent, control.ControlId, nullptr);
    WithTextUnit([&control](auto unit) { ShowReplacedBox<decltype(unit)>(control); });
    return standIn;
}

// A standard control becomes a runtime window: its record in the window table, its font and
// colours and its class's own set-up, then the runtime window procedure in front of its own.
void TakeOver(RuntimeRecord* control, HWND window) {
    control->Window = ToSlot(window);
    EnterWindowRecord(window, control);
    ApplyFontAndColors(control);
    CompleteControlClass(control, window);
    control->ClassProc = static_cast<uint32_t>(GetWindowValue(window, GWLP_WNDPROC));
    SetWindowValue(window, GWLP_WNDPROC, FromWindowProc(runtimeProcedures.window));
}

void CompletePicture(RuntimeRecord* picture, HWND window) {
    RemakePen(*picture, window);
    picture->Value = PictureAlignment(picture->Alignment);
    picture->PrintedText = 0;
}

void ClickOnce(HWND window) {
    SendToWindow(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendToWindow(window, WM_LBUTTONUP, 0, 0);
}

void BuildControl(RuntimeRecord* control, HWND parentWindow, HWND formWindow,
                  const DialogBaseUnits* dialogUnits) {
    control->Style |= WS_CHILD;
    Placement place = PixelPlacement(*control);
    if (dialogUnits != nullptr) {
        place = MapDialogUnits(place, dialogUnits->x, dialogUnits->y);
        control->Left = place.left;
        control->Top = place.top;
        control->Width = place.width;
        control->Height = place.height;
    }
    control->OwnerForm = ToSlot(formWindow);
    control->ControlId = ControlIdFromIndex(control->Index);

    HWND window = CreateControl(control, place, parentWindow);
    const bool replaced = window == nullptr;
    if (replaced) window = ReplaceWithStatic(*control, place, parentWindow);
    if (window == nullptr) return;

    const bool bound = StepsOfClass(control->Type).boundAtCreation;
    if (!bound) {
        TakeOver(control, window);
    } else if (control->Type == class_code::PictureBox && !replaced) {
        CompletePicture(control, window);
    }
    if (StartsChecked(*control)) ClickOnce(window);
    if (control->Children != 0) BuildControls(window, formWindow, control);
    if (bound && !replaced && control->WindowProc != 0) {
        CallProc(AsWindowProc(static_cast<LONG_PTR>(control->WindowProc)), window, FRM_CREATED,
                 static_cast<WPARAM>(control->Type), reinterpret_cast<LPARAM>(control));
    }
    if (control->Type == class_code::Rebar && !replaced) AddRebarBands(control, window);
}

// The font of a control: on a dialog form a copy of the dialog's font, so that each control
// owns the font it keeps; elsewhere one made from its own font slots.
HFONT ControlFont(const RuntimeRecord& control, HWND window) {
    HWND formWindow = SlotAs<HWND>(control.OwnerForm);
    const RuntimeRecord* form = FindWindowRecord(formWindow);
    if (form != nullptr && form->Type == form_kind::Dialog) {
        auto dialogFont = reinterpret_cast<HFONT>(SendToWindow(formWindow, WM_GETFONT, 0, 0));
        LOGFONTW description{};
        if (dialogFont != nullptr && GetObjectW(dialogFont, sizeof description, &description) != 0) {
            return CreateFontIndirectW(&description);
        }
    }
    return CreateRecordFont(control, window, form != nullptr ? form->FixedFontSize : 0);
}

void ApplyControlFont(RuntimeRecord* control, HWND window) {
    HFONT font = ControlFont(*control, window);
    const uint32_t previous = control->FontHandle;
    control->FontHandle = ToSlot(font);
    control->SavedFont = static_cast<uint32_t>(SendToWindow(window, WM_GETFONT, 0, 0));
    SendToWindow(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (previous != 0) DeleteObject(SlotAs<HFONT>(previous));
}

void AddTool(HWND tooltip, HWND control, uint32_t text) {
    // The tool record as the system's tooltips read it when it is 44 bytes long.
    struct ToolRecord {
        UINT size;
        UINT flags;
        HWND owner;
        UINT_PTR id;
        RECT rect;
        HINSTANCE instance;
        const void* text;
        LPARAM data;
    };
    static_assert(sizeof(ToolRecord) == 44 || sizeof(void*) != 4);
    ToolRecord tool{};
    tool.size = sizeof tool;
    tool.flags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.id = reinterpret_cast<UINT_PTR>(control);
    tool.instance = ApplicationInstance();
    tool.text = SlotAs<const void*>(text);
    SendToWindow(tooltip, MessageInMode(TTM_ADDTOOLA, TTM_ADDTOOLW), 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace

void BuildControls(HWND parentWindow, HWND formWindow, RuntimeRecord* parent) {
    if (parent == nullptr || parent->Children == 0) return;
    const RuntimeRecord* form = FindWindowRecord(formWindow);
    DialogBaseUnits dialogUnits;
    const bool onDialog = form != nullptr && form->Type == form_kind::Dialog;
    if (onDialog) dialogUnits = BaseUnitsOf(formWindow);
    for (RuntimeRecord* control : ChildrenOf(*parent)) {
        BuildControl(control, parentWindow, formWindow, onDialog ? &dialogUnits : nullptr);
    }
}

void ApplyFontAndColors(RuntimeRecord* control) {
    if (control == nullptr) return;
    HWND window = SlotAs<HWND>(control->Window);
    if (StepsOfClass(control->Type).getsFont) ApplyControlFont(control, window);
    if (control->Type == class_code::Label) AutoSizeControl(control);
    if (control->Type == class_code::ComboBox || control->Type == class_code::ComboBoxEx) {
        ApplyDropDownItems(*control, window, control->DropDownItems);
    }
    ApplyBackColor(*control, window, control->BackColor);
    ApplyForeColor(*control, window, control->ForeColor);
    control->Cursor = LoadTemplateImage(control->Cursor, 0);
    // A toolbar's Picture is its buttons' bitmap, a header's the name of its images.
    if (TakesPicture(control->Type) && control->Picture != 0) ApplyPicture(*control, window, control->Picture);
}

void AutoSizeControl(RuntimeRecord* control) {
    if (control == nullptr || control->AutoSize == 0) return;
    if (control->Type != class_code::Label && control->Type != class_code::PictureBox) return;
    HWND window = SlotAs<HWND>(control->Window);
    const Placement place = PlaceInParent(window);
    RECT client{};
    GetClientRect(window, &client);
    const int32_t frameWidth = place.width - client.right;
    const int32_t frameHeight = place.height - client.bottom;
    Placement sized;
    if (control->Type == class_code::Label) {
        const SIZE text = MeasureCaption(*control, window);
        sized = AutoSizeLabel(LabelAutoSizeInput{place, frameWidth, frameHeight, text.cx, text.cy,
                                                 control->Alignment});
    } else if (!AutoSizePicture(place, frameWidth, frameHeight, control->ImageWidth,
                                control->ImageHeight, &sized)) {
        return;
    }
    StorePlacement(*control, sized);
    MoveWindow(window, sized.left, sized.top, sized.width, sized.height, TRUE);
}

void RegisterToolTips(HWND tooltip, HWND container, HWND skip) {
    for (HWND child = GetWindow(container, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child == skip) continue;
        const RuntimeRecord* record = FindWindowRecord(child);
        if (record == nullptr) continue;
        if (!IsFormType(record->Type) && !IsEmptyText(record->ToolTip)) AddTool(tooltip, child, record->ToolTip);
        if (IsContainer(record->Type)) RegisterToolTips(tooltip, child, skip);
    }
}

}  // namespace runtime
