#include "runtime/start/startup.h"

#include <string_view>

#include "runtime/build/form_builder.h"
#include "runtime/process/application.h"
#include "runtime/process/runtime_classes.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/screen.h"
#include "runtime/process/startup_logic.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/text/text_convert.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"
#include "runtime/util/string_lists.h"
#include "runtime/window/child_subclass_proc.h"
#include "runtime/window/mdi_client_proc.h"
#include "runtime/window/window_proc.h"

namespace runtime {

namespace {

constexpr WORD kManifestType = 24;
constexpr WORD kManifestId = 1;
constexpr WORD kArrowCursorId = 32512;
constexpr WORD kWaitCursorId = 32514;

template <class T>
T* CommitBlock() {
    return static_cast<T*>(VirtualAlloc(nullptr, sizeof(T), MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

template <class T>
void ReleaseBlock(T*& block) {
    if (block != nullptr) VirtualFree(block, 0, MEM_RELEASE);
    block = nullptr;
}

// The OS level, and the service-pack text into `servicePack` (ANSI).
int32_t ReadOsLevel(OSVERSIONINFOA& version) {
    version = OSVERSIONINFOA{};
    version.dwOSVersionInfoSize = sizeof(version);
    static_assert(sizeof(OSVERSIONINFOA) == 148);
    if (!GetVersionExA(&version)) return os_level::Unknown;
    return OsLevelFromVersion(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
}

// An ANSI text into a byte buffer in the unit of the text mode, cut to fit.
void CopyAnsiAs(char, const char* source, uint8_t* buffer, std::size_t bytes) {
    text::CopyBounded(std::string_view(source), reinterpret_cast<char*>(buffer), bytes);
}
void CopyAnsiAs(wchar_t, const char* source, uint8_t* buffer, std::size_t bytes) {
    AnsiToWide(source, reinterpret_cast<wchar_t*>(buffer), UnitsIn<wchar_t>(bytes));
}

void CopyAnsiInMode(const char* source, uint8_t* buffer, std::size_t bytes) {
    if (source == nullptr) return;
    WithTextUnit([&](auto unit) { CopyAnsiAs(unit, source, buffer, bytes); });
}

template <class Ch>
void StoreArguments(uint8_t* buffer) {
    const Ch* commandLine = CommandLineOf(Ch{});
    if (commandLine == nullptr) return;
    auto* arguments = reinterpret_cast<Ch*>(buffer);
    text::CopyBounded(ArgumentsOf(std::basic_string_view<Ch>(commandLine)), arguments, UnitsIn<Ch>(kTextBufferBytes));
    // A cut can leave blanks at the new end.
    text::TrimRight(arguments);
}

template <class Ch>
void StorePath(HINSTANCE instance, uint8_t* buffer) {
    auto* path = reinterpret_cast<Ch*>(buffer);
    const int32_t capacity = UnitsIn<Ch>(kTextBufferBytes);
    DWORD length = ModuleFileName(instance, path, static_cast<DWORD>(capacity));
    // An older system leaves a cut name without its terminator.
    path[capacity - 1] = 0;
    if (length >= static_cast<DWORD>(capacity)) length = capacity - 1;
    path[DirectoryLength(std::basic_string_view<Ch>(path, length))] = 0;
}

// The command line, the path, the file name and the description, then the block turns
// read-only.
void FillTextBlock(HINSTANCE instance, const char* fileName, const char* description) {
    textBlock = CommitBlock<TextBlock>();
    if (textBlock == nullptr) return;
    CopyAnsiInMode(description, textBlock->description, sizeof(textBlock->description));
    CopyAnsiInMode(fileName, textBlock->fileName, sizeof(textBlock->fileName));
    WithTextUnit([instance](auto unit) {
        StoreArguments<decltype(unit)>(textBlock->commandLine);
        StorePath<decltype(unit)>(instance, textBlock->path);
    });
    Application.CommandLine = ToSlot(textBlock->commandLine);
    Application.Path = ToSlot(textBlock->path);
    Application.FileName = ToSlot(textBlock->fileName);
    Application.Description = ToSlot(textBlock->description);
    DWORD previous = 0;
    VirtualProtect(textBlock, sizeof(TextBlock), PAGE_READONLY, &previous);
}

HCURSOR LoadSharedCursor(WORD id) {
    return static_cast<HCURSOR>(LoadImageResource(nullptr, id, IMAGE_CURSOR, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
}

void ReleaseCursor(HCURSOR& cursor) {
    if (cursor != nullptr) DestroyCursor(cursor);
    cursor = nullptr;
}

}  // namespace

void StartRuntime(HINSTANCE instance, const char* applicationName, const char* fileName,
                  const char* description, int32_t formKind, int32_t wideRequest) {
    Application.Instance = ToSlot(instance);
    Application.MainWindow = 0;
    Application.ProcessId = 0;
    Application.ThreadId = 0;

    workBlock = CommitBlock<WorkBlock>();
    if (workBlock != nullptr) Application.ScratchText = ToSlot(workBlock->scratchText);

    OSVERSIONINFOA version;
    OsLevel = ReadOsLevel(version);
    wideMode = WideModeFor(wideRequest, OsLevel);
    if (workBlock != nullptr) {
        CopyAnsiInMode(version.szCSDVersion, workBlock->servicePack, sizeof(workBlock->servicePack));
    }

    FillTextBlock(instance, fileName, description);
    manifestPresent = HasResource(instance, kManifestId, kManifestType) ? 1 : 0;
    MeasureScreen();
    CreateRuntimeHeap();
    CreateWindowTable();
    arrowCursor = LoadSharedCursor(kArrowCursorId);
    waitCursor = LoadSharedCursor(kWaitCursorId);
    ReadKeyboardCues();

    SetClassNames(applicationName);
    RegisterRuntimeClasses(instance, RuntimeProcedures{&RuntimeWindowProc, &MdiClientProc, &ChildSubclassProc});
    Application.PrevInstanceWindow = ToSlot(FindPreviousInstance(formKind));
}

void ShutdownRuntime() {
    DestroyAllLists();
    if (runtimeHeap != nullptr) {
        FreeWindowTable();
        DestroyRuntimeHeap();
    }
    // Nothing is under construction once the heap with its records is gone.
    pendingRecord = nullptr;
    currentFormEntry = nullptr;
    ReleaseBlock(workBlock);
    ReleaseBlock(textBlock);
    ReleaseCursor(arrowCursor);
    ReleaseCursor(waitCursor);
    UnregisterRuntimeClasses(SlotAs<HINSTANCE>(Application.Instance));
}

void EmergencyShutdown() {
    HWND mainWindow = SlotAs<HWND>(Application.MainWindow);
    if (mainWindow != nullptr && IsWindow(mainWindow)) DestroyWindow(mainWindow);
    ShutdownRuntime();
}

}  // namespace runtime
