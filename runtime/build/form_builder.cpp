// BuildForm, the modal loop and CompleteForm: a form template becomes a window of its kind at
// its start position, is completed when the runtime window procedure sees it created, and is
// shown once the application has accepted it.

#include "runtime/build/form_builder.h"

#include <commctrl.h>

#include "runtime/build/build_support.h"
#include "runtime/build/control_builder.h"
#include "runtime/build/modal_state.h"
#include "runtime/build/record_values.h"
#include "runtime/build/template_resources.h"
#include "runtime/paint/redraw.h"
#include "runtime/process/application.h"
#include "runtime/process/record_release.h"
#include "runtime/process/runtime_classes.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/screen.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/template/template_copy.h"
#include "runtime/template/template_values.h"

namespace runtime {

RuntimeRecord* pendingRecord = nullptr;

namespace {

constexpr DWORD kFrameScrollBars = WS_HSCROLL | WS_VSCROLL;  // 0x00300000

bool IsMdiChildForm(const RuntimeRecord& form) {
    return form.Type != form_kind::Dialog && form.Type != form_kind::MdiFrame && form.MdiChild != 0;
}

Placement WorkArea() {
    RECT area{};
    SystemParameter(SPI_GETWORKAREA, 0, &area);
    return Placement{area.left, area.top, area.right - area.left, area.bottom - area.top};
}

// Asks for a window of a runtime class for `record`. The window procedure takes the record at
// the window's first creation message; a record that no window took (the class is missing,
// or is not a runtime class) is released here and the global cleared, so that no later
// window is bound to it.
template <class Create>
HWND CreateBoundWindow(RuntimeRecord* record, Create create) {
    pendingRecord = record;
    HWND window = create();
    if (pendingRecord == record) {
        pendingRecord = nullptr;
        ReleaseRecordContents(*record, ChildList::Release);
        FreeRuntimeBlock(record);
    }
    return window;
}

// The application's answer to the creation notice; 0 without a procedure.
LRESULT NotifyCreated(HWND window) {
    const RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr || record->WindowProc == 0) return 0;
    return CallProc(AsWindowProc(static_cast<LONG_PTR>(record->WindowProc)), window, FRM_CREATED, 0, 0);
}

// Reads the style back and shows the form in its window state when it is to be visible.
void ShowBuiltForm(HWND window) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return;
    record->Style = static_cast<uint32_t>(GetWindowValue(window, GWL_STYLE));
    if (record->Visible == 0) return;
    const int32_t state = record->WindowState;
    const bool known = state >= window_state::Hidden && state <= window_state::Maximised;
    ShowWindow(window, known ? state + 1 : SW_SHOWNORMAL);
    RedrawWindow(window, nullptr, nullptr, kFullRedraw);
}

