// The program's resources, linked into this test program exactly as into the server: the menu
// and accelerator table the main window uses, the manifest that selects the common controls
// of version 6, and the version block.

#include "forms/main_form.h"

#include <windows.h>

#include "tests/forms/hex_text.h"

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

namespace {

using formstest::Hex;

HMODULE Self() { return GetModuleHandleA(nullptr); }

// The bytes of a resource of this program; empty when it is missing.
std::string ResourceBytes(LPCSTR type, int id) {
    HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(id), type);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(Self(), found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return {};
    return std::string(static_cast<const char*>(bytes), SizeofResource(Self(), found));
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) noexcept {
    // Integer resource names are what this program uses; a string name is recorded as -1.
    const int id = IS_INTRESOURCE(name) ? static_cast<int>(reinterpret_cast<ULONG_PTR>(name)) : -1;
    reinterpret_cast<std::vector<int>*>(names)->push_back(id);
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR languages) noexcept {
    reinterpret_cast<std::vector<int>*>(languages)->push_back(language);
    return TRUE;
}

TEST(ProgramResources, EachResourceStandsOnceInUsEnglish) {
    const struct {
        const char* what;
        LPCSTR type;
        int id;
    } cases[] = {
        {"menu", RT_MENU, 101},
        {"accelerators", RT_ACCELERATOR, 100},
        {"manifest", MAKEINTRESOURCEA(24), 1},
        {"version block", RT_VERSION, 1},
    };
    for (const auto& c : cases) {
        std::vector<int> names;
        EnumResourceNamesA(Self(), c.type, CollectName, reinterpret_cast<LONG_PTR>(&names));
        EXPECT_EQ(names, std::vector<int>{c.id}) << c.what << ": one resource of its type";
        std::vector<int> languages;
        EnumResourceLanguagesA(Self(), c.type, MAKEINTRESOURCEA(c.id), CollectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::vector<int>{1033}) << c.what << ": one copy, language 1033";
    }
}

// A menu loaded from this program, destroyed with its owner.
struct LoadedMenu {
    explicit LoadedMenu(int id) : menu(LoadMenuA(Self(), MAKEINTRESOURCEA(id))) {}
    ~LoadedMenu() {
        if (menu) DestroyMenu(menu);
    }
    LoadedMenu(const LoadedMenu&) = delete;
    LoadedMenu& operator=(const LoadedMenu&) = delete;
    HMENU menu;
};

struct MenuItem {
    std::string text;
    UINT id = 0;
    UINT type = 0;
    HMENU submenu = nullptr;
};

MenuItem ItemAt(HMENU menu, UINT position) {
    char text[128] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_ID | MIIM_FTYPE | MIIM_SUBMENU;
    info.dwTypeData = text;
    info.cch = sizeof text;
    MenuItem item;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return item;
    item.text = text;
    item.id = info.wID;
    item.type = info.fType;
    item.submenu = info.hSubMenu;
    return item;
}

TEST(ProgramResources, MenuHoldsOnePopupWithTheAboutCommand) {
    const LoadedMenu bar(forms::kMainMenuId);
    ASSERT_NE(bar.menu, nullptr) << "menu 101, error " << GetLastError();
    ASSERT_EQ(GetMenuItemCount(bar.menu), 1);
    const MenuItem popup = ItemAt(bar.menu, 0);
    EXPECT_EQ(popup.text, "?");
    ASSERT_NE(popup.submenu, nullptr) << "\"?\" opens a popup";

    ASSERT_EQ(GetMenuItemCount(popup.submenu), 1);
    const MenuItem about = ItemAt(popup.submenu, 0);
    EXPECT_EQ(about.text, "Despre / About\tF1");
    EXPECT_EQ(about.id, 40000u);
    EXPECT_EQ(about.submenu, nullptr);
    EXPECT_EQ(about.type, static_cast<UINT>(MFT_STRING));
}

TEST(ProgramResources, F1IsTheOnlyAcceleratorAndGivesTheAboutCommand) {
    HACCEL table = LoadAcceleratorsA(Self(), MAKEINTRESOURCEA(forms::kMainAcceleratorsId));
    ASSERT_NE(table, nullptr) << "accelerator table 100, error " << GetLastError();
    ACCEL entries[4] = {};
    const int count = CopyAcceleratorTableA(table, entries, 4);
    DestroyAcceleratorTable(table);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(entries[0].key, VK_F1);
    EXPECT_EQ(entries[0].cmd, 40000);
    EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FNOINVERT);

    // In the resource itself the one entry also carries the end-of-table flag.
    const std::string raw = ResourceBytes(RT_ACCELERATOR, 100);
    ASSERT_EQ(raw.size(), 8u);
    const auto word = [&](std::size_t at) {
        return static_cast<unsigned>(static_cast<unsigned char>(raw[at]) |
                                     static_cast<unsigned char>(raw[at + 1]) << 8);
    };
    EXPECT_EQ(Hex(word(0)), Hex(FVIRTKEY | FNOINVERT | 0x80));
    EXPECT_EQ(Hex(word(2)), Hex(0x70));
    EXPECT_EQ(word(4), 40000u);
}

