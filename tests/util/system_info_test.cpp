// System information against what the system says itself: the version record, the process's
// WOW64 state and the processor's description the system keeps in the registry.

#include "runtime/process/application.h"
#include "runtime/util/system_info.h"
#include "tests/runtime/unit_texts.h"
#include "util_session.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

using namespace utiltest;

class MODE_SUITE(SystemInfo) : public UtilTest {};

// A text the system keeps about the first processor, as it read the processor itself.
std::string ProcessorText(const char* name) {
    char text[256] = {};
    DWORD bytes = sizeof(text);
    RegGetValueA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", name, RRF_RT_REG_SZ,
                 nullptr, text, &bytes);
    return text;
}

TEST_F(MODE_SUITE(SystemInfo), TheVersionIsTheOsLevelWithTheServicePackText) {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    ASSERT_TRUE(GetVersionExA(&version));
    // Wine reports Windows 7, NT 6.1: level 7.
    EXPECT_EQ(version.dwMajorVersion * 10 + version.dwMinorVersion, 61u);

    Text buffer(runtime::kServicePackLimit + 4, static_cast<Unit>('#'));
    EXPECT_EQ(runtime::GetWindowsVersion(buffer.data()), 7);
    EXPECT_EQ(Ascii(buffer.c_str()), version.szCSDVersion);
    EXPECT_EQ(runtime::GetWindowsVersion(nullptr), 7) << "no buffer";

    char ansi[runtime::kServicePackLimit];
    wchar_t wide[runtime::kServicePackLimit];
    EXPECT_EQ(runtime::GetWindowsVersionA(ansi), 7);
    EXPECT_EQ(runtime::GetWindowsVersionW(wide), 7);
    EXPECT_STREQ(ansi, version.szCSDVersion);
    EXPECT_EQ(std::wstring(wide), std::wstring(ansi, ansi + strlen(ansi)));
}

TEST_F(MODE_SUITE(SystemInfo), ALongServicePackTextIsCutToTheBuffer) {
    // The kept text as long as the work block's area holds, in the runtime's text mode.
    const int32_t kept = runtime::UnitsIn<Unit>(sizeof(runtime::workBlock->servicePack)) - 1;
    const Text longText = T(std::string(kept, 'S').c_str());
    memcpy(runtime::workBlock->servicePack, longText.c_str(), (kept + 1) * sizeof(Unit));

    constexpr int32_t kLimit = runtime::kServicePackLimit;
    Text inMode(kLimit + 4, static_cast<Unit>('#'));
    std::string ansi(kLimit + 4, '#');
    std::wstring wide(kLimit + 4, L'#');
    // Each member called into a buffer marked '#' beyond the room it is given.
    const struct {
        const char* member;
        int32_t level;
        std::string text;
        bool markKept;
    } seen[] = {
        {"GetWindowsVersion", runtime::GetWindowsVersion(inMode.data()), unittexts::Ascii(inMode.c_str()),
         inMode[kLimit] == static_cast<Unit>('#')},
        {"GetWindowsVersionA", runtime::GetWindowsVersionA(ansi.data()), ansi.c_str(), ansi[kLimit] == '#'},
        {"GetWindowsVersionW", runtime::GetWindowsVersionW(wide.data()), unittexts::Ascii(wide.c_str()),
         wide[kLimit] == L'#'},
    };
    for (const auto& s : seen) {
        EXPECT_EQ(s.level, 7) << s.member;
        EXPECT_EQ(s.text, std::string(kLimit - 1, 'S')) << s.member << " of a " << kept << "-character text";
        EXPECT_TRUE(s.markKept) << s.member << ": written past the buffer";
    }
}

TEST_F(MODE_SUITE(SystemInfo), TheTextModeAndTheSystemsWidth) {
    EXPECT_EQ(runtime::IsWideMode(), modetest::kWideMode);
    BOOL wow64 = FALSE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    // A 32-bit program runs under WOW64 exactly on a 64-bit system.
    EXPECT_EQ(runtime::Is64BitWindows(), wow64 ? 1 : 0) << "WOW64: " << wow64;
    runtime::OsLevel = 4;
    EXPECT_EQ(runtime::Is64BitWindows(), 0) << "Windows 2000 is never asked";
    runtime::OsLevel = 7;
}

TEST_F(MODE_SUITE(SystemInfo), TheProcessorIsTheOneTheSystemSees) {
    runtime::util::CpuInfoRecord record;
    memset(&record, 0xEE, sizeof(record));
    ASSERT_EQ(runtime::GetCpuInfo(&record), 1);
    EXPECT_EQ(std::string(record.vendor), ProcessorText("VendorIdentifier"));
    EXPECT_EQ(record.vendor[12], 0);
    // "x86 Family 6 Model 158 Stepping 10": the family and model with their extensions; the
    // record holds the base fields.
    const std::string identifier = ProcessorText("Identifier");
    unsigned family = 0, model = 0, stepping = 0;
    ASSERT_EQ(sscanf(identifier.c_str(), "x86 Family %u Model %u Stepping %u", &family, &model, &stepping), 3)
        << identifier;
    EXPECT_EQ(record.family, family < 15 ? family : 15u) << identifier;
    EXPECT_EQ(record.model, model & 0xF) << identifier;
    EXPECT_EQ(record.stepping, stepping) << identifier;
    // Every processor this program runs on has the x87 unit and the time-stamp counter.
    EXPECT_EQ(record.features & 0x11, 0x11u) << std::hex << record.features;
}

}  // namespace