HWND CreateDialogForm(RuntimeRecord* form, HWND parent) {
    // The runtime window procedure serves as the dialog procedure: both return one 32-bit value
    // in the same calling convention, only the declared result types differ.
    const auto procedure = reinterpret_cast<DLGPROC>(reinterpret_cast<void*>(runtimeProcedures.window));
    HWND dialog = CreateBoundWindow(form, [&] {
        return CreateDialogInMode(ApplicationInstance(), static_cast<uint32_t>(form->DialogId), parent, procedure, 0);
    });
    const RuntimeRecord* record = FindWindowRecord(dialog);
    if (record == nullptr) return dialog;
    RECT rect{};
    GetWindowRect(dialog, &rect);
    // The dialog resource gives the size; the start position only moves the dialog.
    const Placement place = FormStartPlacement(record, parent, rect.right - rect.left, rect.bottom - rect.top);
    if (place.left != kSystemDefaultPosition) {
        SetWindowPos(dialog, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    return dialog;
}

HWND CreateWindowForm(RuntimeRecord* form, HWND parent, int32_t modal) {
    const Placement pixels = PixelPlacement(*form);
    const Placement place = FormStartPlacement(form, parent, pixels.width, pixels.height);
    DWORD style = form->Style;
    DWORD exStyle = form->ExStyle;
    RuntimeClass windowClass = RuntimeClass::Window;
    if (form->Type == form_kind::MdiFrame) {
        windowClass = RuntimeClass::MdiFrame;
        style &= ~kFrameScrollBars;
        exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    } else if (IsMdiChildForm(*form)) {
        windowClass = RuntimeClass::MdiChild;
        // Only a window with the MDI-child style is one the MDI client manages.
        form->ExStyle |= WS_EX_MDICHILD;
        exStyle = form->ExStyle;
        SendToWindow(parent, WM_SETREDRAW, FALSE, 0);
    } else {
        NoteModalFlag(*form, modal);
        if (modal != 0) form->ExStyle &= ~static_cast<uint32_t>(WS_EX_APPWINDOW);
        exStyle = form->ExStyle;
    }
    const bool mdiChild = windowClass == RuntimeClass::MdiChild;
    HWND window = CreateBoundWindow(form, [&] {
        return CreateWindowAt(exStyle, RuntimeClassName(windowClass), nullptr, style, place, parent, nullptr,
                              nullptr);
    });
    if (window != nullptr && mdiChild) {
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
    }
    return window;
}

// The end of a modeless build.
FormBuild PresentForm(HWND window) {
    if (!PresentBuiltForm(window)) return FormBuild{FormBuild::Outcome::Refused};
    if (!IsWindow(window)) return FormBuild{};
    return FormBuild{FormBuild::Outcome::Window, window};
}

FormBuild ShowModally(HWND window, HWND owner) {
    const ModalEnd end = RunModalLoop(window, owner);
    if (end.refused) return FormBuild{FormBuild::Outcome::Refused};
    return FormBuild{FormBuild::Outcome::ModalEnded, nullptr, end.result};
}

// Left and Top (and with `withSize` Width and Height) from the window, in the scale mode; an
// MDI child's relative to its MDI client.
void ReadFormPlace(RuntimeRecord& form, HWND window, bool withSize) {
    const Placement place = PlaceInParent(window);
    form.Left = PixelsToTwipsX(place.left, form.ScaleMode);
    form.Top = PixelsToTwipsY(place.top, form.ScaleMode);
    if (!withSize) return;
    form.Width = PixelsToTwipsX(place.width, form.ScaleMode);
    form.Height = PixelsToTwipsY(place.height, form.ScaleMode);
}

void AttachMenu(RuntimeRecord& form, HWND window) {
    HMENU menu;
    if (IsImageResourceId(form.Menu)) {
        menu = LoadMenuResource(ApplicationInstance(), form.Menu);
        if (menu == nullptr) return;  // the value stays as it was
    } else if (form.Menu == 0 && form.Type == form_kind::MdiFrame) {
        menu = CreateMenu();
    } else {
        menu = SlotAs<HMENU>(form.Menu);
    }
    form.Menu = ToSlot(menu);
    SetMenu(window, menu);
}

void CreateToolTipWindow(RuntimeRecord& form, HWND window) {
    if (form.ToolTips == tooltip_mode::None) return;
    DWORD style = TTS_ALWAYSTIP;
    if (form.ToolTips == tooltip_mode::Balloon) style |= TTS_BALLOON;
    const Placement defaultPlace{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
    HWND tooltip = CreateControlWindow(0, TOOLTIPS_CLASSA, nullptr, style, defaultPlace, window, 0, nullptr);
    form.ToolTip = ToSlot(tooltip);
    form.ToolTips = tooltip_mode::None;
}

void ApplyFormStyles(const RuntimeRecord& form, HWND window) {
    DWORD style = form.Style;
    DWORD exStyle = form.ExStyle;
    if (form.Type == form_kind::MdiFrame) {
        style &= ~kFrameScrollBars;
        exStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    }
    SetWindowValue(window, GWL_STYLE, static_cast<LONG_PTR>(style));
    SetWindowValue(window, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
}

void ApplyFormFont(RuntimeRecord& form, HWND window) {
    form.SavedFont = static_cast<uint32_t>(SendToWindow(window, WM_GETFONT, 0, 0));
    HFONT font = CreateRecordFont(form, window, form.FixedFontSize);
    if (form.FontHandle != 0) DeleteObject(SlotAs<HFONT>(form.FontHandle));
    form.FontHandle = ToSlot(font);
    SendToWindow(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    InvalidateRect(window, nullptr, TRUE);
}

void ApplyIconsAndCaption(const RuntimeRecord& form, HWND window) {
    SendToWindow(window, WM_SETICON, ICON_BIG, static_cast<LPARAM>(form.Icon));
    SendToWindow(window, WM_SETICON, ICON_SMALL, static_cast<LPARAM>(form.SmallIcon));
    SendToWindow(window, WM_SETTEXT, 0, static_cast<LPARAM>(form.Text));
}

}  // namespace

Placement FormStartPlacement(const RuntimeRecord* form, HWND parent, int32_t width, int32_t height) {
    StartPositionInput input;
    input.startPosition = form->StartPosition;
    input.window = Placement{TwipsToPixelsX(form->Left, form->ScaleMode),
                             TwipsToPixelsY(form->Top, form->ScaleMode), width, height};
    input.mdiChild = IsMdiChildForm(*form);
    Placement parentPlace;
    if (parent != nullptr && IsWindow(parent)) {
        RECT rect{};
        if ((form->Style & WS_CHILD) != 0) {
            GetClientRect(parent, &rect);
        } else {
            GetWindowRect(parent, &rect);
        }
        parentPlace = Placement{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
        input.parent = &parentPlace;
    }
    input.workArea = WorkArea();
    return StartPlacement(input);
}

bool PresentBuiltForm(HWND window) {
    if (NotifyCreated(window) == kRefuseForm) {
        DestroyWindow(window);
        return false;
    }
    if (IsWindow(window)) ShowBuiltForm(window);
    return true;
}

FormBuild BuildForm(const TemplateRecord* form, HWND parent, int32_t modal, LONG_PTR procedure) {
    if (form == nullptr) return FormBuild{};
    // The controls follow the form's own record in the template data; Self names that place.
    const TemplateRecord* tree = form->Self != 0 ? SlotAs<const TemplateRecord*>(form->Self) : form;
    RuntimeRecord* record = CopyFormTemplate(*form, tree, RuntimeRecordStore());
    if (record == nullptr) return FormBuild{};
    // Created hidden, shown once complete and accepted.
    record->Style &= ~static_cast<uint32_t>(WS_VISIBLE);

    if (record->Type == form_kind::Dialog) {
        record->ClassProc = static_cast<uint32_t>(procedure);
        NoteModalFlag(*record, modal);
        if (modal != 0 && parent != nullptr && (GetWindowValue(parent, GWL_STYLE) & WS_CHILD) != 0) {
            parent = SlotAs<HWND>(Application.MainWindow);
        }
        HWND dialog = CreateDialogForm(record, parent);
        if (dialog == nullptr) return FormBuild{};
        if (modal != 0) return ShowModally(dialog, parent);
        return PresentForm(dialog);
    }

    const bool mdiChild = IsMdiChildForm(*record);
    const bool modalWindow = modal != 0 && record->Type != form_kind::MdiFrame && !mdiChild;
    HWND window = CreateWindowForm(record, parent, modal);
    FormBuild result;
    if (window != nullptr) result = modalWindow ? ShowModally(window, parent) : PresentForm(window);
    if (mdiChild && parent != nullptr) {
        SendToWindow(parent, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(parent, nullptr, nullptr, kFullRedraw);
    }
    return result;
}

void CompleteForm(RuntimeRecord* form) {
    if (form == nullptr) return;
    HWND window = SlotAs<HWND>(form->Window);
    form->Cursor = LoadTemplateImage(form->Cursor, 0);
    form->Icon = LoadTemplateImage(form->Icon, 0);
    form->SmallIcon = LoadTemplateImage(form->SmallIcon, 0);
    if (form->Picture != 0) ApplyPicture(*form, window, form->Picture);
    AttachMenu(*form, window);
    CreateToolTipWindow(*form, window);
    ApplyFormStyles(*form, window);
    ApplyBackColor(*form, window, form->BackColor);
    ApplyForeColor(*form, window, form->ForeColor);
    ApplyFormFont(*form, window);
    ReadFormPlace(*form, window, false);
    if (IsMdiChildForm(*form)) SendToWindow(GetParent(window), FRM_SYNCSCROLL, 0, 0);
    ApplyTimerInterval(*form, window, form->ClassValue4);
    ApplyIconsAndCaption(*form, window);
    ReadFormPlace(*form, window, true);
    if (form->NoClose != 0) EnableMenuItem(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    if (form->Children != 0) {
        BuildControls(window, window, form);
        if (form->ToolTip != 0) {
            RegisterToolTips(SlotAs<HWND>(form->ToolTip), window, SlotAs<HWND>(form->MdiClient));
        }
    }
    form->FocusWindow = ToSlot(window);
}

}  // namespace runtime
