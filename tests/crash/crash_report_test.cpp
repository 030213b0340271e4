// The crash report as a user meets it: a program (crash_child.exe) installs the report, fails,
// and its report box is read from outside and dismissed. Each case is a process of its own.

#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "crash/exception_report.h"
#include "runtime/process/application.h"
#include "runtime/text/pointer_check.h"
#include "tests/crash/child_run.h"
#include "tests/crash/crash_cases.h"
#include "tests/support/message_box_hook.h"

namespace {

using crashtest::ChildRun;
using crashtest::DebugHelp;
using crashtest::RunCrashChild;
using crashtest::SeenReport;

constexpr const char* kTitle = " Bramblekit - Application error";

// A source file as the debug-help library names it: Wine gives the program's Unix paths in the
// DOS form of its drives (Z: for the root). On Windows the compiler's path is already that form.
std::string DosFileName(const std::string& file) {
    using ToDos = WCHAR*(CDECL*)(const char*);
    // kernel32's export on Wine; its address is that of a function of this signature.
    auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    if (toDos == nullptr) return file;
    WCHAR* dos = toDos(file.c_str());
    if (dos == nullptr) return file;
    char ansi[MAX_PATH * 2] = {};
    WideCharToMultiByte(CP_ACP, 0, dos, -1, ansi, sizeof(ansi), nullptr, nullptr);
    HeapFree(GetProcessHeap(), 0, dos);
    return ansi;
}

// The module the report names for a source file: its DOS path without the extension.
std::string ModuleOf(const std::string& file) {
    const std::string dos = DosFileName(file);
    return dos.substr(0, dos.rfind('.'));
}

// The start of every report: code, description, application.
std::string ReportHead(const char* code, const char* description, const char* application) {
    return std::string("Code:\t\t\t") + code + "\r\nDescription:\t\t" + description + "\r\nApplication:\t\t" +
           application + "\r\n\r\n";
}

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Shown(const std::string& text) {
    std::string shown;
    for (char c : text) {
        if (c == '\t') shown += "\\t";
        else if (c == '\r') shown += "\\r";
        else if (c == '\n') shown += "\\n";
        else shown += c;
    }
    return shown;
}

// Where a failure's report is expected to point.
enum class Site {
    ToldLine,  // the source line the program told before failing
    Elsewhere  // inside the system's code: only the head of the report is checked
};

struct Failure {
    const char* caseName;
    DWORD code;
    const char* codeText;
    const char* description;
    Site site;
    const char* application;
    bool mainWindow;  // the runtime runs with its main window
};

const Failure kFailures[] = {
    {crashtest::kNullRead, 0xC0000005u, "C0000005H", "ACCESS VIOLATION READ", Site::ToldLine, "Project1.exe", true},
    {crashtest::kNullWrite, 0xC0000005u, "C0000005H", "ACCESS VIOLATION WRITE", Site::ToldLine, "Project1.exe", true},
    {crashtest::kRaiseUnknown, crashtest::kUnknownCode, "E0000001H", "UNKNOWN EXCEPTION", Site::Elsewhere,
     "Project1.exe", true},
    {crashtest::kIllegalInstruction, 0xC000001Du, "C000001DH", "ILLEGAL INSTRUCTION", Site::ToldLine, "Project1.exe",
     true},
    {crashtest::kBreakpoint, 0x80000003u, "80000003H", "BREAKPOINT", Site::ToldLine, "Project1.exe", true},
    {crashtest::kDivideByZero, 0xC0000094u, "C0000094H", "INTEGER DIVIDE BY ZERO", Site::ToldLine, "Project1.exe",
     true},
    // A bad pointer handed to a public runtime function: the report names the calling line.
    {crashtest::kBadTextPointer, 0xC0000005u, "C0000005H", "ACCESS VIOLATION READ", Site::ToldLine, "Project1.exe",
     true},
    {crashtest::kReadOnlyBuffer, 0xC0000005u, "C0000005H", "ACCESS VIOLATION WRITE", Site::ToldLine, "Project1.exe",
     true},
    // The folder of the faulting source has a dot in its name.
    {crashtest::kDottedFolder, 0xC0000005u, "C0000005H", "ACCESS VIOLATION READ", Site::ToldLine, "Project1.exe",
     true},
    // The runtime's texts are wide; the report's are ANSI.
    {crashtest::kWideNullWrite, 0xC0000005u, "C0000005H", "ACCESS VIOLATION WRITE", Site::ToldLine, "Project1.exe",
     true},
    // No runtime yet: no application name, no owner.
    {crashtest::kBeforeRuntime, 0xC0000005u, "C0000005H", "ACCESS VIOLATION READ", Site::ToldLine, "", false},
};

void PrintTo(const Failure& failure, std::ostream* out) { *out << failure.caseName; }

class CrashReport : public ::testing::TestWithParam<Failure> {};

TEST_P(CrashReport, ShowsOneBoxThenShutsDownAndEndsTheProcess) {
    const Failure& failure = GetParam();
    const ChildRun run = RunCrashChild(failure.caseName);
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.ended) << "told:\n" << run.told;
    EXPECT_EQ(run.exitCode, failure.code) << std::hex << "exit code 0x" << run.exitCode;
    ASSERT_EQ(run.reports.size(), 1u) << "told:\n" << run.told;
    const SeenReport& report = run.reports[0];

