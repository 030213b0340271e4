// Owner-drawn push buttons as the runtime paints them at WM_DRAWITEM into a memory bitmap, the
// visual-styles library's loading, and a picture of a form with every kind the runtime paints.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "paint_fixture.h"
#include "runtime/paint/theme_support.h"
#include "runtime/process/application.h"
#include "runtime/process/startup_logic.h"
#include "runtime/property/property_setters.h"
#include "tests/support/window_messages.h"

namespace painttest {
namespace {

constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 40;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kLight = RGB(0xE0, 0xE0, 0xE0);

// The interior of the button, inside every frame line.
constexpr RECT kInterior{5, 5, kButtonWidth - 5, kButtonHeight - 5};

struct ButtonLook {
    const char* caption = "Go";
    bool picture = false;
    int32_t position = 0;
    int32_t isDefault = 0;
    int32_t focusFrame = 0;
};

class ButtonPaint : public PaintTest {
protected:
    // A form with one push button that looks as asked.
    HWND BuildButton(const ButtonLook& look) {
        FormTemplate form = Template();
        TemplateRecord button = Coloured(form, class_code::PushButton, 1, RECT{10, 10, 10 + kButtonWidth, 10 + kButtonHeight},
                                         kButtonBack, look.caption, WS_VISIBLE | BS_OWNERDRAW);
        button.ButtonStyle = look.position;
        button.FocusFrame = look.focusFrame;
        if (BuildWith(form, {button}) == nullptr) return nullptr;
        HWND window = Control(1);
        RecordOf(window).IsDefault = look.isDefault;
        if (look.picture) runtime::SetPicture(window, runtime::ToSlot(SolidBitmap(16, 16, kBlue)));
        return window;
    }

