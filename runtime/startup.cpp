#include "runtime/startup.h"

#include <string_view>

#include "runtime/application.h"
#include "runtime/form_builder.h"
#include "runtime/runtime_classes.h"
#include "runtime/runtime_heap.h"
#include "runtime/screen.h"
#include "runtime/startup_logic.h"
#include "runtime/system_calls.h"
#include "runtime/text_convert.h"
#include "runtime/text_mode.h"
#include "runtime/util/string_lists.h"
#include "runtime/window_proc.h"
#include "runtime/window_table.h"

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

// An ANSI text into a byte buffer in the text mode, cut to fit.
void CopyAnsiInMode(const char* source, uint8_t* buffer, std::size_t bytes) {
    if (source == nullptr) return;
    if (wideMode != 0) {
        AnsiToWide(source, reinterpret_cast<wchar_t*>(buffer), UnitsIn<wchar_t>(bytes));
    } else {
        CopyBounded(std::string_view(source), reinterpret_cast<char*>(buffer), bytes);
    }
}

template <class Ch>
void StoreArguments(const Ch* commandLine, uint8_t* buffer) {
    if (commandLine == nullptr) return;
    auto* arguments = reinterpret_cast<Ch*>(buffer);
    CopyBounded(ArgumentsOf(std::basic_string_view<Ch>(commandLine)), arguments, UnitsIn<Ch>(kTextBufferBytes));
    // A cut can leave blanks at the new end.
    text::TrimRight(arguments);
}

template <class Ch>
void StorePath(HINSTANCE instance, uint8_t* buffer) {
    auto* path = reinterpret_cast<Ch*>(buffer);
    const int32_t capacity = UnitsIn<Ch>(kTextBufferBytes);
    DWORD length;
    if constexpr (sizeof(Ch) == sizeof(wchar_t)) {
        length = GetModuleFileNameW(instance, path, capacity);
    } else {
        length = GetModuleFileNameA(instance, path, capacity);
    }
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
    if (wideMode != 0) {
        StoreArguments(GetCommandLineW(), textBlock->commandLine);
        StorePath<wchar_t>(instance, textBlock->path);
    } else {
        StoreArguments(GetCommandLineA(), textBlock->commandLine);
        StorePath<char>(instance, textBlock->path);
    }
    Application.CommandLine = ToSlot(textBlock->commandLine);
    Application.Path = ToSlot(textBlock->path);
    Application.FileName = ToSlot(textBlock->fileName);
    Application.Description = ToSlot(textBlock->description);
    DWORD previous = 0;
    VirtualProtect(textBlock, sizeof(TextBlock), PAGE_READONLY, &previous);
}

bool HasManifest(HINSTANCE instance) {
    if (wideMode != 0) return FindResourceW(instance, MAKEINTRESOURCEW(kManifestId), MAKEINTRESOURCEW(kManifestType));
    return FindResourceA(instance, MAKEINTRESOURCEA(kManifestId), MAKEINTRESOURCEA(kManifestType));
}

HCURSOR LoadSharedCursor(WORD id) {
    constexpr UINT kShared = LR_SHARED | LR_DEFAULTSIZE;
    if (wideMode != 0) return static_cast<HCURSOR>(LoadImageW(nullptr, MAKEINTRESOURCEW(id), IMAGE_CURSOR, 0, 0, kShared));
    return static_cast<HCURSOR>(LoadImageA(nullptr, MAKEINTRESOURCEA(id), IMAGE_CURSOR, 0, 0, kShared));
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
    manifestPresent = HasManifest(instance) ? 1 : 0;
    MeasureScreen();
    CreateRuntimeHeap();
    CreateWindowTable();
    arrowCursor = LoadSharedCursor(kArrowCursorId);
    waitCursor = LoadSharedCursor(kWaitCursorId);
    ReadKeyboardCues();

    SetClassNames(applicationName);
    RegisterRuntimeClasses(instance);
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
