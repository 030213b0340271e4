// The start-up decisions that depend only on their inputs.

#include "runtime/process/startup_logic.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using runtime::ArgumentsOf;
using runtime::DirectoryLength;

// A text in 16-bit units, as the wide system interfaces give it.
std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

TEST(StartupLogic, ArgumentsFollowTheProgramName) {
    const struct {
        const char* commandLine;
        const char* arguments;
    } cases[] = {
        {"\"C:\\Program Files\\prog.exe\" -x", "-x"},
        {"prog.exe  a b ", "a b"},           // everything after the first blank, trimmed at both ends
        {"prog.exe", ""},                    // no blank, no quote
        {"\"C:\\prog.exe -x", ""},           // no closing quote
        {"\"C:\\prog.exe\"", ""},
        {"\"C:\\prog.exe\"-x", "-x"},        // the closing quote alone separates
        {"\"\" a", "a"},
        {"prog.exe \t a\tb \t", "a\tb"},     // tabs are trimmed like blanks
        {"prog.exe\t-x", ""},                // a tab does not end the program name
        {"prog.exe \"quoted arg\" ", "\"quoted arg\""},
        {"", ""},
        {" a", "a"},                         // an empty program name
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::string(ArgumentsOf(std::string_view(c.commandLine))), c.arguments)
            << "[" << c.commandLine << "]";
        const std::u16string wide = Wide(c.commandLine);
        EXPECT_EQ(std::u16string(ArgumentsOf(std::u16string_view(wide))), Wide(c.arguments))
            << "[" << c.commandLine << "] as wide text";
    }
}

TEST(StartupLogic, PathIsTheDirectoryWithoutItsLastBackslash) {
    const struct {
        const char* fileName;
        const char* directory;
    } cases[] = {
        {"C:\\tools\\Project1.exe", "C:\\tools"},
        {"C:\\Project1.exe", "C:"},
        {"C:\\a\\b.c\\d.exe", "C:\\a\\b.c"},
        {"Project1.exe", "Project1.exe"},  // no backslash: the name stays whole
        {"\\\\server\\share\\p.exe", "\\\\server\\share"},
        {"C:\\dir\\", "C:\\dir"},
        {"", ""},
    };
    for (const auto& c : cases) {
        const std::string_view name(c.fileName);
        EXPECT_EQ(std::string(name.substr(0, DirectoryLength(name))), c.directory) << c.fileName;
        const std::u16string wide = Wide(c.fileName);
        EXPECT_EQ(DirectoryLength(std::u16string_view(wide)), std::string_view(c.directory).size()) << c.fileName;
    }
}

TEST(StartupLogic, OsLevelFromTheVersionNumbers) {
    const struct {
        uint32_t platform, major, minor;
        int32_t level;
    } cases[] = {
        {1, 4, 0, 1},  {1, 4, 10, 2}, {1, 4, 90, 2},            // 95, 98, Me
        {2, 3, 51, 3}, {2, 4, 0, 3},                             // NT 3.51, NT 4
        {2, 5, 0, 4},  {2, 5, 1, 5},  {2, 5, 2, 5},              // 2000, XP, 2003
        {2, 6, 0, 6},  {2, 6, 1, 7},  {2, 6, 3, 7}, {2, 10, 0, 6},  // Vista, 7, 8.1, 10
        {0, 3, 10, 0}, {3, 6, 1, 0},                             // Win32s, CE: not recognised
    };
    for (const auto& c : cases) {
        EXPECT_EQ(runtime::OsLevelFromVersion(c.platform, c.major, c.minor), c.level)
            << "platform " << c.platform << " version " << c.major << "." << c.minor;
    }
}

TEST(StartupLogic, WideTextOnlyWhenAskedForOnTheNtLine) {
    for (int32_t level = 0; level <= 7; ++level) {
        EXPECT_EQ(runtime::WideModeFor(0, level), 0) << "level " << level << ", not asked for";
        EXPECT_EQ(runtime::WideModeFor(1, level), level >= 3 ? 1 : 0) << "level " << level << ", asked for";
    }
    EXPECT_EQ(runtime::WideModeFor(-5, 7), 1) << "any non-zero request asks";
}

TEST(StartupLogic, ClassNamesCarryTheApplicationNameWithinTheirBuffer) {
    char name[runtime::kClassNameBytes];
    EXPECT_EQ(runtime::ComposeClassName("BKRUNWINDOW", "Project1", name, sizeof(name)), 19u);
    EXPECT_STREQ(name, "BKRUNWINDOWProject1");
    EXPECT_EQ(runtime::ComposeClassName("BKGROUP", "", name, sizeof(name)), 7u);
    EXPECT_STREQ(name, "BKGROUP");

    // An application name too long for the buffer is cut; the name still ends inside it.
    const std::string longName(300, 'n');
    char guarded[runtime::kClassNameBytes + 8];
    std::fill(std::begin(guarded), std::end(guarded), '#');
    const size_t length = runtime::ComposeClassName("BKRUNDIALOGBOX", longName, guarded, runtime::kClassNameBytes);
    EXPECT_EQ(length, runtime::kClassNameBytes - 1);
    EXPECT_EQ(guarded[runtime::kClassNameBytes - 1], '\0');
    EXPECT_EQ(std::string(guarded, 14), "BKRUNDIALOGBOX");
    EXPECT_EQ(guarded[runtime::kClassNameBytes], '#') << "nothing written behind the buffer";

    // Even the prefix is cut in a buffer too small for it.
    char tiny[6];
    EXPECT_EQ(runtime::ComposeClassName("BKRUNWINDOW", "Project1", tiny, sizeof(tiny)), 5u);
    EXPECT_STREQ(tiny, "BKRUN");
}

}  // namespace
