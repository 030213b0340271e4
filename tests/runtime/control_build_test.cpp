// The controls of a built form: one of every class code with its class, identifier, style,
// text and class-specific state, and the containers (group box, picture box, rebar) with their
// children and bands.

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <functional>
#include <string>
#include <vector>

#include "builder_test_resources.h"
#include "built_form_fixture.h"
#include "runtime/build/control_setup.h"
#include "runtime/process/application.h"
#include "runtime/process/window_table.h"
#include "runtime/template/template_items.h"
#include "runtime/template/template_values.h"
#include "runtime/window/child_subclass_proc.h"
#include "runtime/window/window_proc.h"

namespace {

using buildertest::ClassOf;
using buildertest::FormTemplate;
using buildertest::MeasureInFontOf;
using buildertest::ProcValue;
using buildertest::RuntimeText;
using buildertest::WindowProcOf;
using buildertest::WindowText;
using runtime::RuntimeRecord;
using runtime::TemplateRecord;
namespace class_code = runtime::class_code;

class BUILDER_SUITE(ControlBuild) : public buildertest::BuiltFormTest {};

struct ClassCase {
    int32_t type;
    int32_t index;
    const wchar_t* className;
    const wchar_t* text;  // the window text, null when not checked
    std::function<void(TemplateRecord&, FormTemplate&)> setUp;
    std::function<void(HWND, const RuntimeRecord&)> check;
};

const char kBandChildName[] = "BandEdit";

void ExpectScrollState(HWND scrollBar, int minimum, int maximum, UINT page, int position) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(scrollBar, SB_CTL, &info);
    EXPECT_EQ(info.nMin, minimum);
    EXPECT_EQ(info.nMax, maximum);
    EXPECT_EQ(info.nPage, page);
    EXPECT_EQ(info.nPos, position);
}

// Item arrays of the template (the builder must leave them as they are).
runtime::ToolbarButtonItem toolbarButtons[3];
runtime::StatusPartItem statusParts[3];
runtime::TabItem tabs[2];
runtime::HeaderItem headerItems[2];
runtime::ImageListItem images[2];
runtime::RebarBandItem bands[2];

