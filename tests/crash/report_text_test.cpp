// The crash report's texts: the exception names, the access word, the composition of the
// report and its title, the module cut of a source path and the report's areas in the work
// block.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "crash/report_text.h"

namespace {

using crash::ComposeReport;
using crash::FaultSite;
using crash::ReportFacts;

TEST(ExceptionNames, EachCodeHasItsNameAndOthersAreUnknown) {
    struct Case {
        uint32_t code;
        std::string_view name;
    };
    const Case cases[] = {
        {0xC0000005u, "ACCESS VIOLATION "},  // the access word follows the blank
        {0xC000008Cu, "ARRAY BOUNDS EXCEEDED"},
        {0x80000002u, "DATA TYPE MISALIGNMENT"},
        {0xC0000094u, "INTEGER DIVIDE BY ZERO"},
        {0x80000004u, "SINGLE STEP"},
        {0xC00000FDu, "STACK OVERFLOW"},
        // Neighbours of named codes, a raised application code and the extremes.
        {0xE0000001u, "UNKNOWN EXCEPTION"},
        {0xC0000004u, "UNKNOWN EXCEPTION"},
        {0x80000001u, "UNKNOWN EXCEPTION"},
        {0x00000005u, "UNKNOWN EXCEPTION"},
        {0u, "UNKNOWN EXCEPTION"},
        {0xFFFFFFFFu, "UNKNOWN EXCEPTION"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(crash::ExceptionNameOf(c.code), c.name) << std::hex << "code 0x" << c.code;
    }
    // A code entered twice would hide the second name. (An entry left empty shows as code 0
    // named "", which the table above rules out.)
    std::set<uint32_t> codes;
    for (const crash::ExceptionName& entry : crash::kExceptionNames) {
        EXPECT_TRUE(codes.insert(entry.code).second) << std::hex << "code 0x" << entry.code << " entered twice";
    }
}

TEST(ExceptionNames, TheAccessWordComesFromTheLowByteOfTheAccessKind) {
    struct Case {
        uint32_t accessKind;
        std::string_view word;
    };
    const Case cases[] = {
        {0, "READ"}, {1, "WRITE"}, {8, "WRITE"}, {0xFF, "WRITE"}, {0x100, "READ"}, {0xFFFFFF00u, "READ"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(crash::AccessWordOf(c.accessKind), c.word) << std::hex << "access kind 0x" << c.accessKind;
    }
}

// A report composed into a buffer with guard bytes on both sides.
struct Composed {
    std::string text;
    std::size_t length;
    bool guardsIntact;
};

Composed Compose(const ReportFacts& facts, std::size_t capacity) {
    constexpr char kGuard = '\x5A';
    constexpr std::size_t kGuardBytes = 16;
    std::vector<char> buffer(capacity + 2 * kGuardBytes, kGuard);
    const std::size_t length = ComposeReport(facts, std::span<char>(buffer.data() + kGuardBytes, capacity));
    bool intact = true;
    for (std::size_t i = 0; i < kGuardBytes; ++i) {
        intact = intact && buffer[i] == kGuard && buffer[kGuardBytes + capacity + i] == kGuard;
    }
    return Composed{capacity > 0 ? std::string(buffer.data() + kGuardBytes) : std::string(), length, intact};
}

TEST(ReportText, ComposesEveryBlockInOrder) {
    struct Case {
        const char* what;
        ReportFacts facts;
        std::string_view expected;
    };
    const Case cases[] = {
        {"read with a source line",
         {0xC0000005u, "ACCESS VIOLATION ", "READ", "Project1.exe", FaultSite{true, "C:\\src\\app\\main", 42}},
         "Code:\t\t\tC0000005H\r\nDescription:\t\tACCESS VIOLATION READ\r\nApplication:\t\tProject1.exe"
         "\r\n\r\nWindow or module:\t\tC:\\src\\app\\main\r\nLine number:\t\t42\r\n"},
        {"unknown code without a source line",
         {0xE0000001u, "UNKNOWN EXCEPTION", "", "Project1.exe", FaultSite{false, "401A2BH", 0}},
         "Code:\t\t\tE0000001H\r\nDescription:\t\tUNKNOWN EXCEPTION\r\nApplication:\t\tProject1.exe"
         "\r\n\r\nException address:\t\t401A2BH\r\n"},
        {"small code, no application name, line 0",
         {0x5u, "UNKNOWN EXCEPTION", "", "", FaultSite{true, "m", 0}},
         "Code:\t\t\t5H\r\nDescription:\t\tUNKNOWN EXCEPTION\r\nApplication:\t\t"
         "\r\n\r\nWindow or module:\t\tm\r\nLine number:\t\t0\r\n"},
        {"a line number is signed decimal",
         {0x80000003u, "BREAKPOINT", "", "a.exe", FaultSite{true, "x", -1}},
         "Code:\t\t\t80000003H\r\nDescription:\t\tBREAKPOINT\r\nApplication:\t\ta.exe"
         "\r\n\r\nWindow or module:\t\tx\r\nLine number:\t\t-1\r\n"},
    };
    for (const Case& c : cases) {
        const Composed composed = Compose(c.facts, crash::kReportTextBytes);
        EXPECT_EQ(composed.text, c.expected) << c.what;
        EXPECT_EQ(composed.length, c.expected.size()) << c.what;
        EXPECT_TRUE(composed.guardsIntact) << c.what;
    }
}

TEST(ReportText, ATextTooLongForItsBufferIsCutAndStaysTerminated) {
    const std::string longName(1000, 'n');
    const ReportFacts facts{0xC0000005u, "ACCESS VIOLATION ", "WRITE", longName, FaultSite{true, longName, 7}};
    const std::string head = "Code:\t\t\tC0000005H\r\nDescription:\t\tACCESS VIOLATION WRITE\r\nApplication:\t\tnnn";
    for (const std::size_t capacity : {std::size_t{800}, std::size_t{40}, std::size_t{2}, std::size_t{1}}) {
        const Composed composed = Compose(facts, capacity);
        EXPECT_TRUE(composed.guardsIntact) << "capacity " << capacity;
        EXPECT_EQ(composed.length, capacity - 1) << "capacity " << capacity;
        EXPECT_EQ(composed.text.size(), capacity - 1) << "capacity " << capacity;
        const std::size_t compared = std::min(head.size(), composed.text.size());
        EXPECT_EQ(composed.text.substr(0, compared), head.substr(0, compared)) << "capacity " << capacity;
    }
    const Composed none = Compose(facts, 0);
    EXPECT_EQ(none.length, 0u);
    EXPECT_TRUE(none.guardsIntact);
}

TEST(ReportText, TheTitleBeginsWithABlank) {
    std::array<char, 1248> title{};
    const std::size_t length = crash::ComposeTitle(title);
    EXPECT_EQ(std::string(title.data()), " Bramblekit - Application error");
    EXPECT_EQ(length, 31u);
}

TEST(ReportText, TheModuleIsTheSourcePathWithoutTheExtensionOfItsFileName) {
    struct Case {
        std::string_view path;
        std::string_view module;
    };
    const Case cases[] = {
        {"C:\\src\\app\\main.cpp", "C:\\src\\app\\main"},
        {"Z:\\work\\tests\\crash\\fault.site\\dotted_fault.cpp", "Z:\\work\\tests\\crash\\fault.site\\dotted_fault"},
        {"/work/a.b/c/file.cpp", "/work/a.b/c/file"},
        {"C:\\v1.2/mixed\\name.h", "C:\\v1.2/mixed\\name"},
        {"C:\\src\\v1.2\\noext", "C:\\src\\v1.2\\noext"},
        {"C:\\src\\archive.tar.gz", "C:\\src\\archive.tar"},
        {"main.cpp", "main"},
        {"main", "main"},
        {"dir.d\\.hidden", "dir.d\\.hidden"},
        {"dir\\.hidden.cpp", "dir\\.hidden"},
        {"dir.d\\", "dir.d\\"},
        {"trailing.", "trailing"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.path.substr(0, crash::SourceModuleLength(c.path)), c.module) << "path " << c.path;
    }
}

TEST(ReportText, TheAreasLieInTheirPlacesOfTheWorkBlock) {
    runtime::WorkBlock block{};
    const crash::ReportAreas areas = crash::ReportAreasIn(block);
    const char* base = reinterpret_cast<const char*>(&block);
    struct Area {
        const char* name;
        std::span<char> span;
        std::ptrdiff_t offset;
        std::size_t size;
    };
    const Area expected[] = {
        {"text", areas.text, 0, 800},
        {"title", areas.title, 800, 1248},
        {"description", areas.description, 2576, 512},
        {"name", areas.name, 3088, 520},
        {"application name", areas.applicationName, 3608, 488},
    };
    for (const Area& area : expected) {
        EXPECT_EQ(area.span.data() - base, area.offset) << area.name;
        EXPECT_EQ(area.span.size(), area.size) << area.name;
    }
}

}  // namespace
