// The form builder in its plainest form, for the runtime's own test programs while the real
// builder is not part of the runtime: BuildForm copies the form's record, creates its window of
// the runtime class for its kind through the record under construction, sends the creation
// notice and shows it; CompleteForm notes the form's window as its focus window. Texts are not
// resolved (the copy keeps no text, so the runtime frees none), and the test records carry no
// font, colours or pictures to apply.

#include "runtime/application.h"
#include "runtime/form_builder.h"
#include "runtime/runtime_classes.h"
#include "runtime/runtime_heap.h"
#include "runtime/runtime_messages.h"
#include "runtime/system_calls.h"
#include "runtime/window_proc.h"

namespace runtime {

RuntimeRecord* pendingRecord = nullptr;

LONG_PTR BuildForm(const TemplateRecord* form, HWND parent, int32_t, LONG_PTR) {
    auto* record = static_cast<RuntimeRecord*>(AllocRuntimeBlock(sizeof(RuntimeRecord)));
    if (record == nullptr) return 0;
    static_cast<TemplateRecord&>(*record) = *form;
    record->FontName = 0;
    record->Text = 0;
    record->Self = 0;
    record->ControlCount = 0;
    record->Style &= ~static_cast<uint32_t>(WS_VISIBLE);

    pendingRecord = record;
    const void* className = RuntimeClassName(FormClass(record->Type));
    const auto instance = SlotAs<HINSTANCE>(Application.Instance);
    HWND window = wideMode != 0
                      ? CreateWindowExW(record->ExStyle, static_cast<const wchar_t*>(className), L"", record->Style,
                                        record->Left, record->Top, record->Width, record->Height, parent, nullptr,
                                        instance, nullptr)
                      : CreateWindowExA(record->ExStyle, static_cast<const char*>(className), "", record->Style,
                                        record->Left, record->Top, record->Width, record->Height, parent, nullptr,
                                        instance, nullptr);
    // A record the window procedure never took is still the builder's.
    if (pendingRecord == record) {
        pendingRecord = nullptr;
        FreeRuntimeBlock(record);
    }
    if (window == nullptr) return 0;
    if (form->WindowProc != 0 &&
        CallProc(SlotAs<WNDPROC>(form->WindowProc), window, FRM_CREATED, 0, 0) == kRefuseForm) {
        DestroyWindow(window);
        return kRefuseForm;
    }
    if (!IsWindow(window)) return 0;
    if (form->Visible != 0) ShowWindow(window, SW_SHOWNORMAL);
    return reinterpret_cast<LONG_PTR>(window);
}

void CompleteForm(RuntimeRecord* record) { record->FocusWindow = record->Window; }

void ApplyFontAndColors(RuntimeRecord*) {}

void AutoSizeControl(RuntimeRecord*) {}

}  // namespace runtime
