// Built forms: start positions, the dialog form placed by dialog units, refused and modal
// forms, forms without controls, menus, icons, caption, the form's picture, timer, font and
// colours, MDI frames and children.

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "builder_test_resources.h"
#include "builder_test_support.h"
#include "runtime/build/form_builder.h"
#include "runtime/paint/shared_pens.h"
#include "runtime/process/application.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/window_table.h"
#include "runtime/property/property_getters.h"
#include "runtime/property/property_setters.h"
#include "runtime/build/modal_state.h"
#include "runtime/property/property_windows.h"
#include "runtime/window/window_proc.h"
#include "runtime_session.h"

namespace {

using buildertest::ClassOf;
using buildertest::FormTemplate;
using buildertest::WindowText;
using runtime::RuntimeRecord;
using runtime::TemplateRecord;
namespace class_code = runtime::class_code;
namespace form_kind = runtime::form_kind;

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT WorkArea() {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// A plain top-level window to own or parent forms, destroyed with the object.
class OwnerWindow {
public:
    OwnerWindow(int x, int y, int width, int height)
        : window_(CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPED | WS_VISIBLE, x, y, width, height, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr)) {}
    ~OwnerWindow() {
        if (IsWindow(window_)) DestroyWindow(window_);
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

class BUILDER_SUITE(FormBuild) : public ::testing::Test {
protected:
    void SetUp() override { runtimetest::app.Reset(); }
    void TearDown() override {
        for (HWND form : built_) {
            if (IsWindow(form)) DestroyWindow(form);
        }
        runtimetest::app.Reset();
    }

    // The form built (modeless): its window, or null.
    HWND Build(FormTemplate& form, HWND parent = nullptr, LONG_PTR procedure = 0) {
        const runtime::FormBuild built = runtime::BuildForm(form.Finish(), parent, 0, procedure);
        if (built.outcome != runtime::FormBuild::Outcome::Window) return nullptr;
        built_.push_back(built.window);
        return built_.back();
    }

    runtimetest::RuntimeSession session_{buildertest::kWideRequest};
    std::vector<HWND> built_;
};

TEST_F(BUILDER_SUITE(FormBuild), FormsStandWhereTheirStartPositionSays) {
    OwnerWindow parent(100, 80, 400, 300);
    ASSERT_NE(parent.get(), nullptr);
    const RECT area = WorkArea();
    const LONG areaWidth = area.right - area.left;
    const LONG areaHeight = area.bottom - area.top;
    struct PositionCase {
        const char* name;
        int32_t startPosition;
        bool withParent;
        LONG left;
        LONG top;
    };
    const PositionCase cases[] = {
        {"centred on the work area", runtime::start_position::CenterScreen, false,
         area.left + areaWidth / 2 - 103, area.top + areaHeight / 2 - 102},
        {"centred on the parent", runtime::start_position::CenterParent, true, 100 + 200 - 103, 80 + 150 - 102},
        {"centred without a parent", runtime::start_position::CenterParent, false,
         area.left + areaWidth / 2 - 103, area.top + areaHeight / 2 - 102},
        {"manual", runtime::start_position::Manual, true, 33, 44},
    };
    for (const PositionCase& c : cases) {
        FormTemplate form(form_kind::Window, 206, 204);
        form.Form().StartPosition = c.startPosition;
        form.Form().Left = 33;
        form.Form().Top = 44;
        HWND window = Build(form, c.withParent ? parent.get() : nullptr);
        ASSERT_NE(window, nullptr) << c.name;
        const RECT rect = WindowRect(window);
        EXPECT_EQ(rect.left, c.left) << c.name;
        EXPECT_EQ(rect.top, c.top) << c.name;
        EXPECT_EQ(rect.right - rect.left, 206) << c.name;
        const RuntimeRecord* record = runtime::FindWindowRecord(window);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->Left, rect.left) << c.name << ": the record holds the place";
        EXPECT_EQ(record->Top, rect.top) << c.name;
    }

    FormTemplate systemPlaced(form_kind::Window, 206, 204);
    systemPlaced.Form().StartPosition = runtime::start_position::SystemDefault;
    HWND window = Build(systemPlaced);
    ASSERT_NE(window, nullptr);
    const RECT rect = WindowRect(window);
    EXPECT_NE(rect.left, static_cast<LONG>(CW_USEDEFAULT)) << "the system chose a place";
    EXPECT_EQ(runtime::FindWindowRecord(window)->Left, rect.left);
}

TEST_F(BUILDER_SUITE(FormBuild), TwipsAreConvertedBothWays) {
    FormTemplate form(form_kind::Window, 206 * 15, 204 * 15);
    form.Form().ScaleMode = runtime::scale_mode::Twips;
    form.Form().Left = 1500;
    form.Form().Top = 3000;
    HWND window = Build(form);
    ASSERT_NE(window, nullptr);
    const RECT rect = WindowRect(window);
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 200);
    EXPECT_EQ(rect.right - rect.left, 206);
    const RuntimeRecord* record = runtime::FindWindowRecord(window);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Left, 1500);
    EXPECT_EQ(record->Width, 206 * 15);
}

