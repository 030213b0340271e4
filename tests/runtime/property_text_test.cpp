// The text functions: the entry in the runtime's text mode and both members, each converting
// between the stored texts and its own encoding; the room each reader fills; foreign windows.

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "built_form_fixture.h"
#include "runtime/property/property_texts.h"
#include "runtime/text/text_mode.h"

namespace {

using buildertest::FormTemplate;
using buildertest::WindowText;
namespace class_code = runtime::class_code;

class BUILDER_SUITE(PropertyText) : public buildertest::BuiltFormTest {
protected:
    void SetUp() override {
        BuiltFormTest::SetUp();
        FormTemplate& form = template_;
        form.Form().Text = form.Text("Form caption");
        form.Add(form.Control(class_code::Label, 1, "Caption", 5, 5, 100, 20));
        form.Add(form.Control(class_code::TextBox, 2, std::string(300, 'n').c_str(), 5, 30, 100, 20));
        form.Form().ControlCount = 2;
        ASSERT_NE(Build(form), nullptr);
        foreign_ = CreateWindowExW(0, L"STATIC", L"foreign", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override {
        if (IsWindow(foreign_)) DestroyWindow(foreign_);
        BuiltFormTest::TearDown();
    }

    // The template outlives the form: the records keep the addresses of its names.
    FormTemplate template_;
    HWND foreign_ = nullptr;
};

// An ASCII text in the runtime's text mode, for the entries.
class ModeText {
public:
    explicit ModeText(const std::string& ascii) : ansi_(ascii), wide_(ascii.begin(), ascii.end()) {}
    const void* get() const {
        return runtime::wideMode != 0 ? static_cast<const void*>(wide_.c_str()) : ansi_.c_str();
    }

private:
    std::string ansi_;
    std::wstring wide_;
};

// A buffer that the entries fill in the text mode, read back as wide text.
class ModeBuffer {
public:
    ModeBuffer() {
        ansi_.fill('?');
        wide_.fill(L'?');
        ansi_.back() = 0;
        wide_.back() = 0;
    }
    void* get() { return runtime::wideMode != 0 ? static_cast<void*>(wide_.data()) : ansi_.data(); }
    std::wstring text() const {
        if (runtime::wideMode != 0) return wide_.data();
        const std::string ansi(ansi_.data());
        return std::wstring(ansi.begin(), ansi.end());
    }

private:
    std::array<char, 600> ansi_{};
    std::array<wchar_t, 600> wide_{};
};

TEST_F(BUILDER_SUITE(PropertyText), TextsGoInAndComeOutInEveryEncoding) {
    for (HWND window : {form_, Control(1), Control(2)}) {
        ASSERT_EQ(runtime::SetText(window, ModeText("entry").get()), 1);
        ModeBuffer buffer;
        EXPECT_EQ(runtime::GetText(window, buffer.get()), 5);
        EXPECT_EQ(buffer.text(), L"entry");

        ASSERT_EQ(runtime::SetTextA(window, "ansi member"), 1);
        wchar_t wide[64] = {};
        EXPECT_EQ(runtime::GetTextW(window, wide), 11);
        EXPECT_EQ(std::wstring(wide), L"ansi member") << "the wide member reads what the ANSI one wrote";

        ASSERT_EQ(runtime::SetTextW(window, L"wide member"), 1);
        char ansi[64] = {};
        EXPECT_EQ(runtime::GetTextA(window, ansi), 11);
        EXPECT_EQ(std::string(ansi), "wide member");
        EXPECT_EQ(WindowText(window), L"wide member");
    }
}

TEST_F(BUILDER_SUITE(PropertyText), FontNamesAreKeptAndUsed) {
    HWND label = Control(1);
    char ansi[200] = {};
    wchar_t wide[200] = {};
    EXPECT_EQ(runtime::GetFontNameA(label, ansi), 13);
    EXPECT_EQ(std::string(ansi), "MS Sans Serif");
    EXPECT_EQ(runtime::GetFontNameW(label, wide), 13);
    EXPECT_EQ(std::wstring(wide), L"MS Sans Serif");

    ASSERT_EQ(runtime::SetFontNameW(label, L"Arial"), 1);
    EXPECT_EQ(runtime::GetFontNameA(label, ansi), 5);
    EXPECT_EQ(std::string(ansi), "Arial");
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(std::wstring(font.lfFaceName), L"Arial") << "the font is made again";

    ASSERT_EQ(runtime::SetFontName(form_, ModeText("Courier New").get()), 1);
    ModeBuffer buffer;
    EXPECT_EQ(runtime::GetFontName(form_, buffer.get()), 11);
    EXPECT_EQ(buffer.text(), L"Courier New");
}

TEST_F(BUILDER_SUITE(PropertyText), NamesAreTheDesignersInEveryEncoding) {
    char ansi[300] = {};
    wchar_t wide[300] = {};
    EXPECT_EQ(runtime::GetNameA(Control(1), ansi), 7);
    EXPECT_EQ(std::string(ansi), "Caption");
    EXPECT_EQ(runtime::GetNameW(form_, wide), 5);
    EXPECT_EQ(std::wstring(wide), L"Form1");
    ModeBuffer buffer;
    EXPECT_EQ(runtime::GetName(Control(1), buffer.get()), 7);
    EXPECT_EQ(buffer.text(), L"Caption");
}

TEST_F(BUILDER_SUITE(PropertyText), ReadersFillNoMoreThanTheirRoom) {
    HWND edit = Control(2);
    const struct {
        const char* name;
        int32_t limit;
        std::function<int32_t(char*)> readAnsi;
        std::function<int32_t(wchar_t*)> readWide;
    } cases[] = {
        {"a name of 300", runtime::kNameLimit, [&](char* b) { return runtime::GetNameA(edit, b); },
         [&](wchar_t* b) { return runtime::GetNameW(edit, b); }},
        {"a font name of 200", runtime::kFontNameLimit, [&](char* b) { return runtime::GetFontNameA(edit, b); },
         [&](wchar_t* b) { return runtime::GetFontNameW(edit, b); }},
        {"a text of 300", runtime::kWindowTextLimit, [&](char* b) { return runtime::GetTextA(edit, b); },
         [&](wchar_t* b) { return runtime::GetTextW(edit, b); }},
    };
    ASSERT_EQ(runtime::SetFontNameA(edit, std::string(200, 'f').c_str()), 1);
    ASSERT_EQ(runtime::SetTextA(edit, std::string(300, 't').c_str()), 1);
    for (const auto& c : cases) {
        std::string ansi(600, '?');
        std::wstring wide(600, L'?');
        EXPECT_EQ(c.readAnsi(ansi.data()), c.limit - 1) << c.name;
        EXPECT_EQ(ansi[c.limit - 1], '\0') << c.name;
        EXPECT_EQ(ansi[c.limit], '?') << c.name << ": nothing beyond the room";
        EXPECT_EQ(c.readWide(wide.data()), c.limit - 1) << c.name;
        EXPECT_EQ(wide[c.limit - 1], L'\0') << c.name;
        EXPECT_EQ(wide[c.limit], L'?') << c.name;
    }
}

TEST_F(BUILDER_SUITE(PropertyText), ForeignWindowsAreLeftAlone) {
    const struct {
        const char* name;
        std::function<int32_t(void*)> read;
    } readers[] = {
        {"GetText", [&](void* b) { return runtime::GetText(foreign_, b); }},
        {"GetFontName", [&](void* b) { return runtime::GetFontName(foreign_, b); }},
        {"GetName", [&](void* b) { return runtime::GetName(foreign_, b); }},
    };
    for (const auto& r : readers) {
        ModeBuffer buffer;
        const std::wstring before = buffer.text();
        EXPECT_EQ(r.read(buffer.get()), 0) << r.name;
        EXPECT_EQ(buffer.text(), before) << r.name << ": the buffer is untouched";
    }
    EXPECT_EQ(runtime::SetText(foreign_, ModeText("x").get()), 0);
    EXPECT_EQ(runtime::SetFontNameA(foreign_, "Arial"), 0);
    EXPECT_EQ(WindowText(foreign_), L"foreign");
}

}  // namespace
