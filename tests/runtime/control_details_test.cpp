// Details of built controls: identifiers and texts from the string table, colours, brushes and
// fonts, label auto-size, tooltips, the "STATIC" stand-in for a control that cannot be
// created, the owner-draw notice before creation and the containers' creation notice.

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "builder_test_resources.h"
#include "built_form_fixture.h"
#include "runtime/build/build_support.h"
#include "runtime/build/control_builder.h"
#include "runtime/build/template_resources.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/window_table.h"
#include "runtime/template/template_copy.h"
#include "runtime/template/template_values.h"

namespace {

using buildertest::BoxHook;
using buildertest::ClassOf;
using buildertest::FormTemplate;
using buildertest::Measured;
using buildertest::MeasureInFontOf;
using buildertest::RuntimeText;
using buildertest::WindowText;
using runtime::RuntimeRecord;
using runtime::TemplateRecord;
namespace class_code = runtime::class_code;

class BUILDER_SUITE(ControlDetails) : public buildertest::BuiltFormTest {};

TEST_F(BUILDER_SUITE(ControlDetails), IdentifiersFollowIndexAndTextsComeFromTheStringTable) {
    struct TextCase {
        int32_t index;
        uint32_t reference;
        const wchar_t* text;
    };
    const TextCase cases[] = {
        {8, kTableText, L"Text from the table"},
        {2, kLastTableId, L"Last id"},
        {5, 0, L""},
        {1, kMissingTableId, L""},
    };
    FormTemplate form;
    for (const TextCase& c : cases) {
        TemplateRecord label = form.Control(class_code::Label, c.index, "Label", 5, 5 + 20 * c.index, 150, 16);
        label.Text = c.reference;
        form.Add(label);
    }
    form.Form().ControlCount = 4;
    ASSERT_NE(Build(form), nullptr);
    for (const TextCase& c : cases) {
        HWND label = GetDlgItem(form_, 1000 + c.index);
        ASSERT_NE(label, nullptr) << "index " << c.index;
        EXPECT_EQ(WindowText(label), c.text) << "reference " << c.reference;
        const RuntimeRecord* record = runtime::FindWindowRecord(label);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(RuntimeText(record->Text), c.text);
        EXPECT_EQ(record->CaptionLength, static_cast<int32_t>(wcslen(c.text)));
    }
}

TEST_F(BUILDER_SUITE(ControlDetails), ALongTextIsCopiedWhole) {
    const std::string caption(3000, 'w');
    FormTemplate form;
    TemplateRecord label = form.Control(class_code::Label, 1, "Long", 5, 5, 200, 16);
    label.Text = form.Text(caption);
    form.Add(label);
    form.Form().ControlCount = 1;
    ASSERT_NE(Build(form), nullptr);
    const RuntimeRecord* record = runtime::FindWindowRecord(Control(1));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->CaptionLength, 3000);
    EXPECT_EQ(RuntimeText(record->Text), std::wstring(3000, L'w'));
    EXPECT_EQ(GetWindowTextLengthW(Control(1)), 3000);
}