TEST_F(BUILDER_SUITE(FormBuild), ADialogFormPlacesItsControlsByDialogUnits) {
    FormTemplate form(form_kind::Dialog, 0, 0);
    form.Form().DialogId = kDialog;
    form.Form().StartPosition = runtime::start_position::CenterScreen;
    form.Form().WindowProc = runtimetest::ScriptedAppSlot();
    TemplateRecord label = form.Control(class_code::Label, 1, "Label", 10, 10, 50, 14);
    label.Text = form.Text("Units");
    form.Add(label);
    form.Form().ControlCount = 1;
    HWND dialog = Build(form, nullptr, 0x1234);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ClassOf(dialog), L"BKRUNDIALOGBOXProject1");

    RECT mapped{10, 10, 50, 14};
    ASSERT_TRUE(MapDialogRect(dialog, &mapped));
    HWND control = GetDlgItem(dialog, 1001);
    ASSERT_NE(control, nullptr);
    RECT rect = WindowRect(control);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, mapped.left);
    EXPECT_EQ(rect.top, mapped.top);
    EXPECT_EQ(rect.right - rect.left, mapped.right) << "the width maps as an edge of its own";
    EXPECT_EQ(rect.bottom - rect.top, mapped.bottom);
    const RuntimeRecord* record = runtime::FindWindowRecord(control);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Left, mapped.left) << "the record then holds pixels";
    EXPECT_EQ(record->Width, mapped.right);

    auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    auto controlFont = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    LOGFONTW dialogDescription{};
    LOGFONTW controlDescription{};
    if (dialogFont != nullptr) {
        GetObjectW(dialogFont, sizeof dialogDescription, &dialogDescription);
        GetObjectW(controlFont, sizeof controlDescription, &controlDescription);
        EXPECT_EQ(std::wstring(controlDescription.lfFaceName), dialogDescription.lfFaceName) << "the dialog's font";
        EXPECT_EQ(controlDescription.lfHeight, dialogDescription.lfHeight);
        EXPECT_NE(controlFont, dialogFont) << "a copy the control owns";
    }

    const RECT placed = WindowRect(dialog);
    const RECT area = WorkArea();
    EXPECT_EQ(placed.left, area.left + (area.right - area.left) / 2 - (placed.right - placed.left) / 2)
        << "centred by its own size";
    const std::vector<runtimetest::Seen> init = runtimetest::app.All(WM_INITDIALOG);
    ASSERT_EQ(init.size(), 1u);
    EXPECT_EQ(init[0].lParam, 0x1234) << "the procedure value reaches the dialog's initialisation";
}

TEST_F(BUILDER_SUITE(FormBuild), ARefusedFormYieldsMinusOneAndIsGone) {
    FormTemplate form;
    form.Form().WindowProc = runtimetest::ScriptedAppSlot();
    form.Add(form.Control(class_code::TextBox, 1, "Edit", 5, 5, 80, 22));
    form.Form().ControlCount = 1;
    runtimetest::app.answers[runtime::FRM_CREATED] = -1;
    EXPECT_TRUE(runtime::BuildForm(form.Finish(), nullptr, 0, 0).outcome == runtime::FormBuild::Outcome::Refused);
    const std::vector<runtimetest::Seen> created = runtimetest::app.All(runtime::FRM_CREATED);
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(created[0].wParam, 0u);
    EXPECT_EQ(created[0].lParam, 0);
    EXPECT_FALSE(IsWindow(created[0].window)) << "the refused window is destroyed";
}

