// The runtime window procedure's command rows under Wine: hyperlink labels (the shell stood in
// for, nothing is opened), the edit-notification guard, combo boxes, rebar notifications,
// notifications through containers, owner-drawn items, and the keys of a combo box's field.

#include "window_proc_fixture.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/process/screen.h"
#include "runtime/process/wait_cursor.h"
#include "runtime/property/property_setters.h"
#include "runtime/window/child_subclass_proc.h"
#include "runtime/window/link_open.h"

namespace {

using namespace windowproctest;

// The stand-in for the shell: what the runtime looked up and what it asked to open.
struct ShellCall {
    HWND owner;
    bool verbGiven;
    std::string file;
    bool parametersGiven;
    INT show;
};
std::vector<std::string> entriesLookedUp;
std::vector<ShellCall> shellCalls;
bool shellEntryMissing = false;

// A text in the runtime's text mode as ANSI text (the tests' texts are ASCII).
std::string TextOfMode(const void* text) {
    if (runtime::wideMode == 0) return static_cast<const char*>(text);
    std::string ansi;
    for (const wchar_t* unit = static_cast<const wchar_t*>(text); *unit != 0; ++unit) ansi.push_back(static_cast<char>(*unit));
    return ansi;
}

HINSTANCE WINAPI FakeShellExecute(HWND owner, const void* verb, const void* file, const void* parameters,
                                  const void* directory, INT show) {
    shellCalls.push_back(
        ShellCall{owner, verb != nullptr, TextOfMode(file), parameters != nullptr || directory != nullptr, show});
    return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(33));  // above 32: success
}

FARPROC WINAPI FindFakeEntry(HMODULE, LPCSTR name) {
    entriesLookedUp.emplace_back(name);
    if (shellEntryMissing) return nullptr;
    // The stand-in has the shell entry's signature; the runtime calls it through that type.
    return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&FakeShellExecute));
}

TEST_P(WindowProc, AHyperlinkLabelOpensItsLinkUnlessItsProcedureRefuses) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord, form_kind::Window, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    runtime::SetShellEntryFinder(FindFakeEntry);
    const struct {
        const char* caption;
        LRESULT refusal;  // the label's procedure's answer to FRM_LINKCLICKED
        bool missing;     // the shell has no such entry
        const char* opened;  // null: nothing
    } cases[] = {
        {"someone@example.com", 0, false, "mailto:someone@example.com"},
        {"http://127.0.0.1/", 0, false, "http://127.0.0.1/"},
        {"http://127.0.0.1/", 1, false, nullptr},
        {"someone@example.com", 0, true, nullptr},
    };
    int index = 1;
    for (const auto& c : cases) {
        RuntimeRecord* label = NewRecord(class_code::Label);
        label->IsHyperlink = 1;
        label->Text = runtimetest::HeapText(c.caption);
        label->OwnerForm = runtime::ToSlot(form);
        label->WindowProc = runtimetest::ScriptedAppSlot();
        HWND labelWindow = runtimetest::AttachControl(label, "STATIC", SS_NOTIFY, form, index++);
        entriesLookedUp.clear();
        shellCalls.clear();
        shellEntryMissing = c.missing;
        app.seen.clear();
        app.answers[runtime::FRM_LINKCLICKED] = c.refusal;
        std::string offered;
        app.onMessage = [&](HWND, UINT message, WPARAM, LPARAM lParam) {
            if (message != runtime::FRM_LINKCLICKED) return;
            offered = TextOfMode(reinterpret_cast<const void*>(lParam));
        };
        const WPARAM command = MAKEWPARAM(label->ControlId, STN_CLICKED);
        runtime::SendToWindow(form, WM_COMMAND, command, reinterpret_cast<LPARAM>(labelWindow));
        app.onMessage = nullptr;

        const auto asked = app.All(runtime::FRM_LINKCLICKED);
        ASSERT_EQ(asked.size(), 1u) << c.caption;
        EXPECT_EQ(asked[0].window, labelWindow) << "the label's own procedure is asked";
        EXPECT_EQ(asked[0].wParam, command);
        EXPECT_EQ(offered, c.caption);
        const auto commands = app.All(WM_COMMAND);
        ASSERT_EQ(commands.size(), 1u) << c.caption << ": the form sees the click in every case";
        EXPECT_EQ(commands[0].window, form);
        if (c.opened == nullptr) {
            EXPECT_TRUE(shellCalls.empty()) << c.caption << " refusal " << c.refusal;
        } else {
            ASSERT_EQ(shellCalls.size(), 1u) << c.caption;
            EXPECT_EQ(shellCalls[0].file, c.opened);
            EXPECT_EQ(shellCalls[0].owner, form);
            EXPECT_FALSE(shellCalls[0].verbGiven) << "the default action";
            EXPECT_FALSE(shellCalls[0].parametersGiven);
            EXPECT_EQ(shellCalls[0].show, SW_SHOWNORMAL);
        }
        if (c.refusal == 0) {
            ASSERT_EQ(entriesLookedUp.size(), 1u) << c.caption;
            EXPECT_EQ(entriesLookedUp[0], runtime::wideMode != 0 ? "ShellExecuteW" : "ShellExecuteA");
        }
        EXPECT_EQ(runtime::waitCursorActive, 0) << "the wait cursor is down again";
        EXPECT_EQ(GetCapture(), nullptr);
    }
    runtime::SetShellEntryFinder(nullptr);
    app.answers.clear();
}

