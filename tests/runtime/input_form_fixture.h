#pragma once
// The fixture of the keyboard, focus and mouse tests: forms declared as templates and built by
// the real builder, driven by real key and mouse events (tests/support/real_input.h), with the
// scripted application procedure (or none) recording what the form's procedure hears.

#include <windows.h>

#include <string>
#include <vector>

#include "built_form_fixture.h"
#include "runtime/process/window_table.h"
#include "tests/support/real_input.h"

namespace inputtest {

using buildertest::FormTemplate;
using runtime::TemplateRecord;
namespace cc = runtime::class_code;

constexpr DWORD kEditStyle = WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL;
constexpr DWORD kButtonStyle = WS_VISIBLE | BS_PUSHBUTTON;

// A control row of a declared form: its Index, class, caption, slots the tests vary, and how
// many of the following rows are its children.
struct Row {
    int32_t index;
    int32_t type;
    const char* text;
    DWORD style;
    int32_t tabStop;
    int32_t children = 0;
    int32_t flag = 0;  // push button: IsDefault 1, IsCancel 2, owner-drawn 4; option: checked
};

class InputTest : public buildertest::BuiltFormTest {
protected:
    void SetUp() override {
        BuiltFormTest::SetUp();
        commands_.clear();
        runtimetest::app.onMessage = [this](HWND, UINT id, WPARAM wParam, LPARAM lParam) {
            if (id == WM_COMMAND) commands_.push_back(Command{LOWORD(wParam), HIWORD(wParam), lParam});
            if (id == WM_NOTIFY) notifications_.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
        };
    }

    // Builds the rows as a form (depth first as given), with the scripted application
    // procedure or none, and brings it to the front.
    HWND BuildRows(const std::vector<Row>& rows, bool withApp = true) {
        FormTemplate form(runtime::form_kind::Window, 420, 560);
        form.Form().WindowProc = withApp ? runtimetest::ScriptedAppSlot() : 0;
        int32_t topLevel = 0;
        int32_t childrenLeft = 0;
        int32_t y = 4;       // the next top-level row's top
        int32_t childY = 0;  // the next child's top inside its container
        for (const Row& row : rows) {
            const bool child = childrenLeft > 0;
            TemplateRecord r = form.Control(row.type, row.index, "c", child ? 8 : 10, child ? childY : y,
                                            row.children > 0 ? 200 : 90, row.children > 0 ? 110 : 20, row.style);
            r.Text = form.Text(row.text);
            r.TabStop = row.tabStop;
            r.MultiLine = (row.type == cc::TextBox && (row.style & ES_MULTILINE) != 0) ? 1 : 0;
            r.ControlCount = row.children;
            r.Visible = (row.style & WS_VISIBLE) != 0 ? 1 : 0;
            r.Enabled = (row.style & WS_DISABLED) != 0 ? 0 : 1;
            if (row.type == cc::PushButton) {
                r.IsDefault = (row.flag & 1) != 0 ? 1 : 0;
                r.IsCancel = (row.flag & 2) != 0 ? 1 : 0;
                r.OwnerDrawn = (row.flag & 4) != 0 ? 1 : 0;
            }
            if (row.type == cc::OptionButton || row.type == cc::CheckBox) r.Value = row.flag;
            form.Add(r);
            if (child) {
                --childrenLeft;
                childY += 22;
            } else {
                ++topLevel;
                childrenLeft = row.children;
                childY = 16;
                y += row.children > 0 ? 116 : 24;
            }
        }
        form.Form().ControlCount = topLevel;
        HWND built = Build(form);
        if (built != nullptr) testsupport::BringToFront(built);
        return built;
    }

    // The Index of the control with the focus; -1 for the form, -2 for anything else.
    int32_t FocusedIndex() const {
        HWND focus = GetFocus();
        if (focus == form_) return -1;
        const runtime::RuntimeRecord* record = runtime::FindWindowRecord(focus);
        return record != nullptr && !runtime::IsFormType(record->Type) ? record->Index : -2;
    }

    void Focus(int32_t index) {
        SetFocus(Control(index));
        testsupport::SettleMessages();
    }

    runtime::RuntimeRecord& RecordOf(int32_t index) const { return *runtime::FindWindowRecord(Control(index)); }

    // The WM_COMMAND messages the form's procedure heard: identifier, code, control.
    struct Command {
        WORD id;
        WORD code;
        LPARAM control;
        bool operator==(const Command&) const = default;
    };
    std::vector<Command> commands_;
    std::vector<UINT> notifications_;
};

inline std::string Describe(const std::vector<int32_t>& indexes) {
    std::string text;
    for (int32_t index : indexes) text += std::to_string(index) + " ";
    return text;
}

}  // namespace inputtest
