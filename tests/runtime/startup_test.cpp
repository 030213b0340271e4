// The runtime's start-up and shutdown under Wine: the Application record, the OS level and
// text mode, the work and text blocks, the screen's units, the window classes and the
// previous-instance search.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "runtime/start/message_loop.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/screen.h"
#include "runtime/process/startup_logic.h"
#include "runtime/window/mdi_client_proc.h"
#include "runtime_session.h"
#include "test_helper_process.h"

namespace {

using runtime::Application;
using runtime::RuntimeClass;
using runtime::RuntimeRecord;
using runtimetest::RuntimeSession;

// A text of the runtime in its mode, read back as ASCII.
std::string ModeText(const void* text) {
    std::string out;
    if (runtime::wideMode != 0) {
        for (const auto* unit = static_cast<const wchar_t*>(text); *unit != 0; ++unit) out.push_back(static_cast<char>(*unit));
    } else {
        out = static_cast<const char*>(text);
    }
    return out;
}

std::string ModeText(uint32_t slot) { return ModeText(runtime::SlotAs<const void*>(slot)); }

class Startup : public ::testing::TestWithParam<int32_t> {
protected:
    void TearDown() override { runtime::ShutdownRuntime(); }
};

INSTANTIATE_TEST_SUITE_P(AnsiAndWide, Startup, ::testing::Values(0, 1),
                         [](const auto& info) { return info.param != 0 ? "WideRequest" : "AnsiRequest"; });

TEST_P(Startup, OsLevelAndTextModeFollowTheSystem) {
    RuntimeSession session(GetParam());
    // Wine reports Windows 7: NT 6.1.
    EXPECT_EQ(runtime::OsLevel, 7);
    EXPECT_EQ(runtime::wideMode, GetParam()) << "the NT line has the wide interfaces";

    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(ModeText(runtime::workBlock->servicePack), version.szCSDVersion);
}

TEST_P(Startup, TheApplicationRecordHoldsTheStartingTexts) {
    RuntimeSession session(GetParam());
    EXPECT_EQ(Application.Instance, runtime::ToSlot(GetModuleHandleA(nullptr)));
    EXPECT_EQ(ModeText(Application.FileName), "Project1.exe");
    EXPECT_EQ(ModeText(Application.Description), "Runtime tests");
    EXPECT_EQ(Application.ScratchText, runtime::ToSlot(runtime::workBlock->scratchText));
    EXPECT_EQ(Application.PrevInstanceWindow, 0u) << "no other instance runs";
}

TEST_P(Startup, TheWorkBlockIsOneReadWritePageWithItsSixAreas) {
    RuntimeSession session(GetParam());
    runtime::WorkBlock* block = runtime::workBlock;
    ASSERT_NE(block, nullptr);
    MEMORY_BASIC_INFORMATION memory{};
    ASSERT_NE(VirtualQuery(block, &memory, sizeof(memory)), 0u);
    EXPECT_EQ(memory.BaseAddress, block) << "the block is a committed allocation of its own";
    EXPECT_EQ(memory.State, static_cast<DWORD>(MEM_COMMIT));
    EXPECT_EQ(memory.Protect, static_cast<DWORD>(PAGE_READWRITE));
    EXPECT_GE(memory.RegionSize, 4096u);

    // Each area is usable over its whole size, and writing one leaves its neighbours alone.
    const struct {
        const char* name;
        uint8_t* start;
        size_t size;
    } areas[] = {
        {"text scratch 1", block->textScratch1, 2048},
        {"string lists", reinterpret_cast<uint8_t*>(&block->stringLists), 264},
        {"service pack", block->servicePack, 264},
        {"scratch text", block->scratchText, 512},
        {"text scratch 2", block->textScratch2, 520},
        {"form list", reinterpret_cast<uint8_t*>(block->formList), 488},
    };
    auto* base = reinterpret_cast<uint8_t*>(block);
    size_t offset = 0;
    for (const auto& area : areas) {
        EXPECT_EQ(area.start - base, static_cast<ptrdiff_t>(offset)) << area.name << " follows the areas before it";
        offset += area.size;
    }
    EXPECT_EQ(offset, 4096u);
    FillMemory(block, 4096, 0x11);
    for (size_t i = 0; i < std::size(areas); ++i) {
        FillMemory(areas[i].start, areas[i].size, static_cast<BYTE>(0xA0 + i));
    }
    for (size_t i = 0; i < std::size(areas); ++i) {
        const uint8_t* area = areas[i].start;
        EXPECT_EQ(area[0], 0xA0 + i) << areas[i].name;
        EXPECT_EQ(area[areas[i].size - 1], 0xA0 + i) << areas[i].name;
    }
    // Start-up's own use of the areas is over; the runtime finds an empty form list again.
    ZeroMemory(block->formList, sizeof(block->formList));
    ZeroMemory(&block->stringLists, sizeof(block->stringLists));
}

TEST_P(Startup, TheTextBlockIsReadOnlyOnceFilled) {
    RuntimeSession session(GetParam());
    ASSERT_NE(runtime::textBlock, nullptr);
    MEMORY_BASIC_INFORMATION memory{};
    ASSERT_NE(VirtualQuery(runtime::textBlock, &memory, sizeof(memory)), 0u);
    EXPECT_EQ(memory.Protect, static_cast<DWORD>(PAGE_READONLY));
    const struct {
        const char* name;
        uint32_t text;
    } texts[] = {
        {"CommandLine", Application.CommandLine},
        {"Path", Application.Path},
        {"FileName", Application.FileName},
        {"Description", Application.Description},
    };
    for (const auto& t : texts) {
        // IsBadWritePtr tries the write under an exception handler: it reports the fault.
        EXPECT_TRUE(IsBadWritePtr(runtime::SlotAs<void*>(t.text), 1)) << t.name << " can still be written";
        EXPECT_FALSE(IsBadReadPtr(runtime::SlotAs<void*>(t.text), 1)) << t.name << " cannot be read";
    }
}

TEST_P(Startup, LongTextsAreCutToTheirBuffersAndANullDescriptionIsEmpty) {
    const std::string longText(2000, 'd');
    {
        RuntimeSession session(GetParam(), "Project1", longText.c_str());
        const std::string description = ModeText(Application.Description);
        const size_t room = GetParam() != 0 ? 261 : 523;
        EXPECT_EQ(description, longText.substr(0, room));
        EXPECT_EQ(ModeText(Application.FileName), "Project1.exe") << "the next buffer is untouched";
    }
    runtime::ShutdownRuntime();
    RuntimeSession session(GetParam(), "Project1", nullptr);
    EXPECT_EQ(ModeText(Application.Description), "");
}

TEST_P(Startup, TwipsAndThePointDivisorFollowTheMeasuredScreen) {
    RuntimeSession session(GetParam());
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_GT(dpiX, 0);
    EXPECT_EQ(runtime::twipsPerPixelX, 1440 / dpiX) << dpiX << " dpi";
    EXPECT_EQ(runtime::twipsPerPixelY, 1440 / dpiY) << dpiY << " dpi";
    EXPECT_EQ(runtime::pointDivisor, ((dpiY * 1000) / 96) * 72 / 1000) << dpiY << " dpi";
}

// The class names as registered, in the text mode.
bool ClassExists(const char* name, WNDCLASSEXW* info = nullptr) {
    WNDCLASSEXW found{};
    found.cbSize = sizeof(found);
    wchar_t wide[160];
    MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 160);
    const bool exists = GetClassInfoExW(GetModuleHandleA(nullptr), wide, &found) != 0;
    if (info != nullptr) *info = found;
    return exists;
}

