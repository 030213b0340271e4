#pragma once
// What the main window does with a WM_COMMAND, and the texts of its About box. Platform-free:
// the window procedure (app/main_window.h) only carries out the action chosen here.

#include <cstdint>

namespace app {

// The action of one command of the main window.
enum class MainCommand {
    None,        // nothing: another control, another notification, "Testeaza port"
    About,       // the About box
    Connect,     // motion::ConnectPort: open the device named in inputCom
    Disconnect,  // motion::DisconnectPort: close the port
};

// Notification codes (the high word of a WM_COMMAND's wParam) that carry an action.
namespace notification {
constexpr uint16_t Menu = 0;         // a menu item was chosen
constexpr uint16_t Accelerator = 1;  // an accelerator key was pressed
constexpr uint16_t Clicked = 0;      // BN_CLICKED: a push button was pressed
}  // namespace notification

// The action for command `id` with notification `code`. The push buttons have the notify
// style, so they also report focus changes and double clicks: only a click acts.
MainCommand CommandAction(uint16_t id, uint16_t code);

// The About box: its caption, and its text of four lines joined by CR LF with an empty line
// after the first and after the second (web address, build stamp, the two credits).
inline constexpr char kAboutCaption[] = "Mini-Tarvo Server pt CNC v0.3";
inline constexpr char kAboutText[] =
    "http://www.mini-tarvo.example.org/\r\n"
    "\r\n"
    "3:51 AM 5/20/2012\r\n"
    "\r\n"
    "Idee: Tarvo Ilves\r\n"
    "Implementare: Mihai Dobre";

}  // namespace app