TEST_F(BUILDER_SUITE(ControlDetails), ColoursResolveToRgbAndBrushes) {
    FormTemplate form;
    struct ColourCase {
        int32_t index;
        uint32_t back;
        uint32_t fore;
        COLORREF backRgb;
        COLORREF foreRgb;
    };
    const ColourCase cases[] = {
        {1, 0x000000FF, 0x00FF0000, RGB(255, 0, 0), RGB(0, 0, 255)},
        {2, 0x8000000F, 0x80000012, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNTEXT)},
        {3, 0x80000005, 0x80000008, GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)},
    };
    for (const ColourCase& c : cases) {
        TemplateRecord edit = form.Control(class_code::TextBox, c.index, "Edit", 5, 30 * c.index, 80, 22);
        edit.BackColor = c.back;
        edit.ForeColor = c.fore;
        form.Add(edit);
    }
    form.Form().ControlCount = 3;
    ASSERT_NE(Build(form), nullptr);
    for (const ColourCase& c : cases) {
        const RuntimeRecord* record = runtime::FindWindowRecord(GetDlgItem(form_, 1000 + c.index));
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->BackColorRgb, c.backRgb) << std::hex << c.back;
        EXPECT_EQ(record->ForeColorRgb, c.foreRgb) << std::hex << c.fore;
        LOGBRUSH brush{};
        ASSERT_NE(GetObjectW(runtime::SlotAs<HBRUSH>(record->BackBrush), sizeof brush, &brush), 0);
        EXPECT_EQ(brush.lbColor, c.backRgb) << "the brush has the back colour";
        if (runtime::IsSystemColor(c.back)) {
            EXPECT_EQ(runtime::SlotAs<HBRUSH>(record->BackBrush), GetSysColorBrush(runtime::SystemColorIndex(c.back)))
                << "a system colour's own brush";
        }
    }
    EXPECT_EQ(runtime::ResolveColor(0x8000000F, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(runtime::ResolveColor(0x000000FF, 0), 0x0000FFu);
}

TEST_F(BUILDER_SUITE(ControlDetails), FontsTakeTheirHeightFromPointsAndTheForm) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 96) << "the test display";

    const struct {
        int32_t fixed;
        int32_t points;
        int32_t bold;
        int32_t italic;
        LONG height;
    } cases[] = {{0, 8, 0, 0, -11}, {1, 8, 1, 0, -11}, {0, 12, 0, 1, -16}, {1, 10, 0, 0, -13}};
    for (const auto& c : cases) {
        FormTemplate form;
        form.Form().FixedFontSize = c.fixed;
        TemplateRecord label = form.Control(class_code::Label, 1, "Label", 5, 5, 100, 20);
        label.FontSize = c.points;
        label.FontBold = c.bold;
        label.FontItalic = c.italic;
        label.FontName = form.Text("Arial");
        form.Add(label);
        form.Form().ControlCount = 1;
        ASSERT_NE(Build(form), nullptr);
        auto font = reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(form_, 1001), WM_GETFONT, 0, 0));
        LOGFONTW description{};
        ASSERT_NE(GetObjectW(font, sizeof description, &description), 0);
        EXPECT_EQ(description.lfHeight, c.height) << c.points << " pt, fixed " << c.fixed;
        EXPECT_EQ(description.lfWeight, c.bold != 0 ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(description.lfItalic != 0, c.italic != 0);
        EXPECT_EQ(std::wstring(description.lfFaceName), L"Arial");
        EXPECT_EQ(description.lfCharSet, DEFAULT_CHARSET);
        DestroyWindow(form_);
    }
}

