// The main window procedure: one line per message, each calling its handler.

#include "app/main_window.h"

#include "app/failure_caption.h"
#include "app/main_commands.h"
#include "app/motion/motion.h"
#include "app/web/web_front.h"
#include "runtime/build/modal_state.h"
#include "runtime/window/owned_box.h"

namespace app {

namespace {

// 0 lets the runtime and the system's default go on with the message.
constexpr LRESULT kGoOn = 0;
// A WM_CLOSE handled here: the runtime does not close the window itself.
constexpr LRESULT kCloseHandled = 1;
// The modal result of a modally shown main form closed by its close box.
constexpr int32_t kClosedModalResult = 2;

void ShowAboutBox(HWND window) {
    runtime::ShowOwnedBox(window, kAboutText, kAboutCaption, MB_ICONINFORMATION | MB_OK);
}

// The listener could not be opened: the window goes on, and the operator learns why no
// browser can reach it.
LRESULT OnListenerFailed(HWND window, WPARAM wParam, LPARAM lParam) {
    char text[256];
    web::FormatListenerFailure(web::ListenerFailureOf(wParam, lParam), text);
    runtime::ShowOwnedBox(window, text, kFailureCaption, MB_ICONWARNING | MB_OK);
    return kGoOn;
}

// A line stepping inside a debug box must not go on writing once the window is gone.
LRESULT OnDestroy() {
    motion::RequestLineStop();
    return kGoOn;
}

LRESULT OnCreate(HWND window) {
    web::OpenListener(window);
    return kGoOn;
}

LRESULT OnCommand(HWND window, WORD id, WORD code) {
    switch (CommandAction(id, code)) {
    case MainCommand::About: ShowAboutBox(window); break;
    case MainCommand::Connect: motion::ConnectPort(window); break;
    case MainCommand::Disconnect: motion::DisconnectPort(window); break;
    case MainCommand::None: break;
    }
    return kGoOn;
}

LRESULT OnSocket(HWND window, WPARAM socket, LPARAM event) {
    // The high word of the event carries an error code, which changes nothing.
    web::OnSocketEvent(window, static_cast<SOCKET>(socket), LOWORD(event));
    return kGoOn;
}

// The main form is built without an owner, so this closes only a form that was shown
// modally; the port goes with it.
LRESULT OnClose(HWND window) {
    if (!runtime::IsShownModally(window)) return kGoOn;
    motion::ClosePort();
    runtime::CloseModal(window, kClosedModalResult);
    return kCloseHandled;
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_COMMAND: return OnCommand(window, LOWORD(wParam), HIWORD(wParam));
    case web::WM_SOCKET: return OnSocket(window, wParam, lParam);
    case web::WM_LISTENER_FAILED: return OnListenerFailed(window, wParam, lParam);
    case WM_CLOSE: return OnClose(window);
    case WM_DESTROY: return OnDestroy();
    default: return kGoOn;
    }
}

}  // namespace app