std::vector<ClassCase> ClassCases() {
    return {
        {class_code::Label, 11, L"Static", L"Text from the table",
         [](TemplateRecord& r, FormTemplate&) { r.Text = kTableText; },
         [](HWND w, const RuntimeRecord& r) {
             EXPECT_EQ(r.ImageHeight, MeasureInFontOf(w, L"Text from the table").size.cy)
                 << "the caption's height in the label's font";
         }},
        {class_code::TextBox, 3, L"Edit", L"COM1",
         [](TemplateRecord& r, FormTemplate& t) {
             r.Text = t.Text("COM1");
             r.MaxLength = 5;
             r.PasswordChar = '*';
             r.Style |= ES_AUTOHSCROLL;
         },
         [](HWND w, const RuntimeRecord&) {
             EXPECT_EQ(SendMessageW(w, EM_GETLIMITTEXT, 0, 0), 5);
             EXPECT_EQ(SendMessageW(w, EM_GETPASSWORDCHAR, 0, 0), '*');
         }},
        {class_code::PushButton, 8, L"Button", L"Go", [](TemplateRecord& r, FormTemplate& t) { r.Text = t.Text("Go"); },
         nullptr},
        {class_code::CheckBox, 9, L"Button", L"Check",
         [](TemplateRecord& r, FormTemplate& t) {
             r.Text = t.Text("Check");
             r.Style |= BS_AUTOCHECKBOX;
             r.Value = 1;
         },
         [](HWND w, const RuntimeRecord&) { EXPECT_EQ(SendMessageW(w, BM_GETCHECK, 0, 0), BST_CHECKED); }},
        {class_code::OptionButton, 0, L"Button", L"Option",
         [](TemplateRecord& r, FormTemplate& t) {
             r.Text = t.Text("Option");
             r.Style |= BS_AUTORADIOBUTTON;
         },
         [](HWND w, const RuntimeRecord&) {
             EXPECT_EQ(SendMessageW(w, BM_GETCHECK, 0, 0), BST_CHECKED) << "the first automatic option starts checked";
         }},
        {class_code::ListBox, 10, L"ListBox", nullptr,
         [](TemplateRecord& r, FormTemplate& t) { r.Text = t.Text("First"); },
         [](HWND w, const RuntimeRecord&) {
             ASSERT_EQ(SendMessageW(w, LB_GETCOUNT, 0, 0), 1);
             wchar_t item[32] = {};
             SendMessageW(w, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
             EXPECT_EQ(std::wstring(item), L"First");
         }},
        {class_code::ComboBox, 12, L"ComboBox", nullptr,
         [](TemplateRecord& r, FormTemplate& t) {
             r.Text = t.Text("Alpha");
             r.Style |= CBS_DROPDOWN;
             r.MaxLength = 5;
         },
         [](HWND w, const RuntimeRecord& r) {
             EXPECT_EQ(SendMessageW(w, CB_GETCOUNT, 0, 0), 1);
             const auto itemHeight = static_cast<int32_t>(SendMessageW(w, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
             EXPECT_EQ(r.ImageHeight, itemHeight);
             RECT field{};
             GetWindowRect(w, &field);
             RECT dropped{};
             SendMessageW(w, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
             // The combo box was made 5 items + its field + 2 pixels high; the dropped rectangle
             // counts the field in or not, by the system's version.
             const int32_t fieldHeight = field.bottom - field.top;
             const int32_t list = dropped.bottom - dropped.top;
             EXPECT_TRUE(list == 5 * itemHeight + 2 || list == 5 * itemHeight + 2 + fieldHeight)
                 << "dropped height " << list << ", item height " << itemHeight << ", field " << fieldHeight;
             HWND edit = GetWindow(w, GW_CHILD);
             ASSERT_NE(edit, nullptr);
             EXPECT_EQ(WindowProcOf(edit), ProcValue(&runtime::ChildSubclassProc));
             EXPECT_NE(GetWindowLongPtrW(edit, GWLP_USERDATA), 0) << "the field's own procedure is kept";
         }},
        {class_code::Image, 15, L"Static", nullptr,
         [](TemplateRecord& r, FormTemplate&) {
             r.Style |= SS_BITMAP;
             r.Picture = kImageBitmap;
         },
         [](HWND w, const RuntimeRecord& r) {
             EXPECT_NE(SendMessageW(w, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
             EXPECT_EQ(r.ImageKind, runtime::image_kind::Bitmap);
             EXPECT_EQ(r.ImageWidth, 16);
             EXPECT_GE(r.Picture, 0x10000u) << "the resource became a bitmap";
         }},
        {class_code::ScrollBar, 16, L"ScrollBar", nullptr,
         [](TemplateRecord& r, FormTemplate&) {
             r.Style |= SBS_HORZ;
             r.Min = 5;
             r.Max = 50;
             r.Alignment = 10;
             r.Value = 20;
         },
         [](HWND w, const RuntimeRecord&) { ExpectScrollState(w, 5, 50, 10, 20); }},
        {class_code::ScrollBarAlt, 17, L"ScrollBar", nullptr,
         [](TemplateRecord& r, FormTemplate&) {
             r.Style |= SBS_VERT;
             r.Max = 100;
             r.Value = 7;
         },
         [](HWND w, const RuntimeRecord&) { ExpectScrollState(w, 0, 100, 0, 7); }},
        {class_code::RichTextBox, 18, L"RichEdit20A", L"Rich",
         [](TemplateRecord& r, FormTemplate& t) {
             r.Text = t.Text("Rich");
             r.MaxLength = 40;
         },
         [](HWND w, const RuntimeRecord&) { EXPECT_EQ(SendMessageW(w, EM_GETLIMITTEXT, 0, 0), 40); }},
        {class_code::TreeView, 19, L"SysTreeView32", nullptr,
         [](TemplateRecord& r, FormTemplate&) {
             r.ClassValue1 = 30;
             r.BackColor = 0x000000FF;
             r.ForeColor = 0x00FF0000;
         },
         [](HWND w, const RuntimeRecord& r) {
             EXPECT_EQ(SendMessageW(w, TVM_GETINDENT, 0, 0), 30);
             EXPECT_EQ(SendMessageW(w, TVM_GETBKCOLOR, 0, 0), 0x0000FF) << "the colour is told, not painted";
             EXPECT_EQ(SendMessageW(w, TVM_GETTEXTCOLOR, 0, 0), 0xFF0000);
             EXPECT_EQ(r.BackBrush, 0u) << "a tree view gets no brush";
         }},
        {class_code::ListView, 22, L"SysListView32", nullptr,
         [](TemplateRecord& r, FormTemplate&) { r.Alignment = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT; },
         [](HWND w, const RuntimeRecord&) {
             EXPECT_EQ(SendMessageW(w, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
         }},
        {class_code::Toolbar, 23, L"ToolbarWindow32", nullptr,
         [](TemplateRecord& r, FormTemplate& t) {
             r.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
             r.Picture = kStripBitmap;
             r.ImageWidth = 16;
             r.ClassValue1 = 22;
             r.ClassValue2 = 24;
             const uint32_t texts[3] = {t.Text("New"), kTableButton, 0};
             for (int i = 0; i < 3; ++i) {
                 toolbarButtons[i] = runtime::ToolbarButtonItem{i, 501 + i, TBSTATE_ENABLED, BTNS_BUTTON, {0, 0}, texts[i], i};
             }
             r.Items = runtime::ToSlot(toolbarButtons);
             r.ItemCount = 3;
         },
         [](HWND w, const RuntimeRecord&) {
             ASSERT_EQ(SendMessageW(w, TB_BUTTONCOUNT, 0, 0), 3);
             const wchar_t* expected[3] = {L"New", L"Open", L" "};
             for (int i = 0; i < 3; ++i) {
                 wchar_t text[32] = {};
                 SendMessageW(w, TB_GETBUTTONTEXTW, static_cast<WPARAM>(501 + i), reinterpret_cast<LPARAM>(text));
                 EXPECT_EQ(std::wstring(text), expected[i]) << "button " << i;
                 TBBUTTON button{};
                 SendMessageW(w, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
                 EXPECT_EQ(RuntimeText(static_cast<uint32_t>(button.dwData)), i == 2 ? L"" : expected[i])
                     << "the button's data is its loaded text";
             }
             auto list = reinterpret_cast<HIMAGELIST>(SendMessageW(w, TB_GETIMAGELIST, 0, 0));
             ASSERT_NE(list, nullptr);
             EXPECT_EQ(ImageList_GetImageCount(list), 3);
             EXPECT_EQ(toolbarButtons[1].Data, static_cast<uint32_t>(kTableButton)) << "the template is not written";
             EXPECT_EQ(toolbarButtons[2].Data, 0u);
             EXPECT_TRUE(IsWindowVisible(w));
         }},
        {class_code::StatusBar, 24, L"msctls_statusbar32", nullptr,
         [](TemplateRecord& r, FormTemplate& t) {
             r.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
             r.Text = t.Text("Simple");
             statusParts[0] = {100, 0, t.Text("One")};
             statusParts[1] = {50, SBT_POPOUT, t.Text("Two")};
             statusParts[2] = {-1, 0, kTableText};
             r.Items = runtime::ToSlot(statusParts);
             r.ItemCount = 3;
         },
         [](HWND w, const RuntimeRecord&) {
             int edges[4] = {};
             ASSERT_EQ(SendMessageW(w, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 3);
             EXPECT_EQ(edges[0], 100);
             EXPECT_EQ(edges[1], 150);
             EXPECT_EQ(edges[2], -1);
             wchar_t text[64] = {};
             const LRESULT second = SendMessageW(w, SB_GETTEXTW, 1, reinterpret_cast<LPARAM>(text));
             EXPECT_EQ(std::wstring(text), L"Two");
             EXPECT_EQ(HIWORD(second), SBT_POPOUT) << "the part keeps its drawing flags";
             SendMessageW(w, SB_GETTEXTW, 2, reinterpret_cast<LPARAM>(text));
             EXPECT_EQ(std::wstring(text), L"Text from the table");
             EXPECT_FALSE(SendMessageW(w, SB_ISSIMPLE, 0, 0));
         }},
        {class_code::ProgressBar, 25, L"msctls_progress32", nullptr,
         [](TemplateRecord& r, FormTemplate&) {
             r.Min = 10;
             r.Max = 90;
             r.Value = 40;
         },
         [](HWND w, const RuntimeRecord&) {
             EXPECT_EQ(SendMessageW(w, PBM_GETRANGE, TRUE, 0), 10);
             EXPECT_EQ(SendMessageW(w, PBM_GETRANGE, FALSE, 0), 90);
             EXPECT_EQ(SendMessageW(w, PBM_GETPOS, 0, 0), 40);
         }},
        {class_code::Trackbar, 26, L"msctls_trackbar32", nullptr,
         [](TemplateRecord& r, FormTemplate&) {
             r.Style |= TBS_ENABLESELRANGE | TBS_AUTOTICKS;
             r.Max = 20;
             r.Value = 5;
             r.ClassValue5 = 5;
             r.ClassValue3 = 2;
             r.SelEnd = 8;
         },
         [](HWND w, const RuntimeRecord&) {
             EXPECT_EQ(SendMessageW(w, TBM_GETRANGEMIN, 0, 0), 0);
             EXPECT_EQ(SendMessageW(w, TBM_GETRANGEMAX, 0, 0), 20);
             EXPECT_EQ(SendMessageW(w, TBM_GETPOS, 0, 0), 5);
             EXPECT_EQ(SendMessageW(w, TBM_GETSELSTART, 0, 0), 2);
             EXPECT_EQ(SendMessageW(w, TBM_GETSELEND, 0, 0), 8);
             EXPECT_EQ(SendMessageW(w, TBM_GETNUMTICS, 0, 0), 5) << "ticks every 5 from 0 to 20";
         }},
        {class_code::TabControl, 27, L"SysTabControl32", nullptr,
         [](TemplateRecord& r, FormTemplate& t) {
             tabs[0] = t.Text("One");
             tabs[1] = kTableTab;
             r.Items = runtime::ToSlot(tabs);
             r.ItemCount = 2;
         },
         [](HWND w, const RuntimeRecord&) {
             ASSERT_EQ(SendMessageW(w, TCM_GETITEMCOUNT, 0, 0), 2);
             EXPECT_EQ(SendMessageW(w, TCM_GETCURSEL, 0, 0), 0);
             wchar_t text[32] = {};
             TCITEMW item{};
             item.mask = TCIF_TEXT;
             item.pszText = text;
             item.cchTextMax = 32;
             SendMessageW(w, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
             EXPECT_EQ(std::wstring(text), L"Tab two");
         }},
        {class_code::UpDown, 28, L"msctls_updown32", nullptr,
         [](TemplateRecord& r, FormTemplate&) {
             r.Min = -5;
             r.Max = 15;
             r.Value = 3;
         },
         [](HWND w, const RuntimeRecord& r) {
             int low = 0;
             int high = 0;
             SendMessageW(w, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
             EXPECT_EQ(low, -5);
             EXPECT_EQ(high, 15);
             EXPECT_EQ(LOWORD(SendMessageW(w, UDM_GETPOS, 0, 0)), 3);
             RECT rect{};
             GetWindowRect(w, &rect);
             MapWindowPoints(nullptr, GetParent(w), reinterpret_cast<POINT*>(&rect), 2);
             EXPECT_EQ(rect.left, r.Left) << "back on its own place";
             EXPECT_EQ(rect.top, r.Top);
             EXPECT_EQ(rect.right - rect.left, r.Width);
         }},
        {class_code::Animation, 29, L"SysAnimate32", nullptr, nullptr, nullptr},
        {class_code::IpAddress, 30, L"SysIPAddress32", nullptr, nullptr,
         [](HWND w, const RuntimeRecord&) {
             int fields = 0;
             for (HWND f = GetWindow(w, GW_CHILD); f != nullptr; f = GetWindow(f, GW_HWNDNEXT), ++fields) {
                 EXPECT_EQ(WindowProcOf(f), ProcValue(&runtime::ChildSubclassProc));
             }
             EXPECT_EQ(fields, 4);
             EXPECT_NE(runtime::ipFieldProc, nullptr) << "the fields' own procedure is kept";
         }},
        {class_code::ComboBoxEx, 31, L"ComboBoxEx32", nullptr,
         [](TemplateRecord& r, FormTemplate&) { r.Style |= CBS_DROPDOWN; },
         [](HWND w, const RuntimeRecord&) {
             auto combo = reinterpret_cast<HWND>(SendMessageW(w, CBEM_GETCOMBOCONTROL, 0, 0));
             ASSERT_NE(combo, nullptr);
             EXPECT_EQ(WindowProcOf(combo), ProcValue(&runtime::ChildSubclassProc));
             EXPECT_NE(GetWindowLongPtrW(combo, GWLP_USERDATA), 0);
             HWND edit = GetWindow(combo, GW_CHILD);
             ASSERT_NE(edit, nullptr);
             EXPECT_EQ(WindowProcOf(edit), ProcValue(&runtime::ChildSubclassProc));
         }},
        {class_code::MonthCalendar, 32, L"SysMonthCal32", nullptr, nullptr, nullptr},
        {class_code::DateTimePicker, 33, L"SysDateTimePick32", nullptr, nullptr, nullptr},
        {class_code::HotKey, 34, L"msctls_hotkey32", nullptr, nullptr, nullptr},
        {class_code::Pager, 35, L"SysPager", nullptr,
         [](TemplateRecord& r, FormTemplate&) { r.ClassValue2 = 18; },
         [](HWND w, const RuntimeRecord&) {
             EXPECT_EQ(SendMessageW(w, PGM_GETBUTTONSIZE, 0, 0), 18);
             EXPECT_EQ(SendMessageW(w, PGM_GETBORDER, 0, 0), 0);
             EXPECT_EQ(static_cast<COLORREF>(SendMessageW(w, PGM_GETBKCOLOR, 0, 0)), GetSysColor(COLOR_BTNFACE));
         }},
        {class_code::ImageListHolder, 36, L"Static", nullptr,
         [](TemplateRecord& r, FormTemplate&) {
             r.ImageWidth = 16;
             r.ImageHeight = 16;
             r.Alignment = ILC_COLOR24;
             r.BackColor = runtime::kNoColor;
             images[0] = {0, kImageBitmap};
             images[1] = {1, kIcon};
             r.Items = runtime::ToSlot(images);
             r.ClassValue5 = 2;
         },
         [](HWND w, const RuntimeRecord& r) {
             EXPECT_FALSE(IsWindowVisible(w));
             auto list = runtime::SlotAs<HIMAGELIST>(r.ImageList);
             ASSERT_NE(list, nullptr);
             EXPECT_EQ(ImageList_GetImageCount(list), 2);
             EXPECT_EQ(ImageList_GetBkColor(list), CLR_NONE);
             EXPECT_EQ(r.BackColorRgb, runtime::kNoColor);
             // The list's 16-pixel icon was loaded for the list alone: the process's shared copy
             // of that icon still comes at the system's size.
             auto shared = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIcon),
                                                         IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
             ICONINFO info{};
             ASSERT_TRUE(GetIconInfo(shared, &info));
             BITMAP mask{};
             GetObjectW(info.hbmMask, sizeof mask, &mask);
             DeleteObject(info.hbmMask);
             if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
             EXPECT_EQ(mask.bmWidth, GetSystemMetrics(SM_CXICON));
         }},
        {class_code::Header, 37, L"SysHeader32", nullptr,
         [](TemplateRecord& r, FormTemplate& t) {
             r.Picture = t.Text("HEADERSTRIP");
             r.ImageWidth = 16;
             headerItems[0] = {2, 120, 1, t.Text("Name")};
             headerItems[1] = {0, 60, 2, kTableText};
             r.Items = runtime::ToSlot(headerItems);
             r.ItemCount = 2;
         },
         [](HWND w, const RuntimeRecord& r) {
             ASSERT_EQ(SendMessageW(w, HDM_GETITEMCOUNT, 0, 0), 2);
             auto list = reinterpret_cast<HIMAGELIST>(SendMessageW(w, HDM_GETIMAGELIST, 0, 0));
             ASSERT_NE(list, nullptr);
             EXPECT_EQ(ImageList_GetImageCount(list), 3);
             EXPECT_EQ(r.Picture, 0u);
             const struct {
                 int width;
                 int format;
                 int image;
                 const wchar_t* text;
             } expected[2] = {{120, HDF_STRING | HDF_CENTER | HDF_IMAGE, 1, L"Name"},
                              {60, HDF_STRING | HDF_RIGHT, -1, L"Text from the table"}};
             for (int i = 0; i < 2; ++i) {
                 wchar_t text[64] = {};
                 HDITEMW item{};
                 item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_IMAGE;
                 item.pszText = text;
                 item.cchTextMax = 64;
                 SendMessageW(w, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
                 EXPECT_EQ(item.cxy, expected[i].width) << "item " << i;
                 EXPECT_EQ(item.fmt & (HDF_STRING | HDF_JUSTIFYMASK | HDF_IMAGE), expected[i].format) << "item " << i;
                 if (expected[i].image >= 0) {
                     EXPECT_EQ(item.iImage, expected[i].image) << "item " << i;
                 }
                 EXPECT_EQ(std::wstring(text), expected[i].text) << "item " << i;
             }
         }},
    };
}

TEST_F(BUILDER_SUITE(ControlBuild), EveryClassCodeGetsItsWindowAndState) {
    ASSERT_NE(richEdit_, nullptr) << "the rich edit library";
    FormTemplate form(runtime::form_kind::Window, 900, 700);
    const std::vector<ClassCase> cases = ClassCases();
    std::vector<TemplateRecord> expected;
    int32_t left = 5;
    for (const ClassCase& c : cases) {
        TemplateRecord control = form.Control(c.type, c.index, "Control", left, 5 + (c.index % 6) * 60, 110, 50);
        if (c.setUp) c.setUp(control, form);
        expected.push_back(control);
        form.Add(control);
        left += 20;
    }
    form.Form().ControlCount = static_cast<int32_t>(cases.size());
    ASSERT_NE(Build(form), nullptr);

    for (std::size_t i = 0; i < cases.size(); ++i) {
        const ClassCase& c = cases[i];
        SCOPED_TRACE(testing::Message() << "class code " << c.type);
        HWND window = Control(c.index);
        ASSERT_NE(window, nullptr) << "no window with identifier " << 1000 + c.index;
        EXPECT_EQ(GetParent(window), form_);
        EXPECT_EQ(ClassOf(window), c.className);
        const auto style = static_cast<uint32_t>(GetWindowLongPtrW(window, GWL_STYLE));
        const uint32_t wanted = (expected[i].Style | WS_CHILD) & ~static_cast<uint32_t>(WS_VISIBLE);
        EXPECT_EQ(style & wanted, wanted) << std::hex << "style " << style;
        if (c.text != nullptr) {
            EXPECT_EQ(WindowText(window), c.text);
        }
        const RuntimeRecord* record = runtime::FindWindowRecord(window);
        ASSERT_NE(record, nullptr) << "the control is a runtime window";
        EXPECT_EQ(record->ControlId, 1000 + c.index);
        EXPECT_EQ(runtime::SlotAs<HWND>(record->Window), window);
        EXPECT_EQ(runtime::SlotAs<HWND>(record->OwnerForm), form_);
        EXPECT_EQ(WindowProcOf(window), ProcValue(&runtime::RuntimeWindowProc))
            << "taken over by the runtime";
        EXPECT_NE(record->ClassProc, 0u) << "its own procedure is kept";
        if (c.check) c.check(window, *record);
    }
}

TEST_F(BUILDER_SUITE(ControlBuild), ContainersHoldTheirChildrenAndRebarsTheirBands) {
    FormTemplate form(runtime::form_kind::Window, 600, 400);
    TemplateRecord group = form.Control(class_code::GroupBox, 20, "Frame", 4, 3, 113, 141, WS_VISIBLE | WS_CLIPCHILDREN);
    group.Text = form.Text("Coordinates");
    group.Alignment = 1;
    group.ControlCount = 1;
    form.Add(group);
    TemplateRecord x = form.Control(class_code::Label, 21, "X", 8, 51, 7, 13);
    x.Text = form.Text("X");
    form.Add(x);

    TemplateRecord picture = form.Control(class_code::PictureBox, 13, "Pic", 130, 3, 120, 100);
    picture.Text = form.Text("Pic");
    picture.Alignment = 2;
    picture.PrintedText = 0x1234;
    picture.ControlCount = 1;
    form.Add(picture);
    TemplateRecord inner = form.Control(class_code::PushButton, 14, "Inner", 10, 10, 60, 24);
    inner.Text = form.Text("Inner");
    form.Add(inner);

    TemplateRecord rebar = form.Control(class_code::Rebar, 38, "Bar", 0, 200, 500, 60,
                                        WS_VISIBLE | CCS_TOP | CCS_NOPARENTALIGN | CCS_NORESIZE | RBS_VARHEIGHT);
    bands[0] = runtime::RebarBandItem{0, 200, 20, 50, 0, 0, 0, 0, runtime::ToSlot(kBandChildName), form.Text("Band")};
    bands[1] = runtime::RebarBandItem{0, 150, 18, 40, RBBS_VARIABLEHEIGHT, kImageBitmap, 0, 0, 0, 0};
    rebar.Items = runtime::ToSlot(bands);
    rebar.ItemCount = 2;
    rebar.ControlCount = 1;
    form.Add(rebar);
    form.Add(form.Control(class_code::TextBox, 39, kBandChildName, 0, 0, 100, 22));
    form.Form().ControlCount = 3;
    ASSERT_NE(Build(form), nullptr);

    HWND groupWindow = Control(20);
    ASSERT_NE(groupWindow, nullptr);
    EXPECT_EQ(ClassOf(groupWindow), L"BKGROUP");
    EXPECT_EQ(GetWindowLongPtrW(groupWindow, GWL_STYLE) & 0x30F, BS_GROUPBOX | BS_CENTER);
    EXPECT_EQ(WindowText(groupWindow), L"Coordinates");
    HWND xWindow = Control(21);
    ASSERT_NE(xWindow, nullptr);
    EXPECT_EQ(GetParent(xWindow), groupWindow) << "a group box's children are created inside it";
    RECT rect{};
    GetWindowRect(xWindow, &rect);
    MapWindowPoints(nullptr, groupWindow, reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 8);
    EXPECT_EQ(rect.top, 51);
    const RuntimeRecord* groupRecord = runtime::FindWindowRecord(groupWindow);
    ASSERT_NE(groupRecord, nullptr) << "bound at its creation";
    EXPECT_EQ(groupRecord->ClassProc, runtime::ToSlot(runtime::buttonClassProc));

    HWND pictureWindow = Control(13);
    ASSERT_NE(pictureWindow, nullptr);
    EXPECT_EQ(ClassOf(pictureWindow), L"BKPICTURE");
    EXPECT_EQ(GetParent(Control(14)), pictureWindow);
    const RuntimeRecord* pictureRecord = runtime::FindWindowRecord(pictureWindow);
    ASSERT_NE(pictureRecord, nullptr);
    EXPECT_EQ(pictureRecord->Value, 2) << "the run-time alignment";
    EXPECT_EQ(pictureRecord->PrintedText, 0u);
    EXPECT_NE(pictureRecord->Pen, 0u) << "its drawing pen";

    HWND rebarWindow = Control(38);
    HWND bandEdit = Control(39);
    ASSERT_NE(rebarWindow, nullptr);
    ASSERT_NE(bandEdit, nullptr);
    EXPECT_EQ(GetWindowLongPtrW(rebarWindow, GWL_STYLE) & CCS_TOP, 0) << "the lowest style bit is removed";
    EXPECT_EQ(runtime::FindWindowRecord(rebarWindow)->Style & CCS_TOP, 0u);
    ASSERT_EQ(SendMessageW(rebarWindow, RB_GETBANDCOUNT, 0, 0), 2);
    wchar_t text[32] = {};
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_TEXT | RBBIM_ID | RBBIM_STYLE | RBBIM_BACKGROUND | RBBIM_CHILDSIZE;
    band.lpText = text;
    band.cch = 32;
    SendMessageW(rebarWindow, RB_GETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band));
    EXPECT_EQ(band.hwndChild, bandEdit) << "the child named by the band";
    EXPECT_EQ(std::wstring(text), L"Band");
    EXPECT_EQ(band.wID, 1u);
    SendMessageW(rebarWindow, RB_GETBANDINFOW, 1, reinterpret_cast<LPARAM>(&band));
    EXPECT_EQ(band.wID, 2u);
    EXPECT_EQ(band.fStyle & RBBS_VARIABLEHEIGHT, static_cast<UINT>(RBBS_VARIABLEHEIGHT)) << "its whole style after insertion";
    EXPECT_NE(band.hbmBack, nullptr);
    EXPECT_FALSE(IsWindow(band.hwndChild)) << "the stand-in child is gone";
    EXPECT_EQ(bands[1].Background, static_cast<uint32_t>(kImageBitmap)) << "the template is not written";
}

}  // namespace
