#pragma once
// The runtime's private window messages (all above WM_USER), with which the runtime talks to
// its own windows and the builder announces a created form or container.

#include <cstdint>

namespace runtime {

// wParam: the WM_COMMAND wParam; lParam: the caption. Sent to a hyperlink label's own
// procedure; non-zero: the runtime does not open the link.
constexpr uint32_t FRM_LINKCLICKED = 2054;
// Returns the window's runtime record.
constexpr uint32_t FRM_GETRECORD = 2067;
// To an MDI client: read the scroll positions and set them again.
constexpr uint32_t FRM_SYNCSCROLL = 2068;
// lParam: a control being disabled; the focus moves on when it is the form's focus window.
constexpr uint32_t FRM_FOCUSNEXT = 2069;
// wParam: a navigation key; lParam: the control. Controls pass it to their parent.
constexpr uint32_t FRM_NAVKEY = 2070;
// lParam: the control that got the focus. Controls pass it to their parent.
constexpr uint32_t FRM_FOCUSCHANGED = 2071;
// wParam: the owner-draw type of a control about to be created (4 button, 2 list, 3 combo).
constexpr uint32_t FRM_MEASURETYPE = 2072;
// The builder's creation notice to the application procedure: wParam 0 and lParam 0 for a
// form, wParam the class code and lParam the record for a group box or picture.
constexpr uint32_t FRM_CREATED = 2073;
// wParam: whose docked children are laid out (relayout::OwnChildren or ParentsChildren).
constexpr uint32_t FRM_RELAYOUT = 2074;
namespace relayout {
constexpr uint32_t OwnChildren = 0;      // this window's
constexpr uint32_t ParentsChildren = 1;  // its parent's (any value but 0 reads so)
}  // namespace relayout
// Returns the theme library's handle, 0 when none is loaded.
constexpr uint32_t FRM_GETTHEMELIB = 2075;
// Returns the manifest flag.
constexpr uint32_t FRM_GETTHEMEACTIVE = 2076;

}  // namespace runtime