    EXPECT_EQ(report.caption, kTitle);
    EXPECT_EQ(report.icon, "hand");
    const std::string head = ReportHead(failure.codeText, failure.description, failure.application);
    EXPECT_EQ(report.text.substr(0, head.size()), head) << Shown(report.text);
    EXPECT_TRUE(EndsWith(report.text, "\r\n")) << Shown(report.text);

    if (failure.mainWindow) {
        const std::string main = run.Value("main");
        EXPECT_EQ(crashtest::HexText(reinterpret_cast<uintptr_t>(report.owner)), main);
        // The wait cursor held the capture during the lookup and gave it back before the box.
        EXPECT_NE(report.toldBefore.find("capture-released\n"), std::string::npos) << report.toldBefore;
        // The main window goes after the box, by the report's shutdown.
        EXPECT_EQ(report.toldBefore.find("destroyed\n"), std::string::npos) << report.toldBefore;
        EXPECT_NE(run.told.find("destroyed\n"), std::string::npos) << run.told;
    } else {
        EXPECT_EQ(report.owner, nullptr);
    }

    if (failure.site == Site::ToldLine) {
        const std::string site = "Window or module:\t\t" + ModuleOf(run.Value("file")) + "\r\nLine number:\t\t" +
                                 run.Value("line") + "\r\n";
        EXPECT_EQ(report.text, head + site) << Shown(report.text);
    }
    EXPECT_EQ(run.told.find("survived"), std::string::npos) << run.told;
}

INSTANTIATE_TEST_SUITE_P(Failures, CrashReport, ::testing::ValuesIn(kFailures),
                         [](const ::testing::TestParamInfo<Failure>& info) {
                             std::string name;
                             for (const char* c = info.param.caseName; *c != 0; ++c) {
                                 if (*c != '-') name += *c;
                             }
                             return name;
                         });

// Without the debug-help library (or with a library of its name that lacks the entry points)
// the report shows the faulting instruction's address; with it, the source line.
TEST(CrashReportWithoutLineInformation, ShowsTheExceptionAddressInUpperCaseHexadecimal) {
    const std::string head = ReportHead("C0000005H", "ACCESS VIOLATION READ", "Project1.exe");
    for (const DebugHelp debugHelp : {DebugHelp::Missing, DebugHelp::WithoutEntryPoints}) {
        const ChildRun run = RunCrashChild(crashtest::kKnownAddress, debugHelp);
        SCOPED_TRACE(debugHelp == DebugHelp::Missing ? "library missing" : "entry points missing");
        ASSERT_TRUE(run.started);
        EXPECT_TRUE(run.ended);
        ASSERT_EQ(run.reports.size(), 1u) << "told:\n" << run.told;
        const std::string address = run.Value("address");
        EXPECT_EQ(run.reports[0].text, head + "Exception address:\t\t" + address + "H\r\n")
            << Shown(run.reports[0].text);
    }
    const ChildRun withLines = RunCrashChild(crashtest::kKnownAddress, DebugHelp::Present);
    ASSERT_EQ(withLines.reports.size(), 1u) << "told:\n" << withLines.told;
    EXPECT_EQ(withLines.reports[0].text.find("Exception address:"), std::string::npos)
        << Shown(withLines.reports[0].text);
    const std::string module = "Window or module:\t\t" + ModuleOf(withLines.Value("file")) + "\r\nLine number:\t\t";
    EXPECT_NE(withLines.reports[0].text.find(module), std::string::npos) << Shown(withLines.reports[0].text);
}

