#pragma once
// Reading the properties of the forms and controls the runtime has built. GetProperty takes a
// window and a selector (runtime/property/property_table.h gives the selectors, the record types each
// applies to and the slot each reads); each Get... function reads one property. Every read
// gives -1 for a window that is not a runtime window, for a property that does not apply to
// the window's kind, and for a selector that names no property.

#include <windows.h>

#include <cstdint>

#include "runtime/property/property_table.h"

namespace runtime {

int32_t GetProperty(HWND window, int32_t selector);

int32_t GetAlign(HWND window);
int32_t GetAutoSize(HWND window);
int32_t GetBackColor(HWND window);  // as set, not resolved
int32_t GetButtonOption(HWND window);
int32_t GetClassValue1(HWND window);
int32_t GetMouseCursor(HWND window);
int32_t GetCursorKind(HWND window);
int32_t GetFocusFrame(HWND window);
int32_t GetLineStyle(HWND window);
int32_t GetLineWidth(HWND window);
int32_t GetEnabled(HWND window);
int32_t GetPictureOption(HWND window);
int32_t GetFont(HWND window);
int32_t GetFontBold(HWND window);
int32_t GetFontItalic(HWND window);
int32_t GetFontSize(HWND window);
int32_t GetFontStrikeout(HWND window);
int32_t GetFontUnderline(HWND window);
int32_t GetForeColor(HWND window);  // as set, not resolved
int32_t GetHeight(HWND window);
int32_t GetIcon(HWND window);
int32_t GetSmallIcon(HWND window);
int32_t GetLeft(HWND window);
int32_t GetMax(HWND window);
int32_t GetMaxLength(HWND window);
int32_t GetMdiChild(HWND window);
int32_t GetMdiClient(HWND window);
int32_t GetMin(HWND window);
// The window that was disabled when a dialog or window form was shown modally; 0 for a form
// that is not modal, -1 for any other window.
int32_t GetModalOwner(HWND window);
int32_t GetMultiLine(HWND window);
int32_t GetShowAmpersands(HWND window);
int32_t GetScrollBarOption(HWND window);
int32_t GetPasswordChar(HWND window);
int32_t GetPicture(HWND window);
int32_t GetButtonStyle(HWND window);
int32_t GetRightToLeft(HWND window);
int32_t GetScaleMode(HWND window);
int32_t GetScrollBars(HWND window);
int32_t GetWindowState(HWND window);
int32_t GetLabelOption(HWND window);
int32_t GetIndex(HWND window);
int32_t GetTabStop(HWND window);
int32_t GetAlignment(HWND window);
int32_t GetTimerInterval(HWND window);
int32_t GetTop(HWND window);
int32_t GetType(HWND window);
int32_t GetValue(HWND window);
int32_t GetVisible(HWND window);  // whether the window is visible now
int32_t GetDropDownItems(HWND window);
int32_t GetWidth(HWND window);
int32_t GetOwnerForm(HWND window);  // a control's owning form; 0 for a form

}  // namespace runtime
