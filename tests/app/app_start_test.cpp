// The program's start and end (RunApplication, everything AppStart does before it ends the
// process): the crash report's filter in force while the program runs and the previous one
// back afterwards, the Application record as the program fills it, the runtime started with
// the program's names, and the loop's exit code.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/program_options.h"
#include "crash/exception_report.h"
#include "main_form_session.h"

namespace {

LONG WINAPI StandInFilter(EXCEPTION_POINTERS*) noexcept { return EXCEPTION_CONTINUE_SEARCH; }

// The filter in force, read by replacing it and putting it straight back.
LPTOP_LEVEL_EXCEPTION_FILTER CurrentFilter() {
    LPTOP_LEVEL_EXCEPTION_FILTER current = SetUnhandledExceptionFilter(nullptr);
    SetUnhandledExceptionFilter(current);
    return current;
}

// What the program showed while it ran.
struct RunningProgram {
    LPTOP_LEVEL_EXCEPTION_FILTER filter = nullptr;
    runtime::ApplicationRecord application{};
    std::string fileName;
    std::string description;
    std::string windowClass;
    std::string caption;
};

std::string RuntimeText(uint32_t slot) { return slot != 0 ? runtime::SlotAs<const char*>(slot) : "<none>"; }

RunningProgram Observe() {
    RunningProgram seen;
    seen.filter = CurrentFilter();
    seen.application = runtime::Application;
    seen.fileName = RuntimeText(runtime::Application.FileName);
    seen.description = RuntimeText(runtime::Application.Description);
    char text[128] = {};
    GetClassNameA(apptest::MainWindow(), text, sizeof text);
    seen.windowClass = text;
    seen.caption = apptest::TextOf(apptest::MainWindow());
    return seen;
}

TEST(RunApplication, RunsTheMainFormUnderTheCrashFilterAndPutsThePreviousFilterBack) {
    const LPTOP_LEVEL_EXCEPTION_FILTER before = SetUnhandledExceptionFilter(StandInFilter);
    RunningProgram seen;
    apptest::ScriptedLoop loop({
        {"main window up", apptest::MainWindowUp, [&] {
             seen = Observe();
             PostMessageA(apptest::MainWindow(), WM_CLOSE, 0, 0);
         }},
    });
    const int32_t exitCode = loop.Run([] { return app::RunApplication(""); });
    const LPTOP_LEVEL_EXCEPTION_FILTER after = CurrentFilter();
    SetUnhandledExceptionFilter(before);
    apptest::CleanUpAfterProgram();

    ASSERT_TRUE(loop.Finished()) << "the main window never came up";
    EXPECT_FALSE(loop.TimedOut()) << "the program did not end on its own after WM_CLOSE";
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(seen.filter, &crash::ExceptionReportFilter) << "the crash report's filter is in force while the program runs";
    EXPECT_EQ(after, &StandInFilter) << "the previous filter is back once the loop has ended";

    const runtime::ApplicationRecord& a = seen.application;
    EXPECT_EQ(a.PrevFilter, runtime::ToSlot(&StandInFilter));
    EXPECT_EQ(a.Instance, runtime::ToSlot(GetModuleHandleA(nullptr)));
    EXPECT_EQ(a.StartFlag1, 1u);
    EXPECT_EQ(a.StartFlag2, 0u);
    EXPECT_EQ(a.StartFlag3, 1u);
    EXPECT_EQ(a.CommonControls[0], 8u) << "size of the initialisation record";
    EXPECT_EQ(a.CommonControls[1], 0x3FFFu) << "the class flags";
    EXPECT_EQ(seen.fileName, "Project1.exe");
    EXPECT_EQ(seen.description, app::kDescription);
    EXPECT_EQ(std::strchr(app::kDescription, '\n'), nullptr) << "the description is one line";
    EXPECT_EQ(seen.windowClass, "BKRUNWINDOWProject1") << "the runtime's classes carry the name Project1";
    EXPECT_EQ(seen.caption, "Mini-Tarvo Server V0.3");
}

// The switches reach the parts they belong to before the main window is built.
TEST(RunApplication, CarriesTheSwitchesOut) {
    std::uint16_t listening = 0;
    motion::MotionSettings settings;
    apptest::ScriptedLoop loop({
        {"main window up", apptest::MainWindowUp, [&] {
             listening = web::ListenerPort();
             settings = motion::motionSettings;
             PostMessageA(apptest::MainWindow(), WM_CLOSE, 0, 0);
         }},
    });
    const int32_t exitCode = loop.Run(
        [] { return app::RunApplication("--port 18080 --bind 127.0.0.1 --no-step-boxes --baud 9600 --limits 100,200"); });
    apptest::CleanUpAfterProgram();
    motion::motionSettings = {};
    ASSERT_TRUE(loop.Finished()) << "the main window never came up";
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(listening, 18080);
    EXPECT_FALSE(settings.stepBoxes);
    EXPECT_EQ(settings.baud, 9600u);
    EXPECT_TRUE(settings.limits.active);
    EXPECT_EQ(settings.limits.xMax, 100u);
    EXPECT_EQ(settings.limits.yMax, 200u);
}

// A command line that is not understood: a box without owner naming it and the accepted
// switches, exit code 2, no window and no listener.
TEST(RunApplication, RefusesAnUnknownOrMalformedSwitchWithExitCode2) {
    for (const char* arguments : {"--verbose", "--port 0", "--limits 5"}) {
        SCOPED_TRACE(arguments);
        testsupport::MessageBoxHook boxes;
        bool windowSeen = false;
        apptest::ScriptedLoop loop({{"main window up", apptest::MainWindowUp, [&] { windowSeen = true; }}}, 5000);
        const int32_t exitCode = loop.Run([arguments] { return app::RunApplication(arguments); });
        EXPECT_EQ(exitCode, app::kRefusedCommandLineExitCode);
        EXPECT_FALSE(windowSeen) << "a main window was built";
        EXPECT_EQ(web::ListenerPort(), 0) << "something listens";
        char expected[512];
        app::FormatOptionsRefusal(app::ParseProgramOptions(arguments), expected);
        ASSERT_EQ(boxes.boxes().size(), 1u);
        EXPECT_EQ(boxes.boxes()[0].caption, "Nasol :(");
        EXPECT_EQ(boxes.boxes()[0].text, expected);
        EXPECT_EQ(boxes.boxes()[0].owner, nullptr);
        apptest::CleanUpAfterProgram();
    }
}

}  // namespace