TEST_F(BUILDER_SUITE(FormBuild), AModalFormReturnsItsModalResult) {
    OwnerWindow owner(0, 0, 200, 100);
    ASSERT_NE(owner.get(), nullptr);
    struct ModalCase {
        const char* name;
        int32_t kind;
        LRESULT answer;  // to the creation notice
        int32_t result;
    };
    const ModalCase cases[] = {
        {"window", form_kind::Window, 0, 42},
        {"dialog", form_kind::Dialog, 0, 17},
        {"refused", form_kind::Window, -1, -1},
    };
    for (const ModalCase& c : cases) {
        runtimetest::app.Reset();
        FormTemplate form(c.kind);
        form.Form().DialogId = kDialog;
        form.Form().WindowProc = runtimetest::ScriptedAppSlot();
        runtimetest::app.answers[runtime::FRM_CREATED] = c.answer;
        bool ownerWasDisabled = false;
        HWND seenOwner = nullptr;
        runtimetest::app.onMessage = [&](HWND window, UINT message, WPARAM, LPARAM) {
            if (message == runtime::FRM_CREATED) PostMessageW(window, WM_APP, 0, 0);
            if (message == WM_APP) {
                ownerWasDisabled = !IsWindowEnabled(owner.get());
                seenOwner = reinterpret_cast<HWND>(static_cast<LONG_PTR>(runtime::GetModalOwner(window)));
                runtime::CloseModal(window, c.result);
            }
        };
        const runtime::FormBuild built = runtime::BuildForm(form.Finish(), owner.get(), 1, 0);
        // A refused form (-1 in the table) has no modal result.
        const int32_t result = built.outcome == runtime::FormBuild::Outcome::Refused ? -1 : built.modalResult;
        EXPECT_EQ(result, c.result) << c.name;
        EXPECT_TRUE(built.outcome == (c.answer == 0 ? runtime::FormBuild::Outcome::ModalEnded
                                                    : runtime::FormBuild::Outcome::Refused)) << c.name;
        EXPECT_TRUE(IsWindowEnabled(owner.get())) << c.name << ": the owner is enabled again";
        if (c.answer == 0) {
            EXPECT_TRUE(ownerWasDisabled) << c.name << ": the owner is disabled while the form runs";
            EXPECT_EQ(seenOwner, owner.get()) << c.name;
        }
        runtimetest::app.onMessage = nullptr;
    }
}

TEST_F(BUILDER_SUITE(FormBuild), TheQuitMessageOutlivesAModalLoop) {
    FormTemplate form;
    form.Form().WindowProc = runtimetest::ScriptedAppSlot();
    HWND modalWindow = nullptr;
    runtimetest::app.onMessage = [&](HWND window, UINT message, WPARAM, LPARAM) {
        if (message == runtime::FRM_CREATED) {
            modalWindow = window;
            PostQuitMessage(7);
        }
    };
    runtime::BuildForm(form.Finish(), nullptr, 1, 0);
    runtimetest::app.onMessage = nullptr;
    ASSERT_TRUE(IsWindow(modalWindow)) << "the loop ended on the quit message, the form still open";
    DestroyWindow(modalWindow);
    const runtimetest::QueuedQuit quit = runtimetest::TakeQueuedMessages();
    EXPECT_TRUE(quit.posted) << "the quit message is there for the main loop";
    EXPECT_EQ(quit.code, 7u);
}

// A form whose template has no controls registers no tools, even when it has a runtime child
// with a tooltip text: the application makes one while the form is created, before the tools
// would be registered.
TEST_F(BUILDER_SUITE(FormBuild), AFormWithoutControlsHasNoChildArrayAndNoTools) {
    FormTemplate form;
    form.Form().ToolTips = runtime::tooltip_mode::Balloon;
    form.Form().WindowProc = runtimetest::ScriptedAppSlot();
    HWND madeByTheApplication = nullptr;
    runtimetest::app.onMessage = [&](HWND window, UINT message, WPARAM, LPARAM) {
        if (message != WM_NCCREATE || madeByTheApplication != nullptr) return;
        RuntimeRecord* record = runtimetest::NewRecord(class_code::TextBox);
        record->ToolTip = runtimetest::HeapText("a tip");
        madeByTheApplication = runtimetest::AttachControl(record, "EDIT", 0, window, 9);
    };
    HWND window = Build(form);
    runtimetest::app.onMessage = nullptr;
    ASSERT_NE(window, nullptr);
    ASSERT_NE(madeByTheApplication, nullptr) << "the application's child is there";
    ASSERT_EQ(GetParent(madeByTheApplication), window);
    const RuntimeRecord* record = runtime::FindWindowRecord(window);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->Children, 0u);
    auto tooltip = runtime::SlotAs<HWND>(record->ToolTip);
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(tooltip, GWL_STYLE) & (TTS_ALWAYSTIP | TTS_BALLOON), TTS_ALWAYSTIP | TTS_BALLOON);
    EXPECT_EQ(GetWindow(tooltip, GW_OWNER), window);
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 0) << "tools registered";
}