TEST_F(BUILDER_SUITE(ControlDetails), LabelsAutoSizeToTheirCaption) {
    struct SizeCase {
        int32_t index;
        int32_t autoSize;
        int32_t alignment;
        int32_t multiLine;
        const char* caption;
        const wchar_t* measured;  // what the label shows
    };
    const SizeCase cases[] = {
        {1, 1, 0, 0, "Sleep", L"Sleep"},
        {2, 1, 2, 0, "Sleep", L"Sleep"},
        {3, 0, 0, 0, "Port", nullptr},
        {4, 1, 0, 0, "S&ave", L"Save"},
        {5, 1, 0, 1, "S&ave", L"S&ave"},
        {6, 1, 1, 0, "Sleep", L"Sleep"},
    };
    // The template's place is far from any caption's extent, so that a label that kept it shows.
    constexpr int32_t kLeft = 127;
    constexpr int32_t kWidth = 90;
    constexpr int32_t kHeight = 40;
    constexpr int32_t kRowHeight = 50;
    FormTemplate form(runtime::form_kind::Window, 400, 400);
    for (const SizeCase& c : cases) {
        TemplateRecord label = form.Control(class_code::Label, c.index, "Label", kLeft, kRowHeight * c.index, kWidth,
                                            kHeight, WS_VISIBLE | SS_NOTIFY | SS_LEFTNOWORDWRAP | WS_BORDER);
        label.Text = form.Text(c.caption);
        label.AutoSize = c.autoSize;
        label.Alignment = c.alignment;
        label.MultiLine = c.multiLine;
        form.Add(label);
    }
    form.Form().ControlCount = static_cast<int32_t>(std::size(cases));
    ASSERT_NE(Build(form), nullptr);
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "label " << c.index << " (alignment " << c.alignment << ")");
        HWND label = GetDlgItem(form_, 1000 + c.index);
        RECT window{};
        GetWindowRect(label, &window);
        MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&window), 2);
        RECT client{};
        GetClientRect(label, &client);
        const int frameWidth = (window.right - window.left) - client.right;
        const int frameHeight = (window.bottom - window.top) - client.bottom;
        const int top = kRowHeight * c.index;
        if (c.measured == nullptr) {
            EXPECT_EQ(window.right - window.left, kWidth) << "no auto-size: the template's size";
            EXPECT_EQ(window.bottom - window.top, kHeight);
            continue;
        }
        const Measured text = MeasureInFontOf(label, c.measured);
        ASSERT_NE(text.size.cx + frameWidth, kWidth) << "the caption's extent differs from the template's size";
        EXPECT_EQ(window.right - window.left, text.size.cx + frameWidth) << "the width follows the caption";
        EXPECT_EQ(window.bottom - window.top, text.size.cy + frameHeight) << "the height follows the caption";
        switch (c.alignment) {
            case 2:
                EXPECT_EQ(window.right, kLeft + kWidth) << "the right edge stays";
                EXPECT_EQ(window.bottom, top + kHeight) << "the bottom edge stays";
                break;
            case 1:
                // Centred on the old place, less the frame.
                EXPECT_EQ(window.left, kLeft + kWidth / 2 - text.size.cx / 2 - frameWidth);
                EXPECT_EQ(window.top, top + kHeight / 2 - text.size.cy / 2 - frameHeight);
                break;
            default:
                EXPECT_EQ(window.left, kLeft) << "the left edge stays";
                EXPECT_EQ(window.top, top) << "the top edge stays";
                break;
        }
        const RuntimeRecord* record = runtime::FindWindowRecord(label);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->Width, text.size.cx + frameWidth) << "the record follows";
        EXPECT_EQ(record->Height, text.size.cy + frameHeight);
        EXPECT_EQ(record->Left, window.left);
        EXPECT_EQ(record->Top, window.top);
    }
}

TEST_F(BUILDER_SUITE(ControlDetails), TooltipsAreRegisteredForControlsWithATipOnly) {
    FormTemplate form;
    form.Form().ToolTips = runtime::tooltip_mode::Standard;
    TemplateRecord withTip = form.Control(class_code::PushButton, 1, "Tip", 5, 5, 80, 24);
    withTip.ToolTipText = form.Text("Press me");
    form.Add(withTip);
    form.Add(form.Control(class_code::PushButton, 2, "NoTip", 5, 35, 80, 24));
    TemplateRecord group = form.Control(class_code::GroupBox, 3, "Group", 100, 5, 150, 100);
    group.ControlCount = 1;
    form.Add(group);
    TemplateRecord nested = form.Control(class_code::TextBox, 4, "Nested", 10, 20, 80, 22);
    nested.ToolTipText = kTableText;
    form.Add(nested);
    form.Form().ControlCount = 3;
    ASSERT_NE(Build(form), nullptr);

    const RuntimeRecord* record = runtime::FindWindowRecord(form_);
    ASSERT_NE(record, nullptr);
    auto tooltip = runtime::SlotAs<HWND>(record->ToolTip);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(ClassOf(tooltip), L"tooltips_class32");
    EXPECT_EQ(record->ToolTips, 0) << "the mode slot is cleared";
    ASSERT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 2);
    std::vector<HWND> tools;
    for (int i = 0; i < 2; ++i) {
        wchar_t text[64] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.lpszText = text;
        SendMessageW(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tool));
        tools.push_back(reinterpret_cast<HWND>(tool.uId));
        EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS), static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));
        EXPECT_EQ(std::wstring(text), tools.back() == Control(1) ? L"Press me" : L"Text from the table");
    }
    EXPECT_NE(std::find(tools.begin(), tools.end(), Control(1)), tools.end());
    EXPECT_NE(std::find(tools.begin(), tools.end(), Control(4)), tools.end()) << "inside the group box";
}