LRESULT CALLBACK IdleProc(HWND, UINT, WPARAM, LPARAM) noexcept { return 0; }

TEST(ProgramResources, TheFormsMenuSlotNamesTheMenuResource) {
    const runtime::TemplateRecord* form = forms::MainFormTemplate(IdleProc);
    const LoadedMenu bar(static_cast<int>(form->Menu));
    EXPECT_NE(bar.menu, nullptr) << "Menu slot " << form->Menu;
}

TEST(ProgramResources, ManifestAsksForTheCommonControlsOfVersion6) {
    const std::string manifest = ResourceBytes(MAKEINTRESOURCEA(24), 1);
    ASSERT_FALSE(manifest.empty()) << "manifest resource 24/1";
    const char* needles[] = {
        "manifestVersion=\"1.0\"",
        "name=\"AppName.exe\"",
        "version=\"1.0.00.0001\"",
        "type=\"win32\"",
        "name=\"Microsoft.Windows.Common-Controls\"",
        "version=\"6.0.0.0\"",
        "processorArchitecture=\"x86\"",
        "publicKeyToken=\"6595b64144ccf1df\"",
        "language=\"*\"",
        "<description>",
    };
    for (const char* needle : needles) {
        EXPECT_NE(manifest.find(needle), std::string::npos) << needle << " in\n" << manifest;
    }
}

TEST(ProgramResources, ManifestBringsInTheVersion6CommonControls) {
    // The manifest's dependency redirects the common controls to the side-by-side assembly
    // of version 6 instead of the system directory's copy.
    HMODULE controls = LoadLibraryA("comctl32.dll");
    ASSERT_NE(controls, nullptr);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(controls, path, MAX_PATH);
    FreeLibrary(controls);
    std::string lower(path);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(lower.find("microsoft.windows.common-controls_6595b64144ccf1df_6."), std::string::npos)
        << "comctl32 loaded from " << path;
}

// The version block of this program's own file.
class VersionBlock : public testing::Test {
protected:
    void SetUp() override {
        char path[MAX_PATH] = {};
        ASSERT_GT(GetModuleFileNameA(nullptr, path, MAX_PATH), 0u);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
        ASSERT_GT(size, 0u) << "no version block in " << path;
        block_.resize(size);
        ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block_.data()));
    }

    // The value under `key`, or null with size 0.
    const void* Query(const char* key, UINT* size) {
        void* value = nullptr;
        *size = 0;
        if (!VerQueryValueA(block_.data(), key, &value, size)) return nullptr;
        return value;
    }

    std::string Text(const std::string& name) {
        UINT size = 0;
        const auto* value =
            static_cast<const char*>(Query(("\\StringFileInfo\\040904E4\\" + name).c_str(), &size));
        return value ? std::string(value) : "<missing>";
    }

    std::vector<char> block_;
};

TEST_F(VersionBlock, FixedPartIsTheDebugApplication1_0_0_1) {
    UINT size = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query("\\", &size));
    ASSERT_NE(fixed, nullptr);
    ASSERT_EQ(size, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(Hex(fixed->dwSignature), Hex(0xFEEF04BD));
    EXPECT_EQ(Hex(fixed->dwFileVersionMS), Hex(0x00010000));
    EXPECT_EQ(Hex(fixed->dwFileVersionLS), Hex(0x00000001));
    EXPECT_EQ(Hex(fixed->dwProductVersionMS), Hex(0x00010000));
    EXPECT_EQ(Hex(fixed->dwProductVersionLS), Hex(0x00000001));
    EXPECT_EQ(Hex(fixed->dwFileFlags & fixed->dwFileFlagsMask), Hex(VS_FF_DEBUG));
    EXPECT_EQ(Hex(fixed->dwFileOS), Hex(VOS__WINDOWS32));
    EXPECT_EQ(Hex(fixed->dwFileType), Hex(VFT_APP));
}

TEST_F(VersionBlock, TranslationIsUsEnglishInCodePage1252) {
    UINT size = 0;
    const auto* pair = static_cast<const WORD*>(Query("\\VarFileInfo\\Translation", &size));
    ASSERT_NE(pair, nullptr);
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(Hex(pair[0]), Hex(0x0409));
    EXPECT_EQ(Hex(pair[1]), Hex(0x04E4));
}

TEST_F(VersionBlock, StringTableNamesTheProgram) {
    const struct {
        const char* name;
        const char* text;
    } fixed[] = {
        {"FileVersion", "1.00.0.0001"},      {"ProductVersion", "1.00.0.0001"},
        {"InternalName", "Project1"},        {"ProductName", "Project1"},
        {"OriginalFilename", "Project1.exe"},
    };
    for (const auto& entry : fixed) EXPECT_EQ(Text(entry.name), entry.text) << entry.name;
    for (const char* free : {"Comments", "CompanyName", "FileDescription", "LegalCopyright"}) {
        const std::string text = Text(free);
        EXPECT_NE(text, "<missing>") << free;
        EXPECT_FALSE(text.empty()) << free;
    }
}

}  // namespace
