#include "runtime/process/runtime_classes.h"

#include <array>
#include <string_view>

#include "runtime/process/application.h"
#include "runtime/process/startup_logic.h"
#include "runtime/process/system_calls.h"
#include "runtime/template/template_record.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace runtime {

RuntimeProcedures runtimeProcedures;

namespace {

constexpr int32_t kClassCount = 7;
constexpr int kWindowExtraBytes = 32;

// Each name as ANSI and, for the wide interfaces, converted; the form classes' names get the
// application name appended by SetClassNames.
struct ClassName {
    const char* prefix;
    bool withApplicationName;
    char ansi[kClassNameBytes];
    wchar_t wide[kClassNameBytes];
};

std::array<ClassName, kClassCount> classNames = {{
    {"BKRUNMDIWINDOW", true, {}, {}},
    {"BKRUNMDICHILDWINDOW", false, {}, {}},
    {"BKRUNWINDOW", true, {}, {}},
    {"BKRUNDIALOGBOX", true, {}, {}},
    {"BKMDICLIENT", false, {}, {}},
    {kGroupClassName, false, {}, {}},
    {kPictureClassName, false, {}, {}},
}};

ClassName& NameOf(RuntimeClass which) { return classNames[static_cast<std::size_t>(which)]; }

// The name in the unit Ch.
const char* NameIn(RuntimeClass which, char) { return NameOf(which).ansi; }
const wchar_t* NameIn(RuntimeClass which, wchar_t) { return NameOf(which).wide; }

// The system class that BKMDICLIENT extends: its own name less the two-letter prefix.
constexpr std::size_t kPrefixLength = 2;

// Reads a system class's description; zeroed but sized when it is not there.
template <class Ch>
WindowClassOf<Ch> ReadSystemClass(const Ch* name) {
    WindowClassOf<Ch> description{};
    description.cbSize = sizeof(description);
    if (!ClassInfoOf(nullptr, name, &description)) {
        description = WindowClassOf<Ch>{};
        description.cbSize = sizeof(description);
    }
    return description;
}

template <class Ch>
void RegisterAll(HINSTANCE instance, Ch unit) {
    // The four form classes share one description.
    WindowClassOf<Ch> form{};
    form.cbSize = sizeof(form);
    form.style = CS_DBLCLKS;
    form.lpfnWndProc = runtimeProcedures.window;
    form.cbWndExtra = kWindowExtraBytes;
    form.hInstance = instance;
    for (RuntimeClass which : {RuntimeClass::MdiFrame, RuntimeClass::MdiChild, RuntimeClass::Window,
                               RuntimeClass::Dialog}) {
        form.lpszClassName = NameIn(which, unit);
        RegisterClassOf(form);
    }

    // BKMDICLIENT: the system MDI client with double clicks, room for the runtime and the
    // runtime's procedure in front of the system's.
    WindowClassOf<Ch> client = ReadSystemClass(NameIn(RuntimeClass::MdiClient, unit) + kPrefixLength);
    mdiClientClassProc = client.lpfnWndProc;
    client.style |= CS_DBLCLKS;
    client.cbWndExtra = kWindowExtraBytes;
    client.lpfnWndProc = runtimeProcedures.mdiClient;
    client.hInstance = instance;
    client.lpszClassName = NameIn(RuntimeClass::MdiClient, unit);
    RegisterClassOf(client);

    constexpr Ch kButton[] = {'B', 'U', 'T', 'T', 'O', 'N', 0};
    const WindowClassOf<Ch> button = ReadSystemClass(kButton);
    buttonClassProc = button.lpfnWndProc;

    // BKGROUP keeps the button's cursor, background, icon and extra bytes: the system button
    // procedure serves it as its default and keeps its state in those bytes.
    WindowClassOf<Ch> group = button;
    group.style = CS_DBLCLKS;
    group.lpfnWndProc = runtimeProcedures.window;
    group.hInstance = instance;
    group.lpszMenuName = nullptr;
    group.hIconSm = nullptr;
    group.lpszClassName = NameIn(RuntimeClass::Group, unit);
    RegisterClassOf(group);

    WindowClassOf<Ch> picture{};
    picture.cbSize = sizeof(picture);
    picture.style = CS_DBLCLKS;
    picture.lpfnWndProc = runtimeProcedures.window;
    picture.cbClsExtra = button.cbClsExtra;
    picture.cbWndExtra = button.cbWndExtra;
    picture.hInstance = instance;
    picture.lpszClassName = NameIn(RuntimeClass::Picture, unit);
    RegisterClassOf(picture);
}

constexpr RuntimeClass kUnregisterOrder[] = {
    RuntimeClass::MdiClient, RuntimeClass::Dialog,   RuntimeClass::Group,    RuntimeClass::Picture,
    RuntimeClass::Window,    RuntimeClass::MdiChild, RuntimeClass::MdiFrame,
};
static_assert(std::size(kUnregisterOrder) == kClassCount);

// The previous-instance search: the wanted name and each window's name side by side in text
// scratch 2 (260 bytes each).
constexpr std::size_t kSearchNameBytes = 260;

template <class Ch>
struct InstanceSearch {
    Ch* wanted;
    Ch* candidate;
    HWND found;
};

template <class Ch>
BOOL CALLBACK CompareClassName(HWND window, LPARAM data) noexcept {
    auto* search = reinterpret_cast<InstanceSearch<Ch>*>(data);  // our own LPARAM, see below
    const int length = ClassNameOf(window, search->candidate, UnitsIn<Ch>(kSearchNameBytes));
    if (length <= 0) return TRUE;
    if (!SameClassName<Ch>(search->wanted, search->candidate)) return TRUE;
    search->found = window;
    return FALSE;
}

template <class Ch>
HWND SearchTopLevelWindows(const Ch* name) {
    uint8_t* area = workBlock->textScratch2;
    InstanceSearch<Ch> search{reinterpret_cast<Ch*>(area), reinterpret_cast<Ch*>(area + kSearchNameBytes),
                              nullptr};
    text::CopyBounded(std::basic_string_view<Ch>(name), search.wanted, UnitsIn<Ch>(kSearchNameBytes));
    // The search record travels through EnumWindows' LPARAM and comes back to the callback.
    EnumWindows(CompareClassName<Ch>, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

void SetClassNames(const char* applicationName) {
    const std::string_view name = applicationName != nullptr ? applicationName : "";
    for (ClassName& entry : classNames) {
        ComposeClassName(entry.prefix, entry.withApplicationName ? name : std::string_view{}, entry.ansi,
                         sizeof(entry.ansi));
        AnsiToWide(entry.ansi, entry.wide, static_cast<int32_t>(std::size(entry.wide)));
    }
}

const char* RuntimeClassNameA(RuntimeClass which) { return NameOf(which).ansi; }

const void* RuntimeClassName(RuntimeClass which) {
    return WithTextUnit([which](auto unit) -> const void* { return NameIn(which, unit); });
}

RuntimeClass FormClass(int32_t formKind) {
    if (formKind == form_kind::Dialog) return RuntimeClass::Dialog;
    if (formKind == form_kind::MdiFrame) return RuntimeClass::MdiFrame;
    return RuntimeClass::Window;
}

void RegisterRuntimeClasses(HINSTANCE instance, const RuntimeProcedures& procedures) {
    runtimeProcedures = procedures;
    WithTextUnit([instance](auto unit) { RegisterAll(instance, unit); });
}

void UnregisterRuntimeClasses(HINSTANCE instance) {
    for (RuntimeClass which : kUnregisterOrder) {
        WithTextUnit([which, instance](auto unit) { UnregisterClassOf(NameIn(which, unit), instance); });
    }
}

HWND FindPreviousInstance(int32_t formKind) {
    if (workBlock == nullptr) return nullptr;
    const RuntimeClass which = FormClass(formKind);
    return WithTextUnit([which](auto unit) { return SearchTopLevelWindows(NameIn(which, unit)); });
}

}  // namespace runtime