TEST_P(WindowProc, AnEditChangedWhileTheApplicationHandlesAChangeIsNotReported) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    RuntimeRecord* first = NewRecord(class_code::TextBox);
    HWND firstEdit = runtimetest::AttachControl(first, "EDIT", 0, form, 1);
    RuntimeRecord* second = NewRecord(class_code::RichTextBox);
    HWND secondEdit = runtimetest::AttachControl(second, "EDIT", 0, form, 2, 10, 40);
    for (const WORD code : {static_cast<WORD>(EN_CHANGE), static_cast<WORD>(EN_UPDATE)}) {
        app.seen.clear();
        LRESULT innerAnswer = 0;
        app.onMessage = [&](HWND window, UINT message, WPARAM wParam, LPARAM) {
            if (message != WM_COMMAND || HIWORD(wParam) != code || LOWORD(wParam) != 1001) return;
            // The application changes both edits while it handles the first one's notification.
            SetWindowTextA(firstEdit, "changed by the application");
            innerAnswer = runtime::SendToWindow(window, WM_COMMAND, MAKEWPARAM(1002, code),
                                                reinterpret_cast<LPARAM>(secondEdit));
        };
        runtime::SendToWindow(form, WM_COMMAND, MAKEWPARAM(1001, code), reinterpret_cast<LPARAM>(firstEdit));
        app.onMessage = nullptr;
        EXPECT_EQ(innerAnswer, 1) << "code " << code;
        const auto commands = app.All(WM_COMMAND);
        ASSERT_EQ(commands.size(), 1u) << "code " << code << ": only the first notification reached it";
        EXPECT_EQ(LOWORD(commands[0].wParam), 1001);

        // Once it is handled, the next change is reported again.
        app.seen.clear();
        SetWindowTextA(secondEdit, "typed");
        runtime::SendToWindow(form, WM_COMMAND, MAKEWPARAM(1002, code), reinterpret_cast<LPARAM>(secondEdit));
        EXPECT_GE(app.Count(WM_COMMAND), 1) << "code " << code;
    }
}

