#include "runtime/start/message_loop.h"

#include "runtime/build/form_builder.h"
#include "runtime/process/accelerator_table.h"
#include "runtime/process/application.h"
#include "runtime/process/message_pump.h"
#include "runtime/process/system_calls.h"
#include "runtime/start/startup.h"
#include "runtime/text/pointer_check.h"
#include "runtime/text/text_convert.h"

namespace runtime {

namespace {

const TemplateRecord* mainForm = nullptr;

constexpr uint32_t kAcceleratorTableId = MT_ACCELERATOR_TABLE;

// Case-blind comparison that stops at the first difference, so that a text read as wide that
// is really ANSI is never read beyond where it differs.
wchar_t UpperUnit(wchar_t unit) {
    // CharUpperW takes a single character in the low word of its pointer argument.
    return static_cast<wchar_t>(reinterpret_cast<uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(unit)))));
}

bool SameNameIgnoringCase(const wchar_t* a, const wchar_t* b) {
    for (;; ++a, ++b) {
        if (UpperUnit(*a) != UpperUnit(*b)) return false;
        if (*a == 0) return true;
    }
}

}  // namespace

void SetMainForm(const TemplateRecord* form) { mainForm = form; }

uint32_t* EnterFormList(const TemplateRecord* form) {
    if (workBlock == nullptr || form == nullptr) return nullptr;
    // The last entry stays 0: it ends the list.
    for (int32_t i = 0; i < kFormListEntries - 1; ++i) {
        uint32_t& entry = workBlock->formList[i];
        if (entry == 0 || entry == ToSlot(form)) {
            entry = ToSlot(form);
            return &entry;
        }
    }
    return nullptr;
}

[[gnu::noinline]] const TemplateRecord* FindFormTemplate(const void* name) {
    CheckPointer(name, 0, __builtin_return_address(0));
    if (workBlock == nullptr) return nullptr;
    const uint32_t* list = workBlock->formList;
    for (const uint32_t* entry = list; *entry != 0; ++entry) {
        const auto* form = SlotAs<const TemplateRecord*>(*entry);
        if (form->Name != 0 && lstrcmpiA(SlotAs<const char*>(form->Name), static_cast<const char*>(name)) == 0) {
            return form;
        }
    }
    wchar_t formName[kAnsiCopyLimit];
    for (const uint32_t* entry = list; *entry != 0; ++entry) {
        const auto* form = SlotAs<const TemplateRecord*>(*entry);
        if (form->Name == 0) continue;
        AnsiToWide(SlotAs<const char*>(form->Name), formName, kAnsiCopyLimit);
        if (SameNameIgnoringCase(formName, static_cast<const wchar_t*>(name))) return form;
    }
    return nullptr;
}

int32_t RunMessageLoop(HINSTANCE instance, [[maybe_unused]] int32_t unused, [[maybe_unused]] const void* arguments,
                       [[maybe_unused]] int32_t showCommand) {
    if (instance == nullptr) instance = ApplicationInstance();
    currentFormEntry = EnterFormList(mainForm);
    const FormBuild built = BuildForm(mainForm, nullptr, 0, 0);
    WPARAM exitCode = 0;
    HACCEL accelerators = nullptr;
    // Without a main window no quit message can ever come: the loop ends at once.
    if (built.outcome == FormBuild::Outcome::Window && IsWindow(built.window)) {
        accelerators = LoadAcceleratorTable(instance, kAcceleratorTableId);
        Application.Accel = ToSlot(accelerators);
        PumpRules rules;
        // The commands of the table go to the main window of the moment.
        rules.accelerators = accelerators;
        exitCode = PumpMessages(rules).code;
    }
    ShutdownRuntime();
    if (accelerators != nullptr) DestroyAcceleratorTable(accelerators);
    Application.Accel = 0;
    return static_cast<int32_t>(exitCode);
}

}  // namespace runtime
