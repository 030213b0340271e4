#include "tests/support/message_box_hook.h"

#include <algorithm>

namespace testsupport {

namespace {

thread_local MessageBoxHook* activeHook = nullptr;

bool IsDialogBox(HWND window) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return lstrcmpA(className, "#32770") == 0;
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK TakeFirstStaticText(HWND child, LPARAM out) noexcept {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0) return TRUE;
    // EnumChildWindows hands back the string given to it below.
    auto& text = *reinterpret_cast<std::string*>(out);
    text = WindowText(child);
    return text.empty() ? TRUE : FALSE;
}

// The text of a message box is its static control 0xFFFF; other dialogs: the first
// non-empty static control.
std::string BoxText(HWND box) {
    if (HWND text = GetDlgItem(box, 0xFFFF)) return WindowText(text);
    std::string found;
    // The callback gets the string through the LPARAM.
    EnumChildWindows(box, TakeFirstStaticText, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

MessageBoxHook::MessageBoxHook() : MessageBoxHook(BoxAction{}) {}

MessageBoxHook::MessageBoxHook(BoxAction action)
    : previous_(activeHook), action_(std::move(action)) {
    activeHook = this;
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
}

MessageBoxHook::~MessageBoxHook() {
    if (hook_) UnhookWindowsHookEx(hook_);
    for (const PendingAction& p : pending_) KillTimer(nullptr, p.timer);
    activeHook = previous_;
}

std::vector<std::string> MessageBoxHook::Texts() const {
    std::vector<std::string> texts;
    for (const BoxRecord& box : boxes_) texts.push_back(box.text);
    return texts;
}

std::vector<std::string> MessageBoxHook::Captions() const {
    std::vector<std::string> captions;
    for (const BoxRecord& box : boxes_) captions.push_back(box.caption);
    return captions;
}

LRESULT CALLBACK MessageBoxHook::CbtProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    MessageBoxHook* self = activeHook;
    if (self && code == HCBT_ACTIVATE) {
        // The activated window's handle comes in wParam.
        self->OnBoxActivated(reinterpret_cast<HWND>(wParam));
    } else if (self && code == HCBT_DESTROYWND) {
        self->OnWindowDestroyed(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxHook::OnBoxActivated(HWND box) {
    if (!IsDialogBox(box)) return;
    if (std::find(liveBoxes_.begin(), liveBoxes_.end(), box) != liveBoxes_.end()) return;
    liveBoxes_.push_back(box);
    boxes_.push_back(BoxRecord{GetWindow(box, GW_OWNER), WindowText(box), BoxText(box)});
    if (!action_) {
        // Posted: the box is still being set up here; its modal loop picks this up first.
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return;
    }
    const UINT_PTR timer = SetTimer(nullptr, 0, 0, OnActionTimer);
    pending_.push_back(PendingAction{timer, box, boxes_.size() - 1});
}

void MessageBoxHook::OnWindowDestroyed(HWND window) {
    liveBoxes_.erase(std::remove(liveBoxes_.begin(), liveBoxes_.end(), window), liveBoxes_.end());
}

void CALLBACK MessageBoxHook::OnActionTimer(HWND, UINT, UINT_PTR timer, DWORD) noexcept {
    KillTimer(nullptr, timer);
    MessageBoxHook* self = activeHook;
    if (!self) return;
    const auto it = std::find_if(self->pending_.begin(), self->pending_.end(),
                                 [timer](const PendingAction& p) { return p.timer == timer; });
    if (it == self->pending_.end()) return;
    const PendingAction pending = *it;
    self->pending_.erase(it);
    // The record is copied: the action may show boxes of its own, which grow the list.
    const BoxRecord record = self->boxes_[pending.index];
    self->action_(record, pending.index);
    // Sent, not posted: we are inside the box's own loop, and a sent command ends it at once.
    if (IsWindow(pending.box)) SendMessageA(pending.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

}  // namespace testsupport
