// The class-specific completion of each control after its creation: texts and limits, check
// states, ranges and positions, the items of toolbars, status bars, tabs, headers and image
// lists, the inner windows of combo and IP-address controls, and the bands of a rebar.

#include "runtime/build/control_setup.h"

#include <commctrl.h>

#include <cstring>
#include <span>

#include "runtime/build/build_support.h"
#include "runtime/build/control_steps.h"
#include "runtime/build/record_values.h"
#include "runtime/build/template_resources.h"
#include "runtime/process/application.h"
#include "runtime/process/runtime_classes.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/startup_logic.h"
#include "runtime/process/system_calls.h"
#include "runtime/process/window_table.h"
#include "runtime/template/template_items.h"
#include "runtime/template/template_values.h"
#include "runtime/text/text_core.h"
#include "runtime/text/text_mode.h"

namespace runtime {

WNDPROC ipFieldProc = nullptr;

namespace {

LPARAM AsParam(const void* pointer) { return reinterpret_cast<LPARAM>(pointer); }
LPARAM AsParam(uint32_t slot) { return static_cast<LPARAM>(slot); }

// A text reference resolved for one message and released after it.
class ItemText {
public:
    explicit ItemText(uint32_t reference) : text_(ResolveText(reference, nullptr)) {}
    ~ItemText() { FreeRuntimeBlock(text_); }
    ItemText(const ItemText&) = delete;
    ItemText& operator=(const ItemText&) = delete;
    void* get() const { return text_; }
    bool empty() const { return IsEmptyText(ToSlot(text_)); }

private:
    void* text_;
};

// The item array of a control and the number of entries it has; empty without one.
template <class Item>
std::span<Item> ItemsOf(const RuntimeRecord& control, int32_t count) {
    if (control.Items == 0 || count <= 0) return {};
    return std::span<Item>(SlotAs<Item*>(control.Items), static_cast<std::size_t>(count));
}

// The builder writes into toolbar buttons and rebar bands; it does so in a runtime-heap copy
// that the record then points to, so that the template stays as it is for the next build.
template <class Item>
std::span<Item> OwnItemCopy(RuntimeRecord& control) {
    const std::span<const Item> items = ItemsOf<const Item>(control, control.ItemCount);
    if (items.empty()) return {};
    auto* copy = static_cast<Item*>(AllocRuntimeBlock(static_cast<uint32_t>(items.size_bytes())));
    if (copy == nullptr) return {};
    std::memcpy(copy, items.data(), items.size_bytes());
    control.Items = ToSlot(copy);
    return std::span<Item>(copy, items.size());
}

void SetWindowTextInMode(HWND window, uint32_t text) { SendToWindow(window, WM_SETTEXT, 0, AsParam(text)); }

void ReapplyStyle(const RuntimeRecord& control, HWND window) {
    SetWindowValue(window, GWL_STYLE, static_cast<LONG_PTR>(control.Style));
}

// Hands an inner window to the runtime's child subclass procedure, its own procedure kept in
// its user data.
void SubclassInnerWindow(HWND inner) {
    SetWindowValue(inner, GWLP_USERDATA, GetWindowValue(inner, GWLP_WNDPROC));
    SetWindowValue(inner, GWLP_WNDPROC, FromWindowProc(runtimeProcedures.childSubclass));
}

void SubclassChildrenOf(HWND window) {
    for (HWND inner = GetWindow(window, GW_CHILD); inner != nullptr; inner = GetWindow(inner, GW_HWNDNEXT)) {
        SubclassInnerWindow(inner);
    }
}

void CompleteLabel(RuntimeRecord* label, HWND window) {
    label->ImageHeight = MeasureCaption(*label, window).cy;
}

void CompleteTextBox(const RuntimeRecord* edit, HWND window) {
    SendToWindow(window, EM_LIMITTEXT, static_cast<WPARAM>(edit->MaxLength), 0);
    SendToWindow(window, EM_SETPASSWORDCHAR, static_cast<WPARAM>(edit->PasswordChar), 0);
    SetWindowTextInMode(window, edit->Text);
}

void CompleteRichText(const RuntimeRecord* edit, HWND window) {
    SendToWindow(window, EM_LIMITTEXT, static_cast<WPARAM>(edit->MaxLength), 0);
    SetWindowTextInMode(window, edit->Text);
}

void CompleteCheck(const RuntimeRecord* button, HWND window) {
    SendToWindow(window, BM_SETCHECK, static_cast<WPARAM>(button->Value), 0);
}

// A list's Text, when it has one, is its first item.
void AddFirstItem(const RuntimeRecord* control, HWND window, UINT addMessage) {
    if (!IsEmptyText(control->Text)) SendToWindow(window, addMessage, 0, AsParam(control->Text));
}

void CompleteComboBox(const RuntimeRecord* combo, HWND window) {
    AddFirstItem(combo, window, CB_ADDSTRING);
    if (!IsDropDownList(combo->Style)) SubclassChildrenOf(window);
}

void CompleteComboBoxEx(const RuntimeRecord* combo, HWND window) {
    auto inner = reinterpret_cast<HWND>(SendToWindow(window, CBEM_GETCOMBOCONTROL, 0, 0));
    if (inner == nullptr) return;
    SubclassInnerWindow(inner);
    if (!IsDropDownList(combo->Style)) SubclassChildrenOf(inner);
}

void CompleteIpAddress(HWND window) {
    bool first = true;
    for (HWND field = GetWindow(window, GW_CHILD); field != nullptr; field = GetWindow(field, GW_HWNDNEXT)) {
        const LONG_PTR own = SetWindowValue(field, GWLP_WNDPROC, FromWindowProc(runtimeProcedures.childSubclass));
        if (first) ipFieldProc = AsWindowProc(own);
        first = false;
    }
}

void CompleteProgressBar(const RuntimeRecord* bar, HWND window) {
    ReapplyStyle(*bar, window);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    SendToWindow(window, PBM_SETRANGE32, static_cast<WPARAM>(bar->Min), bar->Max);
    SendToWindow(window, PBM_SETPOS, static_cast<WPARAM>(bar->Value), 0);
}

void CompleteTrackbar(const RuntimeRecord* bar, HWND window) {
    SendToWindow(window, TBM_SETTICFREQ, static_cast<WPARAM>(bar->ClassValue5), 0);
    SendToWindow(window, TBM_SETRANGEMIN, FALSE, bar->Min);
    SendToWindow(window, TBM_SETRANGEMAX, TRUE, bar->Max);
    SendToWindow(window, TBM_SETSELSTART, FALSE, bar->ClassValue3);
    SendToWindow(window, TBM_SETSELEND, TRUE, bar->SelEnd);
    SendToWindow(window, TBM_SETPOS, TRUE, bar->Value);
}

void CompleteUpDown(const RuntimeRecord* upDown, HWND window) {
    SendToWindow(window, UDM_SETRANGE32, static_cast<WPARAM>(upDown->Min), upDown->Max);
    SendToWindow(window, UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(upDown->Value), 0));
    // An up-down may have moved to a buddy at its creation: it goes back to its own place.
    const Placement place = PixelPlacement(*upDown);
    MoveWindow(window, place.left, place.top, place.width, place.height, TRUE);
}

void CompletePager(const RuntimeRecord* pager, HWND window) {
    SendToWindow(window, PGM_SETBORDER, 0, 0);
    SendToWindow(window, PGM_SETPOS, 0, 0);
    SendToWindow(window, PGM_SETBUTTONSIZE, 0, pager->ClassValue2);
}

void CompleteTabControl(const RuntimeRecord* tabs, HWND window) {
    int32_t position = 0;
    for (const TabItem reference : ItemsOf<const TabItem>(*tabs, tabs->ItemCount)) {
        ItemText text(reference);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        // The A and W item records differ only in the declared type of the text pointer.
        item.pszText = static_cast<LPSTR>(text.get());
        SendToWindow(window, MessageInMode(TCM_INSERTITEMA, TCM_INSERTITEMW), static_cast<WPARAM>(position++),
                     AsParam(&item));
    }
    SendToWindow(window, TCM_SETCURSEL, 0, 0);
}

void CompleteStatusBar(const RuntimeRecord* bar, HWND window) {
    const UINT setText = MessageInMode(SB_SETTEXTA, SB_SETTEXTW);
    SendToWindow(window, SB_SIMPLE, bar->ClassValue3 != 0 ? TRUE : FALSE, 0);
    const WPARAM simple = SB_SIMPLEID | (bar->RightToLeft != 0 ? SBT_RTLREADING : 0);
    SendToWindow(window, setText, simple, AsParam(bar->Text));

    const std::span<const StatusPartItem> parts = ItemsOf<const StatusPartItem>(*bar, bar->ItemCount);
    if (parts.empty()) return;
    int32_t edges[kMaxStatusParts];
    const std::size_t count = StatusPartEdges(parts, edges);
    SendToWindow(window, SB_SETPARTS, count, AsParam(edges));
    for (std::size_t part = 0; part < count; ++part) {
        ItemText text(parts[part].Text);
        // The low byte of the parameter is the part; the drawing flags stay out of it.
        const WPARAM which = part | (static_cast<uint32_t>(parts[part].DrawType) & ~0xFFu);
        SendToWindow(window, setText, which, AsParam(text.get()));
    }
}

template <class Ch>
void AddToolbarTexts(HWND window, std::span<const ToolbarButtonItem> buttons) {
    auto** texts = static_cast<const Ch**>(AllocRuntimeBlock(static_cast<uint32_t>(buttons.size() * sizeof(Ch*))));
    if (texts == nullptr) return;
    for (std::size_t i = 0; i < buttons.size(); ++i) texts[i] = SlotAs<const Ch*>(buttons[i].Data);
    const std::span<const Ch* const> view(texts, buttons.size());
    if (AnyToolbarText(view)) {
        const std::size_t units = ToolbarStringPoolLength(view);
        auto* pool = static_cast<Ch*>(AllocRuntimeBlock(static_cast<uint32_t>(units * sizeof(Ch))));
        if (pool != nullptr) {
            FillToolbarStringPool(view, pool);
            SendToWindow(window, MessageInMode(TB_ADDSTRINGA, TB_ADDSTRINGW), 0, AsParam(pool));
            FreeRuntimeBlock(pool);
        }
    }
    FreeRuntimeBlock(texts);
}

void CompleteToolbar(RuntimeRecord* toolbar, HWND window) {
    ReapplyStyle(*toolbar, window);
    SendToWindow(window, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (IsImageResourceId(toolbar->Picture)) {
        const UINT transparent = (toolbar->Style & 0x8000u) != 0 ? LR_LOADTRANSPARENT : 0;
        const UINT flags = LR_SHARED | LR_CREATEDIBSECTION | transparent;
        HIMAGELIST images =
            LoadImageListResource(ApplicationInstance(), toolbar->Picture, toolbar->ImageWidth, 0, CLR_DEFAULT, flags);
        SendToWindow(window, TB_SETIMAGELIST, 0, AsParam(images));
    }
    SendToWindow(window, TB_SETBUTTONSIZE, 0, MAKELPARAM(toolbar->ClassValue2, toolbar->ClassValue1));

    const std::span<ToolbarButtonItem> buttons = OwnItemCopy<ToolbarButtonItem>(*toolbar);
    for (ToolbarButtonItem& button : buttons) button.Data = ToSlot(ResolveText(button.Data, nullptr));
    if (!buttons.empty()) {
        static_assert(sizeof(ToolbarButtonItem) == sizeof(TBBUTTON) || sizeof(void*) != 4);
        SendToWindow(window, MessageInMode(TB_ADDBUTTONSA, TB_ADDBUTTONSW), buttons.size(), AsParam(buttons.data()));
        WithTextUnit([&](auto unit) { AddToolbarTexts<decltype(unit)>(window, buttons); });
    }
    SendToWindow(window, TB_AUTOSIZE, 0, 0);
    if (toolbar->DockSide == dock_side::None) ApplyVisible(*toolbar, window, toolbar->Visible);
}

void AddImage(HIMAGELIST list, HANDLE image, UINT type) {
    if (type == IMAGE_ICON) {
        ImageList_ReplaceIcon(list, -1, static_cast<HICON>(image));
        return;
    }
    // Systems of the 9x line take bitmaps with a mask colour; later ones as they are.
    if (OsLevel < os_level::OldNt) {
        ImageList_AddMasked(list, static_cast<HBITMAP>(image), CLR_NONE);
    } else {
        ImageList_Add(list, static_cast<HBITMAP>(image), nullptr);
    }
}

void AddLoadedImage(HIMAGELIST list, HANDLE image, UINT type) {
    if (image == nullptr) return;
    AddImage(list, image, type);
    if (type == IMAGE_ICON) {
        DestroyIcon(static_cast<HICON>(image));
    } else {
        DeleteObject(image);
    }
}

void CompleteImageList(RuntimeRecord* holder) {
    const UINT flags = static_cast<UINT>(holder->Alignment) | ILC_MASK;
    const int32_t initial = holder->ClassValue5 > 0 ? holder->ClassValue5 : 0;
    HIMAGELIST list = ImageList_Create(holder->ImageWidth, holder->ImageHeight, flags, initial, 4);
    holder->ImageList = ToSlot(list);
    if (list == nullptr) return;
    if (holder->BackColor == kNoColor) ImageList_SetBkColor(list, CLR_NONE);
    // The list keeps copies of its images and each loaded image is deleted once added, so they are
    // loaded for the list alone, never shared: a shared image is the process's one copy of the
    // resource, which the deletion would destroy for every later user, and a shared icon loaded at
    // the list's size would be what every later default-size load of that icon gets.
    constexpr UINT kOwn3d = LR_LOADMAP3DCOLORS;
    if (holder->Picture != 0) {
        if (IsImageResourceId(holder->Picture)) {
            AddLoadedImage(list, LoadResourceImage(holder->Picture, IMAGE_BITMAP, 0, 0, kOwn3d | LR_LOADTRANSPARENT),
                           IMAGE_BITMAP);
        } else {
            AddImage(list, SlotAs<HANDLE>(holder->Picture), IMAGE_BITMAP);
        }
        return;
    }
    for (const ImageListItem& item : ItemsOf<const ImageListItem>(*holder, holder->ClassValue5)) {
        if (item.ResourceId == 0) continue;
        const UINT type = item.Kind == 0 ? IMAGE_BITMAP : IMAGE_ICON;
        AddLoadedImage(list, LoadResourceImage(static_cast<uint32_t>(item.ResourceId), type, holder->ImageWidth,
                                           holder->ImageHeight, kOwn3d),
                       type);
    }
}

// A header's image list comes from the bitmap that its Picture text names: a resource of the
// application or else a file.
HIMAGELIST HeaderImages(const RuntimeRecord& header) {
    const auto* name = SlotAs<const char*>(header.Picture);
    const int32_t width = header.ImageWidth > 0 ? header.ImageWidth : 16;
    HIMAGELIST list = ImageList_LoadImageA(ApplicationInstance(), name, width, 1, CLR_DEFAULT, IMAGE_BITMAP,
                                           LR_CREATEDIBSECTION);
    if (list != nullptr) return list;
    return ImageList_LoadImageA(nullptr, name, width, 1, CLR_DEFAULT, IMAGE_BITMAP,
                                LR_CREATEDIBSECTION | LR_LOADFROMFILE);
}

void CompleteHeader(RuntimeRecord* header, HWND window) {
    ReapplyStyle(*header, window);
    HIMAGELIST images = nullptr;
    if (header->Picture >= kFirstTextAddress && *SlotAs<const char*>(header->Picture) != 0) {
        images = HeaderImages(*header);
        if (images != nullptr) SendToWindow(window, HDM_SETIMAGELIST, HDSIL_NORMAL, AsParam(images));
    }
    const int32_t imageCount = images != nullptr ? ImageList_GetImageCount(images) : 0;
    int32_t position = 0;
    for (const HeaderItem& entry : ItemsOf<const HeaderItem>(*header, header->ItemCount)) {
        ItemText text(entry.Text);
        const int32_t image = HeaderImageIndex(entry.ImagePlusOne, imageCount);
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | (image >= 0 ? HDI_IMAGE : 0);
        item.cxy = entry.Width;
        // The A and W item records differ only in the declared type of the text pointer.
        item.pszText = static_cast<LPSTR>(text.get());
        item.fmt = static_cast<int>(HeaderItemFormat(entry.Alignment, header->RightToLeft, image >= 0));
        item.iImage = image;
        SendToWindow(window, MessageInMode(HDM_INSERTITEMA, HDM_INSERTITEMW), static_cast<WPARAM>(position++),
                     AsParam(&item));
    }
    header->Picture = 0;
}

void CompleteRebar(RuntimeRecord* rebar, HWND window) {
    rebar->Style &= ~1u;
    SetWindowValue(window, GWL_STYLE, GetWindowValue(window, GWL_STYLE) & ~static_cast<LONG_PTR>(1));
}

// The child control of a rebar that a band names: a direct child with a runtime record that is
// no container, whose Name equals the band's, letter case included.
HWND FindBandChild(HWND rebar, uint32_t name) {
    if (name == 0 || *SlotAs<const char*>(name) == 0) return nullptr;
    for (HWND child = GetWindow(rebar, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const RuntimeRecord* record = FindWindowRecord(child);
        if (record == nullptr || record->Name == 0) continue;
        if (IsContainer(record->Type)) continue;
        if (std::strcmp(SlotAs<const char*>(record->Name), SlotAs<const char*>(name)) == 0) return child;
    }
    return nullptr;
}

void InsertBand(HWND window, RebarBandItem& band, uint32_t position) {
    HWND child = band.ChildWindow != 0 ? SlotAs<HWND>(band.ChildWindow) : FindBandChild(window, band.ChildName);
    int32_t childHeight = -1;
    if (child != nullptr) {
        RECT rect{};
        GetWindowRect(child, &rect);
        childHeight = rect.bottom - rect.top;
    }
    if (IsImageResourceId(band.Background)) {
        band.Background = ToSlot(LoadResourceImage(band.Background, IMAGE_BITMAP, 0, 0, LR_SHARED | LR_LOADMAP3DCOLORS));
    }
    ItemText text(band.Text);
    const RebarBandPlan plan = PlanRebarBand(band, position, childHeight, !text.empty(), band.Background != 0);
    HWND standIn = nullptr;
    if (plan.standInChild) {
        standIn = CreateControlWindow(0, "STATIC", nullptr, WS_CHILD, Placement{0, 0, plan.width, plan.minChildHeight},
                                      window, 0, nullptr);
    }
    REBARBANDINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = plan.mask;
    info.fStyle = plan.style;
    // The A and W band records differ only in the declared type of the text pointer.
    info.lpText = static_cast<LPSTR>(text.get());
    info.hwndChild = child != nullptr ? child : standIn;
    info.cxMinChild = static_cast<UINT>(plan.minChildWidth);
    info.cyMinChild = static_cast<UINT>(plan.minChildHeight);
    info.cx = static_cast<UINT>(plan.width);
    info.hbmBack = SlotAs<HBITMAP>(band.Background);
    info.wID = plan.id;
    info.cyChild = static_cast<UINT>(plan.childHeight);
    info.cyMaxChild = static_cast<UINT>(plan.maxChildHeight);
    info.cyIntegral = static_cast<UINT>(plan.heightStep);
    info.cxHeader = static_cast<UINT>(plan.headerWidth);
    SendToWindow(window, MessageInMode(RB_INSERTBANDA, RB_INSERTBANDW), position, AsParam(&info));
    if (standIn != nullptr) DestroyWindow(standIn);
    if (plan.styleAfterInsert != 0) {
        info.fMask = RBBIM_STYLE;
        info.fStyle = plan.styleAfterInsert;
        SendToWindow(window, MessageInMode(RB_SETBANDINFOA, RB_SETBANDINFOW), position, AsParam(&info));
    }
}

}  // namespace

void CompleteControlClass(RuntimeRecord* control, HWND window) {
    switch (control->Type) {
        case class_code::Label: CompleteLabel(control, window); break;
        case class_code::TextBox: CompleteTextBox(control, window); break;
        case class_code::CheckBox:
        case class_code::OptionButton: CompleteCheck(control, window); break;
        case class_code::ListBox: AddFirstItem(control, window, LB_ADDSTRING); break;
        case class_code::ComboBox: CompleteComboBox(control, window); break;
        case class_code::ScrollBar:
        case class_code::ScrollBarAlt: SyncScrollBar(control, 1); break;
        case class_code::RichTextBox: CompleteRichText(control, window); break;
        case class_code::TreeView: SendToWindow(window, TVM_SETINDENT, static_cast<WPARAM>(control->ClassValue1), 0); break;
        case class_code::ListView:
            SendToWindow(window, LVM_SETEXTENDEDLISTVIEWSTYLE, static_cast<WPARAM>(control->Alignment), control->Alignment);
            break;
        case class_code::Toolbar: CompleteToolbar(control, window); break;
        case class_code::StatusBar: CompleteStatusBar(control, window); break;
        case class_code::ProgressBar: CompleteProgressBar(control, window); break;
        case class_code::Trackbar: CompleteTrackbar(control, window); break;
        case class_code::TabControl: CompleteTabControl(control, window); break;
        case class_code::UpDown: CompleteUpDown(control, window); break;
        case class_code::IpAddress: CompleteIpAddress(window); break;
        case class_code::ComboBoxEx: CompleteComboBoxEx(control, window); break;
        case class_code::Pager: CompletePager(control, window); break;
        case class_code::ImageListHolder: CompleteImageList(control); break;
        case class_code::Header: CompleteHeader(control, window); break;
        case class_code::Rebar: CompleteRebar(control, window); break;
        default: break;
    }
}

void AddRebarBands(RuntimeRecord* rebar, HWND window) {
    uint32_t position = 0;
    for (RebarBandItem& band : OwnItemCopy<RebarBandItem>(*rebar)) InsertBand(window, band, position++);
}

}  // namespace runtime
