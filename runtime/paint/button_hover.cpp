#include "runtime/paint/button_hover.h"

#include "runtime/paint/window_painting.h"

namespace runtime {

namespace {

// hotButton is a plain window handle; the exchanges treat it as the pointer it is.
PVOID volatile* HotButtonSlot() { return reinterpret_cast<PVOID volatile*>(&hotButton); }

}  // namespace

void TrackButtonLeave(HWND button) {
    HWND previous = static_cast<HWND>(InterlockedExchangePointer(HotButtonSlot(), button));
    // Its leave may come after this move, and then no longer finds it hot.
    if (previous != nullptr && previous != button) InvalidateRect(previous, nullptr, FALSE);
    HMODULE user = LoadLibraryA("user32.dll");
    if (user == nullptr) return;
    using TrackEntry = BOOL(WINAPI*)(TRACKMOUSEEVENT*);
    // The entry is looked up by name; its declared type is the one the library exports.
    const auto track =
        reinterpret_cast<TrackEntry>(reinterpret_cast<void*>(GetProcAddress(user, "TrackMouseEvent")));
    if (track != nullptr) {
        TRACKMOUSEEVENT request{sizeof(request), TME_LEAVE, button, 0};
        track(&request);
        InvalidateRect(button, nullptr, FALSE);
    }
    FreeLibrary(user);
}

HWND TakeHotButton(HWND window) {
    if (window == nullptr) return nullptr;
    return static_cast<HWND>(InterlockedCompareExchangePointer(HotButtonSlot(), nullptr, window)) == window ? window
                                                                                                            : nullptr;
}

}  // namespace runtime