    // The button as the runtime paints it at WM_DRAWITEM with `state` (ODS_...).
    Capture Draw(HWND button, UINT state) const {
        testsupport::Canvas canvas(kButtonWidth, kButtonHeight, kUnderlay);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = static_cast<UINT>(GetDlgCtrlID(button));
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = button;
        item.hDC = canvas.Device();
        item.rcItem = RECT{0, 0, kButtonWidth, kButtonHeight};
        SendMessageA(form_, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
        return canvas.Take();
    }
};

TEST_F(ButtonPaint, TheClassicFaceShowsEdgesOrThePressedFrameAndTheFocusRectangle) {
    struct Case {
        const char* name;
        ButtonLook look;
        UINT state;
        int32_t os;           // OsLevel while it is drawn
        COLORREF corner;      // (0, 0)
        COLORREF innerEdge;   // (1, 20): the light inner edge, white under a black frame, or the face
        bool focusRectangle;  // dotted, 3 pixels inside the black frame
    };
    constexpr int32_t kNow = runtime::os_level::Nt6x;
    const Case cases[] = {
        {"normal", {}, 0, kNow, kWhite, kButtonBack, false},
        {"normal, OS level 3: no light inner edge", {}, 0, runtime::os_level::OldNt, kWhite, kButtonBack, false},
        {"normal, OS level 2: the light inner edge", {}, 0, runtime::os_level::Windows98, kWhite, kLight, false},
        {"pressed", {}, ODS_SELECTED, kNow, kGrey, kButtonBack, false},
        {"default: black frame", {"Go", false, 0, 1, 0}, 0, kNow, kBlack, kWhite, false},
        {"focused without the focus-frame flag", {}, ODS_FOCUS, kNow, kWhite, kButtonBack, false},
        {"focused with the focus-frame flag", {"Go", false, 0, 0, 1}, ODS_FOCUS, kNow, kBlack, kWhite, true},
    };
    const int32_t level = runtime::OsLevel;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND button = BuildButton(c.look);
        ASSERT_NE(button, nullptr);
        runtime::OsLevel = c.os;
        const Capture shot = Draw(button, c.state);
        runtime::OsLevel = level;
        EXPECT_EQ(shot.Count(kUnderlay), 0) << "unpainted pixels";
        EXPECT_EQ(shot.At(0, 0), c.corner) << "corner";
        EXPECT_EQ(shot.At(1, 20), c.innerEdge) << "at (1, 20)";
        if (c.state == 0 && c.look.isDefault == 0) {
            EXPECT_EQ(shot.At(kButtonWidth - 1, kButtonHeight - 1), kBlack) << "outer shadow";
            EXPECT_EQ(shot.At(kButtonWidth - 2, 20), kGrey) << "inner shadow";
        }
        // Row 4: the dotted rectangle's top edge (black frame + 3), every other pixel.
        const int dotted = kButtonWidth - 12 - shot.Count(RECT{6, 4, kButtonWidth - 6, 5}, kButtonBack);
        EXPECT_EQ(dotted >= (kButtonWidth - 12) / 2 - 1, c.focusRectangle) << dotted << " dotted pixels in row 4";
        EXPECT_GT(shot.Count(kInterior, kText), 0) << "no caption";
        DestroyWindow(form_);
    }
}

TEST_F(ButtonPaint, ThePictureStandsByItsPositionAndMovesWithTheCaptionWhenPressed) {
    for (int32_t position : {0, 1, 2, 3}) {
        SCOPED_TRACE(testing::Message() << "position " << position);
        HWND button = BuildButton(ButtonLook{"Go", true, position});
        ASSERT_NE(button, nullptr);
        const Capture shot = Draw(button, 0);
        const RECT picture = shot.Extent(kBlue);
        const RECT text = shot.Extent(kText);
        ASSERT_GT(text.right, 0) << "no caption";
        const bool across = position >= 2;
        // Before or after the caption, across or down; the pair centred on the button.
        const LONG gap = position == 0 ? text.top - picture.bottom
                         : position == 1 ? picture.top - text.bottom
                         : position == 2 ? text.left - picture.right
                                         : picture.left - text.right;
        EXPECT_GE(gap, 0) << "picture " << picture << ", text " << text;
        const LONG first = across ? std::min(picture.left, text.left) : std::min(picture.top, text.top);
        const LONG last = across ? std::max(picture.right, text.right) : std::max(picture.bottom, text.bottom);
        EXPECT_NEAR((first + last) / 2, (across ? kButtonWidth : kButtonHeight) / 2, 3)
            << "picture " << picture << ", text " << text;

        const Capture down = Draw(button, ODS_SELECTED);
        EXPECT_EQ(down.Extent(kText), (RECT{text.left + 1, text.top + 1, text.right + 1, text.bottom + 1}))
            << "caption, pressed";
        EXPECT_EQ(down.Extent(kBlue), (RECT{picture.left + 1, picture.top + 1, picture.right + 1, picture.bottom + 1}))
            << "picture, pressed";
        DestroyWindow(form_);
    }
}

TEST_F(ButtonPaint, ADisabledButtonEmbossesItsCaptionWithAWhiteCopyTwoPixelsOff) {
    HWND button = BuildButton(ButtonLook{});
    ASSERT_NE(button, nullptr);
    EnableWindow(button, FALSE);
    const Capture shot = Draw(button, ODS_DISABLED);
    EXPECT_EQ(shot.Count(kText), 0) << "caption in its enabled colour";
    // Inside the frame lines, which are white and grey too.
    const RECT white = shot.Extent(kWhite, kInterior);
    const RECT grey = shot.Extent(kGrey, kInterior);
    ASSERT_GT(grey.right, 0) << "no grey copy";
    EXPECT_EQ(white.right, grey.right + 2) << "white " << white << ", grey " << grey;
    EXPECT_EQ(white.bottom, grey.bottom + 2) << "white " << white << ", grey " << grey;
}

// Counts the program's own loads of the visual-styles library by putting a counting entry in
// place of LoadLibraryA and LoadLibraryW in the program's import table while it lives.
class ThemeLoadCounter {
public:
    ThemeLoadCounter() {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        realA_ = reinterpret_cast<LoadA>(reinterpret_cast<void*>(GetProcAddress(kernel, "LoadLibraryA")));
        realW_ = reinterpret_cast<LoadW>(reinterpret_cast<void*>(GetProcAddress(kernel, "LoadLibraryW")));
        loads_ = 0;
        Swap(reinterpret_cast<void*>(realA_), reinterpret_cast<void*>(&CountA));
        Swap(reinterpret_cast<void*>(realW_), reinterpret_cast<void*>(&CountW));
    }
    ~ThemeLoadCounter() {
        Swap(reinterpret_cast<void*>(&CountA), reinterpret_cast<void*>(realA_));
        Swap(reinterpret_cast<void*>(&CountW), reinterpret_cast<void*>(realW_));
    }
    static int Loads() { return loads_; }

private:
    using LoadA = HMODULE(WINAPI*)(const char*);
    using LoadW = HMODULE(WINAPI*)(const wchar_t*);