TEST_P(Startup, RegistersTheSevenClassesAndShutdownRemovesThem) {
    const struct {
        const char* name;
        RuntimeClass which;
    } classes[] = {
        {"BKRUNMDIWINDOWProject1", RuntimeClass::MdiFrame},
        {"BKRUNMDICHILDWINDOW", RuntimeClass::MdiChild},
        {"BKRUNWINDOWProject1", RuntimeClass::Window},
        {"BKRUNDIALOGBOXProject1", RuntimeClass::Dialog},
        {"BKMDICLIENT", RuntimeClass::MdiClient},
        {"BKGROUP", RuntimeClass::Group},
        {"BKPICTURE", RuntimeClass::Picture},
    };
    {
        RuntimeSession session(GetParam());
        for (const auto& c : classes) {
            EXPECT_STREQ(runtime::RuntimeClassNameA(c.which), c.name);
            EXPECT_EQ(ModeText(runtime::RuntimeClassName(c.which)), c.name);
            EXPECT_TRUE(ClassExists(c.name)) << c.name << " is not registered";
        }
        // The procedures and layouts the runtime relies on, read in the mode they were
        // registered in.
        auto info = [](RuntimeClass which) {
            WNDCLASSEXW w{};
            w.cbSize = sizeof(w);
            WNDCLASSEXA a{};
            a.cbSize = sizeof(a);
            if (runtime::wideMode != 0) {
                GetClassInfoExW(GetModuleHandleA(nullptr), static_cast<const wchar_t*>(runtime::RuntimeClassName(which)), &w);
                return std::make_tuple(w.lpfnWndProc, w.style, w.cbWndExtra, w.hCursor);
            }
            GetClassInfoExA(GetModuleHandleA(nullptr), runtime::RuntimeClassNameA(which), &a);
            return std::make_tuple(a.lpfnWndProc, a.style, a.cbWndExtra, a.hCursor);
        };
        for (RuntimeClass which : {RuntimeClass::MdiFrame, RuntimeClass::MdiChild, RuntimeClass::Window,
                                   RuntimeClass::Dialog, RuntimeClass::Group, RuntimeClass::Picture}) {
            EXPECT_EQ(std::get<0>(info(which)), runtime::RuntimeWindowProc) << runtime::RuntimeClassNameA(which);
            EXPECT_EQ(std::get<1>(info(which)), static_cast<UINT>(CS_DBLCLKS)) << runtime::RuntimeClassNameA(which);
        }
        for (RuntimeClass which : {RuntimeClass::MdiFrame, RuntimeClass::Window, RuntimeClass::MdiClient}) {
            EXPECT_EQ(std::get<2>(info(which)), 32) << runtime::RuntimeClassNameA(which);
        }
        EXPECT_EQ(std::get<0>(info(RuntimeClass::MdiClient)), runtime::MdiClientProc);
        EXPECT_TRUE(std::get<1>(info(RuntimeClass::MdiClient)) & CS_DBLCLKS);
        EXPECT_NE(runtime::mdiClientClassProc, nullptr) << "the system MDI client procedure is kept";

        WNDCLASSEXA button{};
        button.cbSize = sizeof(button);
        ASSERT_TRUE(GetClassInfoExA(nullptr, "BUTTON", &button));
        EXPECT_NE(runtime::buttonClassProc, nullptr);
        EXPECT_EQ(std::get<2>(info(RuntimeClass::Group)), button.cbWndExtra) << "the button's state fits";
        EXPECT_EQ(std::get<3>(info(RuntimeClass::Group)), button.hCursor);
        EXPECT_EQ(std::get<2>(info(RuntimeClass::Picture)), button.cbWndExtra);
        EXPECT_EQ(std::get<3>(info(RuntimeClass::Picture)), nullptr);
    }
    for (const auto& c : classes) EXPECT_FALSE(ClassExists(c.name)) << c.name << " is still registered";
}