TEST_P(WindowProc, AComboBoxDroppingDownNotesItsHeights) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    RuntimeRecord* combo = NewRecord(class_code::ComboBox);
    combo->ScaleMode = runtime::scale_mode::Twips;
    HWND comboWindow = runtimetest::AttachControl(combo, "COMBOBOX", CBS_DROPDOWN, form, 1, 10, 10, 120, 150);
    combo->Height = 0;
    combo->ImageHeight = 0;
    app.seen.clear();
    runtime::SendToWindow(form, WM_COMMAND, MAKEWPARAM(1001, CBN_DROPDOWN), reinterpret_cast<LPARAM>(comboWindow));
    EXPECT_EQ(combo->Height, PlaceOf(comboWindow).height * runtime::twipsPerPixelY);
    EXPECT_EQ(combo->ImageHeight, runtime::SendToWindow(comboWindow, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    EXPECT_EQ(app.Count(WM_COMMAND), 1);
}

TEST_P(WindowProc, ARebarsNotificationsKeepItsRecordAndLayout) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord, form_kind::Window, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RuntimeRecord* group = NewRecord(class_code::GroupBox);
    HWND groupBox = CreateBound(group, RuntimeClass::Group, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, form, 0, 5, 100, 200, 100);
    RuntimeRecord* rebar = NewRecord(class_code::Rebar);
    rebar->DockSide = runtime::dock_side::Top;
    rebar->Visible = 1;
    rebar->ScaleMode = runtime::scale_mode::Twips;
    HWND rebarWindow = runtimetest::AttachControl(rebar, REBARCLASSNAMEA, CCS_NORESIZE | CCS_NOPARENTALIGN, form, 1, 0, 40, 150, 30);
    ASSERT_NE(rebarWindow, nullptr);

    NMMOUSE hit{};
    hit.hdr = NMHDR{rebarWindow, 1001, static_cast<UINT>(NM_NCHITTEST)};
    hit.dwHitInfo = RBHT_GRABBER;
    app.seen.clear();
    runtime::SendToWindow(form, WM_NOTIFY, 1001, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(rebar->LastHitTest, RBHT_GRABBER);
    EXPECT_EQ(app.Count(WM_NOTIFY), 1) << "the form's application sees it after the runtime";

    // The bar's new height is kept and the docked bar laid out again, also when the
    // notification comes through a container.
    NMHDR heightChange{rebarWindow, 1001, static_cast<UINT>(RBN_HEIGHTCHANGE)};
    runtime::SendToWindow(groupBox, WM_NOTIFY, 1001, reinterpret_cast<LPARAM>(&heightChange));
    const auto barHeight = static_cast<int32_t>(runtime::SendToWindow(rebarWindow, RB_GETBARHEIGHT, 0, 0));
    EXPECT_EQ(rebar->Height, barHeight * runtime::twipsPerPixelY);
    EXPECT_EQ(PlaceOf(rebarWindow).top, 0) << "docked at the top";
    EXPECT_EQ(PlaceOf(rebarWindow).height, barHeight);
}

TEST_P(WindowProc, ContainersPassNotificationsToTheForm) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord);
    RuntimeRecord* group = NewRecord(class_code::GroupBox);
    HWND groupBox = CreateBound(group, RuntimeClass::Group, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, form, 0, 5, 5, 200, 150);
    HWND inner = runtimetest::AttachControl(NewRecord(class_code::ListView), "STATIC", 0, groupBox, 3);
    NMHDR header{inner, 1003, static_cast<UINT>(NM_CLICK)};
    app.seen.clear();
    app.answers[WM_NOTIFY] = 77;
    EXPECT_EQ(runtime::SendToWindow(groupBox, WM_NOTIFY, 1003, reinterpret_cast<LPARAM>(&header)), 77)
        << "the form's answer comes back";
    const auto notes = app.All(WM_NOTIFY);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].window, form);
    EXPECT_EQ(notes[0].lParam, reinterpret_cast<LPARAM>(&header));
}

TEST_P(WindowProc, OwnerDrawnItemsGoToTheOwningFormsApplication) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord, form_kind::Window, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RuntimeRecord* group = NewRecord(class_code::GroupBox);
    group->OwnerForm = runtime::ToSlot(form);
    HWND groupBox = CreateBound(group, RuntimeClass::Group, WS_CHILD | WS_VISIBLE | BS_GROUPBOX, form, 0, 5, 5, 200, 150);
    RuntimeRecord* button = NewRecord(class_code::PushButton);
    button->OwnerDrawn = 1;
    button->Text = runtimetest::HeapText("Go");
    HWND buttonWindow = runtimetest::AttachControl(button, "BUTTON", BS_OWNERDRAW, groupBox, 1);
    HWND list = runtimetest::AttachControl(NewRecord(class_code::ListBox), "LISTBOX", 0, groupBox, 2, 10, 40, 80, 60);

    HDC device = GetDC(buttonWindow);
    DRAWITEMSTRUCT buttonItem{ODT_BUTTON, 1001, 0, ODA_DRAWENTIRE, 0, buttonWindow, device, {0, 0, 80, 24}, 0};
    DRAWITEMSTRUCT listItem{ODT_LISTBOX, 1002, 0, ODA_DRAWENTIRE, 0, list, device, {0, 0, 80, 16}, 0};
    app.seen.clear();
    EXPECT_EQ(runtime::SendToWindow(groupBox, WM_DRAWITEM, 1001, reinterpret_cast<LPARAM>(&buttonItem)), 1)
        << "the runtime paints its push button";
    ASSERT_EQ(app.Count(WM_DRAWITEM), 1);
    EXPECT_EQ(app.All(WM_DRAWITEM)[0].window, form) << "the owning form's application, with the form's window";
    EXPECT_EQ(runtime::SendToWindow(groupBox, WM_DRAWITEM, 1002, reinterpret_cast<LPARAM>(&listItem)), 0)
        << "another item goes to the default";
    app.answers[WM_DRAWITEM] = 3;
    EXPECT_EQ(runtime::SendToWindow(groupBox, WM_DRAWITEM, 1001, reinterpret_cast<LPARAM>(&buttonItem)), 3)
        << "an application that draws the item itself";
    ReleaseDC(buttonWindow, device);

    MEASUREITEMSTRUCT measure{ODT_LISTBOX, 1002, 0, 0, 0, 0};
    app.seen.clear();
    app.answers[WM_MEASUREITEM] = 1;
    EXPECT_EQ(runtime::SendToWindow(form, WM_MEASUREITEM, 1002, reinterpret_cast<LPARAM>(&measure)), 1);
    EXPECT_EQ(app.Count(WM_MEASUREITEM), 1);
}

