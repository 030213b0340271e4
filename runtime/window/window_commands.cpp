// Commands and notifications, owner-drawn items and the runtime's private queries: what a form
// does for the commands of hyperlink labels, edits, combo boxes and toolbars and for a rebar's
// notifications before its application sees them, and how containers pass them on.

#include "runtime/window/window_commands.h"

#include <commctrl.h>

#include "runtime/paint/theme_support.h"
#include "runtime/paint/window_painting.h"
#include "runtime/process/application.h"
#include "runtime/process/message_pump.h"
#include "runtime/process/runtime_messages.h"
#include "runtime/process/screen.h"
#include "runtime/process/startup_logic.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/wait_cursor.h"
#include "runtime/process/window_table.h"
#include "runtime/template/template_items.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"
#include "runtime/window/link_open.h"
#include "runtime/window/window_operations.h"

namespace runtime {

namespace {

// 1 while an EN_CHANGE or EN_UPDATE notification is on its way to the application.
int32_t editNotificationGuard = 0;

constexpr char kMailPrefix[] = "mailto:";

bool IsFormOrContainer(const RuntimeRecord& r) { return IsForm(r) || IsContainer(r.Type); }

bool IsHyperlinkLabel(const RuntimeRecord& r) { return r.Type == class_code::Label && r.IsHyperlink != 0; }

bool IsEdit(const RuntimeRecord& r) { return r.Type == class_code::TextBox || r.Type == class_code::RichTextBox; }

// The link of a caption: "mailto:" and the caption when it holds an at sign, else the caption.
template <class Ch>
void ComposeLink(Ch* link, int32_t units, const Ch* caption) {
    int32_t length = 0;
    if (text::FindChar(caption, '@') >= 0) {
        for (const char* prefix = kMailPrefix; *prefix != 0 && length < units - 1; ++prefix) {
            link[length++] = static_cast<Ch>(*prefix);
        }
    }
    text::CopyBounded(std::basic_string_view<Ch>(caption), link + length, static_cast<std::size_t>(units - length));
}

template <class Ch>
void CopyCaptionAndComposeLink(Ch* caption, int32_t captionUnits, Ch* link, int32_t linkUnits,
                               const RuntimeRecord& label) {
    // A label without a caption copy links to an empty text.
    const Ch* text = label.Text != 0 ? SlotAs<const Ch*>(label.Text) : nullptr;
    text::CopyBounded(text != nullptr ? std::basic_string_view<Ch>(text) : std::basic_string_view<Ch>(),
                      caption, static_cast<std::size_t>(captionUnits));
    ComposeLink(link, linkUnits, caption);
}

// A hyperlink label was clicked: its own procedure may refuse the link, else the shell opens
// it. The form's application sees the click either way.
LRESULT OnLinkClicked(const Message& m, RuntimeRecord& label, HWND labelWindow) {
    if (workBlock == nullptr) return Generic(m);
    // Text scratch 2 holds the caption, text scratch 1 the composed link.
    void* caption = workBlock->textScratch2;
    void* link = workBlock->textScratch1;
    WithTextUnit([&](auto unit) {
        using Ch = decltype(unit);
        CopyCaptionAndComposeLink(static_cast<Ch*>(caption), UnitsIn<Ch>(sizeof workBlock->textScratch2),
                                  static_cast<Ch*>(link), UnitsIn<Ch>(sizeof workBlock->textScratch1), label);
    });
    HWND owner = label.OwnerForm != 0 ? SlotAs<HWND>(label.OwnerForm) : m.window;
    // The form takes the mouse from the label, which ends the label's hover look.
    SetCapture(owner);
    const Message linkClicked{labelWindow, FRM_LINKCLICKED, m.wParam, reinterpret_cast<LPARAM>(caption), &label};
    const LRESULT refused = CallApp(linkClicked);
    if (refused == 0 && IsWindow(labelWindow)) {
        BeginWaitCursor(labelWindow);
        OpenLinkWithShell(owner, link);
        EndWaitCursor();
    }
    // The mouse is not left captured by the form: its next click belongs to whatever it hits.
    if (GetCapture() == owner) ReleaseCapture();
    if (!StillBound(m)) return 0;
    return Generic(m);
}

// A change the application makes to an edit while it handles such a notification does not
// reach it again.
LRESULT GuardEditNotification(const Message& m) {
    if (editNotificationGuard != 0) return 1;
    editNotificationGuard = 1;
    const LRESULT result = Generic(m);
    editNotificationGuard = 0;
    return result;
}

// The list drops down at the combo box's current height and item height.
void KeepComboHeights(RuntimeRecord& combo, HWND window) {
    RECT rect{};
    if (GetWindowRect(window, &rect)) combo.Height = PixelsToTwipsY(rect.bottom - rect.top, combo.ScaleMode);
    combo.ImageHeight = static_cast<int32_t>(SendToWindow(window, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
}

// From Windows XP on a toolbar button's click can leave the bar half drawn: what is waiting
// is handled first, then the bar is drawn again.
void RedrawToolbar(HWND toolbar) {
    DoEvents();
    if (!IsWindow(toolbar)) return;
    InvalidateRect(toolbar, nullptr, FALSE);
    PostToWindow(toolbar, WM_PAINT, 0, 0);
}

LRESULT OnFormCommand(const Message& m) {
    auto* control = reinterpret_cast<HWND>(m.lParam);  // the control that sent the command
    RuntimeRecord* record = control != nullptr ? FindWindowRecord(control) : nullptr;
    if (record == nullptr) return Generic(m);
    const WORD code = HIWORD(m.wParam);
    if (IsHyperlinkLabel(*record) && code == STN_CLICKED) return OnLinkClicked(m, *record, control);
    if (IsEdit(*record) && (code == EN_CHANGE || code == EN_UPDATE)) return GuardEditNotification(m);
    if (record->Type == class_code::ComboBox && code == CBN_DROPDOWN) KeepComboHeights(*record, control);
    if (record->Type == class_code::Toolbar && OsLevel > os_level::Nt50) {
        RedrawToolbar(control);
        if (!StillBound(m)) return 0;
    }
    return Generic(m);
}

// A band whose child changed size is redrawn at once.
void RedrawBandOfChild(const RuntimeRecord& rebar, HWND window, const NMREBARCHILDSIZE& change) {
    if (change.uBand == static_cast<UINT>(-1) || rebar.Items == 0) return;
    if (change.uBand >= static_cast<UINT>(rebar.ItemCount)) return;
    const auto* bands = SlotAs<const RebarBandItem*>(rebar.Items);
    if (bands[change.uBand].ChildWindow == 0) return;
    RedrawWindow(window, &change.rcBand, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void OnRebarNotification(RuntimeRecord& rebar, HWND window, const NMHDR& header) {
    switch (header.code) {
        case RBN_CHILDSIZE:
            RedrawBandOfChild(rebar, window, reinterpret_cast<const NMREBARCHILDSIZE&>(header));
            break;
        case RBN_HEIGHTCHANGE: {
            const auto height = static_cast<int32_t>(SendToWindow(window, RB_GETBARHEIGHT, 0, 0));
            rebar.Height = PixelsToTwipsY(height, rebar.ScaleMode);
            DockLayout(FindWindowRecord(GetParent(window)));
            break;
        }
        case NM_NCHITTEST:
            // Where the mouse is over the bar decides its cursor.
            rebar.LastHitTest = static_cast<int32_t>(reinterpret_cast<const NMMOUSE&>(header).dwHitInfo);
            break;
        default: break;
    }
}

LRESULT OnFormNotify(const Message& m) {
    const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);  // every notification starts so
    RuntimeRecord* record = header != nullptr ? FindWindowRecord(header->hwndFrom) : nullptr;
    if (record != nullptr && record->Type == class_code::Rebar) {
        OnRebarNotification(*record, header->hwndFrom, *header);
        if (!StillBound(m)) return 0;
    }
    return Generic(m);
}

// Commands and notifications of controls inside a group box, picture or rebar go on to the
// container's parent, so that they reach the form's procedure.
LRESULT PassToContainerParent(const Message& m) {
    const LRESULT handled = CallApp(m);
    if (handled != 0) return handled;
    return SendToWindow(GetParent(m.window), m.id, m.wParam, m.lParam);
}

// The record whose application draws the items of a form or container: the owning form's when
// it is a runtime window, else the receiving window's own.
RuntimeRecord* ItemOwnerOf(const Message& m) {
    RuntimeRecord* form = FindWindowRecord(SlotAs<HWND>(m.record->OwnerForm));
    return form != nullptr ? form : m.record;
}

// The default procedure of the window that holds the item.
LRESULT ItemParentDefault(const Message& m, HWND item) {
    HWND parent = item != nullptr && IsWindow(item) ? GetParent(item) : nullptr;
    RuntimeRecord* parentRecord = FindWindowRecord(parent);
    if (parentRecord == nullptr) return CallDefault(m);
    return CallDefault(Message{parent, m.id, m.wParam, m.lParam, parentRecord});
}

}  // namespace

LRESULT OnCommand(const Message& m) {
    if (IsForm(*m.record)) return OnFormCommand(m);
    if (IsContainer(m.record->Type)) return PassToContainerParent(m);
    return CallDefault(m);
}

LRESULT OnNotify(const Message& m) {
    if (IsForm(*m.record)) return OnFormNotify(m);
    if (IsContainer(m.record->Type)) return PassToContainerParent(m);
    return CallDefault(m);
}

LRESULT OnDrawItem(const Message& m) {
    if (!IsFormOrContainer(*m.record)) return Generic(m);
    RuntimeRecord* owner = ItemOwnerOf(m);
    const LRESULT handled = CallApp(Message{WindowOf(*owner), m.id, m.wParam, m.lParam, owner});
    if (handled != 0) return handled;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(m.lParam);  // WM_DRAWITEM's block
    if (item == nullptr) return CallDefault(m);
    RuntimeRecord* button = item->CtlType == ODT_BUTTON ? FindWindowRecord(item->hwndItem) : nullptr;
    if (button != nullptr && button->Type == class_code::PushButton) {
        PaintOwnerDrawnButton(*item, *button);
        return 1;
    }
    return ItemParentDefault(m, item->CtlType == ODT_MENU ? nullptr : item->hwndItem);
}

LRESULT OnMeasureItem(const Message& m) {
    if (!IsFormOrContainer(*m.record)) return Generic(m);
    const LRESULT handled = CallApp(m);
    if (handled != 0) return handled;
    // A rebar's own procedure does not measure items.
    if (m.record->Type == class_code::Rebar) return DefaultWindowProc(m.window, m.id, m.wParam, m.lParam);
    return CallDefault(m);
}

// A form or container answers the builder's announcement itself; the application never sees it.
LRESULT OnMeasureType(const Message& m) {
    if (IsFormOrContainer(*m.record)) return 0;
    return Generic(m);
}

LRESULT OnGetRecord(const Message& m) { return reinterpret_cast<LRESULT>(m.record); }

LRESULT OnGetThemeLibrary(const Message&) { return reinterpret_cast<LRESULT>(themeLibrary); }

LRESULT OnGetThemeActive(const Message&) { return manifestPresent; }

}  // namespace runtime