TEST_P(Startup, ALongApplicationNameIsCutIntoTheClassName) {
    const std::string longName(200, 'A');
    RuntimeSession session(GetParam(), longName.c_str());
    const std::string expected = "BKRUNDIALOGBOX" + longName.substr(0, 143 - 14);
    EXPECT_EQ(runtime::RuntimeClassNameA(RuntimeClass::Dialog), expected);
    EXPECT_TRUE(ClassExists(expected.c_str()));
}

TEST_P(Startup, SharedCursorsAndTheKeyboardCueFlag) {
    RuntimeSession session(GetParam());
    EXPECT_EQ(runtime::arrowCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32512))) << "the shared arrow";
    EXPECT_EQ(runtime::waitCursor, LoadCursorA(nullptr, MAKEINTRESOURCEA(32514))) << "the shared hourglass";

    BOOL cues = FALSE;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETKEYBOARDCUES, 0, &cues, 0));
    EXPECT_EQ(runtime::hideKeyboardCues, cues ? 0 : 1);

    // A changed setting is read again when a runtime window hears of it.
    RuntimeRecord* record = runtimetest::NewRecord(runtime::form_kind::Window);
    HWND form = runtimetest::CreateBound(record, RuntimeClass::Window, WS_OVERLAPPEDWINDOW, nullptr);
    ASSERT_NE(form, nullptr);
    for (const BOOL shown : {cues ? FALSE : TRUE, cues}) {
        ASSERT_TRUE(SystemParametersInfoA(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<void*>(static_cast<intptr_t>(shown)), 0));
        runtime::SendToWindow(form, WM_SETTINGCHANGE, SPI_SETKEYBOARDCUES, 0);
        EXPECT_EQ(runtime::hideKeyboardCues, shown ? 0 : 1) << "cues shown: " << shown;
    }
    DestroyWindow(form);
}