TEST_F(BUILDER_SUITE(ControlDetails), AControlThatCannotBeCreatedBecomesAStatic) {
    BoxHook hook(L"SysTreeView32");
    ASSERT_TRUE(hook.installed());
    FormTemplate form;
    TemplateRecord tree = form.Control(class_code::TreeView, 6, "Tree1", 5, 5, 100, 100, WS_VISIBLE | WS_BORDER);
    form.Add(tree);
    TemplateRecord unknown = form.Control(99, 7, "Odd", 120, 5, 50, 20);
    form.Add(unknown);
    form.Add(form.Control(class_code::TextBox, 8, "After", 5, 120, 80, 22));
    form.Form().ControlCount = 3;
    ASSERT_NE(Build(form), nullptr);

    ASSERT_EQ(hook.boxes().size(), 2u);
    const wchar_t* names[2] = {L"Tree1", L"Odd"};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(hook.boxes()[i].text,
                  std::wstring(names[i]) + L": Control could not be created and it was replaced with a 'STATIC' class control.");
        EXPECT_EQ(hook.boxes()[i].caption, L" Bramblekit - Project1.exe");
        HWND standIn = Control(6 + i);
        ASSERT_NE(standIn, nullptr);
        EXPECT_EQ(ClassOf(standIn), L"Static");
        EXPECT_EQ(WindowText(standIn), L"") << "no text";
        const auto style = static_cast<uint32_t>(GetWindowLongPtrW(standIn, GWL_STYLE));
        EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), static_cast<uint32_t>(WS_CHILD | WS_VISIBLE));
    }
    RECT rect{};
    GetWindowRect(Control(6), &rect);
    EXPECT_EQ(rect.right - rect.left, 100) << "the control's rectangle";
    EXPECT_NE(Control(8), nullptr) << "building goes on";
}

TEST_F(BUILDER_SUITE(ControlDetails), AContainerThatCannotBeCreatedLeavesNoPendingRecord) {
    BoxHook hook(L"BKGROUP");
    ASSERT_TRUE(hook.installed());
    FormTemplate form;
    form.Add(form.Control(class_code::PictureBox, 3, "Picture", 170, 5, 100, 100));
    // The failing container comes last: nothing after it would take its record away.
    TemplateRecord group = form.Control(class_code::GroupBox, 1, "Frame", 5, 5, 150, 100);
    group.ControlCount = 1;
    form.Add(group);
    form.Add(form.Control(class_code::TextBox, 2, "Inside", 10, 20, 80, 22));
    form.Form().ControlCount = 2;
    ASSERT_NE(Build(form), nullptr);

    ASSERT_EQ(hook.boxes().size(), 1u);
    EXPECT_EQ(hook.boxes()[0].text, L"Frame: Control could not be created and it was replaced with a 'STATIC' class control.");
    EXPECT_EQ(runtime::pendingRecord, nullptr) << "no later window may be bound to the failed one's record";
    HWND standIn = Control(1);
    ASSERT_NE(standIn, nullptr);
    EXPECT_EQ(ClassOf(standIn), L"Static");
    EXPECT_EQ(runtime::FindWindowRecord(standIn), nullptr) << "a group box's stand-in is left a plain static";
    EXPECT_EQ(GetParent(Control(2)), standIn) << "its children are built inside the stand-in";
    const RuntimeRecord* picture = runtime::FindWindowRecord(Control(3));
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Index, 3);
}

