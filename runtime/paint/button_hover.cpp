#include "runtime/paint/button_hover.h"

#include "runtime/paint/window_painting.h"

namespace runtime {

void TrackButtonLeave(HWND button) {
    hotButton = button;
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

HWND TakeHotButton() {
    // hotButton is a plain window handle; the exchange treats it as the pointer it is.
    return static_cast<HWND>(InterlockedExchangePointer(reinterpret_cast<PVOID volatile*>(&hotButton), nullptr));
}

}  // namespace runtime
