#pragma once
// String lists: hidden top-level list boxes whose items are the list's strings, kept in the
// string-list table of the runtime's work block (at most kMostStringLists at a time). The
// functions that take a text come as an ANSI member (A), a wide member (W) and a public entry
// that checks the text or buffer and calls the member chosen by the text mode; the others send
// in the list window's own text mode. Any list box may be handed to the list functions; only
// the lists that CreateList made are counted, and destroyed by DestroyList and at shutdown.

#include <windows.h>

#include <cstdint>

namespace runtime {

// CreateList's answer when kMostStringLists lists exist.
constexpr int32_t kListsFull = -1;

// The room ListGetItem fills, in characters with the terminator.
constexpr int32_t kListItemLimit = 260;

// A hidden list box (class "LISTBOX", no parent, at -1000, -1000, 0 by 0, style LBS_SORT when
// `sorted` is non-zero) entered in the table; its handle as a 32-bit value. kListsFull when the
// table is full; 0 when the window cannot be made (then nothing is counted), and before the
// runtime has started.
int32_t CreateList(int32_t sorted);
int32_t CreateListA(int32_t sorted);
int32_t CreateListW(int32_t sorted);

// Empties and destroys a list of the table and takes it out (later lists move down). A window
// that is not in the table is left alone. Always 1.
int32_t DestroyList(HWND list);

// Destroys every list still in the table (the runtime's shutdown).
void DestroyAllLists();

// Adds the text (in sorted order for a sorted list); its index, or LB_ERR / LB_ERRSPACE.
int32_t ListAdd(HWND list, const void* text);
int32_t ListAddA(HWND list, const char* text);
int32_t ListAddW(HWND list, const wchar_t* text);

// Inserts the text at `index` (-1: at the end); its index, or LB_ERR / LB_ERRSPACE.
int32_t ListInsert(HWND list, int32_t index, const void* text);
int32_t ListInsertA(HWND list, int32_t index, const char* text);
int32_t ListInsertW(HWND list, int32_t index, const wchar_t* text);

// Removes the item at `index`; the items left, or LB_ERR.
int32_t ListRemove(HWND list, int32_t index);

// Removes every item; 1.
int32_t ListClear(HWND list);

// The number of items, or LB_ERR.
int32_t ListCount(HWND list);

// The length of the item at `index` in characters of the list's text mode, or LB_ERR.
int32_t ListItemLength(HWND list, int32_t index);

// Copies the item at `index` into `buffer`, cut to kListItemLimit characters with the
// terminator; the characters copied, or LB_ERR (the buffer untouched) for an index outside the
// list or an item that cannot be read.
int32_t ListGetItem(HWND list, int32_t index, void* buffer);
int32_t ListGetItemA(HWND list, int32_t index, char* buffer);
int32_t ListGetItemW(HWND list, int32_t index, wchar_t* buffer);

// The index of the first item that begins with the text (ListFind) or equals it (ListFindExact),
// letter case aside, searched from the start; -1 when there is none.
int32_t ListFind(HWND list, const void* text);
int32_t ListFindA(HWND list, const char* text);
int32_t ListFindW(HWND list, const wchar_t* text);
int32_t ListFindExact(HWND list, const void* text);
int32_t ListFindExactA(HWND list, const char* text);
int32_t ListFindExactW(HWND list, const wchar_t* text);

}  // namespace runtime
