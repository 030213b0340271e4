#include "runtime/process/message_pump.h"

#include "runtime/process/application.h"
#include "runtime/process/system_calls.h"
#include "runtime/template/template_record.h"

namespace runtime {

namespace {

enum class Taken { Message, Quit, Empty, Error };

Taken TakeMessage(MSG& message, bool wait) {
    if (!wait) {
        if (!PeekThreadMessage(&message)) return Taken::Empty;
        return message.message == WM_QUIT ? Taken::Quit : Taken::Message;
    }
    const BOOL got = GetThreadMessage(&message);
    if (got == -1) return Taken::Error;
    return got == 0 ? Taken::Quit : Taken::Message;
}

void Deliver(MSG& message, const PumpRules& rules) {
    if (rules.accelerators != nullptr) {
        HWND target = rules.acceleratorWindow != nullptr ? rules.acceleratorWindow
                                                         : SlotAs<HWND>(Application.MainWindow);
        if (target != nullptr && TranslateAccelerators(target, rules.accelerators, &message) != 0) return;
    }
    TranslateMessage(&message);
    DispatchThreadMessage(&message);
}

}  // namespace

PumpEnd PumpMessages(const PumpRules& rules) {
    MSG message{};
    for (;;) {
        if (rules.whileWindow != nullptr && !IsWindow(rules.whileWindow)) {
            return PumpEnd{PumpEnd::Reason::WindowGone, 0};
        }
        switch (TakeMessage(message, !rules.untilEmpty)) {
            case Taken::Empty: return PumpEnd{PumpEnd::Reason::Empty, 0};
            case Taken::Error: return PumpEnd{PumpEnd::Reason::Error, message.wParam};
            case Taken::Quit:
                // The quit message belongs to the loop that waits for it; taken here, it would
                // be lost.
                if (rules.keepQuit) PostQuitMessage(static_cast<int>(message.wParam));
                return PumpEnd{PumpEnd::Reason::Quit, message.wParam};
            case Taken::Message: break;
        }
        if (rules.beforeDispatch != nullptr) rules.beforeDispatch(message, rules.whileWindow);
        Deliver(message, rules);
    }
}

int32_t DoEvents() {
    PumpRules rules;
    rules.untilEmpty = true;
    rules.keepQuit = true;
    return PumpMessages(rules).reason == PumpEnd::Reason::Empty ? 1 : 0;
}

}  // namespace runtime