TEST(CrashReportLimits, ANoncontinuableExceptionShowsNoBoxButStillShutsDown) {
    const ChildRun run = RunCrashChild(crashtest::kNoncontinuable);
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.reports.size(), 0u) << Shown(run.reports.empty() ? "" : run.reports[0].text);
    EXPECT_NE(run.told.find("destroyed\n"), std::string::npos) << run.told;
    EXPECT_EQ(run.exitCode, crashtest::kNoncontinuableCode) << std::hex << "exit code 0x" << run.exitCode;
}

// A second fault, made while the first report is up, makes no second report. It comes while
// the filter runs, so the system does not hand it to the filter again: the process ends at once
// with the second fault's code, without another box.
TEST(CrashReportLimits, ASecondFaultMakesNoSecondReport) {
    const ChildRun run = RunCrashChild(crashtest::kSecondFault, DebugHelp::Present,
                                       crashtest::WhileReportIsUp::FaultAgain);
    ASSERT_TRUE(run.started);
    EXPECT_TRUE(run.ended);
    ASSERT_EQ(run.reports.size(), 1u) << "told:\n" << run.told;
    const std::string head = ReportHead("C0000005H", "ACCESS VIOLATION READ", "Project1.exe");
    EXPECT_EQ(run.reports[0].text.substr(0, head.size()), head) << Shown(run.reports[0].text);
    EXPECT_EQ(run.exitCode, crashtest::kSecondFaultCode) << std::hex << "exit code 0x" << run.exitCode;
}

// The filter called in this process with exceptions of each kind, in this order: an unwinding
// and a non-continuable one make no report, the first other one makes one, and a second one
// none, since a process reports once. Every call answers EXCEPTION_EXECUTE_HANDLER (1), upon
// which the system would end the process.
TEST(CrashReportFilter, ReportsOncePerProcessOnlyWhatCanBeReportedAndAlwaysAnswersOne) {
    struct Call {
        const char* name;
        DWORD flags;
        std::size_t boxesAfter;
    };
    const Call calls[] = {
        {"an unwinding exception (flag bit 1)", EXCEPTION_UNWINDING, 0},
        {"a non-continuable exception (flag bit 0)", EXCEPTION_NONCONTINUABLE, 0},
        {"the first continuable exception", 0, 1},
        {"a second continuable exception", 0, 1},
    };
    ASSERT_EQ(runtime::reportPending, 1) << "no report made in this process yet";
    testsupport::MessageBoxHook boxes;
    for (const Call& call : calls) {
        EXCEPTION_RECORD record{};
        record.ExceptionCode = crashtest::kUnknownCode;
        record.ExceptionFlags = call.flags;
        record.ExceptionAddress = reinterpret_cast<void*>(&DosFileName);
        CONTEXT context{};
        EXCEPTION_POINTERS pointers{&record, &context};
        EXPECT_EQ(crash::ExceptionReportFilter(&pointers), EXCEPTION_EXECUTE_HANDLER) << call.name;
        EXPECT_EQ(boxes.boxes().size(), call.boxesAfter) << call.name;
    }
    ASSERT_EQ(boxes.Captions(), std::vector<std::string>{kTitle});
    const std::string head = ReportHead("E0000001H", "UNKNOWN EXCEPTION", "");
    EXPECT_EQ(boxes.Texts()[0].substr(0, head.size()), head) << Shown(boxes.Texts()[0]);
    runtime::reportPending = 1;
}

// The description step keeps the code in the Application record and writes the name within
// the buffer it is given.
TEST(DescribeException, KeepsTheCodeAndWritesItsName) {
    struct Case {
        uint32_t code;
        std::size_t bufferSize;
        const char* written;
    };
    const Case cases[] = {
        {0xC0000094u, 512, "INTEGER DIVIDE BY ZERO"},
        {0xC0000005u, 512, "ACCESS VIOLATION "},
        {0xE0000001u, 512, "UNKNOWN EXCEPTION"},
        {0xC0000005u, 8, "ACCESS "},
    };
    for (const Case& c : cases) {
        runtime::Application.ExceptionCode = 0;
        std::vector<char> buffer(c.bufferSize + 1, 'x');
        const std::string_view name = crash::DescribeException(c.code, std::span<char>(buffer.data(), c.bufferSize));
        EXPECT_EQ(name, c.written) << std::hex << "code 0x" << c.code;
        EXPECT_EQ(std::string(buffer.data()), c.written) << std::hex << "code 0x" << c.code;
        EXPECT_EQ(buffer[c.bufferSize], 'x') << "written past the buffer for code 0x" << std::hex << c.code;
        EXPECT_EQ(runtime::Application.ExceptionCode, c.code) << std::hex << "code 0x" << c.code;
    }
}

}  // namespace
