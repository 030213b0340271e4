// The property interface's window and message functions: controls by identifier, redrawing,
// default processing and queries.

#include "runtime/property/property_windows.h"

#include "runtime/build/build_support.h"
#include "runtime/build/control_builder.h"
#include "runtime/build/form_builder.h"
#include "runtime/build/template_resources.h"
#include "runtime/paint/redraw.h"
#include "runtime/process/application.h"
#include "runtime/process/message_pump.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/screen.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_message.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_table.h"
#include "runtime/template/template_copy.h"
#include "runtime/template/template_values.h"
#include "runtime/text/pointer_check.h"

namespace runtime {

namespace {

// The control with `index` among the children of `parent`, in z-order, each container searched
// before its next sibling. Forms (MDI children) carry no Index and are passed over.
HWND FindControlByIndex(HWND parent, int32_t index) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const RuntimeRecord* record = FindWindowRecord(child);
        if (record == nullptr || IsFormType(record->Type)) continue;
        if (record->Index == index) return child;
        if (IsContainer(record->Type)) {
            if (HWND found = FindControlByIndex(child, index)) return found;
        }
    }
    return nullptr;
}

// Appends the records of `loaded`'s child array to `parent`'s, so that they are released with
// the parent's other children. Without memory for the joined array they stay where they are
// (the runtime heap still holds them until shutdown).
void JoinChildren(RuntimeRecord& parent, RuntimeRecord& loaded) {
    uint32_t present = 0;
    uint32_t added = 0;
    for ([[maybe_unused]] RuntimeRecord* child : ChildrenOf(parent)) ++present;
    for ([[maybe_unused]] RuntimeRecord* child : ChildrenOf(loaded)) ++added;
    auto* joined = static_cast<uint32_t*>(AllocRuntimeBlock((present + added + 1) * sizeof(uint32_t)));
    if (joined == nullptr) return;
    uint32_t next = 0;
    for (RuntimeRecord* child : ChildrenOf(parent)) joined[next++] = ToSlot(child);
    for (RuntimeRecord* child : ChildrenOf(loaded)) joined[next++] = ToSlot(child);
    FreeRuntimeBlock(SlotAs<void*>(parent.Children));
    FreeRuntimeBlock(SlotAs<void*>(loaded.Children));
    parent.Children = ToSlot(joined);
    loaded.Children = 0;
}

}  // namespace

int32_t GetControlById(HWND window, int32_t id) {
    const RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    const int64_t index = int64_t{id} - kFirstControlId;
    if (index < 0) return 0;
    HWND start = IsFormType(record->Type) ? window : SlotAs<HWND>(record->OwnerForm);
    HWND found = FindControlByIndex(start, static_cast<int32_t>(index));
    const RuntimeRecord* control = FindWindowRecord(found);
    if (control == nullptr) return 0;
    if (control->Type == class_code::ImageListHolder) return static_cast<int32_t>(control->ImageList);
    return static_cast<int32_t>(ToSlot(found));
}

int32_t Refresh(HWND window) {
    if (FindWindowRecord(window) == nullptr) return 0;
    RedrawWindow(window, nullptr, nullptr, kFullRedrawAndPaint);
    DoEvents();
    return 1;
}

int32_t Repaint(HWND window) {
    if (FindWindowRecord(window) == nullptr) return 0;
    RepaintNow(window, true);
    return 1;
}

int32_t CallDefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return -1;
    return static_cast<int32_t>(CallDefault(Message{window, message, wParam, lParam, record}));
}

int32_t IsDefaultButton(HWND window) {
    const RuntimeRecord* button = FindWindowRecord(window);
    if (button == nullptr || button->Type != class_code::PushButton) return 0;
    const RuntimeRecord* form = FindWindowRecord(SlotAs<HWND>(button->OwnerForm));
    return form != nullptr && form->DefaultButton == ToSlot(window) ? 1 : 0;
}

int32_t UpdateWindowState(HWND window) {
    RuntimeRecord* form = FindWindowRecord(window);
    // A control's slot 188 is its range minimum: only a form has a window state there.
    if (form == nullptr || !IsFormType(form->Type)) return -1;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement)) return -1;
    form->WindowState = static_cast<int32_t>(placement.showCmd) - 1;
    return form->WindowState;
}

int32_t GetToolTipWindow(HWND window) {
    const RuntimeRecord* record = FindWindowRecord(window);
    if (record == nullptr) return 0;
    // A control's own slot holds its tip's text; its tooltip window is its form's.
    if (!IsFormType(record->Type)) record = FindWindowRecord(SlotAs<HWND>(record->OwnerForm));
    return record != nullptr ? static_cast<int32_t>(record->ToolTip) : 0;
}

int32_t LoadChildForm(HWND window, const TemplateRecord* container) {
    RuntimeRecord* parent = FindWindowRecord(window);
    if (parent == nullptr || container == nullptr || container->ControlCount <= 0) return 0;
    const bool onForm = IsFormType(parent->Type);
    if (!onForm && parent->Type != class_code::GroupBox && parent->Type != class_code::PictureBox) return 0;
    // As for a form, the controls follow the record at the place its Self names.
    const TemplateRecord* tree = container->Self != 0 ? SlotAs<const TemplateRecord*>(container->Self) : container;
    RuntimeRecord loaded{};
    CopyTemplateChildren(tree, loaded, RuntimeRecordStore());
    if (loaded.Children == 0) return 0;
    BuildControls(window, onForm ? window : SlotAs<HWND>(parent->OwnerForm), &loaded);
    JoinChildren(*parent, loaded);
    return 1;
}

[[gnu::noinline]] int32_t GetWindowRectInUnits(HWND window, RECT* rectangle) {
    CheckPointer(rectangle, 1, __builtin_return_address(0));
    const RuntimeRecord* record = FindWindowRecord(window);
    RECT pixels{};
    if (record == nullptr || WindowRectInParent(window, &pixels) < 0) return 0;
    rectangle->left = PixelsToTwipsX(pixels.left, record->ScaleMode);
    rectangle->top = PixelsToTwipsY(pixels.top, record->ScaleMode);
    rectangle->right = PixelsToTwipsX(pixels.right, record->ScaleMode);
    rectangle->bottom = PixelsToTwipsY(pixels.bottom, record->ScaleMode);
    return 1;
}

}  // namespace runtime
