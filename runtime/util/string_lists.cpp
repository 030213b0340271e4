#include "runtime/util/string_lists.h"

#include "runtime/process/application.h"
#include "runtime/process/runtime_heap.h"
#include "runtime/process/system_calls.h"
#include "runtime/text/pointer_check.h"
#include "runtime/text/text_mode.h"
#include "runtime/util/list_table.h"

namespace runtime {

namespace {

constexpr int kHiddenPosition = -1000;

template <class Ch>
constexpr bool kWide = sizeof(Ch) == sizeof(wchar_t);

template <class Ch>
HWND CreateListBox(DWORD style, HINSTANCE instance) {
    if constexpr (kWide<Ch>) {
        return CreateWindowExW(0, L"LISTBOX", L"", style, kHiddenPosition, kHiddenPosition, 0, 0, nullptr, nullptr,
                               instance, nullptr);
    } else {
        return CreateWindowExA(0, "LISTBOX", "", style, kHiddenPosition, kHiddenPosition, 0, 0, nullptr, nullptr,
                               instance, nullptr);
    }
}

// A message that carries or asks for a text goes in the encoding of the text, Ch; the others
// in the list's own mode.
template <class Ch>
LRESULT SendAs(HWND list, UINT message, WPARAM wParam, const void* text) {
    const auto lParam = reinterpret_cast<LPARAM>(text);
    if constexpr (kWide<Ch>) {
        return SendMessageW(list, message, wParam, lParam);
    } else {
        return SendMessageA(list, message, wParam, lParam);
    }
}

void TearDownList(HWND list) {
    SendInItsOwnMode(list, LB_RESETCONTENT, 0, 0);
    DestroyWindow(list);
}

// The bodies of the A and W members, by the text unit Ch.

template <class Ch>
int32_t CreateListIn(int32_t sorted) {
    if (workBlock == nullptr) return 0;
    StringListTable& table = workBlock->stringLists;
    if (util::ListsInTable(table) >= kMostStringLists) return kListsFull;
    const DWORD style = sorted != 0 ? LBS_SORT : 0;
    HWND list = CreateListBox<Ch>(style, SlotAs<HINSTANCE>(Application.Instance));
    if (list == nullptr) return 0;
    util::EnterList(table, ToSlot(list));
    return static_cast<int32_t>(ToSlot(list));
}

template <class Ch>
int32_t SendTextChecked(HWND list, UINT message, WPARAM wParam, const Ch* text, const void* site) {
    CheckPointer(text, 0, site);
    return static_cast<int32_t>(SendAs<Ch>(list, message, wParam, text));
}

// LB_GETTEXT copies the whole item, so an item is measured first: one that fits goes straight
// into the buffer, a longer one through a heap block and is cut to the buffer's room.
template <class Ch>
int32_t GetItemIn(HWND list, int32_t index, Ch* buffer, const void* site) {
    CheckPointer(buffer, 1, site);
    const LRESULT length = SendAs<Ch>(list, LB_GETTEXTLEN, index, nullptr);
    if (length < 0) return LB_ERR;
    if (length < kListItemLimit) {
        // The measured length of an ANSI item may exceed its bytes, never fall short of them.
        const LRESULT copied = SendAs<Ch>(list, LB_GETTEXT, index, buffer);
        if (copied < 0) return LB_ERR;
        buffer[copied] = 0;
        return static_cast<int32_t>(copied);
    }
    auto* whole = static_cast<Ch*>(AllocRuntimeBlock(static_cast<uint32_t>((length + 1) * sizeof(Ch))));
    if (whole == nullptr) return LB_ERR;
    int32_t copied = LB_ERR;
    if (SendAs<Ch>(list, LB_GETTEXT, index, whole) >= 0) {
        for (copied = 0; copied < kListItemLimit - 1 && whole[copied] != 0; ++copied) buffer[copied] = whole[copied];
        buffer[copied] = 0;
    }
    FreeRuntimeBlock(whole);
    return copied;
}

// LB_FINDSTRING and LB_FINDSTRINGEXACT from the start of the list.
constexpr WPARAM kFromTheStart = static_cast<WPARAM>(-1);

}  // namespace

// Every public function below takes its own return address as the call site of its checks.

int32_t CreateList(int32_t sorted) {
    if (wideMode != 0) return CreateListW(sorted);
    return CreateListA(sorted);
}

int32_t CreateListA(int32_t sorted) { return CreateListIn<char>(sorted); }
int32_t CreateListW(int32_t sorted) { return CreateListIn<wchar_t>(sorted); }

int32_t DestroyList(HWND list) {
    if (workBlock == nullptr) return 1;
    StringListTable& table = workBlock->stringLists;
    const int32_t entry = util::FindListEntry(table, ToSlot(list));
    if (entry < 0) return 1;
    TearDownList(list);
    util::RemoveListEntry(table, entry);
    return 1;
}

void DestroyAllLists() {
    if (workBlock == nullptr) return;
    StringListTable& table = workBlock->stringLists;
    // Up to the first empty entry, whatever the count says.
    for (int32_t entry = 0; entry < kMostStringLists && table.handles[entry] != 0; ++entry) {
        TearDownList(SlotAs<HWND>(table.handles[entry]));
        table.handles[entry] = 0;
    }
    table.count = 0;
}

[[gnu::noinline]] int32_t ListAdd(HWND list, const void* text) {
    CheckPointer(text, 0, __builtin_return_address(0));
    if (wideMode != 0) return ListAddW(list, static_cast<const wchar_t*>(text));
    return ListAddA(list, static_cast<const char*>(text));
}

[[gnu::noinline]] int32_t ListAddA(HWND list, const char* text) {
    return SendTextChecked(list, LB_ADDSTRING, 0, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t ListAddW(HWND list, const wchar_t* text) {
    return SendTextChecked(list, LB_ADDSTRING, 0, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t ListInsert(HWND list, int32_t index, const void* text) {
    CheckPointer(text, 0, __builtin_return_address(0));
    if (wideMode != 0) return ListInsertW(list, index, static_cast<const wchar_t*>(text));
    return ListInsertA(list, index, static_cast<const char*>(text));
}

[[gnu::noinline]] int32_t ListInsertA(HWND list, int32_t index, const char* text) {
    return SendTextChecked(list, LB_INSERTSTRING, index, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t ListInsertW(HWND list, int32_t index, const wchar_t* text) {
    return SendTextChecked(list, LB_INSERTSTRING, index, text, __builtin_return_address(0));
}

int32_t ListRemove(HWND list, int32_t index) {
    return static_cast<int32_t>(SendInItsOwnMode(list, LB_DELETESTRING, index, 0));
}

int32_t ListClear(HWND list) {
    SendInItsOwnMode(list, LB_RESETCONTENT, 0, 0);
    return 1;
}

int32_t ListCount(HWND list) { return static_cast<int32_t>(SendInItsOwnMode(list, LB_GETCOUNT, 0, 0)); }

int32_t ListItemLength(HWND list, int32_t index) {
    return static_cast<int32_t>(SendInItsOwnMode(list, LB_GETTEXTLEN, index, 0));
}

[[gnu::noinline]] int32_t ListGetItem(HWND list, int32_t index, void* buffer) {
    CheckPointer(buffer, 1, __builtin_return_address(0));
    if (wideMode != 0) return ListGetItemW(list, index, static_cast<wchar_t*>(buffer));
    return ListGetItemA(list, index, static_cast<char*>(buffer));
}

[[gnu::noinline]] int32_t ListGetItemA(HWND list, int32_t index, char* buffer) {
    return GetItemIn(list, index, buffer, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t ListGetItemW(HWND list, int32_t index, wchar_t* buffer) {
    return GetItemIn(list, index, buffer, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t ListFind(HWND list, const void* text) {
    CheckPointer(text, 0, __builtin_return_address(0));
    if (wideMode != 0) return ListFindW(list, static_cast<const wchar_t*>(text));
    return ListFindA(list, static_cast<const char*>(text));
}

[[gnu::noinline]] int32_t ListFindA(HWND list, const char* text) {
    return SendTextChecked(list, LB_FINDSTRING, kFromTheStart, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t ListFindW(HWND list, const wchar_t* text) {
    return SendTextChecked(list, LB_FINDSTRING, kFromTheStart, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t ListFindExact(HWND list, const void* text) {
    CheckPointer(text, 0, __builtin_return_address(0));
    if (wideMode != 0) return ListFindExactW(list, static_cast<const wchar_t*>(text));
    return ListFindExactA(list, static_cast<const char*>(text));
}

[[gnu::noinline]] int32_t ListFindExactA(HWND list, const char* text) {
    return SendTextChecked(list, LB_FINDSTRINGEXACT, kFromTheStart, text, __builtin_return_address(0));
}

[[gnu::noinline]] int32_t ListFindExactW(HWND list, const wchar_t* text) {
    return SendTextChecked(list, LB_FINDSTRINGEXACT, kFromTheStart, text, __builtin_return_address(0));
}

}  // namespace runtime