    static HMODULE WINAPI CountA(const char* name) {
        if (name != nullptr && lstrcmpiA(name, "UXTHEME.DLL") == 0) ++loads_;
        return realA_(name);
    }
    static HMODULE WINAPI CountW(const wchar_t* name) {
        if (name != nullptr && lstrcmpiW(name, L"UXTHEME.DLL") == 0) ++loads_;
        return realW_(name);
    }

    // Replaces every import-table entry of the program that holds `from` with `to`.
    static void Swap(void* from, void* to) {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name != 0;
             ++entry) {
            for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk); thunk->u1.Function != 0;
                 ++thunk) {
                if (reinterpret_cast<void*>(thunk->u1.Function) != from) continue;
                DWORD protection = 0;
                VirtualProtect(&thunk->u1.Function, sizeof thunk->u1.Function, PAGE_READWRITE, &protection);
                thunk->u1.Function = reinterpret_cast<ULONG_PTR>(to);
                VirtualProtect(&thunk->u1.Function, sizeof thunk->u1.Function, protection, &protection);
            }
        }
    }

    static inline LoadA realA_ = nullptr;
    static inline LoadW realW_ = nullptr;
    static inline int loads_ = 0;
};

bool SystemThemeActive() {
    HMODULE library = LoadLibraryA("uxtheme.dll");
    if (library == nullptr) return false;
    using IsThemeActiveEntry = BOOL(WINAPI*)();
    const auto isThemeActive =
        reinterpret_cast<IsThemeActiveEntry>(reinterpret_cast<void*>(GetProcAddress(library, "IsThemeActive")));
    const bool active = isThemeActive != nullptr && isThemeActive() != 0;
    FreeLibrary(library);
    return active;
}

// While the system hides keyboard cues a caption's mnemonic is not underlined, as in every
// other caption, though the item state does not say so.
TEST_F(ButtonPaint, HiddenKeyboardCuesDrawNoMnemonicUnderline) {
    HWND button = BuildButton(ButtonLook{});
    ASSERT_NE(button, nullptr);
    const int32_t cues = runtime::hideKeyboardCues;
    const auto render = [&](const wchar_t* caption, int32_t hide) {
        SetWindowTextW(button, caption);
        runtime::hideKeyboardCues = hide;
        return Draw(button, 0).pixels;
    };
    const auto plain = render(L"Go", 1);
    EXPECT_TRUE(render(L"&Go", 1) == plain) << "cues hidden: \"&Go\" should look like \"Go\"";
    EXPECT_FALSE(render(L"&Go", 0) == plain) << "cues shown: \"&Go\" should underline its G";
    runtime::hideKeyboardCues = cues;
}