TEST_P(Startup, TheManifestOfThisProgramIsSeen) {
    RuntimeSession session(GetParam());
    EXPECT_EQ(runtime::manifestPresent, 1) << "this test program carries a manifest resource";
}

TEST_P(Startup, ShutdownReleasesEverythingAndMayRunAgain) {
    runtime::WorkBlock* work = nullptr;
    runtime::TextBlock* text = nullptr;
    HWND list = nullptr;
    {
        RuntimeSession session(GetParam());
        work = runtime::workBlock;
        text = runtime::textBlock;
        // A string list of the property interface: a hidden list box with an item.
        list = CreateWindowExA(0, "LISTBOX", "", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(list, nullptr);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item"));
        work->stringLists.count = 1;
        work->stringLists.handles[0] = runtime::ToSlot(list);
    }
    EXPECT_FALSE(IsWindow(list)) << "the string list is destroyed";
    for (const void* block : {static_cast<const void*>(work), static_cast<const void*>(text)}) {
        MEMORY_BASIC_INFORMATION memory{};
        ASSERT_NE(VirtualQuery(block, &memory, sizeof(memory)), 0u);
        EXPECT_EQ(memory.State, static_cast<DWORD>(MEM_FREE)) << "block at " << block;
    }
    EXPECT_EQ(runtime::workBlock, nullptr);
    EXPECT_EQ(runtime::textBlock, nullptr);
    EXPECT_EQ(runtime::runtimeHeap, nullptr);
    EXPECT_EQ(runtime::arrowCursor, nullptr);
    EXPECT_EQ(runtime::waitCursor, nullptr);
    EXPECT_EQ(runtime::FindWindowRecord(list), nullptr);

    runtime::ShutdownRuntime();  // a second shutdown finds nothing left to release
    RuntimeSession again(GetParam());
    EXPECT_TRUE(ClassExists("BKRUNWINDOWProject1")) << "the runtime starts again after a shutdown";
    EXPECT_NE(runtime::runtimeHeap, nullptr);
}

TEST_P(Startup, EmergencyShutdownDestroysTheMainWindowFirst) {
    runtimetest::app.Reset();
    {
        RuntimeSession session(GetParam());
        RuntimeRecord* record = runtimetest::NewRecord(runtime::form_kind::Window);
        record->IsMain = 1;
        record->WindowProc = runtimetest::ScriptedAppSlot();
        HWND form = runtimetest::CreateBound(record, RuntimeClass::Window, WS_OVERLAPPEDWINDOW, nullptr);
        ASSERT_NE(form, nullptr);
        ASSERT_EQ(Application.MainWindow, runtime::ToSlot(form));
        runtime::EmergencyShutdown();
        EXPECT_FALSE(IsWindow(form));
        EXPECT_EQ(runtimetest::app.Count(WM_DESTROY), 1) << "the application saw its window go";
        EXPECT_EQ(runtime::runtimeHeap, nullptr);
        EXPECT_EQ(Application.MainWindow, 0u) << "no stale main window is left behind";
    }
    EXPECT_TRUE(runtimetest::TakeQueuedMessages().posted) << "the main form's end posts the quit message";
}

TEST_P(Startup, TheFormListFindsTemplatesByNameWithoutRegardToCase) {
    RuntimeSession session(GetParam());
    runtime::TemplateRecord forms[3]{};
    const char* names[] = {"Window1", "About", "Settings"};
    for (int i = 0; i < 3; ++i) {
        forms[i].Name = runtime::ToSlot(names[i]);
        EXPECT_EQ(runtime::EnterFormList(&forms[i]), &runtime::workBlock->formList[i]);
    }
    EXPECT_EQ(runtime::EnterFormList(&forms[1]), &runtime::workBlock->formList[1]) << "a known form keeps its entry";
    EXPECT_EQ(runtime::FindFormTemplate("window1"), &forms[0]);
    EXPECT_EQ(runtime::FindFormTemplate("SETTINGS"), &forms[2]);
    EXPECT_EQ(runtime::FindFormTemplate(L"aBouT"), &forms[1]) << "a wide name is found in the second pass";
    EXPECT_EQ(runtime::FindFormTemplate("Window"), nullptr);
    EXPECT_EQ(runtime::FindFormTemplate(L"Window"), nullptr);

    // The list ends with an entry that stays 0.
    static runtime::TemplateRecord more[130]{};
    int entered = 3;
    for (auto& form : more) {
        if (runtime::EnterFormList(&form) != nullptr) ++entered;
    }
    EXPECT_EQ(entered, runtime::kFormListEntries - 1);
    EXPECT_EQ(runtime::workBlock->formList[runtime::kFormListEntries - 1], 0u);
    ZeroMemory(runtime::workBlock->formList, sizeof(runtime::workBlock->formList));
}

// Another process's window of the main form's class is the previous instance; letter case
// counts in the comparison.
TEST_P(Startup, FindsAnotherInstancesWindowByItsExactClassName) {
    const struct {
        const char* className;
        bool found;
    } cases[] = {
        {"BKRUNWINDOWProject1", true},
        {"BKRUNWINDOWproject1", false},
        {"BKRUNWINDOWProject", false},
    };
    for (const auto& c : cases) {
        helpertest::InstanceWindow other(c.className);
        ASSERT_NE(other.window(), nullptr) << c.className << ": the helper's window did not appear";
        {
            RuntimeSession session(GetParam());
            const auto expected = c.found ? runtime::ToSlot(other.window()) : 0u;
            EXPECT_EQ(Application.PrevInstanceWindow, expected) << c.className;
        }
    }
}

// The arguments and the path as a program started with a given command line sees them.
TEST_P(Startup, ArgumentsAndPathOfAStartedProgram) {
    const std::string helper = helpertest::HelperPath();
    const std::string directory = helper.substr(0, helper.rfind('\\'));
    const struct {
        std::string commandLine;
        const char* arguments;
    } cases[] = {
        {"\"" + helper + "\" -x", "-x"},
        {"helper  a b ", "a b"},
        {"helper", ""},
        {"\"" + helper + " -x", ""},
        {"\"" + helper + "\"   \t", ""},
    };
    for (const auto& c : cases) {
        const helpertest::ProbeResult probe = helpertest::RunProbe(c.commandLine, GetParam());
        ASSERT_TRUE(probe.ran) << c.commandLine << ": the probe did not report";
        EXPECT_EQ(probe.arguments, c.arguments) << "[" << c.commandLine << "]";
        EXPECT_EQ(probe.path, directory) << "[" << c.commandLine << "]";
        EXPECT_EQ(probe.wideMode, GetParam());
    }
}

}  // namespace