TEST_P(WindowProc, TheComboBoxFieldTellsTheFormOfEscapeAndEnter) {
    RuntimeRecord* formRecord = nullptr;
    HWND form = Form(formRecord, form_kind::Window, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RuntimeRecord* combo = NewRecord(class_code::ComboBox);
    combo->OwnerForm = runtime::ToSlot(form);
    combo->Style = CBS_DROPDOWN;
    HWND comboWindow = runtimetest::AttachControl(combo, "COMBOBOX", CBS_DROPDOWN, form, 1, 10, 10, 120, 100);
    HWND field = GetWindow(comboWindow, GW_CHILD);
    const LONG_PTR own = runtime::SetWindowValue(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(runtime::ChildSubclassProc));
    runtime::SetWindowValue(field, GWLP_USERDATA, own);

    // The form acts on the key itself (its application procedure is not asked) and answers 0.
    for (const WPARAM key : {static_cast<WPARAM>(VK_ESCAPE), static_cast<WPARAM>(VK_RETURN)}) {
        sentSeen.clear();
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordSent, nullptr, GetCurrentThreadId());
        EXPECT_EQ(runtime::SendToWindow(field, WM_KEYDOWN, key, 0), 0) << "the form's answer, key " << key;
        UnhookWindowsHookEx(hook);
        std::vector<Sent> keys;
        std::copy_if(sentSeen.begin(), sentSeen.end(), std::back_inserter(keys),
                     [&](const Sent& sent) { return sent.message == runtime::FRM_NAVKEY && sent.hwnd == form; });
        ASSERT_EQ(keys.size(), 1u) << "key " << key;
        EXPECT_EQ(keys[0].wParam, key);
        EXPECT_EQ(keys[0].lParam, reinterpret_cast<LPARAM>(comboWindow));
        EXPECT_EQ(app.Count(runtime::FRM_NAVKEY), 0) << "key " << key;
    }
    app.answers.clear();

    // Characters: the owner's procedure may take them; editing shortcuts and plain characters
    // it leaves reach the field; Tab, Esc and Enter never do.
    combo->WindowProc = runtimetest::ScriptedAppSlot();
    const struct {
        WPARAM character;
        LRESULT ownerAnswer;
        bool ownerAsked;
        bool reachesField;
    } cases[] = {
        {'a', 0, true, true}, {'b', 1, true, false}, {'\t', 0, true, false}, {'\r', 0, true, false},
        {VK_ESCAPE, 0, true, false}, {22 /* Ctrl+V: what it pastes depends on the clipboard */, 1, false, true},
    };
    for (const auto& c : cases) {
        SetWindowTextA(field, "");
        app.seen.clear();
        app.answers[WM_CHAR] = c.ownerAnswer;
        runtime::SendToWindow(field, WM_CHAR, c.character, 1);
        EXPECT_EQ(app.Count(WM_CHAR), c.ownerAsked ? 1 : 0) << "character " << c.character;
        if (c.ownerAsked && app.Count(WM_CHAR) == 1) {
            EXPECT_EQ(app.All(WM_CHAR)[0].window, comboWindow) << "the owner's procedure, with the owner's window";
        }
        const bool typed = GetWindowTextLengthA(field) > 0;
        if (c.character != 22) {
            EXPECT_EQ(typed, c.reachesField) << "character " << c.character;
        }
    }
    combo->WindowProc = 0;
    app.answers.clear();
}

}  // namespace
