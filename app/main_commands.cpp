#include "app/main_commands.h"

#include "forms/main_form.h"

namespace app {

MainCommand CommandAction(uint16_t id, uint16_t code) {
    switch (id) {
    case forms::kAboutCommand:
        return code == notification::Menu || code == notification::Accelerator ? MainCommand::About
                                                                               : MainCommand::None;
    case forms::control_id::btnSetCom:
        return code == notification::Clicked ? MainCommand::Connect : MainCommand::None;
    case forms::control_id::btnStopCom:
        return code == notification::Clicked ? MainCommand::Disconnect : MainCommand::None;
    default:
        // btnTest ("Testeaza port") has no action of its own; neither has any other control.
        return MainCommand::None;
    }
}

}  // namespace app