TEST_F(BUILDER_SUITE(FormBuild), CaptionMenuIconsAndCloseCommand) {
    struct MenuCase {
        uint32_t menu;
        bool attached;
    };
    const MenuCase cases[] = {{kMenu, true}, {kMissingMenu, false}};
    for (const MenuCase& c : cases) {
        FormTemplate form;
        form.Form().Menu = c.menu;
        form.Form().Icon = kIcon;
        form.Form().SmallIcon = kIcon;
        form.Form().NoClose = 1;
        HWND window = Build(form);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(WindowText(window), L"Builder test form");
        const RuntimeRecord* record = runtime::FindWindowRecord(window);
        ASSERT_NE(record, nullptr);
        if (c.attached) {
            HMENU menu = GetMenu(window);
            ASSERT_NE(menu, nullptr);
            EXPECT_EQ(runtime::SlotAs<HMENU>(record->Menu), menu);
            wchar_t text[32] = {};
            GetMenuStringW(menu, 0, text, 32, MF_BYPOSITION);
            EXPECT_EQ(std::wstring(text), L"&File");
        } else {
            EXPECT_EQ(GetMenu(window), nullptr);
            EXPECT_EQ(record->Menu, static_cast<uint32_t>(kMissingMenu)) << "a menu that does not load stays as it was";
        }
        EXPECT_NE(SendMessageW(window, WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_EQ(static_cast<uint32_t>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0)), record->SmallIcon);
        EXPECT_GE(record->Icon, 0x10000u) << "the icon resource became an icon";
        const UINT close = GetMenuState(GetSystemMenu(window, FALSE), SC_CLOSE, MF_BYCOMMAND);
        EXPECT_NE(close & MF_GRAYED, 0u) << "the Close command is greyed";
    }
}

TEST_F(BUILDER_SUITE(FormBuild), FontColoursPenAndVisibility) {
    struct ShowCase {
        int32_t visible;
        int32_t state;
        bool shown;
        bool zoomed;
        bool iconic;
    };
    const ShowCase cases[] = {
        {1, 0, true, false, false},
        {1, 2, true, true, false},
        {1, 1, true, false, true},
        // A state that names none is shown normal (state + 1 would be the minimise command).
        {1, 5, true, false, false},
        {0, 0, false, false, false},
    };
    for (const ShowCase& c : cases) {
        FormTemplate form;
        form.Form().Visible = c.visible;
        form.Form().WindowState = c.state;
        HWND window = Build(form);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(IsWindowVisible(window) != 0, c.shown) << "visible " << c.visible;
        EXPECT_EQ(IsZoomed(window) != 0, c.zoomed) << "state " << c.state;
        EXPECT_EQ(IsIconic(window) != 0, c.iconic) << "state " << c.state;
        const RuntimeRecord* record = runtime::FindWindowRecord(window);
        ASSERT_NE(record, nullptr);
        // Read back before the form is shown: showing adds the visible, maximised and minimised
        // bits.
        const auto shownBits = static_cast<uint32_t>(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
        const auto style = static_cast<uint32_t>(GetWindowLongPtrW(window, GWL_STYLE));
        EXPECT_EQ(record->Style & ~shownBits, style & ~shownBits)
            << std::hex << "the style read back from the window, " << record->Style;
        EXPECT_EQ(record->Style & shownBits, 0u);
        auto font = runtime::SlotAs<HFONT>(record->FontHandle);
        LOGFONTW description{};
        ASSERT_NE(GetObjectW(font, sizeof description, &description), 0);
        EXPECT_EQ(description.lfHeight, -11) << "8 points at 96 dpi";
        EXPECT_EQ(record->BackColorRgb, GetSysColor(COLOR_BTNFACE));
        EXPECT_EQ(runtime::SlotAs<HBRUSH>(record->BackBrush), GetSysColorBrush(COLOR_BTNFACE));
        EXPECT_EQ(record->ForeColorRgb, GetSysColor(COLOR_BTNTEXT));
        EXPECT_NE(record->Pen, 0u) << "a window form's drawing pen";
        EXPECT_EQ(runtime::SlotAs<HWND>(record->FocusWindow), window);
    }
    EXPECT_GE(runtime::framePenUsers, 3);
    EXPECT_NE(runtime::lightFramePen, nullptr);
}

TEST_F(BUILDER_SUITE(FormBuild), TheFormsPictureAndTimerAreTakenOver) {
    HBITMAP picture = CreateBitmap(8, 8, 1, 32, nullptr);
    ASSERT_NE(picture, nullptr);
    FormTemplate form;
    form.Form().Picture = runtime::ToSlot(picture);
    form.Form().ClassValue4 = 20;
    form.Form().WindowProc = runtimetest::ScriptedAppSlot();
    HWND window = Build(form);
    ASSERT_NE(window, nullptr);
    const RuntimeRecord* record = runtime::FindWindowRecord(window);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(runtime::SlotAs<HBITMAP>(record->Picture), picture);
    EXPECT_EQ(GetObjectType(picture), static_cast<DWORD>(OBJ_BITMAP)) << "setting the same picture keeps it alive";
    EXPECT_EQ(record->ImageKind, runtime::image_kind::Bitmap);
    EXPECT_EQ(record->ImageWidth, 8);

    EXPECT_EQ(record->TimerId, 2);
    const DWORD until = GetTickCount() + 3000;
    MSG message;
    while (runtimetest::app.Count(WM_TIMER) == 0 && GetTickCount() < until) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        Sleep(5);
    }
    const std::vector<runtimetest::Seen> ticks = runtimetest::app.All(WM_TIMER);
    ASSERT_FALSE(ticks.empty()) << "the form's timer runs";
    EXPECT_EQ(ticks[0].wParam, 2u);
}