TEST_F(BUILDER_SUITE(ControlDetails), ParentsAreToldTheOwnerDrawTypeBeforeCreation) {
    struct Notice {
        WPARAM type;
        bool childExisted;
    };
    static std::vector<Notice> notices;
    notices.clear();
    // A plain parent window that records the measure-type notices it gets.
    struct Recorder {
        static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
            if (message == runtime::FRM_MEASURETYPE) {
                notices.push_back(Notice{wParam, GetWindow(window, GW_CHILD) != nullptr});
                return 0;
            }
            return DefWindowProcW(window, message, wParam, lParam);
        }
    };
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &Recorder::Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"BuilderTestRecorder";
    RegisterClassW(&windowClass);

    FormTemplate host;
    host.Add(host.Control(class_code::PushButton, 2, "Button", 5, 5, 60, 24));
    host.Add(host.Control(class_code::ListBox, 3, "List", 5, 35, 60, 40));
    host.Add(host.Control(class_code::ComboBox, 4, "Combo", 5, 80, 60, 100, WS_VISIBLE | CBS_DROPDOWNLIST));
    host.Form().ControlCount = 3;
    const TemplateRecord* hostTemplate = host.Finish();
    RuntimeRecord* hostRecord = runtime::CopyFormTemplate(*hostTemplate, hostTemplate, runtime::RuntimeRecordStore());
    ASSERT_NE(hostRecord, nullptr);

    HWND recorder = CreateWindowExW(0, L"BuilderTestRecorder", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(recorder, nullptr);
    runtime::BuildControls(recorder, recorder, hostRecord);
    ASSERT_EQ(notices.size(), 3u);
    EXPECT_EQ(notices[0].type, 4u) << "push button";
    EXPECT_EQ(notices[1].type, 2u) << "list box";
    EXPECT_EQ(notices[2].type, 3u) << "combo box";
    EXPECT_FALSE(notices[0].childExisted) << "told before the button exists";
    DestroyWindow(recorder);
    UnregisterClassW(L"BuilderTestRecorder", GetModuleHandleW(nullptr));
}

TEST_F(BUILDER_SUITE(ControlDetails), ALabelWithoutACaptionCopyMeasuresAsEmpty) {
    FormTemplate host;
    TemplateRecord label = host.Control(class_code::Label, 1, "Label", 5, 5, 60, 16);
    label.AutoSize = 1;
    host.Add(label);
    host.Form().ControlCount = 1;
    const TemplateRecord* hostTemplate = host.Finish();
    RuntimeRecord* parent = runtime::CopyFormTemplate(*hostTemplate, hostTemplate, runtime::RuntimeRecordStore());
    ASSERT_NE(parent, nullptr);
    RuntimeRecord* labelRecord = *runtime::ChildrenOf(*parent).begin();
    runtime::FreeRuntimeBlock(runtime::SlotAs<void*>(labelRecord->Text));
    labelRecord->Text = 0;

    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    runtime::BuildControls(window, window, parent);
    HWND built = GetDlgItem(window, 1001);
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(labelRecord->ImageHeight, MeasureInFontOf(built, L"").lineHeight) << "the line height of an empty caption";
    EXPECT_EQ(labelRecord->Width, 0) << "sized to no text";
    DestroyWindow(window);
}

TEST_F(BUILDER_SUITE(ControlDetails), ContainersAnnounceThemselvesToTheirOwnProcedure) {
    FormTemplate form;
    TemplateRecord group = form.Control(class_code::GroupBox, 1, "Group", 5, 5, 100, 60);
    group.WindowProc = runtimetest::ScriptedAppSlot();
    form.Add(group);
    TemplateRecord picture = form.Control(class_code::PictureBox, 2, "Picture", 120, 5, 100, 60);
    picture.WindowProc = runtimetest::ScriptedAppSlot();
    form.Add(picture);
    form.Form().ControlCount = 2;
    ASSERT_NE(Build(form), nullptr);
    const std::vector<runtimetest::Seen> notices = runtimetest::app.All(runtime::FRM_CREATED);
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_EQ(notices[0].window, Control(1));
    EXPECT_EQ(notices[0].wParam, static_cast<WPARAM>(class_code::GroupBox));
    EXPECT_EQ(reinterpret_cast<RuntimeRecord*>(notices[0].lParam), runtime::FindWindowRecord(Control(1)));
    EXPECT_EQ(notices[1].wParam, static_cast<WPARAM>(class_code::PictureBox));
}

}  // namespace
