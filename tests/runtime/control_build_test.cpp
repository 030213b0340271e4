// The controls of a built form: one of every class code with its class, identifier, style,
// text and class-specific state; texts from the string table; colours, brushes and fonts;
// group-box children; label auto-size; tooltips; the creation notices; the "STATIC" stand-in
// for a control that cannot be created.

#include <windows.h>

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "builder_test_resources.h"
#include "builder_test_support.h"
#include "runtime/build_support.h"
#include "runtime/runtime_heap.h"
#include "runtime/form_builder.h"
#include "runtime/runtime_messages.h"
#include "runtime/screen.h"
#include "runtime/template_copy.h"
#include "runtime/template_items.h"
#include "runtime/template_values.h"
#include "runtime/window_proc.h"
#include "runtime/window_table.h"
#include "runtime_session.h"

namespace {

using buildertest::BoxHook;
using buildertest::ClassOf;
using buildertest::FormTemplate;
using buildertest::RuntimeText;
using buildertest::ProcValue;
using buildertest::WindowProcOf;
using buildertest::WindowText;
using runtime::RuntimeRecord;
using runtime::TemplateRecord;
namespace class_code = runtime::class_code;

class BUILDER_SUITE(ControlBuild) : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                                           ICC_COOL_CLASSES | ICC_INTERNET_CLASSES |
                                                           ICC_PAGESCROLLER_CLASS | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        richEdit_ = LoadLibraryA("riched20.dll");
        runtimetest::app.Reset();
    }
    void TearDown() override {
        if (form_ != nullptr && IsWindow(form_)) DestroyWindow(form_);
        form_ = nullptr;
    }

    HWND Build(FormTemplate& form) {
        form_ = reinterpret_cast<HWND>(runtime::BuildForm(form.Finish(), nullptr, 0, 0));
        return IsWindow(form_) ? form_ : nullptr;
    }

    // The control with identifier 1000 + index anywhere in the form (depth first).
    HWND Control(int32_t index) const { return FindById(form_, 1000 + index); }

    static HWND FindById(HWND parent, int32_t id) {
        for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            if (GetDlgCtrlID(child) == id) return child;
            if (HWND inner = FindById(child, id)) return inner;
        }
        return nullptr;
    }

    runtimetest::RuntimeSession session_{buildertest::kWideRequest};
    HMODULE richEdit_ = nullptr;
    HWND form_ = nullptr;
};

// What one class code is given in the template and what its window must show.
struct ClassCase {
    int32_t type;
    int32_t index;
    const wchar_t* className;
    const wchar_t* text;  // the window text, null when not checked
    std::function<void(TemplateRecord&, FormTemplate&)> setUp;
    std::function<void(HWND, const RuntimeRecord&)> check;
};

const char kBandChildName[] = "BandEdit";

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
             HDC dc = GetDC(w);
             HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
             SIZE size{};
             GetTextExtentPoint32W(dc, L"Text from the table", 19, &size);
             SelectObject(dc, old);
             ReleaseDC(w, dc);
             EXPECT_EQ(r.ImageHeight, size.cy) << "the caption's height in the label's font";
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
         [](HWND w, const RuntimeRecord&) {
             SCROLLINFO info{};
             info.cbSize = sizeof info;
             info.fMask = SIF_ALL;
             GetScrollInfo(w, SB_CTL, &info);
             EXPECT_EQ(info.nMin, 5);
             EXPECT_EQ(info.nMax, 50);
             EXPECT_EQ(info.nPage, 10u);
             EXPECT_EQ(info.nPos, 20);
         }},
        {class_code::ScrollBarAlt, 17, L"ScrollBar", nullptr,
         [](TemplateRecord& r, FormTemplate&) {
             r.Style |= SBS_VERT;
             r.Max = 100;
             r.Value = 7;
         },
         [](HWND w, const RuntimeRecord&) {
             SCROLLINFO info{};
             info.cbSize = sizeof info;
             info.fMask = SIF_ALL;
             GetScrollInfo(w, SB_CTL, &info);
             EXPECT_EQ(info.nMax, 100);
             EXPECT_EQ(info.nPos, 7);
         }},
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
    picture.PasswordChar = 'x';
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
    EXPECT_EQ(pictureRecord->PasswordChar, 0);
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

TEST_F(BUILDER_SUITE(ControlBuild), IdentifiersFollowIndexAndTextsComeFromTheStringTable) {
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

TEST_F(BUILDER_SUITE(ControlBuild), ColoursResolveToRgbAndBrushes) {
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

TEST_F(BUILDER_SUITE(ControlBuild), FontsTakeTheirHeightFromPointsAndTheForm) {
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

TEST_F(BUILDER_SUITE(ControlBuild), LabelsAutoSizeToTheirCaption) {
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
    };
    FormTemplate form;
    for (const SizeCase& c : cases) {
        TemplateRecord label = form.Control(class_code::Label, c.index, "Label", 127, 22 * c.index, 27, 16,
                                            WS_VISIBLE | SS_NOTIFY | SS_LEFTNOWORDWRAP | WS_BORDER);
        label.Text = form.Text(c.caption);
        label.AutoSize = c.autoSize;
        label.Alignment = c.alignment;
        label.MultiLine = c.multiLine;
        form.Add(label);
    }
    form.Form().ControlCount = 5;
    ASSERT_NE(Build(form), nullptr);
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "label " << c.index);
        HWND label = GetDlgItem(form_, 1000 + c.index);
        RECT window{};
        GetWindowRect(label, &window);
        MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&window), 2);
        RECT client{};
        GetClientRect(label, &client);
        const int frame = (window.right - window.left) - client.right;
        if (c.measured == nullptr) {
            EXPECT_EQ(window.right - window.left, 27) << "no auto-size: the template's size";
            EXPECT_EQ(window.bottom - window.top, 16);
            continue;
        }
        HDC dc = GetDC(label);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
        SIZE text{};
        GetTextExtentPoint32W(dc, c.measured, static_cast<int>(wcslen(c.measured)), &text);
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        EXPECT_EQ(window.right - window.left, text.cx + frame);
        if (c.alignment == 2) {
            EXPECT_EQ(window.right, 127 + 27) << "the right edge stays";
        } else {
            EXPECT_EQ(window.left, 127) << "the left edge stays";
        }
        const RuntimeRecord* record = runtime::FindWindowRecord(label);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->Width, text.cx + frame) << "the record follows";
        EXPECT_EQ(record->Left, window.left);
    }
}

TEST_F(BUILDER_SUITE(ControlBuild), TooltipsAreRegisteredForControlsWithATipOnly) {
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

TEST_F(BUILDER_SUITE(ControlBuild), AControlThatCannotBeCreatedBecomesAStatic) {
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

TEST_F(BUILDER_SUITE(ControlBuild), ParentsAreToldTheOwnerDrawTypeBeforeCreation) {
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

TEST_F(BUILDER_SUITE(ControlBuild), ALabelWithoutACaptionCopyMeasuresAsEmpty) {
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
    HDC dc = GetDC(built);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(built, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(built, dc);
    EXPECT_EQ(labelRecord->ImageHeight, metrics.tmHeight) << "the line height of an empty caption";
    EXPECT_EQ(labelRecord->Width, 0) << "sized to no text";
    DestroyWindow(window);
}

TEST_F(BUILDER_SUITE(ControlBuild), ContainersAnnounceThemselvesToTheirOwnProcedure) {
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