TEST_F(ButtonPaint, TheThemeLibraryIsLoadedOnlyWithAManifestAndKeptOnlyWhileThemesAreActive) {
    const bool active = SystemThemeActive();
    std::printf("visual styles active on this system: %d\n", active ? 1 : 0);
    const int32_t manifest = runtime::manifestPresent;
    const int32_t level = runtime::OsLevel;
    runtime::OsLevel = runtime::os_level::Nt6x;
    struct Case {
        const char* name;
        int32_t manifest;
        int loads;
    };
    const Case cases[] = {{"no manifest: never loaded", 0, 0}, {"with a manifest: loaded", 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        runtime::manifestPresent = c.manifest;
        ThemeLoadCounter counter;
        FormTemplate form = Template();
        form.Form().IsMain = 1;
        TemplateRecord button = Coloured(form, class_code::PushButton, 1, RECT{10, 10, 10 + kButtonWidth, 10 + kButtonHeight},
                                         kButtonBack, "Go", WS_VISIBLE | BS_OWNERDRAW);
        ASSERT_NE(BuildWith(form, {button}), nullptr);
        EXPECT_EQ(ThemeLoadCounter::Loads(), c.loads) << "loads of UXTHEME.DLL at the main form's creation";
        const bool themed = c.manifest != 0 && active;
        EXPECT_EQ(runtime::themeLibrary != nullptr, themed) << "library kept";
        EXPECT_EQ(runtime::SendToWindow(form_, runtime::FRM_GETTHEMELIB, 0, 0), reinterpret_cast<LRESULT>(runtime::themeLibrary));
        EXPECT_EQ(runtime::SendToWindow(form_, runtime::FRM_GETTHEMEACTIVE, 0, 0), c.manifest);
        // Without themes the classic face: white and black edges.
        const Capture shot = Draw(Control(1), 0);
        EXPECT_EQ(shot.At(0, 0) == kWhite && shot.At(kButtonWidth - 1, kButtonHeight - 1) == kBlack, !themed)
            << "corners " << std::hex << shot.At(0, 0) << ", " << shot.At(kButtonWidth - 1, kButtonHeight - 1);
        DestroyWindow(form_);
        EXPECT_EQ(runtime::themeLibrary, nullptr) << "unloaded with the main form";
    }
    runtime::manifestPresent = manifest;
    runtime::OsLevel = level;
}

// A form with every kind the runtime paints, kept as paint_demo.bmp for its PNG.
TEST_F(ButtonPaint, ADemoFormWithEveryPaintedKindIsSavedAsAPicture) {
    FormTemplate form = Template(360, 230);
    TemplateRecord group = Coloured(form, class_code::GroupBox, 1, RECT{8, 4, 168, 120}, kGroupBack, "&Group");
    group.Alignment = 1;
    group.ClassValue1 = 1;
    TemplateRecord label = Coloured(form, class_code::Label, 2, RECT{184, 20, 344, 40}, kLabelBack, "Transparent &label");
    label.IsTransparent = 1;
    TemplateRecord disabled = Coloured(form, class_code::Label, 3, RECT{184, 44, 344, 64}, kLabelBack, "Disabled label");
    disabled.IsTransparent = 1;
    disabled.Enabled = 0;
    TemplateRecord picture = Coloured(form, class_code::PictureBox, 4, RECT{176, 8, 352, 120}, kPictureBack, "Picture");
    picture.Value = DT_RIGHT | DT_BOTTOM | DT_SINGLELINE;
    TemplateRecord plain = Coloured(form, class_code::PushButton, 5, RECT{8, 130, 98, 160}, kButtonBack, "&Plain",
                                    WS_VISIBLE | BS_OWNERDRAW);
    TemplateRecord left = Coloured(form, class_code::PushButton, 6, RECT{104, 130, 224, 160}, kButtonBack, "Left",
                                   WS_VISIBLE | BS_OWNERDRAW);
    left.ButtonStyle = 2;
    TemplateRecord above = Coloured(form, class_code::PushButton, 7, RECT{230, 130, 350, 190}, kButtonBack, "Above",
                                    WS_VISIBLE | BS_OWNERDRAW);
    TemplateRecord off = Coloured(form, class_code::PushButton, 8, RECT{8, 166, 98, 196}, kButtonBack, "Disabled",
                                  WS_VISIBLE | BS_OWNERDRAW);
    off.Enabled = 0;
    TemplateRecord image = Coloured(form, class_code::Image, 9, RECT{104, 166, 224, 196}, kLabelBack, "");
    ASSERT_NE(BuildWith(form, {group, label, disabled, picture, plain, left, above, off, image}), nullptr);
    runtime::SetPicture(Control(4), runtime::ToSlot(SolidBitmap(40, 30, kBlue)));
    runtime::SetPicture(Control(6), runtime::ToSlot(SolidBitmap(16, 16, kRed)));
    runtime::SetPicture(Control(7), runtime::ToSlot(SolidBitmap(16, 16, kBlue)));
    runtime::SetPicture(Control(9), runtime::ToSlot(SolidBitmap(30, 20, kRed)));
    SetWindowPos(form_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(form_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    // The transparent labels are painted again after the picture below them.
    testsupport::PumpMessagesUntil([] { return false; }, 300);
    const Capture shot = testsupport::CaptureScreenOf(form_);
    ASSERT_FALSE(shot.Empty());
    EXPECT_TRUE(testsupport::WriteBmp(shot, "paint_demo.bmp"));
    for (COLORREF colour : {kGroupBack, kPictureBack, kButtonBack, kBlue, kRed, kText, kFormBack}) {
        EXPECT_GT(shot.Count(colour), 0) << "colour " << std::hex << colour << " missing from the picture";
    }
}

}  // namespace
}  // namespace painttest
