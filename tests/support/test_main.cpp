// The main of every test program: GoogleTest with an impossible state of the code under test
// (ReportIf, runtime/base/report_if.h) made a failure of the test under way, at the place of
// the check and with its condition. A Windows test program that meets an unhandled exception
// says so and ends at once, so that a crash fails its run instead of waiting on a debugger.

#include <gtest/gtest.h>

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

#include "runtime/base/report_if.h"

namespace {

void FailTheTest(const char* condition, const char* file, int line) {
    ADD_FAILURE_AT(file, line) << "impossible state reached: " << condition;
}

#ifdef _WIN32
LONG WINAPI EndOnUnhandledException(EXCEPTION_POINTERS* info) noexcept {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stderr, "unhandled exception 0x%08lX at %p in %s.%s\n", record->ExceptionCode,
                 record->ExceptionAddress, test != nullptr ? test->test_suite_name() : "?",
                 test != nullptr ? test->name() : "?");
    std::fflush(stderr);
    std::fflush(stdout);
    TerminateProcess(GetCurrentProcess(), record->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    check::SetImpossibleStateHandler(FailTheTest);
#ifdef _WIN32
    SetUnhandledExceptionFilter(EndOnUnhandledException);
#endif
    return RUN_ALL_TESTS();
}
