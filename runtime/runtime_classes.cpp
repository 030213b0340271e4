#include "runtime/runtime_classes.h"

#include <array>
#include <string_view>
#include <type_traits>

#include "runtime/application.h"
#include "runtime/startup_logic.h"
#include "runtime/template/template_record.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_mode.h"
#include "runtime/window_proc.h"

namespace runtime {

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
    {"BKGROUP", false, {}, {}},
    {"BKPICTURE", false, {}, {}},
}};

ClassName& NameOf(RuntimeClass which) { return classNames[static_cast<std::size_t>(which)]; }

// The system class that BKMDICLIENT extends: its own name less the two-letter prefix.
constexpr std::size_t kPrefixLength = 2;

template <bool Wide>
using WindowClass = std::conditional_t<Wide, WNDCLASSEXW, WNDCLASSEXA>;

template <bool Wide>
const auto* NameFor(RuntimeClass which) {
    if constexpr (Wide) {
        return NameOf(which).wide;
    } else {
        return NameOf(which).ansi;
    }
}

template <bool Wide>
void Register(WindowClass<Wide>& windowClass) {
    if constexpr (Wide) {
        RegisterClassExW(&windowClass);
    } else {
        RegisterClassExA(&windowClass);
    }
}

// Reads a system class's information; false (and the record zeroed but sized) when it is not
// there.
template <bool Wide, class Ch>
bool ReadSystemClass(const Ch* name, WindowClass<Wide>& info) {
    info = WindowClass<Wide>{};
    info.cbSize = sizeof(info);
    bool found;
    if constexpr (Wide) {
        found = GetClassInfoExW(nullptr, name, &info) != 0;
    } else {
        found = GetClassInfoExA(nullptr, name, &info) != 0;
    }
    if (!found) {
        info = WindowClass<Wide>{};
        info.cbSize = sizeof(info);
    }
    return found;
}

template <bool Wide>
void RegisterAll(HINSTANCE instance) {
    // The four form classes share one description.
    WindowClass<Wide> form{};
    form.cbSize = sizeof(form);
    form.style = CS_DBLCLKS;
    form.lpfnWndProc = RuntimeWindowProc;
    form.cbWndExtra = kWindowExtraBytes;
    form.hInstance = instance;
    for (RuntimeClass which : {RuntimeClass::MdiFrame, RuntimeClass::MdiChild, RuntimeClass::Window,
                               RuntimeClass::Dialog}) {
        form.lpszClassName = NameFor<Wide>(which);
        Register<Wide>(form);
    }

    // BKMDICLIENT: the system MDI client with double clicks, room for the runtime and the
    // runtime's procedure in front of the system's.
    WindowClass<Wide> client;
    ReadSystemClass<Wide>(NameFor<Wide>(RuntimeClass::MdiClient) + kPrefixLength, client);
    mdiClientClassProc = client.lpfnWndProc;
    client.style |= CS_DBLCLKS;
    client.cbWndExtra = kWindowExtraBytes;
    client.lpfnWndProc = MdiClientProc;
    client.hInstance = instance;
    client.lpszClassName = NameFor<Wide>(RuntimeClass::MdiClient);
    Register<Wide>(client);

    WindowClass<Wide> button;
    if constexpr (Wide) {
        ReadSystemClass<Wide>(L"BUTTON", button);
    } else {
        ReadSystemClass<Wide>("BUTTON", button);
    }
    buttonClassProc = button.lpfnWndProc;

    // BKGROUP keeps the button's cursor, background, icon and extra bytes: the system button
    // procedure serves it as its default and keeps its state in those bytes.
    WindowClass<Wide> group = button;
    group.style = CS_DBLCLKS;
    group.lpfnWndProc = RuntimeWindowProc;
    group.hInstance = instance;
    group.lpszMenuName = nullptr;
    group.hIconSm = nullptr;
    group.lpszClassName = NameFor<Wide>(RuntimeClass::Group);
    Register<Wide>(group);

    WindowClass<Wide> picture{};
    picture.cbSize = sizeof(picture);
    picture.style = CS_DBLCLKS;
    picture.lpfnWndProc = RuntimeWindowProc;
    picture.cbClsExtra = button.cbClsExtra;
    picture.cbWndExtra = button.cbWndExtra;
    picture.hInstance = instance;
    picture.lpszClassName = NameFor<Wide>(RuntimeClass::Picture);
    Register<Wide>(picture);
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
    const int capacity = UnitsIn<Ch>(kSearchNameBytes);
    int length;
    if constexpr (std::is_same_v<Ch, wchar_t>) {
        length = GetClassNameW(window, search->candidate, capacity);
    } else {
        length = GetClassNameA(window, search->candidate, capacity);
    }
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
    CopyBounded(std::basic_string_view<Ch>(name), search.wanted, UnitsIn<Ch>(kSearchNameBytes));
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
    if (wideMode != 0) return NameOf(which).wide;
    return NameOf(which).ansi;
}

RuntimeClass FormClass(int32_t formKind) {
    if (formKind == form_kind::Dialog) return RuntimeClass::Dialog;
    if (formKind == form_kind::MdiFrame) return RuntimeClass::MdiFrame;
    return RuntimeClass::Window;
}

void RegisterRuntimeClasses(HINSTANCE instance) {
    if (wideMode != 0) {
        RegisterAll<true>(instance);
    } else {
        RegisterAll<false>(instance);
    }
}

void UnregisterRuntimeClasses(HINSTANCE instance) {
    for (RuntimeClass which : kUnregisterOrder) {
        if (wideMode != 0) {
            UnregisterClassW(NameOf(which).wide, instance);
        } else {
            UnregisterClassA(NameOf(which).ansi, instance);
        }
    }
}

HWND FindPreviousInstance(int32_t formKind) {
    if (workBlock == nullptr) return nullptr;
    const RuntimeClass which = FormClass(formKind);
    if (wideMode != 0) return SearchTopLevelWindows(NameOf(which).wide);
    return SearchTopLevelWindows(NameOf(which).ansi);
}

}  // namespace runtime