TEST_F(BUILDER_SUITE(FormBuild), TheSameTemplateBuildsAgain) {
    runtime::ToolbarButtonItem buttons[1] = {{0, 700, TBSTATE_ENABLED, BTNS_BUTTON, {0, 0}, 0, 0}};
    FormTemplate form;
    buttons[0].Data = form.Text("Run");
    TemplateRecord toolbar = form.Control(class_code::Toolbar, 1, "Tools", 0, 0, 200, 30,
                                          WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE);
    toolbar.Items = runtime::ToSlot(buttons);
    toolbar.ItemCount = 1;
    form.Add(toolbar);
    TemplateRecord label = form.Control(class_code::Label, 2, "Label", 5, 40, 100, 16);
    label.Text = form.Text("Again");
    form.Add(label);
    form.Form().ControlCount = 2;
    const TemplateRecord* finished = form.Finish();
    for (int round = 0; round < 2; ++round) {
        auto window = runtime::BuildForm(finished, nullptr, 0, 0).window;
        ASSERT_TRUE(IsWindow(window)) << "round " << round;
        wchar_t text[16] = {};
        SendMessageW(GetDlgItem(window, 1001), TB_GETBUTTONTEXTW, 700, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wstring(text), L"Run") << "round " << round;
        EXPECT_EQ(WindowText(GetDlgItem(window, 1002)), L"Again") << "round " << round;
        DestroyWindow(window);
    }
}

TEST_F(BUILDER_SUITE(FormBuild), MdiChildrenLiveInTheFramesClient) {
    FormTemplate frame(form_kind::MdiFrame, 500, 400);
    frame.Form().Style |= WS_HSCROLL | WS_VSCROLL;
    frame.Form().ExStyle |= WS_EX_CLIENTEDGE;
    HWND frameWindow = Build(frame);
    ASSERT_NE(frameWindow, nullptr);
    EXPECT_EQ(ClassOf(frameWindow), L"BKRUNMDIWINDOWProject1");
    EXPECT_EQ(GetWindowLongPtrW(frameWindow, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0) << "the client scrolls, not the frame";
    EXPECT_EQ(GetWindowLongPtrW(frameWindow, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    const RuntimeRecord* frameRecord = runtime::FindWindowRecord(frameWindow);
    ASSERT_NE(frameRecord, nullptr);
    EXPECT_NE(GetMenu(frameWindow), nullptr) << "an empty menu for the frame";
    auto client = runtime::SlotAs<HWND>(frameRecord->MdiClient);
    ASSERT_NE(client, nullptr);

    FormTemplate child(form_kind::Window, 200, 150);
    child.Form().MdiChild = 1;
    child.Form().Left = 10;
    child.Form().Top = 20;
    child.Form().Style = WS_CHILD | WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    HWND childWindow = Build(child, client);
    ASSERT_NE(childWindow, nullptr);
    EXPECT_EQ(ClassOf(childWindow), L"BKRUNMDICHILDWINDOW");
    EXPECT_EQ(GetParent(childWindow), client);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(client, WM_MDIGETACTIVE, 0, 0)), childWindow)
        << "the MDI client manages it";
    RECT rect = WindowRect(childWindow);
    MapWindowPoints(nullptr, client, reinterpret_cast<POINT*>(&rect), 2);
    const RuntimeRecord* childRecord = runtime::FindWindowRecord(childWindow);
    ASSERT_NE(childRecord, nullptr);
    EXPECT_EQ(childRecord->Left, rect.left) << "relative to the MDI client";
    EXPECT_EQ(childRecord->Top, rect.top);
}

}  // namespace
